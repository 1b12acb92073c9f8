#include "components/f34/f34_forwarded.h"

#include <array>

#include "components/common/packed.h"
#include "components/common/packed_alpha.h"
#include "engine/world.h"
#include "noise/noises.h"

namespace {

constexpr double M = gINFINITY;

// R, G, B and w of one sample.
struct Rgbw
{
  double c[4];
};

// What stands for w where an input has no alpha block.
enum class MissingAlpha
{
  ScalarElseZero,  // a scalar's value; 0 for an RGB link
  Red,             // the red channel (a scalar's value)
  Zero,
};

// Input k of the batch as four values per sample, copied before any output
// is written.
std::array<Rgbw, kBatchCapacity> readInput(const gfunc* g, int k, int n, MissingAlpha missing)
{
  const KVpackedInput in = KV_packedInput(g, k);
  const double* alpha = KV_packedAlphaBlock(g, k, in);
  std::array<Rgbw, kBatchCapacity> px;
  for (int i = 0; i < n; ++i) {
    Rgbw& p = px[i];
    for (int c = 0; c < 3; ++c)
      p.c[c] = in.at(c, i);
    if (alpha != nullptr)
      p.c[3] = alpha[i];
    else if (missing == MissingAlpha::Red ||
             (missing == MissingAlpha::ScalarElseZero && !in.packed))
      p.c[3] = p.c[0];
    else
      p.c[3] = 0.0;
  }
  return px;
}

Rgbw outputAt(const gfunc* g, int i)
{
  return {{g->outputs[0][i], g->outputs[1][i], g->outputs[2][i], g->outputs[3][i]}};
}

void storeAt(gfunc* g, int i, const Rgbw& o)
{
  for (int c = 0; c < 4; ++c)
    g->outputs[c][i] = o.c[c];
}

void seedUnlessKept(gfunc* g, const std::array<Rgbw, kBatchCapacity>& in1, int n)
{
  if (KV_keepsLoopOutputs(g))
    return;
  for (int i = 0; i < n; ++i)
    storeAt(g, i, in1[i]);
}

double smoothStep(double t)
{
  if (!(t > 0))
    return 0;
  if (t > 1)
    return 1;
  return (3 - 2 * t) * t * t;
}

// o moved toward t by the smooth step of d; t itself from d = 1 on.
Rgbw toward(const Rgbw& o, const Rgbw& t, double d)
{
  if (d >= 1)
    return t;
  const double s = smoothStep(d);
  Rgbw r;
  for (int c = 0; c < 4; ++c)
    r.c[c] = o.c[c] + (t.c[c] - o.c[c]) * s;
  return r;
}

}  // namespace

void f34_packedRndMix(gfunc* g)
{
  const int n = KV_batchLength();
  const auto in1 = readInput(g, 0, n, MissingAlpha::ScalarElseZero);
  const auto in2 = readInput(g, 1, n, MissingAlpha::ScalarElseZero);
  const auto in3 = readInput(g, 2, n, MissingAlpha::ScalarElseZero);
  seedUnlessKept(g, in1, n);
  const double* k = f33_packedK(g);
  const double k0 = k[0], k1 = k[1], k2 = k[2], phase = g->B;
  const sfuncSystem* doc = g->doc;
  for (int i = 0; i < n; ++i) {
    Rgbw o = outputAt(g, i);
    if (o.c[0] >= M) {
      storeAt(g, i, {{M, M, M, M}});
      continue;
    }
    const double v = doc != nullptr
                         ? k1 * fPerlinNoise2D(&doc->tables, k2 * doc->master[0][i] + phase,
                                               k2 * doc->master[1][i])
                         : 0.0;
    const double d = v - k0;
    const double e = -v - k0;
    if (d > 0)
      o = toward(o, in2[i], d);
    else if (e > 0)
      o = toward(o, in3[i], e);
    storeAt(g, i, o);
  }
}

void f34_packedMIN(gfunc* g)
{
  const int n = KV_batchLength();
  const auto in1 = readInput(g, 0, n, MissingAlpha::Zero);
  const auto in2 = readInput(g, 1, n, MissingAlpha::Red);
  const auto in3 = readInput(g, 2, n, MissingAlpha::Red);
  seedUnlessKept(g, in1, n);
  for (int i = 0; i < n; ++i) {
    Rgbw o = outputAt(g, i);
    for (const Rgbw& layer : {in2[i], in3[i]})
      if (o.c[3] > layer.c[3])
        o = layer;
    storeAt(g, i, o);
  }
}

int16_t f34_packedRndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f33_packedRndMix_handler(g, msg, a, b, c);
}

int16_t f34_packedMIN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f24_packedMIN_handler(g, msg, a, b, c);
}
