// f42 complex maps at chosen points: products and quotients, the escape-time
// maps and their held Recursion counts, exp and sin, powers, the continued
// map over the octave count, the Moebius map and the Escher disks.
#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>

#include "components/common/mirrors3.h"
#include "components/f42/f42_complex.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kInf = gINFINITY;
using Cplx = std::complex<double>;

struct Point
{
  double x, y;
};

// Member `id` with A, B, C after messages 7 and 8, at one sample (x, y, z, w).
Point eval(KVmemberHarness& h, int16_t id, double A, double B, double C, double x, double y,
           double z, double w)
{
  h.bind(kFamily42, id);
  h.setParams(A, B, C);
  h.prepare();
  const double in[4] = {x, y, z, w};
  for (int k = 0; k < 4; ++k)
    h.setInput(k, KVtestInput::fill(in[k]));
  return {h.run(1, 0)[0], h.run(1, 1)[0]};
}

void expectPoint(Point p, double x, double y)
{
  EXPECT_NEAR(p.x, x, 1e-12 * (1 + std::fabs(x)));
  EXPECT_NEAR(p.y, y, 1e-12 * (1 + std::fabs(y)));
}

TEST(F42Maps, SumsProductsAndQuotients)
{
  KVmemberHarness h;
  expectPoint(eval(h, 0, 1.5, 0, 0, 1, 2, 3, -4), 6, -3);
  expectPoint(eval(h, 26, 2, -1, 0, 1, 2, 3, -4), 2 + 2 + 3, 4 - 1 - 4);
  expectPoint(eval(h, 1, 0, 0, 0, 1, 2, 3, -4), 3 + 8, 6 - 4);
  const Cplx q = Cplx(1, 2) / Cplx(3, -4);
  expectPoint(eval(h, 2, 0, 0, 0, 1, 2, 3, -4), q.real(), q.imag());
  // Dividing by a zero C gives (0, 0).
  expectPoint(eval(h, 2, 0, 0, 0, 1, 2, 0, 0), 0, 0);
}

TEST(F42Maps, AddNormalizedScalesByTheLengthOfC)
{
  KVmemberHarness h;
  const double r = 5, s = 2 / ((r - 1) * 0.5 + 1);
  expectPoint(eval(h, 16, 2, 0.5, 0, 1, 1, 3, 4), 1 + s * 3, 1 + s * 4);
  // B negative behaves as 0; B above 1 is held to 1 at message 8.
  expectPoint(eval(h, 16, 2, -3, 0, 1, 1, 3, 4), 7, 9);
  h.bind(kFamily42, 16);
  h.setParams(1, 4, 0);
  h.prepare();
  EXPECT_EQ(h.component()->B, 1);
  // A zero C adds nothing, even with B = 1.
  expectPoint(eval(h, 16, 2, 1, 0, 1.5, -2, 0, 0), 1.5, -2);
}

TEST(F42Maps, SquareMapAtRecursionZeroAndOne)
{
  KVmemberHarness h;
  // Recursion 0: Z^2 + C without an escape test, however far it lands.
  const Cplx z(3, 4), c(0.5, -0.25);
  const Cplx z1 = z * z + c;
  expectPoint(eval(h, 17, 0, 1, 0, 3, 4, 0.5, -0.25), z1.real(), z1.imag());
  // Recursion 1: Z2 when it stays within |Z|^2 <= 64.
  const Cplx small(0.3, 0.2), cs(-0.4, 0.1);
  const Cplx s1 = small * small + cs, s2 = s1 * s1 + cs;
  expectPoint(eval(h, 17, 1, 1, 0, 0.3, 0.2, -0.4, 0.1), s2.real(), s2.imag());
  // A stored count far beyond 128 runs as 128; NaN as 0.
  const Point held = eval(h, 17, 1e9, 1, 0, 0.1, 0.1, -0.5, 0.2);
  const Point top = eval(h, 17, 128, 1, 0, 0.1, 0.1, -0.5, 0.2);
  expectPoint(held, top.x, top.y);
  expectPoint(eval(h, 17, NAN, 1, 0, 3, 4, 0.5, -0.25), z1.real(), z1.imag());
}

