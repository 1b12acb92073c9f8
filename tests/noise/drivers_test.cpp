#include "noise/drivers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "noise/noises.h"
#include "noise_test_support.h"

namespace {

constexpr double L = 2.0943951024;
constexpr double c = 0.5225351707258652;
constexpr double kMultiC = 0.5238095238095238;

// What the recording bases saw: the coordinates and amplitude of each call.
struct Call
{
  double x, y, z, amp;
};
std::vector<Call> gCalls;

double constant1D(const KVtables*, double x)
{
  gCalls.push_back({x, 0, 0, 1});
  return 1.0;
}
double constant2D(const KVtables*, double x, double y)
{
  gCalls.push_back({x, y, 0, 1});
  return 1.0;
}
double constant3D(const KVtables*, double x, double y, double z)
{
  gCalls.push_back({x, y, z, 1});
  return 1.0;
}
// Returns the y coordinate: with y = 1 that is the octave's frequency.
double frequency2D(const KVtables*, double x, double y)
{
  gCalls.push_back({x, y, 0, 1});
  return y;
}
double value128(const KVtables*, double x, double y)
{
  gCalls.push_back({x, y, 0, 1});
  return 128.0;
}
// Vector bases writing (amp, 2 amp[, 3 amp]).
void ramp2D(const KVtables*, double x, double y, double* a, double* b, double amp)
{
  gCalls.push_back({x, y, 0, amp});
  *a = amp;
  *b = 2 * amp;
}
void ramp3D(const KVtables*, double x, double y, double z, double* a, double* b, double* c3,
            double amp)
{
  gCalls.push_back({x, y, z, amp});
  *a = amp;
  *b = 2 * amp;
  if (c3)
    *c3 = 3 * amp;
}
// Output vectors of length amp.
void unitLength2D(const KVtables*, double x, double y, double* a, double* b, double amp)
{
  gCalls.push_back({x, y, 0, amp});
  *a = 0.6 * amp;
  *b = 0.8 * amp;
}
void zeroLength3D(const KVtables*, double x, double y, double z, double* a, double* b, double* c3,
                  double amp)
{
  gCalls.push_back({x, y, z, amp});
  *a = *b = 0.0;
  if (c3)
    *c3 = 0.0;
}

class Drivers : public ::testing::Test
{
protected:
  void SetUp() override
  {
    tables = seededTables();
    fi.tables = tables.get();
    gCalls.clear();
  }
  std::unique_ptr<KVtables> tables;
  fractalsinfos fi;
};

TEST_F(Drivers, DefaultFractGlobalsLeaveFlagCountAndPointersAlone)
{
  fractalsinfos r;
  r.reliefPass = 1;
  r.octaves = 5;
  r.phaseFactor = r.rotSin = r.rotCos = r.paramA = r.paramB = r.paramC = -9;
  r.accumulator = r.secondOutput = r.lacunarity = r.fade = -9;
  double params[3];
  r.nodeParams = params;
  r.tables = tables.get();
  Kovrelin_DefaultFractGlobals(&r);
  EXPECT_EQ(r.phaseFactor, 1.33);
  EXPECT_EQ(r.rotSin, 0.5);
  EXPECT_EQ(r.rotCos, 0.866025);
  EXPECT_EQ(r.paramA + r.paramB + r.paramC + r.accumulator + r.secondOutput, 0.0);
  EXPECT_EQ(r.lacunarity, 2.0943951024);
  EXPECT_EQ(r.fade, 0.5225351707258652);
  EXPECT_EQ(r.reliefPass, 1);
  EXPECT_EQ(r.octaves, 5);
  EXPECT_EQ(r.nodeParams, params);
  EXPECT_EQ(r.tables, tables.get());
}

// Every driver run with unit-value bases, gain 0.5, no warp, no mix; the
// result is the scalar sum or the first output.
struct DriverCase
{
  const char* name;
  double (*run)(fractalsinfos*, double f0, double fmax, double amp);
  double lacunarity, fadeDivisor;
  double threeOctaves;    // sum of octaves of amplitude 1, 0.5, 0.25
  unsigned callsBetween;  // octaves run when fmax < f0 < fmax * L
  bool runsAtLimit;       // f0 = fmax * L still evaluates one (zero-faded) octave
  bool runsFarAbove;      // f0 far above fmax still evaluates one octave
};

const DriverCase kDrivers[] = {
    {"fractal1D",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       return fractal1D_procptr(fi, constant1D, 0.2, f0, fmax, amp, 0.1, 0.5);
     },
     L, c, 1.75, 1, true, false},
    {"fractal2D",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       return fractal2D_procptr(fi, constant2D, 0.2, 0.3, f0, fmax, amp, 0.1, 0.5);
     },
     L, c, 1.75, 1, true, false},
    {"fractal3D",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       return fractal3D_procptr(fi, constant3D, 0.2, 0.3, 0.4, f0, fmax, amp, 0.1, 0.5);
     },
     L, c, 1.75, 1, true, false},
    {"fractal2DVector",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       double a, b;
       fractal2DVector_procptr(fi, ramp2D, 0.2, 0.3, f0, fmax, amp, 0.1, 0.5, &a, &b);
       return a;
     },
     L, c, 1.75, 1, false, false},
    {"fractal3DVector",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       double a, b, d;
       fractal3DVector_procptr(fi, ramp3D, 0.2, 0.3, 0.4, f0, fmax, amp, 0.1, 0.5, &a, &b, &d);
       return a;
     },
     L, c, 1.75, 1, false, false},
    {"turbulence3DVector",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       double o[3];
       turbulence3DVector_procptr(fi, ramp3D, 0.2, 0.3, 0.4, f0, fmax, amp, 0.1, 0.5, 0.0, o);
       return o[0];
     },
     L, c, 1.75, 1, false, false},
    {"turbulence2DVector",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       double o[3];
       turbulence2DVector_procptr(fi, ramp2D, 0.2, 0.3, f0, fmax, amp, 0.1, 0.5, 0.0, o);
       return o[0];
     },
     L, c, 1.75, 1, false, false},
    {"turbulence2DVectorNr",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       double o[3];
       turbulence2DVectorNr_procptr(fi, ramp2D, 0.2, 0.3, f0, fmax, amp, 0.1, 0.5, 0.0, o);
       return o[0];
     },
     L, c, 0.75, 1, true, true},
    {"Multifractal2D",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       return Multifractal2D_procptr(fi, constant2D, 0.2, 0.3, f0, fmax, amp, 0.5, 0.0);
     },
     2.1, kMultiC, 1.75, 1, true, false},
    {"Multifractal2D_unbal",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       return Multifractal2D_unbal_procptr(fi, constant2D, 0.2, 0.3, 0.1, f0, fmax, amp, 0.01, 0.5,
                                           0.0);
     },
     2.1, kMultiC, 1.75, 1, true, false},
    {"Multifractal2DVector",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       double a, b;
       Multifractal2DVector_procptr(fi, ramp2D, 0.2, 0.3, f0, fmax, amp, 0.1, 0.5, 0.0, 1.0, &a,
                                    &b);
       return a;
     },
     L, c, 1.75, 1, false, false},
    // Keeps going past the band limit (see VectorMultifractalsPastTheBandLimit).
    {"Multifractal3DVector",
     [](fractalsinfos* fi, double f0, double fmax, double amp) {
       double o[3];
       Multifractal3DVector_procptr(fi, ramp3D, 0.2, 0.3, 0.4, f0, fmax, amp, 0.1, 0.5, 0.0, 1.0,
                                    o);
       return o[0];
     },
     L, c, 1.75, 2, false, false},
};

