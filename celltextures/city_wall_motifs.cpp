// Motifs on 16-unit cells and the colour cycle of the wall cells.
#include <algorithm>
#include <cstdlib>

#include "celltextures/city_walls.h"
#include "celltextures/city_walls_pvt.h"
#include "foundation/colormath.h"

using kvcell::grain;
using kvcell::hash3;
using kvcell::offset;
using kvcell::permChain3;
using kvcell::putCode;
using kvcell::truncSmall;
using kvcell::within;

namespace {

// The distance of the point to the faces of its cell of 16 (or 64) units:
// half the size less the largest distance from the centre.
int32_t faceDistance(int32_t x, int32_t y, int32_t z, int32_t mask, int32_t half)
{
  return half - std::max({std::abs((x & mask) - half), std::abs((y & mask) - half),
                          std::abs((z & mask) - half)});
}

// All three positions in the 64-unit block lie in [lo, hi].
bool inBlock64(int32_t x, int32_t y, int32_t z, int32_t lo, int32_t hi)
{
  return within(x & 63, lo, hi) && within(y & 63, lo, hi) && within(z & 63, lo, hi);
}

struct MotifPoint
{
  int32_t X, Y, Z, d, h;
  double n;
};

MotifPoint motifPoint(const KVtables* t, int32_t x, int32_t y, int32_t z)
{
  return {x & 15,           y & 15, z & 15, faceDistance(x, y, z, 15, 8), hash3(t, 4, x, y, z),
          grain(t, x, y, z)};
}

// A hue angle in whole degrees, wrapped into 0..359 (NaN or out of range: 0).
double hueAngle(double turns)
{
  int32_t degrees = 0;
  kvnum::trunc_i32(turns * 360.0, degrees);
  return double(((degrees % 360) + 360) % 360);
}

}  // namespace

double LABTXT3D_MotifA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, -70, 0.0);
  const MotifPoint p = motifPoint(t, x, y, z);
  const int32_t d8 = 6 - (8 - faceDistance(offset(x, 8), offset(y, 8), offset(z, 8), 15, 8));
  if (p.d >= d8) {
    if (p.X != 0 && p.Y != 0 && p.Z != 0)
      putCode(code, truncSmall(-(((p.h >> 3) & 31) + 70 + 16 * (4 * p.n + p.d))), 0.0);
    return p.d / 8.0;
  }
  return putCode(code, std::min(15, truncSmall(4 * (4 * p.n + d8))), d8 / 8.0);
}

double LABTXT3D_MotifB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const MotifPoint p = motifPoint(t, x, y, z);
  const int32_t m = p.h >> 3;
  const double tile = p.X != 0 && p.Y != 0 && p.Z != 0 ? ((m & 7) + p.n / 4) / 12 + 0.0625 : 0.0;
  int32_t b = 0;
  double level = 0.09 * p.n;
  if (inBlock64(x, y, z, 3, 61)) {
    b = faceDistance(x, y, z, 63, 32) >> 2;  // (32 - D) >> 2
    level = tile / 8 + 0.75 + 0.25 * std::min(b, 2);
  }
  if (b <= p.d)
    return putCode(code, (truncSmall(4 * p.n) + m) & 15, level);
  return putCode(code, truncSmall(-((m & 31) + 80 + 16 * (p.d + 4 * p.n))), level);
}

double LABTXT3D_MotifC(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, -70, 0.0);
  const MotifPoint p = motifPoint(t, x, y, z);
  bool edge = p.X == 0 || p.Y == 0 || p.Z == 0;
  int32_t d = p.d;
  const int32_t Y6 = y >> 6;
  if ((Y6 & 7) == 0) {
    edge = false;
    d = (y & 7) < 5 ? 3 : 0;
  }
  const int32_t e =
      (Y6 & 3) != 0 && inBlock64(x, y, z, 8, 56) ? faceDistance(x, y, z, 63, 32) + 1 : 0;
  if (d >= e && y > 0) {
    if (edge)
      return putCode(code, 0, 0.0);
    const int32_t lv = std::min(d, 2);
    const int32_t shade = (permChain3(t, Y6, x >> 4, z >> 4, y >> 15, x >> 13) >> 3) & 7;
    return putCode(code, std::min(15, lv + shade + truncSmall(4 * p.n)), lv / 8.0);
  }
  const int32_t e5 = std::min(e, 5);
  putCode(code, truncSmall(-(((p.h >> 3) & 31) + 5 * e5 + 80 + 32 * p.n)), 0.0);
  if (y >= 1)
    return e5 / 8.0;
  if (p.X == 0 || p.Z == 0)
    return -0.125;
  return e5 >= 3 ? 0.125 : 0.0;
}

void Get16ColorsShade(floatcolor out[16], double hue, double spread, uint8_t saturation,
                      uint8_t lightness, uint8_t lightStep)
{
  normalcolor keys[3];
  // The outer keys' lightness is kept to the byte range: below 0 is black,
  // above 255 white.
  const int32_t light = lightness, step = lightStep;
  myHSLtoRGB(hueAngle(hue - spread), saturation, std::max(0, light - step), &keys[0]);
  myHSLtoRGB(hueAngle(hue), saturation, light, &keys[1]);
  myHSLtoRGB(hueAngle(hue + spread), saturation, std::min(255, light + step), &keys[2]);
  for (int i = 0; i < 16; i++) {
    double r = 0, g = 0, b = 0;
    fcolorgradient(keys, 3, i / 16.0, &r, &g, &b);
    out[i] = {float(r), float(g), float(b)};
  }
}
