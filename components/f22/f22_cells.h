// f22 members that move the plane by values of the document's lattices:
// value-noise displacements, a directional 1D noise, jittered bubbles and
// twirls, facet spaces around jittered feature points, pixel-grid
// displacements, and the tech displacements that push points along cell axes
// or snap them to cell centres and edge midpoints. Also the tech quantizers
// and displacement rules they are built on.
//
// Lattice cells: a cell index that is NaN or leaves int32 gives the no-value
// marker on both outputs. Hashes: hash(i, j) = P[(j + P[i & 1023] + (i >> 9))
// & 1023] (arithmetic shift; Tile & displace shifts by 8), summed unsigned.
#pragma once

#include <numbers>

#include "components/common/member.h"
#include "components/f22/f22_pvt.h"
#include "noise/kvtables.h"

void f22_random(gfunc* g);
void f22_lowfredRND(gfunc* g);
void f22_dirRnd(gfunc* g);
void f22_Bubbles(gfunc* g);
void f22_multitwirls(gfunc* g);
void f22_pixelprism(gfunc* g);
void f22_DisplaceTile(gfunc* g);
void f22_smoothfacetspace(gfunc* g);
void f22_facetspace(gfunc* g);
void f22_facetspaceRotate(gfunc* g);
void f22_facetprism(gfunc* g);
void f22_Techquantize(gfunc* g);
void f22_spotdisplace(gfunc* g);
void f22_techdisplace(gfunc* g);

int16_t f22_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_lowfredRND_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_dirRnd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_Bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_multitwirls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_pixelprism_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_DisplaceTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_smoothfacetspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_facetspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_facetspaceRotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_facetprism_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_Techquantize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_spotdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_techdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of the members with private values (K0..K3 as each computes).
void f22_random_precompute(gfunc* g);
void f22_lowfredRND_precompute(gfunc* g);
void f22_dirRnd_precompute(gfunc* g);
void f22_Bubbles_precompute(gfunc* g);
void f22_multitwirls_precompute(gfunc* g);
void f22_DisplaceTile_precompute(gfunc* g);
void f22_smoothfacetspace_precompute(gfunc* g);
void f22_facetspace_precompute(gfunc* g);
void f22_facetspaceRotate_precompute(gfunc* g);
void f22_facetprism_precompute(gfunc* g);
// Message 9 of Low Freq Random: a tree of version 15 or lower gets 2.125
// added to B and to the B of every keyframe.
void f22_lowfredRND_convert(gfunc* g);

// ---- Tech rules --------------------------------------------------------------
// Each takes a point (X, Y) of the lattice and writes the point it gives
// into `out`; false (out untouched) when a cell of (X, Y), or of the doubled
// point a recursion visits, is NaN or leaves int32.

// Snaps to the cell centre, or to the midpoint of the nearest cell edge, or
// (level < 1) recurses on the half-size cell, by hash(i, j) mod 5.
bool TechquantizeC(const KVtables* t, double X, double Y, int level, F22point& out);
// Snaps to the centre, a quarter point, a diagonal or an edge point, by
// hash(i, j) & 7, recursing on the half-size cell up to level 2.
bool TechquantizeA(const KVtables* t, double X, double Y, int level, F22point& out);
// A fixed pattern of snaps by the parity of the cell and `mode` (reads no
// table).
bool TechPatquantize(double X, double Y, int mode, F22point& out);
// TechquantizeA on a cell halved along y, x or both, by hash(i, j) & 3.
bool TechPatquantizeRec(const KVtables* t, double X, double Y, F22point& out);
// The base point (x0, y0) pushed by up to `amp` along one cell axis, by the
// cell's hash mod 6 (cells with i and j both odd stay).
bool tdisplace(const KVtables* t, double amp, double X, double Y, double x0, double y0,
               F22point& out);
// The base point pushed along an axis by amp s^2 (s a smooth bump of the
// cell), by hash & 7; hashes 5..7 retry on the half-size cell with half the
// amplitude, at most four rounds from `level`.
bool srdisplace(const KVtables* t, double amp, double X, double Y, double x0, double y0, int level,
                F22point& out);

