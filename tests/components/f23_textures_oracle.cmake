# Three f23 hue fields and Techno boxes recomputed by python3 from their
# formulas, over the tables' permutation that the contact sheet tool prints,
# and compared with the program's values on a grid.
add_test(NAME f23_textures_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f23_textures_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
