// Formula values of the f11 shaping and wave members at chosen points: the
// edge cases of their definitions, a few interior values per member, Math
// utils' mode rule and the Semitones Seq table.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "components/f11/f11_waves.h"
#include "tests/components/f11_test_support.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kE = 2.718281828459045;
const double kLogFloor = std::log(1.25e-6);

// Members with the library sine and plain arithmetic agree to rounding; the
// table-sine members to the table's interpolation.
constexpr double kTable = 1e-6;

const F11Golden kShaping[] = {
    {"affine", 0, 2, 1, -1, 3, 7},
    {"power keeps the sign of x", 2, 2, 1, -1, -2, -4},
    {"power of 0", 2, 2, 1, -1, 0, 0},
    {"power scaled", 2, 3, 2, -1, 4, 8},
    {"power B of -1 taken as 1", 2, 2, -1, -1, 3, 9},
    {"inverse", 3, 1, -1, -1, 3, -2},
    {"abs", 6, -1, -1, -1, -2.5, 2.5},
    {"clip inside", 10, 2, 0.5, 4, 1, 3},
    {"clip above", 10, 2, 0.5, 4, 2, 4},
    {"clip below", 10, 2, 0.5, 4, -1, 0},
    {"clip negative cutoff inside", 10, 1, 0, -2, 0.5, -2},
    {"clip negative cutoff below", 10, 1, 0, -2, -3, -2},
    {"div at 0", 11, 1, -1, -1, 0, 1e-250},
    {"div near 0", 11, 3, -1, -1, -1e-251, 1e-250},
    {"div", 11, 3, -1, -1, -2, -1.5},
    {"inversegauss", 12, 2, -1, -1, 1, 1.2642411176571153},
    {"log at u = 1", 13, 1, 1, 1, 0, 0},
    {"log at u = e", 13, 1, 1, 1, kE - 1, 1},
    {"log below the floor", 13, 1, 1, 1, -2, kLogFloor},
    {"log half blend", 13, 0.5, 1, 1, kE - 1, kE / 2},
    {"log A held to 1", 13, 3, 1, 1, kE - 1, 1},
    {"div2", 14, 1.25, -1, -1, 0.5, 2.5},
    {"cubicClip middle", 17, 2, 0, -1, 1, 1},
    {"cubicClip above", 17, 2, 0, -1, 3, 2},
    {"cubicClip below", 17, 2, 0, -1, -1, 0},
    {"cubicClip B of -1 taken as 0", 17, 2, -1, -1, 1, 1},
    {"sphere", 18, 1, -1, -1, 0.6, 0.8},
    {"sphere outside", 18, 1, -1, -1, 2, 0},
    {"Apwrx", 19, 2, 3, -1, -1, 1.5},
    {"offset", 20, 1.5, -1, -1, 1, 2.5},
    {"iabs", 22, 2, 0.5, -1, 1, 2.5},
    {"iabs outside", 22, 2, 0.5, -1, 10, 0},
    {"floor below A", 23, 0, 8, -1, -1, 0},
    {"floor between", 23, 0, 8, -1, 3, 3},
    {"floor above B", 23, 0, 8, -1, 9, 8},
    {"floor A > B below A", 23, 3, 1, -1, 2, 3},
    {"floor A > B above both", 23, 3, 1, -1, 5, 1},
    {"sabs parabola", 24, 1, -1, -1, 0.4, 0.16},
    {"sabs line", 24, 1, -1, -1, -2, 1.75},
    {"sabs joint", 24, 1, -1, -1, 0.5, 0.25},
    {"contrast hard step up", 42, 1, 4, -1, 0.1, 8},
    {"contrast hard step down", 42, 1, 4, -1, -0.1, -8},
    {"contrast hard step at 0", 42, 1, 4, -1, 0, 0},
    {"contrast hard step shifted", 42, 1, 5, -1, -1, -1},
    {"contrast ramp", 42, 0.5, 4, -1, 2, 4},
    {"contrast ramp held", 42, 0.5, 4, -1, 5, 8},
    {"contrast ramp shifted", 42, 0.5, 6, -1, -2, -2},
    {"squarefloor", 48, 1, 4, -1, 2, 1},
    {"squarefloor negative", 48, 1, 4, -1, -1, 0},
    {"squarefloor half", 48, 0.5, 4, -1, 2, 1.5},
    {"smoothfloor lower bend", 49, 0, 2, 0.5, 0, 0.125},
    {"smoothfloor straight", 49, 0, 2, 0.5, 1, 1},
    {"smoothfloor upper bend", 49, 0, 2, 0.5, 2, 1.875},
    {"smoothfloor roof", 49, 0, 2, 0.5, 5, 2},
    {"smoothfloor floor", 49, 0, 2, 0.5, -3, 0},
    {"smoothfloor C = 0 inside", 49, 0, 0.05, 0, 0.07, 0.07},
    {"smoothfloor C = 0 roof at A + 0.1", 49, 0, 0.05, 0, 0.5, 0.1},
    {"smoothfloor C = 0 floor", 49, 0, 0.05, 0, -1, 0},
};

