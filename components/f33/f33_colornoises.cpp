#include "components/f33/f33_colornoises.h"

#include <algorithm>
#include <cmath>

#include "components/common/fractalsettings.h"
#include "components/common/octaves.h"
#include "components/f33/f33_pvt.h"
#include "foundation/checked.h"
#include "foundation/colormath.h"
#include "noise/cellular.h"
#include "noise/drivers.h"
#include "noise/lattice.h"
#include "noise/mazecolor.h"
#include "noise/noises.h"
#include "noise/spots.h"
#include "noise/techno.h"

using f33detail::kPi;

namespace {

constexpr int kMaxColourOctaves = 20;

int colourOctaves(const gfunc* g)
{
  return f33_colourOctaves(KV_octavePasses(g));
}

F33colourTable& colourTable(gfunc* g)
{
  return privateArea<F33colourTable>(g);
}

F33triple rgbOf(const normalcolor& c)
{
  return {double(c.red), double(c.green), double(c.blue)};
}

// A saturation or lightness for the byte colour conversions.
int32_t byteLevel(double v)
{
  return std::clamp(kvnum::sat_i32(v), int32_t(0), int32_t(255));
}

// (h + d) mod 360 for a hue h in whole degrees, any size.
double hueStep(int32_t h, int32_t d)
{
  return double((int64_t(h) + d) % 360);
}

// The fractal colour noise: a random vector at the scaled point, then o
// octaves, each at half the coordinates (shifted) added to 0.4 times the sum.
F33triple colourFractal(const KVtables* t, double f, double phase, double amp, int octaves,
                        double x, double y, double z)
{
  constexpr double kShiftZ = 0.333333;
  constexpr double kKeep = 0.4, kLift = 2.0;
  double px = f * x + phase, py = f * y, pz = f * z;
  double r = 0, gr = 0, b = 0;
  frandom3DVector3D(t, px, py, pz, &r, &gr, &b, amp);
  for (int k = 0; k < octaves; ++k) {
    px = px / 2 + phase;
    py = py / 2;
    pz = pz / 2 + kShiftZ;
    double r2 = 0, g2 = 0, b2 = 0;
    frandom3DVector3D(t, px, py, pz, &r2, &g2, &b2, amp);
    r = kKeep * r + r2 + kLift;
    gr = kKeep * gr + g2 + kLift;
    b = kKeep * b + b2 + kLift;
  }
  return {r, gr, b};
}

// Four calls of the spot colours: at P, at P's axes exchanged and shifted, at
// P turned (and scaled by 0.75), and at the turned point shifted.
F33triple colourSpots(const KVtables* t, double chroma, double px, double py, double pz)
{
  constexpr double kCos = 0.5, kSin = 0.866025, kShrink = 0.75;
  constexpr double kToScale = 1.0 / 90;
  double sums[3] = {0, 0, 0};
  double weight = 0;
  Spots3Dcolor(t, px, py, pz, sums, &weight);
  Spots3Dcolor(t, pz + 127.5, py + 573.5, px + 973.5, sums, &weight);
  const double u = kCos * py + kSin * px;
  const double qx = kShrink * (kCos * px - kSin * py);
  const double qy = kShrink * (kSin * u - kCos * pz);
  const double qz = kShrink * (kSin * pz + kCos * u);
  Spots3Dcolor(t, qx, qy, qz, sums, &weight);
  Spots3Dcolor(t, qx + 827.5, qy + 1003.5, qz + 1273.5, sums, &weight);
  const double grey = 8 * weight;
  return {(sums[2] * kToScale - grey) * chroma + grey, (sums[1] * kToScale - grey) * chroma + grey,
          (sums[0] * kToScale - grey) * chroma + grey};
}

// The marble's three noise sums s1, s2, s3 (centred on 0) at the scaled point.
struct MarbleSums
{
  double s1, s2, s3;
};

MarbleSums marbleSums(const KVtables* t, int octaves, double X, double Y, double Z)
{
  constexpr double kNarrow = 0.3, kShift = 517, kCentre = 512;
  constexpr double kShiftX = 12.3, kShiftZ = 0.333333;
  auto R = [t](double a, double b, double c) { return frandom3D(t, a, b, c) - kCentre; };
  MarbleSums s;
  s.s1 = R(kNarrow * X + kShift, kNarrow * Y, kNarrow * Z);
  s.s2 = R(X + kShift, Y, Z);
  s.s3 = s.s2;
  for (int k = 0; k < octaves; ++k) {
    Y = Y / 2;
    X = X / 2 + kShiftX;
    Z = Z / 2 + kShiftZ;
    s.s1 = s.s1 / 2 + R(kNarrow * X, kNarrow * Y, kNarrow * Z);
    s.s2 = s.s2 / 2 + R(X + kShift, Y, Z);
    s.s3 = s.s3 / 2 + R(X / 2, Y / 2 + kShift, Z);
  }
  return s;
}

// The marble colour of the sums: c0 scaled by t pulled from c2 by the vein
// weight w, then pulled from c1 by e.
F33triple marbleColour(const F33triple& c0, const F33triple& c1, const F33triple& c2,
                       const MarbleSums& s)
{
  const double t = (s.s1 + 600) / 750;
  const double w = std::min(1.0, std::fabs(s.s3) / 256 + 0.25);
  const double e = std::min(1.0, 0.005 * std::fabs(s.s2));
  auto channel = [=](double a0, double a1, double a2) {
    const double m = (a0 * t - a2) * w + a2;
    return (a1 + (m - a1) * e) / kF33byteScale;
  };
  return {channel(c0.a, c1.a, c2.a), channel(c0.b, c1.b, c2.b), channel(c0.c, c1.c, c2.c)};
}

// The bubble colour pulled from its mean grey by A and darkened far from
// the bubble's centre.
F33triple colourBubbles(const KVtables* t, double a, double px, double py, double pz)
{
  double d = 0.75;
  double rgb[3] = {8.0, 0, 0};
  ColorBubble3D(t, px, py, pz, &d, rgb);
  ColorBubble3D(t, px + 517.5, py + 17.5, pz + 317.5, &d, rgb);
  const double m = (rgb[0] + rgb[1] + rgb[2]) * 0.33;
  const double s = (1 - d) * 0.02;
  return {((rgb[0] - m) * a + m) * s, ((rgb[1] - m) * a + m) * s, ((rgb[2] - m) * a + m) * s};
}

// The random polygons: the occupied cell of the point and of o further
// octaves; the smallest key wins. Each octave scales the point by 1.3366,
// turns (x, y) about (19.333333, 0) by pi/(2o) and shifts it by (0.333333,
// 77.333333, 123.333333).
struct PolygonOctaves
{
  int count;
  double cosA, sinA;
};

F33triple randomPolygons(const KVtables* t, const PolygonOctaves& oct, int32_t threshold,
                         double chroma, double px, double py, double pz)
{
  constexpr double kScale = 1.3366, kCentreX = 19.333333;
  constexpr double kShiftX = 0.333333, kShiftY = 77.333333, kShiftZ = 123.333333;
  double colour[3] = {0, 0, 0};
  int32_t key = 0;
  bool found = discretrandom3DVector3D(t, px, py, pz, threshold, colour, &key);
  for (int k = 0; k < oct.count; ++k) {
    const double sx = kScale * px - kCentreX, sy = kScale * py;
    px = kCentreX + sx * oct.cosA - sy * oct.sinA + kShiftX;
    py = sx * oct.sinA + sy * oct.cosA + kShiftY;
    pz = kScale * pz + kShiftZ;
    double c2[3];
    int32_t key2 = 0;
    if (discretrandom3DVector3D(t, px, py, pz, threshold, c2, &key2) && (!found || key2 < key)) {
      std::copy_n(c2, 3, colour);
      key = key2;
      found = true;
    }
  }
  if (!found)
    return {0, 0, 0};
  const double grey = (t->perm[key & 1023] & 1023) / 128.0;
  return {(colour[0] - grey) * chroma + grey, (colour[1] - grey) * chroma + grey,
          (colour[2] - grey) * chroma + grey};
}

}  // namespace

