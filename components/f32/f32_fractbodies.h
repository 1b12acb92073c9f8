// The per-octave bodies and vector bases of the f32 fractal displacement
// members: each turns one octave of a 3D noise into a two-valued
// displacement and decides how octaves combine. Record bodies follow the
// octave convention of noise/multifractal.h (octave -1 writes the far
// value, octave 0 sets the record, later octaves add); vector bases follow
// NoiseBasisProcVector3D.
#pragma once

#include "foundation/types.h"
#include "noise/kvtables.h"

// Vector bases of the multifractal cascade.
void f32mfractal(const KVtables* t, double x, double y, double z, double* o0, double* o1,
                 double* o2, double amp);
void fp3dRidged(const KVtables* t, double x, double y, double z, double* o0, double* o1, double* o2,
                double amp);

// Record bodies.
bool fpSilexdisplace(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                     double weight, short octave, dvector2d* d);
bool fpBridgeddisplace(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       double weight, short octave, dvector2d* d);
bool fpSierradisplace(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector2d* d);
bool fpZMFdisplace(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                   double weight, short octave, dvector2d* d);
bool fpZmultiperlin(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                    double weight, short octave, dvector2d* d);
bool fpCliffChaos(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                  double weight, short octave, dvector2d* d);
bool fp3dBubbles(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                 double weight, short octave, dvector2d* d);
bool fpoceanwaveletsfoam(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                         double weight, short octave, dvector2d* d);

// A rocky body on the tables alone that no member calls: ridges of a
// triangle-folded third noise component over the first two.
bool fpfutur7displace(const KVtables* t, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector2d* d);

// A ridged body on the tables alone that no member calls: nx and ny of a
// vector noise (amplitude w + 3) each folded into a soft triangle-wave ridge
// (the same 0.95 / 0.1 soft caps as fpfutur7displace), weighted by the
// smoothstep of 0.5 nz + 1. Octaves 0 and -1 first set d's elements 0 and 1
// to 0.08 and the state to 0 (octave -1 stops there); octave 0 sets them to
// the weighted ridges and the state to the weight; later octaves add
// weight * v times the ridges, v following the state as in fpfutur7displace.
// Element 2 of d is never written.
bool fp32ridgesA(const KVtables* t, double x, double y, double z, double w, double* state,
                 double weight, short octave, dvector3d* d);

// The shaping rules the bodies share.
namespace f32shape {
// -1 below -1, 1 above 1, a soft S between.
double softSign(double n);
// 1 - |n|.
double ridge(double n);
// a below T; above, bends toward the cap T + s/4. `capped` tells whether
// the cap was taken.
double softCap(double a, double T, double s, bool* capped = nullptr);
// u^2 (3 - 2u) on u clamped to 0..1.
double smooth(double u);
// The minimum squared distance (at most 1) from (x, y, z) to the jittered
// feature points of its cell's eight corners; 0 for a point off the lattice.
double cellDistance(const KVtables* t, double x, double y, double z);
// Gradient noise of the corner vectors; false for a point off the lattice.
bool gradientNoise(const KVtables* t, double x, double y, double z, double* g);
}  // namespace f32shape
