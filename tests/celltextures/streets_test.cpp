// Street masks under the identity permutation, where the block type of the
// 32-unit block (bx, by) near the origin is (bx + by) & 15 and the avenue
// hashes are sums worked by hand.
#include "celltextures/streets.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "cell_test_support.h"

namespace {

struct Expect
{
  int32_t x, y;
  double level;
  int16_t code;
};

using CellFn = double (*)(const KVtables*, int32_t, int32_t, int16_t*);

void expectAll(CellFn cell, const KVtables* t, std::initializer_list<Expect> cases)
{
  for (const Expect& e : cases) {
    SCOPED_TRACE(testing::Message() << "(" << e.x << ", " << e.y << ")");
    int16_t code = 12345;
    EXPECT_EQ(cell(t, e.x, e.y, &code), e.level);
    EXPECT_EQ(code, e.code);
  }
}

TEST(StreetCells, HandWorkedPointsUnderTheIdentity)
{
  auto t = identityCellTables();
  SCOPED_TRACE("LABTXT_StreetsMask");
  expectAll(LABTXT_StreetsMask, t.get(),
            {
                {-1, 5, 2.0, -1},        // px 31, block -1
                {0, 5, 2.0, -2},         // the origin line
                {1, 5, 2.0, -1},         //
                {5, 0, 2.0, -2},         //
                {96 + 2, 10, 1.0, 3},    // kerb of type 3
                {96 + 9, 10, 0.0, 3},    // inside
                {352 + 24, 5, 2.0, -2},  // type 11: second alley's centre line
                {352 + 23, 5, 1.0, 11},  // its band
            });
}

TEST(StreetCells, NetworkKeepsTheBlockCodeOnKerbs)
{
  auto t = identityCellTables();
  expectAll(LABTXT_StreetsNetwork, t.get(),
            {
                {96, 10, -0.1, 0},         // street: code 0
                {-1, 10, -0.1, 0},         //
                {96 + 2, 10, -0.01, 3},    // kerb keeps type 3
                {96 + 10, 10, 0.5, 3},     // type 3 inside
                {160 + 16, 10, -0.1, 5},   // type 5 alley centre
                {160 + 15, 10, -0.01, 5},  // its band
                {160 + 8, 10, 1.5, 5},     // type 5 elsewhere
                {32 + 24, 10, -0.1, 1},    // type 1: alley at 24
                {32 + 8, 28, -0.01, 1},    // type 1: the yard
            });
}

TEST(StreetCells, FlagsMarkNoLineAt24)
{
  auto t = identityCellTables();
  EXPECT_EQ(LABTXT_StreetsFlags(t.get(), 352 + 24, 5), 11);
  EXPECT_EQ(LABTXT_StreetsFlags(t.get(), 352 + 16, 5), -2);
  EXPECT_EQ(LABTXT_StreetsFlags(t.get(), 352 + 1, 5), 11);  // no street band either
  EXPECT_EQ(LABTXT_StreetsFlags(t.get(), 352, 5), -2);
  EXPECT_EQ(LABTXT_StreetsFlags(t.get(), 5, 0), -2);
}

TEST(StreetCells, NetworkMaskType13GivesOnly4Or6Inside)
{
  auto t = identityCellTables();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int32_t py = 0; py < 32; py++) {
    for (int32_t px = 0; px < 32; px++) {
      const int32_t x = 13 * 32 + px, y = py;
      int16_t code = 99;
      const double level = StreetsNetworkMask(t.get(), x, y, 0.0, &code);
      SCOPED_TRACE(testing::Message() << px << " " << py);
      if (px < 2 || px > 30 || py < 2 || py > 30 || px == 16 || py == 16) {
        EXPECT_EQ(level, -1.0);
        EXPECT_EQ(code, -2);
      } else {
        EXPECT_EQ(level, 1.0);
        EXPECT_EQ(code, px > 15 ? 4 : 6);
      }
      for (double seed : {nan, 1e300, -7.5}) {
        int16_t other = -5;
        EXPECT_EQ(StreetsNetworkMask(t.get(), x, y, seed, &other), level);
        EXPECT_EQ(other, code);
      }
    }
  }
}

TEST(StreetCells, MarksBandsAndAvenueMarks)
{
  auto t = identityCellTables();
  // Across an avenue at qy = 100 (block type 0, no secondary avenue).
  expectAll(LABTXT_StreetsMarks, t.get(), {{10, 100, 1.0, -50}, {21, 100, 0.0, -1}});
  for (int32_t x = 11; x <= 20; x++)
    expectAll(LABTXT_StreetsMarks, t.get(), {{x, 100, 1.01, -60}});
  // On the avenue y = 0 near x = 300 the marks hash H_7(y - 48, x - 48) is
  // perm[-1 + 1] = 0: mark kind 0, the dashed centre line (code 90) where
  // ((x + 3) >> 2) & 3 >= 2. Hashed without the offset it would be 2.
  expectAll(LABTXT_StreetsMarks, t.get(),
            {{300, 0, 1.0, 90}, {296, 0, 1.0, 90}, {292, 0, 1.0, -50}});
  // A secondary avenue of block type 5 (block (5, 0) of 256 units): its
  // band is kerb, its centre an avenue point.
  expectAll(LABTXT_StreetsMarks, t.get(),
            {{5 * 256 + 118, 100, 1.01, -60}, {5 * 256 + 100, 100, 0.0, -1}});
  int16_t code = 0;
  EXPECT_EQ(LABTXT_StreetsMarks(t.get(), 5 * 256 + 128, 100, &code), 1.0);
}

}  // namespace
