// The filter modes: high-pass and low-pass (1, 2), the resonator (3), the
// resonant sweep (5), the resonant feedback delay (9) and the eight-band
// equaliser (14).
#include <cmath>

#include "sound/effects_block.h"
#include "sound/rtaudio.h"

namespace {

constexpr double kTwoPi = 6.28318530717958647692;

// Each coefficient of `to` moved the fraction u from a to b (once a sample,
// so asked inline).
inline void lerpCoefficients(filtersecondorder* to, const filtersecondorder& a,
                             const filtersecondorder& b, double u)
{
  to->gain = a.gain + (b.gain - a.gain) * u;
  to->a1 = a.a1 + (b.a1 - a.a1) * u;
  to->a2 = a.a2 + (b.a2 - a.a2) * u;
  to->b0 = a.b0 + (b.b0 - a.b0) * u;
  to->b1 = a.b1 + (b.b1 - a.b1) * u;
  to->b2 = a.b2 + (b.b2 - a.b2) * u;
}

// --- Modes 1 to 3 ---------------------------------------------------------

void adjustFilter(const filterinfos& s, const FXruntime&, FXcoefs& c)
{
  // Frequency and resonance are held to their ranges (0 to half the rate,
  // 0 to 1): outside them the designs are unstable.
  double mix = FXfinite(s.p1), freq = FXclamp(s.p2, 0.0, gSAMPLERATE / 2), q = FXclamp(s.p3, 0, 1);
  double gain = FXfinite(s.p4);
  filtersecondorder& f = c.filter[0];
  if (s.mode == 1)
    Setuphpfilter(&f, freq, q);
  else if (s.mode == 3)
    Setupresonnantfilter(&f, freq, q);
  else
    Setuplpfilter(&f, freq, q);
  f.gain *= gain;
  c.value[0] = mix;
}

// One channel of the subtracting step: y = b0 x + b1 x1 - a1 y1 - a2 y2.
double sofilterStep(const filtersecondorder& f, double x, double& y1, double& y2, double& x1,
                    double& x2)
{
  double y = f.b0 * x + f.b1 * x1 - f.a1 * y1 - f.a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return f.gain * y;
}

// --- Mode 5 -----------------------------------------------------------------

// sweep: mix, frequency, resonance, period in samples (0: no sweep).
void adjustSweep(const filterinfos& s, const FXruntime&, FXcoefs& c)
{
  double freq = FXclamp(s.p2, 0.0, gSAMPLERATE / 2), q = FXclamp(s.p3, 0.0, 1.0);
  Setupresonnantfilter(&c.filter[0], 0.75 * freq, q);
  double period = 0.001 * gSAMPLERATE * FXfinite(s.p5);
  c.sweep[0] = FXfinite(s.p1);
  c.sweep[1] = freq;
  c.sweep[2] = q;
  c.sweep[3] = period > 0 ? period : 0;
}

// The sweep's design at stream position t.
void sweepDesign(const FXcoefs& c, double t, filtersecondorder* f)
{
  double phase = c.sweep[3] > 0 ? std::sin(kTwoPi * t / c.sweep[3]) : 0.0;
  Setupresonnantfilter(f, (0.6 * phase + 0.75) * c.sweep[1], c.sweep[2]);
}

// --- Mode 9 -------------------------------------------------------------------

int32_t resofeedbackArea(int)
{
  return FXmsToSamples(1000) + 2;
}

// length 0, 1: the delays; value: p1..p4; sweep: frequency, bandwidth.
void adjustResoFeedback(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  FXringDelays(s, rt, c);
  c.value[0] = FXfinite(s.p1);
  c.value[1] = FXfinite(s.p2);
  c.value[2] = FXfinite(s.p3);
  c.value[3] = FXfinite(s.p4);
  c.rate = kTwoPi / (double(c.length[0] + c.length[1]) * 16);
  c.sweep[0] = c.value[1];
  c.sweep[1] = c.value[2];
  SetupGSOfilter(&c.filter[0], s.variant, 1.7, c.value[1], c.value[2]);
}

void resofeedbackSweepDesign(const FXcoefs& c, double t, filtersecondorder* f)
{
  SetupGSOfilter(f, 6, 1.7, (0.6 * std::sin(c.rate * t) + 0.75) * c.sweep[0], c.sweep[1]);
}

// --- Mode 14 -------------------------------------------------------------------

// Band 0 a low-pass at f, bands 1..7 at 2f .. 128f; band gains 0.003 x the
// 16-bit values (in value[] order through bandValue).
void adjustParamEQ8(const filterinfos& s, const FXruntime&, FXcoefs& c)
{
  double f = FXclamp(s.p2, 60.0, 120.0);
  double width = FXfinite(s.p3);
  SetupGSOfilter(&c.filter[0], 4, 1.6, f, width + (0.1 - width) * 0.75);
  for (int k = 1; k < 8; ++k)
    SetupGSOfilter(&c.filter[k], s.variant != 0 ? 2 : 5, 1.0, f * double(1 << k), width);
  for (int k = 0; k < 8; ++k)
    c.bandValue[k] = FXbandValue(s, k);
  c.value[0] = FXfinite(s.p1);
}

}  // namespace

