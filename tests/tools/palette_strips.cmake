kv_add_tool(palette_strips engine)
