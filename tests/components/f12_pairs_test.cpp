// f12 pairs at chosen points: moduli on both sides of 0 and with a stored
// modulus of 0, the uniform-input paths, Math log & exp's two scales, and
// what every member does with markers and batches.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <vector>

#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;
constexpr double kE = 2.718281828459045;

struct PairCase
{
  const char* what;
  int16_t id;
  double A, B, C;
  double x;
  bool uniform;
  double out1, out2;
};

const PairCase kCases[] = {
    {"Modulo at -0.5", 1, 2, 0.25, 2, -0.5, false, 1.75, 1},
    {"Modulo at 5.5, N 3", 1, 2, 0, 3, 5.5, false, 1.5, 2},
    {"Modulo, stored C 0 counts as 1", 1, 2, 0, 0, 5.5, false, 1.5, 0},
    {"Modulo, A 0 held to 1e-6", 1, 0, 0, 2, 2.5e-6, false, 0.5e-6, 0},
    {"Integer Modulo, i = -1", 9, 8, 1, 1, -0.5, false, 8, 8},
    {"Integer Modulo, i = 7", 9, 8, 1, 1, 7.5, false, 8, 8},
    {"Integer Modulo, two frequencies", 9, 8, 1, 0.25, 12.5, false, 5, 4},
    {"Integer Modulo, stored A 0 counts as 1", 9, 0, 1, 1, 12.5, false, 1, 1},
    {"Circular motion", 3, 2, 1, 1, kPi / 2, false, 2 * std::cos(kPi / 2), -2},
    {"Linear motion", 2, kPi / 2, 2, -1, 1.5, false, 3 * std::cos(kPi / 2), 3},
    {"Math atan & tgt", 5, 2, -1, -1, 1, false, 2 * std::atan(1.0), 2 * std::tan(1.0)},
    {"Math log & exp scales by A squared", 6, 2, -1, -1, 1, false, 0, 4 * kE},
    {"Math log & exp, uniform input scales by A", 6, 2, -1, -1, 1, true, 0, 2 * kE},
    {"Math log & exp at 0", 6, 1, -1, -1, 0, false, -std::numeric_limits<double>::infinity(), 1},
    {"Cubic Clip below 0", 7, 1, 0, 4, -0.5, false, 0, -0.5},
    {"Cubic Clip inside", 7, 2, 0, 4, 0.25, false, 2, 0.25},
    {"Cubic Clip above 1", 7, 1, 0, 4, 3, false, 4, 3},
    {"Set Constant ignores a masked input", 0, 1.5, -2, -1, M, false, 1.5, -2},
    {"Cubic Clip, uniform marker computed", 7, 1, 0, 4, M, true, 4, M},
};

// Infinite values and the marker compare exactly, others to rounding.
void expectValue(double got, double expected)
{
  if (std::isinf(expected) || expected >= M) {
    EXPECT_EQ(got, expected);
  } else {
    EXPECT_NEAR(got, expected, 1e-12 * (1 + std::fabs(expected)));
  }
}

TEST(F12Pairs, ValuesAtChosenPoints)
{
  KVmemberHarness h;
  for (const PairCase& c : kCases) {
    SCOPED_TRACE(c.what);
    h.bind(kFamily12, c.id);
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    const KVtestInput x = c.uniform ? KVtestInput::uniform(c.x) : KVtestInput::fill(c.x);
    const KVbatch out1 = h.run(x, KVtestInput{}, 4, 0);
    const KVbatch out2 = h.run(x, KVtestInput{}, 4, 1);
    for (int i = 0; i < 4; ++i) {
      expectValue(out1[i], c.out1);
      expectValue(out2[i], c.out2);
    }
  }
}

// Circular motion with B = C runs clockwise on a circle of radius A.
TEST(F12Pairs, CircularMotionIsAClockwiseCircle)
{
  KVmemberHarness h;
  h.bind(kFamily12, 3);
  h.setParams(1.5, 2, 2);
  h.prepare();
  double lastAngle = 0;
  for (int k = 0; k < 8; ++k) {
    const double x = 0.1 * k;
    const double px = h.at(x, 0, 0), py = h.at(x, 0, 1);
    EXPECT_NEAR(std::hypot(px, py), 1.5, 1e-12);
    const double angle = std::atan2(py, px);
    if (k > 0) {
      EXPECT_LT(angle, lastAngle);
    }
    lastAngle = angle;
  }
}

// Every member except Set Constant and the compiled tree, per sample: a
// masked sample gives the marker on both outputs, one batch of 16 equals
// sixteen batches of 1, and only the batch's samples are written.
TEST(F12Pairs, MarkersAndBatches)
{
  KVmemberHarness h;
  for (int16_t id = 1; id <= 9; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily12, id);
    h.prepare();
    KVtestInput x;
    for (int i = 0; i < kBatchCapacity; ++i)
      x.data[i] = -3.1 + 0.41 * i;
    x.data[3] = M;
    for (int k = 0; k < 2; ++k)
      for (double& v : g->outputs[k])
        v = 777;
    const KVbatch whole1 = h.run(x, KVtestInput{}, 12, 0);
    const KVbatch whole2 = h.run(x, KVtestInput{}, 12, 1);
    EXPECT_EQ(whole1[12], 777);
    if (id != 8) {  // the derivative without a source copies only output 1
      EXPECT_EQ(whole1[3], M);
      EXPECT_EQ(whole2[3], M);
    }
    for (int i = 0; i < 12; ++i) {
      const double one1 = h.at(x.data[i], 0, 0);
      if (!std::isnan(whole1[i])) {
        EXPECT_EQ(one1, whole1[i]) << i;
      }
    }
  }
}

}  // namespace
