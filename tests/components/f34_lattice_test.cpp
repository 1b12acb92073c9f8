// The f34 mazes and lights: the R Maze channel at a cell centre and its
// colour ends, the L Maze blocks (floor division, the lone dot), heights held
// to -2..4, the Mondrian cross-fade of layouts, the window size of the
// matrix lights, the square-LED patterns and the adding of LED light.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "components/f34/f34_lights.h"
#include "components/f34/f34_mazes.h"
#include "tests/components/member_harness.h"

namespace {

gfunc* bound(KVmemberHarness& h, int16_t id, double a, double b, double c)
{
  gfunc* g = h.bind(kFamily34, id);
  h.setParams(a, b, c);
  h.prepare();
  return g;
}

int32_t blockHash(const KVtables* t, int32_t i, int32_t j)
{
  return t->perm[(j + t->perm[i & 1023] + (i >> 9)) & 1023];
}

TEST(F34Mazes, RMazeCellCentreAndColourEnds)
{
  KVmemberHarness h;
  bound(h, 26, 1, 0.5, 2);
  h.setInput(2, KVtestInput::fill(0));
  // At a cell centre dist = cos(pi/4) for either parity: e = c - 1.
  for (double cx : {-7.0, -1.0, 0.0, 3.0})
    for (double cy : {-2.0, 5.0}) {
      const double x = (cx + 0.5) / 2, y = (cy + 0.5) / 2;
      EXPECT_DOUBLE_EQ(h.at(x, y, 3), 4 * -0.2928932188134525) << cx << " " << cy;
    }
  // b = 1: the channel colour (the third) is black.
  bound(h, 26, 1, 1, 2);
  h.setInput(2, KVtestInput::fill(0));
  for (int out = 0; out < 3; ++out)
    EXPECT_EQ(h.at(0.25, 0.25, out), 0) << out;
  // b = 0: with z' >= 1 every point outside a channel is the second colour,
  // white.
  bound(h, 26, 1, 0, 2);
  h.setInput(2, KVtestInput::fill(6));
  for (int out = 0; out < 3; ++out)
    EXPECT_DOUBLE_EQ(h.at(0.3, -1.7, out), 255.0 / 32) << out;
}

TEST(F34Mazes, LMazeBlocksUseFloorDivision)
{
  KVmemberHarness h;
  h.bind(kFamily34, 5);
  const KVtables* t = &h.doc()->tables;
  int16_t kind = -1;
  // A block whose hash is 0 mod 16 raises its centre cell alone.
  bool foundDot = false;
  for (int32_t bx = -200; bx < 200 && !foundDot; ++bx) {
    if (blockHash(t, bx, 7) % 16 != 0)
      continue;
    foundDot = true;
    for (int32_t i = 0; i < 3; ++i)
      for (int32_t j = 0; j < 3; ++j) {
        const double level = LABTXT_ZmazeB(t, 3 * bx + i, 21 + j, 0, &kind);
        EXPECT_EQ(level, i == 1 && j == 1 ? 1.0 : -1.0) << bx << " " << i << " " << j;
        EXPECT_EQ(kind, 2);
      }
  }
  EXPECT_TRUE(foundDot);
  // Cells -3, -2 and -1 make block -1: in a vertical block only -2 is wall.
  bool foundVertical = false;
  for (int32_t by = -50; by < 50 && !foundVertical; ++by) {
    if (blockHash(t, -1, by) % 16 < 8)
      continue;
    foundVertical = true;
    EXPECT_EQ(LABTXT_ZmazeB(t, -3, 3 * by, 0, &kind), -1.0);
    EXPECT_EQ(LABTXT_ZmazeB(t, -2, 3 * by, 0, &kind), 1.0);
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(LABTXT_ZmazeB(t, -1, 3 * by, 0, &kind), -1.0);
  }
  EXPECT_TRUE(foundVertical);
  // O Maze: stripes of the 2 x 2 block's direction.
  for (int32_t ix = -9; ix < 9; ++ix) {
    const bool vertical = blockHash(t, ix >> 1, 2) % 2 == 1;
    const double level = LABTXT_ZMazeA(t, ix, 4, 0, &kind);
    EXPECT_EQ(kind, vertical ? 1 : 0);
    EXPECT_EQ(level, vertical ? ((ix & 1) == 0 ? 1.0 : -1.0) : 1.0) << ix;
  }
}

TEST(F34Mazes, HeightsStayWithinMinusTwoAndFour)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 24;
  for (int16_t id : {int16_t(5), int16_t(18), int16_t(26)}) {
    for (double z : {-8.0, 0.0, 3.0, 9.0}) {
      SCOPED_TRACE(std::to_string(id) + " z " + std::to_string(z));
      bound(h, id, 2, 0.5, 3);
      h.setInput(2, KVtestInput::fill(z));
      const std::vector<double> w = h.grid(view, 3);
      EXPECT_GE(*std::min_element(w.begin(), w.end()), -2);
      EXPECT_LE(*std::max_element(w.begin(), w.end()), 4);
    }
  }
}

