# The seven f24 packed compositing members recomputed by python3 from the
# packed-link conventions and their mixing rules, fed random scalar, uniform,
# RGB and RGBA inputs with markers and NaN through contact_sheet --stdin,
# inside and outside a loop's passes and in the altitude-only pass.
add_test(NAME f24_packed_oracle_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/f24_packed_oracle_check.py
                 $<TARGET_FILE:contact_sheet>)
