// The tech set and the patchwork cities on the identity permutation, where
// the lattice hashes are sums of the cell indices: H(3; x, y, z) =
// (x >> 3) + (y >> 3) + (z >> 3) and H(4; y, x, z) = (y >> 4) + (x >> 4) +
// (z >> 4) near the origin.
#include "celltextures/city_techset.h"

#include <gtest/gtest.h>
#include <set>

#include "cell_test_support.h"
#include "celltextures/building_shapes.h"
#include "celltextures/buildings.h"
#include "celltextures/city_ground.h"
#include "celltextures/streets.h"

namespace {

struct Cell
{
  double level;
  int16_t code;
};

Cell run(CellTexture3DProc cell, const KVtables* t, int32_t x, int32_t y, int32_t z,
         int16_t code = 0)
{
  Cell r{0, code};
  r.level = cell(t, x, y, z, &r.code);
  return r;
}

TEST(TechSet, CityStreetsAndRecessesHaveNegativeLevels)
{
  auto t = identityCellTables();
  struct Row
  {
    int32_t x, y, z;
    double level;
    int16_t code;
  };
  const Row rows[] = {
      {1, 40, 9, -0.75, -50},   // x & 15 below 2
      {9, 40, 17, -0.75, -50},  // z & 15 below 2
      {10, 3, 4, -0.5, 5},      // h = 1: a recess, code 5 from the hash
      {18, 3, 4, 1.0, 0},       // h = 2, x & 7 = 2: the lit half
      {22, 3, 4, -0.5, -150},   // h = 2, x & 7 = 6: the recessed half
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.x << " " << r.y << " " << r.z);
    const Cell c = run(LABTXT3D_City, t.get(), r.x, r.y, r.z, 77);
    EXPECT_EQ(c.level, r.level);
    EXPECT_EQ(c.code, r.code);
  }
}

TEST(TechSet, MayanAddsTheStepOncePerNestedBox)
{
  auto t = identityCellTables();
  // x >> 4 = 4 makes h = 4: nested boxes i < p < 15 - i, i = 1..7, code of
  // box i ((i - 1) & 3) + 8; base kind 0 (solid where x15 and y15 lie in
  // 1..14: level 0.25).
  const double d = 4 / 2048.0;
  struct Row
  {
    int32_t p;  // x15 = y15 = z15
    int boxes;
    int16_t code;
  };
  for (const Row& r : {Row{7, 6, 9}, Row{2, 1, 8}, Row{5, 4, 11}}) {
    const Cell c = run(LABTXT3D_Mayan, t.get(), 64 + r.p, r.p, r.p);
    EXPECT_DOUBLE_EQ(c.level, 0.25 + r.boxes * d) << r.p;
    EXPECT_EQ(c.code, r.code) << r.p;
  }
  const Cell outside = run(LABTXT3D_Mayan, t.get(), 64, 7, 7);  // x15 = 0: no base, no box
  EXPECT_EQ(outside.level, 0.0);
  EXPECT_EQ(outside.code, -60);
  // h = 1: boxes (2, 11), (3, 9), (4, 7), codes 0, 1, 2
  const Cell h1 = run(LABTXT3D_Mayan, t.get(), 16 + 5, 5, 5);
  EXPECT_DOUBLE_EQ(h1.level, 0.25 + 3 / 2048.0);
  EXPECT_EQ(h1.code, 2);
}

TEST(TechSet, StrataFollowYAloneAndSignsWriteCode4First)
{
  auto t = seededCellTables();
  for (int32_t y : {-5000, -3, 0, 17, 900}) {
    const Cell a = run(LABTXT3D_VStrat, t.get(), 0, y, 0);
    for (int32_t x : {-77, 5, 123456}) {
      const Cell b = run(LABTXT3D_VStrat, t.get(), x, y, -x * 3);
      EXPECT_EQ(a.level, b.level);
      EXPECT_EQ(a.code, b.code);
    }
  }
  for (CellTexture3DProc sign : {LABTXT3D_BSigns, LABTXT3D_ASigns}) {
    for (int32_t x : {0, 3, 100}) {
      const Cell c = run(sign, t.get(), x, 16 + 5, 7, -33);
      EXPECT_EQ(c.level, 0.0);
      EXPECT_EQ(c.code, 4);
    }
  }
}

TEST(TechSet, SmallTilesOnTheIdentity)
{
  auto t = identityCellTables();
  // TB: 16-unit frames give code 3, level 1.0 whatever the hash
  EXPECT_EQ(run(LABTXT3D_TB, t.get(), 16, 5, 5).code, 3);
  // TB, h = H(4) = 0 inside: code 5, level 0.0
  const Cell tb = run(LABTXT3D_TB, t.get(), 5, 5, 5);
  EXPECT_EQ(tb.code, 5);
  EXPECT_EQ(tb.level, 0.0);
  // TC: not inner gives code 4; inner with h = 0 (r 0): odd x gives code 0
  EXPECT_EQ(run(LABTXT3D_TC, t.get(), 8, 5, 5).code, 4);
  EXPECT_EQ(run(LABTXT3D_TC, t.get(), 5, 5, 5).code, 0);
  EXPECT_EQ(run(LABTXT3D_TC, t.get(), 4, 5, 5).code, 5);
  // TA, r 2 (h = 2, z >> 3 = 2): a bar where z & 7 < 3
  const Cell ta = run(LABTXT3D_TA, t.get(), 5, 5, 17);
  EXPECT_EQ(ta.code, 2);
  EXPECT_EQ(ta.level, 1.0);
  EXPECT_EQ(run(LABTXT3D_TA, t.get(), 5, 5, 20).level, 0.0);
  // A: not inner code -12; h = 1 (s 0): code -110 and level h / 1024
  EXPECT_EQ(run(LABTXT3D_A, t.get(), 8, 5, 5).code, -12);
  const Cell a = run(LABTXT3D_A, t.get(), 9, 5, 5);
  EXPECT_EQ(a.code, -110);
  EXPECT_EQ(a.level, 1 / 1024.0);
}

