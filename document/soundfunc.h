// The sound settings of a document (`sSoundfunc`): carried by tree files
// after the input references, read and written by arb_READ and arb_WRITE.
// Only the transposition has a meaning for the tree sound; the other
// settings are kept unchanged through files.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// The tag of settings whose fields are valid.
inline constexpr int32_t kSoundSettingsTag = 2;

// Transposition limits applied when a tree file is read, in semitones.
inline constexpr int32_t kMinTransposition = -12;
inline constexpr int32_t kMaxTransposition = 36;

struct sSoundfunc
{
  int32_t tag;            // kSoundSettingsTag when valid
  int32_t transposition;  // base pitch in semitones, default 12
  double setting1;        // default 0.25
  double setting2;        // default 120.0
  uint32_t setting3;
  uint32_t spare;     // not stored in tree files
  double table[576];  // not stored in tree files
  uint16_t word;      // not stored in tree files
  uint16_t setting4;
  uint32_t setting5;
  Str255 name;   // Pascal string of up to 255 characters
  Str255 name2;  // not stored in tree files
  double setting6;
};
