// f22 displacements by lattices, noises and fractal sums: the edge values of
// their formulas, the tech rules, the basis shapers and the smooth-maximum
// turbulence driver.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "components/f22/f22_cells.h"
#include "components/f22/f22_fractal.h"
#include "engine/catalog.h"
#include "noise/cellular.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A batch of points that crosses cell borders, negative and whole values.
const std::vector<F22point> kPoints = {{-2.75, 1.5}, {-1, -1},     {0, 0},       {0.3, -2.2},
                                       {1.99, 2.01}, {2.3, 5.6},   {-3.1, 0.45}, {4, -4},
                                       {0.51, 0.49}, {-0.01, 3.3}, {2.5, -0.5},  {-1.5, 2.5}};

F22point mapAt(KVmemberHarness& h, double x, double y)
{
  return {h.at(x, y, 0), h.at(x, y, 1)};
}

const KVtables* tablesOf(KVmemberHarness& h)
{
  return &h.doc()->tables;
}

// A member with A = 0 returns every point unchanged.
TEST(F22Displace, ZeroAmplitudeReturnsThePoint)
{
  struct Row
  {
    int16_t id;
    double b;
    double c;
  };
  const Row rows[] = {{12, 1.5, 2}, {12, -3, 0.3}, {42, 0.7, 1.3}, {42, -5, 3},
                      {47, 2, 2},   {47, -1, 7},   {41, 4, 1.5},   {41, 0.5, -2}};
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.id << " B " << row.b << " C " << row.c);
    h.bind(kFamily22, row.id);
    h.setParams(0, row.b, row.c);
    h.prepare();
    for (const F22point& p : kPoints) {
      const F22point q = mapAt(h, p.x, p.y);
      EXPECT_EQ(q.x, p.x);
      EXPECT_EQ(q.y, p.y);
    }
  }
}

// Tile & displace with A = 0: each cell of size pi/C maps onto [-B/2, B/2)
// around its centre.
TEST(F22Displace, TileAndDisplaceWithoutDisplacementTilesTheCell)
{
  KVmemberHarness h;
  h.bind(kFamily22, 29);
  const double b = 3, c = 2;
  h.setParams(0, b, c);
  h.prepare();
  for (const F22point& p : kPoints) {
    const double X = c * p.x / kPi, Y = c * p.y / kPi;
    const F22point q = mapAt(h, p.x, p.y);
    EXPECT_NEAR(q.x, (X - std::floor(X) - 0.5) * b, 1e-12);
    EXPECT_NEAR(q.y, (Y - std::floor(Y) - 0.5) * b, 1e-12);
    EXPECT_GE(q.x, -b / 2);
    EXPECT_LT(q.x, b / 2);
  }
}

// Tech quantize with A = 1, B = 0, C = 1 snaps (2.3, 5.6) to the centre of
// its cell or the midpoint of its nearest edge, as the cell's hash says (or
// to the half-size cell's snap, hash mod 5 = 2); B = -2 runs as level -2.
TEST(F22Displace, TechQuantizeSnapsToTheCellOrItsEdge)
{
  for (short seed : {short(1), short(7778), short(31)}) {
    SCOPED_TRACE(seed);
    KVmemberHarness h(seed);
    h.bind(kFamily22, 45);
    h.setParams(1, 0, 1);
    h.prepare();
    const F22point q = mapAt(h, 2.3, 5.6);
    const int32_t r = f22_hash(tablesOf(h), 2, 5) % 5;
    if (r < 2) {
      EXPECT_DOUBLE_EQ(q.x, 2.5);
      EXPECT_DOUBLE_EQ(q.y, 5.5);
    } else if (r > 2) {
      // (fx, fy) = (0.3, 0.6) lies above the diagonal and below the
      // anti-diagonal: the midpoint of the left edge.
      EXPECT_DOUBLE_EQ(q.x, 2.0);
      EXPECT_DOUBLE_EQ(q.y, 5.5);
    }
    F22point direct{};
    ASSERT_TRUE(TechquantizeC(tablesOf(h), 2.3, 5.6, 0, direct));
    EXPECT_NEAR(q.x, direct.x, 1e-12);
    EXPECT_NEAR(q.y, direct.y, 1e-12);

    h.setParams(1, -2, 1);
    h.prepare();
    for (const F22point& p : kPoints)
      EXPECT_TRUE(std::isfinite(h.at(p.x, p.y, 0)) && std::isfinite(h.at(p.x, p.y, 1)));
  }
}

