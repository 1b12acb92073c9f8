// Tech motif cells: the small lattice patterns of the two-input tech-noise
// component (circuit boards, signs, grids, mazes, Mondrian rectangles, ground
// markings). Cell sizes are 4 to 64 units, hashed with kvcell::hash.
//
// Code rules: the cells of the cell form set *code (0 unless stated), except
// LABTXT_TEK_groundmarks, LABTXT_TEK_RandomRects and LABTXT_TEK_sparceRects,
// which accept a null code pointer, and LABTXT_mondrian, which never writes
// it. The maze-form cells always write their code.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// Cell form, code 0.
double LABTXT_TEK_computerdots(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_AlienSigns(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_Acity(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_grid(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_Maze(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_D(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_sparce(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_corail(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_BuildA(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_BuildB(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT_TEK_lines(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Cell form, code may be null. Ground marks on 16-unit cells with lines every
// 64 units: codes -4, -16, -32, -64, -92, -128, 89, 90, 96, 100, levels 0..1.
double LABTXT_TEK_groundmarks(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// 32-unit rectangles; code H_5(x, y) mod 12, levels 0.25..1.
double LABTXT_TEK_RandomRects(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// 32-unit rectangles; code H_5(x, y) & 31, levels 0..0.75.
double LABTXT_TEK_sparceRects(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Level only: 1 with 0 on the edges chosen per 32-unit cell (the edge pattern
// of LABTXT_TEK_lines).
double LABTXT_TEK_randomEdges(const KVtables* t, int32_t x, int32_t y);

// Cell form that leaves *code as it was: Mondrian bands of a 16-unit cell,
// levels -0.5..1.
double LABTXT_mondrian(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Maze form. Mondrian rectangles of 4-unit cells offset by the truncated seed
// (NaN or out-of-range seeds count as 0); code 0..5.
double LABTXT_mondrianRects(const KVtables* t, int32_t x, int32_t y, double seed, int16_t* code);
// Maze of 2-unit cells, seed ignored: level 1 or -1, code 0 or 1.
double LABTXT_omazeA(const KVtables* t, int32_t x, int32_t y, double seed, int16_t* code);
// City blocks of 16 units with 8-unit parcels, seed ignored: streets -0.75,
// empty parcels -0.5 (code 6), buildings 0.25..2 with codes 3, 4, 5 or 0..3.
double LABTXT_CityBblock(const KVtables* t, int32_t x, int32_t y, double seed, int16_t* code);

// Level only: lines of 4-unit cells, 1024 on the line and 0 elsewhere.
double LABTXT(const KVtables* t, int32_t x, int32_t y);
