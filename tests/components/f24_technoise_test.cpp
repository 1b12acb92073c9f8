// The tech noise and the city maps: the corner blend (soft and sharp) over
// a stub cell, the colour cycle of a variant, the street marks' shift,
// variants without a cell, the altitude-only pass, and the city maps'
// pass-through of x and y with the smallest corner code.
#include "components/f24/f24_technoise.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "celltextures/cityplan_a.h"
#include "celltextures/streets.h"
#include "tests/components/member_harness.h"

namespace {

// A stub cell: level 1 on odd columns, code -x.
double oddColumns(const KVtables*, int32_t x, int32_t, int16_t* code)
{
  *code = int16_t(-x);
  return x & 1;
}

double smoothstep(double t)
{
  return t * t * (3 - 2 * t);
}

TEST(F24CornerBlend, SoftAndSharpWeights)
{
  KVtables t{};
  struct Case
  {
    double X;
    double sharpness;
    bool sharpen;
    double level;
  };
  const Case cases[] = {
      {0.25, 1, false, smoothstep(0.25)},  // soft: across the whole cell
      {0.25, 8, true, 1},                  // sharp: flat past 1/8
      {0.1, 8, true, smoothstep(0.8)},
      {0.1, 8, false, smoothstep(0.1)},
      {1.25, 1, false, 1 - smoothstep(0.25)},
      {-2.0, 1, false, 0},  // cell -3 at fraction 1: the corner -2
      {-0.75, 1, false, 1 - smoothstep(0.25)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.X);
    F24cornerBlend b;
    ASSERT_TRUE(f24_cornerBlend(&t, oddColumns, c.X, 0.4, c.sharpness, c.sharpen, b));
    EXPECT_NEAR(b.level, c.level, 1e-12);
  }
  F24cornerBlend b;
  EXPECT_FALSE(f24_cornerBlend(&t, oddColumns, 1e12, 0, 1, false, b));
}

TEST(F24TechNoise, VariantZeroColourCycle)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily24, 56);
  h.setParams(0, 0.5, 4);
  h.prepare();
  const F24cornerNoise& n = privateArea<F24cornerNoise>(g);
  floatcolor want[8];
  Get8ColorCycle(want, 0.5, 0.1, 255, 0.5);
  for (int k = 0; k < 16; ++k) {
    const floatcolor c = k < 8 ? want[k] : floatcolor{};
    EXPECT_EQ(n.cycle[k].red, c.red) << k;
    EXPECT_EQ(n.cycle[k].green, c.green) << k;
    EXPECT_EQ(n.cycle[k].blue, c.blue) << k;
  }
  EXPECT_EQ(n.sharpness, 6.0);
  EXPECT_EQ(n.frequency, 16.0);
}

TEST(F24TechNoise, StreetMarksShiftByThree)
{
  KVmemberHarness h;
  h.bind(kFamily24, 56);
  h.setParams(25, 0.25, 0.1);  // k1 = 1, k2 = 3.2
  h.prepare();
  for (double x : {-1.7, 0.3, 2.2}) {
    F24cornerBlend b;
    ASSERT_TRUE(f24_cornerBlend(&h.doc()->tables, LABTXT_StreetsMarks, 3.2 * x + 3, 3.2 * 0.45 + 3,
                                1, false, b));
    EXPECT_NEAR(h.at(x, 0.45, 3), 4 * b.level, 1e-12) << x;
  }
}

TEST(F24TechNoise, VariantsWithoutACellGiveZeros)
{
  KVmemberHarness h;
  for (double a : {28.0, -1.0, 1e9, std::nan("")}) {
    SCOPED_TRACE(a);
    gfunc* g = h.bind(kFamily24, 56);
    h.setParams(a, 0.25, 4);
    h.prepare();
    EXPECT_EQ(privateArea<F24cornerNoise>(g).sharpness, 5.0);
    EXPECT_EQ(privateArea<F24cornerNoise>(g).frequency, 8.0);
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.at(0.7, -0.3, out), 0);
  }
}

TEST(F24TechNoise, AltitudeOnlyPassKeepsTheLevel)
{
  KVmemberHarness h;
  h.bind(kFamily24, 56);
  h.setParams(8, 0.4, 3);
  h.prepare();
  KVgridView view;
  view.width = view.height = 16;
  const std::vector<double> level = h.grid(view, 3);
  const std::vector<double> red = h.grid(view, 0);
  EXPECT_GT(*std::max_element(red.begin(), red.end()), 0);
  h.doc()->fractal.reliefPass = 1;
  EXPECT_EQ(h.grid(view, 3), level);
  for (int out = 0; out < 3; ++out) {
    const std::vector<double> c = h.grid(view, out);
    EXPECT_TRUE(std::all_of(c.begin(), c.end(), [](double v) { return v == 0; }));
  }
}

TEST(F24CityMaps, PassXYAndGiveTheSmallestCode)
{
  KVmemberHarness h;
  const KVtables* t = &h.doc()->tables;
  for (double a : {0.0, 6.0, 9.0, 12.0}) {
    SCOPED_TRACE(a);
    h.bind(kFamily24, 58);
    h.setParams(a, 1.5, 2);
    h.prepare();
    for (double x : {-3.1, 0.0, 0.37, 2.9}) {
      const double y = 1.3 - x;
      EXPECT_EQ(h.at(x, y, 0), x);
      EXPECT_EQ(h.at(x, y, 1), y);
    }
  }
  // Variant 0 (City A, k1 = 8, k2 = 8 C): output 3 the smallest corner code,
  // output 4 B times the level.
  h.bind(kFamily24, 58);
  h.setParams(0, 1.5, 0.25);
  h.prepare();
  for (double x : {-3.1, 0.37, 2.9}) {
    F24cornerBlend b;
    ASSERT_TRUE(f24_cornerBlend(t, LABTXT_CityA, 2 * x, 2 * 0.8, 8, true, b));
    EXPECT_EQ(h.at(x, 0.8, 2), *std::min_element(std::begin(b.code), std::end(b.code)));
    EXPECT_NEAR(h.at(x, 0.8, 3), 1.5 * b.level, 1e-12);
  }
}

}  // namespace
