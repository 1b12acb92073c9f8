// Cellular and feature-point bases: one pseudo-random feature point per unit
// cell of the integer lattice, and questions about the points near a sample
// (nearest distance, cell edges, facet offsets, nearest-point colours).
//
// Lattice rules shared by these functions and the cell-based bodies:
// - cell(v) = trunc(v) for v >= 0 and trunc(v) - 1 for v < 0, so -1.0 lies in
//   cell -2 with fraction 1.0.
// - Column key K(i, j) = j + perm[i & 1023] + (i >> 9); rows j + 1, j + 2 of
//   the column have keys K + 1, K + 2. H2(i, j) = perm[K(i, j) & 1023].
// - 3x3 neighbourhoods are visited column by column (c = i-1..i+1 outer,
//   r = j-1..j+1 inner); a candidate replaces the best only when strictly
//   better, so on a tie the cell visited first wins.
//
// Every function is a pure read of the tables: no state, no allocation, safe
// from any number of threads. A coordinate that is NaN or beyond the signed
// 32-bit range finds no point: the function gives its "nothing found" result
// (stated per function) and leaves in/out values as they were.
#pragma once

#include <cstdint>

#include "noise/kvtables.h"

// F2 - F1 of the squared distances to the points (c + 0.5 + 0.3825 v.x,
// r + 0.5 + 0.3825 v.y), v the rndVec3D row of the cell; both start at the
// bound 1.5, and F2 takes only distances strictly greater than F1. 0 on a
// cell edge, at most 1.5; 0 when nothing is found.
double Jitter_Voron(const KVtables* t, double x, double y);

// Distance to the nearest of the same points, at most 1.0 (also when nothing
// is found).
double Jitter_Circle(const KVtables* t, double x, double y);

// Smoothed cell-edge mask (jitter 0.39): 0 where the two smoothed minima are
// within 0.01 of each other, growing toward the point. out[0], out[1] = the
// vector from the nearest point to the sample, out[2] = that point's random
// value v.z (all 0 when no point is nearer than sqrt(1.5)).
double Jitter_SmoothVoronXYA(const KVtables* t, double x, double y, double out[3]);

// Crystal value: perm[p] * scale of the nearest of the four points
// (c + 0.5 + 0.0035 (p & 255), r + 0.5 + 0.0035 (p >> 2)), p = H2(c, r), of the
// cells (i, j), (i, j-1), (i-1, j), (i-1, j-1). A non-zero sharpen blends
// toward max(0, 0.5 - F1) * value. 0 when nothing is found.
double Jitter_Cristal(const KVtables* t, double x, double y, double scale, double sharpen);

// Distance to the nearest point of the same 2x2 scheme (step 0.003) around
// (x + offset, y + offset), at most 1.0; *ox, *oy = the vector from that
// point to the shifted sample ((0, 0) when none lies within 1).
double CristalMap(const KVtables* t, double x, double y, double* ox, double* oy, double offset);

// Facet spaces: direction-scheme points (c + 0.5 - u.x, r + 0.5 - u.y) with
// u = unitDir2D[K & 255] and a per-cell weight p = perm[K & 1023] that
// enlarges cells with small p.
// Offset d from the nearest point times 1 + p amount / 1024 ((0, 0) when
// nothing is found).
void Jitter_FacetSpace(const KVtables* t, double x, double y, double* ox, double* oy,
                       double amount);
// The offset turned by (p - 512) / 512 * turnAmount radians (table sine) and
// scaled by 1 + perm[p] scaleAmount / 1024.
void Jitter_FacetSpaceRotate(const KVtables* t, double x, double y, double* ox, double* oy,
                             double scaleAmount, double turnAmount);
// Folded offsets (smooth absolute values, at least 0.25) smoothly blended
// over the near cells; *ox, *oy are read as the starting values (callers put
// 2.0 there).
void Jitter_FacetSpaceMirror(const KVtables* t, double x, double y, double* ox, double* oy,
                             double amount);
// The integer cell whose point is nearest ((0, 0) when nothing is found).
void Jitter_CTFacetSpace(const KVtables* t, double x, double y, int32_t* ci, int32_t* cj);

// Nearest of the points (c + 0.5 - 0.35 v.x, r + 0.5 - 0.35 v.y): *dmin in is
// the bound (callers pass 1.0), out the smallest squared distance below it;
// rgb = |grad2D| components of the winning cell's row key & 255 (entry 0 when
// no cell beat the bound).
void ColorBubble(const KVtables* t, double x, double y, double* dmin, double rgb[3]);

// Smoothly blended nearest-point colour over the eight corner cells in 3D
// (Euclidean distance); *dmin and rgb are read and updated.
void ColorBubble3D(const KVtables* t, double x, double y, double z, double* dmin, double rgb[3]);

// *dmin = min(*dmin, smallest squared distance to the points of the 3x3
// cells of layers cell(z) and cell(z) - 1).
void Bubble3D(const KVtables* t, double x, double y, double z, double* dmin);
