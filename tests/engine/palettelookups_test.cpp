#include "engine/palettelookups.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "engine/gfunc.h"
#include "foundation/colormath.h"
#include "tests/engine/test_palettes.h"

namespace {

void expectColor(const double* got, double r, double g, double b, double tol = 1e-12)
{
  EXPECT_NEAR(got[0], r, tol);
  EXPECT_NEAR(got[1], g, tol);
  EXPECT_NEAR(got[2], b, tol);
}

using Gradient = void (*)(const cpalette*, double, double*);

TEST(PaletteLookups, GradientEnds)
{
  const cpalette one = paletteOf({rgb(10, 20, 30)});
  for (Gradient f : {fvcolorgradient, fbeziercolorgradient})
    for (double t : {-1.0, 0.0, 0.3, 1.0, 2.0, double(NAN)}) {
      double out[3];
      f(&one, t, out);
      expectColor(out, 10, 20, 30);
    }

  const cpalette bw = paletteOf({rgb(0, 0, 0), rgb(255, 255, 255)});
  double out[3], bez[3];
  fvcolorgradient(&bw, 0.5, out);
  expectColor(out, 127.5, 127.5, 127.5);
  for (double t : {0.0, 0.2, 0.7, 1.0}) {
    fvcolorgradient(&bw, t, out);
    fbeziercolorgradient(&bw, t, bez);
    expectColor(bez, out[0], out[1], out[2]);
  }

  // The last used colour at t = 1, whatever lies in the slots beyond.
  cpalette three = paletteOf({rgb(0, 0, 0), rgb(100, 0, 0), rgb(40, 50, 60)});
  three.colors[3] = rgb(1, 2, 3);
  for (Gradient f : {fvcolorgradient, fbeziercolorgradient}) {
    f(&three, 1, out);
    expectColor(out, 40, 50, 60);
    f(&three, 0.5, out);  // exactly on the middle key
    expectColor(out, 100, 0, 0);
    f(&three, NAN, out);
    expectColor(out, 0, 0, 0);
  }
  // Between keys the Bezier gradient stays within the colour range here.
  fbeziercolorgradient(&three, 0.25, out);
  EXPECT_GT(out[0], 0);
  EXPECT_LT(out[0], 100);
}

TEST(PaletteLookups, AverageAndDoubleTable)
{
  const cpalette two = paletteOf({rgb(0, 100, 50), rgb(100, 0, 50)});
  double out[3];
  fcoloraverage(&two, out);
  expectColor(out, 50, 50, 50);
  const cpalette empty{};
  fcoloraverage(&empty, out);
  expectColor(out, 0, 0, 0);

  const double table[] = {0, 0, 0, 10, 20, 30, 20, 40, 60};
  struct Case
  {
    int32_t n;
    double t;
    double want[3];
  };
  const Case cases[] = {
      {3, 0.25, {5, 10, 15}}, {3, 1, {20, 40, 60}}, {3, 7, {20, 40, 60}},
      {3, -1, {0, 0, 0}},     {3, NAN, {0, 0, 0}},  {1, 0.5, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    double r, g, b;
    fcolorvectorgradient(table, c.n, c.t, &r, &g, &b);
    double got[3] = {r, g, b};
    SCOPED_TRACE(c.t);
    expectColor(got, c.want[0], c.want[1], c.want[2]);
  }
}

TEST(PaletteLookups, ParameterColour)
{
  struct Case
  {
    double t;
    normalcolor want;
  };
  const Case cases[] = {{0, rgb(255, 1, 1)}, {1, rgb(255, 255, 255)}};
  for (const Case& c : cases) {
    normalcolor scratch[8];
    double out[3];
    GetParam1DColor(scratch, c.t, out);
    EXPECT_EQ(scratch[0], c.want);
    expectColor(out, c.want.red / 32.0, c.want.green / 32.0, c.want.blue / 32.0);
  }
}

TEST(PaletteLookups, HueCycleTable)
{
  // At t = 1 the key is (d 128, S 0, L 255): greys from L down to L - d.
  normalcolor one[1] = {normalcolor{7, 0, 0, 0}};
  GetParam1DColorTable(one, 1, 1);
  EXPECT_EQ(one[0], (normalcolor{7, 255, 255, 255}));  // L unchanged, byte 0 untouched

  normalcolor fifteen[15];
  GetParam1DColorTable(fifteen, 1, 15);
  normalcolor want{};
  myHSLtoRGB(0, 0, 255 - 128, &want);
  EXPECT_EQ(fifteen[14].red, want.red);
  EXPECT_EQ(fifteen[14].blue, want.blue);

  normalcolor untouched = {1, 2, 3, 4};
  GetParam1DColorTable(&untouched, 0.5, 0);
  EXPECT_EQ(untouched, (normalcolor{1, 2, 3, 4}));

  // The cycles sample the same closed table.
  double quad[12], triple[9], tripleFlag[9];
  GetQuadrupleColorCycle(quad, 0.4);
  GetTripleColorCycle(triple, 0.4, false);
  GetTripleColorCycle(tripleFlag, 0.4, true);
  expectColor(quad, 0, 0, 0);
  for (int i = 0; i < 9; ++i)
    EXPECT_DOUBLE_EQ(quad[3 + i], triple[i]) << i;
  for (int i = 0; i < 3; ++i)
    EXPECT_DOUBLE_EQ(tripleFlag[i], triple[i]);
  EXPECT_NE(tripleFlag[3] + tripleFlag[4] + tripleFlag[5], triple[3] + triple[4] + triple[5]);
  normalcolor table[15];
  GetParam1DColorTable(table, 0.4, 15);
  expectColor(triple, table[0].red, table[0].green, table[0].blue);
}

TEST(PaletteLookups, ComponentSearch)
{
  auto doc = std::make_unique<sfuncSystem>();
  smalltree& tree = doc->tree;
  struct Slot
  {
    uint16_t family;
    uint8_t level;
    int16_t index;
  };
  const Slot slots[] = {{2, 0, 10}, {3, 0, 11}, {16, 1, 12}, {2, 2, 13}, {3, 2, 14}};
  tree.count = 5;
  tree.rootLevel = 2;
  for (int i = 0; i < 5; ++i) {
    tree.funcs[i].family = slots[i].family;
    tree.funcs[i].level = slots[i].level;
    tree.funcs[i].index = slots[i].index;
  }
  EXPECT_EQ(arb_searchuID(doc.get(), 13), &tree.funcs[3]);
  EXPECT_EQ(arb_searchuID(doc.get(), 99), nullptr);
  EXPECT_EQ(arb_searchbyTypeOut_last(doc.get(), 2), &tree.funcs[2]);  // below the root level
  EXPECT_EQ(arb_searchbyTypeOut_last(doc.get(), 1), &tree.funcs[0]);
  EXPECT_EQ(arb_searchbyTypeOut_last(doc.get(), 3), nullptr);
  EXPECT_EQ(arb_searchbyTypeIn_last(doc.get(), 2), &tree.funcs[1]);
  EXPECT_EQ(arb_searchbyTypeIn_last(doc.get(), 1), &tree.funcs[2]);
  EXPECT_EQ(arb_searchbyTypeIn_last(doc.get(), 5), nullptr);
  tree.count = 0;
  EXPECT_EQ(arb_searchuID(doc.get(), 13), nullptr);
}

}  // namespace
