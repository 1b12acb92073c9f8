#include "noise/noises.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

#include "noise_test_support.h"

namespace {

using Tab = const KVtables*;

// Every member seen as a scalar function of (x, y, z); vector members show
// one of their outputs. `dims` is the number of coordinates the member reads.
struct Member
{
  const char* name;
  double (*eval)(Tab, double, double, double);
  int dims;
};

double out1Of2(void (*f)(Tab, double, double, double*, double*, double), Tab t, double x, double y,
               int which)
{
  double o[2] = {0, 0};
  f(t, x, y, &o[0], &o[1], 1.5);
  return o[which];
}

const Member kMembers[] = {
    {"frandom1D_linear", [](Tab t, double x, double, double) { return frandom1D_linear(t, x); }, 1},
    {"frandom1D", [](Tab t, double x, double, double) { return frandom1D(t, x); }, 1},
    {"frandom1D_balanced", [](Tab t, double x, double, double) { return frandom1D_balanced(t, x); },
     1},
    {"fPerlinNoise1D", [](Tab t, double x, double, double) { return fPerlinNoise1D(t, x); }, 1},
    {"frandom2D", [](Tab t, double x, double y, double) { return frandom2D(t, x, y); }, 2},
    {"ftrirandom2D", [](Tab t, double x, double y, double) { return ftrirandom2D(t, x, y); }, 2},
    {"frandom2DUnit", [](Tab t, double x, double y, double) { return frandom2DUnit(t, x, y); }, 2},
    {"frandom2DUnitgrain",
     [](Tab t, double x, double y, double) { return frandom2DUnitgrain(t, x, y); }, 2},
    {"frandom2D_Unitlinear",
     [](Tab t, double x, double y, double) { return frandom2D_Unitlinear(t, x, y); }, 2},
    {"frandom2DVector2D.y",
     [](Tab t, double x, double y, double) { return out1Of2(frandom2DVector2D, t, x, y, 1); }, 2},
    {"flinrandomVector.x",
     [](Tab t, double x, double y, double) { return out1Of2(flinrandomVector, t, x, y, 0); }, 2},
    {"fPerlinNoise2D_DBL.2",
     [](Tab t, double x, double y, double) { return out1Of2(fPerlinNoise2D_DBL, t, x, y, 1); }, 2},
    {"fPerlinNoise2DVector2D.2",
     [](Tab t, double x, double y, double) { return out1Of2(fPerlinNoise2DVector2D, t, x, y, 1); },
     2},
    {"frandom2DVector3D.3",
     [](Tab t, double x, double y, double) {
       double o[3];
       frandom2DVector3D(t, x, y, &o[0], &o[1], &o[2], 2.0);
       return o[2];
     },
     2},
    {"flinrandomVector3D.3",
     [](Tab t, double x, double y, double) {
       double o[3];
       flinrandomVector3D(t, x, y, &o[0], &o[1], &o[2], 2.0);
       return o[2];
     },
     2},
    {"fPerlinNoise2DVector3D.3",
     [](Tab t, double x, double y, double) {
       double o[3];
       fPerlinNoise2DVector3D(t, x, y, &o[0], &o[1], &o[2]);
       return o[2];
     },
     2},
    {"fPerlinNoise2D", [](Tab t, double x, double y, double) { return fPerlinNoise2D(t, x, y); },
     2},
    {"fPerlinNoise2D_cubed",
     [](Tab t, double x, double y, double) { return fPerlinNoise2D_cubed(t, x, y); }, 2},
    {"fPerlinLFO", [](Tab t, double x, double y, double) { return fPerlinLFO(t, x, y); }, 2},
    {"fUnitPerlinNoise2D",
     [](Tab t, double x, double y, double) { return fUnitPerlinNoise2D(t, x, y); }, 2},
    {"fRidgedPerlinNoise2D",
     [](Tab t, double x, double y, double) { return fRidgedPerlinNoise2D(t, x, y); }, 2},
    {"fSRidgednoise", [](Tab t, double x, double y, double) { return fSRidgednoise(t, x, y); }, 2},
    {"fsparcePerlinNoise2D",
     [](Tab t, double x, double y, double) { return fsparcePerlinNoise2D(t, x, y, -0.2); }, 2},
    {"fPerlinDunes", [](Tab t, double x, double y, double) { return fPerlinDunes(t, x, y, 0.7); },
     2},
    {"fUnitPerlinSaw2D",
     [](Tab t, double x, double y, double) { return fUnitPerlinSaw2D(t, x, y); }, 2},
    {"frandom2D_Unitlinear2",
     [](Tab t, double x, double y, double) { return frandom2D_Unitlinear2(t, x, y); }, 2},
    {"frandom3D", [](Tab t, double x, double y, double z) { return frandom3D(t, x, y, z); }, 3},
    {"ftrirandom3D", [](Tab t, double x, double y, double z) { return ftrirandom3D(t, x, y, z); },
     3},
    {"frandom3DVector3D.3",
     [](Tab t, double x, double y, double z) {
       double o[3];
       frandom3DVector3D(t, x, y, z, &o[0], &o[1], &o[2], 2.0);
       return o[2];
     },
     3},
    {"fUnitPerlinNoise3D",
     [](Tab t, double x, double y, double z) { return fUnitPerlinNoise3D(t, x, y, z); }, 3},
    {"fPerlinNoise3D",
     [](Tab t, double x, double y, double z) { return fPerlinNoise3D(t, x, y, z); }, 3},
    {"fPerlinNoise3DVector3D.3",
     [](Tab t, double x, double y, double z) {
       double o[3];
       fPerlinNoise3DVector3D(t, x, y, z, &o[0], &o[1], &o[2], 2.0);
       return o[2];
     },
     3},
    {"fUnitPerlinCracks3D",
     [](Tab t, double x, double y, double z) { return fUnitPerlinCracks3D(t, x, y, z); }, 3},
    {"fUnitPerlinSaw3D",
     [](Tab t, double x, double y, double z) { return fUnitPerlinSaw3D(t, x, y, z); }, 3},
};

double evalOnAxis(const Member& m, Tab t, int axis, double v)
{
  double p[3] = {0.37, -0.61, 0.83};
  p[axis] = v;
  return m.eval(t, p[0], p[1], p[2]);
}

TEST(Noises, ContinuousAcrossCellBorders)
{
  auto t = seededTables();
  const double borders[] = {-513, -257, -256, -2, -1, 0, 1, 255, 256};
  for (const Member& m : kMembers) {
    SCOPED_TRACE(m.name);
    for (int axis = 0; axis < m.dims; axis++) {
      for (double b : borders) {
        double at = evalOnAxis(m, t.get(), axis, b);
        EXPECT_NEAR(evalOnAxis(m, t.get(), axis, b - 1e-9), at, 1e-4)
            << "axis " << axis << " at " << b;
        EXPECT_NEAR(evalOnAxis(m, t.get(), axis, b + 1e-9), at, 1e-4)
            << "axis " << axis << " at " << b;
      }
    }
  }
}

TEST(Noises, CoordinatesBeyondTheLatticeGiveZero)
{
  auto t = seededTables();
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        HUGE_VAL,
                        -HUGE_VAL,
                        1e250,
                        -1e250,
                        3e9,
                        2147483648.0,
                        -2147483648.0};
  for (const Member& m : kMembers) {
    SCOPED_TRACE(m.name);
    for (int axis = 0; axis < m.dims; axis++)
      for (double v : bad)
        EXPECT_EQ(evalOnAxis(m, t.get(), axis, v), 0.0) << v;
  }
}

