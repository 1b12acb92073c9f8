// The routines that only the f21 terrain members use: crater spots, the
// octave body of the eroded fractal, the volcano region callback and the
// recursive branch of the lightning strokes.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "noise/kvtables.h"
#include "noise/regions.h"

// Adds the crater of the lattice cell at (x, y) into *acc. Cells whose hash
// is above 200 are split into four, down to level 3 at most; a crater is a
// bowl with a raised rim, scaled by 1 / level. A cell whose crater hash is at
// most 250 level - 250 holds none. Nothing is added where the lattice cell
// is not defined.
void RecurSpots2D(const KVtables* t, double x, double y, double* acc, int32_t level);

// Octave body of the eroded fractal (the scalar body form of
// Multifractal2Dparam_procptr): octave 0 lays the base and the erosion mask
// in *state and fi->accumulator; later octaves add detail only where the
// mask leaves room, `erosion` (0..1) keeping more of it in the valleys.
double fpnoise_erodedfract(fractalsinfos* fi, double x, double y, double erosion, double* state,
                           short octave);

// Region callback of fregionJitterOverlap1: regions with index below 80 hold
// a lobed volcano cone with a crater, regions above 980 a caldera. Adds the
// height times the region size (read from region->values[kRegionSizeSlot])
// into out->w and returns 1; returns 0 for a region that holds none or a
// sample outside the unit disc of the region.
int32_t frgnVolcano(fractalsinfos* fi, double x, double y, double param, int32_t index,
                    regionrecord* region, dvector4d* out);

// Height of a branching stroke at (x, y): each level turns the plane by
// (c, s), forks off a branch of 0.66 times the length w, and joins the
// branches by a smooth minimum; below 0 gives 0. Stops at level 2.
double faddbranches(double x, double y, double w, double c, double s, int level);
