# The tests that need a session bus, on a bus of their own: the senders
# reaching a running sibling's actions.
add_test(NAME app_dbus_check
         COMMAND dbus-run-session -- $<TARGET_FILE:test_app> --gtest_filter=AppEventsBus*
                 --gtest_brief=1)
set_tests_properties(app_dbus_check PROPERTIES TIMEOUT 120
  ENVIRONMENT "KV_SOURCE_DIR=${PROJECT_SOURCE_DIR};KV_BINARY_DIR=${PROJECT_BINARY_DIR}")
