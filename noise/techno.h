// Lattice patterns with a machine-made look. The TechnoNoise family
// subdivides the plane (or space) into quarter (eighth) cells, choosing per
// cell from its hash whether to split further, and returns the distance to
// the edge of the cell finally reached; R_patchwork stacks strips of
// alternating direction; RGBdither adds a smooth per-channel noise to a
// colour.
//
// `level` is the subdivision depth the caller starts at (callers pass 1); it
// rises by one per subdivision and the coordinates double with each level.
// The members that divide by the level treat a start level below 1 as 1.
// All are pure functions of the tables and their arguments, safe on any
// number of threads. A coordinate whose lattice cell is not defined (NaN, or
// beyond the 32-bit lattice) gives 0 and adds nothing.
#pragma once

#include <cstdint>

#include "noise/kvtables.h"

// Edge distance (0..0.5) of the reached cell in that cell's units; 0 in
// blank cells. Subdivides while level < 4.
double TechnoNoise(const KVtables* t, double x, double y, int32_t level);

// Signed edge distance of the reached cell (subdividing while level < 3),
// weighted by a per-cell value in [-1, 1) and divided by the level.
double TechnoNoise1F(const KVtables* t, double x, double y, int32_t level);

// Signed edge distance of the last level passed (subdividing while level < 4);
// at every level passed where the distance is positive, adds a per-cell
// colour times that distance over the level to rgb.
double TechnoNoise1FColor(const KVtables* t, double x, double y, double rgb[3], int32_t level);

// 3D form of TechnoNoise1F over a permutation table (the `perm` field of
// KVtables, 1024 entries read), weight in -256..767.
double TechnoNoise1F3D(const int32_t perm[], double x, double y, double z, int32_t level);

// As TechnoNoise1F3D; also writes three per-cell values 0..255 to rgb.
double TechnoNoise1F3DColor(const int32_t perm[], double x, double y, double z, uint32_t rgb[3],
                            int32_t level);

// Patchwork of n strip levels: a is an offset, b a softness, c an extra shift
// of the strips. out[0] = 0.3333 x the weighted sum of the strips, out[1] = the
// last level's coverage, out[2] = the hashes met, summed and divided by
// n * 1024 (by 1024 when n < 1, where only the base value is made and
// out[0] = 0).
void R_patchwork(const KVtables* t, double x, double y, double z, double a, double b, double c,
                 int32_t n, double out[3]);

// Adds amount * (1 + noise / 512) to each channel of rgb, the noise being a
// smooth per-channel lattice noise at the phase point xy.
void RGBdither(const KVtables* t, double rgb[3], const double xy[2], double amount);
