kv_add_tool(effect_tool sound)
