// f21 members that draw line networks and facets: three tile patterns whose
// tiles each hold a piece of a branching line (chosen per 4 x 4 block of
// tiles from a few fixed block layouts by a hash of the block), a single
// lozenge, and a fractal sum of triangular-lattice noise. Every one gives the
// no-value marker where x or y holds it.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f21_Sbranchpat(gfunc* g);
void f21_branchpat(gfunc* g);
void f21_branchpat2(gfunc* g);
void f21_losange(gfunc* g);
void f21_cristalnoise(gfunc* g);

int16_t f21_Sbranchpat_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_branchpat_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_branchpat2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_losange_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_cristalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 precomputations (private area P1..P4).
void f21_branchpat2_precompute(gfunc* g);
void f21_losange_precompute(gfunc* g);
void f21_cristalnoise_precompute(gfunc* g);

// The tile pieces, shared by the three tile members: the profile of a piece
// of type `type` at (u, v) in its tile (0..1 each), below 0 for an empty
// tile. Types 13 and 14 exist only where `withDoubleDiagonals` is set.
double f21_tileProfile(int type, double u, double v, bool withDoubleDiagonals);

inline constexpr KVparamDesc kF21_tileParams[3] = {{.label = "Amplitude ", .k = 8, .c = 0},
                                                   {.label = "Phase ", .k = 64, .c = -32},
                                                   {.label = "Scale ", .k = 4, .c = 0}};

inline constexpr KVmemberDesc kF21_Sbranchpat{
    .id = 40,
    .computeName = "f21_Sbranchpat",
    .name = " Smooth Entrelas",
    .compute = f21_Sbranchpat,
    .handler = f21_Sbranchpat_handler,
    .params = {kF21_tileParams[0], kF21_tileParams[1], kF21_tileParams[2]},
    .defaults = {4, 0, 1},
};

inline constexpr KVmemberDesc kF21_branchpat{
    .id = 36,
    .computeName = "f21_branchpat",
    .name = " Circuitry",
    .compute = f21_branchpat,
    .handler = f21_branchpat_handler,
    .params = {kF21_tileParams[0], kF21_tileParams[1], kF21_tileParams[2]},
    .defaults = {4, 0, 1},
};

inline constexpr KVmemberDesc kF21_branchpat2{
    .id = 37,
    .computeName = "f21_branchpat2",
    .name = " ZigZag",
    .compute = f21_branchpat2,
    .handler = f21_branchpat2_handler,
    .params = {kF21_tileParams[0], kF21_tileParams[1], kF21_tileParams[2]},
    .defaults = {4, 0, 1},
    .on8 = f21_branchpat2_precompute,
};

inline constexpr KVmemberDesc kF21_losange{
    .id = 38,
    .computeName = "f21_losange",
    .name = " Lozenge",
    .compute = f21_losange,
    .handler = f21_losange_handler,
    .params = {{.label = "Amplitude ", .k = 7, .c = 1},
               {.label = " width ", .k = 3.875, .c = 0.125},
               {.label = " height ", .k = 3.875, .c = 0.125}},
    .defaults = {4, 1, 1},
    .on8 = f21_losange_precompute,
};

// Sets the fractal flag at message 6, as Fractal noise does.
inline constexpr KVmemberDesc kF21_cristalnoise{
    .id = 39,
    .computeName = "f21_cristalnoise",
    .name = " Crystal noise ",
    .compute = f21_cristalnoise,
    .handler = f21_cristalnoise_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f21_cristalnoise_precompute,
};
