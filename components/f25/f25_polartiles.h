// Members that tile the plane with disks shrinking toward the origin or a
// rim, as conformal tilings do: Spiral Polar Tile (id 12, a lattice of disks
// along a logarithmic spiral), Fractal Polar Tile (id 19, rings of touching
// disks whose gaps are filled by repeated circle inversion) and Escher Disk
// Tile (id 27, a hyperbolic pattern by repeated inversion in a ring of 3 to 6
// circles). The inversion counts follow the document's octave count.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f25_SpiralTile(gfunc* g);
void f25_PolarFractTile(gfunc* g);
void f25_EscherTile(gfunc* g);

int16_t f25_SpiralTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_PolarFractTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_EscherTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f25_SpiralTile_prepare(gfunc* g);
void f25_PolarFractTile_prepare(gfunc* g);
void f25_EscherTile_prepare(gfunc* g);

// The Escher tile's ring has room for this many circles; a larger A is used
// as this.
inline constexpr int kF25escherMaxCircles = 6;

namespace f25polar {
inline constexpr double kPi = std::numbers::pi;
inline constexpr KVparamDesc kSize{.label = "Size ", .k = 1};
inline constexpr KVparamDesc kPhase{.label = "Phase ", .k = 64, .c = -32};
inline constexpr KVparamDesc kRotation{.label = "Rotation ", .k = 4 * kPi, .c = -2 * kPi};
}  // namespace f25polar

inline constexpr KVmemberDesc kF25_SpiralTile{
    .id = 12,
    .computeName = "f25_SpiralTile",
    .name = " Spiral Polar Tile",
    .compute = f25_SpiralTile,
    .handler = f25_SpiralTile_handler,
    .params = {f25polar::kSize,
               {.label = "Tile # ", .k = 31, .c = 1, .truncate = true},
               f25polar::kPhase},
    .defaults = {1, 3, 0},
    .on8 = f25_SpiralTile_prepare,
};

inline constexpr KVmemberDesc kF25_PolarFractTile{
    .id = 19,
    .computeName = "f25_PolarFractTile",
    .name = " Fractal Polar Tile",
    .compute = f25_PolarFractTile,
    .handler = f25_PolarFractTile_handler,
    .params = {f25polar::kSize,
               {.label = "Tile # ", .k = 22, .c = 2, .truncate = true},
               f25polar::kPhase},
    .defaults = {1, 3, 0},
    .on8 = f25_PolarFractTile_prepare,
};

inline constexpr KVmemberDesc kF25_EscherTile{
    .id = 27,
    .computeName = "f25_EscherTile",
    .name = " Escher Disk Tile ",
    .compute = f25_EscherTile,
    .handler = f25_EscherTile_handler,
    .params = {{.label = "Disk number ", .k = 3, .c = 3, .truncate = true},
               f25polar::kRotation,
               f25polar::kRotation},
    .defaults = {3, -f25polar::kPi, 0},
    .on8 = f25_EscherTile_prepare,
};
