// The f23 plain colours and gradients at points where their formulas give
// known answers: shading and complements, rotated ramps, the hue mix of
// Color shade, and which palette each gradient reads (the document palette,
// a library slot, the Y indexed blend between slots).
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <numbers>
#include <span>

#include "components/f23/f23_gradients.h"
#include "engine/catalog.h"
#include "engine/palettes.h"
#include "tests/components/f23_test_support.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using f23test::ColourCase;
using f23test::Rgb;

// Library slot k is one flat colour, (k, 100 + k, 200 - k), so that every
// lookup names the slot it read; the document palette runs from black to
// white over two keys.
normalcolor slotColour(int k)
{
  return {255, uint8_t(k), uint8_t(100 + k), uint8_t(200 - k)};
}

Rgb slot(int k)
{
  return f23test::onComponentScale(slotColour(k));
}

class F23Colours : public F23MemberTest
{
protected:
  void SetUp() override
  {
    for (int k = 0; k < kPaletteLibSize; ++k) {
      cpalette& p = lib_->palettes[k];
      p.count = 2;
      p.colors[0] = p.colors[1] = slotColour(k);
    }
    h_.world()->paletteLib = lib_.get();
    cpalette& doc = h_.doc()->tables.gradientKeys;
    doc.count = 2;
    doc.colors[0] = {255, 0, 0, 0};
    doc.colors[1] = {255, 255, 255, 255};
  }

  void expectCases(std::span<const ColourCase> cases)
  {
    for (const ColourCase& c : cases) {
      SCOPED_TRACE(c.what);
      use(c.id, c.A, c.B, c.C);
      const double want[3] = {c.expected.r, c.expected.g, c.expected.b};
      for (int out = 0; out < 3; ++out)
        EXPECT_NEAR(h_.at(c.x, c.y, out), want[out], 1e-12 * (1 + std::fabs(want[out])))
            << "output " << out;
    }
  }

  std::unique_ptr<cpalettelib> lib_ = std::make_unique<cpalettelib>();
};

TEST_F(F23Colours, PlainAndShadedColours)
{
  const double M = gINFINITY;
  const double cos1 = std::cos(1.0), sin1 = std::sin(1.0);
  const ColourCase cases[] = {
      {"plain colour at the defaults", 2, 0, 2, 6, -5, M, {0, 2, 6}},
      {"plain colour, x marked", 2, 0, 2, 6, M, 0, {M, M, M}},
      {"shade at x = 0 is y / 6", 31, 0, 2, 6, 0, 3, {0.5, 0.5, 0.5}},
      {"shade of positive x", 31, 0, 2, 6, 3, 0, {0, 1, 3}},
      {"x = -6 shades the complement", 31, 8, 2, 6, -6, 3, {0.5, 6.5, 2.5}},
      {"gradient with x marked is computed", 3, 1, 0, 0, M, 1, {M * cos1 - sin1, M, M}},
      {"gradient rotates per channel",
       3,
       0,
       std::numbers::pi / 2,
       std::numbers::pi,
       2,
       3,
       {2, 2 * std::cos(std::numbers::pi / 2) - 3, -2 - 3 * std::sin(std::numbers::pi)}},
      {"gradient, y marked", 3, 0, 0, 0, 1, M, {M, M, M}},
      {"colour shade, x and y not positive, is black", 4, 2, 0.5, 0.75, -1, 0, {0, 0, 0}},
      {"colour shade, grey weighted by y",
       4,
       0,
       0,
       0.75,
       0,
       2,
       {127 * 2 * 0.75 / 32, 127 * 2 * 0.75 / 32, 127 * 2 * 0.75 / 32}},
      {"colour shade, grey weighted by x",
       4,
       0,
       0,
       0.75,
       2,
       -1,
       {127 * 2 * 0.25 / 32, 127 * 2 * 0.25 / 32, 127 * 2 * 0.25 / 32}},
      {"colour shade holds C to 1", 4, 0, 0, 1.5, 2, 1, {127.0 / 32, 127.0 / 32, 127.0 / 32}},
      {"colour shade, y marked", 4, 0, 0, 0.75, 1, M, {M, M, M}},
  };
  expectCases(cases);
}

// The hues of Color shade: red at hue 0, and a second colour 20 degrees on
// (orange: more green than blue).
TEST_F(F23Colours, ColourShadeHues)
{
  h_.bind(kFamily23, 4);
  h_.setParams(0, 1, 1);
  h_.prepare();
  EXPECT_GT(h_.at(0, 1, 0), h_.at(0, 1, 1));
  EXPECT_EQ(h_.at(0, 1, 1), h_.at(0, 1, 2));
  h_.setParams(0, 1, 0);
  h_.prepare();
  EXPECT_GT(h_.at(1, 0, 1), h_.at(1, 0, 2));
  // A negative hue takes hue 0 and 20.
  h_.setParams(-1, 1, 1);
  h_.prepare();
  EXPECT_GT(h_.at(0, 1, 0), 0);
  EXPECT_EQ(h_.at(0, 1, 1), h_.at(0, 1, 2));
}

