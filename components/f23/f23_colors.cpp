#include "components/f23/f23_colors.h"

#include <algorithm>
#include <cmath>

#include "components/f23/f23_pvt.h"
#include "foundation/colormath.h"

namespace {

// The two hues of Color shade, written at message 8.
struct ShadeColors
{
  normalcolor first;   // weighted by y
  normalcolor second;  // weighted by x, 20 degrees further round
};

// The saturation byte: 255 B truncated, 0 when negative (or NaN), else
// taken modulo 256.
int32_t saturationByte(double b)
{
  const double v = 255 * b;
  if (!(v >= 0))
    return 0;
  return int32_t(std::fmod(std::trunc(v), 256.0));
}

// The hue of the second colour: the whole part of h + 20 degrees modulo
// 360, or 20 for a negative h.
double secondHue(double h)
{
  return h < 0 ? 20.0 : std::fmod(std::trunc(h + 20), 360.0);
}

}  // namespace

void f23_singleColor(gfunc* g)
{
  const F23triple colour{g->A, g->B, g->C};
  f23_eachSample(g, F23mask::x, [&](double, double) { return colour; });
}

void f23_rgbShade(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f23_eachSample(g, F23mask::x, [&](double x, double y) {
    const double lift = y / 6;
    if (x >= 0)
      return F23triple{a * x / 6 + lift, b * x / 6 + lift, c * x / 6 + lift};
    // Negative x shades the complementary colour.
    const double s = -x / 6;
    return F23triple{(8 - a) * s + lift, (8 - b) * s + lift, (8 - c) * s + lift};
  });
}

void f23_ColorGradient(gfunc* g)
{
  const double ca = std::cos(g->A), sa = std::sin(g->A);
  const double cb = std::cos(g->B), sb = std::sin(g->B);
  const double cc = std::cos(g->C), sc = std::sin(g->C);
  f23_eachSample(g, F23mask::y, [&](double x, double y) {
    return F23triple{x * ca - y * sa, x * cb - y * sb, x * cc - y * sc};
  });
}

void f23_ColorShade_precompute(gfunc* g)
{
  const double h = 360 * g->A / (2 * std::numbers::pi);
  const int32_t s = saturationByte(g->B);
  ShadeColors& k = privateArea<ShadeColors>(g);
  myHSLtoRGB(h < 0 ? 0.0 : h, s, 127, &k.first);
  myHSLtoRGB(secondHue(h), s, 127, &k.second);
  g->C = std::isnan(g->C) ? 0.0 : std::clamp(g->C, 0.0, 1.0);
}

void f23_ColorShade(gfunc* g)
{
  const ShadeColors k = privateArea<ShadeColors>(g);
  const double c = g->C;
  f23_eachSample(g, F23mask::xOrY, [&](double x, double y) {
    const double yPlus = y > 0 ? y : 0.0;
    auto channel = [&](uint8_t first, uint8_t second) {
      const double v = first * yPlus * c / 32;
      return x > 0 ? v + second * x * (1 - c) / 32 : v;
    };
    return F23triple{channel(k.first.red, k.second.red), channel(k.first.green, k.second.green),
                     channel(k.first.blue, k.second.blue)};
  });
}

int16_t f23_singleColor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_singleColor, g, msg, a, b, c);
}

int16_t f23_rgbShade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_rgbShade, g, msg, a, b, c);
}

int16_t f23_ColorGradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_ColorGradient, g, msg, a, b, c);
}

int16_t f23_ColorShade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_ColorShade, g, msg, a, b, c);
}
