// Math utils: the 25 modes, the choice of mode by truncation, the mode name
// as the label of A, and modes outside 0..24.
#include "components/f21/f21_mathutils.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int16_t kMathutils = 61;

struct ModeCase
{
  double A;
  double x, y;
  double expected;
};

const ModeCase kModes[] = {
    {0, 5, 2, 3},
    {1, 5, 2, -3},
    {2, 5, 2, 10},
    {3, 5, 2, 2.5},
    {4, 5, 2, 0.4},
    {5, 1, 1, kPi / 4},
    {6, 2, -2, -kPi / 4},
    // Mode 7: 0 along the negative y axis, growing counter-clockwise.
    {7, 1, 0, kPi / 2},
    {7, 0, 1, kPi},
    {7, -1, 0, 3 * kPi / 2},
    {7, 0, -1, 0},
    {7, 1, 1, 3 * kPi / 4},
    {8, 3, 4, 5},
    {9, 3, 4, 0.2},
    {10, 3, 4, 0.5 / 5.0625},
    // Blends: at t = 0.5 the smoothstep is 0.5.
    {11, 2, 6, 4},
    {11, 4, 6, 4},   // t >= 1: x
    {11, -1, 6, 6},  // t <= 0: y
    {12, 2, 6, 4},
    {12, 5, 6, 6},    // t >= 1: y
    {12, -1, 6, -1},  // t <= 0: x
    {13, 4, 3, 8},    // p = 12, t = 0.5: (12 + 4) / 2
    {13, 8, 3, 8},
    {13, -1, 3, -3},
    {14, 4, 3, 8},
    {14, 8, 3, 24},
    {14, -1, 3, -1},
    {15, 0, 0, 4},
    {15, -1, 3, 1},
    {16, 0, 0, 1},
    {16, 3.5, 0, 0.5},
    {17, 2, 3, 6},
    {17, 2, -3, 0},  // y < 0 gives 0 for every x
    {17, -2, 3, 0},
    {18, 2, 3, 2},
    {19, 2, 3, 3},
    {20, 2, 3, 5},
    {21, 2, 3, 1},
    {22, 2, 3, 0},
    {23, 2, 3, 4},
    {24, 2, 3, 5},
    // The mode is trunc(A).
    {24.9, 2, 3, 5},
    {-0.5, 5, 2, 3},
    {0.5, 5, 2, 3},
};

TEST(F21Mathutils, EveryMode)
{
  KVmemberHarness h;
  h.bind(kFamily21, kMathutils);
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE(::testing::Message() << "A " << c.A << " at " << c.x << ", " << c.y);
    h.setParams(c.A, -1, -1);
    EXPECT_NEAR(h.at(c.x, c.y), c.expected, 1e-12 * (1 + std::fabs(c.expected)));
  }
}

TEST(F21Mathutils, Mode16NeverExceedsOne)
{
  KVmemberHarness h;
  h.bind(kFamily21, kMathutils);
  h.setParams(16, -1, -1);
  KVgridView view;
  view.xmin = -0.5, view.xmax = 0.5, view.ymax = 0.5;
  for (double v : h.grid(view))
    ASSERT_LE(v, 1.0);
}

TEST(F21Mathutils, ModesOutsideTheListLeaveTheOutputAlone)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily21, kMathutils);
  for (double a : {25.0, -1.0, 1e12, std::nan("")}) {
    SCOPED_TRACE(a);
    h.setParams(a, -1, -1);
    for (double& v : g->outputs[0])
      v = 42;
    const KVbatch out = h.run(KVtestInput::fill(1), KVtestInput::fill(2));
    for (double v : out)
      EXPECT_EQ(v, 42);
  }
}

TEST(F21Mathutils, LabelOfAIsTheModeName)
{
  struct Case
  {
    double A;
    std::string label;
  };
  const Case cases[] = {
      {0.5, " x-y #"},
      {7, " angle(x,y) (O-2\xCF\x80) #"},  // capital O; \xCF\x80 is pi
      {16, " roofed min(4-abs(x),4-abs(y))  #"},
      {24.9, " min+y #"},
      {25, ""},
      {-1, ""},
  };
  KVmemberHarness h;
  h.bind(kFamily21, kMathutils);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.A);
    h.setParams(c.A, -1, -1);
    double value = 0;
    EXPECT_EQ(h.send(kMsgParamA, &value), c.label);
    EXPECT_EQ(value, c.A);  // the value is answered even without a name
  }
}

TEST(F21Mathutils, DefaultsChooseModeZeroAndMarkAAsAChoice)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily21, kMathutils);
  EXPECT_EQ(g->A, 0.5);
  EXPECT_EQ(g->paramCount, 1);
  EXPECT_EQ(g->rangeClass[0], kRangeChoice);
  double n = 0.85;  // 20.4
  h.send(kMsgFromNormalized, &n);
  EXPECT_EQ(g->A, 20);
  double back = -1;
  h.send(kMsgToNormalized, &back);
  EXPECT_DOUBLE_EQ(back, 20.0 / 24);
  EXPECT_EQ(h.displayName(), " Math utils #");
}

TEST(F21Mathutils, EveryModeHasAName)
{
  for (int m = 0; m < kF21MathutilsModes; ++m) {
    const std::string_view name = f21_Mathutils_modeName(m);
    EXPECT_EQ(name.front(), ' ') << m;
    EXPECT_TRUE(name.ends_with(" #")) << m;
  }
  EXPECT_TRUE(f21_Mathutils_modeName(kF21MathutilsModes).empty());
}

}  // namespace
