# Tests of the scripts of scripts/ that check what the stages rely on, each
# a shell script of tests/scripts/ given the script it tries.
if(WIN32)
  return()
endif()
add_test(NAME purge_leftovers
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/purge_leftovers_test.sh
                 ${BRANNOCK_SOURCE_DIR}/scripts/purge-leftovers.sh)
set_tests_properties(purge_leftovers PROPERTIES SKIP_RETURN_CODE 77)
# The independent walker of SLTG fields: the synthetic library (a fuzz seed)
# and, beside the project, the real ones.
add_test(NAME sltg_fields
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/sltg_fields_test.sh ${BRANNOCK_SOURCE_DIR}/scripts/sltg-fields.pl
                 ${BRANNOCK_SOURCE_DIR}/fuzz/corpus/sltg_reader/point_record.tlb
                 ${BRANNOCK_SOURCE_DIR}/../shared/fixtures/real/typelib)
set_tests_properties(sltg_fields PROPERTIES SKIP_RETURN_CODE 77)
