# The f23 contact sheet (output 1 of each member as a value) read back as a
# PPM file by python3. Flat at their defaults: the plain colour (red 0), and
# the five gradients and Max to gradient, whose palettes are empty in the
# sheet's document and library-less world.
add_test(NAME f23_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 7 2 5 26 39 42 43 45)
