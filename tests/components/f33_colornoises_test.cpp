// The f33 3D colour noises: names, labels, maps and the fractal flag; one
// worked value per member from the bases it is built on; the octave count
// below 8 of the fractal colour noise; Marble's and the Perlin noise's colour
// tables at saturation 0 and 1; the large fallbacks of MultiFractal and
// Caustics at A = 0; the caustics basis; and the random polygons, which no id
// selects, through its own descriptor.
#include "components/f33/f33_colornoises.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "components/f33/f33_pvt.h"
#include "engine/catalog.h"
#include "foundation/colormath.h"
#include "noise/cellular.h"
#include "noise/drivers.h"
#include "noise/lattice.h"
#include "noise/mazecolor.h"
#include "noise/noises.h"
#include "noise/spots.h"
#include "noise/techno.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/f33_member_fixture.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;

class F33ColourNoise : public F33MemberTest
{};

TEST_F(F33ColourNoise, NamesLabelsMapsAndFlags)
{
  const KVnameRow names[] = {
      {18, " 3D Color Fractal noise", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {19, " 3D Color techno noise", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {20, " 3D Color spots", 3, {"Chroma ", "Phase ", "Frequency "}},
      {21, " 3D Color strata stone", 3, {"Chroma ", "Distortion ", "Frequency "}},
      {22, " 3D Color Bubbles", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {27, " 3D Color Marble", 3, {"Hue Rotation ", "Saturation ", "Frequency "}},
      {31, " 3D Color Perlin noise", 3, {"Hue Rotation ", "Saturation ", "Frequency "}},
      {45, " 3D Color MultiFractal", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {46, " 3D Caustics", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {52, " 3D Color Mondrian ", 3, {" Line Width ", "Phase ", "Frequency "}},
  };
  const KVrangeRow ranges[] = {
      {18, {4, 0, 2}, {0, -16, 0}, {8, 16, 8}},   {19, {4, 0, 1}, {0, -16, 0}, {8, 16, 8}},
      {20, {4, 0, 2}, {0, -16, 0}, {1, 16, 8}},   {21, {0.5, 0.25, 2}, {0, -2, 0}, {1, 2, 8}},
      {22, {0.5, 0, 2}, {0, -16, 0}, {1, 16, 8}}, {27, {0.5, 0.5, 2}, {0, 0, 0.0625}, {1, 1, 8}},
      {31, {0, 1, 2}, {-1, 0, 0}, {1, 1, 8}},     {45, {1, 0, 2}, {0, -16, 0}, {2, 16, 16}},
      {46, {1, 0, 2}, {0, -16, 0}, {2, 16, 16}},  {52, {0.25, 0, 1}, {0, -16, 0}, {1, 16, 8}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h_, kFamily33, row);
  for (const KVrangeRow& row : ranges) {
    gfunc* g = KV_expectDefaultsAndRangeEnds(h_, kFamily33, row);
    const bool fractal = row.id == 21 || row.id == 45 || row.id == 46;
    EXPECT_EQ(g->freqFlag, fractal ? 1 : 0) << row.id;
    EXPECT_EQ(g->inputCode, kConnThreeOut);
  }
}

// o = octaves / 4 below 2 (octave counts 0..7): o = 0 samples the basis at
// (B, 0, 0) whatever the point; o = 1 scales by C and adds one octave.
TEST_F(F33ColourNoise, FractalNoiseWithFewOctaves)
{
  const double A = 4, B = 1.7, C = 2;
  const double a = A / 256;
  h_.doc()->fractal.octaves = 3;
  bind(18, A, B, C);
  Triple flat{};
  frandom3DVector3D(t(), B, 0, 0, &flat[0], &flat[1], &flat[2], a);
  expectNear(at(0.3, -1.2, 2.5), flat);
  expectNear(at(-2.1, 0.4, 0.9), flat);

  h_.doc()->fractal.octaves = 7;
  bind(18, A, B, C);
  const double x = 0.3, y = -1.2, z = 2.5;
  Triple v{}, w{};
  frandom3DVector3D(t(), C * x + B, C * y, C * z, &v[0], &v[1], &v[2], a);
  frandom3DVector3D(t(), (C * x + B) / 2 + B, C * y / 2, C * z / 2 + 0.333333, &w[0], &w[1], &w[2],
                    a);
  expectNear(at(x, y, z),
             {0.4 * v[0] + w[0] + 2.0, 0.4 * v[1] + w[1] + 2.0, 0.4 * v[2] + w[2] + 2.0});
  EXPECT_EQ(f33_colourOctaves(7), 1);
  EXPECT_EQ(f33_colourOctaves(16), 4);
  EXPECT_EQ(f33_colourOctaves(256), 20);
  EXPECT_EQ(f33_colourOctaves(-9), 0);
}

// Techno, Mondrian, spots and bubbles at one point, from their patterns.
TEST_F(F33ColourNoise, PatternMembersAtOnePoint)
{
  const double x = 0.61, y = -0.37, z = 1.13;
  {
    SCOPED_TRACE("techno");
    bind(19, 4, 0.5, 3);
    uint32_t rgb[3];
    const double v = TechnoNoise1F3DColor(t()->perm, 3 * x + 0.5, 3 * y, 3 * z, rgb, 1);
    const double k = v * 4 * 6.103515625e-5;
    expectNear(at(x, y, z), {k * rgb[0], k * rgb[1], k * rgb[2]});
  }
  {
    SCOPED_TRACE("mondrian");
    bind(52, 0.25, 0.5, 3);
    normalcolor c{};
    Mondrian3DColor(t(), 3 * x + 0.5, 3 * y, 3 * z + 0.5, &c, 0.25);
    expectNear(at(x, y, z), {c.red / 32.0, c.green / 32.0, c.blue / 32.0});
  }
  {
    SCOPED_TRACE("spots");
    const double A = 0.7, B = 1.5, f = 4.0 / 2;
    bind(20, A, B, 4);
    const double px = f * x - B, py = f * y, pz = f * z;
    double s[3] = {0, 0, 0}, w = 0;
    Spots3Dcolor(t(), px, py, pz, s, &w);
    Spots3Dcolor(t(), pz + 127.5, py + 573.5, px + 973.5, s, &w);
    const double u = 0.5 * py + 0.866025 * px;
    const double qx = 0.75 * (0.5 * px - 0.866025 * py), qy = 0.75 * (0.866025 * u - 0.5 * pz),
                 qz = 0.75 * (0.866025 * pz + 0.5 * u);
    Spots3Dcolor(t(), qx, qy, qz, s, &w);
    Spots3Dcolor(t(), qx + 827.5, qy + 1003.5, qz + 1273.5, s, &w);
    const double g = 8 * w;
    expectNear(at(x, y, z),
               {(s[2] / 90 - g) * A + g, (s[1] / 90 - g) * A + g, (s[0] / 90 - g) * A + g});
  }
  {
    SCOPED_TRACE("bubbles");
    const double A = 0.6, B = 0.8, f = 6.0 / 4;
    bind(22, A, B, 6);
    double d = 0.75, c[3] = {8.0, 0, 0};
    ColorBubble3D(t(), f * x, f * y, f * z - B, &d, c);
    ColorBubble3D(t(), f * x + 517.5, f * y + 17.5, f * z - B + 317.5, &d, c);
    const double m = (c[0] + c[1] + c[2]) * 0.33, s = (1 - d) * 0.02;
    expectNear(at(x, y, z),
               {((c[0] - m) * A + m) * s, ((c[1] - m) * A + m) * s, ((c[2] - m) * A + m) * s});
  }
}

TEST_F(F33ColourNoise, StrataStoneAtOnePoint)
{
  const double A = 0.5, B = 0.25, C = 2, x = 0.4, y = -0.7, z = 1.9;
  bind(21, A, B, C);
  const double k0 = A / 256, k1 = B / 512, k2 = C / 4, k3 = (1.25 - A) / 256;
  const double rho = h_.doc()->yPixelScale;
  fractalsinfos fi = settings();
  const double h = fractal2D_procptr(&fi, fPerlinNoise2D, x, z, k2, rho, k1, 77.0, 0.5);
  const double yb = y + h;
  const double v = fractal1D_procptr(&fi, frandom1D, yb, 2 * k2, rho / 4, k3, 35.0, 0.5);
  const double u = 2 * yb;
  const double q1 = frandom1D(t(), u + 77.15), q2 = frandom1D(t(), u * 0.87 + 977.6),
               q3 = frandom1D(t(), u * 0.87 * 0.87 + 1023.3);
  expectNear(at(x, y, z), {q3 * k0 + v, q2 * k0 + v, q1 * k0 + v});
}

// Saturation 0 makes Marble's three colours the greys 150, 70 and 128, so
// every sample is grey; with o = 0 the sums take one lookup each.
TEST_F(F33ColourNoise, MarbleColoursAndOneValue)
{
  h_.doc()->fractal.octaves = 2;  // o = 0
  gfunc* g = bind(27, 0.3, 0, 2);
  const normalcolor* c = privateArea<F33colourTable>(g).c;
  const int greys[3] = {150, 70, 128};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(c[k].red, greys[k]);
    EXPECT_EQ(c[k].green, greys[k]);
    EXPECT_EQ(c[k].blue, greys[k]);
  }
  const double x = 0.8, y = -1.1, z = 0.25, f = 1.0;  // f = 2^0 0.5 C
  const double s1 = frandom3D(t(), 0.3 * f * x + 517, 0.3 * f * y, 0.3 * f * z) - 512;
  const double s2 = frandom3D(t(), f * x + 517, f * y, f * z) - 512;
  const double tt = (s1 + 600) / 750, w = std::min(1.0, std::fabs(s2) / 256 + 0.25),
               e = std::min(1.0, 0.005 * std::fabs(s2));
  const double m = (150 * tt - 128) * w + 128, out = (70 + (m - 70) * e) / 32;
  expectNear(at(x, y, z), {out, out, out});

  bind(27, 0.3, 1, 2);
  EXPECT_NE(c[0].red, c[0].blue);  // saturated again
}

TEST_F(F33ColourNoise, PerlinNoiseColourTable)
{
  gfunc* g = bind(31, 0.1, 0, 2);
  const normalcolor* table = privateArea<F33colourTable>(g).c;
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const int level = i % 2 == 0 ? 42 * i : 0;
    EXPECT_EQ(table[i].red, level);
    EXPECT_EQ(table[i].green, level);
    EXPECT_EQ(table[i].blue, 0);
  }
  bind(31, 0.1, 1, 2);
  const int h = int((1 + 0.1) * 360);  // 396
  const int steps[8] = {0, 18, 36, 54, 9, 27, 45, 63};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    normalcolor hue{};
    myHSLtoRGB((h + steps[i]) % 360, 255, 128, &hue);
    EXPECT_EQ(table[i].red, hue.red);
    EXPECT_EQ(table[i].green, hue.green);
    EXPECT_EQ(table[i].blue, hue.blue);
  }
  const double C = 2, x = 0.45, y = 1.3, z = -0.6;
  const double q1 = fPerlinNoise3D(t(), C * x, C * y, C * z);
  const double q2 = fPerlinNoise3D(t(), 0.47 * C * x + 712.3, 0.47 * C * y, 0.47 * C * z + 512.6);
  Triple rgb{};
  fcolorgradient(table, 8, (q1 + q2 + 700) / 1200, &rgb[0], &rgb[1], &rgb[2]);
  expectNear(at(x, y, z), {rgb[0] / 32, rgb[1] / 32, rgb[2] / 32});
}

// A = 0: k0 = 0, so the drivers sum nothing and k1 takes its fallback.
TEST_F(F33ColourNoise, MultiFractalAndCausticsAtZeroAmplitude)
{
  gfunc* g = bind(45, 0, 0, 2);
  EXPECT_EQ(f33_k(g).K[1], 119999.99999999999);
  EXPECT_EQ(f33_k(g).K[2], 0.5);
  expectNear(at(0.3, 0.2, 0.1), {4, 4, 4});
  g = bind(46, 0, 0, 2);
  EXPECT_EQ(f33_k(g).K[1], 99999.99999999999);
  EXPECT_EQ(f33_k(g).K[2], 0.25);
  expectNear(at(0.3, 0.2, 0.1), {0, 0, 0});
  g = bind(46, 1, 0, 2);
  EXPECT_DOUBLE_EQ(f33_k(g).K[1], 1 / (1.4 * kPi));
}

TEST_F(F33ColourNoise, MultiFractalAndCausticsAtOnePoint)
{
  const double x = 0.3, y = -0.8, z = 1.2, B = 0.5;
  const double rho = h_.doc()->yPixelScale;
  {
    SCOPED_TRACE("multifractal");
    bind(45, 1, B, 2);
    fractalsinfos fi = settings();
    double v[3];
    Multifractal3DVector_procptr(&fi, frandom3DVector3D, x, y, z, 0.5, rho, 0.005, B, 0.75, 0.75,
                                 1.2 / (512 * 0.005), v);
    expectNear(at(x, y, z), {v[0] + 4, v[1] + 4, v[2] + 4});
  }
  {
    SCOPED_TRACE("caustics");
    bind(46, 1, B, 2);
    fractalsinfos fi = settings();
    double v[3];
    Multifractal3DVector_procptr(&fi, fcaustics, x, y, z, 0.25, rho, kPi, B, 0.75, 1.0,
                                 1 / (1.4 * kPi), v);
    expectNear(at(x, y, z), {v[0], v[1], v[2]});
    for (double c : v)
      EXPECT_GE(c, 0.0);
  }
}

TEST_F(F33ColourNoise, CausticsBasis)
{
  for (const Triple p : {Triple{0.31, 0.77, -0.42}, Triple{2.5, -1.25, 0.125}}) {
    double q[3];
    fPerlinNoise3DVector3D(t(), p[0], p[1], p[2], &q[0], &q[1], &q[2], 2.0);
    double v[3];
    fcaustics(t(), p[0], p[1], p[2], &v[0], &v[1], &v[2], 3.0);
    for (int k = 0; k < 3; ++k) {
      const double u = 1 - std::fabs(q[k]);
      EXPECT_EQ(v[k], u > 0 ? 3.0 * u * u : 0.0);
    }
    double a = 0, b = 0;
    fcaustics(t(), p[0], p[1], p[2], &a, &b, nullptr, 3.0);
    EXPECT_EQ(a, v[0]);
    EXPECT_EQ(b, v[1]);
  }
}

// The random polygons through its own descriptor: with B = 4 every cell is
// occupied and, with o = 0, the colour is the cell's gradient pair blended
// with the grey of its key by A; with B = 0 no cell is.
TEST_F(F33ColourNoise, RandomPolygonsWithoutAnId)
{
  EXPECT_EQ(kF33_solidcolor3.name, " 3D Color random Polygons");
  gfunc* g = h_.bind(kFamily33, 0);
  g->compute = kF33_solidcolor3.compute;
  g->handler = kF33_solidcolor3.handler;
  EXPECT_EQ(h_.displayName(), " 3D Color random Polygons");
  double a = 0, b = 0, c = 0;
  EXPECT_EQ(h_.send(kMsgParamB, &b), "Phase ");
  h_.send(kMsgDefaults);
  EXPECT_EQ(g->A, 0.5);
  EXPECT_EQ(g->B, 1);
  EXPECT_EQ(g->C, 1);
  a = b = c = 1;
  h_.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g->B, 2);
  EXPECT_EQ(g->C, 2);

  h_.doc()->fractal.octaves = 3;  // o = 0
  const double A = 0.25, C = 1.5, x = 2.2, y = -0.4, z = 0.9;
  h_.setParams(A, 4, C);
  const int32_t key = kvnoise::cellHash3(t(), 3, -1, 1) & 1023;  // floor(C x, C y, C z)
  const double col[3] = {(t()->grad2D[key][0] + 512) / 128.0, (t()->grad2D[key][1] + 512) / 128.0,
                         (t()->grad2D[key + 1][0] + 512) / 128.0};
  const double grey = t()->perm[key] / 128.0;
  expectNear(at(x, y, z),
             {(col[0] - grey) * A + grey, (col[1] - grey) * A + grey, (col[2] - grey) * A + grey});
  h_.setParams(A, 0, C);
  expectNear(at(x, y, z), {0, 0, 0});

  // With octaves, a later octave wins only with a smaller key: the result
  // stays finite and on the colour scale.
  h_.doc()->fractal.octaves = 16;
  h_.setParams(1, 2, C);
  for (double v : at(x, y, z)) {
    EXPECT_GE(v, 0.0);
    EXPECT_LE(v, 8.0);
  }
  EXPECT_EQ(at(M, 0, 0), (Triple{M, M, M}));
}

TEST_F(F33ColourNoise, OccupiedCellLookup)
{
  double rgb[3] = {-1, -1, -1};
  int32_t key = -1;
  const int32_t h = kvnoise::cellHash3(t(), 0, 1, -2) & 1023;
  EXPECT_FALSE(discretrandom3DVector3D(t(), 0.5, 1.5, -1.5, h, rgb, &key));
  EXPECT_EQ(key, -1);
  EXPECT_TRUE(discretrandom3DVector3D(t(), 0.5, 1.5, -1.5, h + 1, rgb, &key));
  EXPECT_EQ(key, h);
  EXPECT_EQ(rgb[1], (t()->grad2D[h][1] + 512) / 128.0);
  EXPECT_FALSE(discretrandom3DVector3D(t(), std::nan(""), 0, 0, 2000, rgb, &key));
  EXPECT_FALSE(discretrandom3DVector3D(t(), 1e20, 0, 0, 2000, rgb, &key));
}

}  // namespace