// --- Run procedures -----------------------------------------------------------------

void sofilter_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                  void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  filtersecondorder& f = rt->live[0];
  double mix = b.c.value[0];
  // Its own loop, not mixSamples: there the compiler pairs the state's
  // stores into vector stores that the next sample's loads wait on (about
  // a fifth slower).
  for (int32_t i = 0; i < count; ++i) {
    double l = sofilterStep(f, inL[i], f.ly1, f.ly2, f.lx1, f.lx2);
    double r = sofilterStep(f, inR[i], f.ry1, f.ry2, f.rx1, f.rx2);
    b.out.put(i, FXmix(l, inL[i], mix), FXmix(r, inR[i], mix));
  }
}

// The additive step on both channels, mixed by value 0.
void resofilter_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                    void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  b.mixSamples(b.c.value[0],
               [&](int64_t, double& l, double& r) { applySOfilter(&rt->live[0], &l, &r); });
}

// The resonator with its coefficients moved linearly across the block from
// the design at its start to the design at its end; mixed by sweep 0.
void ResonantSweep_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                       void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (b.passDryIf(!rt->memoryReady || count <= 0))
    return;
  int64_t first = int64_t(rt->position);
  filtersecondorder start, end;
  sweepDesign(c, double(rt->position), &start);
  sweepDesign(c, double(rt->position) + count, &end);
  b.mixSamples(c.sweep[0], [&](int64_t n, double& l, double& r) {
    double across = double(n - first) / count;  // the sample's place in the block
    lerpCoefficients(&rt->live[0], start, end, across);
    applySOfilter(&rt->live[0], &l, &r);
  });
}

void resofeedback_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                      void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (b.passDryIf(!rt->memoryReady || count <= 0))
    return;
  bool sweeping = c.variant == 6;
  filtersecondorder start, end;
  if (sweeping) {
    resofeedbackSweepDesign(c, double(rt->position), &start);
    resofeedbackSweepDesign(c, double(rt->position) + count, &end);
  }
  filtersecondorder& f = rt->live[0];
  int32_t L = rt->area[0].size;
  double dryGain = 1 - 0.5 * c.value[0];
  // The comb's output is added to the weighted dry input (not mixed with it).
  for (int32_t i = 0; i < count; ++i) {
    if (sweeping)
      lerpCoefficients(&f, start, end, double(i) / count);
    int64_t n = int64_t(rt->position) + i;
    double l = inL[i], r = inR[i];
    applySOfilter(&f, &l, &r);
    double vl = ROT_COMBFEEDBACKB(n, b.left, L, l, c.length[0], c.value[3], 0.66);
    double vr = ROT_COMBFEEDBACKB(n, b.right, L, r, c.length[1], c.value[3], 0.66);
    b.out.put(i, dryGain * inL[i] + c.value[0] * vl, dryGain * inR[i] + c.value[0] * vr);
  }
}

void paramEQ8_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                  void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  if (b.passDryIf(!rt->memoryReady))
    return;
  double gains[8];
  for (int k = 0; k < 8; ++k)
    gains[k] = 0.003 * b.c.bandValue[k];
  b.mixSamples(b.c.value[0], [&](int64_t, double& l, double& r) {
    double wetL = 0, wetR = 0;
    for (int k = 0; k < 8; ++k) {
      double bandL = l, bandR = r;
      applySOfilter(&rt->live[k], &bandL, &bandR);
      wetL += gains[k] * bandL;
      wetR += gains[k] * bandR;
    }
    l = wetL;
    r = wetR;
  });
}

// --- Descriptions ---------------------------------------------------------------------

const FXmodeDesc kFXhighPass{1, nullptr, false, adjustFilter, sofilter_run};
const FXmodeDesc kFXlowPass{2, nullptr, false, adjustFilter, sofilter_run};
const FXmodeDesc kFXresonator{3, nullptr, false, adjustFilter, resofilter_run};
const FXmodeDesc kFXsweep{5, nullptr, false, adjustSweep, ResonantSweep_run};
const FXmodeDesc kFXresoFeedback{9, resofeedbackArea, false, adjustResoFeedback, resofeedback_run};
const FXmodeDesc kFXparamEQ8{14, nullptr, false, adjustParamEQ8, paramEQ8_run};
