// The flat-coloured shapes on the edge values of their formulas: the mask
// at the centre and its clamps, the colour reaching full at a small mask,
// the neon core, the half plane's colour per loop pass, the interlaced
// grid's far value and modulo, and the altitude-only pass.
#include "components/f24/f24_shapes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "foundation/colormath.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct Rgb
{
  double r, g, b;
};

// Entry `entry` of the hue table of `hues` colours from t, as the members
// build it (a closed cycle of 16 for the half plane).
Rgb tableColour(double t, int hues, double at = 0)
{
  normalcolor table[16] = {};
  GetParam1DColorTable(table, t, hues);
  if (hues == 15)
    table[15] = table[0];
  Rgb c;
  fcolorgradient(table, 16, at, &c.r, &c.g, &c.b);
  return c;
}

void expectColour(KVmemberHarness& h, double x, double y, const Rgb& c, double w)
{
  EXPECT_NEAR(h.at(x, y, 0), c.r * w, 1e-12);
  EXPECT_NEAR(h.at(x, y, 1), c.g * w, 1e-12);
  EXPECT_NEAR(h.at(x, y, 2), c.b * w, 1e-12);
}

gfunc* bound(KVmemberHarness& h, int16_t id, double a, double b, double c)
{
  gfunc* g = h.bind(kFamily24, id);
  h.setParams(a, b, c);
  h.prepare();
  return g;
}

TEST(F24Shapes, MaskAtTheCentreAndTheColourItLights)
{
  struct Case
  {
    int16_t id;
    double a, b;
    double centre;  // output 4 at (0, 0)
  };
  const Case cases[] = {
      {21, 5, 2, 4},             // any B >= 1/16
      {21, 5, 0.03, 0.03 * 64},  // below it k2 = 64
      {22, 4, 2, 4},             // k0 B^2 with k0 = A / B^2
      {22, 3, 0.2, 3 * 0.04 / 0.0625},
      {23, kPi / 2, 0, 4},  // B = 0 acts as 1e-7
      {51, 2, 4, 2},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + " B " + std::to_string(c.b));
    bound(h, c.id, c.a, c.b, 0.5);
    EXPECT_NEAR(h.at(0, 0, 3), c.centre, 1e-12);
    // The colour is full (channel / 32) once m >= 1/32; the dot by g A / 2.
    const double w = c.id == 51 ? std::min(c.centre / 2, 1.0) / 32 : 1.0 / 32;
    expectColour(h, 0, 0, tableColour(0.5, c.id == 21 ? 2 : 1), w);
  }
  // A line of B = 0 is as short as one of 1e-7.
  KVmemberHarness tiny;
  bound(h, 23, 0.4, 0, 0.5);
  bound(tiny, 23, 0.4, 1e-7, 0.5);
  for (double x : {1e-8, 2e-7, 0.3})
    EXPECT_EQ(h.at(x, 1e-8, 3), tiny.at(x, 1e-8, 3));
}

TEST(F24Shapes, SmallMasksDimTheColourAndNegativeOnesClamp)
{
  KVmemberHarness h;
  bound(h, 22, 1, 1, 0.5);  // m = 1 - r^2
  const Rgb c = tableColour(0.5, 1);
  const double x = std::sqrt(1 - 1.0 / 64);  // m = 1/64: half the colour
  EXPECT_NEAR(h.at(x, 0, 3), 1.0 / 64, 1e-12);
  expectColour(h, x, 0, c, 0.5 / 32);
  EXPECT_EQ(h.at(5, 0, 3), -2);
  expectColour(h, 5, 0, c, 0);

  // The half plane: m = x + B, at most 4, at least -2.
  bound(h, 43, 0, 0, 0.5);
  EXPECT_EQ(h.at(10, 0, 3), 4);
  EXPECT_EQ(h.at(-10, 0, 3), -2);
  EXPECT_EQ(h.at(0.5, 0, 3), 0.5);
}

