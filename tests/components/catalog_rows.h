// The catalog checks every family's tests make of a member: its display name,
// parameter count and labels, its defaults and the parameters message 4 gives
// at the two ends of the normalised range. A family lists its rows in a table
// and runs each through these.
#pragma once

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <utility>

#include "engine/protocol.h"
#include "tests/components/member_harness.h"

struct KVnameRow
{
  int16_t id;
  const char* name;
  int count;
  const char* labels[3];
};

struct KVrangeRow
{
  int16_t id;
  double defaults[3];
  double atZero[3];
  double atOne[3];
};

// Close enough for a parameter computed from a constant such as pi.
inline double KV_catalogTolerance(double expected)
{
  return 1e-12 * (1 + std::fabs(expected));
}

// Name, count and labels byte for byte; a parameter the member lacks writes
// neither its label nor the value.
inline void KV_expectNameAndLabels(KVmemberHarness& h, uint16_t family, const KVnameRow& row)
{
  SCOPED_TRACE(row.id);
  gfunc* g = h.bind(int16_t(family), row.id);
  EXPECT_EQ(h.displayName(), row.name);
  EXPECT_EQ(g->paramCount, row.count);
  for (int p = 0; p < 3; ++p) {
    double value = 4321;
    EXPECT_EQ(h.send(int16_t(kMsgParamA + p), &value), row.labels[p]) << "parameter " << p;
    EXPECT_EQ(value, p < row.count ? KV_param(g, p) : 4321) << "parameter " << p;
  }
}

// The defaults of message 6 (-1 where a parameter is absent) and, for the
// parameters the member has, the values message 4 gives at n = 0 and n = 1.
// Returns the bound member, left at n = 1.
inline gfunc* KV_expectDefaultsAndRangeEnds(KVmemberHarness& h, uint16_t family,
                                            const KVrangeRow& row)
{
  SCOPED_TRACE(row.id);
  gfunc* g = h.bind(int16_t(family), row.id);
  const double defaults[3] = {g->A, g->B, g->C};
  for (int p = 0; p < 3; ++p)
    EXPECT_NEAR(defaults[p], row.defaults[p], KV_catalogTolerance(row.defaults[p]))
        << "default " << p;
  for (const auto& [n, expected] : {std::pair{0.0, row.atZero}, std::pair{1.0, row.atOne}}) {
    double a = n, b = n, c = n;
    h.send(kMsgFromNormalized, &a, &b, &c);
    const double values[3] = {g->A, g->B, g->C};
    for (int p = 0; p < g->paramCount; ++p)
      EXPECT_NEAR(values[p], expected[p], KV_catalogTolerance(expected[p]))
          << "parameter " << p << " n " << n;
  }
  return g;
}
