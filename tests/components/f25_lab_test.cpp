// The Disk Fractal Lab and the Appolonian Tile: every algorithm at every
// tile count builds inside its block and list (run under the sanitizers),
// the counts the builders give, unknown algorithms and stale sets, the tile
// clamp, the missing block, and the Appolonian's period.
#include "components/f25/f25_lab.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "tests/components/f25_test_support.h"

namespace {

constexpr double M = gINFINITY;

const CILabData& labOf(const gfunc* g)
{
  return privateArea<F25labPrivate>(g).lab;
}

TEST(F25Lab, EveryAlgorithmAndTileCountStaysInsideItsBlockAndList)
{
  F25bench bench;
  KVgridView view;
  view.width = view.height = 8;
  for (int algorithm = 0; algorithm <= 25; ++algorithm)
    for (int tiles = 1; tiles <= 8; ++tiles) {
      SCOPED_TRACE(testing::Message() << "algorithm " << algorithm << " tiles " << tiles);
      const gfunc* g = bench.bind(1, algorithm, tiles, 0.3);
      const CILabData& lab = labOf(g);
      EXPECT_EQ(lab.tiles, tiles);
      EXPECT_LE(lab.circleCount, kF25labCircles);
      EXPECT_LE(lab.limitCount, kF25maxLimits);
      EXPECT_GT(lab.circleCount, 0);
      const int variant = algorithm < 24 ? algorithm % 4 : (algorithm == 24 ? 0 : 2);
      EXPECT_EQ(lab.variant, variant);
      bench.harness().grid(view, 2);
    }
}

TEST(F25Lab, BuilderCounts)
{
  struct Row
  {
    int algorithm;
    int tiles;
    int circles;
    int limits;
  };
  const Row rows[] = {
      {4, 8, 18, 8}, {5, 8, 18, 8}, {7, 8, 18, 1},  {0, 3, 6, 4},   {12, 5, 6, 7},
      {15, 8, 9, 7}, {19, 5, 6, 7}, {16, 4, 5, 5},  {22, 8, 17, 9}, {23, 8, 17, 1},
      {25, 6, 8, 6}, {8, 8, 16, 8}, {11, 8, 16, 1},
  };
  F25bench bench;
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "algorithm " << r.algorithm << " tiles " << r.tiles);
    const CILabData& lab = labOf(bench.bind(1, r.algorithm, r.tiles, 0.3));
    EXPECT_EQ(lab.circleCount, r.circles);
    EXPECT_EQ(lab.limitCount, r.limits);
  }
}

// An algorithm outside 0..25 (or NaN) builds nothing, even over a set built
// before; the point passes unchanged and black.
TEST(F25Lab, UnknownAlgorithmsBuildNothing)
{
  F25bench bench;
  gfunc* g = bench.bind(1, 4, 8, 0);
  ASSERT_EQ(labOf(g).circleCount, 18);
  for (double a : {26.0, -1.0, 300.0, std::numeric_limits<double>::quiet_NaN(), 1e300}) {
    SCOPED_TRACE(a);
    g->A = a;
    bench.harness().precompute();
    EXPECT_EQ(labOf(g).circleCount, 0);
    EXPECT_EQ(labOf(g).limitCount, 0);
    F25_expectSame(bench.at(0.4, -0.3), {0.4, -0.3, 0, 0, 0});
  }
}

TEST(F25Lab, TilesAreHeldToOneToEight)
{
  F25bench bench;
  struct Case
  {
    double b;
    int tiles;
  };
  for (const Case c : {Case{-3, 1}, Case{0.5, 1}, Case{20, 8}, Case{1e12, 8}, Case{5.9, 5}}) {
    gfunc* g = bench.bind(1, 20, c.b, 0.2);
    EXPECT_EQ(labOf(g).tiles, c.tiles) << c.b;
    EXPECT_EQ(g->B, c.b);  // the parameter keeps its value
  }
}

// Before message 8 (or when the block could not be had) the compute leaves
// the outputs as they were.
TEST(F25Lab, WithoutABlockTheComputeWritesNothing)
{
  F25bench bench;
  for (int16_t id : {int16_t(1), int16_t(7)}) {
    SCOPED_TRACE(id);
    gfunc* g = bench.harness().bind(kFamily25, id);
    bench.harness().setInput(0, KVtestInput::fill(0.5));
    for (int k = 0; k < 5; ++k)
      g->outputs[k][0] = 42;
    bench.harness().run(1);
    for (int k = 0; k < 5; ++k)
      EXPECT_EQ(g->outputs[k][0], 42) << k;
  }
}

TEST(F25Lab, MarkerOnInputOneGivesMarkersOnOutputsOneToThree)
{
  F25bench bench;
  for (int16_t id : {int16_t(1), int16_t(7)}) {
    SCOPED_TRACE(id);
    bench.bind(id, 1, 4, 0);
    F25_expectSame(bench.at(M, 0.5, -5), {M, M, M, -5, -5});
  }
}

TEST(F25Appolonian, RepeatsEveryEightRadii)
{
  F25bench bench;
  const double a = 0.7, b = 0.3, c = -0.2;
  bench.bind(7, a, b, c);
  for (const double x : {0.1, -1.3, 2.2})
    for (const double y : {0.05, 1.7, -2.9}) {
      SCOPED_TRACE(testing::Message() << x << " " << y);
      const F25out here = bench.at(x, y);
      F25_expectNear(bench.at(x + 8 * a, y), here, 1e-9);
      F25_expectNear(bench.at(x, y - 8 * a), here, 1e-9);
    }
}

// A sample in the unit disk about the origin of the tile stops at once in the
// first limit circle: its own point and the table colour at 0.
TEST(F25Appolonian, CentreDiskTakesTheFirstKey)
{
  F25bench bench;
  bench.bind(7, 1, 0, 0);
  F25_expectSame(bench.at(0.25, -0.5), {0.25, -0.5, 255 * 0.03125, 0, 0});
}

}  // namespace
