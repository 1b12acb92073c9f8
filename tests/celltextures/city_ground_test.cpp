// Ground cells: hand-worked ground codes by type, the paved squares, the
// ground-marks type, the two vector grounds and the rule that no ground
// cell reads y.
#include "celltextures/city_ground.h"

#include <gtest/gtest.h>
#include <set>

#include "cell_test_support.h"
#include "celltextures/techmotifs.h"

namespace {

struct Cell
{
  double level;
  int16_t code;
};

Cell run(CellTexture3DProc cell, const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t code)
{
  Cell r{0, code};
  r.level = cell(t, x, y, z, &r.code);
  return r;
}

dvector3d runVec(CellTexture3DVecProc cell, const KVtables* t, int32_t x, int32_t z, int16_t code)
{
  dvector3d out{-1, -1, -1};
  int16_t pair[2] = {code, 1};
  cell(t, x, 5, z, &out, pair);
  return out;
}

TEST(GroundCells, CodesByTypeAtFramesB8AndBits3)
{
  auto t = seededCellTables();
  // frame (0, 5); b8 with bits 3 agreeing (9, 9); neither, bits 3 differ
  // (9, 1); bits 3 agree without b8 (1, 1).
  struct Row
  {
    int16_t k;
    int32_t x, z;
    int16_t c2, c3;
  };
  const Row rows[] = {
      {0, 9, 9, -100, -100}, {3, 0, 5, -128, -128},  {3, 9, 9, -160, -160},  {3, 1, 1, -96, -96},
      {4, 9, 9, -32, -100},  {4, 9, 1, -100, -32},   {5, 16, 3, -200, -200}, {5, 9, 1, -130, -130},
      {6, 0, 5, -200, -200}, {6, 9, 1, -130, -130},  {10, 9, 9, 16, 16},     {10, 9, 1, -160, -160},
      {11, 1, 1, 72, 14},    {11, 9, 1, -200, -200}, {12, 16, 3, -80, -100}, {12, 1, 1, -110, -35},
      {12, 1, 28, -110, 88}, {14, 1, 8, -80, -20},   {14, 1, 1, -130, -65},  {14, 28, 1, -130, 90},
      {15, 0, 5, -80, -80},  {15, 9, 1, -130, -130},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << "k " << r.k << " at " << r.x << ", " << r.z);
    const Cell c2 = run(LABTXT3D_groundC2, t.get(), r.x, 3, r.z, r.k);
    const Cell c3 = run(LABTXT3D_groundC3, t.get(), r.x, 3, r.z, int16_t(r.k + 32));
    EXPECT_EQ(c2.level, 0.0);
    EXPECT_EQ(c2.code, r.c2);
    EXPECT_EQ(c3.level, 0.0);
    EXPECT_EQ(c3.code, r.c3);
  }
}

TEST(GroundCells, PavedSquaresGiveTheFourTruncatedShades)
{
  auto t = seededCellTables();
  // where x & 15 = 0 the square's kerb comes before the hash, whatever it is
  auto other = seededCellTables(11), id = identityCellTables();
  for (const KVtables* tables : {other.get(), id.get()}) {
    for (int32_t z : {-300, 1, 77})
      EXPECT_EQ(run(LABTXT3D_groundC2, tables, 32, 0, z, 7).code, -60);
  }
  std::set<int16_t> c2, c3;
  for (int32_t x = 1; x < 4000; x += 7) {
    for (int32_t z = 1; z < 4000; z += 13) {
      if ((x & 15) != 0 && (z & 15) != 0)
        c2.insert(run(LABTXT3D_groundC2, t.get(), x, 0, z, 8).code);
      c3.insert(run(LABTXT3D_groundC3, t.get(), x, 0, z, 1).code);
    }
  }
  EXPECT_EQ(c2, (std::set<int16_t>{-102, -94, -86, -78}));
  EXPECT_EQ(c3, (std::set<int16_t>{-136, -118, -100, -82}));
  // identity: g = ((x >> 6) + (z >> 6)) mod 12; x = 65, z = 1 is kind 1 with
  // ((x >> 1) & 31) = 0, so t = 0.5
  EXPECT_EQ(run(LABTXT3D_groundC2, id.get(), 65, 0, 1, 7).code, -86);
  // kind 11 (x >> 6 = 11): t = 1.0
  EXPECT_EQ(run(LABTXT3D_groundC2, id.get(), 11 * 64 + 3, 0, 1, 7).code, -102);
  // third city, kind 8 ((x >> 5) = 8): t = 0.25
  EXPECT_EQ(run(LABTXT3D_groundC3, id.get(), 8 * 32 + 3, 0, 1, 1).code, -82);
}

