#include <array>
#include <cstring>
#include <gtest/gtest.h>

#include "foundation/colormath.h"
#include "foundation/modifierkeys.h"
#include "imaging/transfers.h"
#include "tests/imaging/test_buffers.h"

namespace {

using Bytes = std::array<uint8_t, 4>;

uint8_t* At(Offworld w, int32_t col, int32_t row = 0)
{
  return w->pixels.baseAddr + int64_t(row) * w->pixels.rowBytes +
         int64_t(col) * (w->pixels.pixelSize / 8);
}

Bytes Read(Offworld w, int32_t col)
{
  Bytes b{};
  std::memcpy(b.data(), At(w, col), size_t(w->pixels.pixelSize / 8));
  return b;
}

void Write(Offworld w, int32_t col, Bytes b)
{
  std::memcpy(At(w, col), b.data(), size_t(w->pixels.pixelSize / 8));
}

void Transfer(Offworld src, Offworld dst, Rect r, int16_t mode, int32_t param)
{
  TransfertGWorlds(src, dst, PackRectTopLeft(r), PackRectBottomRight(r), PackRectTopLeft(r),
                   PackRectBottomRight(r), mode, param);
}

struct ModeCase
{
  const char* what;
  int16_t srcDepth, dstDepth, mode;
  int32_t param;
  Bytes src, dst, expected;
};

// One source pixel onto one destination pixel (8-bit pixels use byte 0).
TEST(TransferModes, OnePixelByModeAndDepths)
{
  const ModeCase cases[] = {
      {"blend 0 gives the source, pad kept",
       32,
       32,
       1,
       0,
       {9, 10, 200, 30},
       {77, 90, 0, 250},
       {77, 10, 200, 30}},
      {"blend 256 leaves the destination",
       32,
       32,
       1,
       256,
       {9, 10, 200, 30},
       {77, 90, 0, 250},
       {77, 90, 0, 250}},
      {"blend beyond 256 is held to 0..255",
       32,
       32,
       1,
       512,
       {9, 50, 200, 30},
       {77, 200, 0, 250},
       {77, 255, 0, 255}},
      {"mode 13 pad 0 leaves the pixel",
       32,
       32,
       13,
       0,
       {9, 10, 20, 30},
       {0, 90, 80, 70},
       {0, 90, 80, 70}},
      {"mode 13 pad 255 gives the source with pad 255",
       32,
       32,
       13,
       0,
       {9, 10, 20, 30},
       {255, 90, 80, 70},
       {255, 10, 20, 30}},
      {"mode 13 pad 128 weighs 128/256",
       32,
       32,
       13,
       0,
       {9, 0, 200, 100},
       {128, 200, 0, 100},
       {128, 100, 100, 100}},
      {"mode 13 inverted, pad 0 copies the source with pad 0",
       32,
       32,
       13,
       1,
       {9, 10, 20, 30},
       {0, 90, 80, 70},
       {0, 10, 20, 30}},
      {"mode 14 source pad 255 copies it",
       32,
       32,
       14,
       0,
       {255, 1, 2, 3},
       {0, 90, 80, 70},
       {255, 1, 2, 3}},
      {"mode 14 source pad 0 keeps the colour, takes the pad",
       32,
       32,
       14,
       0,
       {0, 1, 2, 3},
       {50, 90, 80, 70},
       {0, 90, 80, 70}},
      {"mode 16 white gives pad 255",
       32,
       32,
       16,
       0,
       {0, 255, 255, 255},
       {7, 1, 2, 3},
       {255, 1, 2, 3}},
      {"mode 16 black gives pad 0", 32, 32, 16, 0, {0, 0, 0, 0}, {7, 1, 2, 3}, {0, 1, 2, 3}},
      {"mode 16 negative threshold never wraps",
       32,
       32,
       16,
       -300,
       {0, 255, 255, 255},
       {7, 1, 2, 3},
       {255, 1, 2, 3}},
      {"mode 17 keeps the smaller pad",
       32,
       32,
       17,
       0,
       {0, 255, 255, 255},
       {7, 1, 2, 3},
       {7, 1, 2, 3}},
      {"mode 18 copies the source pad",
       32,
       32,
       18,
       0,
       {42, 255, 255, 255},
       {7, 1, 2, 3},
       {42, 1, 2, 3}},
      {"add saturates", 32, 32, 3, 0, {9, 200, 20, 0}, {7, 100, 20, 0}, {7, 255, 40, 0}},
      {"difference", 32, 32, 9, 0, {9, 200, 20, 0}, {7, 100, 30, 0}, {7, 100, 10, 0}},
      {"subtract stops at 0", 32, 32, 20, 0, {9, 200, 20, 0}, {7, 100, 30, 0}, {7, 0, 10, 0}},
      {"mix 50 rounds each byte to even, pad 0",
       32,
       32,
       11,
       0,
       {9, 201, 21, 0},
       {7, 101, 31, 255},
       {0, 150, 25, 127}},
      {"lighting by 255 raises, by 128 keeps",
       32,
       32,
       2,
       0,
       {9, 255, 128, 0},
       {7, 100, 100, 100},
       {7, 177, 100, 21}},
      {"mode 21 pad to grey", 32, 32, 21, 0, {99, 1, 2, 3}, {7, 8, 8, 8}, {0, 99, 99, 99}},
      {"mode 27 tints by the colour parameter",
       32,
       32,
       27,
       int32_t(0x80FF4000u),
       {9, 200, 200, 200},
       {7, 0, 0, 0},
       {0, 50, 199, 100}},
      {"mode outside the table writes nothing",
       32,
       32,
       99,
       0,
       {9, 1, 2, 3},
       {7, 8, 8, 8},
       {7, 8, 8, 8}},
      {"negative mode writes nothing", 32, 32, -1, 0, {9, 1, 2, 3}, {7, 8, 8, 8}, {7, 8, 8, 8}},
      {"8 into 32 mode 0 gives grey with pad 0",
       8,
       32,
       0,
       0,
       {77},
       {255, 1, 2, 3},
       {0, 77, 77, 77}},
      {"8 into 32 mode 30 gives red and green", 8, 32, 30, 0, {77}, {255, 1, 2, 3}, {0, 77, 77, 0}},
      {"32 into 8 averages", 32, 8, 0, 0, {9, 10, 20, 32}, {0}, {20}},
      {"32 into 8 mode 30 takes max(red, green)", 32, 8, 30, 0, {9, 10, 20, 32}, {0}, {20}},
      {"8-bit blend 64", 8, 8, 1, 64, {200}, {100}, {175}},
      {"8-bit mode 2 writes nothing", 8, 8, 2, 0, {200}, {100}, {100}},
      {"16-bit pair copies whatever the mode", 16, 16, 13, 0, {0x12, 0x34}, {0, 0}, {0x12, 0x34}},
      {"16 into 32 writes nothing", 16, 32, 0, 0, {0x12, 0x34}, {1, 2, 3, 4}, {1, 2, 3, 4}},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.what);
    OffworldGuard s{Make(Rect{0, 0, 1, 1}, c.srcDepth)}, d{Make(Rect{0, 0, 1, 1}, c.dstDepth)};
    Write(s.w, 0, c.src);
    Write(d.w, 0, c.dst);
    Transfer(s.w, d.w, Rect{0, 0, 1, 1}, c.mode, c.param);
    const Bytes got = Read(d.w, 0);
    for (int i = 0; i < d.w->pixels.pixelSize / 8; ++i)
      EXPECT_EQ(got[i], c.expected[i]) << "byte " << i;
  }
}

