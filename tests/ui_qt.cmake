# The main window's tests (Qt Test, offscreen) and its benchmark; both need
# the Qt front end.
if(TARGET brannock_uiqt)
  find_package(Qt6 QUIET COMPONENTS Test)
  if(Qt6Test_FOUND)
    add_executable(test_ui_qt ${CMAKE_CURRENT_SOURCE_DIR}/ui/qt/main_window_test.cpp)
    set_target_properties(test_ui_qt PROPERTIES AUTOMOC ON)
    target_link_libraries(test_ui_qt PRIVATE brannock_uiqt Qt6::Test)
    target_include_directories(test_ui_qt PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    add_test(NAME test_ui_qt COMMAND test_ui_qt)
    set_tests_properties(test_ui_qt PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  add_test(NAME brannock_batch_without_display
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:brannock> -DREGISTRY=${BRANNOCK_SOURCE_DIR}/data/demo.reg
                   -DVERSION=${PROJECT_VERSION} -P ${CMAKE_CURRENT_SOURCE_DIR}/ui/qt/batch_without_display.cmake)
  if(BRANNOCK_BENCH)
    add_executable(main_window_bench ${CMAKE_CURRENT_SOURCE_DIR}/ui/main_window_bench.cpp)
    target_link_libraries(main_window_bench PRIVATE brannock_uiqt)
    target_include_directories(main_window_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
endif()
