// The city dispatchers and the vector cities B and C: the ground tests, the
// builder tables with their halved and shifted calls, the untouched caller
// pair, and a sweep of every cell of this group over codes -130..255.
#include "celltextures/city_dispatch.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "cell_test_support.h"
#include "celltextures/building_shapes.h"
#include "celltextures/building_vectors.h"
#include "celltextures/buildings.h"
#include "celltextures/catalog3d.h"
#include "celltextures/city_ground.h"
#include "celltextures/city_techset.h"
#include "celltextures/streets.h"

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

dvector3d runVec(CellTexture3DVecProc cell, const KVtables* t, int32_t x, int32_t y, int32_t z,
                 int16_t code0, int16_t flag)
{
  dvector3d out{-7, -7, -7};
  int16_t pair[2] = {code0, flag};
  cell(t, x, y, z, &out, pair);
  return out;
}

// A few points of each kind of block, above and below the ground plane.
const int32_t kXs[] = {-1000, -17, 0, 5, 44, 300};
const int32_t kYs[] = {-9, -1, 0, 1, 7, 8, 33, 200};

TEST(CityDispatch, City1GroundAndBuildOthers)
{
  auto t = seededCellTables();
  const Cell below = run(LABTexture_City1, t.get(), 3, -1, 4, -16);
  EXPECT_EQ(below.level, 0.0);
  EXPECT_EQ(below.code, -80);
  const Cell atZero = run(LABTexture_City1, t.get(), 3, 0, 4, -16);
  EXPECT_EQ(atZero.code, -100);  // groundC2 type 0
  for (int16_t c = 80; c <= 127; c++) {
    for (int32_t x : kXs) {
      for (int32_t y : {1, 9, 70}) {
        const Cell d = run(LABTexture_City1, t.get(), x, y, x / 3, c);
        const Cell o = run(LABTXT3D_BuildOthers, t.get(), x + 11, y, x / 3 + 11, int16_t(c >> 3));
        ASSERT_EQ(d.level, o.level);
        ASSERT_EQ(d.code, o.code);
      }
    }
  }
}

TEST(CityDispatch, BuilderTablesWithHalvedCalls)
{
  auto t = seededCellTables();
  struct Row
  {
    CellTexture3DProc dispatcher;
    int16_t code;
    CellTexture3DProc generator;
    bool halved;
  };
  const Row rows[] = {
      {LABTexture_City1, 4 * 8 + 5, LABTXT3D_TB, false},
      {LABTexture_City1, 7 * 8 + 2, LABTXT3D_BSigns, false},
      {LABTexture_City2, 0 * 8 + 3, LABTXT3D_BuildComposites, false},
      {LABTexture_City2, 6 * 8 + 1, LABTXT3D_ClassicGen, false},
      {LABTexture_City2, 15 * 8 + 6, LABTXT3D_BuildAalt, false},
      {LABTexture_City3, 3 * 8 + 2, LABTXT3D_BuildE, true},  // index (3 + 4) & 15 = 7
      {LABTexture_City3, 12 * 8 + 4, LABTXT3D_BuildA, false},
      {LABTexture_City3, 2 * 8 + 7, LABTXT3D_BuildBGen, false},
      {LABTexture_CityClassic, 15 * 8 + 1, LABTXT3D_BuildE, true},  // (c >> 3) & 7 = 7
      {LABTexture_CityClassic, 8 * 8 + 0, LABTXT3D_BuildComposites, false},
      {LABTexture_CityClassic, 4 * 8 + 3, LABTXT3D_ClassicGen, false},
  };
  for (const Row& r : rows) {
    for (int32_t x : kXs) {
      for (int32_t y : {1, 8, 33, 200}) {
        const int32_t z = 7 - x;
        const Cell d = run(r.dispatcher, t.get(), x, y, z, r.code);
        const int16_t variant = r.code & 7;
        const Cell g =
            r.halved ? run(r.generator, t.get(), (x + 11) >> 1, y >> 1, (z + 11) >> 1, variant)
                     : run(r.generator, t.get(), x + 11, y, z + 11, variant);
        ASSERT_EQ(d.level, g.level) << r.code << " at " << x << " " << y;
        ASSERT_EQ(d.code, g.code) << r.code << " at " << x << " " << y;
      }
    }
  }
}

