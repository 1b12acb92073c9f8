#include "components/f11/f11_noises.h"

#include <algorithm>
#include <cmath>

#include "components/f11/f11_pvt.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Value noise over the lattice hash: h(i) at whole u, blended smoothly to
// h(i + 1) across the cell; false for a u without a 32-bit cell.
bool smoothValue(const KVtables* t, double u, double& value)
{
  int32_t i = 0;
  double f = 0;
  if (!f11_lattice(u, i, f))
    return false;
  const double h0 = f11_hash(t, i), h1 = f11_hash(t, f11_cellPlus(i, 1));
  value = h0 + f11_smooth(f) * (h1 - h0);
  return true;
}

// Grain1D: the contribution of the grain at lattice point n, if it has one.
double grainAt(const KVtables* t, double u, int32_t n, double sharpness)
{
  constexpr double kJitterStep = 0.0037;
  const int32_t p = t->perm[n & 1023];
  if (p <= 512)
    return 0;
  const int32_t q = t->perm[kvnum::wrap_add_i32(p, n >> 8) & 1023];
  const double jitter = (q & 255) * kJitterStep;
  const double d = std::fabs((u - 0.5 - n - jitter) * sharpness);
  return d < 0.25 ? 0.25 - d : 0.0;
}

// Smooth Steps at x for the constants k and parameters a, b, c.
double smoothStepsAt(const KVtables* t, double x, double a, double b, double c,
                     const F11constants& k)
{
  double u = c * x;
  if (k.K2 > 0) {
    double v = 0;
    if (!smoothValue(t, u, v))
      return 0;
    u = u + k.K2 * (v - 512);
  }
  int32_t j = 0, cellOfHalf = 0;
  double f = 0, g = 0;
  if (!f11_lattice(u, j, f) || !f11_lattice(u / 2, cellOfHalf, g))
    return 0;
  const double level = stepsignal(t, u, j, k.K4);
  const double amount = amounteffect(t, u / 2, cellOfHalf, b);
  return x + amount * a * (level * k.K3 - x);
}

}  // namespace

// ---- Shared functions -----------------------------------------------------

double Grain1D(const KVtables* t, double u, double sharpness)
{
  int32_t i = 0;
  double f = 0;
  if (!f11_lattice(u, i, f))
    return 0;
  const double sum = grainAt(t, u, i, sharpness) + grainAt(t, u, f11_cellPlus(i, -1), sharpness);
  return 4 * sum;
}

double stepsignal(const KVtables* t, double u, int32_t j, double randomness)
{
  const double f = u - j;
  const double top =
      randomness == 0 ? double(j) : j + randomness * f11_hash(t, f11_cellPlus(j, 773));
  if (f > 0.5)
    return top;
  const double s = 2 * f;
  const double low = (double(j) - 1) + randomness * f11_hash(t, f11_cellPlus(j, 772));
  return low + (top - low) * f11_smooth(s);
}

double amounteffect(const KVtables* t, double v, int32_t k, double randomness)
{
  if (randomness <= 0)
    return 1;
  const double g = v - k;
  const double b1 = f11_hash(t, f11_cellPlus(k, 3153)) & 1;
  double m = b1;
  if (!(g > 0.5)) {
    const double b0 = f11_hash(t, f11_cellPlus(k, 3152)) & 1;
    m = b0 + f11_smooth(2 * g) * (b1 - b0);
  }
  return (m - 1) * randomness + 1;
}

// ---- Compute functions ----------------------------------------------------

// Smooth value noise between about -A and A.
void f11_random(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B, c = g->C, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) {
    double v = 0;
    if (!smoothValue(t, b * x + c, v))
      return 0.0;
    return k1 * v - 511.5 * k1;
  });
}

void f11_randomize(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B, c = g->C, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) {
    const double u = b * x + c;
    return x + k1 * (fPerlinNoise1D(t, u) + 0.4 * fPerlinNoise1D(t, 2 * u + 0.3));
  });
}

