# Independent python check of the tables, frandom2D and fPerlinNoise2D.
add_test(NAME noise_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/noise_reference_check.py
          $<TARGET_FILE:noise_dump>)
