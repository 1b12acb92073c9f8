# Movies and movie sound written by movie_tool, checked with ffprobe, ffmpeg
# and python3's aifc.
add_test(NAME movie_write_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/movie_write_check.py
                 $<TARGET_FILE:movie_tool> ${CMAKE_CURRENT_BINARY_DIR}/movie_write_check)
