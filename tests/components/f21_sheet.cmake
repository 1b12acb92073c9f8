# The f21 contact sheet read back as a PPM file by python3.
add_test(NAME f21_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 2)
