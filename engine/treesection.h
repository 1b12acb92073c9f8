// The component section of the tree file form: one tree as a 14,264-byte
// big-endian byte buffer. The tree file stores the main tree and each of its
// compiled sub-trees in this layout; document copies pass through it.
//
// Section layout (offsets in bytes):
//   0      u16  version (20)
//   2      u16  component count N (0..32)
//   4      32 component records of 444 bytes, record i at 4 + 444 i
//   14212  u16  kind word of the tree (the document's keyframe count)
//   14214  i16  first selection, 14216 i16 second selection (-1 none)
//   14218  2 bytes not used
//   14220  'qjKv'
//   14224  u8 0, 14225 u8 root slot, 14226 u16 0
//   14228  36 bytes: name, a Pascal string ("Main")
// Component record:
//   0 u16 family, 2 u16 function id, 4 i16 index, 6 u16 auxiliary index,
//   8 u8 level, 9 u8 display index, 10 u8 parameter count, 11 u8 lock flags,
//   12 4 x i16 source indices (-1 none), 20 4 x u16 inlet source codes,
//   28 f64 A, 36 f64 B, 44 f64 C, 52 u32 0, 56 u32 evaluation flag,
//   60 16 x (A, B, C) keyframe triples as f64.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"

inline constexpr size_t kComponentSectionSize = 14264;
inline constexpr size_t kComponentRecordSize = 444;
inline constexpr size_t kComponentRecordsOffset = 4;

// Offsets of the section trailer.
inline constexpr size_t kSectionKindOffset = 14212;
inline constexpr size_t kSectionSelection1Offset = 14214;
inline constexpr size_t kSectionSelection2Offset = 14216;
inline constexpr size_t kSectionMagicOffset = 14220;
inline constexpr size_t kSectionRootSlotOffset = 14225;
inline constexpr size_t kSectionNameOffset = 14228;
inline constexpr size_t kSectionNameSize = 36;

inline constexpr OSType kTreeFileMagic = fourcc("qjKv");

// Offsets within a component record.
inline constexpr size_t kRecFamily = 0;
inline constexpr size_t kRecFuncID = 2;
inline constexpr size_t kRecIndex = 4;
inline constexpr size_t kRecAuxIndex = 6;
inline constexpr size_t kRecLevel = 8;
inline constexpr size_t kRecDisplayIndex = 9;
inline constexpr size_t kRecParamCount = 10;
inline constexpr size_t kRecLockFlags = 11;
inline constexpr size_t kRecSources = 12;
inline constexpr size_t kRecInletCodes = 20;
inline constexpr size_t kRecA = 28;
inline constexpr size_t kRecEvalFlag = 56;
inline constexpr size_t kRecKeyframes = 60;

// Records whose stored index is above this keep the catalog's defaults when
// they are rebuilt.
inline constexpr int16_t kRebuildParamsMaxIndex = 75;

// Writes `tree` into `section` (kComponentSectionSize bytes, wholly
// rewritten): renumbers the tree's indices to slot numbers, writes the used
// records, marks the others empty (family 0, sources -1), and writes the
// trailer with `kind`, the name "Main", version 20 and the magic.
void arb_2_farb(smalltree* tree, unsigned char* section, int16_t kind);

// Why a section was refused by arb_rebuild.
enum class KVsectionError
{
  kNone,
  kBadCount,   // component count above 32
  kBadFamily,  // a used record with a family code that is not assigned
};

// Rebuilds `tree` from `section`. The section is checked first; a refused
// section leaves the tree untouched. Otherwise the tree is emptied and each
// record appended: fields copied, sources resolved (a source must name a slot
// below the component's own, else that input is unlinked), the component
// bound with setFunc mode 0, then lock flags, index and evaluation flag; A, B,
// C and keyframes are read only for stored indices of 75 or less. Then the
// selections and the kind word, the last component selected, and the
// root-changed flag set when the root level changed.
KVsectionError arb_rebuild(const unsigned char* section, smalltree* tree);

// The record number whose stored index equals `index`: `index` itself when
// that record already carries it or when count is below 1; else the first
// record (0, then 1 on) among the first `count` that carries it; else
// `index`. Never reads outside the section.
int16_t findindexbyuniqid(const unsigned char* section, int16_t count, int16_t index);