// Red along a row of width columns after a fade from red 0 to red 200.
std::vector<int> FadeRow(int16_t mode, int32_t width)
{
  OffworldGuard s{Make(Rect{0, 0, 1, int16_t(width)}, 32)},
      d{Make(Rect{0, 0, 1, int16_t(width)}, 32)};
  for (int32_t x = 0; x < width; ++x) {
    Write(s.w, x, {0, 200, 0, 0});
    Write(d.w, x, {0, 0, 0, 0});
  }
  Transfer(s.w, d.w, Rect{0, 0, 1, int16_t(width)}, mode, 0);
  std::vector<int> red;
  for (int32_t x = 0; x < width; ++x)
    red.push_back(Read(d.w, x)[1]);
  return red;
}

TEST(TransferModes, FadesFollowTheColumn)
{
  EXPECT_EQ(FadeRow(25, 4), (std::vector<int>{0, 100, 200, 100}));
  EXPECT_EQ(FadeRow(7, 4), (std::vector<int>{0, 50, 100, 150}));
  EXPECT_EQ(FadeRow(8, 4), (std::vector<int>{200, 150, 100, 50}));
  gopt = 1;
  EXPECT_EQ(FadeRow(7, 4), (std::vector<int>{200, 150, 100, 50}));
  gopt = 0;
}

