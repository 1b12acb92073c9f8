#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "foundation/modifierkeys.h"
#include "imaging/filters.h"
#include "imaging/offworld.h"

namespace {

// A block of 32-bit (or 8-bit) pixels with the scratch block installed.
struct Pixels
{
  int32_t columns, rows, bpp;
  std::vector<uint8_t> bytes;
  Pixels(int32_t c, int32_t r, int32_t b = 4)
      : columns(c), rows(r), bpp(b), bytes(size_t(c * r * b))
  {}
  uint8_t* at(int32_t x, int32_t y) { return bytes.data() + (int64_t(y) * columns + x) * bpp; }
  int32_t rowBytes() const { return columns * bpp; }
  void run(PixCommandProc proc, int32_t param)
  {
    gwIs8bit = bpp == 1, gwIs16bit = bpp == 2;
    proc(columns, rows, bytes.data(), rowBytes(), param);
    gwIs8bit = gwIs16bit = 0;
  }
};

class FilterTest : public ::testing::Test
{
protected:
  void SetUp() override { initGWutils(scratch_.data()); }
  void TearDown() override { initGWutils(nullptr); }
  // Ramp entry i of a 32-bit ramp: pad 255, red = i & 255, green = i >> 8.
  void WriteRamp32(int32_t entries)
  {
    for (int32_t i = 0; i < entries; ++i) {
      const uint8_t entry[4] = {255, uint8_t(i), uint8_t(i >> 8), 7};
      std::memcpy(scratch_.data() + 4 * i, entry, 4);
    }
  }
  std::vector<uint8_t> scratch_ = std::vector<uint8_t>(kGWTempBufferSize);
};

int32_t RampIndex(const uint8_t* p)
{
  return p[1] | p[2] << 8;
}

TEST(FilterBlur, WindowFromRadius)
{
  const struct
  {
    int32_t radius, window, shift;
  } cases[] = {{0, 4, 2},   {4, 4, 2},   {5, 8, 3},    {16, 16, 4},
               {33, 64, 6}, {64, 64, 6}, {65, 128, 7}, {255, 128, 7}};
  for (const auto& c : cases) {
    const BlurWindow w = gw_BlurWindow(c.radius);
    EXPECT_EQ(w.window, c.window) << c.radius;
    EXPECT_EQ(w.shift, c.shift) << c.radius;
  }
}

// Box average of one line by its definition: pixel x is the integer mean of
// p[x + n/2 - n + 1 .. x + n/2], ends replicated.
std::vector<int> BoxReference(const std::vector<int>& p, int n, int shift)
{
  const int L = int(p.size());
  std::vector<int> out(p.size());
  for (int x = 0; x < L; ++x) {
    int64_t sum = 0;
    for (int k = x + n / 2 - n + 1; k <= x + n / 2; ++k)
      sum += p[size_t(std::clamp(k, 0, L - 1))];
    out[size_t(x)] = int(shift >= 0 ? sum >> shift : sum / n);
  }
  return out;
}

TEST_F(FilterTest, BoxAveragesMatchTheirDefinition)
{
  std::mt19937 rng(5);
  Pixels px(37, 3);
  for (uint8_t& b : px.bytes)
    b = uint8_t(rng());
  std::vector<int> red, pad;
  for (int x = 0; x < 37; ++x)
    red.push_back(px.at(x, 1)[1]), pad.push_back(px.at(x, 1)[0]);
  Pixels shifted = px;
  shifted.run(gw_FastAverageXBS, 3 << 8 | 8 << 24);
  px.run(gw_FastAverage, 5);
  const std::vector<int> byShift = BoxReference(red, 8, 3), byDivision = BoxReference(red, 5, -1),
                         padAverage = BoxReference(pad, 5, -1);
  for (int x = 0; x < 37; ++x) {
    EXPECT_EQ(shifted.at(x, 1)[1], byShift[size_t(x)]) << x;
    EXPECT_EQ(shifted.at(x, 1)[0], pad[size_t(x)]) << x;
    EXPECT_EQ(px.at(x, 1)[1], byDivision[size_t(x)]) << x;
    EXPECT_EQ(px.at(x, 1)[0], padAverage[size_t(x)]) << x;
  }
}

TEST_F(FilterTest, BlurKeepsOneColourAndMaximumNeverLowers)
{
  Pixels flat(9, 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) {
      const uint8_t c[4] = {3, 90, 160, 250};
      std::memcpy(flat.at(x, y), c, 4);
    }
  const std::vector<uint8_t> before = flat.bytes;
  flat.run(gw_FastBlurr32, 64);
  EXPECT_EQ(flat.bytes, before);

  std::mt19937 rng(9);
  Pixels noisy(20, 20);
  for (uint8_t& b : noisy.bytes)
    b = uint8_t(rng());
  const std::vector<uint8_t> original = noisy.bytes;
  noisy.run(gw_FastBlurr32, 256 + 4);
  for (size_t i = 0; i < original.size(); ++i)
    EXPECT_GE(noisy.bytes[i], original[i]) << i;
}

TEST_F(FilterTest, BlurOfLongRowsStaysInside)
{
  Pixels wide(40000, 3);
  for (int x = 0; x < 40000; ++x)
    wide.at(x, 1)[1] = uint8_t(x);
  wide.run(gw_FastBlurr32, 65);
  Pixels tall(2, 40000, 1);
  tall.run(gw_FastBlurr32, 200);
  SUCCEED();
}

TEST_F(FilterTest, ColourFillByDepth)
{
  Pixels p16(3, 2, 2);
  p16.run(gw_colorfill, int32_t(0x0000FF00u));
  for (int i = 0; i < 6; ++i) {
    uint16_t w;
    std::memcpy(&w, p16.bytes.data() + 2 * i, 2);
    EXPECT_EQ(w, 31744);
  }
  Pixels p32(3, 2);
  p32.run(gw_colorfill, int32_t(0x030201FFu));
  EXPECT_EQ(p32.at(2, 1)[0], 0xFF);
  EXPECT_EQ(p32.at(2, 1)[3], 3);
}

TEST_F(FilterTest, GaussMaskIsSymmetricFromCentreToCorners)
{
  WriteRamp32(301);
  Pixels mask(5, 3);
  mask.run(gw_GaussMask, 300);
  EXPECT_EQ(RampIndex(mask.at(2, 1)), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(RampIndex(mask.at(x, y)), RampIndex(mask.at(4 - x, y)));
      EXPECT_EQ(RampIndex(mask.at(x, y)), RampIndex(mask.at(x, 2 - y)));
    }
  EXPECT_EQ(RampIndex(mask.at(0, 0)), 300);
  EXPECT_EQ(RampIndex(mask.at(4, 2)), 300);
  // A last index beyond what the block holds reads only inside it.
  WriteRamp32(kGWTempBufferSize / 4);
  mask.run(gw_GaussMask, 1 << 30);
  EXPECT_EQ(RampIndex(mask.at(0, 0)), kGWTempBufferSize / 4 - 1);
}

TEST_F(FilterTest, FadeMasksWriteEveryRowFromTheRamp)
{
  WriteRamp32(2049);
  Pixels v(3, 4);
  std::fill(v.bytes.begin(), v.bytes.end(), 0xEE);
  v.run(gw_FadeInMaskV, 0);
  const int expected[] = {0, 512, 1024, 1536};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(RampIndex(v.at(x, y)), expected[y]) << x << "," << y;

  Pixels h(4, 2);
  gopt = 1;
  h.run(gw_FadeInOutMaskH, 0);
  gopt = 0;
  EXPECT_EQ(RampIndex(h.at(0, 0)), 0);
  EXPECT_EQ(RampIndex(h.at(2, 1)), 2047);
}

TEST_F(FilterTest, EqualizeAndLerp)
{
  Pixels uniform(4, 3);
  std::fill(uniform.bytes.begin(), uniform.bytes.end(), 77);
  uniform.run(gw_Equalize, 0);
  EXPECT_EQ(uniform.bytes, std::vector<uint8_t>(48, 77));

  Pixels grey(4, 1, 1);
  grey.bytes = {10, 50, 60, 200};
  grey.run(gw_Equalize, 0);
  EXPECT_EQ(grey.bytes, (std::vector<uint8_t>{0, 53, 67, 255}));

  Pixels row(4, 1, 1);
  row.bytes = {0, 9, 9, 100};
  row.run(gw_Lerp, 0);
  EXPECT_EQ(row.bytes, (std::vector<uint8_t>{0, 25, 50, 75}));
}

TEST_F(FilterTest, MirrorsAndPointFilters)
{
  Pixels p(5, 1, 1);
  p.bytes = {1, 2, 3, 4, 5};
  p.run(gw_MirrorH, 0);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{1, 2, 3, 2, 1}));
  p.bytes = {1, 2, 3, 4, 5};
  p.run(gw_Sym, 0);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{1, 2, 2, 1, 5}));
  p.bytes = {1, 2, 3, 4, 5};
  p.run(gw_SymH, 0);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{5, 4, 3, 2, 1}));
  p.bytes = {1, 200, 3, 4, 129};
  p.run(gw_AbsMap, 0);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{1, 55, 3, 4, 126}));
  p.run(gw_sub, 4);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{0, 51, 0, 0, 122}));

  Pixels c(1, 1);
  c.bytes = {10, 200, 100, 50};
  c.run(gw_invertalpha, 0);
  EXPECT_EQ(c.bytes, (std::vector<uint8_t>{245, 200, 100, 50}));
  c.run(gw_mul, int32_t(0x80FF8000u));
  EXPECT_EQ(c.bytes, (std::vector<uint8_t>{245, 100, 99, 25}));
}

