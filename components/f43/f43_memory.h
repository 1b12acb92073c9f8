// The f43 memory members: they keep their colour in their own output blocks
// from one pass of a loop to the next, start over whenever the owning tree's
// iteration counter is 0 (every batch outside a loop), and accumulate the
// colour of inputs 1 to 3 by the weight w of input 4: a sum, a maximum, the
// colour of the smallest or largest w (kept in output block 4, which the
// family does not publish) and an alpha blend. Memory Add's handler is
// f11's. A memory that sits after a Looper but outside its loop is first
// called with the counter above 0 and so carries along its render band.
#pragma once

#include "components/common/member.h"

void f43_memadd(gfunc* g);
void f43_memmax(gfunc* g);
void f43_memwmin(gfunc* g);
void f43_memwmax(gfunc* g);
void f43_memalpha(gfunc* g);

int16_t f43_memadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_memwmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_memwmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_memalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of Memory w Max: the memory starts over.
void f43_memwmax_reset(gfunc* g);

inline constexpr KVmemberDesc kF43_memadd{
    .id = 8,
    .computeName = "f43_memadd",
    .name = " Memory Add",
    .compute = f43_memadd,
    .handler = f43_memadd_handler,
    .params = {{.label = "Start Value ", .k = 6, .c = -4}, {.label = "Sum Gain ", .k = 2, .c = 0}},
    .defaults = {0, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF43_memmax{
    .id = 9,
    .computeName = "f43_memmax",
    .name = " Memory Max",
    .compute = f43_memmax,
    .handler = f43_memmax_handler,
};

inline constexpr KVmemberDesc kF43_memalpha{
    .id = 11,
    .computeName = "f43_memalpha",
    .name = " Memory w Alpha",
    .compute = f43_memalpha,
    .handler = f43_memalpha_handler,
    .params = {{.label = "Start Color Red ", .k = 8, .c = 0},
               {.label = "Start Color Green ", .k = 8, .c = 0},
               {.label = "Start Color Blue ", .k = 8, .c = 0}},
    .defaults = {0, 2, 6},
};

inline constexpr KVmemberDesc kF43_memwmin{
    .id = 12,
    .computeName = "f43_memwmin",
    .name = " Memory w Min",
    .compute = f43_memwmin,
    .handler = f43_memwmin_handler,
};

inline constexpr KVmemberDesc kF43_memwmax{
    .id = 13,
    .computeName = "f43_memwmax",
    .name = " Memory w Max",
    .compute = f43_memwmax,
    .handler = f43_memwmax_handler,
    .on8 = f43_memwmax_reset,
};
