# The f11 contact sheet read back as a PPM file by python3. Plateau (id 34)
# at its defaults is flat at 4 wherever |input| < 4, which covers the sheet's
# -pi..pi when the input is x alone: its thumbnail may be flat.
if(TARGET contact_sheet AND TARGET catalog_dump)
  add_test(NAME f11_sheet_check
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                   $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 1 34)
endif()
