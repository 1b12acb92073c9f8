// Feature-point motifs around the lattice points near a sample: circular
// spots (2D and 3D, with a colour per spot), sparse spots with spot-local
// coordinates, cones, twirls and bubble displacements of the plane,
// displacements toward or away from jittered circles, and two circle-geometry
// helpers.
//
// Most members add into accumulators the caller owns and initialises, so a
// caller can sum several calls (octaves, offset copies) into one result.
// All are pure functions of the tables and their arguments; they allocate
// nothing and may run on any number of threads at once. A coordinate whose
// lattice cell is not defined (NaN, or beyond the 32-bit lattice) adds
// nothing; functions that return a value return 0 there.
#pragma once

#include <cstdint>

#include "noise/kvtables.h"

// Spot geometry: the spot radius and its square, the jitter of a spot centre
// in x and y, and the jitter in z (four times the plane jitter, not its
// square).
inline constexpr double spotradius = 0.17;
inline constexpr double spotradiusSQ = 0.0289;
inline constexpr double jitterradius = 0.33;
inline constexpr double jitterradius4 = 1.32;

// Adds the circular spot of the sample's own cell to *acc. Cells with a hash
// of 563 or more hold no spot.
void Spots2D(const KVtables* t, double x, double y, double* acc);

// Sparse spots: only cells whose hash is below `threshold` (0..1024) hold a
// spot. Returns the spot profile (0 outside, at most 3.75); out[0], out[1] =
// the sample's offset from the spot centre (-0.5, -0.5 outside any spot),
// out[2] = a per-cell value in 0..63/64.
double Jitter_SparceSpotXYA(const KVtables* t, double x, double y, int32_t threshold,
                            double out[3]);

// Adds the 3D spot of the sample's own cell to *acc.
void Spots3D(const KVtables* t, double x, double y, double z, double* acc);

// As Spots3D; also adds the spot's weight times three per-spot hash values
// (0..1023, not normalised) to rgb.
void Spots3Dcolor(const KVtables* t, double x, double y, double z, double rgb[3], double* acc);

// *h = the highest of *h and the cone heights of the nine nearby jittered
// points; a cone has radius 1 / size.
void Jitter_Cones(const KVtables* t, double x, double y, double* h, double size);

// Adds to (*dx, *dy) the twirl displacement of the nine nearby points: each
// turns the plane around itself by up to `angle` radians near its centre.
void Jitter_Twirl(const KVtables* t, double x, double y, double* dx, double* dy, double angle);

// Adds to (*dx, *dy) the bubble displacement of the nine nearby points, each
// pushing the plane away within a radius of 1 / sqrt(k).
void Jitter_VecBubble(const KVtables* t, double x, double y, double* dx, double* dy, double k);

// Writes the summed outward push toward the rim of the (up to four) jittered
// circles that contain (x + offset, y + offset); (0, 0) outside every circle.
void jitteredCircleMap(const KVtables* t, double x, double y, double* ox, double* oy,
                       double offset);

// Writes (x, y) displaced by the bumps of up to four jittered centres of the
// lattice scaled by freq; a bump falls off with k times the squared distance
// and is scaled by amount.
void jitteredCircleInverts(const KVtables* t, double x, double y, double* ox, double* oy, double k,
                           double freq, double amount);

// Adds one bump centred at the origin to (*ox, *oy).
void localinversion(double x, double y, double* ox, double* oy, double k, double amount);

// The circle through three points: 1 and out = (centre x, centre y, radius
// squared), or 0 (out untouched) when two arguments are the same array or
// the points are collinear.
int32_t FindCircleFrom3P(const double p0[2], const double p1[2], const double p2[2], double out[3]);

// The intersection points P and Q of the circles (x0, y0, r0) and (x1, y1, r1).
// Returns 1 when the circles meet (P == Q for tangent circles). Returns 0 when
// they do not: P = Q = the foot of the radical line on the line of centres, or
// the common centre when the centres coincide.
int32_t CircleIntersects(double x0, double y0, double x1, double y1, double r0, double r1,
                         double P[2], double Q[2]);
