// The f23 packed compositing members and the depth sort: the marker rules
// of each, scalar and packed links, the initial copy that a loop pass may
// skip, and a Looper whose passes accumulate into a packed member.
#include <gtest/gtest.h>
#include <span>

#include "components/common/packed.h"
#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// A packed link of one colour in every sample.
KVtestInput packed(double r, double g, double b)
{
  KVtestInput in;
  for (int i = 0; i < kBatchCapacity; ++i) {
    in.data[i] = r;
    in.data[kBatchCapacity + i] = g;
    in.data[2 * kBatchCapacity + i] = b;
  }
  in.channels = 3;
  return in;
}

struct PackedCase
{
  const char* what;
  int16_t id;
  double A, B;
  KVtestInput in1, in2;
  double expected[3];
};

void expectCases(std::span<const PackedCase> cases)
{
  KVmemberHarness h;
  for (const PackedCase& c : cases) {
    SCOPED_TRACE(c.what);
    h.bind(kFamily23, c.id);
    h.setParams(c.A, c.B, -1);
    h.prepare();
    for (int out = 0; out < 3; ++out) {
      const KVbatch v = h.run(c.in1, c.in2, 3, out);
      for (int i = 0; i < 3; ++i)
        EXPECT_EQ(v[i], c.expected[out]) << "output " << out << " sample " << i;
    }
  }
}

TEST(F23Packed, CompositingRules)
{
  const PackedCase cases[] = {
      {"crossfade half way to a scalar 8",
       6,
       0.5,
       -1,
       packed(0, 0, 0),
       KVtestInput::fill(8),
       {4, 4, 4}},
      {"crossfade, uniform input 2",
       6,
       0.25,
       -1,
       packed(0, 4, 8),
       KVtestInput::uniform(8),
       {2, 5, 8}},
      {"crossfade, input 1 marked takes input 2",
       6,
       0.5,
       -1,
       packed(M, 1, 2),
       packed(1, 2, 3),
       {1, 2, 3}},
      {"crossfade, input 2 marked keeps input 1",
       6,
       0.5,
       -1,
       packed(1, 2, 3),
       packed(M, 5, 5),
       {1, 2, 3}},
      {"crossfade, both marked", 6, 0.5, -1, packed(M, 1, 2), packed(M, 2, 3), {M, M, M}},
      {"multiply, A = 0 keeps the colour", 15, 0, 0.7, packed(1, 2, 3), packed(7, 8, 9), {1, 2, 3}},
      {"multiply, A = 1 and B = 0 scales by s / 4",
       15,
       1,
       0,
       packed(1, 2, 3),
       packed(4, 2, 8),
       {1, 1, 6}},
      {"multiply, input 1 marked takes input 2",
       15,
       1,
       0,
       packed(M, 0, 0),
       packed(4, 2, 8),
       {4, 2, 8}},
      {"multiply, both marked", 15, 1, 0, packed(M, 0, 0), packed(M, 2, 8), {M, M, M}},
      {"add", 16, 1, 1, packed(2, 4, 6), packed(1, 2, 3), {3, 6, 9}},
      {"add, input 2 marked scales input 1 by A",
       16,
       0.5,
       2,
       packed(2, 4, 6),
       packed(M, 1, 1),
       {1, 2, 3}},
      {"add, input 1 marked gives input 2 by B",
       16,
       0.5,
       2,
       packed(M, 0, 0),
       packed(1, 2, 3),
       {2, 4, 6}},
      {"add, both marked", 16, 1, 1, packed(M, 0, 0), packed(M, 2, 3), {M, M, M}},
      {"add, scalar input 1 in every channel",
       16,
       1,
       1,
       KVtestInput::fill(2),
       packed(1, 2, 3),
       {3, 4, 5}},
      {"max, both reds marked", 35, 1, 1, packed(M, 1, 5), packed(M, 3, 2), {M, 3, 5}},
      {"max, one side marked counts as 0", 35, 2, 1, packed(M, -3, 1), packed(2, M, -4), {2, 0, 2}},
      {"depth sort tie keeps input 1", 7, -1, -1, packed(1, 2, 5), packed(7, 8, 5), {1, 2, 5}},
      {"depth sort takes the nearer point", 7, -1, -1, packed(1, 2, 6), packed(7, 8, 5), {7, 8, 5}},
      {"depth sort, marked z loses", 7, -1, -1, packed(1, 2, M), packed(7, 8, 5), {7, 8, 5}},
  };
  expectCases(cases);
}

