// Spots, cones, jittered displacements and circle geometry.
#include "noise/spots.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "noise/tables.h"
#include "noise_test_support.h"

namespace {

class Spots : public SeededTablesTest<1234>
{};

// A grid of samples over a few dozen cells, negative coordinates included.
std::vector<std::pair<double, double>> grid(double step = 0.07)
{
  std::vector<std::pair<double, double>> points;
  for (double x = -4.01; x < 4.0; x += step)
    for (double y = -3.03; y < 3.0; y += step)
      points.push_back({x, y});
  return points;
}

TEST_F(Spots, Spots2DAddsOnlyInCellsWithALowHash)
{
  int added = 0;
  for (auto [x, y] : grid()) {
    double acc = 2.0;
    Spots2D(t(), x, y, &acc);
    int32_t p = cellHash(int32_t(std::floor(x)), int32_t(std::floor(y)));
    if (p >= 563) {
      EXPECT_EQ(acc, 2.0) << x << ", " << y;
    } else {
      // The profile (4 (0.25 - sqrt m))^2 lies in [0, 1].
      EXPECT_GE(acc, 2.0);
      EXPECT_LE(acc, 3.0);
      added += acc > 2.0;
    }
  }
  EXPECT_GT(added, 0);
}

TEST_F(Spots, SparseSpotThresholdSetsTheShareOfSpots)
{
  int spots = 0;
  for (auto [x, y] : grid()) {
    double none[3], all[3];
    EXPECT_EQ(Jitter_SparceSpotXYA(t(), x, y, 0, none), 0.0);
    EXPECT_EQ(none[0], -0.5);
    EXPECT_EQ(none[1], -0.5);
    double cellValue = none[2] * 64.0;
    EXPECT_EQ(cellValue, std::floor(cellValue));
    EXPECT_LE(none[2], 63.0 / 64.0);

    double s = Jitter_SparceSpotXYA(t(), x, y, 1024, all);
    EXPECT_EQ(all[2], none[2]);
    EXPECT_GE(s, 0.0);
    EXPECT_LE(s, 3.75);
    if (s > 0.0) {
      spots++;
      EXPECT_LT(all[0] * all[0] + all[1] * all[1], 0.0625);
    }
  }
  EXPECT_GT(spots, 0);
}

TEST_F(Spots, Spots3DcolorAddsTheSameWeightAndHashWeightedColours)
{
  int added = 0;
  for (auto [x, y] : grid(0.05)) {
    double z = 0.3 * x - 0.7;
    double plain = 1.0, acc = 1.0, rgb[3] = {5.0, 5.0, 5.0};
    Spots3D(t(), x, y, z, &plain);
    Spots3Dcolor(t(), x, y, z, rgb, &acc);
    EXPECT_EQ(plain, acc);
    double w = acc - 1.0;
    EXPECT_GE(w, 0.0);
    EXPECT_LE(w, spotradius * 1023 / 200.0);
    for (double c : rgb) {
      EXPECT_GE(c - 5.0, 0.0);
      EXPECT_LE(c - 5.0, w * 1023.0 + 1e-12);
    }
    added += w > 0.0;
  }
  EXPECT_GT(added, 0);
}

TEST_F(Spots, ConesRaiseButNeverLower)
{
  int raised = 0;
  for (auto [x, y] : grid()) {
    double h = 0.0;
    Jitter_Cones(t(), x, y, &h, 2.0);
    EXPECT_GE(h, 0.0);
    EXPECT_LE(h, 1.0);
    raised += h > 0.0;
    // Cones of radius 1e-6 reach no sample of the grid.
    double tiny = -5.0;
    Jitter_Cones(t(), x, y, &tiny, 1e6);
    EXPECT_EQ(tiny, -5.0);
    double high = 3.0;
    Jitter_Cones(t(), x, y, &high, 2.0);
    EXPECT_EQ(high, 3.0);
  }
  EXPECT_GT(raised, 0);
}

TEST_F(Spots, DisplacementsVanishWithoutStrength)
{
  for (auto [x, y] : grid()) {
    double dx = 0.25, dy = -0.5;
    Jitter_Twirl(t(), x, y, &dx, &dy, 0.0);
    EXPECT_EQ(dx, 0.25);
    EXPECT_EQ(dy, -0.5);

    double ox = 0, oy = 0;
    jitteredCircleInverts(t(), x, y, &ox, &oy, 3.0, 1.7, 0.0);
    EXPECT_EQ(ox, x);
    EXPECT_EQ(oy, y);

    // A negative k gives bubbles of no radius; 0 an unbounded one.
    double bx = 1.0, by = 1.0;
    Jitter_VecBubble(t(), x, y, &bx, &by, -2.0);
    EXPECT_EQ(bx, 1.0);
    EXPECT_EQ(by, 1.0);
  }
}

TEST_F(Spots, DisplacementsActNearPoints)
{
  int twirled = 0, bubbled = 0, inverted = 0;
  for (auto [x, y] : grid()) {
    double dx = 0, dy = 0, bx = 0, by = 0, ox = 0, oy = 0;
    Jitter_Twirl(t(), x, y, &dx, &dy, 2.0);
    Jitter_VecBubble(t(), x, y, &bx, &by, 4.0);
    jitteredCircleInverts(t(), x, y, &ox, &oy, 3.0, 1.7, 0.1);
    EXPECT_TRUE(std::isfinite(dx) && std::isfinite(dy) && std::isfinite(bx) && std::isfinite(by));
    twirled += dx != 0.0 || dy != 0.0;
    bubbled += bx != 0.0 || by != 0.0;
    inverted += ox != x || oy != y;
  }
  EXPECT_GT(twirled, 0);
  EXPECT_GT(bubbled, 0);
  EXPECT_GT(inverted, 0);
}

TEST_F(Spots, CircleMapPushesOnlyInsideCircles)
{
  int pushed = 0;
  for (auto [x, y] : grid()) {
    double ox = 9, oy = 9;
    jitteredCircleMap(t(), x, y, &ox, &oy, 0.3);
    // Each of at most four circles pushes by at most 0.5 * 0.5.
    EXPECT_LE(std::hypot(ox, oy), 4 * 0.25);
    pushed += ox != 0.0 || oy != 0.0;
  }
  EXPECT_GT(pushed, 0);
}

TEST(LocalInversion, AddsAFallingBumpInsideTheUnitReach)
{
  struct Case
  {
    double x, y, k, amount, ox, oy;
  };
  const Case cases[] = {
      {0.5, 0.0, 1.0, 2.0, 1.0 + 0.5 * std::pow(0.75, 4) * 2.0, 1.0},  // q = 0.25
      {0.0, 0.0, 1.0, 2.0, 1.0, 1.0},                                  // the centre adds 0
      {1.0, 0.0, 1.0, 2.0, 1.0, 1.0},                                  // q = 1: outside
      {0.3, 0.4, 4.0, 1.0, 1.0, 1.0},                                  // q = 1 again
  };
  for (const Case& c : cases) {
    double ox = 1.0, oy = 1.0;
    localinversion(c.x, c.y, &ox, &oy, c.k, c.amount);
    EXPECT_DOUBLE_EQ(ox, c.ox) << c.x << ", " << c.y;
    EXPECT_DOUBLE_EQ(oy, c.oy) << c.x << ", " << c.y;
  }
}

TEST(CircleGeometry, CircleThroughThreePoints)
{
  struct Case
  {
    double p0[2], p1[2], p2[2];
    int32_t ok;
    double cx, cy, r2;
  };
  const Case cases[] = {
      {{0, 0}, {1, 0}, {0, 1}, 1, 0.5, 0.5, 0.5},      // equal y0, y1
      {{1, 0}, {0, 1}, {-1, 0}, 1, 0.0, 0.0, 1.0},     // the other branch
      {{4, 2}, {-4, -2}, {1, 3}, 1, 1.0, -2.0, 25.0},  // centre (1, -2)
      {{0, 0}, {1, 1}, {2, 2}, 0, 0, 0, 0},            // collinear
      {{1, 1}, {1, 1}, {3, 0}, 0, 0, 0, 0},            // two equal points
  };
  for (const Case& c : cases) {
    double out[3] = {-9, -9, -9};
    ASSERT_EQ(FindCircleFrom3P(c.p0, c.p1, c.p2, out), c.ok) << c.p0[0] << ", " << c.p0[1];
    if (!c.ok) {
      EXPECT_EQ(out[0], -9.0);
      continue;
    }
    EXPECT_DOUBLE_EQ(out[0], c.cx);
    EXPECT_DOUBLE_EQ(out[1], c.cy);
    EXPECT_DOUBLE_EQ(out[2], c.r2);
  }
  double p[2] = {0, 0}, q[2] = {1, 0}, out[3];
  EXPECT_EQ(FindCircleFrom3P(p, q, p, out), 0);  // the same array twice
}

TEST(CircleGeometry, IntersectionsAndFailures)
{
  const double h = std::sqrt(3.0) / 2.0;
  struct Case
  {
    double x0, y0, x1, y1, r0, r1;
    int32_t ok;
    double px, py, qx, qy;
  };
  const Case cases[] = {
      {0, 0, 1, 0, 1, 1, 1, 0.5, -h, 0.5, h},   // two points
      {0, 0, 2, 0, 1, 1, 1, 1, 0, 1, 0},        // tangent: one point
      {0, 0, 5, 0, 1, 1, 0, 2.5, 0, 2.5, 0},    // apart: the radical foot
      {0, 0, 1, 0, 5, 1, 0, 12.5, 0, 12.5, 0},  // one inside the other
      {2, 3, 2, 3, 1, 2, 0, 2, 3, 2, 3},        // same centre: no division
  };
  for (const Case& c : cases) {
    double P[2], Q[2];
    EXPECT_EQ(CircleIntersects(c.x0, c.y0, c.x1, c.y1, c.r0, c.r1, P, Q), c.ok);
    EXPECT_NEAR(P[0], c.px, 1e-12);
    EXPECT_NEAR(P[1], c.py, 1e-12);
    EXPECT_NEAR(Q[0], c.qx, 1e-12);
    EXPECT_NEAR(Q[1], c.qy, 1e-12);
  }
}

}  // namespace
