# The f11 contact sheet read back as a PPM file by python3. Plateau (id 34)
# at its defaults is flat at 4 wherever |input| < 4, which covers the sheet's
# -pi..pi when the input is x alone: its thumbnail may be flat. " Iterations"
# (id 28) at its defaults (B = 0) gives 0 everywhere. Memory Fractal Add (id
# 54) drawn alone after it finds the tree's iteration counter above 0, as
# the sheet runs every member in one document without a tree pass, so its
# gain stays 0 until the sheet draws the memory members in a tree.
if(TARGET contact_sheet AND TARGET catalog_dump)
  add_test(NAME f11_sheet_check
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                   $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 1 34 28 54)
endif()
