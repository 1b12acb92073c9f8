// What every 3D cell texture shares: the two calling forms, the in/out
// material code, the 3D lattice hash and the permutation chains the cells
// write out longhand, and the corner sampler that turns a 3D cell into a
// colour.
//
// A 3D cell is a pure function of the read-only permutation of `KVtables` and
// an integer lattice point (x, y, z), y being the height. Coordinates are any
// int32_t values: shifts are arithmetic, masks act on the two's complement,
// and offsets or multiples (x + 11, x - 8, 2x) wrap around the 32-bit range
// through kvnum::wrap_add_i32 / wrap_mul_i32. Every cell keeps no state and
// may be called from any number of threads at once.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"
#include "foundation/types.h"
#include "noise/mazecolor.h"

// The scalar form. *code is in/out: on entry the code the caller (or a
// dispatcher) chose for the cell, often a variant 0..7; the cell overwrites
// it with the material code of the point, or leaves it where its rule writes
// nothing. Returns the level (a height or brightness).
typedef double (*CellTexture3DProc)(const KVtables* t, int32_t x, int32_t y, int32_t z,
                                    int16_t* code);

// The vector form. code points to a pair: code[0] the chosen code (variant
// bits), code[1] the caller's flag (nonzero: draw the lit building). The
// cell writes out->x (a height) and out->y (a light or shade value), never
// out->z, and leaves the pair as it was unless it says otherwise.
typedef void (*CellTexture3DVecProc)(const KVtables* t, int32_t x, int32_t y, int32_t z,
                                     dvector3d* out, int16_t* code);

// The in/out record of fmazeCityTexture, fields in this order.
struct CellColorSample
{
  int16_t code = 0;        // in: the code every corner call starts from
  int16_t cornerCode = 0;  // out: the code written at corner (x0, y0, z0)
  double red = 0;          // in: sharpness k of the blend weights; out: red 0..255
  double green = 0;        // out: green 0..255
  double blue = 0;         // out: blue 0..255
  double value = 0;        // in: the shading value of the materials; out: the level
};

// Samples `cell` at the eight corners of the lattice cell around (x, y, z)
// (per axis trunc(t) - 1 below 0, so a negative whole number lies at
// fraction 1 of the cell below; a NaN or out-of-range coordinate samples
// cell (0, 0, 0) at fraction 0), each corner starting from its own copy of
// sample->code. Blend weights are smoothstep(k f) clamped to 0..1 with
// k = sample->red on entry. The corner colours (FPROCCOLOR of the corner
// code, shaded by sample->value on entry) blend x then y in single
// precision, then z; a null cycle gives colours 0, the level and cornerCode
// are computed all the same.
void fmazeCityTexture(const KVtables* t, CellTexture3DProc cell, const floatcolor* cycle,
                      CellColorSample* sample, double x, double y, double z);

namespace kvcell {

// perm[(outer + perm[inner & 1023] + innerHigh) & 1023]: the two-level
// chain of the longhand hashes (innerHigh is the inner index shifted once
// more, or 0 where a cell adds none).
inline int32_t permChain2(const KVtables* t, int32_t inner, int32_t outer, int32_t innerHigh)
{
  return t->perm[kvnoise::usum(outer, t->perm[inner & 1023], innerHigh) & 1023u];
}

// perm[(outer + perm[(middle + perm[inner & 1023] + innerHigh) & 1023]
//       + outerHigh) & 1023]: the three-level chain.
inline int32_t permChain3(const KVtables* t, int32_t inner, int32_t middle, int32_t outer,
                          int32_t innerHigh, int32_t outerHigh)
{
  return t->perm[kvnoise::usum(outer, permChain2(t, inner, middle, innerHigh), outerHigh) & 1023u];
}

// The 3D lattice hash at shift s over the ordered triple (a, b, c):
//   H(s; a, b, c) = perm[((c >> s) + H_s(a, b) + (a >> (s + 9))) & 1023],
// H_s being the 2D hash (kvcell::hash). Value 0..1023 for a permutation.
inline int32_t hash3(const KVtables* t, int s, int32_t a, int32_t b, int32_t c)
{
  return t->perm[kvnoise::usum(c >> s, hash(t, s, a, b), a >> (s + 9)) & 1023u];
}

// The 8-unit hash H(3; x, y, z) that most cells use.
inline int32_t hash8(const KVtables* t, int32_t x, int32_t y, int32_t z)
{
  return hash3(t, 3, x, y, z);
}

// v + d wrapping as 32-bit two's complement.
inline int32_t offset(int32_t v, int32_t d)
{
  return kvnum::wrap_add_i32(v, d);
}

// Bit n of v as 0 or 1.
inline int32_t bit(int32_t v, int n)
{
  return (v >> n) & 1;
}

// Where a point lies in the 8- and 16-unit lattices of the building cells.
struct Lattice3
{
  int32_t x7, y7, z7, x15, z15;
  bool inner;  // x7, y7 and z7 all nonzero
};

inline Lattice3 lattice3(int32_t x, int32_t y, int32_t z)
{
  Lattice3 l{x & 7, y & 7, z & 7, x & 15, z & 15, false};
  l.inner = l.x7 != 0 && l.y7 != 0 && l.z7 != 0;
  return l;
}

}  // namespace kvcell
