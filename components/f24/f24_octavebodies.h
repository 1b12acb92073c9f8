// The per-octave bodies of the f24 fractal-noise members, in the record-body
// form of noise/multifractal.h: (F, x, y, z, w, state, weight, octave, acc).
//
// Coordinates arrive multiplied by the octave frequency; w is the member's
// shape value; weight is the product of the gains so far. Octave 0 fills the
// accumulator and the state, later octaves add to them, and octave -1 (called
// at the origin) writes the far value: what stands for the relief beyond the
// band limit. While F->reliefPass is set only the altitude is wanted and the
// bodies skip their colour work. P1 and P2 are F->paramA and F->paramB.
//
// The bodies of the swap-and-turn driver return the truth value that picks
// its turn; the others return false. They read the tables through
// F->tables and keep no state of their own.
#pragma once

#include "foundation/types.h"
#include "noise/kvtables.h"

// Layout L0 (altitude in acc.x, R, G, B in y, z, w): ridged, facets,
// granite, multifractal, sparse, dome rock, dunes, lichen, rocks, curves,
// cracks. Layout L3 (R, G, B in x, y, z, altitude in w): random domes,
// pebbles, veins.
bool fp4ridgednoise(fractalsinfos* F, double x, double y, double z, double w, double* state,
                    double weight, short octave, dvector4d* acc);
bool fp4dFacets(fractalsinfos* F, double x, double y, double z, double w, double* state,
                double weight, short octave, dvector4d* acc);
bool fp4MFlunargranit(fractalsinfos* F, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector4d* acc);
bool fp4MF2dnoise(fractalsinfos* F, double x, double y, double z, double w, double* state,
                  double weight, short octave, dvector4d* acc);
bool fp4sparceMFnoise(fractalsinfos* F, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector4d* acc);
bool fp4domerock(fractalsinfos* F, double x, double y, double z, double w, double* state,
                 double weight, short octave, dvector4d* acc);
// Stops adding once weight - 0.025 <= acc.w: the octave cannot raise the
// relief any more.
bool fp4RandomDomes(fractalsinfos* F, double x, double y, double z, double w, double* state,
                    double weight, short octave, dvector4d* acc);
bool fp4dLichenRocks(fractalsinfos* F, double x, double y, double z, double w, double* state,
                     double weight, short octave, dvector4d* acc);
bool fp4dirtyBubbles(fractalsinfos* F, double x, double y, double z, double w, double* state,
                     double weight, short octave, dvector4d* acc);
bool fp4beachrocks(fractalsinfos* F, double x, double y, double z, double w, double* state,
                   double weight, short octave, dvector4d* acc);
// Only octaves 0 and 6 contribute (6: wind ripples where P2 > 0); octave 0
// writes P2.
bool fp4dunes(fractalsinfos* F, double x, double y, double z, double w, double* state,
              double weight, short octave, dvector4d* acc);
// Returns v >= 0; octaves above 3 only return it.
bool fp4earthcracks(fractalsinfos* F, double x, double y, double z, double w, double* state,
                    double weight, short octave, dvector4d* acc);
// Returns n < 0.
bool fp4rivernoiseCD(fractalsinfos* F, double x, double y, double z, double w, double* state,
                     double weight, short octave, dvector4d* acc);
// Returns v < 0; colours may go negative (the member clips them).
bool fp4rivernetworks(fractalsinfos* F, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector4d* acc);

// Two-value bodies: displacement passes (d = a vector to move the point by)
// and the cloud densities (cloud, toward the light).
bool fpbeachrockdisplace2D(fractalsinfos* F, double x, double y, double z, double w, double* state,
                           double weight, short octave, dvector2d* d);
bool fpMFdisplace2D(fractalsinfos* F, double x, double y, double z, double w, double* state,
                    double weight, short octave, dvector2d* d);
bool fp2dclouds(fractalsinfos* F, double x, double y, double z, double w, double* state,
                double weight, short octave, dvector2d* d);

// Shaping shared by the bodies (exposed for the tests).
// The soft maximum of a and b: a while b + span/4 < a, b once b exceeds a
// by span/4, a parabola between.
double f24_softMax(double a, double b, double span);
// The soft minimum of a and b, the mirror of f24_softMax.
double f24_softMin(double a, double b, double span);
// c floored softly at 0: c above 0.01, 0 below -0.01, a parabola between.
double f24_softFloor(double c);
