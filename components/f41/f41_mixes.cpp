#include "components/f41/f41_mixes.h"

#include <algorithm>
#include <cmath>

#include "components/f41/f41_pvt.h"
#include "foundation/bezier.h"
#include "noise/noises.h"

namespace {

// S(e) = e^2 (3 - 2e), the ease of the random mixer's blends.
double ease(double e)
{
  return e * e * (3 - 2 * e);
}

// Moves `from` toward `to` by the eased excess e of a noise over its
// threshold: not at all for e <= 0, the whole way for e >= 1.
double easeToward(double from, double to, double e)
{
  if (!(e > 0))
    return from;
  return e < 1 ? from + ease(e) * (to - from) : to;
}

}  // namespace

void f41_Pack(gfunc* g)
{
  const F41batch b = f41_batch(g);
  for (size_t k = 0; k < 4; ++k)
    std::copy_n(b.in[k].data(), b.n, g->outputs[k]);
}

void f41_mix(gfunc* g)
{
  const double A = g->A, B = g->B, C = g->C;
  f41_eachSampleMaskXW(
      g, [&](double x, double y, double z, double w) { return w + (A * x + B * y + C * z); });
}

void f41_Min(gfunc* g)
{
  const double A = g->A;
  f41_eachSample(g, [&](double x, double y, double z, double w) {
    return A * std::min(std::min(std::min(x, y), z), w);
  });
}

void f41_Max(gfunc* g)
{
  const double A = g->A;
  f41_eachSample(g, [&](double x, double y, double z, double w) {
    return A * std::max(std::max(std::max(x, y), z), w);
  });
}

void f41_mul(gfunc* g)
{
  const double A = g->A, B = g->B;
  f41_eachSampleMaskXW(
      g, [&](double x, double y, double z, double w) { return w * (x * y * z) * A + B; });
}

void f41_det(gfunc* g)
{
  const double A = g->A, B = g->B;
  f41_eachSampleMaskXW(
      g, [&](double x, double y, double z, double w) { return (x * y - w * z) * A + B; });
}

void f41_FC(gfunc* g)
{
  const double A = g->A, B = g->B;
  f41_eachSample(g, [&](double x, double y, double z, double w) {
    return A * Bezier_Evaluate(x, x + B * (y - x), z + B * (y - z), z, w);
  });
}

void f41_RndMix_precompute(gfunc* g)
{
  F41constants& k = f41_k(g);
  const double threshold = 2 - g->A;
  k.K[0] = threshold;
  k.K[1] = (threshold + 3) / 400;
  k.K[2] = g->C / 128;
}

void f41_RndMix(gfunc* g)
{
  const F41constants& k = f41_k(g);
  const double threshold = k.K[0], scale = k.K[1], freq = k.K[2], phase = g->B;
  const KVtables* tables = &g->doc->tables;
  const double* masterX = g->doc->master[0];
  const double* masterY = g->doc->master[1];
  const F41batch b = f41_batch(g);
  double* out = g->outputs[0];
  for (int i = 0; i < b.n; ++i) {
    const size_t s = size_t(i);
    const double x = b.in[0][s], y = b.in[1][s], z = b.in[2][s], w = b.in[3][s];
    const double u = freq * masterX[s] + phase;
    const double v = freq * masterY[s] + phase;
    // The first field moves x toward y where it is high, toward z where it
    // is low; the second, read at a far-off transposed point, toward w.
    const double p = fPerlinNoise2D(tables, u, v) * scale;
    double r = x;
    if (p - threshold > 0)
      r = easeToward(x, y, p - threshold);
    else
      r = easeToward(x, z, -p - threshold);
    const double q = fPerlinNoise2D(tables, v + 577.3, u + 577.3) * scale - threshold;
    out[i] = easeToward(r, w, q);
  }
}

int16_t f41_Pack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_Pack, g, msg, a, b, c);
}

int16_t f41_mix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_mix, g, msg, a, b, c);
}

int16_t f41_Min_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_Min, g, msg, a, b, c);
}

int16_t f41_Max_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_Max, g, msg, a, b, c);
}

int16_t f41_RndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_RndMix, g, msg, a, b, c);
}

int16_t f41_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_mul, g, msg, a, b, c);
}

int16_t f41_FC_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_FC, g, msg, a, b, c);
}

int16_t f41_det_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_det, g, msg, a, b, c);
}
