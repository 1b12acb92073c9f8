# A tree's sound end to end: play_tree on SDL's disk driver writes the samples
# of a one-component Ax+By+C tree on the circle path; python3 (Goertzel) and
# sox measure its pitch and level. Without a driver it plays silently at
# real-time pace and says so once.
add_test(NAME play_tree_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/play_tree_check.py
                 $<TARGET_FILE:play_tree>)
