// Helpers shared by the tests of the f11 members: golden values at single
// points, a member evaluated along a list of inputs, and a fixed
// permutation with the lattice hash computed independently of the code
// under test.
#pragma once

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <span>
#include <vector>

#include "noise/tables.h"
#include "tests/components/member_harness.h"

// One f11 member at parameters A, B, C, fed x.
struct F11Golden
{
  const char* what;
  int16_t id;
  double A, B, C;
  double x;
  double expected;
  double tolerance = 1e-12;  // relative to 1 + |expected|
};

// Binds and prepares a member with the parameters (messages 7 and 8).
inline gfunc* f11_bindWith(KVmemberHarness& h, int16_t id, double a, double b, double c)
{
  gfunc* g = h.bind(kFamily11, id);
  h.setParams(a, b, c);
  h.prepare();
  return g;
}

inline double f11_at(KVmemberHarness& h, double x)
{
  return h.at(x, 0);
}

inline void expectGoldenValues(std::span<const F11Golden> cases, KVmemberHarness& h)
{
  for (const F11Golden& c : cases) {
    SCOPED_TRACE(c.what);
    f11_bindWith(h, c.id, c.A, c.B, c.C);
    EXPECT_NEAR(f11_at(h, c.x), c.expected, c.tolerance * (1 + std::fabs(c.expected)));
  }
}

// The member's values at each x, one batch at a time.
inline std::vector<double> f11_values(KVmemberHarness& h, std::span<const double> xs)
{
  std::vector<double> out;
  for (double x : xs)
    out.push_back(f11_at(h, x));
  return out;
}

// A fixed permutation, perm[i] = (389 i + 11) mod 1024 (389 is odd, so every
// value appears once), with the copy of perm[0] at 1024; the derived tables
// are rebuilt from it.
inline void f11_fixedPermutation(sfuncSystem* doc, int32_t mul = 389, int32_t add = 11)
{
  for (int i = 0; i < 1024; ++i)
    doc->tables.perm[i] = (mul * i + add) & 1023;
  arb_compRndVecTable(&doc->tables);
}

// h(n) = perm[((n >> 8) + perm[n & 1023]) & 1023] on a 64-bit sum.
inline int32_t f11_refHash(const sfuncSystem* doc, int32_t n)
{
  const int64_t inner = (int64_t(n) >> 8) + doc->tables.perm[n & 1023];
  return doc->tables.perm[inner & 1023];
}
