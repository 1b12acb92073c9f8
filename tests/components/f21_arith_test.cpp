// Golden values of the f21 arithmetic members at the edges of their formulas:
// the soft minimum and maximum, the overturned cone, extrapolation.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "tests/components/f21_test_support.h"

namespace {

constexpr double kPi = std::numbers::pi;

const F21Golden kGolden[] = {
    {"affine", 0, 2, 3, 1, 1, -1, 0},
    {"affine at the defaults adds", 0, 1, 1, 0, 0.25, 0.5, 0.75},
    {"lobes", 1, 0, 0, -1, 1, 0, 1 * std::exp(-2.0625 / 16) * 3},
    {"lobes are odd", 1, 0.5, 1, -1, -1, 0, -1 * std::exp(-2.5625 / 16) * 4},
    {"multiply", 2, 1, -1, -1, 2, 3, 6},
    {"distance, cone", 3, 0, 0, 1, 3, 4, 5 * 3.125 / 4.125},
    {"distance, offset centre", 3, 1, 0, 1, -kPi, 0, 0},
    // C = -6.25 gives P3 = -1: the cone is turned over around the height 8.
    {"overturned cone at r = 8", 3, 0, 0, -6.25, 8, 0, 0},
    {"overturned cone at r = 0", 3, 0, 0, -6.25, 0, 0, 8},
    {"overturned cone at r = 10", 3, 0, 0, -6.25, 0, 10, -2},
    {"difference", 10, 1.5, -1, -1, 1, 4, 4.5},
    {"min <-> max: B = 0.5, C = 0 is the mean times A", 17, 2, 0.5, 0, 1, 3, 4},
    {"min <-> max: minimum", 17, 1, 0, 0, 1, 3, 1},
    {"min <-> max: maximum", 17, 1, 1, 0, 1, 3, 3},
    // C = 2: P3 = 1, h = 0.5; at x = y the gap is h/4, so lo = x - h/8.
    {"min <-> max: smoothed minimum at x = y", 17, 1, 0, 2, 1, 1, 1 - 0.0625},
    {"min <-> max: smoothed maximum at x = y", 17, 1, 1, 2, 1, 1, 1 + 0.0625},
    {"min <-> max: smoothing leaves distant values", 17, 1, 1, 2, 0, 5, 5},
    // d = 0.1, t = 0.2: e = 0.5 (0.04 + 0.25) = 0.145.
    {"min <-> max: smoothed near equality", 17, 1, 0, 2, 1, 1.1, (2.1 - 0.145) / 2},
    {"interpolate", 44, 0.25, -1, -1, 1, 3, 1.5},
    {"interpolate extrapolates above 1", 44, 2, -1, -1, 1, 3, 5},
    {"interpolate extrapolates below 0", 44, -1, -1, -1, 1, 3, -1},
    {"distance squared", 45, -1, -1, -1, 3, -4, 25},
    // t = A x + B + y.
    {"max(x, t): x equal to t gives t", 58, 0.5, 0, 0, 2, 1, 2},
    {"max(x, t): x above t", 58, 0.5, 0, 0, 4, 1, 4},
    {"max(x, t): x below t", 58, 0, 0.5, 0, 0, 1, 1.5},
    // C = 2, t = 1: g = 1.5; the rounded part runs from x = 0.5 to 1.5.
    {"soft max: top of the rounding", 58, 0, 0, 2, 1.5, 1, 1.5},
    {"soft max: inside the rounding", 58, 0, 0, 2, 1, 1, 1 + 0.0625 * 2},
    {"soft max: foot of the rounding", 58, 0, 0, 2, 0.5, 1, 1},
    {"soft max: below the rounding", 58, 0, 0, 2, -3, 1, 1},
    {"soft max: negative C is C = 0", 58, 0, 0, -2, 1, 1, 1},
};

TEST(F21Arith, GoldenValues)
{
  expectGoldenValues(kGolden);
}

// Min <-> Max with one input masked gives the other one times A; the output is
// masked only when both are.
TEST(F21Arith, MinMaxKeepsTheInputThatHasAValue)
{
  KVmemberHarness h;
  h.bind(kFamily21, 17);
  h.setParams(2, 0.3, 1.5);
  h.prepare();
  const KVbatch out = h.run(KVtestInput::samples({gINFINITY, 4, gINFINITY}),
                            KVtestInput::samples({3, gINFINITY, gINFINITY}), 3);
  EXPECT_EQ(out[0], 6);
  EXPECT_EQ(out[1], 8);
  EXPECT_EQ(out[2], gINFINITY);
}

// The smoothed blend never leaves the band between min and max widened by the
// smoothing, and is continuous across x = y.
TEST(F21Arith, SmoothedMinMaxIsContinuous)
{
  KVmemberHarness h;
  h.bind(kFamily21, 17);
  h.setParams(1, 0, 4);  // h = 1
  h.prepare();
  double previous = h.at(-2, 0);
  for (double x = -2; x <= 2; x += 1.0 / 256) {
    const double v = h.at(x, 0);
    EXPECT_LE(std::fabs(v - previous), 1.0 / 128) << x;
    EXPECT_LE(v, std::min(x, 0.0)) << x;
    previous = v;
  }
}

}  // namespace
