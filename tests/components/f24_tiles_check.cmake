# The f24 colour tilings' masks and colour indices recomputed by python3
# from the tiling rules on the grid of contact_sheet --values.
add_test(NAME f24_tiles_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f24_tiles_check.py
                 $<TARGET_FILE:contact_sheet>)
