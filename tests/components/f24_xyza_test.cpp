// The XYza cell members on the edge values of their formulas: the lattice
// floor, tiles on negative whole coordinates, the holes of the disk
// packings, the spot masks, the Escher disk's clamps, the gasket's band
// edges and depth, and the polar tile's origin.
#include "components/f24/f24_xyza.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "components/f24/f24_pvt.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr double kPi = std::numbers::pi;

struct Quad
{
  double v[4];
};

Quad sample(KVmemberHarness& h, double x, double y)
{
  return {{h.at(x, y, 0), h.at(x, y, 1), h.at(x, y, 2), h.at(x, y, 3)}};
}

void expectQuad(const Quad& got, const Quad& want, double tol = 1e-12)
{
  for (int k = 0; k < 4; ++k)
    EXPECT_NEAR(got.v[k], want.v[k], tol * (1 + std::fabs(want.v[k]))) << "output " << k + 1;
}

TEST(F24Lattice, FloorOfNegativeWholeNumbersIsTheCellBelow)
{
  struct Case
  {
    double u;
    int32_t cell;
    double frac;
  };
  for (const Case& c : {Case{-2.0, -3, 1}, Case{-2.5, -3, 0.5}, Case{2.5, 2, 0.5}, Case{0.0, 0, 0},
                        Case{-0.25, -1, 0.75}}) {
    F24cell s;
    ASSERT_TRUE(f24_split(c.u, s)) << c.u;
    EXPECT_EQ(s.i, c.cell) << c.u;
    EXPECT_EQ(s.f, c.frac) << c.u;
  }
  F24cell s;
  EXPECT_FALSE(f24_split(std::nan(""), s));
  EXPECT_FALSE(f24_split(1e10, s));
  EXPECT_FALSE(f24_split(-INFINITY, s));
}

TEST(F24Xyza, TilesOnANegativeWholeCoordinateAndTheFloorOfC)
{
  KVmemberHarness h;
  h.bind(kFamily24, 0);
  h.setParams(1, 1, 1);
  h.prepare();
  // u = 0.5 x + 0.5 = -2 at x = -5: cell -3, fraction 1, the tile's edge.
  const Quad q = sample(h, -5, 0);
  EXPECT_NEAR(q.v[0], 0.5 * 2 * kPi, 1e-12);
  EXPECT_EQ(q.v[1], 0);
  EXPECT_EQ(q.v[2], f24_hash(h.component(), -3, 0) / 128.0);
  EXPECT_EQ(q.v[3], 0);
  // In the middle of the tile the mask reaches 4 min(2 fu, 2 fv) = 4.
  EXPECT_NEAR(h.at(0, 0, 3), 4, 1e-12);

  // C below 0.125 acts as 0.125.
  KVmemberHarness low;
  low.bind(kFamily24, 0);
  low.setParams(1, 1, 0.01);
  low.prepare();
  h.setParams(1, 1, 0.125);
  h.prepare();
  for (double y : {-7.3, -1.0, 0.4, 5.9})
    expectQuad(sample(low, 1.3, y), sample(h, 1.3, y), 0);
}

TEST(F24Xyza, DiskPackingsLeaveHolesOfMarkers)
{
  KVmemberHarness h;
  h.bind(kFamily24, 40);
  h.setParams(1, 1, -1);
  h.prepare();
  // u = 0 is the first lattice's cell edge, w' = 0 the second's.
  expectQuad(sample(h, 0, -0.5 * 1.73205 / 0.5), Quad{{M, M, M, M}});
  // At a first-lattice disk centre: (0, 0, hash, 4).
  const Quad centre = sample(h, 1, 1.73205);
  EXPECT_NEAR(centre.v[0], 0, 1e-12);
  EXPECT_NEAR(centre.v[3], 4, 1e-5);

  h.bind(kFamily24, 41);
  h.setParams(1, 0, 1);  // no jitter: disks of radius 0.5 on the lattice points
  h.prepare();
  expectQuad(sample(h, 1, 1), Quad{{M, M, M, M}});  // (0.5, 0.5) from all four
  const Quad q = sample(h, 0.2, 0.2);               // (0.1, 0.1) from (0, 0)
  const KVtables& t = h.doc()->tables;
  expectQuad(q, Quad{{2 * kPi * 0.1, 2 * kPi * 0.1, t.perm[t.perm[0] & 1023] / 128.0,
                      4 * (1 - 4 * 0.02)}});
}

TEST(F24Xyza, SparseSpotsAtSparsenessZeroAndOne)
{
  KVmemberHarness h;
  h.bind(kFamily24, 2);
  KVgridView view;
  view.width = view.height = 24;
  h.setParams(1, 1, 2);
  h.prepare();
  for (double v : h.grid(view, 3))
    ASSERT_EQ(v, 0);
  h.setParams(1, 0, 2);
  h.prepare();
  double most = 0;
  for (double v : h.grid(view, 3))
    most = std::max(most, v);
  EXPECT_GT(most, 1);
}

