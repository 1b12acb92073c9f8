// Concrete, plates with windows and bricks.
#include "celltextures/city_walls.h"
#include "celltextures/city_walls_pvt.h"

using kvcell::courseShift;
using kvcell::grain;
using kvcell::grainHash;
using kvcell::hash3;
using kvcell::offset;
using kvcell::outside;
using kvcell::permChain2;
using kvcell::permChain3;
using kvcell::plateGrain;
using kvcell::putCode;
using kvcell::truncSmall;
using kvcell::WindowFrame;
using kvcell::windowFrame;
using kvcell::within;

namespace {

constexpr int16_t kWindowCode = -1;
constexpr double kWindowLevel = -2.0;

double window(int16_t* code)
{
  return putCode(code, kWindowCode, kWindowLevel);
}

bool insideConcretePanel(int32_t x, int32_t y, int32_t z)
{
  return within(y & 127, 2, 126) && (x & 63) != 0 && within(z & 255, 3, 253);
}

// The plate value of PlatesNWindow by g & 7; `window` is set where a window
// is cut. A value that is not above 0 is a joint.
double plateValue(int32_t g, int32_t X, int32_t Y, int32_t Z, int32_t y, bool& isWindow)
{
  const int32_t kind = g & 7;
  if (kind <= 2) {  // split at 16 along X, Y or Z
    const int32_t p = kind == 0 ? X : kind == 1 ? Y : Z;
    return p == 16 ? 0.0 : p < 16 ? g / 2048.0 + 0.5 : 1.0;
  }
  if (kind == 3 || kind == 6) {
    if (X == 16 || Z == 16)
      return 0.0;
    isWindow = y >= 32 && (g & 8) && X > 16 && Z > 16 && Y <= 27;
    return 1.0;
  }
  if (kind == 4) {
    if ((g & 8) && y >= 32 && within(X, 5, 27) && within(Y, 5, 27) && within(Z, 5, 27))
      return (y & 1) ? 0.25 : 0.0;
    return 3.0 * g / 4096 + 0.25;
  }
  if (kind == 5)
    return Y == 12 || Y == 20 ? 0.0 : 1.0;
  return g / 2048.0 + 0.5;
}

// The windows of the two window walls for g & 7 = 2, 3, 4 (open: the
// point may hold a window).
bool quarterWindow(const WindowFrame& f, bool open)
{
  if (!open)
    return false;
  switch (f.g & 7) {
    case 2:
      return f.X < 16 && f.Z < 16;
    case 3:
      return f.X < 16 && f.Z > 16;
    case 4:
      return f.X > 16 && f.Z < 16;
    default:
      return false;
  }
}

bool windowOpen(const WindowFrame& f, int32_t y, int32_t c)
{
  return f.X != 0 && f.Z != 0 && (y & 31) != 0 && f.X != 16 && f.Z != 16 && y >= 32 && c != 0 &&
         (y & 32) == 0;
}

// The lower-left quarter window of g & 7 >= 5.
bool lowQuarter(const WindowFrame& f)
{
  return ((f.g >> 3) & 3) == 2 && f.X < 16 && f.Z < 16;
}

// The brick level and code of brick hash h.
double brick(int32_t h, int16_t* code)
{
  const double level = (h & 3) == 1 ? 0.9 : (h & 3) == 2 ? 0.8 : 1.0;
  return putCode(code, (h >> 3) & 15, level);
}

// The floor under the concrete walls.
double concreteFloor(const KVtables* t, int32_t x, int32_t z, int16_t* code)
{
  return LABTXT3D_StonesD2D(t, x >> 1, z >> 1, code);
}

double concreteJoint(int16_t* code)
{
  return putCode(code, -70, 0.0);
}

double concreteBWall(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if ((x & 127) == 0)
    return concreteJoint(code);
  const int32_t h = grainHash(t, x, y, z);
  if ((x & 255) < 128)
    return putCode(code, -100 - (h & 31), 0.5);
  return putCode(code, h < 901 ? (h >> 3) & 15 : -180 - ((h >> 3) & 31), 0.125);
}

double concreteLinesWall(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t c = permChain3(t, x, y >> 7, z, x >> 9, y >> 16);
  const int32_t band = permChain2(t, y >> 7, y >> 15, 0);
  return putCode(code, -130 - (c & 31), (band & 15) / 16.0);
}

}  // namespace

