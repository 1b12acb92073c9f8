kv_add_tool(noise_dump noise)
