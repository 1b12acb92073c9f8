// The f32 arithmetic and projection members at points where their formulas
// give known answers, and the family's no-value and uniform-z rules.
#include <cmath>
#include <gtest/gtest.h>

#include "tests/components/f32_test_support.h"

namespace {

using namespace f32test;

TEST(F32Maps, ArithmeticMembers)
{
  const Case cases[] = {
      {"scale base 0.03 becomes 1: a pure offset", 0, 2, 3, 0.03, 1, 1, 2, 5, 7},
      {"scale base 0.5 at z = 2 scales by 0.25", 0, 0, 0, 0.5, 4, 8, 2, 1, 2},
      {"scale base 2 at z = -1 halves", 0, 0, 0, 2, 4, 8, -1, 2, 4},
      {"scale base 9 held to 4", 0, 0, 0, 9, 1, 1, 1, 4, 4},
      {"weighted multiply", 1, 1, -1, 2, 2, 2, 1, 2 * (2 * 0.5 + 1), 2},
      {"max and min of three", 2, 0, 0, 0, 1, 3, 2, 3, 1},
      {"max, min: marked x", 2, 0, 0, 0, kMark, 1, 5, kMark, kMark},
      {"z displace", 11, 1, 2, 0.5, 1, 1, 1, 1.5, 2},
      {"max with offsets", 21, 1, 0, 0, 1, 5, 3, 3, 5},
      {"max with offsets: marked x", 21, 0, 0, 0, kMark, 1, 5, kMark, kMark},
      {"multiply by z", 22, 0, 0, 0, 2, -3, 4, 8, -12},
      {"min with z", 24, 0, 0, 0, 1, 7, 5, 1, 5},
      {"min with z: marked x gives z twice", 24, 0, 0, 0, kMark, 1, 5, 5, 5},
      {"gated distance inside", 25, 8, 2, 3, 3, 4, 9, 10, 0},
      {"gated distance outside", 25, 4, 2, 3, 3, 4, 9, 0, 27},
      {"gated distance: marked x is far", 25, 8, 2, 3, kMark, 4, 9, 0, 27},
      {"divide by z", 35, 0, 0, 0, 3, -6, 3, 1, -2},
      {"divide by +0", 35, 0, 0, 0, 3, 6, 0.0, kMark, kMark},
      {"divide by -0", 35, 0, 0, 0, 3, 6, -0.0, kMark, kMark},
  };
  expectCases(cases);
}

TEST(F32Maps, ScaleOffsetHoldsCAtBothMessages)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 0);
  h.setParams(0, 0, 0.03);
  h.precompute();
  EXPECT_EQ(g->C, 1.0);
  h.setParams(0, 0, 9);
  h.send(kMsgPrepare);
  EXPECT_EQ(g->C, 4.0);
}

TEST(F32Maps, UniformZTakesSampleZero)
{
  KVmemberHarness h;
  h.bind(kFamily32, 0);
  h.setParams(1, 0, 2);
  h.prepare();
  h.setInput(0, KVtestInput::samples({1, 2, kMark}));
  h.setInput(1, KVtestInput::samples({1, 1, 1}));
  h.setInput(2, KVtestInput::uniform(3, -99));
  const KVbatch x = h.run(3, 0);
  EXPECT_EQ(x[0], 1 * 8 + 3);
  EXPECT_EQ(x[1], 2 * 8 + 3);
  EXPECT_EQ(x[2], kMark);
}

TEST(F32Maps, Projections)
{
  const double k0 = 2 * 1 * 0.5;  // Spherical projection at its defaults
  const Case cases[] = {
      {"perspective sym, z = 2", 8, 1, 0, 0, 2, 4, 2, 3.5, 7},
      {"perspective sym, z = 2.1875", 8, 1, 0, 0, 1, 1, 2.1875, 4, 4},
      {"perspective sym, z = 3 mirrored", 8, 1, 0, 0, 23, 46, 3, 14, 28, 1e-12},
      {"perspective clipped, d = 0", 12, -0.25, 0, 0, 1, 2, 5, 200, 400},
      {"perspective clipped, d = 2", 12, 0.5, 0, 0, 1, 2, 3, 1, 2},
      {"parallel at rest", 13, 0, 0, 0, 1, 2, 3, 1, 2},
      {"parallel, uz a quarter turn", 13, 0, kPi / 2, 0, 1, 2, 3, -3, 2, 1e-12},
      {"spherical of (0, 1, 0)", 14, 1, 0.5, 0, 0, 1, 0, 0, k0 * kPi / 2, 1e-15},
      {"spherical of (1, 0, 0)", 14, 1, 0.5, 0, 1, 0, 0, kPi / 2, 0, 1e-15},
      {"spherical of (-1, 0, 0)", 14, 1, 0.5, 0, -1, 0, 0, -kPi / 2, 0, 1e-15},
      {"spherical of the origin", 14, 1, 0.5, 0, 0, 0, 0, 0, 0},
      {"disk tile: the Q pole", 38, 1, 0, 0, 0, 1, 0, 0, 0},
      {"disk tile: the origin", 38, 1, 0, 0, 0, 0, 0, 0, 0},
      {"disk tile: marked x", 38, 1, 0, 0, kMark, 0, 0, kMark, kMark},
  };
  expectCases(cases);
}

TEST(F32Maps, PerspectiveKeepsItsFactorInOutputThree)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 8);
  h.setParams(1, 0, 0);
  h.prepare();
  h.setInput(0, KVtestInput::samples({1, 1, 1}));
  h.setInput(2, KVtestInput::samples({0, 2, 3}));
  h.run(3);
  EXPECT_EQ(g->outputs[2][0], 0.25);
  EXPECT_EQ(g->outputs[2][1], 1.75);
  EXPECT_DOUBLE_EQ(g->outputs[2][2], 14.0 / 23);
}

// A direction in the side rings lands inside a disk of radius pi; one midway
// between disks gives the origin.
TEST(F32Maps, DiskTileCoversTheRings)
{
  KVmemberHarness h;
  h.bind(kFamily32, 38);
  h.setParams(1, 0, 0);
  h.prepare();
  int inDisk = 0, between = 0;
  for (int k = 0; k < 64; ++k) {
    const double a = 2 * kPi * k / 64;
    const Mapped p = mapOnce(h, std::cos(a), 0.2, std::sin(a));
    EXPECT_LE(std::hypot(p.x, p.y), kPi + 1e-9);
    (p.x == 0 && p.y == 0 ? between : inDisk) += 1;
  }
  EXPECT_GT(inDisk, 0);
}

TEST(F32Maps, SphericalConvertsOldTrees)
{
  for (const int version : {15, 16}) {
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily32, 14);
    g->owner->version = int16_t(version);
    h.setParams(1, 0.5, 0);
    g->keyframes[3].B = 0.25;
    h.send(kMsgConvertOld);
    EXPECT_EQ(g->B, version <= 15 ? 1.0 : 0.5);
    EXPECT_EQ(g->keyframes[3].B, version <= 15 ? 1.0 : 0.25);
  }
}

}  // namespace
