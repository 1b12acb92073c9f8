// Cell and corner bookkeeping shared by the noise sources of this folder.
#pragma once

#include <cstdint>

#include "noise/lattice.h"

namespace kvnoise {

struct Cell2
{
  int32_t ix, iy;
  double fx, fy;
};

struct Cell3
{
  int32_t ix, iy, iz;
  double fx, fy, fz;
};

inline bool split2(double x, double y, Cell2& c)
{
  return cellSplit(x, c.ix, c.fx) && cellSplit(y, c.iy, c.fy);
}

inline bool split3(double x, double y, double z, Cell3& c)
{
  return cellSplit(x, c.ix, c.fx) && cellSplit(y, c.iy, c.fy) && cellSplit(z, c.iz, c.fz);
}

// Table entries of the corners (ix, iy) and (ix + 1, iy); the corners at
// iy + 1 are the next entries.
struct Pair
{
  uint32_t a, b;
};

inline Pair offsetPair(Pair p, uint32_t offset, uint32_t mask)
{
  return {(p.a + offset) & mask, (p.b + offset) & mask};
}

inline Pair pair2D(const KVtables* t, const Cell2& c)
{
  return {hash2D(t, c.ix, c.iy), hash2D(t, nextCell(c.ix), c.iy)};
}

inline Pair pairPlane2D(const KVtables* t, const Cell2& c)
{
  return {hashPlane2D(t, c.ix, c.iy), hashPlane2D(t, nextCell(c.ix), c.iy)};
}

// The two layers of a 3D cell, at iz and iz + 1.
struct Layers
{
  Pair lo, hi;
};

inline Layers layers3D(const KVtables* t, const Cell3& c, uint32_t mask)
{
  int32_t ix1 = nextCell(c.ix), iz1 = nextCell(c.iz);
  return {{hash3D(t, c.ix, c.iy, c.iz, mask), hash3D(t, ix1, c.iy, c.iz, mask)},
          {hash3D(t, c.ix, c.iy, iz1, mask), hash3D(t, ix1, c.iy, iz1, mask)}};
}

inline Layers offsetLayers(Layers l, uint32_t offset, uint32_t mask)
{
  return {offsetPair(l.lo, offset, mask), offsetPair(l.hi, offset, mask)};
}

// Bilinear blend of corner values q(entry, cx, cy), cx, cy in {0, 1}.
template <class Corner>
inline double blend2D(Pair p, Corner q, double wx, double wy)
{
  return bilinear(q(p.a, 0, 0), q(p.b, 1, 0), q(p.a + 1, 0, 1), q(p.b + 1, 1, 1), wx, wy);
}

// Blend of a cell cut along its diagonal, corner values q(entry, cx, cy).
template <class Corner>
inline double triangle2D(Pair p, Corner q, double fx, double fy)
{
  return triangleBlend(q(p.a, 0, 0), q(p.b, 1, 0), q(p.a + 1, 0, 1), q(p.b + 1, 1, 1), fx, fy);
}

// Trilinear blend of corner values q(entry, cx, cy, cz).
template <class Corner>
inline double blend3D(Layers l, Corner q, double wx, double wy, double wz)
{
  auto layer = [&](Pair p, int cz) {
    return bilinear(q(p.a, 0, 0, cz), q(p.b, 1, 0, cz), q(p.a + 1, 0, 1, cz), q(p.b + 1, 1, 1, cz),
                    wx, wy);
  };
  return lerp(layer(l.lo, 0), layer(l.hi, 1), wz);
}

inline void setIfPresent(double* out, double value)
{
  if (out)
    *out = value;
}

// Zeroes the outputs of a vector noise or driver; the third is optional.
inline void zeroOutputs(double* out1, double* out2, double* out3OrNull = nullptr)
{
  *out1 = 0.0;
  *out2 = 0.0;
  setIfPresent(out3OrNull, 0.0);
}

// The cell of a vector noise's sample; where (x, y) has none, the outputs
// are zeroed and the result is false.
inline bool split2OrZero(double x, double y, Cell2& c, double* out1, double* out2,
                         double* out3OrNull = nullptr)
{
  if (split2(x, y, c))
    return true;
  zeroOutputs(out1, out2, out3OrNull);
  return false;
}

inline bool split3OrZero(double x, double y, double z, Cell3& c, double* out1, double* out2,
                         double* out3OrNull = nullptr)
{
  if (split3(x, y, z, c))
    return true;
  zeroOutputs(out1, out2, out3OrNull);
  return false;
}

// Fade of the octave at frequency f beyond the band limit of the octave
// drivers: 1 at f = fmax, 0 at f = fmax * L (c = 1 - 1/L); negative beyond.
inline double bandFade(double f, double fmax, double c)
{
  return 1.0 - (f - fmax) / (f * c);
}

}  // namespace kvnoise
