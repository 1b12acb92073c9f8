kv_add_tool(play_tree sound document engine components imaging)
