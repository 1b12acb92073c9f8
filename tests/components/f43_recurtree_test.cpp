// The compiled sub-tree members of f43 and f44: pass counts, the scale A on
// the outlets, the marker of the first outlet, B held at message 7, the
// member without a sub-tree, and f44's batch-empty guard on inputs 1 and 4.
#include <cmath>
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// A sub-tree member that writes the iteration counter on output 1 (the
// marker where input 1 has one), inputs 1 and 3 on outputs 2 and 3, and
// counts passes on output 4.
void passProbe(gfunc* c)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    c->outputs[0][i] = c->inlets[0].data[i] >= M ? M : c->owner->iteration;
    c->outputs[1][i] = c->inlets[0].data[i];
    c->outputs[2][i] = c->inlets[2].data[i];
    c->outputs[3][i] += 1;
  }
}

class Recurtree : public ::testing::TestWithParam<uint16_t>
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(int16_t(GetParam()), kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  gfunc* attachProbe()
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, int16_t(GetParam()), 5, kBindDefaults);
    for (int k = 0; k < 4; ++k)
      c->inlets[k].source = int16_t(kSourceSubtreeInlet1 + k);
    c->compute = passProbe;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
    return c;
  }

  KVbatch run(gfunc* c, int out)
  {
    std::fill(std::begin(c->outputs[3]), std::end(c->outputs[3]), 0.0);
    h_.setInput(2, KVtestInput::samples({8, 9}));
    h_.setInput(3, KVtestInput::samples({1, 1}));
    return h_.run(KVtestInput::samples({1, M}), KVtestInput::samples({4, 5}), 2, out);
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_P(Recurtree, RunsBPlusOnePassesAndScalesTheOutlets)
{
  gfunc* c = attachProbe();
  h_.setParams(0.5, 3, 0);
  h_.prepare();
  EXPECT_EQ(run(c, 0)[0], 1.5);  // the last pass's index, 3, times A
  EXPECT_EQ(run(c, 1)[0], 0.5);
  EXPECT_EQ(run(c, 2)[0], 4);
  for (int out = 0; out < 3; ++out)
    EXPECT_EQ(run(c, out)[1], M) << out;  // a marked first outlet
  if (GetParam() == kFamily44) {
    EXPECT_EQ(run(c, 3)[0], 2);  // four passes, times A
  }

  // Recursion 0 runs the sub-tree once; B above 32 is stored as 32.
  h_.setParams(1, 0, 0);
  h_.prepare();
  EXPECT_EQ(run(c, 0)[0], 0);
  h_.setParams(1, 99, 0);
  h_.prepare();
  EXPECT_EQ(g_->B, 32);
}

TEST_P(Recurtree, WithoutASubtreePassesTheInputsThrough)
{
  h_.prepare();
  h_.setInput(2, KVtestInput::samples({7}));
  h_.setInput(3, KVtestInput::samples({6}));
  const double want[4] = {1, 4, GetParam() == kFamily44 ? 7.0 : 0.0, 6};
  const int outs = GetParam() == kFamily44 ? 4 : 3;
  for (int out = 0; out < outs; ++out)
    EXPECT_EQ(h_.run(KVtestInput::samples({1}), KVtestInput::samples({4}), 1, out)[0], want[out])
        << out;
}

INSTANTIATE_TEST_SUITE_P(F43AndF44, Recurtree, ::testing::Values(kFamily43, kFamily44));

// f44: a source of input 1 or 4 whose last batch had no value makes the
// member's batch the marker and sets its own flag.
TEST(F44RecurtreeGuard, AnEmptySourceOnInputFourGivesMarkers)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily44, kCompiledTreeId);
  smalltree* sub = arb_NewSubTree();
  ASSERT_NE(sub, nullptr);
  sub->version = kTreeVersion;
  gfunc* c = &sub->funcs[0];
  c->doc = h.doc();
  c->owner = sub;
  setFunc(c, kFamily44, 5, kBindDefaults);
  for (int k = 0; k < 4; ++k)
    c->inlets[k].source = int16_t(kSourceSubtreeInlet1 + k);
  c->compute = passProbe;
  sub->count = 1;
  h.doc()->embedded[0] = sub;
  g->auxIndex = 0;
  g->link = sub;
  h.prepare();

  gfunc empty{};
  empty.maskedBatch = 1;
  for (int k = 0; k < 4; ++k)
    h.setInput(k, KVtestInput::fill(1));
  g->sources[3] = &empty;
  for (int out = 0; out < 4; ++out)
    EXPECT_EQ(h.run(1, out)[0], M) << out;
  EXPECT_EQ(g->maskedBatch, 1);
  empty.maskedBatch = 0;
  EXPECT_EQ(h.run(1, 1)[0], 1);
  EXPECT_EQ(g->maskedBatch, 0);
  g->sources[3] = nullptr;
  arb_DisposeSubTree(sub);
}

}  // namespace
