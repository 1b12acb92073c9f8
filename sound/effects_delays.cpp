// The delay modes: chorus (4), echo (6), ping-pong (10) and futur (12).
#include <cmath>

#include "sound/effects_block.h"
#include "sound/rtaudio.h"

namespace {

constexpr double kTwoPi = 6.28318530717958647692;
constexpr int32_t kSmoothTaps = 11;  // echo and ping-pong smoothing ring and kernel

// --- Mode 4: chorus ---------------------------------------------------------
// One 4096-byte area: a 256-sample ring for the left channel, then one for
// the right.

constexpr int32_t kChorusRing = 256;

int32_t chorusArea(int area)
{
  return area == 0 ? 2 * kChorusRing : 0;
}

// value 0: mix; 1: depth in samples (held inside the ring); rate: angle a sample.
void adjustChorus(const filterinfos& s, const FXruntime&, FXcoefs& c)
{
  c.value[0] = 0.5 * FXfinite(s.p1);
  double period = 0.001 * gSAMPLERATE * FXfinite(s.p2);
  c.rate = period > 0 ? kTwoPi / period : 0.0;
  c.value[1] = FXclamp(0.001 * gSAMPLERATE * FXfinite(s.p3), -126.0, 126.0);
}

// --- Mode 6: echo -------------------------------------------------------------
// Per channel: the delay ring (room for 2000 ms), then the smoothing ring and
// its kernel.

int32_t echoRing()
{
  return FXmsToSamples(2000);
}

int32_t echoArea(int)
{
  return echoRing() + 2 * kSmoothTaps;
}

// value: mix, feedback, smoothing steepness (0 to 50), p4; the smoothing
// kernel of both channels from that steepness.
void echoValues(const filterinfos& s, FXcoefs& c)
{
  c.value[0] = FXfinite(s.p1);
  c.value[1] = FXfinite(s.p2);
  c.value[2] = FXclamp(s.p3, 0.0, 50.0);
  c.value[3] = FXfinite(s.p4);
  FXgaussKernels(c, kSmoothTaps, c.value[2]);
}

// length 0, 1: the delays (25 samples to 2000 ms); value: see echoValues.
void adjustEcho(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  int32_t hi = rt.area[0].size - 2 * kSmoothTaps;
  c.length[0] = FXclampLength(FXmsToSamples(s.time1), 25, hi);
  c.length[1] = FXclampLength(FXmsToSamples(s.time2), 25, hi);
  c.length[2] = hi;  // where the smoothing ring sits
  echoValues(s, c);
}

// --- Mode 10: ping-pong ----------------------------------------------------------
// Per channel: the long ring (2000 ms), its smoothing ring and kernel, then
// the pre-delay ring (1000 ms).

int32_t pingpongPreRing()
{
  return FXmsToSamples(1000) + 1;
}

int32_t pingpongArea(int)
{
  return echoRing() + 2 * kSmoothTaps + pingpongPreRing();
}

// length 0: pre-delay (25 to 1000 ms), 1: long delay (25 samples to 2000 ms),
// 2: smoothing offset, 3: pre-delay offset; value: see echoValues.
void adjustPingPong(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  int32_t pre = pingpongPreRing();
  int32_t longMax = rt.area[0].size - 2 * kSmoothTaps - pre;
  c.length[0] = FXclampLength(FXmsToSamples(s.time1), FXmsToSamples(25), pre - 1);
  c.length[1] = FXclampLength(FXmsToSamples(s.time2), 25, longMax);
  c.length[2] = longMax;
  c.length[3] = longMax + 2 * kSmoothTaps;
  echoValues(s, c);
}

// The long ring's oldest value enters the smoothing ring; the smoothed echo.
double smoothedEcho(int64_t n, double* area, int32_t L, int32_t offset)
{
  double* kring = area + offset;
  kring[ringslot(n, kSmoothTaps)] = area[ringslot(n + 1, L)];
  double sum = 0;
  for (int32_t j = 0; j < kSmoothTaps; ++j)
    sum += kring[ringslot(n + 1 + j, kSmoothTaps)] * kring[kSmoothTaps + j];
  return sum;
}

// --- Mode 12: futur ------------------------------------------------------------------
// Per channel: the allpass rings (2 x 150 ms), the comb ring (500 ms), then
// the 16-slot ring and its 16-tap kernel (256 bytes).

constexpr int32_t kFuturTaps = 16;

int32_t futurAllpassMax()
{
  return FXmsToSamples(150);
}

int32_t futurCombRing()
{
  return FXmsToSamples(500) + 2;
}

int32_t futurArea(int)
{
  return 2 * futurAllpassMax() + futurCombRing() + 2 * kFuturTaps;
}

// length 0, 1: the allpass delays (delay2 = 0.9 delay1), 2: the comb delay,
// 3: comb offset, 4: kernel ring offset, 5: comb ring length; value: p1..p4.
void adjustFutur(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  int32_t apMax = futurAllpassMax();
  int32_t comb = futurCombRing();
  if (rt.area[0].size < 2 * apMax + comb + 2 * kFuturTaps)
    return;
  c.length[0] = FXclampLength(FXmsToSamples(s.time1), 1, apMax);
  c.length[1] = FXclampLength(int32_t(0.9 * c.length[0]), 1, apMax);
  c.length[2] = FXclampLength(FXmsToSamples(s.time2), 1, comb - 2);
  c.length[3] = 2 * apMax;
  c.length[4] = 2 * apMax + comb;
  c.length[5] = comb;
  c.value[0] = FXfinite(s.p1);
  c.value[1] = FXfinite(s.p2);
  c.value[2] = FXfinite(s.p3);
  c.value[3] = FXfinite(s.p4);
  double taps[2 * kFXkernelTaps];
  rotfilter_sine(taps, kFuturTaps, 1, 1.0);
  FXsetKernels(c, taps, kFuturTaps);
}

double softClip(double a)
{
  if (a > 1)
    return 1;
  if (a < -1)
    return -1;
  return a * (2 - std::fabs(a));
}

// One channel of futur: kernel, clip, allpass, and the comb when p3 is set.
double futurChannel(const FXcoefs& c, double* area, int64_t n, int32_t delay, double x)
{
  double a = softClip(rotfilter_line(n, area + c.length[4], kFuturTaps, x) * c.value[3]);
  double g = c.value[1];
  double y = ALLPASSREVFILTER(n, area, delay, a, g, 1 - 0.0625 * g);
  if (c.value[2] != 0) {
    double v = ROT_COMBFEEDBACKB(n, area + c.length[3], c.length[5], a, c.length[2],
                                 0.799 * c.value[2] + 0.2, 0.5);
    y += c.value[2] * v;
  }
  return y;
}

}  // namespace

