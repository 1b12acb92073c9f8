// The high-rise, insect, sparse and B city plans: their streets and kerbs,
// the blocks the high-rise and sparse plans hand to plan A's layers, and
// motif values worked by hand.
#include <cmath>
#include <gtest/gtest.h>

#include "cell_test_support.h"
#include "celltextures/city_highrise.h"
#include "celltextures/city_insect.h"
#include "celltextures/city_sparse.h"
#include "celltextures/cityplan_a.h"
#include "celltextures/cityplan_b.h"

namespace {

using kvcell::Alley;
using kvcell::alleyAt;
using kvcell::hash;
using kvcell::within;

// Tables whose every permutation entry is `value`: every hash of every cell
// is `value`, so one block type and one parcel hash cover the plane.
std::unique_ptr<KVtables> constantCellTables(int32_t value)
{
  auto t = identityCellTables();
  for (int32_t i = 0; i < 1024; i++)
    t->perm[i] = value;
  return t;
}

bool highRiseLayerType(int32_t type)
{
  return type == 1 || type == 3 || type == 4 || type == 7 || type == 8 || type == 10 || type == 15;
}

// Where a plan puts its kerb-like points (kerbs, alley bands or parcel edge
// rows) and the code it writes there. (bx, by) is the point's position in
// its 32-position block, (lx, ly) in its 16-position parcel.
struct PlanStreets
{
  const char* name;
  CellTexture2DProc cell;
  bool halfUnits;
  double street, origin, centre, kerb;  // levels
  bool (*kerbAt)(int32_t type, int32_t bx, int32_t by, Alley alley);
  int32_t (*kerbCode)(const KVtables* t, int32_t type, int32_t x, int32_t y);
};

bool kerbOrBand(int32_t, int32_t bx, int32_t by, Alley alley)
{
  return !(kvcell::inside32(bx) && kvcell::inside32(by)) || alley == Alley::Band;
}

const PlanStreets kPlans[] = {
    {"LABTXT_HighRiseCity", LABTXT_HighRiseCity, true, -0.0625, -0.0625, -0.0625, -0.03125,
     [](int32_t type, int32_t bx, int32_t by, Alley) {
       return !highRiseLayerType(type) && !(kvcell::inside32(bx) && kvcell::inside32(by));
     },
     [](const KVtables*, int32_t type, int32_t, int32_t y) {
       return ((((y + 1) >> 1) >> 4) + 3) & ((type & 7) * 8 + 7);
     }},
    {"LABTXT_InsectCity", LABTXT_InsectCity, false, -0.25, -1.0, -1.0, 0.0, kerbOrBand,
     [](const KVtables* t, int32_t type, int32_t x, int32_t y) {
       return type + 8 * ((type + hash(t, 4, x, y)) & 31);
     }},
    {"LABTXT_SparceCity", LABTXT_SparceCity, true, -0.03125, -0.03125, -0.03125, 0.0,
     [](int32_t, int32_t bx, int32_t by, Alley) { return (bx & 15) <= 1 || (by & 15) <= 1; },
     [](const KVtables* t, int32_t type, int32_t x, int32_t y) {
       return type + 8 * ((type + hash(t, 4, (y + 1) >> 1, (x + 1) >> 1)) & 31);
     }},
    {"LABTXT_CityB", LABTXT_CityB, true, -0.0125, -0.0125, -0.0125, 0.0, kerbOrBand,
     [](const KVtables* t, int32_t type, int32_t x, int32_t y) {
       return (type & 7) + 8 * hash(t, 4, (x + 1) >> 1, (y + 1) >> 1);
     }},
};

// Under the identity permutation block (b, 0) near the origin has type b in
// every plan; walk all 16 types point by point.
TEST(CityPlans, StreetsKerbsAndAlleyCentres)
{
  auto t = identityCellTables();
  for (const PlanStreets& plan : kPlans) {
    const int32_t span = plan.halfUnits ? 64 : 32, start = plan.halfUnits ? -1 : 0;
    for (int32_t type = 0; type < 16; type++) {
      SCOPED_TRACE(testing::Message() << plan.name << " block type " << type);
      for (int32_t y = start; y < start + span; y++) {
        for (int32_t x = span * type + start; x < span * (type + 1) + start; x++) {
          const int32_t bx = plan.halfUnits ? ((x + 1) >> 1) & 31 : x & 31;
          const int32_t by = plan.halfUnits ? ((y + 1) >> 1) & 31 : y & 31;
          const int16_t mark = kvcell::streetMark(bx, by);
          const Alley alley = mark ? Alley::None : alleyAt(type, bx, by);
          int16_t code = 999;
          const double level = plan.cell(t.get(), x, y, &code);
          if (mark) {
            ASSERT_EQ(code, mark) << x << " " << y;
            ASSERT_EQ(level, mark == -2 ? plan.origin : plan.street) << x << " " << y;
          } else if (alley == Alley::Centre) {
            ASSERT_EQ(code, -2) << x << " " << y;
            ASSERT_EQ(level, plan.centre) << x << " " << y;
          } else if (plan.kerbAt(type, bx, by, alley)) {
            ASSERT_EQ(level, plan.kerb) << x << " " << y;
            ASSERT_EQ(code, plan.kerbCode(t.get(), type, x, y)) << x << " " << y;
          } else {
            ASSERT_GE(code, 0) << x << " " << y;
            ASSERT_GE(level, 0.0) << x << " " << y;
          }
        }
      }
    }
  }
}

// The high-rise blocks that building layers take, over whole blocks (b, 0)
// of the identity permutation; streets and alley centres come first.
TEST(HighRiseCity, HandsBlocksToTheBuildingLayers)
{
  auto t = identityCellTables();
  int32_t tall = 0;
  for (int32_t type : {1, 3, 4, 7, 8, 10, 15}) {
    SCOPED_TRACE(testing::Message() << "block type " << type);
    for (int32_t y = -1; y < 63; y++) {
      for (int32_t x = 64 * type - 1; x < 64 * type + 63; x++) {
        const int32_t X = x + 1, Y = y + 1, hx = (X >> 1) & 31, hy = (Y >> 1) & 31;
        if (kvcell::streetMark(hx, hy) || alleyAt(type, hx, hy) == Alley::Centre)
          continue;
        int16_t code = 0;
        const double level = LABTXT_HighRiseCity(t.get(), x, y, &code);
        int16_t expectedCode = int16_t(type);
        double expected;
        if (type == 1 || type == 3) {
          const int32_t v = type == 1 ? Y >> 1 : (Y >> 1) - 640;
          expected =
              std::trunc(8.0 * LABTXT_TEK_randomsymbuild(t.get(), X >> 1, v, &expectedCode)) * 0.25;
        } else if (type == 15) {
          expected = LABTXT_TEK_symbuild32(t.get(), x, y, &expectedCode);
        } else {
          expected = LABTXT_subcityA(t.get(), x - 1, y, &expectedCode);
        }
        ASSERT_EQ(level, expected) << x << " " << y;
        ASSERT_EQ(code, expectedCode) << x << " " << y;
        tall += level >= 1.0;
      }
    }
  }
  EXPECT_GT(tall, 0);
}

TEST(HighRiseCity, ParcelStreetsAreNeverRaised)
{
  auto t = identityCellTables();
  for (int32_t type = 0; type < 16; type++) {
    if (highRiseLayerType(type))
      continue;
    for (int32_t y = -1; y < 63; y++) {
      for (int32_t x = 64 * type - 1; x < 64 * type + 63; x++) {
        if (!kvcell::onStreet32(x & 31) && !kvcell::onStreet32(y & 31))
          continue;
        int16_t code = 0;
        ASSERT_LE(LABTXT_HighRiseCity(t.get(), x, y, &code), 0.0) << x << " " << y;
      }
    }
  }
}

// Identity permutation: block (13, 0) has type 13 and its parcel (27, 0)
// the hash g = 13 + 27 + 0 = 40, the footprint motif.
TEST(SparceCity, FootprintMotifKeepsTheParcelCode)
{
  auto t = identityCellTables();
  int32_t raised = 0;
  for (int32_t y = -1; y < 31; y++) {
    for (int32_t x = 863; x < 895; x++) {
      const int32_t hx = ((x + 1) >> 1) & 31, hy = ((y + 1) >> 1) & 31;
      if (kvcell::streetMark(hx, hy) || alleyAt(13, hx, hy) == Alley::Centre)
        continue;
      const int32_t lx = hx & 15, ly = hy & 15;
      int16_t code = 0;
      const double level = LABTXT_SparceCity(t.get(), x, y, &code);
      ASSERT_EQ(code, 13 + 8 * (40 & 31)) << x << " " << y;
      double expected = 0.0;  // no detail layer for g & 15 = 8
      if (lx > 1 && ly > 1 && std::abs(lx - 8) < 6 && std::abs(ly - 8) < 6)
        expected =
            std::trunc(14.0 * LABTXT_TEK_randomsymbuild(t.get(), x, y, nullptr) + 2.0) * 0.25;
      ASSERT_EQ(level, expected) << x << " " << y;
      raised += level > 0.5;
    }
  }
  EXPECT_GT(raised, 0);
}

// Motif values of the insect plan with constant tables. Permutation value
// 49: block type 1, g = 50, motif 0, c = 1. Value 48: type 0, g = 48,
// motif 23. Both give the code t + 8 (g & 31).
TEST(InsectCity, MotifValues)
{
  struct Case
  {
    int32_t perm, x, y;
    double level;
    int16_t code;
    const char* what;
  } cases[] = {
      {49, 10, 10, 0.625, 145, "motif 0, sx 10, p 0: c + 4"},
      {49, 10, 8, 0.25, 145, "motif 0, sx 10, p 1: c + 1"},
      {49, 9, 8, 0.5, 145, "motif 0, sx 9, p 0: c + 1, plus 2 on dx < 2"},
      {49, 8, 3, 0.25, 145, "motif 0 outside its area: the dx < 2 line"},
      {48, 8, 8, 4.0, 128, "motif 23 at the parcel centre"},
      {48, 8, 12, 1.0, 128, "motif 23 on a centre line"},
      {48, 10, 10, 0.375, 128, "motif 23 off the centre lines, odd x >> 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto t = constantCellTables(c.perm);
    int16_t code = 0;
    EXPECT_EQ(LABTXT_InsectCity(t.get(), c.x, c.y, &code), c.level);
    EXPECT_EQ(code, c.code);
  }
}

// Plan B with constant tables: value v gives block type v & 15, parcel hash
// g = v, shape g mod 28 and modifier (g >> 4) & 15. Points at (15, 15) have
// lx = ly = 8; (11, 7) has lx = 6, ly = 4 and X >> 2 odd; (11, 19) ly = 10.
TEST(CityB, ParcelShapesAndModifiers)
{
  struct Case
  {
    int32_t perm, x, y;
    double level;
    int16_t code;
    const char* what;
  } cases[] = {
      {0, 11, 19, 1.75, 0, "m 38, shape 0, n 12, outside modifier 0"},
      {0, 11, 7, 1.25, 6, "m 38, modifier 0: P = 38 (s + 10), material 6"},
      {151, 15, 15, 1.25, 1215, "shape 11 in 5..11: 10 storeys"},
      {151, 9, 21, 1.25, 1215, "shape 11 at lx 5, ly 11: 10 storeys"},
      {151, 7, 7, 0.75, 1215, "shape 11 in the core: 6 storeys"},
      {151, 35, 15, 0.0, 1215, "shape 11 outside the core"},
      {133, 15, 15, 0.25, 1069, "type 5 (m 13) ignores modifier 8"},
      {104, 15, 15, 0.0, 832, "type 8 (m 7) ignores modifier 6"},
      {11, 11, 7, 0.0, 91, "type 11 (m 10) ignores modifier 0"},
      {221, 15, 15, 1.0, 1773, "type 13 (m 13) ignores modifier 13"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto t = constantCellTables(c.perm);
    int16_t code = 0;
    EXPECT_EQ(LABTXT_CityB(t.get(), c.x, c.y, &code), c.level);
    EXPECT_EQ(code, c.code);
  }
}

}  // namespace