TEST(F24Shapes, PolygonSidesAreCapped)
{
  KVmemberHarness h, cap;
  bound(h, 21, 1e9, 2, 0.5);
  bound(cap, 21, 64, 2, 0.5);
  for (double x : {0.0, 1.7, 1.99, 2.5})
    EXPECT_EQ(h.at(x, 0.3, 3), cap.at(x, 0.3, 3)) << x;
}

TEST(F24Shapes, NeonCoreOnItsAxisAndNothingBeyondItsGlow)
{
  KVmemberHarness h;
  bound(h, 24, 0, 1, 0.5);  // along x, half-length 1
  const Rgb c = tableColour(0.5, 1);
  EXPECT_EQ(h.at(0.5, 0, 3), 4);
  EXPECT_NEAR(h.at(0.5, 0, 0), 0.0234375 * c.r + kPi, 1e-12);
  EXPECT_NEAR(h.at(0.5, 0, 2), 0.0234375 * c.b + kPi, 1e-12);
  for (int out = 0; out < 4; ++out) {
    EXPECT_EQ(h.at(0, 1.5, out), 0);
    EXPECT_EQ(h.at(2.0, 0, out), 0);  // D = 1 exactly
  }
  // The altitude-only flag does not darken the neon.
  h.doc()->fractal.reliefPass = 1;
  EXPECT_NEAR(h.at(0.5, 0, 0), 0.0234375 * c.r + kPi, 1e-12);
}

TEST(F24Shapes, HalfPlaneTakesItsColourFromTheLoopPass)
{
  KVmemberHarness h;
  gfunc* g = bound(h, 43, 0, 0, 0.3);
  smalltree tree{};
  g->owner = &tree;
  for (int pass : {0, 1, 5, 17}) {
    SCOPED_TRACE(pass);
    tree.iteration = int16_t(pass);
    const double at = (pass % 16) / 16.0;
    expectColour(h, 10, 0, tableColour(0.3, 15, at), 1.0 / 32);
  }
  g->owner = nullptr;
}

TEST(F24Shapes, InterlacedGrid)
{
  EXPECT_EQ(f24_gridMod(-8, 8), 8);
  EXPECT_EQ(f24_gridMod(-3, 8), 5);
  EXPECT_EQ(f24_gridMod(3, 8), 3);
  EXPECT_EQ(f24_gridMod(16, 16), 0);

  KVmemberHarness h;
  bound(h, 28, 0, 0.5, 1);  // u = 4y, w = 4x
  // Both bands 3 from their centre lines: m = -3, beyond -2.
  EXPECT_EQ(h.at(1, 1, 3), -8);
  EXPECT_EQ(h.at(1, -3, 3), -8);
  EXPECT_EQ(h.at(1, 1, 0), 0);
  // On the x band's centre line (u = 0) away from the crossing the band
  // runs over: m = min(1, 1 - S/8 - 0.1) with S = 4 |x| folded.
  EXPECT_NEAR(h.at(0.25, 0, 3), 4 * (1 - 1.0 / 8 - 0.1), 1e-12);
  normalcolor table[16] = {};
  GetParam1DColorTable(table, 0.5, 1);
  EXPECT_NEAR(h.at(0.25, 0, 0), table[0].red / 32.0, 1e-12);
  EXPECT_NEAR(h.at(0.25, 0, 2), table[0].blue / 32.0, 1e-12);
  EXPECT_EQ(h.at(gINFINITY, 0, 3), gINFINITY);
}

TEST(F24Shapes, AltitudeOnlyPassKeepsTheMaskAndDropsTheColour)
{
  KVmemberHarness h;
  for (int16_t id : {21, 22, 23, 28, 43, 51}) {
    SCOPED_TRACE(id);
    h.bind(kFamily24, id);
    h.prepare();
    h.doc()->fractal.reliefPass = 0;
    const double mask = h.at(0.25, 0, 3);
    h.doc()->fractal.reliefPass = 1;
    EXPECT_EQ(h.at(0.25, 0, 3), mask);
    for (int out = 0; out < 3; ++out)
      EXPECT_EQ(h.at(0.25, 0, out), 0);
    h.doc()->fractal.reliefPass = 0;
  }
}

}  // namespace
