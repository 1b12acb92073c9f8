#include "foundation/bezier.h"

#include <gtest/gtest.h>

namespace {

TEST(Bezier, TangentTable)
{
  struct Case
  {
    double d0, d1, scale, expected;
  };
  const Case cases[] = {
      {1, 1, 1, 1},      // equal differences: their mean
      {2, -1, 1, 0.75},  // smaller difference turned to the side of the mean
      {0, 3, 1, 0},      // flat at a local extreme
      {3, 0, 1, 0},
      {0, 0, 1, 0},
      {-2, -2, 0.5, -1},              // scaled mean
      {1, -1, 1, 0},                  // opposite differences of equal size
      {1, 3, 1, 1.3333333333333333},  // m = 2, r = 2/3, c = 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.d0 << ", " << c.d1 << ", " << c.scale);
    EXPECT_NEAR(Bezier_TGT(c.d0, c.d1, c.scale), c.expected, 1e-12);
  }
}

TEST(Bezier, LerpMeetsItsKeysAndStaysStraightOnALine)
{
  const double keys[][4] = {{0, 1, 5, 2}, {1, 1, 5, 5}, {-3, 2, -7, 4}, {4, 4, 4, 4}};
  for (const auto& k : keys) {
    EXPECT_DOUBLE_EQ(Bezier_lerp(k[0], k[1], k[2], k[3], 0), k[1]);
    EXPECT_DOUBLE_EQ(Bezier_lerp(k[0], k[1], k[2], k[3], 1), k[2]);
  }
  // Evenly spaced keys give a straight line.
  for (double t : {0.1, 0.25, 0.5, 0.9})
    EXPECT_NEAR(Bezier_lerp(0, 1, 2, 3, t), 1 + t, 1e-12);
}

TEST(Bezier, DerivativeMatchesDifferenceQuotient)
{
  const double p[4] = {0.5, -2, 3, 1};
  for (double t : {0.0, 0.3, 0.77, 1.0}) {
    double d = 0;
    Bezier_Evaluate(p[0], p[1], p[2], p[3], t, &d);
    const double h = 1e-6;
    double numeric = (Bezier_Evaluate(p[0], p[1], p[2], p[3], t + h) -
                      Bezier_Evaluate(p[0], p[1], p[2], p[3], t - h)) /
                     (2 * h);
    EXPECT_NEAR(d, numeric, 1e-5);
  }
}

TEST(Bezier, ThreeDimensionalKeys)
{
  const dvector3d a{0, 0, 0}, b{3, 0, 0}, c{6, 3, 0}, d{9, 3, 3};

  // The first key (previous is the key itself) takes a third of the span.
  dvector3d c1, c2;
  Bezier3D_controlpoint(&a, &a, &b, &c, &c1, &c2);
  EXPECT_DOUBLE_EQ(c1.x, 1);
  EXPECT_DOUBLE_EQ(c1.y, 0);

  // An inner arm is limited to half the shorter neighbouring span.
  Bezier3D_controlpoint(&a, &b, &c, &d, &c1, &c2);
  const double dx = c1.x - b.x, dy = c1.y - b.y, dz = c1.z - b.z;
  EXPECT_LE(dx * dx + dy * dy + dz * dz, 1.5 * 1.5 + 1e-12);

  // A repeated key given as a separate record has no arm at all.
  const dvector3d again = b;
  Bezier3D_controlpoint(&again, &b, &c, &d, &c1, &c2);
  EXPECT_DOUBLE_EQ(c1.x, b.x);
  EXPECT_DOUBLE_EQ(c1.y, b.y);

  dvector3d p, tangent;
  Bezier3D_lerp(&a, &b, &c, &d, &p, &tangent, 0);
  EXPECT_DOUBLE_EQ(p.x, b.x);
  Bezier3D_lerp(&a, &b, &c, &d, &p, nullptr, 1);
  EXPECT_DOUBLE_EQ(p.x, c.x);
  EXPECT_DOUBLE_EQ(p.y, c.y);
  // With the last key marked, the curve leaves along a third of the span.
  Bezier3D_lerp(&b, &b, &c, &c, &p, &tangent, 0.5);
  EXPECT_NEAR(p.x, 4.5, 1e-12);
  EXPECT_NEAR(tangent.x, 3, 1e-12);
}

// Keys along the x axis: k1 = 1, k2 = 2. Each arm is a sixth of the two
// neighbouring differences, held to half the shorter span; an end key takes a
// third of the span.
TEST(Bezier, ControlPointArmsOnALine)
{
  struct Case
  {
    const char* what;
    double previous, next;
    bool firstKey, lastKey;
    double c1, c2;
  };
  const Case cases[] = {
      // The arm weight is the rounded sixth 0.16666666667.
      {"even spacing", 0, 3, false, false, 1 + 2 * 0.16666666667, 2 - 2 * 0.16666666667},
      {"short spans limit both arms", 0.8, 2.2, false, false, 1.1, 1.9},
      {"first and last keys", 0, 3, true, true, 1 + 1.0 / 3, 2 - 1.0 / 3},
      {"first key beside a short span", 0, 2.2, true, false, 1 + 1.0 / 3, 1.9},
      {"long neighbours are held to half this span", -9, 12, false, false, 1.5, 1.5},
  };
  const dvector3d k1{1, 0, 0}, k2{2, 0, 0};
  for (const Case& c : cases) {
    const dvector3d previous{c.previous, 0, 0}, next{c.next, 0, 0};
    dvector3d c1, c2;
    Bezier3D_controlpoint(c.firstKey ? &k1 : &previous, &k1, &k2, c.lastKey ? &k2 : &next, &c1,
                          &c2);
    EXPECT_NEAR(c1.x, c.c1, 1e-12) << c.what;
    EXPECT_NEAR(c2.x, c.c2, 1e-12) << c.what;
    EXPECT_EQ(c1.y, 0) << c.what;
    EXPECT_EQ(c2.z, 0) << c.what;
  }
}

}  // namespace
