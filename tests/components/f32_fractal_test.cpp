// The f32 fractal displacement members: the far values past the band limit,
// the points they keep where z gives no amount, the document's settings
// after the bubbles, and the shaping rules of the bodies.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "components/f32/f32_fractbodies.h"
#include "components/f32/f32_pvt.h"
#include "tests/components/f32_test_support.h"

namespace {

using namespace f32test;

// With the pixel density far below the base frequency, the driver takes the
// far value of the body (octave -1) whole.
TEST(F32Fractal, FarValuesBeyondTheBand)
{
  const struct
  {
    int16_t id;
    double ex, ey;  // at (x, y) = (1, 2), A = 1, B = 1, C = 2
  } rows[] = {
      {29, 1 + 0.08, 2 + 0.08},           // Silex, k0 = 2A/C = 1
      {34, 1 + 0.08, 2 + 0.08},           // Balanced Ridged
      {40, 1 + 0.08, 2 + 0.08},           // Rocky
      {30, 1 + 0.5 * 0.15, 2 + 0.075},    // Cliff Chaos, k0 = A/C
      {32, 16 * 0.08, 0.25 * 16 * 0.08},  // Bubbles, k0 = 16A
      {39, 1, 2},                         // z MultiFractal, far (0, 0)
      {28, 1, 2},                         // the cascade does not run
      {31, 1, 2},
  };
  KVmemberHarness h;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    gfunc* g = h.bind(kFamily32, r.id);
    EXPECT_EQ(g->inputCode, kConnThreeOut);
    EXPECT_EQ(g->freqFlag, 1);
    h.setParams(1, 1, 2);
    h.prepare();
    h.doc()->yPixelScale = 1e-6;
    const Mapped p = mapOnce(h, 1, 2, 0.5);
    EXPECT_NEAR(p.x, r.ex, 1e-15);
    EXPECT_NEAR(p.y, r.ey, 1e-15);
    const Mapped marked = mapOnce(h, kMark, 2, 0.5);
    EXPECT_EQ(marked.x, kMark);
    EXPECT_EQ(marked.y, kMark);
  }
}

TEST(F32Fractal, ZMembersKeepThePointWhereZGivesNoAmount)
{
  KVmemberHarness h;
  for (const int16_t id : {39, 41}) {
    SCOPED_TRACE(id);
    h.bind(kFamily32, id);
    h.prepare();
    for (const double z : {0.0, -0.5, -3.0}) {
      const Mapped p = mapOnce(h, 0.7, -1.3, z);
      EXPECT_EQ(p.x, 0.7);
      EXPECT_EQ(p.y, -1.3);
    }
    const Mapped moved = mapOnce(h, 0.7, -1.3, 1.0);
    EXPECT_TRUE(moved.x != 0.7 || moved.y != -1.3);
  }
}

// Bubbles run without rotation on their own copy: the document's record,
// and so a fractal member after them, stay as they were.
TEST(F32Fractal, BubblesLeaveTheDocumentsRotation)
{
  KVmemberHarness h;
  h.bind(kFamily32, 29);
  h.prepare();
  const Mapped before = mapOnce(h, 0.3, 0.4, 0.5);
  const double rotSin = h.doc()->fractal.rotSin;
  h.bind(kFamily32, 32);
  h.prepare();
  for (int k = 0; k < 3; ++k)
    mapOnce(h, 0.1 * k, 0.2, 0.3);
  EXPECT_EQ(h.doc()->fractal.rotSin, rotSin);
  h.bind(kFamily32, 29);
  h.prepare();
  const Mapped after = mapOnce(h, 0.3, 0.4, 0.5);
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
}

