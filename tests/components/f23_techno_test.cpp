// Techno boxes and its cell functions. Crafted permutations put a chosen
// hash on the cell of (0, 0) (perm[0] = 5, perm[5] = the hash), so that each
// motif can be read point by point; Techrandom's early answers come from
// constant tables with a few entries changed.
#include "components/f23/f23_techno.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <numeric>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

class F23Techno : public ::testing::Test
{
protected:
  KVtables& tables() { return h_.doc()->tables; }

  // perm = identity, then the cell of (0, 0) (and every cell whose first
  // lookup reads entry 0) hashes to h.
  void craftCell(int32_t h)
  {
    std::iota(std::begin(tables().perm), std::end(tables().perm), 0);
    tables().perm[1024] = tables().perm[0] = 5;
    tables().perm[5] = h;
  }

  void fillPerm(int32_t value)
  {
    std::fill(std::begin(tables().perm), std::end(tables().perm), value);
  }

  KVmemberHarness h_;
};

TEST_F(F23Techno, BoxMotifsPointByPoint)
{
  struct Row
  {
    int32_t hash;  // motif = hash % 22; a, b, c from its higher bits
    int32_t fx, fy;
    int32_t expected;
  };
  const Row rows[] = {
      // motif 0 (a 0, b 4): bars off at x = 1, x = 7 and x = 2 above y = 4
      {0, 2, 5, 0},
      {0, 2, 4, 1},
      {0, 7, 3, 0},
      {0, 1, 3, 0},
      {0, 6, 3, 1},
      // motif 0 with a 4, b 8 (hash 154): x = 6 below y = 4 is off
      {154, 6, 3, 0},
      {154, 6, 4, 1},
      {154, 2, 7, 1},
      // motif 1 (a 0, b 4)
      {1, 5, 2, 0},
      {1, 4, 2, 1},
      {1, 3, 7, 0},
      {1, 3, 1, 0},
      {1, 3, 3, 1},
      // motifs 2 and 3: left and lower halves
      {2, 5, 1, 0},
      {2, 4, 7, 1},
      {3, 1, 5, 0},
      {3, 7, 4, 1},
      // motifs 4 and 5 (a 0)
      {4, 2, 5, 0},
      {4, 3, 1, 0},
      {4, 3, 2, 1},
      {5, 5, 2, 0},
      {5, 1, 5, 0},
      {5, 2, 3, 1},
      // motif 6: the centre square
      {6, 3, 3, 1},
      {6, 5, 5, 1},
      {6, 2, 4, 0},
      {6, 4, 6, 0},
      // motif 7: the upper part
      {7, 1, 3, 0},
      {7, 1, 4, 1},
      // motif 8: three dots on y = 4
      {8, 2, 4, 1},
      {8, 6, 4, 1},
      {8, 3, 4, 0},
      {8, 2, 5, 0},
      // motif 11 (a 1, b 4): columns 3 and 4
      {11, 4, 5, 0},
      {11, 4, 4, 1},
      {11, 3, 6, 1},
      {11, 2, 4, 0},
      {11, 5, 4, 0},
      // motif 12 (a 1, b 4): rows 3 and 4
      {12, 5, 4, 0},
      {12, 4, 4, 1},
      {12, 6, 3, 1},
      {12, 4, 2, 0},
      {12, 4, 5, 0},
      // motif 13: a cross gap at c (1, or 5 for hash 79)
      {13, 1, 5, 0},
      {13, 5, 1, 0},
      {13, 2, 2, 1},
      {79, 5, 2, 0},
      {79, 2, 5, 0},
      {79, 1, 1, 1},
      // motifs 14 to 21 are blank
      {14, 3, 3, 0},
      {21, 4, 4, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "hash " << row.hash << " at " << row.fx << ", " << row.fy);
    craftCell(row.hash);
    EXPECT_EQ(Techpattern_Box(&tables(), row.fx, row.fy, 1), row.expected);
  }
}

// Motifs 9 and 10 subdivide once in mode 1: the point is read again at twice
// its coordinates in mode 2, where they are solid.
TEST_F(F23Techno, BoxMotifsNineAndTenSubdivideOnce)
{
  for (int32_t motif : {9, 10}) {
    SCOPED_TRACE(motif);
    craftCell(motif);
    tables().perm[6] = 3;  // the cell (1, 0) that (5, 3) doubles into: lower half
    EXPECT_EQ(Techpattern_Box(&tables(), 3, 3, 1), 1);  // (6, 6), the same cell again
    EXPECT_EQ(Techpattern_Box(&tables(), 4, 3, 1), 0);  // (8, 6) lies on a line
    EXPECT_EQ(Techpattern_Box(&tables(), 4, 3, 2), 1);
    EXPECT_EQ(Techpattern_Box(&tables(), 4, 3, 0), 1);
    EXPECT_EQ(Techpattern_Box(&tables(), 5, 3, 1), 0);  // (10, 6): motif 3 there, off
    tables().perm[6] = 9;                               // motif 9 again: no second subdivision
    EXPECT_EQ(Techpattern_Box(&tables(), 5, 3, 1), 1);
  }
  // Doubling wraps as 32 bits, without a signed overflow.
  fillPerm(9);
  for (int32_t i : {INT32_MAX, INT32_MIN + 3, 0x40000001, -0x40000003})
    EXPECT_EQ(Techpattern_Box(&tables(), i, i, 1), (uint32_t(2 * int64_t(i)) & 7u) != 0);
}

