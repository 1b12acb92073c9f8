// Per-octave bodies of the f34 3D colour textures, handed to the record
// drivers of noise/multifractal.h. Each body starts the four-double
// accumulator at octave 0 (octave -1 leaves the far value there), adds its
// octave's part to the value and, unless the record's altitude-only flag is
// set, to the colour. The record's paramA and paramB are the member's p1
// and p2; nodeParams points at its colour table (RGB rows).
//
// Accumulator order: RGBv is (R, G, B, value) in x, y, z, w; vRGB is
// (value, R, G, B).
#pragma once

#include "noise/multifractal.h"

// RGBv.
bool fp4granitrocks(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                    short i, dvector4d* acc);
bool fp4silexrocks(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                   short i, dvector4d* acc);
bool fp4icecracks(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                  short i, dvector4d* acc);
bool fp4fracturedrocks(fractalsinfos* F, double x, double y, double z, double P, double* s,
                       double a, short i, dvector4d* acc);
bool fp3dFBubbles(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                  short i, dvector4d* acc);
// Colours on the scale of 8, from the member's five table rows.
bool fp4fractBubbles(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                     short i, dvector4d* acc);
// Fills a displacement (dx, dy, dz) in x, y, z of the accumulator.
bool fpMFdisplace3D(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                    short i, dvector4d* acc);
bool fp4zMFnoise(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                 short i, dvector4d* acc);
// vRGB.
bool fp4MF3dnoise(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                  short i, dvector4d* acc);
bool fp4colorpatchwork(fractalsinfos* F, double x, double y, double z, double P, double* s,
                       double a, short i, dvector4d* acc);
bool fp4lunarrock(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                  short i, dvector4d* acc);
bool fp4ridged(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
               short i, dvector4d* acc);
bool fp4greenmarble(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                    short i, dvector4d* acc);
// Over (X, Y): discs of a 3 x 3 feature search whose radius grows with p1.
bool fp4zBushes(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                short i, dvector4d* acc);
// Bodies that no member drives yet. RGBv: bubbles of the nearest feature
// among the eight cells around the point.
bool fp3dFBubblesPos(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                     short i, dvector4d* acc);
// vRGB, over (X, Y): rock plates from the two nearest features of a 3 x 3
// search (their edge difference).
bool fp4voronrock(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                  short i, dvector4d* acc);
bool fpfibrousrock(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                   short i, dvector4d* acc);
bool fpZgrainrock(fractalsinfos* F, double x, double y, double z, double P, double* s, double a,
                  short i, dvector4d* acc);

namespace f34body {
// The smooth nearest-feature distance of the bubble bodies: over the eight
// lattice cells around (x, y, z), each feature its cell corner plus jitter ×
// its random vector, d starts at 1 and each squared distance lowers it by a
// smooth minimum (width 0.05, offset 0.0125). 0 where the point has no
// lattice cell.
double bubbleDistance(const KVtables* t, double x, double y, double z, double jitter);
// Smooth step: 0 below 0, 1 above 1, (3 - 2t) t^2 between.
double S(double t);
// Soft clamp: -1 at or below -1, 1 at or above 1, u (2 - |u|) between.
double softClamp(double u);
// Bend: a^2 below 0.5, a - 0.25 from there.
double bend(double a);
}  // namespace f34body