// The slot of cell (i, j) in a 1024-entry table: (j + P[i & 1023] + (i >> shift))
// & 1023, summed unsigned (i >> shift is an arithmetic shift).
inline uint32_t f22_hashSlot(const KVtables* t, int32_t i, int32_t j, int shift = 9)
{
  const uint32_t row = uint32_t(t->perm[uint32_t(i) & 1023u]);
  return (uint32_t(j) + row + uint32_t(i >> shift)) & 1023u;
}

// The hash of cell (i, j): P at its slot.
inline int32_t f22_hash(const KVtables* t, int32_t i, int32_t j, int shift = 9)
{
  return t->perm[f22_hashSlot(t, i, j, shift)];
}

namespace f22detail {
inline constexpr double kCellPi = std::numbers::pi;
}

// Tech quantize, Spots displace and Tech displace share their B and C.
inline constexpr KVparamDesc kF22techPhase{.label = "Phase ", .k = 32, .c = -16};
inline constexpr KVparamDesc kF22techFrequency{.label = "Frequency ", .k = 4, .c = 0};
// The facet spaces share B and C.
inline constexpr KVparamDesc kF22facetDelta{.label = "Delta size ", .k = 6, .c = 0};
inline constexpr KVparamDesc kF22facetFrequency{.label = "Frequency ", .k = 8, .c = 0};

inline constexpr KVmemberDesc kF22_random{
    .id = 12,
    .computeName = "f22_random",
    .name = " Random noise",
    .compute = f22_random,
    .handler = f22_random_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2},
               {.label = "Phase ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 15.9375, .c = 0.0625}},
    .defaults = {0.5, 0, 2.0},
    .on8 = f22_random_precompute,
};

inline constexpr KVmemberDesc kF22_multitwirls{
    .id = 16,
    .computeName = "f22_multitwirls",
    .name = " Multi twirls",
    .compute = f22_multitwirls,
    .handler = f22_multitwirls_handler,
    .params = {{.label = "Frequency ", .k = 3.9375, .c = 0.0625},
               {.label = "Phase ", .k = 8, .c = -4},
               {.label = "Twirl ", .k = 8, .c = 0}},
    .defaults = {1.0, 0, 4.0},
    .on8 = f22_multitwirls_precompute,
};

inline constexpr KVmemberDesc kF22_pixelprism{
    .id = 18,
    .computeName = "f22_pixelprism",
    .name = " Pixel prism",
    .compute = f22_pixelprism,
    .handler = f22_pixelprism_handler,
    .params = {{.label = "Displacement ", .k = 4, .c = -2},
               {.label = "Scale ", .k = 4, .c = -2},
               {.label = "Frequency ", .k = 4, .c = -2}},
    .defaults = {0, 1.0, 1.0},
};

inline constexpr KVmemberDesc kF22_lowfredRND{
    .id = 25,
    .computeName = "f22_lowfredRND",
    .name = " Low Freq Random ",
    .compute = f22_lowfredRND,
    .handler = f22_lowfredRND_handler,
    .params = {{.label = "Amplitude ", .k = 10, .c = -2},
               {.label = "Frequency ", .k = 4, .c = 0},
               {.label = "Phase ", .k = 16, .c = -8}},
    .defaults = {1.0, 1.0, 0},
    .on8 = f22_lowfredRND_precompute,
    .on9 = f22_lowfredRND_convert,
};

inline constexpr KVmemberDesc kF22_dirRnd{
    .id = 26,
    .computeName = "f22_dirRnd",
    .name = " Directional Random ",
    .compute = f22_dirRnd,
    .handler = f22_dirRnd_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0},
               {.label = "Direction ", .k = 4, .c = -2},
               {.label = "Phase ", .k = 32, .c = -16}},
    .defaults = {1.0, 1.0, 1.0},
    .on8 = f22_dirRnd_precompute,
};

