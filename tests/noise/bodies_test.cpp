// Per-octave bodies of the rock, sparse and facet-rock noises.
#include "noise/bodies.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "foundation/colormath.h"
#include "noise/multifractal.h"
#include "noise/noises.h"
#include "noise_test_support.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Far colour, then base colour, as the calling components lay them out.
constexpr double kNodeParams[6] = {10.0, 20.0, 30.0, 40.0, 50.0, 60.0};

class Bodies : public ::testing::Test
{
protected:
  std::unique_ptr<KVtables> tables = seededTables();
  fractalsinfos fi;
  void SetUp() override
  {
    fi.tables = tables.get();
    fi.nodeParams = kNodeParams;
    fi.paramA = 0.7;
  }

  // Two-colour gradient black to white, so a colour reads as 255 t.
  void useGreyGradient()
  {
    tables->gradientKeys.count = 2;
    tables->gradientKeys.colors[0] = {255, 0, 0, 0};
    tables->gradientKeys.colors[1] = {255, 255, 255, 255};
  }
};

void expectRecord(const dvector4d& got, const dvector4d& want)
{
  EXPECT_EQ(got.x, want.x);
  EXPECT_EQ(got.y, want.y);
  EXPECT_EQ(got.z, want.z);
  EXPECT_EQ(got.w, want.w);
}

}  // namespace

TEST_F(Bodies, FarValuesIgnoreThePoint)
{
  constexpr double kUntouched = -7.0;
  struct Case
  {
    const char* name;
    bool (*run)(fractalsinfos*, double, double, double, double*, dvector4d*);
    dvector4d far;
    double state;  // kUntouched: not written
  };
  const Case cases[] = {
      {"fp1fracturedrocks (one double)",
       [](fractalsinfos* f, double x, double y, double z, double* s, dvector4d* out) {
         return fp1fracturedrocks(f, x, y, z, 0.5, s, 1.0, -1, &out->x);
       },
       {0.25, kUntouched, kUntouched, kUntouched},
       kUntouched},
      {"fp1fracturedrocks (four doubles)",
       [](fractalsinfos* f, double x, double y, double z, double* s, dvector4d* out) {
         return fp1fracturedrocks(f, x, y, z, 0.5, s, 1.0, -1, out);
       },
       {0.25, kUntouched, kUntouched, kUntouched},
       kUntouched},
      {"fpssharpminnoise",
       [](fractalsinfos* f, double x, double y, double z, double* s, dvector4d* out) {
         return fpssharpminnoise(f, x, y, z, 0.5, s, 1.0, -1, out);
       },
       {10.0, 20.0, 30.0, 0.125},
       kUntouched},
      {"fp4futur",
       [](fractalsinfos* f, double x, double y, double z, double* s, dvector4d* out) {
         return fp4futur(f, x, y, z, 0.5, s, 1.0, -1, out);
       },
       {10.0, 20.0, 30.0, 0.5},
       0.2},
  };
  const dvector3d points[] = {{0.0, 0.0, 0.0}, {-3.7, 12.1, 0.4}, {kNaN, 1e250, -1.0}};
  for (const Case& c : cases) {
    for (const dvector3d& p : points) {
      SCOPED_TRACE(testing::Message() << c.name << " at " << p.x << ", " << p.y);
      dvector4d out{kUntouched, kUntouched, kUntouched, kUntouched};
      double state = kUntouched;
      EXPECT_FALSE(c.run(&fi, p.x, p.y, p.z, &state, &out));
      expectRecord(out, c.far);
      EXPECT_EQ(state, c.state);
    }
  }
}

TEST_F(Bodies, MissingNodeParametersReadAsBlack)
{
  fi.nodeParams = nullptr;
  dvector4d out{1, 1, 1, 1};
  double state = 0;
  fpssharpminnoise(&fi, 0.3, 0.3, 0.3, 0.5, &state, 1.0, -1, &out);
  expectRecord(out, {0.0, 0.0, 0.0, 0.125});
  fp4futur(&fi, 0.3, 0.3, 0.3, 0.5, &state, 1.0, -1, &out);
  expectRecord(out, {0.0, 0.0, 0.0, 0.5});
}

