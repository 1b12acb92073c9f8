// The f33 RGB colour operations: names, labels and maps; formula values at
// the points where the formulas give known answers (gamma, Gaussian, contrast
// and its step, quantisation, the HLS conversions, colorisation, saturation);
// the single-source grey shortcut; the gradient stages of Max to gradient;
// the dither's bounds; the depth sort of packed and scalar inputs. Also a
// sweep over every member of the colour, colour-noise and displacement
// groups: the no-value rule and one batch of 16 against 16 batches of 1.
#include "components/f33/f33_colorops.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <span>
#include <vector>

#include "components/f33/f33_colornoises.h"
#include "components/f33/f33_displace.h"
#include "engine/catalog.h"
#include "foundation/colormath.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr double X = kAbsentParam;

struct Rgb
{
  double r, g, b;
};

// One member at A, B, C fed the colour (x, y, z).
struct ColourCase
{
  const char* what;
  int16_t id;
  double A, B, C;
  Rgb in;
  Rgb expected;
};

std::array<double, 3> runOne(KVmemberHarness& h, const Rgb& in)
{
  h.setInput(0, KVtestInput::fill(in.r));
  h.setInput(1, KVtestInput::fill(in.g));
  h.setInput(2, KVtestInput::fill(in.b));
  std::array<double, 3> out{};
  h.run(1);
  for (int k = 0; k < 3; ++k)
    out[k] = h.component()->outputs[k][0];
  return out;
}

void expectCases(std::span<const ColourCase> cases)
{
  KVmemberHarness h;
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.what);
    h.bind(kFamily33, c.id);
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    const std::array<double, 3> out = runOne(h, c.in);
    const double want[3] = {c.expected.r, c.expected.g, c.expected.b};
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(out[k], want[k], 1e-12 * (1 + std::fabs(want[k]))) << "output " << k;
  }
}

