# Resources/DefaultPicture: the picture that stands in for a tree's missing
# picture inputs, PNG bytes under a name without an extension.
add_executable(draw_default_picture ${CMAKE_CURRENT_SOURCE_DIR}/tools/draw_default_picture.cpp)
target_link_libraries(draw_default_picture PRIVATE imaging)
add_custom_command(OUTPUT ${KV_RESOURCES_DIR}/DefaultPicture
                   COMMAND ${KV_GENERATOR_ENV} $<TARGET_FILE:draw_default_picture>
                           ${KV_RESOURCES_DIR}/DefaultPicture
                   DEPENDS draw_default_picture VERBATIM)
add_custom_target(default_picture DEPENDS ${KV_RESOURCES_DIR}/DefaultPicture)
add_dependencies(resources default_picture)
