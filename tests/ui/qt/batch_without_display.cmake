# Runs the window program with a batch switch and no display: it must write
# the list file next to itself and end with exit code 0, never needing a
# window. Arguments: -DPROGRAM=... -DREGISTRY=...
get_filename_component(_dir ${PROGRAM} DIRECTORY)
file(REMOVE ${_dir}/ObjClasses.csv ${_dir}/Intfs.csv)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${PROGRAM} /so --registry ${REGISTRY} -Si
  RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "exit code ${_rc}: ${_out}${_err}")
endif()
foreach(_f ObjClasses.csv Intfs.csv)
  if(NOT EXISTS ${_dir}/${_f})
    message(FATAL_ERROR "${_f} was not written")
  endif()
  file(READ ${_dir}/${_f} _text LIMIT 11 HEX)
  if(NOT _text STREQUAL "4e616d653b475549440d0a")  # Name;GUID CR LF
    message(FATAL_ERROR "${_f} starts with '${_text}'")
  endif()
endforeach()

# Without a switch and without a display the window cannot open: a message,
# and a failure exit code rather than a crash.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${PROGRAM} --registry ${REGISTRY}
  RESULT_VARIABLE _rc ERROR_VARIABLE _err)
if(NOT _rc EQUAL 1 OR NOT _err MATCHES "no display")
  message(FATAL_ERROR "without display: exit code ${_rc}: ${_err}")
endif()
