// Wall cells: the window walls and their incoming code, the 128-unit joints
// and floors of the concrete walls, the half-scale floor of the big bricks,
// ranges of the grain-driven codes, and the wall colour cycle.
#include "celltextures/city_walls.h"

#include <cmath>
#include <gtest/gtest.h>

#include "cell_test_support.h"
#include "foundation/colormath.h"

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

bool isWindow(const Cell& c)
{
  return c.level == -2.0 && c.code == -1;
}

TEST(WallCells, WindowWallsCutWindowsOnlyForANonzeroCode)
{
  auto t = seededCellTables();
  for (CellTexture3DProc wall : {LABTXT3D_StonesNWindow, LABTXT3D_WhiteNWindow}) {
    int windows = 0;
    for (int32_t y = 0; y < 160; y += 3) {
      for (int32_t x = -300; x < 300; x += 5) {
        for (int32_t z : {-37, 5, 70}) {
          const Cell closed = run(wall, t.get(), x, y, z, 0);
          EXPECT_GE(closed.level, 0.0);
          EXPECT_NE(closed.code, -1);
          const Cell open = run(wall, t.get(), x, y, z, 3);
          if (isWindow(open))
            windows++;
          else
            EXPECT_EQ(open.code, run(wall, t.get(), x, y, z, 1).code);
        }
      }
    }
    EXPECT_GT(windows, 0);
  }
  // PlatesNWindow cuts its windows whatever the code
  int windows = 0;
  for (int32_t y = 32; y < 200; y += 1)
    for (int32_t x = 17; x < 600; x += 32)
      windows += isWindow(run(LABTXT3D_PlatesNWindow, t.get(), x, y, 20, 0));
  EXPECT_GT(windows, 0);
}

TEST(WallCells, WhiteWallIsPavementBelowTheGround)
{
  auto t = seededCellTables();
  for (int32_t x : {-9, 0, 44})
    for (int32_t z : {-100, 3}) {
      int16_t code = 0;
      const double level = LABTXT2D_paves(t.get(), x, z, &code);
      const Cell w = run(LABTXT3D_WhiteNWindow, t.get(), x, -1, z, 5);
      EXPECT_EQ(w.level, level);
      EXPECT_EQ(w.code, code);
    }
}

TEST(WallCells, ConcreteJointsFloorsAndHalfScaleBricks)
{
  auto t = seededCellTables();
  for (int32_t x : {-513, -1, 0, 37, 1000}) {
    for (int32_t z : {-90, 0, 61}) {
      SCOPED_TRACE(::testing::Message() << x << ", " << z);
      // the 128-unit joint, y = 0 included, comes before the floor
      for (CellTexture3DProc wall : {LABWALL_ConcreteB, LABWALL_ConcreteLines}) {
        for (int32_t y : {0, 128, -256}) {
          const Cell c = run(wall, t.get(), x, y, z, 9);
          EXPECT_EQ(c.level, 0.0);
          EXPECT_EQ(c.code, -70);
        }
        int16_t floor = 9;
        const double level = LABTXT3D_StonesD2D(t.get(), x >> 1, z >> 1, &floor);
        const Cell below = run(wall, t.get(), x, -5, z, 9);
        EXPECT_EQ(below.level, level);
        EXPECT_EQ(below.code, floor);
      }
      // big bricks at y = 0: the concrete panels' joint at half scale
      const Cell b = run(LABTXT3D_bricksB, t.get(), x, 0, z, 9);
      const Cell a = run(LABWALL_ConcreteA, t.get(), x >> 1, 0, z >> 1, 9);
      EXPECT_EQ(b.level, 0.0);
      EXPECT_EQ(b.code, -100);
      EXPECT_EQ(a.code, -100);
      // small bricks below y = 1 are the concrete panels themselves
      const Cell s = run(LABTXT3D_bricksA, t.get(), x, -20, z, 9);
      const Cell p = run(LABWALL_ConcreteA, t.get(), x, -20, z, 9);
      EXPECT_EQ(s.level, p.level);
      EXPECT_EQ(s.code, p.code);
    }
  }
}

