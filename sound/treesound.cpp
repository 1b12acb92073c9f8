#include "sound/treesound.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "document/animation.h"
#include "document/soundfunc.h"
#include "engine/treemanage.h"
#include "foundation/mempool.h"
#include "noise/tables.h"
#include "sound/bands.h"

double* gfsintable = nullptr;
double* gfcostable = nullptr;

namespace {

constexpr int kBatch = 16;
constexpr size_t kTableBlockSize = 64 * 1024;
// The sound-format marker (the document's master-input mode) of a document
// set up for sound, and how many master doubles it needs non-zero.
constexpr int16_t kSoundInputMode = 2;
constexpr int kSoundMasterDoubles = 5;
// Added to the animation's length in samples before it is rounded down to a
// whole number of 2048-frame fills.
constexpr uint64_t kLengthPadding = 2560;
constexpr uint64_t kFillMask = ~uint64_t(2047);
// ln(2) / 12: one semitone.
constexpr double kSemitoneLog = 0.05776226504666211;
constexpr double kHalfPi = std::numbers::pi / 2;

// Scale factors of the output families' rows.
constexpr double kDirect = 0.0975;
constexpr double kFourOutputs = 0.024375;
constexpr double kThreeOutputs = 0.04875;

enum class SoundRow
{
  lastTwo,     // V3, V4
  fourMixed,   // V1 - (V3 - V4), V2 - (V3 - V4)
  threeMixed,  // V1 - 0.75 V3, V2 - 0.75 V3
  firstTwo,    // V1, V2
  mono,        // V1
};

SoundRow soundRow(uint16_t kind)
{
  switch (kind) {
    case 13:
    case 14:
      return SoundRow::lastTwo;
    case 10:
    case 11:
    case 12:
    case 18:
      return SoundRow::fourMixed;
    case 7:
    case 8:
    case 9:
    case 17:
      return SoundRow::threeMixed;
    case 3:
    case 5:
    case 6:
    case 16:
      return SoundRow::firstTwo;
    default:
      return SoundRow::mono;
  }
}

float clipSample(double v)
{
  if (v < -1.0)
    return -1.0f;
  if (v > 1.0)
    return 1.0f;
  return float(v);
}

// The base frequency of the settings' pitch: 110 x 2^(pitch / 12) Hz.
double baseFrequency(const sSoundfunc* settings)
{
  const double pitch = settings ? settings->transposition : 12;
  return std::exp(pitch * kSemitoneLog) * 220 * 0.5;
}

void setAnimationFrame(sfuncSystem* system, double frame)
{
  const int16_t mode = system->animation.mode;
  Anim_SetTime_fromframe(system, mode, frame);
  Anim_Paramlists(system, mode, 1, kBatch, false);
}

// Renders n frames of the runtime's copy at animation frame `frame` from
// path time t into dest; the path time reached. A last batch shorter than 16
// frames stops at n.
double renderState(KVSoundruntime* rt, uint32_t n, float* dest, int channels, double frame,
                   double t)
{
  sfuncSystem* system = rt->system;
  setAnimationFrame(system, frame);
  const KVviewRect& view = system->view;
  const double step = (view.xmax - view.xmin) / (gSAMPLERATE / baseFrequency(rt->settings));
  float batch[kBatch * 2];
  for (uint32_t done = 0; done < n; done += kBatch) {
    t = newsoundevaluate(system, rt->settings, step, t, batch, channels);
    const uint32_t frames = std::min<uint32_t>(kBatch, n - done);
    std::copy_n(batch, size_t(frames) * channels, dest + size_t(done) * channels);
  }
  return t;
}

// One quarter of a fill: the previous animation state into dest, the current
// one into the crossfade buffer, and a smooth blend from the first to the
// second, both from the same path time so the waveform runs on.
void renderQuarter(KVSoundruntime* rt, uint32_t n, float* dest, int channels)
{
  if (n == 0)
    return;
  const sfuncSystem* system = rt->system;
  const double frameStep = system->animation.frameRate / gSAMPLERATE;
  const size_t samples = size_t(n) * channels;
  if (rt->position != 0 && rt->position < rt->length)
    renderState(rt, n, dest, channels, frameStep * (double(rt->position) - n), rt->gpathtime);
  else
    std::fill_n(dest, samples, 0.0f);
  float* next = rt->crossfadeBuffer;
  if (rt->length >= n && rt->position < rt->length - n)
    rt->gpathtime =
        renderState(rt, n, next, channels, frameStep * double(rt->position), rt->gpathtime);
  else
    std::fill_n(next, samples, 0.0f);
  for (uint32_t i = 0; i < n; ++i) {
    const double x = double(i) / n;
    const double w = (3 - 2 * x) * x * x;
    for (int c = 0; c < channels; ++c) {
      float& d = dest[size_t(i) * channels + c];
      d = float(d + (next[size_t(i) * channels + c] - d) * w);
    }
  }
  rt->position += n;
}

void runComponents(sfuncSystem* system)
{
  smalltree& tree = system->tree;
  tree.iteration = 0;
  tree.iterationPtr = &tree.iteration;
  tree.iterationStep = 0;
  const int count = std::clamp<int>(tree.count, 0, kMaxComponents);
  if (!tree.loopFlag) {
    for (int i = 0; i < count; ++i)
      if (tree.funcs[i].compute)
        tree.funcs[i].compute(&tree.funcs[i]);
    return;
  }
  // Components outside loops run at once, the loops' own components after.
  gfunc* later[kMaxComponents];
  int laterCount = 0;
  for (int i = 0; i < count; ++i) {
    gfunc* g = &tree.funcs[i];
    if (g->loopMask == 0 && g->compute)
      g->compute(g);
    else if (g->loopMask == 1)
      later[laterCount++] = g;
  }
  for (int i = 0; i < laterCount; ++i)
    if (later[i]->compute)
      later[i]->compute(later[i]);
}

}  // namespace

