kv_add_tool(treefile_tool document engine components foundation platform)
