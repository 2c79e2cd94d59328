# The Qt front end's tests, all in tests/ui/qt beside each other:
# - test_ui_qt: the main window;
# - test_ui_viewer: the type library viewer and the About dialog;
# - test_ui_actions: the main window's object commands, whose Wine part (real
#   regsvr32, real test instances) runs from scripts/wine-actions-stage.sh.
# All are GoogleTest programs (offscreen) that use Qt Test's event helpers.
set(_qt_tests ${CMAKE_CURRENT_SOURCE_DIR}/ui/qt)
if(WIN32 OR NOT TARGET brannock_uiqt)
  return()
endif()

add_test(NAME brannock_batch_without_display
         COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:brannock> -DREGISTRY=${BRANNOCK_SOURCE_DIR}/data/demo.reg
                 -DVERSION=${PROJECT_VERSION} -P ${_qt_tests}/batch_without_display.cmake)

find_package(Qt6 QUIET COMPONENTS Test)
if(NOT Qt6Test_FOUND)
  brannock_not_built("the Qt window tests" "Qt Test not found")
  return()
endif()

# The GoogleTest programs: each named file list, one shared main().
function(brannock_qt_gtests name)
  list(TRANSFORM ARGN PREPEND ${_qt_tests}/)
  add_executable(${name} ${ARGN} ${_qt_tests}/qt_test_main.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE brannock_uiqt Qt6::Test GTest::gtest)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE BRANNOCK_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
                                             BRANNOCK_TEST_DATA="${BRANNOCK_TEST_DATA}")
  # The widl-compiled libraries (tests/typelib_fixtures.cmake), when built.
  if(TARGET typelib_fixtures)
    add_dependencies(${name} typelib_fixtures)
    target_compile_definitions(${name} PRIVATE BRANNOCK_TLB_DIR="${CMAKE_BINARY_DIR}/tlb")
  endif()
  # The Wine parts of the object commands and of the comparison run in
  # scripts/wine-actions-stage.sh and scripts/wine-compare-stage.sh only:
  # ctest does not know them.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_FILTER -WineActions.*:WineCompare.*
                       PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

brannock_qt_gtests(test_ui_qt main_window_test.cpp check_window_test.cpp find_window_test.cpp main_window_comparison_test.cpp
                   window_images_test.cpp)
brannock_qt_gtests(test_ui_viewer about_dialog_test.cpp pascal_colouring_test.cpp tlb_viewer_test.cpp tlb_viewer_fixture_test.cpp
                   viewer_editor_test.cpp viewer_print_test.cpp)
brannock_qt_gtests(test_ui_actions main_window_actions_test.cpp wine_actions_test.cpp)

# Renders the pictures of the viewer and the About dialog in docs/.
if(BRANNOCK_BENCH)
  add_executable(viewer_screenshots ${_qt_tests}/viewer_screenshots.cpp)
  target_link_libraries(viewer_screenshots PRIVATE brannock_uiqt)
  target_include_directories(viewer_screenshots PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endif()
