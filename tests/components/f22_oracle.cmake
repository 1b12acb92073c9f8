# Ten f22 maps recomputed by python3 from their formulas and compared with the
# program's values on a grid, as the generic contact sheet prints them.
add_test(NAME f22_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f22_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)

# Five lattice displacements recomputed by python3 with the tables'
# permutation, which the contact sheet tool prints.
add_test(NAME f22_displace_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f22_displace_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
