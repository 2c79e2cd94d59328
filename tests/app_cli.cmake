# brannock-cli: its commands (the library brannock_cli) and the opening the
# three programs share (brannock_startup: options, --help, manual pages),
# and the program run as a process on .reg fixtures (POSIX only; the Windows
# build runs it in the Wine stage).
file(GLOB _cli_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/cli/*.cpp
                                       ${CMAKE_CURRENT_SOURCE_DIR}/app/startup/*.cpp)
if(WIN32)
  list(FILTER _cli_tests EXCLUDE REGEX "_posix(_test)?\\.cpp$")
endif()
add_executable(test_cli ${_cli_tests})
target_link_libraries(test_cli PRIVATE brannock_cli GTest::gtest GTest::gtest_main)
target_include_directories(test_cli PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(test_cli PRIVATE BRANNOCK_TEST_DATA="${BRANNOCK_TEST_DATA}"
                                            BRANNOCK_CLI_PATH="$<TARGET_FILE:brannock-cli>"
                                            BRANNOCK_TLB_DIR="${CMAKE_BINARY_DIR}/tlb"
                                            BRANNOCK_SOURCE_DIR="${BRANNOCK_SOURCE_DIR}")
add_dependencies(test_cli brannock-cli)
if(WIN32)
  target_link_options(test_cli PRIVATE -static)
else()
  gtest_discover_tests(test_cli DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  # A first run: the Wine prefix made as run.sh makes it, read at once.
  add_test(NAME FirstRun.FreshWinePrefix
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/app/cli/first_run_test.sh $<TARGET_FILE:brannock-cli>
                   ${BRANNOCK_SOURCE_DIR}/scripts/first-run-prefix.sh)
  set_tests_properties(FirstRun.FreshWinePrefix PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

# --compare and --snapshot on each kind of file source, the hive made by
# hivexregedit from an empty hive that brannock-empty-hive writes.
if(NOT WIN32)
  add_executable(brannock-empty-hive ${CMAKE_CURRENT_SOURCE_DIR}/support/empty_hive_main_posix.cpp
                                     ${CMAKE_CURRENT_SOURCE_DIR}/registry/hive_writer_support_posix.cpp)
  target_link_libraries(brannock-empty-hive PRIVATE brannock_registry)
  target_include_directories(brannock-empty-hive PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/registry)
  add_test(NAME CompareSources.EachKindAgainstItsSnapshotAndAHiveOfHivexregedit
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/app/cli/compare_sources_test.sh $<TARGET_FILE:brannock-cli>
                   $<TARGET_FILE:brannock-empty-hive> ${BRANNOCK_TEST_DATA})
  set_tests_properties(CompareSources.EachKindAgainstItsSnapshotAndAHiveOfHivexregedit PROPERTIES SKIP_RETURN_CODE 77)
endif()