inline constexpr KVmemberDesc kF22_Bubbles{
    .id = 27,
    .computeName = "f22_Bubbles",
    .name = " Bubble Space",
    .compute = f22_Bubbles,
    .handler = f22_Bubbles_handler,
    .params = {{.label = "Amplitude ", .k = 1.875, .c = 0.125},
               {.label = "Bubble size ", .k = 5, .c = 1},
               {.label = "Frequency ", .k = 0.9375, .c = 0.0625}},
    .defaults = {1.0, 3.0, 0.5},
    .on8 = f22_Bubbles_precompute,
};

inline constexpr KVmemberDesc kF22_DisplaceTile{
    .id = 29,
    .computeName = "f22_DisplaceTile",
    .name = " Tile & displace",
    .compute = f22_DisplaceTile,
    .handler = f22_DisplaceTile_handler,
    .params = {{.label = "Displacement ", .k = 4, .c = -2},
               {.label = "Scale ", .k = 16, .c = 0},
               {.label = "Frequency ", .k = 4, .c = 0}},
    .defaults = {0, 4.0, 2.0},
    .on8 = f22_DisplaceTile_precompute,
};

inline constexpr KVmemberDesc kF22_smoothfacetspace{
    .id = 39,
    .computeName = "f22_smoothfacetspace",
    .name = " Facet space mirrors",
    .compute = f22_smoothfacetspace,
    .handler = f22_smoothfacetspace_handler,
    .params = {{.label = "Scale ", .k = 1.875, .c = 0.125}, kF22facetDelta, kF22facetFrequency},
    .defaults = {1.0, 3.0, 0.5},
    .on8 = f22_smoothfacetspace_precompute,
};

inline constexpr KVmemberDesc kF22_facetspace{
    .id = 40,
    .computeName = "f22_facetspace",
    .name = " Facet space",
    .compute = f22_facetspace,
    .handler = f22_facetspace_handler,
    .params = {{.label = "Scale ", .k = 1.999, .c = 0.001}, kF22facetDelta, kF22facetFrequency},
    .defaults = {0.5, 1.0, 2.0},
    .on8 = f22_facetspace_precompute,
};

inline constexpr KVmemberDesc kF22_facetprism{
    .id = 41,
    .computeName = "f22_facetprism",
    .name = " Crystallize",
    .compute = f22_facetprism,
    .handler = f22_facetprism_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 16, .c = 0},
               {.label = "Phase ", .k = 32, .c = -16}},
    .defaults = {1.0, 4.0, 0},
    .on8 = f22_facetprism_precompute,
};

inline constexpr KVmemberDesc kF22_techdisplace{
    .id = 42,
    .computeName = "f22_techdisplace",
    .name = " Tech displace",
    .compute = f22_techdisplace,
    .handler = f22_techdisplace_handler,
    .params = {{.label = "Displacement ", .k = 4, .c = 0}, kF22techPhase, kF22techFrequency},
    .defaults = {1.0, 0, 1.0},
};

inline constexpr KVmemberDesc kF22_spotdisplace{
    .id = 43,
    .computeName = "f22_spotdisplace",
    .name = " Spots displace",
    .compute = f22_spotdisplace,
    .handler = f22_spotdisplace_handler,
    .params = {{.label = "Displacement ", .k = 8, .c = 0}, kF22techPhase, kF22techFrequency},
    .defaults = {1.0, 0, 1.0},
};

inline constexpr KVmemberDesc kF22_Techquantize{
    .id = 45,
    .computeName = "f22_Techquantize",
    .name = " Tech quantize",
    .compute = f22_Techquantize,
    .handler = f22_Techquantize_handler,
    .params = {{.label = "Displacement ", .k = 1, .c = 0}, kF22techPhase, kF22techFrequency},
    .defaults = {1.0, 0, 1.0},
};

inline constexpr KVmemberDesc kF22_facetspaceRotate{
    .id = 46,
    .computeName = "f22_facetspaceRotate",
    .name = " Facet space rotate",
    .compute = f22_facetspaceRotate,
    .handler = f22_facetspaceRotate_handler,
    .params = {{.label = "Delta angle ", .k = 2 * f22detail::kCellPi, .c = 0},
               kF22facetDelta,
               kF22facetFrequency},
    .defaults = {f22detail::kCellPi, 1.0, 2.0},
    .on8 = f22_facetspaceRotate_precompute,
};
