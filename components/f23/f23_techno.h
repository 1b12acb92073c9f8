// " Techno boxes": two superposed layers of rectangular technical panels on
// a skewed lattice, and the cell functions behind them.
//
// The cell functions read the permutation of the tables (perm[k] meaning
// entry k & 1023; every index sum is taken on unsigned values, so negative
// lattice coordinates wrap too) and return 0 or 1. They keep no state and
// may run on any number of threads.
#pragma once

#include <cstdint>

#include "components/common/member.h"
#include "noise/kvtables.h"

// Whether point (i, j) of a cell's 8 x 8 sub-lattice lies on a panel of the
// cell's motif (one of fourteen, or blank). The sub-lattice lines (i or j a
// multiple of 8) are always 0. Mode 1 lets motifs 9 and 10 subdivide once:
// the point is taken again at doubled coordinates in mode 2.
int32_t Techpattern_Box(const KVtables* tables, int32_t i, int32_t j, int32_t mode);

// A simpler motif set with cell borders, for cell functions of the same
// design.
int32_t Techpattern(const KVtables* tables, int32_t i, int32_t j);

// Whether the coarse cell (i, j) is present.
int32_t Techrandom(const KVtables* tables, int32_t i, int32_t j);

void f23_techno(gfunc* g);
int16_t f23_techno_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

inline constexpr KVmemberDesc kF23_techno{
    .id = 30,
    .computeName = "f23_techno",
    .name = " Techno boxes",
    .compute = f23_techno,
    .handler = f23_techno_handler,
    .params = {{.label = "Amplitude ", .k = 8},
               {.label = "Skew ", .k = 2},
               {.label = "Frequency ", .k = 4}},
    .defaults = {4, 1, 2},
};