const F11Golden kWaves[] = {
    {"Sine", 1, 1, 0, 2, kPi / 6, 1},
    {"xplusASine", 4, 1.5, kPi / 2, -1, 1, 2.5, kTable},
    {"powerSin up", 7, 1, 0, 2, kPi / 2, 2, kTable},
    {"powerSin down", 7, 1, 0, 2, -kPi / 2, -2, kTable},
    {"powerSin phase B pi", 7, 1, 0.5, 1, 0, 2, kTable},
    {"gauss", 8, 1, 0, kPi, 1, kPi / kE},
    {"sawWave at 0", 9, 1, 0, 2, 0, -2},
    {"sawWave at pi", 9, 1, 0, 2, kPi, 2},
    {"sawWave at -pi/2", 9, 1, 0, 2, -kPi / 2, 0},
    {"sawWave at 2 pi", 9, 1, 0, 2, 2 * kPi, -2},
    {"sawWave at -pi", 9, 1, 0, 2, -kPi, 2},
    {"EnvSine", 16, 1, 0, 1, kPi / 2, kPi / 2, kTable},
    {"ArchWave", 31, 1, 0, 2, -kPi / 2, 2, kTable},
    {"powerStep C = 1 rise", 21, 4, -1, 1, 2, 2},
    {"powerStep C = 1 upper", 21, 4, -1, 1, 6, 6},
    {"powerStep C = 1 held at 0", 21, 4, -1, 1, -3, 0},
    {"powerStep C = 1 held at 8", 21, 4, -1, 1, 10, 8},
    {"powerStep middle", 21, 4, -1, 3, 4, 4},
    {"powerStep C = 2", 21, 4, -1, 2, 2, 1},
    {"quantize step", 32, 1, 1, 0, 2.7, 2},
    {"quantize negative", 32, 1, 1, 0, -0.5, -1},
    {"quantize negative whole", 32, 1, 1, 0, -2, -3},
    {"quantize smooth start", 32, 1, 1, 1, 2, 1},
    {"quantize smooth middle", 32, 1, 1, 1, 2.5, 1.5},
    {"quantize half amount", 32, 1, 0.5, 0, 2.7, 2.35},
    {"sinc at 0", 33, 2, 1, 1, 0, 0},
    {"sinc", 33, 2, 1, 1, kPi / 2, -1},
    {"plateau top", 34, 1, 1, 2, 0.5, 2},
    {"plateau slope", 34, 1, 1, 2, 2, 2 / kE},
    {"plateau negative amplitude", 34, 1, 1, -2, 2, 2 - 2 / kE},
    {"tile at negative whole v", 38, kPi, 0, 1.5, -2, 1.5},
    {"tile at 0", 38, kPi, 0, 1.5, 0, -1.5},
    {"tile middle", 38, kPi, 0, 1.5, 0.75, 0.75},
    {"split right line", 39, 2, 0, 0.5, 5, 3},
    {"split right join", 39, 2, 0, 0.5, 2, 0.25},
    {"split right gap", 39, 2, 0, 0.5, 0.5, 0},
    {"split left line", 39, 2, 0, 0.5, -5, -3},
    {"split left join", 39, 2, 0, 0.5, -2, -0.25},
    {"split left gap", 39, 2, 0, 0.5, -0.5, 0},
    {"mirror below the fold", 43, 1, 1, 0.0001, 0.5, 0.5},
    {"mirror folded", 43, 1, 1, 0.0001, 3, -1},
    {"mirror at the fold", 43, 1, 1, 0.5, 1, 0.875},
    {"mirror negative B folded", 43, 1, -1, 0.5, -2, 0},
    {"mirror negative B at the fold", 43, 1, -1, 0.5, -1, 0.875},
    {"mirror scaled", 43, 2, -1, 0.5, 0.25, -0.5},
    {"saw at 0", 46, 2, 0, 4, 0, 0},
    {"saw below", 46, 2, 0, 4, -1, 0},
    {"saw at A + 0.5", 46, 2, 0, 4, 2.5, 0},
    {"saw top", 46, 2, 0, 4, 0.25, 4},
    {"saw rise", 46, 2, 0, 4, 0.125, 2},
    {"saw fall", 46, 2, 0, 4, 1.375, 2},
    {"modulo", 52, 2, -1, 1, 3, 0},
    {"modulo negative", 52, 2, -1, 1, -1, 0},
    {"modulo negative whole", 52, 2, -1, 1, -2, 1},
    {"modulo A = 0 runs with 1e-6", 52, 0, -1, 1, 2.5e-6, 0.5e-6 - 1, 1e-9},
};

