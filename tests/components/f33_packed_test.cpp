// The f33 packed RGB compositing members: names, maps and input kinds, the
// constants of message 8, each member's rule at the points where it
// switches (markers on the working colour and on inputs 2 and 3), when a
// batch starts from input 1 inside a loop, and accumulation through a real
// Looper.
#include "components/f33/f33_packed.h"

#include <gtest/gtest.h>
#include <initializer_list>

#include "noise/noises.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/looper_bench.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// A packed RGB input whose every sample is (r, g, b).
KVtestInput colour(double r, double g, double b)
{
  return KVtestInput::rgb(r, g, b);
}

KVtestInput grey(double v)
{
  return KVtestInput::fill(v);
}

struct Rgb
{
  double c[3];
};

class PackedBench
{
public:
  gfunc* bind(int16_t id, double a, double b, double c)
  {
    g = h.bind(kFamily33, id);
    h.setParams(a, b, c);
    h.prepare();
    return g;
  }
  Rgb run(const KVtestInput& in1, const KVtestInput& in2, const KVtestInput& in3)
  {
    h.setInput(0, in1);
    h.setInput(1, in2);
    h.setInput(2, in3);
    h.run(1);
    return {{g->outputs[0][0], g->outputs[1][0], g->outputs[2][0]}};
  }
  KVmemberHarness h;
  gfunc* g = nullptr;
};

void expectRgb(const Rgb& got, std::initializer_list<double> want)
{
  int c = 0;
  for (double v : want) {
    EXPECT_NEAR(got.c[c], v, 1e-12 * (1 + std::fabs(v))) << "channel " << c;
    ++c;
  }
}

