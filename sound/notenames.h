// Note names: note n (0..127) has pitch class n mod 12 and octave
// n / 12 - 2, so note 60 is C3, note 0 C-2 and note 69 A3. Pitch classes
// are named with sharps only.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// out = the pitch class's name followed by the octave number: (0, -2) "C-2".
void buildnotename(int16_t pitchClass, int16_t octave, StringPtr out);
// Appends the pitch class's name (a note number counts by its class) and,
// when octave <= 11, the octave number; s stays within 255 characters.
void ConcatNoteName(StringPtr s, uint16_t pitchClass, int16_t octave);
