// f43 members at work: the colour members with a scalar, packed or pixel-row
// input 4, the point members, the memories across loop passes and the packed
// compositing members.
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "engine/catalog.h"
#include "engine/gfunc.h"
#include "engine/treemanage.h"
#include "tests/components/looper_bench.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

using Colour = std::array<double, 3>;

// A packed input whose sample i holds the colour cs[i].
KVtestInput packed(std::initializer_list<Colour> cs)
{
  KVtestInput in;
  in.channels = 3;
  int i = 0;
  for (const Colour& c : cs) {
    for (int k = 0; k < 3; ++k)
      in.data[size_t(16 * k + i)] = c[size_t(k)];
    ++i;
  }
  return in;
}

class F43 : public ::testing::Test
{
protected:
  gfunc* bind(int16_t id, double a, double b, double c)
  {
    g_ = h_.bind(kFamily43, id);
    h_.setParams(a, b, c);
    h_.prepare();
    return g_;
  }
  // Sample i of the three outputs after a run of n samples.
  std::array<Colour, kBatchCapacity> run(int n)
  {
    h_.run(n, 0);
    std::array<Colour, kBatchCapacity> r{};
    for (int i = 0; i < n; ++i)
      for (int k = 0; k < 3; ++k)
        r[size_t(i)][size_t(k)] = g_->outputs[k][i];
    return r;
  }
  void setColour(std::initializer_list<Colour> cs)
  {
    std::array<std::array<double, kBatchCapacity>, 3> ch{};
    int i = 0;
    for (const Colour& c : cs) {
      for (int k = 0; k < 3; ++k)
        ch[size_t(k)][size_t(i)] = c[size_t(k)];
      ++i;
    }
    for (int k = 0; k < 3; ++k)
      h_.setInput(k, KVtestInput::samples(ch[size_t(k)]));
  }
  void expectColour(const Colour& got, const Colour& want, double tol = 1e-12)
  {
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(got[size_t(k)], want[size_t(k)], tol) << "channel " << k;
  }
  // Sets the owning tree's pass counter and the loop mask.
  void pass(int iteration, uint16_t mask = 0)
  {
    g_->owner->iteration = int16_t(iteration);
    g_->loopMask = mask;
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
};

TEST_F(F43, RGBAlphaRampsFromThresholdOverTheFeather)
{
  bind(2, 0.5, 0.5, 0);  // T = 4, F = 4
  setColour({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}});
  h_.setInput(3, KVtestInput::samples({2, 6, 8, M}));
  const auto r = run(4);
  expectColour(r[0], {1, 2, 3});
  expectColour(r[1], {3.5, 4, 4.5});
  expectColour(r[2], {8, 8, 8});
  expectColour(r[3], {M, M, M});
  // B = 0 keeps a feather of 1.
  bind(2, 0.5, 0, 0);
  setColour({{0, 0, 0}});
  h_.setInput(3, KVtestInput::samples({4.5}));
  expectColour(run(1)[0], {2.25, 2.25, 2.25});
}

TEST_F(F43, RGBMixFromThePixelRowAndRGBMultiplyPacked)
{
  bind(0, 1, 2, 0);
  normalcolor row[2] = {{255, 64, 128, 32}, {255, 64, 128, 32}};
  g_->link = row;
  setColour({{M, 0, 0}, {1, 1, 1}});
  const auto r = run(2);
  expectColour(r[0], {4, 8, 2});  // (B/32) p for a marked x
  expectColour(r[1], {5, 9, 3});  // A in + (B/32) p
  h_.prepare();                   // message 7 forgets the row
  EXPECT_EQ(g_->link, nullptr);

  // Packed w with A = 1, B = 0: m = w/16 (the weight map applied twice).
  bind(1, 1, 0, 0);
  setColour({{2, 2, 2}, {M, 0, 0}});
  h_.setInput(3, packed({{8, 16, 4}, {5, 6, 7}}));
  const auto p = run(2);
  expectColour(p[0], {1, 2, 0.5});
  expectColour(p[1], {5, 5, 5});
}

TEST_F(F43, PointMembersByW)
{
  bind(5, 1, 2, 3);
  setColour({{1, 1, 1}, {M, 0, 0}, {1, 1, 1}});
  h_.setInput(3, KVtestInput::samples({2, 1, M}));
  auto r = run(3);
  expectColour(r[0], {3, 5, 7});
  expectColour(r[1], {M, M, M});
  expectColour(r[2], {1, 1, 1});

  bind(6, 0.5, 1, 0);  // s = max(1, 0.5) = 1: out = in
  setColour({{1, 2, 3}});
  h_.setInput(3, KVtestInput::samples({0.5}));
  expectColour(run(1)[0], {1, 2, 3});

  bind(7, std::numbers::pi / 2, 0, 0);
  setColour({{1, 0, 0}});
  h_.setInput(3, KVtestInput::samples({1}));
  expectColour(run(1)[0], {0, 1, 0}, 1e-3);

  bind(24, 0, 0, 0);
  setColour({{1, 4, 6}});
  h_.setInput(3, KVtestInput::samples({3}));
  expectColour(run(1)[0], {1, 4, 6}, 0.05);
}

