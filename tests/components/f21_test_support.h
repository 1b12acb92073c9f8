// Helpers shared by the tests of the f21 members: tables of golden values
// at single points, and whole grids of one member's output.
#pragma once

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <span>
#include <vector>

#include "tests/components/member_harness.h"

// One f21 member at parameters A, B, C, sampled at (x, y).
struct F21Golden
{
  const char* what;
  int16_t id;
  double A, B, C;
  double x, y;
  double expected;
  double tolerance = 1e-12;  // relative to 1 + |expected|
};

// Binds, sets and prepares each case's member in turn and checks its value.
inline void expectGoldenValues(std::span<const F21Golden> cases)
{
  KVmemberHarness h;
  for (const F21Golden& c : cases) {
    SCOPED_TRACE(c.what);
    h.bind(kFamily21, c.id);
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    EXPECT_NEAR(h.at(c.x, c.y), c.expected, c.tolerance * (1 + std::fabs(c.expected)));
  }
}

// Member `id` of f21 at parameters a, b, c (after message 7 and 8) over a grid.
inline std::vector<double> gridOf(KVmemberHarness& h, int16_t id, double a, double b, double c,
                                  const KVgridView& view = {})
{
  h.bind(kFamily21, id);
  h.setParams(a, b, c);
  h.prepare();
  return h.grid(view);
}
