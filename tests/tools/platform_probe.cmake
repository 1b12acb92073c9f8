# platform_probe [--gtk] [--script FILE] COMMAND: runs one file dialog or
# pop-up menu through the program's own routines and prints the result.
kv_add_tool(platform_probe ui)
target_compile_definitions(platform_probe PRIVATE
  KV_RESOURCES_STORE="${PROJECT_BINARY_DIR}/Resources/Kovrelin.rsrc")
