# Old tree records written by python3 struct from the byte table, converted
# and read back; the old file is never changed.
add_test(NAME oldformat_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/oldformat_check.py
                 $<TARGET_FILE:treefile_tool> ${CMAKE_CURRENT_BINARY_DIR}/oldformat_check)
