# Keyframe parameters and camera of tree files with random keys, computed in
# python3 from the animation rules and compared with treefile_tool params.
add_test(NAME animation_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/animation_check.py
                 $<TARGET_FILE:treefile_tool> ${CMAKE_CURRENT_BINARY_DIR}/animation_check
                 ${PROJECT_SOURCE_DIR}/tests/fixtures/trees)
