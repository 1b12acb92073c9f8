# XYza tiles, tiled disks, the Apollonian gasket and the masks of the seven
# f24 shapes recomputed by python3 from their formulas and compared with the
# program's values on a grid, markers included.
add_test(NAME f24_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f24_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
