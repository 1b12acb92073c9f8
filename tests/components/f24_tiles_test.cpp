// The f24 colour tilings and the RGBa picture member: where the tile masks
// reach full, which colour a tile takes, and the picture's bilinear samples,
// repeats, alpha and the rows it gives without a picture.
#include "components/f24/f24_tiles.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "foundation/colormath.h"
#include "tests/components/member_harness.h"
#include "tests/components/pict_test_support.h"

namespace {

constexpr double M = gINFINITY;

// The three tile colours of a colour cycle t, / 32.
struct TileColours
{
  double rgb[3][3];
};

TileColours coloursOf(double t)
{
  normalcolor table[3];
  GetParam1DColorTable(table, t, 3);
  TileColours c;
  for (int s = 0; s < 3; ++s) {
    c.rgb[s][0] = table[s].red / 32.0;
    c.rgb[s][1] = table[s].green / 32.0;
    c.rgb[s][2] = table[s].blue / 32.0;
  }
  return c;
}

// Which of the three colours outputs 1 to 3 at (x, y) show, -1 for none.
int colourAt(KVmemberHarness& h, const TileColours& c, double x, double y)
{
  const double got[3] = {h.at(x, y, 0), h.at(x, y, 1), h.at(x, y, 2)};
  for (int s = 0; s < 3; ++s)
    if (std::equal(got, got + 3, c.rgb[s]))
      return s;
  return -1;
}

TEST(F24Tiles, SquareTilesReachTheFullMaskAQuarterTileIn)
{
  KVmemberHarness h;
  h.bind(kFamily24, 29);
  h.setParams(0.3, 0, 1);
  h.prepare();
  const struct
  {
    double x, mask;
  } cases[] = {{0.0, 0}, {0.125, 2}, {0.25, 4}, {0.5, 4}, {0.75, 4}, {0.875, 2}, {-0.125, 2}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(h.at(c.x, 0.5, 3), c.mask) << c.x;
  // A checker of three colours: (i & 1) + (j & 1), also for negative cells.
  const TileColours colours = coloursOf(0.3);
  EXPECT_EQ(colourAt(h, colours, 0.5, 0.5), 0);
  EXPECT_EQ(colourAt(h, colours, 1.5, 0.5), 1);
  EXPECT_EQ(colourAt(h, colours, -0.5, 0.5), 1);
  EXPECT_EQ(colourAt(h, colours, -0.5, -0.5), 2);
  EXPECT_EQ(colourAt(h, colours, 2.5, 2.5), 0);
}

// Colour 1 of the hexagons only where no band index is 0 mod 3 and one is
// 2 mod 3; all three colours show and the mask stays within 0..4.
TEST(F24Tiles, HexagonColourOneRule)
{
  KVmemberHarness h;
  h.bind(kFamily24, 18);
  h.setParams(0.6, 0.1, 1.3);
  h.prepare();
  const TileColours colours = coloursOf(0.6);
  const double k0 = std::cos(2.0943951023931953), k1 = std::sin(2.0943951023931953);
  int seen[3] = {};
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 40; ++c) {
      const double x = -3 + 0.151 * c, y = -3 + 0.149 * r;
      const double X = 1.3 * x, Y = 1.3 * y;
      const double b0 = k0 * X - k1 * Y, y1 = k0 * Y + k1 * X;
      const double bands[3] = {0.866025 * X + 0.1, 0.866025 * b0 + 0.1,
                               0.866025 * (k0 * b0 - k1 * y1) + 0.1};
      bool has0 = false, has2 = false;
      for (double b : bands) {
        const int m = ((int(std::floor(b)) % 3) + 3) % 3;
        has0 |= m == 0;
        has2 |= m == 2;
      }
      const int s = colourAt(h, colours, x, y);
      ASSERT_GE(s, 0);
      ++seen[s];
      EXPECT_EQ(s == 1, !has0 && has2) << x << " " << y;
      const double mask = h.at(x, y, 3);
      EXPECT_TRUE(mask >= 0 && mask <= 4) << mask;
    }
  for (int s = 0; s < 3; ++s)
    EXPECT_GT(seen[s], 0) << s;
}

TEST(F24Tiles, MarkedInputOneGivesTheMarkerEverywhere)
{
  KVmemberHarness h;
  for (int16_t id : {17, 18, 29, 42}) {
    h.bind(kFamily24, id);
    h.prepare();
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.at(M, 0.5, out), M) << id << " " << out;
  }
}

// A 4 x 3 picture: alpha 10 + 60 column + row, red 20 column, green 40 row,
// blue 255.
constexpr int kW = 4, kH = 3;

class F24Picture : public ::testing::Test
{
protected:
  F24Picture()
      : picture_(KVtestPicture::rgb(kW, kH, [](int column, int row) {
          return normalcolor{255, uint8_t(20 * column), uint8_t(40 * row), 255};
        }))
  {
    for (int row = 0; row < kH; ++row)
      for (int column = 0; column < kW; ++column)
        picture_.pixel(column, row)[0] = uint8_t(10 + 60 * column + row);
  }

