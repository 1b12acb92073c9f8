# Every built f25 member as a one-component tree file, rendered by
# render_tree on one and on four threads: the same bytes.
add_test(NAME f25_render_tree_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f25_render_tree_check.py
                 $<TARGET_FILE:render_tree> $<TARGET_FILE:catalog_dump>)