TEST_F(F43, DepthSortKeepsInputOneOnATieAndMinimaForScalars)
{
  bind(4, 1, 0, 0);
  h_.setInput(0, packed({{1, 2, 5}}));
  h_.setInput(1, packed({{3, 4, 5}}));
  h_.setInput(2, packed({{6, 7, 9}}));
  expectColour(run(1)[0], {1, 2, 6});

  bind(4, 1, 0, 0);
  g_->outputs[0][0] = 77;
  setColour({{5, 3, 4}});
  h_.setInput(3, KVtestInput::samples({2}));
  expectColour(run(1)[0], {77, 2, 3});
}

TEST_F(F43, MemoriesResetAtPassZeroAndAccumulateAfter)
{
  bind(8, 1, 0.5, 0);  // outside loops: A + in w B
  setColour({{2, 4, 6}, {M, 4, 6}});
  h_.setInput(3, KVtestInput::samples({3, 3}));
  const auto sum = run(2);
  expectColour(sum[0], {4, 7, 10});
  expectColour(sum[1], {1, 1, 1});

  // w Min: a tie keeps the later pass; w Max the earlier.
  for (const auto& [id, want] :
       {std::pair{int16_t(12), Colour{2, 2, 2}}, std::pair{int16_t(13), Colour{1, 1, 1}}}) {
    SCOPED_TRACE(id);
    bind(id, 0, 0, 0);
    h_.setInput(3, KVtestInput::samples({5}));
    pass(0);
    setColour({{1, 1, 1}});
    run(1);
    pass(1);
    setColour({{2, 2, 2}});
    expectColour(run(1)[0], want);
  }
  bind(11, 0, 2, 6);
  pass(0);
  setColour({{8, 8, 8}});
  h_.setInput(3, KVtestInput::samples({0.5}));
  expectColour(run(1)[0], {4, 5, 7});
}

TEST_F(F43, PackedDepthChoiceAndAlphaLayers)
{
  bind(10, 0, 0, 0);
  h_.setInput(0, packed({{1, 1, 1}, {1, 1, 1}}));
  h_.setInput(1, packed({{2, 2, 2}, {M, 0, 0}}));
  h_.setInput(2, KVtestInput::samples({3, 3}));
  h_.setInput(3, KVtestInput::samples({3, 3}));
  const auto z = run(2);
  expectColour(z[0], {2, 2, 2});  // equal depths give b
  expectColour(z[1], {1, 1, 1});  // b without value gives a

  bind(14, 0.5, 0.5, 0);  // T = F = 4, alpha 6: halfway, then m = 1
  h_.setInput(0, packed({{0, 2, 4}}));
  h_.setInput(1, packed({{4, 4, 4}}));
  h_.setInput(2, KVtestInput::samples({6}));
  h_.setInput(3, KVtestInput::samples({8}));
  expectColour(run(1)[0], {2, 3, 4});
}

TEST_F(F43, PackedAddAndAddScalesByWAndAccumulatesInALoop)
{
  bind(18, 1, 0.5, 0);
  h_.setInput(0, packed({{1, 1, 1}}));
  h_.setInput(1, KVtestInput::samples({2}));  // a scalar is a grey
  h_.setInput(2, packed({{2, 4, 6}}));
  h_.setInput(3, KVtestInput::samples({8}));
  expectColour(run(1)[0], {4, 5, 6});
  h_.setParams(1, 0.5, 1);  // m = clamp((8/4 - 1) + 1, 0, 2) = 2
  expectColour(run(1)[0], {8, 10, 12});
  // A later pass of a full-mask loop starts from the outputs.
  pass(1, 4095);
  expectColour(run(1)[0], {(8 + 2 + 1) * 2, (10 + 2 + 2) * 2, (12 + 2 + 3) * 2});
  // Outside a full-mask loop every pass starts from input 1 again.
  pass(1, 1);
  expectColour(run(1)[0], {8, 10, 12});
}

// A real Looper (f23 Iterations, 3: four passes) over an f43 member fed 1,
// 1, 1 and w = 4. Packed Add & Add adds input 2 on every pass of a full-mask
// loop (1 + 4) and restarts from input 1 with any other mask (2); Memory Add
// (A = 0, B = 1) sums in w B = 4 per pass whatever the mask.
TEST(F43Looper, PassesAccumulateInsideARealLoop)
{
  struct Case
  {
    int16_t id;
    uint16_t mask;
    double a, b, c;
    double value;
  };
  for (const Case& c :
       {Case{18, 4095, 1, 0, 0, 5}, Case{18, 4094, 1, 0, 0, 2}, Case{8, 4094, 0, 1, 0, 16}}) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.mask);
    const KVtestInput one = KVtestInput::fill(1);
    KVlooperBench bench(kFamily43, c.id, c.mask, {one, one, one, KVtestInput::fill(4)});
    bench.member->A = c.a;
    bench.member->B = c.b;
    bench.member->C = c.c;
    bench.run();
    for (int k = 0; k < 3; ++k)
      EXPECT_DOUBLE_EQ(bench.member->outputs[k][0], c.value) << k;
  }
}

}  // namespace
