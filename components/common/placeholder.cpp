// The stand-in pair of members that are not built yet: a component bound to
// one evaluates to 0 and answers its messages from the member's descriptor
// (display name, and the defaults and maps as far as the descriptor gives them).
#include <algorithm>

#include "components/common/member.h"
#include "engine/world.h"

void KV_placeholder_compute(gfunc* g)
{
  const int n = KV_batchLength();
  const int outputs = KV_familyOutputs(g->family);
  for (int k = 0; k < outputs; ++k)
    std::fill_n(g->outputs[k], n, 0.0);
}

int16_t KV_placeholder_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  const KVmemberDesc* d = KV_memberDesc(g->family, g->funcID);
  if (d == nullptr)
    return 0;
  return KV_memberHandler(*d, g, msg, a, b, c);
}
