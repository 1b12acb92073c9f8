// Single octaves of the f24 fractal-noise bodies: the soft maximum, minimum
// and floor at their joins, flat facet floors at a feature point, Random
// Domes' stop once the gain cannot raise the relief, rocks far from every
// feature, points without a lattice cell, and far values with their states.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "components/f24/f24_octavebodies.h"
#include "noise/lattice.h"
#include "tests/components/member_harness.h"

namespace {

TEST(F24FractalShaping, SoftMaxMinAndFloorJoinTheirPlainValues)
{
  for (double span : {0.04, 0.05, 0.1, 0.15, 0.25}) {
    SCOPED_TRACE(span);
    const double m = span / 4, eps = 1e-9;
    // Far apart: the plain maximum or minimum.
    EXPECT_EQ(f24_softMax(1.0, 1.0 - m - 0.01, span), 1.0);
    EXPECT_EQ(f24_softMax(1.0, 1.0 + m + 0.01, span), 1.0 + m + 0.01);
    EXPECT_EQ(f24_softMin(1.0, 1.0 + m + 0.01, span), 1.0);
    EXPECT_EQ(f24_softMin(1.0, 1.0 - m - 0.01, span), 1.0 - m - 0.01);
    // Continuous at both joins.
    for (double b : {1.0 - m, 1.0 + m}) {
      EXPECT_NEAR(f24_softMax(1.0, b - eps, span), f24_softMax(1.0, b + eps, span), 1e-8);
      EXPECT_NEAR(f24_softMin(1.0, b - eps, span), f24_softMin(1.0, b + eps, span), 1e-8);
    }
    // Equal values round up (max) or down (min) by a quarter of the margin.
    EXPECT_NEAR(f24_softMax(1.0, 1.0, span), 1.0 + span * 0.0625, 1e-15);
    EXPECT_NEAR(f24_softMin(1.0, 1.0, span), 1.0 - span * 0.0625, 1e-15);
  }
  // The crack and curve floor meets the plain value at 0.01 and 0 at -0.01.
  EXPECT_EQ(f24_softFloor(0.01), 0.01);
  EXPECT_EQ(f24_softFloor(0.3), 0.3);
  EXPECT_NEAR(f24_softFloor(0.01 - 1e-9), 0.01 - 1e-9, 1e-12);
  EXPECT_EQ(f24_softFloor(-0.01), 0.0);
  EXPECT_EQ(f24_softFloor(-0.5), 0.0);
  EXPECT_NEAR(f24_softFloor(0.0), 0.04 * 0.0625, 1e-15);
}

class F24Body : public ::testing::Test
{
protected:
  fractalsinfos* F() { return &h_.doc()->fractal; }
  const KVtables* T() { return &h_.doc()->tables; }
  KVmemberHarness h_;
};

// The random vector of cell (i, j) as the cell bodies read it.
const double* cellVector(const KVtables* t, int32_t i, int32_t j)
{
  const uint32_t row0 = kvnoise::columnKey(t->perm, i, j - 1) & 1023u;
  return t->rndVec3D[row0 + 1];
}

TEST_F(F24Body, FacetsAtAFeaturePointAddNothingAfterOctaveZero)
{
  for (int32_t i : {0, 3, -5}) {
    const double* v = cellVector(T(), i, 2);
    const double x = i + 0.5 + 0.33 * v[0], y = 2.5 + 0.33 * v[1];
    dvector4d acc{};
    double state = 0;
    fp4dFacets(F(), x, y, 0, 3.0, &state, 1.0, 0, &acc);
    // The distance to the nearest point is 0 but for the rounding of the
    // point's position.
    EXPECT_NEAR(acc.x, 0.0, 1e-20);
    EXPECT_NEAR(state, 0.0, 1e-20);
    state = 0.7;
    acc.x = 0.42;
    fp4dFacets(F(), x, y, 0, 3.0, &state, 0.5, 1, &acc);
    EXPECT_NEAR(acc.x, 0.42, 1e-15);
    EXPECT_NEAR(state, 0.0, 1e-20);
  }
}

TEST_F(F24Body, RandomDomesStopOnceTheGainCannotRaiseTheRelief)
{
  int raised = 0;
  for (double x = -4; x < 4; x += 0.23) {
    for (double height : {0.476, 0.5, 0.9}) {
      dvector4d acc{0.1, 0.2, 0.3, height};
      const dvector4d before = acc;
      double state = 0.3;
      fp4RandomDomes(F(), x, 0.77, 0, 0.5, &state, 0.5, 1, &acc);
      EXPECT_EQ(acc.x, before.x);
      EXPECT_EQ(acc.y, before.y);
      EXPECT_EQ(acc.z, before.z);
      EXPECT_EQ(acc.w, before.w);
      EXPECT_EQ(state, 0.3);
    }
    dvector4d low{0.1, 0.2, 0.3, 0.0};
    double state = 0.3;
    fp4RandomDomes(F(), x, 0.77, 0, 0.5, &state, 0.5, 1, &low);
    raised += low.w > 0;
  }
  EXPECT_GT(raised, 0);  // a lower relief is raised by the domes
}

// Points whose squared distance to every rock feature (jitter 0.375) is at
// least R2 = 0.4375 w + 0.0625 leave the octave as it was.
TEST_F(F24Body, RocksFarFromEveryFeatureLeaveTheOctaveUnchanged)
{
  const double w = 0.5, R2 = 0.4375 * w + 0.0625;
  int far = 0, near = 0;
  for (double x = -3.05; x < 3; x += 0.1)
    for (double y = -3.05; y < 3; y += 0.1) {
      const int32_t ix = int32_t(std::floor(x)), iy = int32_t(std::floor(y));
      double nearest = 1e9;
      for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr) {
          const uint32_t row0 = kvnoise::columnKey(T()->perm, ix + dc, iy - 1) & 1023u;
          const double* v = T()->rndVec3D[row0 + uint32_t(dr + 1)];
          const double dx = ix + dc + 0.5 - x + 0.375 * v[0], dy = iy + dr + 0.5 - y + 0.375 * v[1];
          nearest = std::min(nearest, dx * dx + dy * dy);
        }
      dvector4d acc{0.3, 0.4, 0.5, 0.6};
      double state = 0.8;
      fp4dirtyBubbles(F(), x, y, 0, w, &state, 0.5, 2, &acc);
      const bool unchanged = acc.x == 0.3 && acc.y == 0.4 && acc.z == 0.5 && acc.w == 0.6;
      if (nearest >= R2) {
        ++far;
        EXPECT_TRUE(unchanged) << x << " " << y;
      } else {
        near += !unchanged;
      }
    }
  EXPECT_GT(far, 0);
  EXPECT_GT(near, 0);
}