int f33_colourOctaves(int documentOctaves)
{
  return std::clamp(documentOctaves / 4, 0, kMaxColourOctaves);
}

void fcaustics(const KVtables* t, double x, double y, double z, double* out1, double* out2,
               double* out3OrNull, double amp)
{
  double q[3] = {0, 0, 0};
  fPerlinNoise3DVector3D(t, x, y, z, &q[0], &q[1], &q[2], 2.0);
  double v[3];
  for (int k = 0; k < 3; ++k) {
    const double u = 1 - std::fabs(q[k]);
    v[k] = u > 0 ? amp * u * u : 0.0;
  }
  *out1 = v[0];
  *out2 = v[1];
  if (out3OrNull != nullptr)
    *out3OrNull = v[2];
}

bool discretrandom3DVector3D(const KVtables* t, double x, double y, double z, int32_t threshold,
                             double rgb[3], int32_t* key)
{
  constexpr double kCentre = 512, kToScale = 1.0 / 128;
  kvnum::LatticeSplit cx, cy, cz;
  if (!kvnum::lattice_floor(x, cx) || !kvnum::lattice_floor(y, cy) || !kvnum::lattice_floor(z, cz))
    return false;
  const int32_t h = kvnoise::cellHash3(t, cx.cell, cy.cell, cz.cell) & 1023;
  if (!(threshold > h))
    return false;
  rgb[0] = (t->grad2D[h][0] + kCentre) * kToScale;
  rgb[1] = (t->grad2D[h][1] + kCentre) * kToScale;
  rgb[2] = (t->grad2D[h + 1][0] + kCentre) * kToScale;
  *key = h;
  return true;
}

