# contact_sheet draws any family's members; f21_contact_sheet is the same
# program with --family 2 as its default, for the checks that call it so.
foreach(sheet_tool contact_sheet f21_contact_sheet)
  add_executable(${sheet_tool} contact_sheet.cpp contact_sheet_bodies.cpp
                 ${PROJECT_SOURCE_DIR}/tests/components/member_harness.cpp)
  target_link_libraries(${sheet_tool} PRIVATE components)
endforeach()
target_compile_definitions(f21_contact_sheet PRIVATE KV_CONTACT_SHEET_DEFAULT_FAMILY=2)
