# Every built-in test tree renders, plain and anti-aliased, and one thread and
# many threads draw the same picture (ImageMagick's compare -metric AE).
add_test(NAME render_tree_threads_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/render_tree_check.py
                 $<TARGET_FILE:render_tree> ${CMAKE_CURRENT_BINARY_DIR}/render_tree_check)

# The PNG that render_tree writes through the program's bitmap context and a
# cairo surface has the PAM's pixels, upright (python3 zlib and struct only).
add_test(NAME render_tree_png_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/render_tree_check.py
                 $<TARGET_FILE:render_tree> ${CMAKE_CURRENT_BINARY_DIR}/render_tree_png_check png)
