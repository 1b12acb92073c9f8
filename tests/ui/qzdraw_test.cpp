#include "ui/qzdraw.h"

#include <cmath>
#include <gtest/gtest.h>

#include "imaging/filters.h"
#include "tests/ui/canvas.h"

namespace {

TEST(QZFuzzyLine, WidthOneIsOnePlainStroke)
{
  Canvas fuzzy(40, 20), plain(40, 20);
  QZ_drawFuzzyLine(fuzzy.ctx, 5, 10, 35, 10, 1, 0.7f, 1, 0, 0);
  QZ_drawLine(plain.ctx, 5, 10, 35, 10, 1, 0.7f, 1, 0, 0);
  EXPECT_EQ(fuzzy.pixels, plain.pixels);
  EXPECT_GT(fuzzy.Alpha(20, 9) + fuzzy.Alpha(20, 10), 0);
}

TEST(QZFuzzyLine, WidthFourComposesFourStrokesIgnoringTheColourAlpha)
{
  // Strokes 4, 3, 2, 1 wide at 0.125, 0.34375, 0.5625, 0.78125: the centre
  // pixel lies under all four.
  const double expected = 255 * (1 - (1 - 0.125) * (1 - 0.34375) * (1 - 0.5625) * (1 - 0.78125));
  for (float colourAlpha : {1.0f, 0.2f}) {
    Canvas c(40, 21);
    QZ_drawFuzzyLine(c.ctx, 5, 10.5f, 35, 10.5f, 4, colourAlpha, 0, 0, 1);
    EXPECT_NEAR(c.Alpha(20, 10), expected, 2) << colourAlpha;
    // Beside the core: the 4- and 3-wide strokes and half the 2-wide one.
    EXPECT_NEAR(c.Alpha(20, 11), 255 * (1 - (1 - 0.125) * (1 - 0.34375) * (1 - 0.5625 / 2)), 4);
    EXPECT_EQ(c.Alpha(20, 13), 0);
  }
}

TEST(QZGradLine, WidthThreeIsBOutsideAndAThirdTowardsBInTheCore)
{
  Canvas c(40, 21);
  const float a[4] = {1, 0, 0, 0}, b[4] = {1, 1, 1, 1};  // black to white
  QZ_drawGradLine(c.ctx, 5, 10.5f, 35, 10.5f, 3, a, b);
  EXPECT_EQ(c.Alpha(20, 10), 255);
  EXPECT_NEAR(c.Red(20, 10), 255.0 / 3, 1.5);  // core: A + (B - A) / 3
  EXPECT_EQ(c.Red(20, 9), 255);                // the 3-wide stroke in B
  EXPECT_EQ(c.Red(20, 11), 255);
  EXPECT_EQ(c.Alpha(20, 12), 0);
}

TEST(QZShapes, RoundBoxLeavesItsCornersAndFillsItsEdges)
{
  Canvas c(60, 40);
  QZ_paintRoundBox(c.ctx, 10, 5, 40, 30, 10, 1, 0, 1, 0);
  for (auto [x, y] : {std::pair{10, 5}, {49, 5}, {10, 34}, {49, 34}})
    EXPECT_EQ(c.Alpha(x, y), 0) << x << "," << y;
  for (auto [x, y] : {std::pair{30, 5}, {30, 34}, {10, 20}, {49, 20}})
    EXPECT_EQ(c.Alpha(x, y), 255) << x << "," << y;
}

TEST(QZShapes, ShadowedRectDarkensBelowRightOnly)
{
  Canvas c(60, 60);
  QZ_paintShadowedRect(c.ctx, 15, 15, 30, 30, 1, 1, 1, 1);
  EXPECT_GT(c.Alpha(48, 48), 40);  // below right of the rectangle
  EXPECT_GT(c.Alpha(30, 47), 40);
  EXPECT_EQ(c.Alpha(12, 12), 0);  // above left
  EXPECT_LT(c.Alpha(30, 12), 8);
  EXPECT_EQ(c.Red(48, 48), 0);  // black
}

TEST(QZShapes, ArcsOfTheRoundBoxTurnAsInAFlippedContext)
{
  // The first corner arc, about (x + r, y + r) from -pi to -pi/2, is the
  // top-left one: the stroke passes through (x, y + r) and (x + r, y).
  Canvas c(40, 40);
  QZ_frameRoundBox(c.ctx, 5, 5, 30, 30, 10, 2, 1, 0, 0, 1);
  EXPECT_GT(c.Alpha(5, 15), 100);
  EXPECT_GT(c.Alpha(15, 5), 100);
  EXPECT_EQ(c.Alpha(20, 20), 0);
}

TEST(QZImages, DrawImagePutsTheImageUprightAtItsTopLeft)
{
  // 3 x 2: red top-left, blue bottom-right, the rest green.
  uint8_t bits[2][3][4] = {};
  for (auto& row : bits)
    for (auto& p : row)
      p[0] = 255, p[2] = 255;
  bits[0][0][1] = 255, bits[0][0][2] = 0;
  bits[1][2][3] = 255, bits[1][2][2] = 0;
  CGImageRef image = QZ_ImageCreateWithBits(&bits[0][0][0], 3, 2, 32, 12, kQZBitmapSkipFirst);
  Canvas c(10, 10);
  QZdraw_image(c.ctx, 4, 5, image);
  QZ_ImageRelease(image);
  EXPECT_EQ(c.At(4, 5), 0xffff0000u);
  EXPECT_EQ(c.At(6, 6), 0xff0000ffu);
  EXPECT_EQ(c.At(5, 5), 0xff00ff00u);
  EXPECT_EQ(c.Alpha(3, 5), 0);
  EXPECT_EQ(c.Alpha(4, 7), 0);
}

TEST(QZImages, HighlightModeOneDimsAndShadowFallsBelowRight)
{
  uint8_t bits[4 * 4 * 4];
  for (int i = 0; i < 16; ++i)
    bits[4 * i] = 255, bits[4 * i + 1] = 255, bits[4 * i + 2] = 255, bits[4 * i + 3] = 255;
  CGImageRef image = QZ_ImageCreateWithBits(bits, 4, 4, 32, 16, kQZBitmapSkipFirst);
  Canvas c(30, 30);
  QZDrawFlags flags;
  flags.hilitMode = 1;
  flags.shadow = 1;
  QZdraw_image(c.ctx, 5, 5, image, &flags);
  QZ_ImageRelease(image);
  EXPECT_NEAR(c.Alpha(6, 6), 0.333 * 255, 3);
  EXPECT_GT(c.Alpha(11, 11), 0);
  EXPECT_EQ(c.Alpha(3, 3), 0);
}

// --- The highlight filter and premultiplication

normalcolor Hilit(normalcolor pixel, normalcolor colour, uint8_t mode)
{
  const HiliteStyle style{colour, 0, mode};
  gw_hilit(1, 1, &pixel.flag, 4, &style);
  return pixel;
}

TEST(GwHilit, ModesByTheirFormulas)
{
  const normalcolor s{0, 255, 128, 10};
  struct Case
  {
    uint8_t mode;
    normalcolor in, out;
  } cases[] = {
      // Mode 2: grey at or below 64 stays; else f = 2 max - 64 = 336.
      {2, {0, 40, 40, 40}, {0, 40, 40, 40}},
      {2, {7, 200, 100, 50}, {7, 255, 168, 13}},
      {2, {0, 50, 20, 10}, {0, 49, 25, 1}},  // max below 64: f = max
      // Mode 4: w = min(64, 4 x 100) = 64, x + (S w >> 8).
      {4, {9, 200, 100, 50}, {9, 255, 132, 52}},
      // Mode 3: w = 2 x 100 = 200, l = (1600 + 900 + 350) >> 4 = 178;
      // target (177, 89, 6), moved 200/256 of the way.
      {3, {0, 200, 100, 50}, {0, 183, 92, 16}},
      {3, {0, 90, 90, 90}, {0, 90, 90, 90}},  // grey: w = 0
  };
  for (const Case& c : cases) {
    const normalcolor got = Hilit(c.in, s, c.mode);
    EXPECT_EQ(got, c.out) << int(c.mode) << ": " << int(got.flag) << " " << int(got.red) << " "
                          << int(got.green) << " " << int(got.blue);
  }
}

TEST(GwAlphapremul, MultipliesByByteZeroShiftedEight)
{
  normalcolor px[2] = {{128, 200, 100, 255}, {255, 255, 1, 0}};
  gw_alphapremul(2, 1, &px[0].flag, 8, 0);
  EXPECT_EQ(px[0], (normalcolor{128, 100, 50, 127}));
  EXPECT_EQ(px[1], (normalcolor{255, 254, 0, 0}));
}

TEST(QZBuildHilitimage, RefusesEmptySizesAndKeepsOpaqueColoursWithoutMask)
{
  uint8_t bits[4] = {255, 200, 100, 50};
  CGImageRef image = QZ_ImageCreateWithBits(bits, 1, 1, 32, 4, kQZBitmapSkipFirst);
  QZDrawFlags flags;
  flags.color = normalcolor{255, 255, 255, 255};
  flags.hilitKind = 2;
  EXPECT_EQ(QZ_BuildHilitimage(image, -3, 4, &flags), nullptr);
  CGImageRef hilit = QZ_BuildHilitimage(image, 1, 1, &flags);
  ASSERT_NE(hilit, nullptr);
  Canvas c(1, 1);
  QZ_ContextDrawImage(c.ctx, QZRect{0, 0, 1, 1}, image);
  EXPECT_EQ(c.At(0, 0), 0xffc86432u);
  QZ_ContextDrawImage(c.ctx, QZRect{0, 0, 1, 1}, hilit);
  // White x 336 >> 8 held to 255, then x 255 >> 8 = 254 (the pad byte reads
  // opaque).
  EXPECT_EQ(c.At(0, 0), 0xfffefefeu);
  QZ_ImageRelease(hilit);
  QZ_ImageRelease(image);
}

}  // namespace
