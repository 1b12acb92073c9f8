// The f22 maps at points where their formulas give known answers: folds,
// cuts, inversions, tilings and the rules of the lattices.
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <span>
#include <utility>
#include <vector>

#include "components/common/mirrors3.h"
#include "components/f22/f22_folds.h"
#include "components/f22/f22_pvt.h"
#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One f22 member at parameters A, B, C, mapping (x, y) to (ex, ey).
struct F22Case
{
  const char* what;
  int16_t id;
  double A, B, C;
  double x, y;
  double ex, ey;
  double tolerance = 0;  // absolute; 0 asks for the exact double
};

F22point mapOnce(KVmemberHarness& h, double x, double y)
{
  return {h.at(x, y, 0), h.at(x, y, 1)};
}

void expectCases(std::span<const F22Case> cases)
{
  KVmemberHarness h;
  for (const F22Case& c : cases) {
    SCOPED_TRACE(c.what);
    h.bind(kFamily22, c.id);
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    const F22point p = mapOnce(h, c.x, c.y);
    if (c.tolerance == 0) {
      EXPECT_EQ(p.x, c.ex);
      EXPECT_EQ(p.y, c.ey);
    } else {
      EXPECT_NEAR(p.x, c.ex, c.tolerance);
      EXPECT_NEAR(p.y, c.ey, c.tolerance);
    }
  }
}

TEST(F22Maps, FoldsAndMirrors)
{
  const double r = std::sqrt(9.5) + 1e-9;
  const F22Case cases[] = {
      {"Mirrors 4 folds x", 21, 1, 0, 0, -2, 3, 2, 3},
      {"Mirrors 4 scales and offsets", 21, -2, 0.5, -1, 1, -3, 2.5, 5},
      {"Mirrors 3 lower sector", 30, 1, 0, 0, 0, -1, 0, 1},
      {"Mirrors 3 turned", 30, 1, 0, 0, 1, 0, 0.5, 0.866025, 1e-15},
      {"Mirrors 6 minima", 22, 1, 0, 0, 1, 0, 0.5, 0, 1e-15},
      {"Branch N, A = 1, rounded fold inside", 32, 1, 0, 0, 0.2, 0.7, 0.29, 0.7, 1e-15},
      {"Branch N, A = 1, |x| outside", 32, 1, 0.5, -0.25, -1.5, 2, 2, 1.75},
      {"Distance Mirror on its circle", 28, 1, 1, 0, 0, 4, 0, 4},
      {"Distance Mirror inside", 28, 1, 1, 0, 1, -2, 1, -2},
      {"Distance Mirror far beyond", 28, 1, 1, 0, 9, 0, 0, 0},
      {"Twirl beyond 9.5 keeps the point", 6, 1, 1.5, 0, r, 0, r, 0},
      {"Mirror at angle 0 folds y", 54, 0, 1, 2, 0.5, -3, 1.5, -1},
  };
  expectCases(cases);
}

TEST(F22Maps, SplitAndMove)
{
  const F22Case cases[] = {
      {"B = C = 0 is the identity", 44, 0, 0, 0, 0.3, -1.7, 0.3, -1.7},
      {"identity at another angle", 44, 0.7, 0, 0, -1.2, 0.4, -1.2, 0.4, 1e-15},
      {"in the gap on the right", 44, 0, 0.5, 0, 0.3, 1, gINFINITY, 1},
      {"in the gap on the left", 44, 0, 0.5, 0.25, -0.3, 1, gINFINITY, 0.75},
      {"on the cut keeps its value", 44, 0, 0.5, 0.25, 0, 2, 0, 2},
      {"beyond the gap moves", 44, 0, 0.5, 0.25, 1.5, 1, 1, 1.25},
  };
  expectCases(cases);
}

