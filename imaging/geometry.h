// Geometric operations on whole buffers: a brightness and contrast curve, a
// move by an offset, and a rotation with independent horizontal and vertical
// scale, nearest-sample or anti-aliased by 16 samples per pixel. Source and
// destination have bounds starting at the origin and the same depth (8 for
// the plain names, 32 for the ...32 names); the destination receives the
// source's W x H pixels and must hold them, or nothing happens.
//
// Fixed point: 1/128 pixel. Scales sx, sy: 128 = unchanged. Angle: 1,024 per
// turn, 256 = no rotation. Centre flag set: pivot (W/2, H/2), else (0, H).
// gWarpArround set: coordinates outside the source wrap; else they read 0.
// Main thread only (tables live in the scratch block or a block of their own).
#pragma once

#include <cstdint>

#include "imaging/offworld.h"

// Every byte (pad bytes too) through T[k] = clamp(((b/4 - 128 + k) c) / 128
// + 128, 0, 255); T[0] = 0 with zeroBlack. Either depth.
void Contrast_GW(Offworld src, Offworld dst, int32_t contrast, int32_t brightness,
                 uint8_t zeroBlack);
// Shifts by x - 256 to the right and y - 256 down.
void Move_GW(Offworld src, Offworld dst, int32_t x, int32_t y);
void Move_GW32(Offworld src, Offworld dst, int32_t x, int32_t y);
void Rotate_GW(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre);
void Rotate_GW32(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre);
// The 32-bit form averages the colour bytes and keeps the destination's pads.
void AARotate_GW(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre);
void AARotate_GW32(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle,
                   uint8_t centre);
