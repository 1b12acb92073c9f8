kv_add_tool(dialog_probe ui)
target_sources(dialog_probe PRIVATE ${CMAKE_CURRENT_LIST_DIR}/probe_script.cpp)
