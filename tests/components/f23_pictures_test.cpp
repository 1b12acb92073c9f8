// The f23 picture and movie members: mapped and tiled pictures with black
// gaps, mirrored tiles with whole-number channels, the overlay with no value
// outside, contrast scales, 8-bit pictures, and what the members give with
// no picture or no valid pixel.
#include "components/f23/f23_pictures.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

#include "tests/components/catalog_rows.h"
#include "tests/components/f23_test_support.h"
#include "tests/components/family_render.h"
#include "tests/components/member_harness.h"
#include "tests/components/pict_test_support.h"

namespace {

constexpr int kW = 4;
constexpr int kH = 3;

// Pixel (column, row): red 10 + 20 column + 70 row, green 255 - red, blue
// 3 column + 5 row; the first pixel is (10, 245, 0).
normalcolor testColour(int column, int row)
{
  const int red = 10 + 20 * column + 70 * row;
  return normalcolor{255, uint8_t(red), uint8_t(255 - red), uint8_t(3 * column + 5 * row)};
}

using f23test::Rgb;

Rgb bytesOf(const normalcolor& c, double k)
{
  return {c.red * k, c.green * k, c.blue * k};
}

class F23Pictures : public ::testing::Test
{
protected:
  // Binds member `id` of f23 to slot 0, sets A, B, C, prepares it, and makes
  // one unit of x and y one pixel.
  void bind(int16_t id, double a, double b, double c)
  {
    h_.bind(kFamily23, id);
    h_.setParams(a, b, c);
    h_.prepare();
    KVpictureRecord& r = privateArea<F23pictPrivate>(h_.component()).pict;
    r.sx = r.sy = 1;
  }
  Rgb atXY(double x, double y) { return {h_.at(x, y, 0), h_.at(x, y, 1), h_.at(x, y, 2)}; }
  // The outputs at pixel position (px, py) of the kW x kH picture.
  Rgb at(double px, double py)
  {
    const KVplanePoint p = KV_pointAt(kW, kH, px, py);
    return atXY(p.x, p.y);
  }
  static void expectRgb(const Rgb& got, const Rgb& expected)
  {
    EXPECT_DOUBLE_EQ(got.r, expected.r);
    EXPECT_DOUBLE_EQ(got.g, expected.g);
    EXPECT_DOUBLE_EQ(got.b, expected.b);
  }

