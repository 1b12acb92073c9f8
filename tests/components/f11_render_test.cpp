// Every built f11 member as a one-component tree fed by x, through the
// render driver: the same picture on one thread and on four.
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using F11Render = KVfamilyRender;

TEST_F(F11Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily11);
}

}  // namespace
