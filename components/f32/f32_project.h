// f32 members that project the point (x, y, z) onto the plane: two
// perspective divisions by a z-dependent depth, a parallel projection, a
// (longitude, latitude) projection and a tiling of the sphere of directions
// by twelve disks.
#pragma once

#include "components/common/member.h"
#include "components/f32/f32_pvt.h"

void f32_perspective(gfunc* g);
int16_t f32_perspective_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_truepers(gfunc* g);
int16_t f32_truepers_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_planeProj(gfunc* g);
int16_t f32_planeProj_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_sphereProj(gfunc* g);
int16_t f32_sphereProj_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_disksphereTile(gfunc* g);
int16_t f32_disksphereTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the depth line K0 z + K1 and its mirror K2.
void f32_perspective_precompute(gfunc* g);
// Message 8: cos A, sin A, sin B, cos B.
void f32_planeProj_precompute(gfunc* g);
// Message 8: K0 = 2 A B.
void f32_sphereProj_precompute(gfunc* g);
// Message 9: trees of version 15 and below had no B; it becomes 1 there and
// in every keyframe.
void f32_sphereProj_convert(gfunc* g);
// Message 8: the ring rotations, the view rotation and the disk radius.
void f32_disksphereTile_precompute(gfunc* g);

inline constexpr KVmemberDesc kF32_perspective{
    .id = 8,
    .computeName = "f32_perspective",
    .name = " Perspective Sym",
    .compute = f32_perspective,
    .handler = f32_perspective_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2}},
    .defaults = {1.0, kAbsentParam, kAbsentParam},
    .on8 = f32_perspective_precompute,
};

inline constexpr KVmemberDesc kF32_truepers{
    .id = 12,
    .computeName = "f32_truepers",
    .name = " Perspective Clipped",
    .compute = f32_truepers,
    .handler = f32_truepers_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2}},
    .defaults = {-0.25, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF32_planeProj{
    .id = 13,
    .computeName = "f32_planeProj",
    .name = " Parallel projection",
    .compute = f32_planeProj,
    .handler = f32_planeProj_handler,
    .params = {{.label = "Angle xy ", .k = 2 * f32detail::kPi, .c = -f32detail::kPi},
               {.label = "Angle uz ", .k = 2 * f32detail::kPi, .c = -f32detail::kPi}},
    .defaults = {0, 0, kAbsentParam},
    .inputCode = kConnThreeOut,
    .on8 = f32_planeProj_precompute,
};

inline constexpr KVmemberDesc kF32_sphereProj{
    .id = 14,
    .computeName = "f32_sphereProj",
    .name = " Spherical projection",
    .compute = f32_sphereProj,
    .handler = f32_sphereProj_handler,
    .params = {{.label = "Scale ", .k = 8, .c = 0}, {.label = "Scale Y ", .k = 0.5, .c = 0.5}},
    .defaults = {1.0, 0.5, kAbsentParam},
    .inputCode = kConnThreeOut,
    .on8 = f32_sphereProj_precompute,
    .on9 = f32_sphereProj_convert,
};

inline constexpr KVmemberDesc kF32_disksphereTile{
    .id = 38,
    .computeName = "f32_disksphereTile",
    .name = " Spherical disk Tile",
    .compute = f32_disksphereTile,
    .handler = f32_disksphereTile_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Angle xz ", .k = 4 * f32detail::kPi, .c = -2 * f32detail::kPi},
               {.label = "Angle yz ", .k = 4 * f32detail::kPi, .c = -2 * f32detail::kPi}},
    .defaults = {1.0, 0, 0},
    .on8 = f32_disksphereTile_precompute,
};
