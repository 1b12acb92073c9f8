// The compiled sub-tree member of f33: its maps, the passes and their
// iteration indices, B held at every batch, the blend by A (not held) from
// x, y, z at every batch, a marked first outlet, the member without a
// sub-tree or with one that owns itself, and the same picture on one and four
// threads.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <vector>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/family_render.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A sub-tree member fed back from the owner's outputs: output 1 steps input 1
// by 0.5 (the marker where input 3 is negative), output 2 is the sub-tree's
// iteration counter, output 3 counts passes on input 3.
void passProbe(gfunc* c)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    const double z = c->inlets[2].data[i];
    c->outputs[0][i] = z < 0 ? M : c->inlets[0].data[i] + 0.5;
    c->outputs[1][i] = c->owner->iteration;
    c->outputs[2][i] = z + 1;
  }
}

class F33Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily33, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  void own(gfunc* owner, smalltree* sub)
  {
    h_.doc()->embedded[0] = sub;
    owner->auxIndex = 0;
    owner->link = sub;
  }

  void attachProbe()
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily33, 0, kBindDefaults);
    for (int k = 0; k < 3; ++k)
      c->inlets[k].source = int16_t(kSourceSubtreeInlet1 + k);
    c->compute = passProbe;
    sub_->count = 1;
    own(g_, sub_);
  }

  // Samples (1, 2, 3), (-2, 0, 7) and (M, 5, 9); returns outputs 1 to 3.
  std::vector<KVbatch> run()
  {
    h_.setInput(0, KVtestInput::samples({1, -2, M}));
    h_.setInput(1, KVtestInput::samples({2, 0, 5}));
    h_.setInput(2, KVtestInput::samples({3, 7, 9}));
    return {h_.run(3, 0), h_.run(3, 1), h_.run(3, 2)};
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_F(F33Recurtree, NameLabelsAndMaps)
{
  EXPECT_EQ(h_.displayName(), " Compiled tree");
  EXPECT_EQ(g_->A, 1.0);
  EXPECT_EQ(g_->B, 0.0);
  EXPECT_EQ(g_->C, kAbsentParam);
  EXPECT_EQ(g_->paramCount, 2);
  EXPECT_EQ(h_.send(kMsgParamA), "Blend ");
  EXPECT_EQ(h_.send(kMsgParamB), "Recursion ");
  EXPECT_EQ(h_.send(kMsgParamC), "");
  double a = 3.5, b = 0.999, c = 0;
  h_.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g_->A, 3.5);  // no clamp in the map
  EXPECT_EQ(g_->B, 127.0);
  h_.send(kMsgToNormalized, &a, &b, &c);
  EXPECT_EQ(a, 3.5);
  EXPECT_EQ(b, 127.0 / 128);
}

// B + 1 passes with counters 0..B, B held to 0..128 (NaN as 0) at message 7
// and at every batch; each batch starts again from x, y, z, so the second
// batch gives what the first gave.
TEST_F(F33Recurtree, PassesAndBatchesStartFromTheInputs)
{
  const struct
  {
    double recursion;
    bool afterPrepare;  // set after message 7, as a keyframe would
    double stored;      // B after message 7
    int passes;
  } cases[] = {{3, false, 3, 4},      {200, false, 128, 129}, {1e9, true, 1e9, 129},
               {kNaN, true, kNaN, 1}, {-5, true, -5, 1},      {-5, false, 0, 1}};
  attachProbe();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.recursion);
    h_.setParams(1, c.recursion, 0);
    h_.prepare();
    if (c.afterPrepare)
      h_.setParams(1, c.recursion, 0);
    else
      EXPECT_EQ(g_->B, c.stored);
    for (int batch = 0; batch < 2; ++batch) {
      const std::vector<KVbatch> out = run();
      EXPECT_EQ(out[0][0], 1 + 0.5 * c.passes);
      EXPECT_EQ(out[0][1], -2 + 0.5 * c.passes);
      EXPECT_EQ(out[1][0], c.passes - 1);
      EXPECT_EQ(out[2][0], 3 + c.passes);
      EXPECT_EQ(sub_->iteration, c.passes - 1);
      // x marked: the probe steps the marker on, still a marker.
      EXPECT_GE(out[0][2], M);
    }
  }
}

