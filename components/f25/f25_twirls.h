// Members that deform the plane and show the displacement as colour: Random
// Twirls (id 29) twists the inside of disks on two interleaved square
// lattices, each by a random amount; Multi Perlin random (id 10) adds a
// fractal sum of 2D vector gradient noise, with the parameters, labels and
// constants of the two-output member of the same name (its handler answers
// every message).
#pragma once

#include "components/common/member.h"
#include "components/f22/f22_fractal.h"

void f25_RandomTwirls(gfunc* g);
void f25_disperlin(gfunc* g);

int16_t f25_RandomTwirls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_disperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f25_RandomTwirls_prepare(gfunc* g);

inline constexpr KVmemberDesc kF25_RandomTwirls{
    .id = 29,
    .computeName = "f25_RandomTwirls",
    .name = " Random Twirls",
    .compute = f25_RandomTwirls,
    .handler = f25_RandomTwirls_handler,
    .params = {{.label = "Amplitude ", .k = 4},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 8}},
    .defaults = {2, 0, 1},
    .freqFlag = 1,
    .on8 = f25_RandomTwirls_prepare,
};

// The descriptor repeats the two-output member's, so that the catalog reads
// what the forwarding handler answers.
inline constexpr KVmemberDesc kF25_disperlin{
    .id = 10,
    .computeName = "f25_disperlin",
    .name = kF22_multiperlin.name,
    .compute = f25_disperlin,
    .handler = f25_disperlin_handler,
    .params = {kF22_multiperlin.params[0], kF22_multiperlin.params[1], kF22_multiperlin.params[2]},
    .defaults = kF22_multiperlin.defaults,
    .freqFlag = kF22_multiperlin.freqFlag,
    .on8 = kF22_multiperlin.on8,
};
