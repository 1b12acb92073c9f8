# The browser preview drawn into a window port shows the reduced render in
# blocks of the reduction factor (ImageMagick).
add_test(NAME preview_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/preview_check.py
                 $<TARGET_FILE:preview_tree>
                 ${PROJECT_SOURCE_DIR}/tests/fixtures/trees/blend_with_keys.kovr
                 ${CMAKE_CURRENT_BINARY_DIR}/preview_check)
