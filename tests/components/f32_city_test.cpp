// The f32 city light member: its 24 choices, what message 8 derives from
// them, the corner calls and their code pair, the blend, and the member
// before message 8 or with a stored choice outside the list.
#include "components/f32/f32_city.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "tests/components/f32_city_recorder.h"
#include "tests/components/f32_test_support.h"

namespace {

using namespace f32test;

TEST(F32City, ChoicesLabelsAndScales)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 42);
  EXPECT_EQ(h.displayName(), " City Light and Reflection #");
  EXPECT_EQ(g->A, 12.0);
  EXPECT_EQ(g->B, 1.0);
  EXPECT_EQ(g->C, 2.0);
  EXPECT_EQ(g->inputCode, kConnThreeOut);
  EXPECT_EQ(g->outputCode, 5);
  EXPECT_EQ(h.send(kMsgParamA), " Building G Sharp # ");
  EXPECT_EQ(h.send(kMsgParamB), "Amount ");
  EXPECT_EQ(h.send(kMsgParamC), "Frequency ");

  double a = 1, b = 1, c = 1;
  h.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g->A, 23.0);
  EXPECT_EQ(h.send(kMsgParamA), " City Patchwork C Soft # ");
  a = 0.5;
  h.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g->A, 11.0);
  EXPECT_EQ(h.send(kMsgParamA), " Building F Soft # ");

  const struct
  {
    double A, C;
    double sharpness, scale;
  } rows[] = {{18, 2, 6.0, 128}, {0, 2, 6.0, 16}, {19, 0.5, 1.5, 32}, {7.9, 1, 1.5, 8}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.A);
    h.setParams(r.A, 1, r.C);
    h.precompute();
    EXPECT_EQ(f32_city(g).sharpness, r.sharpness);
    EXPECT_EQ(f32_city(g).scale, r.scale);
    EXPECT_NE(f32_city(g).cell, nullptr);
  }
}

TEST(F32City, StoredChoiceOutsideTheList)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 42);
  h.setParams(30, 1, 2);
  EXPECT_EQ(h.send(kMsgParamA), "");                // no label for a choice outside the list
  const Mapped before = mapOnce(h, 0.3, 0.4, 0.5);  // no message 8 yet: no cell function
  EXPECT_EQ(before.x, 0.0);
  EXPECT_EQ(before.y, 0.0);
  h.precompute();
  EXPECT_EQ(g->A, 23.0);
  h.setParams(kNaN, 1, 2);
  h.precompute();
  EXPECT_EQ(g->A, 12.0);
  h.setParams(-4, 1, 2);
  h.precompute();
  EXPECT_EQ(g->A, 0.0);
}

TEST(F32City, CornerCallsCarryTheFirstCodeWord)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 42);
  h.setParams(0, 1, 2);  // scale 16, sharp
  h.precompute();
  f32_city(g).cell = recordingCell;
  cityCalls().clear();
  // Sample 0 sits exactly on lattice planes (3, 5, 2); sample 1 is marked.
  const double x = (3 + 0.4375) / 16, y = (5 + 0.4375) / 16, z = (2 + 0.4375) / 16;
  h.setInput(0, KVtestInput::samples({x, kMark, x}));
  h.setInput(1, KVtestInput::samples({y, 0, y}));
  h.setInput(2, KVtestInput::samples({z, 0, z}));
  const KVbatch light = h.run(3, 0);
  ASSERT_EQ(cityCalls().size(), 16u);  // the marked sample calls nothing
  const std::vector<CityCall> order = cornerOrder(3, 5, 2);
  for (size_t n = 0; n < 16; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(cityCalls()[n].x, order[n % 8].x);
    EXPECT_EQ(cityCalls()[n].y, order[n % 8].y);
    EXPECT_EQ(cityCalls()[n].z, order[n % 8].z);
    EXPECT_EQ(cityCalls()[n].code0, int16_t(n));  // (0, 0) first, then carried
    EXPECT_EQ(cityCalls()[n].code1, 0);
  }
  EXPECT_EQ(light[0], cornerValue(3, 5, 2));  // fraction 0: the lower corner unblended
  EXPECT_EQ(light[1], kMark);
  EXPECT_EQ(h.run(3, 1)[0], -cornerValue(3, 5, 2));
  EXPECT_EQ(cityCalls()[16].code0, 0);  // the next batch starts again at (0, 0)
}

TEST(F32City, BlendAndAmount)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 42);
  h.setParams(1, 0.5, 2);  // scale 16, soft: weights S(1.5 f)
  h.precompute();
  f32_city(g).cell = recordingCell;
  // X = 0.25 in cell 0: wx = S(0.375); Y, Z on cell planes 0.
  const Mapped p = mapOnce(h, (0.25 + 0.4375) / 16, 0.4375 / 16, 0.4375 / 16);
  const double wx = (3 - 2 * 0.375) * 0.375 * 0.375;
  EXPECT_NEAR(p.x, 0.5 * wx, 1e-15);
  EXPECT_NEAR(p.y, -0.5 * wx, 1e-15);
  // A point beyond the 32-bit lattice gives the marker rather than a cell.
  const Mapped far = mapOnce(h, 1e12, 0, 0);
  EXPECT_EQ(far.x, kMark);
  EXPECT_EQ(far.y, kMark);
}

// Every choice with its real cell function over a small grid: finite levels.
TEST(F32City, RealTexturesGiveFiniteLevels)
{
  KVmemberHarness h;
  for (int v = 0; v < kF32cityChoices; v += 3) {
    SCOPED_TRACE(v);
    h.bind(kFamily32, 42);
    h.setParams(v, 1, 0.5);
    h.prepare();
    for (int k = 0; k < 24; ++k) {
      const Mapped p = mapOnce(h, 0.37 * k - 4, 0.21 * k, 0.13 * k - 1);
      EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
  }
}

}  // namespace