TEST(F22Maps, ComplexMapsAndInversions)
{
  const F22Case cases[] = {
      {"Complex inverse (2, 0)", 15, 1, 1, -2, 2, 0, 1.5, -2},
      {"Complex inverse (0, 2)", 15, 1, 1, -2, 0, 2, 1, -2.5},
      {"Complex inverse origin has no value", 15, 1, 0, 0, 0, 0, gINFINITY, gINFINITY},
      {"Disk Mirror concavity 0.5 is the identity", 36, 2, 0.5, 0.7, 1.3, -0.4, 1.3, -0.4, 1e-15},
      {"Disk Mirror inside, identity", 36, 2, 0.5, 0, 0.1, 0.1, 0.1, 0.1, 1e-15},
      {"Polar Space on the y axis", 24, 2, 1.5, 0.3, 0, 2, (kPi / 2 - 0.3) * 2, 3, 1e-9},
      {"Complex Moebius with B = 0", 58, 1, 0, 0.25, 0.4, 0.6, -0.6, -0.15, 1e-15},
      {"Complex Moebius at its pole (1/0 taken as 0)", 58, 0, 0.5, 1, 3, 0, 0, 0},
      {"Ring Space at the origin", 23, 1, 0, 0, 0, 0, 1, 0},
  };
  expectCases(cases);
}

// With A = 1 and B = 0 a point at distance 2 lies on the real axis after the
// first step, and the further steps keep it there.
TEST(F22Maps, ComplexMapPutsDistanceTwoOnTheRealAxis)
{
  KVmemberHarness h;
  h.bind(kFamily22, 10);
  h.setParams(1, 0, -1);
  h.prepare();
  for (double angle : {0.3, 1.1, 2.5, -0.8}) {
    const F22point p = mapOnce(h, 2 * std::cos(angle), 2 * std::sin(angle));
    double re = 2 * std::cos(angle);
    for (int step = 1; step < 4; ++step)
      re += 1 / re;
    EXPECT_NEAR(p.y, 0, 1e-12) << angle;
    EXPECT_NEAR(p.x, re, 1e-12) << angle;
  }
}

// Inside one tile, Hexagonal tiles is a translation scaled by A / s.
TEST(F22Maps, HexagonalTilesScaleDifferencesInsideATile)
{
  KVmemberHarness h;
  h.bind(kFamily22, 33);
  h.setParams(3, 0.5, 2);
  h.prepare();
  const double ratio = 3.0 / 2;
  for (const auto& [x, y] : {std::pair{0.1, 0.1}, std::pair{-2.3, 1.7}, std::pair{5.2, -4.05}}) {
    const double dx = 1e-4, dy = -2e-4;
    const F22point a = mapOnce(h, x, y), b = mapOnce(h, x + dx, y + dy);
    EXPECT_NEAR(b.x - a.x, ratio * dx, 1e-12) << x;
    EXPECT_NEAR(b.y - a.y, ratio * dy, 1e-12) << x;
  }
}

// A cell that does not fit an integer, or is not a number, has no value.
TEST(F22Maps, TilesMarkCellsBeyondIntegers)
{
  KVmemberHarness h;
  for (int16_t id : {int16_t(33), int16_t(35)}) {
    h.bind(kFamily22, id);
    h.prepare();
    for (const auto& [x, y] : {std::pair{1e300, 0.0}, std::pair{0.0, -1e20}, std::pair{kNaN, 0.0},
                               std::pair{0.0, kNaN}}) {
      const F22point p = mapOnce(h, x, y);
      EXPECT_EQ(p.x, gINFINITY) << id << " " << x << " " << y;
      EXPECT_EQ(p.y, gINFINITY) << id << " " << x << " " << y;
    }
  }
}

TEST(F22Maps, DiscTilingOutsideEveryDiscGivesTheOffsets)
{
  KVmemberHarness h;
  h.bind(kFamily22, 34);
  h.setParams(0.125, 0.3, -0.2);
  h.prepare();
  for (const auto& [x, y] : {std::pair{10.0, 10.0}, std::pair{-4.0, 0.0}, std::pair{0.0, -3.2}}) {
    const F22point p = mapOnce(h, x, y);
    EXPECT_EQ(p.x, 0.3);
    EXPECT_EQ(p.y, -0.2);
  }
  // Inside the unit disc of the folded plane the discs give local points.
  const F22point inside = mapOnce(h, 0.0, -1.5);
  EXPECT_FALSE(inside.x == 0.3 && inside.y == -0.2);
}

