// Shared by the f32 tests: one member mapping (x, y, z) to (x', y') through
// the member harness, and a table of such cases.
#pragma once

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <span>

#include "engine/catalog.h"
#include "engine/world.h"
#include "tests/components/member_harness.h"

namespace f32test {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kMark = gINFINITY;

struct Mapped
{
  double x;
  double y;
};

// One sample at (x, y, z) with batch length 1.
inline Mapped mapOnce(KVmemberHarness& h, double x, double y, double z)
{
  h.setInput(0, KVtestInput::fill(x));
  h.setInput(1, KVtestInput::fill(y));
  h.setInput(2, KVtestInput::fill(z));
  return {h.run(1, 0)[0], h.run(1, 1)[0]};
}

// One f32 member at parameters A, B, C, mapping (x, y, z) to (ex, ey).
struct Case
{
  const char* what;
  int16_t id;
  double A, B, C;
  double x, y, z;
  double ex, ey;
  double tolerance = 0;  // absolute; 0 asks for the exact double
};

inline void expectNear(double got, double want, double tolerance)
{
  if (tolerance == 0 || std::isnan(want))
    EXPECT_EQ(got == want || (std::isnan(got) && std::isnan(want)), true) << got << " != " << want;
  else
    EXPECT_NEAR(got, want, tolerance);
}

inline void expectCases(std::span<const Case> cases)
{
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    h.bind(kFamily32, c.id);
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    const Mapped p = mapOnce(h, c.x, c.y, c.z);
    expectNear(p.x, c.ex, c.tolerance);
    expectNear(p.y, c.ey, c.tolerance);
  }
}

}  // namespace f32test