// An orbit that leaves |Z|^2 <= 64 scales the input point by the outer value:
// (ln |Z_k|^2 / d)^B, d = 4 at Z2 doubling per step (6 tripling for Z^3);
// a negative slope flattens it.
TEST(F42Maps, EscapeScalesTheInputPoint)
{
  KVmemberHarness h;
  const Cplx z(1.5, 1), c(0.5, 0.5);
  Cplx zk = z * z + c;
  zk = zk * zk + c;
  double d = 4;
  while (std::norm(zk) <= 64) {
    zk = zk * zk + c;
    d *= 2;
  }
  const double v = std::pow(std::log(std::norm(zk)) / d, 1.5);
  expectPoint(eval(h, 17, 20, 1.5, 0, 1.5, 1, 0.5, 0.5), 1.5 * v, 1 * v);
  const double vn = std::pow(std::log(std::norm(zk)) / d, -1.0);
  const double flat = 32 * std::log(1 + vn / 32);
  expectPoint(eval(h, 17, 20, -1, 0, 1.5, 1, 0.5, 0.5), 1.5 * flat, flat);

  Cplx w = z * z * z + c;
  w = w * w * w + c;
  double d3 = 6;
  while (std::norm(w) <= 64) {
    w = w * w * w + c;
    d3 *= 3;
  }
  const double v3 = std::log(std::norm(w)) / d3;
  expectPoint(eval(h, 18, 20, 1, 0.5, 1.5, 1, 0.5, 0.5), v3 + 0.5 * v3 * 0.5, v3 + 0.5 * v3 * 0);
  // A point whose square already reaches the marker has no value.
  expectPoint(eval(h, 17, 3, 1, 0, 1e200, 0, 0, 0), kInf, kInf);
}

TEST(F42Maps, InverseSumExpAndSineMaps)
{
  KVmemberHarness h;
  // C(Z + 1/Z) twice at Recursion 1; 1/0 counts as 0.
  const Cplx c(0.5, 0.25);
  Cplx z(1, 1);
  for (int i = 0; i < 2; ++i)
    z = c * (z + 1.0 / z);
  expectPoint(eval(h, 19, 1, 0, 0, 1, 1, 0.5, 0.25), z.real(), z.imag());
  expectPoint(eval(h, 19, 0, 0, 0, 0, 0, 0.5, 0.25), 0, 0);

  // C e^Z once, then no value as soon as a step's real part passes 100.
  const Cplx e = Cplx(2, 0.5) * std::exp(Cplx(0.3, 0.2));
  expectPoint(eval(h, 21, 0, 0, 0, 0.3, 0.2, 2, 0.5), e.real(), e.imag());
  expectPoint(eval(h, 21, 0, 0, 0, 5, 0, 1, 0), kInf, kInf);
  expectPoint(eval(h, 21, 0, 0, 0, 4.6, 0, 1, 0), std::exp(4.6), 0);

  // C sin Z once; a step beyond |Z|^2 = 800000 has no value.
  const Cplx s = Cplx(0.5, 0.5) * std::sin(Cplx(0.4, 0.3));
  expectPoint(eval(h, 22, 0, 1, 0, 0.4, 0.3, 0.5, 0.5), s.real(), s.imag());
  expectPoint(eval(h, 22, 0, 1, 0, 0, 20, 1, 0), kInf, kInf);
}

TEST(F42Maps, PowersPlusC)
{
  KVmemberHarness h;
  // n = 0: 1 + C.
  expectPoint(eval(h, 29, 0, 0, 0, 0.7, -1.3, 0.25, 2), 1.25, 2);
  // n = 2 and n = -2 are reciprocal before C is added.
  const Point sq = eval(h, 29, 2, 0, 0, 0.6, 0.8, 0, 0);
  const Point inv = eval(h, 29, -2, 0, 0, 0.6, 0.8, 0, 0);
  const Cplx product = Cplx(sq.x, sq.y) * Cplx(inv.x, inv.y);
  EXPECT_NEAR(product.real(), 1, 1e-12);
  EXPECT_NEAR(product.imag(), 0, 1e-12);
  expectPoint(sq, 0.36 - 0.64, 2 * 0.48);
  // A negative power of 0 has no value.
  expectPoint(eval(h, 29, -2, 0, 0, 0, 0, 1, 1), kInf, kInf);
  // A fraction goes through the polar form.
  const Cplx half = std::polar(std::sqrt(std::abs(Cplx(-1, 1))), 0.5 * std::arg(Cplx(-1, 1)));
  expectPoint(eval(h, 29, 0.5, 0, 0, -1, 1, 0.5, 0), half.real() + 0.5, half.imag());
  const Cplx five = std::pow(Cplx(0.9, 0.3), 5);
  expectPoint(eval(h, 29, 5, 0, 0, 0.9, 0.3, 0, 0), five.real(), five.imag());
}

