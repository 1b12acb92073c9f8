# The f21 members that need no noise tables, recomputed by python3 from their
# formulas and compared with the program's values on a grid.
add_test(NAME f21_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f21_oracle_check.py
                 $<TARGET_FILE:f21_contact_sheet>)