TEST(F34Lights, MondrianCrossFadesItsLayoutsAlongZ)
{
  KVmemberHarness h;
  bound(h, 7, 1, 0.5, 4);
  for (double x : {-2.1, -0.4, 0.77, 1.9})
    for (double y : {-1.3, 0.6}) {
      double at[3][4];
      const double zs[3] = {0, 2, 4};
      for (int k = 0; k < 3; ++k) {
        h.setInput(2, KVtestInput::fill(zs[k]));
        for (int out = 0; out < 4; ++out)
          at[k][out] = h.at(x, y, out);
      }
      for (int out = 0; out < 3; ++out)
        EXPECT_NEAR(at[1][out], (at[0][out] + at[2][out]) / 2, 1e-5) << x << " " << y;
    }
  // The altitude pass draws no colour, only the height.
  h.doc()->fractal.reliefPass = 1;
  h.setInput(2, KVtestInput::fill(1));
  for (int out = 0; out < 3; ++out)
    EXPECT_EQ(h.at(0.3, 0.3, out), 0);
  h.doc()->fractal.reliefPass = 0;
}

TEST(F34Lights, MatrixLightWindowsGrowWithZ)
{
  KVmemberHarness h;
  bound(h, 22, 1, 0.5, 1);
  // At z <= 0 only the middle quarter of a cell may light.
  int litAtCentre = 0;
  for (int32_t cx = -30; cx < 30; ++cx) {
    for (double z : {0.0, -3.0}) {
      h.setInput(2, KVtestInput::fill(z));
      EXPECT_EQ(h.at(cx + 0.5 + 0.13, 0.5, 3), 0) << cx;
      EXPECT_EQ(h.at(cx + 0.5, 0.5 - 0.2, 0), 0) << cx;
      litAtCentre += h.at(cx + 0.5, 0.5, 3) > 0;
    }
  }
  EXPECT_GT(litAtCentre, 0);
  // At z = 4 windows fill their cells and most are lit.
  h.setInput(2, KVtestInput::fill(4));
  int litNearEdge = 0;
  for (int32_t cx = -30; cx < 30; ++cx)
    litNearEdge += h.at(cx + 0.95, 0.5, 3) > 0;
  EXPECT_GT(litNearEdge, 30);
}

TEST(F34Lights, SquareLedPatternsAtTheStyleEnds)
{
  KVmemberHarness h;
  h.bind(kFamily34, 21);
  const KVtables* t = &h.doc()->tables;
  F34lightRecord rec{};
  auto light = [&](double style, int32_t ix, int32_t iy, double z) {
    rec.style = style;
    F34lightAcc acc;
    f2dregionSQled(t, 0, 0, z, ix, iy, rec, acc);
    return acc.h;
  };
  int noisy = 0;
  for (int32_t bx = -20; bx < 20; bx += 2)
    for (int32_t by = -6; by < 6; by += 2) {
      // B = 0: pattern 1, a diagonal pair or nothing in every 2 x 2 block;
      // B = 1: pattern 2, never a diagonal pair. Neither depends on z.
      int on0 = 0, on1 = 0;
      for (int32_t i = 0; i < 2; ++i)
        for (int32_t j = 0; j < 2; ++j) {
          const double p1 = light(0, bx + i, by + j, 0.3), p2 = light(1, bx + i, by + j, 0.3);
          EXPECT_TRUE(p1 == 0 || p1 == 1);
          EXPECT_TRUE(p2 == 0 || p2 == 1);
          EXPECT_EQ(p1, light(0, bx + i, by + j, 40.7));
          EXPECT_EQ(p2, light(1, bx + i, by + j, 40.7));
          on0 += p1 == 1;
          on1 += p2 == 1;
        }
      EXPECT_TRUE(on0 == 0 || on0 == 2);
      const bool diagonal1 = on1 == 2 && light(1, bx, by, 0) == light(1, bx + 1, by + 1, 0);
      EXPECT_FALSE(diagonal1);
      // B = 0.5: the noise alone, between the fixed levels.
      const double n = light(0.5, bx, by, 0.3);
      noisy += n > 0 && n < 1;
    }
  EXPECT_GT(noisy, 5);
}

TEST(F34Lights, LedLightAddsUpAcrossTheLattice)
{
  KVmemberHarness h;
  h.bind(kFamily34, 6);
  const KVtables* t = &h.doc()->tables;
  F34lightRecord rec{};
  F34lightAcc one, two;
  // A cell of pattern 6 or 7 lit by its noise, seen twice.
  for (int32_t ix = 0; ix < 400; ++ix) {
    F34lightAcc a;
    if (f2dregionLights(t, 0.1, 0.2, 0.5, ix, 5, rec, a) == 0)
      continue;
    one = a;
    two = a;
    f2dregionLights(t, 0.1, 0.2, 0.5, ix, 5, rec, two);
    break;
  }
  ASSERT_GT(one.h, 0);
  EXPECT_DOUBLE_EQ(two.h, 2 * one.h);
  EXPECT_DOUBLE_EQ(two.r, 2 * one.r);
  // Outside the round LED nothing is added.
  F34lightAcc none;
  EXPECT_EQ(f2dregionLights(t, 0.8, 0.7, 0.5, 3, 5, rec, none), 0);
  EXPECT_EQ(none.h, 0);
}

}  // namespace