TEST(CityDispatch, GroundOfTheOtherCities)
{
  auto t = seededCellTables();
  for (int32_t x : kXs) {
    const int32_t z = x / 2 + 3;
    // City2 and CityClassic below the plane: street marks, a negative code -80
    for (CellTexture3DProc city : {LABTexture_City2, LABTexture_CityClassic}) {
      int16_t marks = -5;
      LABTXT_StreetsMarks(t.get(), (x >> 1) + 3, (z >> 1) + 3, &marks);
      const Cell d = run(city, t.get(), x, -2, z, -5);
      EXPECT_EQ(d.level, 0.0);
      EXPECT_EQ(d.code, marks < 0 ? -80 : marks);
      const Cell g = run(city, t.get(), x, 0, z, 21);  // y < 1: groundC2 on the code
      EXPECT_EQ(g.code, run(LABTXT3D_groundC2, t.get(), x + 11, 0, z + 11, 21).code);
    }
    // City3 always takes groundC3, even for a negative code below the plane
    for (int32_t y : {-4, 0}) {
      const Cell d = run(LABTexture_City3, t.get(), x, y, z, -7);
      const Cell g = run(LABTXT3D_groundC3, t.get(), x + 11, y, z + 11, -7);
      EXPECT_EQ(d.level, g.level);
      EXPECT_EQ(d.code, g.code);
    }
  }
}

// The two values a vector cell writes (out.z is never written).
bool sameOut(const dvector3d& a, const dvector3d& b)
{
  return a.x == b.x && a.y == b.y;
}

TEST(CityDispatch, VectorCity1PicksByBit7AndHasNoGround)
{
  auto t = seededCellTables();
  for (int32_t x : kXs) {
    for (int32_t y : kYs) {
      for (int16_t flag : {0, 1}) {
        const int32_t z = x + 9;
        const dvector3d v1 = runVec(LABTextureAR_City1, t.get(), x, y, z, 128 + 5, flag);
        EXPECT_TRUE(sameOut(v1, runVec(LABTXT3D_AR_BuildV1, t.get(), x + 11, y, z + 11, 5, flag)));
        const dvector3d aalt = runVec(LABTextureAR_City1, t.get(), x, y, z, 256 + 3, flag);
        EXPECT_TRUE(
            sameOut(aalt, runVec(LABTXT3D_AR_BuildAalt, t.get(), x + 11, y, z + 11, 3, flag)));
        const dvector3d neg = runVec(LABTextureAR_City1, t.get(), x, y, z, -3, flag);
        EXPECT_EQ(neg.x, 0.0);
        EXPECT_EQ(neg.y, 0.0);
      }
    }
  }
}

TEST(CityDispatch, VectorGrounds)
{
  auto t = seededCellTables();
  for (int32_t x : kXs) {
    const int32_t z = 3 - x;
    // City2: a negative code below the plane gives zero output, at y = 0
    // the vector ground on the whole code
    const dvector3d zero = runVec(LABTextureAR_City2, t.get(), x, -1, z, -13, 1);
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_TRUE(sameOut(runVec(LABTextureAR_City2, t.get(), x, 0, z, -13, 1),
                        runVec(LABTXT3D_AR_ground, t.get(), x + 11, 0, z + 11, -13, 1)));
    EXPECT_TRUE(sameOut(runVec(LABTextureAR_City3, t.get(), x, -1, z, -7, 0),
                        runVec(LABTXT3D_AR_groundC, t.get(), x + 11, -1, z + 11, -7, 0)));
    EXPECT_TRUE(sameOut(runVec(LABTextureAR_CityClassic, t.get(), x, 0, z, 60, 0),
                        runVec(LABTXT3D_AR_ground, t.get(), x + 11, 0, z + 11, 60, 0)));
    // the third city's index 7 is halved
    EXPECT_TRUE(
        sameOut(runVec(LABTextureAR_City3, t.get(), x, 40, z, 3 * 8 + 6, 1),
                runVec(LABTXT3D_AR_BuildE, t.get(), (x + 11) >> 1, 20, (z + 11) >> 1, 6, 1)));
  }
}

