// A bench that renders the document's tree through the render driver, as the
// family render tests use it: a world with reproducible tables, the default
// colour function, and a picture wide enough for four column bands of 64.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/render.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"

class KVfamilyRender : public ::testing::Test
{
protected:
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 20;

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

  // The picture's RGBA bytes, rendered on `processors` threads.
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

  // Every built member of `family` as a one-component tree draws the same
  // picture on one thread and on four.
  void expectEveryMemberThreadIndependent(int family)
  {
    const int count = KV_familyMemberCount(family);
    for (int pos = 0; pos < count; ++pos) {
      const KVcatalogMember m = KV_familyMember(family, pos);
      if (!m.real)
        continue;
      SCOPED_TRACE(m.computeName);
      arb_presetinit(doc_, int16_t(family), m.id);
      const std::vector<uint8_t> one = render(1);
      const std::vector<uint8_t> four = render(4);
      EXPECT_TRUE(one == four);
      arb_Clear(doc_, true, true);
    }
  }

  // The picture of member `id` of `family` alone, its parameters given by
  // set(member); the document is emptied afterwards.
  template <class Set>
  std::vector<uint8_t> renderMember(int16_t family, int16_t id, Set set)
  {
    arb_presetinit(doc_, family, id);
    set(&doc_->tree.funcs[0]);
    std::vector<uint8_t> picture = render(1);
    arb_Clear(doc_, true, true);
    return picture;
  }

  // Makes the document's tree one compiled-tree component of `family` (A and
  // B its own parameters) whose sub-tree holds member `id` of the same family,
  // its parameters given by set(member), fed by the sub-tree's two inlets.
  // Returns the inner member, or null when no sub-tree can be had; the owner
  // is the tree's component 0.
  template <class Set>
  gfunc* makeCompiledTree(int16_t family, int16_t id, double ownerA, double ownerB, Set set)
  {
    arb_presetinit(doc_, family, kCompiledTreeId);
    smalltree* sub = arb_NewSubTree();
    if (sub == nullptr)
      return nullptr;
    sub->version = kTreeVersion;
    sub->count = 1;
    gfunc* inner = &sub->funcs[0];
    inner->doc = doc_;
    inner->owner = sub;
    setFunc(inner, family, id, kBindDefaults);
    set(inner);
    inner->inlets[0].source = kSourceSubtreeInlet1;
    inner->inlets[1].source = kSourceSubtreeInlet1 + 1;
    gfunc* owner = &doc_->tree.funcs[0];
    doc_->embedded[0] = sub;
    owner->auxIndex = 0;
    owner->link = sub;
    owner->A = ownerA;
    owner->B = ownerB;
    arb_ServiceChanges(doc_, false);
    doc_->treeChanged = 1;
    return inner;
  }

  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
};
