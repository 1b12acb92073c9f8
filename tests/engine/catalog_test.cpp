// Binding components through the catalog: every member of every family, the
// default members, unassigned family codes, the binding modes and the range
// probe.
#include "engine/catalog.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "engine/world.h"
#include "foundation/modifierkeys.h"
#include "tests/engine/test_world.h"

namespace {

// A world for the handlers' labels, and a fresh component.
class CatalogTest : public WorldAndComponentTest
{
protected:
  void SetUp() override { gctrl = 0; }
  void TearDown() override { gctrl = 0; }

  std::string displayName()
  {
    world_->label[0] = 0;
    g_->handler(g_.get(), kMsgDisplayName, nullptr, nullptr, nullptr);
    return world_.label();
  }
};

struct MemberRow
{
  int family;
  int id;
  std::string compute;
  std::string name;
  int inputCode;
  int outputCode;
};

// The member list, one row per member, as tab-separated data.
std::vector<MemberRow> readMemberRows()
{
  std::ifstream in(std::string(KV_SOURCE_DIR) + "/tests/engine/catalog_members.tsv");
  std::vector<MemberRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, '\t'))
      f.push_back(field);
    if (f.size() != 6)
      continue;
    rows.push_back({std::stoi(f[0]), std::stoi(f[1]), f[2], f[3].substr(1, f[3].size() - 2),
                    std::stoi(f[4]), std::stoi(f[5])});
  }
  return rows;
}

TEST_F(CatalogTest, EveryListedMemberBindsItsOwnEntry)
{
  const std::vector<MemberRow> rows = readMemberRows();
  ASSERT_EQ(rows.size(), 657u);
  std::map<int, int> perFamily;
  for (const MemberRow& row : rows) {
    SCOPED_TRACE(row.compute);
    ++perFamily[row.family];
    // The catalog's connector code is checked before message 6, which some
    // members answer by replacing it (the Loopers of f43 take code 12).
    setFunc(g_.get(), int16_t(row.family), int16_t(row.id), kBindOnly);
    EXPECT_EQ(g_->inputCode, row.inputCode);
    setFunc(g_.get(), int16_t(row.family), int16_t(row.id), kBindDefaults);
    const KVcatalogMember m = KV_catalogMember(row.family, row.id);
    EXPECT_EQ(m.id, row.id);
    EXPECT_EQ(std::string(m.computeName), row.compute);
    EXPECT_EQ(g_->compute, m.compute);
    EXPECT_EQ(g_->handler, m.handler);
    EXPECT_EQ(g_->family, row.family);
    EXPECT_EQ(g_->funcID, row.id);
    EXPECT_EQ(displayName(), row.name);
  }
  for (auto [family, count] : perFamily)
    EXPECT_EQ(KV_familyMemberCount(family), count) << "family " << family;
  EXPECT_EQ(perFamily.size(), std::size(kFamilyCodes));
}

TEST_F(CatalogTest, FamilyRowsAgreeWithTheInputAndOutputGroupings)
{
  // Connector code of n inputs / outputs, as the catalog sets them.
  const std::map<int, std::vector<int>> inputCodes = {
      {1, {1}}, {2, {8}}, {3, {10, 14}}, {4, {12, 16, 18}}};
  const std::map<int, int> outputCodes = {{1, 1}, {2, 8}, {3, 14}, {4, 16}, {5, 13}};
  for (uint16_t family : kFamilyCodes) {
    SCOPED_TRACE(family);
    const KVfamilyInfo* info = KV_familyInfo(family);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->outputCode, outputCodes.at(KV_familyOutputs(family)));
    const std::vector<int>& ins = inputCodes.at(KV_familyInputs(family));
    EXPECT_NE(std::find(ins.begin(), ins.end(), info->inputCode), ins.end());
    EXPECT_EQ(KV_familyMemberCount(family), info->lastId + 2);
  }
}

