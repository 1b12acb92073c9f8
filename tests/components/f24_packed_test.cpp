// The f24 packed compositing members: how each link width is read, when the
// outputs are seeded from input 1 and when a loop's passes accumulate, the
// altitude-only pass, and one table of the members' rules.
#include "components/f24/f24_packed.h"

#include <gtest/gtest.h>

#include "components/common/packed.h"
#include "components/f24/f24_pvt.h"
#include "engine/catalog.h"
#include "tests/components/looper_bench.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// One colour in every sample as a link of the given width (0 uniform, 1
// scalar: red only; 2 RGB; 3 RGBA).
KVtestInput colour(int width, double r, double g = 0, double b = 0, double a = 0)
{
  if (width == 0)
    return KVtestInput::uniform(r);
  KVtestInput in = KVtestInput::fill(r);
  in.channels = int16_t(width);
  if (width < 2)
    return in;
  const double rest[3] = {g, b, a};
  for (int c = 1; c < width + 1; ++c)
    for (int i = 0; i < kBatchCapacity; ++i)
      in.data[c * kBatchCapacity + i] = rest[c - 1];
  return in;
}

struct Quad
{
  double v[4];
};

// Outputs 1 to 4 of sample 0 after one batch of n samples.
Quad runQuad(KVmemberHarness& h, const KVtestInput& in1, const KVtestInput& in2, int n = 4)
{
  h.run(in1, in2, n, 0);
  const gfunc* g = h.component();
  return {{g->outputs[0][0], g->outputs[1][0], g->outputs[2][0], g->outputs[3][0]}};
}

struct Link
{
  int width;
  double r = 0, g = 0, b = 0, a = 0;
  KVtestInput input() const { return colour(width, r, g, b, a); }
};

