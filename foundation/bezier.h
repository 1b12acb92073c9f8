// Cubic Bezier evaluation for animation keys, in one and three dimensions.
// Pure functions, safe on any thread.
#pragma once

#include "foundation/types.h"

// The cubic Bezier p0, p1, p2, p3 at t in power form; writes the derivative
// to *derivative when it is not null.
double Bezier_Evaluate(double p0, double p1, double p2, double p3, double t,
                       double* derivative = nullptr);

// The tangent offset at a key from the difference to the previous key (d0)
// and to the next (d1), times `scale`. Equal differences give their mean; a
// zero difference on either side, or opposite signs of equal size, give a
// flat tangent.
double Bezier_TGT(double d0, double d1, double scale);

// The value between keys p1 (t = 0) and p2 (t = 1) with neighbours p0 and p3.
// A neighbour equal to its key marks the first or last key.
double Bezier_lerp(double p0, double p1, double p2, double p3, double t);

// The two inner control points between keys k1 and k2 with neighbours
// `previous` and `next`. Passing k1 itself as `previous` (or k2 as `next`)
// marks the first (last) key.
void Bezier3D_controlpoint(const dvector3d* previous, const dvector3d* k1, const dvector3d* k2,
                           const dvector3d* next, dvector3d* c1, dvector3d* c2);

// The point between k1 (t = 0) and k2 (t = 1), with the per-axis derivative in
// *tangent when it is not null.
void Bezier3D_lerp(const dvector3d* previous, const dvector3d* k1, const dvector3d* k2,
                   const dvector3d* next, dvector3d* point, dvector3d* tangent, double t);
