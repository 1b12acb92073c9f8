// The f21 branch patterns, lattice, noise, fractal and terrain members:
// edge values of their formulas, the fades at the pixel density, the
// fractal settings that two members change around a batch, and the
// conversion of Line in old trees.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "components/f21/f21_branches.h"
#include "noise/lattice.h"
#include "tests/components/f21_test_support.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(F21Fields, EdgeValuesOfTheFormulas)
{
  const F21Golden cases[] = {
      {"Min+Max, signs differ", 22, 0, 0, 0, 3, -2, -2},
      {"Min+Max, both negative", 22, 0, 0, 0, -3, -2, 2},
      {"Min+Max, both positive", 22, 0, 0, 0, 3, 2, 2},
      {"Min+Max, on an axis", 22, 0, 0, 0, 0, -2, 0},
      {"Line peak on the line", 33, 0, 1, 0.1, 0, 5, 0.4},
      {"Line at its half-width", 33, 0, 1, 0.1, 0.1, 0, 0},
      {"Line beyond its half-width", 33, 0, 1, 0.1, -0.3, 2, 0},
      {"Line turned a quarter", 33, kPi / 2, 2, 0.5, 3, 0.25, 8 * 0.25},
      {"Gaussian Dot centre", 41, 4, kPi, -1, 0, 0, 4},
      {"Gaussian Dot half radius", 41, 4, kPi, -1, 0, kPi / 2, 2},
      {"Gaussian Dot at the radius", 41, 4, kPi, -1, kPi, 0, 0},
      {"Gaussian Dot beyond", 41, 4, kPi, -1, 3, -2, 0},
      {"Lozenge origin", 38, 4, 1, 1, 0, 0, 4},
      {"Lozenge inside", 38, 4, 0.5, 2, -1, 2, 1},
      {"Lozenge corner", 38, 4, 1, 1, 4, 0, 0},
      {"Lozenge outside", 38, 4, 1, 1, 3, -3, 0},
  };
  expectGoldenValues(cases);
}

// The tile pieces: a vertical line is 1 on its centre line and 0 at the
// tile's left and right edges; corners, crossings and diagonals; empty
// tiles below 0.
TEST(F21Fields, TileProfiles)
{
  struct Case
  {
    int type;
    double u, v;
    bool doubleDiagonals;
    double expected;
  };
  const Case cases[] = {
      {0, 0.5, 0.2, true, 1},    {0, 0, 0.2, true, 0},        {0, 1, 0.7, true, 0},
      {1, 0.3, 0.5, true, 1},    {20, 0.1, 0.5, true, 1},     {20, 0, 0, true, 0},
      {21, 0.8, 0.2, true, 0.4}, {21, 0.2, 0.8, true, 0.4},   {22, 0.5, 0.25, true, 0.5},
      {10, 0.5, 1, true, -1},    {10, 0.25, 0.25, true, 1},   {11, 0.5, 0, true, 1},
      {13, 0.25, 0.25, true, 1}, {13, 0.25, 0.25, false, -1}, {14, 0.5, 0, false, -1},
      {27, 0.5, 1, true, 1},     {27, 0, 0, true, -1},        {32, 0.5, 0.5, true, -1},
      {17, 0.5, 0.5, true, -1},  {25, 0.5, 0.5, true, -1},    {28, 0.5, 0.5, true, -1},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(f21_tileProfile(c.type, c.u, c.v, c.doubleDiagonals), c.expected, 1e-12)
        << "type " << c.type << " at " << c.u << ", " << c.v;
}

// A Scale below 0.0625 behaves as 0.0625 in the three tile members.
TEST(F21Fields, TileScaleIsHeldTo0_0625)
{
  KVmemberHarness h;
  KVgridView view;
  view.xmin = -0.3, view.xmax = 0.3, view.ymax = 0.3;
  for (int16_t id : {36, 37, 40}) {
    SCOPED_TRACE(id);
    const std::vector<double> reference = gridOf(h, id, 4, 0.2, 0.0625, view);
    EXPECT_GT(*std::max_element(reference.begin(), reference.end()), 0);
    for (double c : {0.01, 0.0, -2.0})
      EXPECT_EQ(gridOf(h, id, 4, 0.2, c, view), reference) << "C " << c;
  }
}

// Random Squares: cells by truncation toward zero, so the cell at the origin
// spans -1/A..1/A and -1/B..1/B and holds perm[perm[0]] C / 256.
TEST(F21Fields, RandomSquaresOriginCellIsTwiceAsWide)
{
  KVmemberHarness h;
  h.bind(kFamily21, 23);
  h.setParams(2, 4, 1.5);
  h.prepare();
  const int32_t* perm = h.doc()->tables.perm;
  const double origin = perm[perm[0] & 1023] * 1.5 / 256;
  const double inside[][2] = {{0, 0}, {0.49, 0.24}, {-0.49, 0.24}, {-0.49, -0.24}, {0.3, -0.2}};
  for (const auto& p : inside)
    EXPECT_EQ(h.at(p[0], p[1]), origin) << p[0] << ", " << p[1];
  const double nextCell = perm[(perm[1] + 0) & 1023] * 1.5 / 256;
  EXPECT_EQ(h.at(0.51, 0.1), nextCell);
  EXPECT_EQ(h.at(3e9, 0.1), 0);  // a cell index beyond int32
}

// Bump noise and Cellular fade to a flat 2a and 0.25a once their frequency
// reaches four times the threshold (the pixel density, an eighth of it).
TEST(F21Fields, FadesBecomeFlatAtFourTimesTheThreshold)
{
  struct Case
  {
    int16_t id;
    double A, C, density, flat;
  };
  const Case cases[] = {
      {26, 2, 4, 1, 2 * 2.0 / 8},  // a = A / 8
      {26, 8, 9, 2, 2 * 8.0 / 8},  // beyond w = 1
      {46, 4, 4, 8, 0.25 * 8},     // a = 2A
      {46, 1, 20, 8, 0.25 * 2},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    h.doc()->yPixelScale = c.density;
    for (double v : gridOf(h, c.id, c.A, 0.3, c.C))
      ASSERT_NEAR(v, c.flat, 1e-12);
  }
  // Below the threshold the pattern is not flat.
  h.doc()->yPixelScale = 400;
  const std::vector<double> detail = gridOf(h, 26, 2, 0.3, 4);
  EXPECT_NE(*std::min_element(detail.begin(), detail.end()),
            *std::max_element(detail.begin(), detail.end()));
}

struct GridRange
{
  double min, max;
};

GridRange rangeOf(const std::vector<double>& v)
{
  const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
  return {*lo, *hi};
}

// Fractal Lines lies in 0..2 pi; Lightning with a negative amplitude is
// clamped softly at 16 and with a positive one never negative.
TEST(F21Fields, OutputRanges)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 48;
  for (double c : {0.125, 1.0, 4.0}) {
    const GridRange r = rangeOf(gridOf(h, 28, 2, 3, c, view));
    EXPECT_GE(r.min, 0) << c;
    EXPECT_LE(r.max, 2 * kPi) << c;
  }
  bool reachedClamp = false;
  for (double b : {-0.5, 1.0, 3.0})
    for (double c : {2.0, -4.0, 6.0}) {
      const GridRange dark = rangeOf(gridOf(h, 51, -2, b, c, view));
      EXPECT_LE(dark.max, 16) << b << " " << c;
      reachedClamp = reachedClamp || dark.max > 12;
      EXPECT_GE(rangeOf(gridOf(h, 51, 2, b, c, view)).min, 0) << b << " " << c;
    }
  EXPECT_TRUE(reachedClamp);
}

