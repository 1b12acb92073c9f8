// Family f33's binding: every id from 0 to 53 binds its own entry, ids
// without a member (54 to 126, 128 and up, negatives) bind "3D Scale", id 127
// binds the compiled tree and sets the compiled-tree flag; connector codes 14
// and 14 with the fourth input link cleared; the connector codes and flags of
// message 6; every built member drawn as a one-component tree on one thread
// and on four.
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "components/f33/f33_recurtree.h"
#include "components/f33/f33_transforms.h"
#include "engine/catalog.h"
#include "tests/components/family_render.h"
#include "tests/components/member_harness.h"

namespace {

TEST(F33Binding, EveryIdBindsItsEntryWithCodes14And14)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily33, 0);
  for (int16_t id = 0; id <= 53; ++id) {
    SCOPED_TRACE(id);
    // A stale fourth link must be cleared by the binding.
    g->inlets[3].source = kSourceOutput1 + 2;
    g = h.bind(kFamily33, id);
    const KVcatalogMember m = KV_catalogMember(kFamily33, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(g->handler, m.handler);
    EXPECT_EQ(g->inlets[3].source, kSourceUnset);
    EXPECT_EQ(g->lockFlags & kLockB, 0);
  }
}

TEST(F33Binding, IdsWithoutAMemberBindScale)
{
  KVmemberHarness h;
  for (const int16_t id : {int16_t(0), int16_t(54), int16_t(100), int16_t(126), int16_t(128),
                           int16_t(-1), int16_t(-32768), int16_t(32767)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily33, id);
    EXPECT_EQ(g->compute, f33_scale);
    EXPECT_EQ(g->handler, f33_scale_handler);
    EXPECT_EQ(h.displayName(), " 3D Scale");
    EXPECT_EQ(g->inputCode, kConnThreeOut);
    EXPECT_EQ(g->outputCode, kConnThreeOut);
    EXPECT_EQ(g->inlets[3].source, kSourceUnset);
    EXPECT_EQ(g->A, 1.0);
  }
}

TEST(F33Binding, CompiledTreeSetsItsFlag)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily33, kCompiledTreeId);
  EXPECT_TRUE(KV_catalogMember(kFamily33, kCompiledTreeId).real);
  EXPECT_EQ(g->compute, f33_recurtree);
  EXPECT_EQ(g->handler, f33_recurtree_handler);
  EXPECT_NE(g->lockFlags & kLockB, 0);
  EXPECT_EQ(g->inputCode, kConnThreeOut);
  EXPECT_EQ(h.displayName(), " Compiled tree");
}

// Message 6 changes the input code only for the face and the packed members,
// and sets the fractal flag only for the fractal members. Members not built
// yet are left out (they answer from their placeholder).
TEST(F33Binding, Message6CodesAndFlags)
{
  const std::vector<int16_t> inputCodeOne = {9, 10, 15, 16, 33, 36, 40, 53};
  const std::vector<int16_t> fractal = {4, 21, 42, 45, 46};
  auto listed = [](const std::vector<int16_t>& ids, int16_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  };
  KVmemberHarness h;
  for (int16_t id = 0; id <= 53; ++id) {
    if (!KV_catalogMember(kFamily33, id).real)
      continue;
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily33, id);
    EXPECT_EQ(g->inputCode, listed(inputCodeOne, id) ? kConnOne : kConnThreeOut);
    EXPECT_EQ(g->freqFlag != 0, listed(fractal, id));
  }
}

using F33Render = KVfamilyRender;

TEST_F(F33Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily33);
}

TEST_F(F33Render, IdsWithoutAMemberDrawTheScale)
{
  auto keep = [](gfunc*) {};
  const std::vector<uint8_t> scale = renderMember(kFamily33, 0, keep);
  EXPECT_TRUE(renderMember(kFamily33, 54, keep) == scale);
  EXPECT_TRUE(renderMember(kFamily33, -1, keep) == scale);
  EXPECT_NE(std::count(scale.begin(), scale.end(), scale[1]), long(scale.size()));
}

}  // namespace
