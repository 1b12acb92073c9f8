#include "components/f24/f24_shapes.h"

#include <algorithm>
#include <cmath>

#include "components/f24/f24_pvt.h"
#include "foundation/colormath.h"

namespace {

using f24shape::kPi;

// What message 8 leaves for a shape: its constants, its colour (0..255) and,
// for the half plane, the closed 16-colour cycle.
struct Shape
{
  double k[4];
  double length;  // the line's distance scale
  int sides;
  double rgb[3];
  normalcolor cycle[16];
};

Shape& shape(gfunc* g)
{
  return privateArea<Shape>(g);
}

// Row 0 of a 16-entry hue table of `hues` colours from t, read at 0.
void hueColour(Shape& s, double t, int hues)
{
  std::fill(std::begin(s.cycle), std::end(s.cycle), normalcolor{});
  GetParam1DColorTable(s.cycle, t, hues);
  fcolorgradient(s.cycle, 16, 0.0, &s.rgb[0], &s.rgb[1], &s.rgb[2]);
}

constexpr F24quad kMaskedBelow{0, 0, 0, -2};

// The colour lit by weight w, or black while only output 4 is read.
F24quad lit(const double rgb[3], double w, double m, bool altitudeOnly)
{
  if (altitudeOnly)
    return {0, 0, 0, m};
  return {rgb[0] * w, rgb[1] * w, rgb[2] * w, m};
}

// The common fill of mask m: the colour up to full at m = 1/32, black and a
// mask clamped at -2 outside.
F24quad fill(const double rgb[3], double m, bool altitudeOnly)
{
  if (m >= 0)
    return lit(rgb, std::min(32 * m, 1.0) / 32, m, altitudeOnly);
  return {0, 0, 0, std::max(m, -2.0)};
}

// w folded with period 16: 0 at w = 0, 8 at w = 8, back to 0 at 16.
double fold16(double w)
{
  const double s = f24_gridMod(w, 16);
  return s > 8 ? 16 - s : s;
}

double smoothDot(double r2, double radius2, double radius)
{
  if (!(r2 < radius2))
    return 0;
  const double t = 1 - std::sqrt(r2) / radius;
  return t * t * (3 - 2 * t);
}

}  // namespace

double f24_gridMod(double a, double period)
{
  return a >= 0 ? std::fmod(a, period) : period - std::fmod(-a, period);
}

// ---- Message 8 ----------------------------------------------------------------

void f24_PolyN_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.sides =
      std::isnan(g->A) ? 0 : int(std::clamp(std::trunc(g->A), 0.0, double(kF24maxPolygonSides)));
  const double turn = s.sides > 0 ? 2 * kPi / s.sides : 0.0;
  s.k[0] = std::cos(turn);
  s.k[1] = std::sin(turn);
  s.k[2] = g->B >= 0.0625 ? 4 / g->B : 64.0;
  hueColour(s, g->C, 2);
}

void f24_Circle_prepare(gfunc* g)
{
  Shape& s = shape(g);
  const double b2 = g->B * g->B;
  s.k[1] = b2;
  s.k[0] = g->A / std::max(0.0625, b2);
  s.k[2] = s.k[0] * b2;
  hueColour(s, g->C, 1);
}

void f24_Line_prepare(gfunc* g)
{
  Shape& s = shape(g);
  const double size = g->B < 1e-7 ? 1e-7 : g->B;
  s.k[0] = -std::cos(g->A) / size;
  s.k[1] = std::sin(g->A) / size;
  s.k[2] = s.k[3] = 0;
  s.length = 8 * size;
  hueColour(s, g->C, 1);
}

void f24_NeonLine_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[0] = std::cos(g->A);
  s.k[1] = std::sin(g->A);
  hueColour(s, g->C, 1);
}

void f24_EGLine_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[0] = 4 * g->C * std::cos(g->A);
  s.k[1] = 4 * g->C * std::sin(g->A);
  std::fill(std::begin(s.cycle), std::end(s.cycle), normalcolor{});
  GetParam1DColorTable(s.cycle, g->B, 1);
  s.rgb[0] = s.cycle[0].red;
  s.rgb[1] = s.cycle[0].green;
  s.rgb[2] = s.cycle[0].blue;
}

void f24_halfplane_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[0] = std::cos(g->A);
  s.k[1] = std::sin(g->A);
  GetParam1DColorTable(s.cycle, g->C, 15);
  s.cycle[15] = s.cycle[0];
}

void f24_gaussian_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[1] = g->B * g->B;
  hueColour(s, g->C, 1);
}

// ---- Computes -------------------------------------------------------------------

