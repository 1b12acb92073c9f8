# The f11 contact sheet read back as a PPM file by python3. The sheet feeds
# x + y, draws the loop and memory members in their loop tree and the
# derivatives over f21 " Ripples", each member in a document of its own (the
# iteration counter at 0): every built member shows a pattern at its
# defaults.
if(TARGET contact_sheet AND TARGET catalog_dump)
  add_test(NAME f11_sheet_check
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                   $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 1)
endif()
