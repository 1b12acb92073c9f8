kv_add_tool(colorsys_dump foundation)
