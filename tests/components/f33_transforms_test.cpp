// The f33 point transforms and perspective surfaces at points where the
// geometry gives known answers: names, labels and maps, the plain transforms
// with the marker on x, "3D sphere A" inside and outside its hemisphere, and
// the rays onto the plane, the tube, the sphere and the parametric planes,
// hits and misses (the marker on all three outputs).
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <numbers>
#include <span>

#include "engine/catalog.h"
#include "noise/noises.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double k4Pi = 4 * std::numbers::pi;
constexpr double M = gINFINITY;

struct Point
{
  double x, y, z;
};

// One member at A, B, C with view origin `origin` and view depth `depth`, one
// sample at p.
struct PointCase
{
  const char* what;
  int16_t id;
  double A, B, C;
  Point p;
  Point expected;
  dvector3d origin{};
  double depth = 0;
  double tolerance = 1e-12;  // absolute; markers are compared exactly
};

Point runOne(KVmemberHarness& h, const Point& p)
{
  h.setInput(0, KVtestInput::fill(p.x));
  h.setInput(1, KVtestInput::fill(p.y));
  h.setInput(2, KVtestInput::fill(p.z));
  h.run(1);
  const gfunc* g = h.component();
  return {g->outputs[0][0], g->outputs[1][0], g->outputs[2][0]};
}

void expectCases(std::span<const PointCase> cases)
{
  KVmemberHarness h;
  for (const PointCase& c : cases) {
    SCOPED_TRACE(c.what);
    gfunc* g = h.bind(kFamily33, c.id);
    g->posOffset = c.origin;
    h.doc()->viewDepth = c.depth;
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    const Point out = runOne(h, c.p);
    const double got[3] = {out.x, out.y, out.z};
    const double want[3] = {c.expected.x, c.expected.y, c.expected.z};
    for (int k = 0; k < 3; ++k) {
      if (want[k] == M)
        EXPECT_EQ(got[k], M) << "output " << k;
      else
        EXPECT_NEAR(got[k], want[k], c.tolerance) << "output " << k;
    }
  }
}

