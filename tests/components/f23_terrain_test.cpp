// The f23 terrain colours and their octave body: rgblunarrock octave by
// octave, the lunar rock with only its first octave, the two bands of Max to
// gradient, rock on steep grass, the grain faded by the resolution
// correction, and foliage at zero contrast.
#include "components/f23/f23_terrain.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "engine/catalog.h"
#include "foundation/colormath.h"
#include "noise/rgblunarrock.h"
#include "tests/components/f23_test_support.h"
#include "tests/components/member_harness.h"

namespace {

using f23test::mix;
using f23test::Rgb;

void expectRgb(const Rgb& got, const Rgb& want, double tolerance = 1e-12)
{
  EXPECT_NEAR(got.r, want.r, tolerance);
  EXPECT_NEAR(got.g, want.g, tolerance);
  EXPECT_NEAR(got.b, want.b, tolerance);
}

class F23Terrain : public F23MemberTest
{
protected:
  const KVtables* tables() { return &h_.doc()->tables; }
};

TEST_F(F23Terrain, LunarRockBodyResetsAtOctaveZero)
{
  double rgb[3] = {1, 2, 3};
  double w = 0.7;
  rgblunarrock(tables(), 0.3, 0.4, 1.0, 0.5, &w, 0, rgb);
  EXPECT_EQ(rgb[0], 200);
  EXPECT_EQ(rgb[1], 200);
  EXPECT_EQ(rgb[2], 200);
  EXPECT_EQ(w, 0.7);
  // At a lattice point the noise is 0: the rounded crater floor, 31.5.
  EXPECT_EQ(rgblunarrock_height(tables(), 0, 0), 31.5);
}

// Later octaves: h = height x slope shade; the running value becomes h / 192
// and the colour moves toward the octave's target by fade x h / 192.
TEST_F(F23Terrain, LunarRockBodyShadesAndMovesTowardTheOctaveTarget)
{
  struct Row
  {
    short octave;
    double w, p;
    double shade;
    Rgb target;
  };
  const Row rows[] = {
      {1, 0, 0, 0.4, {120, 120, 119}},     // first octave eased: (0 - 1) 0.6 + 1
      {2, 2, 0, 1, {92, 90, 90}},          // w above 1 counts as 1
      {3, 0.5, 0.5, 0.575, {70, 67, 67}},  // 0.5, lifted by (0.25 + 0.4 - 0.5) / 2
      {4, 1, 0, 1, {45, 42, 40}},          //
      {5, 1, 0, 1, {100, 90, 75}},         //
      {9, -1, 1, 0.4, {80, 80, 78}},       // w below 0 counts as 0; octaves past 6
  };
  const double x = 0.37, y = -1.42, fade = 0.75;
  const double height = rgblunarrock_height(tables(), x, y);
  ASSERT_GT(height, 0);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.octave);
    double rgb[3] = {200, 150, 100};
    double w = row.w;
    rgblunarrock(tables(), x, y, fade, row.p, &w, row.octave, rgb);
    const double h = height * row.shade;
    EXPECT_NEAR(w, h / 192, 1e-12);
    expectRgb({rgb[0], rgb[1], rgb[2]}, mix({200, 150, 100}, row.target, fade * h / 192), 1e-9);
  }
}

// With every octave beyond the band limit only octave 0 runs: the colour is
// its reset colour, scaled by A / 32.
TEST_F(F23Terrain, LunarRockWithOnlyItsFirstOctaveIsTheStartColour)
{
  h_.doc()->yPixelScale = 1e-6;
  use(38, 1.5, 3, 2);
  for (double x : {-2.0, 0.1, 2.7})
    expectRgb(at(x, 0.6 * x), {200 * 1.5 / 32, 200 * 1.5 / 32, 200 * 1.5 / 32});
}

