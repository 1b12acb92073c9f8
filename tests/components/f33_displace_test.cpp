// The f33 3D noise displacements: names, labels, maps and the fractal flag;
// one worked value per member from its driver or basis; the constants of
// message 8 at the range ends the members guard (Multi Perlin's smallest
// frequency, turbulence's gain factor); turbulence moving with the animation
// time; the Perlin vector noise never negative; and the document's fractal
// record left as it was.
#include "components/f33/f33_displace.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

#include "components/f33/f33_pvt.h"
#include "engine/catalog.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/f33_member_fixture.h"
#include "tests/components/member_harness.h"

namespace {

class F33Displace : public F33MemberTest
{};

TEST_F(F33Displace, NamesLabelsMapsAndFlags)
{
  const KVnameRow names[] = {
      {4, " 3D Fractal displace", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {42, " 3D turbulence", 3, {"Amplitude ", "feedback ", "Frequency "}},
      {43, " 3D Perlin Vector Noise", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {48, " 3D Multi Perlin displace", 3, {"Amplitude ", "Octaves ", "Frequency "}},
  };
  const KVrangeRow ranges[] = {
      {4, {1, 0, 2}, {0, -32, 0}, {8, 32, 16}},
      {42, {1, 2, 2}, {0, -12, 0}, {8, 12, 16}},
      {43, {2, 0, 2}, {0, -16, 0}, {8, 16, 16}},
      {48, {4, 4, 2}, {-8, 1, 0}, {8, 128, 16}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h_, kFamily33, row);
  for (const KVrangeRow& row : ranges) {
    gfunc* g = KV_expectDefaultsAndRangeEnds(h_, kFamily33, row);
    EXPECT_EQ(g->freqFlag, row.id == 4 || row.id == 42 ? 1 : 0) << row.id;
    double n[3] = {0, 0, 0};
    h_.send(kMsgToNormalized, &n[0], &n[1], &n[2]);
    EXPECT_NEAR(n[1], 1, 1e-12) << row.id;  // message 5 inverts message 4
  }
}

TEST_F(F33Displace, FractalDisplaceAtOnePoint)
{
  const double A = 3, B = 1.5, C = 4, x = 0.7, y = -0.2, z = 1.6;
  bind(4, A, B, C);
  fractalsinfos fi = settings();
  double d[3] = {0, 0, 0};
  fractal3DVector_procptr(&fi, frandom3DVector3D, x, y, z, C / 2, h_.doc()->yPixelScale, A / 1000,
                          B, 0.5, &d[0], &d[1], &d[2]);
  expectNear(at(x, y, z), {x + d[0], y + d[1], z + d[2]});
  EXPECT_NE(d[2], 0.0);  // z moves too
}

// The gain is 0.35 + 0.15 k3 with k3 = A/4 held to [0, 1]; the phase is twice
// the animation time.
TEST_F(F33Displace, TurbulenceGainAndTime)
{
  struct Row
  {
    double A, k3;
  };
  for (const Row r : {Row{-2, 0}, Row{2, 0.5}, Row{4, 1}, Row{6, 1}, Row{std::nan(""), 0}}) {
    SCOPED_TRACE(r.A);
    gfunc* g = bind(42, r.A, 2, 2);
    EXPECT_EQ(f33_k(g).K[3], r.k3);
  }
  const double A = 2, B = 2, C = 2, x = 0.4, y = 0.9, z = -0.3;
  h_.doc()->time = 0.25;
  bind(42, A, B, C);
  fractalsinfos fi = settings();
  double d[3];
  turbulence3DVector_procptr(&fi, fPerlinNoise3DVector3D, x, y, z, C / 2, h_.doc()->yPixelScale / 2,
                             A / 2, 0.5, 0.35 + 0.15000000000000002 * 0.5, B / 8, d);
  const Triple early = at(x, y, z);
  expectNear(early, {x + d[0], y + d[1], z + d[2]});
  h_.doc()->time = 0.75;
  EXPECT_NE(at(x, y, z), early);
}

TEST_F(F33Displace, PerlinVectorNoiseIsTheNoiseMagnitudeAndNeverNegative)
{
  const double A = 2, B = 4, C = 3, x = 0.35, y = -1.45, z = 2.05;
  bind(43, A, B, C);
  double q[3];
  fPerlinNoise3DVector3D(&h_.doc()->tables, C / 4 * x + B / 8, C / 4 * y, C / 4 * z, &q[0], &q[1],
                         &q[2], 4 * A);
  expectNear(at(x, y, z), {std::fabs(q[0]), std::fabs(q[1]), std::fabs(q[2])});
  for (int i = 0; i < 40; ++i) {
    for (double v : at(-3 + 0.17 * i, 2.1 - 0.11 * i, 0.05 * i))
      EXPECT_GE(v, 0.0);
  }
}

// C = 0 takes the smallest frequency 0.00001 instead of dividing by 0; B
// octaves above the start frequency bound the band with the pixel density.
TEST_F(F33Displace, MultiPerlinFrequencyAndBand)
{
  gfunc* g = bind(48, 4, 4, 0);
  const double* K = f33_k(g).K;
  EXPECT_EQ(K[2], 0.00001);
  EXPECT_EQ(K[0], 4 / (2 * 0.00001));
  EXPECT_DOUBLE_EQ(K[1], 0.00004);
  for (double v : at(0.5, 0.5, 0.5))
    EXPECT_TRUE(std::isfinite(v));

  const double A = 4, B = 6, C = 2, x = -0.6, y = 1.1, z = 0.45;
  h_.doc()->yPixelScale = 2.0;  // below k1 = 3: the density bounds the band
  bind(48, A, B, C);
  fractalsinfos fi = settings();
  double d[3];
  fractal3DVector_procptr(&fi, fPerlinNoise3DVector3D, x, y, z, 0.5, 2.0, A / (2 * 0.5), 0.0, 0.5,
                          &d[0], &d[1], &d[2]);
  expectNear(at(x, y, z), {x + d[0], y + d[1], z + d[2]});
}

// The drivers run on a copy: a render leaves the document's record as it was.
TEST_F(F33Displace, DocumentFractalRecordUntouched)
{
  const fractalsinfos before = h_.doc()->fractal;
  for (int16_t id : {int16_t(4), int16_t(42), int16_t(48)}) {
    bind(id, 2, 1, 2);
    at(0.3, 0.4, 0.5);
  }
  const fractalsinfos& after = h_.doc()->fractal;
  EXPECT_EQ(after.octaves, before.octaves);
  EXPECT_EQ(after.accumulator, before.accumulator);
  EXPECT_EQ(after.secondOutput, before.secondOutput);
  EXPECT_EQ(after.paramA, before.paramA);
  EXPECT_EQ(after.lacunarity, before.lacunarity);
}

}  // namespace