TEST(Noises, ExtremeCellsInsideTheRangeAreFinite)
{
  // The neighbour of the last cell wraps; nothing overflows.
  auto t = seededTables();
  const double edge[] = {2147483647.5, -2147483647.5, 2147483647.0, -2147483646.25};
  for (const Member& m : kMembers) {
    SCOPED_TRACE(m.name);
    for (int axis = 0; axis < m.dims; axis++)
      for (double v : edge)
        EXPECT_TRUE(std::isfinite(evalOnAxis(m, t.get(), axis, v))) << v;
  }
}

TEST(Noises, VectorMembersZeroEveryOutputOutsideTheLattice)
{
  auto t = seededTables();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  double o[3] = {7, 7, 7};
  frandom3DVector3D(t.get(), 0.5, nan, 0.5, &o[0], &o[1], &o[2], 1.0);
  EXPECT_EQ(o[0] + o[1] + o[2], 0.0);
  double p[2] = {7, 7};
  fPerlinNoise2D_DBL(t.get(), 1e300, 0.5, &p[0], &p[1], 1.0);
  EXPECT_EQ(p[0] + p[1], 0.0);
  double q[2] = {7, 7};
  fPerlinNoise3DVector3D(t.get(), 0.5, 0.5, -5e9, &q[0], &q[1], nullptr, 1.0);
  EXPECT_EQ(q[0] + q[1], 0.0);
}

