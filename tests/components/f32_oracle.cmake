# Twelve f32 members (z scaling, inversion, perspectives, projections, wipe,
# gated distance, rotation, division, twirl and the disk tiling of the
# sphere) recomputed by python3 from their formulas and compared with
# contact_sheet --family 5 --values (x, y, z rising up the view).
add_test(NAME f32_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f32_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