TEST(F24Packed, RulesOfTheSevenMembers)
{
  struct Case
  {
    const char* what;
    int16_t id;
    double a, b, c;
    Link in1, in2;
    Quad out;
  };
  const Case cases[] = {
      {"crossfade RGB under RGBA: out4 = A a2",
       14,
       0.5,
       0,
       0,
       {2, 1, 2, 3, 0},
       {3, 5, 6, 7, 2},
       {{3, 4, 5, 1}}},
      {"crossfade A = 0 keeps input 1",
       14,
       0,
       0,
       0,
       {3, 1, 2, 3, 1.5},
       {3, 5, 6, 7, 2},
       {{1, 2, 3, 1.5}}},
      {"crossfade A = 1 gives input 2",
       14,
       1,
       0,
       0,
       {3, 1, 2, 3, 1.5},
       {3, 5, 6, 7, 2},
       {{5, 6, 7, 2}}},
      {"crossfade marked a2 passes input 1",
       14,
       0.5,
       0,
       0,
       {3, 1, 2, 3, 1.5},
       {3, 5, 6, 7, M},
       {{1, 2, 3, 1.5}}},
      {"crossfade marked input 1 takes input 2",
       14,
       0.5,
       0,
       0,
       {3, 1, 2, 3, M},
       {3, 5, 6, 7, 2},
       {{5, 6, 7, 2}}},
      {"crossfade scalar input 2",
       14,
       0.25,
       0,
       0,
       {3, 1, 2, 3, 1.5},
       {1, 5},
       {{2, 2.75, 3.5, 1.5}}},
      {"alpha max: RGB input 1's red is its level, higher in2 wins",
       15,
       0,
       0,
       0,
       {2, 3, 2, 1},
       {1, 5},
       {{5, 5, 5, 5}}},
      {"alpha max: lower in2 leaves input 1", 15, 0, 0, 0, {2, 3, 2, 1}, {1, 2}, {{3, 2, 1, 3}}},
      {"alpha max: marked alpha has level -4 + k0",
       15,
       0.25,
       0,
       0,
       {3, 1, 1, 1, M},
       {3, 5, 6, 7, -2.9},
       {{5, 6, 7, -3.4}}},
      {"alpha max: marked a2 leaves the sample",
       15,
       0,
       0,
       0,
       {3, 1, 2, 3, 0},
       {3, 5, 6, 7, M},
       {{1, 2, 3, 0}}},
      {"alpha max feathered, inside",
       15,
       0,
       0,
       0.5,
       {3, 0, 0, 0, 0},
       {3, 8, 8, 8, 0},
       {{4, 4, 4, 0.25}}},
      {"alpha max feathered, below",
       15,
       0,
       0,
       0.5,
       {3, 0, 0, 0, 0},
       {3, 8, 8, 8, -1},
       {{0, 0, 0, 0}}},
      {"alpha max feathered, above",
       15,
       0,
       0,
       0.5,
       {3, 0, 0, 0, 0},
       {3, 8, 8, 8, 1},
       {{8, 8, 8, 1}}},
      {"alpha max follows input 1 by B",
       15,
       0,
       1,
       0,
       {3, 0, 0, 0, 1},
       {3, 8, 8, 8, 0.5},
       {{8, 8, 8, 1.5}}},
      {"alpha blend a2 >= 4 takes input 2",
       16,
       0.25,
       0,
       1,
       {2, 1, 1, 1},
       {3, 5, 5, 5, 4},
       {{5, 5, 5, 4}}},
      {"alpha blend midway of the ramp",
       16,
       0.25,
       0,
       1,
       {2, 1, 1, 1},
       {3, 5, 5, 5, 0},
       {{3, 3, 3, 2.5}}},
      {"alpha blend foot of the ramp",
       16,
       0.25,
       0,
       1,
       {2, 1, 1, 1},
       {3, 5, 5, 5, -4},
       {{1, 1, 1, 1}}},
      {"alpha blend scalar input 1 seeds out4 = 1",
       16,
       0.25,
       0,
       0,
       {1, 2},
       {1, -4},
       {{2, 2, 2, 1}}},
      {"compose A < 0.0001: input 1 whole, marked input 2",
       35,
       0.00001,
       1,
       0.28,
       {2, 2, 3, 4},
       {1, M},
       {{2, 3, 4, 4}}},
      {"compose input 2 over input 1",
       35,
       0.00001,
       1,
       0.28,
       {2, 2, 3, 4},
       {3, 8, 8, 8, 2},
       {{5, 5.5, 6, 5}}},
      {"add RGBA clamps colours at 0",
       44,
       1,
       1,
       0,
       {2, 1, 2, 3},
       {3, -5, 1, -1, 2},
       {{0, 3, 2, 2}}},
      {"add RGB may go below 0", 44, 1, 1, 0, {2, 1, 2, 3}, {2, -5, 1, -1}, {{-4, 3, 2, 0}}},
      {"add seeds A times input 1", 44, 2, 1, 0, {3, 1, 2, 3, 1.5}, {1, 0}, {{2, 4, 6, 3}}},
      {"add skips a marked a2", 44, 1, 1, 0, {3, 1, 2, 3, 1}, {3, 5, 5, 5, M}, {{1, 2, 3, 1}}},
      {"mul scalar 0 with C = 0 zeroes all",
       45,
       0.5,
       0,
       0,
       {3, 4, 4, 4, 2},
       {1, 0},
       {{0, 0, 0, 0}}},
      {"mul marked scalar reads 0", 45, 0.5, 0, 1, {3, 4, 4, 4, 2}, {1, M}, {{4, 4, 4, 2}}},
      {"mul RGBA", 45, 0.5, 0, 0, {3, 0, 0, 0, 2}, {3, 8, 8, 8, 2}, {{4, 4, 4, 1}}},
      {"mul RGB crossfades by A", 45, 0.5, 0, 0, {3, 0, 0, 0, 2}, {2, 8, 8, 8}, {{4, 4, 4, 2}}},
      {"min: scalar input 1 seeds 0, lower a2 wins",
       55,
       0,
       0,
       0,
       {1, 3},
       {1, -1},
       {{-1, -1, -1, -1}}},
      {"min: higher a2 leaves input 1", 55, 0, 0, 0, {1, 3}, {1, 1}, {{3, 3, 3, 0}}},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    h.bind(kFamily24, c.id);
    h.setParams(c.a, c.b, c.c);
    h.prepare();
    const Quad got = runQuad(h, c.in1.input(), c.in2.input());
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(got.v[k], c.out.v[k], 1e-12) << "output " << k + 1;
  }
}

// Widths 0 to 3 of input 1, each channel holding its own value: crossfade
// at A = 0 shows what was read.
TEST(F24Packed, EachWidthReadsItsBlocks)
{
  struct Case
  {
    int width;
    Quad out;
  };
  const Case cases[] = {
      {0, {{1, 1, 1, 0}}}, {1, {{1, 1, 1, 0}}}, {2, {{1, 2, 3, 0}}}, {3, {{1, 2, 3, 4}}}};
  KVmemberHarness h;
  h.bind(kFamily24, 14);
  h.setParams(0, 0, 0);
  h.prepare();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const Quad got = runQuad(h, colour(c.width, 1, 2, 3, 4), colour(1, 9));
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(got.v[k], c.out.v[k]) << k;
  }
  // A link from a source's output 3 has no room for a fourth block: RGB.
  gfunc* g = h.component();
  gfunc source{};
  for (int k = 0; k < 5; ++k)
    std::fill(std::begin(source.outputs[k]), std::end(source.outputs[k]), 10.0 * (k + 1));
  h.setInput(1, colour(1, 9));
  for (int start : {0, 1, 2}) {
    SCOPED_TRACE(start);
    g->sources[0] = &source;
    g->inlets[0].data = source.outputs[start];
    g->inlets[0].channels = 3;
    g->compute(g);
    EXPECT_EQ(g->outputs[2][0], 10.0 * (start + 3));
    EXPECT_EQ(g->outputs[3][0], start < 2 ? 10.0 * (start + 4) : 0.0);
  }
  g->sources[0] = nullptr;
}

