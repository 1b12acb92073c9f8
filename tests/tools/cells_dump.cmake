kv_add_tool(cells_dump noise)
