// The colour members of f13 and f14 at chosen points: greys, complements,
// hue wrapping, gamma's cut-off, palettes of the library by index, the half
// planes and sines of the tree's pass, harmonic frequencies, Random
// Verticals over the permutation, the scalar flag and the uniform markers.
#include "components/f13/f13_colors.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <span>
#include <vector>

#include "engine/catalog.h"
#include "engine/palettes.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;
constexpr double kAny = std::numeric_limits<double>::quiet_NaN();  // not checked

normalcolor slotColour(int k)
{
  return {255, uint8_t(2 * k), uint8_t(100 + k), uint8_t(200 - k)};
}

struct ColourCase
{
  const char* what;
  uint16_t family;
  int16_t id;
  double A, B, C;
  double x;
  bool uniform;
  double out[4];
};

class F1xColours : public ::testing::Test
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
    doc.colors[1] = {255, 255, 128, 64};
  }
  void TearDown() override { h_.world()->paletteLib = nullptr; }

  gfunc* bind(uint16_t family, int16_t id, double a, double b, double c)
  {
    gfunc* g = h_.bind(int16_t(family), id);
    h_.setParams(a, b, c);
    h_.prepare();
    return g;
  }

  // Outputs of one sample (uniform or per sample), fed x.
  std::vector<double> at(uint16_t family, double x, bool uniform = false)
  {
    const KVtestInput in = uniform ? KVtestInput::uniform(x) : KVtestInput::fill(x);
    h_.run(in, KVtestInput{}, 3);
    std::vector<double> out;
    for (int k = 0; k < KV_familyOutputs(family); ++k)
      out.push_back(h_.component()->outputs[k][2]);
    return out;
  }

  void expectCases(std::span<const ColourCase> cases)
  {
    for (const ColourCase& c : cases) {
      SCOPED_TRACE(c.what);
      bind(c.family, c.id, c.A, c.B, c.C);
      const std::vector<double> out = at(c.family, c.x, c.uniform);
      for (size_t k = 0; k < out.size(); ++k)
        if (!std::isnan(c.out[k])) {
          EXPECT_NEAR(out[k], c.out[k], 1e-12 * (1 + std::fabs(c.out[k]))) << "output " << k;
        }
    }
  }

  KVmemberHarness h_;
  std::unique_ptr<cpalettelib> lib_ = std::make_unique<cpalettelib>();
};

const double kE8 = 8 * std::exp(-0.5 * std::log(1e5));  // 8 (1e-5)^0.5

