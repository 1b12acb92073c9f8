// The effect modes through the lifecycle and the block entry points: the
// defaults, the dry paths, every mode on an impulse and noise with every
// output kind, the values each mode derives, resets, the memory of another
// mode, damaged settings, and adjust racing the audio thread.
#include "sound/effects_modes.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "sound/effects.h"
#include "sound/rtaudio.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocation hooks (its allocator interface).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*,
                                                                          size_t),
                                                         void (*onFree)(const volatile void*));
#endif

namespace {

constexpr double kPi = 3.14159265358979323846;

// Counts the allocations made on this thread while `counting` is set
// (through the sanitizer's hooks when the build has them).
thread_local bool tCounting = false;
bool gCountRuns = false;  // count inside the entry points only
std::atomic<int> gAllocations{0};
#if defined(__SANITIZE_ADDRESS__)
void onMalloc(const volatile void*, size_t)
{
  if (tCounting)
    ++gAllocations;
}
void onFree(const volatile void*) {}
const bool kHooked = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
#else
const bool kHooked = false;
#endif

struct Effect
{
  filterinfos s;
  std::unique_ptr<FXruntime> rt = std::make_unique<FXruntime>();
  uint32_t position = 0;

  explicit Effect(int16_t mode)
  {
    s.pan = 0.5;
    s.level = 1.0;
    SoundEffects_FilterModeChanged(&s, rt.get(), mode);
  }
  ~Effect() { SoundEffects_FilterKill(&s, rt.get()); }

  // One block through the run procedure with an output kind; left and right
  // outputs (doubles, or floats widened).
  void run(const std::vector<double>& l, const std::vector<double>& r, int16_t kind,
           std::vector<double>& outL, std::vector<double>& outR)
  {
    int32_t n = int32_t(l.size());
    outL.assign(n, 0.0);
    outR.assign(n, 0.0);
    if (kind == kFXaddFloat) {
      std::vector<float> fl(n, 0.f), fr(n, 0.f);
      tCounting = gCountRuns;
      SoundEffects_CAfilterfloat(&s, rt.get(), position, l.data(), r.data(), fl.data(), fr.data(),
                                 n);
      tCounting = false;
      for (int32_t i = 0; i < n; ++i)
        outL[i] = fl[i], outR[i] = fr[i];
    } else if (kind == kFXaddDouble) {
      tCounting = gCountRuns;
      SoundEffects_addsamplesfilterfloat(&s, rt.get(), position, l.data(), r.data(), outL.data(),
                                         outR.data(), n);
      tCounting = false;
    } else {
      rt->position = position;
      tCounting = gCountRuns;
      rt->run(&s, rt.get(), l.data(), r.data(), outL.data(), outR.data(), kind, n);
      tCounting = false;
    }
    position += uint32_t(n);
  }
};

std::vector<double> noise(int32_t n, uint32_t seed)
{
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-0.5, 0.5);
  std::vector<double> v(n);
  for (double& x : v)
    x = d(gen);
  return v;
}

bool allFinite(const std::vector<double>& v)
{
  for (double x : v)
    if (!std::isfinite(x))
      return false;
  return true;
}

double energy(const std::vector<double>& v)
{
  double e = 0;
  for (double x : v)
    e += x * x;
  return e;
}

class EffectModes : public ::testing::Test
{
protected:
  void SetUp() override { gSAMPLERATE = 44100; }
};