TEST(F33Transforms, NamesLabelsDefaultsAndMaps)
{
  KVmemberHarness h;
  const KVnameRow names[] = {
      {0, " 3D Scale", 3, {"Scale x ", "Scale y ", "Scale z "}},
      {1, " 3D Offset", 3, {"Offset x ", "Offset y ", "Offset z "}},
      {2, " 3D Rotate", 3, {"Angle xy ", "Angle xz ", "Angle yz "}},
      {3, " 3D Random vector", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {8, " 3D sphere A", 3, {" Angle xz ", " Amplitude y ", " Displace z "}},
      {12, " 3D tube", 3, {"Offset x ", "Offset y ", "Radius "}},
      {13, " 3D plane ", 3, {"Banking X ", "Plane Offset ", "Z slope "}},
      {14, " 3D sphere B", 3, {"Offset x ", "Offset y ", "Offset z "}},
      {17, " 3D Sines", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {24, " Normalise", 1, {"Magnitude ", "", ""}},
      {40, " 3D parametric face", 3, {"Angle xy ", "Angle zx ", "Offset z "}},
      {41, " 3D parametric plane", 3, {"Angle xy ", "Angle zx ", "Offset z "}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily33, row);

  const KVrangeRow ranges[] = {
      {0, {1, 1, 1}, {-8, -8, -8}, {8, 8, 8}},
      {1, {0, 0, 0}, {-32, -32, -32}, {32, 32, 32}},
      {2, {0, 0, 0}, {-2 * kPi, -2 * kPi, -2 * kPi}, {2 * kPi, 2 * kPi, 2 * kPi}},
      {3, {1, 0, 2}, {0, -32, 0.0625}, {2, 32, 16}},
      {8, {0, 1, 0}, {-k4Pi, 0, 0}, {k4Pi, 2, 1}},
      {12, {0, 0, 2 * kPi}, {-16, -16, 1}, {16, 16, k4Pi}},
      {13, {0, -2, 0}, {-kPi / 2, -16, -kPi}, {kPi / 2, 16, kPi}},
      {14, {0, 0, 0}, {-16, -16, -16}, {16, 16, 16}},
      {17, {4, 0, 2}, {0, -32, 0.0625}, {8, 32, 16}},
      {24, {1, -1, -1}, {0.5, 0, 0}, {8, 0, 0}},
      {40, {0, 0, 0}, {-2 * kPi, -2 * kPi, -32}, {2 * kPi, 2 * kPi, 32}},
      {41, {0, 0, 0}, {-2 * kPi, -2 * kPi, -32}, {2 * kPi, 2 * kPi, 32}},
  };
  for (const KVrangeRow& row : ranges) {
    gfunc* g = KV_expectDefaultsAndRangeEnds(h, kFamily33, row);
    // Message 5 inverts message 4.
    double a = 0, b = 0, c = 0;
    h.send(kMsgToNormalized, &a, &b, &c);
    EXPECT_NEAR(a, 1, 1e-12) << row.id;
    // Only the parametric face changes the input code.
    EXPECT_EQ(g->inputCode, row.id == 40 ? kConnOne : kConnThreeOut) << row.id;
    EXPECT_EQ(g->outputCode, kConnThreeOut) << row.id;
  }
}

TEST(F33Transforms, PlainTransforms)
{
  const PointCase cases[] = {
      {"scale", 0, 2, 3, -1, {1, 2, 3}, {2, 6, -3}},
      {"scale does not test y", 0, 2, 3, -1, {1, M, 3}, {2, 3 * M, -3}, {}, 0, 1e238},
      {"offset", 1, 0.5, -1, 2, {1, 2, 3}, {1.5, 1, 5}},
      {"rotate by nothing", 2, 0, 0, 0, {1, 2, 3}, {1, 2, 3}},
      {"rotate A = pi/2 in x-y", 2, kPi / 2, 0, 0, {1, 0, 0}, {0, 1, 0}},
      {"rotate B = pi/2 in x-z", 2, 0, kPi / 2, 0, {1, 0, 0}, {0, 0, 1}},
      {"rotate C = pi/2 in y-z", 2, 0, 0, kPi / 2, {0, 1, 0}, {0, 0, 1}},
      {"random vector of amplitude 0", 3, 0, 5, 2, {1, 2, 3}, {1, 2, 3}},
      {"sines", 17, 4, 0, 2, {0, kPi / 4, kPi / 2}, {4, 0, -4}},
      {"sines with a phase", 17, 1, kPi, 1, {0, kPi, 1}, {-1, 1, -std::cos(1.0)}},
      {"normalise at the origin", 24, 2, -1, -1, {0, 0, 0}, {0, 0, 0}},
      {"normalise onto radius 2", 24, 2, -1, -1, {3, 4, 0}, {1.2, 1.6, 0}},
      {"sphere A at its top", 8, 0, 1, 0, {0, 0, 0}, {0, 0, -kPi}},
      {"sphere A outside", 8, 0, 1, 0, {4, 0, 0}, {8, 0, 16 * kPi}},
      {"sphere A raised by C z", 8, 0, 0.5, 1, {0, 2, 1}, {0, 1, -std::sqrt(kPi * kPi + 1 - 4)}},
      {"sphere A turned by A", 8, kPi / 2, 1, 0, {0, 0, 0}, {-kPi, 0, 0}},
  };
  expectCases(cases);
}

// Every plain transform and sphere A gives the marker on all three outputs
// where x holds it, whatever y and z hold.
TEST(F33Transforms, MarkedXGivesTheMarker)
{
  KVmemberHarness h;
  for (const int16_t id : {0, 1, 2, 3, 8, 17, 24}) {
    SCOPED_TRACE(id);
    h.bind(kFamily33, id);
    h.setParams(1, 1, 1);
    h.prepare();
    for (const double x : {M, 2 * M}) {
      const Point out = runOne(h, {x, 1, 2});
      EXPECT_EQ(out.x, M);
      EXPECT_EQ(out.y, M);
      EXPECT_EQ(out.z, M);
    }
  }
}

TEST(F33Transforms, RandomVectorJittersByTheNoiseAtItsThreePoints)
{
  KVmemberHarness h;
  h.bind(kFamily33, 3);
  const double A = 1.5, B = 2.25, C = 0.75;
  h.setParams(A, B, C);
  h.prepare();
  const Point p{0.3, -1.7, 2.9};
  const Point out = runOne(h, p);
  const KVtables* t = &h.doc()->tables;
  const double s = A / 256;
  const double q1 = fPerlinNoise3D(t, B + C * p.x, C * p.y, C * p.z);
  const double q2 = fPerlinNoise3D(t, B + C * p.x + 735, C * p.z, C * p.y);
  const double q3 = fPerlinNoise3D(t, B + C * p.z, C * p.x, 735 + C * p.y);
  EXPECT_DOUBLE_EQ(out.x, p.x + s * (q1 + 512));
  EXPECT_DOUBLE_EQ(out.y, p.y + s * (q2 + 512));
  EXPECT_DOUBLE_EQ(out.z, p.z + s * (q3 + 512));
  // The three jitters differ, so the point moves off the diagonal.
  EXPECT_NE(q1, q2);
  EXPECT_NE(q2, q3);
}

TEST(F33Transforms, PlaneAndTube)
{
  const dvector3d away{10, 0, 0};
  const double planeDepth = 4 * k4Pi - 16;
  const PointCase cases[] = {
      // Bank and slope 0: the plane y = 2B seen from y = 0; t = (z/4 - 4) / dy.
      {"plane below", 13, 0, -2, 0, {0.5, -1, 0}, {2, -4, planeDepth}},
      {"plane raised by z", 13, 0, -2, 0, {0.5, -1, 8}, {1, -2, 2 * k4Pi - 16}},
      {"plane with a view depth", 13, 0, -2, 0, {0.5, -1, 0}, {2, -4, planeDepth + 3}, {}, 3},
      {"plane behind the eye", 13, 0, -2, 0, {0.5, 1, 0}, {M, M, M}},
      {"ray parallel to the plane", 13, 0, -2, 0, {0.5, 0, 0}, {M, M, M}},
      {"plane through the eye", 13, 0, 0, 0, {0.5, -1, 0}, {M, M, M}},
      // The tube of radius 2 pi around the eye's axis: t = 2 pi at distance 1.
      {"tube from inside", 12, 0, 0, 2 * kPi, {1, 0, 0}, {2 * kPi, 0, 8 * kPi * kPi - 16}},
      {"tube narrowed by z",
       12,
       0,
       0,
       2 * kPi,
       {1, 0, 3 * kPi * kPi},
       {kPi, 0, 4 * kPi * kPi - 16}},
      {"tube closed by z", 12, 0, 0, 2 * kPi, {1, 0, 5 * kPi * kPi}, {M, M, M}},
      {"ray down the tube's axis", 12, 0, 0, 2 * kPi, {0, 0, 0}, {M, M, M}},
      {"tube from outside, near wall", 12, 0, 0, 1, {9, 0, 0}, {1, 0, 9 * k4Pi - 16}, away},
      {"tube from outside, looking away", 12, 0, 0, 1, {11, 0, 0}, {M, M, M}, away},
  };
  expectCases(cases);
}

TEST(F33Transforms, SpheresAndParametricPlanes)
{
  const dvector3d centre{0, 0, 16};
  const PointCase cases[] = {
      // Eye at the sphere's centre: the hit lies pi along the ray, a quarter
      // of the step (0, 0, 4 pi).
      {"sphere B from its centre", 14, 0, 0, 0, {0, 0, 0}, {0, 0, kPi - 16}, centre},
      {"sphere B shrunk by z", 14, 0, 0, 0, {0, 0, 0.75 * kPi * kPi}, {0, 0, kPi / 2 - 16}, centre},
      {"sphere B closed by z", 14, 0, 0, 0, {0, 0, 1.01 * kPi * kPi}, {M, M, M}, centre},
      // Eye 16 below the centre: the near side at depth 16 - pi, reported
      // from the view depth less 16.
      {"sphere B from below", 14, 0, 0, 0, {0, 0, 0}, {0, 0, -kPi}},
      {"sphere B from below, view depth 5", 14, 0, 0, 0, {0, 0, 0}, {0, 0, 5 - kPi}, {}, 5},
      {"sphere B missed", 14, 0, 0, 0, {100, 0, 0}, {M, M, M}},
      {"sphere B moved onto the ray", 14, 100, 0, 0, {100, 0, 0}, {100, 0, -kPi}, {100, 0, 0}},
      // Untilted: the plane z = 16 above the eye, its coordinates x t, y t.
      {"parametric plane", 41, 0, 0, 0, {kPi / 4, -kPi / 8, 0}, {1, -0.5, 0}},
      {"parametric plane, view depth", 41, 0, 0, 0, {kPi / 4, -kPi / 8, 0}, {1, -0.5, 2}, {}, 2},
      {"parametric plane behind", 41, 0, 0, 0, {1, 1, 20}, {M, M, M}},
      {"parametric plane through the eye", 41, 0, 0, 16, {1, 1, 0}, {M, M, M}},
      {"parametric plane far out", 41, 0, 0, 0, {kPi, 0, 0}, {4, 0, 0}},
      {"parametric plane turned by A",
       41,
       kPi / 2,
       0,
       0,
       {1, 0, -2},
       {16 - 8 * kPi, 0, 8 * kPi - 16}},
      {"parametric face inside", 40, 0, 0, 0, {kPi / 4, -kPi / 8, 0}, {1, -0.5, 0}},
      {"parametric face beyond its side", 40, 0, 0, 0, {kPi, 0, 0}, {M, M, M}},
      {"parametric face beyond its top", 40, 0, 0, 0, {0, -kPi, 0}, {M, M, M}},
  };
  expectCases(cases);
}

// Inputs far out of range give a hit point of numbers or the marker, never a
// partial point or NaN.
TEST(F33Transforms, RaysNeverGiveAPartialPoint)
{
  KVmemberHarness h;
  const double odd[] = {M, -M, 1e308, -1e308, NAN, INFINITY, 0, 1e-300};
  for (const int16_t id : {12, 13, 14, 40, 41}) {
    SCOPED_TRACE(id);
    h.bind(kFamily33, id);
    h.prepare();
    for (const double x : odd)
      for (const double z : odd) {
        const Point out = runOne(h, {x, 0.5, z});
        const bool marker = out.x == M && out.y == M && out.z == M;
        EXPECT_TRUE(marker ||
                    (std::isfinite(out.x) && std::isfinite(out.y) && std::isfinite(out.z)))
            << x << " " << z << ": " << out.x << " " << out.y << " " << out.z;
      }
  }
}

// A batch of length 0 writes nothing.
TEST(F33Transforms, EmptyBatchWritesNothing)
{
  KVmemberHarness h;
  for (const int16_t id : {0, 1, 2, 3, 8, 12, 13, 14, 17, 24, 40, 41}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily33, id);
    h.prepare();
    for (auto& out : g->outputs)
      std::fill(std::begin(out), std::end(out), 42.0);
    EXPECT_EQ(h.run(0, 0)[0], 42.0);
    EXPECT_EQ(g->outputs[2][0], 42.0);
  }
}

}  // namespace
