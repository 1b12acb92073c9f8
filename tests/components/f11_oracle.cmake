# Eleven f11 members recomputed by python3 from their formulas (with the
# printed permutation for the lattice members) and compared with the
# program's values along -pi..pi, as the generic contact sheet prints them.
if(TARGET contact_sheet)
  add_test(NAME f11_oracle_check
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f11_oracle_check.py
                   $<TARGET_FILE:contact_sheet>)
endif()
