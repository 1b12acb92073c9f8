# Layout 9001 drawn by ui_probe and checked from outside: ImageMagick cuts
# the cell of picture code -70 from the list image and compares it with the
# picture button; python3 (zlib, struct) reads the box fill and gradient
# ends, and the probe's report of the scripted press, typing and drag.
add_test(NAME ui_items_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/ui_items_check.py
                 $<TARGET_FILE:ui_probe> ${PROJECT_BINARY_DIR}/Resources)
set_tests_properties(ui_items_check PROPERTIES
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
