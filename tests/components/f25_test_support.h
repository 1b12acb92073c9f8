// A bench for one f25 member: the member harness with the document's two
// colours and a three-key colour table set, so that colour paths are seen,
// and the member's circle block freed when it is rebound or the bench ends.
#pragma once

#include <gtest/gtest.h>

#include "components/f25/f25_pvt.h"
#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

inline constexpr normalcolor kF25testBackground{255, 96, 160, 224};
inline constexpr normalcolor kF25testSecond{255, 200, 40, 8};

class F25bench
{
public:
  explicit F25bench(short seed = 7778) : h_(seed)
  {
    sfuncSystem* d = h_.doc();
    d->defaultColors[0] = kF25testBackground;
    d->defaultColors[1] = kF25testSecond;
    cpalette& p = d->tables.gradientKeys;
    p.count = 3;
    p.colors[0] = {255, 255, 0, 0};
    p.colors[1] = {255, 0, 255, 0};
    p.colors[2] = {255, 0, 0, 255};
  }
  ~F25bench() { release(); }
  F25bench(const F25bench&) = delete;
  F25bench& operator=(const F25bench&) = delete;

  // Binds member `id` with A, B, C and sends messages 7 and 8.
  gfunc* bind(int16_t id, double a, double b, double c)
  {
    release();
    g_ = h_.bind(kFamily25, id);
    h_.setParams(a, b, c);
    h_.prepare();
    return g_;
  }

  // The five outputs of one sample (batch length 1); outputs 4 and 5 hold
  // `before` when the compute leaves them.
  F25out at(double x, double y, double before = -99)
  {
    h_.setInput(0, KVtestInput::samples({x}));
    h_.setInput(1, KVtestInput::samples({y}));
    for (int k = 0; k < 5; ++k)
      g_->outputs[k][0] = before;
    h_.run(1);
    return {g_->outputs[0][0], g_->outputs[1][0], g_->outputs[2][0], g_->outputs[3][0],
            g_->outputs[4][0]};
  }

  void release()
  {
    if (g_ != nullptr)
      arb_TP_deletegfuncauxmem(nullptr, g_);
    g_ = nullptr;
  }

  KVmemberHarness& harness() { return h_; }
  sfuncSystem* doc() { return h_.doc(); }
  gfunc* component() { return g_; }

private:
  KVmemberHarness h_;
  gfunc* g_ = nullptr;
};

// Outputs 1 to 5 equal, NaN equal to NaN.
inline void F25_expectSame(const F25out& a, const F25out& b)
{
  const double va[5] = {a.x, a.y, a.r, a.g, a.b}, vb[5] = {b.x, b.y, b.r, b.g, b.b};
  for (int k = 0; k < 5; ++k) {
    if (std::isnan(va[k]) && std::isnan(vb[k]))
      continue;
    EXPECT_EQ(va[k], vb[k]) << "output " << k + 1;
  }
}

inline void F25_expectNear(const F25out& got, const F25out& want, double tol)
{
  const double va[5] = {got.x, got.y, got.r, got.g, got.b},
               vb[5] = {want.x, want.y, want.r, want.g, want.b};
  for (int k = 0; k < 5; ++k)
    EXPECT_NEAR(va[k], vb[k], tol) << "output " << k + 1;
}
