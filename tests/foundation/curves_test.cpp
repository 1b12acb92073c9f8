#include "foundation/curves.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using V = std::vector<double>;

V curve(int32_t shape, int32_t n, double p)
{
  V x(static_cast<size_t>(n), 0.5);
  dvector_Curve(x.data(), n, shape, p);
  return x;
}

TEST(Curves, ShapeTable)
{
  struct Case
  {
    int32_t shape, n;
    double p;
    V want;
  };
  const Case cases[] = {
      // The mirror overwrites the middle element.
      {30, 8, 0, {0, 0.25, 0.5, 0.75, 0.75, 0.5, 0.25, 0}},
      {30, 7, 0, {0, 1 / 3.5, 2 / 3.5, 3 / 3.5, 2 / 3.5, 1 / 3.5, 0}},
      {28, 4, 0, {0, 0.5, 0.5, 0}},
      {29, 4, 0, {0, 0.5, 0.5, 0}},
      {2, 4, 0, {0, 0.25, 0.5, 0.75}},
      {3, 4, 0, {1, 0.75, 0.5, 0.25}},
      {1, 3, 0.3, {0.3, 0.3, 0.3}},
      {7, 8, 1, {0, 0.25, 0.5, 0.75, 1, 0.75, 0.5, 0.25}},
      {8, 4, 1, {0, 0, 1, 1}},
      {10, 4, 0, {0, 0.5, 1, 0.5}},
      {14, 4, 1, {0, 1, 0, -1}},
      {15, 4, 1, {0.9, 0.9, -0.9, -0.9}},
      {40, 4, 0, {0, 0.5, 0.5, 0}},  // unknown shapes only mirror
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shape " << c.shape << " n " << c.n);
    V got = curve(c.shape, c.n, c.p);
    for (size_t i = 0; i < got.size(); ++i)
      EXPECT_NEAR(got[i], c.want[i], 1e-12) << i;
  }
}

// Values at chosen points where each shape's formula gives a known number: a
// wrong constant, frequency or phase in a shape moves them.
TEST(Curves, ShapeValuesAtChosenPoints)
{
  struct Case
  {
    int32_t shape, n;
    double p;
    int32_t index;
    double want;
  };
  const Case cases[] = {
      {4, 8, 4, 0, std::exp(-1.0)},  // bell of width p
      {4, 8, 4, 4, 1},
      {4, 8, -4, 0, 0.5 + 0.5 * std::exp(-1.0)},  // negative p: raised inverse bell
      {6, 8, 1, 0, 0},                            // raised cosine starting at 0
      {6, 8, 1, 2, 0.5},
      {6, 8, 1, 4, 1},
      {9, 8, 1, 4, 1},
      {9, 8, -1, 0, 0.5 - 0.5 * std::exp(-2.0)},  // base 0.5 for negative p
      {11, 8, 0, 0, 0},
      {11, 8, 0, 1, 0.75},
      {11, 8, 0, 4, 1},
      {11, 8, 0, 7, 0.75},  // folded at u = 2
      {12, 8, 1, 4, 0.5},
      {13, 8, 1, 2, 1},
      {13, 8, 1, 6, -1},
      {16, 8, 1, 0, -0.9926002219861287},
      {17, 8, 1, 2, 0.7},
      {18, 8, 1, 2, 0.403125},
      {19, 8, 1, 4, 0},
      {19, 8, 1, 6, -4 * std::exp(-6.0)},
      {20, 8, 1, 4, -1},
      {22, 32, 1, 1, 0.15625},  // smoothstep of the triangle at 0.25
      {22, 32, 1, 31, -0.15625},
      {23, 8, 1, 2, 0.592},
      {26, 5, 1, 2, 0.4755282581475767},
      {27, 3, 1, 1, -1},
      {31, 8, 0, 0, 0},
      {31, 8, 0, 4, std::exp(-0.5)},  // mirrored from element 3
      {31, 8, 0, 6, std::exp(-4.5)},  // mirrored from element 1
  };
  for (const Case& c : cases) {
    V got = curve(c.shape, c.n, c.p);
    EXPECT_NEAR(got[size_t(c.index)], c.want, 1e-12)
        << "shape " << c.shape << " n " << c.n << " p " << c.p << " element " << c.index;
  }
}

TEST(Curves, EveryShapeIsFiniteAndBounded)
{
  srandom(7);
  for (int32_t shape = 0; shape <= 31; ++shape) {
    SCOPED_TRACE(shape);
    for (int32_t n : {1, 2, 5, 256}) {
      V x = curve(shape, n, 3);
      for (double v : x) {
        ASSERT_TRUE(std::isfinite(v));
        EXPECT_LE(std::fabs(v), 4.0);
      }
    }
  }
}

TEST(Curves, NoiseShapesLoopAndLeaveTheSharedTableAlone)
{
  srandom(11);
  V x = curve(24, 512, 4);
  EXPECT_LE(*std::max_element(x.begin(), x.end()), 1.0);
  EXPECT_GE(*std::min_element(x.begin(), x.end()), -1.0);
  EXPECT_NEAR(x.back(), x.front(), 0.05);  // the end meets the start

  V y = curve(25, 300, 2);
  EXPECT_NEAR(y.front(), 0, 1e-12);
  EXPECT_NEAR(y.back(), 0, 1e-9);

  // Several threads draw noise shapes while others read the shared table.
  std::vector<std::thread> threads;
  for (int k = 0; k < 4; ++k)
    threads.emplace_back([k] {
      V local(256);
      for (int r = 0; r < 20; ++r) {
        dvector_Curve(local.data(), 256, 24 + (k & 1), 3);
        RandomNoise(r * 0.37);
      }
    });
  for (std::thread& t : threads)
    t.join();
  for (int32_t i = 0; i < 256; ++i)
    ASSERT_EQ(gVecRndTab.entries[i], i);
}

