// The distortion modes: drive with a resonant tone (8) and wave-shaping
// with four fixed filters (13).
#include <cmath>

#include "sound/effects_block.h"

namespace {

// A fixed resonator placed on the designers' angle of freq.
void fixedResonator(filtersecondorder* f, double freq, double b2, double a1Scale, double a2,
                    double gain)
{
  double theta = filtertheta(freq);
  f->b0 = 1;
  f->b1 = 0;
  f->b2 = b2;
  f->a1 = a1Scale * std::cos(theta);
  f->a2 = a2;
  f->gain = gain;
}

// --- Mode 8: distortion -------------------------------------------------------
// Two rings of 500 ms; filter 0 the fixed resonator at p5, filter 1 the tone.

int32_t distortionArea(int)
{
  return FXmsToSamples(500) + 2;
}

// value: mix, drive, comb gain p4, 1 - p4.
void adjustDistortion(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  FXringDelays(s, rt, c);
  fixedResonator(&c.filter[0], FXfinite(s.p5), -0.787485, 1.57497, -0.620132625225,
                 0.78490053108125);
  if (s.variant != 0)
    SetupGSOfilter(&c.filter[1], s.variant, 1.0, FXfinite(s.p2), 0.35);
  else
    fixedResonator(&c.filter[1], FXfinite(s.p2), -0.89994, 1.79988, -0.8098920036, 0.32129049865);
  c.filter[1].gain *= 0.45;
  c.value[0] = FXfinite(s.p1);
  c.value[1] = FXfinite(s.p3);
  c.value[2] = FXfinite(s.p4);
  c.value[3] = 1 - c.value[2];
}

// |v| x drive bent to (2 - u) u, or 1 from u = 1 on, keeping v's sign.
double drive(double v, double amount)
{
  double u = std::fabs(v) * amount;
  double y = u >= 1 ? 1.0 : (2 - u) * u;
  return v < 0 ? -y : y;
}

// --- Mode 13: wave-shaping distortion ---------------------------------------------
// Two rings of 1000 ms, the shaping curve (2048 points and a wrap entry), and
// four fixed filters whose gains come from the 16-bit values in p5.

constexpr int32_t kCurvePoints = 2048;
constexpr double kWSfreq[4] = {800, 1600, 3200, 6400};
constexpr double kWSwidth[4] = {0.4, 0.4, 0.5, 0.5};

int32_t wsdistoArea(int)
{
  return FXmsToSamples(1000) + 2;
}

// value: mix, curve scale (1..16), amount (0..1), comb gain.
void adjustWSdisto(const filterinfos& s, const FXruntime& rt, FXcoefs& c)
{
  FXringDelays(s, rt, c);
  for (int k = 0; k < 4; ++k) {
    SetupGSOfilter(&c.filter[k], k == 0 ? 4 : 2, 1.0, kWSfreq[k], kWSwidth[k]);
    // The band's gain is its 16-bit value scaled (the first x 0.003, the
    // others x 0.000375) in place of the design's gain.
    c.bandValue[k] = FXbandValue(s, 4 + k);
    c.filter[k].gain = c.bandValue[k] * (k == 0 ? 0.003 : 0.000375);
  }
  c.value[0] = FXfinite(s.p1);
  c.value[1] = FXclamp(s.p2, 1.0, 16.0);
  c.value[2] = FXclamp(s.p3, 0.0, 1.0);
  c.value[3] = FXfinite(s.p4);
}

// The curve read at a position counted in points, wrapped onto 0..2047 with
// a non-negative modulo, linear between neighbouring entries.
double curveRead(const double* curve, double position)
{
  double fl = std::floor(position);
  if (!(std::fabs(fl) < 4.0e15))
    return curve[0];
  double frac = position - fl;
  int32_t i = ringslot(int64_t(fl), kCurvePoints);
  return curve[i] + (curve[i + 1] - curve[i]) * frac;
}

// Drive, clip, smooth and shape one channel.
double shape(const FXcoefs& c, const double* curve, double& smooth, double x)
{
  double amount = 0.25 * c.value[2];
  if (amount <= 0)
    return x;
  double v = x * (1 + 6 * c.value[2]);
  v = v > 1 ? 1 : (v < -1 ? -1 : v);
  smooth += (v - smooth) * 0.25;
  double bent = curveRead(curve, kCurvePoints * c.value[1] * smooth);
  return smooth + amount * (bent - smooth);
}

}  // namespace

void distortion_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                    void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (b.passDryIf(!rt->memoryReady || c.length[0] <= 0))
    return;
  int32_t L = rt->area[0].size;
  b.mixSamples(c.value[0], [&](int64_t n, double& l, double& r) {
    applySOfilter(&rt->live[0], &l, &r);
    l = drive(l, c.value[1]);
    r = drive(r, c.value[1]);
    applySOfilter(&rt->live[1], &l, &r);
    l = ROT_COMBFEEDBACKB(n, b.left, L, l, c.length[0], c.value[2], 0.5);
    r = ROT_COMBFEEDBACKB(n, b.right, L, r, c.length[1], c.value[2], 0.5);
  });
}

void WSdisto_run(const filterinfos*, FXruntime* rt, const double* inL, const double* inR,
                 void* outL, void* outR, int16_t kind, int32_t count)
{
  FXblock b(rt, inL, inR, outL, outR, kind, count);
  const FXcoefs& c = b.c;
  if (b.passDryIf(!rt->memoryReady || c.length[0] <= 0 || rt->curve.size < kCurvePoints + 1))
    return;
  const double* curve = rt->curve.data.get();
  int32_t L = rt->area[0].size;
  b.mixSamples(c.value[0], [&](int64_t n, double& l, double& r) {
    l = shape(c, curve, rt->state[0], l);
    r = shape(c, curve, rt->state[1], r);
    double bandsL = 0, bandsR = 0;
    for (int k = 0; k < 4; ++k) {
      double fl = l, fr = r;
      applySOfilter(&rt->live[k], &fl, &fr);
      bandsL += fl;
      bandsR += fr;
    }
    l += bandsL;
    r += bandsR;
    l = ROT_COMBFEEDBACKB(n, b.left, L, l, c.length[0], c.value[3], 0.4);
    r = ROT_COMBFEEDBACKB(n, b.right, L, r, c.length[1], c.value[3], 0.4);
  });
}

const FXmodeDesc kFXdistortion{8, distortionArea, false, adjustDistortion, distortion_run};
const FXmodeDesc kFXwsDisto{13, wsdistoArea, true, adjustWSdisto, WSdisto_run};
