# Output 4 of Polygon N, Circle, Line, Neon Line, Gaussian Dot, R Maze and
# the star field recomputed by python3 from their formulas and compared with
# the program's values on a grid, the permutation read from --tables.
add_test(NAME f34_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f34_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
