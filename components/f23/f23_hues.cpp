#include "components/f23/f23_hues.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f23/f23_pvt.h"
#include "foundation/colormath.h"
#include "foundation/numbers.h"
#include "noise/noises.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Up to eight colour keys, written at message 8.
struct HueKeys
{
  normalcolor key[8];
};

HueKeys& hueKeys(gfunc* g)
{
  return privateArea<HueKeys>(g);
}

// The whole part of v reduced by `modulus` as C's remainder does (its sign
// is v's); 0 for NaN and infinities.
int32_t wholeRemainder(double v, double modulus)
{
  if (!std::isfinite(v))
    return 0;
  return int32_t(std::fmod(std::trunc(v), modulus));
}

// The whole part of v as a 16-bit value (the low 16 bits of the integer).
int32_t wholeAs16(double v)
{
  return int16_t(wholeRemainder(v, 65536.0));
}

// The hue base of "Hue Rotation ": the whole part of 240 A + 360.
int32_t hueBase(double a)
{
  return wholeAs16(240 * a + 360);
}

// The colour of hue h (any whole number, taken modulo 360 into 0..359),
// saturation and lightness bytes.
normalcolor hsl(int32_t hue, int32_t saturation, int32_t lightness)
{
  normalcolor c{255, 0, 0, 0};
  myHSLtoRGB(double((hue % 360 + 360) % 360), saturation, lightness, &c);
  return c;
}

normalcolor grey(int32_t level)
{
  return {255, uint8_t(level), uint8_t(level), uint8_t(level)};
}

F23triple colourAt(const normalcolor* keys, int count, double t)
{
  F23triple c;
  fcolorgradient(keys, count, t, &c.a, &c.b, &c.c);
  return c;
}

// Smoothstep S(u) = (3 - 2u) u^2.
double smoothstep(double u)
{
  return (3 - 2 * u) * u * u;
}

// Concentric hues: v runs from pi at the centre to 0 at the radius pi / C;
// beyond it the rings start again, slowly, from the first key.
F23triple concentric(const normalcolor* keys, double c, double x, double y)
{
  double v = kPi - c * std::sqrt(x * x + y * y);
  if (v < 0)
    v = std::log(1 - v) * 0.25;
  if (v > 0)
    return f23_toValue(colourAt(keys, 7, v / kPi));
  return {0, 0, 0};
}

// Linear hues: a ramp along |x|, inverted below y = 0, with the line colour
// blended in near y = 0.
F23triple linear(const normalcolor* keys, double k, double x, double y)
{
  const double t = k * std::fabs(x), s = k * y;
  F23triple colour = colourAt(keys, 7, t);
  bool onLine = s < 0.125;
  if (s < 0) {
    colour = {255 - colour.a, 255 - colour.b, 255 - colour.c};
    onLine = s > -0.125;
  }
  if (onLine)
    colour = f23_mix(f23_rgb(keys[7]), colour, 8 * std::fabs(s));
  return f23_toValue(colour);
}

// Soft random hues: three noise layers, each finer and further off, blend
// c0 toward c1, then toward c2 and c3.
F23triple softRandom(const KVtables* t, const normalcolor* c, double x, double y)
{
  constexpr double kShiftX = 479.3, kShiftY = 367.5;
  const double w1 = fPerlinNoise2D(t, x, y) / 750 + 0.5;
  F23triple colour = f23_mix(f23_rgb(c[0]), f23_rgb(c[1]), w1);
  const double x2 = 1.5 * x + kShiftX, y2 = 1.5 * y + kShiftY;
  const double n2 = fPerlinNoise2D(t, x2, y2) / 750 + 0.5;
  colour = f23_mix(colour, f23_rgb(c[2]), n2 * n2);
  const double x3 = 1.5 * x2 + kShiftX, y3 = 1.5 * y2 + kShiftY;
  const double n3 = fPerlinNoise2D(t, x3, y3) / 850 + 0.4;
  colour = f23_mix(colour, f23_rgb(c[3]), n3 * n3);
  return f23_toValue(colour);
}

// String noise: four noise copies side by side; each paints its hue where
// its noise is near 0, over the ones before.
F23triple strings(const KVtables* t, const normalcolor* c, double w, double x, double y)
{
  constexpr double kCopyShift = 517;
  auto vein = [&](int copy) {
    const double m = fPerlinNoise2D(t, x + kCopyShift * copy, y);
    return smoothstep(std::max(0.0, 1 - std::fabs(m) * w));
  };
  const F23triple c0 = f23_rgb(c[0]);
  const double k0 = vein(0);
  F23triple colour{c0.a * k0, c0.b * k0, c0.c * k0};
  for (int copy = 1; copy < 4; ++copy)
    colour = f23_mix(colour, f23_rgb(c[copy]), vein(copy));
  return f23_toValue(colour);
}

}  // namespace

