#include "components/f34/f34_lights.h"

#include <algorithm>
#include <cmath>

#include "celltextures/techmotifs.h"
#include "components/f34/f34_pvt.h"
#include "engine/palettelookups.h"
#include "noise/mazecolor.h"
#include "noise/noises.h"

namespace {

// The spread of the per-cell phases of the lit levels: hash times this.
constexpr double kCellPhase = 0.5030679615757713;

// What message 8 leaves: scales, frequency, the Mondrian's six colours as a
// float cycle, and the record of the window and LED routines.
struct Lights
{
  double colourScale;
  double heightScale;
  double frequency;
  floatcolor cycle[16];
  F34lightRecord rec;
};

Lights& lights(gfunc* g)
{
  return privateArea<Lights>(g);
}

void prepareScales(gfunc* g, double colourScale, double frequency)
{
  Lights& l = lights(g);
  l = Lights{};
  l.colourScale = colourScale;
  l.heightScale = 4 * g->A;
  l.frequency = frequency;
}

double scaleOfA(double a)
{
  return (a / 2 + 0.5) / 32;
}

void setColour(double out[3], double r, double g, double b)
{
  out[0] = r;
  out[1] = g;
  out[2] = b;
}

// The five-entry LED gradient: cycle colours at entries 0, 2 and 4 of the
// cycle of t, the fixed colours given for entries 1 and 3.
void ledGradient(F34lightRecord& rec, double t, const double fixed1[3], const double fixed3[3])
{
  double cycle[9];
  GetTripleColorCycle(cycle, t, true);
  std::copy_n(cycle, 3, rec.colours[0]);
  std::copy_n(fixed1, 3, rec.colours[1]);
  std::copy_n(cycle + 3, 3, rec.colours[2]);
  std::copy_n(fixed3, 3, rec.colours[3]);
  std::copy_n(cycle + 6, 3, rec.colours[4]);
}

double clamp01(double v)
{
  return std::clamp(v, 0.0, 1.0);
}

// The cell's phase along the lit-level noise.
double cellPhase(const KVtables* t, double z, int32_t ix, int32_t iy)
{
  return z + f34_hash(t, ix, iy) * kCellPhase;
}

// An LED of intensity i: its gradient colour, the height, and a white core
// of weight `core` squared where it is positive.
void addLed(const KVtables* t, const F34lightRecord& rec, double zz, double i, double core,
            F34lightAcc& acc)
{
  const double position = clamp01(frandom1D_linear(t, zz / 4 + 133.5) * 0.001953125 + 0.66);
  double r, g, b;
  fcolorvectorgradient(&rec.colours[0][0], 5, position, &r, &g, &b);
  const double white = core > 0 ? core * core : 0.0;
  acc.h += i;
  acc.r += r * i + white;
  acc.g += g * i + white;
  acc.b += b * i + white;
}

// Round LEDs: how a cell of the 4 x 4 block pattern p is lit. 1 full, 0 by
// the noise, -1 absent.
int roundLedState(uint32_t p, int32_t ix, int32_t iy)
{
  const int32_t i = ix & 3, j = iy & 3;
  const bool xOdd = (ix & 1) != 0, yOdd = (iy & 1) != 0;
  const bool iMid = i == 1 || i == 2, jMid = j == 1 || j == 2;
  switch (p) {
    case 0:
      return iMid && jMid ? 1 : 0;
    case 1:
      return i == 1 && jMid ? 1 : -1;
    case 2:
      return !xOdd && !yOdd ? -1 : 0;
    case 3:
      return xOdd && yOdd ? 1 : -1;
    case 4:
      return i == 1 && yOdd ? 1 : 0;
    case 5:
      return j == 1 && xOdd ? 1 : -1;
    default:
      return 0;
  }
}

// Square LEDs: the two fixed patterns of the 2 x 2 block hash b.
double squarePattern1(uint32_t b, int32_t ix, int32_t iy)
{
  const bool same = ((ix ^ iy) & 1) == 0;
  const uint32_t p = b % 8;
  if (p == 0)
    return 0;
  return (p <= 3 ? same : !same) ? 1 : 0;
}

double squarePattern2(uint32_t b, int32_t ix, int32_t iy)
{
  const bool xOdd = (ix & 1) != 0, yOdd = (iy & 1) != 0;
  switch (b % 9) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
    case 3:
    case 4:
      return xOdd || yOdd ? 1 : 0;
    case 5:
    case 6:
      return xOdd ? 1 : 0;
    default:
      return yOdd ? 1 : 0;
  }
}

