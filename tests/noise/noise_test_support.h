// Shared set-up of the noise tests: lookup tables from a fixed seed.
#pragma once

#include <memory>

#include "noise/kvtables.h"
#include "noise/tables.h"

inline std::unique_ptr<KVtables> seededTables(short seed = 4321)
{
  auto t = std::make_unique<KVtables>();
  SetRndTempTables(t.get(), seed);
  return t;
}
