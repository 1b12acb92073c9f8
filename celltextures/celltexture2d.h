// What every 2D cell texture shares: the calling forms, the lattice hash, the
// wrapping coordinate and code arithmetic, and the street band convention of
// the 32-position blocks.
//
// A cell texture is a pure function of the read-only permutation of
// `KVtables` and an integer lattice point. It returns a level (a height or a
// brightness, as a rule 0..2) and, in the forms that have one, writes a
// 16-bit signed material code: negative codes are street and ground marks
// (-1 street, -2 a street's origin line or an alley's centre line, -50
// avenue, -60 avenue kerb, -250 and -255 crossing marks), 0..15 index the
// caller's 16-entry colour cycle, 16 and up are shaded materials; all are
// turned into colour by `FPROCCOLOR` (noise/mazecolor.h). Every cell keeps no
// state and may be called from any number of threads at once.
//
// Coordinates are any int32_t values: shifts are arithmetic and masks act on
// the two's complement, so negative coordinates continue the lattice without
// a seam, and offsets such as x + 1 wrap around the 32-bit range instead of
// overflowing.
#pragma once

#include <cstdint>

#include "foundation/checked.h"
#include "noise/kvtables.h"
#include "noise/lattice.h"
#include "noise/mazecolor.h"

// The cell form: level of lattice point (x, y), material code written to
// *code (each cell says whether it sets the code, adds to it, or may be given
// a null pointer).
typedef double (*CellTexture2DProc)(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// The maze-cell form is the noise library's `MazeCellProc`: the cell form
// with a seed before the code pointer (most maze cells ignore the seed).

// The level-only form.
typedef double (*CellLevel2DProc)(const KVtables* t, int32_t x, int32_t y);

// The flag form: a block type or a line mark instead of a level.
typedef int32_t (*CellFlag2DProc)(const KVtables* t, int32_t x, int32_t y);

namespace kvcell {

// A value kept to its low 16 bits, as a signed code.
inline int16_t wrap16(int32_t v)
{
  return int16_t(uint16_t(uint32_t(v)));
}

// code += v, wrapping as int16.
inline void addCode(int16_t* code, int32_t v)
{
  *code = wrap16(int32_t(uint32_t(*code) + uint32_t(v)));
}

// The permutation entry at a value used as an index (masked to 0..1023).
inline int32_t permAt(const KVtables* t, int32_t v)
{
  return t->perm[uint32_t(v) & 1023u];
}

// The 2D lattice hash at shift s:
//   H_s(a, b) = perm[((a >> s) + perm[(b >> s) & 1023] + (b >> (s + 9))) & 1023].
// The second argument's cell index enters the inner lookup: hash(t, 5, y, x)
// hashes the 32-unit cell that holds x, hash(t, 5, x, y) the one that holds y.
// Value 0..1023 for a permutation.
inline int32_t hash(const KVtables* t, int s, int32_t a, int32_t b)
{
  return kvnoise::cellHash2(t->perm, b >> s, a >> s);
}

// The hash value as a level in [0, 1).
inline double unitLevel(int32_t h)
{
  return h / 1024.0;
}

inline bool within(int32_t v, int32_t lo, int32_t hi)
{
  return v >= lo && v <= hi;
}

// Where a point of a 32-position block lies in the alleys of block type t
// (t = hash & 15): types 5..7 have a vertical alley at positions 15..17,
// 8..10 a horizontal one, 11 two vertical ones (15..17 and 23..25), 12 two
// horizontal ones, 13 a cross of both at 15..17; positions 16 (and 24) are
// the centre lines. Other types have no alley.
enum class Alley
{
  None,
  Band,
  Centre
};
inline Alley alleyAt(int32_t type, int32_t px, int32_t py)
{
  auto one = [](int32_t p) {
    return p == 16 ? Alley::Centre : within(p, 15, 17) ? Alley::Band : Alley::None;
  };
  auto two = [](int32_t p) {
    return (p == 16 || p == 24)                       ? Alley::Centre
           : (within(p, 15, 17) || within(p, 23, 25)) ? Alley::Band
                                                      : Alley::None;
  };
  switch (type) {
    case 5:
    case 6:
    case 7:
      return one(px);
    case 8:
    case 9:
    case 10:
      return one(py);
    case 11:
      return two(px);
    case 12:
      return two(py);
    case 13: {
      Alley ax = one(px), ay = one(py);
      return ax == Alley::Centre || ay == Alley::Centre ? Alley::Centre
             : ax == Alley::Band || ay == Alley::Band   ? Alley::Band
                                                        : Alley::None;
    }
    default:
      return Alley::None;
  }
}

// Position in the block of a 32-position coordinate: 0, 1 and 31 are street,
// 2 and 30 kerb, 3..29 inside.
inline bool onStreet32(int32_t p)
{
  return p < 2 || p > 30;
}
inline bool inside32(int32_t p)
{
  return within(p, 3, 29);
}

// The street mark of block position (px, py): -2 on a street's origin line
// (position 0), -1 elsewhere on the street, 0 off the street.
inline int16_t streetMark(int32_t px, int32_t py)
{
  if (!onStreet32(px) && !onStreet32(py))
    return 0;
  return px == 0 || py == 0 ? -2 : -1;
}

}  // namespace kvcell