TEST_F(EffectModes, DefaultsOfEveryMode)
{
  struct Row
  {
    int16_t mode;
    int32_t t1, t2;
    double p1, p2, p3, p4, p5;
  };
  const Row rows[] = {
      {1, 22050, 22050, 0.75, 5000, 0.3, 1.0, 0},  {2, 22050, 22050, 0.9, 2000, 0.2, 0.6, 0},
      {3, 22050, 22050, 0.8, 2000, 0.2, 0.8, 0},   {4, 22050, 22050, 0.5, 350, 0.5, 0, 0},
      {5, 22050, 22050, 0.8, 2000, 0.2, 0.8, 1e4}, {6, 200, 200, 0.6, 0.6, 0.5, 1.0, 0},
      {7, 22050, 22050, 0.4, 0.88, 140, 1.5, 0},   {8, 100, 100, 0.8, 4000, 8.0, 0.5, 3200},
      {9, 250, 250, 0.5, 9000, 0.8, 0.6, 0},       {10, 200, 200, 0.6, 0.6, 0.5, 0.25, 0},
      {11, 22050, 22050, 0.5, 0.65, 100, 0.5, 0},  {12, 40, 250, 0.6, 0.5, 0.4, 1.0, 0},
  };
  for (const Row& row : rows) {
    filterinfos s;
    s.mode = row.mode;
    s.variant = 9;
    s.pan = 0.25;
    s.level = 3;
    if (row.mode <= 5)
      SoundEffects_SetFilterDefault(&s);
    else
      FXmanageFor(row.mode)(kFXdefaults, &s, nullptr, false);
    EXPECT_EQ(s.variant, 0) << row.mode;
    EXPECT_EQ(s.time1, row.t1) << row.mode;
    EXPECT_EQ(s.time2, row.t2) << row.mode;
    EXPECT_EQ(s.p1, row.p1) << row.mode;
    EXPECT_EQ(s.p2, row.p2) << row.mode;
    EXPECT_EQ(s.p3, row.p3) << row.mode;
    EXPECT_EQ(s.p4, row.p4) << row.mode;
    EXPECT_EQ(s.p5, row.p5) << row.mode;
    EXPECT_EQ(s.pan, 0.25);  // pan and level are the user's
    EXPECT_EQ(s.level, 3);
  }
  // The 16-bit values of modes 13 and 14.
  filterinfos ws;
  ws.mode = 13;
  SoundEffects_SetFilterDefault(&ws);
  EXPECT_EQ(ws.time1, 248);
  EXPECT_EQ(ws.time2, 252);
  EXPECT_EQ(ws.p2, 3.0);
  EXPECT_EQ(ws.p4, 0.3);
  const int16_t values[4] = {32, 128, 164, 92};
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(FXbandValue(ws, 4 + k), values[k]);
  filterinfos eq;
  eq.mode = 14;
  SoundEffects_SetFilterDefault(&eq);
  EXPECT_EQ(eq.p2, 110.0);
  EXPECT_EQ(eq.p3, 0.3333);
  for (int k = 0; k < 8; ++k)
    EXPECT_EQ(FXbandValue(eq, k), 92);
  // Another mode: zeros and the common times.
  filterinfos other;
  other.mode = 40;
  other.p1 = 5;
  SoundEffects_SetFilterDefault(&other);
  EXPECT_EQ(other.p1, 0);
  EXPECT_EQ(other.time1, 22050);
}

TEST_F(EffectModes, DryPathsWithoutAnEffect)
{
  Effect none(0);
  none.s.level = 2.0;
  std::vector<double> in = {1.0, -0.5}, l, r;
  none.run(in, in, kFXaddDouble, l, r);
  EXPECT_NEAR(l[0], 2.0 * 0.70710678118654752, 1e-12);
  EXPECT_NEAR(r[1], -0.5 * 2.0 * 0.70710678118654752, 1e-12);
  // The float entry adds the inputs unchanged.
  none.run(in, in, kFXaddFloat, l, r);
  EXPECT_EQ(l[0], 1.0);
  EXPECT_EQ(r[1], -0.5);
  // Pan 0: all on the left at the full level.
  none.s.pan = 0;
  none.run(in, in, kFXaddDouble, l, r);
  EXPECT_EQ(l[0], 2.0);
  EXPECT_EQ(r[0], 0.0);
}

