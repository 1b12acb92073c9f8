# f33 point transforms, perspective surfaces and colour operations recomputed
# by python3 from their formulas against contact_sheet --family 8 --values
# and, past that feed and with markers, through --stdin; six packed
# compositing members fed random scalar, uniform, RGB and RGBA inputs with
# markers, in and out of a loop's passes, through --stdin.
add_test(NAME f33_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f33_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
