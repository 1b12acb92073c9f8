# python3 (struct, zlib) writes layout files from the format's tables and
# reads them back through ui_layout_dump, parses what ui_layout_make
# writes, feeds damaged files, and probes the fixture drawn by ui_probe.
add_test(NAME ui_layout_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/ui_layout_check.py
                 $<TARGET_FILE:ui_layout_dump> $<TARGET_FILE:ui_layout_make>
                 $<TARGET_FILE:ui_probe> ${PROJECT_BINARY_DIR}/Resources)
set_tests_properties(ui_layout_check PROPERTIES
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
