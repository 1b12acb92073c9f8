// The f11 gate, loop driver and memory members: the gate's window and its
// wholly-masked flag; the memory members over the passes of a loop (the
// tree's iteration counter set by hand); " Iterations" driving its loop in a
// prepared document tree.
#include "components/f11/f11_memory.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "tests/components/f11_tree_fixture.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(F11Gate, WindowInversionAndMaskedFlag)
{
  struct Case
  {
    const char* what;
    double A, B, C;
    std::vector<double> x;
    std::vector<double> expected;
    uint8_t masked;
  };
  const Case cases[] = {
      {"Maximum 4 passes 16", 4, 0, 0, {16, 16.000001, -0.5, 0}, {16, M, M, 0}, 0},
      {"all outside", 4, 1, 0, {0.5, 17, M, -3}, {M, M, M, M}, 1},
      {"negative minimum", 1, -2, 0, {-4, -4.5, 1}, {-4, M, 1}, 0},
      {"inverted", 4, 0, 1, {16, 17, M, -1}, {M, 17, M, -1}, 0},
      {"inverted, all inside", 4, 0, 1, {1, 2}, {M, M}, 1},
      {"NaN outside the window", 4, 0, 0, {kNaN}, {M}, 1},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gfunc* g = h.bind(kFamily11, 27);
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    KVtestInput in;
    std::copy(c.x.begin(), c.x.end(), in.data.begin());
    const KVbatch out = h.run(in, KVtestInput{}, int(c.x.size()));
    for (size_t i = 0; i < c.x.size(); ++i)
      EXPECT_EQ(out[i], c.expected[i]) << i;
    EXPECT_EQ(g->maskedBatch, c.masked);
  }
}

// A memory member fed one input per pass, pass k with the tree's iteration
// counter at k.
struct PassCase
{
  const char* what;
  int16_t id;
  double A, B;
  std::vector<double> inputs;
  double expected;
};

const PassCase kPassCases[] = {
    {"add, A 0 B 1, 2 four times", 30, 0, 1, {2, 2, 2, 2}, 8},
    {"add skips masked passes", 30, 1, 2, {1, M, 3}, 9},
    {"add, negative gain held to 1", 30, 0.5, -3, {1, 1}, 2.5},
    {"max of masked passes", 29, 0, 0, {M, M, M}, -64},
    {"max", 29, 0, 0, {1, 5, M, 2}, 5},
    {"min", 40, 0, 0, {3, -2, M}, -2},
    {"min of masked passes", 40, 0, 0, {M}, 64},
    {"diff, A 0", 50, 0, 0, {0, 1, 2, 3}, 2},
    {"diff, A 0, masked last pass", 50, 0, 0, {0, 1, M}, M},
    {"diff, A 1 smooths a small step", 50, 1, 0, {0.2}, 0.29},
    {"diff, A 0.5", 50, 0.5, 0, {4}, 4},
    {"fractal add, A 0.5", 54, 0.5, 1, {1, 1, 1}, 1.75},
    {"fractal add skips x <= 0", 54, 0.5, 1, {1, -1, 0, 1}, 1.125},
    {"fractal add, A 2", 54, 2, 1, {1, 1}, 3.0 / 16},
};

TEST(F11Memory, AccumulatesOverThePassesOfALoop)
{
  KVmemberHarness h;
  for (const PassCase& c : kPassCases) {
    SCOPED_TRACE(c.what);
    gfunc* g = h.bind(kFamily11, c.id);
    h.setParams(c.A, c.B, -1);
    h.prepare();
    double out = 0;
    for (size_t k = 0; k < c.inputs.size(); ++k) {
      h.doc()->tree.iteration = int16_t(k);
      out = h.run(KVtestInput::fill(c.inputs[k]), KVtestInput{}, 3)[2];
    }
    EXPECT_NEAR(out, c.expected, 1e-12);
    if (c.id == 29 || c.id == 40) {
      EXPECT_EQ(g->outputs[1][2], out);
    }
  }
}

// A call with the counter at 0 starts over, whatever the output held.
TEST(F11Memory, CounterZeroStartsOver)
{
  KVmemberHarness h;
  h.bind(kFamily11, 30);
  h.setParams(1, 1, -1);
  h.prepare();
  for (int batch = 0; batch < 3; ++batch)
    EXPECT_EQ(h.run(KVtestInput::fill(2), KVtestInput{})[0], 3);
}

