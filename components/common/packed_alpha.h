// The fourth (alpha) block of a packed link, as the packed compositing
// members of f24 and f34 read it. A packed link of channel count 3 or more
// carries alpha as a fourth 16-sample block after its red, green and blue
// blocks; the link is only read that far when the fourth block stays inside
// its source's outputs (a link from output 1 of a four-output source).
#pragma once

#include "components/common/packed.h"
#include "engine/gfunc.h"

// The alpha block of input k of g, seen through `in` (KV_packedInput(g, k)):
// the link's fourth block when the input is packed with a channel count of 3
// or more and that block fits its source; nullptr otherwise (the input has
// no alpha of its own).
inline const double* KV_packedAlphaBlock(const gfunc* g, int k, const KVpackedInput& in)
{
  const inletinfos& link = g->inlets[k];
  if (!in.packed || link.channels < 3 || !KV_blocksFitSource(g->sources[k], link.data, 4))
    return nullptr;
  return link.data + 3 * kBatchCapacity;
}
