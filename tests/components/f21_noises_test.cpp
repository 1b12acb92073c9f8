// The f21 noises and jittered cells: their fades of finer-than-pixel detail,
// the frequency rules and the shapes of their extremes.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <set>

#include "tests/components/f21_test_support.h"

namespace {

constexpr double kPi = std::numbers::pi;

bool allEqual(const std::vector<double>& v, double value)
{
  return std::all_of(v.begin(), v.end(), [=](double x) { return x == value; });
}

bool isConstant(const std::vector<double>& v)
{
  return allEqual(v, v.front());
}

TEST(F21Noises, RandomNoiseWithoutFrequencyIsConstant)
{
  KVmemberHarness h;
  EXPECT_TRUE(isConstant(gridOf(h, 11, 1, 3.5, 0)));
  EXPECT_FALSE(isConstant(gridOf(h, 11, 1, 3.5, 2)));
}

// Past the pixel density the noise has faded to the flat value 769 A / 128;
// between half the density and the density it is on its way there.
TEST(F21Noises, RandomNoiseFadesAbovePixelDensity)
{
  struct Case
  {
    double density;
    double C;
    bool flat;
  };
  const Case cases[] = {
      {2, 2, true}, {2, 7, true}, {64, 64, true}, {64, 40, false}, {64, 20, false}};
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "density " << c.density << " C " << c.C);
    h.doc()->yPixelScale = c.density;
    const std::vector<double> v = gridOf(h, 11, 1.25, 0, c.C);
    if (c.flat)
      EXPECT_TRUE(allEqual(v, 769 * 1.25 / 128));
    else
      EXPECT_FALSE(isConstant(v));
  }
}

TEST(F21Noises, FractalNoiseTakesFrequencyZeroOrBelowAsOne)
{
  KVmemberHarness h;
  const std::vector<double> one = gridOf(h, 12, 1, 0.5, 1);
  EXPECT_FALSE(isConstant(one));
  for (double c : {0.0, -3.0})
    EXPECT_EQ(gridOf(h, 12, 1, 0.5, c), one) << "C " << c;
  EXPECT_NE(gridOf(h, 12, 1, 0.5, 2), one);
}

TEST(F21Noises, FractalNoiseIsMarkedAsAFractalMember)
{
  KVmemberHarness h;
  EXPECT_EQ(h.bind(kFamily21, 12)->freqFlag, 1);
  EXPECT_EQ(h.bind(kFamily21, 11)->freqFlag, 0);
}

// A coarser band limit (lower pixel density) drops octaves: the picture gets
// smoother, and a scaling member in front (function id 2) moves the limit.
TEST(F21Noises, FractalNoiseBandLimitFollowsThePixelDensity)
{
  KVmemberHarness h;
  h.doc()->yPixelScale = 4;
  const std::vector<double> coarse = gridOf(h, 12, 1, 0, 2);
  h.doc()->yPixelScale = 400;
  const std::vector<double> fine = gridOf(h, 12, 1, 0, 2);
  EXPECT_NE(coarse, fine);

  gfunc scaler{};
  scaler.funcID = 2;
  scaler.A = 100;  // |400 / 100| = 4: the coarse limit again
  h.bind(kFamily21, 12);
  h.setParams(1, 0, 2);
  h.component()->sources[0] = &scaler;
  h.prepare();
  EXPECT_EQ(h.grid({}), coarse);
}

TEST(F21Noises, ConesWithoutAmplitudeAreFlat)
{
  KVmemberHarness h;
  EXPECT_TRUE(allEqual(gridOf(h, 18, 0, 3, 1), 0));
  const std::vector<double> cones = gridOf(h, 18, 2, 3, 1);
  EXPECT_GE(*std::min_element(cones.begin(), cones.end()), 0);
  EXPECT_GT(*std::max_element(cones.begin(), cones.end()), 0);
}

// A negative amplitude turns the cones into pits: the plateau -A pi where
// no cone reaches, lower inside them.
TEST(F21Noises, NegativeConesArePits)
{
  KVmemberHarness h;
  const std::vector<double> pits = gridOf(h, 18, -1, 1, 1);  // small cones (radius 1/6)
  EXPECT_EQ(*std::max_element(pits.begin(), pits.end()), kPi);
  EXPECT_LT(*std::min_element(pits.begin(), pits.end()), kPi);
}

// Far from every centre (d >= B) the height is A / B for A >= 0, and
// (1 - 2B)(-A / B) for A < 0, the floor of the bubbles.
TEST(F21Noises, BubblesFarFromTheCentres)
{
  struct Case
  {
    double A, B;
  };
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 96;
  for (const Case& c : {Case{-2, 0.125}, Case{-6, 0.2}, Case{3, 0.2}}) {
    SCOPED_TRACE(::testing::Message() << "A " << c.A << " B " << c.B);
    const std::vector<double> v = gridOf(h, 19, c.A, c.B, 2, view);
    const double far = c.A < 0 ? (1 - 2 * c.B) * (-c.A / c.B) : c.A;
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    if (c.A < 0) {
      EXPECT_NEAR(*lo, far, 1e-12);
      EXPECT_GT(*hi, far + 0.1);
    } else {
      EXPECT_NEAR(*hi, far, 1e-12);
      EXPECT_LT(*lo, far - 0.1);
    }
  }
}

// At a frequency well past a quarter of the (adjusted) density the bubbles
// have faded to the flat value min(B, 0.25) A / B.
TEST(F21Noises, BubblesFadeToFlat)
{
  KVmemberHarness h;
  h.doc()->yPixelScale = 1;  // a quarter: 0.25, below P2 = C + 0.01
  EXPECT_TRUE(allEqual(gridOf(h, 19, 2, 1, 2), 0.5));
  EXPECT_TRUE(allEqual(gridOf(h, 19, 2, 0.125, 2), 2));

  gfunc scaler{};
  scaler.funcID = 2;
  scaler.A = -0.001;  // density 1000: no fade
  h.bind(kFamily21, 19);
  h.component()->sources[0] = &scaler;
  h.prepare();
  EXPECT_FALSE(isConstant(h.grid({})));
}

// Facets: flat cells of the crystal value perm * P2.
TEST(F21Noises, FacetsAreFlatCellsOfTheCrystalValue)
{
  KVmemberHarness h;
  const double amplitude = 1;
  const std::vector<double> v = gridOf(h, 20, kPi / 2, amplitude, 0);
  const double p2 = (2.125 + amplitude) / 400;
  std::set<double> levels(v.begin(), v.end());
  EXPECT_GT(levels.size(), 3u);
  EXPECT_LT(levels.size(), v.size() / 20);  // cells, not noise
  for (double level : levels) {
    const double index = level / p2;
    EXPECT_GE(index, 0);
    EXPECT_LE(index, 1023);
    EXPECT_NEAR(index, std::round(index), 1e-9);
  }
}

}  // namespace
