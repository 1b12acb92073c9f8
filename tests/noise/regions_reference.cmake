# Independent python check of the region codes and local frames of the
# region overlap drivers.
add_test(NAME regions_python_reference
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/regions_reference_check.py
          $<TARGET_FILE:regions_dump>)
