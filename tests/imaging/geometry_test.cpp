#include "imaging/geometry.h"

#include <cstring>
#include <gtest/gtest.h>

#include "tests/imaging/test_buffers.h"

namespace {

uint8_t* At(Offworld w, int32_t c, int32_t r)
{
  return w->pixels.baseAddr + int64_t(r) * w->pixels.rowBytes +
         int64_t(c) * (w->pixels.pixelSize / 8);
}

// Every byte of a W x H buffer made from its place.
void Fill(Offworld w, int32_t W, int32_t H)
{
  const int32_t bpp = w->pixels.pixelSize / 8;
  for (int32_t r = 0; r < H; ++r)
    for (int32_t c = 0; c < W; ++c)
      for (int32_t b = 0; b < bpp; ++b)
        At(w, c, r)[b] = uint8_t(1 + c * 16 + r * 4 + b);
}

bool SamePixel(Offworld a, int32_t ac, int32_t ar, Offworld b, int32_t bc, int32_t br)
{
  return std::memcmp(At(a, ac, ar), At(b, bc, br), size_t(a->pixels.pixelSize / 8)) == 0;
}

struct Buffers
{
  OffworldGuard src, dst;
  Buffers(int16_t w, int16_t h, int16_t depth)
      : src{Make(Rect{0, 0, h, w}, depth)}, dst{Make(Rect{0, 0, h, w}, depth)}
  {
    Fill(src.w, w, h);
  }
};

TEST(GeometryMove, IdentityShiftAndWrap)
{
  for (int16_t depth : {8, 32}) {
    SCOPED_TRACE(depth);
    auto move = depth == 8 ? Move_GW : Move_GW32;
    Buffers b(12, 3, depth);
    move(b.src.w, b.dst.w, 256, 256);
    for (int c = 0; c < 12; ++c)
      EXPECT_TRUE(SamePixel(b.src.w, c, 1, b.dst.w, c, 1));
    move(b.src.w, b.dst.w, 266, 256);
    for (int c = 0; c < 10; ++c)
      EXPECT_EQ(At(b.dst.w, c, 2)[0], 0);
    EXPECT_TRUE(SamePixel(b.src.w, 0, 2, b.dst.w, 10, 2));
    gWarpArround = 1;
    move(b.src.w, b.dst.w, 256 + 12, 256 - 3);
    gWarpArround = 0;
    for (int c = 0; c < 12; ++c)
      EXPECT_TRUE(SamePixel(b.src.w, c, 2, b.dst.w, c, 2));
  }
}

TEST(GeometryRotate, CopyQuarterTurnAndAntiAliased)
{
  for (int16_t depth : {8, 32}) {
    SCOPED_TRACE(depth);
    Buffers b(4, 4, depth);
    (depth == 8 ? Rotate_GW : Rotate_GW32)(b.src.w, b.dst.w, 128, 128, 256, 1);
    EXPECT_EQ(std::memcmp(b.src.w->pixels.baseAddr, b.dst.w->pixels.baseAddr,
                          4 * b.src.w->pixels.rowBytes),
              0);
    (depth == 8 ? Rotate_GW : Rotate_GW32)(b.src.w, b.dst.w, 128, 128, 0, 1);
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(At(b.dst.w, 0, r)[0], 0);
      for (int c = 1; c < 4; ++c)
        EXPECT_TRUE(SamePixel(b.dst.w, c, r, b.src.w, r, 4 - c)) << c << "," << r;
    }
  }
  Buffers b(6, 5, 32);
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 6; ++c)
      At(b.dst.w, c, r)[0] = 77;
  AARotate_GW32(b.src.w, b.dst.w, 128, 128, 256, 1);
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 6; ++c) {
      EXPECT_EQ(At(b.dst.w, c, r)[0], 77);
      EXPECT_EQ(std::memcmp(At(b.dst.w, c, r) + 1, At(b.src.w, c, r) + 1, 3), 0) << c << "," << r;
    }
}

TEST(GeometryRotate, WideRowsUseTheirOwnTables)
{
  Buffers b(5000, 2, 32);
  Rotate_GW32(b.src.w, b.dst.w, 128, 128, 256, 1);
  EXPECT_TRUE(SamePixel(b.src.w, 4999, 1, b.dst.w, 4999, 1));
  AARotate_GW32(b.src.w, b.dst.w, 128, 128, 256, 1);
  EXPECT_EQ(std::memcmp(At(b.src.w, 4999, 1) + 1, At(b.dst.w, 4999, 1) + 1, 3), 0);
}

TEST(GeometryContrast, ZeroContrastGivesMidGrey)
{
  Buffers b(3, 2, 32);
  At(b.src.w, 1, 1)[2] = 0;
  Contrast_GW(b.src.w, b.dst.w, 0, 0, 0);
  EXPECT_EQ(At(b.dst.w, 1, 1)[2], 128);
  Contrast_GW(b.src.w, b.dst.w, 0, 0, 1);
  EXPECT_EQ(At(b.dst.w, 1, 1)[2], 0);
  EXPECT_EQ(At(b.dst.w, 2, 1)[2], 128);
  Contrast_GW(b.src.w, b.dst.w, 128, 0, 0);
  EXPECT_TRUE(SamePixel(b.src.w, 2, 1, b.dst.w, 2, 1));
}

TEST(GeometryRotate, GreyAntiAliasedAveragesSixteenSamples)
{
  Buffers b(6, 4, 8);
  AARotate_GW(b.src.w, b.dst.w, 128, 128, 256, 1);
  EXPECT_EQ(
      std::memcmp(b.src.w->pixels.baseAddr, b.dst.w->pixels.baseAddr, 4 * b.src.w->pixels.rowBytes),
      0);
  // Half size about the centre (3, 2): each pixel averages the 4 x 4
  // quarter samples that fall on a 2 x 2 block of the source.
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 6; ++c)
      *At(b.src.w, c, r) = uint8_t(16 * c + r);
  AARotate_GW(b.src.w, b.dst.w, 256, 256, 256, 1);
  const int expected =
      (4 * (16 * 3 + 2) + 4 * (16 * 4 + 2) + 4 * (16 * 3 + 3) + 4 * (16 * 4 + 3)) / 16;
  EXPECT_EQ(*At(b.dst.w, 3, 2), expected);
}

TEST(GeometryRotate, RowsAsWideAsABufferHoldsStayInside)
{
  // Buffer sides are 16-bit: 32,767 columns, far beyond the scratch block's tables.
  Buffers b(32767, 2, 32);
  gWarpArround = 1;
  Rotate_GW32(b.src.w, b.dst.w, 100, 128, 300, 1);
  AARotate_GW32(b.src.w, b.dst.w, 100, 128, 300, 0);
  gWarpArround = 0;
  AARotate_GW32(b.src.w, b.dst.w, 128, 128, 256, 1);
  EXPECT_EQ(std::memcmp(At(b.src.w, 32766, 1) + 1, At(b.dst.w, 32766, 1) + 1, 3), 0);
  Buffers grey(2, 32767, 8);
  AARotate_GW(grey.src.w, grey.dst.w, 128, 128, 256, 1);
  EXPECT_EQ(*At(grey.dst.w, 1, 32766), *At(grey.src.w, 1, 32766));
}

}  // namespace