TEST_F(Bodies, SharpMinimumWithoutANearCornerKeepsTheColour)
{
  // Identity permutation: corner (cx, cy, cz) of cell (0, 0, 0) reads row
  // cx + cy + cz. Rows 0, 1 jitter the points up, rows 2, 3 down, so from
  // the cell centre every corner point is 0.7 away in the chessboard metric.
  for (int i = 0; i < 1024; i++)
    tables->perm[i] = i;
  arb_compRndVecTable(tables.get());
  for (int row = 0; row < 4; row++)
    for (double& v : tables->rndVec3D[row])
      v = row < 2 ? 0.5 : -0.5;

  for (double x : {0.5, kNaN}) {
    SCOPED_TRACE(x);
    dvector4d out{1.0, 2.0, 3.0, 0.3};
    double state = 0.0;
    fpssharpminnoise(&fi, x, 0.5, 0.5, 0.5, &state, 1.0, 2, &out);
    expectRecord(out, {1.0, 2.0, 3.0, 0.3});

    fpssharpminnoise(&fi, x, 0.5, 0.5, 0.5, &state, 1.0, 0, &out);
    expectRecord(out, {10.0, 20.0, 30.0, 0.0});  // e rounded to 0
    EXPECT_EQ(state, 1.0);
  }
}

TEST_F(Bodies, SharpMinimumOnAFeaturePointTakesItsGradientColour)
{
  for (int i = 0; i < 1024; i++)
    tables->perm[i] = i;
  arb_compRndVecTable(tables.get());
  for (auto& row : tables->rndVec3D)
    for (double& v : row)
      v = -0.5;
  useGreyGradient();
  // Cell (5, 6, 7): the first corner reads row 18, its point lies at
  // (5.2, 6.2, 7.2).
  dvector4d out{};
  double state = 0.0;
  fpssharpminnoise(&fi, 5.2, 6.2, 7.2, 0.5, &state, 1.0, 0, &out);
  dvector3d want;
  fcolorgradient(tables->gradientKeys.colors, 2, 18.0 / 1024.0, &want.x, &want.y, &want.z);
  EXPECT_DOUBLE_EQ(out.x, want.x);
  EXPECT_DOUBLE_EQ(out.z, want.z);
  EXPECT_DOUBLE_EQ(out.w, 1.0);
}

TEST_F(Bodies, FacetRockWithoutRiseKeepsTheColour)
{
  // At lattice points the rise noise is 0, so the mask h is 0 up to octave 4.
  useGreyGradient();
  for (short octave : {short(1), short(2), short(4)}) {
    SCOPED_TRACE(octave);
    dvector4d acc{11.0, 22.0, 33.0, 0.4};
    double state = -1.0;
    fp4futur(&fi, 3.0, -2.0, 1.0, 0.5, &state, 0.25, octave, &acc);
    EXPECT_EQ(acc.x, 11.0);
    EXPECT_EQ(acc.y, 22.0);
    EXPECT_EQ(acc.z, 33.0);
    EXPECT_LE(acc.w, 0.4);  // only the panel depth can lower it
    EXPECT_EQ(state, -1.0);
  }
  dvector4d acc{};
  double state = 0.0;
  fp4futur(&fi, 3.0, -2.0, 1.0, 0.5, &state, 1.0, 0, &acc);
  EXPECT_EQ(acc.x, 40.0);  // the base colour, not blended
  EXPECT_EQ(acc.y, 50.0);
  EXPECT_EQ(acc.z, 60.0);
  EXPECT_LE(acc.w, 0.0);
  EXPECT_EQ(state, 1.0);
}

namespace {

// A lattice-free search for a sample where a noise condition holds.
template <class Pred>
bool findPoint(Pred pred, double& x, double& y)
{
  for (int a = 0; a < 400; a++)
    for (int b = 0; b < 400; b++) {
      x = a * 0.0731 - 7.0;
      y = b * 0.0617 - 9.0;
      if (pred(x, y))
        return true;
    }
  return false;
}

}  // namespace

