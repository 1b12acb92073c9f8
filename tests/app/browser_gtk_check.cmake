# The program itself on a virtual display with a session bus: its window and
# menu bar, F10, a second instance handing over its folder, Ctrl+Q writing
# the preferences (read back by python3's struct). GTK's own caches are not
# ours to free, so leaks are not checked.
add_test(NAME browser_gtk_check
         COMMAND xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session --
                 sh ${CMAKE_CURRENT_LIST_DIR}/browser_gtk_check.sh
                 $<TARGET_FILE:kovrelin-browser> ${CMAKE_CURRENT_LIST_DIR}/prefs_check.py
                 ${CMAKE_CURRENT_BINARY_DIR}/browser_gtk_run)
set_tests_properties(browser_gtk_check PROPERTIES TIMEOUT 240
  ENVIRONMENT "NO_AT_BRIDGE=1;ASAN_OPTIONS=detect_leaks=0")
