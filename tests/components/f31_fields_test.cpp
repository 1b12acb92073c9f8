// The f31 arithmetic, sine, cell, altitude and escape-time members: names
// and labels byte for byte, the ends of their maps, then the values that
// pin each formula down (origins, lattice points, bands, markers, escape
// counts) and the ends of the iteration counts.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "components/f31/f31_arith.h"
#include "noise/tables.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr double kPi = std::numbers::pi;

// One sample of member `id` with A, B, C at (x, y, z).
class F31bench
{
public:
  gfunc* bind(int16_t id, double a, double b, double c)
  {
    gfunc* g = h.bind(kFamily31, id);
    h.setParams(a, b, c);
    h.prepare();
    return g;
  }
  double at(double x, double y, double z)
  {
    h.setInput(0, KVtestInput::samples({x}));
    h.setInput(1, KVtestInput::samples({y}));
    h.setInput(2, KVtestInput::samples({z}));
    return h.run(1)[0];
  }
  KVmemberHarness h;
};

TEST(F31Fields, NamesLabelsAndMapEnds)
{
  const KVnameRow names[] = {
      {0, " Ax+By+Cz", 3, {"Scale X ", "Scale Y ", "Scale Z "}},
      {1, " Facet pers", 3, {"Frequency ", "Z scale ", "Contrast "}},
      {2, " x * y * z", 1, {"Scale ", "", ""}},
      {3, " Distance(x,y,z) ", 0, {"", "", ""}},
      {4, " 3D Sin x*Sin y*Sin z", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {5, " 3D Sin x+Sin y+Sin z", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {6, " z Sin shader", 3, {"Amplitude ", "Z scale ", "Contrast "}},
      {7, " z Circles", 3, {"Frequency ", "Contrast ", "Altitude "}},
      {8, " z Blend", 1, {"Amplitude ", "", ""}},
      {9, " Fractal Map", 3, {"Real ", "Imaginary ", "Z displace "}},
      {10, " Julia sets", 3, {"Real ", "Imaginary ", "Z displace "}},
      {11, " z Bubbles ", 3, {"Scale ", "Contrast ", "Phase "}},
      {12, " Min <-> Max", 3, {"Amplitude ", "Min to Max ", "Smoothing "}},
      {13, " Max(x,y,z)", 1, {"Amplitude ", "", ""}},
      {14, " Ferro magnet model", 3, {"Real seed ", "Imaginary seed ", "Z displace "}},
      {15, " Mandelbrot set", 3, {"Scale ", "Z distortion ", "Contrast "}},
      {20, " (Ax+By+Cz)/Norm", 3, {"Scale X ", "Scale Y ", "Scale Z "}},
      {21, " (x:y) * z", 2, {"Balance x y ", "Amplitude z ", ""}},
      {27, " Pack(x,y,z)", 0, {"", "", ""}},
      {32, " x*y + z", 2, {"Amplitude x*y ", "Amplitude z ", ""}},
      {40, " Displace by alt (z) ", 3, {"Altitude fx ", "Altitude fy ", "Range "}},
      {41, " Blend by alt (z) ", 3, {"Altitude fx ", "Altitude fy ", "Range "}},
      {42, " Random Mix", 3, {"Amount ", "Phase ", "Frequency "}},
  };
  const KVrangeRow ranges[] = {
      {0, {1, 1, 1}, {-8, -8, -8}, {8, 8, 8}},
      {1, {1, 0, 0}, {0, -0.5, 0}, {2, 0.5, 1}},
      {6, {0.5, 0.75, 1}, {0.5, -2, -2}, {3, 2, 2}},
      {7, {0.5, 0.75, 1.5}, {0.0625, 0.5, -2}, {6.283185307179586, 2, 2}},
      {12, {1, 1, 0.5}, {0.5, 0, 0}, {1.5, 1, 4}},
      {15, {1, 0, 2}, {-2, -2, 0.125}, {2, 2, 16}},
      {20, {0.4, 0.3, -0.3}, {-2, -2, -2}, {2, 2, 2}},
      {40, {0, 4, 2}, {-16, -4, 0.1}, {16, 32, 8}},
      {41, {0, 4, 2}, {-16, -8, 0.1}, {16, 32, 8}},
      {42, {1, 0, 2}, {0, -32, 0}, {2, 32, 16}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily31, row);
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h, kFamily31, row);
  // Distance and Pack keep their parameters through message 4.
  for (int16_t id : {int16_t(3), int16_t(27)}) {
    gfunc* g = h.bind(kFamily31, id);
    g->A = 7;
    double n[3] = {0.5, 0.5, 0.5};
    h.send(kMsgFromNormalized, &n[0], &n[1], &n[2]);
    EXPECT_EQ(g->A, 7) << id;
  }
}

TEST(F31Fields, ArithmeticValues)
{
  F31bench b;
  b.bind(20, 0.4, 0.3, -0.3);
  EXPECT_EQ(b.at(0, 0, 0), 0);
  EXPECT_DOUBLE_EQ(b.at(0.001, 0, 0), 0.4 * 0.001 * 128);
  b.bind(8, 0.5, 0, 0);  // 2A = 1: w = clamp(z, 0, 1)
  EXPECT_DOUBLE_EQ(b.at(2, 6, 0.25), 3);
  EXPECT_DOUBLE_EQ(b.at(2, 6, 7), 6);
  b.bind(12, 2, 0, 0.5);
  EXPECT_EQ(b.at(3, -1, 2), -2);
  b.bind(12, 1, 1, 0);
  EXPECT_EQ(b.at(3, -1, 2.5), 3);
  // Each pattern of missing inputs, A in all.
  struct Row
  {
    double x, y, z, out;
  };
  const Row rows[] = {
      {1, 2, 3, 2 * 3}, {1, 2, M, 2 * 2}, {1, M, 3, 2 * 1},
      {M, 2, 3, 2 * 3}, {M, 2, M, 2 * 2}, {M, M, 3, 2 * 3},
  };
  b.bind(12, 2, 1, 0);
  for (const Row& r : rows)
    EXPECT_EQ(b.at(r.x, r.y, r.z), r.out) << r.x << " " << r.y << " " << r.z;
  EXPECT_EQ(b.at(M, M, M), 2 * M);
  // Smooth maximum: continuous at both ends of its band.
  EXPECT_EQ(f31_smoothMax(1.25, 1, 1), 1.25);
  EXPECT_EQ(f31_smoothMax(0.75, 1, 1), 1);
  // Pack copies the three inputs, markers too.
  gfunc* g = b.bind(27, 0, 0, 0);
  b.at(M, 4, M);
  EXPECT_EQ(g->outputs[0][0], M);
  EXPECT_EQ(g->outputs[1][0], 4);
  EXPECT_EQ(g->outputs[2][0], M);
  // The family's marker rule.
  b.bind(0, 1, 1, 1);
  EXPECT_EQ(b.at(M, 1, 1), M);
}

TEST(F31Fields, SineCellAndAltitudeValues)
{
  F31bench b;
  for (int16_t id : {int16_t(4), int16_t(5)}) {
    b.bind(id, 4, 0, 2);
    EXPECT_EQ(b.at(0, 0, 0), 0) << id;
  }
  b.bind(6, 1, 0, 2);
  const double s = TableSin((0.3 + 0.5 + 0.7) * 0.25);
  EXPECT_DOUBLE_EQ(b.at(0.3, 0.5, 0.7), 2 * (0.25 * s));
  b.bind(7, 0.5, 0.75, 1.5);
  const double r = (TableSin(0.25 * 0.4 + 1.5) + 1) * 0.5 * 0.5 + 0.125;
  for (double x : {0.0, -1.5, 2.0})
    EXPECT_DOUBLE_EQ(b.at(x, -0.5, 0.4), r * 0.75) << x;
  b.bind(1, 1, 0.5, 0.3);
  EXPECT_EQ(b.at(0.4, 0.2, -2), 0);
  // Displace by alt never lowers z (x negative); Blend by alt bands.
  b.bind(40, 0, 4, 2);
  for (double z : {-3.0, -1.0, 0.0, 1.5, 3.9})
    EXPECT_GE(b.at(-5, 0, z), z) << z;
  b.bind(41, 0, 4, 2);
  EXPECT_EQ(b.at(7, 9, 0.5), 7);
  EXPECT_EQ(b.at(7, 9, 12), 9);
  // Random Mix: a small amount of noise keeps x; the same master point, the
  // same choice.
  b.bind(42, 0, 0, 2);
  EXPECT_EQ(b.at(1.5, 8, -8), 1.5);
  gfunc* g = b.bind(42, 2, 3, 16);
  for (int i = 0; i < kBatchCapacity; ++i) {
    g->doc->master[0][i] = i < 8 ? 0.7 : 31.0 * i;
    g->doc->master[1][i] = i < 8 ? -2.2 : 17.0 * i;
  }
  b.h.setInput(0, KVtestInput::fill(0));
  b.h.setInput(1, KVtestInput::fill(1));
  b.h.setInput(2, KVtestInput::fill(-1));
  const KVbatch out = b.h.run();
  for (int i = 1; i < 8; ++i)
    EXPECT_EQ(out[i], out[0]);
}

TEST(F31Fields, EscapeTime)
{
  F31bench b;
  // Julia constants rescaled: lengths below 0.5 to 0.5, above 1.125 to 1.25.
  const double lengths[][2] = {{0, 0}, {0.3, 0.5}, {0.8, 0.8}, {1.2, 1.25}};
  for (const auto& l : lengths) {
    gfunc* g = b.bind(10, l[0] * kPi / 2, 0, 0);
    EXPECT_NEAR(f31_k(g).K[0], l[1], 1e-12) << l[0];
  }
  b.bind(15, 1, 0, 2);
  EXPECT_EQ(b.at(0.5, 0, 0), 0);   // c = 0 stays bounded
  EXPECT_EQ(b.at(20, 0, 0), 0.5);  // the second iterate escapes
  // Fractal Map: an escaping sample gives a multiple of 1/32 below N/32.
  b.h.doc()->fractal.octaves = 8;
  b.bind(9, 1, 1, 0);
  for (double x : {12.0, 40.0, -25.0}) {
    const double v = b.at(x, 0.6 * x, 0.2);
    EXPECT_EQ(v * 32, std::floor(v * 32)) << x;
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 7.0 / 32);
  }
  // Octave counts 0 and 32767 end (32767 runs as 256).
  for (int16_t octaves : {int16_t(0), int16_t(32767), int16_t(-3)}) {
    b.h.doc()->fractal.octaves = octaves;
    for (int16_t id : {int16_t(9), int16_t(10), int16_t(14), int16_t(15)}) {
      b.bind(id, -1.25, 0, 0);
      b.at(0.01, 0.02, 0);
    }
  }
  b.h.doc()->fractal.octaves = 0;
  b.bind(15, 1, 0, 2);
  EXPECT_EQ(b.at(0.5, 0, 0), 0);
}

}  // namespace
