# python3 (zlib, struct) recomputes transfers, box averages, the fast blur,
# the move and the rotation from their rules and compares every colour byte
# that buffer_op writes.
add_test(NAME imaging_buffer_op_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/buffer_op_check.py
                 $<TARGET_FILE:buffer_op>)
