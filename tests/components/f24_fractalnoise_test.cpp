// The f24 fractal-noise members: names, maps and precomputed constants; the
// far values below the first octave's band limit; the altitude-only pass;
// the fractal settings a member changes for one call and puts back; no jump
// at the band edges as the pixel density grows; the no-value marker; clouds
// and the patchwork against their library calls.
#include "components/f24/f24_fractalnoise.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "engine/palettelookups.h"
#include "noise/noises.h"
#include "noise/techno.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

const std::vector<int16_t> kDriverIds = {10, 11, 12, 13, 25, 26, 27, 30,
                                         31, 39, 46, 47, 48, 53, 54};
const std::vector<int16_t> kMarkerTestingIds = {10, 11, 12, 25, 13, 27, 26, 46, 48, 53};
const std::vector<int16_t> kMarkerFeedingIds = {31, 30, 39, 47, 54, 52};

std::array<double, 4> outputsAt(KVmemberHarness& h, double x, double y)
{
  return {h.at(x, y, 0), h.at(x, y, 1), h.at(x, y, 2), h.at(x, y, 3)};
}

TEST(F24FractalCatalog, NamesLabelsDefaultsAndMaps)
{
  const KVnameRow names[] = {
      {52, " Time R-patchwork", 3, {"Amplitude ", "Sharpness % ", "Frequency "}},
      {10, " Ridged noise ", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {11, " Fractal facets", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {12, " Lunar Granite noise ", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {31, " MultiFractal noise ", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {30, " Dome Rock ", 3, {"Amplitude ", "Amount ", "Frequency "}},
      {39, " Sparse MultiFractal ", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {47, " Random Domes", 3, {"Amplitude ", "Dome Shape ", "Frequency "}},
      {25, " Dunes ", 3, {"Amplitude ", "Amount ", "Frequency "}},
      {13, " Lichen rocks ", 3, {"Amplitude ", "Amount ", "Frequency "}},
      {27, " Pebbles ", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {26, " Rocks ", 3, {"Amplitude ", "Amount ", "Frequency "}},
      {46, " Fractal Curves ", 3, {"Amplitude ", "Amount ", "Frequency "}},
      {48, " Earth Cracks ", 3, {"Amplitude ", "Amount ", "Frequency "}},
      {53, " Vein network ", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {54, " Fractal Shaded Clouds ", 3, {"Amplitude ", "Shadow offset % ", "Frequency "}},
  };
  const KVrangeRow ranges[] = {
      {52, {0.25, 0.25, 1}, {0, 0, 0}, {1, 1, 8}},  {10, {1, 0.5, 1}, {-16, 0, 0}, {16, 1, 16}},
      {11, {2, 0.25, 1}, {-16, 0, 0}, {16, 1, 16}}, {12, {4, 0.5, 2}, {0, 0, 0}, {8, 1, 16}},
      {31, {4, 0.5, 2}, {0, 0, 0}, {8, 1, 16}},     {30, {4, 0, 2}, {-16, 0, 0}, {16, 1, 16}},
      {39, {4, 0.5, 2}, {-16, 0, 0}, {16, 1, 16}},  {47, {2, 0.5, 2}, {-8, 0, 0}, {8, 1, 16}},
      {25, {2, 0.12, 2}, {-16, 0, 0}, {16, 1, 16}}, {13, {1, 0.5, 1}, {-16, 0, 0}, {16, 1, 16}},
      {27, {1, 0.5, 2}, {0, 0, 0}, {16, 1, 16}},    {26, {1, 0.5, 1}, {-16, 0, 0}, {16, 1, 16}},
      {46, {1, 0.5, 1}, {-16, 0, 0}, {16, 1, 16}},  {48, {1, 0.5, 1}, {-16, 0, 0}, {16, 1, 16}},
      {53, {2, 0.5, 1}, {0, 0, 0}, {8, 1, 16}},     {54, {2, 0.5, 2}, {0, 0, 0}, {4, 1, 16}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily24, row);
  for (const KVrangeRow& row : ranges) {
    gfunc* g = KV_expectDefaultsAndRangeEnds(h, kFamily24, row);
    // Message 5 inverts message 4.
    double a = 0.3, b = 0.6, c = 0.9;
    h.send(kMsgFromNormalized, &a, &b, &c);
    a = b = c = -1;
    h.send(kMsgToNormalized, &a, &b, &c);
    EXPECT_NEAR(a, 0.3, 1e-12);
    EXPECT_NEAR(b, 0.6, 1e-12);
    EXPECT_NEAR(c, 0.9, 1e-12);
    // The frequency flag for all but the patchwork and the dunes.
    EXPECT_EQ(g->freqFlag != 0, row.id != 52 && row.id != 25) << row.id;
    EXPECT_EQ(g->inputCode, row.id == 53 ? kConnThreeOut : kConnTwo) << row.id;
  }
}

TEST(F24FractalCatalog, MessageEightConstants)
{
  struct Row
  {
    int16_t id;
    double A, B, C;
    std::vector<double> k;  // k0, k1, ...; NaN where not set
  };
  const double n = std::nan("");
  const Row rows[] = {
      {52, 0.5, 0.2, 4, {1.5 - 0.3, 34, 0.5, 1.9375 * 0.5 + 0.0625}},
      {52, 0.5, 0.2, 0, {1.2, 34, 1e-7}},
      {10, 3, 0.5, 4, {3, n, 2}},
      {10, 3, 0.5, 0, {3, n, 1e-7}},
      {11, 3, 0.5, 4, {12, n, 1}},
      {12, 3, 0.7, 4, {6, 0.028, 1, 1.8 + 0.40000000000000013 * 0.7 - 0.25 * (1 - 0.7)}},
      {31, 3, 0.5, 4, {3, n, 1}},
      {30, 3, 0.5, 4, {6, n, 1}},
      {39, 3, 0.5, 4, {6, n, 1, 0.02 * 3 / 512}},
      {47, 3, 0.5, 4, {3, n, 1}},
      {25, 3, 0.5, 4, {6, n, 1}},
      {13, 3, 0.5, 4, {4.5, n, 2}},
      {27, 3, 0.5, 4, {1.5, 0.11, 4, 7.2}},
      {27, 3, 0.5, 1e-8, {1.5, 0.11, 1e-7, 1.8e-7}},
      {26, 3, 0.5, 4, {3, n, 4}},
      {46, 3, 0.5, 0, {3, n, 1e-7}},
      {48, 3, 0.5, 4, {3, n, 4}},
      {53, 3, 0.5, 0, {6, 0.30000000000000004 * 3 / 8 + 0.8, 0, 1.5}},
      {54,
       2,
       0.5,
       4,
       {3.5, 0.075, 1, 0.125, 6 - 4.4 * 0.65, 7 - 3.2 * 0.65, 8 - 1.5999999999999996 * 0.65}},
      // C = 0: the shadow offset divides by C floored at 1e-7.
      {54, 2, 0.5, 0, {3.5, 0.075, 1e-7, 0.5 / 1e-7}},
  };
  KVmemberHarness h;
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.id) + " C " + std::to_string(r.C));
    gfunc* g = h.bind(kFamily24, r.id);
    h.setParams(r.A, r.B, r.C);
    h.precompute();
    const F24constants& k = f24_k(g);
    for (size_t i = 0; i < r.k.size(); ++i)
      if (!std::isnan(r.k[i])) {
        EXPECT_DOUBLE_EQ(k.K[i], r.k[i]) << "k" << i;
      }
  }
}

// Below the first octave's band limit every driver member shows its body's
// far value: a constant colour and altitude.
TEST(F24FractalFar, FarValuesAtALowPixelDensity)
{
  struct Row
  {
    int16_t id;
    double k0;  // at the defaults
    double out[4];
  };
  const Row rows[] = {
      {10, 1, {8 * 0.46, 8 * 0.42, 8 * 0.39, 0.5}},
      {11, 8, {4, 4, 4, 0.25 * 8}},
      {12, 8, {4, 4, 4, 0}},
      {31, 4, {4, 4, 4, 0}},
      {39, 8, {4, 4, 4, 0}},
      {30, 8, {8 * 0.6, 8 * 0.5, 8 * 0.4, 0.5 * 8}},
      {47, 2, {4.8, 4.8, 4.8, 0.7 * 2}},
      {13, 1.5, {4, 4, 4, 0.25 * 1.5}},
      {26, 1, {4, 4, 4, 0.25}},
      {27, 0.5, {8 * 0.8, 8 * 0.75, 8 * 0.75, -0.05 * 0.5}},
      {53, 4, {8 * 0.47, 8 * 0.47, 8 * 0.2, 0.25 * 4}},
      {46, 1, {8 * 0.45, 8 * 0.6, 8 * 0.45, 0.45}},
      {48, 1, {8 * 0.75, 8 * 0.65, 8 * 0.55, 0.25}},
  };
  KVmemberHarness h;
  h.doc()->yPixelScale = 1e-3;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    h.bind(kFamily24, r.id);
    h.prepare();
    for (double x : {-2.3, 0.0, 1.7}) {
      const std::array<double, 4> o = outputsAt(h, x, 0.6);
      for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(o[i], r.out[i], 1e-12) << "x " << x << " out " << i;
    }
  }
  // The dunes' far colour follows the slow per-area noise P1.
  h.bind(kFamily24, 25);
  h.prepare();
  const double k2 = 0.5,
               P1 = 2.1333333333333333 *
                    fUnitPerlinNoise2D(&h.doc()->tables, 0.03 * k2 * 1.7, 0.03 * k2 * 0.6);
  const std::array<double, 4> dunes = outputsAt(h, 1.7, 0.6);
  EXPECT_NEAR(dunes[0], 8.0, 1e-12);
  EXPECT_NEAR(dunes[1], 8 * (0.9 - 0.04 * P1), 1e-12);
  EXPECT_NEAR(dunes[2], 8 * (0.5 + 0.15 * P1), 1e-12);
  EXPECT_NEAR(dunes[3], 0.2 * 4, 1e-12);
  // The clouds' far densities are 0.15 each.
  gfunc* g = h.bind(kFamily24, 54);
  h.prepare();
  const F24constants& k = f24_k(g);
  const double a = 0.15 * k.K[0], grey = 9 - 1.5 * 0.5 - a, cover = std::clamp(a, 0.0, 1.0);
  const std::array<double, 4> clouds = outputsAt(h, 1.7, 0.6);
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(clouds[i], k.K[4 + i] + (grey - k.K[4 + i]) * cover, 1e-12);
  EXPECT_NEAR(clouds[3], 2 * a, 1e-12);
}

TEST(F24FractalFrame, AltitudeOnlyPassKeepsTheRidgedColourOfOctaveZero)
{
  KVmemberHarness h;
  h.doc()->yPixelScale = 64;
  h.bind(kFamily24, 10);
  h.prepare();
  for (double x : {-1.3, 0.4, 2.9}) {
    const double altitude = h.at(x, 0.7, 3);
    h.doc()->fractal.reliefPass = 1;
    EXPECT_EQ(h.at(x, 0.7, 0), 3.68);
    EXPECT_EQ(h.at(x, 0.7, 1), 3.36);
    EXPECT_EQ(h.at(x, 0.7, 2), 3.12);
    EXPECT_EQ(h.at(x, 0.7, 3), altitude);
    h.doc()->fractal.reliefPass = 0;
    EXPECT_NE(h.at(x, 0.7, 0), 3.68);
  }
}

// Pebbles, Random Domes and Earth Cracks change the octave count (and the
// pebbles the lacunarity and fade) for one call; P1 and P2 stay as set.
TEST(F24FractalFrame, SettingsChangedForOneCallArePutBack)
{
  KVmemberHarness h;
  fractalsinfos& F = h.doc()->fractal;
  for (int16_t id : {27, 47, 48}) {
    SCOPED_TRACE(id);
    h.bind(kFamily24, id);
    h.prepare();
    F.octaves = 9;
    F.lacunarity = 2.25;
    F.fade = 1 - 1 / 2.25;
    F.paramA = F.paramB = -777;
    h.run(KVtestInput::fill(0.37), KVtestInput::fill(-1.2));
    EXPECT_EQ(F.octaves, 9);
    EXPECT_EQ(F.lacunarity, 2.25);
    EXPECT_EQ(F.fade, 1 - 1 / 2.25);
    if (id != 47) {  // the pebbles set P1 and P2, the cracks P2
      EXPECT_NE(F.paramB, -777);
    }
  }
  // Random Domes runs five octaves, whatever the document's count.
  h.bind(kFamily24, 47);
  h.prepare();
  for (double x = -3; x < 3; x += 0.31) {
    F.octaves = 16;
    const double five = h.at(x, -1.2, 3);
    F.octaves = 2;
    EXPECT_EQ(h.at(x, -1.2, 3), five) << x;
  }
}

TEST(F24FractalFrame, MarkersOfTheTestingMembersAndFiniteValuesOfTheOthers)
{
  KVmemberHarness h;
  for (int16_t id : kMarkerTestingIds) {
    SCOPED_TRACE(id);
    h.bind(kFamily24, id);
    h.prepare();
    for (int out = 0; out < 4; ++out) {
      EXPECT_EQ(h.at(M, 0.5, out), M);
      EXPECT_EQ(h.at(3 * M, 0.5, out), M);
      EXPECT_TRUE(std::isfinite(h.at(0.5, M, out)));
    }
  }
  for (int16_t id : kMarkerFeedingIds) {
    SCOPED_TRACE(id);
    h.bind(kFamily24, id);
    h.prepare();
    for (double x : {M, -M, 3 * M})
      for (int out = 0; out < 4; ++out)
        EXPECT_TRUE(std::isfinite(h.at(x, 0.5, out))) << x << " " << out;
  }
}

// As the pixel density crosses a band edge (an octave's frequency reaching
// the band limit, or leaving it by a lacunarity), the outputs move without
// a jump: R against R * 1.0001 straddling the edge.
TEST(F24FractalFrame, NoJumpAcrossTheBandEdges)
{
  struct Ladder
  {
    int16_t id;
    double f0, fmaxFactor, lacunarity;
  };
  const double L = 2.0943951024;
  const Ladder ladders[] = {
      {10, 0.5, 0.5, L}, {11, 0.25, 0.5, L}, {12, 0.5, 0.6, L},  {31, 0.5, 0.5, L},
      {30, 0.5, 0.5, L}, {39, 0.5, 0.5, L},  {47, 0.5, 0.5, L},  {25, 0.5, 0.5, L},
      {13, 0.5, 0.5, L}, {27, 3.6, 0.5, L},  {27, 2, 0.5, 1.35}, {26, 1, 0.3, L},
      {46, 1, 0.3, L},   {48, 1, 0.3, L},    {48, 0.25, 0.3, L}, {53, 1.0 / 16, 0.333, L},
      {54, 0.5, 0.5, L},
  };
  KVmemberHarness h;
  for (const Ladder& l : ladders) {
    h.bind(kFamily24, l.id);
    h.prepare();
    for (int octave = -1; octave <= 4; ++octave) {
      const double edge = l.f0 * std::pow(l.lacunarity, octave) / l.fmaxFactor;
      const double R = edge / 1.00005;
      for (double x : {-1.9, 0.3, 2.2}) {
        SCOPED_TRACE(std::to_string(l.id) + " octave " + std::to_string(octave) + " x " +
                     std::to_string(x));
        h.doc()->yPixelScale = R;
        const std::array<double, 4> below = outputsAt(h, x, 0.8);
        h.doc()->yPixelScale = R * 1.0001;
        const std::array<double, 4> above = outputsAt(h, x, 0.8);
        for (int i = 0; i < 4; ++i)
          EXPECT_NEAR(above[i], below[i], 0.02 * (1 + std::fabs(below[i]))) << i;
      }
    }
  }
}

TEST(F24FractalFrame, DunesWithoutASeventhOctaveShowOctaveZeroAlone)
{
  KVmemberHarness h;
  h.doc()->yPixelScale = 4000;
  h.bind(kFamily24, 25);
  h.prepare();
  fractalsinfos& F = h.doc()->fractal;
  int rippled = 0;
  for (double x = -3; x < 3; x += 0.173) {
    F.octaves = 1;
    const double alone = h.at(x, 0.41, 3);
    F.octaves = 6;
    EXPECT_EQ(h.at(x, 0.41, 3), alone) << x;
    F.octaves = 16;
    rippled += h.at(x, 0.41, 3) != alone;
  }
  EXPECT_GT(rippled, 0);
}

TEST(F24FractalClouds, ShadingFollowsTheDensityWhenTheShadowOffsetIsZero)
{
  KVmemberHarness h;
  h.doc()->yPixelScale = 64;
  h.doc()->time = 0.3;
  gfunc* g = h.bind(kFamily24, 54);
  h.setParams(2, 0, 2);
  h.prepare();
  const F24constants& k = f24_k(g);
  for (double x = -3; x < 3; x += 0.37) {
    const std::array<double, 4> o = outputsAt(h, x, -0.9);
    const double a = o[3] / 2, grey = 9 - a, cover = std::clamp(a, 0.0, 1.0);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(o[i], k.K[4 + i] + (grey - k.K[4 + i]) * cover, 1e-9) << x;
  }
}

TEST(F24FractalPatchwork, PatchworkOfTheDocumentPaletteMovingWithTime)
{
  KVmemberHarness h;
  h.doc()->time = 0.6;
  gfunc* g = h.bind(kFamily24, 52);
  h.setParams(0.4, 0.3, 2);
  h.prepare();
  const F24constants& k = f24_k(g);
  const KVtables* t = &h.doc()->tables;
  for (double x = -3; x < 3; x += 0.29) {
    double rec[3], c[3];
    R_patchwork(t, k.K[2] * x, k.K[2] * 1.1, k.K[1], k.K[3], k.K[0], 0.3, 5, rec);
    fvcolorgradient(&t->gradientKeys, rec[2], c);
    const double shade = std::min(8 * rec[1], 1.0);
    const std::array<double, 4> o = outputsAt(h, x, 1.1);
    for (int i = 0; i < 3; ++i)
      EXPECT_DOUBLE_EQ(o[i], c[i] * shade / 32) << x;
    EXPECT_DOUBLE_EQ(o[3], 4 * rec[0]) << x;
  }
}

}  // namespace
