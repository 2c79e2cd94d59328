# What `cmake --install` lays out.
#
# Linux (the Debian package installs with prefix /usr):
#   bin/brannock, bin/brannock-cli
#   lib/brannock/brannock-instance.exe      (from the Windows cross build)
#   share/applications/brannock.desktop
#   share/icons/hicolor/NxN/apps/brannock.png   (16, 32, 48, 128, 256)
#   share/man/man1/brannock.1.gz, brannock-cli.1.gz
#   share/doc/brannock/README.md, copyright, changelog.gz
# Windows (the zip): brannock.exe, brannock-cli.exe and README.txt in one
# folder.
set(_gen ${PROJECT_BINARY_DIR}/install-files)

if(WIN32)
  foreach(_program brannock brannock-cli)
    if(TARGET ${_program})
      install(TARGETS ${_program} RUNTIME DESTINATION .)
    endif()
  endforeach()
  configure_file(data/windows/README.txt ${_gen}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${_gen}/README.txt DESTINATION .)
  return()
endif()

# The files made from the sources at build time: the manual pages and the
# changelog with the version filled in and compressed as Debian wants them,
# and the icons painted by the program's own icon code.
find_program(BRANNOCK_GZIP gzip REQUIRED)
set(_made)
foreach(_file brannock.1 brannock-cli.1 changelog)
  configure_file(data/linux/${_file} ${_gen}/${_file} @ONLY)
  add_custom_command(OUTPUT ${_gen}/${_file}.gz
                     COMMAND ${BRANNOCK_GZIP} -9nf -k ${_gen}/${_file}
                     DEPENDS ${_gen}/${_file} VERBATIM)
  list(APPEND _made ${_gen}/${_file}.gz)
endforeach()

if(TARGET brannock)
  add_executable(brannock-write-icons tools/write_icons.cpp)
  target_link_libraries(brannock-write-icons PRIVATE brannock_uiqt)
  # Runs at build time, also in sanitizer builds: Qt's own allocations at
  # exit are no fault of the icon.
  add_custom_command(OUTPUT ${_gen}/icons/hicolor/256x256/apps/brannock.png
                     COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                             $<TARGET_FILE:brannock-write-icons> ${_gen}/icons
                     DEPENDS brannock-write-icons VERBATIM)
  list(APPEND _made ${_gen}/icons/hicolor/256x256/apps/brannock.png)
endif()
add_custom_target(brannock-install-files ALL DEPENDS ${_made})

install(TARGETS brannock-cli RUNTIME DESTINATION bin)
if(TARGET brannock)
  install(TARGETS brannock RUNTIME DESTINATION bin)
  install(FILES data/linux/brannock.desktop DESTINATION share/applications)
  install(DIRECTORY ${_gen}/icons/hicolor DESTINATION share/icons)
  install(FILES ${_gen}/brannock.1.gz DESTINATION share/man/man1)
endif()
install(FILES ${_gen}/brannock-cli.1.gz DESTINATION share/man/man1)
# The instance helper comes from the cross build (./package.sh builds it
# first), stripped: that build keeps its debugging information. A Windows
# file, not a program of this machine: installed without the executable bit;
# Wine runs it all the same.
find_program(BRANNOCK_MINGW_STRIP x86_64-w64-mingw32-strip)
if(BRANNOCK_CROSS_INSTANCE_HELPER AND EXISTS ${BRANNOCK_CROSS_INSTANCE_HELPER} AND BRANNOCK_MINGW_STRIP)
  add_custom_command(OUTPUT ${_gen}/brannock-instance.exe
                     COMMAND ${BRANNOCK_MINGW_STRIP} -o ${_gen}/brannock-instance.exe ${BRANNOCK_CROSS_INSTANCE_HELPER}
                     DEPENDS ${BRANNOCK_CROSS_INSTANCE_HELPER} VERBATIM)
  add_custom_target(brannock-install-helper ALL DEPENDS ${_gen}/brannock-instance.exe)
  add_dependencies(brannock-install-files brannock-install-helper)
  install(FILES ${_gen}/brannock-instance.exe DESTINATION lib/brannock)
else()
  message(STATUS "No brannock-instance.exe in ${BRANNOCK_CROSS_BUILD_DIR}: cmake --install leaves it out")
endif()
install(FILES README.md data/linux/copyright ${_gen}/changelog.gz DESTINATION share/doc/brannock)
