# Eleven members of f12, f13 and f14 recomputed by python3 from their
# formulas (Hue color through colorsys) and compared with the program's
# values along -pi..pi, as the generic contact sheet prints them.
if(TARGET contact_sheet)
  add_test(NAME f12_oracle_check
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f12_oracle_check.py
                   $<TARGET_FILE:contact_sheet>)
endif()
