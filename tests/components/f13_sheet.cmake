# The f13 contact sheet (outputs 1-3 as one colour, 8 full intensity, fed
# x + y) read back as a PPM file by python3. Flat at their defaults: Set
# Constant (id 1), and Main gradient and Indexed gradient (ids 6, 7), whose
# palettes are empty in the sheet's document and library-less world.
if(TARGET contact_sheet AND TARGET catalog_dump)
  add_test(NAME f13_sheet_check
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                   $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 17 1 6 7)
endif()
