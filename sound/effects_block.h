// One block of a run procedure: what every mode's run does before and around
// its sample loop. Private to the mode files (sound/effects_*.cpp); it runs on
// the audio thread, so nothing here allocates or locks, and the loop is a
// header template that inlines the mode's per-sample work as the hand-written
// loops did.
#pragma once

#include <cstdint>
#include <cstring>

#include "sound/effects_internal.h"

struct FXblock
{
  FXruntime* rt;
  const double* inL;
  const double* inR;
  int32_t count;
  // Taken at the block's start: true when a new set or a reset came in, so
  // that a mode installs its kernels again.
  bool changed;
  const FXcoefs& c;  // the set in use
  FXout out;
  double* left;   // memory area 0 (null while the mode has none)
  double* right;  // memory area 1

  // Starts the block: takes the newest coefficient set and makes its writer.
  FXblock(FXruntime* runtime, const double* inLeft, const double* inRight, void* outL, void* outR,
          int16_t kind, int32_t samples)
      : rt(runtime),
        inL(inLeft),
        inR(inRight),
        count(samples),
        changed(FXbeginBlock(runtime)),
        c(*runtime->current),
        out(c, outL, outR, kind),
        left(runtime->area[0].data.get()),
        right(runtime->area[1].data.get())
  {}

  // When `dry` holds (no memory, or a set the mode cannot run), passes the
  // input with the channel weights and says so: the run then returns.
  bool passDryIf(bool dry) const
  {
    if (dry)
      FXpassDry(out, inL, inR, count);
    return dry;
  }

  // Copies the set's kernels of `taps` taps behind the `taps`-slot ring at
  // `offset` in both channels' areas.
  void installKernels(int32_t offset, int32_t taps) const
  {
    std::memcpy(left + offset + taps, c.kernel[0], size_t(taps) * sizeof(double));
    std::memcpy(right + offset + taps, c.kernel[1], size_t(taps) * sizeof(double));
  }

  // The start of the modes that convolve through a kernel ring at `offset`
  // (0 when adjust could not lay the ring out): false, after passing dry,
  // without memory or ring; else true, with the kernels installed again
  // when the set changed.
  bool kernelRingReady(int32_t offset, int32_t taps) const
  {
    if (passDryIf(!rt->memoryReady || offset <= 0))
      return false;
    if (changed)
      installKernels(offset, taps);
    return true;
  }

  // The sample loop of the modes that mix wet and dry: wet(n, l, r) turns
  // the input pair at stream position n into the wet pair in place; each
  // output is then ((wet - dry) x mix + dry) with the channel weights.
  // (The block's fields are copied to locals first: the writer's call would
  // otherwise make the compiler load them again at every sample.)
  template <class WetPair>
  void mixSamples(double mix, WetPair&& wet) const
  {
    const double* dryL = inL;
    const double* dryR = inR;
    const int64_t first = int64_t(rt->position);
    const int32_t samples = count;
    for (int32_t i = 0; i < samples; ++i) {
      double l = dryL[i], r = dryR[i];
      wet(first + i, l, r);
      out.put(i, FXmix(l, dryL[i], mix), FXmix(r, dryR[i], mix));
    }
  }
};

// Copies a designed kernel (the `taps` coefficients that follow the design's
// ring in `designed`) into the kernels of both channels.
inline void FXsetKernels(FXcoefs& c, const double* designed, int32_t taps)
{
  std::memcpy(c.kernel[0], designed + taps, size_t(taps) * sizeof(double));
  std::memcpy(c.kernel[1], c.kernel[0], sizeof c.kernel[1]);
}

// Both channels' kernels: `taps` Gaussian taps of steepness s summing to 1.
inline void FXgaussKernels(FXcoefs& c, int32_t taps, double s)
{
  double designed[2 * kFXkernelTaps];
  rotfilter_setup(designed, taps, s, 1.0);
  FXsetKernels(c, designed, taps);
}
