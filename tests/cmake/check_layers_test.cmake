# The layering check against a planted tree (cmake -P, WORK and CHECK
# given): every kind of break is reported with its file, a tree without
# them passes, and the planted tree is removed afterwards.
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE ${WORK})

function(plant path text)
  file(WRITE ${WORK}/src/${path} "${text}\n")
endfunction()
function(run_check out_result out_text)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK}/src -DARCHITECTURE_DOC=${WORK}/architecture.md
                          -P ${CHECK}
                  RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE text)
  set(${out_result} ${result} PARENT_SCOPE)
  set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

# A tree that keeps the rules: downward includes, Windows headers in the
# Windows files, Qt in ui/qt, _WIN32 only where the document says.
file(WRITE ${WORK}/architecture.md
     "<!-- win32-conditionals -->\n- `src/app/cli/main.cpp`: wmain\n<!-- end -->\n- `src/registry/not_listed.cpp`\n")
plant(common/text.h "#pragma once")
plant(registry/reader.cpp "#include \"common/text.h\"\n#include \"registry/reader.h\"")
plant(analysis/references.cpp "#include \"catalogue/object_data.h\"\n#include \"typelib/access.h\"")
plant(ui/logic/tree.cpp "#include \"analysis/references.h\"")
plant(registry/reader_win32.cpp "#include <windows.h>\n#include \"registry/reader.h\"")
plant(platform/win32/files.cpp "#include <windows.h>\n#include <oleauto.h>")
plant(ui/qt/window.cpp "#include <QWidget>\n#include <Qsci/qsciscintilla.h>\n#include \"ui/logic/tree.h\"")
plant(app/cli/main.cpp "#ifdef _WIN32\nint wmain();\n#endif\n#include \"ui/logic/tree.h\"")
run_check(result text)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "a tree that keeps the rules fails the check:\n${text}")
endif()

# The planted breaks, one of each kind.
plant(common/planted.h "#include \"typelib/access.h\"")
plant(typelib/planted.cpp "#include \"analysis/references.h\"")
plant(ui/qt/planted.cpp "#include \"ui/win32/main_window.h\"")
plant(catalogue/planted.cpp "#include <windows.h>")
plant(ui/logic/planted.cpp "#include <QString>")
plant(registry/not_listed.cpp "#if defined(_WIN32)\n#endif")
run_check(result text)
if(result EQUAL 0)
  message(FATAL_ERROR "the planted breaks pass the check:\n${text}")
endif()
foreach(expected
    "common/planted.h: includes \"typelib/access.h\" of typelib, above common"
    "typelib/planted.cpp: includes \"analysis/references.h\" of analysis, above typelib"
    "ui/qt/planted.cpp: includes \"ui/win32/main_window.h\" of ui/win32, above ui/qt"
    "catalogue/planted.cpp: includes <windows.h> outside the Windows files"
    "ui/logic/planted.cpp: includes Qt's <QString> outside ui/qt"
    "registry/not_listed.cpp: tests _WIN32 outside the places docs/architecture.md names")
  string(FIND "${text}" "${expected}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the check does not report: ${expected}\n${text}")
  endif()
endforeach()
string(REGEX MATCHALL "[a-z0-9_/]+\\.(h|cpp): (includes|tests)" reported "${text}")
list(LENGTH reported count)
if(NOT count EQUAL 6)
  message(FATAL_ERROR "the check reports ${count} breaks, 6 were planted:\n${text}")
endif()

file(REMOVE_RECURSE ${WORK})
message(STATUS "the layering check catches each planted break")