TEST(F33ColourOps, NamesLabelsAndMaps)
{
  const KVnameRow names[] = {
      {5, " RGB gamma", 3, {"Gamma red/x ", "Gamma green/y ", "Gamma blue/z "}},
      {6, " RGB to HLS", 1, {"Amplitude ", "", ""}},
      {7, " HLS to RGB", 3, {"Contrast Hue ", "Contrast Luminance ", "Contrast Saturation "}},
      {11, " Packed Depth sort", 1, {" z offset ", "", ""}},
      {34, " Colorize", 3, {"Amount ", "Red balance ", "Blue balance "}},
      {37, " RGB Gaussian", 3, {"Offset x ", "Offset y ", "Offset z "}},
      {38, " RGB Contrast", 2, {"Contrast amount ", "Offset ", ""}},
      {39, " RGB Quantize", 3, {"Frequency ", "Phase ", "Amplitude "}},
      {44, " RGB dither", 1, {"Amplitude ", "", ""}},
      {49, " Max to gradient", 3, {"Amplitude X ", "Amplitude Y ", "Amplitude Z "}},
      {50, " Saturation & Lum", 2, {"Saturation ", "Brightness ", ""}},
  };
  const KVrangeRow ranges[] = {
      {5, {1, 1, 1}, {0.125, 0.125, 0.125}, {8, 8, 8}},
      {6, {1, X, X}, {0.5}, {2}},
      {7, {1, 1, 1}, {0, 0, 0}, {2, 2, 2}},
      {11, {0, X, X}, {-16}, {16}},
      {34, {0.5, 0, 0}, {0, -1, -1}, {1, 1, 1}},
      {37, {1, 1, 1}, {-16, -16, -16}, {16, 16, 16}},
      {38, {0.5, 0, X}, {-1, -4}, {1, 4}},
      {39, {1, 0, 1}, {0.125, -4, 0}, {4, 4, 1}},
      {44, {1, X, X}, {0}, {4}},
      {49, {0, 0.5, 1}, {0, 0, 0}, {2, 2, 2}},
      {50, {1, 1, X}, {0, 0}, {1, 2}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily33, row);
  for (const KVrangeRow& row : ranges) {
    gfunc* g = KV_expectDefaultsAndRangeEnds(h, kFamily33, row);
    EXPECT_EQ(g->inputCode, kConnThreeOut);
    EXPECT_EQ(g->outputCode, kConnThreeOut);
    EXPECT_EQ(g->freqFlag, 0);
  }
}

TEST(F33ColourOps, FormulaValues)
{
  const double e1 = 8 * std::exp(-0.3333);
  const double grey = (1.5 * 1 + 2 * 2 + 3) * 0.2222222222222222;
  const double satGrey = (6 * 1 + 7 * 2 + 3 * 3) / 16.0;
  const ColourCase cases[] = {
      {"gamma 1 keeps positives, zeroes the rest", 5, 1, 1, 1, {3, 0, -2}, {3, 0, 0}},
      {"gamma 2 squares c / 8", 5, 2, 0.5, 3, {4, 2, 8}, {2, 4, 8}},
      {"gaussian peaks at -offset", 37, 1, -2, 0, {-1, 1, 1}, {8, e1, e1}},
      {"contrast 0 at offset 0 keeps -4..12", 38, 0, 0, X, {-4, 5, 12}, {-4, 5, 12}},
      {"contrast 0 holds beyond 12 and -4", 38, 0, 0, X, {13, -5, 0}, {12, -4, 0}},
      {"contrast 1 is a step about 4", 38, 1, 0, X, {5, 4, 3}, {12, 4, -4}},
      {"contrast 0.5 doubles about 4", 38, 0.5, 0, X, {5, 3, 4}, {6, 2, 4}},
      {"quantize steps down", 39, 1, 0, 1, {2.7, -0.5, -2}, {2, -1, -3}},
      {"quantize half blend, phase not subtracted", 39, 2, 0.25, 0.5, {1.1, 0, 0}, {1.05, 0, 0}},
      {"quantize with no frequency passes", 39, 0, 0, 1, {2.7, -0.5, -2}, {2.7, -0.5, -2}},
      {"RGB to HLS of red", 6, 1, X, X, {8, 0, 0}, {0, 127.5 / 32, 255.0 / 32}},
      {"RGB to HLS of green",
       6,
       1,
       X,
       X,
       {0, 8, 0},
       {120 * 0.71111111111 / 32, 127.5 / 32, 255.0 / 32}},
      {"HLS to RGB, hue 8 is red", 7, 1, 1, 1, {8, 4, 8}, {255.0 / 32, 1.0 / 32, 1.0 / 32}},
      {"HLS to RGB, hue -8 is red", 7, 1, 1, 1, {-8, 4, 8}, {255.0 / 32, 1.0 / 32, 1.0 / 32}},
      {"HLS to RGB, saturation 0 is grey", 7, 1, 1, 1, {3, 4, 0}, {4, 4, 4}},
      {"colorize without balance gives the grey", 34, 1, 0, 0, {1, 2, 3}, {grey, grey, grey}},
      {"colorize amount 0 keeps the colour", 34, 0, 0.5, -0.5, {1, 2, 3}, {1, 2, 3}},
      {"saturation 0 gives the grey", 50, 0, 1, X, {1, 2, 3}, {satGrey, satGrey, satGrey}},
      {"saturation 1 brightness 2 held to 0..8", 50, 1, 2, X, {1, 5, -1}, {2, 8, 0}},
  };
  expectCases(cases);
}

TEST(F33ColourOps, ColorizeBalancesAreScaledToRoot3)
{
  KVmemberHarness h;
  h.bind(kFamily33, 34);
  // Red balance 1: green and blue fall to 0.125 before scaling.
  h.setParams(1, 1, 0);
  h.prepare();
  const double len = std::sqrt(1 + 2 * 0.125 * 0.125), s = std::sqrt(3.0) / len;
  const std::array<double, 3> out = runOne(h, {4, 4, 4});
  const double l = 4 * 4.5 * 0.2222222222222222;
  EXPECT_NEAR(out[0], s * l, 1e-12);
  EXPECT_NEAR(out[1], 0.125 * s * l, 1e-12);
  EXPECT_NEAR(out[2], 0.125 * s * l, 1e-12);
  // Balances that cancel every channel leave the weights at 0, not 0/0.
  ASSERT_EQ(1 - 0.875 * (8.0 / 7), 0.0);
  h.setParams(1, 8.0 / 7, 8.0 / 7);
  h.prepare();
  for (double v : runOne(h, {1, 2, 3}))
    EXPECT_EQ(v, 0.0);
}

// Inputs 1 to 3 from one component of a one-output family read input 1 as a
// grey; any other family, or differing sources, uses the three channels.
TEST(F33ColourOps, SingleGreySource)
{
  KVmemberHarness h;
  gfunc* source = &h.doc()->tree.funcs[1];
  const double L = std::log(4.0 / 8);
  struct Row
  {
    uint16_t family;
    bool shortcut;
  };
  for (const Row row : {Row{kFamily11, true}, Row{kFamily21, true}, Row{kFamily31, true},
                        Row{kFamily41, true}, Row{kFamily23, false}}) {
    SCOPED_TRACE(row.family);
    source->family = row.family;
    gfunc* g = h.bind(kFamily33, 5);
    g->sources[0] = g->sources[1] = g->sources[2] = source;
    h.setParams(1, 2, 20);
    const std::array<double, 3> gamma = runOne(h, {4, 2, 1});
    if (row.shortcut) {
      EXPECT_NEAR(gamma[0], 4, 1e-12);
      EXPECT_NEAR(gamma[1], 8 * std::exp(2 * L), 1e-12);
      EXPECT_EQ(gamma[2], 0.0);  // 20 L is below -9
      EXPECT_EQ(runOne(h, {0, 2, 1}), (std::array<double, 3>{0, 0, 0}));
    } else {
      EXPECT_NEAR(gamma[1], 8 * std::pow(2.0 / 8, 2), 1e-12);
    }
    g = h.bind(kFamily33, 50);
    g->sources[0] = g->sources[1] = g->sources[2] = source;
    h.setParams(0.5, 3, X);
    const std::array<double, 3> sat = runOne(h, {2, 6, -1});
    if (row.shortcut)
      EXPECT_EQ(sat, (std::array<double, 3>{6, 6, 6}));
    else
      EXPECT_NE(sat[0], sat[1]);
  }
  gfunc* g = h.bind(kFamily33, 50);
  source->family = kFamily11;
  g->sources[0] = g->sources[1] = source;
  g->sources[2] = &h.doc()->tree.funcs[2];
  const std::array<double, 3> mixed = runOne(h, {1, 2, 3});
  EXPECT_NE(mixed[0], mixed[2]);
}

// The document gradient black to white: c0..c5 are its colours at 0, 0.2, ...
TEST(F33ColourOps, MaxToGradientStages)
{
  KVmemberHarness h;
  cpalette& keys = h.doc()->tables.gradientKeys;
  keys.count = 2;
  keys.colors[0] = {255, 0, 0, 0};
  keys.colors[1] = {255, 255, 255, 255};
  double c[6];
  for (int k = 0; k < 6; ++k)
    c[k] = colorgradient(keys.colors, 2, 0.2 * k).red;
  h.bind(kFamily33, 49);
  h.setParams(0.5, 1, 1);
  h.prepare();
  auto grey = [](double v) { return Rgb{v / 32, v / 32, v / 32}; };
  const double base = c[0] + (c[1] - c[0]) * 0.5;
  const double target = c[2] + (c[3] - c[2]) * 0.125;
  const double s = (3 - 2 * 0.5) * 0.25;  // smoothstep of 4d = 0.5
  struct Row
  {
    const char* what;
    Rgb in;
    Rgb want;
  };
  const Row rows[] = {
      {"y and z far below x", {1, -10, -10}, grey(base)},
      {"y a half above the level", {1, 1.375, -10}, grey(c[2] + (c[3] - c[2]) * 0.5)},
      {"y an eighth above the level", {1, 1, -10}, grey(base + (target - base) * s)},
      {"z above y", {1, 1.375, 2.375}, grey(c[4] + (c[5] - c[4]) * 1)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const std::array<double, 3> out = runOne(h, r.in);
    EXPECT_NEAR(out[0], r.want.r, 1e-12);
    EXPECT_NEAR(out[2], r.want.b, 1e-12);
  }
  // A stored key count beyond the table reads the table's 64 keys.
  keys.count = 100000;
  h.prepare();
  EXPECT_NO_FATAL_FAILURE(runOne(h, {1, 0, 0}));
}

// The dither adds A (1 + noise/512) / 32 per channel, noise within +-512,
// and moves with the master position of each sample.
TEST(F33ColourOps, DitherStaysWithinItsAmplitude)
{
  KVmemberHarness h;
  h.bind(kFamily33, 44);
  h.setParams(0, X, X);
  h.prepare();
  EXPECT_EQ(runOne(h, {1, 2, 3}), (std::array<double, 3>{1, 2, 3}));
  h.setParams(2, X, X);
  h.prepare();
  for (int i = 0; i < kBatchCapacity; ++i) {
    h.doc()->master[0][i] = 0.0137 * i;
    h.doc()->master[1][i] = -0.021 * i;
  }
  h.setInput(0, KVtestInput::fill(1));
  h.setInput(1, KVtestInput::fill(2));
  h.setInput(2, KVtestInput::fill(3));
  std::vector<double> firstChannel;
  for (int k = 0; k < 3; ++k) {
    const KVbatch out = h.run(kBatchCapacity, k);
    for (int i = 0; i < kBatchCapacity; ++i) {
      const double added = out[i] - (k + 1);
      EXPECT_GE(added, 0.0);
      EXPECT_LE(added, 2 * 2.0 / 32);
      if (k == 0)
        firstChannel.push_back(out[i]);
    }
  }
  EXPECT_NE(firstChannel.front(), firstChannel.back());
}

// A packed input: sample i is (r + i, g, depth[i]).
KVtestInput packed(double r, double g, std::initializer_list<double> depths)
{
  KVtestInput in;
  in.channels = 2;
  int i = 0;
  for (double d : depths) {
    in.data[i] = r + i;
    in.data[kBatchCapacity + i] = g;
    in.data[2 * kBatchCapacity + i] = d;
    ++i;
  }
  return in;
}

TEST(F33ColourOps, DepthSortOfPackedInputs)
{
  KVmemberHarness h;
  h.bind(kFamily33, 11);
  h.setParams(0.5, X, X);
  // Depths: 2 vs 1, a tie, 1 vs 2 with input 3 nearer, input 1 marked.
  h.setInput(0, packed(10, 11, {2, 3, 1, M}));
  h.setInput(1, packed(20, 21, {1, 3, 2, 5}));
  h.setInput(2, packed(30, 31, {5, 5, 0.5, 9}));
  const KVbatch o1 = h.run(4, 0), o2 = h.run(4, 1), o3 = h.run(4, 2);
  const double want1[4] = {20, 11, 32, 23}, want2[4] = {21, 11, 31, 21},
               want3[4] = {1.5, 3.5, 1, 5.5};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(o1[i], want1[i]);
    EXPECT_EQ(o2[i], want2[i]);
    EXPECT_EQ(o3[i], want3[i]);
  }
  // All depths marked: output 3 keeps the marker without the offset.
  h.setInput(0, packed(10, 11, {M}));
  h.setInput(1, packed(20, 21, {M}));
  h.setInput(2, KVtestInput{});
  EXPECT_EQ(h.run(1, 2)[0], M);
}

TEST(F33ColourOps, DepthSortOfScalarInputs)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily33, 11);
  h.setParams(-1, X, X);
  h.setInput(0, KVtestInput::samples({3, 1, 4}));
  h.setInput(1, KVtestInput::samples({2, 5, 6}));
  h.setInput(2, KVtestInput::samples({9, 0, 5}));
  const KVbatch o1 = h.run(3, 0), o2 = h.run(3, 1), o3 = h.run(3, 2);
  EXPECT_EQ(o2[0], 2);
  EXPECT_EQ(o2[1], 0);
  EXPECT_EQ(o2[2], 4);
  EXPECT_EQ(o3[1], -1);
  EXPECT_EQ(o1[0], 0);
  // Input 3 not linked: only inputs 1 and 2 compare.
  g->inlets[2].data = nullptr;
  EXPECT_EQ(h.run(3, 1)[1], 1);
  // One packed and one scalar input compare as scalars (first block).
  h.setInput(0, packed(7, 0, {0, 0, 0}));
  h.setInput(1, KVtestInput::samples({8, 8, 8}));
  EXPECT_EQ(h.run(3, 1)[1], 8);
}