TEST(Curves, RandomTableIsAPermutation)
{
  srandom(3);
  std::vector<int32_t> t(100, -1);
  FillRandomTable(t.data(), 100);
  std::vector<int32_t> sorted = t;
  std::sort(sorted.begin(), sorted.end());
  std::vector<int32_t> identity(100);
  std::iota(identity.begin(), identity.end(), 0);
  EXPECT_EQ(sorted, identity);

  int32_t untouched = 42;
  FillRandomTable(&untouched, 0);  // nothing to shuffle, no division
  EXPECT_EQ(untouched, 42);
}

TEST(Curves, RandomNoise)
{
  // Zero on every lattice point, bounded between them, 0 without a cell.
  for (double x : {-3.0, 0.0, 1.0, 17.0, 300.0})
    EXPECT_DOUBLE_EQ(RandomNoise(x), 0);
  for (double x = -10; x < 10; x += 0.13)
    EXPECT_LE(std::fabs(RandomNoise(x)), 1.9);
  EXPECT_DOUBLE_EQ(RandomNoise(NAN), 0);
  EXPECT_DOUBLE_EQ(RandomNoise(1e250), 0);
}

TEST(Curves, SmoothtableEndsAndWrap)
{
  const V in = {4, 0, 0, 0, 8};
  V out(5);
  smoothtable(in.data(), out.data(), 1, 5, false);
  EXPECT_EQ(out, (V{4, 1, 0, 2, 8}));
  smoothtable(in.data(), out.data(), 1, 5, true);
  EXPECT_EQ(out, (V{4, 1, 0, 2, 5}));

  // The wrapped kernel keeps the sum of a cyclic vector.
  V pulse(10, 0.0), spread(10);
  pulse[0] = 1;
  smoothtable(pulse.data(), spread.data(), 6, 10, true);
  EXPECT_NEAR(std::accumulate(spread.begin(), spread.end(), 0.0), 1, 1e-12);
  EXPECT_NEAR(spread[1], spread[9], 1e-15);  // symmetric around the pulse

  // A width above 64 is held to 64 and stays in bounds on a short vector.
  smoothtable(pulse.data(), spread.data(), 500, 10, false);
  for (double v : spread)
    EXPECT_TRUE(std::isfinite(v));
}

TEST(Curves, SixteenBitShapes)
{
  struct Case
  {
    int32_t shape, n;
    int16_t p;
    std::vector<int16_t> want;
  };
  const Case cases[] = {
      {2, 4, 0, {0, 8191, 16383, 24575}},
      {15, 4, 0, {29490, 29490, -29490, -29490}},
      {14, 1, 0, {32767}},
      {14, 2, 0, {32767, 32766}},
      {14, 5, 0, {32767, 32767, 32767, 32767, 32767}},
      {30, 8, 0, {0, 8191, 16383, 24575, 24575, 16383, 8191, 0}},
      {28, 8, 0, {0, 4798, 16383, 27968, 27968, 16383, 4798, 0}},
      {29, 8, 0, {0, 5119, 16383, 27647, 27647, 16383, 5119, 0}},
      {7, 4, 0, {0, 2, 2, 0}},  // no 16-bit form: element 0 cleared and mirrored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shape " << c.shape << " n " << c.n);
    std::vector<int16_t> s(static_cast<size_t>(c.n), 2);
    sVector_Curve(s.data(), c.n, c.shape, c.p);
    EXPECT_EQ(s, c.want);
  }
  // Single samples of the 16-bit shapes whose constants and frequencies
  // differ from the double shapes.
  struct Point16
  {
    int32_t shape, n;
    int16_t p;
    int32_t index;
    int16_t want;
  };
  const Point16 points[] = {
      {4, 8, 2, 0, 19874},  {4, 8, 2, 4, 32767},   {6, 8, 0, 0, 0},      {6, 8, 0, 1, 16383},
      {6, 8, 0, 2, 32767},  {12, 8, 1, 4, -16383}, {13, 8, 0, 2, 32767}, {13, 8, 0, 6, -32767},
      {16, 8, 0, 0, -1535}, {18, 4, 0, 1, 16378},  {19, 4, 0, 1, 243},
  };
  for (const Point16& c : points) {
    std::vector<int16_t> s(static_cast<size_t>(c.n), 2);
    sVector_Curve(s.data(), c.n, c.shape, c.p);
    EXPECT_EQ(s[size_t(c.index)], c.want) << "shape " << c.shape << " element " << c.index;
  }

  // Shapes whose sums pass 16 bits are held to the range.
  std::vector<int16_t> s(64);
  sVector_Curve(s.data(), 64, 16, 0);
  EXPECT_EQ(*std::max_element(s.begin(), s.end()), 32767);
}

}  // namespace
