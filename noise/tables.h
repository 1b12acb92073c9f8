// Building the lookup tables of a document (`KVtables`) and the table sine.
//
// The permutation `perm` is the lattice hash of every noise; `grad2D`,
// `unitDir2D`, `rndVec3D` and `planeVec3D` are derived from it and must be
// rebuilt with arb_compRndVecTable whenever `perm` changes. These builders run
// on the main thread (start-up, file reading, reseeding); during evaluation
// the tables are read-only.
#pragma once

#include "noise/kvtables.h"

// Fills tables->sinTable, sets perm to the identity, shuffles it with the C
// library's random() (it does not seed the generator: callers do) and derives
// the other tables. Writes the whole record, sine table included: pass the
// world's tables or another complete record, never a document copy that ends
// before `sinTable`.
void arb_init_Tables(KVtables* tables);

// Rebuilds perm[1024] and every derived table from perm[0..1023]. Entries
// outside 0..1023 do not make it read out of bounds, but only a permutation
// gives the documented ranges.
void arb_compRndVecTable(KVtables* tables);

// Reproducible tables: seeds random() with `seed` (7778 when seed < 1), then
// runs arb_init_Tables.
void SetRndTempTables(KVtables* tables, short seed);

// Sine of x by linear interpolation in a half-turn table of 4096 entries
// (8192 steps a turn). Odd: TableSin(-x) == -TableSin(x). Arguments whose
// scaled index leaves the 32-bit range are first reduced by the period, so the
// result stays continuous; NaN and infinities give 0.
//
// It takes no table argument: it reads one process-wide table, built once on
// first use (thread-safe) from the same formula with which arb_init_Tables
// fills a document's `sinTable`. That table is never written afterwards, so
// any number of threads may call TableSin at any time, before or after the
// world's tables exist.
double TableSin(double x);

// The table sine without interpolation and without sign: the entry at
// truncate(|x| * 8192 / 2pi) & 8191, so niTableSin(-x) == niTableSin(x).
// Same reduction and non-finite rule as TableSin.
double niTableSin(double x);