TEST(F11Formulas, ShapingMembers)
{
  KVmemberHarness h;
  expectGoldenValues(kShaping, h);
}

TEST(F11Formulas, WaveMembers)
{
  KVmemberHarness h;
  expectGoldenValues(kWaves, h);
}

// Math utils: mode trunc(A); outside 0..13 the output keeps what it held.
TEST(F11Formulas, MathutilsModes)
{
  struct Case
  {
    double A;
    double x;
    double expected;
  };
  const Case cases[] = {
      {0, -3, 9},     {1, 4, 2},      {1, -4, 0},       {2, kE, 1},     {2, 0, kLogFloor},
      {3, 1, kE},     {4, 1, 1 / kE}, {5, kPi / 2, 1},  {6, 0, 1},      {7, 1, kPi / 4},
      {8, -2, 0},     {8, 2, 2},      {9, 1.5, 1},      {9, -1, 0},     {9, 0.3, 0.3},
      {10, 0.5, 0.5}, {10, 2, 1},     {10, -2, 0},      {11, 0, 0},     {12, -1, 3},
      {13, 0.5, 1},   {13, 3.5, 0.5}, {13.9, 3.5, 0.5}, {13.9, -5, -1},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "A " << c.A << " x " << c.x);
    f11_bindWith(h, 55, c.A, -1, -1);
    EXPECT_NEAR(f11_at(h, c.x), c.expected, 1e-12);
  }
  for (double a : {14.0, -1.0, 1e300}) {
    gfunc* g = f11_bindWith(h, 55, a, -1, -1);
    for (double& v : g->outputs[0])
      v = 55;
    EXPECT_EQ(f11_at(h, 2), 55) << "A " << a;
  }
}

// Semitones Seq reads the table entry of trunc(x) modulo the loops; message
// 8 builds the entries from the permutation: n = (p mod 64) C/8, its
// semitone moved onto the major scale.
TEST(F11Formulas, SemitonesSeqTable)
{
  KVmemberHarness h;
  const int32_t values[] = {0, 12, 1, 3, 6, 8, 10, 13, 64 + 5, 11, 23, 27, 60};
  const int expected[] = {0, 12, 2, 4, 5, 7, 9, 14, 5, 11, 23, 28, 60};
  // B = 2 starts the table at perm[8].
  for (int j = 0; j < int(std::size(values)); ++j)
    h.doc()->tables.perm[8 + j] = values[j];
  f11_bindWith(h, 53, 16, 2, 8);
  for (int j = 0; j < int(std::size(values)); ++j)
    EXPECT_NEAR(f11_at(h, j + 0.5), std::exp2(expected[j] / 12.0), 1e-12) << "entry " << j;
  EXPECT_EQ(f11_at(h, 0.9), 1);
  EXPECT_NEAR(f11_at(h, 1), 2, 1e-15);
  // Half the range of semitone numbers with C = 4: 12 becomes 6, moved to 5.
  f11_bindWith(h, 53, 16, 2, 4);
  EXPECT_NEAR(f11_at(h, 1), std::exp2(5 / 12.0), 1e-12);
}

// Loops held to 1..64, negative x wrapped into the loop, any stored B read
// inside the permutation.
TEST(F11Formulas, SemitonesSeqIndexStaysInTheTable)
{
  struct Case
  {
    double x;
    double loops;
    int index;
  };
  const Case cases[] = {
      {5.7, 4, 1},  {-3, 4, 1},   {-3.5, 4, 1},  {-4, 4, 0},     {7, 0, 0},   {7, -5, 0},
      {70, 100, 6}, {63, 64, 63}, {1e300, 4, 0}, {-1e300, 4, 0}, {NAN, 4, 0}, {3, 1e300, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(f11_semitonesSeq_index(c.x, c.loops), c.index) << c.x << " loops " << c.loops;

  KVmemberHarness h;
  for (double b : {-1e300, 1e300, -7.0, double(NAN)}) {
    f11_bindWith(h, 53, 0, b, 8);
    const double y = f11_at(h, -3);
    EXPECT_TRUE(std::isfinite(y)) << "B " << b;
  }
}

}  // namespace
