#include "components/common/packed.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

// What an unlinked input reads: zeros.
constexpr std::array<double, 3 * kBatchCapacity> kZeros{};

constexpr uint16_t kLoopPassMask = 4095;

}  // namespace

bool KV_blocksFitSource(const gfunc* source, const double* data, int blocks)
{
  if (source == nullptr)
    return true;
  const std::less_equal<const double*> le;
  const double* first = &source->outputs[0][0];
  const double* last = &source->outputs[4][kBatchCapacity - 1];
  if (!le(first, data) || !le(data, last))
    return true;
  return le(data, &source->outputs[5 - std::clamp(blocks, 1, 5)][0]);
}

KVpackedInput KV_packedInput(const gfunc* g, int k)
{
  const inletinfos& in = g->inlets[k];
  if (in.data == nullptr)
    return {{kZeros.data(), kZeros.data(), kZeros.data()}, false, false};
  if (in.channels >= 2 && KV_blocksFitSource(g->sources[k], in.data, 3))
    return {{in.data, in.data + kBatchCapacity, in.data + 2 * kBatchCapacity}, true, true};
  return {{in.data, in.data, in.data}, in.channels != 0, false};
}

bool KV_keepsLoopOutputs(const gfunc* g)
{
  return g->owner != nullptr && g->owner->iteration != 0 && g->loopMask == kLoopPassMask;
}

void KV_copyPackedToOutputs(gfunc* g, const KVpackedInput& in, int n)
{
  std::array<double, 3 * kBatchCapacity> copy;
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < n; ++i)
      copy[c * kBatchCapacity + i] = in.at(c, i);
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < n; ++i)
      g->outputs[c][i] = copy[c * kBatchCapacity + i];
}
