// The f33 memory accumulators: what their handlers answer (Memory Add through
// the one-input member's handler), each accumulator without a loop, over the
// passes of a loop (the tree's iteration counter set by hand), a masked first
// pass, and Memory Add accumulating through a real Looper.
#include "components/f33/f33_memory.h"

#include <gtest/gtest.h>
#include <vector>

#include "tests/components/catalog_rows.h"
#include "tests/components/f11_tree_fixture.h"
#include "tests/components/looper_bench.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

struct Xyz
{
  double x, y, z;
};

KVtestInput block(double v)
{
  return KVtestInput::fill(v);
}

// Runs one sample of the bound member with input triple t.
Xyz runOne(KVmemberHarness& h, const Xyz& t)
{
  h.setInput(0, block(t.x));
  h.setInput(1, block(t.y));
  h.setInput(2, block(t.z));
  h.run(1);
  const gfunc* g = h.component();
  return {g->outputs[0][0], g->outputs[1][0], g->outputs[2][0]};
}

void expectXyz(const Xyz& got, const Xyz& want)
{
  EXPECT_DOUBLE_EQ(got.x, want.x);
  EXPECT_DOUBLE_EQ(got.y, want.y);
  EXPECT_DOUBLE_EQ(got.z, want.z);
}

TEST(F33Memory, NamesLabelsAndDefaults)
{
  KVmemberHarness h;
  const KVnameRow names[] = {
      {28, " Memory Max", 0, {"", "", ""}},
      {29, " Memory Depth sort", 0, {"", "", ""}},
      {30, " Memory Add", 2, {"Start Value ", "Sum Gain ", ""}},
      {35, " Memory Min", 0, {"", "", ""}},
      {51, " Memory Diff", 0, {"", "", ""}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily33, row);
  KV_expectDefaultsAndRangeEnds(h, kFamily33, {30, {0, 1, -1}, {-4, 0, 0}, {2, 2, 0}});
  gfunc* g = h.bind(kFamily33, 30);
  EXPECT_EQ(g->handler, f11_memadd_handler);
  // Message 5 is the inverse map; message 8 replaces a negative gain by 1.
  h.setParams(-1, 1.5, -1);
  double a = 0, b = 0, c = 0;
  h.send(kMsgToNormalized, &a, &b, &c);
  EXPECT_DOUBLE_EQ(a, 0.5);
  EXPECT_DOUBLE_EQ(b, 0.75);
  h.setParams(0, -2, -1);
  h.precompute();
  EXPECT_EQ(g->B, 1);
}

// Max, Min and Depth sort fill all 16 samples with their start value at
// message 8; Diff keeps its outputs.
TEST(F33Memory, MessageEightResets)
{
  const struct
  {
    int16_t id;
    double start;
  } rows[] = {{28, -64}, {35, 512}, {29, M}, {51, 7}};
  KVmemberHarness h;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    gfunc* g = h.bind(kFamily33, r.id);
    for (auto& out : g->outputs)
      std::fill(std::begin(out), std::end(out), 7.0);
    h.precompute();
    for (int k = 0; k < 3; ++k)
      for (int i = 0; i < kBatchCapacity; ++i)
        ASSERT_EQ(g->outputs[k][i], r.start) << k << " " << i;
  }
}

// Outside loops each batch starts afresh: the member is a function of its
// input.
TEST(F33Memory, WithoutALoop)
{
  struct Row
  {
    int16_t id;
    Xyz in;
    Xyz out;
  };
  const Row rows[] = {
      {28, {-100, 3, 1e6}, {-64, 3, 1e6}}, {35, {-3, 600, 511}, {-3, 512, 511}},
      {51, {-3, 2, -0.5}, {3, 2, 0.5}},    {29, {1, 2, 3}, {1, 2, 3}},
      {30, {1, -2, 0.5}, {1.5, -1.5, 1}},  // A = 0.5, B = 1
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    KVmemberHarness h;
    h.bind(kFamily33, r.id);
    if (r.id == 30)
      h.setParams(0.5, 1, -1);
    h.prepare();
    expectXyz(runOne(h, r.in), r.out);
    // A second batch does not remember the first.
    expectXyz(runOne(h, r.in), r.out);
  }
}

// Passes 0, 1, 2 of a loop (the owner's iteration counter) over inputs.
TEST(F33Memory, OverThePassesOfALoop)
{
  struct Row
  {
    const char* what;
    int16_t id;
    std::vector<Xyz> passes;
    Xyz out;
  };
  const Row rows[] = {
      {"max", 28, {{1, 1, 1}, {5, 5, 5}, {3, 3, 3}}, {5, 5, 5}},
      {"min", 35, {{1, 1, 1}, {5, 5, 5}, {3, 3, 3}}, {1, 1, 1}},
      {"add", 30, {{1, 1, 1}, {5, 5, 5}, {3, 3, 3}}, {9, 9, 9}},
      {"diff", 51, {{1, 1, 1}, {5, 5, 5}, {3, 3, 3}}, {1, 1, 1}},
      {"depth sort, a tie goes to the newer", 29, {{1, 1, 2}, {2, 2, 2}, {3, 3, 5}}, {2, 2, 2}},
      {"masked first pass keeps the start", 29, {{M, 4, 4}}, {M, M, M}},
      {"masked pass is skipped", 28, {{M, 9, 9}, {2, -70, 3}}, {2, -64, 3}},
      {"masked y is not tested", 35, {{1, M, 600}}, {1, 512, 512}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    KVmemberHarness h;
    h.bind(kFamily33, r.id);
    if (r.id == 30)
      h.setParams(0, 1, -1);
    h.prepare();
    Xyz got{};
    int16_t pass = 0;
    for (const Xyz& in : r.passes) {
      h.doc()->tree.iteration = pass++;
      got = runOne(h, in);
    }
    expectXyz(got, r.out);
  }
}

// Memory Add inside a real Looper of four passes, input 2 each pass:
// A + 4 B x = 1 + 8.
TEST(F33Memory, AddThroughALooper)
{
  KVlooperBench bench(kFamily33, 30, 0xfff, {block(2), block(2), block(2)});
  bench.member->A = 1;
  bench.member->B = 1;
  bench.run();
  for (int k = 0; k < 3; ++k)
    EXPECT_DOUBLE_EQ(bench.member->outputs[k][0], 9) << k;
}

// " Iterations" B = 3 into f21 " Ripples" into each memory member, rendered
// 256 pixels wide: every batch starts over, so one thread and four give the
// same bytes.
using F33MemoryRender = KVsmallTreeTest;

TEST_F(F33MemoryRender, LoopIntoMemoryMembers)
{
  for (int16_t memory : {int16_t(28), int16_t(29), int16_t(30), int16_t(35), int16_t(51)}) {
    SCOPED_TRACE(memory);
    add(kFamily11, 28, 0, {}, 0.5, 3, -1);
    add(kFamily21, 15, 1, {0});
    add(kFamily33, memory, 2, {1, 1, 1});
    arb_ServiceChanges(doc_, false);
    const std::vector<uint8_t> one = render(1);
    const std::vector<uint8_t> four = render(4);
    EXPECT_TRUE(one == four);
    arb_Clear(doc_, true, true);
  }
}

}  // namespace