TEST_F(EffectModes, EveryModeRunsEveryKindOnImpulseAndNoiseWithoutAllocating)
{
  const int32_t n = 4096;
  std::vector<double> impulse(n, 0.0);
  impulse[0] = 1.0;
  std::vector<double> noiseL = noise(n, 1), noiseR = noise(n, 2), l, r;
  for (int16_t mode = 1; mode <= kFXmodeCount; ++mode) {
    for (int16_t kind : {kFXaddDouble, kFXaddFloat, kFXstoreDouble}) {
      Effect fx(mode);
      ASSERT_EQ(fx.s.active, 1) << mode;
      gAllocations = 0;
      gCountRuns = true;
      fx.run(impulse, impulse, kind, l, r);
      bool ok = allFinite(l) && allFinite(r);
      for (int b = 0; b < 4; ++b) {
        fx.run(noiseL, noiseR, kind, l, r);
        ok = ok && allFinite(l) && allFinite(r);
      }
      gCountRuns = false;
      EXPECT_TRUE(ok) << "mode " << mode << " kind " << kind;
      EXPECT_GT(energy(l) + energy(r), 0.0) << mode;
      if (kHooked) {
        EXPECT_EQ(gAllocations.load(), 0) << "mode " << mode << " allocated";
      }
    }
  }
}

TEST_F(EffectModes, DerivedLengthsAndFrequencies)
{
  // Echo: at least 25 samples, at most 2000 ms.
  Effect echo(6);
  echo.s.time1 = 0;
  echo.s.time2 = 5000;
  SoundEffects_FilterAdjust(&echo.s, echo.rt.get(), true);
  EXPECT_EQ(echo.rt->prepared.length[0], 25);
  EXPECT_EQ(echo.rt->prepared.length[1], 88200);

  // Reverb: size factor 0.1 at p3 = 0, 1.5 at p3 = 1000 (first comb 97.7 ms).
  Effect reverb(11);
  for (auto [p3, size] : {std::pair{0.0, 0.1}, std::pair{1000.0, 1.5}}) {
    reverb.s.p3 = p3;
    SoundEffects_FilterAdjust(&reverb.s, reverb.rt.get(), true);
    EXPECT_EQ(reverb.rt->prepared.length[0], int32_t(97.7 * size * 0.001 * 44100)) << p3;
  }

  // Equaliser: base frequency held to 60..120, bands at 60 .. 7680 Hz.
  Effect eq(14);
  eq.s.p2 = 20;
  SoundEffects_FilterAdjust(&eq.s, eq.rt.get(), true);
  for (int k = 0; k < 8; ++k) {
    filtersecondorder want;
    if (k == 0)
      SetupGSOfilter(&want, 4, 1.6, 60, eq.s.p3 + (0.1 - eq.s.p3) * 0.75);
    else
      SetupGSOfilter(&want, 5, 1.0, 60.0 * (1 << k), eq.s.p3);
    EXPECT_EQ(std::memcmp(&want, &eq.rt->prepared.filter[k], 6 * sizeof(double)), 0) << k;
    EXPECT_NEAR(0.003 * eq.rt->prepared.bandValue[k], 0.276, 1e-15);
  }

  // Mode 13's filter gains from its 16-bit values.
  Effect ws(13);
  EXPECT_DOUBLE_EQ(ws.rt->prepared.filter[0].gain, 32 * 0.003);
  EXPECT_DOUBLE_EQ(ws.rt->prepared.filter[3].gain, 92 * 0.000375);
}

TEST_F(EffectModes, ResonantSweepMovesEachCoefficientLinearlyAcrossABlock)
{
  Effect sweep(5);
  sweep.position = 5000;
  const int32_t n = 64;
  std::vector<double> in(n, 0.0), l, r;
  sweep.run(in, in, kFXstoreDouble, l, r);
  auto design = [&](double t) {
    filtersecondorder f;
    double period = 0.001 * 44100 * sweep.s.p5;
    Setupresonnantfilter(&f, (0.6 * std::sin(2 * kPi * t / period) + 0.75) * sweep.s.p2,
                         sweep.s.p3);
    return f;
  };
  filtersecondorder a = design(5000), b = design(5000 + n);
  double u = double(n - 1) / n;  // the last sample's coefficients stay in the live filter
  const filtersecondorder& live = sweep.rt->live[0];
  EXPECT_NEAR(live.a1, a.a1 + (b.a1 - a.a1) * u, 1e-15);
  EXPECT_NEAR(live.a2, a.a2 + (b.a2 - a.a2) * u, 1e-15);
  EXPECT_NEAR(live.b2, a.b2 + (b.b2 - a.b2) * u, 1e-15);
  EXPECT_NEAR(live.gain, a.gain + (b.gain - a.gain) * u, 1e-15);
  EXPECT_NE(a.a1, b.a1);
}

