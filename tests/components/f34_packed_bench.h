// What the tests of the f34 packed compositing members share: colour inputs,
// a bench that binds one member, feeds its three inputs and runs one sample,
// and a check of that sample's four outputs.
#pragma once

#include <gtest/gtest.h>
#include <initializer_list>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace f34packedtest {

// A packed input whose every sample is (r, g, b) and, when given, alpha.
inline KVtestInput colour(double r, double g, double b)
{
  return KVtestInput::rgb(r, g, b);
}

inline KVtestInput colour(double r, double g, double b, double alpha)
{
  return KVtestInput::rgba(r, g, b, alpha);
}

// R, G, B and w of one output sample.
struct Rgbw
{
  double c[4];
};

// Binds an f34 member (with its defaults, or with A, B, C), prepares it,
// feeds the three inputs and runs one sample.
class PackedBench
{
public:
  gfunc* bind(int16_t id)
  {
    g = h.bind(kFamily34, id);
    h.prepare();
    return g;
  }
  gfunc* bind(int16_t id, double a, double b, double c)
  {
    g = h.bind(kFamily34, id);
    h.setParams(a, b, c);
    h.prepare();
    return g;
  }
  Rgbw run(const KVtestInput& in1, const KVtestInput& in2, const KVtestInput& in3)
  {
    h.setInput(0, in1);
    h.setInput(1, in2);
    h.setInput(2, in3);
    h.run(1);
    return {{g->outputs[0][0], g->outputs[1][0], g->outputs[2][0], g->outputs[3][0]}};
  }
  KVmemberHarness h;
  gfunc* g = nullptr;
};

// The four outputs of `got` against `want`, within 1e-12.
inline void expectRgbw(const Rgbw& got, std::initializer_list<double> want)
{
  int c = 0;
  for (double v : want) {
    EXPECT_NEAR(got.c[c], v, 1e-12) << "output " << c;
    ++c;
  }
}

}  // namespace f34packedtest