// The snaps of TechquantizeC by hash: centre for 0 and 1, edge midpoints for
// 3 and 4 (up and low decide the edge), the half cell for 2 at level 0 only.
TEST(F22Displace, TechquantizeCRules)
{
  KVmemberHarness h;
  const KVtables* t = tablesOf(h);
  int seen[5] = {};
  for (int32_t i = -6; i < 6; ++i)
    for (int32_t j = -6; j < 6; ++j) {
      const int r = f22_hash(t, i, j) % 5;
      ++seen[r];
      struct Probe
      {
        double fx, fy, ex, ey;  // a point in the cell and its edge midpoint
      };
      for (const Probe& p : {Probe{0.2, 0.5, 0, 0.5}, Probe{0.5, 0.8, 0.5, 1},
                             Probe{0.5, 0.2, 0.5, 0}, Probe{0.8, 0.5, 1, 0.5}}) {
        F22point q{};
        ASSERT_TRUE(TechquantizeC(t, i + p.fx, j + p.fy, 1, q));
        if (r < 3) {
          EXPECT_EQ(q.x, i + 0.5);
          EXPECT_EQ(q.y, j + 0.5);
        } else {
          EXPECT_EQ(q.x, i + p.ex);
          EXPECT_EQ(q.y, j + p.ey);
        }
      }
    }
  for (int r = 0; r < 5; ++r)
    EXPECT_GT(seen[r], 0) << "no cell with hash mod 5 = " << r;
  F22point q{};
  EXPECT_FALSE(TechquantizeC(t, std::nan(""), 0, 0, q));
  EXPECT_FALSE(TechquantizeC(t, 3e9, 0, 0, q));
}

// Crystallize with A = 1 maps every point of a facet (the points whose
// nearest jittered point lies in one cell) to one point.
TEST(F22Displace, CrystallizeMapsAFacetToOnePoint)
{
  KVmemberHarness h;
  h.bind(kFamily22, 41);
  h.setParams(1, 4, 0.5);
  h.prepare();
  const KVtables* t = tablesOf(h);
  int sharedFacets = 0;
  for (double y = -1; y < 1; y += 0.05)
    for (double x = -1; x < 1; x += 0.05) {
      int32_t i1 = 0, j1 = 0, i2 = 0, j2 = 0;
      Jitter_CTFacetSpace(t, (x + 0.5) * 4, y * 4, &i1, &j1);
      Jitter_CTFacetSpace(t, (x + 0.02 + 0.5) * 4, y * 4, &i2, &j2);
      const F22point a = mapAt(h, x, y), b = mapAt(h, x + 0.02, y);
      EXPECT_EQ(a.x, (i1 + 0.5) / 4 - 0.5);
      EXPECT_EQ(a.y, (j1 + 0.5) / 4);
      if (i1 == i2 && j1 == j2) {
        ++sharedFacets;
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
      }
    }
  EXPECT_GT(sharedFacets, 100);
}

// Spots displace: a cell whose hash & 7 is 4 leaves its points unchanged, at
// the first level and after a retry on the half-size cell.
TEST(F22Displace, SpotsDisplaceLeavesHashFourCellsAlone)
{
  KVmemberHarness h;
  const KVtables* t = tablesOf(h);
  int levelOne = 0, levelTwo = 0;
  for (int32_t i = -20; i < 20; ++i)
    for (int32_t j = -20; j < 20; ++j) {
      const int r = f22_hash(t, i, j) & 7;
      const double X = i + 0.3, Y = j + 0.6;
      F22point q{};
      if (r == 4) {
        ASSERT_TRUE(srdisplace(t, 5, X, Y, 1.25, -0.5, 0, q));
        EXPECT_EQ(q.x, 1.25);
        EXPECT_EQ(q.y, -0.5);
        ++levelOne;
      } else if (r >= 5 && (f22_hash(t, 2 * i, 2 * j + 1) & 7) == 4) {
        ASSERT_TRUE(srdisplace(t, 5, X, Y, 1.25, -0.5, 0, q));
        EXPECT_EQ(q.x, 1.25);
        EXPECT_EQ(q.y, -0.5);
        ++levelTwo;
      }
    }
  EXPECT_GT(levelOne, 0);
  EXPECT_GT(levelTwo, 0);
}