TEST_F(EffectModes, ChorusDelayFollowsTheSine)
{
  Effect chorus(4);
  chorus.s.p1 = 2.0;  // mix 1: the delayed signal alone
  SoundEffects_FilterAdjust(&chorus.s, chorus.rt.get(), true);
  const FXcoefs& c = chorus.rt->prepared;
  double D = c.value[1], w = c.rate;
  EXPECT_DOUBLE_EQ(D, 0.001 * 44100 * 0.5);
  EXPECT_DOUBLE_EQ(w, 2 * kPi / (0.001 * 44100 * 350));
  // An impulse at t0 comes out spread over two neighbouring samples whose
  // centre is the delay 128 - D sin(w t) at the output time.
  const int32_t n = 512;
  const uint32_t t0 = 3000;
  chorus.position = t0 - 100;
  std::vector<double> in(n, 0.0), l, r;
  in[100] = 1.0;
  chorus.run(in, in, kFXstoreDouble, l, r);
  double sum = 0, centre = 0;
  for (int32_t i = 0; i < n; ++i) {
    sum += l[i];
    centre += l[i] * i;
  }
  centre /= sum;
  double tOut = t0 - 100 + centre;
  EXPECT_NEAR(sum, 1.0, 0.01);  // a moving read spreads the impulse a little
  EXPECT_NEAR(centre - 100, 128 - D * std::sin(w * tOut), 0.05);
}

TEST_F(EffectModes, ResetClearsDelayMemoryAndFilterState)
{
  const int32_t n = 12000;  // longer than every default delay
  std::vector<double> loud = noise(n, 3), silence(n, 0.0), l, r;
  for (int16_t mode : {2, 3, 6, 9, 11, 13}) {
    Effect fx(mode);
    fx.run(loud, loud, kFXstoreDouble, l, r);
    fx.run(silence, silence, kFXstoreDouble, l, r);
    EXPECT_GT(energy(l), 0.0) << mode << ": the effect rings on";
    SoundEffects_FilterAdjust(&fx.s, fx.rt.get(), true);
    fx.run(silence, silence, kFXstoreDouble, l, r);
    EXPECT_EQ(energy(l) + energy(r), 0.0) << mode;
    // A mode change starts clean too.
    fx.run(loud, loud, kFXstoreDouble, l, r);
    SoundEffects_FilterModeChanged(&fx.s, fx.rt.get(), mode);
    fx.run(silence, silence, kFXstoreDouble, l, r);
    EXPECT_EQ(energy(l) + energy(r), 0.0) << mode;
  }
}

TEST_F(EffectModes, SettingsOfAnotherModeLeaveTheEffectDry)
{
  // As after reading a file of mode 13 over a running echo: the settings'
  // mode no longer owns the memory.
  Effect fx(6);
  fx.s.mode = 13;
  SoundEffects_SetFilterDefault(&fx.s);
  SoundEffects_FilterAdjust(&fx.s, fx.rt.get(), false);  // nothing to adjust
  std::vector<double> in = noise(256, 4), l, r;
  fx.run(in, in, kFXaddDouble, l, r);
  for (size_t i = 0; i < in.size(); ++i)
    ASSERT_NEAR(l[i], in[i] * 0.70710678118654752, 1e-12);
  // Kill frees the echo's memory (as the echo) and a mode change recovers.
  SoundEffects_FilterModeChanged(&fx.s, fx.rt.get(), 13);
  EXPECT_EQ(fx.rt->memoryMode, 13);
  EXPECT_EQ(fx.rt->curve.size, 2049);
  fx.run(in, in, kFXaddDouble, l, r);
  EXPECT_TRUE(allFinite(l));
}

