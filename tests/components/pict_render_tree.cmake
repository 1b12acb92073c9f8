# Trees of one picture or movie member read and rendered by render_tree: the
# same bytes on one and on four threads, the default picture for a missing
# file, and movie frames that follow the animation frame.
add_test(NAME pict_render_tree_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/pict_render_tree_check.py
                 $<TARGET_FILE:render_tree> ${PROJECT_BINARY_DIR}/Resources
                 ${CMAKE_CURRENT_BINARY_DIR}/pict_render_tree)
