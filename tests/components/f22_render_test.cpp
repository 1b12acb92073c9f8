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
  const auto rotateA = [](gfunc* g) {
    g->A = 0.6;
    g->B = 0.5;
  };
  const std::vector<uint8_t> direct = renderMember(kFamily22, 3, rotateA);
  gfunc* inner = makeCompiledTree(kFamily22, 3, 1, 0, rotateA);
  ASSERT_NE(inner, nullptr);
  gfunc* owner = &doc_->tree.funcs[0];

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