TEST_F(CatalogTest, UnlistedIdsBindTheFamilyDefault)
{
  struct Case
  {
    int family, id;
    const char* compute;
  };
  const Case cases[] = {
      {10, 4, "f24_mondrian"},
      {10, 59, "f24_mondrian"},
      {10, 200, "f24_mondrian"},
      {10, 0, "f24_xyza_Tiles"},
      {1, -1, "f11_affine"},
      {1, 58, "f11_affine"},
      {1, 127, "f11_recurtree"},
      {17, 0, "f13_unpack"},
      {17, 11, "f13_randomcolor"},
      {18, 0, "f14_unpack"},
      {18, 12, "f14_unpack"},
      {18, -32768, "f14_unpack"},
      {11, 51, "f34_mondrian"},
      {13, 126, "f25_mirror"},
      {13, 128, "f25_mirror"},
      {15, 9, "f41_RndMix"},
      {16, 32767, "f12_circularmotion"},
      {9, 26, "f43_iterator"},
      {9, 29, "f43_RGBmix"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.family) + "/" + std::to_string(c.id));
    setFunc(g_.get(), int16_t(c.family), int16_t(c.id), kBindDefaults);
    const KVcatalogMember m = KV_catalogMember(c.family, c.id);
    EXPECT_STREQ(m.computeName, c.compute);
    EXPECT_EQ(g_->handler, m.handler);
    EXPECT_EQ(g_->funcID, c.id == -32768 ? -32768 : int16_t(c.id));
  }
  // Every family: the id after the last listed one and the ids just around
  // 127 give the default member.
  for (uint16_t family : kFamilyCodes) {
    const KVfamilyInfo* info = KV_familyInfo(family);
    const KVcatalogMember def = KV_familyMember(family, info->defaultId);
    for (int id : {info->lastId + 1, 126, 128, -1})
      EXPECT_STREQ(KV_catalogMember(family, id).computeName, def.computeName)
          << "family " << family << " id " << id;
  }
}

TEST_F(CatalogTest, CompiledTreeMemberLocksB)
{
  for (uint16_t family : kFamilyCodes) {
    g_->lockFlags = kLockA;
    setFunc(g_.get(), int16_t(family), kCompiledTreeId, kBindDefaults);
    EXPECT_EQ(g_->lockFlags, kLockA | kLockB) << "family " << family;
    g_->lockFlags = 0;
    setFunc(g_.get(), int16_t(family), 0, kBindDefaults);
    EXPECT_EQ(g_->lockFlags, 0) << "family " << family;
  }
}

int16_t gSentinelMessages = 0;
void sentinelCompute(gfunc*) {}
int16_t sentinelHandler(gfunc*, int16_t, double*, double*, double*)
{
  ++gSentinelMessages;
  return 0;
}

TEST_F(CatalogTest, UnassignedFamilyCodesBindNothingAndSendNothing)
{
  for (int family : {0, 14, 19, 255, -1, -32768}) {
    SCOPED_TRACE(family);
    g_->compute = sentinelCompute;
    g_->handler = sentinelHandler;
    g_->inputCode = 77;
    g_->outputCode = 78;
    g_->inlets[3].source = 5;
    g_->A = 1.5;
    g_->rangeClass[1] = 3;
    gSentinelMessages = 0;
    setFunc(g_.get(), int16_t(family), 7, kBindDefaults);
    EXPECT_EQ(g_->family, uint16_t(family));
    EXPECT_EQ(g_->funcID, 7);
    EXPECT_EQ(g_->compute, sentinelCompute);
    EXPECT_EQ(g_->handler, sentinelHandler);
    EXPECT_EQ(g_->inputCode, 77);
    EXPECT_EQ(g_->outputCode, 78);
    EXPECT_EQ(g_->inlets[3].source, 5);
    EXPECT_EQ(g_->A, 1.5);
    EXPECT_EQ(gSentinelMessages, 0);
    EXPECT_EQ(g_->rangeClass[1], 0);
  }
  // A fresh component with no handler at all.
  auto fresh = std::make_unique<gfunc>();
  setFunc(fresh.get(), 14, 0, kBindDefaults);
  EXPECT_EQ(fresh->handler, nullptr);
}

TEST_F(CatalogTest, BindingClearsWhatAnEarlierBindingLeft)
{
  for (int k = 0; k < 4; ++k)
    g_->inlets[k].source = 3;
  g_->evalFlag = 1;
  g_->privateArea[0] = 0xAB;
  g_->privateArea[kPrivateAreaSize - 1] = 0xCD;
  g_->outputs[4][15] = 2.0;
  setFunc(g_.get(), kFamily31, 5, kBindOnly);
  EXPECT_EQ(g_->inlets[0].source, 3);
  EXPECT_EQ(g_->inlets[2].source, 3);
  EXPECT_EQ(g_->inlets[3].source, kSourceUnset);
  EXPECT_EQ(g_->evalFlag, 0);
  EXPECT_EQ(g_->privateArea[0], 0);
  EXPECT_EQ(g_->privateArea[kPrivateAreaSize - 1], 0);
  EXPECT_EQ(g_->outputs[4][15], 0.0);

  setFunc(g_.get(), kFamily11, 0, kBindOnly);
  EXPECT_EQ(g_->inlets[0].source, 3);
  EXPECT_EQ(g_->inlets[1].source, kSourceUnset);
}

