kv_add_tool(f21_contact_sheet components)
target_sources(f21_contact_sheet PRIVATE ${PROJECT_SOURCE_DIR}/tests/components/member_harness.cpp)
