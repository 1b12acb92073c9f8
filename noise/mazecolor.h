// Colour and level samplers for cell textures on the integer lattice, the
// material colours of cell codes, two self-contained patterns (a maze and 3D
// colour blocks), and the small colour cycles that component handlers build
// for these samplers.
//
// The lattice cell of a point (x, y) is (trunc(x) - 1 for negative x, else
// trunc(x)) with fraction fx = x - ix, so a negative whole number lies in the
// cell below with fraction 1; likewise y. Corners 00, 10, 01, 11 are (ix, iy),
// (ix + 1, iy), (ix, iy + 1), (ix + 1, iy + 1). A point whose cell is not
// defined (NaN, or beyond the 32-bit lattice) is sampled in cell (0, 0) with
// fraction 0.
//
// Everything here is a pure function of its arguments and the tables; the
// samplers call the cell functions they are given and nothing else, so they
// run on any number of threads as long as the cells keep no state.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "noise/kvtables.h"

// A colour of three single-precision channels on the 0..255 scale; a colour
// cycle is an array of them.
struct floatcolor
{
  float red = 0, green = 0, blue = 0;
};

// A colour (0..255) plus a value. On entry the value is the shading value of
// the materials; the samplers that blend levels leave the level in it.
struct mazecolorrecord
{
  double red = 0, green = 0, blue = 0, value = 0;
};

// Cell functions of the lattice. A maze cell returns the level of lattice
// point (x, y) and writes its 16-bit material code; a colour cell fills the
// record's colour (it may read the record's value) and returns the level; a
// level cell returns the level only.
typedef double (*MazeCellProc)(const KVtables* t, int32_t x, int32_t y, double param,
                               int16_t* code);
typedef double (*ColorCellProc)(const KVtables* t, int32_t x, int32_t y, mazecolorrecord* rec);
typedef double (*MazeLevelProc)(const KVtables* t, int32_t x, int32_t y, double param);

// The colour of material `code` shaded by *value (null counts as 0): negative
// codes are greys -code - 1, 0..15 the cycle entries (black without a cycle),
// 16..87 materials in ranges of eight, 88..111 fixed colours, 112 and up
// white. Shaded materials are not clamped. Returns out.
floatcolor* FPROCCOLOR(floatcolor* out, const floatcolor cycle[16], int16_t code,
                       const double* value);

// Samples `cell` at the four corners of the point's cell (each corner's code
// starting at 0) and blends with smoothstep weights; the fractions are
// multiplied by sharpness when it exceeds 1. rec gets the blended material
// colour (black when cycle is null; rec->value on entry shades the materials)
// and the blended level.
void fmazeColorCubic(const KVtables* t, double x, double y, double param, MazeCellProc cell,
                     const floatcolor* cycle, mazecolorrecord* rec, double sharpness);

// Orthogonal maze blend of the four corner levels with linear weights, plus
// param; rec gets that value and table[0] where it is <= 0, else table[2] or
// table[1] depending on the wall direction.
void fmazeColorOrtho(const KVtables* t, double x, double y, double param, MazeCellProc cell,
                     const double table[3][3], mazecolorrecord* rec);

// Blends colour cells at the four corners according to mode: -2 checkered
// diagonals, -3 round lights, -4 triangular fall-off, -5 pyramids, other
// negative modes nearest corner with diagonal levels, 1 the split along the
// 00-11 diagonal, other non-negative modes the lower of both diagonal splits.
// Each corner's record starts with rec->value and a black colour. Returns the
// blended level and writes the blended colour (and for some modes a corner's
// value) into rec.
double fmazeColorTriangle(const KVtables* t, double x, double y, ColorCellProc cell,
                          mazecolorrecord* rec, int16_t mode);

// Bilinear blend of the four corner levels with smoothstep weights of the
// fractions times sharpness.
double fmazelerp21(const KVtables* t, double x, double y, double param, MazeLevelProc cell,
                   double sharpness);

// Maze pattern: blend 0 gives the maze, 1 random blocks, values between mix
// them. Returns a level in -512..512; -512 inside a wall-free cell.
double fmaze(const KVtables* t, double x, double y, double blend);

// 3D colour blocks: out = the opaque block colour (red, blue, yellow or
// white), or opaque black within edgeWidth / 4 of a cell face. Returns the
// distance to the nearest cell face.
double Mondrian3DColor(const KVtables* t, double x, double y, double z, normalcolor* out,
                       double edgeWidth);

// Four HSL colours: hue startHue + 720 * phase, then stepped by hueStep, always
// brought into [0, 360); saturation and lightness stepped likewise (0..255).
void Get4ProcColorCycle(floatcolor out[4], double phase, double startHue, double lightness,
                        double saturation, double hueStep, double lightnessStep,
                        double saturationStep);

// Four colours of the hue cycle of t at 0, step, 2 step, 3 step, then four
// greys i/3 * greyRange + (255 - greyRange) * greyBase, i = 0..3.
void Get8ColorCycle(floatcolor out[8], double t, double step, double greyRange, double greyBase);

// Four groups of four colours of the hue cycle of t, at s, s + step, s + 2 step,
// s + 3 step with s = 0, start2, start3, start4 (each less 1 when above 1).
void Get16ColorCycle(floatcolor out[16], double t, double step, double start2, double start3,
                     double start4);

// Three colours of the hue cycle of t at 0, 0.3333 (0.16665 with flag) and
// 0.6666.
void GetTripleFColorCycle(floatcolor out[3], double t, bool flag);
