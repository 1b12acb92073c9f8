// The XYza cell members: each cuts the plane into cells and gives, per
// sample, the point's place in its cell: output 1 the cell-local x, output 2
// the cell-local y, output 3 a value constant over the cell, output 4 the
// mask (0 or below outside the cell's shape, rising towards its middle).
// All but the Escher disk and the Apollonian gasket set output code 11 at
// message 6.
#pragma once

#include <numbers>

#include "components/common/member.h"
#include "foundation/types.h"

inline constexpr int16_t kF24xyzaCode = 11;

void f24_xyza_Tiles(gfunc* g);
void f24_xyza_Facets(gfunc* g);
void f24_xyza_Spots(gfunc* g);
void f24_xyza_QuantizeSpots(gfunc* g);
void f24_xyza_TSpots(gfunc* g);
void f24_xyza_Radial(gfunc* g);
void f24_xyza_Escher(gfunc* g);
void f24_xyza_Appolon(gfunc* g);
void f24_xyza_HexaDTiles(gfunc* g);
void f24_xyza_jitterdisk(gfunc* g);
void f24_xyza_pyranet(gfunc* g);

int16_t f24_xyza_Tiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_Facets_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_Spots_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_QuantizeSpots_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_TSpots_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_Radial_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_Escher_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_Appolon_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_HexaDTiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_jitterdisk_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_xyza_pyranet_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message-8 preparations.
void f24_xyza_Tiles_prepare(gfunc* g);
void f24_xyza_Facets_prepare(gfunc* g);
void f24_xyza_Spots_prepare(gfunc* g);
void f24_xyza_QuantizeSpots_prepare(gfunc* g);
void f24_xyza_TSpots_prepare(gfunc* g);
void f24_xyza_Radial_prepare(gfunc* g);
void f24_xyza_Escher_prepare(gfunc* g);
void f24_xyza_Appolon_prepare(gfunc* g);
void f24_xyza_HexaDTiles_prepare(gfunc* g);
void f24_xyza_jitterdisk_prepare(gfunc* g);
void f24_xyza_pyranet_prepare(gfunc* g);

// The Escher disk draws at most this many circles (A is bounded only below).
inline constexpr int kF24maxEscherCircles = 32;

// The gasket's repeated inversion of (x, y) in the four unit circles centred
// at (1, -1), (1, 1), (-1, 1), (-1, -1): each pass inverts in the first circle
// that holds the point and folds the result back into the band; it stops
// when the point leaves the band (record (0, 0, 8, 1 + 1/y) below it, four
// markers above it), lies in no circle (record unchanged), lands in the
// central disk, or after maxlevel - level further passes. record gets
// (folded x, y, unfolded x, 4 (1 - R)).
void Appolinversion(double x, double y, dvector4d* record, int level, int maxlevel);

inline constexpr double kF24twoPi = 2 * std::numbers::pi;

