# The f31 contact sheet (output 1 of each member as a value, z fed as 0) read
# back as a PPM file by python3. Flat at z = 0: 3D Techno noise (the plane
# z = 0 runs along cell faces, where its edge distance is 0), z ridged
# Fractal noise (0 wherever z <= 0), and x * y * z and (x:y) * z at their
# defaults (a product with z, and with (z - 1) B + 1 at B = 1).
add_test(NAME f31_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 4 30 37 2 21)
