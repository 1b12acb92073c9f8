// Cellular and feature-point bases.
#include "noise/cellular.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "noise_test_support.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Tables whose random vectors are all 0: every random-vector point sits at
// its cell centre.
std::unique_ptr<KVtables> centredTables()
{
  auto t = seededTables();
  for (auto& row : t->rndVec3D)
    for (double& v : row)
      v = 0.0;
  return t;
}

// Row of cell (c, r) in rndVec3D when the sample lies in row j: the column
// key of (c, j - 1), masked, plus r - (j - 1).
int rowOf(const KVtables* t, int c, int r, int j)
{
  int key = (j - 1) + t->perm[c & 1023] + (c >> 9);
  return (key & 1023) + (r - (j - 1));
}

// A grid that crosses zero, with whole and half negative coordinates.
template <class Visit>
void forGrid(Visit visit)
{
  for (int a = -20; a <= 20; a++)
    for (int b = -20; b <= 20; b++)
      visit(a * 0.25 + 0.013 * (b % 3), b * 0.25);
}

}  // namespace

TEST(Cellular, VoronSkipsAnEquidistantSecondPoint)
{
  auto t = centredTables();
  // Samples midway between two centres; the next points are 1.25 away.
  const double ties[][2] = {{1.0, 0.5}, {-1.0, -0.5}, {0.5, -2.0}, {-3.5, 7.0}};
  for (const auto& s : ties) {
    SCOPED_TRACE(testing::Message() << s[0] << ", " << s[1]);
    EXPECT_EQ(Jitter_Voron(t.get(), s[0], s[1]), 1.0);
    EXPECT_EQ(Jitter_Circle(t.get(), s[0], s[1]), 0.5);
  }
  // Just off the bisector the edge measure tends to 0 (F2 - F1 = 2 delta).
  EXPECT_NEAR(Jitter_Voron(t.get(), 1.0 + 1e-6, 0.5), 2e-6, 1e-12);
  EXPECT_NEAR(Jitter_Voron(t.get(), -1.0 - 1e-6, -0.5), 2e-6, 1e-12);
}

TEST(Cellular, WholeNegativeCoordinateSearchesAroundTheCellBelow)
{
  // x = -1.0 lies in cell -2, so columns -3..-1 are searched, not -2..0.
  // Points at the centres, except: cell (0, 5) moved left to x = 0.118
  // (1.118 from the sample), and the row 4 and 6 points of columns -2 and
  // -1 moved away vertically. Around the cell below, F1 = 0.25 (twice) and
  // nothing else is within the bound: 1.5 - 0.25. Around cell -1, the moved
  // point of column 0 would give F2 = 1.2506.
  auto t = centredTables();
  for (int i = 0; i < 1024; i++)
    t->perm[i] = (7 * i) & 1023;
  constexpr double kMax = 0.998046875;
  t->rndVec3D[rowOf(t.get(), 0, 5, 5)][0] = -kMax;
  for (int c : {-2, -1}) {
    t->rndVec3D[rowOf(t.get(), c, 4, 5)][1] = -kMax;
    t->rndVec3D[rowOf(t.get(), c, 6, 5)][1] = kMax;
  }
  EXPECT_EQ(Jitter_Voron(t.get(), -1.0, 5.5), 1.25);
}

TEST(Cellular, AllPointsBeyondTheBoundGiveTheBounds)
{
  // Sample (0, 5) on a cell corner; every point of the nine cells is pushed
  // away from it by the largest jitter, to more than sqrt(1.5).
  auto t = seededTables();
  for (int i = 0; i < 1024; i++)
    t->perm[i] = (7 * i) & 1023;
  arb_compRndVecTable(t.get());
  constexpr double kMax = 0.998046875;
  for (int c = -1; c <= 1; c++)
    for (int r = 4; r <= 6; r++) {
      double* v = t->rndVec3D[rowOf(t.get(), c, r, 5)];
      v[0] = c < 0 ? -kMax : kMax;
      v[1] = r < 5 ? -kMax : kMax;
      v[2] = 0.75;
    }
  EXPECT_EQ(Jitter_Voron(t.get(), 0.0, 5.0), 0.0);
  EXPECT_EQ(Jitter_Circle(t.get(), 0.0, 5.0), 1.0);
  double out[3] = {9, 9, 9};
  EXPECT_EQ(Jitter_SmoothVoronXYA(t.get(), 0.0, 5.0, out), 0.0);
  EXPECT_EQ(out[0], 0.0);
  EXPECT_EQ(out[1], 0.0);
  EXPECT_EQ(out[2], 0.0);
  // Moved onto the own cell's point, the sample sees it.
  double px = 0.5 + 0.3825 * kMax, py = 5.5 + 0.3825 * kMax;
  EXPECT_NEAR(Jitter_Circle(t.get(), px, py), 0.0, 1e-12);
}

