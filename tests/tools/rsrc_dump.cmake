# rsrc_dump FILE [TYPE ID]: lists a resource store or prints one resource.
kv_add_tool(rsrc_dump platform)
