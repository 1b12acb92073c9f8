// The shared pieces of the 2D cells (hash, wrapping arithmetic, the cell
// list) and properties every listed cell must have: no undefined behaviour
// anywhere on the lattice, its code rule, and seamless negative blocks.
#include "celltextures/celltexture2d.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "cell_test_support.h"
#include "celltextures/catalog2d.h"

namespace {

TEST(CellHash, IdentityPermutationSumsByHand)
{
  auto t = identityCellTables();
  struct Case
  {
    int s;
    int32_t a, b, expected;
  } cases[] = {
      {5, 0, -1, 1022},                 // inner index 1023, plus (-1 >> 14) = -1
      {5, -1, 0, 1023},                 // (-1 >> 5) & 1023
      {5, 64, 32, 3},                   // 2 + 1
      {5, 32, 64, 3},                   // symmetric under the identity
      {3, 8, 8 << 9, 514},              // 1 + 512 + (4096 >> 12 = 1)
      {8, INT32_MIN, INT32_MAX, 1022},  // -2^23 + 1023 + 16383
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "H_" << c.s << "(" << c.a << ", " << c.b << ")");
    EXPECT_EQ(kvcell::hash(t.get(), c.s, c.a, c.b), c.expected);
  }
}

TEST(CellHash, SecondArgumentEntersTheInnerLookup)
{
  auto t = seededCellTables();
  const int32_t* p = t->perm;
  for (int32_t a : {-70000, -33, 0, 5, 4097, 1 << 20}) {
    for (int32_t b : {-1, 31, 32, 300000}) {
      EXPECT_EQ(kvcell::hash(t.get(), 5, a, b),
                p[((a >> 5) + p[(b >> 5) & 1023] + (b >> 14)) & 1023]);
    }
  }
}