// Ids 6 and 21: the member's cell routine over the doubled lattice.
template <class Cell>
void ledArray(gfunc* g, Cell cell)
{
  const Lights& l = lights(g);
  const KVtables* t = f34_tables(g);
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    F34cell X, Y;
    if (!f34_floor(l.frequency * x, X) || !f34_floor(l.frequency * y, Y))
      return kF34noValue;
    F34lightAcc acc;
    f34_doubledLattice(X, Y, [&](int32_t cx, int32_t cy, double u, double v) {
      cell(t, u, v, z, cx, cy, l.rec, acc);
    });
    return F34out{l.colourScale * acc.r, l.colourScale * acc.g, l.colourScale * acc.b,
                  l.heightScale * acc.h};
  });
}

}  // namespace

int32_t citywindows(const KVtables* t, bool colour, double u, double v, double z, int32_t ix,
                    int32_t iy, const F34lightRecord& rec, F34lightAcc& acc)
{
  // The window grows from a quarter of the cell at z <= 0 to all of it at 1.
  const double lit01 = clamp01(z);
  const double m = std::max(std::fabs(u), std::fabs(v));
  const double e = 2 - m * (8 - 6 * lit01);
  if (!(e > 0))
    return 0;
  const int32_t hw = f34_hash(t, ix, iy);
  const double q = frandom1D_linear(t, z + hw * kCellPhase) * 0.0078125 + 3 * (lit01 - 0.5);
  if (!(q >= 0))
    return 0;
  const double on = q > 1 ? 1.0 : q * q * (3 - 2 * q);
  if (!(on > 0))
    return 0;
  double i = std::min(e, 1.0) * on;
  const double d = i + 0.025 - acc.h;
  double blend = 0;
  if (d > 0) {
    const double s = 10 * d;
    blend = 1;
    if (s < 0.5) {
      blend = 2 * s;
      i = s * s * 0.1 + acc.h;
    }
    acc.h = i;
  }
  if (!colour || !(blend > 0))
    return 1;
  const double level = clamp01(z * rec.litFactor);
  const double* c1 = rec.colours[0];
  const double* c2 = rec.colours[1];
  const double* c3 = rec.colours[2];
  const double* tint = f34_rndVec(t, uint32_t(hw));
  double base[3];
  for (int k = 0; k < 3; ++k)
    base[k] = level < 0.5 ? c3[k] + (c1[k] - c3[k]) * 2 * level
                          : c1[k] + (c2[k] - c1[k]) * (2 * level - 1);
  const double tintAmplitude = 80 * rec.amplitude;
  acc.r += ((base[0] + tintAmplitude * tint[0]) * i - acc.r) * blend;
  acc.g += ((base[1] + tintAmplitude * tint[1]) * i - acc.g) * blend;
  acc.b += ((base[2] + tintAmplitude * tint[2]) * i - acc.b) * blend;
  return 1;
}

int32_t f2dregionLights(const KVtables* t, double u, double v, double z, int32_t ix, int32_t iy,
                        const F34lightRecord& rec, F34lightAcc& acc)
{
  const double r2 = u * u + v * v;
  if (!(r2 < 1))
    return 0;
  const double zz = cellPhase(t, z, ix, iy);
  double lit = clamp01(frandom1D_linear(t, zz) * 0.0078125);
  const uint32_t block = uint32_t(f34_hash(t, ix >> 2, iy >> 2)) % 8;
  const int state = roundLedState(block, ix, iy);
  if (state < 0)
    return 0;
  if (state == 1)
    lit = 1;
  else if (!(lit > 0))
    return 0;
  const double s = 1 - std::sqrt(r2);
  const double i = s * s * lit;
  addLed(t, rec, zz, i, 5 * i - 0.5, acc);
  return 1;
}

int32_t f2dregionSQled(const KVtables* t, double u, double v, double z, int32_t ix, int32_t iy,
                       const F34lightRecord& rec, F34lightAcc& acc)
{
  const double m = std::max(std::fabs(u), std::fabs(v));
  const double zz = cellPhase(t, z, ix, iy);
  const double noise = clamp01(frandom1D_linear(t, zz) * 0.00390625);
  const uint32_t b = uint32_t(f34_hash(t, ix >> 1, iy >> 1));
  const double style = rec.style;
  double lit;
  if (style < 0.5) {
    const double p1 = squarePattern1(b, ix, iy);
    lit = p1 + (noise - p1) * 2 * style;
  } else {
    lit = noise + (squarePattern2(b, ix, iy) - noise) * (2 * style - 1);
  }
  if (!(lit > 0))
    return 0;
  const double s1 = 1 - m, s2 = s1 * s1;
  const double i = ((s2 * s2 - s2) * s1 + s2) * lit;
  addLed(t, rec, zz, i, (i - 0.4) * 16, acc);
  return 1;
}

