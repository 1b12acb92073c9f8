# The picture of every built-in palette and colour function is written and
# read back by python3.
add_test(NAME palette_strips_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/palette_strips_check.py
                 $<TARGET_FILE:palette_strips>)
