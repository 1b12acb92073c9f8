kv_add_tool(noise2_dump noise)