TEST(CellArithmetic, WrapsInsteadOfOverflowing)
{
  EXPECT_EQ(kvnum::wrap_add_i32(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(kvnum::wrap_add_i32(INT32_MIN, -48), INT32_MAX - 47);
  EXPECT_EQ(kvnum::wrap_add_i32(-5, 8), 3);
  int16_t code = 32767;
  kvcell::addCode(&code, 1);
  EXPECT_EQ(code, -32768);
  code = -3;
  kvcell::addCode(&code, 8 * 31);
  EXPECT_EQ(code, 245);
  EXPECT_EQ(kvcell::wrap16(9 * 1023), 9207);
  EXPECT_EQ(kvcell::wrap16(70000), 70000 - 65536);
}

TEST(CellList, HoldsEveryCellOnceWithItsOwnForm)
{
  const auto cells = kvcell::cells2D();
  EXPECT_EQ(cells.size(), 48u);
  std::set<std::string> names;
  for (const kvcell::CellEntry& c : cells) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(names.insert(c.name).second);
    const int pointers = (c.cell != nullptr) + (c.maze != nullptr) + (c.level != nullptr) +
                         (c.flag != nullptr) + (c.pyramid != nullptr);
    EXPECT_EQ(pointers, 1);
    EXPECT_EQ(kvcell::findCell2D(c.name), &c);
  }
  EXPECT_EQ(kvcell::findCell2D("LABTXT_CityBblock")->form, kvcell::Form::Maze);
  EXPECT_EQ(kvcell::findCell2D("StreetsNetworkMask")->form, kvcell::Form::Maze);
  EXPECT_EQ(kvcell::findCell2D("LABTXT")->form, kvcell::Form::Level);
  EXPECT_EQ(kvcell::findCell2D("LABTXT_StreetsFlags")->form, kvcell::Form::Flag);
  EXPECT_EQ(kvcell::findCell2D("nothing"), nullptr);
}

// The result of a cell at one point with the code starting at `start`
// (null when start is null).
struct Result
{
  double level;
  int16_t code;
};

Result call(const kvcell::CellEntry& c, const KVtables* t, int32_t x, int32_t y,
            const int16_t* start)
{
  int16_t code = start ? *start : 0;
  int16_t* pc = start ? &code : nullptr;
  double level = 0.0;
  switch (c.form) {
    case kvcell::Form::Cell:
      level = c.cell(t, x, y, pc);
      break;
    case kvcell::Form::Maze:
      level = c.maze(t, x, y, 0.0, pc);
      break;
    case kvcell::Form::Level:
      level = c.level(t, x, y);
      break;
    case kvcell::Form::Flag:
      level = c.flag(t, x, y);
      break;
    case kvcell::Form::Pyramid: {
      dvector4d p{double(x) + 0.5, double(y) + 0.5, 0.0, 0.0};
      c.pyramid(t, x, y, 16, &p);
      level = p.w;
      EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
      break;
    }
  }
  return {level, code};
}

// Grids over negative and positive lattice points and around both ends of
// the 32-bit range.
std::vector<std::pair<int32_t, int32_t>> sweepPoints()
{
  std::vector<std::pair<int32_t, int32_t>> pts;
  for (int32_t y = -70; y < 70; y += 3) {
    for (int32_t x = -300; x < 300; x += 1)
      pts.push_back({x, y});
  }
  const int32_t ends[] = {INT32_MIN, INT32_MIN + 1,  INT32_MIN + 47, -1,
                          0,         INT32_MAX - 47, INT32_MAX - 8,  INT32_MAX};
  for (int32_t x : ends) {
    for (int32_t y : ends) {
      for (int32_t d = 0; d < 80; d += 7)
        pts.push_back({kvnum::wrap_add_i32(x, d), kvnum::wrap_add_i32(y, -d)});
    }
  }
  return pts;
}

// Every cell, everywhere: a finite level, and its code rule: a cell that
// sets the code ignores the start, one that adds shifts with it, one that
// keeps it leaves it alone, and the cells that accept a null code give the
// same level without one.
TEST(CellList, EveryCellKeepsItsCodeRuleOverTheWholeLattice)
{
  auto seeded = seededCellTables();
  auto identity = identityCellTables();
  const auto pts = sweepPoints();
  const int16_t a = 0, b = 1000;
  for (const KVtables* t : {seeded.get(), identity.get()}) {
    for (const kvcell::CellEntry& c : kvcell::cells2D()) {
      SCOPED_TRACE(c.name);
      int failures = 0;
      for (auto [x, y] : pts) {
        const Result ra = call(c, t, x, y, &a), rb = call(c, t, x, y, &b);
        bool ok = std::isfinite(ra.level) && ra.level == rb.level;
        switch (c.code) {
          case kvcell::CodeRule::Set:
          case kvcell::CodeRule::SetOrNull:
            ok = ok && ra.code == rb.code;
            break;
          case kvcell::CodeRule::Add:
          case kvcell::CodeRule::AddOrNull:
            ok = ok && rb.code - ra.code == b - a;
            break;
          case kvcell::CodeRule::Keep:
          case kvcell::CodeRule::None:
            ok = ok && ra.code == a && rb.code == b;
            break;
        }
        if (c.code == kvcell::CodeRule::SetOrNull || c.code == kvcell::CodeRule::AddOrNull)
          ok = ok && call(c, t, x, y, nullptr).level == ra.level;
        if (!ok && ++failures <= 3) {
          ADD_FAILURE() << "at (" << x << ", " << y << "): " << ra.level << "/" << ra.code
                        << " and " << rb.level << "/" << rb.code;
        }
      }
    }
  }
}

// Under the identity permutation blocks (-1, 7) and (5, 0) of the 32-unit
// hash H_5(y, x) get the same value (7 + 1023 - 1 and 0 + 5, both 5), so the
// street cells draw both blocks alike, point for point.
TEST(CellSeams, NegativeBlocksHashLikePositiveOnes)
{
  auto t = identityCellTables();
  ASSERT_EQ(kvcell::hash(t.get(), 5, 7 * 32, -32), kvcell::hash(t.get(), 5, 0, 5 * 32));
  for (const char* name : {"LABTXT_StreetsNetwork", "LABTXT_StreetsMask", "LABTXT_StreetsFlags",
                           "StreetsNetworkMask"}) {
    SCOPED_TRACE(name);
    const kvcell::CellEntry& c = *kvcell::findCell2D(name);
    const int16_t start = 0;
    for (int32_t py = 0; py < 32; py++) {
      for (int32_t px = 0; px < 32; px++) {
        const Result neg = call(c, t.get(), -32 + px, 224 + py, &start);
        const Result pos = call(c, t.get(), 160 + px, py, &start);
        ASSERT_EQ(neg.level, pos.level) << px << " " << py;
        ASSERT_EQ(neg.code, pos.code) << px << " " << py;
      }
    }
  }
}

}  // namespace
