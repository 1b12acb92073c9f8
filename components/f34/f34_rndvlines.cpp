#include "components/f34/f34_rndvlines.h"

#include "foundation/colormath.h"

namespace {

// The handler's own description; the compute functions are the families'.
constexpr KVmemberDesc kRndVLinesHandler{
    .id = 4,
    .computeName = "f34_RndVLines",
    .name = " Random Verticals",
    .params = {kF34RndVLinesParams[0], kF34RndVLinesParams[1], kF34RndVLinesParams[2]},
    .defaults = kF34RndVLinesDefaults,
    .on8 = f34_RndVLines_precompute,
};

}  // namespace

void f34_RndVLines_precompute(gfunc* g)
{
  normalcolor* table = f34_rndVLinesState(g).table;
  GetParam1DColorTable(table, g->B, 15);
  table[15] = table[0];
}

int16_t f34_RndVLines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kRndVLinesHandler, g, msg, a, b, c);
}
