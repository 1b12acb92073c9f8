// Every f32 member as a one-component tree through the render driver: the
// same picture on one thread and on four; a fractal member drawn before and
// after the bubbles gives the same picture; and a compiled sub-tree with one
// pass and full blend draws what its content draws.
#include <gtest/gtest.h>
#include <vector>

#include "tests/components/family_render.h"

namespace {

using F32Render = KVfamilyRender;

TEST_F(F32Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily32);
}

TEST_F(F32Render, FractalPictureDoesNotDependOnTheBubbles)
{
  const auto keep = [](gfunc*) {};
  const std::vector<uint8_t> before = renderMember(kFamily32, 29, keep);
  renderMember(kFamily32, 32, keep);
  EXPECT_TRUE(renderMember(kFamily32, 29, keep) == before);
}

TEST_F(F32Render, CompiledSubtreeDrawsItsContent)
{
  const auto rotate = [](gfunc* g) {
    g->A = 0.6;
    g->B = 0.5;
  };
  const std::vector<uint8_t> direct = renderMember(kFamily32, 4, rotate);
  gfunc* inner = makeCompiledTree(kFamily32, 4, 1, 0, rotate);
  ASSERT_NE(inner, nullptr);
  EXPECT_TRUE(render(1) == direct);
  EXPECT_TRUE(render(4) == direct);
}

}  // namespace
