// Lookup tables for the cell texture tests: a seeded permutation and the
// identity permutation (perm[i] = i), under which every lattice hash is a
// sum that can be worked by hand.
#pragma once

#include <cstdint>
#include <memory>

#include "noise/kvtables.h"
#include "noise/tables.h"

inline std::unique_ptr<KVtables> seededCellTables(short seed = 4321)
{
  auto t = std::make_unique<KVtables>();
  SetRndTempTables(t.get(), seed);
  return t;
}

inline std::unique_ptr<KVtables> identityCellTables()
{
  auto t = seededCellTables();
  for (int32_t i = 0; i < 1024; i++)
    t->perm[i] = i;
  arb_compRndVecTable(t.get());
  return t;
}
