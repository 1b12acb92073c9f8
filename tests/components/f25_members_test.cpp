// The single-inversion, packing, ring, Kleinian and Moebius members: values
// at chosen points, the parameters message 8 stores back, the maps' defining
// identities, and the bounds on counts that come from stored values.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

#include "components/f25/f25_moebius.h"
#include "components/f25/f25_packings.h"
#include "tests/components/f25_test_support.h"

namespace {

constexpr double M = gINFINITY;
constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The background and second colours on the output scale.
constexpr F25rgb kBg{96 / 32.0, 160 / 32.0, 224 / 32.0};
constexpr F25rgb kSecond{200 / 32.0, 40 / 32.0, 8 / 32.0};

// ---- Disk inversion and polar band ------------------------------------------

TEST(F25Disks, RimTakesTheBackgroundAndFarPointsAreBlack)
{
  F25bench bench;
  bench.bind(9, 1, 0, 0);
  // d = 1 exactly: not inverted, full rim colour.
  F25_expectNear(bench.at(0.6, 0.8), {0.6, 0.8, kBg.r, kBg.g, kBg.b}, 1e-15);
  F25_expectSame(bench.at(1.5, 0), {1.5, 0, 0, 0, 0});
  // Inside: inverted and lit red, no rim weight near the centre.
  F25_expectSame(bench.at(0, 0.5), {0, 2, 8 + (kBg.r - 8) * std::pow(1 - std::sqrt(0.75), 4),
                                    std::pow(1 - std::sqrt(0.75), 4) * kBg.g,
                                    std::pow(1 - std::sqrt(0.75), 4) * kBg.b});
  F25_expectSame(bench.at(M, 0.5, -3), {M, M, M, -3, -3});

  bench.bind(0, 2, 0, 0);  // Outer Disk Mirror: the outside is inverted, lit green
  // The point comes out in the plane scaled by 1/A.
  F25_expectNear(bench.at(2, 0), {1, 0, kBg.r, kBg.g, kBg.b}, 1e-15);
  F25_expectSame(bench.at(6, 0), {2 * 3 / 9.0, 0, 0, 8, 0});
}

TEST(F25Disks, PolarBandRaisesStepsBelowTwo)
{
  F25bench bench;
  gfunc* g = bench.bind(22, 1, 0, 0);
  EXPECT_EQ(g->A, 2);
  g = bench.bind(22, 5.5, 0, 0);
  EXPECT_EQ(g->A, 5.5);
  // On the middle of a band (v = 0) the table colour is not faded.
  const F25out o = bench.at(0.3, 1.1);
  EXPECT_GE(o.y, -1);
  EXPECT_LE(o.y, 1);
}

// Recursion counts held to the map's top: C far beyond gives the top's
// outputs.
TEST(F25Bounds, RecursionBeyondTheMapGivesTheTopsOutputs)
{
  struct Row
  {
    int16_t id;
    double a, b, top;
  };
  const Row rows[] = {
      {4, 1.0471, 1.206, 256}, {14, 1, 4, 64}, {23, 1, 0, 64}, {2, -0.021, -0.0285, 128}};
  F25bench bench;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    for (const double x : {0.37, -1.9})
      for (const double y : {0.11, 2.3}) {
        bench.bind(r.id, r.a, r.b, r.top);
        const F25out top = bench.at(x, y);
        bench.bind(r.id, r.a, r.b, 1e9);
        F25_expectSame(bench.at(x, y), top);
      }
    bench.bind(r.id, r.a, r.b, kNaN);  // NaN as 0, without a report
    bench.at(0.5, 0.5);
  }
}

// Members that loop on the document's octave count take 32767 as 256.
TEST(F25Bounds, OctaveCountIsHeldTo256)
{
  struct Row
  {
    int16_t id;
    double a, b, c;
  };
  const Row rows[] = {{1, 10, 6, 0.3}, {1, 22, 8, 0.3},  {5, 0.98, 3.912, 12},
                      {7, 1, 0, 0},    {21, 1, 0, -0.5}, {24, 0.33, kPi / 9, 0.954}};
  F25bench bench;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    for (const double x : {0.37, -2.9})
      for (const double y : {0.011, 2.3}) {
        bench.doc()->fractal.octaves = 256;
        bench.bind(r.id, r.a, r.b, r.c);
        const F25out top = bench.at(x, y);
        bench.doc()->fractal.octaves = 32767;
        bench.bind(r.id, r.a, r.b, r.c);
        F25_expectSame(bench.at(x, y), top);
      }
  }
}

// Divisions the maps reach by their parameters keep the floating-point
// result (1/A at A = 0, 1/(B C) at B C = 0, a multiplier of 0): no report,
// and every member ends its sample.
TEST(F25Bounds, ZeroDivisorsKeepTheirFloatingPointResult)
{
  struct Row
  {
    int16_t id;
    double a, b, c;
  };
  const Row rows[] = {{0, 0, 0, 0},    {9, 0, 0, 0},       {13, 0, 4, 0},  {14, 0, 4, 8},
                      {15, 0, 0, 0},   {16, 0, 0, 0},      {7, 0, 0, 0},   {5, 0.98, 0, 12},
                      {5, 0.98, 3, 0}, {24, 0.33, 0.4, 0}, {23, -1, 0, 2}, {4, 0, 0, 16}};
  F25bench bench;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    bench.bind(r.id, r.a, r.b, r.c);
    for (const double x : {0.0, 0.5, -2.0})
      bench.at(x, 0.25);
  }
}

