# Independent python check of the lattice hash and seven 2D cells against
# celltexture_map --values.
add_test(NAME city_cells_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/city_cells_check.py
          $<TARGET_FILE:celltexture_map>)