void f24_PolyN(gfunc* g)
{
  const Shape& s = shape(g);
  const bool alt = f24_altitudeOnly(g);
  const double inradius = g->B;
  const int sides = std::clamp(s.sides, 0, kF24maxPolygonSides);
  f24_eachSample(g, kMaskedBelow, [&](double x, double y) {
    double M = 0;
    for (int k = 0; k < sides; ++k) {
      const double nx = s.k[0] * x - s.k[1] * y;
      y = s.k[0] * y + s.k[1] * x;
      x = nx;
      M = std::max(M, y);
    }
    return fill(s.rgb, (inradius - M) * s.k[2], alt);
  });
}

void f24_Circle(gfunc* g)
{
  const Shape& s = shape(g);
  const bool alt = f24_altitudeOnly(g);
  f24_eachSample(g, kMaskedBelow, [&](double x, double y) {
    return fill(s.rgb, s.k[2] - s.k[0] * (x * x + y * y), alt);
  });
}

void f24_Line(gfunc* g)
{
  const Shape& s = shape(g);
  const bool alt = f24_altitudeOnly(g);
  f24_eachSample(g, kMaskedBelow, [&](double x, double y) {
    const double along = s.k[0] * x + s.k[1] * y + s.k[2];
    const double across = s.k[0] * y - s.k[1] * x + s.k[3];
    const double D = std::max(std::fabs(along) - 2, std::fabs(across)) * s.length;
    return fill(s.rgb, 4 - D, alt);
  });
}

void f24_NeonLine(gfunc* g)
{
  const Shape& s = shape(g);
  const double half = g->B;
  f24_eachSample(g, kF24zero, [&](double x, double y) {
    const double a = s.k[0] * x + s.k[1] * y, c = s.k[0] * y - s.k[1] * x;
    const double e = a < -half ? a + half : (a > half ? a - half : 0.0);
    const double D = c * c + e * e;
    if (!(D < 1))
      return kF24zero;
    const double q = 4 * std::sqrt(D);
    const double p = q < 0.5 ? q * q : q - 0.25;
    const double t = (1 - p / 4) * (1 - p / 4);
    const double w = 0.0234375 * t, core = kPi * t * t;
    return F24quad{s.rgb[0] * w + core, s.rgb[1] * w + core, s.rgb[2] * w + core, 4 * t};
  });
}

void f24_EGLine(gfunc* g)
{
  const Shape& s = shape(g);
  const bool alt = f24_altitudeOnly(g);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double u = s.k[0] * y - s.k[1] * x, w = s.k[0] * x + s.k[1] * y;
    const double P = f24_gridMod(u + 4, 8) - 4, Q = f24_gridMod(w + 4, 8) - 4;
    const double S = fold16(w), T = fold16(u);
    const double over = T > 4 ? S / 8 : 1 - S / 8;
    const double under = S > 4 ? 1 - T / 8 : T / 8;
    const double m =
        std::max(std::min(1 - std::fabs(P), over - 0.1), std::min(1 - std::fabs(Q), under - 0.1));
    if (m >= 0)
      return lit(s.rgb, std::min(16 * m, 1.0) / 32, 4 * m, alt);
    return F24quad{0, 0, 0, m >= -2 ? 4 * m : -8.0};
  });
}

void f24_halfplane(gfunc* g)
{
  const Shape& s = shape(g);
  const bool alt = f24_altitudeOnly(g);
  const double offset = g->B;
  double rgb[3];
  fcolorgradient(s.cycle, 16, f24_frac(f24_iteration(g) / 16), &rgb[0], &rgb[1], &rgb[2]);
  f24_eachSample(g, kMaskedBelow, [&](double x, double y) {
    return fill(rgb, std::min(x * s.k[0] + y * s.k[1] + offset, 4.0), alt);
  });
}

void f24_gaussian(gfunc* g)
{
  const Shape& s = shape(g);
  const bool alt = f24_altitudeOnly(g);
  const double height = g->A, radius = g->B;
  f24_eachSample(g, kF24zero, [&](double x, double y) {
    const double gd = smoothDot(x * x + y * y, s.k[1], radius);
    return lit(s.rgb, std::min(gd * height / 2, 1.0) / 32, gd * height, alt);
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f24_PolyN_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_PolyN, g, m, a, b, c);
}
int16_t f24_Circle_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_Circle, g, m, a, b, c);
}
int16_t f24_Line_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_Line, g, m, a, b, c);
}
int16_t f24_NeonLine_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_NeonLine, g, m, a, b, c);
}
int16_t f24_EGLine_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_EGLine, g, m, a, b, c);
}
int16_t f24_halfplane_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_halfplane, g, m, a, b, c);
}
int16_t f24_gaussian_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_gaussian, g, m, a, b, c);
}
