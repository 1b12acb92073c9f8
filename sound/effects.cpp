// The effect lifecycle (init, kill, defaults, adjust, mode change), the
// generic manage function over the modes' descriptions, the coefficient
// hand-over and the two block entry points.
#include "sound/effects.h"

#include <cmath>
#include <cstring>
#include <new>

#include "foundation/checked.h"
#include "foundation/curves.h"
#include "sound/effects_internal.h"
#include "sound/rtaudio.h"

namespace {

constexpr uint8_t kFresh = 4;  // a newly published set waits in the shared slot

// --- Defaults ------------------------------------------------------------

struct FXdefaults
{
  int32_t time1, time2;
  double p1, p2, p3, p4, p5;
};

// Modes 1 to 14 (modes 13 and 14 hold 16-bit values in p4 and p5, set below).
constexpr FXdefaults kDefaults[kFXmodeCount] = {
    {22050, 22050, 0.75, 5000.0, 0.3, 1.0, 0},       // 1 high-pass
    {22050, 22050, 0.9, 2000.0, 0.2, 0.6, 0},        // 2 low-pass
    {22050, 22050, 0.8, 2000.0, 0.2, 0.8, 0},        // 3 resonant filter
    {22050, 22050, 0.5, 350.0, 0.5, 0, 0},           // 4 chorus
    {22050, 22050, 0.8, 2000.0, 0.2, 0.8, 10000.0},  // 5 resonant sweep
    {200, 200, 0.6, 0.6, 0.5, 1.0, 0},               // 6 echo
    {22050, 22050, 0.4, 0.88, 140.0, 1.5, 0},        // 7 early reflections
    {100, 100, 0.8, 4000.0, 8.0, 0.5, 3200.0},       // 8 distortion
    {250, 250, 0.5, 9000.0, 0.8, 0.6, 0},            // 9 resonant feedback
    {200, 200, 0.6, 0.6, 0.5, 0.25, 0},              // 10 ping-pong
    {22050, 22050, 0.5, 0.65, 100.0, 0.5, 0},        // 11 reverb
    {40, 250, 0.6, 0.5, 0.4, 1.0, 0},                // 12 futur
    {248, 252, 0.8, 3.0, 0.2, 0.3, 0},               // 13 wave-shaping distortion
    {22050, 22050, 0.8, 110.0, 0.3333, 0, 0},        // 14 equaliser
};
constexpr int16_t kWSdistoValues[4] = {32, 128, 164, 92};  // values 4..7 (p5)
constexpr int16_t kEqualiserValue = 92;                    // values 0..7 (p4, p5)

// Modes 1 to 14.
const FXmodeDesc* const kModeDescs[kFXmodeCount] = {
    &kFXhighPass, &kFXlowPass,  &kFXresonator,  &kFXchorus,       &kFXsweep,
    &kFXecho,     &kFXearlyRef, &kFXdistortion, &kFXresoFeedback, &kFXpingPong,
    &kFXreverb,   &kFXfutur,    &kFXwsDisto,    &kFXparamEQ8};

const FXmodeDesc* descFor(int16_t mode)
{
  return mode >= 1 && mode <= kFXmodeCount ? kModeDescs[mode - 1] : nullptr;
}

bool allocateArea(FXarea& a, int32_t doubles)
{
  a.data.reset();
  a.size = 0;
  if (doubles <= 0)
    return true;
  a.data.reset(new (std::nothrow) double[size_t(doubles)]());
  if (!a.data)
    return false;
  a.size = doubles;
  return true;
}

void freeMemory(FXruntime* rt)
{
  for (FXarea& a : rt->area) {
    a.data.reset();
    a.size = 0;
  }
  rt->curve.data.reset();
  rt->curve.size = 0;
}

// The 2048-point shaping curve of mode 13 and its wrap entry.
constexpr int32_t kCurvePoints = 2048;

bool allocateCurve(FXruntime* rt)
{
  if (!allocateArea(rt->curve, kCurvePoints + 1))
    return false;
  dvector_Curve(rt->curve.data.get(), kCurvePoints, 13, 1.0);
  rt->curve.data[kCurvePoints] = rt->curve.data[0];
  return true;
}

bool allocateMemory(const FXmodeDesc& desc, FXruntime* rt)
{
  bool ok = true;
  for (int i = 0; i < 2; ++i)
    ok = allocateArea(rt->area[i], desc.areaDoubles ? desc.areaDoubles(i) : 0) && ok;
  if (desc.curve)
    ok = allocateCurve(rt) && ok;
  return ok;
}

bool memoryServes(const filterinfos& s, const FXruntime& rt)
{
  return rt.memoryMode != 0 && rt.memoryMode == s.mode && rt.memoryReady;
}

}  // namespace

