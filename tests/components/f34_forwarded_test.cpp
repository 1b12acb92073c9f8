// The f34 members " Packed random Mix" and " Packed Alpha Min", whose
// handlers are the f33 and f24 members': what those answer for them, the
// start from input 1 and when a loop pass keeps the outputs, Random Mix
// over the master plane and Alpha Min's levels and ties.
#include "components/f34/f34_forwarded.h"

#include <gtest/gtest.h>

#include "noise/noises.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/f34_packed_bench.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

using f34packedtest::colour;
using f34packedtest::expectRgbw;
using f34packedtest::PackedBench;
using f34packedtest::Rgbw;

// The forwarded handlers answer as their owners: names, labels, maps,
// defaults, no input kind of their own, and Random Mix's message 8.
TEST(F34Forwarded, HandlersOfTheirOwners)
{
  KVmemberHarness h;
  KV_expectNameAndLabels(h, kFamily34,
                         {47, " Packed random Mix", 3, {"Amount ", "Phase ", "Frequency "}});
  KV_expectNameAndLabels(h, kFamily34, {48, " Packed Alpha Min", 0, {"", "", ""}});
  gfunc* g = KV_expectDefaultsAndRangeEnds(h, kFamily34, {47, {1, 0, 2}, {0, -16, 0}, {2, 16, 16}});
  EXPECT_EQ(g->inputCode, kConnThree);
  EXPECT_EQ(g->handler, f34_packedRndMix_handler);
  h.setParams(0.5, 0, 4);
  h.precompute();
  EXPECT_EQ(f33_packedK(g)[0], 1.5);
  EXPECT_EQ(f33_packedK(g)[1], 4.5 / 400);
  EXPECT_EQ(f33_packedK(g)[2], 4.0 / 128);
  g = KV_expectDefaultsAndRangeEnds(h, kFamily34, {48, {-1, -1, -1}, {0, 0, 0}, {0, 0, 0}});
  EXPECT_EQ(g->inputCode, kConnThree);
  // Alpha Min answers nothing beyond its name and defaults.
  double a = 7, b = 7, c = 7;
  h.send(kMsgToNormalized, &a, &b, &c);
  EXPECT_EQ(a, 7);
}

// w from input 1 without alpha: Random Mix its scalar or 0 for RGB, Alpha
// Min 0; an alpha block gives w. Parameters and inputs 2, 3 leave the start.
TEST(F34Forwarded, StartFromInput1)
{
  struct Row
  {
    int16_t id;
    double scalarW, rgbW;
  };
  for (const Row& r : {Row{47, 1.5, 0}, Row{48, 0, 0}}) {
    SCOPED_TRACE(r.id);
    PackedBench p;
    p.bind(r.id, 0, 0, 0);  // Random Mix: k0 = 2 is never reached
    const KVtestInput high = KVtestInput::fill(100);
    expectRgbw(p.run(KVtestInput::fill(1.5), high, high), {1.5, 1.5, 1.5, r.scalarW});
    expectRgbw(p.run(colour(3, 2, 1), high, high), {3, 2, 1, r.rgbW});
    expectRgbw(p.run(colour(3, 2, 1, 0.75), high, high), {3, 2, 1, 0.75});
  }
}

// (iteration counter, loop mask): only (1, 0xfff) keeps the previous pass.
TEST(F34Forwarded, LoopPassesKeepOrRestart)
{
  const int16_t counters[3] = {0, 1, 1};
  const uint16_t masks[3] = {0xfff, 0xfff, 0xffe};
  for (int16_t id : {int16_t(47), int16_t(48)})
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(testing::Message() << id << " case " << k);
      PackedBench p;
      p.bind(id, 0, 0, 0);
      p.h.doc()->tree.iteration = counters[k];
      p.g->loopMask = masks[k];
      for (auto& out : p.g->outputs)
        out[0] = 7;
      const KVtestInput high = KVtestInput::fill(100);
      const Rgbw got = p.run(colour(1, 2, 3, 0.5), high, high);
      if (k == 1)
        expectRgbw(got, {7, 7, 7, 7});
      else
        expectRgbw(got, {1, 2, 3, 0.5});
    }
}

// Input 2 and then input 3 replace the sample whole where their level
// (alpha, else red) is below w; a tie keeps the sample.
TEST(F34Forwarded, AlphaMinLevels)
{
  PackedBench p;
  p.bind(48);
  const KVtestInput in1 = colour(1, 1, 1, 2);
  expectRgbw(p.run(in1, colour(5, 6, 7, 2), colour(8, 8, 8, 3)), {1, 1, 1, 2});
  expectRgbw(p.run(in1, colour(5, 6, 7, 1), colour(8, 8, 8, 3)), {5, 6, 7, 1});
  expectRgbw(p.run(in1, colour(5, 6, 7, 1), colour(0.5, 8, 8)), {0.5, 8, 8, 0.5});
  expectRgbw(p.run(in1, KVtestInput::fill(-1), colour(8, 8, 8, -1)), {-1, -1, -1, -1});
  // A scalar or RGB input 1 starts at 0: only negative levels win.
  expectRgbw(p.run(colour(1, 2, 3), colour(0, 6, 7), KVtestInput::fill(0.1)), {1, 2, 3, 0});
  expectRgbw(p.run(colour(1, 2, 3), colour(-0.5, 6, 7), KVtestInput::fill(0.1)),
             {-0.5, 6, 7, -0.5});
}

// Over 16 master points: all four values move toward input 2 where the
// noise passes k0, toward input 3 where it passes -k0, by the smooth step of
// the excess; an RGB input brings w = 0, a scalar its value. A marked red
// output marks all four.
TEST(F34Forwarded, RandomMixFollowsTheNoise)
{
  PackedBench p;
  p.bind(47, 2, 0.5, 40);  // k0 = 0, k1 = 0.0075, k2 = 0.3125
  sfuncSystem* doc = p.h.doc();
  for (int i = 0; i < kBatchCapacity; ++i) {
    doc->master[0][i] = 0.37 * i - 3;
    doc->master[1][i] = 1.3 - 0.21 * i;
  }
  p.h.setInput(0, colour(1, 2, 3, 4));
  p.h.setInput(1, colour(8, 6, 4));
  p.h.setInput(2, KVtestInput::fill(-2));
  p.h.run(kBatchCapacity);
  const double* k = f33_packedK(p.g);
  const double in1[4] = {1, 2, 3, 4}, in2[4] = {8, 6, 4, 0}, in3[4] = {-2, -2, -2, -2};
  int toInput2 = 0, toInput3 = 0;
  for (int i = 0; i < kBatchCapacity; ++i) {
    const double v = k[1] * fPerlinNoise2D(&doc->tables, k[2] * doc->master[0][i] + 0.5,
                                           k[2] * doc->master[1][i]);
    const double* target = in1;
    double d = 0;
    if (v - k[0] > 0) {
      target = in2;
      d = v - k[0];
      ++toInput2;
    } else if (-v - k[0] > 0) {
      target = in3;
      d = -v - k[0];
      ++toInput3;
    }
    const double s = d >= 1 ? 1 : (3 - 2 * d) * d * d;
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(p.g->outputs[c][i], in1[c] + (target[c] - in1[c]) * s, 1e-12) << i << " " << c;
  }
  EXPECT_GT(toInput2, 0);
  EXPECT_GT(toInput3, 0);
  expectRgbw(p.run(KVtestInput::fill(M), colour(1, 1, 1), colour(1, 1, 1)), {M, M, M, M});
}

}  // namespace
