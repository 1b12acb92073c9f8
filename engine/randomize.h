// Randomisation of a tree (parameters, members, colour function, palette),
// the rules that decide which member may replace which, and the repair of
// connections after a component changes family or member.
//
// The random source is the C library's random() (0 .. 2^31 - 1), seeded by
// arb_Init; r below means random() / 2147483647. Main thread only: these
// draw from the process-wide generator and write the world's label buffer.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"

// Number of members random choice draws from (ids 0 .. count - 1); 1 for a
// code that is not assigned.
int16_t getTypedFuncEntries(int family);

// Member groups of the rules.
bool KV_isMemoryMember(int family, int id);
bool KV_isPackedConsumer(int family, int id);
bool KV_isSliceMember(int family, int id);
bool KV_isLoopStarterMember(int family, int id);

// 0 for a loop starter or id 127, else 1.
int16_t CanMutate(smalltree* tree, int family, int id);

// May member (family, id) take the component's place?
bool CanHave(smalltree* tree, gfunc* g, int family, int id, bool permissive);

// Moves the normalised parameters that are neither kept nor locked towards
// random targets by `amount` (0..1); draws one r per moving parameter, in the
// order A, B, C.
void ParamRandomize(gfunc* g, double amount);

// Walk procedure: ParamRandomize with *(double*)amount.
void arb_TP_randomize(smalltree* tree, gfunc* g, void* amount);

struct KVrandomizeState
{
  double amount;
  int16_t permissive;
  int16_t changed;
};

// Walk procedure over a KVrandomizeState*: may change the component's member
// within its family.
void arb_TP_randomizefunction(smalltree* tree, gfunc* g, void* state);

// Member randomisation of every component (with deep, of the unlocked
// sub-trees too); 1 when something changed.
int16_t arb_RandomizeFunction(sfuncSystem* doc, double amount, bool deep);

// Parameter randomisation with the same walk; sets the parameters-changed flag.
void arb_RandomizeParameters(sfuncSystem* doc, double amount, bool deep);

// Members (1.0), then parameters (0.333), both change flags, then colour
// function and palette (0.75, 0.3).
void arb_Randomize(sfuncSystem* doc, bool deep);

// May choose a new colour function (with `colorChance`) and palette from the
// world's library, then mutates the document palette by `paletteAmount`.
// Outputs of three or more outputs or packed outputs force colour function 12.
void arb_RandomizeColorFunctionAndPalette(sfuncSystem* doc, double colorChance,
                                          double paletteAmount);

inline constexpr int kMaxSons = 6;

// Up to 6 components that read `g`, in slot order; returns their count.
int16_t arb_findSons(smalltree* tree, gfunc* g, gfunc* sons[kMaxSons]);

// Fills unset inputs 3 (and 4) from the matching outputs of the input-1 source.
void completeUpConnections(gfunc* g);

// Lowers the source code of every inlet of `g` reading `source` to at most
// the source's output count.
void validconnections(gfunc* source, gfunc* g);

// Changes a component to another family in place and repairs the
// connections of the component and of its readers.
void arb_ChangeTileType(smalltree* tree, gfunc* g, int16_t family, int16_t id);
