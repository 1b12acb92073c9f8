// The room modes: early reflections (7) and the reverb (11).
#include <cmath>

#include "sound/effects_block.h"

namespace {

// --- Mode 7: early reflections ---------------------------------------------
// Two areas of 800 ms. Each channel runs four allpass stages in series (the
// first four stage lengths on the left, the last four on the right), each
// stage's two rings laid out after the previous stage's. The chain's output
// is the wet signal as it is (allpass stages keep the level); only the input
// is scaled, by p4.

constexpr double kEarlyStagesMs[8] = {100, 68, 19.5, 5.85, 98, 67, 16.5, 7.85};

int32_t earlyrefArea(int)
{
  return FXmsToSamples(800);
}

// length k: stage k's ring; value: mix, gain g, input scale.
void adjustEarlyRef(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  double size = FXclamp(0.01 * s.p3, 0.5, 2.0);
  for (int ch = 0; ch < 2; ++ch) {
    int32_t room = rt.area[ch].size;
    for (int k = 0; k < 4; ++k) {
      if (room < 2) {  // an area too small for the stages: the mode stays dry
        c.length[0] = 0;
        return;
      }
      int32_t L = FXclampLength(FXmsToSamples(kEarlyStagesMs[4 * ch + k] * size), 1, room / 2);
      c.length[4 * ch + k] = L;
      room -= 2 * L;
    }
  }
  c.value[0] = FXfinite(s.p1);
  c.value[1] = 0.5 * FXfinite(s.p2);
  c.value[2] = FXfinite(s.p4);
}

double earlyChain(const FXcoefs& c, double* area, const int32_t* lengths, int64_t n, double x)
{
  double g = c.value[1], k = 1 - g * g;
  for (int s = 0; s < 4; ++s) {
    x = ALLPASSREVFILTER(n, area, lengths[s], x, g, k);
    area += 2 * lengths[s];
  }
  return x;
}

// --- Mode 11: reverb -----------------------------------------------------------
// Per channel area: five comb rings of the 150 ms work length (the combs of
// lengths 0, 2, 4, 6, 8 on the left, 1, 3, 5, 7, 9 on the right), the
// allpass region (100 ms), the pre-delay ring (50 ms), then the tone ring
// and its 9-tap kernel. The signal runs: pre-delay, the sum of the channel's
// five combs x 0.2, two allpass stages in series (5 ms and 1.7 ms x size),
// the tone stage; the wet signal is added to the dry input.

constexpr double kReverbCombsMs[10] = {97.7, 79.0, 37.0, 17.0, 97.1, 73.0, 41.0, 13.0, 29.0, 53.0};
constexpr double kReverbAllpassMs[2] = {5.0, 1.7};
constexpr int32_t kReverbCombs = 5;  // per channel
constexpr int32_t kToneTaps = 9;

struct ReverbLayout
{
  int32_t work, allpass, pre;
  int32_t allpassAt() const { return kReverbCombs * work; }
  int32_t preAt() const { return allpassAt() + allpass; }
  int32_t toneAt() const { return preAt() + pre; }
  int32_t total() const { return toneAt() + 2 * kToneTaps; }
};

ReverbLayout reverbLayout()
{
  return {FXmsToSamples(150) + 2, FXmsToSamples(100), FXmsToSamples(50) + 1};
}

int32_t reverbArea(int)
{
  return reverbLayout().total();
}

// length 0..9: comb delays; 10, 11: allpass stages; 12: pre-delay ring;
// value: mix, decay, comb gain, comb blend; sweep: allpass gain and factor.
void adjustReverb(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  ReverbLayout lay = reverbLayout();
  if (rt.area[0].size < lay.total())
    return;
  double decay = FXfinite(s.p2);
  double damping = FXclamp(s.p4, 0.05, 1.0);
  double size = FXclamp(0.01 * s.p3, 0.1, 1.5);
  for (int k = 0; k < 10; ++k)
    c.length[k] = FXclampLength(FXmsToSamples(kReverbCombsMs[k] * size), 1, lay.work - 2);
  for (int k = 0; k < 2; ++k)
    c.length[10 + k] = FXclampLength(FXmsToSamples(kReverbAllpassMs[k] * size), 1, lay.allpass / 4);
  double preMs = std::fmin(0.005 * FXfinite(s.p3) * 35 + 15, 50.0);
  c.length[12] = FXclampLength(FXmsToSamples(preMs), 1, lay.pre);
  c.value[0] = FXfinite(s.p1);
  c.value[1] = decay;
  c.value[2] = 0.5 + 0.45 * decay * (2 - decay);
  c.value[3] = 0.5 + 0.45 * damping;
  double g = 0.7 - 0.25 * decay;
  c.sweep[0] = g;
  c.sweep[1] = 1 - g * g;
  if (s.variant != 0) {
    SetupGSOfilter(&c.filter[0], s.variant, 1.0, 21 + 9979 * FXclamp(damping, 0.0, 1.0), 0.52);
  } else {
    FXgaussKernels(c, kToneTaps, damping);
  }
}

// Pre-delay, combs and allpass stages of one channel.
double reverbChannel(const FXcoefs& c, const ReverbLayout& lay, double* area, int ch, int64_t n,
                     double x)
{
  double in = ROT_DELAY(n, area + lay.preAt(), c.length[12], x);
  double sum = 0;
  for (int k = 0; k < kReverbCombs; ++k)
    sum += ROT_COMBFEEDBACKB(n, area + k * lay.work, lay.work, in, c.length[2 * k + ch], c.value[2],
                             c.value[3]);
  double y = 0.2 * sum;
  double* stage = area + lay.allpassAt();
  for (int k = 0; k < 2; ++k) {
    y = ALLPASSREVFILTER(n, stage, c.length[10 + k], y, c.sweep[0], c.sweep[1]);
    stage += 2 * c.length[10 + k];
  }
  return y;
}

}  // namespace

void earlyref_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                  void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (b.passDryIf(!rt->memoryReady || c.length[0] <= 0))
    return;
  b.mixSamples(c.value[0], [&](int64_t n, double& l, double& r) {
    l = earlyChain(c, b.left, c.length, n, l * c.value[2]);
    r = earlyChain(c, b.right, c.length + 4, n, r * c.value[2]);
  });
}

void reverb_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR, void* outL,
                void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  ReverbLayout lay = reverbLayout();
  if (b.passDryIf(!rt->memoryReady || c.length[12] <= 0 || rt->area[0].size < lay.total() ||
                  rt->area[1].size < lay.total()))
    return;
  if (b.changed)
    b.installKernels(lay.toneAt(), kToneTaps);
  bool toneFilter = c.variant != 0;
  double* left = b.left;
  double* right = b.right;
  // The wet signal is added to the dry input (not mixed with it).
  for (int32_t i = 0; i < count; ++i) {
    int64_t n = int64_t(rt->position) + i;
    double l = reverbChannel(c, lay, left, 0, n, inL[i]);
    double r = reverbChannel(c, lay, right, 1, n, inR[i]);
    if (toneFilter) {
      applySOfilter(&rt->live[0], &l, &r);
    } else {
      l = rotfilter_line(n, left + lay.toneAt(), kToneTaps, l);
      r = rotfilter_line(n, right + lay.toneAt(), kToneTaps, r);
    }
    b.out.put(i, l * c.value[0] + inL[i], r * c.value[0] + inR[i]);
  }
}

const FXmodeDesc kFXearlyRef{7, earlyrefArea, false, adjustEarlyRef, earlyref_run};
const FXmodeDesc kFXreverb{11, reverbArea, false, adjustReverb, reverb_run};
