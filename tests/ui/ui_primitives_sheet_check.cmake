# python3 (zlib, struct) reads the primitives sheet and probes it at the
# rectangles the tool prints: round-box corners, the shadow's side, the soft
# line's centre alpha, text ink inside its rectangle.
add_test(NAME ui_primitives_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/ui_primitives_sheet_check.py
                 $<TARGET_FILE:ui_primitives_sheet>)
set_tests_properties(ui_primitives_sheet_check PROPERTIES
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