TEST_F(Drivers, OctaveCountAndBandLimit)
{
  for (const DriverCase& d : kDrivers) {
    SCOPED_TRACE(d.name);
    fi.octaves = 0;
    gCalls.clear();
    EXPECT_EQ(d.run(&fi, 1.0, 1e9, 1.0), 0.0);
    EXPECT_TRUE(gCalls.empty()) << "no octave may run with a count of 0";

    fi.octaves = 3;
    gCalls.clear();
    EXPECT_NEAR(d.run(&fi, 1.0, 1e9, 1.0), d.threeOctaves, 1e-12);
    EXPECT_EQ(gCalls.size(), 3u);

    // f0 between fmax and fmax * L: the faded octave only.
    gCalls.clear();
    double between = d.run(&fi, 12.0, 10.0, 1.0);
    EXPECT_EQ(gCalls.size(), d.callsBetween);
    if (d.callsBetween == 1) {
      EXPECT_NEAR(between, 1.0 - 2.0 / (12.0 * d.fadeDivisor), 1e-12);
    }

    gCalls.clear();
    double atLimit = d.run(&fi, 10.0 * d.lacunarity, 10.0, 1.0);
    EXPECT_NEAR(atLimit, 0.0, 1e-12);
    EXPECT_EQ(gCalls.size(), d.runsAtLimit ? 1u : 0u);

    gCalls.clear();
    double farAbove = d.run(&fi, 100.0, 10.0, 1.0);
    EXPECT_EQ(gCalls.size(), d.runsFarAbove ? 1u : 0u);
    // The Nr driver's fade is negative there.
    EXPECT_NEAR(farAbove, d.runsFarAbove ? 1.0 - 90.0 / (100.0 * c) : 0.0, 1e-12);
  }
}