TEST(F11Memory, PreparationAndOldTrees)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily11, 50);
  h.setParams(0, -1, -1);
  h.precompute();
  EXPECT_EQ(f11_k(g).K1, 1e7);
  EXPECT_EQ(f11_k(g).K2, 1e-7);
  h.setParams(0.5, -1, -1);
  h.precompute();
  EXPECT_EQ(f11_k(g).K1, 2);

  g = h.bind(kFamily11, 54);
  h.setParams(2, 3, -1);
  h.prepare();
  EXPECT_EQ(f11_k(g).K2, 3.0 / 16);

  for (int16_t version : {int16_t(13), int16_t(14)}) {
    SCOPED_TRACE(version);
    g = h.bind(kFamily11, 30);
    h.setParams(1, 0.5, -1);
    g->keyframes[4].B = 0.25;
    g->owner->version = version;
    h.send(kMsgConvertOld);
    g->owner->version = kTreeVersion;
    EXPECT_EQ(g->B, version == 13 ? 1 : 0.5);
    EXPECT_EQ(g->keyframes[4].B, version == 13 ? 1 : 0.25);
  }
}

TEST(F11Iterations, OutsideTheMainTreeReportsThePass)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily11, 28);
  EXPECT_EQ(g->outputCode, kConnUniform);
  h.setParams(2.5, 3, -1);
  h.prepare();
  g->mainTree = 0;
  h.doc()->tree.iteration = 4;
  const KVbatch out = h.run(KVtestInput::fill(1), KVtestInput{}, 5);
  EXPECT_EQ(out[0], 10);
  EXPECT_EQ(out[4], 10);
  EXPECT_EQ(h.doc()->tree.iteration, 4);
}

using F11Loop = KVsmallTreeTest;

// " Iterations" (slot 0) drives f21 x + y (slot 1, y = 0) into the memory
// members Memory Add, Memory Max and Memory Min: each pass publishes k A.
TEST_F(F11Loop, IterationsRunsItsLoopBPlusOneTimes)
{
  struct Case
  {
    double A, B;
    bool afterPrepare;  // B set after preparation, as a keyframe would
    double sum, max, min;
    int16_t passes;
  };
  const Case cases[] = {
      {2, 0, false, 0, 0, 0, 1},       {2, 3, false, 12, 6, 0, 4},  {-1, 2, false, -3, 0, -2, 3},
      {1, 1e9, true, 2080, 64, 0, 65}, {1, kNaN, true, 0, 0, 0, 1}, {1, -4, true, 0, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "A " << c.A << " B " << c.B);
    gfunc* loop = add(kFamily11, 28, 0, {}, c.A, c.afterPrepare ? 0 : c.B, -1);
    add(kFamily21, 0, 1, {0});  // x + y
    gfunc* sum = add(kFamily11, 30, 2, {1}, 0, 1, -1);
    gfunc* max = add(kFamily11, 29, 2, {1});
    gfunc* min = add(kFamily11, 40, 2, {1});
    prepareTree();
    if (c.afterPrepare)
      loop->B = c.B;
    KVbatch zeros{};
    runBatch(zeros, zeros, 4);
    EXPECT_EQ(sum->outputs[0][3], c.sum);
    EXPECT_EQ(max->outputs[0][3], c.max);
    EXPECT_EQ(min->outputs[0][3], c.min);
    EXPECT_EQ(doc_->tree.iteration, c.passes);
    EXPECT_EQ(loop->outputs[0][0], (c.passes - 1) * c.A);
    // The next batch starts over.
    runBatch(zeros, zeros, 4);
    EXPECT_EQ(sum->outputs[0][0], c.sum);
    arb_Clear(doc_, true, true);
  }
}

// Memory Add in a loop of 4 passes (B = 3), A = 0, B = 1, fed 2 by x + A
// whose input is the driver's 0: 8. Memory Max behind a gate that masks
// every pass: -64, and the gate reports its batch masked.
TEST_F(F11Loop, MemoryAtTheEndOfALoop)
{
  add(kFamily11, 28, 0, {}, 0, 3, -1);
  add(kFamily11, 20, 1, {0}, 2, -1, -1);  // x + A
  gfunc* sum = add(kFamily11, 30, 2, {1}, 0, 1, -1);
  prepareTree();
  KVbatch zeros{};
  runBatch(zeros, zeros);
  EXPECT_EQ(sum->outputs[0][15], 8);
  arb_Clear(doc_, true, true);

  add(kFamily11, 28, 0, {}, 100, 3, -1);
  gfunc* gate = add(kFamily11, 27, 1, {0}, 1, 1, 0);  // window [1, 1]
  gfunc* max = add(kFamily11, 29, 2, {1});
  prepareTree();
  runBatch(zeros, zeros);
  EXPECT_EQ(max->outputs[0][0], -64);
  EXPECT_EQ(gate->maskedBatch, 1);
}

}  // namespace
