// The two f34 packed members whose handlers belong to other families:
// " Packed random Mix" answers every message through the f33 member of the
// same name (labels, maps, defaults, and the constants k0..k2 of message 8,
// which its compute reads), and " Packed Alpha Min" through the f24 member
// (display name and defaults only). Their computes are f34's own, over R, G,
// B and w.
//
// Both start from input 1 unless a loop pass keeps the outputs (the owning
// tree's iteration counter not 0 and the loop mask exactly 0xfff). Input 1
// without an alpha block starts w at its scalar value, or 0 for an RGB link
// (Random Mix), or at 0 (Alpha Min).
//
// Random Mix moves all four outputs toward input 2 where a 2D noise over
// the master plane rises past k0, toward input 3 where it falls past -k0,
// by the smooth step of how far it passes; an input without alpha brings
// its scalar value, or 0 for an RGB link, as w. A marked red output gives
// the marker on all four. Alpha Min lets input 2 and then input 3 replace
// the sample whole where their level (alpha, else red) is below w; ties keep
// the current sample. Neither member tests the altitude-only flag.
#pragma once

#include "components/common/member.h"
#include "components/f24/f24_packed.h"
#include "components/f33/f33_packed.h"

void f34_packedRndMix(gfunc* g);
void f34_packedMIN(gfunc* g);

int16_t f34_packedRndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_packedMIN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The parameters, defaults and hooks are those of the members whose
// handlers answer for these.
inline constexpr KVmemberDesc kF34_packedRndMix{
    .id = 47,
    .computeName = "f34_packedRndMix",
    .name = " Packed random Mix",
    .compute = f34_packedRndMix,
    .handler = f34_packedRndMix_handler,
    .params = {kF33_packedRndMix.params[0], kF33_packedRndMix.params[1],
               kF33_packedRndMix.params[2]},
    .defaults = kF33_packedRndMix.defaults,
    .on8 = kF33_packedRndMix.on8,
};

inline constexpr KVmemberDesc kF34_packedMIN{
    .id = 48,
    .computeName = "f34_packedMIN",
    .name = " Packed Alpha Min",
    .compute = f34_packedMIN,
    .handler = f34_packedMIN_handler,
    .defaults = kF24_packedMIN.defaults,
};
