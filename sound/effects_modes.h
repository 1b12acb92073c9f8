// The fourteen effect modes: each has a run procedure, and a manage function
// taking (operation, settings, runtime, reset): 0 allocates the mode's
// zero-filled memory, sets active when every allocation succeeded and sets
// the run procedure; 1 frees it; 2 writes the mode's defaults; 3 derives a
// coefficient set from the settings (only while the memory exists) and hands
// it to the run procedure, with the reset flag also asking it to clear the
// delay memory and filter state.
//
// Every run procedure finishes a sample as ((wet - dry) x mix + dry) x the
// channel weight of its output kind unless its mode says otherwise, and
// passes the input with the channel weights while its memory is missing.
#pragma once

#include "sound/effects.h"

inline constexpr int16_t kFXallocate = 0, kFXfree = 1, kFXdefaults = 2, kFXadjust = 3;

using FXmanageProc = void (*)(int16_t operation, filterinfos* settings, FXruntime* rt, bool reset);

// Modes 1 and 2 (high-pass, low-pass; feedback subtracted) and 3 (resonator).
void sofilter_run(const filterinfos*, FXruntime*, const double*, const double*, void*, void*,
                  int16_t, int32_t);
void resofilter_run(const filterinfos*, FXruntime*, const double*, const double*, void*, void*,
                    int16_t, int32_t);

#define KV_FX_MODE(name)                                                                      \
  void name##_manage(int16_t operation, filterinfos* settings, FXruntime* rt, bool reset);    \
  void name##_run(const filterinfos*, FXruntime*, const double*, const double*, void*, void*, \
                  int16_t, int32_t)

KV_FX_MODE(chorus);         // 4
KV_FX_MODE(ResonantSweep);  // 5
KV_FX_MODE(echo);           // 6
KV_FX_MODE(earlyref);       // 7
KV_FX_MODE(distortion);     // 8
KV_FX_MODE(resofeedback);   // 9
KV_FX_MODE(pingpong);       // 10
KV_FX_MODE(reverb);         // 11
KV_FX_MODE(futur);          // 12
KV_FX_MODE(WSdisto);        // 13
KV_FX_MODE(paramEQ8);       // 14
#undef KV_FX_MODE

// The manage function of a mode (1 to 14; the filter modes 1 to 3 share one
// that has no memory); null for other modes.
FXmanageProc FXmanageFor(int16_t mode);
