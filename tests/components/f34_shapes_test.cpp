// The f34 colour shapes on the edge values of their formulas: the polygon's
// side count and field, the disk's and the bar's extent, the neon core, the
// random verticals' fade band, the six cuts of the random polygons, the
// colour looked up once for a uniform z, and the altitude-only pass.
#include "components/f34/f34_shapes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

#include "foundation/colormath.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;

struct Rgb
{
  double r, g, b;
};

// The colour of the closed 16-entry cycle of parameter t at z.
Rgb cycleColour(double t, double z)
{
  normalcolor table[16] = {};
  GetParam1DColorTable(table, t, 15);
  table[15] = table[0];
  Rgb c;
  const double at = z / 16 - std::floor(z / 16);
  fcolorgradient(table, 16, at, &c.r, &c.g, &c.b);
  return c;
}

gfunc* bound(KVmemberHarness& h, int16_t id, double a, double b, double c)
{
  gfunc* g = h.bind(kFamily34, id);
  h.setParams(a, b, c);
  h.prepare();
  return g;
}

void expectSample(KVmemberHarness& h, double x, double y, const double want[4])
{
  for (int out = 0; out < 4; ++out)
    EXPECT_NEAR(h.at(x, y, out), want[out], 1e-12) << "output " << out << " at " << x << ", " << y;
}

TEST(F34Shapes, PolygonSidesAreWholeAndHeldToTwoToTwentyTwo)
{
  KVmemberHarness h;
  // A = 2.9 draws two sides: a band of half-width B across y, endless in x.
  bound(h, 0, 2.9, 1, 0.5);
  const Rgb c = cycleColour(0.5, 0);
  const double centre[4] = {c.r / 32, c.g / 32, c.b / 32, 4};
  expectSample(h, 0, 0, centre);
  EXPECT_NEAR(h.at(50, 0.5, 3), 2, 1e-9);
  EXPECT_EQ(h.at(0, 3, 3), -2);
  const double marked[4] = {0, 0, 0, -2};
  expectSample(h, M, 0, marked);
  // Below radius 1/16 the field is 64 (B - m).
  bound(h, 0, 5, 0.03, 0.5);
  EXPECT_NEAR(h.at(0, 0, 3), 0.03 * 64, 1e-12);
  // A stored billion sides and zero sides draw 22 and 2.
  EXPECT_EQ(f34_polygonSides(1e9), 22);
  EXPECT_EQ(f34_polygonSides(0), 2);
  EXPECT_EQ(f34_polygonSides(NAN), 2);
  EXPECT_EQ(f34_polygonSides(-5), 2);
  KVmemberHarness ref;
  bound(h, 0, 1e9, 2, 0.5);
  bound(ref, 0, 22, 2, 0.5);
  for (double x : {0.3, 1.9, 2.05})
    EXPECT_EQ(h.at(x, 0.7, 3), ref.at(x, 0.7, 3)) << x;
  bound(h, 0, 0, 2, 0.5);
  bound(ref, 0, 2, 2, 0.5);
  EXPECT_EQ(h.at(7, 1.5, 3), ref.at(7, 1.5, 3));
}