// Table indices written out from the hash definitions.
int P1(Tab t, int i)
{
  return t->perm[(t->perm[i & 1023] + (i >> 8)) & 1023];
}
int H2(Tab t, int x, int y)
{
  return (y + t->perm[x & 1023] + (x >> 8)) & 1023;
}
int H2coarse(Tab t, int x, int y, int mask)
{
  return (y + t->perm[x & 1023] + (x >> 9)) & mask;
}
int H3(Tab t, int x, int y, int z, int mask)
{
  return (y + t->perm[(z + t->perm[x & 1023] + (x >> 9)) & 1023]) & mask;
}

struct LatticeCase
{
  const char* name;
  double (*actual)(Tab, int, int, int);
  double (*expected)(Tab, int, int, int);
};

const LatticeCase kLatticeCases[] = {
    {"frandom1D", [](Tab t, int x, int, int) { return frandom1D(t, x); },
     [](Tab t, int x, int, int) { return double(P1(t, x)); }},
    {"frandom1D_balanced", [](Tab t, int x, int, int) { return frandom1D_balanced(t, x); },
     [](Tab t, int x, int, int) { return P1(t, x) - 511.5; }},
    {"frandom1D_linear", [](Tab t, int x, int, int) { return frandom1D_linear(t, x); },
     [](Tab t, int x, int, int) { return P1(t, x) - 511.5; }},
    {"fPerlinNoise1D", [](Tab t, int x, int, int) { return fPerlinNoise1D(t, x); },
     [](Tab, int, int, int) { return 0.0; }},
    {"frandom2D", [](Tab t, int x, int y, int) { return frandom2D(t, x, y); },
     [](Tab t, int x, int y, int) { return double(t->perm[H2(t, x, y)]); }},
    {"ftrirandom2D", [](Tab t, int x, int y, int) { return ftrirandom2D(t, x, y); },
     [](Tab t, int x, int y, int) { return double(t->perm[H2coarse(t, x, y, 1023)]); }},
    {"frandom2DUnit", [](Tab t, int x, int y, int) { return frandom2DUnit(t, x, y); },
     [](Tab t, int x, int y, int) { return t->rndVec3D[H2(t, x, y)][0]; }},
    {"frandom2DUnitgrain", [](Tab t, int x, int y, int) { return frandom2DUnitgrain(t, x, y); },
     [](Tab t, int x, int y, int) {
       const double* r = t->rndVec3D[H2(t, x, y)];
       return std::fabs(r[0]) * std::fabs(r[1]);
     }},
    {"frandom2D_Unitlinear", [](Tab t, int x, int y, int) { return frandom2D_Unitlinear(t, x, y); },
     [](Tab t, int x, int y, int) { return t->rndVec3D[H2(t, x, y)][1]; }},
    {"frandom2DVector2D",
     [](Tab t, int x, int y, int) {
       double a, b;
       frandom2DVector2D(t, x, y, &a, &b, 2.0);
       return a + 3 * b;
     },
     [](Tab t, int x, int y, int) {
       const float* g = t->grad2D[H2(t, x, y)];
       return 2.0 * g[0] + 6.0 * g[1];
     }},
    {"frandom2DVector3D",
     [](Tab t, int x, int y, int) {
       double a, b, c;
       frandom2DVector3D(t, x, y, &a, &b, &c, 2.0);
       return c;
     },
     [](Tab t, int x, int y, int) { return 2.0 * t->grad2D[(H2(t, x, y) + 517) & 1023][0]; }},
    {"flinrandomVector",
     [](Tab t, int x, int y, int) {
       double a, b;
       flinrandomVector(t, x, y, &a, &b, 2.0);
       return a + 3 * b;
     },
     [](Tab t, int x, int y, int) {
       const float* u = t->unitDir2D[H2(t, x, y) & 255];
       return 2.0 * u[0] + 6.0 * u[1];
     }},
    {"fPerlinNoise2D", [](Tab t, int x, int y, int) { return fPerlinNoise2D(t, x, y); },
     [](Tab, int, int, int) { return 0.0; }},
    {"fPerlinNoise2D_cubed", [](Tab t, int x, int y, int) { return fPerlinNoise2D_cubed(t, x, y); },
     [](Tab, int, int, int) { return 0.0; }},
    {"fPerlinLFO", [](Tab t, int x, int y, int) { return fPerlinLFO(t, x, y); },
     [](Tab, int, int, int) { return 0.0; }},
    {"fUnitPerlinNoise2D", [](Tab t, int x, int y, int) { return fUnitPerlinNoise2D(t, x, y); },
     [](Tab t, int x, int y, int) { return t->planeVec3D[H2coarse(t, x, y, 255)][2]; }},
    {"fRidgedPerlinNoise2D", [](Tab t, int x, int y, int) { return fRidgedPerlinNoise2D(t, x, y); },
     [](Tab t, int x, int y, int) {
       double r = 1 - std::fabs(t->planeVec3D[H2coarse(t, x, y, 255)][2]);
       return r * r * 256;
     }},
    {"fPerlinDunes", [](Tab t, int x, int y, int) { return fPerlinDunes(t, x, y, 0.5); },
     [](Tab, int x, int, int) { return (x & 1) ? 0.75 : -0.75; }},
    {"fPerlinNoise2DVector2D",
     [](Tab t, int x, int y, int) {
       double a, b;
       fPerlinNoise2DVector2D(t, x, y, &a, &b, 2.0);
       return b;
     },
     [](Tab t, int x, int y, int) {
       return 2.0 * t->planeVec3D[(H2coarse(t, x, y, 255) + 123) & 255][2];
     }},
    {"fUnitPerlinSaw2D", [](Tab t, int x, int y, int) { return fUnitPerlinSaw2D(t, x, y); },
     [](Tab, int, int, int) { return 0.5; }},
    {"frandom2D_Unitlinear2",
     [](Tab t, int x, int y, int) { return frandom2D_Unitlinear2(t, x, y); },
     [](Tab, int, int, int) { return 0.0; }},
    {"frandom3D", [](Tab t, int x, int y, int z) { return frandom3D(t, x, y, z); },
     [](Tab t, int x, int y, int z) { return double(t->perm[H3(t, x, y, z, 1023)]); }},
    {"ftrirandom3D", [](Tab t, int x, int y, int z) { return ftrirandom3D(t, x, y, z); },
     [](Tab t, int x, int y, int z) { return double(t->perm[H3(t, x, y, z, 1023)]); }},
    {"frandom3DVector3D",
     [](Tab t, int x, int y, int z) {
       double a, b, c;
       frandom3DVector3D(t, x, y, z, &a, &b, &c, 2.0);
       return c;
     },
     [](Tab t, int x, int y, int z) {
       return 2.0 * t->grad2D[(H3(t, x, y, z, 1023) + 517) & 1023][1];
     }},
    {"fUnitPerlinNoise3D",
     [](Tab t, int x, int y, int z) { return fUnitPerlinNoise3D(t, x, y, z); },
     [](Tab, int, int, int) { return 0.0; }},
    {"fUnitPerlinCracks3D",
     [](Tab t, int x, int y, int z) { return fUnitPerlinCracks3D(t, x, y, z); },
     [](Tab, int, int, int) { return 0.5; }},
    {"fUnitPerlinSaw3D", [](Tab t, int x, int y, int z) { return fUnitPerlinSaw3D(t, x, y, z); },
     [](Tab, int, int, int) { return 0.5; }},
};

