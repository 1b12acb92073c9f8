# The sound effects against python3: magnitude responses of the stored
# filter designs, the echo's delay, the filter file's bytes, damaged files.
add_test(NAME effects_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/effects_check.py
                 $<TARGET_FILE:effect_tool>)