// f11 id 20 (" x+A"): A runs from -32 to 32, default 0; B and C are absent.
TEST_F(CatalogTest, ModesDecideMessagesAndKeyframes)
{
  auto fill = [&] {
    g_->A = 5, g_->B = 6, g_->C = 7;
    g_->paramCount = 3;
    for (KVparamTriple& k : g_->keyframes)
      k = {9, 9, 9};
  };

  fill();
  setFunc(g_.get(), kFamily11, 20, kBindOnly);
  EXPECT_EQ(g_->A, 5);
  EXPECT_EQ(g_->C, 7);
  EXPECT_EQ(g_->keyframes[15].A, 9);
  EXPECT_EQ(g_->paramCount, 0);
  EXPECT_EQ(g_->rangeClass[0], 0);

  fill();
  gctrl = 1;
  setFunc(g_.get(), kFamily11, 20, kBindOnly);
  EXPECT_EQ(g_->paramCount, 3);
  gctrl = 0;

  fill();
  setFunc(g_.get(), kFamily11, 20, kBindKeepKeyframes);
  EXPECT_EQ(g_->A, 0);
  EXPECT_EQ(g_->B, -1);
  EXPECT_EQ(g_->C, -1);
  EXPECT_EQ(g_->paramCount, 1);
  EXPECT_EQ(g_->keyframes[0].A, 9);
  EXPECT_EQ(g_->keyframes[15].C, 9);
  EXPECT_EQ(g_->rangeClass[0], kRangeWide);
  EXPECT_EQ(g_->rangeClass[1], kRangeNone);

  fill();
  setFunc(g_.get(), kFamily11, 20, kBindDefaults);
  for (const KVparamTriple& k : g_->keyframes) {
    EXPECT_EQ(k.A, 0);
    EXPECT_EQ(k.B, -1);
    EXPECT_EQ(k.C, -1);
  }
}

// A test member whose message 4 maps each parameter by value = k*n + c, with
// k and c kept in its private area; it counts the messages it receives.
struct ProbeMember
{
  double k[3];
  double c[3];
  bool choiceA;
  int defaultsSent;
  int probesSent;
};

int16_t probeHandler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  ProbeMember& p = privateArea<ProbeMember>(g);
  if (msg == kMsgDefaults) {
    ++p.defaultsSent;
    if (p.choiceA)
      g->rangeClass[0] = kRangeChoice;
    return Paraminit(g, 1, 1, 1);
  }
  if (msg == kMsgFromNormalized) {
    ++p.probesSent;
    double* n[3] = {a, b, c};
    for (int i = 0; i < 3; ++i)
      KV_param(g, i) = p.k[i] * *n[i] + p.c[i];
  }
  return 0;
}

TEST_F(CatalogTest, ProbeClassifiesRangesAndPutsParametersBack)
{
  constexpr double pi = std::numbers::pi;
  struct Case
  {
    const char* what;
    double k, c;
    bool choiceA;
    uint8_t expected;
  };
  const Case cases[] = {
      {"unit", 1, 0, false, kRangeUnit},
      {"unit wins over choice", 1, 0, true, kRangeUnit},
      {"wide 0..16", 16, 0, false, kRangeWide},
      {"wide ending at 25", 35, -10, false, kRangeWide},
      {"choice kept at 25", 25, 0, true, kRangeChoice},
      {"angle 2 pi", 2 * pi, 0, false, kRangeAngle},
      {"angle pi from an offset", pi - 1, 1, false, kRangeAngle},
      {"choice ending at 2 pi", 2 * pi, 0, true, kRangeAngle},
      {"6.28 is no angle", 6.28, 0, false, kRangeNone},
      {"almost unit", 1, 1e-12, false, kRangeNone},
      {"just below wide", 15.999, 0, false, kRangeNone},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    g_->handler = probeHandler;
    ProbeMember& p = privateArea<ProbeMember>(g_.get());
    p = ProbeMember{{cs.k, cs.k, cs.k}, {cs.c, cs.c, cs.c}, cs.choiceA, 0, 0};
    g_->rangeClass[0] = cs.choiceA ? kRangeChoice : kRangeNone;
    g_->rangeClass[1] = g_->rangeClass[2] = kRangeNone;
    g_->A = 0.25, g_->B = 0.5, g_->C = 0.75;

    arb_findparamtypes(g_.get());
    EXPECT_EQ(g_->rangeClass[0], cs.expected);
    // The choice class is A's alone: B and C with the same map probe plainly.
    const uint8_t plain = cs.expected == kRangeChoice ? uint8_t(kRangeWide) : cs.expected;
    EXPECT_EQ(g_->rangeClass[1], plain);
    EXPECT_EQ(g_->rangeClass[2], plain);
    EXPECT_EQ(g_->A, 0.25);
    EXPECT_EQ(g_->B, 0.5);
    EXPECT_EQ(g_->C, 0.75);
    EXPECT_EQ(p.defaultsSent, 0);
    EXPECT_EQ(p.probesSent, 2);
  }
}