TEST_F(F23Terrain, MaxToGradientTakesTheUpperBandAboveTheOtherHeight)
{
  cpalette& p = h_.doc()->tables.gradientKeys;
  p.count = 3;
  p.colors[0] = {255, 0, 0, 0};
  p.colors[1] = {255, 90, 180, 30};
  p.colors[2] = {255, 255, 255, 255};
  Rgb k[4];
  const double at4[4] = {0, 0.3, 0.7, 1};
  for (int i = 0; i < 4; ++i)
    k[i] = f23test::onComponentScale(colorgradient(p.colors, 3, at4[i]));
  const double A = 1, B = 0.5;
  use(39, A, B, 0);
  struct Row
  {
    const char* what;
    double x, y;
    Rgb expected;
  };
  const Rgb base = mix(k[0], k[1], 0.5);
  const Row rows[] = {
      {"at y = x - 0.125 the lower band", 0.5, 0.375, base},
      {"below it the lower band", 0.5, -4, base},
      {"x beyond 1 / A ends the lower band", 3, 0, k[1]},
      {"at y = x + 0.125 the upper band", 0.5, 0.625, mix(k[2], k[3], 0.125)},
      {"far above, the upper band's end", 0.5, 4.5, k[3]},
      {"half way between, smoothed", 0.5, 0.5, mix(base, mix(k[2], k[3], 0.0625), 0.5)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    expectRgb(at(row.x, row.y), row.expected);
  }
}

// The slope of each sample is the document's master x at that sample; a
// quarter or more is bare rock whatever the noise.
TEST_F(F23Terrain, SteepGrassIsRock)
{
  use(40, 1, 0.3, 16);
  double* slope = h_.doc()->master[0];
  for (int i = 0; i < kBatchCapacity; ++i)
    slope[i] = i % 2 == 0 ? (i % 4 == 0 ? 0.25 : 3.0) : 0.0;
  KVbatch x{}, y{};
  for (int i = 0; i < kBatchCapacity; ++i) {
    x[i] = -2.3 + 0.31 * i;
    y[i] = 1.7 - 0.23 * i;
  }
  const KVtestInput xs = KVtestInput::samples(x), ys = KVtestInput::samples(y);
  const KVbatch red = h_.run(xs, ys, kBatchCapacity, 0);
  const KVbatch green = h_.run(xs, ys, kBatchCapacity, 1);
  const KVbatch blue = h_.run(xs, ys, kBatchCapacity, 2);
  for (int i = 0; i < kBatchCapacity; ++i) {
    SCOPED_TRACE(i);
    const bool rock = i % 2 == 0;
    EXPECT_EQ(red[i] == 78.0 / 32 && green[i] == 70.0 / 32 && blue[i] == 67.0 / 32, rock);
  }
}

// Below a quarter the colour moves toward rock by 4 x the slope; a negative
// slope counts as 0.
TEST_F(F23Terrain, GentleSlopesBlendTowardRock)
{
  use(40, 1, 0.3, 16);
  const Rgb rock{78.0 / 32, 70.0 / 32, 67.0 / 32};
  h_.doc()->master[0][0] = 0;
  const Rgb flat = at(0.45, -0.8);
  h_.doc()->master[0][0] = 0.1;
  expectRgb(at(0.45, -0.8), mix(flat, rock, 0.4));
  h_.doc()->master[0][0] = -2;
  expectRgb(at(0.45, -0.8), flat);
}

// The grain fades out when its frequency 8 C nears the pixel density; a
// "Scale & Offset" (function id 2) in front divides the density by its A.
TEST_F(F23Terrain, GrassGrainFollowsTheResolutionCorrection)
{
  auto scaler = std::make_unique<gfunc>();
  scaler->funcID = 2;
  scaler->A = -1e6;  // 1000 pixels a unit become 0.001
  use(40, 0, 0.3, 16);
  const Rgb noGrain = at(0.45, -0.8);
  use(40, 1, 0.3, 16);
  const Rgb grain = at(0.45, -0.8);
  EXPECT_NE(grain.r, noGrain.r);
  h_.component()->sources[0] = scaler.get();
  expectRgb(at(0.45, -0.8), noGrain);
  h_.component()->sources[0] = nullptr;
}

// With no contrast every one of the nine layers blends with the weight
// S(0.18) = 0.085536, wherever the sample lies; a frequency far above the
// pixel density fades the contrast to nothing.
TEST_F(F23Terrain, FoliageWithoutContrastWeighsEveryLayerAlike)
{
  const double hues = 0.4, s = 0.085536;
  Rgb c{0, 30, 10};
  double u = 0;
  for (int layer = 0; layer < 9; ++layer) {
    const Rgb target{(20 + 100 * hues) + ((90 + 120 * hues) - (20 + 100 * hues)) * u,
                     (80 + 40 * hues) + ((210 - 170 * hues) - (80 + 40 * hues)) * u,
                     15 + (10 - 25 * hues) * u};
    c = mix(c, target, s);
    u += 1.0 / 9;
  }
  const Rgb expected{c.r / 32, c.g / 32, c.b / 32};
  use(41, 0, hues, 2);
  for (double x : {-2.5, 0.0, 1.3})
    expectRgb(at(x, 0.7 - x), expected);
  h_.doc()->yPixelScale = 1;
  use(41, 4, hues, 32);
  expectRgb(at(1.3, -0.6), expected);
}

}  // namespace
