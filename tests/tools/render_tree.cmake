kv_add_tool(render_tree document engine components imaging)
