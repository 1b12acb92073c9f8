// 3D point transforms and perspective surfaces: members that scale, move,
// rotate, fold, jitter and normalise points, and members that cast the
// sample's ray onto a hemisphere, a tube, a tilted plane, a sphere in space
// and two turned parametric planes, giving the hit point with its depth in
// output 3.
//
// The plain transforms and "3D sphere A" give the marker on all three outputs
// where x holds it. The perspective surfaces test no input: the ray of sample
// (x, y) runs from the component's view origin (ox, oy, oz) along
// (x - ox, y - oy, 4 pi). A ray that meets nothing gives the marker on all
// three outputs, and so does one whose denominator is zero or not finite, or
// whose roots, ray parameter or hit point are not finite numbers.
#pragma once

#include "components/common/member.h"
#include "components/f33/f33_pvt.h"

void f33_scale(gfunc* g);
int16_t f33_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_offset(gfunc* g);
int16_t f33_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_rotate(gfunc* g);
int16_t f33_rotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_random(gfunc* g);
int16_t f33_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_sphere(gfunc* g);
int16_t f33_sphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_PersTube(gfunc* g);
int16_t f33_PersTube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_PersPlane(gfunc* g);
int16_t f33_PersPlane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_PersSphere(gfunc* g);
int16_t f33_PersSphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_sines(gfunc* g);
int16_t f33_sines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_normalize(gfunc* g);
int16_t f33_normalize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_paramface(gfunc* g);
int16_t f33_paramface_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f33_paramplane(gfunc* g);
int16_t f33_paramplane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: K0 = cos A, K1 = sin A, K2 = cos B, K3 = sin B (3D Rotate and
// the parametric planes).
void f33_cosSinAB_precompute(gfunc* g);
// Message 8: K0 = cos A, K1 = sin A (3D sphere A).
void f33_cosSinA_precompute(gfunc* g);
// Message 8: K0 = cos A, K1 = sin A, K2 = cos C, K3 = sin C (3D plane).
void f33_cosSinAC_precompute(gfunc* g);

namespace f33transforms {
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kFourPi = 12.566370614359172;  // also the viewing distance of the rays
}  // namespace f33transforms

inline constexpr KVmemberDesc kF33_scale{
    .id = 0,
    .computeName = "f33_scale",
    .name = " 3D Scale",
    .compute = f33_scale,
    .handler = f33_scale_handler,
    .params = {{.label = "Scale x ", .k = 16, .c = -8},
               {.label = "Scale y ", .k = 16, .c = -8},
               {.label = "Scale z ", .k = 16, .c = -8}},
    .defaults = {1, 1, 1},
};

inline constexpr KVmemberDesc kF33_offset{
    .id = 1,
    .computeName = "f33_offset",
    .name = " 3D Offset",
    .compute = f33_offset,
    .handler = f33_offset_handler,
    .params = {{.label = "Offset x ", .k = 64, .c = -32},
               {.label = "Offset y ", .k = 64, .c = -32},
               {.label = "Offset z ", .k = 64, .c = -32}},
    .defaults = {0, 0, 0},
};

inline constexpr KVmemberDesc kF33_rotate{
    .id = 2,
    .computeName = "f33_rotate",
    .name = " 3D Rotate",
    .compute = f33_rotate,
    .handler = f33_rotate_handler,
    .params = {{.label = "Angle xy ", .k = 2 * f33transforms::kTwoPi, .c = -f33transforms::kTwoPi},
               {.label = "Angle xz ", .k = 2 * f33transforms::kTwoPi, .c = -f33transforms::kTwoPi},
               {.label = "Angle yz ", .k = 2 * f33transforms::kTwoPi, .c = -f33transforms::kTwoPi}},
    .defaults = {0, 0, 0},
    .on8 = f33_cosSinAB_precompute,
};

inline constexpr KVmemberDesc kF33_random{
    .id = 3,
    .computeName = "f33_random",
    .name = " 3D Random vector",
    .compute = f33_random,
    .handler = f33_random_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 15.9375, .c = 0.0625}},
    .defaults = {1, 0, 2},
};

