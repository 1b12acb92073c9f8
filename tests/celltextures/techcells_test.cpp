// Tech motif and tech panel cells: the rules that hold over whole sweeps,
// and points worked by hand under the identity permutation.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "cell_test_support.h"
#include "celltextures/techmotifs.h"
#include "celltextures/techpanels.h"

namespace {

template <typename F>
void forGrid(F&& f)
{
  for (int32_t y = -96; y < 96; y++) {
    for (int32_t x = -160; x < 160; x++)
      f(x, y);
  }
}

TEST(TechMotifs, BuildBColumnsComeFirst)
{
  auto t = seededCellTables();
  forGrid([&](int32_t x, int32_t y) {
    int16_t code = 7;
    const double level = LABTXT_TEK_BuildB(t.get(), x, y, &code);
    EXPECT_EQ(code, 0);
    if ((x & 31) == 0) {
      EXPECT_EQ(level, 1.0) << x << " " << y;
    } else if ((y & 15) == 0) {
      EXPECT_EQ(level, 0.5) << x << " " << y;
    }
  });
}

TEST(TechMotifs, CityBlockStreetsParcelsAndTowers)
{
  auto t = seededCellTables();
  int towers = 0;
  forGrid([&](int32_t x, int32_t y) {
    int16_t code = 99;
    const double level = LABTXT_CityBblock(t.get(), x, y, 0.0, &code);
    if ((x & 15) < 2 || (y & 15) < 2) {
      EXPECT_EQ(level, -0.75);
      EXPECT_EQ(code, 6);
    }
    if (level == -0.5) {
      EXPECT_EQ(code, 6);
    }
    if (level == 2.0) {
      EXPECT_EQ(kvcell::hash(t.get(), 3, y, x) & 15, 15) << x << " " << y;
      towers++;
    }
  });
  EXPECT_GT(towers, 0);
  // Identity: block type (y >> 3) + (x >> 3) = 1 is an empty parcel.
  auto id = identityCellTables();
  int16_t code = 0;
  EXPECT_EQ(LABTXT_CityBblock(id.get(), 10, 5, 0.0, &code), -0.5);
  EXPECT_EQ(code, 6);
}

TEST(TechMotifs, MondrianRectsTruncatesItsSeed)
{
  auto t = seededCellTables();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct
  {
    double a, b;
  } same[] = {{3.9, 3.0}, {-0.9, 0.0}, {nan, 0.0}, {1e300, 0.0}, {-1e10, 0.0}};
  int differ = 0;
  forGrid([&](int32_t x, int32_t y) {
    for (const auto& s : same) {
      int16_t ca = 0, cb = 0;
      EXPECT_EQ(LABTXT_mondrianRects(t.get(), x, y, s.a, &ca),
                LABTXT_mondrianRects(t.get(), x, y, s.b, &cb));
      EXPECT_EQ(ca, cb);
    }
    int16_t c3 = 0, c4 = 0;
    differ += LABTXT_mondrianRects(t.get(), x, y, 3.0, &c3) !=
              LABTXT_mondrianRects(t.get(), x, y, 4.0, &c4);
  });
  EXPECT_GT(differ, 0);
}

TEST(TechMotifs, LinesFollowTheShiftedEdges)
{
  auto t = seededCellTables();
  forGrid([&](int32_t x, int32_t y) {
    int16_t code = 3;
    const double level = LABTXT_TEK_lines(t.get(), x, y, &code);
    EXPECT_EQ(code, 0);
    if (level != 0.0) {
      EXPECT_EQ(level, 0.5);
      EXPECT_EQ(LABTXT_TEK_randomEdges(t.get(), x + 8, y + 8), 1.0) << x << " " << y;
    }
  });
}

TEST(TechPanels, BordersAndFrames)
{
  auto t = seededCellTables();
  forGrid([&](int32_t x, int32_t y) {
    int16_t code = 0;
    if ((x & 7) == 0 || (y & 7) == 0) {
      EXPECT_EQ(LABTXT2D_A(t.get(), x, y, &code), 0.0);
      EXPECT_EQ(code, 4);
    }
    const bool frame = (x & 7) == 0 || (x & 7) == 7 || (y & 7) == 0 || (y & 7) == 7;
    const double cube = LABTXT2D_CubeGrid(t.get(), x, y, &code);
    if (frame) {
      EXPECT_EQ(cube, 1.0);
      EXPECT_EQ(code, 7);
    } else {
      EXPECT_LT(cube, 0.5);
    }
  });
}

TEST(TechPanels, HandWorkedPointsUnderTheIdentity)
{
  auto t = identityCellTables();
  // Mayan at (87, 7): h = H_4(7, 87) = 5, base 0.125 (code 5); rings k = 1..6
  // hold sx = sy = 7, each adding d = 5 / 2048, the last setting code 1.
  int16_t code = 0;
  double expected = 0.125;
  for (int k = 1; k <= 6; k++)
    expected += 5 / 2048.0;
  EXPECT_EQ(LABTXT2D_Mayan(t.get(), 87, 7, &code), expected);
  EXPECT_EQ(code, 1);

  // Comput at (17, 2): t = H_4(2, 17) & 3 = 1, rack k = H_3(17, 2) = 2 misses
  // (y even): the raised floor 0.25, code 5. At (18, 3) rack 2 holds.
  EXPECT_EQ(LABTXT2D_Comput(t.get(), 17, 2, &code), 0.25);
  EXPECT_EQ(code, 5);
  EXPECT_EQ(LABTXT2D_Comput(t.get(), 18, 3, &code), 0.75);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(LABTXT2D_Comput(t.get(), 16, 3, &code), 0.0);  // wall
  EXPECT_EQ(code, 4);
}

}  // namespace
