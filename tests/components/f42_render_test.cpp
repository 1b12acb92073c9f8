// Every built f42 member as a one-component tree through the render driver:
// the same picture on one thread and on four.
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using F42Render = KVfamilyRender;

TEST_F(F42Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily42);
}

}  // namespace
