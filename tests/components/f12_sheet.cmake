# The f12 contact sheet (each member's pair of outputs as a point seen
# through f21 " Grid", fed x + y; the 2D derivative over f21 " Ripples") read
# back as a PPM file by python3. Set Constant (id 0) gives one point
# everywhere: its thumbnail is flat.
if(TARGET contact_sheet AND TARGET catalog_dump)
  add_test(NAME f12_sheet_check
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                   $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 16 0)
endif()