TEST(CityDispatch, VectorCitiesBAndC)
{
  auto t = seededCellTables();
  for (int32_t x = -300; x < 300; x += 23) {
    const int32_t z = 2 * x + 1;
    int16_t c = 0;
    StreetsNetworkMask(t.get(), (x + 15) >> 4, (z + 15) >> 4, 0.0, &c);
    for (int16_t flag : {0, 1}) {
      int16_t pair[2] = {99, flag};
      dvector3d out{0, 0, 5};
      LABTXT3D_AR_cityB(t.get(), x, 3, z, &out, pair);
      EXPECT_EQ(pair[0], c);  // the block code is written
      if (c < 0 || flag) {
        EXPECT_EQ(out.x, 0.0);
        EXPECT_EQ(out.y, 0.0);
      } else {
        EXPECT_TRUE(sameOut(out, runVec(LABTXT3D_AR_ground, t.get(), x + 11, 3, z + 11, c, 0)));
      }
    }
    const int32_t s = LABTXT_StreetsFlags(t.get(), (x + 12) >> 4, (z + 12) >> 4);
    int16_t pair[2] = {99, 1};
    dvector3d out{0, 0, 5};
    LABTXT3D_AR_cityC(t.get(), x, 0, z, &out, pair);
    EXPECT_EQ(pair[0], s);
    EXPECT_TRUE(sameOut(out, runVec(LABTXT3D_AR_groundC, t.get(), x + 11, 0, z + 11, s, 1)));
  }
}

bool inThisGroup(const std::string& name)
{
  static const char* const kPrefixes[] = {"LABTexture",         "LABTXT3D_ground",
                                          "LABTXT3D_AR_ground", "LABTXT3D_AR_cityB",
                                          "LABTXT3D_AR_cityC",  "LABWALL"};
  static const char* const kNames[] = {"LABTXT3D_A",
                                       "LABTXT3D_Mayan",
                                       "LABTXT3D_City",
                                       "LABTXT3D_VStrat",
                                       "LABTXT3D_CubeGrid",
                                       "LABTXT3D_BSigns",
                                       "LABTXT3D_ASigns",
                                       "LABTXT3D_TA",
                                       "LABTXT3D_TB",
                                       "LABTXT3D_TC",
                                       "LABTXT3D_CeramicsA",
                                       "LABTXT3D_StonesA",
                                       "LABTXT3D_StonesB",
                                       "LABTXT3D_StonesC",
                                       "LABTXT3D_StonesD",
                                       "LABTXT3D_PlatesNWindow",
                                       "LABTXT3D_discreetplates",
                                       "LABTXT3D_StonesNWindow",
                                       "LABTXT3D_WhiteNWindow",
                                       "LABTXT3D_MotifA",
                                       "LABTXT3D_MotifB",
                                       "LABTXT3D_MotifC",
                                       "LABTXT3D_bricksA",
                                       "LABTXT3D_bricksB"};
  for (const char* p : kPrefixes)
    if (name.rfind(p, 0) == 0)
      return true;
  for (const char* n : kNames)
    if (name == n)
      return true;
  return name.rfind("LABTXT3D_Patchwork", 0) == 0;
}

TEST(CityDispatch, SweepOfTheNewCellsOverCodesAndFlags)
{
  auto t = seededCellTables();
  const int32_t v[] = {INT32_MIN, -1025, -1, 0, 1, 31, 1023, INT32_MAX - 9, INT32_MAX};
  int cells = 0;
  for (const kvcell::CellEntry3D& e : kvcell::cells3D()) {
    if (!inThisGroup(e.name))
      continue;
    cells++;
    SCOPED_TRACE(e.name);
    const bool rewrites =
        std::string(e.name) == "LABTXT3D_AR_cityB" || std::string(e.name) == "LABTXT3D_AR_cityC";
    for (int16_t code = -130; code <= 255; code++) {
      for (int32_t x : v) {
        for (int32_t y : v) {
          for (int32_t z : v) {
            if (e.form == kvcell::Form3D::Cell) {
              ASSERT_TRUE(std::isfinite(run(e.cell, t.get(), x, y, z, code).level));
              continue;
            }
            for (int16_t flag : {0, 1}) {
              dvector3d out{0, 0, 0.5};
              int16_t pair[2] = {code, flag};
              e.vector(t.get(), x, y, z, &out, pair);
              ASSERT_TRUE(std::isfinite(out.x) && std::isfinite(out.y));
              ASSERT_EQ(out.z, 0.5);
              ASSERT_EQ(pair[1], flag);
              if (!rewrites) {
                ASSERT_EQ(pair[0], code);
              }
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(cells, 45);
}

}  // namespace
