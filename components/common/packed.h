// Reading packed links, as every family with packed compositing members does
// (f23, f24, f33, f34). A link whose channel count is 2 or more carries a
// colour (or a 3D point) as consecutive 16-sample blocks of its source's
// outputs: channel c of sample i at data[16c + i]. A channel count below 2 is
// a scalar link whose value stands for every channel: per sample (1) or one
// value for the whole batch (0, element 0). An input that is not linked reads
// as zeros.
//
// Also the test that decides whether a compositing member keeps its outputs
// from the previous pass of a loop instead of starting from input 1.
#pragma once

#include "engine/gfunc.h"

// One input of the current batch seen as channels: the start of each
// channel's block and whether the samples step along it (false: element 0
// serves every sample).
struct KVpackedInput
{
  const double* channel[3];
  bool perSample;
  bool packed;  // three blocks of their own (channel count 2 or more)

  double at(int c, int i) const { return channel[c][perSample ? i : 0]; }
};

// True when `blocks` (1..5) consecutive 16-sample blocks from `data` stay
// inside the outputs of `source`. Without a known source (a test feeding the
// input directly), or for data that is not inside the source's outputs (a
// master array or an inlet), the link is taken as it comes.
bool KV_blocksFitSource(const gfunc* source, const double* data, int blocks);

// Input k (0..3) of g. A packed link whose three blocks would not fit inside
// its source's outputs (a link from output 4 or 5) reads as the scalar
// link of its first block.
KVpackedInput KV_packedInput(const gfunc* g, int k);

// The initial-copy rule of the packed compositing members: inside a loop
// whose passes run with the component's loop mask exactly 4095, every pass
// after the first (the owner tree's iteration counter not 0) keeps the
// outputs that the previous pass left; otherwise the batch starts from
// input 1.
bool KV_keepsLoopOutputs(const gfunc* g);

// Copies input `in` into outputs 1 to 3 of g for n samples: its channels,
// or its scalar value into all three.
void KV_copyPackedToOutputs(gfunc* g, const KVpackedInput& in, int n);
