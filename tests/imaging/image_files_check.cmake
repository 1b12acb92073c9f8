# Independent checks of the image files: tiffinfo, pdfinfo and ImageMagick's
# identify read render_tree's TIFF, PDF and PICT; ImageMagick makes PNG,
# TIFF, PICT and PSD pictures that image_load must read pixel for pixel, and
# python3 (zlib, struct) reads what image_load writes.
add_test(NAME imaging_image_files_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/image_files_check.py
                 $<TARGET_FILE:render_tree> $<TARGET_FILE:image_load>)