// With an octave count of 1, Serpiensky tiles gives (B, 0) wherever the
// subdivision does not place the point at once; other points have q > 0.
TEST(F22Maps, SerpienskyWithOneOctave)
{
  KVmemberHarness h;
  h.bind(kFamily22, 35);
  h.setParams(2, 0.75, 2);
  h.prepare();
  h.doc()->fractal.octaves = 1;
  int unplaced = 0;
  KVgridView view;
  view.width = view.height = 24;
  const std::vector<double> xs = h.grid(view, 0), ys = h.grid(view, 1);
  for (size_t i = 0; i < xs.size(); ++i) {
    if (ys[i] == 0) {
      EXPECT_EQ(xs[i], 0.75);
      ++unplaced;
    } else {
      EXPECT_GT(ys[i], 0);
    }
  }
  EXPECT_GT(unplaced, 0);
  h.doc()->fractal.octaves = 16;
}

TEST(F22Maps, Triangle2D)
{
  struct Case
  {
    const char* what;
    double p, q;
    int m, sigma, octaves;
    double ea, eb;
  };
  const Case cases[] = {
      {"placed at level 1", 0.2, 0.3, 0, 1, 16, 0.2, 0.5},
      {"handed on once", 0.2, 0.3, 0, -1, 1, 0.2, 1.0},
      {"depth 0 gives (0, 0)", 0.1, 0.1, 0, -1, 1, 0, 0},
      {"placed after doubling", 0.1, 0.1, 0, -1, 16, 0, 0.4},
      {"m = 1 shears first", 0.5, 0.2, 1, 1, 16, 0.1 / 0.5, 0.5},
      {"a corner never placed, 32767 octaves", 0, 0, 0, -1, 32767, 0, 0},
      {"negative octave count", 0.1, 0.1, 0, -1, -32768, 0, 0},
      {"not a number", kNaN, 0.5, 0, -1, 16, 0, 0},
      {"infinite", std::numeric_limits<double>::infinity(), 0.5, 0, -1, 16, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const F22pair r = triangle2D(c.p, c.q, c.m, c.sigma, 1, c.octaves);
    EXPECT_NEAR(r.a, c.ea, 1e-15);
    EXPECT_NEAR(r.b, c.eb, 1e-15);
  }
}

TEST(F22Maps, LatticeRules)
{
  for (const auto& [t, folded] : {std::pair{3.3, 0.7}, std::pair{-0.4, 0.4}, std::pair{-3.0, 1.0},
                                  std::pair{4.0, 0.0}, std::pair{-5.25, 0.75}})
    EXPECT_NEAR(f22_fold(t), folded, 1e-12) << t;

  struct Cell
  {
    double t;
    bool fits;
    int32_t cell;
  };
  for (const Cell& c :
       {Cell{2.7, true, 2}, Cell{-2.0, true, -3}, Cell{-0.5, true, -1}, Cell{0.0, true, 0},
        Cell{kNaN, false, 0}, Cell{3e9, false, 0}, Cell{-2147483648.5, false, 0}}) {
    int32_t cell = 99;
    EXPECT_EQ(f22_cellfloor(c.t, cell), c.fits) << c.t;
    if (c.fits) {
      EXPECT_EQ(cell, c.cell) << c.t;
    }
  }
  for (const auto& [i, r] : {std::pair{0, 0}, std::pair{4, 1}, std::pair{-1, 2}, std::pair{-3, 0},
                             std::pair{-4, 2}, std::pair{INT32_MIN, 1}, std::pair{INT32_MAX, 1}})
    EXPECT_EQ(f22_mod3(i), r) << i;
}

TEST(F22Maps, Mirrors3FoldsOntoOneThird)
{
  struct Case
  {
    double p, q, ex, ey;
  };
  for (const Case& c : {Case{0, -1, 0, -1}, Case{-0.3, -2, 0.3, -2}, Case{1, 0, 0.5, -0.866025},
                        Case{0, 1, 0.866025, -0.5}}) {
    const KVfolded f = mirrors3(c.p, c.q);
    EXPECT_NEAR(f.x, c.ex, 1e-15) << c.p << " " << c.q;
    EXPECT_NEAR(f.y, c.ey, 1e-15) << c.p << " " << c.q;
  }
}

// Branch N holds its branch count to 1..18 and marks samples that never reach
// the wedge; a billion stored from a file does not turn a sample a billion
// times.
TEST(F22Maps, BranchNHoldsItsCount)
{
  KVmemberHarness h;
  for (double a : {4.5, 1e9, -7.0, kNaN}) {
    SCOPED_TRACE(a);
    gfunc* g = h.bind(kFamily22, 32);
    g->A = a;
    h.prepare();
    KVgridView view;
    view.width = view.height = 16;
    const std::vector<double> xs = h.grid(view, 0), ys = h.grid(view, 1);
    for (size_t i = 0; i < xs.size(); ++i) {
      if (xs[i] == gINFINITY) {
        EXPECT_EQ(ys[i], gINFINITY);
      } else {
        EXPECT_TRUE(std::isfinite(xs[i]) && std::isfinite(ys[i]));
      }
    }
  }
  // A whole A reaches the wedge everywhere.
  h.bind(kFamily22, 32);
  h.prepare();
  KVgridView view;
  for (double v : h.grid(view, 0))
    ASSERT_LT(v, gINFINITY);
}

// Disk Inverse Ring holds its disc count to 2..12; the documented division by
// B = 0 stays (infinite or undefined values, no crash).
TEST(F22Maps, DiskInverseRingHoldsItsDiscCount)
{
  KVmemberHarness h;
  for (double a : {0.0, 1e6, -3.0, kNaN, 12.0}) {
    SCOPED_TRACE(a);
    gfunc* g = h.bind(kFamily22, 56);
    g->A = a;
    h.prepare();
    KVgridView view;
    view.width = view.height = 12;
    for (double v : h.grid(view, 0))
      EXPECT_TRUE(std::isfinite(v)) << v;
  }
  gfunc* g = h.bind(kFamily22, 56);
  g->B = 0;
  h.prepare();
  EXPECT_FALSE(std::isfinite(h.at(0.5, 0.5)));
}

TEST(F22Maps, InfinityGateSetsTheMaskedBatchFlag)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily22, 57);
  h.setParams(2, -1, -1);
  h.prepare();
  h.run(KVtestInput::samples({3, 0, -5}), KVtestInput::samples({0, 2.5, 0}), 3);
  EXPECT_EQ(g->maskedBatch, 1);
  EXPECT_EQ(g->outputs[0][1], gINFINITY);
  EXPECT_EQ(g->outputs[1][1], gINFINITY);

  h.run(KVtestInput::samples({3, 0, -5}), KVtestInput::samples({0, 2, 0}), 3);
  EXPECT_EQ(g->maskedBatch, 0);
  EXPECT_EQ(g->outputs[0][1], 0);
  EXPECT_EQ(g->outputs[1][1], 2);

  h.run(KVtestInput::fill(0), KVtestInput::fill(0), 0);
  EXPECT_EQ(g->maskedBatch, 1);
}

// Hexagonal Sin with A = 0 divides by zero; the table sine turns the
// resulting non-finite angles into 0.
TEST(F22Maps, HexagonalSinWithZeroScale)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily22, 9);
  g->A = 0;
  h.prepare();
  EXPECT_EQ(h.at(0.3, 0.4, 0), 0);
  EXPECT_EQ(h.at(0.3, 0.4, 1), 0);
}

}  // namespace
