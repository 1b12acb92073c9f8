# Four f41 members and twelve f42 cases recomputed by python3 from their
# formulas and compared with the program's values on a grid, as the generic
# contact sheet prints them.
add_test(NAME f42_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f42_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