// ---- Message 8 ------------------------------------------------------------------

void f33_solidcolor4_precompute(gfunc* g)
{
  double* K = f33_k(g).K;
  K[0] = g->A / 256;
  K[1] = g->B / 512;
  K[2] = g->C / 4;
  K[3] = (1.25 - g->A) / 256;
}

void f33_solidcolor5_precompute(gfunc* g)
{
  const int32_t h = kvnum::sat_i32(g->A * 360 + 360);
  const double b = g->B;
  normalcolor* c = colourTable(g).c;
  myHSLtoRGB(hueStep(h, 0), byteLevel(std::floor(100 * b)), 150, &c[0]);
  myHSLtoRGB(hueStep(h, 30), byteLevel(std::floor(250 * b)), 70, &c[1]);
  myHSLtoRGB(hueStep(h, 60), byteLevel(std::floor(160 * b)), 128, &c[2]);
}

void f33_colorperlin_precompute(gfunc* g)
{
  constexpr int32_t kHueSteps[8] = {0, 18, 36, 54, 9, 27, 45, 63};
  const int32_t h = kvnum::sat_i32((1 + g->A) * 360);
  normalcolor* table = colourTable(g).c;
  for (int i = 0; i < 8; ++i) {
    normalcolor hue{};
    myHSLtoRGB(hueStep(h, kHueSteps[i]), 255, 128, &hue);
    // Odd entries start from black, even ones from a yellow of rising
    // strength.
    const uint8_t level = (i % 2 == 0) ? uint8_t(std::min(42 * i, 255)) : uint8_t(0);
    const normalcolor partner{255, level, level, 0};
    table[i] = ColorLERP(&partner, &hue, g->B);
  }
}

void f33_multifractal_precompute(gfunc* g)
{
  constexpr double kFlat = 119999.99999999999;
  double* K = f33_k(g).K;
  K[2] = g->C / 4;
  K[0] = 0.005 * g->A;
  K[1] = 512 * K[0] < 0.00001 ? kFlat : 1.2 / (512 * K[0]);
}

void f33_caustics_precompute(gfunc* g)
{
  constexpr double kFlat = 99999.99999999999;
  double* K = f33_k(g).K;
  K[2] = g->C / 8;
  K[0] = kPi * g->A;
  K[1] = 1.4 * K[0] < 0.00001 ? kFlat : 1 / (1.4 * K[0]);
}

// ---- Compute functions ----------------------------------------------------------

void f33_colorfractal(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const int o = colourOctaves(g);
  const double f = g->C * double((1 << o) >> 1), amp = g->A / 256, phase = g->B;
  f33_eachSample(
      g, [=](double x, double y, double z) { return colourFractal(t, f, phase, amp, o, x, y, z); });
}

void f33_solidcolor2(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const double k = g->A / 16384, b = g->B, c = g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    uint32_t rgb[3] = {0, 0, 0};
    const double v = TechnoNoise1F3DColor(t->perm, c * x + b, c * y, c * z, rgb, 1);
    return F33triple{v * k * rgb[0], v * k * rgb[1], v * k * rgb[2]};
  });
}

void f33_mondriancolor(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const double width = g->A, b = g->B, c = g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    normalcolor colour{};
    Mondrian3DColor(t, c * x + b, c * y, c * z + 0.5, &colour, width);
    return f33_fromByteScale(rgbOf(colour));
  });
}

void f33_spots3d(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const double f = g->C / 2, b = g->B, chroma = g->A;
  f33_eachSample(g, [=](double x, double y, double z) {
    return colourSpots(t, chroma, f * x - b, f * y, f * z);
  });
}

