// The f32 inversion, web and 3D noise members: known values, the noise
// sampled as the members define it, and the document's fractal settings
// left as they were.
#include <array>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "components/f32/f32_pvt.h"
#include "noise/noises.h"
#include "tests/components/f32_test_support.h"

namespace {

using namespace f32test;

TEST(F32Noise, KnownValues)
{
  const Case cases[] = {
      {"complex inversion at the origin", 7, 1, 1, 0, 0, 0, 0, 0, 0},
      {"complex inversion of (1, 0, 0)", 7, 1, 1, 0, 1, 0, 0, 4 / 3.001, -0.0},
      {"complex inversion: z thickens", 7, 1, 1, 0, 1, 0, 1, 4 / 3.001 / (1 + 1.5625), -0.0, 1e-15},
      {"complex inversion: marked x", 7, 1, 1, 0, kMark, 0, 0, kMark, kMark},
      {"strange web: marked x", 10, 1, 1, 1, kMark, 0, 0, kMark, kMark},
  };
  expectCases(cases);
  KVmemberHarness h;
  h.bind(kFamily32, 7);
  h.setParams(1, 1, 0);
  h.prepare();
  EXPECT_TRUE(std::signbit(mapOnce(h, 1, 0, 0).y));
}

// Random 3D noise samples (k1 x + C, k1 z, k1 y).
TEST(F32Noise, RandomNoiseSwapsYAndZ)
{
  KVmemberHarness h;
  h.bind(kFamily32, 15);
  h.setParams(1.5, 2, 3);
  h.prepare();
  const double k0 = 1.5 / 256, k1 = (2.0625 + 2) / 8;
  for (const auto& [x, y, z] : {std::array{0.3, 1.7, -2.2}, std::array{-4.1, 0.2, 5.5}}) {
    double a = 0, b = 0;
    frandom3DVector3D(&h.doc()->tables, k1 * x + 3, k1 * z, k1 * y, &a, &b, nullptr, k0);
    const Mapped p = mapOnce(h, x, y, z);
    EXPECT_EQ(p.x, x + a);
    EXPECT_EQ(p.y, y + b);
  }
}

TEST(F32Noise, FacetSpaceAtFrequencyZero)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily32, 19);
  h.setParams(1, 3, 0);
  h.prepare();
  const double* K = privateArea<F32constants>(g).K;
  EXPECT_EQ(K[2], 1.25e-6);
  EXPECT_EQ(K[0], 2 * kPi / 1.25e-6);
}

// The fractal members read the document's settings and leave them as they
// were; with the base frequency above the driver's reach the fractal space
// is (0, 0).
TEST(F32Noise, FractalMembersLeaveTheDocumentAlone)
{
  KVmemberHarness h;
  const fractalsinfos before = h.doc()->fractal;
  for (const int16_t id : {16, 23, 27}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily32, id);
    EXPECT_EQ(g->freqFlag, 1);
    EXPECT_EQ(g->inputCode, kConnThreeOut);
    h.prepare();
    for (int k = 0; k < 8; ++k) {
      const Mapped p = mapOnce(h, 0.3 * k, -0.2 * k, 0.1 * k);
      EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
    EXPECT_EQ(std::memcmp(&before, &h.doc()->fractal, sizeof before), 0);
  }
  h.bind(kFamily32, 23);
  h.setParams(1, 0, 4);  // k2 = 2
  h.prepare();
  h.doc()->yPixelScale = 0.5;  // 2.094 * 0.5 is not above 2
  const Mapped p = mapOnce(h, 0.7, 0.1, 0.4);
  EXPECT_EQ(p.x, 0.0);
  EXPECT_EQ(p.y, 0.0);
}

TEST(F32Noise, JitteredMembersGiveFiniteMoves)
{
  KVmemberHarness h;
  for (const int16_t id : {6, 9, 10, 19}) {
    SCOPED_TRACE(id);
    h.bind(kFamily32, id);
    h.prepare();
    for (int k = 0; k < 16; ++k) {
      const Mapped p = mapOnce(h, 0.41 * k - 3, 0.27 * k - 2, 0.05 * k);
      EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
  }
}

}  // namespace
