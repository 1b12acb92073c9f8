// The f11 noises with a fixed permutation: value-noise levels at lattice
// points, staircases constant in each cell, grains only where the
// permutation places them, Smooth Steps' plain staircase, the band limit of
// the fractal members, and the dependence of every member on the tables.
#include "components/f11/f11_noises.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "tests/components/f11_test_support.h"

namespace {

class F11Noises : public ::testing::Test
{
protected:
  void SetUp() override { f11_fixedPermutation(h_.doc()); }
  int32_t h(int32_t n) const { return f11_refHash(doc(), n); }
  const sfuncSystem* doc() const { return const_cast<KVmemberHarness&>(h_).doc(); }
  KVmemberHarness h_;
};

TEST_F(F11Noises, DiscreteRandomIsConstantInEachCell)
{
  f11_bindWith(h_, 41, 4, 1, 0);
  struct Cell
  {
    int32_t cell;
    std::vector<double> xs;
  };
  const Cell cells[] = {{2, {2.0, 2.3, 2.99}}, {-1, {-0.5, -0.01}}, {-2, {-1.0, -1.7}}, {0, {0.0}}};
  for (const Cell& c : cells)
    for (double x : c.xs)
      EXPECT_EQ(f11_at(h_, x), (h(c.cell) - 512) * 4 / 512.0) << "x " << x;
}

// At whole u = B x + C the smooth value noise is (h(u) - 511.5) A / 512; B
// is taken as |B|.
TEST_F(F11Noises, RandomAtWholeNumbersIsTheLatticeValue)
{
  struct Case
  {
    double B, C, x;
    int32_t u;
  };
  const Case cases[] = {{1, 0, 3, 3}, {1, 0, 0, 0},    {1, 0, -2, -2},
                        {2, 1, 3, 7}, {-1, 0, -3, -3}, {-2, 0, 1.5, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "B " << c.B << " x " << c.x);
    f11_bindWith(h_, 5, 1.5, c.B, c.C);
    EXPECT_NEAR(f11_at(h_, c.x), (h(c.u) - 511.5) * 1.5 / 512, 1e-12);
  }
  // Halfway between lattice points the smoothstep gives the mean.
  f11_bindWith(h_, 5, 1.5, 1, 0);
  EXPECT_NEAR(f11_at(h_, 4.5), ((h(4) + h(5)) / 2.0 - 511.5) * 1.5 / 512, 1e-12);
}

TEST_F(F11Noises, GrainsAreZeroWhereNeitherNeighbourCarriesAGrain)
{
  const int32_t* perm = h_.doc()->tables.perm;
  f11_bindWith(h_, 36, 2, 0.5, 2);  // u = x
  int tested = 0, grains = 0;
  for (int32_t i = -40; i < 200; ++i) {
    const bool quiet = perm[i & 1023] <= 512 && perm[(i - 1) & 1023] <= 512;
    for (double f : {0.0, 0.3, 0.77}) {
      const double y = f11_at(h_, i + f);
      if (quiet) {
        EXPECT_EQ(y, 0) << "u " << i + f;
        ++tested;
      } else if (y != 0) {
        ++grains;
      }
    }
  }
  EXPECT_GT(tested, 20);
  EXPECT_GT(grains, 20);
}

// The grain sum reaches 1 at a lone grain's centre n + 0.5 + jitter.
TEST_F(F11Noises, GrainCentre)
{
  const int32_t* perm = h_.doc()->tables.perm;
  const KVtables* t = &h_.doc()->tables;
  int found = 0;
  for (int32_t n = 0; n < 300 && found < 5; ++n) {
    const int32_t p = perm[n];
    const bool alone = p > 512 && perm[(n - 1) & 1023] <= 512 && perm[(n + 1) & 1023] <= 512;
    if (!alone)
      continue;
    const double centre = n + 0.5 + (perm[(p + (n >> 8)) & 1023] & 255) * 0.0037;
    EXPECT_NEAR(Grain1D(t, centre, 1), 1, 1e-12) << "n " << n;
    EXPECT_NEAR(Grain1D(t, centre + 0.1, 2), 4 * (0.25 - 0.2), 1e-12) << "n " << n;
    ++found;
  }
  EXPECT_EQ(found, 5);
}

// With randomness 0 Smooth Steps is a staircase of steps 1/C, each rising
// smoothly over the first half of its cell; A = 0 passes x unchanged.
TEST_F(F11Noises, SmoothStepsWithoutRandomness)
{
  const auto rise = [](double t) { return t * t * (3 - 2 * t); };
  struct Case
  {
    double x;
    double expected;
  };
  const Case cases[] = {
      {1.3, 1.0}, {1.1, (1 + rise(0.4)) / 2}, {-0.3, (-2 + rise(0.8)) / 2}, {-1, -1.5}, {0, -0.5}};
  f11_bindWith(h_, 45, 1, 0, 2);
  for (const Case& c : cases)
    EXPECT_NEAR(f11_at(h_, c.x), c.expected, 1e-12) << "x " << c.x;
  f11_bindWith(h_, 45, 0, 1, 2);
  for (double x : {-2.7, -1.0, 0.0, 0.4, 3.3})
    EXPECT_EQ(f11_at(h_, x), x);
}

TEST_F(F11Noises, StepSignalAndAmountEffect)
{
  const KVtables* t = &h_.doc()->tables;
  EXPECT_EQ(stepsignal(t, 3.7, 3, 0), 3);
  EXPECT_EQ(stepsignal(t, 3.7, 3, 0.5), 3 + 0.5 * h(776));
  EXPECT_EQ(stepsignal(t, 3.0, 3, 0.5), 2 + 0.5 * h(775));
  EXPECT_EQ(stepsignal(t, -1.2, -2, 0.25), -2 + 0.25 * h(771));
  EXPECT_EQ(amounteffect(t, 5.2, 5, 0), 1);
  EXPECT_EQ(amounteffect(t, 5.2, 5, -1), 1);
  const double b1 = h(5 + 3153) & 1;
  EXPECT_EQ(amounteffect(t, 5.7, 5, 0.5), (b1 - 1) * 0.5 + 1);
  const double b0 = h(5 + 3152) & 1;
  EXPECT_EQ(amounteffect(t, 5.0, 5, 0.5), (b0 - 1) * 0.5 + 1);
}

// The fractal sums are 0 once the start frequency exceeds 2 pi / 3 of the
// band limit.
TEST_F(F11Noises, FractalMembersVanishAboveTheBandLimit)
{
  const std::vector<double> xs = {-2.3, -0.7, 0.4, 1.9, 2.8};
  struct Case
  {
    int16_t id;
    double A, B, C;
    double density;
    bool zero;
  };
  const Case cases[] = {
      {35, 4, 12, 0, 1, true},  // start 3 > 2.09
      {35, 4, 8, 0, 1, false},  // start 2 < 2.09
      {44, 4, 4, 12, 1, true},  // start 3, limit min(12, 1)
      {44, 4, 4, 8, 1, false},  // start 2
      {44, 4, 1, 12, 1000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " B " << c.B << " C " << c.C);
    h_.doc()->yPixelScale = c.density;
    f11_bindWith(h_, c.id, c.A, c.B, c.C);
    const std::vector<double> v = f11_values(h_, xs);
    bool allZero = true;
    for (double y : v)
      allZero = allZero && y == 0;
    EXPECT_EQ(allZero, c.zero);
  }
}

// Another permutation changes every member of the group.
TEST_F(F11Noises, EveryMemberFollowsThePermutation)
{
  std::vector<double> xs;
  for (int i = 0; i < 40; ++i)
    xs.push_back(-3.1 + 0.157 * i);
  for (int16_t id : {5, 25, 35, 36, 37, 41, 44, 45, 47}) {
    SCOPED_TRACE(id);
    f11_fixedPermutation(h_.doc());
    h_.bind(kFamily11, id);
    h_.prepare();
    const std::vector<double> first = f11_values(h_, xs);
    f11_fixedPermutation(h_.doc(), 613, 500);
    h_.prepare();
    EXPECT_NE(f11_values(h_, xs), first);
  }
}

// A coordinate without a 32-bit cell gives 0, not undefined behaviour.
TEST_F(F11Noises, HugeCoordinatesGiveZero)
{
  for (int16_t id : {5, 36, 41, 45}) {
    SCOPED_TRACE(id);
    f11_bindWith(h_, id, 1, 1, 1);
    for (double x : {1e200, -1e200, 3e9, double(NAN)})
      EXPECT_EQ(f11_at(h_, x), 0) << x;
  }
}

}  // namespace
