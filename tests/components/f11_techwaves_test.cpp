// Tech Waves and Variable Steps: the generators' sequences (negative
// indices included), the smoothed square wave of mode 0, the staircase that
// follows B x where the draw is 7, the full blend at negative whole u, and
// the generator chosen for an unknown mode.
#include "components/f11/f11_techwaves.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "tests/components/f11_test_support.h"

namespace {

class F11TechWaves : public ::testing::Test
{
protected:
  void SetUp() override { f11_fixedPermutation(h_.doc()); }
  int32_t h(int32_t n) { return f11_refHash(h_.doc(), n); }
  const KVtables* tables() { return &h_.doc()->tables; }
  KVmemberHarness h_;
};

TEST_F(F11TechWaves, PlainGenerators)
{
  struct Case
  {
    TWgenerator p;
    int32_t n;
    double expected;
  };
  const Case cases[] = {
      {TW_pulsA, 3, 1},
      {TW_pulsA, -3, 1},
      {TW_pulsA, -4, -1},
      {TW_pulsB, 1, 1},
      {TW_pulsB, -3, 1},
      {TW_pulsB, 2, 0},
      {TW_pulsB, -1, -1},
      {TW_pulsSaw, 0, -1},
      {TW_pulsSaw, 1, -0.33333333},
      {TW_pulsSaw, -2, 0.33333333},
      {TW_pulsSaw, -1, 1},
      {TW_pulsC, -8, 1},
      {TW_pulsC, -4, -1},
      {TW_pulsC, 5, 0},
      {TW_pulsSP, -16, 1},
      {TW_pulsSP, 3, -0.06666666666666667},
      {TW_pulsAlt, -8, 1},
      {TW_pulsAlt, 10, 1},
      {TW_pulsAlt, 5, -0.25},
      {TW_pulsAlt, 6, -0.5},
      {TW_pulsAlt, 11, -0.5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.p(tables(), c.n, 99.5), c.expected) << "n " << c.n;
}

TEST_F(F11TechWaves, RandomGenerators)
{
  const int32_t* perm = tables()->perm;
  for (int32_t n : {-17, -1, 0, 5, 8, 13, 1000, 70000}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(TW_pulsRPeriodic8(tables(), n, 0), perm[perm[n & 7]] / 512.0 - 1);
    EXPECT_EQ(TW_pulsRPeriodic16(tables(), n, 0), perm[perm[n & 15]] / 512.0 - 1);
    EXPECT_EQ(TW_pulsRPeriodic8(tables(), n, 0), TW_pulsRPeriodic8(tables(), n + 8, 0));
    EXPECT_EQ(TW_pulsRnd(tables(), n, 0), h(n) / 512.0 - 1);

    const int r = h(n >> 3) & 7;
    const double step[8] = {double(n),      double(n & ~1), double(n & ~1), double(n & ~3),
                            double(n & ~3), double(n & ~3), double(n & ~7), double(n & ~7)};
    EXPECT_EQ(TW_pulsRStep(tables(), n, 0), step[r]);
    const double stepB[8] = {double(n),       double(n & ~7), double(n & ~1),  (n & ~1) + 0.37,
                             (n & ~3) - 1.15, double(n & ~3), (n & ~3) + 1.37, 0.625};
    EXPECT_EQ(TW_pulsRStepB(tables(), n, 0.625), stepB[r]);

    const int32_t q = h(n >> 2);
    const double e = (q - 512) / 256.0, a = (n & ~3) + e;
    EXPECT_EQ(TW_pulsRStepC(tables(), n, 0), q % 2 == 0 ? a : std::min(a, (n & ~1) + e / 2));
  }
}

// Mode 0 with B = 1: from -1 to 1 over the first eighth of an even cell,
// back to -1 over the first eighth of the next.
TEST_F(F11TechWaves, SquarePulseHard)
{
  struct Case
  {
    double x;
    double expected;
  };
  const Case cases[] = {{2, -1},     {2.0625, 0}, {2.125, 1}, {2.7, 1},    {3, 1},
                        {3.0625, 0}, {3.2, -1},   {-2, -1},   {-1.9375, 0}};
  f11_bindWith(h_, 56, 0, 1, 1);
  for (const Case& c : cases)
    EXPECT_NEAR(f11_at(h_, c.x), c.expected, 1e-12) << "x " << c.x;
  // C doubles the frequency, B scales.
  f11_bindWith(h_, 56, 0, 3, 2);
  EXPECT_NEAR(f11_at(h_, 1.0), -3, 1e-12);
  EXPECT_NEAR(f11_at(h_, 1.35), 3, 1e-12);
}

// Modes 3 to 5 of Variable Steps return the position itself on a block of 8
// indices whose draw is 7: the output is B x there.
TEST_F(F11TechWaves, VariableStepsFollowBxWhereTheDrawIsSeven)
{
  std::vector<int32_t> blocks;
  for (int32_t b = -30; b < 200 && blocks.size() < 4; ++b)
    if ((h(b) & 7) == 7)
      blocks.push_back(b);
  ASSERT_EQ(blocks.size(), 4u);
  for (int mode : {3, 4, 5}) {
    f11_bindWith(h_, 57, mode, 2.5, 1);
    for (int32_t b : blocks)
      for (double f : {0.0, 1.3, 4.5, 6.9}) {
        const double x = 8.0 * b + f;
        EXPECT_NEAR(f11_at(h_, x), 2.5 * x, 1e-9) << "mode " << mode << " x " << x;
      }
  }
}

// A negative whole u falls in the cell below with a full blend: the value
// there is P(u), as just beside it.
TEST_F(F11TechWaves, NegativeWholeUBlendsFully)
{
  struct Case
  {
    int16_t id;
    double mode;
    TWgenerator p;
  };
  const Case cases[] = {{56, 0, TW_pulsA},     {56, 5, TW_pulsB},    {56, 8, TW_pulsSaw},
                        {56, 17, TW_pulsAlt},  {56, 26, TW_pulsRnd}, {57, 0, TW_pulsRStep},
                        {57, 7, TW_pulsRStepC}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " mode " << c.mode);
    f11_bindWith(h_, c.id, c.mode, 1, 1);
    for (int32_t u : {-1, -3, -8, -17}) {
      EXPECT_EQ(f11_at(h_, u), c.p(tables(), u, u)) << u;
      EXPECT_NEAR(f11_at(h_, u + 1e-9), c.p(tables(), u, u), 1e-6) << u;
    }
  }
}

// An unknown mode takes the first generator with sharpness 8.
TEST_F(F11TechWaves, UnknownModes)
{
  std::vector<double> xs;
  for (int i = 0; i < 60; ++i)
    xs.push_back(-3 + 0.1 * i);
  f11_bindWith(h_, 56, 0, 1, 1);
  const std::vector<double> mode0 = f11_values(h_, xs);
  for (double a : {27.0, -1.0, 1e300}) {
    f11_bindWith(h_, 56, a, 1, 1);
    EXPECT_EQ(f11_values(h_, xs), mode0) << a;
  }
  // Variable Steps: the Random Steps generator, sharper than mode 0's 4.
  f11_bindWith(h_, 57, 8, 1, 1);
  for (int32_t n : {-3, 0, 5}) {
    const double p0 = TW_pulsRStep(tables(), n, 0), p1 = TW_pulsRStep(tables(), n + 1, 0);
    const double t = 0.0625 * 8;
    EXPECT_NEAR(f11_at(h_, n + 0.0625), p0 + t * t * (3 - 2 * t) * (p1 - p0), 1e-12) << n;
  }
  // Before message 8 the private area is zero: the output scale is 0.
  h_.bind(kFamily11, 56);
  EXPECT_EQ(f11_at(h_, 1.3), 0);
}

}  // namespace