inline constexpr KVmemberDesc kF33_sphere{
    .id = 8,
    .computeName = "f33_sphere",
    .name = " 3D sphere A",
    .compute = f33_sphere,
    .handler = f33_sphere_handler,
    .params = {{.label = " Angle xz ",
                .k = 2 * f33transforms::kFourPi,
                .c = -f33transforms::kFourPi},
               {.label = " Amplitude y ", .k = 2, .c = 0},
               {.label = " Displace z ", .k = 1, .c = 0}},
    .defaults = {0, 1, 0},
    .on8 = f33_cosSinA_precompute,
};

// The radius runs from 1 to 4 pi.
inline constexpr KVmemberDesc kF33_PersTube{
    .id = 12,
    .computeName = "f33_PersTube",
    .name = " 3D tube",
    .compute = f33_PersTube,
    .handler = f33_PersTube_handler,
    .params = {{.label = "Offset x ", .k = 32, .c = -16},
               {.label = "Offset y ", .k = 32, .c = -16},
               {.label = "Radius ", .k = 11.566370614359172, .c = 1}},
    .defaults = {0, 0, f33transforms::kTwoPi},
};

inline constexpr KVmemberDesc kF33_PersPlane{
    .id = 13,
    .computeName = "f33_PersPlane",
    .name = " 3D plane ",
    .compute = f33_PersPlane,
    .handler = f33_PersPlane_handler,
    .params = {{.label = "Banking X ", .k = f33detail::kPi, .c = -f33detail::kPi / 2},
               {.label = "Plane Offset ", .k = 32, .c = -16},
               {.label = "Z slope ", .k = f33transforms::kTwoPi, .c = -f33detail::kPi}},
    .defaults = {0, -2, 0},
    .on8 = f33_cosSinAC_precompute,
};

inline constexpr KVmemberDesc kF33_PersSphere{
    .id = 14,
    .computeName = "f33_PersSphere",
    .name = " 3D sphere B",
    .compute = f33_PersSphere,
    .handler = f33_PersSphere_handler,
    .params = {{.label = "Offset x ", .k = 32, .c = -16},
               {.label = "Offset y ", .k = 32, .c = -16},
               {.label = "Offset z ", .k = 32, .c = -16}},
    .defaults = {0, 0, 0},
};

inline constexpr KVmemberDesc kF33_sines{
    .id = 17,
    .computeName = "f33_sines",
    .name = " 3D Sines",
    .compute = f33_sines,
    .handler = f33_sines_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 15.9375, .c = 0.0625}},
    .defaults = {4, 0, 2},
};

inline constexpr KVmemberDesc kF33_normalize{
    .id = 24,
    .computeName = "f33_normalize",
    .name = " Normalise",
    .compute = f33_normalize,
    .handler = f33_normalize_handler,
    .params = {{.label = "Magnitude ", .k = 7.5, .c = 0.5}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

// Message 6 also sets the input connector code to 1.
inline constexpr KVmemberDesc kF33_paramface{
    .id = 40,
    .computeName = "f33_paramface",
    .name = " 3D parametric face",
    .compute = f33_paramface,
    .handler = f33_paramface_handler,
    .params = {{.label = "Angle xy ", .k = 2 * f33transforms::kTwoPi, .c = -f33transforms::kTwoPi},
               {.label = "Angle zx ", .k = 2 * f33transforms::kTwoPi, .c = -f33transforms::kTwoPi},
               {.label = "Offset z ", .k = 64, .c = -32}},
    .defaults = {0, 0, 0},
    .inputCode = kConnOne,
    .on8 = f33_cosSinAB_precompute,
};

inline constexpr KVmemberDesc kF33_paramplane{
    .id = 41,
    .computeName = "f33_paramplane",
    .name = " 3D parametric plane",
    .compute = f33_paramplane,
    .handler = f33_paramplane_handler,
    .params = {{.label = "Angle xy ", .k = 2 * f33transforms::kTwoPi, .c = -f33transforms::kTwoPi},
               {.label = "Angle zx ", .k = 2 * f33transforms::kTwoPi, .c = -f33transforms::kTwoPi},
               {.label = "Offset z ", .k = 64, .c = -32}},
    .defaults = {0, 0, 0},
    .on8 = f33_cosSinAB_precompute,
};
