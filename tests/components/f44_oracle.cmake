# f43 and f44 members recomputed by python3 from their formulas and compared
# with the program's values on a grid, as the generic contact sheet prints
# them (the colour feed and w), and the packed f43 members fed random
# inputs with markers through contact_sheet --stdin.
add_test(NAME f44_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f44_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