void chorus_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR, void* outL,
                void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  if (b.passDryIf(!rt->memoryReady || rt->area[0].size < 2 * kChorusRing))
    return;
  const FXcoefs& c = b.c;
  double* left = b.left;
  double* right = left + kChorusRing;
  b.mixSamples(c.value[0], [&](int64_t t, double& l, double& r) {
    int32_t slot = ringslot(t, kChorusRing);
    left[slot] = l;
    right[slot] = r;
    double p = double(t) + 128 + c.value[1] * std::sin(c.rate * double(t)) + 2 * kChorusRing;
    l = ringread(left, kChorusRing, p);
    r = ringread(right, kChorusRing, p);
  });
}

void echo_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR, void* outL,
              void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (!b.kernelRingReady(c.length[2], kSmoothTaps))
    return;
  double fb = c.value[1], gin = 1 - 0.25 * fb;
  b.mixSamples(c.value[0], [&](int64_t n, double& l, double& r) {
    l = ROT_ECHO(n, b.left, c.length[0], c.length[2], kSmoothTaps, l, gin, fb);
    r = ROT_ECHO(n, b.right, c.length[1], c.length[2], kSmoothTaps, r, gin, fb);
  });
}

void pingpong_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                  void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (!b.kernelRingReady(c.length[2], kSmoothTaps))
    return;
  // The inputs are weighted by pan first; the output then by the pan scale.
  double pan = FXfinitePan(c.pan);
  double inWeightL = kind == kFXaddDouble ? 1 - pan : 1.0;
  double inWeightR = kind == kFXaddDouble ? pan : 1.0;
  FXout scaled = b.out;
  if (kind == kFXaddDouble)
    scaled.wl = scaled.wr = FXpanScale(pan, c.level);
  double fb = c.value[1], gin = 1 - 0.25 * fb;
  double* left = b.left;
  double* right = b.right;
  for (int32_t i = 0; i < count; ++i) {
    int64_t n = int64_t(rt->position) + i;
    double xl = inL[i] * inWeightL, xr = inR[i] * inWeightR;
    double pl = ROT_DELAY(n, left + c.length[3], c.length[0], xl);
    double pr = ROT_DELAY(n, right + c.length[3], c.length[0], xr);
    double echoL = smoothedEcho(n, left, c.length[1], c.length[2]);
    double echoR = smoothedEcho(n, right, c.length[1], c.length[2]);
    double resultL = gin * pl + fb * echoR;
    double resultR = gin * pr + fb * echoL;
    left[ringslot(n, c.length[1])] = resultL;
    right[ringslot(n, c.length[1])] = resultR;
    scaled.put(i, FXmix(resultL, xl, c.value[0]), FXmix(resultR, xr, c.value[0]));
  }
}

void futur_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR, void* outL,
               void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (!b.kernelRingReady(c.length[4], kFuturTaps))
    return;
  b.mixSamples(c.value[0], [&](int64_t n, double& l, double& r) {
    l = futurChannel(c, b.left, n, c.length[0], l);
    r = futurChannel(c, b.right, n, c.length[1], r);
  });
}

const FXmodeDesc kFXchorus{4, chorusArea, false, adjustChorus, chorus_run};
const FXmodeDesc kFXecho{6, echoArea, false, adjustEcho, echo_run};
const FXmodeDesc kFXpingPong{10, pingpongArea, false, adjustPingPong, pingpong_run};
const FXmodeDesc kFXfutur{12, futurArea, false, adjustFutur, futur_run};
