# The theme filter's lattice helpers and saw-rock bodies recomputed by
# python3 from their definitions and compared with `contact_sheet --bodies`.
add_test(NAME f44_terrain_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f44_terrain_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
