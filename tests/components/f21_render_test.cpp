// Every built f21 member as a one-component tree through the render driver:
// the picture is the same on one thread and on several (each band on its own
// document copy), and a compiled sub-tree draws what its content draws.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/render.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"

namespace {

// Wide enough for four column bands of 64.
constexpr int kWidth = 256;
constexpr int kHeight = 20;

class F21Render : public ::testing::Test
{
protected:
  void SetUp() override
  {
    world_ = std::make_unique<KovrelinWorld>();
    gKovrelinWorld = world_.get();
    KV_initWorldRecord(world_.get());
    doc_ = &world_->doc;
    arb_Init(doc_);
    SetRndTempTables(doc_, 1);
    arb_setColorfunc(doc_, 0, true);
  }
  void TearDown() override
  {
    arb_Clear(doc_, true, true);
    gKovrelinWorld = nullptr;
  }

  std::vector<uint8_t> render(int processors)
  {
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
    AccessPix access;
    access.base = pixels.data();
    access.rowBytes = kWidth * 4;
    access.width = kWidth;
    access.height = kHeight;
    access.pixelSize = 32;
    renderjob job;
    SetUpRender(doc_, &job, nullptr, nullptr, nullptr, nullptr);
    SetUpRenderAccess(&job, &access);
    findRenderMetrics(&job, 1.0);
    EXPECT_EQ(KV_MultiProcRenderOn(&job, 0, processors), 0);
    return pixels;
  }

  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
};

TEST_F(F21Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  const int count = KV_familyMemberCount(kFamily21);
  for (int pos = 0; pos < count; ++pos) {
    const KVcatalogMember m = KV_familyMember(kFamily21, pos);
    if (!m.real)
      continue;
    SCOPED_TRACE(m.computeName);
    arb_presetinit(doc_, kFamily21, m.id);
    const std::vector<uint8_t> one = render(1);
    const std::vector<uint8_t> four = render(4);
    EXPECT_TRUE(one == four);
    arb_Clear(doc_, true, true);
  }
}

// Ax+By+C inside a compiled sub-tree with Scale 1 and Iterations 3 draws
// the picture of Ax+By+C alone, on one thread and on four.
TEST_F(F21Render, CompiledSubtreeDrawsItsContent)
{
  arb_presetinit(doc_, kFamily21, 0);
  doc_->tree.funcs[0].A = 0.75;
  doc_->tree.funcs[0].C = 1.5;
  const std::vector<uint8_t> direct = render(1);
  arb_Clear(doc_, true, true);

  arb_presetinit(doc_, kFamily21, kCompiledTreeId);
  smalltree* sub = arb_NewSubTree();
  ASSERT_NE(sub, nullptr);
  sub->version = kTreeVersion;
  sub->count = 1;
  gfunc* inner = &sub->funcs[0];
  inner->doc = doc_;
  inner->owner = sub;
  setFunc(inner, kFamily21, 0, kBindDefaults);
  inner->A = 0.75;
  inner->C = 1.5;
  inner->inlets[0].source = kSourceSubtreeInlet1;
  inner->inlets[1].source = kSourceSubtreeInlet1 + 1;
  gfunc* owner = &doc_->tree.funcs[0];
  doc_->embedded[0] = sub;
  owner->auxIndex = 0;
  owner->link = sub;
  owner->A = 1;
  owner->B = 3;
  arb_ServiceChanges(doc_, false);
  doc_->treeChanged = 1;

  EXPECT_TRUE(render(1) == direct);
  EXPECT_TRUE(render(4) == direct);

  // The sub-tree's own parameters drive the picture.
  inner->A = -2;
  doc_->paramsChanged = 1;
  EXPECT_FALSE(render(1) == direct);
}

}  // namespace
