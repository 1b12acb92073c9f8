// Members that fold or re-map the plane by a symmetry and colour the result
// so that it shows: Mirror (id 8, one mirror line), Mirror N (id 11, an
// N-fold kaleidoscope), Outer Mirror N (id 17, a ring of mirror pairs that
// throws outer points back inside), Rotate N (id 28, an N-fold rotation into
// one sector) and Polar Space (id 20, the log-polar map of the plane).
#pragma once

#include <numbers>

#include "components/common/member.h"

void f25_mirror(gfunc* g);
void f25_mirrorN(gfunc* g);
void f25_outermirrorN(gfunc* g);
// Outer Mirror N's alternative: the reflection in the line nearest beyond;
// bound to no id.
void f25_outermirrorNreal(gfunc* g);
void f25_rotateN(gfunc* g);
void f25_Polar(gfunc* g);

int16_t f25_mirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_mirrorN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_outermirrorN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_rotateN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_Polar_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f25_mirror_prepare(gfunc* g);
void f25_mirrorN_prepare(gfunc* g);
void f25_outermirrorN_prepare(gfunc* g);
void f25_rotateN_prepare(gfunc* g);
void f25_Polar_prepare(gfunc* g);

// Counts held where storage or a division needs it.
inline constexpr int kF25mirrorNmax = 36;
inline constexpr int kF25outerMirrorsMax = 12;
inline constexpr int kF25rotateSectorsMax = 16;

// Rotate N's sector table (the component's aux block): a direction and a
// colour on the 0..8 scale per sector.
struct F25sectorTable
{
  double direction[kF25rotateSectorsMax][2];
  double colour[kF25rotateSectorsMax][3];
};

namespace f25mirror {
inline constexpr double kPi = std::numbers::pi;
inline constexpr KVparamDesc kRotation{.label = "Rotation ", .k = 4 * kPi, .c = -2 * kPi};
inline constexpr KVparamDesc kOffsetX{.label = "Offset x ", .k = 64, .c = -32};
inline constexpr KVparamDesc kOffsetY{.label = "Offset y ", .k = 64, .c = -32};
}  // namespace f25mirror

inline constexpr KVmemberDesc kF25_mirror{
    .id = 8,
    .computeName = "f25_mirror",
    .name = " Mirror",
    .compute = f25_mirror,
    .handler = f25_mirror_handler,
    .params = {f25mirror::kRotation, f25mirror::kOffsetX, f25mirror::kOffsetY},
    .defaults = {0, 0, 0},
    .on8 = f25_mirror_prepare,
};

inline constexpr KVmemberDesc kF25_mirrorN{
    .id = 11,
    .computeName = "f25_mirrorN",
    .name = " Mirror N",
    .compute = f25_mirrorN,
    .handler = f25_mirrorN_handler,
    .params = {{.label = "Symmetries # ", .k = 34, .c = 2, .truncate = true},
               f25mirror::kOffsetX,
               f25mirror::kOffsetY},
    .defaults = {8, 0, 0},
    .on8 = f25_mirrorN_prepare,
};

inline constexpr KVmemberDesc kF25_outermirrorN{
    .id = 17,
    .computeName = "f25_outermirrorN",
    .name = " Outer Mirror N",
    .compute = f25_outermirrorN,
    .handler = f25_outermirrorN_handler,
    .params = {f25mirror::kRotation,
               {.label = "Offset x ", .k = 16},
               {.label = "Mirrors number ", .k = 11, .c = 1, .truncate = true}},
    .defaults = {0, 2, 2},
    .on8 = f25_outermirrorN_prepare,
};

inline constexpr KVmemberDesc kF25_Polar{
    .id = 20,
    .computeName = "f25_Polar",
    .name = " Polar Space",
    .compute = f25_Polar,
    .handler = f25_Polar_handler,
    .params = {{.label = "Radial steps # ", .k = 30, .c = 2},
               {.label = "Radial phase ", .k = 16, .c = -8},
               {.label = "Phase ", .k = 16, .c = -8}},
    .defaults = {4, 1, 0},
    .on8 = f25_Polar_prepare,
};

inline constexpr KVmemberDesc kF25_rotateN{
    .id = 28,
    .computeName = "f25_rotateN",
    .name = " Rotate N ",
    .compute = f25_rotateN,
    .handler = f25_rotateN_handler,
    .params = {{.label = "Rotation steps # ", .k = 13, .c = 3, .truncate = true},
               {.label = "Phase ", .k = 32, .c = -16},
               {.label = "Scale ", .k = 7, .c = 1}},
    .defaults = {3, 0, 1},
    .on8 = f25_rotateN_prepare,
};
