# The f34 contact sheet (output 1 of each member as a value, input 3 at 0)
# read back as a PPM file by python3: every built member shows a pattern at
# its defaults, but the mazes and the random polygons (5, 18, 26, 38), whose
# walls and polygons stay below the floor at z = 0, and " z R-patchwork"
# (44), whose colour comes from the document palette.
add_test(NAME f34_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 11 5 18 26 38 44)
