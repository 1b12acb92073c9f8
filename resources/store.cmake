# Resources/Kovrelin.rsrc: the application's resource store (string lists,
# menus, cursors, font sizes), built from the text sources in strings/,
# menus/, cursors/ and fontsizes/ by make_store with the store's own writer.
add_executable(make_store ${CMAKE_CURRENT_SOURCE_DIR}/tools/make_store.cpp)
target_link_libraries(make_store PRIVATE platform)
file(GLOB kv_store_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/strings/*.txt ${CMAKE_CURRENT_SOURCE_DIR}/menus/*.txt
     ${CMAKE_CURRENT_SOURCE_DIR}/cursors/*.txt ${CMAKE_CURRENT_SOURCE_DIR}/fontsizes/*.txt)
add_custom_command(OUTPUT ${KV_RESOURCES_DIR}/Kovrelin.rsrc
                   COMMAND ${KV_GENERATOR_ENV} $<TARGET_FILE:make_store>
                           ${KV_RESOURCES_DIR}/Kovrelin.rsrc ${CMAKE_CURRENT_SOURCE_DIR}
                   DEPENDS make_store ${kv_store_sources} VERBATIM)
add_custom_target(resource_store DEPENDS ${KV_RESOURCES_DIR}/Kovrelin.rsrc)
add_dependencies(resources resource_store)
