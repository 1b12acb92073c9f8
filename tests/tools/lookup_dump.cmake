kv_add_tool(lookup_dump engine)
