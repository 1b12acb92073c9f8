// The f34 packed compositing members: reading scalar, RGB and RGBA links, the
// start from input 1 and when a loop pass keeps the previous outputs, and
// the compositing rule of each member at the points where it switches.
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "tests/components/f34_packed_bench.h"
#include "tests/components/looper_bench.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

using f34packedtest::colour;
using f34packedtest::expectRgbw;
using f34packedtest::PackedBench;
using f34packedtest::Rgbw;

// w after the start from a scalar and from an RGB input 1, with parameters and
// inputs 2 and 3 chosen so that step 2 changes nothing.
TEST(F34Packed, LevelOfInput1WithoutAlpha)
{
  struct Row
  {
    int16_t id;
    double a, b, c;
    double scalarW, rgbW;
  };
  const KVtestInput none = KVtestInput::fill(M);
  // RGB input 1 (3, 2, 1): mean 2, red 3.
  const Row rows[] = {
      {13, 0.1, 0, 0, 1.5, 0}, {46, 0.1, 0, 0, 1.5, 0}, {14, 0, 0, 0, 1.5, 2},
      {15, 0, 0, 0, 1.5, 2},   {16, 0, 0, 0.5, 1.5, 3}, {29, 0, 0, 0, 1, 1},
      {42, 0, 0, 0, 1, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    PackedBench p;
    p.bind(r.id, r.a, r.b, r.c);
    // Id 14 (F = 0, b = z = 0) keeps input 1 when input 2 sits far below.
    const KVtestInput in2 = r.id == 14 ? KVtestInput::fill(-100) : none;
    const KVtestInput in3 = r.id == 14 ? KVtestInput::fill(0) : none;
    expectRgbw(p.run(KVtestInput::fill(1.5), in2, in3), {1.5, 1.5, 1.5, r.scalarW});
    expectRgbw(p.run(colour(3, 2, 1), in2, in3), {3, 2, 1, r.rgbW});
    // An alpha block gives w whatever the member.
    expectRgbw(p.run(colour(3, 2, 1, 0.75), in2, in3), {3, 2, 1, 0.75});
  }
}

// A link whose fourth block would leave its source's outputs carries no alpha.
TEST(F34Packed, AlphaBlockOnlyInsideTheSource)
{
  PackedBench p;
  gfunc* g = p.bind(15, 0, 0, 0);
  gfunc source{};
  for (int k = 0; k < 5; ++k)
    for (int i = 0; i < kBatchCapacity; ++i)
      source.outputs[k][i] = k + 1;
  for (int start : {0, 1, 2}) {
    SCOPED_TRACE(start);
    p.h.setInput(1, KVtestInput::fill(M));
    p.h.setInput(2, KVtestInput::fill(M));
    g->sources[0] = &source;
    g->inlets[0].data = &source.outputs[start][0];
    g->inlets[0].channels = 3;
    p.h.run(1);
    const double mean = start + 2;  // blocks start+1 .. start+3
    EXPECT_EQ(g->outputs[3][0], start < 2 ? start + 4 : mean);
  }
  g->sources[0] = nullptr;
}

// Feather 0 gives k0 = 2500: input 2 takes over where z * 2500 + Offset
// crosses 0..1; the marker as z keeps input 1; input 2 without alpha brings 4.
TEST(F34Packed, ZBlendHardSwitch)
{
  for (int16_t id : {int16_t(13), int16_t(46)}) {
    SCOPED_TRACE(id);
    PackedBench p;
    p.bind(id, 0, 0.5, 0);
    const KVtestInput in1 = colour(1, 1, 1, 0), in2 = colour(5, 6, 7);
    expectRgbw(p.run(in1, in2, KVtestInput::fill(-0.001)), {1, 1, 1, 0});
    expectRgbw(p.run(in1, in2, KVtestInput::fill(0.001)), {5, 6, 7, 4});
    expectRgbw(p.run(in1, in2, KVtestInput::fill(0)), {3, 3.5, 4, 2});
    expectRgbw(p.run(in1, in2, KVtestInput::fill(M)), {1, 1, 1, 0});
  }
}

// With the altitude-only flag only w moves.
TEST(F34Packed, AltitudeOnlyLeavesTheColour)
{
  PackedBench p;
  p.bind(13, 0, 0.5, 0);
  p.h.doc()->fractal.reliefPass = 1;
  expectRgbw(p.run(colour(1, 1, 1, 0), colour(5, 6, 7, 3), KVtestInput::fill(1)), {1, 1, 1, 3});
}

// Feather % 0: input 2 wins where level1 = w - b falls below level2 + b,
// b = z level + z.
TEST(F34Packed, ZMaxWithoutFeather)
{
  PackedBench p;
  p.bind(14, 0.5, 0, 0);
  const KVtestInput in2 = colour(5, 6, 7, 1);
  // b = 1: level1 = 2 - 1 = 1 < 1 + 1.
  expectRgbw(p.run(colour(1, 1, 1, 2), in2, KVtestInput::fill(0.5)), {5, 6, 7, 1});
  // b = 0: level1 = 2 > 1.
  expectRgbw(p.run(colour(1, 1, 1, 2), in2, KVtestInput::fill(-0.5)), {1, 1, 1, 2});
  // A negative feather read from a file acts as 0.
  p.bind(14, 0.5, -0.3, 0);
  expectRgbw(p.run(colour(1, 1, 1, 2), in2, KVtestInput::fill(0.5)), {5, 6, 7, 1});
}

// Feather % 0.5 (F = 4): w = level1 + t^2 F, joining level2 at t = 0.5.
TEST(F34Packed, PackedMaxFeather)
{
  PackedBench p;
  p.bind(16, 0, 0, 0.5);
  const KVtestInput none = KVtestInput::fill(M);
  // level1 = level2 = 1: d = 1, t = 0.25, s = 0.5.
  expectRgbw(p.run(colour(0, 0, 0, 1), colour(4, 4, 4, 1), none), {2, 2, 2, 1.25});
  // level2 = level1 + 1: t = 0.5, input 2 whole.
  expectRgbw(p.run(colour(0, 0, 0, 1), colour(4, 4, 4, 2), none), {4, 4, 4, 2});
  // Far below: input 1 stays.
  expectRgbw(p.run(colour(0, 0, 0, 1), colour(4, 4, 4, -3), none), {0, 0, 0, 1});
  // Feather 0 with balance 0.25 (+0.5 to input 1, -0.5 to input 2): a hard pick.
  p.bind(16, 0.25, 0, 0);
  expectRgbw(p.run(colour(0, 0, 0, 1), colour(4, 4, 4, 2.01), none), {4, 4, 4, 1.51});
  expectRgbw(p.run(colour(0, 0, 0, 1), colour(4, 4, 4, 1.99), none), {0, 0, 0, 1.5});
  // A marked w reads as -4 for input 3 too: input 3 raised by B = 1 wins.
  p.bind(16, 0, 1, 0);
  expectRgbw(p.run(colour(0, 0, 0, M), none, colour(8, 8, 8, 0)), {8, 8, 8, 1});
}

// Alpha Compose starts from the background with w = 0 and lays an RGB input
// 1 at the level of its red channel.
TEST(F34Packed, AlphaComposeLevelFromRed)
{
  PackedBench p;
  p.bind(17, 1, 1, 0.28);
  const KVtestInput none = KVtestInput::fill(M);
  const Rgbw back = p.run(none, none, none);
  EXPECT_EQ(back.c[3], 0);
  // k0 = 0.25: red 2 gives s = S(0.5) = 0.5, w = 2.
  const Rgbw got = p.run(colour(2, 1, 0.5), none, none);
  for (int c = 0; c < 3; ++c)
    EXPECT_NEAR(got.c[c], back.c[c] + (colour(2, 1, 0.5).data[16 * c] - back.c[c]) * 0.5, 1e-12);
  EXPECT_NEAR(got.c[3], 2, 1e-12);
  // Input 2 above level 0 aims w at its level + 4.
  const Rgbw two = p.run(none, colour(1, 1, 1, 8), none);
  expectRgbw(two, {1, 1, 1, 12});
}

// Packed mul & add with a marked input 3 still adds its level times B to w.
TEST(F34Packed, MulAddWithMarkedInput3)
{
  PackedBench p;
  p.bind(29, 0.5, 0.75, 0);
  // Multiply by (2, 4, 8) at 0.5: channel c += (in*0.25*c - c)*0.5; w = 1 + (2 - 1)*0.5.
  expectRgbw(p.run(colour(4, 4, 4), colour(2, 4, 8, 2), colour(M, 0, 0, 2)), {3, 4, 6, 3});
  // Add & mul: add input 2 (level 1, S(1) = 1) at A, then multiply by input 3.
  p.bind(42, 0.5, 1, 0);
  expectRgbw(p.run(colour(4, 4, 4), colour(2, 2, 2, 1), colour(4, 4, 4, 1)), {5, 5, 5, 1.5});
}

// Crossfade moves all four values, toward input 2 by A then input 3 by B;
// input 2's level is its red when it has no alpha.
TEST(F34Packed, CrossfadeMovesAllFour)
{
  PackedBench p;
  p.bind(15, 0.5, 0.25, 0);
  expectRgbw(p.run(colour(0, 0, 0, 0), colour(4, 8, 0), colour(8, 8, 8, 8)), {3.5, 5, 2, 3.5});
}

// (iteration counter, loop mask) -> whether the batch restarts from input 1.
TEST(F34Packed, LoopPassesKeepOrRestart)
{
  struct Row
  {
    int16_t id;
    bool restarts[3];  // at (0, 0xfff), (1, 0xfff), (1, 0xffe)
  };
  const Row rows[] = {
      {13, {true, false, true}}, {46, {true, false, false}}, {29, {true, true, true}}};
  const int16_t counters[3] = {0, 1, 1};
  const uint16_t masks[3] = {0xfff, 0xfff, 0xffe};
  for (const Row& r : rows)
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(testing::Message() << r.id << " case " << k);
      PackedBench p;
      // z Blend at the marker and mul & add at 0 change nothing in step 2.
      gfunc* g = p.bind(r.id, 0.1, 0, 0);
      if (r.id == 29)
        p.h.setParams(0, 0, 0);
      p.h.doc()->tree.iteration = counters[k];
      g->loopMask = masks[k];
      g->outputs[0][0] = g->outputs[1][0] = g->outputs[2][0] = g->outputs[3][0] = 7;
      const Rgbw got = p.run(colour(1, 2, 3, 0.5), KVtestInput::fill(M), KVtestInput::fill(M));
      if (r.restarts[k])
        expectRgbw(got, {1, 2, 3, 0.5});
      else
        expectRgbw(got, {7, 7, 7, 7});
    }
}

// A Looper of Iterations 3 over a Packed z Blend that moves halfway to 3 each
// pass: with loop mask 4095 the passes compound (1 -> 2 -> 2.5 -> 2.75 ->
// 2.875); with 4094 every pass restarts at 2.
TEST(F34Packed, LooperCompoundsZBlend)
{
  struct Case
  {
    int16_t id;
    uint16_t mask;
    double value;
  };
  for (const Case& c : {Case{13, 4095, 2.875}, Case{13, 4094, 2}, Case{46, 4094, 2.875}}) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.mask);
    KVlooperBench bench(kFamily34, c.id, c.mask,
                        {KVtestInput::fill(1), KVtestInput::fill(3), KVtestInput::fill(0)});
    bench.member->A = 0;
    bench.member->B = 0.5;  // S(0.5) = 0.5 at z = 0
    bench.run();
    for (int k = 0; k < 3; ++k)
      EXPECT_DOUBLE_EQ(bench.member->outputs[k][0], c.value) << k;
  }
}

}  // namespace
