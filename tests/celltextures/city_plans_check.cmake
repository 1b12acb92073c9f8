# Independent python check of the high-rise, insect, sparse and B city plans
# against celltexture_map --values.
add_test(NAME city_plans_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/city_plans_check.py
          $<TARGET_FILE:celltexture_map>)