// Craters: pi A on the flat ground between the craters, which dig below it.
TEST(F21Fields, CratersArePiAOnFlatGround)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 64;
  const std::vector<double> v = gridOf(h, 42, 1.5, 0, 2, view);
  const long flat = std::count(v.begin(), v.end(), kPi * 1.5);
  EXPECT_GT(flat, long(v.size() / 4));
  EXPECT_LT(rangeOf(v).min, kPi * 1.5 - 0.1);
}

// A Frequency of 0 (or below) in Volcanoes is taken as 0.00001 (C / 4 =
// 0.00001 at C = 0.00004).
TEST(F21Fields, VolcanoesFrequencyIsHeldAbove0)
{
  KVmemberHarness h;
  const std::vector<double> reference = gridOf(h, 60, 4, 0.5, 0.00004);
  for (double c : {0.0, -3.0}) {
    const std::vector<double> v = gridOf(h, 60, 4, 0.5, c);
    EXPECT_EQ(v, reference) << c;
    for (double x : v)
      ASSERT_TRUE(std::isfinite(x));
  }
}

// Crystal noise and Stratified rocks change the document's octave settings
// for their batch and leave the defaults behind, whatever was there before,
// also after an empty batch.
TEST(F21Fields, FractalSettingsHoldTheirDefaultsAfterABatch)
{
  KVmemberHarness h;
  for (int16_t id : {39, 59}) {
    for (int n : {kBatchCapacity, 3, 0}) {
      SCOPED_TRACE(testing::Message() << "id " << id << " n " << n);
      h.bind(kFamily21, id);
      h.prepare();
      fractalsinfos& fi = h.doc()->fractal;
      fi.phaseFactor = 7;
      fi.lacunarity = 3;
      fi.fade = 0.1;
      fi.rotSin = 0.3;
      fi.rotCos = 0.4;
      h.run(KVtestInput::fill(0.4), KVtestInput::fill(-0.2), n);
      EXPECT_EQ(fi.phaseFactor, 1.33);
      if (id == 39) {
        EXPECT_EQ(fi.lacunarity, 2.0943951024);
        EXPECT_EQ(fi.fade, 0.5225351707258652);
      } else {
        EXPECT_EQ(fi.rotSin, 0.5);
        EXPECT_EQ(fi.rotCos, 0.866025);
      }
    }
  }
}

// The same settings whatever they held before: a Crystal noise batch does
// not depend on them.
TEST(F21Fields, CrystalNoiseSetsItsOwnOctaveSettings)
{
  KVmemberHarness h;
  const std::vector<double> reference = gridOf(h, 39, 1, 0, 2);
  fractalsinfos& fi = h.doc()->fractal;
  fi.phaseFactor = 3;
  fi.lacunarity = 2.5;
  fi.fade = 0.9;
  EXPECT_EQ(gridOf(h, 39, 1, 0, 2), reference);
}

// Line in a tree of version 15 or older stored its rotation in half turns.
TEST(F21Fields, LineConvertsOnlyTreesOlderThanVersion16)
{
  for (int16_t version : {int16_t(14), int16_t(15), int16_t(16), int16_t(20)}) {
    SCOPED_TRACE(version);
    const bool converts = version <= 15;
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily21, 33);
    g->owner->version = version;
    g->A = 0.5;
    g->keyframes[5] = KVparamTriple{-0.25, 3, 1};
    h.send(kMsgConvertOld);
    EXPECT_EQ(g->A, converts ? kPi / 2 : 0.5);
    EXPECT_EQ(g->keyframes[5].A, converts ? -0.25 * kPi : -0.25);
    EXPECT_EQ(g->keyframes[5].B, 3);
    EXPECT_EQ(g->keyframes[5].C, 1);
  }
}

}  // namespace
