// The f23 surface mappers at points where the geometry gives known answers:
// the direct lifts, rays from inside and outside the sphere, the plane, the
// tube, boxes and rooms, the parametric faces, and the rays that meet
// nothing (the marker on all three outputs).
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <span>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double k4Pi = 4 * std::numbers::pi;
constexpr double M = gINFINITY;

// One member at parameters A, B, C, with view origin (ox, oy, oz) and eye
// height h, sampled at (x, y).
struct RayCase
{
  const char* what;
  int16_t id;
  double A, B, C;
  dvector3d origin;
  double h;
  double x, y;
  double expected[3];
  double tolerance = 1e-12;  // absolute; markers are compared exactly
};

void expectCases(std::span<const RayCase> cases)
{
  KVmemberHarness h;
  for (const RayCase& c : cases) {
    SCOPED_TRACE(c.what);
    gfunc* g = h.bind(kFamily23, c.id);
    g->posOffset = c.origin;
    h.doc()->viewDepth = c.h;
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    for (int out = 0; out < 3; ++out) {
      const double v = h.at(c.x, c.y, out);
      if (c.expected[out] == M)
        EXPECT_EQ(v, M) << "output " << out;
      else
        EXPECT_NEAR(v, c.expected[out], c.tolerance) << "output " << out;
    }
  }
}

TEST(F23Surfaces, DirectLifts)
{
  const RayCase cases[] = {
      {"axonometric", 9, 2, 1, -1, {}, 0, 1, 3, {2, 3, -0.5}},
      {"z set passes the marker", 10, 1.5, -1, -1, {}, 0, M, -2, {M, -2, 1.5}},
      {"spherical at (-B, -C) is (0, 0, A)", 22, 3, 0.5, -1, {}, 0, -0.5, 1, {0, 0, 3}},
      {"spherical projects onto radius A", 22, 3, 0, 0, {}, 0, 4, 0, {2.4, 0, 1.8}},
      {"spherical of radius 0", 22, 0, 0.5, 0.5, {}, 0, 1, 2, {0, 0, 0}},
      {"spherical of radius 0 at its centre", 22, 0, 0.5, 0.5, {}, 0, -0.5, -0.5, {0, 0, 0}},
  };
  expectCases(cases);
}

TEST(F23Surfaces, SphereAndTube)
{
  const dvector3d o{0.5, -0.25, 10};
  const double e = 3 - 16;
  const double s = kPi / std::sqrt(1 + k4Pi * k4Pi);  // the ray through (ox + 1, oy)
  const RayCase cases[] = {
      {"eye at the centre, straight up",
       11,
       0.5,
       -0.25,
       6,
       o,
       3,
       0.5,
       -0.25,
       {0.5, -0.25, e + kPi}},
      {"eye at the centre, slanted",
       11,
       0.5,
       -0.25,
       6,
       o,
       3,
       1.5,
       -0.25,
       {0.5 + s, -0.25, e + k4Pi * s}},
      {"eye below the sphere", 11, 0, 0, 0, {}, 3, 0, 0, {0, 0, e + 16 - kPi}, 1e-12},
      {"ray beside the sphere", 11, 0, 0, 0, {}, 3, 40, 0, {M, M, M}},
      {"ellipsoid of radius pi is the sphere", 32, kPi, 1, 0, {}, 3, 0, 0, {0, 0, e + 16 - kPi}},
      {"ellipsoid, ray beside", 32, kPi, 1, 0, {}, 3, 0, 40, {M, M, M}},
      {"thin tube from outside, hit",
       13,
       0,
       0,
       0.125,
       {3, 0, 0},
       3,
       0,
       0,
       {3 - 3 * (17.25 / 18), 0, e + k4Pi * (17.25 / 18)}},
      {"thin tube from outside, beside the axis", 13, 0, 0, 0.125, {3, 0, 0}, 3, 3, 1, {M, M, M}},
      {"vertical ray misses the tube", 13, 0, 0, 1, {3, 0, 0}, 3, 3, 0, {M, M, M}},
  };
  expectCases(cases);
}

TEST(F23Surfaces, PlaneBoxesAndRooms)
{
  const double e = -16;
  const double w = 2 * kPi + 4;  // the room's W at C = 4
  const double r = 19.141592653589793 + 4;
  const double tSide = (10 - kPi) / 110;
  const RayCase cases[] = {
      {"plane hit", 12, 0, -2, 0, {}, 0, 0.5, -1, {2, -4, e + 4 * k4Pi}},
      {"plane behind the eye", 12, 0, -2, 0, {}, 0, 0.5, 1, {M, M, M}},
      {"ray parallel to the plane", 12, 0, -2, 0, {}, 0, 0.5, 0, {M, M, M}},
      {"ray inside the plane", 12, 0, 0, 0, {}, 0, 0.5, 0, {M, M, M}},
      {"box from below", 33, kPi, kPi, 0, {}, 0, 0, 0, {0, 0, e + 16 - kPi}},
      {"box, eye on a face plane, ray along it",
       33,
       kPi,
       kPi,
       0,
       {kPi, 0, 0},
       0,
       kPi,
       0,
       {M, M, M}},
      {"cube from below", 14, 0, 0, 0, {}, 0, 0, 0, {0, 0, e + 16 - kPi}},
      {"cube, ray beside", 14, 0, 0, 0, {}, 0, 60, 0, {M, M, M}},
      {"room from inside exits", 17, 4, 0, 4, {0, 0, 4}, 0, 0, 0, {0, 0, e + 2 * w}},
      {"face hit inside its square", 25, 0, 0, 0, {0, 0, 12}, 0, kPi, 1, {1, 1 / kPi, e + 4}},
      {"face plane hit outside its square", 25, 0, 0, 0, {0, 0, 12}, 0, 4 * kPi, 0, {M, M, M}},
      {"face behind the eye", 25, 0, 0, 0, {0, 0, 20}, 0, 0, 0, {M, M, M}},
      {"parametric cube, top face",
       23,
       0,
       0,
       0,
       {},
       0,
       0.5,
       0.25,
       {0.5 * (16 - kPi) / k4Pi, 0.25 * (16 - kPi) / k4Pi, e + 16 - kPi}},
      {"parametric cube, side face",
       23,
       0,
       0,
       16,
       {-10, 0, 0},
       0,
       100,
       0,
       {-k4Pi * tSide, 0, e + k4Pi * tSide}},
      {"parametric room, ceiling", 24, 0, 0, 4, {0, 0, 16}, 0, 0, 0, {0, 0, e + r}},
      {"parametric room, b wall",
       24,
       0,
       0,
       4,
       {0, 0, 16},
       0,
       0,
       10,
       {0, r / 20 * k4Pi, e + r / 20 * k4Pi}},
  };
  expectCases(cases);
}

// With the eye inside the room every ray finds a wall.
TEST(F23Surfaces, EveryRayFromInsideTheRoomHits)
{
  for (int16_t id : {int16_t(17), int16_t(24)}) {
    SCOPED_TRACE(id);
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily23, id);
    g->posOffset = dvector3d{0.5, -0.5, 16};
    h.setParams(id == 17 ? 4 : 0.3, 0.4, 4);
    h.prepare();
    KVgridView view;
    view.width = view.height = 24;
    view.xmin = -20, view.xmax = 20, view.ymax = 20;
    for (double v : h.grid(view, 2))
      EXPECT_LT(v, M);
  }
}

}  // namespace
