# The browser over the built examples on a virtual display: thumbnails
# drawn, a clicked thumbnail rendered in the preview, the full-screen render
# opened by a click on the preview and closed by the next (ImageMagick reads
# the screenshots). GTK's own caches are not ours to free.
add_test(NAME browser_thumbnails_check
         COMMAND xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session --
                 sh ${CMAKE_CURRENT_LIST_DIR}/browser_thumbnails_check.sh
                 $<TARGET_FILE:kovrelin-browser> ${PROJECT_BINARY_DIR}/examples
                 ${CMAKE_CURRENT_BINARY_DIR}/browser_thumbnails_run)
set_tests_properties(browser_thumbnails_check PROPERTIES TIMEOUT 240
  ENVIRONMENT "NO_AT_BRIDGE=1;ASAN_OPTIONS=detect_leaks=0")
