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

// ---- Semitone labels, note tags and note-named sample lists ----------------

struct FileRef;
struct HarmonicKeys;

// Appends the name of note (int)(semitones + 48.5) with octave
// (int)(semitones + 0.5) / 12 - 2.
void AddSemitonesString(double semitones, StringPtr s);
// s = "Semitones " and the same note name.
void SetSemitonesString(double semitones, StringPtr s);
// 0 unless next is a digit or 'O'; then 1 for 'A'..'G', 2 for '#' or 'b'.
int16_t isnotetag(uint8_t c, uint8_t next);
// Drops a trailing tag: separator, letter and digit ("Bass C2"), or
// separator, letter, accidental and digit ("Bass_C#2").
void RemoveNotag(StringPtr name);
// The 1-based position in buf[1..len] of the last occurrence of
// pattern[1..plen]; -1 when absent.
int32_t Rfindinbuffer(const uint8_t* buf, uint32_t len, const uint8_t* pattern, int32_t plen);
// The first note 0..126 whose name occurs in name (scratch receives the
// names tried); -1 when none.
int16_t NameHasNote(ConstStringPtr name, StringPtr scratch);
// Replaces the last occurrence of oldNote's name by newNote's; false when
// the old name is absent or the result would pass 255 characters.
bool BuildSampleNotedName(StringPtr name, uint16_t oldNote, uint16_t newNote);
// dst = src with its first tag digit, separator (' ' or '_'), letter,
// optional '#' rewritten in place as ' ', upper-case letter, '#', digit.
void LogicREORDERNOTENAME(ConstStringPtr src, StringPtr dst);
// A name that begins with three digits: the rest of the name moved to the
// front and " NNN" (a leading 0 shown as a space) written over its last four
// characters, the name's length and extension kept. Others are copied.
void REORDERnumber(ConstStringPtr src, StringPtr dst);
// Fills list with the folder's files of the short audio type list; 0.
int32_t ReorderSoundFileList(const FileRef& folder, FileRef* list, int32_t max);
// The files of one sampled instrument around the chosen file, with the key of
// each in keys (may be null); the count.
int16_t BuildNotedSoundFileList(const FileRef& chosen, FileRef* list, uint8_t* keys, int32_t max);
// The same around a file the user chooses (short audio type list); 0 when
// cancelled.
int16_t BuildTargetSoundFileList(FileRef* list, uint8_t* keys, int32_t max);
// Fills the table's nearest-key array with a conversion from its scale to
// newKind's with the same root, for SmallSequencerRemap.
void BuildConversionTable(HarmonicKeys* table, int16_t newKind);