TEST(F34Shapes, CircleLineAndNeonExtents)
{
  KVmemberHarness h;
  // Circle: A at the centre, 0 at radius B, held at -2 outside.
  bound(h, 1, 3, 2, 0.5);
  EXPECT_NEAR(h.at(0, 0, 3), 3, 1e-12);
  EXPECT_NEAR(h.at(2, 0, 3), 0, 1e-12);
  EXPECT_NEAR(h.at(2, 0, 0), 0, 1e-12);
  EXPECT_EQ(h.at(9, 0, 3), -2);
  // Line with A = 0: along x to 2B + 0.5, across to 0.5.
  bound(h, 2, 0, 1.5, 0.5);
  EXPECT_NEAR(h.at(0, 0, 3), 4, 1e-12);
  EXPECT_NEAR(h.at(3.5, 0, 3), 0, 1e-12);
  EXPECT_NEAR(h.at(-3.5, 0.2, 3), 0, 1e-12);
  EXPECT_NEAR(h.at(1, 0.5, 3), 0, 1e-12);
  EXPECT_LT(h.at(3.6, 0, 3), 0);
  // Neon: on the centre line the colour is 0.0234375 of the cycle plus pi.
  bound(h, 3, 0.3, 1, 0.5);
  h.setInput(2, KVtestInput::fill(5));
  const Rgb c = cycleColour(0.5, 5);
  const double alongLine = 0.7;
  const double x = alongLine * std::cos(0.3), y = alongLine * std::sin(0.3);
  const double core[4] = {0.0234375 * c.r + kPi, 0.0234375 * c.g + kPi, 0.0234375 * c.b + kPi, 4};
  expectSample(h, x, y, core);
  // One unit away from the segment everything is 0.
  const double zero[4] = {0, 0, 0, 0};
  expectSample(h, x - std::sin(0.3), y + std::cos(0.3), zero);
  expectSample(h, 2 * std::cos(0.3), 2 * std::sin(0.3), zero);
}

