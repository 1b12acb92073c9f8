#include "engine/palettes.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

#include "foundation/colormath.h"
#include "tests/engine/test_palettes.h"

namespace {

// A palette of n distinct colours.
cpalette ramp(int32_t n)
{
  cpalette p{};
  p.count = n;
  for (int32_t i = 0; i < n; ++i)
    p.colors[i] = rgb(uint8_t(i * 4), uint8_t(255 - i), uint8_t(i));
  return p;
}

TEST(Palettes, BuiltinPalettes)
{
  srandom(5);
  struct Case
  {
    int32_t index, count;
    int32_t checkAt;
    normalcolor color;
  };
  const Case cases[] = {
      {0, 2, 1, rgb(255, 255, 255)}, {1, 3, 1, rgb(0, 0, 255)},     {2, 4, 2, rgb(255, 200, 0)},
      {3, 5, 4, rgb(50, 150, 100)},  {4, 6, 4, rgb(255, 150, 250)}, {5, 7, 6, rgb(0, 0, 0)},
      {6, 8, 1, rgb(120, 0, 0)},     {7, 9, 3, rgb(255, 0, 100)},   {8, 10, 3, rgb(255, 255, 255)},
      {9, 10, 9, rgb(255, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    cpalette p{};
    define_cpalette(&p, c.index);
    EXPECT_EQ(p.count, c.count);
    EXPECT_EQ(p.colors[c.checkAt], c.color);
    if (c.index != 7 && c.index != 9) {
      EXPECT_EQ(p.colors[0], rgb(0, 0, 0));
    }
    for (int32_t i = 0; i < p.count; ++i)
      EXPECT_EQ(p.colors[i].flag, 255);
  }

  cpalette seven{};
  define_cpalette(&seven, 7);
  EXPECT_EQ(seven.colors[8], seven.colors[0]);

  cpalette other{};
  define_cpalette(&other, 70);
  EXPECT_EQ(other.count, 6);

  cpalette negative{};
  negative.colors[0] = rgb(1, 2, 3);
  define_cpalette(&negative, -5);
  EXPECT_EQ(negative.count, 0);
  EXPECT_EQ(negative.colors[0], rgb(0, 0, 0));
}

TEST(Palettes, InitialPalettesAndLibrary)
{
  cpalette p{};
  init_cpalette(&p);
  EXPECT_EQ(p.count, 2);
  EXPECT_EQ(p.colors[1], rgb(255, 0, 0));
  EXPECT_EQ(p.colors[63], rgb(0, 0, 0));

  auto lib = std::make_unique<cpalettelib>();
  lib->palettes[40].count = 9;
  init_cpalettelib(lib.get());
  const int32_t counts[12] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 10, 11};
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(lib->palettes[i].count, counts[i]) << i;
  EXPECT_EQ(lib->palettes[40].count, 0);
  EXPECT_EQ(lib->highestUsed, 1);

  lib->palettes[50].count = 200;
  cleanup_cpalettelib(lib.get());
  EXPECT_EQ(lib->palettes[50].count, 63);

  copy_cpalettelib_index(lib.get(), 3, 20);
  EXPECT_TRUE(EqualPalette(&lib->palettes[3], &lib->palettes[20]));
  copy_cpalettelib_index(lib.get(), 3, 64);  // out of range: nothing
  delete_cpalette(lib.get(), 20);
  EXPECT_EQ(lib->palettes[20].count, 0);
  delete_cpalette(lib.get(), -1);
}

TEST(Palettes, StoreTable)
{
  struct Case
  {
    const char* name;
    int32_t emptySlot;  // -1: library full
    int32_t n;
    int32_t result, written;
  };
  const Case cases[] = {
      {"slot 0 empty", 0, 64, 0, 0},           {"first empty in range", 2, 5, 2, 2},
      {"empty slot beyond n", 10, 5, -1, 4},   {"full library", -1, 5, -1, 4},
      {"n below 1 is one slot", -1, 0, -1, 0}, {"n above 64", -1, 99, -1, 63},
  };
  const cpalette stored = ramp(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto lib = std::make_unique<cpalettelib>();
    for (cpalette& p : lib->palettes)
      p = ramp(3);
    if (c.emptySlot >= 0)
      lib->palettes[c.emptySlot].count = 0;
    lib->highestUsed = 1;
    EXPECT_EQ(store_cpalette(lib.get(), &stored, c.n), c.result);
    EXPECT_TRUE(EqualPalette(&lib->palettes[c.written], &stored));
    EXPECT_EQ(lib->highestUsed, std::max(1, c.written));
  }
}

TEST(Palettes, TransformTable)
{
  const cpalette five = paletteOf(
      {rgb(0, 10, 20), rgb(100, 110, 120), rgb(200, 210, 220), rgb(30, 40, 50), rgb(255, 0, 128)});
  struct Case
  {
    const char* name;
    int16_t mode, amount;
    int32_t at;
    normalcolor want;
  };
  const Case cases[] = {
      {"rotate by 20 mod 5 = 0", kPalRotate, 128, 1, rgb(100, 110, 120)},
      {"rotate by 21 mod 5 = 1", kPalRotate, 160, 1, rgb(200, 210, 220)},
      {"rotate by -24: non-negative modulo", kPalRotate, -1000, 4, rgb(0, 10, 20)},
      {"reverse", kPalReverse, 0, 0, rgb(255, 0, 128)},
      {"contrast neutral", kPalContrast, 128, 2, rgb(200, 210, 220)},
      {"contrast doubled", kPalContrast, 256, 1, rgb(72, 92, 112)},
      {"brightness clamps", kPalBrightness, 200, 2, rgb(255, 255, 255)},
      {"red channel", kPalRed, 100, 4, rgb(227, 0, 128)},
      {"blue channel", kPalBlue, 255, 1, rgb(100, 110, 247)},
      {"ramp", kPalRamp, 0, 2, rgb(127, 5, 74)},
      {"smooth with amount 0 keeps the source", kPalSmooth, 0, 3, rgb(30, 40, 50)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cpalette out{};
    out.colors[c.at].flag = 255;
    transform_cpalette(&five, &out, c.mode, c.amount);
    EXPECT_EQ(out.count, 5);
    EXPECT_EQ(out.colors[c.at], c.want);
  }

  // Invert leaves byte 0 of the destination alone.
  cpalette inverted{};
  inverted.colors[0].flag = 9;
  transform_cpalette(&five, &inverted, kPalInvert, 0);
  EXPECT_EQ(inverted.colors[0], (normalcolor{9, 255, 245, 235}));

  // Source and destination may be one palette.
  cpalette same = five;
  transform_cpalette(&same, &same, kPalReverse, 0);
  EXPECT_EQ(same.colors[0], five.colors[4]);
  EXPECT_EQ(same.colors[4], five.colors[0]);

  // Unknown modes only copy the count.
  cpalette untouched{};
  transform_cpalette(&five, &untouched, 30, 0);
  EXPECT_EQ(untouched.count, 5);
  EXPECT_EQ(untouched.colors[1], normalcolor{});

  // Shift turns all 64 slots by (amount mod count) + 1.
  cpalette shifted{};
  transform_cpalette(&five, &shifted, kPalShift, 7);
  EXPECT_EQ(shifted.colors[3], five.colors[0]);
  EXPECT_EQ(shifted.colors[7], five.colors[4]);

  // Crossfade towards the destination's present colours.
  cpalette towards = paletteOf({rgb(255, 255, 255)});
  const cpalette black = paletteOf({rgb(0, 0, 0)});
  transform_cpalette(&black, &towards, kPalCrossfade, 255);
  EXPECT_EQ(towards.colors[0], rgb(255, 255, 255));
}

TEST(Palettes, DoublingFillsUpTo63)
{
  const cpalette forty = ramp(40);
  cpalette out{};
  transform_cpalette(&forty, &out, kPalDouble, 0);
  EXPECT_EQ(out.count, 63);
  for (int32_t i = 0; i < 23; ++i) {
    EXPECT_EQ(out.colors[40 + i].red, forty.colors[i].red) << i;
    EXPECT_EQ(out.colors[40 + i].blue, forty.colors[i].blue) << i;
  }
  EXPECT_EQ(out.colors[39], forty.colors[39]);

  const cpalette three = ramp(3);
  transform_cpalette(&three, &out, kPalDouble, 0);
  EXPECT_EQ(out.count, 6);
  EXPECT_EQ(out.colors[5].green, three.colors[2].green);
}

TEST(Palettes, BlendResampleNormalize)
{
  const cpalette two = paletteOf({rgb(0, 0, 0), rgb(200, 100, 40)});
  const cpalette five = ramp(5);
  cpalette blend{};
  lerp_cpalette(&two, &five, &blend, 0);
  cpalette resampled{};
  resample_cpalette(&two, &resampled, 5);
  EXPECT_EQ(blend.count, 5);
  EXPECT_TRUE(EqualPalette(&blend, &resampled));
  EXPECT_EQ(resampled.colors[2], rgb(100, 50, 20));

  lerp_cpalette(&two, &five, &blend, 1);
  EXPECT_TRUE(EqualPalette(&blend, &five));

  // The result may be one of the inputs.
  cpalette a = two;
  lerp_cpalette(&a, &five, &a, 1);
  EXPECT_TRUE(EqualPalette(&a, &five));

  cpalette n = paletteOf({rgb(50, 100, 150), rgb(100, 100, 100)});
  Normalize_cpalette(&n);
  EXPECT_EQ(n.colors[0], rgb(0, 127, 255));
  EXPECT_EQ(n.colors[1], rgb(127, 127, 127));

  cpalette flat = paletteOf({rgb(9, 9, 9)});
  Normalize_cpalette(&flat);
  EXPECT_EQ(flat.colors[0], rgb(9, 9, 9));

  cpalette emptyA{}, emptyB{};
  emptyB.colors[0] = rgb(1, 1, 1);
  EXPECT_TRUE(EqualPalette(&emptyA, &emptyB));
  EXPECT_FALSE(EqualPalette(&two, &five));
}

TEST(Palettes, VectorsRoundTrip)
{
  const int16_t red[3] = {0, 100, 300}, green[3] = {10, 20, 30}, blue[3] = {255, 0, 7};
  cpalette p{};
  buildvec_cpalette(&p, red, green, blue, 3, 1);
  EXPECT_EQ(p.count, 3);
  EXPECT_EQ(p.colors[2], rgb(44, 30, 7));  // 300 keeps its low byte
  int16_t r[3], g[3], b[3];
  getvec_cpalette(&p, r, g, b, 2);
  EXPECT_EQ(r[1], 200);
  EXPECT_EQ(g[2], 60);
  EXPECT_EQ(b[0], 510);
}

TEST(Palettes, RandomPalettesStayValid)
{
  srandom(17);
  for (int k = 0; k < 50; ++k) {
    cpalette p{};
    rnd_cpalette(&p);
    ASSERT_GE(p.count, 1);
    ASSERT_LE(p.count, 63);
    const int32_t count = p.count;
    rndmize_cpalette(&p, k / 49.0);
    EXPECT_EQ(p.count, count);
    for (int32_t i = 0; i < count; ++i)
      EXPECT_EQ(p.colors[i].flag, 255);
  }
  cpalette empty{};
  rndmize_cpalette(&empty, 0.5);
  EXPECT_GE(empty.count, 2);
  EXPECT_LE(empty.count, 8);

  // Strength 0 only stretches the colours to the full range.
  cpalette dull = paletteOf({rgb(100, 100, 100), rgb(150, 150, 150)});
  rndmize_cpalette(&dull, 0);
  EXPECT_EQ(dull.colors[0], rgb(0, 0, 0));
  EXPECT_EQ(dull.colors[1], rgb(255, 255, 255));
}

}  // namespace