TEST_F(Drivers, WorkedOctavesOfTheDefaultLacunarity)
{
  double sum = fractal2D_procptr(&fi, frequency2D, 0.0, 1.0, 1.0, 10.0, 1.0, 0.0, 1.0);
  const double expectedF[] = {1.0, 2.0943951024, 4.386490845, 9.187045, 19.241};
  ASSERT_EQ(gCalls.size(), 5u);
  for (int k = 0; k < 5; k++)
    EXPECT_NEAR(gCalls[k].y, expectedF[k], 2e-3) << k;
  double f4 = gCalls[4].y;
  double fade = 1.0 - (f4 - 10.0) / (f4 * c);
  EXPECT_NEAR(fade, 0.081, 5e-4);
  EXPECT_NEAR(sum, gCalls[0].y + gCalls[1].y + gCalls[2].y + gCalls[3].y + fade * f4, 1e-12);

  // The lacunarity of fractal2D comes from the record.
  fi.lacunarity = 3.0;
  fi.fade = 1.0 - 1.0 / 3.0;
  gCalls.clear();
  fractal2D_procptr(&fi, frequency2D, 0.0, 1.0, 1.0, 10.0, 1.0, 0.0, 1.0);
  ASSERT_EQ(gCalls.size(), 4u);  // 1, 3, 9, then 27 faded
  EXPECT_EQ(gCalls[3].y, 27.0);
}

TEST_F(Drivers, PhaseFactorZero)
{
  // fractal2D keeps the start phase; fractal1D still adds pi/2 each octave.
  fi.phaseFactor = 0.0;
  fractal2D_procptr(&fi, constant2D, 0.0, 1.0, 1.0, 1e9, 1.0, 0.3, 1.0);
  for (const Call& call : gCalls)
    EXPECT_NEAR(call.x / call.y, 0.3, 1e-12);
  gCalls.clear();
  fi.octaves = 3;
  fractal1D_procptr(&fi, constant1D, 0.0, 1.0, 1e9, 1.0, 0.3, 1.0);
  ASSERT_EQ(gCalls.size(), 3u);
  EXPECT_NEAR(gCalls[0].x, 0.3, 1e-12);
  EXPECT_NEAR(gCalls[1].x / L, M_PI / 2, 1e-12);
  EXPECT_NEAR(gCalls[2].x / (L * L), M_PI / 2, 1e-12);
}

