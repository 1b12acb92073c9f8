// Every built f43 member as a one-component tree through the render driver:
// the same picture on one thread and on four.
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using F43Render = KVfamilyRender;

TEST_F(F43Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily43);
}

}  // namespace