TEST(Cellular, SmoothVoronIsZeroWhereTheSmoothedMinimaMeet)
{
  auto t = centredTables();
  double out[3] = {9, 9, 9};
  // Two centres 0.25 away: the minima meet (e = -0.02).
  EXPECT_EQ(Jitter_SmoothVoronXYA(t.get(), 1.0, 0.5, out), 0.0);
  // The first of the tied points keeps the offset (column 0 before column 1).
  EXPECT_EQ(out[0], 0.5);
  EXPECT_EQ(out[1], 0.0);
  EXPECT_EQ(out[2], 0.0);
  // At a centre the mask is well above 0 and the offset is 0.
  EXPECT_GT(Jitter_SmoothVoronXYA(t.get(), 1.5, 0.5, out), 0.5);
  EXPECT_EQ(out[0], 0.0);
  EXPECT_EQ(out[1], 0.0);
}

TEST(Cellular, CristalWithoutSharpeningIsThePermutedHashTimesScale)
{
  // Identity permutation: H2(c, r) = c + r for small c, r. From (10.2, 10.9)
  // the nearest of the four points is cell (10, 10)'s, at
  // (10.5 + 0.0035 * 20, 10.5 + 0.0035 * 5).
  auto t = seededTables();
  for (int i = 0; i < 1024; i++)
    t->perm[i] = i;
  arb_compRndVecTable(t.get());
  EXPECT_EQ(Jitter_Cristal(t.get(), 10.2, 10.9, 0.5, 0.0), 10.0);
  EXPECT_EQ(Jitter_Cristal(t.get(), 10.2, 10.9, 3.0, 0.0), 60.0);

  double dx = 10.2 - (10.5 + 0.0035 * 20), dy = 10.9 - (10.5 + 0.0035 * 5);
  double q = dx * dx + dy * dy;
  double r = 20.0 * 0.5;
  EXPECT_DOUBLE_EQ(Jitter_Cristal(t.get(), 10.2, 10.9, 0.5, 1.0), (0.5 - q) * r);
  EXPECT_DOUBLE_EQ(Jitter_Cristal(t.get(), 10.2, 10.9, 0.5, 0.25), r + ((0.5 - q) * r - r) * 0.25);
}

TEST(Cellular, ColorBubbleWithZeroBoundKeepsItAndUsesEntryZero)
{
  auto t = seededTables();
  for (double x : {0.3, -7.75, kNaN}) {
    SCOPED_TRACE(x);
    double dmin = 0.0, rgb[3] = {-1, -1, -1};
    ColorBubble(t.get(), x, 2.25, &dmin, rgb);
    EXPECT_EQ(dmin, 0.0);
    EXPECT_EQ(rgb[0], std::fabs(t->grad2D[0][0]));
    EXPECT_EQ(rgb[1], std::fabs(t->grad2D[0][1]));
    EXPECT_EQ(rgb[2], std::fabs(t->grad2D[1][1]));
  }
}

TEST(Cellular, ColorBubble3DReadsTheWrapPairAtTheLastDirection)
{
  // Identity permutation: corner (100, 100, 55) reads direction pair 255,
  // and its third float comes from pair 256, which repeats pair 0.
  auto t = seededTables();
  for (int i = 0; i < 1024; i++)
    t->perm[i] = i;
  arb_compRndVecTable(t.get());
  ASSERT_EQ(t->unitDir2D[256][0], t->unitDir2D[0][0]);
  ASSERT_EQ(t->unitDir2D[256][1], t->unitDir2D[0][1]);

  double x = 100.0 - t->unitDir2D[255][0], y = 100.0 - t->unitDir2D[255][1];
  double z = 55.0 - t->unitDir2D[0][0];
  double dmin = 10.0, rgb[3] = {0, 0, 0};
  ColorBubble3D(t.get(), x, y, z, &dmin, rgb);
  EXPECT_EQ(dmin, 0.0);
  EXPECT_EQ(rgb[0], std::fabs(t->grad2D[255][0]));
  EXPECT_EQ(rgb[1], std::fabs(t->grad2D[255][1]));
  EXPECT_EQ(rgb[2], std::fabs(t->grad2D[256][0]));
}

TEST(Cellular, MeasuresStayInTheirRanges)
{
  auto t = seededTables();
  forGrid([&](double x, double y) {
    SCOPED_TRACE(testing::Message() << x << ", " << y);
    double v = Jitter_Voron(t.get(), x, y);
    EXPECT_GE(v, 0.0);
    EXPECT_LE(v, 1.5);
    EXPECT_LE(Jitter_Circle(t.get(), x, y), 1.0);

    double ox = 0, oy = 0;
    double d = CristalMap(t.get(), x, y, &ox, &oy, 0.37);
    EXPECT_LE(d, 1.0);
    if (d < 1.0) {
      EXPECT_NEAR(std::hypot(ox, oy), d, 1e-12);
    }

    // Folded offsets are smooth absolute values, never below 0.25.
    ox = oy = 2.0;
    Jitter_FacetSpaceMirror(t.get(), x, y, &ox, &oy, 0.0);
    EXPECT_GE(ox, 0.25);
    EXPECT_GE(oy, 0.25);

    // Without turn or scale the rotated facet space is the plain one (or
    // its (0, 0) start when no cell came below its tighter bound).
    double fx, fy, rx, ry;
    Jitter_FacetSpace(t.get(), x, y, &fx, &fy, 0.0);
    Jitter_FacetSpaceRotate(t.get(), x, y, &rx, &ry, 0.0, 0.0);
    if (rx != 0.0 || ry != 0.0) {
      EXPECT_NEAR(rx, fx, 1e-6);
      EXPECT_NEAR(ry, fy, 1e-6);
    }

    int32_t ci = 0, cj = 0;
    Jitter_CTFacetSpace(t.get(), x, y, &ci, &cj);
    EXPECT_LE(std::fabs(ci + 0.5 - x), 2.0);
    EXPECT_LE(std::fabs(cj + 0.5 - y), 2.0);

    double bubble = 0.8;
    Bubble3D(t.get(), x, y, 0.5 * x - y, &bubble);
    EXPECT_LE(bubble, 0.8);
    EXPECT_GE(bubble, 0.0);
  });
}

