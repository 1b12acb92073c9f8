// The f21 picture and movie members: tiling, mirrors, greys, the blurred
// sums with their sharing and rebuilds, the sampling and filtering routines,
// and what the members give where there is no picture or no valid pixel.
#include "components/f21/f21_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "components/f21/f21_blurcache.h"
#include "components/f21/f21_pictfilters.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/family_render.h"
#include "tests/components/member_harness.h"
#include "tests/components/pict_test_support.h"

namespace {

constexpr int kW = 4;
constexpr int kH = 3;

// Greys 10 + 20 column + 70 row: every pixel differs, g0 = 10.
int testGrey(int column, int row)
{
  return 10 + 20 * column + 70 * row;
}

normalcolor greyColour(int v)
{
  return normalcolor{255, uint8_t(v), uint8_t(v), uint8_t(v)};
}

// A picture of random bytes, different for every seed.
KVtestPicture randomPicture(int16_t width, int16_t height, unsigned seed)
{
  std::mt19937 rng(seed);
  return KVtestPicture::rgb(width, height, [&](int, int) {
    return normalcolor{255, uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
  });
}

class F21Pictures : public ::testing::Test
{
protected:
  // Binds member `id` of f21 to slot 0, sets A, B, C, prepares it, and makes
  // one unit of x and y one pixel.
  gfunc* bind(int16_t id, double a, double b, double c)
  {
    gfunc* g = h_.bind(kFamily21, id);
    h_.setParams(a, b, c);
    prepare();
    return g;
  }
  void prepare()
  {
    h_.prepare();
    KVpictureRecord& r = privateArea<F21pictPrivate>(h_.component()).pict;
    r.sx = r.sy = 1;
  }
  // The member's output at pixel position (px, py) of the kW x kH picture.
  double at(double px, double py, int width = kW, int height = kH)
  {
    const KVplanePoint p = KV_pointAt(width, height, px, py);
    return h_.at(p.x, p.y);
  }
  void TearDown() override
  {
    if (gfunc* g = h_.component(); g != nullptr && g->funcID == 34)
      f21_blurredmovie_release(g);
  }

  KVmemberHarness h_;
};

TEST_F(F21Pictures, NamesLabelsDefaultsAndRanges)
{
  const KVnameRow names[] = {
      {30, " Pict/Movie", 3, {"Size ", "Contrast ", "Tiling "}},
      {31, " Pict/Movie SymTiled ", 2, {"Size ", "Contrast ", ""}},
      {34, " Blurred Pict/Movie ", 3, {"Size ", "Contrast ", "Blur "}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h_, kFamily21, row);
  const KVrangeRow ranges[] = {
      {30, {1, 1, 1}, {0, 0, 0}, {4, 4, 1}},
      {31, {1, 1, -1}, {0, 0}, {4, 4}},
      {34, {1, 1, 0.5}, {0.125, 0, 0}, {4, 4, 1}},
  };
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h_, kFamily21, row);
}

TEST_F(F21Pictures, MovieTilesWithPeriodsOfTheTilingAndTheBackgroundInTheGaps)
{
  const KVtestPicture picture = KVtestPicture::rgb(
      kW, kH, [](int column, int row) { return greyColour(testGrey(column, row)); });
  picture.handTo(h_.doc(), 0);
  const double k = 4.0 / 255;
  const double background = 10 * k;

  bind(30, 1, 1, 1);  // Tiling 1: period W x H
  for (int column = 0; column < kW; ++column)
    for (int row = 0; row < kH; ++row) {
      EXPECT_DOUBLE_EQ(at(column, row), testGrey(column, row) * k) << column << " " << row;
      // Off the pixel grid, so that no point is a negative whole number (which
      // lies in the cell below with fraction 1).
      const double v = at(column + 0.25, row + 0.5);
      for (int m = -2; m <= 2; ++m)
        EXPECT_DOUBLE_EQ(at(column + 0.25 + kW * m, row + 0.5 - kH * m), v)
            << column << " " << row << " tile " << m;
    }
  // Just left of x = 0: the tile's last column, blending toward g0.
  EXPECT_DOUBLE_EQ(at(-0.25, 1), (testGrey(3, 1) + (10 - testGrey(3, 1)) * 0.75) * k);
  EXPECT_DOUBLE_EQ(at(1.5, 0.5), 75 * k);   // bilinear inside
  EXPECT_DOUBLE_EQ(at(1.5, 2.5), 180 * k);  // the last row is not blended downward

  bind(30, 1, 1, 0.5);  // period 2W x 2H, the picture in one quarter
  for (double px : {0.0, 2.0, 8.0, 10.0, 16.0})
    EXPECT_DOUBLE_EQ(at(px, 1), testGrey(int(px) % 8, 1) * k) << px;
  EXPECT_DOUBLE_EQ(at(-7.75, 1.5), at(0.25, 1.5));
  for (double px : {4.0, 5.5, 7.0, -1.0, -3.5})
    EXPECT_DOUBLE_EQ(at(px, 1), background) << px;
  EXPECT_DOUBLE_EQ(at(1, 4), background);

  bind(30, 1, 1, 0);  // once
  EXPECT_DOUBLE_EQ(at(2, 1), testGrey(2, 1) * k);
  for (double px : {-0.5, 4.0, 4.5, 8.0})
    EXPECT_DOUBLE_EQ(at(px, 1), background) << px;
  EXPECT_DOUBLE_EQ(at(1, -0.5), background);

  // Tiling is held to at most 1, and a tiny one saturates its period.
  gfunc* g = bind(30, 1, 1, 3);
  EXPECT_EQ(g->C, 1);
  bind(30, 1, 1, 1e-300);
  EXPECT_DOUBLE_EQ(at(1, 1), testGrey(1, 1) * k);
  EXPECT_DOUBLE_EQ(at(-3, 1), background);
}

TEST_F(F21Pictures, SymTiledMirrorsAtEveryEdgeWithoutASeam)
{
  const KVtestPicture picture = KVtestPicture::rgb(
      kW, kH, [](int column, int row) { return greyColour(testGrey(column, row)); });
  picture.handTo(h_.doc(), 0);
  const double k = 4.0 / 255;
  bind(31, 1, 1, 0);
  // ix = -1 reads column 0 again.
  EXPECT_DOUBLE_EQ(at(-0.5, 0), testGrey(0, 0) * k);
  EXPECT_NEAR(at(-1e-9, 1), at(1e-9, 1), 1e-6);
  EXPECT_NEAR(at(4 - 1e-9, 1), at(4 + 1e-9, 1), 1e-6);
  // Period 2W across and 2H down; a mirrored tile reads the mirror image.
  for (double px : {0.5, 1.25, 3.0, 3.5})
    for (double py : {0.0, 1.0, 1.5, 2.0}) {
      const double v = at(px, py);
      EXPECT_DOUBLE_EQ(at(px + 2 * kW, py), v) << px << " " << py;
      EXPECT_DOUBLE_EQ(at(px - 2 * kW, py), v) << px << " " << py;
      EXPECT_DOUBLE_EQ(at(px, py + 2 * kH), v) << px << " " << py;
    }
}

TEST_F(F21Pictures, GreysOfEightAndThirtyTwoBitPicturesAndTheRedByte)
{
  const KVtestPicture grey8 =
      KVtestPicture::grey(kW, kH, [](int column, int row) { return testGrey(column, row); });
  const KVtestPicture grey32 = KVtestPicture::rgb(
      kW, kH, [](int column, int row) { return greyColour(testGrey(column, row)); });
  KVgridView view;
  view.width = 24;
  view.height = 24;
  for (int16_t id : {int16_t(30), int16_t(31), int16_t(34)}) {
    SCOPED_TRACE(id);
    std::vector<double> values[2];
    for (int depth = 0; depth < 2; ++depth) {
      (depth == 0 ? grey8 : grey32).handTo(h_.doc(), 0);
      bind(id, 1, 1, 0.5);
      values[depth] = h_.grid(view);
      if (id == 34)
        f21_blurredmovie_release(h_.component());
    }
    EXPECT_EQ(values[0], values[1]);
  }

  // Different channels: Pict/Movie averages them in integers, SymTiled reads
  // red alone.
  const KVtestPicture colours = KVtestPicture::rgb(kW, kH, [](int, int) {
    return normalcolor{255, 200, 100, 1};
  });
  colours.handTo(h_.doc(), 0);
  bind(30, 1, 1, 1);
  EXPECT_DOUBLE_EQ(at(1, 1), 100 * 4.0 / 255);
  bind(31, 1, 1, 0);
  EXPECT_DOUBLE_EQ(at(1, 1), 200 * 4.0 / 255);
}

TEST_F(F21Pictures, BlurSizeFromTheBlurParameter)
{
  const struct
  {
    double c;
    int32_t k;
  } cases[] = {{0, 2},  {0.5, 10}, {0.6, 10},   {0.75, 14},
               {1, 18}, {-3, 2},   {1e300, 18}, {std::numeric_limits<double>::quiet_NaN(), 2}};
  for (const auto& c : cases)
    EXPECT_EQ(f21_blurSize(c.c), c.k) << c.c;
}

TEST_F(F21Pictures, BlurredWhitePictureGivesFullScaleTimesContrast)
{
  const KVtestPicture white = KVtestPicture::rgb(100, 100, [](int, int) {
    return normalcolor{255, 255, 255, 255};
  });
  white.handTo(h_.doc(), 0);
  for (double blur : {0.0, 1.0}) {
    SCOPED_TRACE(blur);
    bind(34, 1, 2, blur);
    EXPECT_NEAR(at(50, 50, 100, 100), 765 * 2 / 96.0, 1e-9);
    EXPECT_NEAR(at(50.3, 49.6, 100, 100), 765 * 2 / 96.0, 1e-9);
    // More than two pixels outside: 0.
    EXPECT_EQ(at(-2.5, 50, 100, 100), 0);
    EXPECT_EQ(at(50, 101.5, 100, 100), 0);
    f21_blurredmovie_release(h_.component());
  }
}

TEST_F(F21Pictures, BlurredSumsAreRebuiltWhenTheBlurOrThePixelsChange)
{
  KVtestPicture picture = randomPicture(16, 12, 2101);
  picture.handTo(h_.doc(), 0, true);
  gfunc* g = bind(34, 1, 1, 0.5);
  const uint64_t first = f21_blurBuildCount();
  auto rebuildsAfter = [&](auto change) {
    const uint64_t before = f21_blurBuildCount();
    change();
    prepare();
    return f21_blurBuildCount() - before;
  };
  EXPECT_EQ(rebuildsAfter([] {}), 0u);
  EXPECT_EQ(rebuildsAfter([&] { g->B = 3; }), 0u);     // contrast
  EXPECT_EQ(rebuildsAfter([&] { g->C = 0.6; }), 0u);   // the same blur size
  EXPECT_EQ(rebuildsAfter([&] { g->C = 0.75; }), 1u);  // another one
  EXPECT_EQ(rebuildsAfter([&] { g->C = 0.5; }), 1u);   // the first sums were let go
  EXPECT_EQ(rebuildsAfter([&] { picture.pixel(3, 4)[2] ^= 0x55; }), 1u);  // a new frame
  EXPECT_GT(first, 0u);
  const F21pictPrivate& p = privateArea<F21pictPrivate>(g);
  EXPECT_EQ(p.lastBlur, 10);
  EXPECT_NEAR(p.outFactor, 3 / (11.0 * 11 * 11 * 11 * 96), 1e-18);

  // Releasing the last hold frees the sums; the next preparation builds again.
  const int sets = f21_blurSetCount();
  f21_blurredmovie_release(g);
  EXPECT_EQ(f21_blurSetCount(), sets - 1);
  EXPECT_EQ(p.blurred, nullptr);
  EXPECT_EQ(rebuildsAfter([] {}), 1u);
}

// What each member gives with no picture, at the marker and where the pixel
// index does not fit 32 bits.
TEST_F(F21Pictures, NoPictureMarkerAndCoordinatesBeyondTheIndexRange)
{
  for (int16_t id : {int16_t(30), int16_t(31), int16_t(34)}) {
    SCOPED_TRACE(id);
    gfunc* g = bind(id, 1, 1, 1);  // slot 0 is empty and there is no default picture
    std::fill(std::begin(g->outputs[0]), std::end(g->outputs[0]), 7.0);
    EXPECT_EQ(h_.run(KVtestInput::fill(0.5), KVtestInput::fill(0.5))[3], 7.0);
  }

  // A 16-bit buffer is no picture to these members either.
  Offworld deep = nullptr;
  const Rect bounds{0, 0, kH, kW};
  ASSERT_EQ(CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 16, &deep), noErr);
  h_.doc()->inputs[0].picture = deep;
  h_.doc()->inputs[0].sourceKind = kInputFixedBuffer;
  for (int16_t id : {int16_t(30), int16_t(31)}) {
    gfunc* g = bind(id, 1, 1, 1);
    std::fill(std::begin(g->outputs[0]), std::end(g->outputs[0]), 7.0);
    EXPECT_EQ(h_.run(KVtestInput::fill(0.5), KVtestInput::fill(0.5))[3], 7.0) << id;
  }
  KillOffworld(&deep);

  const KVtestPicture picture = KVtestPicture::rgb(
      kW, kH, [](int column, int row) { return greyColour(testGrey(column, row)); });
  picture.handTo(h_.doc(), 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct
  {
    int16_t id;
    double c;
    double outside;
  } members[] = {{30, 1, 10 * 4.0 / 255}, {30, 0, 10 * 4.0 / 255}, {31, 0, 0}, {34, 0.5, 0}};
  for (const auto& m : members) {
    SCOPED_TRACE(m.id);
    bind(m.id, 1, 1, m.c);
    EXPECT_EQ(h_.at(gINFINITY, 0), gINFINITY);
    EXPECT_EQ(h_.at(0, 2 * gINFINITY), gINFINITY);
    for (double v : {nan, 1e200, -1e200, 3e9}) {
      EXPECT_EQ(h_.at(v, 0), m.outside) << v;
      EXPECT_EQ(h_.at(0, v), m.outside) << v;
    }
    if (m.id == 34)
      f21_blurredmovie_release(h_.component());
  }
}

// ---- Routines ------------------------------------------------------------------

// A box of width w over `line` with the ends extended, done plainly.
std::vector<uint32_t> plainBox(const std::vector<uint32_t>& line, int w)
{
  const int L = int(line.size()), h = (w - 1) / 2;
  std::vector<uint32_t> out(line.size());
  for (int i = 0; i < L; ++i) {
    uint32_t sum = 0;
    for (int j = i - (w - 1 - h); j <= i + h; ++j)
      sum += line[size_t(std::clamp(j, 0, L - 1))];
    out[size_t(i)] = sum;
  }
  return out;
}

TEST(F21PictRoutines, BoxPassesEqualAPlainBoxWithExtendedEnds)
{
  std::mt19937 rng(5);
  for (int L : {1, 2, 5, 40, 32767})
    for (int w : {1, 2, 3, 4, 19}) {
      SCOPED_TRACE(testing::Message() << "L " << L << " w " << w);
      const int lines = L > 100 ? 1 : 3;
      std::vector<std::vector<uint32_t>> original(static_cast<size_t>(lines),
                                                  std::vector<uint32_t>(static_cast<size_t>(L)));
      for (auto& line : original)
        for (uint32_t& v : line)
          v = rng() % 766;
      // The lines as rows of one buffer, and as columns of another.
      std::vector<uint32_t> rows(size_t(L) * lines), columns(size_t(L) * lines);
      for (int r = 0; r < lines; ++r)
        for (int i = 0; i < L; ++i) {
          rows[size_t(r) * L + i] = original[size_t(r)][size_t(i)];
          columns[size_t(i) * lines + r] = original[size_t(r)][size_t(i)];
        }
      gw_FastBoxFilter16_X(L, lines, rows.data(), L * 4, w);
      gw_FastBoxFilter16_Y(lines, L, columns.data(), lines * 4, w);
      for (int r = 0; r < lines; ++r) {
        const std::vector<uint32_t> expected = plainBox(original[size_t(r)], w);
        for (int i = 0; i < L; ++i) {
          ASSERT_EQ(rows[size_t(r) * L + i], expected[size_t(i)]) << r << " " << i;
          ASSERT_EQ(columns[size_t(i) * lines + r], expected[size_t(i)]) << r << " " << i;
        }
      }
    }
}

// Grey sums with a zero border, then rows, columns, rows, columns, done plainly.
std::vector<uint32_t> plainSums(Offworld source, int W, int H, int k)
{
  std::vector<uint32_t> s(size_t(W) * H, 0);
  const PixMap& m = source->pixels;
  for (int r = 1; r < H - 1; ++r)
    for (int c = 1; c < W - 1; ++c) {
      const uint8_t* p = m.baseAddr + r * m.rowBytes + c * (m.pixelSize / 8);
      s[size_t(r) * W + c] = m.pixelSize == 8 ? 3u * p[0] : uint32_t(p[1]) + p[2] + p[3];
    }
  auto pass = [&](bool alongRows) {
    const int lines = alongRows ? H : W, L = alongRows ? W : H;
    for (int a = 0; a < lines; ++a) {
      std::vector<uint32_t> line(static_cast<size_t>(L));
      auto index = [&](int i) { return alongRows ? size_t(a) * W + i : size_t(i) * W + a; };
      for (int i = 0; i < L; ++i)
        line[size_t(i)] = s[index(i)];
      const std::vector<uint32_t> boxed = plainBox(line, k + 1);
      for (int i = 0; i < L; ++i)
        s[index(i)] = boxed[size_t(i)];
    }
  };
  for (int round = 0; round < 2; ++round) {
    pass(true);
    pass(false);
  }
  return s;
}

std::vector<uint32_t> sumsOf(Offworld sums, int W, int H)
{
  std::vector<uint32_t> s(size_t(W) * H);
  for (int r = 0; r < H; ++r)
    std::memcpy(&s[size_t(r) * W], sums->pixels.baseAddr + r * sums->pixels.rowBytes,
                4 * size_t(W));
  return s;
}

TEST(F21PictRoutines, GreySumsOfEightAndThirtyTwoBitPictures)
{
  std::mt19937 rng(9);
  std::vector<int> greys(7 * 5);
  for (int& v : greys)
    v = int(rng() % 256);
  auto greyAt = [&](int column, int row) { return greys[size_t(row) * 7 + column]; };
  const KVtestPicture grey8 = KVtestPicture::grey(7, 5, greyAt);
  const KVtestPicture grey32 = KVtestPicture::rgb(
      7, 5, [&](int column, int row) { return greyColour(greyAt(column, row)); });
  const KVtestPicture colours = randomPicture(7, 5, 77);
  KVtestPicture out = KVtestPicture::rgb(7, 5, [](int, int) { return normalcolor{}; });
  for (int k : {0, 2, 4}) {
    SCOPED_TRACE(k);
    ConvertToscalar16(colours.world(), out.world(), k, 7, 5);
    EXPECT_EQ(sumsOf(out.world(), 7, 5), plainSums(colours.world(), 7, 5, k));
    ConvertToscalar16(grey32.world(), out.world(), k, 7, 5);
    const std::vector<uint32_t> from32 = sumsOf(out.world(), 7, 5);
    ConvertToscalar16(grey8.world(), out.world(), k, 7, 5);
    EXPECT_EQ(sumsOf(out.world(), 7, 5), from32);
    EXPECT_EQ(from32, plainSums(grey32.world(), 7, 5, k));
  }
}

TEST(F21PictRoutines, SplineSegmentsAndTheirFourByFourSamples)
{
  // The inner control points use 0.16666666667, not 1/6.
  EXPECT_EQ(Bezier1D(0, 0, 6, 0, 0), 0);
  EXPECT_EQ(Bezier1D(0, 0, 6, 0, 1), 6);
  const double c1 = 6 * 0.16666666667;
  EXPECT_DOUBLE_EQ(Bezier1D(0, 0, 6, 0, 0.5), 0.375 * c1 + 0.375 * 6 + 0.125 * 6);
  EXPECT_NE(Bezier1D(0, 0, 6, 0, 0.5), 3.375);

  // Samples 100 column + 1000 row: the spline of evenly spaced values is the
  // straight line (to the constant's precision).
  std::vector<uint32_t> samples(8 * 6);
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 8; ++c)
      samples[size_t(r) * 8 + c] = uint32_t(100 * c + 1000 * r);
  for (auto [x, y] : {std::pair{1.0, 1.0}, {2.3, 1.7}, {4.99, 2.5}}) {
    EXPECT_NEAR(newPLerp(samples.data(), 32, x, y), 100 * x + 1000 * y, 1e-6) << x << " " << y;
    EXPECT_NEAR(newPLerpBounds(samples.data(), 32, 8, 6, x, y), 100 * x + 1000 * y, 1e-6);
  }
  // Outside the samples count as 0.
  EXPECT_EQ(newPLerpBounds(samples.data(), 32, 8, 6, -3, 2), 0);
  EXPECT_EQ(newPLerpBounds(samples.data(), 32, 8, 6, 2, 9), 0);
  EXPECT_NEAR(newPLerpBounds(samples.data(), 32, 8, 6, -1, 0), Bezier1D(0, 0, 0, 0, 0), 1e-12);
  EXPECT_EQ(newPLerpBounds(samples.data(), 32, 8, 6, std::numeric_limits<double>::quiet_NaN(), 2),
            0);
}

TEST(F21PictRoutines, CubicLerpOfAnEightBitPicture)
{
  const KVtestPicture flat = KVtestPicture::grey(6, 6, [](int, int) { return 90; });
  const KVtestPicture dot =
      KVtestPicture::grey(6, 6, [](int c, int r) { return c == 2 && r == 2 ? 160 : 0; });
  const int32_t rowBytes = flat.world()->pixels.rowBytes;
  for (auto [x, y] : {std::pair{1.0, 1.0}, {2.25, 3.5}, {3.9, 1.1}})
    EXPECT_NEAR(PictCubicLerp(flat.world()->pixels.baseAddr, rowBytes, x, y), 90, 1e-12);
  // On a pixel: the mean of its quarter points, each 160 - 160 / 4.
  EXPECT_DOUBLE_EQ(PictCubicLerp(dot.world()->pixels.baseAddr, rowBytes, 2, 2), 120);
  // Symmetric about the dot.
  EXPECT_DOUBLE_EQ(PictCubicLerp(dot.world()->pixels.baseAddr, rowBytes, 2.5, 2),
                   PictCubicLerp(dot.world()->pixels.baseAddr, rowBytes, 1.5, 2));
}

// ---- Renders --------------------------------------------------------------------

class F21PictRender : public KVfamilyRender
{};

TEST_F(F21PictRender, SamePictureOnOneAndFourThreadsAndOneBlur)
{
  const KVtestPicture picture = randomPicture(40, 30, 2102);
  picture.handTo(doc_, 0);
  for (int16_t id : {int16_t(30), int16_t(31), int16_t(34)}) {
    SCOPED_TRACE(id);
    arb_presetinit(doc_, kFamily21, id);
    const uint64_t builds = f21_blurBuildCount();
    const std::vector<uint8_t> four = render(4);
    // The copies read the sums the document's own component built.
    EXPECT_EQ(f21_blurBuildCount() - builds, id == 34 ? 1u : 0u);
    EXPECT_TRUE(four == render(1));
    EXPECT_FALSE(std::all_of(four.begin(), four.end(), [&](uint8_t b) { return b == four[0]; }));
    if (id == 34)
      f21_blurredmovie_release(&doc_->tree.funcs[0]);
    arb_Clear(doc_, true, true);
  }
}

}  // namespace
