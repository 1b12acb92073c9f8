kv_add_tool(regions_dump noise)