void f33_solidcolor4(gfunc* g)
{
  constexpr double kBendPhase = 77.0, kLayerPhase = 35.0, kGain = 0.5, kSquash = 0.87;
  fractalsinfos fi = KV_fractalSettings(g);
  const KVtables* t = f33_tables(g);
  const double* K = f33_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], k3 = K[3], rho = g->doc->yPixelScale;
  f33_eachSample(g, [&](double x, double y, double z) {
    // The layers bend with x and z, then a 1D fractal of the bent height
    // gives the grey and three shifted lookups the colour.
    const double h = fractal2D_procptr(&fi, fPerlinNoise2D, x, z, k2, rho, k1, kBendPhase, kGain);
    const double yb = y + h;
    const double v = fractal1D_procptr(&fi, frandom1D, yb, 2 * k2, rho / 4, k3, kLayerPhase, kGain);
    const double u = 2 * yb;
    const double q1 = frandom1D(t, u + 77.15);
    const double q2 = frandom1D(t, u * kSquash + 977.6);
    const double q3 = frandom1D(t, u * kSquash * kSquash + 1023.3);
    return F33triple{q3 * k0 + v, q2 * k0 + v, q1 * k0 + v};
  });
}

void f33_solidcolor5(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const normalcolor* c = colourTable(g).c;
  const F33triple c0 = rgbOf(c[0]), c1 = rgbOf(c[1]), c2 = rgbOf(c[2]);
  const int o = colourOctaves(g);
  const double f = std::ldexp(1.0, o) * 0.5 * g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    return marbleColour(c0, c1, c2, marbleSums(t, o, f * x, f * y, f * z));
  });
}

void f33_colorperlin(gfunc* g)
{
  constexpr double kSecond = 0.47;
  const KVtables* t = f33_tables(g);
  const normalcolor* table = colourTable(g).c;
  const double c = g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    const double q1 = fPerlinNoise3D(t, c * x, c * y, c * z);
    const double q2 =
        fPerlinNoise3D(t, kSecond * c * x + 712.3, kSecond * c * y, kSecond * c * z + 512.6);
    const double v = (q1 + q2 + 700) / 1200;
    F33triple rgb;
    fcolorgradient(table, 8, v, &rgb.a, &rgb.b, &rgb.c);
    return f33_fromByteScale(rgb);
  });
}

void f33_Bubbles(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const double f = g->C / 4, b = g->B, a = g->A;
  f33_eachSample(g, [=](double x, double y, double z) {
    return colourBubbles(t, a, f * x, f * y, f * z - b);
  });
}

void f33_multifractal(gfunc* g)
{
  constexpr double kGain = 0.75, kMix = 0.75, kLift = 4;
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f33_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], phase = g->B, rho = g->doc->yPixelScale;
  f33_eachSample(g, [&](double x, double y, double z) {
    double v[3] = {0, 0, 0};
    Multifractal3DVector_procptr(&fi, frandom3DVector3D, x, y, z, k2, rho, k0, phase, kGain, kMix,
                                 k1, v);
    return F33triple{v[0] + kLift, v[1] + kLift, v[2] + kLift};
  });
}

void f33_caustics(gfunc* g)
{
  constexpr double kGain = 0.75, kMix = 1.0;
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f33_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], phase = g->B, rho = g->doc->yPixelScale;
  f33_eachSample(g, [&](double x, double y, double z) {
    double v[3] = {0, 0, 0};
    Multifractal3DVector_procptr(&fi, fcaustics, x, y, z, k2, rho, k0, phase, kGain, kMix, k1, v);
    return F33triple{v[0], v[1], v[2]};
  });
}

void f33_solidcolor3(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const int o = colourOctaves(g);
  const double angle = o > 0 ? kPi / (2 * o) : 0.0;
  const PolygonOctaves oct{o, std::cos(angle), std::sin(angle)};
  const int32_t threshold = kvnum::sat_i32(std::floor(256 * g->B));
  const double chroma = g->A, c = g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    return randomPolygons(t, oct, threshold, chroma, c * x, c * y, c * z);
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f33_colorfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_colorfractal, g, msg, a, b, c);
}

int16_t f33_solidcolor2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_solidcolor2, g, msg, a, b, c);
}

int16_t f33_spots3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_spots3d, g, msg, a, b, c);
}

int16_t f33_solidcolor4_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_solidcolor4, g, msg, a, b, c);
}

int16_t f33_Bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_Bubbles, g, msg, a, b, c);
}

int16_t f33_solidcolor5_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_solidcolor5, g, msg, a, b, c);
}

int16_t f33_colorperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_colorperlin, g, msg, a, b, c);
}

int16_t f33_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_multifractal, g, msg, a, b, c);
}

int16_t f33_caustics_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_caustics, g, msg, a, b, c);
}

int16_t f33_mondriancolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_mondriancolor, g, msg, a, b, c);
}

int16_t f33_solidcolor3_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_solidcolor3, g, msg, a, b, c);
}
