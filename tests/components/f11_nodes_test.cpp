// The members that evaluate other components: the derivatives of f11 and
// f12 on small trees (the upstream component re-run with x and y shifted,
// the inputs left exactly as they were), and the compiled sub-tree members
// of f11 to f14 (passes held to their range, the f11 blend starting every
// batch from the input, scaling and markers of the outlets).
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "engine/treemanage.h"
#include "tests/components/f11_tree_fixture.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;

struct Member
{
  uint16_t family;
  int16_t id;
  double A, B, C;
};

// The 2D Derivative's light for slopes dx, dy (K1 = pi A, K2 = pi B, offset C).
double lit2D(double dx, double dy, double a, double b, double c)
{
  const double s = dx * dx + dy * dy;
  const double e = 7.5e-6 - s;
  const double n = e > 0 ? s + e * e : s;
  return std::max(0.0, (dx * kPi * a - dy * kPi * b + 2 * e * c) / std::sqrt(n));
}

struct DerivativeCase
{
  const char* what;
  Member source;
  Member member;
  double out1, out2;
};

const Member k3x{kFamily11, 0, 3, 0, -1};   // Ax+B: 3x
const Member k3x4y{kFamily21, 0, 3, 4, 0};  // Ax+By+C: 3x + 4y
const Member kMinus3x{kFamily11, 0, -3, 0, -1};

const DerivativeCase kDerivatives[] = {
    {"Derivative of 3x", k3x, {kFamily11, 15, 1, 0, -1}, 1.5, 0},
    {"Derivative held at 0", kMinus3x, {kFamily11, 15, 1, 0.5, -1}, 0, 0},
    {"2D Derivative of an f11 source is one-dimensional",
     k3x,
     {kFamily11, 26, 1, 1, 1},
     1 + 3e-6 * kPi,
     0},
    {"2D Derivative of an f21 source",
     k3x4y,
     {kFamily11, 26, 1, -1, 0},
     lit2D(3e-6, 4e-6, 1, -1, 0),
     0},
    {"2D Slope", k3x, {kFamily11, 51, 1, 0.5, -1}, kPi*(1 - 1 / std::sqrt(10.0)) + 0.5, 0},
    {"f12 derivative of 3x", k3x, {kFamily12, 8, 4, 0, -1}, 3, 0},
    {"f12 derivative normalised", k3x, {kFamily12, 8, 4, 1, -1}, 12 / std::sqrt(10.0), 0},
    {"f12 derivative of 3x + 4y", k3x4y, {kFamily12, 8, 4, 0, -1}, 3, 4},
};

using F11Nodes = KVsmallTreeTest;

TEST_F(F11Nodes, DerivativesOfASourceLeaveTheInputsAsTheyWere)
{
  for (const DerivativeCase& c : kDerivatives) {
    SCOPED_TRACE(c.what);
    const Member& s = c.source;
    const Member& m = c.member;
    add(s.family, s.id, 0, {}, s.A, s.B, s.C);
    gfunc* g = add(m.family, m.id, 1, {0}, m.A, m.B, m.C);
    prepareTree();
    KVbatch x, y;
    for (int i = 0; i < kBatchCapacity; ++i) {
      x[i] = -2.3 + 0.37 * i;
      y[i] = 0.1 * i - 0.7;
    }
    runBatch(x, y, 9);
    for (int i = 0; i < 9; ++i) {
      EXPECT_NEAR(g->outputs[0][i], c.out1, 1e-6 * (1 + std::fabs(c.out1))) << i;
      if (m.family == kFamily12) {
        EXPECT_NEAR(g->outputs[1][i], c.out2, 1e-6) << i;
      }
      EXPECT_EQ(doc_->master[0][i], x[i]) << i;
      EXPECT_EQ(doc_->master[1][i], y[i]) << i;
    }
    EXPECT_EQ(doc_->tree.iterationStep, 0);
    arb_Clear(doc_, true, true);
  }
}

// With nothing upstream the output is a copy of the input (f12: output 1;
// output 2 is not written).
TEST_F(F11Nodes, DerivativeWithoutASourceCopiesItsInput)
{
  for (const Member& m : {Member{kFamily11, 15, 1, 0, -1}, Member{kFamily11, 26, 1, 1, 0},
                          Member{kFamily11, 51, 1, 0, -1}, Member{kFamily12, 8, 4, 0, -1}}) {
    SCOPED_TRACE(m.id);
    gfunc* g = add(m.family, m.id, 0, {}, m.A, m.B, m.C);
    prepareTree();
    g->outputs[1][0] = 777;
    KVbatch x{}, y{};
    x[0] = 1.25;
    x[1] = M;
    runBatch(x, y, 2);
    EXPECT_EQ(g->outputs[0][0], 1.25);
    EXPECT_EQ(g->outputs[0][1], M);
    if (m.family == kFamily12) {
      EXPECT_EQ(g->outputs[1][0], 777);
    }
    arb_Clear(doc_, true, true);
  }
}

