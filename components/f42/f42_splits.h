// f42 members that give one of the two points P = (x, y) and Q = (z, w)
// whole, chosen by a comparison or by a region of the plane (a half plane,
// a disc, the nearest of five candidates, the parity of the loop
// iteration), the mixed point (x, w), and P displaced by a random box
// pattern. Every one follows the family's frame (f42_pvt.h).
#pragma once

#include <numbers>

#include "components/common/member.h"

void f42_ycompare(gfunc* g);
void f42_DistCompare(gfunc* g);
void f42_split(gfunc* g);
void f42_splitunitdisk(gfunc* g);
void f42_split_four(gfunc* g);
void f42_splitAlternate(gfunc* g);
void f42_xfzyfc(gfunc* g);
void f42_rdisplace(gfunc* g);

int16_t f42_ycompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_DistCompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_split_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_splitunitdisk_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_split_four_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_splitAlternate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_xfzyfc_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_rdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: Split space stores cos B and sin B, Split Disk A^2.
void f42_split_precompute(gfunc* g);
void f42_splitunitdisk_precompute(gfunc* g);
// Message 9: in trees of version 15 or older Split space had no angle: B
// and every keyframe's B become 0.
void f42_split_convert(gfunc* g);

// The random box displacement of (x, y) by `amount` over the lattice cell
// of (px, py): a cell's hash moves the point one way, or only in half of
// the cell, or not at all, or subdivides the cell (at most three times,
// from `depth`) with three quarters of the amount. False (and nothing
// written) when a lattice cell is NaN or leaves the 32-bit range.
bool boxdisplace(const KVtables* t, double amount, double px, double py, double x, double y,
                 double* outX, double* outY, int16_t depth);

// Trees of this version or older are converted by Split space's message 9.
inline constexpr int16_t kF42SplitAngleVersion = 15;

namespace f42detail {
inline constexpr double kSplitPi = std::numbers::pi;
inline constexpr KVparamDesc kOffset16{.label = "Offset ", .k = 16, .c = -8};
}  // namespace f42detail

inline constexpr KVmemberDesc kF42_ycompare{
    .id = 12,
    .computeName = "f42_ycompare",
    .name = " Y compare ",
    .compute = f42_ycompare,
    .handler = f42_ycompare_handler,
    .params = {{.label = "Offset ", .k = 2 * f42detail::kSplitPi, .c = -f42detail::kSplitPi}},
    .defaults = {0, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_DistCompare{
    .id = 13,
    .computeName = "f42_DistCompare",
    .name = " Distance compare ",
    .compute = f42_DistCompare,
    .handler = f42_DistCompare_handler,
};

inline constexpr KVmemberDesc kF42_split{
    .id = 14,
    .computeName = "f42_split",
    .name = " Split space ",
    .compute = f42_split,
    .handler = f42_split_handler,
    .params = {f42detail::kOffset16,
               {.label = " Split angle ", .k = 2 * f42detail::kSplitPi, .c = -f42detail::kSplitPi}},
    .defaults = {0, 0, kAbsentParam},
    .on8 = f42_split_precompute,
    .on9 = f42_split_convert,
};

inline constexpr KVmemberDesc kF42_xfzyfc{
    .id = 23,
    .computeName = "f42_xfzyfc",
    .name = " x from Z, y from C",
    .compute = f42_xfzyfc,
    .handler = f42_xfzyfc_handler,
};

inline constexpr KVmemberDesc kF42_rdisplace{
    .id = 24,
    .computeName = "f42_rdisplace",
    .name = " Mondrian displace",
    .compute = f42_rdisplace,
    .handler = f42_rdisplace_handler,
    .params = {{.label = "Displacement ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 32, .c = -16},
               {.label = "Frequency ", .k = 4, .c = 0}},
    .defaults = {1, 0, 1},
};

inline constexpr KVmemberDesc kF42_split_four{
    .id = 25,
    .computeName = "f42_split_four",
    .name = " Split 4",
    .compute = f42_split_four,
    .handler = f42_split_four_handler,
    .params = {{.label = "Offset x ", .k = 16, .c = 0}, {.label = "Offset y ", .k = 16, .c = 0}},
    .defaults = {f42detail::kSplitPi, f42detail::kSplitPi, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_splitAlternate{
    .id = 27,
    .computeName = "f42_splitAlternate",
    .name = " Alternate Split ",
    .compute = f42_splitAlternate,
    .handler = f42_splitAlternate_handler,
};

inline constexpr KVmemberDesc kF42_splitunitdisk{
    .id = 30,
    .computeName = "f42_splitunitdisk",
    .name = " Split Disk ",
    .compute = f42_splitunitdisk,
    .handler = f42_splitunitdisk_handler,
    .params = {{.label = "Radius ", .k = 6.033185307179586, .c = 0.25},
               {.label = "Offset x ", .k = 16, .c = -8},
               {.label = "Offset y ", .k = 16, .c = -8}},
    .defaults = {1, 0, 0},
    .on8 = f42_splitunitdisk_precompute,
};
