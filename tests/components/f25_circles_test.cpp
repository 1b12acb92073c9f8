// The circle-set geometry and the two iteration routines: intersections,
// circles through points, rings, the inner Soddy circle, line records, and
// the pass rules of GenericDiskInvert and GenericDiskLimit.
#include "components/f25/f25_circles.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const double kRoot3 = std::sqrt(3.0);

cpalette threeKeys()
{
  cpalette p;
  p.count = 3;
  p.colors[0] = {255, 255, 0, 0};
  p.colors[1] = {255, 0, 255, 0};
  p.colors[2] = {255, 0, 0, 255};
  return p;
}

TEST(F25Circles, CircleIntersectGivesBothPointsOrTheBasePoint)
{
  dvector2d p, q;
  EXPECT_EQ(CircleIntersect({0, 0, 1}, {1, 0, 1}, p, &q), 1);
  EXPECT_DOUBLE_EQ(p.x, 0.5);
  EXPECT_DOUBLE_EQ(p.y, -std::sqrt(0.75));
  EXPECT_DOUBLE_EQ(q.x, 0.5);
  EXPECT_DOUBLE_EQ(q.y, std::sqrt(0.75));

  // Circles apart: the foot of the radical line, twice.
  EXPECT_EQ(CircleIntersect({0, 0, 1}, {4, 0, 1}, p, &q), 1);
  EXPECT_DOUBLE_EQ(p.x, 2);
  EXPECT_DOUBLE_EQ(p.y, 0);
  EXPECT_DOUBLE_EQ(q.x, 2);
  EXPECT_DOUBLE_EQ(q.y, 0);
}

TEST(F25Circles, CircleFromThreePointsRefusesCollinearPointsAndSharedRecords)
{
  const dvector3d a{1, 0, 0}, b{0, 1, 0}, c{-1, 0, 0};
  dvector3d out{7, 7, 7};
  ASSERT_EQ(FindVCircleFrom3P(a, b, c, out), 1);
  EXPECT_NEAR(out.x, 0, 1e-15);
  EXPECT_NEAR(out.y, 0, 1e-15);
  EXPECT_NEAR(out.z, 1, 1e-15);

  out = {7, 7, 7};
  EXPECT_EQ(FindVCircleFrom3P(a, {2, 0, 0}, {3, 0, 0}, out), 0);
  EXPECT_EQ(FindVCircleFrom3P(a, a, c, out), 0);
  EXPECT_EQ(out.x, 7);
  EXPECT_EQ(out.y, 7);
  EXPECT_EQ(out.z, 7);
}