// ---- Soddy and rings --------------------------------------------------------

TEST(F25Soddy, OneStepCases)
{
  F25bench bench;
  bench.bind(15, 1, 0, 0);
  F25_expectSame(bench.at(0, 1.5), {0, 0.5, kSecond.r, kSecond.g, kSecond.b});
  F25_expectSame(bench.at(0, -1.5), {0, -0.5, kBg.r, kBg.g, kBg.b});
  F25_expectSame(bench.at(1, 0.5), {1, 2, 8, 0, 0});
  F25_expectSame(bench.at(-1, 0.5), {-1, 2, 0, 8, 0});
  F25_expectSame(bench.at(M, 0.5, -3), {M, M, M, -3, -3});
}

TEST(F25Soddy, OrthogonalSoddyRepeatsEveryFourUnitsOfY)
{
  F25bench bench;
  bench.bind(16, 1.3, 0.2, -0.4);
  for (const double x : {-1.7, -0.6, 0.2, 0.9, 1.8})
    for (const double y : {-1.1, 0.3, 1.6}) {
      SCOPED_TRACE(testing::Message() << x << " " << y);
      F25_expectNear(bench.at(x, y + 4 * 1.3), bench.at(x, y), 1e-9);
    }
}

const dvector3d* blockOf(const gfunc* g)
{
  return static_cast<const dvector3d*>(g->auxMemory);
}

TEST(F25Rings, OneAndTwoCirclesStepByHalfATurn)
{
  F25bench bench;
  const dvector3d* ring = blockOf(bench.bind(13, 1, 1, 0));
  EXPECT_NEAR(ring[0].x, 0, 1e-15);
  EXPECT_NEAR(ring[0].y, -1, 1e-15);
  ring = blockOf(bench.bind(13, 1, 2, 0));
  EXPECT_NEAR(ring[0].x, 1, 1e-15);
  EXPECT_NEAR(ring[1].x, -1, 1e-15);
  EXPECT_NEAR(ring[1].y, 0, 1e-15);
  EXPECT_EQ(ring[0].z, 1);
}

// The circle a point falls in colours it by its index modulo 5, 3 or 4.
TEST(F25Rings, ColourPeriodFollowsTheCount)
{
  struct Row
  {
    int n;
    F25rgb colour;  // of circle 4
  };
  const Row rows[] = {{5, {8, 0, 8}},  {10, {8, 0, 8}}, {6, {0, 8, 0}},
                      {12, {0, 8, 0}}, {7, {8, 0, 0}},  {8, {8, 0, 0}}};
  F25bench bench;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.n);
    const gfunc* g = bench.bind(13, 1, r.n, 0);
    const dvector3d c = blockOf(g)[4];
    const F25out o = bench.at(c.x * 1.02, c.y * 1.02);
    EXPECT_EQ(o.r, r.colour.r);
    EXPECT_EQ(o.g, r.colour.g);
    EXPECT_EQ(o.b, r.colour.b);
  }
}

TEST(F25Rings, CountsAreStoredBackAtMostSixteen)
{
  F25bench bench;
  EXPECT_EQ(bench.bind(13, 2, 20, 0)->B, 16);
  EXPECT_EQ(bench.bind(14, 1, 1e9, 8)->B, 16);
  EXPECT_EQ(bench.bind(14, 1, kNaN, 8)->B, 0);
  bench.at(0.3, 0.2);
}

// With C = 0 a point outside the ring's outer circle is inverted in it once.
TEST(F25Rings, FractalRingWithoutRecursionMakesOnePass)
{
  F25bench bench;
  const double outer2 = (std::sqrt(2.0) + 1) * (std::sqrt(2.0) + 1);
  for (const double c : {0.0, -5.0}) {
    bench.bind(14, 1, 4, c);
    const F25out o = bench.at(10, 0);
    EXPECT_NEAR(o.x, outer2 / 10, 1e-12) << c;
    EXPECT_EQ(o.y, 0);
  }
}

// ---- Random disk packing ----------------------------------------------------

TEST(F25Packing, TableOffsetIsHeldInsideTheRandomTable)
{
  F25bench bench;
  struct Case
  {
    double c, same;
  };
  for (const Case k : {Case{1e6, 757}, Case{-1e6, -4}, Case{kNaN, -4}}) {
    SCOPED_TRACE(k.c);
    for (const double x : {0.4, -2.1}) {
      bench.bind(21, 1, 0, k.same);
      const F25out want = bench.at(x, 1.3);
      bench.bind(21, 1, 0, k.c);
      F25_expectSame(bench.at(x, 1.3), want);
    }
  }
}

