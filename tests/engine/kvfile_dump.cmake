# Palette library and double-table bytes checked with python3's struct.
add_test(NAME kvfile_dump_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/kvfile_dump_check.py
                 $<TARGET_FILE:kvfile_dump>)