TEST(F25Circles, RingOfFourIsOrthogonalToItsCircle)
{
  dvector3d ring[4];
  double inner = 0, mid = 0, outer = 0;
  CreateCircleRing(4, ring, 0, 1, &inner, &mid, &outer);
  EXPECT_NEAR(inner, std::sqrt(2.0) - 1, 1e-15);
  EXPECT_NEAR(mid, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(outer, std::sqrt(2.0) + 1, 1e-15);
  for (int k = 0; k < 4; ++k) {
    const dvector3d& c = ring[k];
    EXPECT_NEAR(c.x * c.x + c.y * c.y - c.z * c.z, 1, 1e-14) << k;  // orthogonal to rho = 1
    const dvector3d& n = ring[(k + 1) % 4];
    EXPECT_NEAR(std::hypot(c.x - n.x, c.y - n.y), c.z + n.z, 1e-14) << k;  // touching
  }

  dvector3d untouched{5, 5, 5};
  CreateCircleRing(0, &untouched, 0, 3, &inner, &mid, &outer);
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(mid, 3);
  EXPECT_EQ(outer, 6);
  EXPECT_EQ(untouched.x, 5);
}

TEST(F25Circles, InnerSoddyCircleOfThreeTouchingUnitCircles)
{
  const dvector3d c1{0, 0, 1}, c2{2, 0, 1}, c3{1, kRoot3, 1};
  dvector3d out, image;
  FindInnerSoddy(c1, c2, c3, out, &image);
  EXPECT_NEAR(out.z, 1 / (3 + 2 * kRoot3), 1e-15);
  EXPECT_NEAR(out.x, 1, 1e-12);
  EXPECT_NEAR(out.y, kRoot3 / 3, 1e-12);
  // Its image in the circle through the three touching points lies outside
  // the three circles, centred on the same point.
  EXPECT_NEAR(image.x, 1, 1e-12);
  EXPECT_NEAR(image.y, kRoot3 / 3, 1e-12);
}

TEST(F25Circles, LineRecordsRoundTripAndZeroIsATypeZeroLineAtZero)
{
  const dvector3d line = F25_lineRecord(10, -45, 2.5);
  EXPECT_EQ(F25_lineType(line), 10);
  EXPECT_EQ(F25_lineParam(line), -45);
  EXPECT_EQ(line.y, 2.5);
  EXPECT_EQ(line.z, 0);
  unsigned char bytes[8];
  std::memcpy(bytes, &line.x, 8);
  const unsigned char want[8] = {0xD3, 0xFF, 0xFF, 0xFF, 10, 0, 0, 0};  // q first, little-endian
  EXPECT_EQ(std::memcmp(bytes, want, 8), 0);

  const dvector3d zero{};
  EXPECT_EQ(F25_lineType(zero), 0);
  EXPECT_EQ(F25_lineParam(zero), 0);
}

TEST(F25Circles, SquaredRadiiKeepTheirSign)
{
  dvector3d c[3] = {{0, 0, 2}, {0, 0, -3}, {0, 0, 0}};
  SquareCircleRadius(3, c);
  EXPECT_EQ(c[0].z, 4);
  EXPECT_EQ(c[1].z, -9);
  EXPECT_EQ(c[2].z, 0);
}

// ---- Iteration ----------------------------------------------------------------

CILabData labWith(int variant, int iterations)
{
  CILabData lab{};
  lab.variant = uint8_t(variant);
  lab.iterations = int16_t(iterations);
  lab.background = {255, 10, 20, 30};
  return lab;
}

TEST(F25Iteration, EmptySetLeavesThePoint)
{
  const cpalette p = threeKeys();
  const dvector3d none[1] = {};
  F25journey j = GenericDiskInvert(labWith(0, 4), none, p, 0.3, -0.2);
  EXPECT_EQ(j.x, 0.3);
  EXPECT_EQ(j.y, -0.2);
  EXPECT_EQ(j.r + j.g + j.b, 0);
  j = GenericDiskInvert(labWith(1, 4), none, p, 0.3, -0.2);
  EXPECT_EQ(j.r, 255);  // the table colour at 0
  EXPECT_EQ(j.g, 0);
  j = GenericDiskLimit(labWith(2, 4), none, p, 0.3, -0.2);
  EXPECT_EQ(j.x, 0.3);
  EXPECT_EQ(j.r, 10);  // the background
  EXPECT_EQ(j.b, 30);
}

TEST(F25Iteration, APointOnTheCircleIsNotInverted)
{
  const cpalette p = threeKeys();
  CILabData lab = labWith(0, 0);
  lab.circleCount = 1;
  const dvector3d circle[1] = {{0, 0, 4}};  // squared radius 4
  F25journey j = GenericDiskInvert(lab, circle, p, 2, 0);
  EXPECT_EQ(j.x, 2);
  EXPECT_EQ(j.r, 0);
  j = GenericDiskInvert(lab, circle, p, 1, 0);
  EXPECT_EQ(j.x, 4);
  EXPECT_EQ(j.r, 16);  // circle 0 colours red
}

TEST(F25Iteration, TypeTwoFoldsOnlyOutsidePlusMinusP)
{
  const cpalette p = threeKeys();
  CILabData lab = labWith(0, 0);
  lab.circleCount = 1;
  const dvector3d fold[1] = {F25_lineRecord(2, 0, 1.5)};
  struct Case
  {
    double x, want;
  };
  CILabData limitLab = labWith(2, 1);
  limitLab.circleCount = 1;
  for (const Case c : {Case{1.2, 1.2}, Case{-1.4, -1.4}, Case{2, 1}, Case{-2, -1}}) {
    EXPECT_EQ(GenericDiskInvert(lab, fold, p, c.x, 0.7).x, c.want) << c.x;
    EXPECT_EQ(GenericDiskLimit(limitLab, fold, p, c.x, 0.7).x, c.want) << c.x;
  }
}

TEST(F25Iteration, StopInsideTheFirstLimitKeepsThePointAndTakesItsColour)
{
  const cpalette p = threeKeys();
  CILabData lab = labWith(2, 8);
  lab.limitCount = 3;
  lab.limit[0] = {0, 0, 1};
  lab.limit[1] = {5, 0, 1};
  lab.limit[2] = {-5, 0, 1};
  lab.circleCount = 1;
  const dvector3d circles[1] = {{0, 0, 100}};
  const F25journey j = GenericDiskLimit(lab, circles, p, 0.25, 0.5);
  EXPECT_EQ(j.x, 0.25);
  EXPECT_EQ(j.y, 0.5);
  EXPECT_EQ(j.r, 255);
  EXPECT_EQ(j.g, 0);
}

// Pass endings with stop set: type 2 after a fold ends the pass (also without
// stop), types 7 to 9 end it whatever they did, type 10 never does.
TEST(F25Iteration, LimitPassEndings)
{
  const cpalette p = threeKeys();
  const dvector3d invertAll{0, 0, -1e-6};  // an outside circle every point is in
  struct Case
  {
    const char* what;
    dvector3d first;
    bool keepGoing;
    bool secondRuns;
  };
  const Case cases[] = {
      {"type 2 fold, stop", F25_lineRecord(2, 0, 1), false, false},
      {"type 2 fold, keep going", F25_lineRecord(2, 0, 1), true, false},
      {"type 0 fold, keep going", F25_lineRecord(0, 0, 1), true, true},
      {"type 7 without change", F25_lineRecord(7, 0, 0), false, false},
      {"type 9 without change", F25_lineRecord(9, 1000, 0), false, false},
      {"type 10 without change", F25_lineRecord(10, 0, 1e-9), false, true},
      {"type 11", F25_lineRecord(11, 0, 0), false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CILabData lab = labWith(2, 1);
    lab.keepGoing = c.keepGoing;
    lab.circleCount = 2;
    const dvector3d circles[2] = {c.first, invertAll};
    // x = 3 folds on types 0 and 2; type 7 leaves (3, 3) alone (|u|, |v| = 2).
    const F25journey j = GenericDiskLimit(lab, circles, p, 3, 3);
    const bool inverted = std::fabs(j.x) < 1e-3 && std::fabs(j.y) < 1e-3;
    EXPECT_EQ(inverted, c.secondRuns) << j.x << " " << j.y;
  }
}

TEST(F25Iteration, PeriodicWrapRepeatsThePlane)
{
  const cpalette p = threeKeys();
  CILabData lab = labWith(2, 2);
  lab.period = 8;
  lab.limitCount = 1;
  lab.limit[0] = {1, 1, 0.25};
  const dvector3d none[1] = {};
  const F25journey a = GenericDiskLimit(lab, none, p, 1.2, 0.9);
  const F25journey b = GenericDiskLimit(lab, none, p, 1.2 - 16, 0.9 + 8);
  EXPECT_NEAR(a.x, b.x, 1e-12);
  EXPECT_NEAR(a.y, b.y, 1e-12);
  EXPECT_EQ(a.r, 255);
  EXPECT_EQ(b.r, 255);
}

}  // namespace
