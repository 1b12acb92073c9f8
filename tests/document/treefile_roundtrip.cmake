# Each fixture tree file and the copy that the program writes of it render to
# the same picture (render_tree, ImageMagick's compare).
add_test(NAME treefile_roundtrip_render_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/treefile_roundtrip_check.py
                 $<TARGET_FILE:render_tree> $<TARGET_FILE:test_document>
                 ${PROJECT_SOURCE_DIR}/tests/fixtures/trees
                 ${CMAKE_CURRENT_BINARY_DIR}/treefile_roundtrip_check)
