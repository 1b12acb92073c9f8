kv_add_tool(dialog_probe ui)
