# The main window's object commands, run offscreen with Qt Test's event
# helpers under GoogleTest. Their Wine part (real regsvr32, real test
# instances) runs from scripts/wine-actions-stage.sh. The Windows build
# makes the COM server that regsvr32 registers there.
if(WIN32)
  add_library(brannock_regsvr_fixture SHARED ${CMAKE_CURRENT_SOURCE_DIR}/ui/actions/regsvr_fixture_win32.cpp)
  set_target_properties(brannock_regsvr_fixture PROPERTIES PREFIX "")
  target_link_options(brannock_regsvr_fixture PRIVATE -static)
  return()
endif()
if(NOT TARGET brannock_uiqt)
  return()
endif()
find_package(Qt6 QUIET COMPONENTS Test)
if(NOT Qt6Test_FOUND)
  return()
endif()
file(GLOB _action_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/actions/*_test.cpp)
add_executable(test_ui_actions ${_action_tests} ${CMAKE_CURRENT_SOURCE_DIR}/ui/viewer/qt_test_main.cpp)
target_link_libraries(test_ui_actions PRIVATE brannock_uiqt Qt6::Test GTest::gtest)
target_include_directories(test_ui_actions PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${BRANNOCK_SOURCE_DIR}/src)
target_compile_definitions(test_ui_actions PRIVATE BRANNOCK_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
if(TARGET typelib_fixtures)
  add_dependencies(test_ui_actions typelib_fixtures)
  target_compile_definitions(test_ui_actions PRIVATE BRANNOCK_TLB_DIR="${CMAKE_BINARY_DIR}/tlb")
endif()
gtest_discover_tests(test_ui_actions DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
