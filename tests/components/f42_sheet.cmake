# The f42 contact sheet (x, y, then z rising up and w rising right over the
# view; outputs 1 and 2 as a point seen through f21 " Grid") read back as a
# PPM file by python3: every built member shows a pattern at its defaults,
# but " Abs & Minimum" (8) and the city light (31), which give one grid value
# over the whole view at their defaults.
add_test(NAME f42_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 6 8 31)
