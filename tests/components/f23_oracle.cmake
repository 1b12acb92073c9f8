# Seven f23 members (plain shade, colour ramps, axonometric lift, sphere,
# tube, cube, spherical projection) recomputed by python3 from their formulas
# and compared with the program's values on a grid, markers included.
add_test(NAME f23_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f23_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
