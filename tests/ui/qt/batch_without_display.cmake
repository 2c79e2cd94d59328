# Runs the window program with a batch switch and no display: it must write
# the list file next to itself and end with exit code 0, never needing a
# window; --version and --help need no display either.
# Arguments: -DPROGRAM=... -DREGISTRY=... -DVERSION=...
get_filename_component(_dir ${PROGRAM} DIRECTORY)
file(REMOVE ${_dir}/ObjClasses.csv ${_dir}/Intfs.csv)

# Runs the program with the arguments given, without any display; sets
# _rc, _out and _err.
function(run_without_display)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${PROGRAM} ${ARGN}
    RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  set(_rc "${_rc}" PARENT_SCOPE)
  set(_out "${_out}" PARENT_SCOPE)
  set(_err "${_err}" PARENT_SCOPE)
endfunction()

run_without_display(/so --registry ${REGISTRY} -Si)
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
run_without_display(--registry ${REGISTRY})
if(NOT _rc EQUAL 1 OR NOT _err MATCHES "no display")
  message(FATAL_ERROR "without display: exit code ${_rc}: ${_err}")
endif()

# A registry source that cannot be opened: the reason on standard error
# and a failure exit code, before anything else is read.
run_without_display(--registry ${_dir}/no-such-registry.reg -Si)
if(NOT _rc EQUAL 1 OR NOT _err MATCHES "^brannock: .*no-such-registry\\.reg")
  message(FATAL_ERROR "unopenable source: exit code ${_rc}: ${_err}")
endif()

run_without_display(--version)
if(NOT _rc EQUAL 0 OR NOT _out STREQUAL "brannock ${VERSION}\n")
  message(FATAL_ERROR "--version: exit code ${_rc}: '${_out}' ${_err}")
endif()
run_without_display(--help)
if(NOT _rc EQUAL 0 OR NOT _out MATCHES "--registry PATH" OR NOT _out MATCHES "-SA -SI -SO -ST")
  message(FATAL_ERROR "--help: exit code ${_rc}: '${_out}' ${_err}")
endif()
