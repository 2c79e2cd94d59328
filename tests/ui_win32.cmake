# The Win32 front end under Wine: test_uiwin32.exe drives the real main
# window through messages in a prefix holding the Wine stage's fixtures
# (scripts/wine-window-stage.sh). The host build makes the tool that
# writes the pane lines the Linux build shows for that prefix.
if(WIN32)
  if(NOT TARGET brannock_uiwin32)
    return()
  endif()
  file(GLOB _win32_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/*.cpp)
  add_executable(test_uiwin32 ${_win32_tests})
  target_link_libraries(test_uiwin32 PRIVATE brannock_uiwin32 GTest::gtest GTest::gtest_main)
  target_include_directories(test_uiwin32 PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_options(test_uiwin32 PRIVATE -static)
elseif(TARGET brannock_uilogic)
  add_executable(brannock-pane-lines ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/host/pane_lines_main.cpp
                                     ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/pane_lines.cpp)
  target_link_libraries(brannock-pane-lines PRIVATE brannock_uilogic)
endif()
