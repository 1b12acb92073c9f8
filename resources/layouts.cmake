# Resources/UI_<id>: one UI layout file from every table in layouts/, made
# by the program's own layout writer (ui_layout_make). The id is the
# table's "id" line; a table that cannot be read fails the build.
add_executable(ui_layout_make ${CMAKE_CURRENT_SOURCE_DIR}/tools/ui_layout_make.cpp)
target_link_libraries(ui_layout_make PRIVATE ui)

file(GLOB kv_layout_tables CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/layouts/*.txt)
set(kv_layout_files)
foreach(table IN LISTS kv_layout_tables)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  file(STRINGS ${table} id_line REGEX "^id -?[0-9]+$")
  list(LENGTH id_line id_lines)
  if(NOT id_lines EQUAL 1)
    message(FATAL_ERROR "${table}: one \"id N\" line expected")
  endif()
  string(REGEX REPLACE "^id " "" layout_id "${id_line}")
  set(out ${KV_RESOURCES_DIR}/UI_${layout_id})
  add_custom_command(OUTPUT ${out}
                     COMMAND ${KV_GENERATOR_ENV} $<TARGET_FILE:ui_layout_make> ${table} ${out}
                     DEPENDS ui_layout_make ${table} VERBATIM)
  list(APPEND kv_layout_files ${out})
endforeach()
add_custom_target(ui_layouts DEPENDS ${kv_layout_files})
add_dependencies(resources ui_layouts)
