#include "celltextures/tek_f21.h"

#include <algorithm>
#include <cmath>

#include "celltextures/techmotifs.h"
#include "noise/lattice.h"

namespace {

// |v| without the overflow of std::abs at INT32_MIN.
int64_t mag(int32_t v)
{
  return v < 0 ? -int64_t(v) : int64_t(v);
}

// Both |ix| <= nx and |iy| <= ny.
bool inBox(int32_t ix, int32_t iy, int64_t nx, int64_t ny)
{
  return mag(ix) <= nx && mag(iy) <= ny;
}

// The box nx x ny or its quarter turn.
bool inCross(int32_t ix, int32_t iy, int64_t n, int64_t m)
{
  return inBox(ix, iy, n, m) || inBox(ix, iy, m, n);
}

bool isEven(int32_t v)
{
  return (v & 1) == 0;
}

}  // namespace

double TEKCluster(const KVtables* t, int32_t ix, int32_t iy, double d)
{
  const int32_t a = ix >> 2, b = iy >> 2;
  const double base = 1 - double(std::max(mag(a), mag(b))) * d;
  const int32_t h = kvnoise::cellHash2(t, b, a);
  return base + (h / 1024.0 - base) * 0.25;
}

double TEKpyr(const KVtables*, int32_t ix, int32_t iy, double d)
{
  const double a = ix >> 2, b = iy >> 2;
  return 1 - std::sqrt(a * a + b * b) * d;
}

double TEKcube(const KVtables*, int32_t ix, int32_t iy, double)
{
  return inBox(ix, iy, 7, 7) ? 1 : 0;
}

double TEKbuildA(const KVtables*, int32_t ix, int32_t iy, double)
{
  if (inBox(ix, iy, 7, 7))
    return 1;
  if (inCross(ix, iy, 8, 5))
    return 0.75;
  if (inCross(ix, iy, 9, 2))
    return 0.5;
  return 0;
}

double TEKbuildB(const KVtables*, int32_t ix, int32_t iy, double)
{
  if (inBox(ix, iy, 6, 6))
    return 1;
  if ((inBox(ix, iy, 7, 5) && isEven(iy)) || (inBox(ix, iy, 5, 7) && isEven(ix)))
    return 0.75;
  if (inCross(ix, iy, 11, 2))
    return 0.133;
  if (inBox(ix, iy, 8, 8))
    return 0.125;
  return 0;
}

double TEKbuildC(const KVtables*, int32_t ix, int32_t iy, double)
{
  const int64_t a = mag(ix) >> 1, b = mag(iy) >> 1;
  double v = 0;
  if (inBox(ix, iy, 7, 7))
    v = a < 3 && b < 3 ? 1.5 : 0.75;
  else if (inBox(ix, iy, 8, 8) && ((a & 1) != 0 || (b & 1) != 0))
    v = 0.75;
  const auto fourOrFive = [](int64_t k) { return k == 4 || k == 5; };
  if ((fourOrFive(a) && fourOrFive(b)) || (a == 0 && b == 0))
    v += 0.25;
  if ((a == 0 || b == 0) && a < 12 && b < 12)
    v += 0.03125;
  return v;
}

double TEKbuildD(const KVtables*, int32_t ix, int32_t iy, double)
{
  double v = 0;
  if (inBox(ix, iy, 3, 3))
    v = 1;
  else if (inCross(ix, iy, 7, 3))
    v = 0.5;
  if (mag(ix) <= 1 || mag(iy) <= 1)
    v += 0.05;
  return v;
}

double LABTXT_CityBblock2D(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  return LABTXT_CityBblock(t, x, y, 0.0, code);
}
