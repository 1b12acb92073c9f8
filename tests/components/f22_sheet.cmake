# The f22 contact sheet (each member's point seen through f21 " Grid") read
# back as a PPM file by python3. Disc Tiling (id 34) at its defaults gives a
# disc's local coordinates, all within half a unit of the origin, where the
# grid has no line: its thumbnail is flat.
add_test(NAME f22_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 3 34)
