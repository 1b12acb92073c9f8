// What the effect modes share: each mode's description (memory, adjust and
// run), the coefficient hand-over, the output writer and time conversions.
// Private to sound/effects*.cpp.
#pragma once

#include <cstdint>

#include "sound/effects.h"
#include "sound/effects_modes.h"

// A mode as the generic manage function sees it.
struct FXmodeDesc
{
  int16_t mode;
  // Doubles of memory area 0 and 1 at the current rate (0: no area).
  int32_t (*areaDoubles)(int area);
  bool curve;  // mode 13's shaping curve
  // Fills a coefficient set from the settings; the runtime's areas are
  // allocated (their sizes bound the ring lengths).
  void (*adjust)(const filterinfos& s, const FXruntime& rt, FXcoefs& c);
  FXrunProc run;
};

// The modes' descriptions (constants, defined beside each mode's code).
extern const FXmodeDesc kFXhighPass, kFXlowPass, kFXresonator;                   // 1, 2, 3
extern const FXmodeDesc kFXchorus, kFXsweep, kFXecho, kFXearlyRef;               // 4 to 7
extern const FXmodeDesc kFXdistortion, kFXresoFeedback, kFXpingPong, kFXreverb;  // 8 to 11
extern const FXmodeDesc kFXfutur, kFXwsDisto, kFXparamEQ8;                       // 12 to 14

// The generic manage function over a description.
void FXmanage(const FXmodeDesc& desc, int16_t operation, filterinfos* s, FXruntime* rt, bool reset);
// The defaults of a mode (1 to 14) into the settings.
void FXwriteDefaults(filterinfos* s, int16_t mode);

// --- Hand-over --------------------------------------------------------------

// Main thread: publishes rt->prepared; with reset, asks the next block to
// clear the memory and filter state.
void FXpublish(FXruntime* rt, bool reset);
// Main thread, no block running: forgets every set and request.
void FXresetHandover(FXruntime* rt);
// Audio thread, at a block's start: takes the newest set (its filter
// coefficients go into the live filters) and honours a reset. True when
// anything changed, so that a mode can install its kernels again.
bool FXbeginBlock(FXruntime* rt);

// --- Output ---------------------------------------------------------------

// Writes a block's samples with the weights of an output kind.
struct FXout
{
  void* left;
  void* right;
  int16_t kind;
  double wl, wr;

  // Weights from the set's pan and level: kind 0 (1 - pan) k and pan k with
  // k = level / sqrt((1 - pan)^2 + pan^2); kinds 1 and 2 level on both.
  FXout(const FXcoefs& c, void* outL, void* outR, int16_t outKind);
  void put(int32_t i, double l, double r) const;
};

// k = level / sqrt((1 - pan)^2 + pan^2); a pan or level that is not a
// number is taken as 0.5 or 0.
double FXpanScale(double pan, double level);
double FXfinitePan(double pan);
double FXfiniteLevel(double level);

// The input passed with the channel weights.
void FXpassDry(const FXout& out, const double* inL, const double* inR, int32_t count);
// ((wet - dry) x mix + dry)
inline double FXmix(double wet, double dry, double mix)
{
  return (wet - dry) * mix + dry;
}

// --- Times and values --------------------------------------------------------

// trunc(ms x 0.001 x rate), saturated; 0 for NaN.
int32_t FXmsToSamples(double ms);
int32_t FXclampLength(int32_t v, int32_t lo, int32_t hi);
// x when finite, else the fallback.
double FXfinite(double x, double fallback = 0);
double FXclamp(double x, double lo, double hi);
// length 0, 1: the delays of both channels from time1 and time2 (ms), held
// inside area 0's ring (1 to its size - 2 samples).
void FXringDelays(const filterinfos& s, const FXruntime& rt, FXcoefs& c);
// Zero-fills an area.
void FXclearArea(FXarea& a);