TEST_F(EffectModes, WithoutItsMemoryAModePassesTheInputWithTheWeights)
{
  // As after an allocation that failed: the run procedure is set, the
  // memory is not.
  for (int16_t mode : {4, 6, 11, 14}) {
    Effect fx(mode);
    fx.rt->memoryReady = 0;
    fx.s.level = 0.5;
    SoundEffects_FilterAdjust(&fx.s, fx.rt.get(), true);
    std::vector<double> in = noise(300, 7), l, r;
    fx.run(in, in, kFXaddDouble, l, r);
    for (size_t i = 0; i < in.size(); ++i)
      ASSERT_NEAR(l[i], in[i] * 0.5 * 0.70710678118654752, 1e-12) << mode;
    fx.run(in, in, kFXstoreDouble, l, r);
    EXPECT_NEAR(r[7], in[7] * 0.5, 1e-12);
  }
}

TEST_F(EffectModes, DamagedSettingsGiveAPlayableEffect)
{
  const int32_t n = 2048;
  std::vector<double> in = noise(n, 5), l, r;
  const int32_t times[] = {0, -5, 2147483647, -2147483647 - 1};
  for (int16_t mode = 1; mode <= kFXmodeCount; ++mode) {
    for (int32_t t : times) {
      Effect fx(mode);
      fx.s.time1 = t;
      fx.s.time2 = t;
      fx.s.variant = 255;
      fx.s.p1 = NAN;
      fx.s.p2 = std::nan("");
      fx.s.p3 = NAN;
      if (mode < 13) {
        fx.s.p4 = INFINITY;
        fx.s.p5 = NAN;
      }
      fx.s.pan = NAN;
      SoundEffects_FilterAdjust(&fx.s, fx.rt.get(), true);
      for (int b = 0; b < 3; ++b) {
        fx.run(in, in, kFXaddDouble, l, r);
        ASSERT_TRUE(allFinite(l) && allFinite(r)) << "mode " << mode << " time " << t;
      }
    }
  }
}

TEST_F(EffectModes, AdjustWhileTheAudioThreadRuns)
{
  Effect fx(9);
  fx.s.variant = 6;  // the sweeping filter
  std::atomic<bool> stop{false};
  std::atomic<bool> finite{true};
  std::thread audio([&] {
    std::vector<double> in = noise(256, 6), l(256), r(256);
    uint32_t position = 0;
    while (!stop.load()) {
      std::fill(l.begin(), l.end(), 0.0);
      std::fill(r.begin(), r.end(), 0.0);
      SoundEffects_addsamplesfilterfloat(&fx.s, fx.rt.get(), position, in.data(), in.data(),
                                         l.data(), r.data(), 256);
      position += 256;
      if (!allFinite(l))
        finite = false;
    }
  });
  filterinfos shadow = fx.s;
  for (int i = 0; i < 2000; ++i) {
    shadow.p2 = 200 + (i % 50) * 100;
    shadow.time1 = 10 + i % 300;
    SoundEffects_FilterAdjust(&shadow, fx.rt.get(), i % 7 == 0);
  }
  stop = true;
  audio.join();
  EXPECT_TRUE(finite.load());
}

TEST_F(EffectModes, ImpulsePreviewOfTheEarlyReflections)
{
  filterinfos s;
  s.mode = 7;
  SoundEffects_SetFilterDefault(&s);
  std::vector<double> columns(64, -1.0);
  ASSERT_EQ(SoundEffects_filter_impulsepreview(&s, columns.data(), 64, 441), 64);
  double total = 0;
  for (double c : columns) {
    EXPECT_GE(c, 0.0);
    total += c;
  }
  EXPECT_GT(total, 0.0);
  s.mode = 6;
  EXPECT_EQ(SoundEffects_filter_impulsepreview(&s, columns.data(), 64, 441), 0);
}

}  // namespace