TEST(F33Packed, NamesMapsAndInputKinds)
{
  KVmemberHarness h;
  const KVnameRow names[] = {
      {9, " Packed RGB Crossfade", 2, {"Interpolate AB ", "Interpolate C ", ""}},
      {10, " Packed RGB Alpha ", 2, {"A Threshold ", "B Feather ", ""}},
      {15, " Packed RGB Add", 3, {"Level in1 ", "Level in2 ", "Level in3 "}},
      {16, " Packed RGB Max", 3, {"Level in1 ", "Level in2 ", "Level in3 "}},
      {33, " Packed Add & Mul", 3, {"Level A ", "Level B ", "Multiply C "}},
      {36, " Packed Mul & Add", 3, {"Level A ", "Multiply B ", "Level C "}},
      {47, " Packed random Mix", 3, {"Amount ", "Phase ", "Frequency "}},
      {53, " Memory Packed Alpha", 2, {"A Threshold ", "B Feather ", ""}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily33, row);
  const KVrangeRow ranges[] = {
      {9, {0.5, 0.5, -1}, {0, 0, 0}, {1, 1, 0}},   {10, {0, 0.5, -1}, {-1, 0, 0}, {1, 1, 0}},
      {15, {1, 1, 1}, {0, 0, 0}, {2, 2, 2}},       {16, {1, 1, 1}, {0, 0, 0}, {2, 2, 2}},
      {33, {0.5, 0.5, 0.5}, {0, 0, 0}, {1, 1, 1}}, {36, {0.5, 0.5, 0.5}, {0, 0, 0}, {1, 1, 1}},
      {47, {1, 0, 2}, {0, -16, 0}, {2, 16, 16}},   {53, {0, 0.5, -1}, {-1, 0, 0}, {1, 1, 0}},
  };
  for (const KVrangeRow& row : ranges) {
    gfunc* g = KV_expectDefaultsAndRangeEnds(h, kFamily33, row);
    EXPECT_EQ(g->inputCode, row.id == 47 ? kConnThreeOut : kConnOne) << row.id;
  }
}

TEST(F33Packed, MessageEightConstants)
{
  PackedBench p;
  // Defaults: k0 = 0, k1 = 4, k2 = 4; a zero (or NaN) feather stays 0.005 wide.
  for (int16_t id : {int16_t(10), int16_t(53)}) {
    p.bind(id, 0, 0.5, -1);
    EXPECT_EQ(f33_packedK(p.g)[1], 4);
    p.bind(id, 0.25, 0, -1);
    EXPECT_EQ(f33_packedK(p.g)[0], 2);
    EXPECT_EQ(f33_packedK(p.g)[1], kF33minFeather);
    EXPECT_EQ(f33_packedK(p.g)[2], 2.005);
    p.bind(id, 0, NAN, -1);
    EXPECT_EQ(f33_packedK(p.g)[1], kF33minFeather);
  }
  p.bind(47, 0.5, 0, 4);
  EXPECT_EQ(f33_packedK(p.g)[0], 1.5);
  EXPECT_EQ(f33_packedK(p.g)[1], 4.5 / 400);
  EXPECT_EQ(f33_packedK(p.g)[2], 4.0 / 128);
}

// One sample per row: member, A, B, C, inputs 1-3, expected colour.
TEST(F33Packed, EdgeTable)
{
  struct Row
  {
    const char* what;
    int16_t id;
    double a, b, c;
    KVtestInput in1, in2, in3;
    std::initializer_list<double> out;
  };
  const KVtestInput none = grey(M);
  const Row rows[] = {
      // Crossfade.
      {"A 1, B 0 gives input 2", 9, 1, 0, -1, colour(1, 2, 3), colour(5, 6, 7), grey(0), {5, 6, 7}},
      {"B 1 gives input 3", 9, 0.5, 1, -1, colour(1, 2, 3), colour(5, 6, 7), grey(2), {2, 2, 2}},
      {"marked input 3 is skipped",
       9,
       0.5,
       1,
       -1,
       colour(1, 2, 3),
       colour(5, 6, 7),
       none,
       {3, 4, 5}},
      {"marked input 1 takes input 2 whole",
       9,
       0.25,
       0,
       -1,
       none,
       colour(5, 6, 7),
       grey(0),
       {5, 6, 7}},
      {"input 3 alone passes whole", 9, 0.25, 0.5, -1, none, none, colour(5, 6, 7), {5, 6, 7}},
      {"nothing has a value", 9, 0.25, 0.5, -1, none, none, none, {M, M, M}},
      // RGB Alpha at the defaults: k0 = 0, k1 = 4, k2 = 4.
      {"alpha 2 takes half", 10, 0, 0.5, -1, colour(0, 4, 8), colour(8, 8, 8), grey(2), {4, 6, 8}},
      {"alpha 4 takes all", 10, 0, 0.5, -1, colour(0, 4, 8), colour(8, 8, 8), grey(4), {8, 8, 8}},
      {"alpha 0 keeps input 1",
       10,
       0,
       0.5,
       -1,
       colour(0, 4, 8),
       colour(8, 8, 8),
       grey(0),
       {0, 4, 8}},
      {"packed alpha per channel",
       10,
       0,
       0.5,
       -1,
       colour(0, 0, 0),
       colour(8, 8, 8),
       colour(-1, 2, 9),
       {0, 4, 8}},
      {"marked alpha keeps input 1",
       10,
       0,
       0.5,
       -1,
       colour(1, 2, 3),
       colour(8, 8, 8),
       none,
       {1, 2, 3}},
      {"marked input 1 starts from black",
       10,
       0,
       0.5,
       -1,
       none,
       colour(8, 8, 8),
       grey(2),
       {4, 4, 4}},
      {"marked 1 and 2 give black", 10, 0, 0.5, -1, none, none, grey(2), {0, 0, 0}},
      {"marked 1, 2 and alpha", 10, 0, 0.5, -1, none, none, none, {M, M, M}},
      {"marked input 2 keeps input 1", 10, 0, 0.5, -1, colour(1, 2, 3), none, grey(4), {1, 2, 3}},
      // Add.
      {"scalars add", 15, 1, 1, 1, grey(1), grey(2), grey(3), {6, 6, 6}},
      {"levels scale", 15, 2, 0.5, 0, colour(1, 2, 3), grey(2), grey(3), {3, 5, 7}},
      {"a marked term is left out", 15, 1, 1, 1, none, grey(2), colour(1, 2, 3), {3, 4, 5}},
      {"all marked", 15, 1, 1, 1, none, none, none, {M, M, M}},
      // Max.
      {"marker counts as 0", 16, 1, 1, 1, grey(-3), grey(M), colour(-1, -2, 1), {0, 0, 1}},
      {"levels scale the candidates", 16, 2, 1, 0.5, colour(1, 5, 0), grey(3), grey(8), {4, 10, 4}},
      {"all marked stays marked", 16, 1, 1, 1, none, none, none, {M, M, M}},
      // Add & Mul: A o + B c2, then times c3/4 blended by C.
      {"add then multiply", 33, 0.5, 0.5, 0.5, grey(4), grey(2), grey(8), {4.5, 4.5, 4.5}},
      {"marked input 2 keeps o", 33, 0.5, 0.5, 1, colour(4, 8, 0), none, grey(2), {2, 4, 0}},
      {"marked input 1 takes B c2", 33, 0.5, 0.5, 0, none, colour(2, 4, 6), none, {1, 2, 3}},
      {"marked 1 and 2 take input 3", 33, 0.5, 0.5, 0.25, none, none, colour(1, 2, 3), {1, 2, 3}},
      {"all marked", 33, 0.5, 0.5, 0.5, none, none, none, {M, M, M}},
      // Mul & Add: m = A o, r = m + (c2 m / 4 - m) B, then + C c3.
      {"multiply then add", 36, 0.5, 0.5, 0.5, grey(4), grey(8), grey(2), {4, 4, 4}},
      {"marked input 1 gives input 2 plus C c3",
       36,
       0.5,
       0.5,
       0.5,
       none,
       colour(1, 2, 3),
       grey(2),
       {2, 3, 4}},
      {"marked 1 and 2 give C c3", 36, 0.5, 0.5, 0.5, none, none, grey(2), {1, 1, 1}},
      {"marked input 3 adds nothing", 36, 1, 0, 0.5, colour(1, 2, 3), none, none, {1, 2, 3}},
      {"all marked", 36, 0.5, 0.5, 0.5, none, none, none, {M, M, M}},
      // Random Mix: a marked input 1 marks the sample.
      {"marked input 1", 47, 2, 0, 2, none, grey(1), grey(1), {M, M, M}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.id << ": " << r.what);
    PackedBench p;
    p.bind(r.id, r.a, r.b, r.c);
    expectRgb(p.run(r.in1, r.in2, r.in3), r.out);
  }
}

// Random Mix over 16 master points: input 2 where the noise passes k0,
// input 3 where it passes -k0 (marked ones as black), else input 1.
TEST(F33Packed, RandomMixFollowsTheNoise)
{
  PackedBench p;
  p.bind(47, 2, 0.5, 40);  // k0 = 0, k1 = 0.0075, k2 = 0.3125
  sfuncSystem* doc = p.h.doc();
  for (int i = 0; i < kBatchCapacity; ++i) {
    doc->master[0][i] = 0.37 * i - 3;
    doc->master[1][i] = 1.3 - 0.21 * i;
  }
  const double in1[3] = {1, 2, 3}, in2[3] = {8, 6, 4};
  p.h.setInput(0, colour(1, 2, 3));
  p.h.setInput(1, colour(8, 6, 4));
  p.h.setInput(2, grey(M));
  p.h.run(kBatchCapacity);
  const double* k = f33_packedK(p.g);
  int toInput2 = 0, toInput3 = 0;
  for (int i = 0; i < kBatchCapacity; ++i) {
    const double v = k[1] * fPerlinNoise2D(&doc->tables, k[2] * doc->master[0][i] + 0.5,
                                           k[2] * doc->master[1][i]);
    double w = 0;
    const double* target = in1;
    const double black[3] = {0, 0, 0};
    if (v - k[0] > 0) {
      w = std::min(v - k[0], 1.0);
      target = in2;
      ++toInput2;
    } else if (-v - k[0] > 0) {
      w = std::min(-v - k[0], 1.0);
      target = black;
      ++toInput3;
    }
    for (int c = 0; c < 3; ++c)
      EXPECT_NEAR(p.g->outputs[c][i], in1[c] + (target[c] - in1[c]) * w, 1e-12) << i << " " << c;
  }
  EXPECT_GT(toInput2, 0);
  EXPECT_GT(toInput3, 0);
}

// (iteration counter, loop mask) -> whether the batch restarts from input 1.
TEST(F33Packed, LoopPassesKeepOrRestart)
{
  const int16_t counters[3] = {0, 1, 1};
  const uint16_t masks[3] = {0xfff, 0xfff, 0xffe};
  struct Row
  {
    int16_t id;
    bool restarts[3];
  };
  for (const Row& r :
       {Row{10, {true, false, true}}, Row{15, {true, false, true}}, Row{53, {true, false, false}}})
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(testing::Message() << r.id << " case " << k);
      PackedBench p;
      // Marked inputs 2 and 3 leave the seed (alpha members) or add nothing
      // (Add with levels 1, 0, 0).
      p.bind(r.id, r.id == 15 ? 1 : 0, r.id == 15 ? 0 : 0.5, r.id == 15 ? 0 : -1);
      p.h.doc()->tree.iteration = counters[k];
      p.g->loopMask = masks[k];
      for (int c = 0; c < 3; ++c)
        p.g->outputs[c][0] = 7;
      const Rgb got = p.run(colour(1, 2, 3), grey(M), grey(M));
      if (r.restarts[k])
        expectRgb(got, {1, 2, 3});
      else
        expectRgb(got, {7, 7, 7});
    }
}

// Four passes of a real Looper laying input 2 (8) over input 1 (0) at alpha
// 2, half each pass: 4, 6, 7, 7.5 when the passes keep the outputs.
TEST(F33Packed, AlphaAccumulatesThroughALooper)
{
  struct Case
  {
    int16_t id;
    uint16_t mask;
    double value;
  };
  for (const Case& c : {Case{10, 0xfff, 7.5}, Case{10, 0xffe, 4}, Case{53, 0xffe, 7.5}}) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.mask);
    KVlooperBench bench(kFamily33, c.id, c.mask, {grey(0), grey(8), grey(2)});
    bench.member->handler(bench.member, kMsgPrecompute, nullptr, nullptr, nullptr);
    bench.run();
    for (int k = 0; k < 3; ++k)
      EXPECT_DOUBLE_EQ(bench.member->outputs[k][0], c.value) << k;
  }
}

}  // namespace
