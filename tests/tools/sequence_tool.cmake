kv_add_tool(sequence_tool sound)