// The blend moves by the fraction A, which is not held: two passes at A = 0.5
// move x by 0.25 then 0.25; A = 2 overshoots.
TEST_F(F33Recurtree, BlendByAUnheld)
{
  attachProbe();
  h_.setParams(0.5, 1, 0);
  h_.prepare();
  EXPECT_EQ(run()[0][0], 1.5);
  h_.setParams(2, 0, 0);
  h_.prepare();
  EXPECT_EQ(g_->A, 2.0);
  EXPECT_EQ(run()[0][0], 2);
  EXPECT_EQ(run()[2][1], 9);  // z 7 + 2 * (8 - 7)
}

// Where the first outlet has no value, outputs 1 and 2 take the marker and
// output 3 still blends towards the third outlet.
TEST_F(F33Recurtree, MarkedFirstOutlet)
{
  attachProbe();
  h_.setParams(0.5, 0, 0);
  h_.prepare();
  h_.setInput(0, KVtestInput::samples({1, 4}));
  h_.setInput(1, KVtestInput::samples({2, 6}));
  h_.setInput(2, KVtestInput::samples({-5, 1}));
  h_.run(2);
  const gfunc* g = g_;
  EXPECT_EQ(g->outputs[0][0], M);
  EXPECT_EQ(g->outputs[1][0], M);
  EXPECT_EQ(g->outputs[2][0], -4.5);  // -5 + 0.5 * (-4 - -5)
  EXPECT_EQ(g->outputs[0][1], 4.25);
  EXPECT_EQ(g->outputs[1][1], 3);  // 6 + 0.5 * (0 - 6)
  EXPECT_EQ(g->outputs[2][1], 1.5);
}

TEST_F(F33Recurtree, WithoutASubtreeInputsPassThrough)
{
  h_.setParams(0.5, 3, 0);
  h_.prepare();
  const std::vector<KVbatch> out = run();
  EXPECT_EQ(out[0][0], 1);
  EXPECT_EQ(out[0][2], M);
  EXPECT_EQ(out[1][2], 5);
  EXPECT_EQ(out[2][1], 7);
}

// A sub-tree holding a compiled tree that owns the sub-tree itself is not
// linked: the member passes its inputs through instead of never ending.
TEST_F(F33Recurtree, SelfOwningSubtreeIsNotRun)
{
  gfunc* c = &sub_->funcs[0];
  c->doc = h_.doc();
  c->owner = sub_;
  setFunc(c, kFamily33, kCompiledTreeId, kBindDefaults);
  c->auxIndex = 0;
  c->link = sub_;
  sub_->count = 1;
  own(g_, sub_);
  h_.prepare();
  const std::vector<KVbatch> out = run();
  EXPECT_EQ(out[0][1], -2);
  EXPECT_EQ(out[2][0], 3);
}

using F33RecurtreeRender = KVfamilyRender;

// A partial blend over two passes, through the render driver's document
// copies: the same picture on one and on four threads.
TEST_F(F33RecurtreeRender, SamePictureOnOneAndFourThreads)
{
  gfunc* inner = makeCompiledTree(kFamily33, 2, 0.25, 1, [](gfunc* g) {
    g->A = 0.7;
    g->B = -0.4;
    g->C = 1.1;
  });
  ASSERT_NE(inner, nullptr);
  const std::vector<uint8_t> one = render(1);
  const std::vector<uint8_t> four = render(4);
  EXPECT_TRUE(one == four);
  // Not one flat colour: the sub-tree's rotation shows.
  EXPECT_NE(std::count(one.begin(), one.end(), one[2]), long(one.size()));
}

}  // namespace