// ---- Message 8 ----------------------------------------------------------------

void f34_mondrian_prepare(gfunc* g)
{
  prepareScales(g, scaleOfA(g->A), g->C);
  floatcolor* cycle = lights(g).cycle;
  GetTripleFColorCycle(cycle, g->B, true);
  cycle[3] = {128, 128, 128};
  cycle[4] = {255, 255, 255};
  cycle[5] = {0, 0, 0};
}

void f34_citylights_prepare(gfunc* g)
{
  prepareScales(g, 1.0 / 32, g->C);
  F34lightRecord& rec = lights(g).rec;
  GetTripleColorCycle(&rec.colours[0][0], g->B, true);
  rec.amplitude = g->A;
  rec.litFactor = g->A / 2;
}

void f34_litLedround_prepare(gfunc* g)
{
  prepareScales(g, scaleOfA(g->A), g->C);
  const double b = g->B;
  double fixed1[3], fixed3[3];
  setColour(fixed1, 255, 255, 255 * (1 - b));
  if (b < 0.5)
    setColour(fixed3, 510 * b, 0, 255);
  else
    setColour(fixed3, 255, 255 * (2 * b - 1), 255);
  ledGradient(lights(g).rec, b, fixed1, fixed3);
  lights(g).rec.style = b;
}

void f34_litLedsquare_prepare(gfunc* g)
{
  prepareScales(g, scaleOfA(g->A), g->C / 2);
  const double fixed1[3] = {255, 255, 128}, fixed3[3] = {255, 255, 255};
  ledGradient(lights(g).rec, (g->B - 0.5) * 0.33333 + 0.5, fixed1, fixed3);
  lights(g).rec.style = g->B;
}

// ---- Computes -------------------------------------------------------------------

void f34_mondrian(gfunc* g)
{
  const Lights& l = lights(g);
  const KVtables* t = f34_tables(g);
  const floatcolor* cycle = f34_altitudeOnly(g) ? nullptr : l.cycle;
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    const double X = l.frequency * x, Y = l.frequency * y;
    F34cell cx, cy;
    if (!f34_floor(X, cx) || !f34_floor(Y, cy))
      return kF34noValue;
    // The integer part of z / 4 picks the layout, the fraction fades into
    // the next one.
    const double zq = z / 4;
    mazecolorrecord first{}, second{};
    fmazeColorCubic(t, X, Y, zq, LABTXT_mondrianRects, cycle, &first, 7.0);
    fmazeColorCubic(t, X, Y, zq + 1, LABTXT_mondrianRects, cycle, &second, 7.0);
    const double f = f34_fracPart(zq);
    auto mix = [f](double a, double b) { return a + (b - a) * f; };
    const double s = l.colourScale;
    return F34out{s * mix(first.red, second.red), s * mix(first.green, second.green),
                  s * mix(first.blue, second.blue),
                  std::max(-2.0, l.heightScale * mix(first.value, second.value))};
  });
}

void f34_citylights(gfunc* g)
{
  const Lights& l = lights(g);
  const KVtables* t = f34_tables(g);
  const bool colour = !f34_altitudeOnly(g);
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    F34cell X, Y;
    if (!f34_floor(l.frequency * x, X) || !f34_floor(l.frequency * y, Y))
      return kF34noValue;
    F34lightAcc acc;
    citywindows(t, colour, 2 * X.f - 1, 2 * Y.f - 1, z / 4, X.i, Y.i, l.rec, acc);
    return F34out{acc.r / 32, acc.g / 32, acc.b / 32, l.heightScale * acc.h};
  });
}

void f34_litLedround(gfunc* g)
{
  ledArray(g, f2dregionLights);
}

void f34_litLedsquare(gfunc* g)
{
  ledArray(g, f2dregionSQled);
}

// ---- Handlers -------------------------------------------------------------------

int16_t f34_mondrian_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_mondrian, g, m, a, b, c);
}
int16_t f34_citylights_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_citylights, g, m, a, b, c);
}
int16_t f34_litLedround_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_litLedround, g, m, a, b, c);
}
int16_t f34_litLedsquare_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_litLedsquare, g, m, a, b, c);
}