// --- Manage ------------------------------------------------------------------

void FXwriteDefaults(filterinfos* s, int16_t mode)
{
  if (mode < 1 || mode > kFXmodeCount)
    return;
  const FXdefaults& d = kDefaults[mode - 1];
  s->variant = 0;
  s->time1 = d.time1;
  s->time2 = d.time2;
  s->p1 = d.p1;
  s->p2 = d.p2;
  s->p3 = d.p3;
  s->p4 = d.p4;
  s->p5 = d.p5;
  if (mode == 13) {
    for (int k = 0; k < 4; ++k)
      FXsetBandValue(s, 4 + k, kWSdistoValues[k]);
  } else if (mode == 14) {
    for (int k = 0; k < 8; ++k)
      FXsetBandValue(s, k, kEqualiserValue);
  }
}

void FXmanage(const FXmodeDesc& desc, int16_t operation, filterinfos* s, FXruntime* rt, bool reset)
{
  switch (operation) {
    case kFXallocate: {
      freeMemory(rt);
      FXresetHandover(rt);
      bool ok = allocateMemory(desc, rt);
      rt->memoryMode = desc.mode;
      rt->memoryReady = ok ? 1 : 0;
      s->active = rt->memoryReady;
      rt->run = desc.run;
      break;
    }
    case kFXfree:
      freeMemory(rt);
      rt->memoryReady = 0;
      rt->memoryMode = 0;
      s->active = 0;
      break;
    case kFXdefaults:
      FXwriteDefaults(s, desc.mode);
      break;
    case kFXadjust:
      // Only the mode that owns the memory is adjusted. When its memory is
      // missing, the set carries the channel weights alone: the run
      // procedure then passes the input with them.
      if (rt->memoryMode == 0 || rt->memoryMode != s->mode)
        return;
      rt->prepared = FXcoefs();
      rt->prepared.pan = s->pan;
      rt->prepared.level = s->level;
      rt->prepared.variant = s->variant;
      if (memoryServes(*s, *rt))
        desc.adjust(*s, *rt, rt->prepared);
      FXpublish(rt, reset);
      break;
    default:
      break;
  }
}

FXmanageProc FXmanageFor(int16_t mode)
{
  // The filter modes share one that picks the settings' own mode.
  static constexpr FXmanageProc filterManage = [](int16_t op, filterinfos* s, FXruntime* rt,
                                                  bool reset) {
    if (const FXmodeDesc* d = descFor(s->mode))
      FXmanage(*d, op, s, rt, reset);
  };
  static constexpr FXmanageProc kManage[kFXmodeCount] = {
      filterManage,  filterManage,    filterManage,      chorus_manage,       ResonantSweep_manage,
      echo_manage,   earlyref_manage, distortion_manage, resofeedback_manage, pingpong_manage,
      reverb_manage, futur_manage,    WSdisto_manage,    paramEQ8_manage};
  return mode >= 1 && mode <= kFXmodeCount ? kManage[mode - 1] : nullptr;
}

#define KV_FX_MANAGE(name, desc)                                                          \
  void name##_manage(int16_t operation, filterinfos* settings, FXruntime* rt, bool reset) \
  {                                                                                       \
    FXmanage(desc, operation, settings, rt, reset);                                       \
  }
KV_FX_MANAGE(chorus, kFXchorus)
KV_FX_MANAGE(ResonantSweep, kFXsweep)
KV_FX_MANAGE(echo, kFXecho)
KV_FX_MANAGE(earlyref, kFXearlyRef)
KV_FX_MANAGE(distortion, kFXdistortion)
KV_FX_MANAGE(resofeedback, kFXresoFeedback)
KV_FX_MANAGE(pingpong, kFXpingPong)
KV_FX_MANAGE(reverb, kFXreverb)
KV_FX_MANAGE(futur, kFXfutur)
KV_FX_MANAGE(WSdisto, kFXwsDisto)
KV_FX_MANAGE(paramEQ8, kFXparamEQ8)
#undef KV_FX_MANAGE

