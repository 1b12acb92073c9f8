# platform_probe shows the GTK chooser on a virtual display; xdotool types a
# fixture's path and Return (the path and 'qjKv' printed), then Escape
# ("cancelled", status 1). The chooser leaves blocks of GLib's own caches
# that the sanitizer cannot trace to a library, so leaks are not checked.
add_test(NAME probe_gtk_check
         COMMAND xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session --
                 sh ${CMAKE_CURRENT_LIST_DIR}/probe_gtk_check.sh $<TARGET_FILE:platform_probe>
                 ${CMAKE_CURRENT_BINARY_DIR}/probe_gtk_run)
set_tests_properties(probe_gtk_check PROPERTIES TIMEOUT 180
  ENVIRONMENT "NO_AT_BRIDGE=1;ASAN_OPTIONS=detect_leaks=0")