// ---- Message 8: the keys ------------------------------------------------------

void f23_concentrichues_precompute(gfunc* g)
{
  const int32_t h = hueBase(g->A);
  const int32_t s = wholeRemainder(255 * g->B, 256) & 255;
  normalcolor* k = hueKeys(g).key;
  k[0] = hsl(h, s, 0);
  k[1] = hsl(h, s, 64);
  k[2] = hsl(h, s, 128);
  k[3] = hsl(h + 30, s, 128);
  k[4] = hsl(h + 55, s, 128);
  k[5] = hsl(h + 60, s, 160);
  k[6] = hsl(h + 60, s, 192);
}

// Keys 0..6 ten degrees apart, faded toward the greys 0, 42, ..., 252 as B
// falls; key 7, the line colour, keeps its full saturation.
void f23_linearhues_precompute(gfunc* g)
{
  const int32_t h = hueBase(g->A);
  normalcolor* k = hueKeys(g).key;
  for (int i = 0; i < 7; ++i) {
    const normalcolor full = hsl(h + 10 * i, 255, 128);
    const normalcolor level = grey(42 * i);
    k[i] = ColorLERP(&level, &full, g->B);
  }
  k[7] = hsl(h + 30, 255, 128);
}

// Seven keys a seventh of a turn apart (the offset added as a double and
// truncated); all but key 1 fade toward black as B falls; key 7 closes the
// wheel with key 0.
void f23_radialhues_precompute(gfunc* g)
{
  const int32_t h = hueBase(g->A);
  const normalcolor black{255, 0, 0, 0};
  normalcolor* k = hueKeys(g).key;
  for (int i = 0; i < 7; ++i) {
    const normalcolor full = hsl(int32_t(h + i * 360.0 / 7), 255, 128);
    k[i] = i == 1 ? full : ColorLERP(&black, &full, g->B);
  }
  k[7] = k[0];
}

void f23_randomhues_precompute(gfunc* g)
{
  const int32_t h = hueBase(g->A);
  const double b = g->B;
  normalcolor* k = hueKeys(g).key;
  const normalcolor g128 = grey(128), g64 = grey(64), g250 = grey(250);
  const normalcolor c1 = hsl(h + 1, 255, 128), c2 = hsl(h + 40, 255, 92);
  const normalcolor c3 = hsl(h + 220, 255, 140);
  k[0] = hsl(h - 30, 255, 64);
  k[1] = ColorLERP(&g128, &c1, b);
  k[2] = ColorLERP(&g64, &c2, b);
  k[3] = ColorLERP(&g250, &c3, b);
}

// Four hues 60 degrees apart from the whole part of 360 B + 360.
void f23_strings_precompute(gfunc* g)
{
  const int32_t base = wholeAs16(360 * g->B + 360);
  normalcolor* k = hueKeys(g).key;
  for (int i = 0; i < 4; ++i)
    k[i] = hsl(base + 60 * i, 255, 128);
}

// ---- Compute functions ----------------------------------------------------------

void f23_concentrichues(gfunc* g)
{
  const HueKeys keys = hueKeys(g);
  const double c = g->C;
  f23_eachSample(g, F23mask::x, [&](double x, double y) { return concentric(keys.key, c, x, y); });
}

void f23_linearhues(gfunc* g)
{
  const HueKeys keys = hueKeys(g);
  const double k = g->C / kPi;
  f23_eachSample(g, F23mask::x, [&](double x, double y) { return linear(keys.key, k, x, y); });
}

void f23_radialhues(gfunc* g)
{
  const HueKeys keys = hueKeys(g);
  f23_eachSample(g, F23mask::x, [&](double x, double y) {
    return f23_toValue(colourAt(keys.key, 8, SinToAngle(x, y) / (2 * kPi)));
  });
}

void f23_randomhues(gfunc* g)
{
  const HueKeys keys = hueKeys(g);
  const KVtables* t = &g->doc->tables;
  const double k = g->C / kPi;
  f23_eachSample(g, F23mask::x,
                 [&](double x, double y) { return softRandom(t, keys.key, k * x, k * y); });
}

void f23_strings(gfunc* g)
{
  const HueKeys keys = hueKeys(g);
  const KVtables* t = &g->doc->tables;
  const double w = (3 - g->A) / 64, c = g->C;
  f23_eachSample(g, F23mask::x,
                 [&](double x, double y) { return strings(t, keys.key, w, c * x, c * y); });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f23_concentrichues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_concentrichues, g, msg, a, b, c);
}

int16_t f23_linearhues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_linearhues, g, msg, a, b, c);
}

int16_t f23_radialhues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_radialhues, g, msg, a, b, c);
}

int16_t f23_randomhues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_randomhues, g, msg, a, b, c);
}

int16_t f23_strings_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_strings, g, msg, a, b, c);
}