  KVmemberHarness h_;
};

TEST_F(F23Pictures, NamesLabelsDefaultsAndRanges)
{
  const KVnameRow names[] = {
      {0, " RGB Pict/Movie", 3, {"Size ", "Contrast ", "Tiling "}},
      {1, " RGB Pict/Movie mirror", 2, {"Size ", "Contrast ", ""}},
      {34, " Pict/Movie Overlay ", 3, {"Size ", "Tile X ", "Tile Y "}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h_, kFamily23, row);
  const KVrangeRow ranges[] = {
      {0, {1, 1, 1}, {0, 0, 0}, {4, 2, 1}},
      {1, {1, 1, -1}, {0, 0}, {4, 2}},
      {34, {1, 1, 0}, {0, 0, 0}, {4, 1, 1}},
  };
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h_, kFamily23, row);
}

TEST_F(F23Pictures, ColorPictTilesWithBlackGapsAndScalesByContrast)
{
  const KVtestPicture picture = KVtestPicture::rgb(kW, kH, testColour);
  picture.handTo(h_.doc(), 0);
  const Rgb black{0, 0, 0};

  bind(0, 1, 1, 1);  // period W x H, byte / 32
  for (int column = 0; column < kW; ++column)
    for (int row = 0; row < kH; ++row) {
      SCOPED_TRACE(testing::Message() << column << " " << row);
      expectRgb(at(column, row), bytesOf(testColour(column, row), 1.0 / 32));
      // Off the pixel grid, so that no point is a negative whole number.
      const Rgb v = at(column + 0.25, row + 0.5);
      for (int m = -2; m <= 2; ++m)
        expectRgb(at(column + 0.25 + kW * m, row + 0.5 - kH * m), v);
    }
  // Between pixels: bilinear; the last column and row are not blended on.
  const normalcolor a = testColour(1, 0), b = testColour(2, 0), c = testColour(1, 1),
                    d = testColour(2, 1);
  expectRgb(at(1.5, 0.5), {(a.red + b.red + c.red + d.red) / 4.0 / 32,
                           (a.green + b.green + c.green + d.green) / 4.0 / 32,
                           (a.blue + b.blue + c.blue + d.blue) / 4.0 / 32});
  expectRgb(at(3.5, 2.5), bytesOf(testColour(3, 2), 1.0 / 32));

  bind(0, 1, 2, 1);  // Contrast 2: byte / 16
  expectRgb(at(2, 1), bytesOf(testColour(2, 1), 1.0 / 16));

  bind(0, 1, 1, 0.5);  // a gap as wide as the picture
  expectRgb(at(8 + 1, 1), bytesOf(testColour(1, 1), 1.0 / 32));
  for (double px : {4.0, 6.5, -2.0})
    expectRgb(at(px, 1), black);
  expectRgb(at(1, 4), black);

  bind(0, 1, 1, 0);  // once, black around it
  expectRgb(at(2, 1), bytesOf(testColour(2, 1), 1.0 / 32));
  for (double px : {-0.5, 4.0, 4.5})
    expectRgb(at(px, 1), black);
  expectRgb(at(1, 3.5), black);
}

TEST_F(F23Pictures, MirrorMapsColumnsAcrossTheEdgesInWholeNumbers)
{
  const KVtestPicture picture = KVtestPicture::rgb(kW, kH, testColour);
  picture.handTo(h_.doc(), 0);
  bind(1, 1, 1, 0);
  // Index -1, -2 and 0 read column 0, -3 column 1 (a fraction of 1 on the
  // negative side mirrors to 0).
  const struct
  {
    double px;
    int column;
  } cases[] = {{0.0, 0}, {-1e-17, 0}, {-1.0, 0}, {-2.0, 1}, {4.0, 3}, {-4.0, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.px);
    expectRgb(at(c.px, 0), bytesOf(testColour(c.column, 0), 1.0 / 32));
  }
  // Halfway between columns 0 (10, 245, 0) and 1 (30, 225, 3) on row 0: each
  // channel's whole part, 20, 235 and 1.
  expectRgb(at(0.5, 0), {20 / 32.0, 235 / 32.0, 1 / 32.0});
  // Then halfway down from row 1 toward row 2: red 90 + (160 - 90) / 2,
  // blue trunc(trunc(6.5) + (trunc(11.5) - 6) / 2) = 8.
  const Rgb down = at(0.5, 1.5);
  EXPECT_DOUBLE_EQ(down.r, 125 / 32.0);
  EXPECT_DOUBLE_EQ(down.b, 8 / 32.0);
  // Contrast 2 doubles.
  bind(1, 1, 2, 0);
  expectRgb(at(2, 1), bytesOf(testColour(2, 1), 1.0 / 16));
}

TEST_F(F23Pictures, OverlayRepeatsAcrossOnlyAndHasNoValueOutside)
{
  const KVtestPicture picture = KVtestPicture::rgb(kW, kH, testColour);
  picture.handTo(h_.doc(), 0);
  const Rgb none{gINFINITY, gINFINITY, gINFINITY};

  bind(34, 1, 1, 0);  // the defaults: Tile X 1, Tile Y 0
  for (int m : {-1, 0, 2})
    expectRgb(at(1 + kW * m, 1), bytesOf(testColour(1, 1), 1.0 / 32));
  for (double py : {-0.5, 3.5, 10.0})
    expectRgb(at(1, py), none);

  bind(34, 1, 0.5, 1);  // a gap across gives no value; contrast plays no part
  expectRgb(at(9, 2), bytesOf(testColour(1, 2), 1.0 / 32));
  expectRgb(at(5, 2), none);

  bind(34, 1, 0, 1);  // no repeat across: everything outside has no value
  expectRgb(at(2, 1), bytesOf(testColour(2, 1), 1.0 / 32));
  for (double px : {-1.0, 5.0, 9.0})
    expectRgb(at(px, 1), none);
  expectRgb(at(2, 4), none);
}

TEST_F(F23Pictures, EightBitPicturesGiveTheirGreyOnAllThreeOutputs)
{
  const KVtestPicture grey =
      KVtestPicture::grey(kW, kH, [](int column, int row) { return 10 + 20 * column + 70 * row; });
  grey.handTo(h_.doc(), 0);
  for (int16_t id : {int16_t(0), int16_t(1), int16_t(34)}) {
    SCOPED_TRACE(id);
    bind(id, 1, 1, 1);
    expectRgb(at(2, 1), {120 / 32.0, 120 / 32.0, 120 / 32.0});
  }
}

TEST_F(F23Pictures, NoPictureMarkerAndCoordinatesBeyondTheIndexRange)
{
  for (int16_t id : {int16_t(0), int16_t(1), int16_t(34)}) {
    SCOPED_TRACE(id);
    bind(id, 1, 1, 1);  // slot 0 is empty and there is no default picture
    gfunc* g = h_.component();
    for (auto& out : g->outputs)
      std::fill(std::begin(out), std::end(out), 7.0);
    h_.run(KVtestInput::fill(0.5), KVtestInput::fill(0.5));
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(g->outputs[k][5], 7.0) << k;
  }

  const KVtestPicture picture = KVtestPicture::rgb(kW, kH, testColour);
  picture.handTo(h_.doc(), 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct
  {
    int16_t id;
    double c;
    double outside;
  } members[] = {{0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {34, 0, gINFINITY}, {34, 1, gINFINITY}};
  for (const auto& m : members) {
    SCOPED_TRACE(testing::Message() << m.id << " C " << m.c);
    bind(m.id, 1, 1, m.c);
    expectRgb(atXY(gINFINITY, 0), {gINFINITY, gINFINITY, gINFINITY});
    for (double v : {nan, 1e200, -1e200, 3e9}) {
      SCOPED_TRACE(v);
      expectRgb(atXY(v, 0), {m.outside, m.outside, m.outside});
      expectRgb(atXY(0, v), {m.outside, m.outside, m.outside});
    }
  }
  // Only x is tested for the marker: a marked y is a point far outside.
  bind(0, 1, 1, 1);
  expectRgb(atXY(0, gINFINITY), {0, 0, 0});
}

// ---- Renders --------------------------------------------------------------------

class F23PictRender : public KVfamilyRender
{};

TEST_F(F23PictRender, SamePictureOnOneAndFourThreads)
{
  std::mt19937 rng(2301);
  const KVtestPicture picture = KVtestPicture::rgb(40, 30, [&](int, int) {
    return normalcolor{255, uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
  });
  picture.handTo(doc_, 0);
  for (int16_t id : {int16_t(0), int16_t(1), int16_t(34)}) {
    SCOPED_TRACE(id);
    arb_presetinit(doc_, kFamily23, id);
    const std::vector<uint8_t> four = render(4);
    EXPECT_TRUE(four == render(1));
    EXPECT_FALSE(std::all_of(four.begin(), four.end(), [&](uint8_t b) { return b == four[0]; }));
    arb_Clear(doc_, true, true);
  }
}

}  // namespace