TEST_F(Drivers, ZeroAndNegativeAmplitudes)
{
  EXPECT_EQ(fractal2D_procptr(&fi, constant2D, 0.2, 0.3, 1.0, 50.0, 0.0, 0.0, 0.5), 0.0);
  EXPECT_TRUE(gCalls.empty());

  double o[3];
  turbulence2DVectorNr_procptr(&fi, ramp2D, 0.2, 0.3, 1.0, 50.0, 0.0, 0.0, 0.5, 0.0, o);
  EXPECT_EQ(gCalls.size(), 1u);

  gCalls.clear();
  double positive = fractal2D_procptr(&fi, constant2D, 0.2, 0.3, 1.0, 50.0, 0.8, 0.0, 0.5);
  double negative = fractal2D_procptr(&fi, constant2D, 0.2, 0.3, 1.0, 50.0, -0.8, 0.0, 0.5);
  EXPECT_GT(positive, 0.0);
  EXPECT_EQ(negative, -positive);

  gCalls.clear();
  EXPECT_EQ(Multifractal2D_procptr(&fi, constant2D, 0.2, 0.3, 1.0, 50.0, -0.8, 0.5, 0.3), 0.0);
  EXPECT_TRUE(gCalls.empty());
}

TEST_F(Drivers, MultifractalWeighting)
{
  // v = 128, mix 1: each octave is weighted by the previous one / 256.
  fi.octaves = 3;
  EXPECT_DOUBLE_EQ(Multifractal2D_procptr(&fi, value128, 0.2, 0.3, 1.0, 1e9, 1.0, 1.0, 1.0),
                   128.0 + 64.0 + 32.0);
  // With weightScale 1/128 the weight stays 1.
  EXPECT_DOUBLE_EQ(Multifractal2D_unbal_procptr(&fi, value128, 0.2, 0.3, 0.0, 1.0, 1e9, 1.0,
                                                1.0 / 128, 1.0, 1.0),
                   3 * 128.0);
}

TEST_F(Drivers, AdaptiveAmplitudeOfTheVectorMultifractals)
{
  fi.octaves = 3;
  double a, b;
  // Short vectors (m = 0.5, then 0.25) damp the amplitude by smoothstep(m).
  Multifractal2DVector_procptr(&fi, unitLength2D, 0.2, 0.3, 1.0, 1e9, 1.0, 0.0, 1.0, 1.0, 0.5, &a,
                               &b);
  ASSERT_EQ(gCalls.size(), 3u);
  EXPECT_DOUBLE_EQ(gCalls[1].amp, 0.5);
  EXPECT_DOUBLE_EQ(gCalls[2].amp, 0.5 * 0.15625);
  EXPECT_DOUBLE_EQ(a, 0.6 * (1.0 + 0.5 + 0.078125));
  // Long vectors (m > 1) only apply the gain.
  gCalls.clear();
  Multifractal2DVector_procptr(&fi, unitLength2D, 0.2, 0.3, 1.0, 1e9, 1.0, 0.0, 0.5, 1.0, 4.0, &a,
                               &b);
  ASSERT_EQ(gCalls.size(), 3u);
  EXPECT_DOUBLE_EQ(gCalls[1].amp, 0.5);
  EXPECT_DOUBLE_EQ(gCalls[2].amp, 0.25);
}

TEST_F(Drivers, VectorMultifractalsPastTheBandLimit)
{
  // fmax 1.5: octave 1 is full, octave 2 (f = L) is faded; the 2D driver
  // stops there, the 3D driver fades again, goes negative and stops after.
  const double fade2 = 1.0 - (L - 1.5) / (L * c);
  const double fade3 = 1.0 - (L * L - 1.5) / (L * L * c);
  double a, b;
  Multifractal2DVector_procptr(&fi, unitLength2D, 0.2, 0.3, 1.0, 1.5, 1.0, 0.0, 1.0, 0.0, 0.0, &a,
                               &b);
  ASSERT_EQ(gCalls.size(), 2u);
  EXPECT_DOUBLE_EQ(gCalls[1].amp, fade2);

  gCalls.clear();
  double o[3];
  Multifractal3DVector_procptr(&fi, zeroLength3D, 0.2, 0.3, 0.4, 1.0, 1.5, 1.0, 0.0, 1.0, 0.0, 0.0,
                               o);
  ASSERT_EQ(gCalls.size(), 3u);
  EXPECT_DOUBLE_EQ(gCalls[1].amp, fade2);
  EXPECT_DOUBLE_EQ(gCalls[2].amp, fade2 * fade3);
  EXPECT_LT(gCalls[2].amp, 0.0);
}

