#include "noise/complexsteps.h"

#include <complex>
#include <gtest/gtest.h>

namespace {

using cplx = std::complex<double>;

cplx ferroStep(cplx z, cplx c)
{
  double re = z.real(), im = z.imag();
  CFerroMagnetModel(&re, &im, c.real(), c.imag());
  return {re, im};
}

cplx webStep(cplx z, cplx c)
{
  double re = z.real(), im = z.imag();
  CStrangeWeb(&re, &im, c.real(), c.imag());
  return {re, im};
}

TEST(ComplexSteps, FerroMagnetStep)
{
  struct Case
  {
    cplx z, c;
  } cases[] = {{{0.3, -0.7}, {1.2, 0.4}}, {{-2.0, 1.5}, {0.1, -0.9}}, {{0.0, 0.0}, {3.0, 0.5}}};
  for (const Case& k : cases) {
    cplx q = (k.z * k.z + k.c - 1.0) / (2.0 * k.z + k.c - 2.0);
    cplx got = ferroStep(k.z, k.c);
    EXPECT_NEAR(got.real(), (q * q).real(), 1e-12);
    EXPECT_NEAR(got.imag(), (q * q).imag(), 1e-12);
  }
  // z = 1 - c/2 makes the denominator 0: z becomes 0.
  cplx c{0.6, -0.4};
  EXPECT_EQ(ferroStep(1.0 - c / 2.0, c), cplx(0.0, 0.0));
}

TEST(ComplexSteps, StrangeWebStep)
{
  EXPECT_EQ(webStep({0.0, 0.0}, {0.7, 0.2}), cplx(0.0, 0.0));
  EXPECT_EQ(webStep({1.0, 0.0}, {1.0, 0.0}), cplx(2.0, 0.0));
  struct Case
  {
    cplx z, c;
  } cases[] = {{{0.3, -0.7}, {1.2, 0.4}}, {{-2.0, 1.5}, {0.1, -0.9}}};
  for (const Case& k : cases) {
    cplx want = k.c * (k.z * k.z + 1.0 / k.z);
    cplx got = webStep(k.z, k.c);
    EXPECT_NEAR(got.real(), want.real(), 1e-12);
    EXPECT_NEAR(got.imag(), want.imag(), 1e-12);
  }
}

TEST(ComplexSteps, CompressorMin)
{
  struct Case
  {
    double v, m, expected;
  } cases[] = {
      {-3.0, 2.0, -3.0},
      {0.4, 2.0, 0.4},
      {1.0, 2.0, 1.0},                             // up to m/2 unchanged
      {2.0, 2.0, 1.75},                            // 0.875 m
      {2.5, 2.0, 2.0 * (1.25 - 0.75 * 0.75 / 2)},  // m (r - (r - 0.5)^2 / 2)
      {3.0, 2.0, 2.0},
      {50.0, 2.0, 2.0},  // from 1.5 m on: m
      {5.0, 0.0, 0.0},   // no room at all
  };
  for (const Case& k : cases)
    EXPECT_DOUBLE_EQ(CompressorMin(k.v, k.m), k.expected) << k.v << ", " << k.m;
  // Smooth at both joins.
  EXPECT_NEAR(CompressorMin(1.0 + 1e-7, 2.0), 1.0 + 1e-7, 1e-12);
  EXPECT_NEAR(CompressorMin(3.0 - 1e-7, 2.0), 2.0, 1e-12);
}

}  // namespace
