kv_add_tool(sound_file_tool sound document engine components imaging)
