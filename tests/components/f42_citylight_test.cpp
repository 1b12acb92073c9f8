// The f42 city light member: its eight choices, the code pair each corner
// call receives, the lattice of (x, w, y), the blend, and the member with no
// valid choice.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

#include "components/f42/f42_city.h"
#include "engine/catalog.h"
#include "engine/world.h"
#include "tests/components/f32_city_recorder.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMark = gINFINITY;

const F42cityConstants& constantsOf(gfunc* g)
{
  return privateArea<F42cityConstants>(g);
}

struct Levels
{
  double light, reflection;
};

Levels sample(KVmemberHarness& h, double x, double y, double z, double w)
{
  h.setInput(0, KVtestInput::fill(x));
  h.setInput(1, KVtestInput::fill(y));
  h.setInput(2, KVtestInput::fill(z));
  h.setInput(3, KVtestInput::fill(w));
  const double light = h.run(1, 0)[0];
  return {light, h.component()->outputs[1][0]};
}

TEST(F42CityLight, ChoicesAndMessages)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily42, 31);
  EXPECT_EQ(h.displayName(), " City Light & Reflection #");
  EXPECT_EQ(g->A, 2.0);
  EXPECT_EQ(g->inputCode, kConnFourValueFirst);
  EXPECT_EQ(g->outputCode, 5);
  EXPECT_EQ(h.send(kMsgParamA), " City Texture B Sharp # ");
  EXPECT_EQ(h.send(kMsgParamC), "Frequency ");
  double a = 1, b = 1, c = 1;
  h.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g->A, 7.0);
  EXPECT_EQ(g->B, 2.0);
  EXPECT_EQ(g->C, 8.0);

  h.setParams(7.5, 1, 2);
  h.precompute();
  EXPECT_EQ(h.send(kMsgParamA), " City Classic Soft # ");
  EXPECT_EQ(constantsOf(g).sharpness, 1.25);
  EXPECT_EQ(constantsOf(g).frequency, 128.0);
  EXPECT_NE(constantsOf(g).cell, nullptr);

  for (const double bad : {-1.0, 8.0, kNaN}) {
    SCOPED_TRACE(bad);
    h.setParams(bad, 1, 2);
    h.precompute();
    EXPECT_EQ(h.send(kMsgParamA), "");
    EXPECT_EQ(constantsOf(g).cell, nullptr);
    const Levels l = sample(h, 0.3, 0.2, 3, 0.1);
    EXPECT_EQ(l.light, 0.0);
    EXPECT_EQ(l.reflection, 0.0);
  }
}

TEST(F42CityLight, EightCallsWithTheSamplesPair)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily42, 31);
  h.setParams(0, 1, 1.0 / 64);  // frequency 1, sharp
  h.precompute();
  privateArea<F42cityConstants>(g).cell = recordingCell;
  cityCalls().clear();
  // X = -2 exactly lies in cell -3 at fraction 1: the upper x corner's value.
  const Levels l = sample(h, -2 + 0.4375, 4 + 0.4375, -7.9, 1 + 0.4375);
  ASSERT_EQ(cityCalls().size(), 8u);
  const std::vector<CityCall> order = cornerOrder(-3, 1, 4);
  for (size_t n = 0; n < 8; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(cityCalls()[n].x, order[n].x);
    EXPECT_EQ(cityCalls()[n].y, order[n].y);
    EXPECT_EQ(cityCalls()[n].z, order[n].z);
    EXPECT_EQ(cityCalls()[n].code1, 0);
  }
  EXPECT_EQ(cityCalls()[0].code0, -7);  // trunc(z): a negative code reaches the ground
  EXPECT_EQ(l.light, cornerValue(-2, 1, 4));
  EXPECT_EQ(l.reflection, -cornerValue(-2, 1, 4));
}

TEST(F42CityLight, NoValueRuleAmountAndFarPoints)
{
  KVmemberHarness h;
  h.bind(kFamily42, 31);
  h.setParams(2, 0, 2);
  h.prepare();
  const Levels zero = sample(h, 0.3, 0.2, 3, 0.1);
  EXPECT_EQ(zero.light, 0.0);
  EXPECT_EQ(zero.reflection, 0.0);
  h.setParams(2, 1, 2);
  h.prepare();
  EXPECT_EQ(sample(h, kMark, 0, 0, 0).light, kMark);
  EXPECT_EQ(sample(h, 0, 0, kMark, 0).reflection, kMark);
  EXPECT_TRUE(std::isfinite(sample(h, 0, kMark, 0, 0).light));
  EXPECT_EQ(sample(h, 1e12, 0, 0, 0).light, kMark);  // beyond the 32-bit lattice
}

// Every choice with its real dispatcher over a few points, ground and
// buildings: finite levels.
TEST(F42CityLight, RealTexturesGiveFiniteLevels)
{
  KVmemberHarness h;
  for (int v = 0; v < kF42cityChoices; ++v) {
    SCOPED_TRACE(v);
    h.bind(kFamily42, 31);
    h.setParams(v, 1, 0.25);
    h.prepare();
    for (int k = 0; k < 16; ++k) {
      const Levels l = sample(h, 0.37 * k - 3, 0.11 * k, 40.0 * k - 300, 0.23 * k);
      EXPECT_TRUE(std::isfinite(l.light) && std::isfinite(l.reflection));
    }
  }
}

}  // namespace
