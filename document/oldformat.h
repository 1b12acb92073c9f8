// The old tree format: a level-ordered record of at least 34,096 bytes
// followed by one 15,072-byte section per compiled sub-tree, big-endian like
// the current format. arb_oldformatREAD converts such a record, already read
// into memory, into a document: components, links, parameters, view,
// palette, colour function, keyframes, sub-trees and inputs.
//
// Record layout (offsets from its start; only what the converter reads):
//
//   0       i16   format version
//   2       i16   root level (negative: an empty tree)
//   228 L         level record L: u32 component count at +4, components of
//                 56 bytes from +8
//   2,740   u16   document flag (3 sets it)
//   2,742   u16   keyframe count of the tree
//   2,744   u16   document setting (the palette number)
//   2,746   u16   colour-function index
//   6,844   4 f64 view rectangle (a pair of zeros becomes -pi, pi)
//   6,876         palette (u32 count, 64 colours)
//   12,314  u16   time-random period;  12,320 f64 time-random offset
//   12,328  u8    first selection;     12,330 i16 second selection
//   12,332  2 i16 the two document settings (the index pair)
//   12,337  u8    old animation kind: 1 straight moves and camera path, 5 random drift
//   12,338  i16   octave count (held to 4..256)
//   12,340  3x4   the three default colours
//   12,352        permutation, 1,024 u32 (read only when tables are asked for)
//   16,448  u16   selected keyframe;   16,450 u16 keyframe count (at most 16)
//   16,452        16 keyframes of 1,068 bytes: u16 in use, u16 count, camera
//                 x, y, half-size at 8, 16, 24, palette at 40, then the A, B
//                 and C lists of 32 doubles at 300 (component n in order)
//   33,548  i32   animation length;    33,552 i16 frame rate, 33,554 i16 29.97 flag
//   33,558  i16   animation mode (version 10 and above)
//   33,674  u16   colour-function class; 33,676, 33,677 u8 document byte and flag
//   33,678        input references of four slots: flags at 33,796, start
//                 values at 33,800, file references at 33,816 + 70 s
//                 (the 300 bytes from 33,796 to the record's end)
//
// Component record (56 bytes): family u16, id u16 (63 means 127), position
// code u16 (level = code / 4, display position = code mod 4), slot word u16,
// input code 4 u16, source of input 4 i16 (a position code), A, B, C f64,
// sources of inputs 1-3 i32 (position codes, negative = none), input codes
// 1-3 u16, animation locks u8.
//
// A compiled sub-tree section has the record's layout up to its keyframe
// count at 2,742, then the keyframe lists of its components (16 keys of A, B
// and C lists of 32 doubles) from 2,748, and its name at 15,036.
//
// Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/soundfunc.h"
#include "engine/gfunc.h"
#include "platform/files.h"

inline constexpr size_t kOldTreeRecordSize = 34096;
inline constexpr size_t kOldSubtreeSectionSize = 15072;

// Results of arb_oldformatREAD.
enum : int16_t
{
  kOldTreeRead = 1,
  kOldTreeRefused = 2,  // short or damaged record, or over 32 components
};

// Converts the old record of `length` bytes (the whole file: record and
// sub-tree sections) into the document. `file` is the file it came from: the
// inputs are looked for beside it; it is never written. With `full` the
// keyframes, animation settings and inputs are taken too; with `tables` the
// permutation. A record shorter than 34,096 bytes, level counts that pass
// its end, a component of an unknown family, or more than 32 components give
// kOldTreeRefused (the components converted so far are kept, as the old
// program did over 32).
int16_t arb_oldformatREAD(sfuncSystem* doc, const FileRef& file, bool full, bool tables,
                          const unsigned char* record, size_t length, sSoundfunc* sound = nullptr);

// The steps of the conversion, each on the record.
int16_t ConvertArbreIndexToPtr(smalltree* tree, const unsigned char* record, size_t length,
                               int16_t version);
void ConvertFileArbre(sfuncSystem* doc, const unsigned char* record, bool tables);
// A sub-tree from one section; false when the section does not convert.
bool osmalltree_formatdata(smalltree* tree, const unsigned char* section, int16_t version);
// Gives every id-127 component of the main tree a sub-tree from its section.
void convert_smalltree(sfuncSystem* doc, const unsigned char* sections, size_t length,
                       int16_t version);
// Restores input slots 0-3 from the record's references. A file that is
// nowhere gives its slot the default picture and an empty name; the old file
// itself is never written while it is read.
void arb_oldinputread(sfuncSystem* doc, const FileRef& file, const unsigned char* record);
// Writes the record's 300 bytes of input references (flags, start values
// and file references, 33,796 to the record's end) over those of the old
// file, leaving the rest of the file as it is: for a caller
// that chooses to store repaired references. paramErr when the file is
// shorter than a record.
OSErr arb_oldreplaceInputRefs(const FileRef& file, const unsigned char* record);

// Walk procedure: component number n (of those with parameters) takes its
// triple of every key from entry n of the key's A, B and C lists.
struct KVoldKeyWalk
{
  const unsigned char* keys;  // the first key's lists
  size_t keyStride;           // bytes from one key's lists to the next
  int keyCount;
  int n;
};
void Anim_TP_keyframeconvertparams(smalltree* tree, gfunc* g, void* walk);