const ColourCase kCases[] = {
    {"Set Constant", kFamily13, 1, 1, -2, 3.5, M, false, {1, -2, 3.5}},
    {"Set Constant f14, w = x", kFamily14, 1, 1, -2, 3.5, 0.75, false, {1, -2, 3.5, 0.75}},
    {"Shaded at 0 is black", kFamily13, 3, 2, 4, 6, 0, false, {0, 0, 0}},
    {"Shaded at 6 is (A, B, C)", kFamily13, 3, 2, 4, 6, 6, false, {2, 4, 6}},
    {"Shaded at -6, A 8: red 0", kFamily13, 3, 8, 4, 6, -6, false, {0, 4, 2}},
    {"Shaded f14, w = x", kFamily14, 8, 8, 4, 6, -3, false, {0, 2, 1, -3}},
    {"Gamma at 8", kFamily13, 5, 1, 2, 0.5, 8, false, {8, 8, 8}},
    {"Gamma at 2", kFamily13, 5, 1, 2, 0.5, 2, false, {2, 0.5, 4}},
    {"Gamma below -9 is exactly 0", kFamily13, 5, 1, 0.5, 2, 8e-5, false, {0, kE8, 0}},
    {"Gamma at 0 is black", kFamily13, 5, 1, 1, 1, 0, false, {0, 0, 0}},
    {"Gamma of a uniform marker", kFamily13, 5, 1, 1, 1, M, true, {M, M, M}},
    {"Color Sines",
     kFamily13,
     8,
     1,
     2,
     4,
     0.5,
     false,
     {4 * (1 + std::sin(0.5)), 4 * (1 + std::sin(1 + kPi / 2)), 4 * (1 + std::sin(2 + kPi))}},
    {"Neon line at 0", kFamily13, 9, 6, 0, 2, 0, false, {8.25, 2.25, 4.25}},
    {"Neon line of a uniform marker", kFamily13, 9, 6, 0, 2, M, true, {0, 0, 0}},
    {"Neon line of a marker", kFamily13, 9, 6, 0, 2, M, false, {M, M, M}},
    {"RGBa Neon line, w = 4g", kFamily14, 4, 6, 0, 2, 0, false, {8.25, 2.25, 4.25, 4}},
    {"RGBa Neon line of a uniform marker", kFamily14, 4, 6, 0, 2, M, true, {0, 0, 0, 0}},
    {"Main gradient at 0.5",
     kFamily13,
     6,
     8,
     0,
     -1,
     0.5,
     false,
     {255.0 / 64, 128.0 / 64, 64.0 / 64}},
    {"Main gradient f14, w = x", kFamily14, 7, 8, 0, -1, 1, false, {255.0 / 32, 128.0 / 32, 2, 1}},
    {"Indexed gradient 39", kFamily13, 7, 1, 0, 39, 0, false, {78.0 / 32, 139.0 / 32, 161.0 / 32}},
    {"Indexed gradient 70 held to 63",
     kFamily13,
     7,
     1,
     0,
     70,
     0,
     false,
     {126.0 / 32, 163.0 / 32, 137.0 / 32}},
    {"Indexed gradient -3 held to 0",
     kFamily13,
     7,
     1,
     0,
     -3,
     0,
     false,
     {0, 100.0 / 32, 200.0 / 32}},
    {"Scaled Harmonics 1, 3, 5, 7",
     kFamily14,
     10,
     1,
     2,
     0,
     0.3,
     false,
     {8 * std::sin(0.3), 8 * std::sin(0.9), 8 * std::sin(1.5), 8 * std::sin(2.1)}},
    {"Scaled Harmonics of a uniform marker", kFamily14, 10, 1, 2, 0, M, true, {0, 0, 0, 0}},
    {"Shifted Harmonics C 0: A, 2A, 3A, 4A",
     kFamily14,
     6,
     1.5,
     2,
     0,
     0.3,
     false,
     {2 * std::sin(0.45), 2 * std::sin(0.9), 2 * std::sin(1.35), 2 * std::sin(1.8)}},
    {"Shifted Harmonics C 2: output 1 keeps A",
     kFamily14,
     6,
     1.5,
     2,
     2.7,
     0.3,
     false,
     {2 * std::sin(0.45), 2 * std::sin(1.8), 2 * std::sin(2.25), 2 * std::sin(2.7)}},
    {"RGBa Sin x, B 0: black, w 0", kFamily14, 5, 1, 0, 0.5, 0.7, false, {0, 0, 0, 0}},
    {"RGBa Sin x of a uniform marker", kFamily14, 5, 1, 1, 0.5, M, true, {0, 0, 0, 0}},
};

TEST_F(F1xColours, ValuesAtChosenPoints)
{
  expectCases(kCases);
}

TEST_F(F1xColours, RandomColourSaturationZeroIsGrey)
{
  for (uint16_t family : {kFamily13, kFamily14}) {
    SCOPED_TRACE(family);
    bind(family, 2, 1.3, 0, 0.5);
    for (double x : {-2.2, 0.1, 0.77, 5.0}) {
      const std::vector<double> c = at(family, x);
      EXPECT_EQ(c[0], c[1]);
      EXPECT_EQ(c[1], c[2]);
      EXPECT_GE(c[0], 0);
      EXPECT_LE(c[0], 4 * 1023.0 / 1024);
    }
  }
}