inline constexpr KVmemberDesc kF24_xyza_Tiles{
    .id = 0,
    .computeName = "f24_xyza_Tiles",
    .name = " XYza Tiles",
    .compute = f24_xyza_Tiles,
    .handler = f24_xyza_Tiles_handler,
    .params = {{.label = "Scale ", .k = 4},
               {.label = "Frequency ", .k = 16},
               {.label = "Scale Y ", .k = 2}},
    .defaults = {1, 1, 1},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_Tiles_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_Facets{
    .id = 1,
    .computeName = "f24_xyza_Facets",
    .name = " XYza Facet Space ",
    .compute = f24_xyza_Facets,
    .handler = f24_xyza_Facets_handler,
    .params = {{.label = "Scale ", .k = 8},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 16}},
    .defaults = {2, 0, 1},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_Facets_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_Spots{
    .id = 2,
    .computeName = "f24_xyza_Spots",
    .name = " XYza Sparse Spot ",
    .compute = f24_xyza_Spots,
    .handler = f24_xyza_Spots_handler,
    .params = {{.label = "Scale ", .k = 8},
               {.label = "Sparseness ", .k = 1},
               {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 1},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_Spots_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_QuantizeSpots{
    .id = 3,
    .computeName = "f24_xyza_QuantizeSpots",
    .name = " XYza Quantizer Spot ",
    .compute = f24_xyza_QuantizeSpots,
    .handler = f24_xyza_QuantizeSpots_handler,
    .params = {{.label = "Z Amp % ", .k = 1},
               {.label = "Mask shape ", .k = 1},
               {.label = "Frequency ", .k = 32}},
    .defaults = {1, 0.5, 0.5},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_QuantizeSpots_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_TSpots{
    .id = 9,
    .computeName = "f24_xyza_TSpots",
    .name = " XYza Tiled Spot ",
    .compute = f24_xyza_TSpots,
    .handler = f24_xyza_TSpots_handler,
    .params = {{.label = "Scale ", .k = 8},
               {.label = "Mask shape ", .k = 2},
               {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 1},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_TSpots_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_Radial{
    .id = 32,
    .computeName = "f24_xyza_Radial",
    .name = " XYza Polar Tile",
    .compute = f24_xyza_Radial,
    .handler = f24_xyza_Radial_handler,
    .params = {{.label = "Size ", .k = 4},
               {.label = "Tile # ", .k = 31, .c = 1, .truncate = true},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {1, 8, 4},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_Radial_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_Escher{
    .id = 33,
    .computeName = "f24_xyza_Escher",
    .name = " XYza Escher Disk ",
    .compute = f24_xyza_Escher,
    .handler = f24_xyza_Escher_handler,
    .params = {{.label = "Disk number ", .k = 5, .c = 3, .truncate = true},
               {.label = "Curvature % ", .k = 1},
               {.label = "Rotation ", .k = 2 * kF24twoPi, .c = -kF24twoPi}},
    .defaults = {3, 0.532, 0},
    .on8 = f24_xyza_Escher_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_Appolon{
    .id = 34,
    .computeName = "f24_xyza_Appolon",
    .name = " Appolonian Gasket",
    .compute = f24_xyza_Appolon,
    .handler = f24_xyza_Appolon_handler,
    .params = {{.label = "Size ", .k = 5.283185307179586, .c = 1},
               {.label = "Offset x ", .k = 32, .c = -16},
               {.label = "Offset y ", .k = 4, .c = -2}},
    .defaults = {std::numbers::pi, 0, 0},
    .on8 = f24_xyza_Appolon_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_HexaDTiles{
    .id = 40,
    .computeName = "f24_xyza_HexaDTiles",
    .name = " XYza tiled disks",
    .compute = f24_xyza_HexaDTiles,
    .handler = f24_xyza_HexaDTiles_handler,
    .params = {{.label = "Amplitude ", .k = 4},
               {.label = "Frequency ", .k = 16},
               {.label = "Scale Y ", .k = 2}},
    .defaults = {1, 1, kAbsentParam},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_HexaDTiles_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_jitterdisk{
    .id = 41,
    .computeName = "f24_xyza_jitterdisk",
    .name = " XYza jitter disks",
    .compute = f24_xyza_jitterdisk,
    .handler = f24_xyza_jitterdisk_handler,
    .params = {{.label = "Scale ", .k = 8},
               {.label = "Jitter Amount ", .k = 1},
               {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 1},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_jitterdisk_prepare,
};

inline constexpr KVmemberDesc kF24_xyza_pyranet{
    .id = 57,
    .computeName = "f24_xyza_pyranet",
    .name = " XYza Tek Pyramid ",
    .compute = f24_xyza_pyranet,
    .handler = f24_xyza_pyranet_handler,
    .params = {{.label = "Scale ", .k = 8},
               {.label = "Sparseness ", .k = 1},
               {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 1},
    .outputCode = kF24xyzaCode,
    .on8 = f24_xyza_pyranet_prepare,
};
