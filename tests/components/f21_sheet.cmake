# The f21 contact sheet read back as a PPM file by python3.
add_test(NAME f21_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f21_sheet_check.py
                 $<TARGET_FILE:f21_contact_sheet> $<TARGET_FILE:catalog_dump>)
