kv_add_tool(ui_probe ui)
