// f42 blends, compares and splits at chosen points: the softened maximum,
// interpolations, the distance divide, the choices between P and Q, the
// alternating split in and out of loops, Split space's conversion of old
// trees, and the box displacement.
#include "components/f42/f42_splits.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>

#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kInf = gINFINITY;

struct Point
{
  double x, y;
};

Point eval(KVmemberHarness& h, int16_t id, double A, double B, double C, double x, double y,
           double z, double w)
{
  h.bind(kFamily42, id);
  h.setParams(A, B, C);
  h.prepare();
  const double in[4] = {x, y, z, w};
  for (int k = 0; k < 4; ++k)
    h.setInput(k, KVtestInput::fill(in[k]));
  return {h.run(1, 0)[0], h.run(1, 1)[0]};
}

void expectPoint(Point p, double x, double y)
{
  EXPECT_NEAR(p.x, x, 1e-12 * (1 + std::fabs(x)));
  EXPECT_NEAR(p.y, y, 1e-12 * (1 + std::fabs(y)));
}

TEST(F42Blends, BlendsAtChosenPoints)
{
  KVmemberHarness h;
  // Blended Max: a - b = pi gives a, a - b = -pi gives b, 0 the mean.
  const auto softMax = [](double a, double b) {
    const double s = (a - b + kPi) / (2 * kPi);
    return b + (a - b) * s * s * (3 - 2 * s);
  };
  expectPoint(eval(h, 3, 0.5, 0, 0, 2 * kPi, 0, 0, 1), kPi, softMax(0, 0.5));
  expectPoint(eval(h, 3, 0.5, 0, 0, 0, 1, 2 * kPi, 1), kPi, 0.5);
  expectPoint(eval(h, 3, 0.25, 0, 0, 4, 1, 2, -3), softMax(1, 1.5), softMax(0.25, -2.25));
  // Min <-> Max: halfway between the smaller and the larger, scaled.
  expectPoint(eval(h, 15, 1.5, 0.25, 0, 4, -1, 2, 3), 1.5 * 2.5, 1.5 * 0);
  // Interpolate: A above 1 acts as 1 (Q), below 0 as 0 (P).
  expectPoint(eval(h, 5, 1.7, 0, 0, 1, 2, 3, 4), 3, 4);
  expectPoint(eval(h, 5, -0.5, 0, 0, 1, 2, 3, 4), 1, 2);
  expectPoint(eval(h, 5, 0.25, 0, 0, 1, 2, 3, 4), 1.5, 2.5);
  // Distance divide, and a zero divisor with no value.
  const double d = (9 + 16 + 0.5) * 0.5 + 0.5;
  expectPoint(eval(h, 4, 0.5, 0.5, 0, 1, 2, 3, 4), 1 / d, 2 / d);
  expectPoint(eval(h, 4, 1, -25, 0, 1, 2, 3, 4), kInf, kInf);
  // Exp field, Abs & minimum, Real multiply.
  const double e1 = std::exp(-5 * 0.25), e2 = std::exp(-1 * 0.25);
  expectPoint(eval(h, 6, 0.5, 2, 0, 1, 2, 0, -1), 2 * e1, (2 * e1 - e2) * 2);
  expectPoint(eval(h, 8, 2, kPi / 2, 0, -1, 5, 3, -0.5), 2 * 0.5, 2 * 3);
  expectPoint(eval(h, 9, 0.5, 0, 0, 2, 3, 4, 5), 4, 7.5);
  expectPoint(eval(h, 23, 0, 0, 0, 2, 3, 4, 5), 2, 5);
}

// Radial Interpolate reads the pixel position: Q at the centre, P from
// radius 8/A outward.
TEST(F42Blends, RadialInterpolateByThePixelPosition)
{
  KVmemberHarness h;
  h.bind(kFamily42, 10);
  h.setParams(2, 0, 0);
  h.prepare();
  h.doc()->master[0][0] = 0, h.doc()->master[1][0] = 0;
  h.doc()->master[0][1] = 3, h.doc()->master[1][1] = 4;
  h.doc()->master[0][2] = 1, h.doc()->master[1][2] = 0;
  for (int k = 0; k < 4; ++k)
    h.setInput(k, KVtestInput::fill(1.0 + k));
  const KVbatch out = h.run(3);
  EXPECT_EQ(out[0], 3);
  EXPECT_EQ(out[1], 1);
  const double s = 0.25 * 0.25 * (3 - 0.5);
  EXPECT_DOUBLE_EQ(out[2], 3 + (1 - 3) * s);
}

