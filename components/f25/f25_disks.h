// Members that map the plane by one circle inversion, a spiral of
// inversions or a polar band: Disk Inversion (id 9) and Outer Disk Mirror
// (id 0) invert the inside or the outside of one disk and light its rim;
// Disk Inversion Spiral (id 4) follows a chain of disks along a logarithmic
// spiral; Polar Spiral Band (id 22) cuts the plane into spiral bands in
// log-polar coordinates; Test Lab (id 18) scales the plane and paints it the
// first colour of the document's colour table.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f25_diskInversion(gfunc* g);
void f25_OdiskInversion(gfunc* g);
void f25_DinvSpiral(gfunc* g);
void f25_fD(gfunc* g);
void f25_fA(gfunc* g);

int16_t f25_diskInversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_OdiskInversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_DinvSpiral_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_fD_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_fA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of ids 9 and 0: 1/A and the background colour on the 0..8 scale.
void f25_diskInversion_prepare(gfunc* g);
// Message 8 of id 4: the spiral's map and the background colour 0..255.
void f25_DinvSpiral_prepare(gfunc* g);
// Message 8 of id 22: A raised to 2 (stored back) and A / pi.
void f25_fD_prepare(gfunc* g);

// The spiral's recursion count C is held to this.
inline constexpr int kF25spiralMaxRecursion = 256;

namespace f25disk {
inline constexpr double kPi = std::numbers::pi;
inline constexpr KVparamDesc kRadius{.label = "Inversion Radius ", .k = 8};
inline constexpr KVparamDesc kOffsetX{.label = "Offset x ", .k = 16, .c = -8};
inline constexpr KVparamDesc kOffsetY{.label = "Offset y ", .k = 16, .c = -8};
}  // namespace f25disk

inline constexpr KVmemberDesc kF25_diskInversion{
    .id = 9,
    .computeName = "f25_diskInversion",
    .name = " Disk Inversion",
    .compute = f25_diskInversion,
    .handler = f25_diskInversion_handler,
    .params = {f25disk::kRadius, f25disk::kOffsetX, f25disk::kOffsetY},
    .defaults = {1, 0, 0},
    .on8 = f25_diskInversion_prepare,
};

inline constexpr KVmemberDesc kF25_OdiskInversion{
    .id = 0,
    .computeName = "f25_OdiskInversion",
    .name = " Outer Disk Mirror ",
    .compute = f25_OdiskInversion,
    .handler = f25_OdiskInversion_handler,
    .params = {f25disk::kRadius, f25disk::kOffsetX, f25disk::kOffsetY},
    .defaults = {2, 0, 0},
    .on8 = f25_diskInversion_prepare,
};

inline constexpr KVmemberDesc kF25_DinvSpiral{
    .id = 4,
    .computeName = "f25_DinvSpiral",
    .name = " Disk Inversion Spiral",
    .compute = f25_DinvSpiral,
    .handler = f25_DinvSpiral_handler,
    .params = {{.label = "Rotation ", .k = 2 * f25disk::kPi, .c = -f25disk::kPi},
               {.label = "Scale ", .k = 1.75, .c = 0.25},
               {.label = "Recursion ", .k = 255, .c = 1, .truncate = true}},
    .defaults = {1.0471, 1.206, 16},
    .on8 = f25_DinvSpiral_prepare,
};

inline constexpr KVmemberDesc kF25_fD{
    .id = 22,
    .computeName = "f25_fD",
    .name = " Polar Spiral Band ",
    .compute = f25_fD,
    .handler = f25_fD_handler,
    .params = {{.label = "Radial steps # ", .k = 30, .c = 2},
               {.label = "Radial phase ", .k = 16, .c = -8},
               {.label = "Phase ", .k = 16, .c = -8}},
    .defaults = {4, 1, 0},
    .on8 = f25_fD_prepare,
};

inline constexpr KVmemberDesc kF25_fA{
    .id = 18,
    .computeName = "f25_fA",
    .name = " Test Lab",
    .compute = f25_fA,
    .handler = f25_fA_handler,
    .params = {{.label = "Radius ", .k = 8},
               {.label = "Offset x ", .k = 4, .c = -2},
               {.label = "Offset y ", .k = 4, .c = -2}},
    .defaults = {1, 0, 0},
};
