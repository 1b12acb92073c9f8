// Terrain bodies of the theme filter: lattice helpers over the document's
// permutation (strata layers, red-rock blocks, a saw-ridged value noise) and
// the per-octave bodies the themes hand to the record drivers of
// noise/multifractal.h.
//
// Every body has the record-body form (fi, x, y, z, w, carried, amplitude,
// octave, result): `w` is the caller's weight, `carried` the value passed
// from octave to octave, `amplitude` the driver's weight for this octave.
// Octave -1 writes the value that stands for everything beyond the band
// limit, octave 0 starts the sum and later octaves add to it. Bodies read
// body parameters 1 and 2 as fi->paramA and fi->paramB, the smoothing
// accumulator as fi->accumulator and the altitude-only flag as
// fi->reliefPass; they write fi only where noted (the accumulator).
//
// Colour records hold colours on the component scale (8 is full intensity).
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "noise/kvtables.h"

// ---- Shaping ----

// (2 - t) t below 1, 1 from 1 on.
inline double terrainEase(double t)
{
  return t < 1.0 ? (2.0 - t) * t : 1.0;
}

// (3 - 2t) t^2 on [0, 1], 0 below, 1 above (NaN gives 0).
inline double terrainSmoothstep(double t)
{
  if (!(t > 0.0))
    return 0.0;
  return t >= 1.0 ? 1.0 : (3.0 - 2.0 * t) * t * t;
}

// ---- Lattice helpers ----

// The strata value of layer n, within about -0.667 to 0.665.
double LABTXT_density(const KVtables* t, int32_t n);
// A red-rock block value in [0, 1023/1024] from i alone.
double LABTXT_redrocks(const KVtables* t, int32_t i, int32_t j, int32_t k);
// As LABTXT_redrocks with mortar lines: exactly 0.05 where j is a multiple
// of 32.
double LABTXT_redrocks2(const KVtables* t, int32_t i, int32_t j, int32_t k);
// A 3D value noise with a horizontal saw ridge in y; 0 for a coordinate with
// no lattice cell (NaN, infinities, the no-value marker, beyond 32 bits).
double frandom3Dsaw(const KVtables* t, double x, double y, double z);
// The 1D lattice value at v: the first components of the random vectors of
// the cell's two ends, blended by smoothstep and halved; 0 where v has no
// cell.
double terrainLattice1D(const KVtables* t, double v);

// Band-limited details of scale k that fade out as they approach the pixel
// scale m: sand ripples and grass blades (Grass & Bushes uses k = 64).
double SmallDuneNoise(const fractalsinfos* fi, double x, double y, double k, double m);
double LimitGrassNoise(const fractalsinfos* fi, double x, double y, double k, double m);

// ---- Scalar bodies ----

// The scalar body form, as the drivers call it.
using TerrainScalarBody = bool (*)(fractalsinfos* fi, double x, double y, double z, double w,
                                   double* carried, double amplitude, short octave, double* result);

bool fp1fracturedrocksB(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                        double amplitude, short octave, double* result);
bool fp1fracturedrocksC(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                        double amplitude, short octave, double* result);
bool fp1fracturedrocksD(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                        double amplitude, short octave, double* result);
bool fp1Erosion(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                double amplitude, short octave, double* result);
// Also writes fi->accumulator.
bool fp1fractrocks(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                   double amplitude, short octave, double* result);
bool fp1fracturedWrock(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                       double amplitude, short octave, double* result);
bool fp1fracturedRedRock(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                         double amplitude, short octave, double* result);
bool fp1fractgrass(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                   double amplitude, short octave, double* result);
// Also writes fi->accumulator.
bool fp1fractBushes(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                    double amplitude, short octave, double* result);

// Bodies no theme selects; each sets the accumulator at octave 0.
bool fp1fractfoliage(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                     double amplitude, short octave, double* result);
bool fp1fractRockyBush(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                       double amplitude, short octave, double* result);
bool fp1fractforest(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                    double amplitude, short octave, double* result);

// ---- Record bodies ----

// Pebbles: (red, green, blue, value) in (x, y, z, w).
bool fp4fractStonesNoise(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                         double amplitude, short octave, dvector4d* rec);
// Conifer canopy: (value, red, green, blue) in (x, y, z, w).
bool fp4fractCforest(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                     double amplitude, short octave, dvector4d* rec);
// Leaves and bushes: (value, red, green, blue) in (x, y, z, w).
bool fp4fractfoliage(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                     double amplitude, short octave, dvector4d* rec);
