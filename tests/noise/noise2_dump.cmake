# Independent python check of Jitter_Voron, Jitter_Circle and MFPV2d_procptr.
add_test(NAME noise2_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/noise2_dump_check.py
          $<TARGET_FILE:noise2_dump>)
