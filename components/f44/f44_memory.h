// The f44 memory members: like f43's they keep their colour, and here also a
// fourth value, in their own output blocks from one pass of a loop to the
// next, start over whenever the owning tree's iteration counter is 0 and
// accumulate on every later pass: an alpha composite, weighted and plain
// sums, a sum whose gain grows by a power per pass, running differences and
// the colour of the highest w. Memory Fractal Add and Memory Diff answer
// their messages through f11's handlers (and keep f11's constants). As with
// f11's memories, one that sits after a Looper but outside its loop is first
// called with the counter above 0 and so carries along its render band.
#pragma once

#include "components/common/member.h"

void f44_memalpha(gfunc* g);
void f44_memWadd(gfunc* g);
void f44_memadd(gfunc* g);
void f44_memfractadd(gfunc* g);
void f44_memdif(gfunc* g);
void f44_memmax(gfunc* g);

int16_t f44_memalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_memWadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_memadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_memfractadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_memdif_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of Memory w Alpha: K1 = G = 1/(4B) (2500 for B < 0.0001); F =
// the one colour of the 1D colour table at C, / 32.
void f44_memalpha_precompute(gfunc* g);
// Message 8 of Memory w Max: K1 = G = 1/B for B > 0; F = the fade colour / 32.
void f44_memmax_precompute(gfunc* g);

inline constexpr KVmemberDesc kF44_memalpha{
    .id = 1,
    .computeName = "f44_memalpha",
    .name = " Memory w Alpha",
    .compute = f44_memalpha,
    .handler = f44_memalpha_handler,
    .params = {{.label = "Alpha Level ", .k = 8, .c = -4},
               {.label = "Feather  ", .k = 2, .c = 0},
               {.label = "Start Color ", .k = 1, .c = 0}},
    .defaults = {0, 0.1, 0},
    .inputCode = kConnFour,
    .on8 = f44_memalpha_precompute,
};

inline constexpr KVmemberDesc kF44_memWadd{
    .id = 2,
    .computeName = "f44_memWadd",
    .name = " Memory Weighted Add",
    .compute = f44_memWadd,
    .handler = f44_memWadd_handler,
    .params = {{.label = "Alpha Contrast ", .k = 2, .c = 0},
               {.label = "Alpha Offset ", .k = 4, .c = -2}},
    .defaults = {1, 0, kAbsentParam},
    .inputCode = kConnFour,
};

inline constexpr KVmemberDesc kF44_memmax{
    .id = 8,
    .computeName = "f44_memmax",
    .name = " Memory w Max",
    .compute = f44_memmax,
    .handler = f44_memmax_handler,
    .params = {{.label = "Level ", .k = 2, .c = -1}, {.label = "Feather ", .k = 4, .c = 0}},
    .defaults = {0, 0.05, kAbsentParam},
    .inputCode = kConnFour,
    .on8 = f44_memmax_precompute,
};

inline constexpr KVmemberDesc kF44_memadd{
    .id = 11,
    .computeName = "f44_memadd",
    .name = " Memory Add",
    .compute = f44_memadd,
    .handler = f44_memadd_handler,
    .params = {{.label = "Sum Gain ", .k = 1, .c = 0}},
    .defaults = {1, kAbsentParam, kAbsentParam},
    .inputCode = kConnFour,
};

inline constexpr KVmemberDesc kF44_memfractadd{
    .id = 12,
    .computeName = "f44_memfractadd",
    .name = " Memory Fractal Add",
    .compute = f44_memfractadd,
    .handler = f44_memfractadd_handler,
    .params = {{.label = " Power slope ", .k = 1.5, .c = 0.5},
               {.label = " Sum gain ", .k = 2, .c = 0}},
    .defaults = {1, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF44_memdif{
    .id = 13,
    .computeName = "f44_memdif",
    .name = " Memory Diff",
    .compute = f44_memdif,
    .handler = f44_memdif_handler,
    .params = {{.label = "Smoothness ", .k = 1.9999999, .c = 1e-7}},
    .defaults = {0, kAbsentParam, kAbsentParam},
};
