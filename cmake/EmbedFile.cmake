# Embeds a file's bytes into a library as a C++ function returning a
# std::string_view.
#   brannock_embed_file(<target> <input file> <function name> <namespace>)
# In script mode (cmake -P) it writes the source: -DIN=... -DOUT=... -DFUNC=... -DNS=...
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${IN}" _hex HEX)
  string(LENGTH "${_hex}" _len)
  math(EXPR _size "${_len} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," _bytes "${_hex}")
  string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n    " _bytes "${_bytes}")
  file(WRITE "${OUT}.tmp"
    "// Generated from ${IN}; do not edit.\n#include <string_view>\n\nnamespace ${NS} {\n\n"
    "namespace {\nconst char kBytes[${_size} + 1] = {\n    ${_bytes}'\\0'};\n}  // namespace\n\n"
    "std::string_view ${FUNC}() { return std::string_view(kBytes, ${_size}); }\n\n}  // namespace ${NS}\n")
  file(RENAME "${OUT}.tmp" "${OUT}")
  return()
endif()

set(_brannock_embed_script ${CMAKE_CURRENT_LIST_FILE})

function(brannock_embed_file target input func ns)
  get_filename_component(_name ${input} NAME_WE)
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/${_name}_embedded.cpp)
  add_custom_command(
    OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -DIN=${input} -DOUT=${_out} -DFUNC=${func} -DNS=${ns} -P ${_brannock_embed_script}
    DEPENDS ${input} ${_brannock_embed_script}
    COMMENT "Embedding ${input}")
  target_sources(${target} PRIVATE ${_out})
endfunction()
