// Small inline helpers shared by the lattice noises: the cell split of a
// coordinate, the permutation hashes, the fades and the interpolations.
//
// Cell indices are signed 32-bit values; every sum that feeds a hash is done
// in unsigned arithmetic and masked, so any cell index (and any value stored
// in perm) hashes without overflow and without reading out of bounds.
#pragma once

#include <cstdint>

#include "foundation/checked.h"
#include "noise/kvtables.h"

namespace kvnoise {

// Cell and fraction of a coordinate: truncation for v >= 0, truncation minus
// one for v < 0, so a negative integer lies in the cell below with fraction 1.
// False for NaN and coordinates beyond the signed 32-bit range; the noises
// then return 0.
inline bool cellSplit(double v, int32_t& cell, double& frac)
{
  kvnum::LatticeSplit s;
  bool ok = kvnum::lattice_trunc_split(v, s);
  cell = s.cell;
  frac = s.frac;
  return ok;
}

// The next cell index, wrapping like 32-bit hardware arithmetic.
inline int32_t nextCell(int32_t i)
{
  return int32_t(uint32_t(i) + 1u);
}

// Unsigned sum of three table-index terms (wraps instead of overflowing).
inline uint32_t usum(int32_t a, int32_t b, int32_t c = 0)
{
  return uint32_t(a) + uint32_t(b) + uint32_t(c);
}

// 1D hash: perm[(perm[i & 1023] + (i >> 8)) & 1023].
inline int32_t hash1D(const KVtables* t, int32_t i)
{
  return t->perm[usum(t->perm[i & 1023], i >> 8) & 1023u];
}

// 2D index into perm, grad2D or rndVec3D (mask 1023), or into unitDir2D
// (mask 255); (ix, iy + 1) is the next entry.
inline uint32_t hash2D(const KVtables* t, int32_t ix, int32_t iy, uint32_t mask = 1023u)
{
  return usum(iy, t->perm[ix & 1023], ix >> 8) & mask;
}

// Column key K(i, j) = j + perm[i & 1023] + (i >> 9), unmasked: the rows
// j, j + 1, ... of one column are consecutive keys.
inline uint32_t columnKey(const int32_t* perm, int32_t i, int32_t j)
{
  return usum(j, perm[i & 1023], i >> 9);
}

// The same hash with the column index shifted by 9, as the triangle value
// noise (mask 1023) and the plane gradients (mask 255) use it.
inline uint32_t hash2DCoarse(const KVtables* t, int32_t ix, int32_t iy, uint32_t mask)
{
  return columnKey(t->perm, ix, iy) & mask;
}

// The cell hashes of the cell, spot, region, maze and technical patterns,
// over a permutation of 1024 entries (any stored values index safely).
// H2(i, j) = perm[K(i, j) & 1023].
inline int32_t cellHash2(const int32_t* perm, int32_t i, int32_t j)
{
  return perm[columnKey(perm, i, j) & 1023u];
}
inline int32_t cellHash2(const KVtables* t, int32_t i, int32_t j)
{
  return cellHash2(t->perm, i, j);
}

// H3(a, b, c) = perm[(c + H2(a, b) + (b >> 9)) & 1023].
inline int32_t cellHash3(const int32_t* perm, int32_t a, int32_t b, int32_t c)
{
  return perm[usum(c, cellHash2(perm, a, b), b >> 9) & 1023u];
}
inline int32_t cellHash3(const KVtables* t, int32_t a, int32_t b, int32_t c)
{
  return cellHash3(t->perm, a, b, c);
}

// 2D index into planeVec3D; (ix, iy + 1) is the next entry.
inline uint32_t hashPlane2D(const KVtables* t, int32_t ix, int32_t iy)
{
  return hash2DCoarse(t, ix, iy, 255u);
}

// 3D index; mask 1023 for perm, grad2D and rndVec3D, 255 for planeVec3D.
// (ix, iy + 1, iz) is the next entry; iz + 1 is hashed by the caller.
inline uint32_t hash3D(const KVtables* t, int32_t ix, int32_t iy, int32_t iz, uint32_t mask)
{
  uint32_t inner = usum(iz, t->perm[ix & 1023], ix >> 9) & 1023u;
  return usum(iy, t->perm[inner]) & mask;
}

// Smoothstep fade (3 - 2t) t^2 and the fade applied twice.
inline double smooth(double t)
{
  return (3.0 - 2.0 * t) * t * t;
}
inline double smooth2(double t)
{
  return smooth(smooth(t));
}

inline double lerp(double a, double b, double w)
{
  return a + (b - a) * w;
}

// q_xy are the corner values: q10 is the corner at ix + 1, q01 at iy + 1.
inline double bilinear(double q00, double q10, double q01, double q11, double wx, double wy)
{
  return lerp(lerp(q00, q10, wx), lerp(q01, q11, wx), wy);
}

// Blend of a cell cut along its diagonal fx = fy.
inline double triangleBlend(double q00, double q10, double q01, double q11, double fx, double fy)
{
  if (fx > fy)
    return q00 * (1.0 - fx) + q11 * fy + q10 * (fx - fy);
  return q00 * (1.0 - fy) + q11 * fx + q01 * (fy - fx);
}

// Soft ramp: 0 for t <= 0, 1 for t >= 1, linear in between with rounded
// corners whose sharpness grows with n (5 or 20). `invSpan` is 1 / (n - 0.5),
// written as the product the ramp has always used.
template <int n>
inline double softRamp(double t)
{
  constexpr double invSpan = (n == 5) ? 0.2 / 0.9 : 0.05 / 0.975;
  static_assert(n == 5 || n == 20, "the ramp is defined for n = 5 and n = 20");
  double u = t < 0.0 ? 0.0 : (t > 1.0 ? double(n) : n * t);
  double a = u < 0.5 ? u * u + 0.25 : u;
  double b = a - (n - 1);
  double c = b > 0.5 ? (2.0 - b) * b - 0.25 + (n - 1) : a;
  return (c - 0.25) * invSpan;
}

}  // namespace kvnoise
