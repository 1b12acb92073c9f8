#include "components/f33/f33_packed.h"

#include <algorithm>
#include <array>

#include "components/common/packed.h"
#include "engine/world.h"
#include "noise/noises.h"

namespace {

constexpr double M = gINFINITY;

bool marked(double v)
{
  return v >= M;
}

struct Rgb
{
  double c[3];

  bool noValue() const { return marked(c[0]); }
};

constexpr Rgb kNoValue{{M, M, M}};
constexpr Rgb kBlack{{0, 0, 0}};

Rgb operator+(const Rgb& a, const Rgb& b)
{
  return {{a.c[0] + b.c[0], a.c[1] + b.c[1], a.c[2] + b.c[2]}};
}

Rgb operator*(double k, const Rgb& a)
{
  return {{k * a.c[0], k * a.c[1], k * a.c[2]}};
}

// o moved toward t by w: o + (t - o) w, channel by channel.
Rgb toward(const Rgb& o, const Rgb& t, double w)
{
  Rgb r;
  for (int k = 0; k < 3; ++k)
    r.c[k] = o.c[k] + (t.c[k] - o.c[k]) * w;
  return r;
}

// The three inputs of the batch widened to three channels, copied before
// any output is written (an input may read this member's own outputs).
struct Colours
{
  int n;
  std::array<Rgb, kBatchCapacity> in[3];
};

Colours readColours(const gfunc* g)
{
  Colours b;
  b.n = KV_batchLength();
  for (int k = 0; k < 3; ++k) {
    const KVpackedInput in = KV_packedInput(g, k);
    for (int i = 0; i < b.n; ++i)
      b.in[k][i] = {{in.at(0, i), in.at(1, i), in.at(2, i)}};
  }
  return b;
}

Rgb outputAt(const gfunc* g, int i)
{
  return {{g->outputs[0][i], g->outputs[1][i], g->outputs[2][i]}};
}

void storeAt(gfunc* g, int i, const Rgb& o)
{
  for (int k = 0; k < 3; ++k)
    g->outputs[k][i] = o.c[k];
}

// When the batch starts from input 1.
enum class Seeding
{
  LoopRule,       // unless a loop pass keeps the outputs (KV_keepsLoopOutputs)
  FirstPassOnly,  // only while the owning tree's iteration counter is 0
};

bool seeds(const gfunc* g, Seeding rule)
{
  if (rule == Seeding::LoopRule)
    return !KV_keepsLoopOutputs(g);
  return g->owner == nullptr || g->owner->iteration == 0;
}

// Seeds the outputs from input 1 by `rule`, then mix(o, c2, c3, i) updates
// the working colour o of every sample.
template <class Mix>
void composite(gfunc* g, Seeding rule, Mix mix)
{
  const Colours b = readColours(g);
  if (seeds(g, rule))
    for (int i = 0; i < b.n; ++i)
      storeAt(g, i, b.in[0][i]);
  for (int i = 0; i < b.n; ++i) {
    Rgb o = outputAt(g, i);
    mix(o, b.in[1][i], b.in[2][i], i);
    storeAt(g, i, o);
  }
}

// RGB Alpha: input 2 laid over o by input 3, read as one alpha per channel,
// rising from threshold k0 to full cover over the feather k1.
void alphaMix(gfunc* g, Seeding rule)
{
  const double* k = f33_packedK(g);
  const double threshold = k[0], full = k[2];
  // A member run without message 8 still never divides by zero.
  const double feather = std::max(k[1], kF33minFeather);
  composite(g, rule, [&](Rgb& o, const Rgb& c2, const Rgb& alpha, int) {
    if (o.noValue() && c2.noValue()) {
      if (alpha.noValue()) {
        o = kNoValue;
        return;
      }
    } else if (alpha.noValue()) {
      return;
    }
    if (o.noValue())
      o = kBlack;
    if (c2.noValue())
      return;
    for (int c = 0; c < 3; ++c) {
      const double a = alpha.c[c];
      if (a >= full)
        o.c[c] = c2.c[c];
      else if (a > threshold)
        o.c[c] += (a - threshold) / feather * (c2.c[c] - o.c[c]);
    }
  });
}

// The add step of Add & Mul: A o + B c2; a marked o takes B c2, and stays
// marked when input 2 is marked too.
Rgb addStep(const Rgb& o, const Rgb& c2, double a, double b)
{
  if (o.noValue())
    return c2.noValue() ? kNoValue : b * c2;
  return c2.noValue() ? o : a * o + b * c2;
}

// Input 3 multiplies the colour, 4 being the neutral factor, blended in by w.
Rgb multiplyStep(const Rgb& o, const Rgb& c3, double w)
{
  Rgb r;
  for (int k = 0; k < 3; ++k)
    r.c[k] = o.c[k] + (c3.c[k] * o.c[k] * 0.25 - o.c[k]) * w;
  return r;
}

}  // namespace

// ---- Message 8 ------------------------------------------------------------------

void f33_packedalpha_prepare(gfunc* g)
{
  double* k = f33_k(g).K;
  k[0] = 8 * g->A;
  k[1] = std::max(kF33minFeather, 8 * g->B);  // NaN B gives the narrowest feather
  k[2] = k[0] + k[1];
}

