// Region overlap drivers: several overlapping layers of square regions cover
// the plane, and a region callback is called once for every region of every
// layer that holds the sample. The callback draws one motif in the region's
// local coordinates and accumulates it into the caller's record; the drivers
// compute only the region frames and their hash codes.
//
// The drivers keep no state and allocate nothing; several threads may call
// them at once, each with its own fractalsinfos copy and records. Every
// driver reads perm and rndVec3D through fi->tables, which must be set. A
// sample whose lattice cell is not defined (NaN, or beyond the 32-bit
// lattice) lies in no region: no call is made for it.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "noise/kvtables.h"

// The parameter record handed through to a region callback. The jittered
// drivers use two of its slots themselves, so it always holds 24 doubles.
inline constexpr int kRegionRecordSize = 24;
inline constexpr int kRegionSizeSlot = 12;    // fregionJitterOverlap1 stores s here
inline constexpr int kRegionJitterSlot = 23;  // fregionJitterOverlap4 reads its jitter here

struct regionrecord
{
  double values[kRegionRecordSize] = {};
};

// The region callback. u and v are the sample's coordinates in the region,
// each in [-1, 1] for a region that holds the sample; param is handed through
// from the driver's caller; code is the region's hash, 0..1023; a and b are
// handed through unchanged (a may be null where the driver's caller passes
// null). The result says whether the motif touched the sample; the drivers do
// not use it.
typedef int32_t (*RegionProc)(fractalsinfos* fi, double u, double v, double param, int32_t code,
                              regionrecord* a, dvector4d* b);

// Aligned layers, each always calling: two layers when mode is 2 or 4, four
// layers otherwise. The second layer is shifted by half a cell; the third and
// fourth repeat the pair at a far offset. Codes: the cell hash on the first
// and third layer, that hash permuted once more on the second and fourth.
void fregionOverlap(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                    regionrecord* a, dvector4d* b, int16_t mode);

// One jittered layer (jitter 0.5): at most one call. When it calls, the
// region size s is stored in record->values[kRegionSizeSlot] first; record
// must not be null.
void fregionJitterOverlap1(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                           regionrecord* record, dvector4d* b);

// Four jittered layers, shifted by a quarter cell in x and half a cell in y
// against each other: up to four calls. The jitter amount is
// record->values[kRegionJitterSlot], or 0.5 when record is null.
void fregionJitterOverlap4(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                           regionrecord* record, dvector4d* b);

// Two groups of four jittered layers (jitter 0.5) at different offsets: up to
// eight calls.
void fregionJitterOverlap8(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                           regionrecord* a, dvector4d* b);
