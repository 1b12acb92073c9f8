// Small level cells of the lattice for the shapes of the f21 "Shapes #"
// member (clusters of cubes, a pyramid of cells, a cube and four building
// plans, all centred on the lattice origin), and the two-coordinate form of
// the city block cell for the "Tech Noise #" member.
//
// The level cells have the noise library's level form (`MazeLevelProc`): the
// tables, the lattice point and a double parameter d, which only the cluster
// and pyramid cells read. All are pure functions of the permutation and the
// lattice point, safe for any int32_t coordinates and any number of threads.
#pragma once

#include <cstdint>

#include "noise/kvtables.h"

// Blocks of 4 x 4 points falling by d per block from the centre, each
// drawn a quarter of the way toward its own hash level.
double TEKCluster(const KVtables* t, int32_t ix, int32_t iy, double d);
// Blocks of 4 x 4 points falling by d per block of distance from the centre.
double TEKpyr(const KVtables* t, int32_t ix, int32_t iy, double d);
// 1 over the 15 x 15 points around the origin, 0 elsewhere.
double TEKcube(const KVtables* t, int32_t ix, int32_t iy, double d);
// Building plans: a main block with lower wings and annexes.
double TEKbuildA(const KVtables* t, int32_t ix, int32_t iy, double d);
double TEKbuildB(const KVtables* t, int32_t ix, int32_t iy, double d);
double TEKbuildC(const KVtables* t, int32_t ix, int32_t iy, double d);
double TEKbuildD(const KVtables* t, int32_t ix, int32_t iy, double d);

// LABTXT_CityBblock in the cell form: the maze form called with seed 0 (the
// block ignores its seed).
double LABTXT_CityBblock2D(const KVtables* t, int32_t x, int32_t y, int16_t* code);