// The three basis shapers at their bends.
TEST(F22Displace, BasisShapers)
{
  struct Row
  {
    double (*shape)(double);
    double e;
    double expected;
  };
  const Row rows[] = {
      {f22_cubicCeilShape, -0.5, -0.5},
      {f22_cubicCeilShape, -3, -0.5},
      {f22_cubicCeilShape, 0.5, 0.5},
      {f22_cubicCeilShape, 7, 0.5},
      {f22_cubicCeilShape, 0, 0},
      {f22_tnoiseShape, 1.8125, 0.0625},
      {f22_tnoiseShape, -1.8125, 0.0625},
      {f22_tnoiseShape, 1.6875, 0},
      {f22_tnoiseShape, 1.75, 0.015625},
      {f22_tnoiseShape, 3, 1.25},
      {f22_tnoiseShape, 0, 0},
      {f22_ridgedShape, 0.5, 0.2025},
      {f22_ridgedShape, -0.5, 0.2025},
      {f22_ridgedShape, 0, 0.225625},
      {f22_ridgedShape, 5, 0},
      {f22_ridgedShape, 6, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.e);
    EXPECT_NEAR(row.shape(row.e), row.expected, 1e-15);
  }
  // Both sides of the bends meet.
  EXPECT_NEAR(f22_tnoiseShape(1.8125 - 1e-9), f22_tnoiseShape(1.8125 + 1e-9), 1e-8);
  EXPECT_NEAR(f22_ridgedShape(0.5 - 1e-9), f22_ridgedShape(0.5 + 1e-9), 1e-8);
}

// A basis that returns (amp, amp) and counts its calls.
int gBasisCalls = 0;
void constantBasis(const KVtables*, double, double, double* a, double* b, double amp)
{
  ++gBasisCalls;
  *a = amp;
  *b = amp;
}

TEST(F22Displace, SmoothMaxTurbulenceOctaves)
{
  KVmemberHarness h;
  const KVtables* t = tablesOf(h);
  double out[2] = {9, 9};

  // Base frequency above the limit: only the faded octave.
  gBasisCalls = 0;
  turbulence2DVectorMAX(t, constantBasis, 0.3, 0.4, 4.0, 1.0, 2.0, 0, 0.5, 0, out, 16);
  const double fade = 1 - (4.0 - 1.0) / (0.5225351707258652 * 4.0);
  EXPECT_EQ(gBasisCalls, 1);
  EXPECT_DOUBLE_EQ(out[0], f22_smax(0.25 * fade * 2, fade * 2, kPi));

  // Far above the limit the fade turns negative, never below about -0.914.
  turbulence2DVectorMAX(t, constantBasis, 0.3, 0.4, 1e9, 1.0, 1.0, 0, 0.5, 0, out, 16);
  EXPECT_LT(out[0], 0);
  EXPECT_GT(out[0], -0.92);

  // The octave count ends the sum without the faded octave; 0 gives (0, 0).
  gBasisCalls = 0;
  turbulence2DVectorMAX(t, constantBasis, 0.3, 0.4, 1.0, 1e6, 1.0, 0, 0.5, 0, out, 3);
  EXPECT_EQ(gBasisCalls, 3);
  gBasisCalls = 0;
  turbulence2DVectorMAX(t, constantBasis, 0.3, 0.4, 1.0, 1e6, 1.0, 0, 0.5, 0, out, 0);
  EXPECT_EQ(gBasisCalls, 0);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 0);

  // The smooth maximum: p, q, and the parabola between.
  EXPECT_EQ(f22_smax(1, 0, 2), 1);
  EXPECT_EQ(f22_smax(0, 1, 2), 1);
  EXPECT_DOUBLE_EQ(f22_smax(0, 0, 2), 0.125);
  EXPECT_EQ(f22_smax(1, 0.9, 0), 1);
  EXPECT_EQ(f22_smax(1, 1.1, 0), 1.1);
}

