// The tech set: 3D cells of machine-like and sign-like patterns (panels,
// stepped pyramids, cube grids, signs and small tiles), and the patchwork
// cells that mix them with the building generators into whole cities over
// the 2D street cells. Unless said otherwise a cell ignores the incoming
// code. In the rules x7 = x & 7, x15 = x & 15 (likewise y, z).
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"

// 8-unit panels: off the inner points code -12, level 0.0; inside a code
// picked by the 8-unit hash and bit 3 of y.
double LABTXT3D_A(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// 16-unit stepped blocks: a base solid by the hash, then each nested step
// box holding the point adds the step height, the innermost setting the code.
double LABTXT3D_Mayan(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// 16-unit city blocks with recesses: negative levels (-0.75 on the 2-unit
// streets, -0.5 in recesses).
double LABTXT3D_City(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Horizontal strata: a function of y alone.
double LABTXT3D_VStrat(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// A grid of 8-unit cubes on bars.
double LABTXT3D_CubeGrid(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Signs on 16-unit storeys (code 4 first; nothing on the lower 6 units).
double LABTXT3D_BSigns(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_ASigns(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Small tiles: bars along one axis per 8-unit cell (TA), 16-unit frames
// (TB), odd-coordinate grids (TC).
double LABTXT3D_TA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_TB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_TC(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Patchwork cities. Each reads the street cell of the point's 16-unit block,
// hashes the block on a coarser grid to pick a generator and calls it at
// (x + 11, y, z + 11) on the code it chose; the generator's code is left.
// City1 and City2 use StreetsNetworkMask at ((x + 15) >> 4, (z + 15) >> 4),
// City3 LABTXT_StreetsFlags at ((x + 12) >> 4, (z + 12) >> 4).
double LABTXT3D_Patchwork_City1(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_Patchwork_City2(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_Patchwork_City3(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