TEST(F24Packed, SeedingIsSkippedOnlyInLaterPassesWithTheFullLoopMask)
{
  struct Case
  {
    int16_t counter;
    uint16_t mask;
    bool keeps;
  };
  const Case cases[] = {{0, 0xfff, false}, {1, 0xfff, true}, {1, 0xffe, false}, {1, 0x1fff, false}};
  KVmemberHarness h;
  for (int16_t id : {14, 15, 16, 35, 44, 45, 55}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message()
                   << "id " << id << " counter " << c.counter << " mask " << c.mask);
      gfunc* g = h.bind(kFamily24, id);
      h.prepare();
      g->owner->iteration = c.counter;
      g->loopMask = c.mask;
      for (int k = 0; k < 4; ++k)
        std::fill(std::begin(g->outputs[k]), std::end(g->outputs[k]), 3.0);
      // Input 2 marked (or, for Alpha Min, higher than any alpha) changes
      // nothing, nor does input 1's alpha 0 in Compose.
      const Quad got = runQuad(h, colour(3, 1, 1, 1, 0), colour(3, M, M, M, id == 55 ? 50 : M));
      if (id == 35) {
        const double* bg = &privateArea<F24constants>(g).K[2];
        EXPECT_EQ(got.v[3], c.keeps ? 3.0 : 0.0);
        EXPECT_EQ(got.v[0], c.keeps ? 3.0 : bg[0]);
      } else {
        EXPECT_EQ(got.v[0], c.keeps ? 3.0 : 1.0);
        EXPECT_EQ(got.v[3], c.keeps ? 3.0 : 0.0);
      }
      g->owner->iteration = 0;
    }
  }
}

// In the altitude-only pass the members that read the flag keep outputs 1
// to 3 as seeded and compute output 4 as usual.
TEST(F24Packed, AltitudeOnlyPassKeepsTheSeededColours)
{
  KVmemberHarness h;
  for (int16_t id : {15, 16, 35, 44, 45}) {
    SCOPED_TRACE(id);
    for (const KVtestInput& in2 : {colour(3, 7, 6, 5, 3), colour(3, -7, 0, 9, 2.5)}) {
      gfunc* g = h.bind(kFamily24, id);
      h.setParams(id == 35 ? 0.5 : 1, id == 45 ? 0.5 : 1, id == 35 ? 0.28 : 0.5);
      h.prepare();
      const Quad full = runQuad(h, colour(2, 1, 2, 3), in2);
      h.doc()->fractal.reliefPass = 1;
      const Quad relief = runQuad(h, colour(2, 1, 2, 3), in2);
      h.doc()->fractal.reliefPass = 0;
      const double* bg = &privateArea<F24constants>(g).K[2];
      for (int k = 0; k < 3; ++k)
        EXPECT_EQ(relief.v[k], id == 35 ? bg[k] : k + 1.0) << k;
      EXPECT_EQ(relief.v[3], full.v[3]);
      EXPECT_NE(full.v[0], relief.v[0]);
    }
  }
}

// Alpha Max with C = 0.5: out4 is continuous where the feather ends.
TEST(F24Packed, FeatheredAlphaMaxIsContinuous)
{
  KVmemberHarness h;
  h.bind(kFamily24, 15);
  h.setParams(0, 0, 0.5);
  h.prepare();
  const double below = runQuad(h, colour(3, 0, 0, 0, 0), colour(3, 8, 8, 8, 1 - 1e-9)).v[3];
  const double above = runQuad(h, colour(3, 0, 0, 0, 0), colour(3, 8, 8, 8, 1 + 1e-9)).v[3];
  EXPECT_NEAR(below, 1, 1e-8);
  EXPECT_NEAR(above, 1, 1e-8);
}

// Message 6 sets input kind 1, except in Alpha Min, which answers only
// messages -1 and 6.
TEST(F24Packed, HandlersSetTheInputKind)
{
  KVmemberHarness h;
  for (int16_t id : {14, 15, 16, 35, 44, 45})
    EXPECT_EQ(h.bind(kFamily24, id)->inputCode, kConnOne) << id;
  gfunc* g = h.bind(kFamily24, 55);
  EXPECT_EQ(h.displayName(), " Packed Alpha Min");
  double a = 0.5;
  EXPECT_EQ(h.send(kMsgParamA, &a), "");
  EXPECT_EQ(g->inputCode, kConnTwo);
}

// A Looper of 3 iterations over a crossfade with loop mask 0xfff: each pass
// after the first crossfades input 2 again into the previous result.
TEST(F24Packed, LooperPassesCompositeLikeAHandMadeStack)
{
  struct Case
  {
    uint16_t mask;
    double red;
  };
  // Seeded 1, then four passes toward 5 by 1/2: 3, 4, 4.5, 4.75 (the
  // Looper's passes), or 3 when every pass seeds.
  for (const Case& c : {Case{0xfff, 4.75}, Case{0xffe, 3}}) {
    SCOPED_TRACE(c.mask);
    KVlooperBench bench(kFamily24, 14, c.mask, {colour(1, 1), colour(1, 5)});
    bench.run();
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(bench.member->outputs[k][0], c.red) << k;
  }
}

}  // namespace
