// Memory accumulators: members that fold each new input triple into their
// own three outputs, so that a loop's passes build a running maximum,
// minimum, sum, absolute difference, or the triple nearest in z (the
// smallest third value; ties go to the newer triple).
//
// The outputs restart from the member's start value whenever the owning
// tree's iteration counter is 0: every batch outside loops, and the first
// pass of each loop. A sample whose input 1 holds the no-value marker leaves
// its outputs as they are; inputs 2 and 3 are not tested.
//
// Bands: the counter is the one the tree holds when the member runs. A
// member evaluated after a Looper but outside its loop sees the count that
// loop left (not 0), so it carries its outputs from batch to batch along its
// render band instead of restarting; its picture then depends on how the
// rows are split between tasks.
//
// " Memory Add" answers through the one-input Memory Add handler
// (f11_memadd_handler): same labels, maps, defaults and message 8.
#pragma once

#include "components/common/member.h"
#include "components/f11/f11_memory.h"

void f33_memmax(gfunc* g);
void f33_memmin(gfunc* g);
void f33_memadd(gfunc* g);
void f33_memdif(gfunc* g);
void f33_memzmin(gfunc* g);

int16_t f33_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_memmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_memdif_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_memzmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Start values of the accumulators.
inline constexpr double kF33memMaxStart = -64.0;
inline constexpr double kF33memMinStart = 512.0;
inline constexpr double kF33memDifStart = 0.0;
inline constexpr double kF33memDepthStart = gINFINITY;

// Message 8 of Memory Max, Min and Depth sort: all 16 samples of the three
// outputs set to the start value.
void f33_memmax_precompute(gfunc* g);
void f33_memmin_precompute(gfunc* g);
void f33_memzmin_precompute(gfunc* g);

inline constexpr KVmemberDesc kF33_memmax{
    .id = 28,
    .computeName = "f33_memmax",
    .name = " Memory Max",
    .compute = f33_memmax,
    .handler = f33_memmax_handler,
    .on8 = f33_memmax_precompute,
};

inline constexpr KVmemberDesc kF33_memzmin{
    .id = 29,
    .computeName = "f33_memzmin",
    .name = " Memory Depth sort",
    .compute = f33_memzmin,
    .handler = f33_memzmin_handler,
    .on8 = f33_memzmin_precompute,
};

// The parameters and hooks are those of the one-input member, whose handler
// answers for this one.
inline constexpr KVmemberDesc kF33_memadd{
    .id = 30,
    .computeName = "f33_memadd",
    .name = " Memory Add",
    .compute = f33_memadd,
    .handler = f11_memadd_handler,
    .params = {kF11_memadd.params[0], kF11_memadd.params[1]},
    .defaults = kF11_memadd.defaults,
    .on8 = kF11_memadd.on8,
    .on9 = kF11_memadd.on9,
};

inline constexpr KVmemberDesc kF33_memmin{
    .id = 35,
    .computeName = "f33_memmin",
    .name = " Memory Min",
    .compute = f33_memmin,
    .handler = f33_memmin_handler,
    .on8 = f33_memmin_precompute,
};

inline constexpr KVmemberDesc kF33_memdif{
    .id = 51,
    .computeName = "f33_memdif",
    .name = " Memory Diff",
    .compute = f33_memdif,
    .handler = f33_memdif_handler,
};