// An octave count of 0 makes Chaos displace B return the point and Random
// Fractal Space give (0, 0).
TEST(F22Displace, NoOctaves)
{
  KVmemberHarness h;
  h.doc()->fractal.octaves = 0;
  h.bind(kFamily22, 53);
  h.prepare();
  for (const F22point& p : kPoints) {
    const F22point q = mapAt(h, p.x, p.y);
    EXPECT_EQ(q.x, p.x);
    EXPECT_EQ(q.y, p.y);
  }
  h.bind(kFamily22, 38);
  h.prepare();
  for (const F22point& p : kPoints) {
    const F22point q = mapAt(h, p.x, p.y);
    EXPECT_EQ(q.x, 0);
    EXPECT_EQ(q.y, 0);
  }
}

// Multi Perlin random with B = 1: the band limit is the base frequency, one
// octave whose successor fades to nothing.
TEST(F22Displace, MultiPerlinWithOneOctave)
{
  KVmemberHarness h;
  h.bind(kFamily22, 48);
  h.setParams(1.5, 1, 2);
  h.prepare();
  const double k2 = 0.125 * 2, k0 = 1.5 / k2;
  for (const F22point& p : kPoints) {
    double a = 0, b = 0;
    fPerlinNoise2DVector2D(tablesOf(h), p.x * k2, p.y * k2, &a, &b, k0);
    const F22point q = mapAt(h, p.x, p.y);
    EXPECT_NEAR(q.x, p.x + a, 1e-6);
    EXPECT_NEAR(q.y, p.y + b, 1e-6);
  }
}

// Behind a component of function id 2 with A = 2 (any family) the Chaos and
// Multi Fractal members use half the pixel density as their band limit.
TEST(F22Displace, ScalingSourceMovesTheBandLimit)
{
  for (int16_t id : {int16_t(51), int16_t(52), int16_t(53)}) {
    SCOPED_TRACE(id);
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily22, id);
    h.prepare();
    h.doc()->yPixelScale = 3;
    gfunc scaler{};
    scaler.funcID = 2;
    scaler.A = 2;
    g->sources[0] = &scaler;
    std::vector<double> behind;
    for (const F22point& p : kPoints)
      behind.push_back(h.at(p.x, p.y, 0));
    g->sources[0] = nullptr;
    h.doc()->yPixelScale = 1.5;
    for (size_t k = 0; k < kPoints.size(); ++k)
      EXPECT_EQ(h.at(kPoints[k].x, kPoints[k].y, 0), behind[k]);
    h.doc()->yPixelScale = 3;
    bool differs = false;
    for (size_t k = 0; k < kPoints.size(); ++k)
      differs |= h.at(kPoints[k].x, kPoints[k].y, 0) != behind[k];
    EXPECT_TRUE(differs);
  }
}

// A lattice cell beyond int32 (or NaN) gives the marker on both outputs.
TEST(F22Displace, CellsOutOfRangeGiveTheMarker)
{
  KVmemberHarness h;
  for (int16_t id : {int16_t(18), int16_t(29), int16_t(42), int16_t(43), int16_t(45)}) {
    SCOPED_TRACE(id);
    h.bind(kFamily22, id);
    h.setParams(1, 0.5, 2);
    h.prepare();
    for (const F22point& p : {F22point{5e9, 0}, F22point{0, -5e9}, F22point{std::nan(""), 1}}) {
      EXPECT_EQ(h.at(p.x, p.y, 0), gINFINITY);
      EXPECT_EQ(h.at(p.x, p.y, 1), gINFINITY);
    }
  }
}

}  // namespace