TEST(Noises, LatticePointsReadTheirCorner)
{
  // Negative coordinates reach the lattice point as the far corner of the
  // cell below.
  auto t = seededTables();
  const int points[][3] = {{0, 0, 0},    {3, 5, 2},      {-3, 5, -1},        {4, -7, 9},
                           {-1, -1, -1}, {-300, 600, 7}, {700, -1025, -513}, {-2, -2, 300}};
  for (const LatticeCase& c : kLatticeCases) {
    SCOPED_TRACE(c.name);
    for (const auto& p : points)
      EXPECT_NEAR(c.actual(t.get(), p[0], p[1], p[2]), c.expected(t.get(), p[0], p[1], p[2]), 1e-9)
          << "at (" << p[0] << ", " << p[1] << ", " << p[2] << ")";
  }
}

TEST(Noises, ValuesBetweenLatticePoints)
{
  auto t = seededTables();
  EXPECT_DOUBLE_EQ(frandom1D_linear(t.get(), 3.5), (P1(t.get(), 3) + P1(t.get(), 4)) / 2.0 - 511.5);
  // Entry 1024 of perm is the y + 1 neighbour of entry 1023.
  int iy = (1023 - t->perm[5]) & 1023;
  ASSERT_EQ(H2(t.get(), 5, iy), 1023);
  EXPECT_NEAR(frandom2D(t.get(), 5.0, iy + 1 - 1e-12), t->perm[0], 1e-6);
}

