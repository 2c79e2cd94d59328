# The Windows type library viewer and About dialog under Wine:
# test_uiwin32_viewer.exe (run by scripts/wine-viewer-stage.sh with Xvfb),
# the viewer's benchmark and its screenshot program. The test program
# carries brannock.exe's resources, so that the About dialog reads the same
# version resource.
if(NOT WIN32 OR NOT TARGET brannock_uiwin32)
  return()
endif()
set(_brannock_rc ${CMAKE_BINARY_DIR}/src/app/win32/brannock.rc)
file(GLOB _viewer_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32viewer/*_test.cpp)
add_executable(test_uiwin32_viewer ${_viewer_tests} ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32viewer/viewer_fixture.cpp
                                   ${_brannock_rc})
target_link_libraries(test_uiwin32_viewer PRIVATE brannock_uiwin32 GTest::gtest GTest::gtest_main)
target_include_directories(test_uiwin32_viewer PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_options(test_uiwin32_viewer PRIVATE -static)

foreach(_program viewer_bench_win32 viewer_screenshots_win32)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32viewer/${_program}.cpp)
    add_executable(${_program} WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32viewer/${_program}.cpp ${_brannock_rc})
    target_link_libraries(${_program} PRIVATE brannock_uiwin32)
    target_link_options(${_program} PRIVATE -static -municode)
  endif()
endforeach()