TEST(F25Packing, EveryJourneyEndsWithinItsStepBudget)
{
  const F25packingRecord records[8] = {{0.1, -1, -1, -1}, {-0.3, -1, 0.5, -1}, {0.7, -0.2, -1, 0.4},
                                       {0, -1, -1, -1},   {0.2, 1, 1, 1},      {-0.9, -1, -1, -1},
                                       {0.5, -1, -1, -1}, {-0.1, -1, -1, -1}};
  for (const int limit : {1, 4, 16})
    for (int i = 0; i < 400; ++i) {
      const double x = -6 + 0.03 * i, y = 3 * std::sin(0.7 * i);
      const F25packing p = randomDiskpack(x, y, records, limit);
      EXPECT_LE(p.steps, 4 * limit + 64);
      EXPECT_GE(p.code, -1);
      EXPECT_LE(p.code, 3);
    }
}

// ---- Kleinian -----------------------------------------------------------------

TEST(F25Kleinian, LatticeInverseAndTheOrigin)
{
  F25bench bench;
  const gfunc* g = bench.bind(23, 1, 0, 2);
  const F25kleinianPrivate& k = privateArea<F25kleinianPrivate>(g);
  const Complex inverse = Complex{1, 0} / Complex{k.a1, k.a2};
  EXPECT_NEAR(k.b1, inverse.re, 1e-12);
  EXPECT_NEAR(k.b2, inverse.im, 1e-12);
  EXPECT_NEAR(k.a1, 6 / kPi, 1e-12);
  EXPECT_NEAR(k.a2, 1 / (2 * kPi), 1e-12);
  // The origin has no direction: no inversion, black.
  const F25out o = bench.at(0, 0);
  EXPECT_EQ(o.r, 0);
  EXPECT_EQ(o.g, 0);
  EXPECT_EQ(o.b, 0);
}

// ---- Moebius --------------------------------------------------------------------

TEST(F25Moebius, InversionsMapHasDeterminantOne)
{
  F25bench bench;
  const gfunc* g = bench.bind(2, 0.13, -0.27, 32);
  const F25moebius& m = privateArea<F25moebiusPrivate>(g).map;
  const Complex det = m.a * m.d - m.b * m.c;  // q e - z0 w
  EXPECT_NEAR(det.re, 1, 1e-14);
  EXPECT_NEAR(det.im, 0, 1e-14);
}

TEST(F25Moebius, InversionsWithoutRecursionMakeOnePassOfWeightOne)
{
  F25bench bench;
  const gfunc* g = bench.bind(2, -0.021, -0.0285, 0);
  const F25moebius& m = privateArea<F25moebiusPrivate>(g).map;
  for (const double x : {0.3, 1.4, -2.5}) {
    SCOPED_TRACE(x);
    Complex z = m.forward({x, 0.2});
    const double d = f25_norm2(z);
    F25out want{};
    if (d < 1) {
      z = f25_scale(z, 1 / d);
      want = {z.re, z.im, 0, 4 * d * d, 1 - d};
    } else {
      want = {z.re, z.im, 0, 2 - d > 0 ? 4 * (2 - d) * (2 - d) : 0, 0};
    }
    F25_expectSame(bench.at(x, 0.2), want);
  }
  bench.bind(2, -0.021, -0.0285, -1);
  F25_expectSame(bench.at(0.3, 0.2), {0.3, 0.2, 0, 0, 0});
}

TEST(F25Moebius, BallsMapFixesPlusMinusMWithMultiplierLambda)
{
  F25bench bench;
  const double a = 0.33, b = 0.4, c = 0.954;
  const gfunc* g = bench.bind(24, a, b, c);
  const F25moebius& map = privateArea<F25moebiusPrivate>(g).map;
  const double m = 16 - 14 * a;
  for (const double s : {1.0, -1.0}) {
    const Complex fixed = map.forward({s * m, 0});
    EXPECT_NEAR(fixed.re, s * m, 1e-9);
    EXPECT_NEAR(fixed.im, 0, 1e-9);
  }
  // (M(z) - m) / (M(z) + m) = lambda (z - m) / (z + m).
  const Complex lambda{c * std::cos(b), c * std::sin(b)};
  const Complex z{1.3, -0.8}, mm{m, 0};
  const Complex w = map.forward(z);
  const Complex lhs = (w - mm) / (w + mm), rhs = lambda * ((z - mm) / (z + mm));
  EXPECT_NEAR(lhs.re, rhs.re, 1e-12);
  EXPECT_NEAR(lhs.im, rhs.im, 1e-12);
  const Complex back = map.inverse(w);
  EXPECT_NEAR(back.re, z.re, 1e-9);
  EXPECT_NEAR(back.im, z.im, 1e-9);
}

// Without octaves a sample that starts outside the base disk has no steps.
TEST(F25Moebius, SamplesThatReachNoDiskGiveTheirMarkerPoint)
{
  F25bench bench;
  bench.doc()->fractal.octaves = 0;
  bench.bind(5, 0.98, 3.912, 12);
  F25_expectSame(bench.at(0.05, 0.02), {-kPi, kPi, 0, 0, 0});
  bench.bind(24, 0.33, kPi / 9, 0.954);
  F25_expectSame(bench.at(2.5, 2.5), {-8, -8, 0, 0, 0});
}

}  // namespace
