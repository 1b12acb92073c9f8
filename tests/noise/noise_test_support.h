// Shared set-up of the noise tests: lookup tables from a fixed seed.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>

#include "noise/kvtables.h"
#include "noise/tables.h"

inline std::unique_ptr<KVtables> seededTables(short seed = 4321)
{
  auto t = std::make_unique<KVtables>();
  SetRndTempTables(t.get(), seed);
  return t;
}

// A test over the lookup tables of a fixed seed, with the hash by which the
// lattice patterns pick the value of cell (i, j).
template <short Seed>
class SeededTablesTest : public ::testing::Test
{
protected:
  int32_t cellHash(int32_t i, int32_t j) const
  {
    return tables->perm[(j + tables->perm[i & 1023] + (i >> 9)) & 1023];
  }

  const KVtables* t() const { return tables.get(); }

  std::unique_ptr<KVtables> tables = seededTables(Seed);
};