TEST_F(F23Colours, GradientsReadTheirPalettes)
{
  const double M = gINFINITY;
  const double mid = 127.5 / 32;
  const ColourCase cases[] = {
      {"main gradient at t = x", 5, 8, 0, -1, 0.5, 9, {mid, mid, mid}},
      {"main gradient, t from y", 5, 0, 8, -1, 9, 1, {255 / 32.0, 255 / 32.0, 255 / 32.0}},
      {"main gradient, x marked", 5, 8, 0, -1, M, 0, {M, M, M}},
      {"shaded gradient at y = 1", 26, 8, 0.5, 0, 0.5, 1, {mid, mid, mid}},
      {"shaded gradient brighter with y", 26, 8, 0.5, 0, 0.5, 3, {2 * mid, 2 * mid, 2 * mid}},
      {"shaded gradient offset", 26, 8, 0.5, 0.5, 0, 1, {mid, mid, mid}},
      {"indexed gradient C = 0 reads library slot 0", 42, 1, 0, 0, 0.5, 1, slot(0)},
      {"indexed gradient slot 5", 42, 1, 0, 5, 0.5, 1, slot(5)},
      {"indexed gradient beyond the library", 42, 1, 0, 70, 0.5, 1, slot(63)},
      {"indexed gradient, negative C", 42, 1, 0, -5, 0.5, 1, slot(0)},
      {"indexed gradient, NaN C", 42, 1, 0, kNaN, 0.5, 1, slot(0)},
      {"indexed gradient luminance",
       42,
       1,
       0.5,
       3,
       0.5,
       3,
       {slot(3).r * 2, slot(3).g * 2, slot(3).b * 2}},
      {"Bezier gradient half way", 43, 8, 0, 8, 4, 0, {4, 4, 4}},
      {"Bezier gradient offset", 43, 8, -4, 8, 8, 0, {4, 4, 4}},
      {"Bezier gradient, x marked", 43, 8, 0, 8, M, 0, {M, M, M}},
  };
  expectCases(cases);
}

TEST_F(F23Colours, YIndexedGradientMovesThroughFortyPalettes)
{
  const double doc = 0.5 * 255 / 32;  // the document palette at t = 0.5
  const ColourCase cases[] = {
      {"u = 2 uses slot 2 alone", 45, 4, 1, -1, 1, 2.0, slot(2)},
      {"u = 41.5 blends slots 1 and 2 half way", 45, 4, 1, -1, 1, 41.5,
       f23test::mix(slot(1), slot(2), 0.5)},
      {"u = 39.5 blends slot 39 with library slot 0", 45, 4, 1, -1, 1, 39.5,
       f23test::mix(slot(39), slot(0), 0.5)},
      {"u = 0.25 blends the document palette into slot 1", 45, 4, 1, -1, 1, 0.25,
       f23test::mix({doc, doc, doc}, slot(1), (3 - 0.5) * 0.0625)},
      {"negative u uses the document palette", 45, 4, 1, -1, 1, -3, {doc, doc, doc}},
      {"u = 40 is the document palette again", 45, 4, 1, -1, 1, 40, {doc, doc, doc}},
      {"u = 32768 wraps as 16 bits into 0..39", 45, 4, 1, -1, 1, 32768, slot(32)},
      {"u past 32 bits counts as 0", 45, 4, 1, -1, 1, 1e12, {doc, doc, doc}},
      {"NaN u counts as 0", 45, 4, kNaN, -1, 1, 1, {doc, doc, doc}},
  };
  expectCases(cases);
}

// Without a palette library the library slots read as the document palette.
TEST_F(F23Colours, WithoutALibraryTheDocumentPaletteServes)
{
  h_.world()->paletteLib = nullptr;
  const double doc = 0.5 * 255 / 32;
  const ColourCase cases[] = {
      {"indexed gradient", 42, 4, 0, 3, 1, 1, {doc, doc, doc}},
      {"Y indexed gradient", 45, 4, 1, -1, 1, 2, {doc, doc, doc}},
  };
  expectCases(cases);
}

TEST_F(F23Colours, OneKeyPaletteGivesItsKeyEverywhere)
{
  cpalette& p = h_.doc()->tables.gradientKeys;
  p.count = 1;
  p.colors[0] = {255, 64, 32, 16};
  for (int16_t id : {int16_t(5), int16_t(43), int16_t(45)}) {
    SCOPED_TRACE(id);
    h_.bind(kFamily23, id);
    h_.setParams(8, 0, 8);
    h_.prepare();
    for (double x : {-3.0, 0.4, 7.0}) {
      const double scale = id == 43 ? 8.0 / 255 : 1.0 / 32;
      EXPECT_DOUBLE_EQ(h_.at(x, 0, 0), 64 * scale);
      EXPECT_DOUBLE_EQ(h_.at(x, 0, 1), 32 * scale);
      EXPECT_DOUBLE_EQ(h_.at(x, 0, 2), 16 * scale);
    }
  }
}

}  // namespace
