# The f44 contact sheet (the colour (4 + 4x/pi, 4 + 4y/pi, 4) and w; the
# colour, then output 4 beside it) read back as a PPM file by python3: every
# built member shows a pattern in both panels at its defaults.
add_test(NAME f44_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 12 --panels 2)
