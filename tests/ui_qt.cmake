# The Qt front end's tests, all in tests/ui/qt beside each other:
# - test_ui_qt: the main window (Qt Test, offscreen);
# - test_ui_viewer: the type library viewer and the About dialog;
# - test_ui_actions: the main window's object commands, whose Wine part (real
#   regsvr32, real test instances) runs from scripts/wine-actions-stage.sh.
# The last two use Qt Test's event helpers under GoogleTest. The Windows build
# only makes the COM server that regsvr32 registers in the Wine part.
set(_qt_tests ${CMAKE_CURRENT_SOURCE_DIR}/ui/qt)
if(WIN32)
  add_library(brannock_regsvr_fixture SHARED ${_qt_tests}/regsvr_fixture_win32.cpp)
  set_target_properties(brannock_regsvr_fixture PROPERTIES PREFIX "")
  target_link_options(brannock_regsvr_fixture PRIVATE -static)
  return()
endif()
if(NOT TARGET brannock_uiqt)
  return()
endif()

add_test(NAME brannock_batch_without_display
         COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:brannock> -DREGISTRY=${BRANNOCK_SOURCE_DIR}/data/demo.reg
                 -DVERSION=${PROJECT_VERSION} -P ${_qt_tests}/batch_without_display.cmake)

find_package(Qt6 QUIET COMPONENTS Test)
if(NOT Qt6Test_FOUND)
  return()
endif()

add_executable(test_ui_qt ${_qt_tests}/main_window_test.cpp)
set_target_properties(test_ui_qt PROPERTIES AUTOMOC ON)
target_link_libraries(test_ui_qt PRIVATE brannock_uiqt Qt6::Test)
target_include_directories(test_ui_qt PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME test_ui_qt COMMAND test_ui_qt)
set_tests_properties(test_ui_qt PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

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
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

brannock_qt_gtests(test_ui_viewer about_dialog_test.cpp pascal_colouring_test.cpp tlb_viewer_test.cpp tlb_viewer_fixture_test.cpp
                   viewer_editor_test.cpp viewer_print_test.cpp)
brannock_qt_gtests(test_ui_actions main_window_actions_test.cpp wine_actions_test.cpp)

# Renders the pictures of the viewer and the About dialog in docs/.
if(BRANNOCK_BENCH)
  add_executable(viewer_screenshots ${_qt_tests}/viewer_screenshots.cpp)
  target_link_libraries(viewer_screenshots PRIVATE brannock_uiqt)
  target_include_directories(viewer_screenshots PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endif()