TEST(TransferModes, OverlappingRectanglesReadTheSourceAsItWas)
{
  OffworldGuard g{Make(Rect{0, 0, 1, 5}, 32)};
  for (int x = 0; x < 5; ++x)
    Write(g.w, x, {0, uint8_t(10 * (x + 1)), 0, 0});
  TransfertGWorlds(g.w, g.w, PackRectTopLeft(Rect{0, 0, 1, 4}),
                   PackRectBottomRight(Rect{0, 0, 1, 4}), PackRectTopLeft(Rect{0, 1, 1, 5}),
                   PackRectBottomRight(Rect{0, 1, 1, 5}), 3, 0);
  const int expected[] = {10, 30, 50, 70, 90};
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(Read(g.w, x)[1], expected[x]) << x;
}

TEST(TransferModes, InterleaveCopiesEvenRowsOntoOddRows)
{
  OffworldGuard s{Make(Rect{0, 0, 4, 1}, 32)}, d{Make(Rect{0, 0, 4, 1}, 32)};
  for (int y = 0; y < 4; ++y) {
    std::memset(At(s.w, 0, y), 10 + y, 4);
    std::memset(At(d.w, 0, y), 0, 4);
  }
  Transfer(s.w, d.w, Rect{0, 0, 4, 1}, 23, 0);
  const int expected[] = {0, 10, 0, 12};
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(*At(d.w, 0, y), expected[y]) << y;
}

TEST(TransferHelpers, MergerRowsAndWriters)
{
  // The colour merger covers one row fewer than the rectangle; mask 0 copies
  // the colour, 255 keeps the destination.
  OffworldGuard mask{Make(Rect{0, 0, 3, 2}, 8)}, d{Make(Rect{0, 0, 3, 2}, 32)};
  for (int y = 0; y < 3; ++y) {
    At(mask.w, 0, y)[0] = 0, At(mask.w, 0, y)[1] = 255;
    std::memset(At(d.w, 0, y), 5, 8);
  }
  const Rect r{0, 0, 3, 2};
  ColorMerger(normalcolor{255, 1, 2, 3}, mask.w, d.w, PackRectTopLeft(r), PackRectBottomRight(r),
              PackRectTopLeft(r), PackRectBottomRight(r), Copy_MergerProc, 0);
  EXPECT_EQ(At(d.w, 0, 1)[3], 3);
  EXPECT_EQ(At(d.w, 1, 1)[3], 5);
  EXPECT_EQ(At(d.w, 0, 2)[3], 5);

  uint8_t line[12] = {};
  EXPECT_EQ(LinewriteBGRA(line, 3, 0x11223344u, 4), line + 12);
  EXPECT_EQ(line[8], 0x11);
  EXPECT_EQ(line[11], 0x44);
  const normalcolor m = mix50color({101, 3, 200, 7}, {0, 5, 100, 9});
  EXPECT_EQ(m.flag, 50);
  EXPECT_EQ(m.red, 3);
  EXPECT_EQ(m.green, 150);
}

struct LitCase
{
  int32_t param;
  uint8_t source, mask, dst, expected;
};

