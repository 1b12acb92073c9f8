# The picture and movie members of f21 and f23, recomputed by python3 from
# their formulas over a PNG picture it writes, and compared with the values
# pict_values prints for that picture.
add_test(NAME pict_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/pict_oracle_check.py
                 $<TARGET_FILE:pict_values>)
