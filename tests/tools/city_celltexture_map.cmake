# celltexture_map draws and prints the 2D cell textures (the city cell tests
# and their python check run it).
add_executable(celltexture_map city_celltexture_map.cpp)
target_link_libraries(celltexture_map PRIVATE celltextures noise)
