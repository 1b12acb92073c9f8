# The f24 contact sheet (output 1 of each member as a value) read back as a
# PPM file by python3: every built member shows a pattern at its defaults,
# but " Time R-patchwork" (52) and the random meshes (19, 20), whose colour
# comes from the document palette, which the sheet's documents leave empty.
add_test(NAME f24_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 10 19 20 52)
