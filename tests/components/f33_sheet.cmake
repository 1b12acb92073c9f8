# The f33 contact sheet read back as a PPM file by python3: the point members
# drawn through " Grid", the colour operations, 3D colour noises and packed
# members in colour, " 3D Normal" shading " Ripples" and the slices marching
# " Ripples" and " 3D Spots"; every built member shows a pattern at its
# defaults but " Max to gradient" (49), whose colours come from the
# document's colour gradient, which a sheet's document leaves without keys.
add_test(NAME f33_sheet_check
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/contact_sheet_check.py
                 $<TARGET_FILE:contact_sheet> $<TARGET_FILE:catalog_dump> 8 49)
