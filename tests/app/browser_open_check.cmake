# The running browser reached over its own session bus: a second start with a
# tree file shows it, and gdbus's 'opcd' 504 (payload from python3's struct)
# draws the message band (ImageMagick reads the screenshots).
add_test(NAME browser_open_check
         COMMAND xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session --
                 sh ${CMAKE_CURRENT_LIST_DIR}/browser_open_check.sh
                 $<TARGET_FILE:kovrelin-browser> ${PROJECT_BINARY_DIR}/examples
                 ${CMAKE_CURRENT_BINARY_DIR}/browser_open_run)
set_tests_properties(browser_open_check PROPERTIES TIMEOUT 240
  ENVIRONMENT "NO_AT_BRIDGE=1;ASAN_OPTIONS=detect_leaks=0")
