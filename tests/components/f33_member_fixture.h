// Shared by the f33 member tests: one member bound through the member
// harness, sampled one point at a time, with the document's tables and fractal
// settings at hand for recomputing the expected values.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "engine/world.h"
#include "tests/components/member_harness.h"

class F33MemberTest : public ::testing::Test
{
protected:
  using Triple = std::array<double, 3>;

  // The member bound with A, B, C and messages 7 and 8 sent.
  gfunc* bind(int16_t id, double a, double b, double c)
  {
    gfunc* g = h_.bind(kFamily33, id);
    h_.setParams(a, b, c);
    h_.prepare();
    return g;
  }

  // The three outputs at one point (batch length 1).
  Triple at(double x, double y, double z)
  {
    h_.setInput(0, KVtestInput::fill(x));
    h_.setInput(1, KVtestInput::fill(y));
    h_.setInput(2, KVtestInput::fill(z));
    h_.run(1);
    const gfunc* g = h_.component();
    return {g->outputs[0][0], g->outputs[1][0], g->outputs[2][0]};
  }

  KVtables* t() { return &h_.doc()->tables; }

  // A copy of the document's fractal settings with its tables, as the
  // octave drivers are handed them.
  fractalsinfos settings()
  {
    fractalsinfos fi = h_.doc()->fractal;
    fi.tables = t();
    return fi;
  }

  void expectNear(const Triple& got, const Triple& want)
  {
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(got[k], want[k], 1e-12 * (1 + std::fabs(want[k]))) << "output " << k;
  }

  KVmemberHarness h_;
};
