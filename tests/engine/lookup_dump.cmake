# Independent check of the Bezier key interpolation, the smoothing filter and
# the hue-cycle tables against a python3 recomputation.
add_test(NAME lookup_dump_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/lookup_check.py
                 $<TARGET_FILE:lookup_dump>)
