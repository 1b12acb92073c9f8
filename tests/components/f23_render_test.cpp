// Every built f23 member as a one-component tree through the render driver:
// the same picture on one thread and on four; and a compiled sub-tree with
// one pass and scale 1 draws what its content draws.
#include <gtest/gtest.h>
#include <vector>

#include "tests/components/family_render.h"

namespace {

using F23Render = KVfamilyRender;

TEST_F(F23Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily23);
}

TEST_F(F23Render, CompiledSubtreeDrawsItsContent)
{
  arb_presetinit(doc_, kFamily23, 3);  // RGB color gradient
  doc_->tree.funcs[0].A = 0.6;
  doc_->tree.funcs[0].B = -1.2;
  const std::vector<uint8_t> direct = render(1);
  arb_Clear(doc_, true, true);

  arb_presetinit(doc_, kFamily23, kCompiledTreeId);
  smalltree* sub = arb_NewSubTree();
  ASSERT_NE(sub, nullptr);
  sub->version = kTreeVersion;
  sub->count = 1;
  gfunc* inner = &sub->funcs[0];
  inner->doc = doc_;
  inner->owner = sub;
  setFunc(inner, kFamily23, 3, kBindDefaults);
  inner->A = 0.6;
  inner->B = -1.2;
  inner->inlets[0].source = kSourceSubtreeInlet1;
  inner->inlets[1].source = kSourceSubtreeInlet1 + 1;
  gfunc* owner = &doc_->tree.funcs[0];
  doc_->embedded[0] = sub;
  owner->auxIndex = 0;
  owner->link = sub;
  owner->A = 1;
  owner->B = 0;
  arb_ServiceChanges(doc_, false);
  doc_->treeChanged = 1;

  EXPECT_TRUE(render(1) == direct);
  EXPECT_TRUE(render(4) == direct);

  // Half the scale darkens the picture, the same on any number of threads.
  owner->A = 0.5;
  doc_->paramsChanged = 1;
  const std::vector<uint8_t> half = render(1);
  EXPECT_FALSE(half == direct);
  EXPECT_TRUE(render(4) == half);
}

}  // namespace
