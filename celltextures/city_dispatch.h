// The city dispatchers: 3D cells that route a point to a ground cell or a
// building generator by bits of its code. A point is ground when the code c
// is negative or y < 1; otherwise the variant c & 7 is handed on and the
// builder index (bits 3 and up of c) picks the generator, called at
// (x + 11, y, z + 11), or at ((x + 11) >> 1, y >> 1, (z + 11) >> 1) for
// the halved ones. The scalar dispatchers leave the generator's code in
// *code; the vector ones work on a local pair {c & 7, code[1]} (the ground
// cells on {c, code[1]}) and never change the caller's pair.
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"

// Ground: LABTXT3D_groundC2, or code -80 and level 0.0 for c < 0 below
// y = 0. Index (c >> 3) & 15; indices 10..15 hand LABTXT3D_BuildOthers
// c >> 3.
double LABTexture_City1(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Ground: LABTXT3D_groundC2, or for c < 0 below y = 0 the street marks at
// ((x >> 1) + 3, (z >> 1) + 3) (a code left negative becomes -80) at level
// 0.0. Index (c >> 3) & 15 (City2) or (c >> 3) & 7 (CityClassic).
double LABTexture_City2(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTexture_CityClassic(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Ground: always LABTXT3D_groundC3. Index ((c >> 3) + 4) & 15.
double LABTexture_City3(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Vector dispatchers; zero output is (0, 0). City1 has no ground (c < 0
// gives zero output whatever y); City2 and CityClassic give zero output for
// c < 0 below y = 0 and LABTXT3D_AR_ground elsewhere on the ground; City3
// takes LABTXT3D_AR_groundC.
void LABTextureAR_City1(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTextureAR_City2(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTextureAR_City3(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTextureAR_CityClassic(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                              int16_t* code);

// Vector cities over the street cells, as LABTXT3D_AR_cityA: code[0]
// becomes the block code they choose. cityB: StreetsNetworkMask at
// ((x + 15) >> 4, (z + 15) >> 4), buildings above y = 7, the vector ground
// below when the flag is clear. cityC: LABTXT_StreetsFlags at
// ((x + 12) >> 4, (z + 12) >> 4), LABTXT3D_AR_groundC on streets and at
// y <= 0.
void LABTXT3D_AR_cityB(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                       int16_t* code);
void LABTXT3D_AR_cityC(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                       int16_t* code);
