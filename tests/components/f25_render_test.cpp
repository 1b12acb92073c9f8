// Every built f25 member as a one-component tree through the render driver:
// the same picture on one thread and on four, each render task with circle
// blocks of its own (made at its own message 8, freed with its copy).
#include <gtest/gtest.h>

#include "tests/components/family_render.h"

namespace {

using F25Render = KVfamilyRender;

TEST_F(F25Render, EveryMemberDrawsTheSamePictureOnOneAndOnFourThreads)
{
  expectEveryMemberThreadIndependent(kFamily25);
}

// A picture of the Lab at an octave count far past the reader's range draws
// as at 256.
TEST_F(F25Render, OctaveCountPastTheReadersRangeDrawsAsTheTop)
{
  int16_t octaves = 256;
  const auto lab = [this, &octaves](gfunc* g) {
    g->A = 22;
    g->B = 8;
    g->C = 0.3;
    doc_->fractal.octaves = octaves;
  };
  const std::vector<uint8_t> top = renderMember(kFamily25, 1, lab);
  octaves = 32767;
  EXPECT_TRUE(renderMember(kFamily25, 1, lab) == top);
  octaves = 16;
  EXPECT_FALSE(renderMember(kFamily25, 1, lab) == top);
}

}  // namespace
