// Technical subdivision patterns, patchwork and colour dither.
#include "noise/techno.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>

#include "noise/tables.h"
#include "noise_test_support.h"

namespace {

class Techno : public SeededTablesTest<99>
{};

std::vector<std::pair<double, double>> grid()
{
  std::vector<std::pair<double, double>> points;
  for (double x = -6.01; x < 6.0; x += 0.11)
    for (double y = -5.03; y < 5.0; y += 0.13)
      points.push_back({x, y});
  return points;
}

double edge(double f)
{
  return f <= 0.5 ? f : 1.0 - f;
}

TEST_F(Techno, TechnoNoiseFromLevelFourNeverSubdivides)
{
  int blank = 0;
  for (auto [x, y] : grid()) {
    int32_t i = int32_t(std::floor(x)), j = int32_t(std::floor(y));
    double expected = cellHash(j, i) > 768 ? 0.0 : std::min(edge(x - i), edge(y - j));
    blank += cellHash(j, i) > 768;
    for (int32_t level : {4, 5, 1000})
      EXPECT_EQ(TechnoNoise(t(), x, y, level), expected);
  }
  EXPECT_GT(blank, 0);
}

TEST_F(Techno, TechnoNoiseSubdividesOnlyCellsWithAHighHash)
{
  for (auto [x, y] : grid()) {
    int32_t i = int32_t(std::floor(x)), j = int32_t(std::floor(y));
    double here = TechnoNoise(t(), x, y, 1);
    if (cellHash(i, j) > 512)
      EXPECT_EQ(here, TechnoNoise(t(), 2 * x, 2 * y, 2));
    else
      EXPECT_EQ(here, TechnoNoise(t(), x, y, 4));
    EXPECT_GE(here, 0.0);
    EXPECT_LE(here, 0.5);
  }
}

TEST_F(Techno, DividingMembersTreatLevelsBelowOneAsOne)
{
  uint32_t rgb1[3], rgb0[3];
  for (auto [x, y] : grid()) {
    double z = 0.37 * x + 0.2;
    for (int32_t low : {0, -3}) {
      EXPECT_EQ(TechnoNoise1F(t(), x, y, low), TechnoNoise1F(t(), x, y, 1));
      EXPECT_EQ(TechnoNoise1F3D(t()->perm, x, y, z, low), TechnoNoise1F3D(t()->perm, x, y, z, 1));
      double a[3] = {}, b[3] = {};
      EXPECT_EQ(TechnoNoise1FColor(t(), x, y, a, low), TechnoNoise1FColor(t(), x, y, b, 1));
      EXPECT_EQ(a[0], b[0]);
    }
    double plain = TechnoNoise1F3D(t()->perm, x, y, z, 1);
    EXPECT_EQ(TechnoNoise1F3DColor(t()->perm, x, y, z, rgb1, 1), plain);
    TechnoNoise1F3DColor(t()->perm, x, y, z, rgb0, 0);
    for (int k = 0; k < 3; k++) {
      EXPECT_LE(rgb1[k], 255u);
      EXPECT_EQ(rgb0[k], rgb1[k]);
    }
    EXPECT_TRUE(std::isfinite(plain));
    EXPECT_LE(std::fabs(TechnoNoise1F(t(), x, y, 1)), 0.5);
  }
}

TEST_F(Techno, ColourIsAddedAtEveryLevelPassed)
{
  // From level 4 only one level is visited, dividing by 4; from level 1 the
  // same cell adds four times that, plus what the finer levels add.
  int descended = 0;
  for (auto [x, y] : grid()) {
    int32_t i = int32_t(std::floor(x)), j = int32_t(std::floor(y));
    double last[3] = {1, 2, 3}, fine[3] = {0, 0, 0}, all[3] = {0, 0, 0};
    double e = TechnoNoise1FColor(t(), x, y, last, 4);
    if (e <= 0.0) {
      EXPECT_EQ(last[0], 1.0);
      EXPECT_EQ(last[1], 2.0);
      EXPECT_EQ(last[2], 3.0);
    }
    const double own[3] = {(last[0] - 1) * 4, (last[1] - 2) * 4, (last[2] - 3) * 4};
    TechnoNoise1FColor(t(), x, y, all, 1);
    if (cellHash(i, j) > 512) {
      TechnoNoise1FColor(t(), 2 * x, 2 * y, fine, 2);
      descended++;
    }
    for (int k = 0; k < 3; k++)
      EXPECT_NEAR(all[k], own[k] + fine[k], 1e-9);
  }
  EXPECT_GT(descended, 0);
}

TEST_F(Techno, PatchworkWithoutLevelsGivesOnlyTheBaseValue)
{
  for (auto [x, y] : grid()) {
    double none[3], one[3], five[3];
    R_patchwork(t(), x, y, 1.5, 0.1, 0.0, 0.3, 0, none);
    double negative[3];
    R_patchwork(t(), x, y, 1.5, 0.1, 0.0, 0.3, -4, negative);
    EXPECT_EQ(none[0], 0.0);
    EXPECT_EQ(negative[1], none[1]);
    EXPECT_EQ(negative[2], none[2]);
    // The base hash alone, scaled as for one level.
    EXPECT_GE(none[2], 0.0);
    EXPECT_LT(none[2], 1.0);
    EXPECT_EQ(none[2] * 1024.0, std::floor(none[2] * 1024.0));
    // With a hard edge the running value never exceeds 1 or the base value.
    R_patchwork(t(), x, y, 1.5, 0.1, 0.0, 0.3, 1, one);
    EXPECT_GE(one[1], 0.0);
    EXPECT_LE(one[1], std::max(0.0, std::min(1.0, none[1])));
    // One level adds exactly one more hash.
    double extra = one[2] * 1024.0 - none[2] * 1024.0;
    EXPECT_EQ(extra, std::floor(extra));
    EXPECT_GE(extra, 0.0);
    EXPECT_LE(extra, 1023.0);
    R_patchwork(t(), x, y, 1.5, 0.1, 0.5, 0.3, 5, five);
    for (double v : five)
      EXPECT_TRUE(std::isfinite(v));
    EXPECT_GE(five[0], 0.0);
    EXPECT_LT(five[2], 6 * 1023.0 / 5120.0 + 1e-12);
  }
}

TEST_F(Techno, DitherScalesWithTheAmount)
{
  for (auto [x, y] : grid()) {
    const double xy[2] = {x, y};
    double none[3] = {10, 20, 30}, a[3] = {0, 0, 0}, b[3] = {0, 0, 0};
    RGBdither(t(), none, xy, 0.0);
    EXPECT_EQ(none[0], 10.0);
    EXPECT_EQ(none[1], 20.0);
    EXPECT_EQ(none[2], 30.0);
    RGBdither(t(), a, xy, 8.0);
    RGBdither(t(), b, xy, 16.0);
    for (int k = 0; k < 3; k++) {
      // amount (1 + noise / 512) with |noise| <= 511.5
      EXPECT_GE(a[k], 8.0 * (1 - 511.5 / 512));
      EXPECT_LE(a[k], 8.0 * (1 + 511.5 / 512));
      EXPECT_DOUBLE_EQ(b[k], 2 * a[k]);
    }
  }
}

TEST_F(Techno, UndefinedCoordinatesGiveZero)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  double rgb[3] = {1, 2, 3};
  uint32_t cell[3];
  EXPECT_EQ(TechnoNoise(t(), nan, 0.5, 1), 0.0);
  EXPECT_EQ(TechnoNoise1F(t(), 0.5, 1e250, 1), 0.0);
  EXPECT_EQ(TechnoNoise1FColor(t(), nan, nan, rgb, 1), 0.0);
  EXPECT_EQ(TechnoNoise1F3D(t()->perm, 0.5, 0.5, nan, 1), 0.0);
  EXPECT_EQ(TechnoNoise1F3DColor(t()->perm, 3e9, 0.5, 0.5, cell, 1), 0.0);
  const double xy[2] = {nan, 0.0};
  RGBdither(t(), rgb, xy, 5.0);
  EXPECT_EQ(rgb[0], 1.0);
  EXPECT_EQ(rgb[2], 3.0);
}

}  // namespace
