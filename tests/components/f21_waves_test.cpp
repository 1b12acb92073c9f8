// Golden values and properties of the f21 waves and lattices, and the
// parameter conversion of Ripples for old trees.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "tests/components/f21_test_support.h"

namespace {

constexpr double kPi = std::numbers::pi;

constexpr double kExact = 1e-12;
constexpr double kTable = 1e-6;
constexpr double kAxisAngle = 1e-10;  // the angle of an axis point has ten digits
constexpr double kK = 0.707;          // Dynamo's folding constant

// The last field is the tolerance: members that use the table sine are within
// 1e-6.
const F21Golden kGolden[] = {
    {"grid at the origin", 4, 4, 4, 4, 0, 0, 0, kExact},
    {"grid line: folded x at 2 pi", 4, 4, 4, 4, kPi / 2, 0, 2, kExact},
    {"grid between lines", 4, 4, 4, 4, kPi / 4, 0, 0, kExact},
    {"grid slope", 4, 4, 4, 4, 3 * kPi / 8, 0, 1, kExact},
    {"grid line along y", 4, 4, 4, 6, 0, -kPi / 2, 3, kExact},
    {"sin x * sin y, A = 0", 5, 0, 0, 0, kPi / 2, kPi / 2, 1.5, kExact},
    {"sin x * sin y, phases", 5, 2, kPi / 2, kPi / 2, 0, 0, 2, kExact},
    {"x + A sin y", 6, 0.25, kPi, -1, 1, 0.5, 1.25, kTable},
    {"radial along +x", 7, 1, -1, -1, 1, 0, 0, kExact},
    {"radial along +y", 7, 1, -1, -1, 0, 1, kPi / 2, kAxisAngle},
    {"radial along -x", 7, 1, -1, -1, -1, 0, kPi, kExact},
    {"radial along -y", 7, 1, -1, -1, 0, -1, kPi / 2, kAxisAngle},
    {"radial diagonal", 7, 2, -1, -1, 1, 1, kPi / 2, kExact},
    {"hexa sines at the origin", 8, 1, -1, -1, 0, 0, 0, kTable},
    {"hexa grid at the origin", 9, 1, 3, 0, 0, 0, 0, kExact},
    {"hexa grid crest", 9, 1, 3, 0, 1, 0, 3, kExact},
    {"hexa grid phase", 9, 1, 3, 1, 0, 0, 3, kExact},
    {"circles: cell centre", 13, kPi / 2, 1, 2, kPi / 4, kPi / 4, kPi, kExact},
    {"circles: cell corner", 13, kPi / 2, 1, 2, 0, 0, (kPi / 2) * (1 - std::sqrt(0.5)) * 2, kExact},
    {"circles: outside the cone", 13, kPi / 2, 0.5, 2, 0, 0, 0, kExact},
    {"dynamo at the origin", 14, 1, 0, 0, 0, 0, 0, kExact},
    {"dynamo without rotation", 14, 0, 0, 0, 1, 1, std::sqrt(32 * kK * kK * kK), kExact},
    {"ripples: crest at a lattice point", 15, 1, 0, kPi, 0, 0, kPi, kTable},
    // The sine is negative there: both heights are 0 and the rounded
    // maximum gives (4 / 16)^2 / 4.
    {"ripples: rounded floor", 15, 1, 1, kPi, 0, 0, 0.015625, kTable},
    {"sin x + sin y, A = 0: frequency 0.0125, amplitude 80", 16, 0, 0, 0, 40 * kPi, 0, 80, kTable},
    {"sin x + sin y, negative A", 16, -2, 0, 0, kPi / 4, 0, 0.5, kTable},
    {"sin x + sin y, phase x", 16, 1, 0.5, 0, 0, 0, 1, kTable},
    {"hexagons: facet 0", 35, 2, 0, 1, 0, 0, 2, kExact},
    {"hexagons: facet 0, halfway", 35, 2, 0, 1, 0.5, 0, 1, kExact},
    {"hexagons: facet 1", 35, 2, 0, 1, 1.5, 0, 1, kExact},
    {"hexagons: facet 2 left of the origin", 35, 2, 0, 1, -0.5, 0, 2, kExact},
    {"hexagons: phase", 35, 2, 1, 1, -0.5, 0, 1, kExact},
};

TEST(F21Waves, GoldenValues)
{
  expectGoldenValues(kGolden);
}

TEST(F21Waves, GridStaysBetweenZeroAndHalfC)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 96;
  for (double c : {0.5, 4.0, 8.0})
    for (double scale : {2.5, 4.0, 13.0}) {
      const std::vector<double> v = gridOf(h, 4, scale, scale * 0.7, c, view);
      const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
      EXPECT_GE(*lo, 0.0);
      EXPECT_LE(*hi, c / 2 * (1 + 1e-12)) << "C " << c << " scale " << scale;
      EXPECT_GT(*hi, c / 4) << "C " << c << " scale " << scale;  // the lines are there
    }
}

