kv_add_tool(kvfile_dump engine foundation platform)
