# platform_probe's commands on the scripted backend (no display needed).
add_test(NAME probe_script_check
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/probe_script_check.sh $<TARGET_FILE:platform_probe>
                 ${CMAKE_CURRENT_BINARY_DIR}/probe_script_run $<TARGET_FILE:rsrc_dump>
                 ${PROJECT_BINARY_DIR}/Resources/Kovrelin.rsrc)
set_tests_properties(probe_script_check PROPERTIES
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
