# Movies and stills read through movie_tool, checked against ffprobe, ffmpeg
# and ImageMagick.
add_test(NAME movie_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/movie_check.py
                 $<TARGET_FILE:movie_tool> ${CMAKE_CURRENT_BINARY_DIR}/movie_check)
