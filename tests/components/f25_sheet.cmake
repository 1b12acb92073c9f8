# The f25 contact sheet (x, y over the view; outputs 3 to 5 as a colour over
# a faint checkerboard of the moved point, outputs 1 and 2) read back as a
# PPM file by python3: every built member shows a pattern at its defaults.
add_test(NAME f25_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 13)