size_t Kovrelin_SoundPoolSize()
{
  return MemPoolStep(sizeof(sfuncSystem)) + MemPoolStep(kRTworkBlockSize);
}

void Kovrelin_SoundInit(uint8_t withTables)
{
  gSAMPLERATE = 44100.0;
  KVSoundruntime& runtime = gKovrelinWorld->soundRuntime;
  runtime.system = static_cast<sfuncSystem*>(AddMemObject(&gMemPool, int32_t(sizeof(sfuncSystem))));
  void* block = AddMemObject(&gMemPool, int32_t(kRTworkBlockSize));
  RT_init(&gRTEffect, block, nullptr);
  DefaultAU_SendSampleRate(gRTEffect.outputUnit, gSAMPLERATE);
  if (!withTables)
    return;
  kvBuild_fftsintable(static_cast<double*>(AddMemObject(&gMemPool, int32_t(kTableBlockSize))));
}

void Kovrelin_SoundSetup(sfuncSystem* doc, KVSoundruntime* rt, sSoundfunc* settings)
{
  if (doc->inputMode != kSoundInputMode) {
    doc->inputMode = kSoundInputMode;
    for (int i = 0; i < kSoundMasterDoubles; ++i)
      if (doc->masterDoubles[i] == 0.0)
        doc->masterDoubles[i] = 1.0;
  }
  doc->paramsChanged = 1;
  rt->settings = settings;
  arb_Clear(rt->system, true, false);
  arb_Copy(doc, rt->system);
  rt->position = 0;
  const double seconds = double(doc->animation.length) / doc->animation.frameRate;
  const double samples = seconds * gSAMPLERATE;
  // Held to 32 bits, the padding saturating rather than wrapping.
  const uint64_t played =
      std::isnan(samples) || samples <= 0 ? 0 : uint64_t(std::min(samples, double(UINT32_MAX)));
  rt->length = uint32_t(std::min<uint64_t>(played + kLengthPadding, UINT32_MAX) & kFillMask);
}

