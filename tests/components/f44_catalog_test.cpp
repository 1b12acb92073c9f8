// Family f44 as a whole: binding of every id and the fallback, display names
// and labels byte for byte, defaults and message-4 maps, the connector codes
// message 6 sets, and the members whose handler is f11's.
#include <gtest/gtest.h>

#include "components/f44/f44_rgba.h"
#include "engine/catalog.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

int16_t inputCodeOf(int id)
{
  switch (id) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 8:
    case 11:
      return kConnFour;
    case 16:
      return kConnFourValueFirst;
    default:
      return kConnFourF44;
  }
}

TEST(F44Catalog, EveryIdBindsARealMemberAndUnknownIdsBindXYZScale)
{
  for (int16_t id = 0; id <= 16; ++id) {
    SCOPED_TRACE(id);
    KVmemberHarness fresh;
    gfunc* g = fresh.bind(kFamily44, id);
    const KVcatalogMember m = KV_catalogMember(kFamily44, id);
    EXPECT_TRUE(m.real);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(g->inputCode, inputCodeOf(id));
    EXPECT_EQ(g->outputCode, kConnFour);
  }
  EXPECT_TRUE(KV_catalogMember(kFamily44, kCompiledTreeId).real);
  KVmemberHarness h;
  for (int16_t id : {int16_t(18), int16_t(-1)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily44, id);
    EXPECT_EQ(g->compute, f44_scale);
    EXPECT_EQ(h.displayName(), " XYZ Scale");
  }
  EXPECT_EQ(KV_familyMemberCount(kFamily44), 19);
}

TEST(F44Catalog, NamesLabelsDefaultsAndRangeEnds)
{
  const KVnameRow names[] = {
      {0, " XYZ Scale", 3, {" Scale X ", " Scale Y ", " Scale Z "}},
      {1, " Memory w Alpha", 3, {"Alpha Level ", "Feather  ", "Start Color "}},
      {2, " Memory Weighted Add", 2, {"Alpha Contrast ", "Alpha Offset ", ""}},
      {3, " RGB * alpha", 3, {"Alpha contrast ", "Highlights level ", "Alpha level "}},
      {4, " Alpha Fade ", 2, {" Feather ", " Amount ", ""}},
      {5, " Alpha Shade", 2, {"Amount ", "Alpha contrast ", ""}},
      {6, " Smooth floor", 3, {"Floor level ", "Roof level ", "Smoothness "}},
      {7, " Alpha scale & offset", 3, {" Scale XYZ ", " Scale w/alpha ", " Offset w/alpha "}},
      {8, " Memory w Max", 2, {"Level ", "Feather ", ""}},
      {9, " XYZ Offset", 3, {"Offset x ", "Offset y ", "Offset z "}},
      {10, " Color Shift", 3, {"Hue shift ", "Lightness % ", "Saturation % "}},
      {11, " Memory Add", 1, {"Sum Gain ", "", ""}},
      {12, " Memory Fractal Add", 2, {" Power slope ", " Sum gain ", ""}},
      {13, " Memory Diff", 1, {"Smoothness ", "", ""}},
      {14, " Alpha gradient", 3, {"Amount % ", "Gradient Scale X ", "Gradient Offset "}},
      {15, " Contrast & offset", 3, {" Color contrast % ", " Scale w/alpha ", " Offset w/alpha "}},
      {16,
       " City Textures # (xziy)",
       3,
       {" City Texture Set B Sharp # ", "Color Cycle ", "Frequency "}},
      {127, "Compiled tree", 2, {"Scale ", "Iterations ", ""}},
  };
  const KVrangeRow ranges[] = {
      {0, {1, 1, 1}, {-4, -4, -4}, {4, 4, 4}},      {1, {0, 0.1, 0}, {-4, 0, 0}, {4, 2, 1}},
      {2, {1, 0, -1}, {0, -2, 0}, {2, 2, 0}},       {3, {1, 0, 0}, {0, 0, -4}, {8, 2, 2}},
      {4, {0.5, 1, -1}, {0, -1, 0}, {1, 1, 0}},     {5, {0.5, 1, -1}, {0, 0, 0}, {1, 4, 0}},
      {6, {0, 2, 0.125}, {-16, 0, 0}, {4, 100, 4}}, {7, {1, 1, 0}, {0, -4, -4}, {4, 4, 4}},
      {8, {0, 0.05, -1}, {-1, 0, 0}, {1, 4, 0}},    {9, {0, 0, 0}, {-32, -32, -32}, {32, 32, 32}},
      {10, {0, 1, 1}, {-6, -2, 0}, {6, 2, 2}},      {11, {1, -1, -1}, {0, 0, 0}, {1, 0, 0}},
      {12, {1, 1, -1}, {0.5, 0, 0}, {2, 2, 0}},     {13, {0, -1, -1}, {1e-7, 0, 0}, {2, 0, 0}},
      {14, {0.5, 1, 0}, {0, 0, -2}, {1, 2, 2}},     {15, {1, 1, 0}, {0, -4, -4}, {2, 4, 4}},
      {16, {2, 0.25, 2}, {0, 0, 0}, {7, 1, 8}},     {127, {1, 0, -1}, {0, 0, 0}, {1, 32, 0}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily44, row);
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h, kFamily44, row);
}

// The city's first label names the chosen set; a choice outside 0..7 (NaN
// too) copies none.
TEST(F44Catalog, CityLabelFollowsTheChoice)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily44, 16);
  for (const auto& [a, label] :
       {std::pair{0.0, " City Texture Set A Sharp # "}, std::pair{7.0, " City Classic Set Soft # "},
        std::pair{8.0, ""}, std::pair{-1.0, ""}, std::pair{std::nan(""), ""}}) {
    g->A = a;
    EXPECT_EQ(h.send(kMsgParamA), label) << a;
  }
}

}  // namespace
