# The f14 contact sheet (outputs 1-3 as one colour, 8 full intensity, and
# output 4 as a value thumbnail beside it; fed x + y) read back as a PPM file
# by python3, both panels checked. Flat at their defaults: the colour of Set
# Constant (id 1) and of Main gradient (id 7, an empty palette in the
# sheet's document), and output 4 of the compiled tree (id 127), which
# without a sub-tree is not written.
if(TARGET contact_sheet AND TARGET catalog_dump)
  add_test(NAME f14_sheet_check
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                   $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 18 --panels 2 1:1 7:1
                   127:2)
endif()
