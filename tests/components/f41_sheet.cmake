# The f41 contact sheet (x, y, then z rising up and w rising right over the
# view; output 1 as a value) read back as a PPM file by python3: every built
# member shows a pattern at its defaults, but the compiled tree (127), which
# has no sub-tree on the sheet.
add_test(NAME f41_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 15 127)
