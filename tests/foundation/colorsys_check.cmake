# python3's colorsys checks the byte HSL and HSV conversions.
add_test(NAME foundation_colorsys_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/colorsys_check.py
                 $<TARGET_FILE:colorsys_dump>)
