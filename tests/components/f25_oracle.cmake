# Disk Inversion, Soddy Inversions, Inversion Ring, Moebius Inversions and the
# Disk Fractal Lab at algorithms 8 and 20 recomputed by python3 from their
# formulas and compared with the program's five outputs on a grid.
add_test(NAME f25_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f25_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
