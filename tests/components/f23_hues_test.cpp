// The f23 hue fields and noise colours at points where their formulas give
// known answers: the edges of the rings, stripes and wheel, the veins at
// full thickness, the random fractal's octave count (a quarter of the
// document's, at most 64), the multifractal's offset for a vanishing
// amplitude, Color Bubbles' shade held to [0, 1] and the pyramids' reversed
// channels.
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <span>

#include "components/f23/f23_noisecolors.h"
#include "components/f23/f23_pvt.h"
#include "engine/catalog.h"
#include "foundation/colormath.h"
#include "noise/techno.h"
#include "tests/components/f23_test_support.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;

using f23test::ColourCase;
using f23test::mix;
using f23test::Rgb;

// A hue key as the members make it, on the component scale.
Rgb hsl(int hue, int saturation, int lightness)
{
  normalcolor c{255, 0, 0, 0};
  myHSLtoRGB(hue, saturation, lightness, &c);
  return f23test::onComponentScale(c);
}

Rgb grey(double level)
{
  return {level / 32, level / 32, level / 32};
}

class F23Hues : public F23MemberTest
{
protected:
  void expectCases(std::span<const ColourCase> cases)
  {
    for (const ColourCase& c : cases) {
      SCOPED_TRACE(c.what);
      use(c.id, c.A, c.B, c.C);
      const Rgb got = at(c.x, c.y);
      EXPECT_NEAR(got.r, c.expected.r, 1e-9 * (1 + std::fabs(c.expected.r)));
      EXPECT_NEAR(got.g, c.expected.g, 1e-9 * (1 + std::fabs(c.expected.g)));
      EXPECT_NEAR(got.b, c.expected.b, 1e-9 * (1 + std::fabs(c.expected.b)));
    }
  }
};

TEST_F(F23Hues, HueFieldsAtTheirEdges)
{
  // A = 0 gives the hue base 360: keys at hues 0, 10, 30, 51, 60 ...
  const Rgb line = hsl(30, 255, 128);
  const double wheelKey1 = 2 * kPi / 7;
  const ColourCase cases[] = {
      {"rings: black where C r = pi", 18, 0, 1, kPi, 1, 0, {0, 0, 0}},
      {"rings: the last key at the centre", 18, 0, 1, kPi, 0, 0, hsl(60, 255, 192)},
      {"rings: A = 0.5 turns the hues by 120", 18, 0.5, 1, 1, 0, 0, hsl(180, 255, 192)},
      {"rings: B = 0 is grey", 18, 0, 0, 1, 0, 0, grey(192)},
      {"rings: x marked", 18, 0, 1, 1, M, 0, {M, M, M}},
      {"stripes: B = 0 grey ramp at |x| = 0.5", 19, 0, 0, kPi, 0.5, 1, grey(126)},
      {"stripes: the ramp follows |x|", 19, 0, 0, kPi, -0.5, 1, grey(126)},
      {"stripes: inverted below y = 0", 19, 0, 0, kPi, 0.5, -1, grey(129)},
      {"stripes: the line above", 19, 0, 0, kPi, 0.5, 0.05, mix(line, grey(126), 0.4)},
      {"stripes: the line below", 19, 0, 0, kPi, 0.5, -0.05, mix(line, grey(129), 0.4)},
      {"stripes: the line ends at s = 0.125", 19, 0, 0, kPi, 0.5, 0.125, grey(126)},
      {"stripes: and at s = -0.125", 19, 0, 0, kPi, 0.5, -0.125, grey(129)},
      {"stripes: the line colour on y = 0", 19, 0, 0, kPi, 0.5, 0, line},
      {"stripes: full hues at B = 1", 19, 0, 1, kPi, 0, 1, hsl(0, 255, 128)},
      {"stripes: x marked", 19, 0, 0, kPi, M, 1, {M, M, M}},
      {"wheel: B = 0 black half way round", 20, 0, 0, 0, -1, 0, {0, 0, 0}},
      {"wheel: B = 0 keeps key 1", 20, 0, 0, 0, std::cos(wheelKey1), std::sin(wheelKey1),
       hsl(51, 255, 128)},
      {"wheel: key 0 at angle 0", 20, 0, 1, 0, 1, 0, hsl(0, 255, 128)},
      {"wheel: x marked", 20, 0, 1, 0, M, 0, {M, M, M}},
      {"strings: A = 3 gives c3", 29, 3, 0.5, 2, 0.3, -1.7, hsl(0, 255, 128)},
      {"strings: c3 everywhere", 29, 3, 0.5, 2, -2.9, 0.61, hsl(0, 255, 128)},
      {"strings: c3 from B = 0", 29, 3, 0, 2, 1.1, 2.2, hsl(180, 255, 128)},
      {"strings: x marked", 29, 3, 0.5, 2, M, 0, {M, M, M}},
  };
  expectCases(cases);
}

