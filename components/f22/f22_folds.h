// f22 members that fold the plane onto a fundamental region: mirrors across
// lines through the origin, three-, four-, six- and N-fold kaleidoscopes,
// folding lattices, a radial distance mirror, and tilings that return a
// point's local coordinates in its hexagon, its triangle of a Sierpinski
// subdivision or its disc of a ring packing.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f22_Mirror(gfunc* g);
int16_t f22_Mirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_hexagonalMirrors(gfunc* g);
int16_t f22_hexagonalMirrors_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_orthoMirrors(gfunc* g);
int16_t f22_orthoMirrors_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_mirrors(gfunc* g);
int16_t f22_mirrors_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_mirrors3(gfunc* g);
int16_t f22_mirrors3_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_mirrors6(gfunc* g);
int16_t f22_mirrors6_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_NBranch(gfunc* g);
int16_t f22_NBranch_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_DistMirror(gfunc* g);
int16_t f22_DistMirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_hexaTile(gfunc* g);
int16_t f22_hexaTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_Serpiensky(gfunc* g);
int16_t f22_Serpiensky_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_DiskTile(gfunc* g);
int16_t f22_DiskTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of each member with private values.
void f22_Mirror_precompute(gfunc* g);
void f22_hexagonalMirrors_precompute(gfunc* g);
void f22_orthoMirrors_precompute(gfunc* g);
void f22_NBranch_precompute(gfunc* g);
void f22_DistMirror_precompute(gfunc* g);
void f22_hexaTile_precompute(gfunc* g);
void f22_DiskTile_precompute(gfunc* g);

// Rules of the folds and lattices.
// trunc(t) for t >= 0, trunc(t - 1) below; false when that does not fit an
// int32 (or t is NaN).
bool f22_cellfloor(double t, int32_t& cell);
// The distance from t to the nearest even whole number (0..1).
double f22_fold(double t);
// The non-negative remainder of i by 3.
int f22_mod3(int32_t i);

// The local coordinates of a point of a Sierpinski triangle subdivision:
// (p, q) the point in its triangle, m and sigma its orientation, level the
// starting level, octaves the document's octave count (the depth is
// octaves / 2). A point that the subdivision does not place, or whose
// coordinates stop being finite, gives (0, 0).
struct F22pair
{
  double a;
  double b;
};
F22pair triangle2D(double p, double q, int m, int sigma, int level, int octaves);

// The discs of Disc Tiling over levels `level`..6: updates (ox, oy) with the
// local coordinates of the disc covering (x, y), blended across the smooth
// edge between radii r2 and r1.
void circletile(double x, double y, double& ox, double& oy, double R, double r1sq, double r2sq,
                double r1, int level);

namespace f22detail {
inline constexpr double kFoldPi = std::numbers::pi;
}

// Mirrors 4, 3 and 6 share their parameters.
inline constexpr KVparamDesc kF22mirrorParams[3] = {{.label = "Scale ", .k = 8, .c = -4},
                                                    {.label = "Offset x ", .k = 16, .c = -8},
                                                    {.label = "Offset y ", .k = 16, .c = -8}};

// Hexagonal and Serpiensky tiles share their parameters.
inline constexpr KVparamDesc kF22tileParams[3] = {{.label = "Amplitude ", .k = 8, .c = 0},
                                                  {.label = "Offset ", .k = 8, .c = -4},
                                                  {.label = "Frequency ", .k = 8, .c = 0}};

inline constexpr KVmemberDesc kF22_Mirror{
    .id = 54,
    .computeName = "f22_Mirror",
    .name = " Mirror",
    .compute = f22_Mirror,
    .handler = f22_Mirror_handler,
    .params = {{.label = "Rotation ", .k = 4 * f22detail::kFoldPi, .c = -2 * f22detail::kFoldPi},
               {.label = "Offset x ", .k = 64, .c = -32},
               {.label = "Offset y ", .k = 64, .c = -32}},
    .defaults = {0, 0, 0},
    .on8 = f22_Mirror_precompute,
};

inline constexpr KVmemberDesc kF22_hexagonalMirrors{
    .id = 8,
    .computeName = "f22_hexagonalMirrors",
    .name = " Hexagonal Mirrors",
    .compute = f22_hexagonalMirrors,
    .handler = f22_hexagonalMirrors_handler,
    .params = {{.label = "Scale ", .k = 32, .c = 0}, {.label = "Phase ", .k = 2, .c = 0}},
    .defaults = {4.0, 1.0, kAbsentParam},
    .on8 = f22_hexagonalMirrors_precompute,
};

