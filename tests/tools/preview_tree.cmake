kv_add_tool(preview_tree document engine components imaging)
