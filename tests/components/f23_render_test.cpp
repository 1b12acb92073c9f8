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
  const auto gradient = [](gfunc* g) {
    g->A = 0.6;
    g->B = -1.2;
  };
  const std::vector<uint8_t> direct = renderMember(kFamily23, 3, gradient);
  gfunc* inner = makeCompiledTree(kFamily23, 3, 1, 0, gradient);
  ASSERT_NE(inner, nullptr);
  gfunc* owner = &doc_->tree.funcs[0];

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
