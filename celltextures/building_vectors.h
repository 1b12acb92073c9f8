// Vector building generators: the CellTexture3DVecProc twins of the
// building generators, plus a city cell of their own. Instead of a material
// code they give two numbers per lattice point: out->x a height (raised
// windows, roofs and pillars, mostly 0..4) and out->y a light or shade value
// (mostly 0..4); out->z is never written. code[0] is the variant, code[1]
// the caller's flag: most draw the lit building only when the flag is set,
// and pillars or nothing when it is clear. They leave the code pair as it
// was, except LABTXT3D_AR_cityA and LABTXT3D_AR_Composites, which rewrite
// code[0] before handing the point on.
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"

// Twins of the building generators (variant code[0] & 7 or & 3).
void LABTXT3D_AR_BuildA(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTXT3D_AR_BuildA4(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code);
void LABTXT3D_AR_BuildD(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTXT3D_AR_BuildI(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTXT3D_AR_BuildV1(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code);
void LABTXT3D_AR_BuildE(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTXT3D_AR_BuildF(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);

// Vertical lines and window bands of 8-unit cells (code[0] not read).
void LABTXT3D_AR_BuildVlines(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                             int16_t* code);
void LABTXT3D_AR_BuildBW(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code);

// A generator per city block, picked from the street network of 16-unit
// blocks: code[0] becomes the block code of StreetsNetworkMask (negative on
// streets, where the output is zero), then the point goes at (x + 11, y,
// z + 11) to the generator that the block code and a 2048-unit hash pick.
void LABTXT3D_AR_cityA(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                       int16_t* code);

// Twins of the shape and composite generators.
void LABTXT3D_AR_BuildAalt(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                           int16_t* code);
void LABTXT3D_AR_BuildB(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);
void LABTXT3D_AR_BuildWA(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code);
void LABTXT3D_AR_ClassicGen(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                            int16_t* code);
void LABTXT3D_AR_BuildBGen(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                           int16_t* code);
void LABTXT3D_AR_Composites(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                            int16_t* code);
