# The layering check (cmake -P): fails when a source file under SOURCE_DIR
# (default: src/ of this repository)
#  - includes a header of a higher layer, or of the other front end;
#  - includes a Windows SDK header outside platform/win32/, *_win32.cpp,
#    ui/win32/ and the programs built for Windows only;
#  - includes a Qt header outside ui/qt/ and app/qt/;
#  - tests _WIN32 (#ifdef, #ifndef, #if defined) outside the files that
#    docs/architecture.md lists between the markers
#    "<!-- win32-conditionals -->" and "<!-- end -->" (ARCHITECTURE_DOC).
# The layers, lowest first, are those of docs/architecture.md.
cmake_minimum_required(VERSION 3.22)

get_filename_component(_repo ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
if(NOT SOURCE_DIR)
  set(SOURCE_DIR ${_repo}/src)
endif()
if(NOT ARCHITECTURE_DOC)
  set(ARCHITECTURE_DOC ${_repo}/docs/architecture.md)
endif()

# Layer of a path below src/ ("typelib/access.h"), with its rank; the two
# front ends share a rank and may not include each other.
set(_layers common platform registry catalogue typelib analysis ui/logic ui/qt ui/win32 app)
set(_ranks 0 1 2 3 4 5 6 7 7 8)
function(layer_of path out_layer out_rank)
  set(${out_layer} "" PARENT_SCOPE)
  set(${out_rank} -1 PARENT_SCOPE)
  set(i 0)
  foreach(layer ${_layers})
    string(LENGTH "${layer}/" n)
    string(SUBSTRING "${path}" 0 ${n} head)
    if(head STREQUAL "${layer}/")
      list(GET _ranks ${i} rank)
      set(${out_layer} ${layer} PARENT_SCOPE)
      set(${out_rank} ${rank} PARENT_SCOPE)
      return()
    endif()
    math(EXPR i "${i} + 1")
  endforeach()
endfunction()

# The files allowed to test _WIN32, as the architecture document lists them.
set(_win32_conditionals)
if(EXISTS ${ARCHITECTURE_DOC})
  file(READ ${ARCHITECTURE_DOC} _doc)
  string(FIND "${_doc}" "<!-- win32-conditionals -->" _begin)
  if(_begin GREATER_EQUAL 0)
    string(SUBSTRING "${_doc}" ${_begin} -1 _doc)
    string(FIND "${_doc}" "<!-- end -->" _end)
    string(SUBSTRING "${_doc}" 0 ${_end} _doc)
    string(REGEX MATCHALL "`src/[^`]+`" _named "${_doc}")
    foreach(_n ${_named})
      string(REGEX REPLACE "^`src/(.*)`$" "\\1" _n "${_n}")
      list(APPEND _win32_conditionals ${_n})
    endforeach()
  endif()
endif()

# Windows SDK headers (the C runtime's own <io.h> and the like are not).
set(_sdk_headers windows|winreg|winver|winnt|winbase|winuser|wingdi|objbase|ole2|oleauto|oaidl|objidl|
                 unknwn|shlobj|shellapi|shlwapi|commctrl|commdlg|richedit|winspool|uxtheme|dwmapi)
string(REPLACE "\n" "" _sdk_headers "${_sdk_headers}")
string(REPLACE " " "" _sdk_headers "${_sdk_headers}")

set(_problems)
file(GLOB_RECURSE _files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
list(SORT _files)
foreach(_f ${_files})
  layer_of("${_f}" _layer _rank)
  get_filename_component(_name ${_f} NAME)
  set(_windows_file FALSE)
  if(_f MATCHES "^(platform/win32|ui/win32|app/win32|app/instance_helper)/" OR _name MATCHES "_win32\\.(cpp|h)$")
    set(_windows_file TRUE)
  endif()
  set(_qt_file FALSE)
  if(_f MATCHES "^(ui/qt|app/qt)/")
    set(_qt_file TRUE)
  endif()

  file(STRINGS ${SOURCE_DIR}/${_f} _lines REGEX "^[ \t]*#[ \t]*(include|if|ifdef|ifndef|elif)")
  foreach(_line ${_lines})
    if(_line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      layer_of("${CMAKE_MATCH_1}" _inc_layer _inc_rank)
      if(_inc_rank GREATER _rank OR (_inc_rank EQUAL _rank AND NOT _inc_layer STREQUAL _layer))
        list(APPEND _problems "${_f}: includes \"${CMAKE_MATCH_1}\" of ${_inc_layer}, above ${_layer}")
      endif()
    elseif(_line MATCHES "^[ \t]*#[ \t]*include[ \t]*<(${_sdk_headers})\\.h>")
      if(NOT _windows_file)
        list(APPEND _problems "${_f}: includes <${CMAKE_MATCH_1}.h> outside the Windows files")
      endif()
    elseif(_line MATCHES "^[ \t]*#[ \t]*include[ \t]*<(Q[A-Za-z]*|Qsci/[^>]*|Qt[A-Za-z]*/[^>]*)>")
      if(NOT _qt_file)
        list(APPEND _problems "${_f}: includes Qt's <${CMAKE_MATCH_1}> outside ui/qt")
      endif()
    elseif(_line MATCHES "_WIN32")
      if(NOT _f IN_LIST _win32_conditionals)
        list(APPEND _problems "${_f}: tests _WIN32 outside the places docs/architecture.md names")
      endif()
    endif()
  endforeach()
endforeach()

list(LENGTH _files _count)
if(_problems)
  list(JOIN _problems "\n  " _text)
  message(FATAL_ERROR "layering check: ${_count} files, these break the layers:\n  ${_text}")
endif()
message(STATUS "layering check: ${_count} files, no upward include, Windows and Qt headers in place")
