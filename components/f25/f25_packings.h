// Members built on unit circles and rings of touching circles: Soddy
// Inversions (id 15) and O Soddy Inversions (id 16) fold a strip of the
// plane onto the gaps between unit circles in one step; Inversion Ring
// (id 13) inverts the points of an annulus in the circle of a ring they fall
// in; Fractal Ring (id 14) iterates inversions in a ring, its two bounding
// circles and two rings of orthogonal circles; Random disk packing (id 21)
// iterates a fold-and-invert map that stops in randomly chosen disks.
#pragma once

#include "components/common/member.h"
#include "foundation/types.h"

void f25_soddyInversion(gfunc* g);
void f25_soddyOrt(gfunc* g);
void f25_InversionRing(gfunc* g);
void f25_InversionRingIO(gfunc* g);
void f25_RandomDisk(gfunc* g);

int16_t f25_soddyInversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_soddyOrt_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_InversionRing_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_InversionRingIO_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_RandomDisk_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of ids 15 and 16: 1/A and both document colours on the 0..8 scale.
void f25_soddy_prepare(gfunc* g);
// Message 8 of id 13: the ring of 16 circles at most (B stored back as
// min(trunc B, 16)).
void f25_InversionRing_prepare(gfunc* g);
// Message 8 of id 14: the ring and its two orthogonal rings, 48 circles at most.
void f25_InversionRingIO_prepare(gfunc* g);
// Message 8 of id 21: A/64 and both document colours 0..255.
void f25_RandomDisk_prepare(gfunc* g);

// Circles of the ring blocks, and the most circles a ring has.
inline constexpr int kF25ringCircles = 16;
inline constexpr int kF25fractalRingCircles = 48;
inline constexpr int kF25maxRing = 16;
// The Fractal Ring's recursion count C is held to this.
inline constexpr int kF25fractalRingMaxRecursion = 64;
// The random packing's table offset trunc(C + 4) is held to 0..this, so that
// its eight records of four doubles stay inside the random vector table.
inline constexpr int kF25maxPackingOffset = 761;

// One stop of the random packing: result code (0 right edge, 1 left region,
// 2 upper disk, 3 lower disk, -1 step limit), final point and step count.
struct F25packing
{
  int code;
  double x;
  double y;
  int steps;
};

// A record of the packing table: the vertical shift and three stop switches.
struct F25packingRecord
{
  double shift;
  double f1;
  double f2;
  double f3;
};

// The fold-and-invert iteration from (x, y) over the eight records; gives -1
// at the latest after 4 limit + 64 steps in all.
F25packing randomDiskpack(double x, double y, const F25packingRecord (&records)[8], int limit);

namespace f25pack {
inline constexpr KVparamDesc kRadius8{.label = "Radius ", .k = 8};
inline constexpr KVparamDesc kOffsetX{.label = "Offset x ", .k = 8, .c = -4};
inline constexpr KVparamDesc kOffsetY{.label = "Offset y ", .k = 8, .c = -4};
inline constexpr KVparamDesc kRingRadius{.label = "Radius ", .k = 11.9375, .c = 0.0625};
inline constexpr KVparamDesc kTiles{.label = "Tile # ", .k = 14, .c = 2, .truncate = true};
}  // namespace f25pack

inline constexpr KVmemberDesc kF25_soddyInversion{
    .id = 15,
    .computeName = "f25_soddyInversion",
    .name = " Soddy Inversions",
    .compute = f25_soddyInversion,
    .handler = f25_soddyInversion_handler,
    .params = {f25pack::kRadius8, f25pack::kOffsetX, f25pack::kOffsetY},
    .defaults = {1, 0, 0},
    .on8 = f25_soddy_prepare,
};

inline constexpr KVmemberDesc kF25_soddyOrt{
    .id = 16,
    .computeName = "f25_soddyOrt",
    .name = " O Soddy Inversions",
    .compute = f25_soddyOrt,
    .handler = f25_soddyOrt_handler,
    .params = {f25pack::kRadius8, f25pack::kOffsetX, f25pack::kOffsetY},
    .defaults = {1, 0, 0},
    .on8 = f25_soddy_prepare,
};

inline constexpr KVmemberDesc kF25_InversionRing{
    .id = 13,
    .computeName = "f25_InversionRing",
    .name = " Inversion Ring",
    .compute = f25_InversionRing,
    .handler = f25_InversionRing_handler,
    .params = {f25pack::kRingRadius, f25pack::kTiles, {.label = "Offset y ", .k = 16, .c = -8}},
    .defaults = {2, 4, 0},
    .on8 = f25_InversionRing_prepare,
};

inline constexpr KVmemberDesc kF25_InversionRingIO{
    .id = 14,
    .computeName = "f25_InversionRingIO",
    .name = " Fractal Ring",
    .compute = f25_InversionRingIO,
    .handler = f25_InversionRingIO_handler,
    .params = {f25pack::kRingRadius,
               f25pack::kTiles,
               {.label = "Recursion ", .k = 64, .truncate = true}},
    .defaults = {1, 4, 8},
    .on8 = f25_InversionRingIO_prepare,
};

inline constexpr KVmemberDesc kF25_RandomDisk{
    .id = 21,
    .computeName = "f25_RandomDisk",
    .name = " Random disk packing ",
    .compute = f25_RandomDisk,
    .handler = f25_RandomDisk_handler,
    .params = {f25pack::kRadius8, f25pack::kOffsetX, f25pack::kOffsetY},
    .defaults = {1, 0, -0.5},
    .on8 = f25_RandomDisk_prepare,
};