struct RangeCase
{
  const char* name;
  double (*eval)(Tab, double, double, double);
  double lo, hi;
  bool hiOpen;
};

const RangeCase kRanges[] = {
    {"frandom1D", [](Tab t, double x, double, double) { return frandom1D(t, x); }, 0, 1023, false},
    {"frandom1D_balanced", [](Tab t, double x, double, double) { return frandom1D_balanced(t, x); },
     -511.5, 511.5, false},
    {"frandom2D", [](Tab t, double x, double y, double) { return frandom2D(t, x, y); }, 0, 1023,
     false},
    {"frandom3D", [](Tab t, double x, double y, double z) { return frandom3D(t, x, y, z); }, 0,
     1023, false},
    {"ftrirandom2D", [](Tab t, double x, double y, double) { return ftrirandom2D(t, x, y); }, 0,
     1023, false},
    {"ftrirandom3D", [](Tab t, double x, double y, double z) { return ftrirandom3D(t, x, y, z); },
     0, 1023, false},
    {"frandom2DUnit", [](Tab t, double x, double y, double) { return frandom2DUnit(t, x, y); }, -1,
     1, true},
    {"frandom2DUnitgrain",
     [](Tab t, double x, double y, double) { return frandom2DUnitgrain(t, x, y); }, 0, 1, false},
    {"fRidgedPerlinNoise2D",
     [](Tab t, double x, double y, double) { return fRidgedPerlinNoise2D(t, x, y); }, 0, 256,
     false},
    {"fSRidgednoise", [](Tab t, double x, double y, double) { return fSRidgednoise(t, x, y); }, 0,
     256, false},
    {"fsparcePerlinNoise2D",
     [](Tab t, double x, double y, double) { return fsparcePerlinNoise2D(t, x, y, 0.1); }, 0, 4,
     false},
};

TEST(Noises, StayInTheirRanges)
{
  auto t = seededTables();
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> coord(-700.0, 700.0);
  for (const RangeCase& r : kRanges) {
    SCOPED_TRACE(r.name);
    for (int i = 0; i < 4000; i++) {
      double v = r.eval(t.get(), coord(rng), coord(rng), coord(rng));
      ASSERT_GE(v, r.lo);
      if (r.hiOpen) {
        ASSERT_LT(v, r.hi);
      } else {
        ASSERT_LE(v, r.hi);
      }
    }
  }
}

TEST(Noises, ShapeIdentities)
{
  auto t = seededTables();
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-300.0, 300.0);
  for (int i = 0; i < 500; i++) {
    double x = coord(rng), y = coord(rng), z = coord(rng);
    EXPECT_EQ(fPerlinDunes(t.get(), x, y, 2.0), 0.0);
    EXPECT_EQ(fPerlinNoise3D(t.get(), x, y, z), 512.0 * fUnitPerlinNoise3D(t.get(), x, y, z));
  }
}

