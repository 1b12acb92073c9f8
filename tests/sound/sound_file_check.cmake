# Audio files end to end: sound_file_tool writes sines of every type and
# sample size; soxi, python3's wave and aifc read them back (samples,
# loops as AIFF markers), a resampled copy is checked, damaged files give
# an error without a sanitizer report.
add_test(NAME sound_file_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/sound_file_check.py
                 $<TARGET_FILE:sound_file_tool>)