TEST(GroundCells, GroundC3Type8IsType15AndType9IsTheGroundMarks)
{
  auto t = seededCellTables();
  for (int32_t x = -40; x < 40; x += 3) {
    for (int32_t z = -40; z < 40; z += 5) {
      const Cell k8 = run(LABTXT3D_groundC3, t.get(), x, 1, z, 8);
      const Cell k15 = run(LABTXT3D_groundC3, t.get(), x, 1, z, 15);
      EXPECT_EQ(k8.code, k15.code);
      const Cell k9 = run(LABTXT3D_groundC3, t.get(), x, 1, z, 9);
      int16_t marks = 9;
      const double level = LABTXT_TEK_groundmarks(t.get(), x >> 1, z >> 1, &marks);
      EXPECT_EQ(k9.level, level);
      EXPECT_EQ(k9.code, marks);
    }
  }
}

TEST(GroundCells, NoGroundCellReadsY)
{
  auto t = seededCellTables();
  for (int16_t k = -16; k < 16; k++) {
    for (int32_t x : {-1000, -9, 0, 7, 33, 100000}) {
      for (int32_t z : {-77, 0, 9, 1023}) {
        const Cell c2 = run(LABTXT3D_groundC2, t.get(), x, 0, z, k);
        const Cell c3 = run(LABTXT3D_groundC3, t.get(), x, 0, z, k);
        for (int32_t y : {-100, 1, 64}) {
          const Cell o2 = run(LABTXT3D_groundC2, t.get(), x, y, z, k);
          const Cell o3 = run(LABTXT3D_groundC3, t.get(), x, y, z, k);
          EXPECT_EQ(o2.code, c2.code);
          EXPECT_EQ(o3.code, c3.code);
          EXPECT_EQ(o3.level, c3.level);
        }
      }
    }
  }
}

TEST(GroundCells, VectorGroundsDifferAtType4)
{
  auto t = seededCellTables();
  // (8, 8): b8, bits 3 agree; (8, 0): no b8, bits 3 differ; (0, 0): neither
  struct Row
  {
    int32_t x, z;
    double ground, groundC;
  };
  for (const Row& r : {Row{8, 8, 3.0, 1.0}, Row{8, 0, 1.0, 3.0}, Row{0, 0, 1.0, 1.0}}) {
    const dvector3d a = runVec(LABTXT3D_AR_ground, t.get(), r.x, r.z, 4);
    const dvector3d c = runVec(LABTXT3D_AR_groundC, t.get(), r.x, r.z, 4);
    EXPECT_EQ(a.x, 0.0);
    EXPECT_EQ(a.y, r.ground);
    EXPECT_EQ(c.y, r.groundC);
    EXPECT_EQ(a.z, -1.0);  // out.z untouched
  }
  // shared types; type 14 raises the third city's ground where z & 8
  EXPECT_EQ(runVec(LABTXT3D_AR_ground, t.get(), 1, 1, 3).y, 2.0);
  EXPECT_EQ(runVec(LABTXT3D_AR_groundC, t.get(), 0, 1, 5).y, 0.5);
  EXPECT_EQ(runVec(LABTXT3D_AR_ground, t.get(), 3, 11, 6).y, 1.0);
  EXPECT_EQ(runVec(LABTXT3D_AR_groundC, t.get(), 1, 8, 14).x, 1.0);
  EXPECT_EQ(runVec(LABTXT3D_AR_ground, t.get(), 1, 8, 14).x, 0.0);
}

TEST(GroundCells, GroundCType9LightsOnlyThePlainGroundOfTheMarks)
{
  auto t = seededCellTables();
  int lit = 0, dark = 0;
  for (int32_t x = -200; x < 200; x += 3) {
    for (int32_t z = -200; z < 200; z += 7) {
      const bool plain = LABTXT_TEK_groundmarks(t.get(), x >> 1, z >> 1, nullptr) == 0.5;
      const dvector3d v = runVec(LABTXT3D_AR_groundC, t.get(), x, z, 9);
      if (!plain) {
        EXPECT_EQ(v.y, 0.0);
        dark++;
      } else {
        EXPECT_LT(v.y, 0.5);
        lit += v.y > 0;
      }
    }
  }
  EXPECT_GT(lit, 0);
  EXPECT_GT(dark, 0);
}

}  // namespace
