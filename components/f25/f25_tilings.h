// Members that cut the plane into a lattice of cells and give each sample its
// cell-local position and a colour per cell, with a grout line toward the
// background at the cell edges: Tiles (id 3), Mirror Tiles (id 6, every
// other cell mirrored), Hexa Mirror Tiles (id 25, a kaleidoscope of three
// triangle folds) and Disk Modulo X (id 26, a row of touching disks along x,
// the plane inverted inside each).
#pragma once

#include "components/common/member.h"

void f25_Tiles(gfunc* g);
void f25_MirrorTiles(gfunc* g);
void f25_HexaTiles(gfunc* g);
void f25_moduloX(gfunc* g);

int16_t f25_Tiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_MirrorTiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_HexaTiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_moduloX_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of ids 3 and 6: the cell scales, with C raised to 0.125.
void f25_Tiles_prepare(gfunc* g);
void f25_HexaTiles_prepare(gfunc* g);
void f25_moduloX_prepare(gfunc* g);

namespace f25tile {
inline constexpr KVparamDesc kScale{.label = "Scale ", .k = 16};
inline constexpr KVparamDesc kFrequency{.label = "Frequency ", .k = 16};
inline constexpr KVparamDesc kScaleY{.label = "Scale Y ", .k = 2};
}  // namespace f25tile

inline constexpr KVmemberDesc kF25_Tiles{
    .id = 3,
    .computeName = "f25_Tiles",
    .name = " Tiles",
    .compute = f25_Tiles,
    .handler = f25_Tiles_handler,
    .params = {f25tile::kScale, f25tile::kFrequency, f25tile::kScaleY},
    .defaults = {1, 1, 1},
    .on8 = f25_Tiles_prepare,
};

inline constexpr KVmemberDesc kF25_MirrorTiles{
    .id = 6,
    .computeName = "f25_MirrorTiles",
    .name = " Mirror Tiles",
    .compute = f25_MirrorTiles,
    .handler = f25_MirrorTiles_handler,
    .params = {f25tile::kScale, f25tile::kFrequency, f25tile::kScaleY},
    .defaults = {1, 1, 1},
    .on8 = f25_Tiles_prepare,
};

inline constexpr KVmemberDesc kF25_HexaTiles{
    .id = 25,
    .computeName = "f25_HexaTiles",
    .name = " Hexa Mirror Tiles",
    .compute = f25_HexaTiles,
    .handler = f25_HexaTiles_handler,
    .params = {f25tile::kScale, f25tile::kFrequency, {.label = "Phase ", .k = 2}},
    .defaults = {2, 1, 1},
    .on8 = f25_HexaTiles_prepare,
};

inline constexpr KVmemberDesc kF25_moduloX{
    .id = 26,
    .computeName = "f25_moduloX",
    .name = " Disk Modulo X ",
    .compute = f25_moduloX,
    .handler = f25_moduloX_handler,
    .params = {{.label = "Inversion Radius ", .k = 8},
               {.label = "Offset x ", .k = 16, .c = -8},
               {.label = "Offset y ", .k = 16, .c = -8}},
    .defaults = {1, 0, 0},
    .on8 = f25_moduloX_prepare,
};