void f33_packedRndMix_prepare(gfunc* g)
{
  double* k = f33_k(g).K;
  k[0] = 2 - g->A;
  k[1] = (k[0] + 3) / 400;
  k[2] = g->C / 128;
}

// ---- Computes -------------------------------------------------------------------

void f33_packedlerp(gfunc* g)
{
  const double a = g->A, b = g->B;
  composite(g, Seeding::LoopRule, [&](Rgb& o, const Rgb& c2, const Rgb& c3, int) {
    if (o.noValue())
      o = c2.noValue() ? kNoValue : c2;  // input 2 passes whole
    else if (!c2.noValue())
      o = toward(o, c2, a);
    if (c3.noValue())
      return;
    // A working colour still without a value takes input 3 whole, as it
    // takes input 2: moving the marker part way gives no colour at all.
    o = o.noValue() ? c3 : toward(o, c3, b);
  });
}

void f33_packedalpha(gfunc* g)
{
  alphaMix(g, Seeding::LoopRule);
}

void f33_memPackedalpha(gfunc* g)
{
  alphaMix(g, Seeding::FirstPassOnly);
}

void f33_packedadd(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  composite(g, Seeding::LoopRule, [&](Rgb& o, const Rgb& c2, const Rgb& c3, int) {
    if (o.noValue() && c2.noValue() && c3.noValue()) {
      o = kNoValue;
      return;
    }
    Rgb sum = kBlack;
    if (!o.noValue())
      sum = sum + a * o;
    if (!c2.noValue())
      sum = sum + b * c2;
    if (!c3.noValue())
      sum = sum + c * c3;
    o = sum;
  });
}

void f33_packedmax(gfunc* g)
{
  const double levels[3] = {g->A, g->B, g->C};
  composite(g, Seeding::LoopRule, [&](Rgb& o, const Rgb& c2, const Rgb& c3, int) {
    for (int k = 0; k < 3; ++k) {
      const double values[3] = {o.c[k], c2.c[k], c3.c[k]};
      if (marked(values[0]) && marked(values[1]) && marked(values[2]))
        continue;
      double best = marked(values[0]) ? 0.0 : levels[0] * values[0];
      for (int in = 1; in < 3; ++in)
        best = std::max(best, marked(values[in]) ? 0.0 : levels[in] * values[in]);
      o.c[k] = best;
    }
  });
}

void f33_packedaddmul(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  composite(g, Seeding::LoopRule, [&](Rgb& o, const Rgb& c2, const Rgb& c3, int) {
    if (o.noValue() && c2.noValue() && c3.noValue()) {
      o = kNoValue;
      return;
    }
    o = addStep(o, c2, a, b);
    if (c3.noValue())
      return;
    o = o.noValue() ? c3 : multiplyStep(o, c3, c);
  });
}

void f33_packedmuladd(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  composite(g, Seeding::LoopRule, [&](Rgb& o, const Rgb& c2, const Rgb& c3, int) {
    if (o.noValue() && c2.noValue() && c3.noValue()) {
      o = kNoValue;
      return;
    }
    Rgb r = o.noValue() ? c2 : (c2.noValue() ? o : multiplyStep(a * o, c2, b));
    if (!c3.noValue())
      r = r.noValue() ? c * c3 : r + c * c3;
    o = r;
  });
}

// Input 2 where a 2D noise over the master plane rises above k0, input 3
// where it falls below -k0, moving there by how far it passes.
void f33_packedRndMix(gfunc* g)
{
  const double* k = f33_packedK(g);
  const double k0 = k[0], k1 = k[1], k2 = k[2], phase = g->B;
  const sfuncSystem* doc = g->doc;
  composite(g, Seeding::LoopRule, [&](Rgb& o, const Rgb& in2, const Rgb& in3, int i) {
    if (o.noValue()) {
      o = kNoValue;
      return;
    }
    const double v = doc != nullptr
                         ? k1 * fPerlinNoise2D(&doc->tables, k2 * doc->master[0][i] + phase,
                                               k2 * doc->master[1][i])
                         : 0.0;
    const Rgb c2 = in2.noValue() ? kBlack : in2;
    const Rgb c3 = in3.noValue() ? kBlack : in3;
    const double d = v - k0;
    const double e = -v - k0;
    if (d > 0)
      o = toward(o, c2, std::min(d, 1.0));
    else if (e > 0)
      o = toward(o, c3, std::min(e, 1.0));
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f33_packedlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_packedlerp, g, msg, a, b, c);
}

int16_t f33_packedalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_packedalpha, g, msg, a, b, c);
}

int16_t f33_packedadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_packedadd, g, msg, a, b, c);
}

int16_t f33_packedmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_packedmax, g, msg, a, b, c);
}

int16_t f33_packedaddmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_packedaddmul, g, msg, a, b, c);
}

int16_t f33_packedmuladd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_packedmuladd, g, msg, a, b, c);
}

int16_t f33_packedRndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_packedRndMix, g, msg, a, b, c);
}

int16_t f33_memPackedalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_memPackedalpha, g, msg, a, b, c);
}