// Every member of the colour operations, colour noises and displacements:
// built, a marked x gives three markers (y and z are not tested), and one
// batch of 16 equals 16 batches of 1.
TEST(F33ColourOps, GroupSweepMarkerAndBatching)
{
  const int16_t ids[] = {4,  5,  6,  7,  11, 18, 19, 20, 21, 22, 27, 31, 34,
                         37, 38, 39, 42, 43, 44, 45, 46, 48, 49, 50, 52};
  KVmemberHarness h;
  KVtestInput xs, ys, zs;
  for (int i = 0; i < kBatchCapacity; ++i) {
    xs.data[i] = -2.9 + 0.37 * i;
    ys.data[i] = 1.3 - 0.21 * i;
    zs.data[i] = 0.1 * i;
  }
  xs.data[5] = M;
  ys.data[7] = M;
  for (int16_t id : ids) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(KV_catalogMember(kFamily33, id).real);
    h.bind(kFamily33, id);
    h.prepare();
    h.setInput(0, xs);
    h.setInput(1, ys);
    h.setInput(2, zs);
    std::array<KVbatch, 3> whole;
    for (int k = 0; k < 3; ++k)
      whole[k] = h.run(kBatchCapacity, k);
    if (id != 11) {  // the depth sort tests no input
      for (int k = 0; k < 3; ++k)
        EXPECT_EQ(whole[k][5], M) << "output " << k;
    }
    for (int i = 0; i < kBatchCapacity; ++i) {
      h.setInput(0, KVtestInput::fill(xs.data[i]));
      h.setInput(1, KVtestInput::fill(ys.data[i]));
      h.setInput(2, KVtestInput::fill(zs.data[i]));
      h.run(1);
      for (int k = 0; k < 3; ++k) {
        const double v = h.component()->outputs[k][0];
        if (std::isnan(v))
          EXPECT_TRUE(std::isnan(whole[k][i])) << "sample " << i;
        else
          EXPECT_EQ(v, whole[k][i]) << "sample " << i << " output " << k;
      }
    }
  }
}

}  // namespace
