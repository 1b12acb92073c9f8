// Trees whose members depend on other components, rendered through the
// render driver 256 pixels wide: the same bytes on one thread and on four.
// Inside a loop and outside all loops the memory members start over every
// batch, and the derivatives put the inputs back, so nothing carries from
// one batch to the next.
#include <gtest/gtest.h>

#include "tests/components/f11_tree_fixture.h"

namespace {

using F11TreeRender = KVsmallTreeTest;

// " Iterations" B = 3 into f21 " Ripples" into each memory member.
TEST_F(F11TreeRender, LoopIntoMemoryMembers)
{
  for (int16_t memory : {int16_t(29), int16_t(30), int16_t(40), int16_t(50), int16_t(54)}) {
    SCOPED_TRACE(memory);
    add(kFamily11, 28, 0, {}, 0.5, 3, -1);
    add(kFamily21, 15, 1, {0});
    add(kFamily11, memory, 2, {1});
    arb_ServiceChanges(doc_, false);
    const std::vector<uint8_t> one = render(1);
    const std::vector<uint8_t> four = render(4);
    EXPECT_TRUE(one == four);
    arb_Clear(doc_, true, true);
  }
}

// f21 " Ripples" into each derivative.
TEST_F(F11TreeRender, RipplesIntoDerivatives)
{
  for (const auto& [family, id] :
       {std::pair{kFamily11, int16_t(15)}, std::pair{kFamily11, int16_t(26)},
        std::pair{kFamily11, int16_t(51)}, std::pair{kFamily12, int16_t(8)}}) {
    SCOPED_TRACE(id);
    add(kFamily21, 15, 0);
    add(family, id, 1, {0});
    arb_ServiceChanges(doc_, false);
    const std::vector<uint8_t> one = render(1);
    const std::vector<uint8_t> four = render(4);
    EXPECT_TRUE(one == four);
    // Not a flat picture.
    bool varies = false;
    for (size_t i = 4; i < one.size() && !varies; i += 4)
      varies = one[i + 1] != one[1] || one[i + 2] != one[2] || one[i + 3] != one[3];
    EXPECT_TRUE(varies);
    arb_Clear(doc_, true, true);
  }
}

}  // namespace
