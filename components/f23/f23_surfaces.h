// f23 members that turn the plane point (x, y) into a point in space for the
// three-input components downstream: two direct lifts, a central projection
// onto a sphere, and rays cast from the eye to a sphere, an ellipsoid, a
// plane and a vertical tube (the ray conventions are in f23_rays.h). None of
// them tests its inputs for the marker; a ray that meets nothing gives the
// marker on all three outputs.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f23_axono(gfunc* g);
void f23_zset(gfunc* g);
void f23_sphereproj(gfunc* g);
void f23_sphere(gfunc* g);
void f23_ellipsoid(gfunc* g);
void f23_plane(gfunc* g);
void f23_tube(gfunc* g);

int16_t f23_axono_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_zset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_sphereproj_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_sphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_ellipsoid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_plane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_tube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the sphere's centre seen from the eye and its constant; the
// plane's cosines and sines.
void f23_sphere_precompute(gfunc* g);
void f23_plane_precompute(gfunc* g);

inline constexpr double kF23twoPi = 2 * std::numbers::pi;
inline constexpr double kF23fourPi = 4 * std::numbers::pi;
// Radius maps of the ellipsoid and the tube: 0.125 to 24.
inline constexpr KVparamDesc kF23radiusParam{.label = "Radius ", .k = 23.875, .c = 0.125};
inline constexpr KVparamDesc kF23offsetZ64{.label = "Offset z ", .k = 64, .c = -32};

inline constexpr KVmemberDesc kF23_axono{
    .id = 9,
    .computeName = "f23_axono",
    .name = " 3D Axonometric",
    .compute = f23_axono,
    .handler = f23_axono_handler,
    .params = {{.label = "Scale X ", .k = 2}, {.label = "Scale Y ", .k = 2}},
    .defaults = {1, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF23_zset{
    .id = 10,
    .computeName = "f23_zset",
    .name = " 3D z set",
    .compute = f23_zset,
    .handler = f23_zset_handler,
    .params = {{.label = "Z value ", .k = 32, .c = -16}},
    .defaults = {1, kAbsentParam, kAbsentParam},
    .outputCode = kConnThreeUniformThird,
};

inline constexpr KVmemberDesc kF23_sphere{
    .id = 11,
    .computeName = "f23_sphere",
    .name = " 3D sphere",
    .compute = f23_sphere,
    .handler = f23_sphere_handler,
    .params = {{.label = "Offset x ", .k = 32, .c = -16},
               {.label = "Offset y ", .k = 32, .c = -16},
               kF23offsetZ64},
    .defaults = {0, 0, 0},
    .on8 = f23_sphere_precompute,
};

inline constexpr KVmemberDesc kF23_plane{
    .id = 12,
    .computeName = "f23_plane",
    .name = " 3D plane ",
    .compute = f23_plane,
    .handler = f23_plane_handler,
    .params = {{.label = "Banking X ", .k = std::numbers::pi, .c = -std::numbers::pi / 2},
               {.label = "Plane Offset ", .k = 32, .c = -16},
               {.label = "Z slope ", .k = kF23twoPi, .c = -std::numbers::pi}},
    .defaults = {0, -2, 0},
    .on8 = f23_plane_precompute,
};

inline constexpr KVmemberDesc kF23_tube{
    .id = 13,
    .computeName = "f23_tube",
    .name = " 3D tube",
    .compute = f23_tube,
    .handler = f23_tube_handler,
    .params = {{.label = "Offset x ", .k = 32, .c = -16},
               {.label = "Offset y ", .k = 32, .c = -16},
               kF23radiusParam},
    .defaults = {0, 0, kF23twoPi},
};

// A, B and C as the projection's radius (32 pi n, written as its constant)
// and offsets.
inline constexpr KVmemberDesc kF23_sphereproj{
    .id = 22,
    .computeName = "f23_sphereproj",
    .name = " Spherical",
    .compute = f23_sphereproj,
    .handler = f23_sphereproj_handler,
    .params = {{.label = "Radius ", .k = 100.53096491487338},
               {.label = "Offset x ", .k = kF23twoPi, .c = -std::numbers::pi},
               {.label = "Offset y ", .k = kF23twoPi, .c = -std::numbers::pi}},
    .defaults = {std::numbers::pi, 0, 0},
};

inline constexpr KVmemberDesc kF23_ellipsoid{
    .id = 32,
    .computeName = "f23_ellipsoid",
    .name = " 3D ellipsoid",
    .compute = f23_ellipsoid,
    .handler = f23_ellipsoid_handler,
    .params = {kF23radiusParam, {.label = "Vertical skew ", .k = 8}, kF23offsetZ64},
    .defaults = {std::numbers::pi, 1, 0},
};