TEST_F(Drivers, TurbulenceDisplacesLaterOctavesBySumsSoFar)
{
  fi.octaves = 2;
  double o[3];
  turbulence3DVector_procptr(&fi, ramp3D, 0.0, 0.0, 0.0, 1.0, 1e9, 1.0, 0.0, 1.0, 0.5, o);
  ASSERT_EQ(gCalls.size(), 2u);
  EXPECT_EQ(gCalls[0].x, 0.0);
  EXPECT_EQ(gCalls[0].y, 0.0);
  // p = 0 * 1.33 + pi; sums so far (1, 2, 3).
  EXPECT_NEAR(gCalls[1].x, 0.5, 1e-12);
  EXPECT_NEAR(gCalls[1].y, -M_PI * L + 1.0, 1e-12);
  EXPECT_NEAR(gCalls[1].z, 1.5, 1e-12);
  EXPECT_DOUBLE_EQ(o[2], 6.0);
}

TEST_F(Drivers, TwoDimensionalTurbulenceTurnsThePoint)
{
  fi.octaves = 2;
  double o[3] = {9, 9, 9};
  turbulence2DVector_procptr(&fi, ramp2D, 1.0, 0.0, 1.0, 1e9, 1.0, 0.0, 1.0, 0.0, o);
  ASSERT_EQ(gCalls.size(), 2u);
  // After octave 1, p = pi and (1, -pi) is turned by the record's angle.
  EXPECT_NEAR(gCalls[1].x, (0.866025 + M_PI * 0.5) * L, 1e-12);
  EXPECT_NEAR(gCalls[1].y, (0.5 - M_PI * 0.866025) * L, 1e-12);
  EXPECT_EQ(o[2], 0.0);

  // The Nr variant: no turn, phase factor fixed at 1.2, alternating sign.
  gCalls.clear();
  fi.phaseFactor = 5.0;
  double n[3] = {9, 9, 9};
  turbulence2DVectorNr_procptr(&fi, ramp2D, 1.0, 0.0, 1.0, 1e9, 1.0, 1.0, 0.5, 0.0, n);
  ASSERT_EQ(gCalls.size(), 2u);
  EXPECT_NEAR(gCalls[1].x, L, 1e-12);
  EXPECT_NEAR(gCalls[1].y, -(1.2 + M_PI) * L, 1e-12);
  EXPECT_EQ(gCalls[1].amp, -0.5);
  EXPECT_DOUBLE_EQ(n[0], 0.5);
  EXPECT_EQ(n[2], 0.0);
}

TEST_F(Drivers, ThreeDimensionalMultifractalTurnsThePoint)
{
  fi.octaves = 2;
  double o[3];
  Multifractal3DVector_procptr(&fi, zeroLength3D, 1.0, 0.0, 0.0, 1.0, 1e9, 1.0, 0.0, 1.0, 0.0, 0.0,
                               o);
  ASSERT_EQ(gCalls.size(), 2u);
  // (1, 0) turns to (0.866025, 0.5) in x-y; then (y, z) = (0.5, 0) turns the
  // other way to (0.5 cos, -0.5 sin); p becomes pi/2.
  EXPECT_NEAR(gCalls[1].x, (0.866025 + M_PI / 2) * L, 1e-12);
  EXPECT_NEAR(gCalls[1].y, 0.5 * 0.866025 * L, 1e-12);
  EXPECT_NEAR(gCalls[1].z, -0.25 * L, 1e-12);
}

TEST_F(Drivers, RealBasisSumsAreFinite)
{
  // The drivers with library noises over a spread of points, as components use them.
  for (double x = -40.0; x < 40.0; x += 3.7) {
    double s = fractal2D_procptr(&fi, fPerlinNoise2D, x, -x * 0.7, 1.0, 200.0, 1.0, 0.0, 0.5);
    EXPECT_TRUE(std::isfinite(s));
    double o[3];
    Multifractal3DVector_procptr(&fi, fPerlinNoise3DVector3D, x, 0.3 * x, -x, 0.5, 64.0, 1.0, 0.2,
                                 0.5, 0.7, 1.3, o);
    EXPECT_TRUE(std::isfinite(o[0] + o[1] + o[2]));
  }
}

}  // namespace
