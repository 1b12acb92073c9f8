# The sequencer against python3: nearest-key and degree tables of every scale
# kind and root, sequence files written with struct and read back.
add_test(NAME sequence_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/sequence_check.py
                 $<TARGET_FILE:sequence_tool>)
