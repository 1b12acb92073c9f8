# The f34 contact sheet (x and y over the view, z rising from 0 at the bottom
# to 1 at the top; the colour, then w beside it) read back as a PPM file by
# python3: every built member shows a pattern at its defaults, but the colour
# of " R Maze" (26), one colour at its defaults (its pattern shows in w),
# the colours of 31 and " z R-patchwork" (44), which come from the document
# palette, and w of the compiled tree (127), which has no sub-tree here.
add_test(NAME f34_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 11 --panels 2 26:1 31:1 44:1 127:2)
