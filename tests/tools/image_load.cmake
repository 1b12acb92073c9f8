kv_add_tool(image_load imaging)
