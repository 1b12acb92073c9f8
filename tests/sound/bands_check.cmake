# Capture on SDL's disk driver: the recording_capture tests of test_sound
# run on a mono capture device (SDL_AUDIO_CHANNELS=1) that reads the float
# sine the test writes to SDL_DISKAUDIOFILEIN.
add_test(NAME recording_capture_check
         COMMAND $<TARGET_FILE:test_sound> --gtest_filter=RecordingCapture.*)
set_tests_properties(recording_capture_check PROPERTIES TIMEOUT 120 ENVIRONMENT
  "KV_CAPTURE_CHECK=1;SDL_AUDIODRIVER=disk;SDL_AUDIO_CHANNELS=1;SDL_DISKAUDIOFILEIN=${CMAKE_CURRENT_BINARY_DIR}/capture_in.raw;SDL_DISKAUDIOFILE=${CMAKE_CURRENT_BINARY_DIR}/capture_out.raw")

# sound_file_tool bands against python3: the 16 band sums of 16-bit WAVE
# files (mono, stereo, shorter than 1024 frames) recomputed from their
# definition, and the sine's band holding the peak.
add_test(NAME bands_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/bands_check.py
                 $<TARGET_FILE:sound_file_tool>)
