# Independent python check of the 3D hash, four 3D building cells and the
# city corner sampler against celltexture_map --values.
add_test(NAME buildings3d_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/buildings3d_check.py
          $<TARGET_FILE:celltexture_map>)
