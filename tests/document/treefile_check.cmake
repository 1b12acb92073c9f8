# Tree files checked with python3's struct module: our writer's bytes, and
# our reader on files from an independent writer.
add_test(NAME treefile_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/treefile_check.py
                 $<TARGET_FILE:treefile_tool>)
