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
  const auto plane = [](gfunc* g) {
    g->A = 0.75;
    g->C = 1.5;
  };
  const std::vector<uint8_t> direct = renderMember(kFamily21, 0, plane);
  gfunc* inner = makeCompiledTree(kFamily21, 0, 1, 3, plane);
  ASSERT_NE(inner, nullptr);

  EXPECT_TRUE(render(1) == direct);
  EXPECT_TRUE(render(4) == direct);

  // The sub-tree's own parameters drive the picture.
  inner->A = -2;
  doc_->paramsChanged = 1;
  EXPECT_FALSE(render(1) == direct);
}

}  // namespace
