# python3 (zlib, struct) reads the PNG that qz_render_png writes through the
# program's drawing contexts: orientation markers and every pixel value.
add_test(NAME imaging_qz_render_png_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/qz_render_png_check.py
                 $<TARGET_FILE:qz_render_png>)
