# The type library viewer and the About dialog, run offscreen with Qt Test's
# event helpers under GoogleTest; plus the viewer's benchmark and screenshot
# programs. Needs the Qt front end (Qt 6 and QScintilla).
if(TARGET brannock_uiqt AND NOT WIN32)
  find_package(Qt6 QUIET COMPONENTS Test)
  if(Qt6Test_FOUND)
    file(GLOB _viewer_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/viewer/*_test.cpp)
    add_executable(test_ui_viewer ${_viewer_tests} ${CMAKE_CURRENT_SOURCE_DIR}/ui/viewer/qt_test_main.cpp)
    set_target_properties(test_ui_viewer PROPERTIES AUTOMOC ON)
    target_link_libraries(test_ui_viewer PRIVATE brannock_uiqt Qt6::Test GTest::gtest)
    target_include_directories(test_ui_viewer PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${BRANNOCK_SOURCE_DIR}/src)
    target_compile_definitions(test_ui_viewer PRIVATE BRANNOCK_TEST_DATA="${BRANNOCK_TEST_DATA}")
    # The widl-compiled libraries (tests/typelib_fixtures.cmake), when built.
    if(TARGET typelib_fixtures)
      add_dependencies(test_ui_viewer typelib_fixtures)
      target_compile_definitions(test_ui_viewer PRIVATE BRANNOCK_TLB_DIR="${CMAKE_BINARY_DIR}/tlb")
    endif()
    gtest_discover_tests(test_ui_viewer DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()

  if(BRANNOCK_BENCH)
    foreach(_program viewer_bench viewer_screenshots)
      if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/ui/viewer/${_program}.cpp)
        continue()
      endif()
      add_executable(${_program} ${CMAKE_CURRENT_SOURCE_DIR}/ui/viewer/${_program}.cpp)
      target_link_libraries(${_program} PRIVATE brannock_uiqt)
      target_include_directories(${_program} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${BRANNOCK_SOURCE_DIR}/src)
    endforeach()
  endif()
endif()