// The general merger on a shifted rectangle: source column c lights
// destination column c + 1 by T[s] = (s - 128) p / 128 + 128 (toward zero),
// d T[s] / 128 clamped, mixed in by the mask unless it is above 254.
TEST(TransferHelpers, GeneralMergerLightsThroughTheMask)
{
  const LitCase cases[] = {
      {128, 64, 255, 100, 50},    // T[s] = s
      {128, 255, 255, 200, 255},  // clamped
      {100, 1, 255, 128, 29},     // T[1] = -99 + 128, not -100
      {-128, 0, 255, 60, 120},    // T[0] = 256
      {128, 64, 128, 100, 75},    // half way: 100 + (128 x -50 >> 8)
      {128, 64, 0, 100, 100},     // no weight
  };
  for (const LitCase& c : cases) {
    SCOPED_TRACE(c.param);
    OffworldGuard src{Make(Rect{0, 0, 2, 2}, 32)}, mask{Make(Rect{0, 0, 2, 2}, 8)},
        dst{Make(Rect{0, 0, 2, 3}, 32)};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        std::memset(At(dst.w, x, y), c.dst, 4);
    std::memset(At(src.w, 1, 1), c.source, 4);
    At(mask.w, 1, 1)[0] = c.mask;
    const Rect s{1, 1, 2, 2}, d{1, 2, 2, 3};
    GnrlMerger(src.w, mask.w, dst.w, PackRectTopLeft(s), PackRectBottomRight(s), PackRectTopLeft(d),
               PackRectBottomRight(d), Lit_MergerProc, c.param);
    EXPECT_EQ(At(dst.w, 2, 1)[0], c.dst);  // the pad is left
    for (int b = 1; b < 4; ++b)
      EXPECT_EQ(At(dst.w, 2, 1)[b], c.expected);
    EXPECT_EQ(At(dst.w, 1, 1)[1], c.dst);  // outside the rectangle
    EXPECT_EQ(At(dst.w, 2, 0)[1], c.dst);
  }
}

using Combiner = void (*)(uint8_t*, uint8_t*, normalcolor);

struct HilitCase
{
  const char* what;
  Combiner combiner;
  Bytes pixel, expected;
};

TEST(TransferHelpers, HighlightCombiners)
{
  const normalcolor k{0, 200, 100, 255};
  const normalcolor sat{7, 200, 100, 50};
  const normalcolor tint{7, 139, 69, 177};  // k x L >> 8, L = (8R + 9G + 7B) / 16 = 178
  const normalcolor mixed = PColorLERP256(&sat, &tint, 200);  // s = 2 x 100
  const HilitCase cases[] = {
      {"add: e = 4 x spread, at most 64", CAddLumhilit, {9, 200, 100, 50}, {9, 250, 125, 113}},
      {"add: grey stays", CAddLumhilit, {9, 80, 80, 80}, {9, 80, 80, 80}},
      {"tint: grey below 65 stays", CTinthilit, {0, 64, 64, 64}, {0, 64, 64, 64}},
      {"tint: grey 65 is tinted", CTinthilit, {0, 65, 65, 65}, {0, 51, 25, 65}},
      {"tint: bright, 2m - 64", CTinthilit, {0, 200, 100, 50}, {0, 255, 131, 255}},
      {"tint: dark colour, m", CTinthilit, {3, 30, 20, 10}, {3, 23, 11, 29}},
      {"saturation: grey stays", CTintSatLumhilit, {5, 90, 90, 90}, {5, 90, 90, 90}},
      {"saturation: towards the tint",
       CTintSatLumhilit,
       {7, 200, 100, 50},
       {mixed.flag, mixed.red, mixed.green, mixed.blue}},
  };
  for (const HilitCase& c : cases) {
    SCOPED_TRACE(c.what);
    uint8_t pixels[8];
    std::memcpy(pixels, c.pixel.data(), 4);
    std::memset(pixels + 4, 33, 4);  // past the end
    c.combiner(pixels, pixels + 4, k);
    EXPECT_EQ((Bytes{pixels[0], pixels[1], pixels[2], pixels[3]}), c.expected);
    EXPECT_EQ(pixels[5], 33);
  }
}

}  // namespace
