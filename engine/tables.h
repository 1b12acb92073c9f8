// The lookup-table builders over a whole document record. They build the
// document's own `KVtables` and point its `fractalsinfos` at them.
#pragma once

#include "engine/gfunc.h"

// Fills the document's tables (permutation, derived vector tables, sine table).
void arb_init_Tables(sfuncSystem* doc);

// Rebuilds the vector tables derived from the document's permutation.
void arb_compRndVecTable(sfuncSystem* doc);

// Re-seeds the random generator with `seed` (below 1 behaves as 7778) and
// rebuilds the document's tables.
void SetRndTempTables(sfuncSystem* doc, short seed);