TEST(Noises, NullThirdOutputLeavesTheOthersAlone)
{
  auto tables = seededTables();
  using Vector3 = void (*)(Tab, double, double, double, double*, double*, double*);
  const Vector3 members[] = {
      [](Tab t, double x, double y, double, double* a, double* b, double* c) {
        frandom2DVector3D(t, x, y, a, b, c, 3.0);
      },
      [](Tab t, double x, double y, double, double* a, double* b, double* c) {
        flinrandomVector3D(t, x, y, a, b, c, 3.0);
      },
      [](Tab t, double x, double y, double, double* a, double* b, double* c) {
        fPerlinNoise2DVector3D(t, x, y, a, b, c);
      },
      [](Tab t, double x, double y, double z, double* a, double* b, double* c) {
        frandom3DVector3D(t, x, y, z, a, b, c, 3.0);
      },
      [](Tab t, double x, double y, double z, double* a, double* b, double* c) {
        fPerlinNoise3DVector3D(t, x, y, z, a, b, c, 3.0);
      },
  };
  for (Vector3 f : members) {
    double full[3], part[2];
    f(tables.get(), 12.3, -4.56, 7.89, &full[0], &full[1], &full[2]);
    f(tables.get(), 12.3, -4.56, 7.89, &part[0], &part[1], nullptr);
    EXPECT_EQ(part[0], full[0]);
    EXPECT_EQ(part[1], full[1]);
  }
}

// Tables whose plane gradients are all (0, 0, offset): the plane noises then
// equal the offset everywhere, which exposes their shaping.
std::unique_ptr<KVtables> flatPlaneTables(double offset)
{
  auto t = std::make_unique<KVtables>();
  for (int i = 0; i < 1025; i++)
    t->perm[i] = i & 1023;
  for (auto& v : t->planeVec3D) {
    v[0] = v[1] = 0.0;
    v[2] = offset;
  }
  return t;
}

TEST(Noises, RidgedShaping)
{
  struct Case
  {
    double n, ridged, sridged;
  } cases[] = {
      {0.0, 256.0, 0.99375 * 0.99375 * 256},               // the rounded crease: a' = 0.25
      {0.01, 0.99 * 0.99 * 256, 0.98975 * 0.98975 * 256},  // a = 0.4: a' = 0.41
      {0.1, 0.9 * 0.9 * 256, 0.9 * 0.9 * 256},
      {-0.5, 64.0, 64.0},
      {1.0, 0.0, 0.0},
      {1.5, 0.0, 0.0},
      {-3.0, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    auto t = flatPlaneTables(c.n);
    EXPECT_NEAR(fRidgedPerlinNoise2D(t.get(), 3.3, -8.1), c.ridged, 1e-9);
    EXPECT_NEAR(fSRidgednoise(t.get(), 3.3, -8.1), c.sridged, 1e-9);
  }
}

TEST(Noises, SparseShaping)
{
  struct Case
  {
    double n, density, expected;
  } cases[] = {
      {0.5, 0.3, (0.8 / 1.69) * (0.8 / 1.69)},
      {-0.2, 0.1, 0.0},
      {0.1, -0.1, 0.0},
      {1.5, -1.2, 56.25},  // (0.3 / 0.04)^2
      {1.5, -1.0, 0.0},    // no scale left: nothing, not a division by zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.density);
    auto t = flatPlaneTables(c.n);
    EXPECT_NEAR(fsparcePerlinNoise2D(t.get(), -7.7, 2.2, c.density), c.expected, 1e-9);
  }
}

TEST(Noises, GridInterpolation)
{
  // Rows (10, 20, 30) at v = 1, (40, 50, 60) at v = 0.5, (70, 80, 90) at v = 0.
  auto lerp9 = [](double u, double v) {
    return fPerlinLerp(u, v, 10, 20, 30, 40, 50, 60, 70, 80, 90);
  };
  struct Case
  {
    double u, v, expected;
  } cases[] = {
      {0.0, 1.0, 10},
      {1.0, 1.0, 30},
      {0.0, 0.0, 70},
      {1.0, 0.0, 90},
      {0.5, 0.5, 50},
      {0.25, 1.0, 15},  // halfway between the first two columns: smoothstep(0.5) =
                        // 0.5
      {0.0, 0.75, 25},  // halfway between the first two rows
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(lerp9(c.u, c.v), c.expected) << c.u << ", " << c.v;
}

}  // namespace