TEST_F(FilterTest, RowFiltersOnGreyRows)
{
  Pixels p(5, 1, 1);
  p.bytes = {10, 20, 30, 40, 50};
  p.run(gw_offset, 2);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{0, 0, 10, 20, 30}));
  p.bytes = {10, 20, 30, 40, 50};
  gopt = 1;
  p.run(gw_offset, -1);
  gopt = 0;
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{20, 30, 40, 50, 50}));
  p.bytes = {0, 0, 100, 0, 0};
  p.run(gw_smoothX, 0);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>{6, 25, 37, 25, 6}));
  // Embossing a flat row changes nothing; a step rises on one side.
  p.bytes = {90, 90, 90, 90, 90};
  p.run(gw_embossR, 0);
  EXPECT_EQ(p.bytes, (std::vector<uint8_t>(5, 90)));
  p.bytes = {0, 0, 100, 100, 100};
  p.run(gw_embossL, 0);
  EXPECT_EQ(p.bytes[0], 0);
  EXPECT_EQ(p.bytes[4], 50);

  Pixels tall(1, 120, 1);
  std::fill(tall.bytes.begin(), tall.bytes.end(), 200);
  tall.run(gw_LowerLo, 0);
  EXPECT_EQ(tall.bytes[119], 0);
  EXPECT_EQ(tall.bytes[108], 0);
  EXPECT_EQ(tall.bytes[107], 2);
  EXPECT_EQ(tall.bytes[0], 200);

  GradientRec ramp;
  ramp.count = 2;
  ramp.colors[0] = {255, 0, 0, 0};
  ramp.colors[1] = {255, 0, 0, 200};
  Pixels g(2, 4, 1);
  gwIs8bit = 1;
  gw_gradientV(2, 4, g.bytes.data(), 2, &ramp);
  gwIs8bit = 0;
  EXPECT_EQ(g.bytes[0], 0);
  EXPECT_EQ(g.bytes[1], 0);
  EXPECT_GT(g.bytes[7], g.bytes[5]);
}

