// The generic member handler, the placeholder pair, and a built member picked
// up by the catalog.
#include "components/common/member.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>

#include "components/f11/f11_shaping.h"
#include "engine/catalog.h"
#include "engine/world.h"
#include "tests/engine/test_world.h"

namespace {

class MemberTest : public WorldAndComponentTest
{
protected:
  void TearDown() override { KV_setBatchLength(16); }
  std::string label() const { return world_.label(); }
};

std::string_view modeLabel(const gfunc* g, int param)
{
  if (param != 0)
    return {};
  switch (int(g->A)) {
    case 0:
      return " first #";
    case 1:
      return " second #";
    default:
      return {};
  }
}

void doubleB(gfunc* g)
{
  g->B *= 2;
}

// A choice list on A (0..3, integer part), a plain B, no C.
constexpr KVmemberDesc kTestMember{
    .id = 3,
    .computeName = "test_member",
    .name = " Test  member ",
    .params = {{.label = {}, .k = 3.99, .c = 0, .truncate = true},
               {.label = "Scale ", .k = 15, .c = 1}},
    .defaults = {1, 2, kAbsentParam},
    .choiceA = true,
    .freqFlag = 1,
    .outputCode = 0,
    .on8 = doubleB,
    .labelFor = [](const gfunc* g,
                   int p) { return p == 1 ? std::string_view("Scale ") : modeLabel(g, p); },
};

int16_t send(gfunc* g, int16_t msg, double* a = nullptr, double* b = nullptr, double* c = nullptr)
{
  return KV_memberHandler(kTestMember, g, msg, a, b, c);
}

TEST_F(MemberTest, DefaultsAndNamesComeFromTheDescriptor)
{
  g_->outputCode = 16;
  EXPECT_EQ(send(g_.get(), kMsgDefaults), 2);
  EXPECT_EQ(g_->A, 1);
  EXPECT_EQ(g_->B, 2);
  EXPECT_EQ(g_->C, -1);
  EXPECT_EQ(g_->rangeClass[0], kRangeChoice);
  EXPECT_EQ(g_->freqFlag, 1);
  EXPECT_EQ(g_->outputCode, 0);

  send(g_.get(), kMsgDisplayName);
  EXPECT_EQ(label(), " Test  member ");
}

TEST_F(MemberTest, ParameterMessagesStoreValueAndLabel)
{
  send(g_.get(), kMsgDefaults);
  struct Case
  {
    int16_t msg;
    double A;
    bool answers;
    const char* label;
    double value;
  };
  const Case cases[] = {
      {kMsgParamA, 1, true, " second #", 1},
      {kMsgParamA, 0, true, " first #", 0},
      {kMsgParamA, 7, true, "", 7},  // a mode without a name: value, no label
      {kMsgParamB, 1, true, "Scale ", 2},
      {kMsgParamC, 1, false, "", 0},  // no C: nothing happens
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.msg) * 100 + int(c.A));
    g_->A = c.A;
    world_->label[0] = 0;
    double out = -99;
    send(g_.get(), c.msg, &out);
    EXPECT_EQ(out, c.answers ? c.value : -99);
    EXPECT_EQ(label(), c.label);
  }
}

TEST_F(MemberTest, NormalisedValuesMapBothWays)
{
  send(g_.get(), kMsgDefaults);
  double a = 0.6, b = 0.5, c = 0.3;
  send(g_.get(), kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g_->A, 2);  // trunc(3.99 * 0.6)
  EXPECT_EQ(g_->B, 8.5);
  EXPECT_EQ(g_->C, -1);  // absent parameters are left alone

  g_->B = 16;
  double na = -1, nb = -1, nc = -1;
  send(g_.get(), kMsgToNormalized, &na, &nb, &nc);
  EXPECT_DOUBLE_EQ(na, 2 / 3.99);
  EXPECT_EQ(nb, 1.0);
  EXPECT_EQ(nc, -1);
}

TEST_F(MemberTest, HooksRunOnTheirMessagesOnly)
{
  g_->B = 3;
  send(g_.get(), kMsgPrepare);
  send(g_.get(), kMsgConvertOld);
  EXPECT_EQ(g_->B, 3);
  send(g_.get(), kMsgPrecompute);
  EXPECT_EQ(g_->B, 6);
  for (int16_t msg : {int16_t(3), int16_t(10), int16_t(-2)})
    EXPECT_EQ(send(g_.get(), msg), 0);
  EXPECT_EQ(g_->B, 6);
}

TEST_F(MemberTest, PlaceholderWritesZerosForTheBatchOnly)
{
  g_->family = kFamily33;  // three outputs
  g_->compute = KV_placeholder_compute;
  for (auto& out : g_->outputs)
    for (double& v : out)
      v = 7;
  KV_setBatchLength(5);
  g_->compute(g_.get());
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(g_->outputs[k][4], 0) << k;
    EXPECT_EQ(g_->outputs[k][5], 7) << k;
  }
  EXPECT_EQ(g_->outputs[3][4], 7);  // beyond the family's outputs
  KV_setBatchLength(0);
  g_->outputs[0][0] = 7;
  g_->compute(g_.get());
  EXPECT_EQ(g_->outputs[0][0], 7);
}

TEST_F(MemberTest, PlaceholderOfAnUnlistedIdAnswersAsTheDefaultMember)
{
  setFunc(g_.get(), kFamily13, 40, kBindDefaults);
  g_->handler(g_.get(), kMsgDisplayName, nullptr, nullptr, nullptr);
  const KVmemberDesc* def = KV_memberDesc(kFamily13, 2);
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(label(), def->name);
}

TEST_F(MemberTest, BuiltMemberIsPickedUpByTheCatalog)
{
  setFunc(g_.get(), kFamily11, 20, kBindDefaults);
  EXPECT_EQ(g_->compute, f11_offset);
  EXPECT_EQ(g_->handler, f11_offset_handler);
  EXPECT_TRUE(KV_catalogMember(kFamily11, 20).real);
  g_->handler(g_.get(), kMsgDisplayName, nullptr, nullptr, nullptr);
  EXPECT_EQ(label(), " x+A");

  double in[16] = {1, -2.5, gINFINITY, 2 * gINFINITY};
  g_->inlets[0] = inletinfos{in, kSourceMasterX, 1};
  g_->A = 1.5;
  KV_setBatchLength(4);
  g_->compute(g_.get());
  EXPECT_EQ(g_->outputs[0][0], 2.5);
  EXPECT_EQ(g_->outputs[0][1], -1);
  EXPECT_EQ(g_->outputs[0][2], gINFINITY);
  EXPECT_EQ(g_->outputs[0][3], gINFINITY);

  // A uniform input is computed once and fills the batch.
  g_->inlets[0].channels = 0;
  KV_setBatchLength(16);
  g_->compute(g_.get());
  for (double v : g_->outputs[0])
    EXPECT_EQ(v, 2.5);
}

}  // namespace
