// The fourth (alpha) block of a packed link, as the packed compositing
// members of f24 and f34 read it. A packed link of channel count 3 or more
// carries alpha as a fourth 16-sample block after its red, green and blue
// blocks; the link is only read that far when the fourth block stays inside
// its source's outputs (a link from output 1 of a four-output source).
#pragma once

#include <functional>

#include "components/common/packed.h"
#include "engine/gfunc.h"

// True when a fourth block from `data` stays inside the outputs of `source`.
// Without a known source (a test feeding the input directly), or for data
// that is not inside the source's outputs (a master array or an inlet), the
// link is taken as it comes.
inline bool KV_fourthBlockFitsSource(const gfunc* source, const double* data)
{
  if (source == nullptr)
    return true;
  const std::less_equal<const double*> le;
  const double* first = &source->outputs[0][0];
  const double* last = &source->outputs[4][kBatchCapacity - 1];
  if (!le(first, data) || !le(data, last))
    return true;
  return le(data, &source->outputs[1][0]);
}

// The alpha block of input k of g, seen through `in` (KV_packedInput(g, k)):
// the link's fourth block when the input is packed with a channel count of 3
// or more and that block fits its source; nullptr otherwise (the input has
// no alpha of its own).
inline const double* KV_packedAlphaBlock(const gfunc* g, int k, const KVpackedInput& in)
{
  const inletinfos& link = g->inlets[k];
  if (!in.packed || link.channels < 3 || !KV_fourthBlockFitsSource(g->sources[k], link.data))
    return nullptr;
  return link.data + 3 * kBatchCapacity;
}
