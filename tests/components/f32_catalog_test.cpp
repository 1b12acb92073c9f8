// Family f32 as a whole: binding of every id and of unknown ids, names and
// labels byte for byte, defaults and range ends, connector codes and the
// fractal flag after message 6, and the city member's choice labels.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

#include "components/f32/f32_arith.h"
#include "engine/catalog.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(F32Catalog, EveryIdBindsItsEntryAndUnknownIdsBindScaleOffset)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 42; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily32, id);
    const KVcatalogMember m = KV_catalogMember(kFamily32, id);
    EXPECT_EQ(m.id, id);
    EXPECT_TRUE(m.real);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(g->inlets[3].source, kSourceUnset);
  }
  for (const int16_t id : {int16_t(43), int16_t(100), int16_t(-1)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily32, id);
    EXPECT_EQ(g->compute, f32_zscaleoffset);
    EXPECT_EQ(g->handler, f32_zscaleoffset_handler);
    EXPECT_EQ(g->inputCode, kConnThree);
    EXPECT_EQ(g->outputCode, kConnTwo);
  }
  gfunc* g = h.bind(kFamily32, kCompiledTreeId);
  EXPECT_TRUE(KV_catalogMember(kFamily32, kCompiledTreeId).real);
  EXPECT_NE(g->lockFlags & kLockB, 0);
}

