// f22 members that treat the point as a complex number or as polar
// coordinates: iterated complex maps, a ferromagnet map, waves of an
// inversion, Gaussian orbiters, inversions in a circle and in a ring of
// discs, a Moebius map of the disc, a squared ring space, a polar unwrapping,
// and a gate that masks everything outside a disc.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f22_ComplexMap(gfunc* g);
int16_t f22_ComplexMap_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_ComplexMapB(gfunc* g);
int16_t f22_ComplexMapB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_complexModInvert(gfunc* g);
int16_t f22_complexModInvert_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_orbiters(gfunc* g);
int16_t f22_orbiters_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_complexinversion(gfunc* g);
int16_t f22_complexinversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_unitinversion(gfunc* g);
int16_t f22_unitinversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_diskInversering(gfunc* g);
int16_t f22_diskInversering_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_Moebius(gfunc* g);
int16_t f22_Moebius_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_ringspace(gfunc* g);
int16_t f22_ringspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_polarspace(gfunc* g);
int16_t f22_polarspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_infgate(gfunc* g);
int16_t f22_infgate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of each member with private values.
void f22_complexModInvert_precompute(gfunc* g);
void f22_orbiters_precompute(gfunc* g);
void f22_complexinversion_precompute(gfunc* g);
void f22_unitinversion_precompute(gfunc* g);
void f22_diskInversering_precompute(gfunc* g);
void f22_Moebius_precompute(gfunc* g);
void f22_infgate_precompute(gfunc* g);

// Message 9: Complex inverse clears B and C (with the keyframes' B and C) in
// trees of version 12 or older, Disk Mirror clears C in trees of version 13
// or older.
void f22_complexinversion_convert(gfunc* g);
void f22_unitinversion_convert(gfunc* g);

inline constexpr int kF22MinRingDiscs = 2;
inline constexpr int kF22MaxRingDiscs = 12;

namespace f22detail {
inline constexpr double kCxPi = std::numbers::pi;
}

inline constexpr KVmemberDesc kF22_ComplexMap{
    .id = 10,
    .computeName = "f22_ComplexMap",
    .name = " Complex Map",
    .compute = f22_ComplexMap,
    .handler = f22_ComplexMap_handler,
    .params = {{.label = "Real ", .k = 4, .c = -2}, {.label = "Imaginary ", .k = 4, .c = -2}},
    .defaults = {0.5, 0.75, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_complexModInvert{
    .id = 13,
    .computeName = "f22_complexModInvert",
    .name = " Complex waves",
    .compute = f22_complexModInvert,
    .handler = f22_complexModInvert_handler,
    .params = {{.label = "Scale ", .k = 4, .c = 0}, {.label = "Offset ", .k = 4, .c = -2}},
    .defaults = {0.5, 0, kAbsentParam},
    .on8 = f22_complexModInvert_precompute,
};

inline constexpr KVmemberDesc kF22_orbiters{
    .id = 14,
    .computeName = "f22_orbiters",
    .name = " Orbiters",
    .compute = f22_orbiters,
    .handler = f22_orbiters_handler,
    .params = {{.label = "Rotation ", .k = 4, .c = -2},
               {.label = "Offset ", .k = 4, .c = -2},
               {.label = "Level ", .k = 4, .c = -2}},
    .defaults = {0, -0.5, -0.5},
    .on8 = f22_orbiters_precompute,
};

inline constexpr KVmemberDesc kF22_complexinversion{
    .id = 15,
    .computeName = "f22_complexinversion",
    .name = " Complex inverse",
    .compute = f22_complexinversion,
    .handler = f22_complexinversion_handler,
    .params = {{.label = "Scale ", .k = 1.96875, .c = 0.03125},
               {.label = "Offset x ", .k = 64, .c = -32},
               {.label = "Offset y ", .k = 64, .c = -32}},
    .defaults = {1.0, 0, 0},
    .on8 = f22_complexinversion_precompute,
    .on9 = f22_complexinversion_convert,
};

inline constexpr KVmemberDesc kF22_ComplexMapB{
    .id = 19,
    .computeName = "f22_ComplexMapB",
    .name = " Complex Map 2",
    .compute = f22_ComplexMapB,
    .handler = f22_ComplexMapB_handler,
    .params = {{.label = "Real ", .k = 4, .c = -2}, {.label = "Imaginary ", .k = 4, .c = -2}},
    .defaults = {1.0, 1.0, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_ringspace{
    .id = 23,
    .computeName = "f22_ringspace",
    .name = " Ring Space",
    .compute = f22_ringspace,
    .handler = f22_ringspace_handler,
    .params = {{.label = "Offset x ", .k = 8, .c = -4},
               {.label = "Offset y ", .k = 8, .c = -4},
               {.label = "Warp ", .k = 1, .c = 0}},
    .defaults = {1.0, 0, 0.5},
};

inline constexpr KVmemberDesc kF22_polarspace{
    .id = 24,
    .computeName = "f22_polarspace",
    .name = " Polar Space",
    .compute = f22_polarspace,
    .handler = f22_polarspace_handler,
    .params = {{.label = "Polar scale ", .k = 7.5, .c = 0.5},
               {.label = "Distance scale ", .k = 5.783185307179586, .c = 0.5},
               {.label = "Phase x ", .k = 2 * f22detail::kCxPi, .c = -f22detail::kCxPi}},
    .defaults = {1.0, 1.0, -f22detail::kCxPi},
};

inline constexpr KVmemberDesc kF22_unitinversion{
    .id = 36,
    .computeName = "f22_unitinversion",
    .name = " Disk Mirror",
    .compute = f22_unitinversion,
    .handler = f22_unitinversion_handler,
    .params = {{.label = " Disk Size ", .k = 23.75, .c = 0.25},
               {.label = " Mirror concavity ", .k = 1, .c = 0},
               {.label = "Offset y ", .k = 16, .c = -8}},
    .defaults = {f22detail::kCxPi, 0, 0},
    .on8 = f22_unitinversion_precompute,
    .on9 = f22_unitinversion_convert,
};

inline constexpr KVmemberDesc kF22_diskInversering{
    .id = 56,
    .computeName = "f22_diskInversering",
    .name = " Disk Inverse Ring",
    .compute = f22_diskInversering,
    .handler = f22_diskInversering_handler,
    .params = {{.label = " Disk number ", .k = 10, .c = 2, .truncate = true},
               {.label = "Scale ", .k = 16, .c = -8},
               {.label = "Offset y ", .k = 2, .c = -1}},
    .defaults = {3.0, 1.0, 0},
    .on8 = f22_diskInversering_precompute,
};

inline constexpr KVmemberDesc kF22_infgate{
    .id = 57,
    .computeName = "f22_infgate",
    .name = " infinity disk gate",
    .compute = f22_infgate,
    .handler = f22_infgate_handler,
    .params = {{.label = "Limit ", .k = 63.75, .c = 0.25}},
    .defaults = {4.0, kAbsentParam, kAbsentParam},
    .on8 = f22_infgate_precompute,
};

inline constexpr KVmemberDesc kF22_Moebius{
    .id = 58,
    .computeName = "f22_Moebius",
    .name = " Complex Moebius",
    .compute = f22_Moebius,
    .handler = f22_Moebius_handler,
    .params = {{.label = "Angle ", .k = 4 * f22detail::kCxPi, .c = -2 * f22detail::kCxPi},
               {.label = "Scale ", .k = 8, .c = -4},
               {.label = "Imaginary ", .k = 8, .c = -4}},
    .defaults = {-f22detail::kCxPi, 1.8, 0},
    .on8 = f22_Moebius_precompute,
};
