# pict_values prints a picture member's outputs over a picture file, for the
# picture members' independent checks.
add_executable(pict_values pict_values.cpp ${PROJECT_SOURCE_DIR}/tests/components/member_harness.cpp)
target_link_libraries(pict_values PRIVATE components imaging)
