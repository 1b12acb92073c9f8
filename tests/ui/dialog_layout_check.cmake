# python3 (struct) reads the dialogs' layout files from the format's offsets
# (UI_1059's OK button 'ok  ' and message text, the other dialogs' item
# kinds and opcodes) and answers dialogs through dialog_probe's scripts.
add_test(NAME dialog_layout_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/dialog_layout_check.py
                 $<TARGET_FILE:dialog_probe> ${PROJECT_BINARY_DIR}/Resources)
set_tests_properties(dialog_layout_check PROPERTIES
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
