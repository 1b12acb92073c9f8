#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "foundation/bigendian.h"
#include "foundation/checked.h"
#include "foundation/types.h"

TEST(BaseTypes, FourccIsBigEndianText)
{
  static_assert(fourcc("quit") == 0x71756974u);
  EXPECT_EQ(fourcc("qjKv"), 0x716A4B76u);
}

TEST(BaseTypes, PointAndRectPackRoundTrip)
{
  Rect r{-3, 40, 520, 680};
  EXPECT_EQ(UnpackRect(PackRectTopLeft(r), PackRectBottomRight(r)), r);
  EXPECT_EQ(PackPoint(Point{1, -1}), int32_t(0xFFFF0001));
  EXPECT_EQ(PackRectTopLeft(Rect{2, 3, 0, 0}), int32_t(0x00030002));
  EXPECT_EQ(UnpackPoint(PackPoint(Point{-2, 7})), (Point{-2, 7}));
}

TEST(BaseTypes, NormalcolorWordHasRedInSecondByte)
{
  normalcolor c{255, 1, 2, 3};
  EXPECT_EQ(normalcolorWord(c), 0x030201FFu);
  EXPECT_EQ(normalcolorFromWord(0x030201FFu), c);
}

TEST(BigEndian, EveryWidthRoundTripsAndIsBigEndian)
{
  unsigned char b[8];
  be::put_u16(b, 0x1234);
  EXPECT_EQ(b[0], 0x12);
  EXPECT_EQ(be::get_i16(b), 0x1234);
  be::put_i32(b, -2);
  EXPECT_EQ(b[0], 0xFF);
  EXPECT_EQ(b[3], 0xFE);
  EXPECT_EQ(be::get_i32(b), -2);
  be::put_f32(b, 1.5f);
  EXPECT_EQ(be::get_u32(b), 0x3FC00000u);
  EXPECT_EQ(be::get_f32(b), 1.5f);
  be::put_f64(b, -0.25);
  EXPECT_EQ(b[0], 0xBF);
  EXPECT_EQ(be::get_f64(b), -0.25);
}

TEST(BigEndian, ReaderFailsPastTheEndAndYieldsZero)
{
  unsigned char b[5] = {0, 0, 0, 7, 9};
  be::Reader r(b, sizeof b);
  EXPECT_EQ(r.i32(), 7);
  EXPECT_EQ(r.i16(), 0);
  EXPECT_TRUE(r.failed());
  EXPECT_EQ(r.u8(), 0);
}

TEST(Checked, LatticeFloorCases)
{
  struct Case
  {
    double x;
    bool ok;
    int32_t cell;
    double frac;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {std::nan(""), false, 0, 0.0},
      {inf, false, 0, 0.0},
      {-inf, false, 0, 0.0},
      {gINFINITY, false, 0, 0.0},
      {2147483648.0, false, 0, 0.0},
      {-2147483649.0, false, 0, 0.0},
      {-2147483648.0, true, INT32_MIN, 0.0},
      {-2.0, true, -2, 0.0},
      {-1.5, true, -2, 0.5},
      {3.25, true, 3, 0.25},
  };
  for (const Case& c : cases) {
    kvnum::LatticeSplit s;
    EXPECT_EQ(kvnum::lattice_floor(c.x, s), c.ok) << c.x;
    EXPECT_EQ(s.cell, c.cell) << c.x;
    EXPECT_EQ(s.frac, c.frac) << c.x;
  }
}

TEST(Checked, TruncSplitPutsNegativeIntegersInTheCellBelow)
{
  kvnum::LatticeSplit s;
  ASSERT_TRUE(kvnum::lattice_trunc_split(-1.0, s));
  EXPECT_EQ(s.cell, -2);
  EXPECT_EQ(s.frac, 1.0);
  ASSERT_TRUE(kvnum::lattice_trunc_split(-1.5, s));
  EXPECT_EQ(s.cell, -2);
  EXPECT_EQ(s.frac, 0.5);
  EXPECT_FALSE(kvnum::lattice_trunc_split(std::nan(""), s));
}

TEST(Checked, SaturatingCasts)
{
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(kvnum::sat_i32(std::nan("")), 0);
  EXPECT_EQ(kvnum::sat_i32(2147483648.0), INT32_MAX);
  EXPECT_EQ(kvnum::sat_i32(-2147483649.0), INT32_MIN);
  EXPECT_EQ(kvnum::sat_i32(-inf), INT32_MIN);
  EXPECT_EQ(kvnum::sat_i32(gINFINITY), INT32_MAX);
  EXPECT_EQ(kvnum::sat_i32(-2.7), -2);
  EXPECT_EQ(kvnum::sat_i16(40000.0), INT16_MAX);
  EXPECT_EQ(kvnum::sat_i16(-40000.0), INT16_MIN);
  EXPECT_EQ(kvnum::sat_u8(-1.0), 0);
  EXPECT_EQ(kvnum::sat_u8(300.0), 255);
  EXPECT_EQ(kvnum::sat_u8(254.9), 254);
  int32_t v;
  EXPECT_FALSE(kvnum::trunc_i32(inf, v));
  EXPECT_TRUE(kvnum::trunc_i32(-7.9, v));
  EXPECT_EQ(v, -7);
}

TEST(BigEndian, CursorsStepByteForByteAndStopAtTheEnd)
{
  unsigned char b[7] = {};
  be::Writer w(b, sizeof b);
  w.u8(0xAB);
  w.i16(-2);
  w.f32(1.5f);
  EXPECT_FALSE(w.failed());
  w.u8(1);  // one past the end: dropped
  EXPECT_TRUE(w.failed());
  EXPECT_EQ(b[0], 0xAB);

  be::Reader r(b, sizeof b);
  EXPECT_EQ(r.u8(), 0xAB);
  EXPECT_EQ(r.i16(), -2);
  EXPECT_EQ(r.f32(), 1.5f);
  EXPECT_EQ(r.remaining(), 0u);
  unsigned char out[2] = {9, 9};
  EXPECT_FALSE(r.bytes(out, 2));
  EXPECT_EQ(out[0], 0);
}