// --- Lifecycle -----------------------------------------------------------------

void SoundEffects_FilterInit(filterinfos* settings, FXruntime* rt)
{
  rt->run = nullptr;
  if (const FXmodeDesc* d = descFor(settings->mode))
    FXmanage(*d, kFXallocate, settings, rt, false);
}

void SoundEffects_FilterKill(filterinfos* settings, FXruntime* rt)
{
  settings->active = 0;
  // The memory is freed as the mode it belongs to, whatever the settings
  // say now.
  if (const FXmodeDesc* d = descFor(rt->memoryMode))
    FXmanage(*d, kFXfree, settings, rt, false);
  freeMemory(rt);
  rt->memoryMode = 0;
  rt->memoryReady = 0;
  rt->run = nullptr;
  FXresetHandover(rt);
}

void SoundEffects_SetFilterDefault(filterinfos* settings)
{
  settings->p4 = settings->p5 = 0;
  settings->variant = 0;
  settings->time1 = settings->time2 = 22050;
  if (settings->mode >= 1 && settings->mode <= kFXmodeCount) {
    FXwriteDefaults(settings, settings->mode);
  } else {
    settings->p1 = settings->p2 = settings->p3 = 0;
  }
}

void SoundEffects_FilterAdjust(filterinfos* settings, FXruntime* rt, bool reset)
{
  if (settings->mode == 0) {
    rt->run = nullptr;
    return;
  }
  if (const FXmodeDesc* d = descFor(settings->mode))
    FXmanage(*d, kFXadjust, settings, rt, reset);
}

void SoundEffects_FilterModeChanged(filterinfos* settings, FXruntime* rt, int16_t mode)
{
  SoundEffects_FilterKill(settings, rt);
  settings->mode = mode;
  SoundEffects_FilterInit(settings, rt);
  SoundEffects_SetFilterDefault(settings);
  SoundEffects_FilterAdjust(settings, rt, true);
}

// --- Hand-over -------------------------------------------------------------------

void FXresetHandover(FXruntime* rt)
{
  for (FXcoefs& c : rt->slot)
    c = FXcoefs();
  rt->prepared = FXcoefs();
  rt->writeSlot = 0;
  rt->readSlot = 1;
  rt->shared.store(2, std::memory_order_relaxed);
  rt->resetRequest.store(0, std::memory_order_relaxed);
  rt->current = &rt->slot[rt->readSlot];
  for (filtersecondorder& f : rt->live)
    f = filtersecondorder();
  rt->state[0] = rt->state[1] = 0;
}

void FXpublish(FXruntime* rt, bool reset)
{
  rt->slot[rt->writeSlot] = rt->prepared;
  uint8_t previous =
      rt->shared.exchange(uint8_t(rt->writeSlot | kFresh), std::memory_order_acq_rel);
  rt->writeSlot = previous & 3;
  if (reset)
    rt->resetRequest.store(1, std::memory_order_release);
}

bool FXbeginBlock(FXruntime* rt)
{
  bool changed = false;
  if (rt->shared.load(std::memory_order_acquire) & kFresh) {
    uint8_t previous = rt->shared.exchange(rt->readSlot, std::memory_order_acq_rel);
    rt->readSlot = previous & 3;
    changed = true;
  }
  rt->current = &rt->slot[rt->readSlot];
  if (changed) {
    for (int k = 0; k < kFXfilters; ++k)
      copyfiltercoefficients(&rt->live[k], rt->current->filter[k]);
  }
  if (rt->resetRequest.exchange(0, std::memory_order_acq_rel)) {
    for (filtersecondorder& f : rt->live)
      clearresonnantfilter(&f);
    rt->state[0] = rt->state[1] = 0;
    for (FXarea& a : rt->area)
      FXclearArea(a);
    changed = true;
  }
  return changed;
}

// --- Output and values ------------------------------------------------------------

double FXfinitePan(double pan)
{
  return std::isfinite(pan) ? pan : 0.5;
}

double FXfiniteLevel(double level)
{
  return std::isfinite(level) ? level : 0.0;
}

double FXpanScale(double pan, double level)
{
  pan = FXfinitePan(pan);
  double norm = std::sqrt((1 - pan) * (1 - pan) + pan * pan);
  return norm > 0 ? FXfiniteLevel(level) / norm : 0.0;
}

