# Independent python check of the feature-point, spot, technical and maze
# functions.
add_test(NAME cells_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/cells_reference_check.py
          $<TARGET_FILE:cells_dump>)
