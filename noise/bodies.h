// Per-octave bodies of the rock, sparse-fractal and facet-rock noises, run by
// the parameterised drivers of noise/multifractal.h.
//
// Each body shapes one octave from the lattice noises and carries a mask or
// weight to the next octave through the driver's state double. They read
// the tables through fi->tables and keep no state of their own; two of them
// (fpnoise_stonescluster, fpnoise_sharpdrock) use fi->paramA / fi->paramB as
// scratch between the octaves of one sample, which is safe because every
// evaluating thread owns its `fractalsinfos`.
//
// Colours are doubles on the 0..255 scale of the document's colour gradient
// (fi->tables->gradientKeys). A null fi->nodeParams reads as zero colours.
#pragma once

#include "foundation/types.h"
#include "noise/kvtables.h"

// Record bodies: (fi, x, y, z, w, state, weight, octave, out); octave -1
// writes the far value (see noise/multifractal.h).

// Crack rocks from fUnitPerlinCracks3D scaled by fi->paramA * 10, one
// double used. Far value 0.25 (state not written). Returns whether the crack
// noise was negative, which picks the turn of the swap-and-turn drivers.
// The dvector4d form works on out->x only, for MFPsw_procptr.
bool fp1fracturedrocks(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       double weight, short octave, double* out);
bool fp1fracturedrocks(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       double weight, short octave, dvector4d* out);

// Sharp cellular minimum (chessboard distance to jittered corner points)
// with a colour per feature point from the gradient: out = (R, G, B,
// height). Far value (node colour, 0.125), state not written. The node
// colour is the first three doubles at fi->nodeParams. Returns false.
bool fpssharpminnoise(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector4d* out);

// Facet rocks: raised rounded panels merged into acc = (R, G, B, height) by
// smooth maxima. fi->nodeParams points at six doubles: the far colour, then
// the base colour. `weight` is the driver's pass-through parameter,
// `amplitude` its running octave weight. Far value (far colour, 0.5) with
// *state = 0.2. Returns false.
bool fp4futur(fractalsinfos* fi, double x, double y, double z, double weight, double* state,
              double amplitude, short octave, dvector4d* acc);

// Scalar 2D bodies for Multifractal2Dparam_procptr: (fi, x, y, w, state,
// octave) -> this octave's value (scale about 0..512).
double fpnoise_sparcefractale(fractalsinfos* fi, double x, double y, double w, double* state,
                              short octave);
double fpnoise_stonescluster(fractalsinfos* fi, double x, double y, double w, double* state,
                             short octave);
double fpnoise_bubblerock2D(fractalsinfos* fi, double x, double y, double w, double* state,
                            short octave);
double fpnoise_lunarrock2D(fractalsinfos* fi, double x, double y, double w, double* state,
                           short octave);
double fpnoise_fridgedtomfe(fractalsinfos* fi, double x, double y, double w, double* state,
                            short octave);
double fpnoise_sharpdrock(fractalsinfos* fi, double x, double y, double w, double* state,
                          short octave);
