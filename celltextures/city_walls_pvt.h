// Helpers the wall cells share.
#pragma once

#include <cstdint>

#include "celltextures/buildings_pvt.h"

namespace kvcell {

// The fine grain hash over the shifted point (a, b, c):
//   perm[(c + perm[(b + perm[a & 1023] + (a >> 9)) & 1023] + (b >> 9)) & 1023].
inline int32_t grainHash(const KVtables* t, int32_t a, int32_t b, int32_t c)
{
  return permChain3(t, a, b, c, a >> 9, b >> 9);
}

// The grain as a value in [0, 1).
inline double grain(const KVtables* t, int32_t a, int32_t b, int32_t c)
{
  return grainHash(t, a, b, c) / 1024.0;
}

// The grain added to the 32-unit stones and plates, by (g >> 3) & 3.
inline double plateGrain(int32_t g, double n)
{
  static constexpr double kFactor[4] = {1.0 / 16, 0.0125, 0.03, 0.0};
  return kFactor[(g >> 3) & 3] * n;
}

// A truncation toward zero of a value the wall rules keep small (hash
// fractions times small factors).
inline int32_t truncSmall(double v)
{
  return int32_t(v);
}

// The shifted course offset of the stone walls: (v + d) when `shifted`.
inline int32_t courseShift(int32_t v, int32_t d, bool shifted)
{
  return shifted ? offset(v, d) : v;
}

// The window test shared by the two window walls for g & 7 = 2, 3, 4.
struct WindowFrame
{
  int32_t xs, zs;  // the working point (shifted by 12 on odd 32-unit courses)
  int32_t X, Z;    // its positions in the 32-unit plates
  int32_t g;       // H(5; y, x', z')
};

inline WindowFrame windowFrame(const KVtables* t, int32_t x, int32_t y, int32_t z)
{
  const bool shifted = (y & 32) != 0;
  WindowFrame f{courseShift(x, 12, shifted), courseShift(z, 12, shifted), 0, 0, 0};
  f.X = f.xs & 31;
  f.Z = f.zs & 31;
  f.g = hash3(t, 5, y, f.xs, f.zs);
  return f;
}

}  // namespace kvcell