TEST_F(CatalogTest, ProbeKeepsAClassNoTestAssigns)
{
  g_->handler = probeHandler;
  privateArea<ProbeMember>(g_.get()) = ProbeMember{{6.28, 1, 16}, {0, 0, 0}, false, 0, 0};
  g_->rangeClass[0] = kRangeAngle;
  g_->rangeClass[1] = kRangeWide;
  g_->rangeClass[2] = kRangeUnit;
  arb_findparamtypes(g_.get());
  EXPECT_EQ(g_->rangeClass[0], kRangeAngle);
  EXPECT_EQ(g_->rangeClass[1], kRangeUnit);
  EXPECT_EQ(g_->rangeClass[2], kRangeWide);
}

// The members whose A chooses among numbered variants answer message 6 with
// class 4 on A, and the probe keeps it; their neighbours get no such class.
TEST_F(CatalogTest, ChoiceListMembersMarkA)
{
  struct Case
  {
    int family, id;
    bool choice;
  };
  const Case cases[] = {
      {kFamily11, 55, true},  {kFamily21, 61, true}, {kFamily25, 1, true},
      {kFamily11, 54, false}, {kFamily25, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.family) + "/" + std::to_string(c.id));
    setFunc(g_.get(), int16_t(c.family), int16_t(c.id), kBindDefaults);
    EXPECT_EQ(g_->rangeClass[0] == kRangeChoice, c.choice);
  }
}

TEST_F(CatalogTest, FindParamRangeReportsBothEnds)
{
  g_->handler = probeHandler;
  privateArea<ProbeMember>(g_.get()) = ProbeMember{{2, 4, 8}, {-1, 0, 1}, false, 0, 0};
  g_->A = 10, g_->B = 11, g_->C = 12;
  double low[3], high[3];
  arb_findparamrange(g_.get(), low, high);
  EXPECT_EQ(low[0], -1);
  EXPECT_EQ(low[1], 0);
  EXPECT_EQ(low[2], 1);
  EXPECT_EQ(high[0], 1);
  EXPECT_EQ(high[1], 4);
  EXPECT_EQ(high[2], 9);
  EXPECT_EQ(g_->A, 10);
  EXPECT_EQ(g_->B, 11);
  EXPECT_EQ(g_->C, 12);
}

}  // namespace

// The members that are built, family by family. Building a member makes this
// test fail until its id is added here, so the list always shows how far the
// catalog has come; the summary line reports the totals.
TEST(CatalogProgress, BuiltMembersAreExactlyTheListedOnes)
{
  const std::map<int, std::vector<int>> built = {
      {kFamily11, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                   20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
                   40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 127}},
      {kFamily12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 127}},
      {kFamily13, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 127}},
      {kFamily14, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 127}},
      {kFamily21,
       {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
        22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
        44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 127}},
      {kFamily22,
       {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
        20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
        40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 127}},
      {kFamily23, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                   16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31,
                   32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 127}},
      {kFamily24,
       {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
        20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
        40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 127}},
      {kFamily25, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                   16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 127}},
      {kFamily31, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                   19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37,
                   38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 127}},
      {kFamily32,
       {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
        22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 127}},
      {kFamily33, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                   19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37,
                   38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 127}},
      {kFamily34, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                   18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35,
                   36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 127}},
      {kFamily41, {0, 1, 2, 3, 4, 5, 6, 7, 8, 127}},
      {kFamily42, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                   17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 127}},
      {kFamily43, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                   15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 127}},
      {kFamily44, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 127}},
  };
  int real = 0, total = 0;
  for (uint16_t family : kFamilyCodes) {
    std::vector<int> ids;
    for (int k = 0; k < KV_familyMemberCount(family); ++k) {
      const KVcatalogMember m = KV_familyMember(family, k);
      if (m.real)
        ids.push_back(m.id);
    }
    const auto listed = built.find(family);
    EXPECT_EQ(ids, listed == built.end() ? std::vector<int>{} : listed->second)
        << "family " << family;
    real += int(ids.size());
    total += KV_familyMemberCount(family);
  }
  std::cout << "catalog: " << real << " of " << total << " members built\n";
  EXPECT_EQ(total, 657);
}
