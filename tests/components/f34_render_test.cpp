// Every built f34 member as a one-component tree through the render driver:
// the same picture on one thread and on four; ids without a member draw the
// Mondrian.
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "tests/components/family_render.h"

namespace {

using F34Render = KVfamilyRender;

TEST_F(F34Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily34);
}

TEST_F(F34Render, IdsWithoutAMemberDrawTheMondrian)
{
  auto keep = [](gfunc*) {};
  const std::vector<uint8_t> mondrian = renderMember(kFamily34, 7, keep);
  EXPECT_TRUE(renderMember(kFamily34, 51, keep) == mondrian);
  EXPECT_TRUE(renderMember(kFamily34, -1, keep) == mondrian);
  // The picture is not empty.
  EXPECT_NE(std::count(mondrian.begin(), mondrian.end(), mondrian[1]), long(mondrian.size()));
}

}  // namespace