  // Binds the member with A, B, C and makes one unit of x and y a pixel.
  KVpictureRecord& bind(double a, double b, double c, bool withPicture = true)
  {
    if (withPicture)
      picture_.handTo(h_.doc(), 0);
    h_.bind(kFamily24, 42);
    h_.setParams(a, b, c);
    h_.prepare();
    KVpictureRecord& r = privateArea<F24pictPrivate>(h_.component()).pict;
    r.sx = r.sy = 1;
    return r;
  }

  // Outputs 1 to 4 at pixel position (px, py).
  std::array<double, 4> at(double px, double py)
  {
    const KVplanePoint p = KV_pointAt(kW, kH, px, py);
    return {h_.at(p.x, p.y, 0), h_.at(p.x, p.y, 1), h_.at(p.x, p.y, 2), h_.at(p.x, p.y, 3)};
  }

  // The expected outputs at pixel position (px, py) inside the picture, at
  // contrast 1: channels bilinear but at the last column or row.
  static std::array<double, 4> expected(double px, double py)
  {
    const double cx = std::min(px, kW - 1.0), cy = std::min(py, kH - 1.0);
    const double alpha = 10 + 60 * cx + cy;
    return {20 * cx / 32, 40 * cy / 32, 255.0 / 32, alpha * 4 / 255};
  }

  static void expectNear(const std::array<double, 4>& got, const std::array<double, 4>& want)
  {
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(got[k], want[k], 1e-12) << "output " << k + 1;
  }

  KVmemberHarness h_;
  KVtestPicture picture_;
};

TEST_F(F24Picture, BilinearSamplesAndTheLastColumnAndRow)
{
  bind(1, 1, 1);
  const struct
  {
    double px, py;
  } points[] = {{0.5, 0.5}, {1.25, 1.75}, {2.5, 0.0}, {3.5, 1.5}, {1.5, 2.5}, {3.75, 2.25}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << p.px << " " << p.py);
    expectNear(at(p.px, p.py), expected(p.px, p.py));
  }
}

TEST_F(F24Picture, TilingOneRepeatsSeamlesslyAcrossTheOrigin)
{
  bind(1, 1, 1);
  // Column -1 reads the last column; a whole period away is the same.
  expectNear(at(-0.5, 0.5), expected(3.5, 0.5));
  expectNear(at(-3.5, 1.25), expected(0.5, 1.25));
  expectNear(at(0.5 + 4 * 7, 1.5 - 3 * 5), expected(0.5, 1.5));
}

TEST_F(F24Picture, TilingZeroShowsOneCentredCopy)
{
  bind(1, 1, 0);
  expectNear(at(1.5, 1.5), expected(1.5, 1.5));
  for (const auto& p : {std::pair{-0.5, 1.0}, {4.5, 1.0}, {1.0, -0.25}, {1.0, 3.5}})
    expectNear(at(p.first, p.second), {0, 0, 0, 0});
}

TEST_F(F24Picture, ContrastAndStillImageMask)
{
  bind(1, 2, 1);
  EXPECT_DOUBLE_EQ(at(1, 1)[2], 2 * 255.0 / 32);
  KVpictureRecord& r = bind(1, 1, 1);
  EXPECT_DOUBLE_EQ(at(1, 1)[2], 255.0 / 32);
  r.movieOpen = 1;
  r.multiFrame = 0;
  EXPECT_EQ(at(1.5, 1.5)[3], 8.0);
  r.multiFrame = 1;
  EXPECT_NEAR(at(1.5, 1.5)[3], expected(1.5, 1.5)[3], 1e-12);
}

// Tiling 10 on a 4-pixel picture: a period of one pixel, not of zero.
TEST_F(F24Picture, TilingAboveThePictureSizeKeepsAPeriodOfOnePixel)
{
  const KVpictureRecord& r = bind(1, 1, 10);
  EXPECT_EQ(r.tileX, 1);
  EXPECT_EQ(r.tileY, 1);
  const auto got = at(2.25, 1.0);
  expectNear(got, expected(0.25, 0.0));
}

// Without a picture the batch is (0, 0, 0, 0), whatever the outputs held.
TEST_F(F24Picture, NoPixelsWritesZeros)
{
  bind(1, 1, 1, false);
  gfunc* g = h_.component();
  ASSERT_EQ(privateArea<F24pictPrivate>(g).pict.base, nullptr);
  for (int k = 0; k < 4; ++k)
    std::fill(std::begin(g->outputs[k]), std::end(g->outputs[k]), 777.0);
  h_.run(KVtestInput::fill(0.5), KVtestInput::fill(0.5), 8);
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(g->outputs[k][i], 0.0) << k << " " << i;
}

}  // namespace