TEST(F21Waves, RadialIsSymmetricAboutTheXAxis)
{
  KVmemberHarness h;
  KVgridView view;  // rows r and height-1-r hold y and -y
  const std::vector<double> v = gridOf(h, 7, 3, -1, -1, view);
  for (int r = 0; r < view.height / 2; ++r)
    for (int col = 0; col < view.width; ++col)
      ASSERT_NEAR(v[r * view.width + col], v[(view.height - 1 - r) * view.width + col], 1e-12)
          << r << ", " << col;
}

TEST(F21Waves, CirclesOfSizeZeroAreFlat)
{
  KVmemberHarness h;
  for (double v : gridOf(h, 13, kPi / 2, 0, 2))
    ASSERT_EQ(v, 0);
}

TEST(F21Waves, HexagonsBelowTheSmallestFrequencyUseIt)
{
  KVmemberHarness h;
  KVgridView view;
  view.xmin = -0.4, view.xmax = 0.4, view.ymax = 0.4;
  const std::vector<double> reference = gridOf(h, 35, 2, 0.3, 0.0625, view);
  for (double c : {0.01, 0.0, -3.0})
    EXPECT_EQ(gridOf(h, 35, 2, 0.3, c, view), reference) << "C " << c;
}

TEST(F21Waves, RipplesConvertOnlyTreesOlderThanVersion16)
{
  struct Case
  {
    int16_t version;
    bool converts;
  };
  for (const Case& c : {Case{14, true}, Case{15, true}, Case{16, false}, Case{20, false}}) {
    SCOPED_TRACE(c.version);
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily21, 15);
    g->owner->version = c.version;
    g->keyframes[3] = KVparamTriple{0.5, 7, 1};
    h.send(kMsgConvertOld);
    const double addA = c.converts ? 2 : 0, addC = c.converts ? kPi + 2 : 0;
    EXPECT_EQ(g->A, 1 + addA);
    EXPECT_EQ(g->B, 1);
    EXPECT_EQ(g->C, kPi + addC);
    EXPECT_EQ(g->keyframes[0].A, 1 + addA);
    EXPECT_EQ(g->keyframes[0].C, kPi + addC);
    EXPECT_EQ(g->keyframes[3].A, 0.5 + addA);
    EXPECT_EQ(g->keyframes[3].B, 7);
    EXPECT_EQ(g->keyframes[3].C, 1 + addC);
    EXPECT_EQ(g->keyframes[15].C, kPi + addC);
  }
}

// Dynamo and Ripples precompute at message 7 as well as at 8.
TEST(F21Waves, DynamoAndRipplesArePreparedByMessage7)
{
  KVmemberHarness h;
  for (int16_t id : {int16_t(14), int16_t(15)}) {
    SCOPED_TRACE(id);
    h.bind(kFamily21, id);
    h.setParams(0.3, 0.2, 2.5);
    h.send(kMsgPrepare);
    const double afterPrepare = h.at(0.7, -1.1);
    h.precompute();
    EXPECT_EQ(h.at(0.7, -1.1), afterPrepare);
    EXPECT_NE(afterPrepare, 0.0);
  }
}

}  // namespace