TEST(Cellular, CoordinatesOffTheLatticeFindNothing)
{
  auto t = seededTables();
  const double bad[] = {kNaN, 1e250, -1e300, std::numeric_limits<double>::infinity()};
  for (double b : bad) {
    SCOPED_TRACE(b);
    EXPECT_EQ(Jitter_Voron(t.get(), b, 0.5), 0.0);
    EXPECT_EQ(Jitter_Circle(t.get(), 0.5, b), 1.0);
    double out[3] = {9, 9, 9};
    EXPECT_EQ(Jitter_SmoothVoronXYA(t.get(), b, 0.5, out), 0.0);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(Jitter_Cristal(t.get(), b, 0.5, 1.0, 0.5), 0.0);

    double ox = 5, oy = 5;
    EXPECT_EQ(CristalMap(t.get(), b, 0.5, &ox, &oy, 0.0), 1.0);
    EXPECT_EQ(ox, 0.0);
    Jitter_FacetSpace(t.get(), b, 0.5, &ox, &oy, 1.0);
    EXPECT_EQ(ox, 0.0);
    ox = oy = 2.0;
    Jitter_FacetSpaceMirror(t.get(), 0.5, b, &ox, &oy, 1.0);
    EXPECT_EQ(ox, 2.0);
    EXPECT_EQ(oy, 2.0);
    int32_t ci = 7, cj = 7;
    Jitter_CTFacetSpace(t.get(), b, b, &ci, &cj);
    EXPECT_EQ(ci, 0);
    EXPECT_EQ(cj, 0);

    double dmin = 0.6, rgb[3] = {1, 2, 3};
    ColorBubble3D(t.get(), 0.5, 0.5, b, &dmin, rgb);
    Bubble3D(t.get(), b, 0.5, 0.5, &dmin);
    EXPECT_EQ(dmin, 0.6);
    EXPECT_EQ(rgb[0], 1.0);
  }
}

TEST(Cellular, FacetSpacesTurnAndScaleByTheWinningCellsWeight)
{
  // Every direction is (0, 0), so the points sit at the cell centres. All
  // permutation entries are 600 except entry 600, which is 100: the sample's
  // own cell (0, 0) has row key 600 and weight p = 100 with perm[p] = 600, so
  // a scale taken from p and one taken from perm[p] differ. The own cell
  // wins: its measure is 0.05 + 100 / 4096, every other cell's is above 0.6.
  auto t = seededTables();
  for (int32_t& p : t->perm)
    p = 600;
  t->perm[600] = 100;
  for (auto& u : t->unitDir2D)
    u[0] = u[1] = 0.0f;
  const double x = 0.7, y = 0.6, dx = 0.2, dy = 0.1;

  struct Case
  {
    double scaleAmount, turnAmount;
  };
  for (Case c : {Case{0.0, 1.0}, Case{1.0, 0.0}, Case{0.5, -2.5}, Case{-1.0, 3.0}}) {
    SCOPED_TRACE(testing::Message() << c.scaleAmount << ", " << c.turnAmount);
    double a = (100 - 512) / 512.0 * c.turnAmount;
    double f = 600 / 1024.0 * c.scaleAmount + 1.0;
    double ox, oy;
    Jitter_FacetSpaceRotate(t.get(), x, y, &ox, &oy, c.scaleAmount, c.turnAmount);
    // The table sine is exact to about 1e-3 radians.
    EXPECT_NEAR(ox, f * (dx * std::cos(a) - dy * std::sin(a)), 2e-3);
    EXPECT_NEAR(oy, f * (dx * std::sin(a) + dy * std::cos(a)), 2e-3);

    // The plain facet space scales by its own weight p, not perm[p].
    Jitter_FacetSpace(t.get(), x, y, &ox, &oy, c.scaleAmount);
    EXPECT_NEAR(ox, dx * (1.0 + 100 / 1024.0 * c.scaleAmount), 1e-12);
    EXPECT_NEAR(oy, dy * (1.0 + 100 / 1024.0 * c.scaleAmount), 1e-12);
  }
}
