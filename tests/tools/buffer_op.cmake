kv_add_tool(buffer_op imaging)
