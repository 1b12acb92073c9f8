kv_add_tool(ui_layout_dump ui)