double LABWALL_ConcreteA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (!insideConcretePanel(x, y, z))
    return putCode(code, -100, 0.0);
  const double n = permChain3(t, x, y >> 1, z, x >> 9, y >> 10) / 2048.0;
  const double n2 = n * n;
  const int32_t g = permChain2(t, x >> 6, y >> 7, x >> 15);  // one value per panel
  switch (g & 7) {
    case 0:
      return putCode(code, -120 - (g & 31) - truncSmall(8 * n), 0.25 * n2 + 0.5);
    case 1:
      return putCode(code, -120 - (g & 15) - truncSmall(12 * n), g / 1024.0);
    case 2:
      return putCode(code, -120 - (g & 15) - truncSmall(16 * n), 0.33 * n2 + 0.6);
    case 3:
      return putCode(code, -120 - (g & 31) - truncSmall(8 * n), 0.18 * n2 + 0.25);
    case 4:
      return putCode(code, -120 - (g & 15) - truncSmall(12 * n), 0.125);
    case 5:
      return putCode(code, -120 - (g & 15), g / 2048.0 + 0.2 * n2);
    default:
      return putCode(code, -120 - truncSmall(16 * n) - (g % 12), g / 1024.0 + n2 / 16);
  }
}

double LABTXT3D_PlatesNWindow(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, -100, 0.0);
  const int32_t Y = y & 31;
  if (Y == 0)
    return 0.0;
  const WindowFrame f = windowFrame(t, x, y, z);
  if (f.X == 0 || f.Z == 0)
    return 0.0;
  bool isWindow = false;
  const double v = plateValue(f.g, f.X, Y, f.Z, y, isWindow);
  if (isWindow)
    return window(code);
  if (!(v > 0))
    return putCode(code, -100, v);
  const double n = grain(t, f.xs, y, f.zs);
  const int32_t m = f.g >> 3;
  const int32_t c = (y >= 64 && (y & 64)) ? m & 15 : -(m & 31) - 160;
  return putCode(code, c, v + plateGrain(f.g, n));
}

double LABTXT3D_discreetplates(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const WindowFrame f = windowFrame(t, x, y, z);
  const int32_t Y = y & 31;
  const double fine = 0.03 * grain(t, f.xs, y, f.zs);
  const int32_t m = f.g >> 3;
  const double jointLevel = ((m + 3) & 7) / 40.0 + 0.2 + fine, lowJoint = 0.2 + fine;
  const double nearLevel = ((m + 3) & 7) / 40.0 + 0.3 + fine,
               farLevel = (m & 7) / 40.0 + 0.3 + fine;
  const int32_t jointCode = -110 - (m & 15), plateCode = -130 - (m & 15);
  auto split = [&](int32_t p, double atSplit) {
    if (p == 16)
      return putCode(code, jointCode, atSplit);
    return putCode(code, plateCode, p < 16 ? nearLevel : farLevel);
  };
  switch (f.g & 3) {
    case 0:
      return split(f.X, jointLevel);
    case 1:
      return split(Y, jointLevel);
    case 2:
      return split(f.Z, lowJoint);
    default:
      if (within(f.X, 1, 30) && within(Y, 1, 30) && within(f.Z, 1, 30))
        return putCode(code, plateCode, nearLevel);
      return putCode(code, jointCode, lowJoint);
  }
}