TEST_F(FilterTest, SquareMaskTakesTheLargerDistance)
{
  WriteRamp32(2049);
  Pixels mask(5, 3);
  mask.run(gw_SquareMask, 0);
  // R = 2.5, columns 1:1, rows scaled by 2.5 / 1.5; index d / R x 2048.
  const int expected[3][5] = {
      {1638, 1365, 1365, 1365, 1638}, {1638, 819, 0, 819, 1638}, {1638, 1365, 1365, 1365, 1638}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(RampIndex(mask.at(x, y)), expected[y][x]) << x << "," << y;

  // One column: no horizontal mirror; 8-bit ramp bytes i, 255 at the edge.
  for (int i = 0; i < 256; ++i)
    scratch_[size_t(i)] = uint8_t(i);
  Pixels column(1, 4, 1);
  column.run(gw_SquareMask, 0);
  EXPECT_EQ(column.bytes, (std::vector<uint8_t>{255, 127, 127, 255}));
}

TEST_F(FilterTest, FadeMapFadesTheOuterQuarterOfEachRowsBytes)
{
  struct
  {
    int32_t columns, bpp;
    std::vector<uint8_t> expected;
  } cases[] = {
      {8, 1, {0, 50, 100, 100, 100, 100, 50, 0}},
      {2, 4, {0, 50, 100, 100, 100, 100, 50, 0}},  // bytes of 32-bit pixels one by one
      {3, 1, {100, 100, 100}},                     // m = 0: unchanged
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.columns);
    Pixels p(c.columns, 2, c.bpp);
    std::fill(p.bytes.begin(), p.bytes.end(), 100);
    p.run(gw_FadeMap, 0);
    for (int y = 0; y < 2; ++y)
      EXPECT_EQ(std::vector<uint8_t>(p.at(0, y), p.at(0, y) + p.rowBytes()), c.expected);
  }
}

TEST_F(FilterTest, EdgeSmoothingFollowsItsSideTest)
{
  struct
  {
    PixCommandProc filter;
    std::vector<uint8_t> row, expected;
  } cases[] = {
      {gw_smoothR, {0, 0, 90, 0, 0}, {0, 0, 90, 67, 53}},
      {gw_smoothL, {0, 0, 90, 0, 0}, {53, 67, 90, 0, 0}},
      {gw_smoothR, {10, 200, 30, 30, 250}, {10, 200, 114, 30, 250}},
  };
  for (const auto& c : cases) {
    Pixels grey(5, 1, 1);
    grey.bytes = c.row;
    grey.run(c.filter, 0);
    EXPECT_EQ(grey.bytes, c.expected);
    // 32-bit: each colour byte by its own test, the pad kept.
    Pixels colour(5, 1);
    for (int x = 0; x < 5; ++x) {
      const uint8_t px[4] = {uint8_t(x + 1), c.row[size_t(x)], c.row[size_t(4 - x)], 0};
      std::memcpy(colour.at(x, 0), px, 4);
    }
    colour.run(c.filter, 0);
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(colour.at(x, 0)[0], x + 1);
      EXPECT_EQ(colour.at(x, 0)[1], c.expected[size_t(x)]);
      EXPECT_EQ(colour.at(x, 0)[3], 0);
    }
  }
}

}  // namespace
