// f11 members whose result depends on more than the sample in hand: the
// infinity gate, which masks samples by range and reports a wholly masked
// batch; the loop driver " Iterations", which runs the components of its loop
// N + 1 times per batch; and the memory members at a loop's end, which
// accumulate their input over those passes in their own output blocks.
//
// The pass count is the owning tree's iteration counter. A memory member
// starts over whenever it is called with the counter at 0: inside a loop
// (the driver resets the counter) or outside every loop (the tree pass
// resets it) that is every batch, so its value depends on that batch only.
// A memory member that sits after a loop's end but outside the loop is first
// called with the counter above 0 and so accumulates from batch to batch
// along its render band (Memory Fractal Add's gain too); such a tree gives
// different pictures on one and on several threads.
//
// Memory Add, Memory Fractal Add and Memory Diff also answer for the memory
// members of f33, f43 and f44, whose handlers forward here.
#pragma once

#include "components/common/member.h"
#include "components/f11/f11_pvt.h"

void f11_infgate(gfunc* g);
void f11_rcounter(gfunc* g);
void f11_memadd(gfunc* g);
void f11_memfractadd(gfunc* g);
void f11_memmax(gfunc* g);
void f11_memmin(gfunc* g);
void f11_memdif(gfunc* g);

int16_t f11_infgate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_rcounter_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_memadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_memfractadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_memmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_memdif_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The most passes " Iterations" runs after its first: N is held to 0..64.
inline constexpr int kF11MaxIterations = 64;

// The start values of Memory Max and Memory Min.
inline constexpr double kF11MemoryFloor = -64;
inline constexpr double kF11MemoryCeiling = 64;

// The private record of the members that keep a component list (the loop
// driver, the node-evaluating members and the compiled tree): the
// precomputed doubles first, as every f11 member has them, then the list.
struct F11listState
{
  F11constants k;
  sfuncEvalLists list;
};

inline F11listState& f11_listState(gfunc* g)
{
  return privateArea<F11listState>(g);
}

// Message 8 of the gate: K1 = A^2 (upper limit), K2 = B^2 kept with B's sign
// (lower limit).
void f11_infgate_precompute(gfunc* g);
// Message 7 of " Iterations": the components of its loop, in slot order.
void f11_rcounter_prepare(gfunc* g);
// Message 8 of " Iterations": B held to 0..64, NaN as 0.
void f11_rcounter_precompute(gfunc* g);
// Message 8 of Memory Add: a negative B becomes 1.
void f11_memadd_precompute(gfunc* g);
// Message 9 of Memory Add: trees of version 13 or older get B = 1 and the B
// of every keyframe 1.
void f11_memadd_convert(gfunc* g);
// Messages 7 and 8 of Memory Fractal Add: K1 = A; K2 = B for A < 1, else B/A^4.
void f11_memfractadd_precompute(gfunc* g);
// Message 8 of Memory Diff: K1 = 1/A, K2 = A, with A below 1e-7 taken as 1e-7.
void f11_memdif_precompute(gfunc* g);

inline constexpr KVmemberDesc kF11_infgate{
    .id = 27,
    .computeName = "f11_infgate",
    .name = " infinity gate/mask",
    .compute = f11_infgate,
    .handler = f11_infgate_handler,
    .params = {{.label = "Maximum ", .k = 100, .c = 0},
               {.label = "Minimum ", .k = 102, .c = -100},
               {.label = "Invert mask ", .k = 2, .c = -1, .truncate = true}},
    .defaults = {16, 0, 0},
    .on8 = f11_infgate_precompute,
};

// Message 6 also makes the output one value per batch (connector code 0).
inline constexpr KVmemberDesc kF11_rcounter{
    .id = 28,
    .computeName = "f11_rcounter",
    .name = " Iterations",
    .compute = f11_rcounter,
    .handler = f11_rcounter_handler,
    .params = {{.label = "Multiplier/Value ", .k = 8, .c = 0},
               {.label = "Iterations ", .k = kF11MaxIterations, .c = 0, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .outputCode = kConnUniform,
    .on7 = f11_rcounter_prepare,
    .on8 = f11_rcounter_precompute,
};

// Memory Max and Memory Min have no parameters: their handlers answer only
// the display name and the defaults.
inline constexpr KVmemberDesc kF11_memmax{
    .id = 29,
    .computeName = "f11_memmax",
    .name = " Memory Max",
    .compute = f11_memmax,
    .handler = f11_memmax_handler,
};

inline constexpr KVmemberDesc kF11_memadd{
    .id = 30,
    .computeName = "f11_memadd",
    .name = " Memory Add",
    .compute = f11_memadd,
    .handler = f11_memadd_handler,
    .params = {{.label = "Start Value ", .k = 6, .c = -4}, {.label = "Sum Gain ", .k = 2, .c = 0}},
    .defaults = {0, 1, kAbsentParam},
    .on8 = f11_memadd_precompute,
    .on9 = f11_memadd_convert,
};

inline constexpr KVmemberDesc kF11_memmin{
    .id = 40,
    .computeName = "f11_memmin",
    .name = " Memory Min",
    .compute = f11_memmin,
    .handler = f11_memmin_handler,
};

inline constexpr KVmemberDesc kF11_memdif{
    .id = 50,
    .computeName = "f11_memdif",
    .name = " Memory Diff",
    .compute = f11_memdif,
    .handler = f11_memdif_handler,
    .params = {{.label = "Smoothness ", .k = 1.9999999, .c = 1e-7}},
    .defaults = {0, kAbsentParam, kAbsentParam},
    .on8 = f11_memdif_precompute,
};

inline constexpr KVmemberDesc kF11_memfractadd{
    .id = 54,
    .computeName = "f11_memfractadd",
    .name = " Memory Fractal Add",
    .compute = f11_memfractadd,
    .handler = f11_memfractadd_handler,
    .params = {{.label = " Power slope ", .k = 1.5, .c = 0.5},
               {.label = " Sum gain ", .k = 2, .c = 0}},
    .defaults = {1, 1, kAbsentParam},
    .on7 = f11_memfractadd_precompute,
    .on8 = f11_memfractadd_precompute,
};