TEST_F(F1xColours, HueWrapsIntoItsCircle)
{
  struct Row
  {
    double h, wrapped;
  };
  for (const Row& r :
       {Row{0, 0}, Row{-360, 360}, Row{725, 5}, Row{-10, 350}, Row{-730, 350}, Row{359.5, 359.5}}) {
    EXPECT_EQ(f13_wrapHue(r.h), r.wrapped) << r.h;
  }
  // -360 and 0 give the same colour; A = 0 gives hue 0 everywhere.
  bind(kFamily13, 4, 1, 1, 0.5);
  EXPECT_EQ(at(kFamily13, -6), at(kFamily13, 0));
  bind(kFamily13, 4, 0, 1, 0.5);
  const std::vector<double> red = at(kFamily13, 0);
  EXPECT_NEAR(red[0], 255.0 / 32, 1e-12);
  EXPECT_EQ(at(kFamily13, 3.7), red);
}

// The half plane v = A (B - x): the pass colour where v >= 0, black beyond;
// f14 holds w = v to -2..4 and fades the colour in over v < 1/32.
TEST_F(F1xColours, HalfPlanes)
{
  gfunc* g = bind(kFamily13, 10, 4, 1, 0.5);
  const std::vector<double> lit = at(kFamily13, 0.5);
  EXPECT_GT(lit[0] + lit[1] + lit[2], 0);
  EXPECT_EQ(at(kFamily13, 1), lit);
  EXPECT_EQ(at(kFamily13, 1.01), (std::vector<double>{0, 0, 0}));
  g->A = 0;
  h_.precompute();
  EXPECT_EQ(at(kFamily13, 100), lit);
  // Another pass of a loop takes another colour of the table.
  h_.doc()->tree.iteration = 5;
  EXPECT_NE(at(kFamily13, 0), lit);
  h_.doc()->tree.iteration = 0;

  bind(kFamily14, 3, 4, 2, 0.5);
  for (double x = -10; x <= 10; x += 0.125) {
    const std::vector<double> c = at(kFamily14, x);
    EXPECT_GE(c[3], -2) << x;
    EXPECT_LE(c[3], 4) << x;
    const double v = std::clamp(4 * (2 - x), -2.0, 4.0);
    EXPECT_EQ(c[3], v) << x;
    if (v < 0) {
      EXPECT_EQ(c[0] + c[1] + c[2], 0) << x;
    }
  }
  const std::vector<double> edge = at(kFamily14, 2 - 1.0 / 256);  // v = 1/64
  const std::vector<double> full = at(kFamily14, 0);
  EXPECT_NEAR(edge[0], full[0] / 2, 1e-12);
}

// Random Verticals with A = 0: a line only where the permutation value r
// at the cell is below 64, fading as (64 - r) / 64.
TEST_F(F1xColours, RandomVerticalsWithAmountZero)
{
  gfunc* g = bind(kFamily14, 11, 0, 0.5, 1);
  const int32_t* perm = h_.doc()->tables.perm;
  int lines = 0;
  for (double x = -40.0625; x < 40; x += 0.125) {
    const std::vector<double> c = at(kFamily14, x);
    const int32_t cell = int32_t(std::floor(x));
    const int32_t r = perm[(cell + 517) & 1023];
    if (r >= 64) {
      EXPECT_EQ(c[3], 0) << x;
      continue;
    }
    EXPECT_LE(c[3], 4 * (64 - r) / 64.0 + 1e-12) << x;
    lines += c[3] > 0;
  }
  EXPECT_GT(lines, 0);
  (void)g;
}