// Mask shapes at a quarter cell from the centre: R = 1/16, S = 0.5,
// Q = 0.75.
TEST(F24Xyza, SpotMaskShapes)
{
  struct Case
  {
    int16_t id;
    double shape;
    double dx;
    double mask;
  };
  const Case cases[] = {
      {3, -1, 0.25, 3}, {3, 0, 0.25, 3},     {3, 0.25, 0.25, 2.5}, {3, 0.5, 0.25, 2},
      {3, 1, 0.25, 1},  {3, 0.7, 0, 4},      {9, 0.5, 0.25, 2},    {9, 1.5, 0.25, 4},
      {9, 1.5, 0.4, 0}, {9, 1.5, 0.35, 1.2}, {9, 2, 0, 4},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + " shape " + std::to_string(c.shape));
    h.bind(kFamily24, c.id);
    h.setParams(1, c.shape, c.id == 3 ? 1 : 2);  // frequency 1 either way
    h.prepare();
    const Quad q = sample(h, 2.5 + c.dx, -0.5);
    EXPECT_NEAR(q.v[3], c.mask, 1e-12);
    if (c.id == 3) {
      EXPECT_EQ(q.v[0], 2);  // the cell's corner
      EXPECT_EQ(q.v[1], -1);
    } else {
      EXPECT_NEAR(q.v[0], c.dx * 2 * kPi, 1e-12);
    }
  }
  // Frequency 0: every point in cell (0, 0), corner 0 (not 0 times 1/0).
  h.bind(kFamily24, 3);
  h.setParams(1, 0.5, 0);
  h.prepare();
  EXPECT_EQ(h.at(3.7, -2.2, 0), 0);
  EXPECT_EQ(h.at(3.7, -2.2, 1), 0);
}

TEST(F24Xyza, PolarTileOriginAndWholeTileCount)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily24, 32);
  h.setParams(1, 8.7, 4);
  h.prepare();
  EXPECT_EQ(g->B, 8);
  expectQuad(sample(h, 0, 0), Quad{{M, M, M, M}});
  expectQuad(sample(h, -0.0, 0), Quad{{M, M, M, M}});
  // On the negative y axis the angle is atan(-inf) + pi/2 = 0.
  const Quad q = sample(h, 0, -1);
  EXPECT_NEAR(q.v[0], -kPi, 1e-12);
}

TEST(F24Xyza, EscherDiskClampsAndCircleCount)
{
  KVmemberHarness h, three;
  gfunc* g = h.bind(kFamily24, 33);
  h.setParams(2, 0.532, 0);
  h.prepare();
  EXPECT_EQ(g->A, 3);
  three.bind(kFamily24, 33);
  three.setParams(3, 0.532, 0);
  three.prepare();
  for (double x : {-0.7, 0.0, 0.3, 0.9})
    expectQuad(sample(h, x, 0.2), sample(three, x, 0.2), 0);
  // Outside the disk (radius pi): outputs 1 to 3 are 0 and the mask stops
  // at -2.
  expectQuad(sample(h, -4.5, 0), Quad{{0, 0, 0, -2}});
  expectQuad(sample(h, 9, 9), Quad{{0, 0, 0, -2}});

  // A stored A far above the map draws 32 circles.
  KVmemberHarness many, cap;
  many.bind(kFamily24, 33);
  many.setParams(1e9, 0.5, 0);
  many.prepare();
  cap.bind(kFamily24, 33);
  cap.setParams(32, 0.5, 0);
  cap.prepare();
  for (double x : {-0.2, 0.05, 0.25})
    expectQuad(sample(many, x, 0.1), sample(cap, x, 0.1), 0);
}

TEST(F24Xyza, GasketBandEdgesAndDepth)
{
  KVmemberHarness h;
  h.bind(kFamily24, 34);
  h.setParams(1, 0, 0);
  h.prepare();
  expectQuad(sample(h, 0.3, -2), Quad{{0, 0, 8, 0.75 * 0.5}});
  expectQuad(sample(h, 0.3, 1), Quad{{M, M, M, M}});
  expectQuad(sample(h, 0.3, -1), Quad{{M, M, M, M}});
  expectQuad(sample(h, 0.3, 1.5), Quad{{M, M, M, M}});
  // The central disk: X = 2 frac(0.5 x + 0.5) - 1 folds x = 2.5 to 0.5.
  expectQuad(sample(h, 2.5, 0), Quad{{0.5, 0, 2.5, 0.75 * 4 * 0.75}});

  // (0.95, 0.5) lies in the circle at (1, 1); inverted once it lands in
  // the band at R >= 1, where a depth of 0 stops.
  const double D = 0.05 * 0.05 + 0.5 * 0.5;
  const double xi = 1 - 0.05 / D, yi = 1 - 0.5 / D;
  const double R = xi * xi + yi * yi;
  h.doc()->fractal.octaves = 0;
  expectQuad(sample(h, 0.95, 0.5), Quad{{xi, yi, xi, 0.75 * 4 * (1 - R)}});
  h.doc()->fractal.octaves = 16;
  EXPECT_NE(h.at(0.95, 0.5, 3), 0.75 * 4 * (1 - R));

  // A point in none of the four circles keeps its record.
  dvector4d r{1, 2, 3, 4};
  Appolinversion(0, 0, &r, 0, 8);
  EXPECT_EQ(r.x, 1);
  EXPECT_EQ(r.w, 4);
  // Where the circles touch (x = 1, y = 0) the gasket gives a mask of 0.
  EXPECT_EQ(h.at(1, 0, 3), 0);
}

}  // namespace

namespace {

// A scaled coordinate without a lattice cell (beyond 32 bits, NaN) gives
// the member's no-value row.
TEST(F24Xyza, PointsWithoutALatticeCellGiveMarkers)
{
  KVmemberHarness h;
  for (int16_t id : {0, 1, 2, 3, 9, 40, 41, 57}) {
    SCOPED_TRACE(id);
    h.bind(kFamily24, id);
    h.prepare();
    for (double x : {1e12, -1e12, std::nan("")})
      expectQuad(sample(h, x, 0.3), Quad{{M, M, M, M}});
  }
  // The polar tile's log-radius keeps far points on its lattice.
  h.bind(kFamily24, 32);
  h.prepare();
  expectQuad(sample(h, std::nan(""), 0.3), Quad{{M, M, M, M}});
  EXPECT_LT(h.at(1e12, 0.3, 3), M);
}

}  // namespace
