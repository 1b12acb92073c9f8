kv_add_tool(movie_tool document engine components imaging foundation platform)