inline constexpr KVmemberDesc kF22_orthoMirrors{
    .id = 55,
    .computeName = "f22_orthoMirrors",
    .name = " Orthogonal Mirror tiles",
    .compute = f22_orthoMirrors,
    .handler = f22_orthoMirrors_handler,
    .params = {{.label = "Scale ", .k = 32, .c = 0}, {.label = "Scale Y ", .k = 2, .c = 0}},
    .defaults = {4.0, 1.0, kAbsentParam},
    .on8 = f22_orthoMirrors_precompute,
};

inline constexpr KVmemberDesc kF22_mirrors{
    .id = 21,
    .computeName = "f22_mirrors",
    .name = " Mirrors 4",
    .compute = f22_mirrors,
    .handler = f22_mirrors_handler,
    .params = {kF22mirrorParams[0], kF22mirrorParams[1], kF22mirrorParams[2]},
    .defaults = {1.0, 0, 0},
};

inline constexpr KVmemberDesc kF22_mirrors6{
    .id = 22,
    .computeName = "f22_mirrors6",
    .name = " Mirrors 6",
    .compute = f22_mirrors6,
    .handler = f22_mirrors6_handler,
    .params = {kF22mirrorParams[0], kF22mirrorParams[1], kF22mirrorParams[2]},
    .defaults = {1.0, 0, 0},
};

inline constexpr KVmemberDesc kF22_DistMirror{
    .id = 28,
    .computeName = "f22_DistMirror",
    .name = " Distance Mirror",
    .compute = f22_DistMirror,
    .handler = f22_DistMirror_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0},
               {.label = "Mirror distance ", .k = 24, .c = 0}},
    .defaults = {1.0, 1.0, kAbsentParam},
    .on8 = f22_DistMirror_precompute,
};

inline constexpr KVmemberDesc kF22_mirrors3{
    .id = 30,
    .computeName = "f22_mirrors3",
    .name = " Mirrors 3",
    .compute = f22_mirrors3,
    .handler = f22_mirrors3_handler,
    .params = {kF22mirrorParams[0], kF22mirrorParams[1], kF22mirrorParams[2]},
    .defaults = {1.0, 0, 0},
};

inline constexpr KVmemberDesc kF22_NBranch{
    .id = 32,
    .computeName = "f22_NBranch",
    .name = " Branch N",
    .compute = f22_NBranch,
    .handler = f22_NBranch_handler,
    .params = {{.label = " Branch number ", .k = 17, .c = 1, .truncate = true},
               {.label = "Offset x ", .k = 16, .c = -8},
               {.label = "Offset y ", .k = 16, .c = -8}},
    .defaults = {5.0, 0, 0},
    .on8 = f22_NBranch_precompute,
};

inline constexpr KVmemberDesc kF22_hexaTile{
    .id = 33,
    .computeName = "f22_hexaTile",
    .name = " Hexagonal tiles",
    .compute = f22_hexaTile,
    .handler = f22_hexaTile_handler,
    .params = {kF22tileParams[0], kF22tileParams[1], kF22tileParams[2]},
    .defaults = {2.0, 0, 2.0},
    .on8 = f22_hexaTile_precompute,
};

inline constexpr KVmemberDesc kF22_DiskTile{
    .id = 34,
    .computeName = "f22_DiskTile",
    .name = " Disc Tiling",
    .compute = f22_DiskTile,
    .handler = f22_DiskTile_handler,
    .params = {{.label = " Smooth Edges ", .k = 1, .c = 0},
               {.label = "Offset x ", .k = 8, .c = -4},
               {.label = "Offset y ", .k = 8, .c = -4}},
    .defaults = {0.125, 0, 0},
    .on8 = f22_DiskTile_precompute,
};

inline constexpr KVmemberDesc kF22_Serpiensky{
    .id = 35,
    .computeName = "f22_Serpiensky",
    .name = " Serpiensky tiles",
    .compute = f22_Serpiensky,
    .handler = f22_Serpiensky_handler,
    .params = {kF22tileParams[0], kF22tileParams[1], kF22tileParams[2]},
    .defaults = {2.0, 0, 2.0},
    .on8 = f22_hexaTile_precompute,
};
