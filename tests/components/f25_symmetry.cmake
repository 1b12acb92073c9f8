# Outer Mirror N, Polar Space, Escher Disk Tile (f25) and Min <-> Max, z Blend,
# Displace by alt, Blend by alt, Julia and Mandelbrot escape counts (f31)
# recomputed by python3 from their formulas and compared on a grid.
add_test(NAME f25_symmetry_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f25_symmetry_check.py
                 $<TARGET_FILE:contact_sheet>)