TEST(F32Fractal, OceanAndFoamGivesHeightAndFoam)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 33);
  EXPECT_EQ(g->outputCode, kConnOne);
  EXPECT_EQ(g->freqFlag, 0);
  EXPECT_EQ(h.send(kMsgParamA), " Wave amp ");
  h.prepare();
  for (int k = 0; k < 16; ++k) {
    const Mapped p = mapOnce(h, 0.37 * k - 3, 0.21 * k, 0.1 * k);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_LE(p.y, p.x);  // foam only lowers the second output
  }
}

TEST(F32Fractal, ConstantsKeptAsWritten)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 28);
  h.setParams(0, 0.5, 2);
  h.precompute();
  EXPECT_EQ(privateArea<F32constants>(g).K[3], 119999.99999999999);
  g = h.bind(kFamily32, 31);
  h.setParams(0, 0.25, 2);
  h.precompute();
  EXPECT_EQ(privateArea<F32constants>(g).K[3], 99999.99999999999);
}

TEST(F32Fractal, ShapingRules)
{
  using namespace f32shape;
  EXPECT_EQ(softSign(-2), -1);
  EXPECT_EQ(softSign(0.5), 0.75);
  EXPECT_EQ(softSign(-0.5), -0.75);
  EXPECT_EQ(ridge(-0.25), 0.75);
  EXPECT_EQ(softCap(0.5, 0.915, 0.15), 0.5);
  bool capped = false;
  EXPECT_DOUBLE_EQ(softCap(5, 0.915, 0.15, &capped), 0.9525);
  EXPECT_TRUE(capped);
  EXPECT_EQ(smooth(0.5), 0.5);
  EXPECT_EQ(smooth(2), 1);
}

// The bodies no member calls, each by a worked value.
TEST(F32Fractal, UncalledBodies)
{
  KVmemberHarness h;
  const KVtables* t = &h.doc()->tables;
  dvector2d d{};
  double state = 5;
  fpfutur7displace(t, 0.3, 0.4, 0.5, 0.5, &state, 1, -1, &d);
  EXPECT_EQ(d.x, 0.08);
  EXPECT_EQ(d.y, 0.08);
  EXPECT_EQ(state, 0);
  // At a lattice point the gradient noise is 0: nz = 0 folds to t = 0,
  // e = 1 - 0 = 1 capped to 0.975, and the noise moves nothing.
  fpfutur7displace(t, 0, 0, 0, 0.5, &state, 1, 0, &d);
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.y, 0);
  EXPECT_EQ(state, 0.975);
}

// fp32ridgesA at the origin, where the vector noise is 0: both ridges sit at
// the fold's crest (1 - 0 capped to 0.975), the weight is smoothstep(1) = 1;
// a second octave there adds weight * v * 0.975 with v = ((0.7 w + 0.8) 1 +
// 0.5 w) 1 + 0.01 w. Element 2 of the record is never written.
TEST(F32Fractal, RidgesABody)
{
  KVmemberHarness h;
  const KVtables* t = &h.doc()->tables;
  dvector3d d{0, 0, 7};
  double state = 5;
  fp32ridgesA(t, 0.3, 0.4, 0.5, 0.5, &state, 1, -1, &d);
  EXPECT_EQ(d.x, 0.08);
  EXPECT_EQ(d.y, 0.08);
  EXPECT_EQ(state, 0);
  fp32ridgesA(t, 0, 0, 0, 0.5, &state, 1, 0, &d);
  EXPECT_DOUBLE_EQ(d.x, 0.975);
  EXPECT_DOUBLE_EQ(d.y, 0.975);
  EXPECT_EQ(state, 1);
  fp32ridgesA(t, 0, 0, 0, 0.5, &state, 0.5, 1, &d);
  const double v = (0.7 * 0.5 + 0.8) + 0.5 * 0.5 + 0.01 * 0.5;
  EXPECT_DOUBLE_EQ(state, v);
  EXPECT_DOUBLE_EQ(d.x, 0.975 + 0.5 * v * 0.975);
  EXPECT_DOUBLE_EQ(d.y, d.x);
  EXPECT_EQ(d.z, 7);
}

}  // namespace