// While the scalar flag is set, the members that skip their colour give x
// on output 1 and 0 on outputs 2 and 3; w is computed as before.
TEST_F(F1xColours, ScalarFlagSkipsTheColour)
{
  for (int16_t id : {int16_t(3), int16_t(4), int16_t(6), int16_t(11)}) {
    SCOPED_TRACE(id);
    bind(kFamily14, id, id == 11 ? 1 : 1.5, id == 11 ? 0.5 : 1, 1);
    for (double x : {-0.3, 0.2, 0.45}) {
      const std::vector<double> colour = at(kFamily14, x);
      h_.doc()->fractal.reliefPass = 1;
      const std::vector<double> scalar = at(kFamily14, x);
      h_.doc()->fractal.reliefPass = 0;
      EXPECT_EQ(scalar[3], colour[3]) << x;
      if (id == 3 && colour[3] < 0)
        continue;  // black beyond the half plane in either pass
      EXPECT_EQ(scalar[0], x) << x;
      EXPECT_EQ(scalar[1], 0) << x;
      EXPECT_EQ(scalar[2], 0) << x;
    }
  }
}

TEST_F(F1xColours, Unpack)
{
  KVtestInput packed;
  packed.channels = 3;
  for (int i = 0; i < 4 * kBatchCapacity; ++i)
    packed.data[i] = 0.5 * i;
  packed.data[1] = M;
  for (uint16_t family : {kFamily13, kFamily14}) {
    SCOPED_TRACE(family);
    gfunc* g = bind(family, 0, -1, -1, -1);
    for (double& v : g->outputs[3])
      v = 777;
    // Three channels: output 4 keeps what it held.
    packed.channels = 2;
    h_.run(packed, KVtestInput{}, 3);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(g->outputs[k][2], 0.5 * (16 * k + 2)) << k;
      EXPECT_EQ(g->outputs[k][1], M) << k;
    }
    EXPECT_EQ(g->outputs[3][2], 777);
    // A scalar input, marker included, on every output.
    h_.run(KVtestInput::samples({1.5, M}), KVtestInput{}, 2);
    for (int k = 0; k < KV_familyOutputs(family); ++k) {
      EXPECT_EQ(g->outputs[k][0], 1.5);
      EXPECT_EQ(g->outputs[k][1], M);
    }
    if (family == kFamily14) {
      packed.channels = 3;
      h_.run(packed, KVtestInput{}, 3);
      EXPECT_EQ(g->outputs[3][2], 0.5 * (48 + 2));
      EXPECT_EQ(g->outputs[3][1], M);
    }
  }
}

// Every member of f13 and f14 (compiled trees without a sub-tree) at its
// defaults: one batch of 16 equals sixteen batches of 1, and a batch of 5
// writes only 5 samples.
TEST_F(F1xColours, BatchesAndSingleSamples)
{
  for (uint16_t family : {kFamily13, kFamily14}) {
    const int count = KV_familyMemberCount(family);
    for (int pos = 0; pos < count; ++pos) {
      const int16_t id = KV_familyMember(family, pos).id;
      SCOPED_TRACE(testing::Message() << family << " " << id);
      gfunc* g = h_.bind(int16_t(family), id);
      h_.prepare();
      KVtestInput x;
      for (int i = 0; i < kBatchCapacity; ++i)
        x.data[i] = -3.1 + 0.41 * i;
      const int outputs = KV_familyOutputs(family);
      for (int k = 0; k < outputs; ++k)
        for (double& v : g->outputs[k])
          v = 777;
      h_.run(x, KVtestInput{}, 5);
      for (int k = 0; k < outputs; ++k)
        EXPECT_EQ(g->outputs[k][5], 777) << k;
      std::vector<std::vector<double>> whole(static_cast<size_t>(outputs));
      h_.run(x, KVtestInput{}, kBatchCapacity);
      for (int k = 0; k < outputs; ++k)
        whole[k].assign(g->outputs[k], g->outputs[k] + kBatchCapacity);
      for (int i = 0; i < kBatchCapacity; ++i) {
        h_.run(KVtestInput::fill(x.data[i]), KVtestInput{}, 1);
        for (int k = 0; k < outputs; ++k)
          EXPECT_EQ(g->outputs[k][0], whole[k][i]) << "output " << k << " sample " << i;
      }
    }
  }
}

}  // namespace
