// Wall cells: 3D cells that draw wall surfaces (ceramic tiles, stone
// courses, concrete slabs, plates with windows, motifs and bricks), two 2D
// cells of the same family, and the 16-entry colour cycle that colours the
// wall codes 0..15. Window points are level -2.0 with code -1, so a blended
// level drops below 0 near them. Only LABTXT3D_StonesNWindow and
// LABTXT3D_WhiteNWindow read the incoming code (no windows when it is 0).
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"
#include "celltextures/celltexture3d.h"

// Glazed tiles on 16- and 32-unit courses; a tiled floor at y <= 0.
double LABTXT3D_CeramicsA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Stone courses of 16 units shifted by 8 on odd courses (StonesA), of 16
// units split at 8 (StonesC), of 32 units (StonesD), and mixed big and
// small bevelled stones (StonesB).
double LABTXT3D_StonesA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_StonesB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_StonesC(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_StonesD(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// The 32-unit stones as a 2D cell over (x, y); writes the code.
double LABTXT3D_StonesD2D(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// 2D pavement of 16-unit slabs, rows shifted by 12; writes the code.
double LABTXT2D_paves(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Cast concrete panels 64 wide, 128 high and 256 deep, joints code -100.
double LABWALL_ConcreteA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// 32-unit plates with windows above the first storey.
double LABTXT3D_PlatesNWindow(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// 32-unit plates with fine joints.
double LABTXT3D_discreetplates(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Fine plates (LABTXT3D_discreetplates at four times the density) with
// windows where the incoming code is nonzero.
double LABTXT3D_StonesNWindow(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// A white wall with windows where the incoming code is nonzero; pavement
// (LABTXT2D_paves at (x, z)) below y = 0.
double LABTXT3D_WhiteNWindow(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Motifs on 16-unit cells: pyramids against a shifted grid (A), cells in
// bevelled 64-unit blocks (B), bands of 64-unit blocks (C).
double LABTXT3D_MotifA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_MotifB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_MotifC(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Bricks of 8 units on 4-unit courses over a concrete floor (A), of 32 units
// on 16-unit courses over a half-scale concrete floor (B).
double LABTXT3D_bricksA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABTXT3D_bricksB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Concrete walls: all three give code -70, level 0.0 every 128 units of
// height (y = 0 included) and the floor of LABTXT3D_StonesD2D at
// (x >> 1, z >> 1) below. B: 128-unit slabs; Lines: 128-unit bands; Mix:
// panels of the other concrete and plate walls.
double LABWALL_ConcreteB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABWALL_ConcreteLines(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
double LABWALL_ConcreteMix(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// The 16-entry colour cycle of the wall cells: three HSL keys at hue angles
// trunc((hue - spread) 360), trunc(hue 360) and trunc((hue + spread) 360),
// each wrapped into 0..359 (a NaN or out-of-range product counts as 0),
// with lightness - lightStep, lightness and lightness + lightStep (kept to
// 0..255) and the same saturation;
// out[i] is the gradient over the three keys at i / 16.
void Get16ColorsShade(floatcolor out[16], double hue, double spread, uint8_t saturation,
                      uint8_t lightness, uint8_t lightStep);
