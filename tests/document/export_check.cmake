# Pictures written through the program's export, read by ImageMagick.
add_test(NAME export_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/export_check.py
                 $<TARGET_FILE:render_tree> ${CMAKE_CURRENT_BINARY_DIR}/export_check)
