// The terrain bodies and lattice helpers of the theme filter: what each
// gives beyond the band limit, the lattice helpers' ranges and fixed values,
// and worked values of the bodies no theme selects.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "components/f44/terrain.h"
#include "noise/multifractal.h"
#include "noise/noises.h"
#include "tests/components/member_harness.h"

namespace {

struct TerrainTest : testing::Test
{
  KVmemberHarness h;
  fractalsinfos fi = [this] {
    fractalsinfos f = h.doc()->fractal;
    f.tables = &h.doc()->tables;
    return f;
  }();
  const KVtables* t = &h.doc()->tables;
};

TEST_F(TerrainTest, MortarLinesWhereJIsAMultipleOf32)
{
  for (int32_t j : {0, 32, -32, -64, 3200, -2147483647 - 1})
    for (int32_t i : {0, 5, -77, 123456})
      EXPECT_EQ(LABTXT_redrocks2(t, i, j, 0), 0.05) << i << " " << j;
  bool other = false;
  for (int32_t i = 0; i < 64; ++i)
    other |= LABTXT_redrocks2(t, i, 1, 0) != 0.05;
  EXPECT_TRUE(other);
}

TEST_F(TerrainTest, LatticeHelpersStayInTheirRanges)
{
  double lo = 1, hi = -1;
  for (int32_t n = -100000; n <= 100000; ++n) {
    const double d = LABTXT_density(t, n);
    lo = std::min(lo, d);
    hi = std::max(hi, d);
  }
  // Two permutation entries, each -512..511, averaged over 768.
  EXPECT_GE(lo, -512.0 / 768);
  EXPECT_LE(hi, 511.0 / 768);
  EXPECT_LT(lo, -0.5);  // the layers use the range
  EXPECT_GT(hi, 0.5);
  for (int32_t i : {-2147483647 - 1, -4097, 0, 4095, 2147483647}) {
    const double r = LABTXT_redrocks(t, i, 0, 0);
    EXPECT_GE(r, 0.0);
    EXPECT_LE(r, 1023.0 / 1024);
  }
}

TEST_F(TerrainTest, SawNoiseIsZeroWithoutALatticeCell)
{
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {std::nan(""), inf, -inf, 1e250, 3e9}) {
    EXPECT_EQ(frandom3Dsaw(t, bad, 0.5, 0.5), 0.0);
    EXPECT_EQ(frandom3Dsaw(t, 0.5, bad, 0.5), 0.0);
    EXPECT_EQ(frandom3Dsaw(t, 0.5, 0.5, bad), 0.0);
  }
  // Continuous across a cell boundary in x (the value blend is smooth).
  EXPECT_NEAR(frandom3Dsaw(t, 2.0 - 1e-9, 0.3, 0.7), frandom3Dsaw(t, 2.0, 0.3, 0.7), 1e-5);
}

TEST_F(TerrainTest, BeyondTheBandLimit)
{
  const struct
  {
    const char* name;
    TerrainScalarBody body;
    double result, carried;
  } scalars[] = {
      {"B", fp1fracturedrocksB, 0.25, 0.25},         {"C", fp1fracturedrocksC, 0.25, 0.25},
      {"D", fp1fracturedrocksD, 0.25, 0.25},         {"Erosion", fp1Erosion, 0.25, 0.25},
      {"rocks", fp1fractrocks, 0.25, 0.25},          {"Wrock", fp1fracturedWrock, 0.25, 0.125},
      {"RedRock", fp1fracturedRedRock, 0.25, 0.125}, {"grass", fp1fractgrass, 0.25, 0.25},
      {"Bushes", fp1fractBushes, 0.5, 0.5},          {"foliage", fp1fractfoliage, 0.5, 0.5},
      {"RockyBush", fp1fractRockyBush, 0.5, 0.5},    {"forest", fp1fractforest, 0.5, 0.5},
  };
  for (const auto& row : scalars) {
    double result = -1, carried = -1;
    EXPECT_FALSE(row.body(&fi, 0, 0, 0, 1.0, &carried, 1.0, -1, &result)) << row.name;
    EXPECT_EQ(result, row.result) << row.name;
    EXPECT_EQ(carried, row.carried) << row.name;
  }

  const struct
  {
    const char* name;
    FractalOctaveProcRecord4 body;
    dvector4d rec;
  } records[] = {
      {"stones", fp4fractStonesNoise, {4.625, 4.56, 4.56, 0.65}},
      {"Cforest", fp4fractCforest, {0.5, 0.2, 1.1, 0.3}},
      {"foliage", fp4fractfoliage, {0.75, 0.1, 1.5, 0.1}},
  };
  for (const auto& row : records) {
    dvector4d rec;
    double carried = -1;
    EXPECT_FALSE(row.body(&fi, 0, 0, 0, 1.0, &carried, 1.0, -1, &rec)) << row.name;
    EXPECT_EQ(rec.x, row.rec.x) << row.name;
    EXPECT_EQ(rec.y, row.rec.y) << row.name;
    EXPECT_EQ(rec.z, row.rec.z) << row.name;
    EXPECT_EQ(rec.w, row.rec.w) << row.name;
    EXPECT_EQ(carried, 0.5) << row.name;
  }
}

