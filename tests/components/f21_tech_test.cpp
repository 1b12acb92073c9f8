// " Tech Noise #" and " Shapes #": the pattern each index picks (cell,
// sharpness, frequency scale), the indices outside the tables, the labels of
// A, and the edge values of the shapes.
#include "components/f21/f21_tech.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

#include "celltextures/city_insect.h"
#include "celltextures/cityplan_a.h"
#include "celltextures/techmotifs.h"
#include "foundation/checked.h"
#include "tests/components/f21_test_support.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The lattice blend of four samples of a cell around (u, v) with
// smoothstep weights of the fractions times k, held to 0..1.
template <class Cell>
double latticeBlend(Cell cell, double u, double v, double k)
{
  kvnum::LatticeSplit col, row;
  EXPECT_TRUE(kvnum::lattice_trunc_split(u, col) && kvnum::lattice_trunc_split(v, row));
  const auto weight = [k](double f) {
    const double t = f * k;
    return t < 0 ? 0.0 : t > 1 ? 1.0 : (3 - 2 * t) * t * t;
  };
  const int32_t i = col.cell, j = row.cell;
  const double c00 = cell(i, j), c10 = cell(i + 1, j), c01 = cell(i, j + 1),
               c11 = cell(i + 1, j + 1);
  const double wx = weight(col.frac), wy = weight(row.frac);
  const double top = c00 + (c10 - c00) * wx, bottom = c01 + (c11 - c01) * wx;
  return top + (bottom - top) * wy;
}

// Pattern index, the cell it must draw, sharpness and frequency factor.
TEST(F21Tech, TechNoisePatternsPickTheirCellSharpnessAndFrequency)
{
  KVmemberHarness h;
  const KVtables* t = &h.doc()->tables;
  const auto cellOf = [t](CellTexture2DProc proc) {
    return [t, proc](int32_t i, int32_t j) {
      int16_t code = 0;
      return proc(t, i, j, &code);
    };
  };
  const auto cityB = [t](int32_t i, int32_t j) {
    int16_t code = 0;
    return LABTXT_CityBblock(t, i, j, 0.0, &code);
  };
  struct Case
  {
    double A;
    CellTexture2DProc cell;  // null: the city block
    double k, factor;
  };
  const Case cases[] = {
      {13, LABTXT_TEK_sparce, 2, 4}, {18, LABTXT_TEK_BuildB, 2, 4},
      {28, LABTXT_InsectCity, 2, 4}, {33, LABTXT_TEK_randomsymbuild, 2, 4},
      {34, LABTXT_TEK_lines, 2, 4},  {0.9, LABTXT_CityA, 8, 8},
      {38, nullptr, 6, 4},           {-1, nullptr, 6, 2},
      {1e300, nullptr, 6, 2},  // does not convert: counts as -1
  };
  const double B = 1.5, C = 0.7;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.A);
    h.bind(kFamily21, 63);
    h.setParams(c.A, B, C);
    h.prepare();
    const double F = c.factor * C;
    for (const auto& p : {std::pair{0.13, 0.41}, std::pair{-1.7, 2.2}, std::pair{2.9, -0.35}}) {
      const double u = p.first * F, v = p.second * F;
      const double expected = c.cell != nullptr ? latticeBlend(cellOf(c.cell), u, v, c.k) * B
                                                : latticeBlend(cityB, u, v, c.k) * B;
      EXPECT_NEAR(h.at(p.first, p.second), expected, 1e-12 * (1 + std::fabs(expected)));
    }
  }
}

TEST(F21Tech, LabelOfAIsThePatternName)
{
  struct Case
  {
    int16_t id;
    double A;
    std::string label;
  };
  const Case cases[] = {
      {63, 0, " City blocks Sharp #"},
      {63, 10, " Techno  Sharp #"},
      {63, 11.7, " Techno  Soft #"},
      {63, 37, " Tech Marks Soft #"},
      {63, 38, ""},
      {63, -1, ""},
      {62, 0, " Cone squared #"},
      {62, 24, " Cubes Cluster cone #"},
      {62, 27, " Bulding A #"},
      {62, 30, " Bulding D #"},
      {62, 31, ""},
      {62, -0.5, " Cone squared #"},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " A " << c.A);
    gfunc* g = h.bind(kFamily21, c.id);
    g->A = c.A;
    double a = 0;
    EXPECT_EQ(h.send(kMsgParamA, &a), c.label);
    EXPECT_EQ(a, c.A);
  }
}

TEST(F21Tech, ShapesRadiusZeroIsStoredAs0_00001)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily21, 62);
  for (double A : {1.0, 8.0, 25.0}) {
    h.setParams(A, 0, 8);
    h.prepare();
    EXPECT_EQ(g->B, 0.00001);
    EXPECT_EQ(h.at(0.5, 0.25), 0) << A;
    EXPECT_EQ(h.at(-0.001, 0), 0) << A;
  }
}

// Cones and pyramids are 0 outside the radius for every profile (the
// terraces to within rounding: their step is centred at t = 0 by 1.15 f -
// 0.075); a cone is 1 at its centre for the profiles squared, linear, dome,
// round and cubic.
TEST(F21Tech, ConesAndPyramidsOutsideTheRadiusAndAtTheCentre)
{
  KVmemberHarness h;
  const double B = 2, C = 8;
  for (int p = 0; p <= 13; ++p) {
    SCOPED_TRACE(p);
    h.bind(kFamily21, 62);
    h.setParams(p, B, C);
    h.prepare();
    for (const auto& q : {std::pair{2.0, 0.0}, std::pair{0.0, -2.5}, std::pair{2.1, 2.1}})
      EXPECT_NEAR(h.at(q.first, q.second), 0, 1e-15) << q.first << ", " << q.second;
    if (p <= 4) {
      EXPECT_EQ(h.at(0, 0), C);
    }
    EXPECT_GT(h.at(0.3, -0.2), 0);
  }
}

// The cube is 1 over the 15 x 15 lattice cells around the origin: with
// radius 12 / 1.125 the lattice unit is the plane's, shifted by 0.4375.
TEST(F21Tech, CubeCoversFifteenCells)
{
  KVmemberHarness h;
  h.bind(kFamily21, 62);
  const double C = 3;
  h.setParams(26, 12 / 1.125, C);
  h.prepare();
  for (double x : {0.0, 7.4, -6.3, 5.0})
    for (double y : {0.0, 7.4, -6.3})
      EXPECT_EQ(h.at(x, y), C) << x << ", " << y;
  for (const auto& q : {std::pair{8.5, 0.0}, std::pair{0.0, -7.6}, std::pair{9.0, 9.0}})
    EXPECT_EQ(h.at(q.first, q.second), 0) << q.first << ", " << q.second;
}

// A pattern index below 0 (or an A that does not convert) draws nothing.
TEST(F21Tech, NegativeShapeIndexDrawsNothing)
{
  KVmemberHarness h;
  for (double A : {-1.0, -30.0, 1e300}) {
    for (double v : gridOf(h, 62, A, kPi, 8))
      ASSERT_EQ(v, 0) << A;
  }
}

}  // namespace