void previewplay_KVSound(RTinfos* rt, float* buffer, uint32_t frames)
{
  auto* sound = static_cast<KVSoundruntime*>(rt->fillContext);
  KV_setBatchLength(kBatch);
  if (!buffer) {
    sound->crossfadeBuffer = rt->crossfadeArea;
    sound->system->paramsChanged = 1;
    sound->position = 0;
    Anim_SetTime_fromframe(sound->system, sound->system->animation.mode, 0.0);
    Anim_Paramlists(sound->system, sound->system->animation.mode, 1, kBatch, false);
    sound->gpathtime = 0.0;
    return;
  }
  const uint32_t q = frames / 4;
  const int channels = rt->channels == 2 ? 2 : 1;
  for (uint32_t k = 0; k < 4; ++k) {
    float* quarter = buffer + size_t(k) * q * channels;
    if (channels == 2)
      NewSoundprocStrereo(sound, q, quarter);
    else
      NewSoundproc(sound, q, quarter);
  }
  // The frames a division by 4 leaves over are silence, not stale samples.
  std::fill(buffer + size_t(4) * q * channels, buffer + size_t(frames) * channels, 0.0f);
  rt->position.fetch_add(frames, std::memory_order_release);
}

void NewSoundproc(KVSoundruntime* rt, uint32_t n, float* dest)
{
  renderQuarter(rt, n, dest, 1);
}

void NewSoundprocStrereo(KVSoundruntime* rt, uint32_t n, float* dest)
{
  renderQuarter(rt, n, dest, 2);
}

double newsoundevaluate(sfuncSystem* system, sSoundfunc*, double step, double t, float* dest,
                        int channels)
{
  const KVviewRect& view = system->view;
  const double cx = (view.xmin + view.xmax) / 2;
  const double cy = (view.ymin + view.ymax) / 2;
  const bool straight = system->movie.soundPathStraight != 0;
  for (int i = 0; i < kBatch; ++i) {
    if (straight) {
      system->master[0][i] = t + view.xmin;
      system->master[1][i] = cy;
    } else {
      system->master[0][i] = TableSin(t + kHalfPi) * kHalfPi + cx;
      system->master[1][i] = TableSin(t) * kHalfPi + cy;
    }
    t += step;
  }
  runComponents(system);
  if (const gfunc* out = KV_soundOutput(system))
    fDIRECTsound(out, dest, channels);
  else
    std::fill_n(dest, size_t(kBatch) * channels, 0.0f);
  return t;
}

const gfunc* KV_soundOutput(const sfuncSystem* system)
{
  if (system->outputFunc)
    return system->outputFunc;
  const smalltree& tree = system->tree;
  if (tree.count <= 0 || tree.outputIndex >= tree.count)
    return nullptr;
  return &tree.funcs[tree.outputIndex];
}

bool KV_soundIsStereo(uint16_t outputKind)
{
  return soundRow(outputKind) != SoundRow::mono;
}

void fDIRECTsound(const gfunc* output, float* dest, int channels)
{
  const auto& v = output->outputs;
  const SoundRow row = soundRow(output->family);
  for (int i = 0; i < kBatch; ++i) {
    double left = 0, right = 0;
    switch (row) {
      case SoundRow::lastTwo:
        left = v[2][i] * kDirect;
        right = v[3][i] * kDirect;
        break;
      case SoundRow::fourMixed:
        left = (v[0][i] - (v[2][i] - v[3][i])) * kFourOutputs;
        right = (v[1][i] - (v[2][i] - v[3][i])) * kFourOutputs;
        break;
      case SoundRow::threeMixed:
        left = (v[0][i] - 0.75 * v[2][i]) * kThreeOutputs;
        right = (v[1][i] - 0.75 * v[2][i]) * kThreeOutputs;
        break;
      case SoundRow::firstTwo:
        left = v[0][i] * kDirect;
        right = v[1][i] * kDirect;
        break;
      case SoundRow::mono:
        left = right = v[0][i] * kDirect;
        break;
    }
    if (channels == 2) {
      dest[2 * i] = clipSample(left);
      dest[2 * i + 1] = clipSample(right);
    } else {
      dest[i] = clipSample(left);
    }
  }
}

void SndTreeEvaluate(sfuncSystem* system)
{
  runComponents(system);
}
