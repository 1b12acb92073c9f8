#include "components/f11/f11_waves.h"

#include <algorithm>
#include <cmath>

#include "components/f11/f11_pvt.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Semitones Seq: K1..K4, then the semitone numbers of the sequence.
struct F11semitones
{
  F11constants k;
  int16_t entries[kF11SemitoneEntries];
};

// ln 2 / 12: exp(s * kSemitone) is the pitch ratio of s semitones.
constexpr double kSemitone = 0.05776226504666211;

// The semitone within an octave moved onto the major scale: 1, 3, 6, 8 and
// 10 go to a neighbour of the scale; negative numbers stay as they are.
int onMajorScale(int s)
{
  switch (s) {
    case 1:
      return 2;
    case 3:
      return 4;
    case 6:
      return 5;
    case 8:
      return 7;
    case 10:
      return 9;
    default:
      return s;
  }
}

// |s|^c as exp(c log |s|), with the sign of s.
double signedPower(double s, double c)
{
  if (s == 0)
    return 0;
  const double m = std::exp(c * std::log(std::fabs(s)));
  return s > 0 ? m : -m;
}

// Saw wave: theta reduced modulo 2 pi into [0, 2 pi), or (0, 2 pi] below 0.
double reduceTurn(double theta)
{
  const double r = std::fmod(theta, kTwoPi);
  return theta < 0 ? r + kTwoPi : r;
}

double splitStretch(double x, double a, double b, double k3)
{
  const double s = x + b;
  if (s < 0) {
    const double v = s + a, t = (k3 + v) / (2 * k3);
    if (t <= 0)
      return v;
    return t < 1 ? (2 - t) * t * k3 - k3 : 0.0;
  }
  const double v = s - a, t = (k3 + v) / (2 * k3);
  if (t <= 0)
    return 0;
  return t < 1 ? k3 * t * t : v;
}

double slideMirror(double x, double b, double c, double k1, double k2)
{
  const double edge = b >= 0 ? b : -b;
  double m;
  if (b >= 0)
    m = x > b ? 2 * b - x : x;
  else
    m = x < b ? x - 2 * b : -x;
  if (c > 0) {
    const double d = (edge - m) * k1;
    if (d < 0.5)
      m = edge - (d * d + 0.25) * k2;
  }
  return m;
}

double saw(double s, double c, double k1, double k2)
{
  if (s <= 0 || s >= k1)
    return 0;
  if (s < 0.25) {
    const double u = 4 * s;
    return c * f11_smooth(u);
  }
  const double w = (s - 0.25) * k2;
  return c * (1 - f11_smooth(w));
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

void f11_Sine(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f11_eachSampleOrUniform(g, [=](double x) { return c * std::sin(a * x + b); });
}

void f11_xplusASine(gfunc* g)
{
  const double a = g->A, b = g->B;
  f11_eachSample(g, [=](double x) { return x + a * TableSin(b * x); });
}

void f11_powerSin(gfunc* g)
{
  const double a = g->A, c = g->C, k2 = f11_k(g).K2;
  f11_eachSample(g, [=](double x) { return 2 * signedPower(TableSin(a * x + k2), c); });
}

void f11_gauss(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f11_eachSampleOrUniform(g, [=](double x) { return c * std::exp(-a * (x + b) * (x + b)); });
}

// A triangle wave between -C and C: -C where A x + B is a multiple of 2 pi.
void f11_sawWave(gfunc* g)
{
  const double a = g->A, b = g->B, k3 = f11_k(g).K3;
  f11_eachSample(g, [=](double x) {
    const double r = reduceTurn(a * x + b);
    const double d = r <= kPi ? r : kTwoPi - r;
    return (d - kPi / 2) * k3;
  });
}

void f11_EnvSine(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f11_eachSample(g, [=](double x) { return c * x * TableSin(a * x + b); });
}

// From 0 (u <= 0) through 4 (u = 1) to 8 (u >= 2), with power C on each half.
void f11_powerStep(gfunc* g)
{
  const double b = g->B, c = g->C, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) {
    const double u = x * k1 + 1 + b;
    if (u <= 1)
      return 4 * std::pow(std::max(0.0, u), c);
    return 4 * (2 - std::pow(std::max(0.0, 2 - u), c));
  });
}

