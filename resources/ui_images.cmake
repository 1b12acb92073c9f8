# Resources/rlist000.png ... rlist960.png and rimhilit.png: the UI images
# the item kinds draw with, rim12302.png ... rim12305.png, the file
# dialogs' custom-area buttons, rim753.png ... rim759.png, the picture rail
# of the scrollers, and the colour charts rim1100.png, rim1101.png,
# rim31100.png and rim31101.png, drawn by a cairo program.
add_executable(draw_ui_images ${CMAKE_CURRENT_SOURCE_DIR}/tools/draw_ui_images.cpp)
target_link_libraries(draw_ui_images PRIVATE imaging)
set(kv_ui_images ${KV_RESOURCES_DIR}/rimhilit.png)
foreach(k RANGE 12302 12305)
  list(APPEND kv_ui_images ${KV_RESOURCES_DIR}/rim${k}.png)
endforeach()
foreach(k RANGE 753 759)
  list(APPEND kv_ui_images ${KV_RESOURCES_DIR}/rim${k}.png)
endforeach()
foreach(k 1100 1101 31100 31101)
  list(APPEND kv_ui_images ${KV_RESOURCES_DIR}/rim${k}.png)
endforeach()
foreach(k RANGE 0 960 64)
  string(LENGTH "${k}" digits)
  if(digits EQUAL 1)
    set(k "00${k}")
  elseif(digits EQUAL 2)
    set(k "0${k}")
  endif()
  list(APPEND kv_ui_images ${KV_RESOURCES_DIR}/rlist${k}.png)
endforeach()
add_custom_command(OUTPUT ${kv_ui_images}
                   COMMAND ${KV_GENERATOR_ENV} $<TARGET_FILE:draw_ui_images> ${KV_RESOURCES_DIR}
                   DEPENDS draw_ui_images VERBATIM)
add_custom_target(ui_images DEPENDS ${kv_ui_images})
add_dependencies(resources ui_images)