// Without two packed inputs the depth sort writes, for every sample, the
// smaller of the two inputs' first elements.
TEST(F23Packed, DepthSortOfScalarInputs)
{
  KVmemberHarness h;
  h.bind(kFamily23, 7);
  for (int out = 0; out < 3; ++out) {
    const KVbatch v = h.run(KVtestInput::samples({3, -9, 1}), packed(2, -20, 0), 3, out);
    EXPECT_EQ(v[0], 2);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 2);
  }
}

// The initial copy is skipped only on a loop pass after the first (counter
// not 0) with the loop mask exactly 4095.
TEST(F23Packed, InitialCopySkippedOnlyOnLaterPassesWithMask4095)
{
  struct Case
  {
    int16_t counter;
    uint16_t mask;
    bool keeps;
  };
  const Case cases[] = {{0, 4095, false}, {1, 4095, true}, {1, 4094, false}, {1, 8191, false}};
  KVmemberHarness h;
  for (int16_t id : {int16_t(6), int16_t(15), int16_t(16), int16_t(35)}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message()
                   << "id " << id << " counter " << c.counter << " mask " << c.mask);
      gfunc* g = h.bind(kFamily23, id);
      g->owner->iteration = c.counter;
      g->loopMask = c.mask;
      EXPECT_EQ(KV_keepsLoopOutputs(g), c.keeps);
      // A = 1 and B = 0 (A = 0 for crossfade and multiply) leave the
      // running colour as it starts.
      h.setParams(id == 6 || id == 15 ? 0 : 1, 0, -1);
      for (double& v : g->outputs[0])
        v = 4;
      const KVbatch out = h.run(KVtestInput::fill(1), KVtestInput::fill(2), 2, 0);
      EXPECT_EQ(out[0], c.keeps ? 4 : 1);
      g->owner->iteration = 0;
    }
  }
}

// A link from a packed source's output 4 or 5 has no room for three blocks
// in the source: it reads as the scalar link of that output.
TEST(F23Packed, PackedLinkPastTheSourceOutputsReadsAsScalar)
{
  gfunc source{};
  gfunc reader{};
  for (int k = 0; k < 5; ++k)
    for (int i = 0; i < kBatchCapacity; ++i)
      source.outputs[k][i] = 10 * k + i;
  reader.sources[0] = &source;
  reader.inlets[0].channels = 3;
  for (int start : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE(start);
    reader.inlets[0].data = source.outputs[start];
    const KVpackedInput in = KV_packedInput(&reader, 0);
    const bool fits = start <= 2;
    EXPECT_EQ(in.packed, fits);
    EXPECT_EQ(in.at(2, 5), fits ? 10 * (start + 2) + 5 : 10 * start + 5);
  }
  reader.inlets[0].data = nullptr;
  EXPECT_EQ(KV_packedInput(&reader, 0).at(1, 3), 0);
}

// A Looper of Iterations 3 whose loop holds a packed add with loop mask
// 4095: every pass after the first adds input 2 to the previous sum.
TEST(F23Packed, LooperPassesAccumulateInAPackedMember)
{
  struct Case
  {
    uint16_t mask;
    double sum;
  };
  for (const Case& c : {Case{4095, 5}, Case{4094, 2}}) {
    SCOPED_TRACE(c.mask);
    KVmemberHarness h;
    gfunc* looper = h.bind(kFamily23, 44);
    smalltree& tree = h.doc()->tree;
    gfunc* add = &tree.funcs[1];
    gfunc* source = &tree.funcs[2];
    for (gfunc* f : {add, source}) {
      f->doc = h.doc();
      f->owner = &tree;
    }
    tree.count = 3;
    setFunc(add, kFamily23, 16, kBindDefaults);
    setFunc(source, kFamily22, 2, kBindDefaults);  // Scale & Offset: the identity
    KVtestInput ones = KVtestInput::fill(1);
    for (gfunc* f : {add, source})
      for (int k = 0; k < 2; ++k) {
        f->inlets[k].data = ones.data.data();
        f->inlets[k].channels = 1;
      }
    add->loopMask = c.mask;
    looper->loopIndex = 1;
    looper->loopMask = 1;
    looper->sources[0] = source;
    h.setParams(3, 1, -1);
    h.prepare();
    source->compute(source);
    h.run(4);
    EXPECT_EQ(tree.iteration, 4);
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(add->outputs[k][0], c.sum) << k;
  }
}

}  // namespace
