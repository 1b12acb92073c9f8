// The world record: the world's document record followed by what all
// components and colour functions share (label buffer, default colours,
// palette library). The record only grows: the engine's application
// interface appends its fields at the end.
//
// The batch length: every compute function, colour function and evaluator
// processes KV_batchLength() samples, at most 16. It is per evaluating thread
// (render workers and the sound thread evaluate at the same time, each on its
// own document copy): the evaluator of a thread sets it with
// KV_setBatchLength() before it runs a batch. It is 16 on every thread until
// set. `KovrelinWorld::batchLength` is the nominal length (16) kept in the
// record; evaluation code never reads it.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"

struct cpalettelib;
struct KVrenderPrefs;
struct sSoundfunc;

// The tree sound's runtime: the copy of the document it evaluates on the
// ring task, how far the play has come, and the path time carried from one
// quarter of a fill to the next. Written only by the sound's fill procedure
// once a play is set up.
struct KVSoundruntime
{
  uint32_t length;         // samples to play
  uint32_t position;       // samples rendered so far
  float* crossfadeBuffer;  // the real-time record's crossfade area
  sfuncSystem* system;     // the runtime's own document copy
  sSoundfunc* settings;    // the document's sound settings (its base pitch)
  double gpathtime;        // path time at the end of the last block rendered
};

inline constexpr int kDefaultColorCount = 48;

struct KovrelinWorld
{
  sfuncSystem doc;            // the world's document; the only one with a sine table
  int32_t batchLength;        // nominal batch length, 16
  Str255 label;               // handlers copy display names and labels here
  int32_t defaultColorCount;  // 48
  normalcolor defaultColors[kDefaultColorCount];  // terrain gradient, opaque
  cpalettelib* paletteLib;  // the palette library, carved from the memory pool
  uint8_t alternateInput;   // with input mode 3, source codes 10 and 11 read x and y
  // Live values that master-input mode 1 offers as master inputs 5 to 8; the
  // sound side fills them, 0 until it does.
  double liveInputs[4];
  // Inputs of a tree read from a file: a missing input file is asked for only
  // when askForMissingInputs is set (0 at start-up: browsed trees never open
  // a dialog); slots the file leaves empty get the default picture when
  // defaultPictureForEmptySlots is set.
  uint8_t askForMissingInputs;
  uint8_t defaultPictureForEmptySlots;
  // Set to 1 when the document is rendered full screen (it then belongs to
  // a screen-sized render, not to a preview).
  uint8_t screenRender;
  // The rendering preferences; their output rectangle is the render size of
  // movie and picture inputs.
  KVrenderPrefs* renderPrefs;
  // Paths of the "Structures Presets" folder beside the program and of the
  // "Palettes" file in Resources/ (the record is plain bytes from the pool).
  char presetsFolder[1024];
  char palettesFile[1024];
  // The tree sound's runtime (its document copy comes from the pool when the
  // sound starts).
  KVSoundruntime soundRuntime;
};

extern KovrelinWorld* gKovrelinWorld;

// The 48 default colours: a terrain gradient from deep water through sand,
// greens, browns and greys to snow white.
extern const normalcolor kDefaultTerrainColors[kDefaultColorCount];

// Fills the world fields this module owns: batch length 16, an empty label,
// the default colour table. Leaves the document and the palette library alone.
void KV_initWorldRecord(KovrelinWorld* world);

// Copies the Pascal string `s` (length byte included) into the world's label
// buffer. Does nothing when there is no world yet.
void KV_setLabel(const unsigned char* s);

namespace kvdetail {
inline thread_local int32_t tBatchLength = kBatchCapacity;
}

// Samples in the current batch of this thread (0..16).
inline int32_t KV_batchLength()
{
  return kvdetail::tBatchLength;
}

// Sets this thread's batch length, clamped to 0..16.
inline void KV_setBatchLength(int32_t n)
{
  kvdetail::tBatchLength = n < 0 ? 0 : (n > kBatchCapacity ? kBatchCapacity : n);
}
