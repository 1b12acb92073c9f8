# The tests that need a session bus, on a bus of their own: the senders
# reaching a running sibling's actions.
add_test(NAME app_dbus_check
         COMMAND dbus-run-session -- $<TARGET_FILE:test_app> --gtest_filter=AppEventsBus*
                 --gtest_brief=1)
set_tests_properties(app_dbus_check PROPERTIES TIMEOUT 120
  ENVIRONMENT "KV_SOURCE_DIR=${PROJECT_SOURCE_DIR};KV_BINARY_DIR=${PROJECT_BINARY_DIR}")

# The program's actions from outside: payloads built by python3's struct
# and sent with gdbus, the 504 band read from screenshots by ImageMagick.
# GTK's own caches are not ours to free, so leaks are not checked.
add_test(NAME app_dbus_program_check
         COMMAND xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session --
                 python3 ${CMAKE_CURRENT_LIST_DIR}/dbus_check.py
                 $<TARGET_FILE:kovrelin-browser> ${CMAKE_CURRENT_BINARY_DIR}/dbus_check_run
                 ${PROJECT_BINARY_DIR}/examples)
set_tests_properties(app_dbus_program_check PROPERTIES TIMEOUT 240
  ENVIRONMENT "NO_AT_BRIDGE=1;ASAN_OPTIONS=detect_leaks=0")
