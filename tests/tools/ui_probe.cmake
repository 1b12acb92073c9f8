kv_add_tool(ui_probe ui)
target_sources(ui_probe PRIVATE ${CMAKE_CURRENT_LIST_DIR}/probe_script.cpp)
