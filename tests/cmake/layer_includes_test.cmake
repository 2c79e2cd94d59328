# A layer's include directories reach its own headers and those below it,
# never a higher layer's: with the registry layer's directories a source
# including platform and registry headers compiles, and one that includes a
# type library header (a layer above) does not, because the header is not
# found.
#   cmake -DCOMPILER=... -DINCLUDES=dir;dir -DWORK=... -P layer_includes_test.cmake
file(MAKE_DIRECTORY ${WORK})
set(_flags -std=c++20 -fsyntax-only)
foreach(dir IN LISTS INCLUDES)
  list(APPEND _flags -I${dir})
endforeach()

file(WRITE ${WORK}/downward.cpp "#include \"platform/files.h\"\n#include \"registry/value_text.h\"\n")
execute_process(COMMAND ${COMPILER} ${_flags} ${WORK}/downward.cpp RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the registry layer's own and lower headers do not compile:\n${err}")
endif()

file(WRITE ${WORK}/upward.cpp "#include \"registry/value_text.h\"\n#include \"typelib/access.h\"\n")
execute_process(COMMAND ${COMPILER} ${_flags} ${WORK}/upward.cpp RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the registry layer reaches typelib/access.h, a higher layer's header")
endif()
if(NOT err MATCHES "typelib/access.h")
  message(FATAL_ERROR "the upward include failed, but not for the missing header:\n${err}")
endif()
