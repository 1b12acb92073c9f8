# Independent python check of the first city dispatcher, two ground cells,
# the stepped blocks, the stone courses and the mixed concrete wall against
# celltexture_map --values.
add_test(NAME city_cells4_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/city_cells4_check.py
          $<TARGET_FILE:celltexture_map>)