FXout::FXout(const FXcoefs& c, void* outL, void* outR, int16_t outKind)
    : left(outL), right(outR), kind(outKind)
{
  if (kind == kFXaddDouble) {
    double pan = FXfinitePan(c.pan);
    double k = FXpanScale(pan, c.level);
    wl = (1 - pan) * k;
    wr = pan * k;
  } else {
    wl = wr = FXfiniteLevel(c.level);
  }
}

void FXout::put(int32_t i, double l, double r) const
{
  switch (kind) {
    case kFXaddDouble:
      static_cast<double*>(left)[i] += l * wl;
      static_cast<double*>(right)[i] += r * wr;
      break;
    case kFXaddFloat:
      static_cast<float*>(left)[i] += float(l * wl);
      static_cast<float*>(right)[i] += float(r * wr);
      break;
    default:
      static_cast<double*>(left)[i] = l * wl;
      static_cast<double*>(right)[i] = r * wr;
      break;
  }
}

void FXpassDry(const FXout& out, const double* inL, const double* inR, int32_t count)
{
  for (int32_t i = 0; i < count; ++i)
    out.put(i, inL[i], inR[i]);
}

int32_t FXmsToSamples(double ms)
{
  return kvnum::sat_i32(ms * 0.001 * gSAMPLERATE);
}

int32_t FXclampLength(int32_t v, int32_t lo, int32_t hi)
{
  return v < lo ? lo : (v > hi ? hi : v);
}

void FXringDelays(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  int32_t hi = rt.area[0].size - 2;
  c.length[0] = FXclampLength(FXmsToSamples(s.time1), 1, hi);
  c.length[1] = FXclampLength(FXmsToSamples(s.time2), 1, hi);
}

double FXfinite(double x, double fallback)
{
  return std::isfinite(x) ? x : fallback;
}

double FXclamp(double x, double lo, double hi)
{
  if (!(x >= lo))
    return lo;
  return x > hi ? hi : x;
}

void FXclearArea(FXarea& a)
{
  if (a.data)
    std::memset(a.data.get(), 0, size_t(a.size) * sizeof(double));
}

int16_t FXbandValue(const filterinfos& settings, int k)
{
  if (k < 0 || k > 7)
    return 0;
  uint64_t bits;
  std::memcpy(&bits, k < 4 ? &settings.p4 : &settings.p5, sizeof bits);
  return int16_t(uint16_t(bits >> (16 * (k & 3))));
}

void FXsetBandValue(filterinfos* settings, int k, int16_t value)
{
  if (k < 0 || k > 7)
    return;
  double* field = k < 4 ? &settings->p4 : &settings->p5;
  uint64_t bits;
  std::memcpy(&bits, field, sizeof bits);
  int shift = 16 * (k & 3);
  bits = (bits & ~(uint64_t(0xFFFF) << shift)) | (uint64_t(uint16_t(value)) << shift);
  std::memcpy(field, &bits, sizeof bits);
}

// --- Blocks --------------------------------------------------------------------------

namespace {

bool effectRuns(const filterinfos* s, const FXruntime* rt)
{
  return rt->run && s->mode != 0 && rt->memoryMode == s->mode;
}

}  // namespace

void SoundEffects_addsamplesfilterfloat(const filterinfos* settings, FXruntime* rt,
                                        uint32_t position, const double* inL, const double* inR,
                                        double* outL, double* outR, int32_t count)
{
  if (effectRuns(settings, rt)) {
    rt->position = position;
    rt->run(settings, rt, inL, inR, outL, outR, kFXaddDouble, count);
    return;
  }
  double pan = FXfinitePan(settings->pan);
  double k = FXpanScale(pan, settings->level);
  for (int32_t i = 0; i < count; ++i) {
    outL[i] += (1 - pan) * k * inL[i];
    outR[i] += pan * k * inR[i];
  }
}

void SoundEffects_CAfilterfloat(const filterinfos* settings, FXruntime* rt, uint32_t position,
                                const double* inL, const double* inR, float* outL, float* outR,
                                int32_t count)
{
  if (effectRuns(settings, rt)) {
    rt->position = position;
    rt->run(settings, rt, inL, inR, outL, outR, kFXaddFloat, count);
    return;
  }
  for (int32_t i = 0; i < count; ++i) {
    outL[i] += float(inL[i]);
    outR[i] += float(inR[i]);
  }
}
