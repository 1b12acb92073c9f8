// Every built f21 member as a one-component tree through the render driver:
// the picture is the same on one thread and on several (each band on its own
// document copy), and a compiled sub-tree draws what its content draws.
#include <gtest/gtest.h>
#include <vector>

#include "tests/components/family_render.h"

namespace {

using F21Render = KVfamilyRender;

TEST_F(F21Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily21);
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
