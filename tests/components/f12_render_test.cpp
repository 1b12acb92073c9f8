// Every member of f12, f13 and f14 as a one-component tree fed by x,
// through the render driver: the same picture on one thread and on four.
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using OneInputRender = KVfamilyRender;

TEST_F(OneInputRender, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  for (int family : {kFamily12, kFamily13, kFamily14}) {
    SCOPED_TRACE(family);
    expectEveryMemberThreadIndependent(family);
  }
}

}  // namespace
