// The f32 members that bend the plane with z: known values, the points they
// keep, the uniform-z path against the per-sample one, and old-tree
// conversion.
#include <cmath>
#include <gtest/gtest.h>

#include "components/f32/f32_pvt.h"
#include "tests/components/f32_test_support.h"

namespace {

using namespace f32test;

TEST(F32Waves, KnownValues)
{
  const double tableTol = 1e-3;  // TableSin is a lookup table
  const Case cases[] = {
      {"sin distort at z = 0", 3, 1, 1, 0.125, 2, 4, 0, 2 * 1.125, 4, tableTol},
      {"rotate a quarter turn", 4, kPi / 2, 3, 5, 1, 0, 1, 3, 6, tableTol},
      {"rotate: marked x", 4, kPi / 2, 3, 5, kMark, 0, 1, kMark, kMark},
      {"waves at the origin, z = 0", 5, 0.5, 0.75, 0, 0, 0, 0, 1, 0.5, tableTol},
      {"ripples keep the point at z = 0", 18, 1, 0.25, 0, 1, 2, 0, 1, 2},
      {"ripples keep the point at z < 0", 18, 1, 0.25, 0, 1, 2, -1, 1, 2},
      {"ripples keep the point at NaN z", 18, 1, 0.25, 0, 1, 2, kNaN, 1, 2},
      {"ripples at theta = 0", 18, 0, 0.5, 0, 1, 2, 2, 1, 3, tableTol},
      {"random waves keep the point at z <= 0", 17, 1, 0.25, 0, 1, 2, 0, 1, 2},
      {"random waves keep the point at NaN z", 17, 1, 0.25, 0, 1, 2, kNaN, 1, 2},
      {"wipe below the edge", 20, 2, 0.5, 1, 1, 2, -0.01, kMark, kMark},
      {"wipe past the blend", 20, 2, 0.5, 2, 1, 2, 1, 0.5, 1},
      {"wipe at the edge: strength m", 20, 2, 0.5, 1, 1, 2, 0, 0.625, 1.25},
      {"rotate & scale doubles per unit of z", 26, 0, 1, 0.5, 1, 1, 1, 2.5, 2},
      {"rotate & scale: C moves x only", 26, kPi, 0, 3, 1, 0, 1, 2, 0, 1e-15},
      {"sin warp at t = 0", 36, 4, 4, 1, 0, 0, 1, 1, 0},
      {"twirl keeps its centre", 37, 0.5, 1, 2, -1, -2, 1, -1, -2},
      {"twirl at z = 0 is the identity", 37, 0.5, 1, 2, 3, 4, 0, 3, 4, tableTol},
  };
  expectCases(cases);
}

// A = pi/2 at z = 1 sends (1, 0) to (B, 1 + C) whether z is one value for the
// batch (libm) or per sample (table sine).
TEST(F32Waves, RotateUniformAndPerSampleAgree)
{
  for (const int16_t id : {4, 26}) {
    SCOPED_TRACE(id);
    KVmemberHarness h;
    h.bind(kFamily32, id);
    h.setParams(kPi / 2, id == 4 ? 2.0 : 0.0, id == 4 ? 3.0 : 0.0);
    h.prepare();
    h.setInput(0, KVtestInput::fill(1));
    h.setInput(1, KVtestInput::fill(0));
    h.setInput(2, KVtestInput::uniform(1));
    const double ux = h.run(1, 0)[0], uy = h.run(1, 1)[0];
    h.setInput(2, KVtestInput::fill(1));
    const double px = h.run(1, 0)[0], py = h.run(1, 1)[0];
    const double ex = id == 4 ? 2 : 0, ey = id == 4 ? 4 : 1;
    EXPECT_NEAR(ux, ex, 1e-15);
    EXPECT_NEAR(uy, ey, 1e-15);
    EXPECT_NEAR(px, ex, id == 4 ? 1e-3 : 1e-15);
    EXPECT_NEAR(py, ey, id == 4 ? 1e-3 : 1e-15);
  }
}

TEST(F32Waves, RandomWavesStayInTheirBand)
{
  KVmemberHarness h;
  h.bind(kFamily32, 17);
  h.setParams(1, 0.25, 3);
  h.prepare();
  for (int k = 0; k < 50; ++k) {
    const double x = 0.37 * k - 9, y = 0.11 * k;
    const Mapped p = mapOnce(h, x, y, 2);
    EXPECT_NEAR(p.x - x, p.y - y, 1e-12);  // one shift on both axes
    EXPECT_GE(p.x - x, -2 * 0.25 * 2 - 1e-12);
    EXPECT_LT(p.x - x, 2 * 0.25 * 2);
  }
}

TEST(F32Waves, SinWarpMovesWithTheFrame)
{
  KVmemberHarness h;
  h.bind(kFamily32, 36);
  h.setParams(4, 4, 1);
  h.prepare();
  h.doc()->time = 0.25;  // p = pi/2
  const Mapped p = mapOnce(h, 0, 0, 1);
  EXPECT_NEAR(p.x, 0, 1e-15);
  EXPECT_NEAR(p.y, -1, 1e-15);
}

TEST(F32Waves, RotateConvertsOldTrees)
{
  for (const int version : {10, 11}) {
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily32, 4);
    g->owner->version = int16_t(version);
    h.setParams(1, 2, 3);
    g->keyframes[15].C = 5;
    h.send(kMsgConvertOld);
    EXPECT_EQ(g->C, version <= 10 ? 0.0 : 3.0);
    EXPECT_EQ(g->keyframes[15].C, version <= 10 ? 0.0 : 5.0);
  }
}

}  // namespace