// Octave counts 0 to 3 add no octave; 4 adds one; the tree-file range 4..256
// and counts set in memory alike stop at 64 extra octaves, so 32767 gives
// what 256 gives, finite and at once.
TEST_F(F23Hues, RandomFractalOctavesAreAQuarterOfTheCountAtMost64)
{
  EXPECT_EQ(f23_fractExtraOctaves(3), 0);
  EXPECT_EQ(f23_fractExtraOctaves(-8), 0);
  EXPECT_EQ(f23_fractExtraOctaves(16), 4);
  EXPECT_EQ(f23_fractExtraOctaves(256), 64);
  EXPECT_EQ(f23_fractExtraOctaves(32767), 64);

  auto outputsWith = [&](int16_t octaves) {
    h_.doc()->fractal.octaves = octaves;
    use(8, 1.5, 0.7, 0.5);
    return at(0.37, -1.21);
  };
  const Rgb none = outputsWith(0), three = outputsWith(3), four = outputsWith(4);
  EXPECT_EQ(three.r, none.r);
  EXPECT_EQ(three.b, none.b);
  EXPECT_NE(four.r, none.r);

  const Rgb most = outputsWith(256);
  const auto start = std::chrono::steady_clock::now();
  const Rgb huge = outputsWith(32767);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_TRUE(std::isfinite(huge.r) && std::isfinite(huge.g) && std::isfinite(huge.b));
  EXPECT_EQ(huge.r, most.r);
  EXPECT_EQ(huge.g, most.g);
  EXPECT_EQ(huge.b, most.b);
}

TEST_F(F23Hues, MultifractalOffsetStaysFiniteForAVanishingAmplitude)
{
  struct Row
  {
    double A;
    double q;
  };
  for (const Row& row :
       {Row{0, 119999.99999999999}, Row{-1, 119999.99999999999}, Row{1, 1.2 / (512 * 0.005)}}) {
    SCOPED_TRACE(row.A);
    use(37, row.A, 0, 2);
    EXPECT_EQ(f23_k(h_.component()).K[2], row.q);
    EXPECT_EQ(f23_k(h_.component()).K[0], 0.5);
    EXPECT_TRUE(std::isfinite(h_.at(0.4, 0.9, 1)));
  }
}

// Message 8 holds the shade to [0, 1].
TEST_F(F23Hues, BubbleShadeIsHeldToTheUnitRange)
{
  struct Row
  {
    double given, held;
  };
  for (const Row& row : {Row{2, 1}, Row{-1, 0}, Row{0.25, 0.25}}) {
    use(27, 0.5, row.given, 2);
    const Rgb given = at(0.9, -0.4);
    EXPECT_EQ(h_.component()->B, row.held);
    use(27, 0.5, row.held, 2);
    const Rgb held = at(0.9, -0.4);
    EXPECT_EQ(given.r, held.r);
    EXPECT_EQ(given.b, held.b);
  }
}

// Three levels of technical cells, each at half the coordinates and shifted;
// red is the accumulator's third value, blue its first.
TEST_F(F23Hues, PyramidsTakeTheAccumulatorInReverseOrder)
{
  const double A = 6, B = 1.25, C = 3, x = 0.71, y = -0.33;
  use(28, A, B, C);
  const KVtables* t = &h_.doc()->tables;
  double acc[3] = {0, 0, 0};
  double X = C * x + B, Y = C * y;
  for (int level = 0; level < 3; ++level) {
    TechnoNoise1FColor(t, X, Y, acc, 1);
    X = X / 2 + B;
    Y = Y / 2 + 517.5;
  }
  ASSERT_NE(acc[0], acc[2]);
  const Rgb got = at(x, y);
  EXPECT_DOUBLE_EQ(got.r, A / 128 * acc[2]);
  EXPECT_DOUBLE_EQ(got.g, A / 128 * acc[1]);
  EXPECT_DOUBLE_EQ(got.b, A / 128 * acc[0]);
}

}  // namespace
