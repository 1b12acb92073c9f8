// The 3D building generators and their vector twins: the 3D hash worked by
// hand, the variant rules, the shape index along x, the composite blocks
// that hand points on, the flag-clear twins, and a sweep of every 3D cell
// over codes, flags and coordinates at both ends of the 32-bit range.
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "cell_test_support.h"
#include "celltextures/building_shapes.h"
#include "celltextures/building_vectors.h"
#include "celltextures/buildings.h"
#include "celltextures/buildings_pvt.h"
#include "celltextures/catalog3d.h"

namespace {

struct Result
{
  double level;
  int16_t code;
};

Result run(CellTexture3DProc cell, const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t code)
{
  Result r{0, code};
  r.level = cell(t, x, y, z, &r.code);
  return r;
}

struct Pair
{
  double height, light;
  int16_t code0, code1;
  double untouched;  // out.z after the call
};

constexpr double kSentinel = -12345.5;

Pair runVec(CellTexture3DVecProc cell, const KVtables* t, int32_t x, int32_t y, int32_t z,
            int16_t code, int16_t flag)
{
  dvector3d out{0, 0, kSentinel};
  int16_t pair[2] = {code, flag};
  cell(t, x, y, z, &out, pair);
  return {out.x, out.y, pair[0], pair[1], out.z};
}

std::unique_ptr<KVtables> constantTables(int32_t value)
{
  auto t = identityCellTables();
  for (int32_t i = 0; i < 1024; i++)
    t->perm[i] = value;
  return t;
}

TEST(Hash3D, IdentityPermutationSumsTheCellIndices)
{
  auto t = identityCellTables();
  // (24 >> 3) + ((8 >> 3) + (16 >> 3) + (16 >> 12)) + (8 >> 12)
  EXPECT_EQ(kvcell::hash3(t.get(), 3, 8, 16, 24), 6);
  // The ninth-bit terms: (1 << 12) >> 12 = 1 from a and from b.
  EXPECT_EQ(kvcell::hash3(t.get(), 3, 4096, 4096, 0), (512 + 512 + 1 + 1) & 1023);
  EXPECT_EQ(kvcell::hash3(t.get(), 4, 32, 0, 0), 2);
  // Negative cell indices wrap into the table.
  EXPECT_EQ(kvcell::hash3(t.get(), 3, -8, 0, 0), (1023 + 1023) & 1023);
}

TEST(BuildA, VariantIsCodeModuloSeven)
{
  auto t = seededCellTables();
  for (int32_t y = -40; y < 80; y += 3) {
    for (int32_t x = -20; x < 40; x += 3) {
      const Result a = run(LABTXT3D_BuildA, t.get(), x, y, 5, 7);
      const Result b = run(LABTXT3D_BuildA, t.get(), x, y, 5, 0);
      ASSERT_EQ(a.level, b.level) << x << " " << y;
      ASSERT_EQ(a.code, b.code) << x << " " << y;
    }
  }
}

TEST(BuildA, VariantsOneAndFiveDrawNoFloorBand)
{
  auto t = seededCellTables();
  for (int32_t v : {1, 5}) {
    for (int32_t x = 0; x < 32; x++) {
      // y & 31 = 0 is a frame line: street gap or frame, never the band's 0.1.
      const Result r = run(LABTXT3D_BuildA, t.get(), x, 64, 3, int16_t(v));
      const Result gapOrFrame =
          (x & 15) == 0 ? Result{0.75, 6} : Result{v == 1 ? 0.5 : 0.2, int16_t(v == 1 ? 4 : -120)};
      EXPECT_EQ(r.level, gapOrFrame.level) << v << " " << x;
      EXPECT_EQ(r.code, gapOrFrame.code) << v << " " << x;
    }
  }
  // Other variants draw the band.
  EXPECT_EQ(run(LABTXT3D_BuildA, t.get(), 5, 64, 3, 0).level, 0.1);
  EXPECT_EQ(run(LABTXT3D_BuildA, t.get(), 5, 64, 3, 0).code, -180);
}

TEST(BuildA, NegativeRemainderKeepsTheCodeWhereARuleIsChosenByVariant)
{
  auto t = seededCellTables();
  EXPECT_EQ(run(LABTXT3D_BuildA, t.get(), 5, 0, 5, -3).code, -3);  // floor band
  EXPECT_EQ(run(LABTXT3D_BuildA, t.get(), 0, 5, 5, -3).code, 6);   // gap: v < 6
  EXPECT_EQ(run(LABTXT3D_BuildA, t.get(), 5, 5, 5, -3).code, -3);  // window
  EXPECT_EQ(run(LABTXT3D_BuildA, t.get(), 5, 5, 5, -3).level, 0.25);
}

TEST(BuildE, TwoLevelsAndOneWindowPatternBelow32)
{
  auto t = seededCellTables();
  for (int16_t w = 0; w < 8; w++) {
    for (int32_t z = -24; z < 24; z++) {
      for (int32_t x = -24; x < 24; x++) {
        const Result base = run(LABTXT3D_BuildE, t.get(), x, 3, z, w);
        for (int32_t y = -40; y < 96; y += 5) {
          const Result r = run(LABTXT3D_BuildE, t.get(), x, y, z, w);
          ASSERT_TRUE(r.level == 1.0 || r.level == 0.0);
          // Below 32 the window points of a column share one code.
          if (y <= 31 && base.level == 0.0) {
            ASSERT_EQ(r.level, 0.0);
            ASSERT_EQ(r.code, base.code) << w << " " << x << " " << y << " " << z;
          }
        }
      }
    }
  }
}

TEST(BuildE, HandWorkedWindowCodes)
{
  auto t = identityCellTables();
  // X = 1, Z = 1, Y = 0: h = perm[1 + perm[0 + 1 + 0] + 0] = 2.
  EXPECT_EQ(run(LABTXT3D_BuildE, t.get(), 12, 3, 12, 0).code, (2 & 3) + 4);
  EXPECT_EQ(run(LABTXT3D_BuildE, t.get(), 12, 3, 12, 6).code, -2);
  EXPECT_EQ(run(LABTXT3D_BuildE, t.get(), 8, 3, 12, 7).code, -90);  // x7 = 0: wall
}

TEST(Tnoises, HandWorkedRectangle)
{
  auto t = identityCellTables();
  // h = 6: selector 2 + (y7 >= 4 ? 1 : 0) = 2, code 2 + 8 * 6.
  const Result r = run(Tnoises_VHrects, t.get(), 8, 16, 24, 99);
  EXPECT_EQ(r.code, 50);
  EXPECT_EQ(r.level, 50 / 64.0);
}

TEST(ClassicGen, SolidCodesOfTheOutcomeTable)
{
  auto t = seededCellTables();
  const int16_t solid[8] = {-160, 58, 6, -162, 14, -92, -160, 66};
  for (int16_t w = 0; w < 8; w++) {
    // Shape 0 (x >> 10 = -w mod 8): x & 31 = z & 31 = 0 is solid.
    const int32_t x = ((8 - w) & 7) * 1024;
    const Result r = run(LABTXT3D_ClassicGen, t.get(), x, 100, 0, w);
    EXPECT_EQ(r.level, 1.0) << w;
    EXPECT_EQ(r.code, solid[w]) << w;
  }
}

TEST(ClassicGen, NextShapeEvery1024UnitsOfX)
{
  auto t = seededCellTables();
  // The levels follow the shape alone, so x + 1024 with variant w draws as
  // x with variant w + 1.
  for (int16_t w = 0; w < 7; w++) {
    for (int32_t y = 0; y < 128; y += 3) {
      for (int32_t x = -64; x < 64; x += 5) {
        for (int32_t z = -40; z < 40; z += 7) {
          const double a = run(LABTXT3D_ClassicGen, t.get(), x + 1024, y, z, w).level;
          const double b = run(LABTXT3D_ClassicGen, t.get(), x, y, z, int16_t(w + 1)).level;
          ASSERT_EQ(a, b) << w << " " << x << " " << y << " " << z;
        }
      }
    }
  }
}

TEST(ShapeIndex, ClassicEvery1024UnitsBlockShapesSixteenUnitsLater)
{
  EXPECT_EQ(kvcell::classicShapeIndex(0, 1023), 0);
  EXPECT_EQ(kvcell::classicShapeIndex(0, 1024), 1);
  EXPECT_EQ(kvcell::classicShapeIndex(2, -1), 1);
  EXPECT_EQ(kvcell::blockShapeIndex(0, 15), 7);
  EXPECT_EQ(kvcell::blockShapeIndex(0, 16), 0);
  EXPECT_EQ(kvcell::blockShapeIndex(3, 1040), 4);
  EXPECT_EQ(kvcell::blockShapeIndex(0, INT32_MIN), 7);  // INT32_MIN - 16 wraps to the top
}

TEST(BuildComposites, VariantFourIsBuildBShiftedOutsideTheCornerBlocks)
{
  auto t = seededCellTables();
  for (int32_t z = -100; z < 100; z += 3) {
    for (int32_t x = -100; x < 100; x += 3) {
      const bool corner = ((x + 48) & 64) && ((z + 48) & 64);
      for (int32_t y = 0; y < 80; y += 7) {
        const Result c = run(LABTXT3D_BuildComposites, t.get(), x, y, z, 4);
        const Result b = corner ? run(LABTXT3D_BuildB, t.get(), x, y, z, 5)
                                : run(LABTXT3D_BuildB, t.get(), x - 8, y, z, 7);
        ASSERT_EQ(c.level, b.level) << x << " " << y << " " << z;
        ASSERT_EQ(c.code, b.code) << x << " " << y << " " << z;
      }
    }
  }
}

TEST(BuildAalt, CodesOfEightAndUpFollowTheRulesOfZeroToThree)
{
  auto t = seededCellTables();
  const int16_t pairs[][2] = {{8, 0}, {9, 1}, {10, 2}, {11, 3}, {-8, 0}};
  for (const auto& p : pairs) {
    for (int32_t y = 0; y < 70; y += 3) {
      for (int32_t x = -40; x < 40; x += 3) {
        for (int32_t z = -40; z < 40; z += 5) {
          if (p[1] == 3 && (((x + 1) & 15) < 3 || ((z + 1) & 15) < 3))
            continue;  // code 3 has gaps of its own, every 32 units
          const Result a = run(LABTXT3D_BuildAalt, t.get(), x, y, z, p[0]);
          const Result b = run(LABTXT3D_BuildAalt, t.get(), x, y, z, p[1]);
          ASSERT_EQ(a.level, b.level) << p[0] << " " << x << " " << y << " " << z;
          ASSERT_EQ(a.code, b.code) << p[0] << " " << x << " " << y << " " << z;
        }
      }
    }
  }
}

// With every permutation entry 700 every hash is 700 (h & 3 = 0, h & 7 = 4,
// h & 31 = 28, h % 48 = 28, h / 256 = 2.734375), so each rule can be worked
// by hand.
TEST(Generators, HandWorkedRulesOnAConstantHash)
{
  auto t = constantTables(700);
  struct Case
  {
    const char* rule;
    CellTexture3DProc cell;
    int16_t code;
    int32_t x, y, z;
    double level;
    int16_t expected;
  };
  const Case cases[] = {
      {"A4 w1 window: -(h % 48) - 110", LABTXT3D_BuildA4, 1, 5, 5, 5, 0.25, -138},
      {"A4 w0 upper half: parity + 6", LABTXT3D_BuildA4, 0, 5, 20, 5, 1.0, 6},
      {"I w2 window: H(4) & 7 + 32", LABTXT3D_BuildI, 2, 5, 5, 5, 0.0, 36},
      {"I edge with x7, z7 nonzero", LABTXT3D_BuildI, 0, 1, 5, 5, 1.0, -100},
      {"V1 w1 window", LABTXT3D_BuildV1, 1, 5, 5, 5, 0.0, 24},
      {"V1 w0 + 1 where z & 256", LABTXT3D_BuildV1, 0, 5, 5, 261, 0.0, 24},
      {"F w0 low window: even g", LABTXT3D_BuildF, 0, 5, 5, 5, 1.0, 20},
      {"Others w7 k odd window", LABTXT3D_BuildOthers, 23, 5, 5, 5, 0.0, 8},
      {"Others w4 k even box", LABTXT3D_BuildOthers, 4, 3, 3, 3, 1.0, 20},
      {"D w1 window: Hy4 > 511", LABTXT3D_BuildD, 1, 12, 12, 5, 0.0, 35},
      {"WA w0 rectangle 6", LABTXT3D_BuildWA, 0, 5, 5, 5, 0.0, 62},
      {"Aalt c1 window test fails", LABTXT3D_BuildAalt, 1, 5, 8, 5, 0.4, 4},
      {"Aalt c4 upper window", LABTXT3D_BuildAalt, 4, 5, 5, 5, 0.33, -44},
      {"B w2 window", LABTXT3D_BuildB, 2, 5, 41, 5, 0.4 * 700 / 1024.0, 100},
      {"B w7 roof at storey line 7", LABTXT3D_BuildB, 7, 5, 39, 20, 0.75, 34},
      {"BGen w3 low window (shape 2)", LABTXT3D_BuildBGen, 3, 5, 5, 5, 0.0, 72},
  };
  for (const Case& c : cases) {
    const Result r = run(c.cell, t.get(), c.x, c.y, c.z, c.code);
    EXPECT_EQ(r.level, c.level) << c.rule;
    EXPECT_EQ(r.code, c.expected) << c.rule;
  }
}

TEST(VectorTwins, HandWorkedRulesOnAConstantHash)
{
  auto t = constantTables(700);
  struct Case
  {
    const char* rule;
    CellTexture3DVecProc cell;
    int16_t code, flag;
    int32_t x, y, z;
    double height, light;
  };
  const double r = 700 / 1024.0, T = 700 / 256.0;
  const Case cases[] = {
      {"E w1 odd storey", LABTXT3D_AR_BuildE, 1, 1, 3, 44, 3, 0.0, 0.5 * r + 1.0},
      {"E w1 storey line", LABTXT3D_AR_BuildE, 1, 1, 3, 40, 3, 0.0, 1.5},
      {"I w3 inner", LABTXT3D_AR_BuildI, 3, 1, 5, 5, 5, 0.0, 2.0},
      {"F w1 window below T(3.0)", LABTXT3D_AR_BuildF, 1, 1, 5, 40, 5, 0.0, 2.5},
      {"V1 w0 core window", LABTXT3D_AR_BuildV1, 0, 1, 5, 5, 5, 1.0, 2.0},
      {"Aalt w2 unlit storey", LABTXT3D_AR_BuildAalt, 2, 1, 5, 9, 5, 0.0, 3.5},
      {"Aalt w3 upper storey", LABTXT3D_AR_BuildAalt, 3, 1, 5, 5, 5, 0.5, 0.0},
      {"WA w2 lower band", LABTXT3D_AR_BuildWA, 2, 1, 5, 9, 5, 4.0, 0.0},
      {"D flag clear w3", LABTXT3D_AR_BuildD, 3, 0, 5, 5, 5, 0.0, 188 / 128.0},
      {"Vlines", LABTXT3D_AR_BuildVlines, 0, 1, 5, 9, 5, T, 0.0},
      {"BW", LABTXT3D_AR_BuildBW, 0, 1, 5, 5, 13, T, 3.5},
      {"pillar", LABTXT3D_AR_BuildA, 2, 0, 2, 9, 0, 0.0, 2.0},
      {"pillar top", LABTXT3D_AR_BuildA, 2, 0, 10, 9, 4, 4.0, 2.0},
      {"no pillar", LABTXT3D_AR_BuildA, 2, 0, 6, 9, 2, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    const Pair p = runVec(c.cell, t.get(), c.x, c.y, c.z, c.code, c.flag);
    EXPECT_EQ(p.height, c.height) << c.rule;
    EXPECT_EQ(p.light, c.light) << c.rule;
  }
}

// ---- vector twins ----

TEST(VectorTwins, FlagClearGivesNothing)
{
  auto t = seededCellTables();
  const CellTexture3DVecProc cells[] = {LABTXT3D_AR_BuildV1,    LABTXT3D_AR_BuildE,
                                        LABTXT3D_AR_BuildB,     LABTXT3D_AR_BuildWA,
                                        LABTXT3D_AR_ClassicGen, LABTXT3D_AR_BuildBGen};
  for (CellTexture3DVecProc cell : cells) {
    for (int16_t c = 0; c < 8; c++) {
      for (int32_t y = -20; y < 100; y += 3) {
        for (int32_t x = -40; x < 40; x += 3) {
          const Pair p = runVec(cell, t.get(), x, y, 7, c, 0);
          ASSERT_EQ(p.height, 0.0);
          ASSERT_EQ(p.light, 0.0);
        }
      }
    }
  }
}

TEST(VectorTwins, BuildAOddVariantStopsOnTheFloorBand)
{
  auto t = seededCellTables();
  for (int16_t v : {1, 3, 5, 7}) {
    for (int32_t x = -20; x < 20; x++) {
      const Pair p = runVec(LABTXT3D_AR_BuildA, t.get(), x, 32, 5, v, 1);
      EXPECT_EQ(p.height, 0.0);
      EXPECT_EQ(p.light, 1.0);
    }
  }
  // An even variant goes on: at y & 31 = 1 an inner point reaches the
  // window rule (light 4.0 for variant 0).
  EXPECT_EQ(runVec(LABTXT3D_AR_BuildA, t.get(), 5, 33, 5, 0, 1).light, 4.0);
}

TEST(VectorTwins, HashOf512IsNotAboveTwoButBuildDKeepsIt)
{
  auto t = constantTables(512);
  // A lit inner point of variant 0: T(2.0) of 512 / 256 = 2.0 is 0.
  const Pair a = runVec(LABTXT3D_AR_BuildA, t.get(), 5, 12, 5, 0, 1);
  EXPECT_EQ(a.height, 0.0);
  EXPECT_EQ(a.light, 4.0);
  // BuildD variant 2 keeps r = 2.0 (r >= 1.5).
  const Pair d = runVec(LABTXT3D_AR_BuildD, t.get(), 5, 12, 5, 2, 1);
  EXPECT_EQ(d.height, 2.0);
  EXPECT_EQ(d.light, 2.0);
}

TEST(VectorTwins, CityAAndCompositesRewriteTheVariant)
{
  auto t = seededCellTables();
  // On a street of the 16-unit network the block code is -2: no building.
  const Pair street = runVec(LABTXT3D_AR_cityA, t.get(), -15, 40, 100, 5, 1);
  EXPECT_EQ(street.code0, -2);
  EXPECT_EQ(street.code1, 1);
  EXPECT_EQ(street.height, 0.0);
  EXPECT_EQ(street.light, 0.0);
  // Composites variant 4 hands its points to BuildB as variant 5 or 7.
  const Pair corner = runVec(LABTXT3D_AR_Composites, t.get(), 20, 40, 20, 4, 1);
  EXPECT_EQ(corner.code0, 5);
  const Pair other = runVec(LABTXT3D_AR_Composites, t.get(), 0, 40, 0, 4, 1);
  EXPECT_EQ(other.code0, 7);
  const Pair b = runVec(LABTXT3D_AR_BuildB, t.get(), -8, 40, 0, 7, 1);
  EXPECT_EQ(other.height, b.height);
  EXPECT_EQ(other.light, b.light);
}

// ---- every 3D cell ----

// Coordinates around 0 and at both ends of the 32-bit range.
std::vector<int32_t> sweepCoordinates()
{
  return {INT32_MIN, INT32_MIN + 1, INT32_MIN + 9, -1025,         -33,      -1, 0, 1, 7, 31,
          32,        1023,          INT32_MAX - 9, INT32_MAX - 1, INT32_MAX};
}

TEST(Cells3D, SweepOverCodesFlagsAndTheWholeRange)
{
  auto t = seededCellTables();
  const std::vector<int32_t> v = sweepCoordinates();
  for (const kvcell::CellEntry3D& e : kvcell::cells3D()) {
    SCOPED_TRACE(e.name);
    // The city plans write their block code into code[0].
    const std::set<std::string> rewriting = {"LABTXT3D_AR_cityA", "LABTXT3D_AR_cityB",
                                             "LABTXT3D_AR_cityC", "LABTXT3D_AR_Composites"};
    const bool rewrites = rewriting.count(e.name) != 0;
    for (int16_t code = -8; code <= 15; code++) {
      for (int32_t x : v) {
        for (int32_t y : v) {
          for (int32_t z : v) {
            if (e.form == kvcell::Form3D::Cell) {
              ASSERT_TRUE(std::isfinite(run(e.cell, t.get(), x, y, z, code).level));
              continue;
            }
            for (int16_t flag : {0, 1}) {
              const Pair p = runVec(e.vector, t.get(), x, y, z, code, flag);
              ASSERT_TRUE(std::isfinite(p.height) && std::isfinite(p.light));
              ASSERT_EQ(p.untouched, kSentinel);
              ASSERT_EQ(p.code1, flag);
              if (!rewrites) {
                ASSERT_EQ(p.code0, code) << x << " " << y << " " << z;
              }
            }
          }
        }
      }
    }
  }
}

TEST(Cells3D, ListNamesEveryGeneratorOnce)
{
  std::set<std::string> names;
  for (const kvcell::CellEntry3D& e : kvcell::cells3D()) {
    EXPECT_TRUE(names.insert(e.name).second) << e.name;
    EXPECT_EQ(kvcell::findCell3D(e.name), &e);
    EXPECT_EQ(e.form == kvcell::Form3D::Cell, e.cell != nullptr);
    EXPECT_EQ(e.form == kvcell::Form3D::Vector, e.vector != nullptr);
  }
  EXPECT_EQ(names.size(), 76u);
  EXPECT_EQ(kvcell::findCell3D("LABTexture_Nowhere"), nullptr);
}

}  // namespace