TEST(Patchwork, City1Case2InvertsBuildB)
{
  auto t = seededCellTables();
  // The block kind is b = c + perm[(((z + 11) >> 9) + perm[(x + 11) >> 11])
  // & 1023] for coordinates below 2^20; kind 2 returns 1.0 less BuildB's
  // level.
  int blocks = 0;
  bool sawWindow = false;
  for (int32_t z = 0; z < 64000 && blocks < 12; z += 16 * 37) {
    for (int32_t x = 0; x < 64000 && blocks < 12; x += 16 * 29) {
      int16_t c = 0;
      StreetsNetworkMask(t.get(), (x + 15) >> 4, (z + 15) >> 4, 0.0, &c);
      const int32_t kind = c + t->perm[(((z + 11) >> 9) + t->perm[(x + 11) >> 11]) & 1023];
      if (c < 0 || (kind & 15) != 2)
        continue;
      blocks++;
      for (int32_t y = 1; y < 64; y += 2) {
        for (int32_t d = 0; d < 256; d += 3) {
          // x - dx, z - dz stay in the block of (x, z) ((x + 15) >> 4)
          const int32_t px = x - (d & 15), pz = z - (d >> 4);
          const Cell p = run(LABTXT3D_Patchwork_City1, t.get(), px, y, pz, 99);
          const Cell b = run(LABTXT3D_BuildB, t.get(), px + 11, y, pz + 11, c);
          ASSERT_EQ(p.level, 1.0 - b.level);
          ASSERT_EQ(p.code, b.code);
          sawWindow |= b.level == 0.0 && p.level == 1.0;
        }
      }
    }
  }
  EXPECT_GT(blocks, 0);
  EXPECT_TRUE(sawWindow);
}

TEST(Patchwork, City3GeneratorReadsTheBlockCodeItWrote)
{
  auto t = identityCellTables();
  // on the identity b = s + ((z + 12) >> 8) + ((x + 12) >> 8) + 4, the code
  // s + ((b >> 5) & 7) + 1, the generator by b & 15 in pairs: A A B B D D E
  // E F F I I V1 V1 Aalt Aalt
  const CellTexture3DProc pairs[8] = {LABTXT3D_BuildA,  LABTXT3D_BuildB,   LABTXT3D_BuildD,
                                      LABTXT3D_BuildE,  LABTXT3D_BuildF,   LABTXT3D_BuildI,
                                      LABTXT3D_BuildV1, LABTXT3D_BuildAalt};
  std::set<int32_t> kinds;
  for (int32_t x = 0; x < 3000; x += 37) {
    for (int32_t z = 0; z < 3000; z += 41) {
      const int32_t s = LABTXT_StreetsFlags(t.get(), (x + 12) >> 4, (z + 12) >> 4);
      const int32_t b = s + ((z + 12) >> 8) + ((x + 12) >> 8) + 4;
      for (int32_t y : {-3, 0, 9, 40}) {
        const Cell p = run(LABTXT3D_Patchwork_City3, t.get(), x, y, z, 5);
        const Cell g = s < 0 || y <= 0
                           ? run(LABTXT3D_groundC3, t.get(), x + 11, y, z + 11, int16_t(s))
                           : run(pairs[(b & 15) >> 1], t.get(), x + 11, y, z + 11,
                                 int16_t(s + ((b >> 5) & 7) + 1));
        ASSERT_EQ(p.level, g.level) << x << " " << y << " " << z;
        ASSERT_EQ(p.code, g.code) << x << " " << y << " " << z;
      }
      kinds.insert(b & 15);
    }
  }
  EXPECT_EQ(kinds.size(), 16u);
}

TEST(Patchwork, City2TakesTheGroundBelowY8)
{
  auto t = seededCellTables();
  for (int32_t x = -64; x < 64; x += 9) {
    for (int32_t z = -64; z < 64; z += 11) {
      int16_t c = 0;
      StreetsNetworkMask(t.get(), (x + 15) >> 4, (z + 15) >> 4, 0.0, &c);
      for (int32_t y : {0, 7}) {
        const Cell p = run(LABTXT3D_Patchwork_City2, t.get(), x, y, z);
        const Cell g = run(LABTXT3D_groundC2, t.get(), x + 11, y, z + 11, c);
        EXPECT_EQ(p.code, g.code);
      }
      if (c < 0) {  // below the ground plane: the street marks at level 0.0
        int16_t marks = c;
        LABTXT_StreetsMarks(t.get(), (x + 7) >> 1, (z + 7) >> 1, &marks);
        const Cell p = run(LABTXT3D_Patchwork_City2, t.get(), x, -1, z);
        EXPECT_EQ(p.code, marks);
        EXPECT_EQ(p.level, 0.0);
      }
    }
  }
}

}  // namespace