void f11_ArchWave(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f11_eachSample(g, [=](double x) { return c * std::sqrt(std::fabs(TableSin(a * x + b))); });
}

// x moved by B toward steps of 1/A; with C > 0 each step rises smoothly over
// the first 1/K2 of its cell.
void f11_quantize(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) {
    const double u = a * x, cell = f11_cellOf(u);
    double q;
    if (c <= 0) {
      q = cell * k.K1;
    } else {
      const double s = f11_smoothClamped((u - cell) * k.K2);
      q = (cell - 1 + s) * k.K1;
    }
    return x + b * (q - x);
  });
}

// C sin(N u) / sin(u), 0 where u = 0.
void f11_sinc(gfunc* g)
{
  const double c = g->C;
  const F11constants k = f11_k(g);
  const double harmonics = kvnum::sat_i16(k.K2);
  f11_eachSample(g, [=](double x) {
    const double u = k.K1 * x;
    return u == 0 ? 0.0 : c * std::sin(harmonics * u) / std::sin(u);
  });
}

void f11_plateau(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f11_eachSampleOrUniform(g, [=](double x) {
    const double t = std::max(0.0, std::fabs(x) - b) * a;
    const double e = std::exp(-t * t);
    return c >= 0 ? c * e : c * e - c;
  });
}

// A saw from -C to C over each cell of x A / pi + B.
void f11_tile(gfunc* g)
{
  const double b = g->B, c = g->C, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) {
    const double v = x * k1 + b;
    return 2 * c * (v - f11_cellOf(v) - 0.5);
  });
}

void f11_split_stretch(gfunc* g)
{
  const double a = g->A, b = g->B, k3 = f11_k(g).K3;
  f11_eachSample(g, [=](double x) { return splitStretch(x, a, b, k3); });
}

// x folded back at B (at -B for negative B), the fold rounded over C.
void f11_slidemirror(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) { return a * slideMirror(x, b, c, k.K1, k.K2); });
}

void f11_saw(gfunc* g)
{
  const double b = g->B, c = g->C;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) { return saw(x + b, c, k.K1, k.K2); });
}

// C times x modulo A, plus B.
void f11_modulo(gfunc* g)
{
  const double b = g->B;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) {
    const double v = x * k.K1;
    return (v - f11_cellOf(v)) * k.K2 + b;
  });
}

// The pitch ratio 2^(entry/12) of the table entry that trunc(x) reaches,
// cycling through the first trunc(A) entries.
void f11_semitonesSeq(gfunc* g)
{
  const F11semitones& p = privateArea<F11semitones>(g);
  const double loops = g->A;
  f11_eachSample(g, [&p, loops](double x) {
    return std::exp(p.entries[f11_semitonesSeq_index(x, loops)] * kSemitone);
  });
}

int f11_semitonesSeq_index(double x, double loops)
{
  const int32_t l = std::clamp(kvnum::sat_i32(loops), 1, kF11SemitoneEntries);
  // fmod of a whole number by a whole number is exact, whatever the size.
  int32_t k = kvnum::sat_i32(std::fmod(std::trunc(x), double(l)));
  if (k < 0)
    k += l;
  return std::clamp(k, 0, l - 1);
}

// ---- Precomputations ------------------------------------------------------

void f11_powerSin_precompute(gfunc* g)
{
  f11_k(g).K2 = kPi * g->B;
}

void f11_sawWave_precompute(gfunc* g)
{
  f11_k(g).K3 = g->C / (kPi / 2);
}

void f11_powerStep_precompute(gfunc* g)
{
  f11_k(g).K1 = 1 / g->A;
}

void f11_quantize_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = 1 / g->A;
  g->C = std::max(g->C, 0.0);
  for (KVparamTriple& key : g->keyframes)
    key.A = std::max(key.A, 0.0);
  k.K2 = 24 - 23 * g->C * (2 - g->C);
}