// A coordinate without a lattice cell leaves the octave unchanged in the
// bodies that search cells.
TEST_F(F24Body, PointsWithoutACellLeaveTheOctaveUnchanged)
{
  using Body =
      bool (*)(fractalsinfos*, double, double, double, double, double*, double, short, dvector4d*);
  const Body bodies[] = {fp4dFacets, fp4domerock, fp4RandomDomes, fp4dLichenRocks, fp4dirtyBubbles};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (Body body : bodies)
    for (double x : {nan, 1e300, -3e9, 5e9})
      for (short octave : {short(1), short(2)}) {
        dvector4d acc{0.3, 0.4, 0.5, 0.1};
        double state = 0.8;
        body(F(), x, 0.5, 0, 0.5, &state, 0.5, octave, &acc);
        EXPECT_EQ(acc.x, 0.3);
        EXPECT_EQ(acc.y, 0.4);
        EXPECT_EQ(acc.z, 0.5);
        EXPECT_EQ(acc.w, 0.1);
        EXPECT_EQ(state, 0.8);
      }
}

TEST_F(F24Body, FarValuesAndTheirStates)
{
  struct Case
  {
    bool (*body)(fractalsinfos*, double, double, double, double, double*, double, short,
                 dvector4d*);
    dvector4d far;
    double state;  // the far state (0 unless the body sets one)
  };
  const Case cases[] = {
      {fp4ridgednoise, {0.5, 0.46, 0.42, 0.39}, 0},  {fp4dFacets, {0.25, 0.5, 0.5, 0.5}, 0},
      {fp4MFlunargranit, {0, 0.5, 0.5, 0.5}, 0},     {fp4MF2dnoise, {0, 0.5, 0.5, 0.5}, 0},
      {fp4sparceMFnoise, {0, 0.5, 0.5, 0.5}, 0},     {fp4domerock, {0.5, 0.6, 0.5, 0.4}, 0},
      {fp4RandomDomes, {0.6, 0.6, 0.6, 0.7}, 0},     {fp4dLichenRocks, {0.25, 0.5, 0.5, 0.5}, 0},
      {fp4dirtyBubbles, {0.25, 0.5, 0.5, 0.5}, 0},   {fp4beachrocks, {0.8, 0.75, 0.75, 0}, 0.225},
      {fp4earthcracks, {0.25, 0.75, 0.65, 0.55}, 0}, {fp4rivernoiseCD, {0.45, 0.45, 0.6, 0.45}, 0},
      {fp4rivernetworks, {0.47, 0.47, 0.2, 0.3}, 0},
  };
  for (const Case& c : cases) {
    dvector4d acc{9, 9, 9, 9};
    double state = 0;
    EXPECT_FALSE(c.body(F(), 0, 0, 0, 0.5, &state, 1, -1, &acc));
    EXPECT_EQ(acc.x, c.far.x);
    EXPECT_EQ(acc.y, c.far.y);
    EXPECT_EQ(acc.z, c.far.z);
    EXPECT_EQ(acc.w, c.far.w);
    EXPECT_EQ(state, c.state);
  }
  dvector2d d{9, 9};
  double state = 0;
  fp2dclouds(F(), 0, 0, 0, 0.5, &state, 1, -1, &d);
  EXPECT_EQ(d.x, 0.15);
  EXPECT_EQ(d.y, 0.15);
  for (auto body : {fpbeachrockdisplace2D, fpMFdisplace2D}) {
    d = {9, 9};
    body(F(), 0, 0, 0, 0.5, &state, 1, -1, &d);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
  }
}

// Earth Cracks' octaves above 3 only steer the driver.
TEST_F(F24Body, EarthCracksAboveOctaveThreeChangeNothing)
{
  for (double x = -2; x < 2; x += 0.37) {
    dvector4d acc{0.3, 0.4, 0.5, 0.6};
    double state = 0.8;
    fp4earthcracks(F(), x, 0.3, 0, 0.5, &state, 0.1, 4, &acc);
    EXPECT_EQ(acc.x, 0.3);
    EXPECT_EQ(acc.w, 0.6);
    EXPECT_EQ(state, 0.8);
  }
}

}  // namespace
