// Every built f22 member as a one-component tree through the render driver:
// the same picture on one thread and on four; and a compiled sub-tree with
// one pass and full blend draws what its content draws.
#include <gtest/gtest.h>
#include <vector>

#include "tests/components/family_render.h"

namespace {

using F22Render = KVfamilyRender;

TEST_F(F22Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily22);
}

TEST_F(F22Render, CompiledSubtreeDrawsItsContent)
{
  arb_presetinit(doc_, kFamily22, 3);  // Rotate A
  doc_->tree.funcs[0].A = 0.6;
  doc_->tree.funcs[0].B = 0.5;
  const std::vector<uint8_t> direct = render(1);
  arb_Clear(doc_, true, true);

  arb_presetinit(doc_, kFamily22, kCompiledTreeId);
  smalltree* sub = arb_NewSubTree();
  ASSERT_NE(sub, nullptr);
  sub->version = kTreeVersion;
  sub->count = 1;
  gfunc* inner = &sub->funcs[0];
  inner->doc = doc_;
  inner->owner = sub;
  setFunc(inner, kFamily22, 3, kBindDefaults);
  inner->A = 0.6;
  inner->B = 0.5;
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

  // More passes turn further, the same on any number of threads.
  owner->B = 2;
  doc_->paramsChanged = 1;
  const std::vector<uint8_t> three = render(1);
  EXPECT_FALSE(three == direct);
  EXPECT_TRUE(render(4) == three);
}

}  // namespace