TEST_F(Bodies, ScalarBodiesEdgeValues)
{
  const KVtables* t = tables.get();
  double state = 0.0;

  // Sharp rocks with w <= 0: nothing at octave 0, state 0.7 w; past octave
  // 9 a state <= 0 stays and gives 0.
  for (double w : {0.0, -0.5}) {
    SCOPED_TRACE(w);
    EXPECT_EQ(fpnoise_sharpdrock(&fi, 1.3, 2.7, w, &state, 0), 0.0);
    EXPECT_DOUBLE_EQ(state, 0.7 * w);
    state = w;
    EXPECT_EQ(fpnoise_sharpdrock(&fi, 1.3, 2.7, 0.5, &state, 12), 0.0);
    EXPECT_EQ(state, w);
  }

  // Lunar rock octave 0 at a lattice point: w + 0 + 1, state 1.
  EXPECT_EQ(fpnoise_lunarrock2D(&fi, 3.0, 5.0, 0.25, &state, 0), 1.25);
  EXPECT_EQ(state, 1.0);

  // Bubble rock where |U| <= 0.4 / 2.7: 0, and the state starts at 1.
  double x, y;
  ASSERT_TRUE(findPoint(
      [&](double px, double py) { return std::fabs(fUnitPerlinNoise2D(t, px, py)) < 0.14; }, x, y));
  EXPECT_EQ(fpnoise_bubblerock2D(&fi, x, y, 0.0, &state, 0), 0.0);
  EXPECT_EQ(state, 1.0);
  state = 0.5;
  EXPECT_EQ(fpnoise_bubblerock2D(&fi, x, y, 0.0, &state, 3), 0.0);
  EXPECT_DOUBLE_EQ(state, 1.06 * 0.5);

  // Ridged mountains at octave 0 where the ridge term is 0: -24.
  ASSERT_TRUE(findPoint(
      [&](double px, double py) {
        double n = fUnitPerlinNoise2D(t, px, py) +
                   0.5 * fUnitPerlinNoise2D(t, 2.0 * px + 73.5, 2.0 * py - 33.5);
        return std::fabs(n) > 0.86;
      },
      x, y));
  EXPECT_EQ(fpnoise_fridgedtomfe(&fi, x, y, 0.5, &state, 0), -24.0);
  EXPECT_DOUBLE_EQ(state, 0.3 * 0.5);
}

TEST_F(Bodies, CrackRockFlagFollowsTheSignOfTheCracks)
{
  const KVtables* t = tables.get();
  int negatives = 0;
  for (int a = 0; a < 50; a++) {
    double x = a * 0.173 - 4.0, y = 0.37 * a, z = -0.11 * a;
    double out = 0.0, state = 0.0;
    bool flag = fp1fracturedrocks(&fi, x, y, z, 0.5, &state, 1.0, 0, &out);
    EXPECT_EQ(flag, fUnitPerlinCracks3D(t, x, y, z) < 0.0);
    EXPECT_GE(out, 0.0);
    EXPECT_LE(out, 1.0);
    negatives += flag;
  }
  EXPECT_GT(negatives, 0);
}

TEST_F(Bodies, ScalarBodiesStayFiniteThroughTheirDriver)
{
  struct Case
  {
    const char* name;
    FractalOctaveProc2D body;
  };
  const Case cases[] = {{"fpnoise_sparcefractale", fpnoise_sparcefractale},
                        {"fpnoise_stonescluster", fpnoise_stonescluster},
                        {"fpnoise_bubblerock2D", fpnoise_bubblerock2D},
                        {"fpnoise_lunarrock2D", fpnoise_lunarrock2D},
                        {"fpnoise_fridgedtomfe", fpnoise_fridgedtomfe},
                        {"fpnoise_sharpdrock", fpnoise_sharpdrock}};
  for (const Case& c : cases)
    for (double w : {0.0, 0.5, 1.0})
      for (int a = -6; a <= 6; a++) {
        SCOPED_TRACE(testing::Message() << c.name << " w " << w << " a " << a);
        double v = Multifractal2Dparam_procptr(&fi, c.body, a * 0.77, a * -0.31, 0.2, w, 0.5,
                                               5000.0, 1.0, 0.6);
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_TRUE(std::isfinite(fi.accumulator));
        EXPECT_TRUE(std::isfinite(fi.secondOutput));
      }
}