// The document's fractal settings drive the octaves; the band limit is the
// pixel density.
void f11_fractalnoise(gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  const F11constants k = f11_k(g);
  const double c = g->C, density = g->doc->yPixelScale;
  f11_eachSample(g, [&fi, k, c, density](double x) {
    return fractal1D_procptr(&fi, frandom1D_balanced, x, k.K2, density, k.K1, c, 0.5);
  });
}

void f11_grains(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double c = g->C;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) {
    const double s = Grain1D(t, x * k.K1, k.K2);
    return c * f11_smooth(s);
  });
}

// Two random lines, the second shifted by half a period, crossfaded by a
// cosine of the period.
void f11_periodRnd(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) {
    const double u = k.K1 * x, f = u - f11_cellOf(u);
    const double s = TableSin((2 * f - 1) * kPi + kPi / 2);
    const double r1 = frandom1D(t, 4 * kPi * f + b);
    const double r2 = frandom1D(t, b + 333.7 + 4 * kPi * (f < 0.5 ? f + 0.5 : f - 0.5));
    return k.K3 * (2 * r2 - 1024 + (r1 - r2) * (1 + s));
  });
}

// A random staircase: one level per lattice cell of B x + C.
void f11_discretRandom(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B, c = g->C, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) {
    int32_t i = 0;
    double f = 0;
    if (!f11_lattice(b * x + c, i, f))
      return 0.0;
    return (f11_hash(t, i) - 512) * k1;
  });
}

// Octaves of gradient noise from the frequency C/4 up to B times it, or to
// the pixel density when that is lower.
void f11_multiperlin(gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  const F11constants k = f11_k(g);
  const double limit = std::min(k.K2, g->doc->yPixelScale);
  f11_eachSample(g, [&fi, k, limit](double x) {
    return fractal1D_procptr(&fi, fPerlinNoise1D, x, k.K3, limit, k.K1, 0, 0.5);
  });
}

// x quantized toward a staircase of random step heights, by a random amount.
void f11_smoothsteps(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, c = g->C;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) { return smoothStepsAt(t, x, a, b, c, k); });
}

void f11_linrandom(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B, c = g->C, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) { return frandom1D_linear(t, x * b + c) * k1; });
}

// ---- Precomputations ------------------------------------------------------

void f11_random_precompute(gfunc* g)
{
  g->B = std::fabs(g->B);
  f11_k(g).K1 = g->A / 512;
}

void f11_randomize_precompute(gfunc* g)
{
  f11_k(g).K1 = g->A / 512;
}

void f11_fractalnoise_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A / 256;
  k.K2 = std::fabs(g->B) / 4;
}

void f11_grains_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A / 2;
  k.K2 = 8 - 7 * g->B;
}

void f11_periodRnd_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A / (2 * kPi);
  k.K3 = g->C / 1024;
}

void f11_discretRandom_precompute(gfunc* g)
{
  f11_k(g).K1 = g->A / 512;
}

void f11_multiperlin_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A / 80;
  k.K3 = g->C / 4;
  k.K2 = k.K3 * g->B;
}

void f11_smoothsteps_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K2 = g->B / 2048;
  k.K3 = 1 / g->C;
  k.K4 = g->B / 1024;
}

void f11_linrandom_precompute(gfunc* g)
{
  f11_k(g).K1 = g->A / 256;
}

void f11_periodRnd_convert(gfunc* g)
{
  f11_scaleOldA(g, 15, kPi / 2);
}

// ---- Handlers -------------------------------------------------------------

int16_t f11_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_random, g, msg, a, b, c);
}

int16_t f11_randomize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_randomize, g, msg, a, b, c);
}

int16_t f11_fractalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_fractalnoise, g, msg, a, b, c);
}

int16_t f11_grains_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_grains, g, msg, a, b, c);
}

int16_t f11_periodRnd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_periodRnd, g, msg, a, b, c);
}

int16_t f11_discretRandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_discretRandom, g, msg, a, b, c);
}

int16_t f11_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_multiperlin, g, msg, a, b, c);
}

int16_t f11_smoothsteps_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_smoothsteps, g, msg, a, b, c);
}

int16_t f11_linrandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_linrandom, g, msg, a, b, c);
}
