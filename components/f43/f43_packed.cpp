#include "components/f43/f43_packed.h"

#include <algorithm>

#include "components/common/packed.h"
#include "components/f43/f43_pvt.h"

namespace {

struct Colour
{
  double c[3];

  bool has() const { return c[0] < gINFINITY; }
};

// The four inputs of a batch as colours; input 3 or 4 read as a scalar takes
// channel 0.
struct Inputs
{
  KVpackedInput in[4];

  explicit Inputs(const gfunc* g)
  {
    for (int k = 0; k < 4; ++k)
      in[k] = KV_packedInput(g, k);
  }
  Colour colour(int k, int i) const { return {{in[k].at(0, i), in[k].at(1, i), in[k].at(2, i)}}; }
  double scalar(int k, int i) const { return in[k].at(0, i); }
};

bool hasValue(double v)
{
  return v < gINFINITY;
}

// ---- Layer operations on the base a ------------------------------------------

void addLayer(Colour& a, const Colour& x, double k)
{
  if (!a.has()) {
    for (int c = 0; c < 3; ++c)
      a.c[c] = k * x.c[c];
  } else if (x.has()) {
    for (int c = 0; c < 3; ++c)
      a.c[c] += k * x.c[c];
  }
}

void mulLayer(Colour& a, const Colour& x, double k)
{
  if (!a.has())
    a = x;
  else if (x.has())
    for (int c = 0; c < 3; ++c)
      a.c[c] += (a.c[c] * x.c[c] / 4 - a.c[c]) * k;
}

// `fromX`: a base without value becomes the layer itself (input 3) rather
// than k times it (input 2).
void interpolateLayer(Colour& a, const Colour& x, double k, bool fromX)
{
  if (!a.has()) {
    for (int c = 0; c < 3; ++c)
      a.c[c] = fromX ? x.c[c] : k * x.c[c];
  } else if (x.has()) {
    for (int c = 0; c < 3; ++c)
      a.c[c] += (x.c[c] - a.c[c]) * k;
  }
}

void multiplyW(Colour& a, double w, double k)
{
  if (hasValue(w) && a.has())
    for (int c = 0; c < 3; ++c)
      a.c[c] += (a.c[c] * w - a.c[c]) * k;
}

void scaleByW(Colour& a, double w, double k)
{
  if (!hasValue(w) || !a.has())
    return;
  const double m = f43_clamp((w / 4 - 1) * k + 1, 0, 2);
  for (int c = 0; c < 3; ++c)
    a.c[c] *= m;
}

void addW(Colour& a, double w, double k)
{
  if (k > 0 && hasValue(w) && a.has())
    for (int c = 0; c < 3; ++c)
      a.c[c] += w * k;
}

// Alpha threshold T with feather F; an alpha without value counts as T + F.
struct AlphaRamp
{
  double t;
  double f;
};

void alphaLayer(Colour& a, const Colour& x, double alpha, const AlphaRamp& r)
{
  if (!hasValue(alpha))
    alpha = r.t + r.f;
  if (!x.has())
    return;
  if (alpha >= r.t + r.f) {
    a = x;
  } else if (alpha > r.t) {
    const double s = (alpha - r.t) / r.f;
    for (int c = 0; c < 3; ++c)
      a.c[c] += (x.c[c] - a.c[c]) * s;
  }
}

// ---- Frames ---------------------------------------------------------------

// The compositing frame: the base is the previous pass's outputs inside a
// full-mask loop, otherwise input 1 (copied to the outputs first); then
// steps(base, inputs, sample) gives the sample's colour.
template <class Steps>
void composite(gfunc* g, Steps steps)
{
  const int n = KV_batchLength();
  const Inputs in(g);
  if (!KV_keepsLoopOutputs(g))
    KV_copyPackedToOutputs(g, in.in[0], n);
  for (int i = 0; i < n; ++i) {
    Colour a{{g->outputs[0][i], g->outputs[1][i], g->outputs[2][i]}};
    steps(a, in, i);
    f43_write(g, i, {{a.c[0], a.c[1], a.c[2]}});
  }
}

// The three-layer members: the marker when the base and both layers have no
// value.
template <class Steps>
void threeLayers(gfunc* g, Steps steps)
{
  composite(g, [&](Colour& a, const Inputs& in, int i) {
    const Colour b = in.colour(1, i);
    const Colour c = in.colour(2, i);
    if (!a.has() && !b.has() && !c.has()) {
      a = {{gINFINITY, gINFINITY, gINFINITY}};
      return;
    }
    steps(a, b, c, in.scalar(3, i));
  });
}

// The alpha members (but (a+w) Alpha b): the marker when the base and input
// 2 have no value.
template <class Steps>
void alphaLayers(gfunc* g, Steps steps)
{
  composite(g, [&](Colour& a, const Inputs& in, int i) {
    const Colour b = in.colour(1, i);
    if (!a.has() && !b.has()) {
      a = {{gINFINITY, gINFINITY, gINFINITY}};
      return;
    }
    steps(a, b, in, i);
  });
}

// The nearer of a (input 1, depth input 3) and b (input 2, depth input 4):
// a when it has a value and lies strictly nearer, or when b has none;
// otherwise b, seen through a with `transparency` (0: b alone).
void depthChoice(gfunc* g, double transparency)
{
  const int n = KV_batchLength();
  const Inputs in(g);
  Colour out[kBatchCapacity];
  for (int i = 0; i < n; ++i) {
    const Colour a = in.colour(0, i);
    const Colour b = in.colour(1, i);
    const double za = in.scalar(2, i), zb = in.scalar(3, i);
    // a shows through b only where b is at least as near; a NaN depth
    // orders neither, and b is taken as by the plain depth choice.
    const bool aNearer = za < zb, bNearer = za >= zb;
    if (!a.has() && !b.has())
      out[i] = {{gINFINITY, gINFINITY, gINFINITY}};
    else if (a.has() && (aNearer || !b.has()))
      out[i] = a;
    else if (a.has() && transparency > 0 && bNearer)
      for (int c = 0; c < 3; ++c)
        out[i].c[c] = b.c[c] + (a.c[c] - b.c[c]) * transparency;
    else
      out[i] = b;
  }
  for (int i = 0; i < n; ++i)
    f43_write(g, i, {{out[i].c[0], out[i].c[1], out[i].c[2]}});
}

AlphaRamp rampOf(double threshold, double feather)
{
  return {8 * threshold, std::max(0.0625, 8 * feather)};
}

}  // namespace