TEST(F34Shapes, AltitudePassWritesTheRawValues)
{
  KVmemberHarness h;
  h.doc()->fractal.reliefPass = 1;
  struct Case
  {
    int16_t id;
    double x, y;
    double rgb[3];
  };
  const double v = -0.1 / 1, u = -0.2 / 1;  // the line's frame at A = 0, B = 1
  const Case cases[] = {
      {1, 0.1, 0.2, {0.1, 0.2, 0.75}}, {2, 0.1, 0.2, {v, u, 0.75}},
      {3, 0.1, 0.2, {0, 0.2, 0.75}},   {39, 0.1, 0.2, {0.1, 0.2, 0.75}},
      {4, 0.1, 0.2, {0.1, 0.2, 0.75}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    h.bind(kFamily34, c.id);
    if (c.id == 2 || c.id == 3)
      h.setParams(0, 1, 0.5);
    h.prepare();
    h.setInput(2, KVtestInput::fill(0.75));
    for (int out = 0; out < 3; ++out)
      EXPECT_NEAR(h.at(c.x, c.y, out), c.rgb[out], 1e-12) << out;
  }
  // The polygon keeps its colour.
  h.bind(kFamily34, 0);
  h.prepare();
  EXPECT_GT(h.at(0, 0, 0) + h.at(0, 0, 1) + h.at(0, 0, 2), 0);
}

TEST(F34Shapes, GaussianDotHeightAndColour)
{
  KVmemberHarness h;
  bound(h, 39, 2, 4, 0.5);
  const Rgb c = cycleColour(0.5, 0);
  const double centre[4] = {c.r / 32, c.g / 32, c.b / 32, 2};
  expectSample(h, 0, 0, centre);
  const double s = 1 - 1.0 / 4, dot = s * s * (3 - 2 * s);
  EXPECT_NEAR(h.at(1, 0, 3), 2 * dot, 1e-12);
  const double zero[4] = {0, 0, 0, 0};
  expectSample(h, 4, 0, zero);
}

TEST(F34Shapes, UniformZLooksTheColourUpOnce)
{
  KVmemberHarness h;
  bound(h, 1, 4, 3, 0.2);
  KVbatch zs;
  for (int i = 0; i < kBatchCapacity; ++i)
    zs[i] = 0.9 * i;
  h.setInput(2, KVtestInput::samples(zs));
  const KVbatch perSample = h.run(KVtestInput::fill(0.1), KVtestInput::fill(0.1));
  h.setInput(2, KVtestInput::uniform(0.0));
  const KVbatch uniform = h.run(KVtestInput::fill(0.1), KVtestInput::fill(0.1));
  const Rgb first = cycleColour(0.2, 0);
  for (int i = 0; i < kBatchCapacity; ++i) {
    EXPECT_DOUBLE_EQ(uniform[i], first.r / 32) << i;
    EXPECT_DOUBLE_EQ(perSample[i], cycleColour(0.2, zs[i]).r / 32) << i;
  }
}

TEST(F34Shapes, RandomVerticalsFadeTheColumnsAboveTheThreshold)
{
  KVmemberHarness h;
  bound(h, 4, 0, 0.5, 1);
  const int32_t* perm = h.doc()->tables.perm;
  int drawn = 0;
  for (int n = -300; n < 300; ++n) {
    const int p = perm[(n + 517) & 1023];
    // The profile peaks where the column's fraction is 0.75 - p / 128.
    if (p < 64) {
      const double x = n + 0.75 - p / 128.0;
      EXPECT_NEAR(h.at(x, 0, 3), 4 * (64 - p) / 64.0, 1e-9) << n;
      ++drawn;
    } else {
      for (double f : {0.1, 0.5, 0.9})
        EXPECT_EQ(h.at(n + f, 0, 3), 0) << n;
      EXPECT_EQ(h.at(n + 0.5, 0, 0), 0) << n;
    }
  }
  EXPECT_GT(drawn, 10);
}

TEST(F34Shapes, RandomPolygonCutsAndHeights)
{
  KVmemberHarness h;
  h.bind(kFamily34, 38);
  const KVtables* t = &h.doc()->tables;
  // The corners each cut takes away, as (u, v) signs: 0 (1, -1); 1 (-1, -1);
  // 2 (1, 1); 3 (-1, 1); 4 (1, -1) and (-1, 1); 5 (-1, -1) and (1, 1).
  const bool kept[6][4] = {
      // corners (1, 1), (-1, 1), (-1, -1), (1, -1)
      {true, true, true, false}, {true, true, false, true},  {false, true, true, true},
      {true, false, true, true}, {true, false, true, false}, {false, true, false, true},
  };
  const double corners[4][2] = {{0.8, 0.8}, {-0.8, 0.8}, {-0.8, -0.8}, {0.8, -0.8}};
  const double colours[9] = {10, 20, 30, 40, 50, 60, 70, 80, 90};
  bool seen[6] = {};
  for (int32_t ix = -40; ix < 40; ++ix) {
    const int32_t iy = 3 - ix;
    const uint32_t h2 = uint32_t(t->perm[(ix + t->perm[iy & 1023] + (iy >> 9) + 333) & 1023]);
    const int cut = int(h2 % 6);
    seen[cut] = true;
    for (int k = 0; k < 4; ++k) {
      double acc[4] = {0, 0, 0, 0};
      EXPECT_EQ(f2dregionZPolyB(t, corners[k][0], corners[k][1], 0, ix, iy, colours, acc),
                kept[cut][k] ? 1 : 0)
          << "cell " << ix << " cut " << cut << " corner " << k;
    }
    // At the centre, raised by 0.5, the height is the cell's cap.
    double acc[4] = {0, 0, 0, 0};
    f2dregionZPolyB(t, 0, 0, 3, ix, iy, colours, acc);
    const uint32_t h1 = uint32_t(t->perm[(iy + t->perm[ix & 1023] + (ix >> 9)) & 1023]);
    EXPECT_DOUBLE_EQ(acc[3], (h1 % 4 + 3) * 0.125);
    const uint32_t pick = (h2 >> 3) % 4;
    EXPECT_EQ(acc[0], pick < 3 ? colours[3 * pick] : 128);
    // A lower polygon leaves a higher one alone.
    double high[4] = {1, 2, 3, 5};
    f2dregionZPolyB(t, 0, 0, 3, ix, iy, colours, high);
    EXPECT_EQ(high[0], 1);
    EXPECT_EQ(high[3], 5);
  }
  for (int cut = 0; cut < 6; ++cut)
    EXPECT_TRUE(seen[cut]) << cut;
}

}  // namespace