double LABTXT3D_StonesNWindow(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t c = *code;
  const WindowFrame f = windowFrame(t, x, y, z);
  const bool late = (f.g & 7) >= 5;
  if (quarterWindow(f, windowOpen(f, y, c)) || (late && c != 0 && y == 0 && lowQuarter(f)))
    return window(code);
  const double base = late && c == 0 ? 0.1 : 0.2;
  const auto quad = [](int32_t v) { return kvnum::wrap_mul_i32(v, 4); };
  return base + LABTXT3D_discreetplates(t, quad(f.xs), quad(y), quad(f.zs), code);
}

double LABTXT3D_WhiteNWindow(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (y < 0)
    return LABTXT2D_paves(t, x, z, code);
  const int32_t c = *code;
  const WindowFrame f = windowFrame(t, x, y, z);
  const bool lateWindow = (f.g & 7) >= 5 && c != 0 && y < 32 && within(y & 31, 1, 30) &&
                          within(f.X, 1, 30) && within(f.Z, 1, 30) && lowQuarter(f);
  if (quarterWindow(f, windowOpen(f, y, c)) || lateWindow)
    return window(code);
  const double n = grain(t, f.xs, y, f.zs);
  return putCode(code, y > 47 ? truncSmall(-16 * n - 170) : truncSmall(3 * n + 12), 1 + 0.03 * n);
}

double LABTXT3D_bricksA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (y < 1)
    return LABWALL_ConcreteA(t, x, y, z, code);
  putCode(code, -50, 0.0);
  if ((y & 3) == 0)
    return 0.0;
  const bool shifted = (y & 4) != 0;
  const int32_t xs = courseShift(x, 4, shifted), zs = courseShift(z, 4, shifted);
  if ((xs & 7) == 0 || (zs & 7) == 0)
    return 0.0;
  return brick(hash3(t, 3, xs, y, zs), code);
}

double LABTXT3D_bricksB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (y <= 0)
    return LABWALL_ConcreteA(t, x >> 1, y >> 1, z >> 1, code);
  putCode(code, -160, 0.0);
  if (outside(y & 15, 2, 14))
    return 0.0;
  const bool shifted = (y & 16) != 0;
  const int32_t p = t->perm[(y >> 4) & 1023];
  const int32_t o = t->perm[kvnoise::usum(y >> 12, p) & 1023u] & 3;
  const int32_t xs = offset(courseShift(x, 16, shifted), o);
  const int32_t zs = offset(courseShift(z, 16, shifted), o);
  if (outside(xs & 31, 2, 30) || outside(zs & 31, 2, 30))
    return 0.0;
  const int32_t inner = t->perm[kvnoise::usum(p, xs >> 5, y >> 13) & 1023u];
  return brick(t->perm[kvnoise::usum(zs >> 5, inner, xs >> 14) & 1023u], code);
}

double LABWALL_ConcreteB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if ((y & 127) == 0)
    return concreteJoint(code);
  return y < 1 ? concreteFloor(t, x, z, code) : concreteBWall(t, x, y, z, code);
}

double LABWALL_ConcreteLines(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if ((y & 127) == 0)
    return concreteJoint(code);
  return y < 1 ? concreteFloor(t, x, z, code) : concreteLinesWall(t, x, y, z, code);
}

double LABWALL_ConcreteMix(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if ((y & 127) == 0 || (x & 63) == 0 || outside(z & 255, 3, 253))
    return concreteJoint(code);
  if (y < 1)
    return concreteFloor(t, x, z, code);
  if (((y >> 7) & 3) == 2)
    return concreteLinesWall(t, x, y, z, code);
  if (z & 256)
    return concreteBWall(t, x, y, z, code);
  switch ((x >> 6) & 3) {
    case 1:
      return LABTXT3D_discreetplates(t, x, y, z, code);
    case 3:
      return LABTXT3D_PlatesNWindow(t, x, y, z, code);
    default:
      return LABWALL_ConcreteA(t, x, y, z, code);
  }
}
