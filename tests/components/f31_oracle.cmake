# Four f31 lattice members (3D Grid, 3D Cellular, 3D Bubbles, 3D Random
# lines) recomputed by python3 from their formulas, with the feature vectors
# rebuilt from the printed permutation, and compared with the program's
# values on grids that hold negative whole lattice coordinates.
add_test(NAME f31_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f31_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
