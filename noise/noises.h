// Value and gradient lattice noises.
//
// Every noise is a pure function of the document's tables and its
// coordinates: it keeps no state, so any number of threads may call it, each
// with its own tables or the same read-only ones.
//
// Coordinates are split into cell and fraction by truncation (one less for
// negative values), so a negative integer is evaluated in the cell below with
// fraction 1 and the noises are continuous across cell borders. A coordinate
// that is NaN or beyond the signed 32-bit range gives 0 (a vector noise sets
// each of its outputs to 0).
//
// Vector noises write their outputs through pointers; a third output marked
// "or null" may be null and is then skipped. `amp` multiplies every output.
#pragma once

#include "noise/kvtables.h"

// Value noises (hashed lattice values, blended).
double frandom1D_linear(const KVtables* t, double x);                  // linear blend, minus 511.5
double frandom1D(const KVtables* t, double x);                         // in [0, 1023]
double frandom1D_balanced(const KVtables* t, double x);                // frandom1D - 511.5
double frandom2D(const KVtables* t, double x, double y);               // in [0, 1023]
double frandom3D(const KVtables* t, double x, double y, double z);     // in [0, 1023]
double ftrirandom2D(const KVtables* t, double x, double y);            // in [0, 1023]
double ftrirandom3D(const KVtables* t, double x, double y, double z);  // in [0, 1023]
double frandom2DUnit(const KVtables* t, double x, double y);           // in [-1, 1)
double frandom2DUnitgrain(const KVtables* t, double x, double y);      // in [0, 1]
double frandom2D_Unitlinear(const KVtables* t, double x, double y);
void frandom2DVector2D(const KVtables* t, double x, double y, double* outX, double* outY,
                       double amp);
void frandom2DVector3D(const KVtables* t, double x, double y, double* out1, double* out2,
                       double* out3, double amp);
void flinrandomVector3D(const KVtables* t, double x, double y, double* out1, double* out2,
                        double* out3, double amp);
void frandom3DVector3D(const KVtables* t, double x, double y, double z, double* out1, double* out2,
                       double* out3OrNull, double amp);
void flinrandomVector(const KVtables* t, double x, double y, double* outX, double* outY,
                      double amp);

// Gradient noises (blended dot products of hashed gradients); 0 at lattice
// points unless stated otherwise.
double fPerlinNoise1D(const KVtables* t, double x);
double fPerlinNoise2D(const KVtables* t, double x, double y);
double fPerlinNoise2D_cubed(const KVtables* t, double x, double y);
double fPerlinLFO(const KVtables* t, double x, double y);
void fPerlinNoise2D_DBL(const KVtables* t, double x, double y, double* out1, double* out2,
                        double amp);
void fPerlinNoise2DVector3D(const KVtables* t, double x, double y, double* out1, double* out2,
                            double* out3OrNull);
// Unit-length plane gradients plus a small offset; at a lattice point the
// result is the corner's offset.
double fUnitPerlinNoise2D(const KVtables* t, double x, double y);
double fRidgedPerlinNoise2D(const KVtables* t, double x, double y);  // >= 0
double fSRidgednoise(const KVtables* t, double x, double y);         // >= 0
// Sparse noise; `density` > -1 (a density of exactly -1 gives 0).
double fsparcePerlinNoise2D(const KVtables* t, double x, double y, double density);
// Dunes of shape k; k = 2 flattens them to 0.
double fPerlinDunes(const KVtables* t, double x, double y, double shape);
void fPerlinNoise2DVector2D(const KVtables* t, double x, double y, double* out1, double* out2,
                            double amp);
double fUnitPerlinNoise3D(const KVtables* t, double x, double y, double z);
double fPerlinNoise3D(const KVtables* t, double x, double y, double z);  // 512 x unit
void fPerlinNoise3DVector3D(const KVtables* t, double x, double y, double z, double* out1,
                            double* out2, double* out3OrNull, double amp);
double fUnitPerlinCracks3D(const KVtables* t, double x, double y, double z);
double fUnitPerlinSaw2D(const KVtables* t, double x, double y);  // 0.5 at lattice points
double fUnitPerlinSaw3D(const KVtables* t, double x, double y, double z);
double frandom2D_Unitlinear2(const KVtables* t, double x, double y);

// Smooth interpolation in a 3x3 grid of values given row by row: (a, b, c) at
// v = 1, (d, e, f) at v = 0.5, (g, h, i) at v = 0; columns at u = 0, 0.5, 1.
double fPerlinLerp(double u, double v, short a, short b, short c, short d, short e, short f,
                   short g, short h, short i);
