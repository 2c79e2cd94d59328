# The Win32 front end's tests, in tests/ui/win32:
# - test_uiwin32.exe drives the real main window through messages in a
#   prefix holding the Wine stage's fixtures (scripts/wine-window-stage.sh);
#   the host build makes the tool that writes the pane lines the Linux build
#   shows for that prefix (host/);
# - test_uiwin32_viewer.exe (viewer/, run by scripts/wine-viewer-stage.sh
#   with Xvfb) opens the type library viewer and the About dialog; beside it
#   the viewer's benchmark and its screenshot program. It carries
#   brannock.exe's resources, so that the About dialog reads the same
#   version resource.
if(WIN32)
  if(NOT TARGET brannock_uiwin32)
    return()
  endif()
  file(GLOB _win32_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/*.cpp)
  add_executable(test_uiwin32 ${_win32_tests})
  target_link_libraries(test_uiwin32 PRIVATE brannock_uiwin32 GTest::gtest GTest::gtest_main)
  target_include_directories(test_uiwin32 PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_options(test_uiwin32 PRIVATE -static)

  set(_brannock_rc ${CMAKE_BINARY_DIR}/src/app/win32/brannock.rc)
  file(GLOB _viewer_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/viewer/*_test.cpp)
  add_executable(test_uiwin32_viewer ${_viewer_tests} ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/viewer/viewer_fixture.cpp
                                     ${_brannock_rc})
  target_link_libraries(test_uiwin32_viewer PRIVATE brannock_uiwin32 GTest::gtest GTest::gtest_main)
  target_include_directories(test_uiwin32_viewer PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_options(test_uiwin32_viewer PRIVATE -static)

  foreach(_program viewer_bench_win32 viewer_screenshots_win32)
    add_executable(${_program} WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/viewer/${_program}.cpp ${_brannock_rc})
    target_link_libraries(${_program} PRIVATE brannock_uiwin32)
    target_link_options(${_program} PRIVATE -static -municode)
  endforeach()
elseif(TARGET brannock_uilogic)
  add_executable(brannock-pane-lines ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/host/pane_lines_main.cpp
                                     ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/pane_lines.cpp)
  target_link_libraries(brannock-pane-lines PRIVATE brannock_uilogic)
endif()