void f11_sinc_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A / 2;
  k.K2 = 2 + g->B;
}

void f11_tile_precompute(gfunc* g)
{
  f11_k(g).K1 = g->A / kPi;
}

void f11_split_stretch_precompute(gfunc* g)
{
  f11_k(g).K3 = std::max(0.001, g->A * g->C);
}

void f11_slidemirror_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  if (g->C < 0.0001) {
    g->C = 0.0001;
    k.K1 = 10000;
    k.K2 = 0.0001;
  } else if (g->C > 1) {
    g->C = 1;
    k.K1 = 1;
    k.K2 = 1;
  } else {
    k.K1 = 1 / g->C;
    k.K2 = g->C;
  }
}

void f11_saw_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A + 0.5;
  k.K2 = 1 / (g->A + 0.25);
}

void f11_modulo_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  constexpr double kSmallest = 1e-6;
  if (g->A < kSmallest) {
    g->A = kSmallest;
    k.K1 = 1e6;
  } else {
    k.K1 = 1 / g->A;
  }
  k.K2 = g->C * g->A;
}

// The sequence: 64 permutation values from position 4 trunc(B) on, each
// scaled by C/8 into a number of semitones and moved onto the major scale.
void f11_semitonesSeq_precompute(gfunc* g)
{
  F11semitones& p = privateArea<F11semitones>(g);
  p.k.K3 = g->C / 8;
  const int32_t start = kvnum::wrap_mul_i32(4, kvnum::sat_i32(g->B));
  const int32_t* perm = g->doc->tables.perm;
  for (int j = 0; j < kF11SemitoneEntries; ++j) {
    const int32_t pv = perm[kvnum::wrap_add_i32(start, j) & 1023];
    const int32_t n = kvnum::sat_i32((pv & 63) * p.k.K3);
    const int32_t octave = n / 12;
    const int32_t s = onMajorScale(n % 12);
    p.entries[j] = kvnum::sat_i16(double(12 * octave) + s);
  }
}

void f11_Sine_convert(gfunc* g)
{
  f11_scaleOldA(g, 15, kPi);
}

void f11_sawWave_convert(gfunc* g)
{
  f11_scaleOldA(g, 16, kPi);
}

void f11_EnvSine_convert(gfunc* g)
{
  f11_scaleOldA(g, 15, kPi);
}

void f11_ArchWave_convert(gfunc* g)
{
  f11_scaleOldA(g, 15, kPi);
}

void f11_sinc_convert(gfunc* g)
{
  f11_scaleOldA(g, 15, kPi);
}

void f11_tile_convert(gfunc* g)
{
  f11_scaleOldA(g, 15, kPi / 2);
}

// ---- Handlers -------------------------------------------------------------

int16_t f11_Sine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_Sine, g, msg, a, b, c);
}

int16_t f11_xplusASine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_xplusASine, g, msg, a, b, c);
}

int16_t f11_powerSin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_powerSin, g, msg, a, b, c);
}

int16_t f11_gauss_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_gauss, g, msg, a, b, c);
}

int16_t f11_sawWave_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_sawWave, g, msg, a, b, c);
}

int16_t f11_EnvSine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_EnvSine, g, msg, a, b, c);
}

int16_t f11_powerStep_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_powerStep, g, msg, a, b, c);
}

int16_t f11_ArchWave_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_ArchWave, g, msg, a, b, c);
}

int16_t f11_quantize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_quantize, g, msg, a, b, c);
}

int16_t f11_sinc_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_sinc, g, msg, a, b, c);
}

int16_t f11_plateau_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_plateau, g, msg, a, b, c);
}

int16_t f11_tile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_tile, g, msg, a, b, c);
}

int16_t f11_split_stretch_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_split_stretch, g, msg, a, b, c);
}

int16_t f11_slidemirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_slidemirror, g, msg, a, b, c);
}

int16_t f11_saw_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_saw, g, msg, a, b, c);
}

int16_t f11_modulo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_modulo, g, msg, a, b, c);
}

int16_t f11_semitonesSeq_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_semitonesSeq, g, msg, a, b, c);
}
