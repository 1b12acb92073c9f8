# The f21 shape, line-network, lightning and tech-noise members recomputed
# by python3 from their formulas (lattice members from the printed
# permutation) and compared with the program's values on a grid.
add_test(NAME f21_shapes_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f21_shapes_oracle_check.py
                 $<TARGET_FILE:f21_contact_sheet>)