TEST(WallCells, ConcreteMixPicksItsPanels)
{
  auto t = seededCellTables();
  // x & 63 = 0 or z & 255 outside 3..253: the joint
  EXPECT_EQ(run(LABWALL_ConcreteMix, t.get(), 64, 40, 10).code, -70);
  EXPECT_EQ(run(LABWALL_ConcreteMix, t.get(), 65, 40, 255).code, -70);
  struct Row
  {
    int32_t x, y, z;
    CellTexture3DProc same;
  };
  const Row rows[] = {
      {65, 40, 10, LABTXT3D_discreetplates},  // (x >> 6) & 3 = 1
      {5, 40, 10, LABWALL_ConcreteA},         // 0
      {133, 40, 10, LABWALL_ConcreteA},       // 2
      {197, 40, 10, LABTXT3D_PlatesNWindow},  // 3
      {197, 40, 300, LABWALL_ConcreteB},      // z & 256
      {65, 300, 10, LABWALL_ConcreteLines},   // (y >> 7) & 3 = 2
  };
  for (const Row& r : rows) {
    const Cell m = run(LABWALL_ConcreteMix, t.get(), r.x, r.y, r.z, 4);
    const Cell s = run(r.same, t.get(), r.x, r.y, r.z, 4);
    EXPECT_EQ(m.level, s.level) << r.x << " " << r.y << " " << r.z;
    EXPECT_EQ(m.code, s.code) << r.x << " " << r.y << " " << r.z;
  }
}

TEST(WallCells, StoneCodesStayInTheirRanges)
{
  auto t = seededCellTables();
  for (int32_t y = 1; y < 64; y += 1) {
    for (int32_t x = -64; x < 64; x += 3) {
      const Cell a = run(LABTXT3D_StonesA, t.get(), x, y, 7);
      // stones -160 - 31 - 8n .. -160; joints -80 and -70
      EXPECT_TRUE(a.code == -70 || a.code == -80 || (a.code <= -160 && a.code >= -198)) << a.code;
      EXPECT_TRUE(a.level == 0.0 || (a.level >= 1.0 && a.level < 1.0625));
      const Cell c = run(LABTXT3D_StonesC, t.get(), x, y, 7);
      EXPECT_TRUE(c.code == -90 || c.code == -80 || (c.code >= 0 && c.code <= 15));
      const Cell m = run(LABTXT3D_MotifB, t.get(), x, y, 7);
      EXPECT_TRUE(std::isfinite(m.level));
    }
  }
}

TEST(WallColors, ThreeKeysAroundTheHue)
{
  floatcolor out[16];
  Get16ColorsShade(out, 0.0, 0.125, 200, 120, 40);
  // hue - spread is -45 degrees: the first key wraps to 315
  normalcolor first, middle;
  myHSLtoRGB(315, 200, 80, &first);
  myHSLtoRGB(0, 200, 120, &middle);
  EXPECT_EQ(out[0].red, first.red);
  EXPECT_EQ(out[0].green, first.green);
  EXPECT_EQ(out[0].blue, first.blue);
  EXPECT_EQ(out[8].red, middle.red);
  EXPECT_EQ(out[8].green, middle.green);
  EXPECT_EQ(out[8].blue, middle.blue);
  // entry 4 lies halfway between the first two keys
  EXPECT_FLOAT_EQ(out[4].red, (first.red + middle.red) / 2.0f);
  // NaN and huge hues count as angle 0; lightness steps saturate at the byte
  floatcolor nan[16], zero[16];
  Get16ColorsShade(nan, std::nan(""), 1e300, 90, 100, 200);
  Get16ColorsShade(zero, 0.0, 0.0, 90, 100, 200);
  EXPECT_EQ(nan[8].red, zero[8].red);
  EXPECT_EQ(nan[0].red + nan[0].green + nan[0].blue, 0.0f);  // lightness 100 - 200: black
  for (const floatcolor& c : nan)
    EXPECT_TRUE(c.red >= 0 && c.red <= 255);
}

}  // namespace
