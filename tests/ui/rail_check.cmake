# Layout 9002 through ui_probe: python3 computes the rail positions, the
# scroller steps and the number drags of scripted presses from the items'
# formulas and compares them with the values the probe prints.
add_test(NAME rail_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/rail_check.py
                 $<TARGET_FILE:ui_probe> ${PROJECT_BINARY_DIR}/Resources
                 ${PROJECT_SOURCE_DIR}/resources/layouts/ui_values.txt)
set_tests_properties(rail_check PROPERTIES
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
