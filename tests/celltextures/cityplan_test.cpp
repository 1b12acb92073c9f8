// City plans, building layers and the pyramid streets.
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

#include "cell_test_support.h"
#include "celltextures/city_pyramids.h"
#include "celltextures/cityplan_a.h"

namespace {

using kvcell::Alley;
using kvcell::alleyAt;

// Under the identity permutation the block (bx, 0) near the origin has type
// bx for both 32-position plans; walk all 16.
TEST(CityPlanA, EveryStreetKerbAndAlleyPointIsGround)
{
  auto t = identityCellTables();
  for (int32_t type = 0; type < 16; type++) {
    SCOPED_TRACE(testing::Message() << "block type " << type);
    for (int32_t y = -1; y < 63; y++) {
      for (int32_t x = 64 * type - 1; x < 64 * type + 63; x++) {
        const int32_t hx = ((x + 1) >> 1) & 31, hy = ((y + 1) >> 1) & 31;
        const bool street = hx < 2 || hx > 30 || hy < 2 || hy > 30;
        const bool kerb = !(hx >= 3 && hx <= 29 && hy >= 3 && hy <= 29);
        const Alley alley = street ? Alley::None : alleyAt(type, hx, hy);
        int16_t code = 555;
        const double level = LABTXT_CityA(t.get(), x, y, &code);
        if (street || kerb || alley != Alley::None) {
          ASSERT_EQ(level, -0.25) << x << " " << y;
        } else {
          ASSERT_GE(level, 0.0) << x << " " << y;
        }
        const bool negative = street || alley == Alley::Centre;
        ASSERT_EQ(code < 0, negative) << x << " " << y;
        if (!negative) {
          ASSERT_TRUE(code >= type && (code - type) % 8 == 0) << x << " " << y << " " << code;
        }
      }
    }
  }
}

TEST(CityPlanA, KerbsGetTheParcelAddition)
{
  auto t = identityCellTables();
  // x = 195: X = 196, hx = 2 (kerb) in block 3; y = 19: hy = 10; parcel hash
  // g = H_4(10, 98) = 6, so the code is 3 + 8 * 6.
  int16_t code = 0;
  EXPECT_EQ(LABTXT_CityA(t.get(), 195, 19, &code), -0.25);
  EXPECT_EQ(code, 51);
  // Street origin line (hx = 0) and a plain street point.
  EXPECT_EQ(LABTXT_CityA(t.get(), -1, 19, &code), -0.25);
  EXPECT_EQ(code, -2);
  EXPECT_EQ(LABTXT_CityA(t.get(), 1, 19, &code), -0.25);
  EXPECT_EQ(code, -1);
}

TEST(BuildingLayers, AdditionsAccumulate)
{
  auto t = seededCellTables();
  for (int32_t y = -80; y < 80; y += 7) {
    for (int32_t x = -80; x < 80; x += 5) {
      for (auto cell : {LABTXT_TEK_randomsymbuild, LABTXT_TEK_symbuild32}) {
        int16_t once = 0, twice = 0;
        const double level = cell(t.get(), x, y, &once);
        EXPECT_EQ(cell(t.get(), x, y, &twice), level);
        cell(t.get(), x, y, &twice);
        EXPECT_EQ(twice, 2 * once);
      }
    }
  }
}

TEST(BuildingLayers, Symbuild32LevelsAreWholeQuarters)
{
  auto t = seededCellTables();
  for (int32_t y = -200; y < 200; y++) {
    for (int32_t x = -200; x < 200; x += 3) {
      int16_t code = 0;
      const double level = LABTXT_TEK_symbuild32(t.get(), x, y, &code);
      ASSERT_EQ(std::fmod(level, 0.25), 0.0) << x << " " << y << " " << level;
    }
  }
  // A permutation with the 3-cycle 0 -> 1 -> 5 -> 0 gives block (0, 0) the
  // hash perm[perm[0]] = 5. At x = 45, y = 31 (hx = 23, hy = 16: not wide,
  // on the pin) the storeys are n + 8 = 11; hash bit 4 halves them to w = 5,
  // which rounds up to 6: level 0.75.
  auto c = identityCellTables();
  c->perm[0] = 1;
  c->perm[1] = 5;
  c->perm[5] = 0;
  int16_t code = 0;
  EXPECT_EQ(LABTXT_TEK_symbuild32(c.get(), 45, 31, &code), 0.75);
  EXPECT_EQ(code, 5);
}

TEST(BuildingLayers, SubcityWritesItsCodeEverywhere)
{
  auto t = seededCellTables();
  int zeros = 0;
  for (int32_t y = -64; y < 64; y++) {
    for (int32_t x = -64; x < 64; x++) {
      int16_t code = 777;
      const double level = LABTXT_subcityA(t.get(), x, y, &code);
      EXPECT_EQ(code, kvcell::wrap16(9 * kvcell::hash(t.get(), 5, x, y)));
      EXPECT_EQ(std::fmod(level, 0.25), 0.0);
      zeros += level == 0.0;
    }
  }
  EXPECT_GT(zeros, 0);
}

TEST(CityCell, StreetsAndAlleysAreMinusOneWithCode4)
{
  auto t = identityCellTables();
  for (int32_t type = 0; type < 16; type++) {
    SCOPED_TRACE(testing::Message() << "block type " << type);
    for (int32_t py = 0; py < 32; py++) {
      for (int32_t px = 0; px < 32; px++) {
        const bool street = px < 3 || px > 29 || py < 3 || py > 29;
        const bool closed = street || alleyAt(type, px, py) != Alley::None;
        int16_t code = 0;
        const double level = LABTXT_City(t.get(), 32 * type + px, py, &code);
        ASSERT_EQ(level == -1.0, closed) << px << " " << py;
        if (closed) {
          ASSERT_EQ(code, 4);
        }
      }
    }
  }
}

TEST(CityCell, HandWorkedLevels)
{
  auto t = identityCellTables();
  int16_t code = 0;
  // Block type 0 (m = 32), parcel g = 0 (L = 8), no detail at an even
  // half column: ((256 >> 4) & ~1) / 16 + 1/256.
  EXPECT_EQ(LABTXT_City(t.get(), 8, 8, &code), 1.00390625);
  EXPECT_EQ(code, 6);
  // Parcel kind 15 outside in2 gives L = -4 and code 4; block type 7 has
  // m = 32: (-128 >> 4) / 16 + 1/256.
  EXPECT_EQ(LABTXT_City(t.get(), 242, 3, &code), -0.49609375);
  EXPECT_EQ(code, 4);
}

dvector4d pyramid(const KVtables* t, int32_t x, int32_t y, int32_t count, double px, double py)
{
  dvector4d p{px, py, -1.0, -1.0};
  PyraStreetsNetwork(t, x, y, count, &p);
  return p;
}

TEST(PyramidStreets, CountOneIsFlatAndCapped)
{
  auto t = seededCellTables();
  for (int32_t y = -40; y < 40; y++) {
    for (int32_t x = -40; x < 40; x++) {
      const dvector4d p = pyramid(t.get(), x, y, 1, x + 0.5, y + 0.5);
      double fx = x + 0.5 - (x & ~15), fy = y + 0.5 - (y & ~15);
      fx = fx > 8 ? 16 - fx : fx;
      fy = fy > 8 ? 16 - fy : fy;
      EXPECT_EQ(p.w, std::min(std::max(std::min(fx, fy) - 1.0, 0.0), 0.125));
      EXPECT_EQ(p.x, (8.0 - fx) * 0.125);
      EXPECT_EQ(p.z, kvcell::hash(t.get(), 4, y, x) / 128.0);
      for (int32_t count : {0, -3, INT32_MIN}) {
        const dvector4d q = pyramid(t.get(), x, y, count, x + 0.5, y + 0.5);
        EXPECT_EQ(q.x, p.x);
        EXPECT_EQ(q.y, p.y);
        EXPECT_EQ(q.z, p.z);
        EXPECT_EQ(q.w, p.w);
      }
    }
  }
  // On an edge line (sx = 0) the height factor of row 0 still applies.
  EXPECT_EQ(pyramid(t.get(), 16, 20, 1, 20.5, 20.5).w, 0.125);
}

TEST(PyramidStreets, FoldsAndRehashes)
{
  // Identity with perm[13] and perm[600] swapped: block (13, 0) hashes to
  // perm[perm[13]] = 13, kind 13 of 16; below sy = 8 it re-hashes to
  // perm[13] = 600.
  auto t = identityCellTables();
  std::swap(t->perm[13], t->perm[600]);
  dvector4d p = pyramid(t.get(), 208 + 4, 4, 16, 212.5, 4.5);
  EXPECT_EQ(p.z, 600 / 128.0);
  EXPECT_EQ(p.x, 0.25);  // 4.5 folded to 3.5, doubled to 7
  EXPECT_EQ(p.y, 0.25);
  EXPECT_EQ(p.w, 3.0);  // (7 - 1) * 0.5
  p = pyramid(t.get(), 208 + 4, 9, 16, 212.5, 9.5);
  EXPECT_EQ(p.z, 13 / 128.0);
  EXPECT_EQ(p.w, 1.0);  // fy 9.5 -> 6.5 -> 1.5 -> 3: (3 - 1) * 0.5
  // Kind 6 (block (6, 0)): fx folded and doubled, fy = 2 fy - 8.
  auto id = identityCellTables();
  p = pyramid(id.get(), 96 + 4, 4, 16, 100.5, 4.5);
  EXPECT_EQ(p.x, 1.0 * (1.0 / 6.0));
  EXPECT_EQ(p.y, 7.0 * (1.0 / 6.0));
  EXPECT_EQ(p.w, 0.0);
}

}  // namespace
