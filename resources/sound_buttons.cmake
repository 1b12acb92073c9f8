# Resources/rim12300.png and rim12301.png: the sound open dialog's play
# button, up and pressed, drawn by a cairo program.
add_executable(draw_sound_buttons ${CMAKE_CURRENT_SOURCE_DIR}/tools/draw_sound_buttons.cpp)
target_link_libraries(draw_sound_buttons PRIVATE imaging)
set(kv_sound_buttons ${KV_RESOURCES_DIR}/rim12300.png ${KV_RESOURCES_DIR}/rim12301.png)
add_custom_command(OUTPUT ${kv_sound_buttons}
                   COMMAND ${KV_GENERATOR_ENV} $<TARGET_FILE:draw_sound_buttons> ${KV_RESOURCES_DIR}
                   DEPENDS draw_sound_buttons VERBATIM)
add_custom_target(sound_buttons DEPENDS ${kv_sound_buttons})
add_dependencies(resources sound_buttons)
