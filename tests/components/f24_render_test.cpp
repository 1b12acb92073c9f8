// Every built f24 member as a one-component tree through the render driver:
// the same picture on one thread and on four (bands of 64 columns start on
// batch starts, as the tech noise's carried shading needs).
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using F24Render = KVfamilyRender;

TEST_F(F24Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily24);
}

}  // namespace
