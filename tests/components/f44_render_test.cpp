// Every built f44 member as a one-component tree through the render driver:
// the same picture on one thread and on four.
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using F44Render = KVfamilyRender;

TEST_F(F44Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily44);
}

}  // namespace
