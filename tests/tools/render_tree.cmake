kv_add_tool(render_tree engine components imaging)