// The continued map runs the document's octave count of steps, held to
// 4..256.
TEST(F42Maps, ContinuedMapFollowsTheOctaveCount)
{
  KVmemberHarness h;
  const auto at = [&](int16_t octaves) {
    h.bind(kFamily42, 7);
    h.doc()->fractal.octaves = octaves;
    h.setParams(0.5, 1.9, 0);
    h.prepare();
    const double in[4] = {0.7, 0.3, 0.9, -0.4};
    for (int k = 0; k < 4; ++k)
      h.setInput(k, KVtestInput::fill(in[k]));
    return Point{h.run(1, 0)[0], h.run(1, 1)[0]};
  };
  // Independent run of the map for N steps.
  const auto expected = [](int n) {
    const Cplx k(1.9 / 4, 0.5 / 4), p = 1.0 / std::conj(Cplx(0.9, -0.4));
    Cplx w(0.35, 0.15), t;
    for (int i = 0; i < n; ++i) {
      t = w + 1.0 / w + p;
      w = k * t;
      if (std::norm(w) >= 64)
        return w / ((std::norm(w) - 62) / 2);
    }
    return t;
  };
  for (int n : {4, 16}) {
    const Cplx e = expected(n);
    expectPoint(at(int16_t(n)), e.real(), e.imag());
  }
  const Point four = at(4), sixteen = at(16);
  EXPECT_FALSE(four.x == sixteen.x && four.y == sixteen.y);
  const Point huge = at(32767), top = at(256), low = at(1);
  expectPoint(huge, top.x, top.y);
  expectPoint(low, four.x, four.y);
}

TEST(F42Maps, MoebiusMap)
{
  KVmemberHarness h;
  const double A = 0.7, B = 0.5, C = 0.25;
  const Cplx n = std::polar(B, A);
  const Cplx w(0.3 - 1, 0.4 + C - 1);
  const Cplx m = (w - n) / (1.0 - std::conj(n) * w);
  expectPoint(eval(h, 28, A, B, C, 0.3, 0.4, 2, -1), m.real() + 2, m.imag() - 1);
  // N = 0: the shifted point plus C.
  expectPoint(eval(h, 28, 0, 0, 0, 0.3, 0.4, 2, -1), 0.3 - 1 + 2, 0.4 - 1 - 1);
}

TEST(F42Maps, MirrorFoldOfThreeSectors)
{
  const KVfolded lower = mirrors3(1, -2);
  EXPECT_EQ(lower.x, 1);
  EXPECT_EQ(lower.y, -2);
  const KVfolded turned = mirrors3(0, 1);
  EXPECT_EQ(turned.x, 0.866025);
  EXPECT_EQ(turned.y, -0.5);
}

TEST(F42Maps, EscherDisks)
{
  KVmemberHarness h;
  // The cell of (0, 0) maps it to (0, 0) of the square: p = c, q = c.
  const double A = 0.25, B = 0, R = 1;
  const double cx = 0.5 / 16, cy = 0.25 / 16;
  // Independent run of the nine steps.
  double X = 0, Y = 0, best1 = 32, best2 = 32, o1 = kInf, o2 = kInf;
  for (int i = 0; i < 9; ++i) {
    const double p = X * X - Y * Y + cx, q = 2 * X * Y + cy;
    if (p * p + q * q > R * R * R * R)
      break;
    const KVfolded f = mirrors3(p + A, q + B);
    if (std::fabs(f.x) < best1)
      best1 = o1 = std::fabs(f.x);
    if (f.y < best2)
      best2 = o2 = f.y;
    X = p / R;
    Y = q / R;
  }
  expectPoint(eval(h, 20, A, B, R, 0, 0, 0.5, 0.25), o1, o2);
  // A zero radius, or a cell beyond the integer range, has no value.
  expectPoint(eval(h, 20, A, B, 0, 0, 0, 0.5, 0.25), kInf, kInf);
  expectPoint(eval(h, 20, A, B, 1, 1e12, 0, 0.5, 0.25), kInf, kInf);
  // A first step beyond R^4 leaves both outputs the marker.
  expectPoint(eval(h, 20, A, B, 1, 0, 0, 40, 0), kInf, kInf);
}

}  // namespace
