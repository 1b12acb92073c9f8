# The f24 fractal-noise members checked by python3 from their formulas: the
# far values of the fifteen driver members for random parameters, and
# Fractal facets in full over the printed tables, at a pixel density where
# three octaves and a fading fourth run.
add_executable(f24_fractal_values
               ${CMAKE_CURRENT_SOURCE_DIR}/f24_fractal_oracle/f24_fractal_values.cpp
               ${PROJECT_SOURCE_DIR}/tests/components/member_harness.cpp)
target_link_libraries(f24_fractal_values PRIVATE components)
add_test(NAME f24_fractal_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f24_fractal_oracle_check.py
                 $<TARGET_FILE:f24_fractal_values>)
