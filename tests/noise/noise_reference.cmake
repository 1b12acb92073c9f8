# Independent python check of the tables and the lattice noises.
add_test(NAME noise_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/noise_reference_check.py
          $<TARGET_FILE:noise_dump>)
