// A small step sequencer: one sequence of up to 256 notes on a grid of 240
// ticks a beat, with a musical scale (a root and a set of degrees) that the
// editing commands follow through the sequence's harmonic-key table.
//
// Sequence files ('smas', creator 'QjMs') hold 3184 big-endian bytes; custom
// scale files ('csca') hold 26. Main thread only.
#pragma once

#include <cstdint>

#include "foundation/fileio.h"
#include "foundation/types.h"
#include "imaging/quartz.h"

inline constexpr int32_t kSeqMaxNotes = 256;
inline constexpr int32_t kSeqTicksPerBeat = 240;
inline constexpr int32_t kSeqFileSize = 3184;
inline constexpr int32_t kSeqNotesAt = 112;
inline constexpr int32_t kSeqNoteSize = 12;
inline constexpr int32_t kCustomScaleFileSize = 26;
inline constexpr OSType kSeqFileType = 0x736d6173;      // 'smas'
inline constexpr OSType kSeqCreator = 0x516a4d73;       // 'QjMs'
inline constexpr OSType kCustomScaleType = 0x63736361;  // 'csca'
inline constexpr uint16_t kScaleCustom = 10;
inline constexpr uint16_t kScaleChromatic = 11;
inline constexpr uint8_t kNotInScale = 255;

struct SeqNote
{
  uint32_t start = 0;  // ticks
  uint32_t end = 0;    // ticks
  uint8_t key = 60;    // 0..127, 60 = middle C
  uint8_t velocity = 92;
  uint8_t selected = 0;
  uint8_t flag = 0;
};
static_assert(sizeof(SeqNote) == kSeqNoteSize);

// The harmonic-key table: a scale and, for every key, the nearest key in it.
struct HarmonicKeys
{
  uint8_t kind = 0;
  uint8_t root = 0;
  uint8_t count = 7;
  uint8_t degrees[12] = {};          // semitones above the root, ascending
  uint8_t map[12] = {};              // a semitone's degree index, or kNotInScale
  uint8_t* customDegrees = nullptr;  // the sequencer's custom degrees
  uint8_t nearest[128] = {};
};

struct SmallSequencer
{
  uint16_t kind = 0;
  uint16_t root = 0;
  int16_t measures = 4;
  int32_t noteCount = 0;
  double tempo = 120.0;
  int16_t beats = 4;
  uint8_t options[70] = {};
  uint16_t option1 = 0;
  uint16_t option2 = 0;  // not stored in the file
  uint16_t option3 = 1;
  uint16_t customCount = 12;
  uint8_t customDegrees[12] = {};
  SeqNote notes[kSeqMaxNotes];
  HarmonicKeys* keys = nullptr;
  frefinfos file;
};

// The grid step in ticks of a grid menu index.
int16_t SetStdGridTicks(int16_t index);

// Defaults, preset 1, the key table built for kind 0 root 0 and linked, the
// file reference "Untitled" in folder (state 1).
void CreateSmallSequencer(SmallSequencer* seq, HarmonicKeys* table, const FileRef* folder);
// Presets 0..4; other numbers change nothing.
void SmallSequencerPreset(SmallSequencer* seq, int16_t preset);

// ---- Scales ---------------------------------------------------------------

// degrees and count of a built-in kind (kind 10, custom, leaves both).
void DefineHScale(uint8_t* degrees, uint8_t* count, int16_t kind);
void SetHarmonicScales(HarmonicKeys* table, int16_t kind, uint8_t root);
int16_t NearestKeyInScale(const HarmonicKeys* table, uint16_t key);
void BuildNearestMapTable(HarmonicKeys* table);
// The nearest-key entry of the key held to 0..127; no table: the key.
int16_t FilterRealKey(const HarmonicKeys* table, int16_t key);
// The degree index of a key; chromatic or no table: the key.
int32_t GetHarmonicKey(const HarmonicKeys* table, uint16_t key);
// The key of a degree index; an index below 0 gives the degree of
// count + index in octave 0.
int32_t GetRealKey(const HarmonicKeys* table, int32_t index);
int16_t GetHbaseIndex(const HarmonicKeys* table, uint16_t key);
int16_t GetHarmonicIndex(const HarmonicKeys* table, uint16_t key, uint16_t* octave);
int32_t HKeyTranspose(const HarmonicKeys* table, uint16_t key, int32_t steps);
int32_t HKeyInvert(const HarmonicKeys* table, uint16_t key, uint16_t axis);
// The 12-bit pitch-class set of the degrees shifted by shift semitones.
uint32_t HMtoBits(const uint8_t* degrees, int16_t count, int16_t shift);

// ---- Notes ----------------------------------------------------------------

// Ascending by start tick (selection sort from the end, later note wins ties).
void SmallSequencerOrdernotes(SmallSequencer* seq);
int16_t SmallSequencerHasSel(const SmallSequencer* seq);
int16_t SmallSequencerLastSel(const SmallSequencer* seq, int16_t from);
// Lowest key and highest key + 1; 128 and 1 when empty.
void SmallSequencerFindRange(const SmallSequencer* seq, uint16_t* low, uint16_t* high);
// Every key replaced by the key table's nearest key.
void SmallSequencerRemap(SmallSequencer* seq);
// Appends src's selected notes to dst (dst deselected first), moving them to
// tick at when at >= 0; dst is sorted.
void SmallSequencerCopy(const SmallSequencer* src, SmallSequencer* dst, int32_t at);

// ---- Editing ----------------------------------------------------------------

// Applies one editing command ('sall', 'dall', 'clea', 'rept', 'dura',
// 'offs', 'quan', 'fast', 'slow', 'tsca', 'tinv', 'tran', 'pinv', 'scam',
// 'chor', 'velA', 'velB', 'velC') to the selected notes, or to every note
// when none is selected. Keys and velocities stay within 0..127 and start
// ticks stop at 0. Allocates nothing.
void SmallSequencerCmd(SmallSequencer* seq, OSType command, int32_t value);

// ---- Files ----------------------------------------------------------------

void SmallSequencerToBytes(const SmallSequencer& seq, unsigned char out[kSeqFileSize]);
// False (the sequence untouched) for a short or damaged file.
bool SmallSequencerFromBytes(SmallSequencer* seq, const unsigned char* bytes, int64_t size);
bool SmallSequencer_Write(SmallSequencer* seq, frefinfos* record);
bool SmallSequencer_Read(SmallSequencer* seq, frefinfos* record);
bool SmallSequencer_ReadInfos(const frefinfos* record, uint16_t* option3, uint16_t* beats,
                              double* tempo);
// scale[0] is the degree count, scale[1..12] the degrees.
bool CustomScaleFromBytes(const unsigned char* bytes, int64_t size, uint16_t scale[13]);
void CustomScale_Write(const uint16_t scale[13], const FileRef* ref);
bool CustomScale_Read(const FileRef* ref, uint16_t scale[13]);

// ---- Drawing ----------------------------------------------------------------

// A line a note from its start to its end at y = height - key x height / 128,
// over the dark background when asked.
void SmallSequencer_qzDraw(CGContextRef ctx, const SmallSequencer* seq, uint32_t width,
                           uint32_t height, uint8_t withBackground);
// The same in a new image without antialiasing; null for a size of 0 or
// above 8192.
CGImageRef SmallSequencer_BuildRepresentation(const SmallSequencer* seq, uint32_t width,
                                              uint32_t height, uint8_t withBackground);
// The open dialog's preview: the chosen sequence in a framed 256 x 64 area.
int32_t mySEQPreviewHookProc(OSType type, FileRef* file, Point topLeft, Point bottomRight,
                             bool click);
