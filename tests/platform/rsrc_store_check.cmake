# python3 (struct) reads the generated application store from its documented
# layout and checks that rsrc_dump lists the same resources and prints the
# same contents, and that a damaged copy makes rsrc_dump fail.
add_test(NAME rsrc_store_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/rsrc_store_check.py
                 $<TARGET_FILE:rsrc_dump> ${PROJECT_BINARY_DIR}/Resources/Kovrelin.rsrc)
set_tests_properties(rsrc_store_check PROPERTIES
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
