// Ground cells: the street level of the 3D city (pavements, kerbs,
// crossings, road marks and squares). The low 4 bits of the incoming code
// (k = code & 15) pick the ground type; no ground cell reads y. A "frame"
// is a point with x & 7 = 0 or z & 7 = 0.
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"

// Ground of the first city: writes a ground code, returns level 0.0.
double LABTXT3D_groundC2(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Ground of the third city: writes a ground code and returns 0.0, except
// type 9, which returns the level and code of the ground marks at
// (x >> 1, z >> 1).
double LABTXT3D_groundC3(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Vector ground of the second and classic cities: out->x = 0, out->y a
// light value by type; the code pair is read, never written.
void LABTXT3D_AR_ground(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code);

// Vector ground of the third city (types 4, 9 and 14 differ from
// LABTXT3D_AR_ground).
void LABTXT3D_AR_groundC(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code);