TEST(F42Splits, ComparesAndRegions)
{
  KVmemberHarness h;
  // Distance compare: the point nearer the origin, a tie gives P.
  expectPoint(eval(h, 13, 0, 0, 0, 3, 4, 0, 5), 3, 4);
  expectPoint(eval(h, 13, 0, 0, 0, 3, 4, 1, 1), 1, 1);
  // Y compare: Q when A + y > w.
  expectPoint(eval(h, 12, 1, 0, 0, 0, 2, 9, 2.5), 9, 2.5);
  expectPoint(eval(h, 12, 0, 0, 0, 0, 2, 9, 2.5), 0, 2);
  // Split space at offset 0 and angle 0: Q for x < 0, P for x >= 0.
  expectPoint(eval(h, 14, 0, 0, 0, -0.5, 1, 7, 8), 7, 8);
  expectPoint(eval(h, 14, 0, 0, 0, 0, 1, 7, 8), 0, 1);
  // A quarter turn splits along y.
  expectPoint(eval(h, 14, 0, kPi / 2, 0, 5, -0.5, 7, 8), 7, 8);
  // Split Disk: Q outside the disc of radius A around (-B, -C).
  expectPoint(eval(h, 30, 1, 1, 0, -1.5, 0.5, 7, 8), 0 - 1.5, 0.5);
  expectPoint(eval(h, 30, 1, 1, 0, 0.5, 0.5, 7, 8), 7, 8);
}

TEST(F42Splits, SplitFourTakesTheShortestCandidate)
{
  KVmemberHarness h;
  // Q = (0, 0) is the shortest, and keeps a tie with a shifted point.
  expectPoint(eval(h, 25, 1, 2, 0, 3, 3, 0, 0), 0, 0);
  expectPoint(eval(h, 25, 1, 2, 0, 1, 2, 0, 0), 0, 0);
  // Otherwise the shortest shifted point wins: (x - A, y - B).
  expectPoint(eval(h, 25, 1, 2, 0, 1.25, 2.5, 9, 9), 0.25, 0.5);
  expectPoint(eval(h, 25, 1, 2, 0, -1.25, -2.5, 9, 9), -0.25, -0.5);
}

// P outside any loop; inside one, the larger of the owner's and the main
// tree's iteration counters chooses: Q when it is odd.
TEST(F42Splits, AlternateSplitFollowsTheIterationCounters)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily42, 27);
  // The component as part of a compiled sub-tree of the document.
  auto sub = std::make_unique<smalltree>();
  smalltree* mainTree = g->owner;
  g->owner = sub.get();
  for (int k = 0; k < 4; ++k)
    h.setInput(k, KVtestInput::fill(1.0 + k));
  struct Case
  {
    int16_t own, main;
    double x;
  };
  for (const Case c : {Case{0, 0, 1}, Case{1, 0, 3}, Case{2, 3, 3}, Case{4, 2, 1}}) {
    g->owner->iteration = c.own;
    h.doc()->tree.iteration = c.main;
    EXPECT_EQ(h.run(1)[0], c.x) << c.own << " " << c.main;
  }
  g->owner = mainTree;
}

TEST(F42Splits, SplitSpaceLosesItsAngleInTreesOfVersion15)
{
  KVmemberHarness h;
  for (const int16_t version : {int16_t(15), int16_t(16)}) {
    SCOPED_TRACE(version);
    gfunc* g = h.bind(kFamily42, 14);
    g->owner->version = version;
    g->B = 1.25;
    for (KVparamTriple& key : g->keyframes)
      key.B = 0.5;
    h.send(kMsgConvertOld);
    const double expected = version <= 15 ? 0 : 1.25;
    EXPECT_EQ(g->B, expected);
    EXPECT_EQ(g->keyframes[7].B, version <= 15 ? 0 : 0.5);
  }
}

TEST(F42Splits, MondrianDisplace)
{
  KVmemberHarness h;
  // Displacement 0 leaves P.
  for (double z : {-3.3, 0.2, 5.7})
    expectPoint(eval(h, 24, 0, 0.5, 1, 1.25, -2, z, 0.4), 1.25, -2);
  // A cell beyond the integer range has no value.
  expectPoint(eval(h, 24, 1, 0, 1, 1, 1, 1e12, 0), kInf, kInf);

  // Each cell moves the point by its hash; cells of hash 10..15 subdivide
  // three times, after which the point stays.
  const KVtables* t = &h.doc()->tables;
  const auto hashOf = [&](int32_t i, int32_t j) {
    return t->perm[(uint32_t(i) + uint32_t(t->perm[j & 1023]) + uint32_t(j >> 9)) & 1023u] & 15;
  };
  int moved = 0, deep = 0;
  for (int32_t i = 0; i < 64; ++i) {
    const int hsh = hashOf(i, 0);
    double x = 0, y = 0;
    ASSERT_TRUE(boxdisplace(t, 2, i + 0.25, 0.25, 10, 20, &x, &y, 0));
    const Point expected[] = {{12, 20}, {10, 22}, {10, 18}, {8, 20}, {10, 22}, {12, 20}};
    if (hsh < 6) {
      expectPoint({x, y}, expected[hsh].x, expected[hsh].y);
      ++moved;
    } else if (hsh < 10) {
      expectPoint({x, y}, 10, 20);
    } else {
      double dx = 0, dy = 0;
      ASSERT_TRUE(boxdisplace(t, 2, i + 0.25, 0.25, 10, 20, &dx, &dy, 3));
      expectPoint({dx, dy}, 10, 20);
      ++deep;
    }
  }
  EXPECT_GT(moved, 0);
  EXPECT_GT(deep, 0);
}

}  // namespace