TEST_F(TerrainTest, FlagsTurnTheDriver)
{
  // The saw bodies flag a negative saw value; the sparse rock body flags
  // every octave in the band; the vegetation bodies never flag.
  for (double x : {-3.7, 0.2, 5.5, 11.1}) {
    const double y = 0.3 * x - 1, z = 2.5 - x;
    double r = 0, c = 0.5;
    const bool negative = frandom3Dsaw(t, x, y, z) < 0;
    EXPECT_EQ(fp1fracturedrocksB(&fi, x, y, z, 1, &c, 1, 0, &r), negative);
    EXPECT_EQ(fp1Erosion(&fi, x, y, z, 1, &c, 1, 2, &r), negative);
    EXPECT_TRUE(fp1fractrocks(&fi, x, y, z, 1, &c, 1, 1, &r));
    EXPECT_FALSE(fp1fractgrass(&fi, x, y, z, 1, &c, 1, 3, &r));
  }
}

TEST_F(TerrainTest, WorkedValuesOfTheUnselectedBodies)
{
  // Forest crowns at cell centres (d = 0): the tallest of each kind.
  const double crownOfKind[8] = {1, 1, 1, 0.5, 0.5, 0, 2.0 / 3, 2.0 / 3};
  for (int ix = -3; ix < 5; ++ix) {
    const int iy = 2 * ix + 1;
    const int kind = t->perm[(ix + t->perm[iy & 1023]) & 1023] & 7;
    double r = -1, c = -1;
    fp1fractforest(&fi, ix + 0.5, iy + 0.5, 0, 1, &c, 1, 0, &r);
    EXPECT_DOUBLE_EQ(r, crownOfKind[kind]) << ix;
    EXPECT_EQ(fi.accumulator, r);
  }

  // Rocky bush at octave 0 from its grain; at octave 2 the square of it.
  {
    const double x = 1.3, y = -0.7, w = 0.8;
    const double g = frandom2DUnitgrain(t, x + y, y) * w;
    const double e = (g < 1 ? (2 - g) * g : 1.0) - 0.25;
    double r = -1, c = -1;
    fp1fractRockyBush(&fi, x, y, 0, w, &c, 1, 0, &r);
    EXPECT_DOUBLE_EQ(r, e > 0 ? e * e : 0.0);
    const double s0 = r;
    fp1fractRockyBush(&fi, x, y, 0, w, &c, 0.5, 2, &r);
    EXPECT_DOUBLE_EQ(r, s0 + 0.5 * (s0 + 0.66) * g * g);
  }

  // Foliage (scalar) at octave 1 moves the carried value 0.4 and the
  // accumulator 0.333 of the way to the grain value.
  {
    double r = 0, c = 0;
    fp1fractfoliage(&fi, 0.37, 0.61, 0, 1, &c, 1, 0, &r);
    const double c0 = c, acc0 = fi.accumulator, r0 = r;
    fp1fractfoliage(&fi, 0.37, 0.61, 0, 1, &c, 0.5, 1, &r);
    const double g = (r - r0) / 0.5;
    EXPECT_NEAR(c, c0 + (g - c0) * 0.4, 1e-12);
    EXPECT_NEAR(fi.accumulator, acc0 + (g - acc0) * 0.333, 1e-12);
  }

  // Small dunes: nothing once the detail is finer than a pixel; at the
  // pixel scale itself the full ripple.
  EXPECT_EQ(SmallDuneNoise(&fi, 0.4, 0.9, 2.0, 0.5), 0.0);  // f = 1
  {
    const double k = 2, x = 0.4, y = 0.9, u = k * x;
    double rho = std::fabs(fUnitPerlinSaw2D(t, u + terrainLattice1D(t, 0.5 * u), k * y));
    if (rho < 0.5)
      rho = rho * rho + 0.25;
    EXPECT_DOUBLE_EQ(SmallDuneNoise(&fi, x, y, k, k), rho);
    EXPECT_DOUBLE_EQ(SmallDuneNoise(&fi, x, y, k, 1.25), rho * 0.5);  // f = 0.5
  }
  EXPECT_EQ(LimitGrassNoise(&fi, 0.4, 0.9, 64, 0.0), 0.0);  // f > 1
}

}  // namespace
