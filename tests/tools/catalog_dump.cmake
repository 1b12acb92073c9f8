kv_add_tool(catalog_dump components)
