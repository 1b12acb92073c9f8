kv_add_tool(qz_render_png imaging)