TEST(F32Catalog, NamesAndLabels)
{
  const KVnameRow rows[] = {
      {0, " z Scale & Offset", 3, {"Displace x ", "Displace y ", "z Scale "}},
      {1, " z Weighted Multiply", 3, {"z Scale x ", "z Scale y ", "Amplitude "}},
      {2, " Max(x y z), Min(x y z)", 0, {"", "", ""}},
      {3, " z Sin distort", 3, {"Frequency ", "Phase ", "Amplitude "}},
      {4, " z Rotate", 3, {"Rotation ", "Offset x ", "Offset y "}},
      {5, " z Waves", 2, {"Amplitude ", "Phase ", ""}},
      {6, " Multi bubbles", 3, {"Amplitude ", "Phase ", "Z Scale "}},
      {7, " Complex inversion", 2, {"Scale ", "Amplitude ", ""}},
      {8, " Perspective Sym", 1, {"Amplitude ", "", ""}},
      {9, " Multi inverse", 3, {"Amplitude ", "Frequency ", "Phase "}},
      {10, " Strange web", 3, {"Real ", "Imaginary ", "z Distort"}},
      {11, " z Displace", 3, {"Displace x ", "Displace y ", "Amplitude "}},
      {12, " Perspective Clipped", 1, {"Amplitude ", "", ""}},
      {13, " Parallel projection", 2, {"Angle xy ", "Angle uz ", ""}},
      {14, " Spherical projection", 2, {"Scale ", "Scale Y ", ""}},
      {15, " Random 3D noise", 3, {"Amplitude ", "Frequency ", "Phase "}},
      {16, " Turbulence 3D ", 3, {"Amplitude ", "Frequency ", "Phase "}},
      {17, " z Random waves", 3, {"Frequency ", "Amplitude ", "Phase "}},
      {18, " z Ripples", 3, {"Frequency ", "Amplitude ", "Phase "}},
      {19, " z Facet space", 3, {"Amplitude ", "Delta size ", "Frequency "}},
      {20, " z wipe", 3, {" Threshold ", " Distortion ", "Frequency "}},
      {21, " Max(x z), Max(y z)", 3, {"Phase x ", "Phase y ", "Phase z "}},
      {22, " z Multiply x*z, y*z", 0, {"", "", ""}},
      {23, " Random Fractal Space", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {24, " Min(x z), Min(y z)", 0, {"", "", ""}},
      {25, " Gated Distance", 3, {"Threshold ", "Amplitude x ", "Amplitude y "}},
      {26, " z Rotate & Scale", 3, {"Rotation ", "Scale amount ", "Phase "}},
      {27, " Multi Perlin random", 3, {"Amplitude ", "Octaves ", "Frequency "}},
      {28, " Multi Fractal displace", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {29, " Silex Fractal displace", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {30, " Cliff Chaos displace", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {31, " Ridged Fractal displace", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {32, " 3D fractal Bubbles", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {33, " Ocean & Foam", 3, {" Wave amp ", " Wavelet amp ", "Frequency "}},
      {34, " Balanced Ridged displace", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {35, " z Divide x/z, y/z", 0, {"", "", ""}},
      {36, " z Sin warp (amp) ", 3, {"Amplitude x warp ", "Amplitude y warp ", "Frequency "}},
      {37, " z Twirl", 3, {"Amount x ", "Offset x y ", "Offset y z "}},
      {38, " Spherical disk Tile", 3, {"Amplitude ", "Angle xz ", "Angle yz "}},
      {39, " z MultiFractal displace", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {40, " Rocky Fractal displace", 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {41, " z Multi Perlin random", 3, {"Amplitude ", "Octaves ", "Frequency "}},
      {42, " City Light and Reflection #", 3, {" Building G Sharp # ", "Amount ", "Frequency "}},
      {kCompiledTreeId, "", 2, {"Blend ", "Recursion ", ""}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : rows)
    KV_expectNameAndLabels(h, kFamily32, row);
}

TEST(F32Catalog, DefaultsAndRangeEnds)
{
  const double m1 = -1;
  const KVrangeRow rows[] = {
      {0, {0, 0, 1}, {-32, -32, 0.0625}, {32, 32, 4}},
      {1, {0, 0, 0.25}, {-4, -4, -2}, {4, 4, 2}},
      {2, {m1, m1, m1}, {m1, m1, m1}, {m1, m1, m1}},
      {4, {kPi / 2, 0, 0}, {-kPi, -8, -8}, {kPi, 8, 8}},
      {8, {1, m1, m1}, {-2, m1, m1}, {2, m1, m1}},
      {14, {1, 0.5, m1}, {0, 0.5, m1}, {8, 1, m1}},
      {20, {1, 0.5, 1}, {-6, -1, 0.0625}, {6, 1, 4}},
      {25, {8, 1, 1}, {-2, 0.25, 0.25}, {32, 4, 4}},
      {27, {1, 4, 2}, {0, 1, 0}, {4, 128, 16}},
      {33, {2, 0.5, 1}, {0, 0, 0}, {8, 2, 8}},
      {37, {0.5, 0, 0}, {0, -16, -16}, {1, 16, 16}},
      {38, {1, 0, 0}, {0, -2 * kPi, -2 * kPi}, {4, 2 * kPi, 2 * kPi}},
      {41, {2, 1, 1}, {0, 1, 0}, {2, 128, 16}},
      {42, {12, 1, 2}, {0, 0, 0}, {23, 2, 64}},
      {kCompiledTreeId, {1, 0, m1}, {0, 0, m1}, {1, 32, m1}},
  };
  KVmemberHarness h;
  for (const KVrangeRow& row : rows)
    KV_expectDefaultsAndRangeEnds(h, kFamily32, row);
}

TEST(F32Catalog, CodesAndFlagsAfterMessageSix)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 42; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily32, id);
    const bool fractal = id == 16 || id == 23 || id == 27 || (id >= 28 && id <= 34 && id != 33) ||
                         (id >= 39 && id <= 41);
    const bool wideInput = fractal || id == 13 || id == 14 || id == 33 || id == 42;
    EXPECT_EQ(g->inputCode, wideInput ? kConnThreeOut : kConnThree);
    EXPECT_EQ(g->outputCode, id == 42 ? 5 : id == 33 ? kConnOne : kConnTwo);
    EXPECT_EQ(g->freqFlag, fractal ? 1 : 0);
  }
}

TEST(F32Catalog, CityChoiceLabels)
{
  const char* const labels[24] = {
      " Building A Sharp # ",       " Building A Soft # ",        " Building B Sharp # ",
      " Building B Soft # ",        " Building C Sharp # ",       " Building C Soft # ",
      " Building D Sharp # ",       " Building D Soft # ",        " Building E Sharp # ",
      " Building E Soft # ",        " Building F Sharp # ",       " Building F Soft # ",
      " Building G Sharp # ",       " Building G Soft # ",        " Building H Sharp # ",
      " Building H Soft # ",        " Building I Sharp # ",       " Building I Soft # ",
      " City Patchwork A Sharp # ", " City Patchwork A Soft # ",  " City Patchwork B Sharp # ",
      " City Patchwork B Soft # ",  " City Patchwork C Sharp # ", " City Patchwork C Soft # ",
  };
  KVmemberHarness h;
  h.bind(kFamily32, 42);
  for (int v = 0; v < 24; ++v) {
    h.setParams(v + 0.5, 1, 2);
    EXPECT_EQ(h.send(kMsgParamA), labels[v]) << v;
  }
}

}  // namespace