void f43_packedRGBzsort(gfunc* g)
{
  depthChoice(g, 0);
}

void f43_packedRGBzsortblend(gfunc* g)
{
  depthChoice(g, g->A);
}

void f43_packedmul_alpha(gfunc* g)
{
  const F43constants& k = f43_k(g);
  const AlphaRamp r{k.K[0], k.K[1]};
  const double weight = g->C;
  alphaLayers(g, [&](Colour& a, const Colour& b, const Inputs& in, int i) {
    scaleByW(a, in.scalar(3, i), weight);
    alphaLayer(a, b, in.scalar(2, i), r);
  });
}

void f43_packedalpha_mul(gfunc* g)
{
  const AlphaRamp r = rampOf(g->A, g->B);
  const double weight = g->C;
  alphaLayers(g, [&](Colour& a, const Colour& b, const Inputs& in, int i) {
    if (!a.has())
      a = {{0, 0, 0}};
    alphaLayer(a, b, in.scalar(2, i), r);
    scaleByW(a, in.scalar(3, i), weight);
  });
}

void f43_packedalpha_add(gfunc* g)
{
  const AlphaRamp r = rampOf(g->A, g->B);
  const double weight = g->C;
  composite(g, [&](Colour& a, const Inputs& in, int i) {
    const double w = in.scalar(3, i);
    for (int c = 0; c < 3; ++c)
      a.c[c] += weight * w;
    alphaLayer(a, in.colour(1, i), in.scalar(2, i), r);
  });
}

void f43_packedlerp_alpha(gfunc* g)
{
  const AlphaRamp r = rampOf(g->B, g->C);
  const double blend = g->A;
  alphaLayers(g, [&](Colour& a, const Colour& b, const Inputs& in, int i) {
    interpolateLayer(a, b, blend, true);
    alphaLayer(a, in.colour(2, i), in.scalar(3, i), r);
  });
}

void f43_packedlerpmul(gfunc* g)
{
  const double ka = g->A, kb = g->B, kc = g->C;
  threeLayers(g, [&](Colour& a, const Colour& b, const Colour& c, double w) {
    addLayer(a, b, ka);
    interpolateLayer(a, c, kb, true);
    multiplyW(a, w, kc);
  });
}

void f43_packedaddmul_add(gfunc* g)
{
  const double ka = g->A, kb = g->B, kc = g->C;
  threeLayers(g, [&](Colour& a, const Colour& b, const Colour& c, double w) {
    addLayer(a, b, ka);
    mulLayer(a, c, kb);
    addW(a, w, kc);
  });
}

void f43_packedmuladd_mul(gfunc* g)
{
  const double ka = g->A, kb = g->B, kc = g->C;
  threeLayers(g, [&](Colour& a, const Colour& b, const Colour& c, double w) {
    mulLayer(a, b, ka);
    addLayer(a, c, kb);
    multiplyW(a, w, kc);
  });
}

void f43_packedaddadd_mul(gfunc* g)
{
  const double ka = g->A, kb = g->B, kc = g->C;
  threeLayers(g, [&](Colour& a, const Colour& b, const Colour& c, double w) {
    addLayer(a, b, ka);
    addLayer(a, c, kb);
    scaleByW(a, w, kc);
  });
}

void f43_packedblend(gfunc* g)
{
  const double ka = g->A, kb = g->B, kc = g->C;
  threeLayers(g, [&](Colour& a, const Colour& b, const Colour& c, double w) {
    interpolateLayer(a, b, ka, false);
    multiplyW(a, w, kc);
    interpolateLayer(a, c, kb, true);
  });
}

void f43_packedmul_alpha_precompute(gfunc* g)
{
  F43constants& k = f43_k(g);
  k.K[0] = 8 * g->A;
  k.K[1] = std::max(0.005, 8 * g->B);
  k.K[2] = k.K[0] + k.K[1];
}

int16_t f43_packedRGBzsort_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedRGBzsort, g, msg, a, b, c);
}

int16_t f43_packedRGBzsortblend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedRGBzsortblend, g, msg, a, b, c);
}

int16_t f43_packedmul_alpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedmul_alpha, g, msg, a, b, c);
}

int16_t f43_packedalpha_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedalpha_mul, g, msg, a, b, c);
}

int16_t f43_packedalpha_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedalpha_add, g, msg, a, b, c);
}

int16_t f43_packedlerp_alpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedlerp_alpha, g, msg, a, b, c);
}

int16_t f43_packedlerpmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedlerpmul, g, msg, a, b, c);
}

int16_t f43_packedaddmul_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedaddmul_add, g, msg, a, b, c);
}

int16_t f43_packedmuladd_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedmuladd_mul, g, msg, a, b, c);
}

int16_t f43_packedaddadd_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedaddadd_mul, g, msg, a, b, c);
}

int16_t f43_packedblend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_packedblend, g, msg, a, b, c);
}
