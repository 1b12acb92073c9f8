// Sound effects: fourteen modes that filter, echo, reverberate or distort a
// stereo stream of doubles. `filterinfos` holds what the user sets (and what
// a filter file keeps); `FXruntime` holds what a playing effect needs: the
// mode's run procedure, its coefficients and its delay memory.
//
// Threads. The main thread inits, kills, changes mode and adjusts; the
// audio thread calls the block entry points. Adjust never touches what the
// audio thread reads: it prepares a whole coefficient set and hands it over
// through a triple buffer (one atomic exchange, no lock); the run procedure
// takes the newest set at the start of its next block. A reset (clearing
// delay memory and filter state) is a request the run procedure honours at
// that same point. Init and kill must not run while a block runs. Nothing on
// the audio path allocates, locks or reads outside its rings.
//
// The memory belongs to one mode: the runtime records which. Kill frees by
// that mode, and adjust and the entry points act only when it is the
// settings' mode and the memory exists; otherwise the input passes dry.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "foundation/fileio.h"
#include "imaging/quartz.h"
#include "sound/effects_primitives.h"

// The settings. The first 68 bytes (variant to p5) are what a filter file
// keeps of them with pan and level.
struct filterinfos
{
  uint8_t variant = 0;  // the designer type of some modes, the equaliser's band kind
  uint8_t active = 0;   // 1 once the mode's memory exists
  int16_t mode = 0;     // 0 none; 1 to 14
  int32_t time1 = 0;    // ms
  int32_t time2 = 0;    // ms
  double p1 = 0, p2 = 0, p3 = 0, p4 = 0, p5 = 0;
  double pan = 0.5;  // 0 left to 1 right
  double level = 1.0;
};

inline constexpr int16_t kFXmodeCount = 14;
// Output kinds of a run procedure: add into double outputs with the pan and
// level weights; add into float outputs weighted by level; store into
// double outputs weighted by level.
inline constexpr int16_t kFXaddDouble = 0, kFXaddFloat = 1, kFXstoreDouble = 2;

struct FXruntime;
// outL and outR are double arrays for kinds 0 and 2, float arrays for kind 1.
using FXrunProc = void (*)(const filterinfos* settings, FXruntime* rt, const double* inL,
                           const double* inR, void* outL, void* outR, int16_t kind, int32_t count);

inline constexpr int kFXfilters = 8;
inline constexpr int kFXlengths = 14;
inline constexpr int kFXkernelTaps = 16;

// One coefficient set: everything adjust derives from the settings.
struct FXcoefs
{
  double pan = 0.5, level = 0;  // the channel weights, taken at adjust
  double value[4] = {};         // the mode's working copies of p1..p4 or values derived from them
  double rate = 0;              // chorus or LFO angular rate
  double sweep[4] = {};         // swept modes: mix, frequency, resonance, period (or type)
  int32_t length[kFXlengths] = {};  // delay and stage lengths in samples
  int16_t bandValue[8] = {};        // the 16-bit values of modes 13 and 14
  filtersecondorder filter[kFXfilters];
  double kernel[2][kFXkernelTaps] = {};
  uint8_t variant = 0;
};

// One memory area of a mode: a zero-filled array of doubles.
struct FXarea
{
  std::unique_ptr<double[]> data;
  int32_t size = 0;
};

struct FXruntime
{
  FXrunProc run = nullptr;
  uint32_t position = 0;    // the current block's first sample in the stream
  int16_t memoryMode = 0;   // the mode the memory and run procedure belong to
  uint8_t memoryReady = 0;  // 1 when every allocation of that mode succeeded
  FXarea area[2];
  FXarea curve;  // mode 13's shaping curve (never cleared by a reset)

  // Main thread: the set the last adjust made (what the next block takes).
  FXcoefs prepared;

  // Audio thread: the set in use, the live filters (coefficients of the set,
  // state of the stream) and the smoothing states.
  const FXcoefs* current = nullptr;
  filtersecondorder live[kFXfilters];
  double state[2] = {};

  // The hand-over: three slots; the writer owns one, the reader one, and
  // `shared` (slot | fresh bit) the third.
  FXcoefs slot[3];
  uint8_t writeSlot = 0;
  uint8_t readSlot = 1;
  std::atomic<uint8_t> shared{2};
  std::atomic<uint8_t> resetRequest{0};
};

// --- Lifecycle (main thread) -------------------------------------------------

void SoundEffects_FilterInit(filterinfos* settings, FXruntime* rt);
void SoundEffects_FilterKill(filterinfos* settings, FXruntime* rt);
void SoundEffects_SetFilterDefault(filterinfos* settings);
void SoundEffects_FilterAdjust(filterinfos* settings, FXruntime* rt, bool reset);
// Kill, store the mode, init, defaults, adjust with reset.
void SoundEffects_FilterModeChanged(filterinfos* settings, FXruntime* rt, int16_t mode);

// --- Blocks (audio thread) -----------------------------------------------------

// Runs the effect (kind 0) or adds the dry signal weighted by pan and level.
void SoundEffects_addsamplesfilterfloat(const filterinfos* settings, FXruntime* rt,
                                        uint32_t position, const double* inL, const double* inR,
                                        double* outL, double* outR, int32_t count);
// Runs the effect (kind 1) or adds the inputs unchanged into float outputs.
void SoundEffects_CAfilterfloat(const filterinfos* settings, FXruntime* rt, uint32_t position,
                                const double* inL, const double* inR, float* outL, float* outR,
                                int32_t count);

// --- Previews (main thread) -----------------------------------------------------

// Fills the rectangle with grey 34/255.
void SoundEffects_SOfilter_preview(CGContextRef ctx, QZRect rect);
// Mode 7 only: the impulse response of the settings, column c the largest
// magnitude among its samples, into `count` columns of `samplesPerColumn`;
// returns the columns written (0 for other modes or on failure).
int32_t SoundEffects_filter_impulsepreview(const filterinfos* settings, double* columns,
                                           int32_t count, int32_t samplesPerColumn);

// --- Filter files ('wfle', creator 'QjMs', extension "tef") ----------------------

inline constexpr OSType kFilterFileType = fourcc("wfle");
inline constexpr OSType kFilterFileCreator = fourcc("QjMs");
inline constexpr int32_t kFilterFileSize = 136;
inline constexpr int32_t kFilterFileVersion = 5;
inline constexpr int16_t kFilterNamesList = 500;

// The 136 file bytes of the settings, and back (false when fewer than 136
// bytes are given; the settings then stay as they were). The stored active
// byte is not taken: the runtime's memory decides what is active.
void FilterFileBytes(const filterinfos& settings, unsigned char out[kFilterFileSize]);
bool FilterFromBytes(filterinfos* settings, const unsigned char* bytes, int64_t size);
OSErr WriteTFilter(const filterinfos* settings, int16_t fork);
// A file under 136 bytes gives eofErr and changes nothing.
OSErr ReadTFilter(filterinfos* settings, int16_t fork);
// Save and open dialogs: 1 when a file was written or read, 0 otherwise.
int16_t SFwrite_filter(const filterinfos* settings, frefinfos* record);
int16_t SFread_filter(filterinfos* settings, frefinfos* record);

// The 16-bit value k (0..7) held in the bytes of p4 and p5 (value k in bytes
// 2k and 2k + 1 of the two doubles' little-endian storage, low byte first).
int16_t FXbandValue(const filterinfos& settings, int k);
void FXsetBandValue(filterinfos* settings, int k, int16_t value);