TEST_F(F23Techno, BoxSubLatticeLinesAreAlwaysZero)
{
  for (int32_t line : {0, 8, -8, -16, 4096, INT32_MIN, 0x7FFFFFF8})
    for (int32_t other = -20; other < 20; other += 3)
      for (int32_t mode : {0, 1, 2}) {
        EXPECT_EQ(Techpattern_Box(&tables(), line, other, mode), 0) << line << " " << other;
        EXPECT_EQ(Techpattern_Box(&tables(), other, line, mode), 0) << other << " " << line;
      }
}

TEST_F(F23Techno, PatternMotifsWithCellBorders)
{
  struct Row
  {
    int32_t hash;  // motif = hash % 10
    int32_t fx, fy;
    int32_t expected;
  };
  const Row rows[] = {
      {0, 0, 3, 1},  {0, 3, 7, 1}, {0, 4, 2, 1},  {0, 3, 3, 0}, {1, 2, 5, 1},
      {1, 3, 2, 0},  {2, 5, 2, 1}, {2, 2, 5, 0},  {3, 4, 4, 1}, {3, 6, 4, 0},
      {15, 0, 0, 0}, {7, 4, 4, 0}, {18, 7, 3, 1}, {9, 3, 0, 1}, {9, 3, 3, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "hash " << row.hash << " at " << row.fx << ", " << row.fy);
    craftCell(row.hash);
    EXPECT_EQ(Techpattern(&tables(), row.fx, row.fy), row.expected);
  }
}

// v = perm[perm[0] + ...] >> 6 answers first (0 for v < 2 or 5, 1 for 4),
// then w from the other axis, then the least of nine hashes.
TEST_F(F23Techno, RandomCellsEarlyAnswersAndTheNineHashMinimum)
{
  struct Row
  {
    const char* what;
    int32_t fill;
    int32_t changedAt, changedTo;  // one entry changed (-1: none)
    int32_t i, j;
    int32_t expected;
  };
  const Row rows[] = {
      {"v = 0", 0, -1, 0, 0, 0, 0},
      {"v = 1", 64, -1, 0, 0, 0, 0},
      {"v = 5", 320, -1, 0, 0, 0, 0},
      {"v = 4", 256, -1, 0, 0, 0, 1},
      {"v = w = 2, minimum 128", 128, -1, 0, 0, 0, 1},
      {"v = w = 3, minimum 0", 192, 193, 0, 0, 0, 0},
      {"v = 3, w = 4", 192, 192, 256, 0, 128, 1},
      {"v = 3, w = 5", 192, 192, 320, 0, 128, 0},
      {"v = 3, w = 1", 192, 192, 64, 0, 128, 0},
      {"negative cells wrap", 192, -1, 0, -1, -200, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fillPerm(row.fill);
    if (row.changedAt >= 0)
      tables().perm[row.changedAt] = row.changedTo;
    EXPECT_EQ(Techrandom(&tables(), row.i, row.j), row.expected);
  }
}

class F23TechnoBoxes : public ::testing::Test
{
protected:
  struct Rgb
  {
    double r, g, b;
  };

  Rgb at(double a, double b, double c, double x, double y)
  {
    h_.bind(kFamily23, 30);
    h_.setParams(a, b, c);
    h_.prepare();
    return {h_.at(x, y, 0), h_.at(x, y, 1), h_.at(x, y, 2)};
  }

  KVmemberHarness h_;
  const double points_[6][2] = {{0.3, 0.2},    {-1.7, 2.9}, {2.2, -0.6},
                                {-0.04, -3.1}, {1.1, 1.13}, {-2.5, 0.77}};
};

TEST_F(F23TechnoBoxes, SkewAndFrequencyAtOrBelowASixteenthActAsASixteenth)
{
  for (const auto& [b, c] : {std::pair{0.0, 0.0}, std::pair{-3.0, 0.01}, std::pair{0.0625, -1.0}})
    for (const auto& p : points_) {
      const Rgb low = at(4, b, c, p[0], p[1]);
      const Rgb sixteenth = at(4, 0.0625, 0.0625, p[0], p[1]);
      EXPECT_EQ(low.r, sixteenth.r);
      EXPECT_EQ(low.g, sixteenth.g);
      EXPECT_EQ(low.b, sixteenth.b);
    }
}

TEST_F(F23TechnoBoxes, ZeroAmplitudeLeavesOnlyTheEdgeTerm)
{
  bool sawEdge = false, sawPanel = false;
  for (const auto& p : points_) {
    const Rgb none = at(0, 1, 2, p[0], p[1]);
    const Rgb full = at(4, 1, 2, p[0], p[1]);
    EXPECT_EQ(none.r, 0);
    EXPECT_EQ(none.b, 0);
    EXPECT_EQ(none.g, full.g);
    sawEdge = sawEdge || none.g > 0;
    sawPanel = sawPanel || full.r > 0 || full.b > 0;
  }
  EXPECT_TRUE(sawEdge);
  EXPECT_TRUE(sawPanel);
}

}  // namespace
