// Every built f41 member as a one-component tree through the render driver:
// the same picture on one thread and on four.
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using F41Render = KVfamilyRender;

TEST_F(F41Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily41);
}

}  // namespace
