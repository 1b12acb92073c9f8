// Family f43 as a whole: binding of every id and the fallback, display names
// and labels byte for byte, defaults and message-4 maps, the input codes
// message 6 sets, and the members whose handler is f11's.
#include <gtest/gtest.h>
#include <numbers>

#include "components/f11/f11_memory.h"
#include "components/f43/f43_colours.h"
#include "engine/catalog.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;

bool isPackedCompositing(int id)
{
  return id == 10 || (id >= 14 && id <= 23);
}

TEST(F43Catalog, EveryIdBindsARealMemberAndUnknownIdsBindRGBMix)
{
  for (int16_t id = 0; id <= 28; ++id) {
    SCOPED_TRACE(id);
    KVmemberHarness fresh;
    gfunc* g = fresh.bind(kFamily43, id);
    const KVcatalogMember m = KV_catalogMember(kFamily43, id);
    EXPECT_TRUE(m.real);
    EXPECT_EQ(g->compute, m.compute);
    if (id > 25)
      continue;  // the Loopers have connectors of their own
    EXPECT_EQ(g->inputCode, isPackedCompositing(id) ? kConnOne : kConnFour);
    EXPECT_EQ(g->outputCode, kConnThreeOut);
  }
  KVmemberHarness h;
  gfunc* tree = h.bind(kFamily43, kCompiledTreeId);
  EXPECT_TRUE(KV_catalogMember(kFamily43, kCompiledTreeId).real);
  EXPECT_EQ(h.displayName(), "Compiled tree");
  EXPECT_EQ(tree->A, 1);
  for (int16_t id : {int16_t(29), int16_t(-1)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily43, id);
    EXPECT_EQ(g->compute, f43_RGBmix);
    EXPECT_EQ(h.displayName(), " RGB Mix ");
  }
  EXPECT_EQ(KV_familyMemberCount(kFamily43), 30);
}

TEST(F43Catalog, NamesLabelsDefaultsAndRangeEnds)
{
  const KVnameRow names[] = {
      {0, " RGB Mix ", 2, {"A level ", "B level ", ""}},
      {1, " RGB Multiply ", 2, {"A amount ", "B offset ", ""}},
      {2, " RGB Alpha ", 2, {"A Threshold ", "B Feather ", ""}},
      {3, " RGB Interpolate ", 1, {" Interpolate ", "", ""}},
      {4, " Packed Depth sort", 1, {" z offset", "", ""}},
      {5, " w Offset", 3, {"Offset x ", "Offset y ", "Offset z "}},
      {6, " w Scale ", 2, {" Amount ", " Floor ", ""}},
      {7, " w Rotate", 3, {"Angle xy ", "Angle xz ", "Angle yz "}},
      {8, " Memory Add", 2, {"Start Value ", "Sum Gain ", ""}},
      {9, " Memory Max", 0, {"", "", ""}},
      {10, " Packed RGB w Min", 0, {"", "", ""}},
      {11, " Memory w Alpha", 3, {"Start Color Red ", "Start Color Green ", "Start Color Blue "}},
      {12, " Memory w Min", 0, {"", "", ""}},
      {13, " Memory w Max", 0, {"", "", ""}},
      {14, " Packed Alpha *w", 3, {"Threshold ", "Feather ", "Multiply w "}},
      {15, " Packed a*w alpha b", 3, {"Threshold ", "Feather ", "Multiply w "}},
      {16, " Packed (a+w) Alpha b", 3, {"Threshold ", "Feather ", "Add w "}},
      {17, " Packed Blend & Alpha", 3, {"Blend AB ", "Threshold ", "Feather "}},
      {18, " Packed Add & Add *w", 3, {"Add B ", "Add C ", "Multiply w "}},
      {19, " Packed Add & Blend *w", 3, {"Add B ", "Interpolate C ", "Multiply w "}},
      {20, " Packed Add & Mul +w", 3, {"Add B ", "Mul C ", "Add w "}},
      {21, " Packed Mul & Add *w", 3, {"Mul B ", "Add C ", "Multiply w "}},
      {22, " Packed RGB w Min Blend", 1, {"B transparency ", "", ""}},
      {23, " Packed Blend *w & Blend", 3, {"Interpolate B ", "Interpolate C ", "Multiply w "}},
      {24, " w Color Shift", 3, {"Hue w shift ", "Lightness modulation % ", "Saturation w shift "}},
      {25, " w Color Fade ", 2, {" Feather ", " Amount ", ""}},
      {127, "Compiled tree", 2, {"Scale ", "Iterations ", ""}},
  };
  const KVrangeRow ranges[] = {
      {0, {1, 1, -1}, {0, 0, 0}, {2, 2, 0}},
      {1, {0.5, 0.5, -1}, {0, 0, 0}, {1, 1, 0}},
      {2, {0.5, 0.5, -1}, {-1, 0, 0}, {1, 1, 0}},
      {3, {0.5, -1, -1}, {0, 0, 0}, {1, 0, 0}},
      {4, {0, -1, -1}, {-16, 0, 0}, {16, 0, 0}},
      {5, {0, 0, 0}, {-4, -4, -4}, {4, 4, 4}},
      {6, {0.5, 0, -1}, {0, -4, 0}, {1, 1, 0}},
      {7, {0, 0, 0}, {-2 * kPi, -2 * kPi, -2 * kPi}, {2 * kPi, 2 * kPi, 2 * kPi}},
      {8, {0, 1, -1}, {-4, 0, 0}, {2, 2, 0}},
      {9, {-1, -1, -1}, {0, 0, 0}, {0, 0, 0}},
      {11, {0, 2, 6}, {0, 0, 0}, {8, 8, 8}},
      {14, {0, 0.5, 0.5}, {-1, 0, 0}, {1, 1, 1}},
      {15, {0, 0.5, 0.5}, {-1, 0, 0}, {1, 1, 1}},
      {16, {0, 0.5, 0.5}, {-1, 0, 0}, {1, 1, 1}},
      {17, {0.5, 0.5, 0.5}, {0, 0, 0}, {1, 1, 1}},
      {18, {0.5, 0.5, 0.5}, {0, 0, 0}, {1, 1, 1}},
      {22, {0, -1, -1}, {0, 0, 0}, {1, 0, 0}},
      {24, {1, 0, 0}, {-6, 0, -6}, {6, 1, 6}},
      {25, {0.5, 1, -1}, {0, -1, 0}, {1, 1, 0}},
      {127, {1, 0, -1}, {0, 0, 0}, {1, 32, 0}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily43, row);
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h, kFamily43, row);
}

// Memory Add answers through f11's handler: message 8 replaces a negative
// gain by 1 as f11's member does.
TEST(F43Catalog, MemoryAddAnswersAsF11s)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily43, 8);
  EXPECT_EQ(g->handler(g, kMsgDisplayName, nullptr, nullptr, nullptr), 0);
  h.setParams(0.5, -2, 0);
  h.precompute();
  EXPECT_EQ(g->B, 1);
}

}  // namespace