// A compiled sub-tree of one component reading the owner's input 1, owned by
// the harness's component.
class OneInputTree : public ::testing::Test
{
protected:
  void TearDown() override
  {
    if (sub_ != nullptr)
      arb_DisposeSubTree(sub_);
  }

  gfunc* bindWithSubtree(uint16_t family, const Member& inner)
  {
    g_ = h_.bind(int16_t(family), kCompiledTreeId);
    sub_ = arb_NewSubTree();
    sub_->version = kTreeVersion;
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, int16_t(inner.family), inner.id, kBindDefaults);
    c->A = inner.A;
    c->B = inner.B;
    c->C = inner.C;
    c->inlets[0].source = kSourceSubtreeInlet1;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
    return g_;
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

// " Line" over a sub-tree x + 1 that reads the Line's own output: each pass
// moves the output towards output + 1 by A.
TEST_F(OneInputTree, LineBlendsItsPassesFromTheInput)
{
  struct Case
  {
    const char* what;
    double A, B;
    bool afterPrepare;
    double heldB;
    double gain;  // output - input
  };
  const Case cases[] = {
      {"A 0 passes the input", 0, 20, false, 20, 0},
      {"A 1, 4 passes", 1, 3, false, 3, 4},
      {"A 0.5, 1 pass", 0.5, 0, false, 0, 0.5},
      {"stored 1e9 runs 129 passes", 1, 1e9, true, 1e9, 129},
      {"B above 128 held at message 8", 1, 500, false, 128, 129},
      {"NaN B runs once", 1, std::nan(""), false, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gfunc* g = bindWithSubtree(kFamily11, {kFamily11, 20, 1, -1, -1});
    h_.setParams(c.A, c.afterPrepare ? 0 : c.B, -1);
    h_.prepare();
    if (c.afterPrepare)
      g->B = c.B;
    else if (!std::isnan(c.heldB)) {
      EXPECT_EQ(g->B, c.heldB);
    }
    const KVtestInput x = KVtestInput::samples({1, -2.5, 4});
    for (int batch = 0; batch < 2; ++batch) {
      // A Looper inside the sub-tree may leave the inlet-state flag at 2:
      // every batch still starts from the input.
      sub_->inletFeedback = int16_t(batch == 0 ? 1 : 2);
      const KVbatch out = h_.run(x, KVtestInput{}, 3);
      for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(out[i], x.data[i] + c.gain, 1e-12) << "batch " << batch << " sample " << i;
    }
    arb_DisposeSubTree(sub_);
    sub_ = nullptr;
  }
}

TEST_F(OneInputTree, WithoutASubtreeOutputsFollowTheInputs)
{
  for (uint16_t family : {kFamily11, kFamily12, kFamily13, kFamily14}) {
    SCOPED_TRACE(family);
    gfunc* g = h_.bind(int16_t(family), kCompiledTreeId);
    h_.prepare();
    g->outputs[3][0] = 777;
    const KVtestInput x = KVtestInput::samples({1.5, M});
    const KVtestInput y = KVtestInput::samples({-2, 3});
    h_.run(x, y, 2);
    EXPECT_EQ(g->outputs[0][0], 1.5);
    EXPECT_EQ(g->outputs[0][1], M);
    const int outputs = KV_familyOutputs(family);
    if (outputs >= 2) {
      EXPECT_EQ(g->outputs[1][1], 3);
    }
    if (outputs >= 3) {
      EXPECT_EQ(g->outputs[2][0], 0);
    }
    if (outputs == 4) {
      EXPECT_EQ(g->outputs[3][0], 777);
    }
  }
}

// f12 to f14: A times every outlet, all markers where the first outlet is
// masked; B held to 0..32 at message 7 and at every batch.
TEST_F(OneInputTree, OneInputFamiliesScaleTheirOutlets)
{
  struct Case
  {
    uint16_t family;
    Member inner;  // copies x (f12 Cubic Clip gives the smooth step, 0.5 at 0.5)
  };
  const Case cases[] = {
      {kFamily12, {kFamily12, 7, 1, 0, 1}},
      {kFamily13, {kFamily13, 0, -1, -1, -1}},
      {kFamily14, {kFamily14, 0, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    gfunc* g = bindWithSubtree(c.family, c.inner);
    h_.setParams(2, 40, -1);
    h_.prepare();
    EXPECT_EQ(g->B, 32);
    g->B = 1e9;
    h_.run(KVtestInput::samples({0.5, M}), KVtestInput{}, 2);
    EXPECT_EQ(sub_->iteration, 32);
    for (int k = 0; k < KV_familyOutputs(c.family); ++k) {
      EXPECT_EQ(g->outputs[k][0], 1) << k;
      EXPECT_EQ(g->outputs[k][1], M) << k;
    }
    arb_DisposeSubTree(sub_);
    sub_ = nullptr;
  }
}

}  // namespace
