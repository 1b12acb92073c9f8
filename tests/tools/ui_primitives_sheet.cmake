kv_add_tool(ui_primitives_sheet ui)
