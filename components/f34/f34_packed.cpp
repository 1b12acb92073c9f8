#include "components/f34/f34_packed.h"

#include <array>

#include "components/common/packed.h"
#include "components/common/packed_alpha.h"
#include "components/f34/f34_pvt.h"
#include "engine/palettelookups.h"

namespace {

constexpr double kTinyFeather = 0.0001;
constexpr double kHardFeather = 2500.0;      // 1/(4A) for a feather below kTinyFeather
constexpr double kHardMaxFeather = 10000.0;  // 1/F of Packed Max for F below kTinyFeather
constexpr double kFullLevel = 4.0;           // the level of an opaque colour

bool marked(double v)
{
  return v >= gINFINITY;
}

double smoothStep(double t)
{
  if (t < 0)
    return 0;
  if (t > 1)
    return 1;
  return (3 - 2 * t) * t * t;
}

// One input of the batch copied out of its link: the width (1 scalar, 2 RGB,
// 3 RGBA) and R, G, B and, for width 3, alpha per sample. Copied first so that
// writing the outputs never changes what an input reads.
struct PackedBatch
{
  int width = 1;
  std::array<std::array<double, kBatchCapacity>, 4> ch{};

  double red(int i) const { return ch[0][i]; }
  double mean(int i) const { return (ch[0][i] + ch[1][i] + ch[2][i]) / 3; }
  bool hasAlpha() const { return width == 3; }
  double alphaOr(int i, double substitute) const { return hasAlpha() ? ch[3][i] : substitute; }
};

PackedBatch readPacked(const gfunc* g, int k, int n)
{
  const KVpackedInput in = KV_packedInput(g, k);
  PackedBatch p;
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < n; ++i)
      p.ch[c][i] = in.at(c, i);
  const double* alpha = KV_packedAlphaBlock(g, k, in);
  p.width = alpha != nullptr ? 3 : (in.packed ? 2 : 1);
  if (alpha != nullptr)
    for (int i = 0; i < n; ++i)
      p.ch[3][i] = alpha[i];
  return p;
}

// R, G, B, w of one output sample.
struct Px
{
  double c[4];
};

Px outputAt(const gfunc* g, int i)
{
  return {{g->outputs[0][i], g->outputs[1][i], g->outputs[2][i], g->outputs[3][i]}};
}

void storeAt(gfunc* g, int i, const Px& o)
{
  for (int c = 0; c < 4; ++c)
    g->outputs[c][i] = o.c[c];
}

// R, G, B move toward input `in` by s.
void moveColour(Px& o, const PackedBatch& in, int i, double s)
{
  for (int c = 0; c < 3; ++c)
    o.c[c] += (in.ch[c][i] - o.c[c]) * s;
}

// ---- Step 1: the start from input 1 -------------------------------------------------

// What w starts from when input 1 has no alpha.
enum class Seed
{
  ScalarElseZero,  // the scalar; 0 for an RGB colour
  Mean,            // (R + G + B) / 3, the scalar itself for a scalar
  Red,             // R, the scalar itself for a scalar
  One,             // 1.0 whatever the width
};

// When the batch starts from input 1 rather than from the previous pass.
enum class Restart
{
  LoopRule,       // unless a loop pass keeps the outputs
  FirstPassOnly,  // only while the owner's iteration counter is 0
  Always,
};

bool restarts(const gfunc* g, Restart rule)
{
  switch (rule) {
    case Restart::LoopRule:
      return !KV_keepsLoopOutputs(g);
    case Restart::FirstPassOnly:
      return g->owner == nullptr || g->owner->iteration == 0;
    case Restart::Always:
      return true;
  }
  return true;
}

double seedLevel(const PackedBatch& in, int i, Seed seed)
{
  if (in.hasAlpha())
    return in.ch[3][i];
  switch (seed) {
    case Seed::ScalarElseZero:
      return in.width == 1 ? in.red(i) : 0.0;
    case Seed::Mean:
      return in.mean(i);
    case Seed::Red:
      return in.red(i);
    case Seed::One:
      return 1.0;
  }
  return 0.0;
}

void startFromInput1(gfunc* g, const PackedBatch& in1, int n, Seed seed, Restart rule)
{
  if (!restarts(g, rule))
    return;
  for (int i = 0; i < n; ++i)
    storeAt(g, i, {{in1.ch[0][i], in1.ch[1][i], in1.ch[2][i], seedLevel(in1, i, seed)}});
}

// The three inputs of a batch, read before any output is written.
struct Inputs
{
  int n;
  PackedBatch in[3];
};

Inputs readInputs(const gfunc* g)
{
  Inputs b;
  b.n = KV_batchLength();
  for (int k = 0; k < 3; ++k)
    b.in[k] = readPacked(g, k, b.n);
  return b;
}

// Starts from input 1 by `seed` and `rule`, then step(o, i) per sample.
template <class Step>
void composite(gfunc* g, Seed seed, Restart rule, Step step)
{
  const Inputs b = readInputs(g);
  startFromInput1(g, b.in[0], b.n, seed, rule);
  for (int i = 0; i < b.n; ++i) {
    Px o = outputAt(g, i);
    step(o, b, i);
    storeAt(g, i, o);
  }
}

const F34packedConsts& consts(const gfunc* g)
{
  return privateArea<F34packedConsts>(g);
}

// ---- Step 2 of the members -------------------------------------------------------

void zBlend(gfunc* g, Restart rule)
{
  const double k0 = consts(g).k[0], offset = g->B;
  const bool colour = !f34_altitudeOnly(g);
  composite(g, Seed::ScalarElseZero, rule, [&](Px& o, const Inputs& b, int i) {
    const double z = b.in[2].red(i);
    const double s = marked(z) ? 0.0 : smoothStep(z * k0 + offset);
    o.c[3] += (b.in[1].alphaOr(i, kFullLevel) - o.c[3]) * s;
    if (colour && s > 0)
      moveColour(o, b.in[1], i, s);
  });
}

// The weight of a feathered maximum: d is how far the new level passes the
// join point's start; t = d / F.
struct SmoothMax
{
  double w;
  double s;
};

// The smooth maximum of two levels with feather F (1/F = invF); F not above 0
// picks the higher level outright (input 1 on a tie).
SmoothMax smoothMax(double level1, double level2, double feather, double invF)
{
  if (!(feather > 0))
    return level2 > level1 ? SmoothMax{level2, 1} : SmoothMax{level1, 0};
  const double d = feather / 4 + level2 - level1;
  if (d <= 0)
    return {level1, 0};
  const double t = d * invF;
  if (t < 0.5)
    return {level1 + t * t * feather, 2 * t};
  return {level2, 1};
}

// Multiplies the sample by input `in` at strength `level`.
void multiplyBy(Px& o, const PackedBatch& in, int i, double level, bool colour)
{
  const double s = marked(in.red(i)) ? 0.0 : level;
  const double l = in.alphaOr(i, in.red(i));
  o.c[3] += (o.c[3] * l - o.c[3]) * s;
  if (colour && s > 0)
    for (int c = 0; c < 3; ++c)
      o.c[c] += (in.ch[c][i] * 0.25 * o.c[c] - o.c[c]) * s;
}

// Adds input `in` at strength `level`; w takes l·level even from a marked
// input, whose colour stays out.
void addInput(Px& o, const PackedBatch& in, int i, double level, bool colour)
{
  const double l = in.alphaOr(i, in.red(i));
  const double s = marked(in.red(i)) ? 0.0 : smoothStep(l) * level;
  o.c[3] += l * level;
  if (colour && s > 0)
    for (int c = 0; c < 3; ++c)
      o.c[c] += s * in.ch[c][i];
}

}  // namespace

void f34_zBlend_prepare(gfunc* g)
{
  privateArea<F34packedConsts>(g).k[0] = g->A < kTinyFeather ? kHardFeather : 1 / (4 * g->A);
}

void f34_packedzMax_prepare(gfunc* g)
{
  F34packedConsts& k = privateArea<F34packedConsts>(g);
  k.k[1] = 8 * g->B;
  if (k.k[1] > 0)
    k.k[2] = 1 / k.k[1];
}

void f34_packedmax_prepare(gfunc* g)
{
  F34packedConsts& k = privateArea<F34packedConsts>(g);
  k.k[0] = 2 * g->A;
  k.k[1] = -2 * g->A;
  k.k[3] = 8 * g->C;
  k.k[2] = k.k[3] < kTinyFeather ? kHardMaxFeather : 1 / k.k[3];
}

void f34_packedacomp_prepare(gfunc* g)
{
  F34packedConsts& k = privateArea<F34packedConsts>(g);
  k.k[0] = g->A < kTinyFeather ? kHardFeather : 1 / (4 * g->A);
  k.k[1] = g->B < kTinyFeather ? kHardFeather : 1 / (4 * g->B);
  k.table[0] = normalcolor{};
  GetParam1DColorTable(k.table, g->C, 1);
  k.background[0] = k.table[0].red / 32.0;
  k.background[1] = k.table[0].green / 32.0;
  k.background[2] = k.table[0].blue / 32.0;
}

void f34_packedzBlend(gfunc* g)
{
  zBlend(g, Restart::LoopRule);
}

void f34_memPackzBlend(gfunc* g)
{
  zBlend(g, Restart::FirstPassOnly);
}

void f34_packedzMax(gfunc* g)
{
  const double feather = consts(g).k[1], invF = consts(g).k[2], a = g->A;
  const bool colour = !f34_altitudeOnly(g);
  composite(g, Seed::Mean, Restart::LoopRule, [&](Px& o, const Inputs& b, int i) {
    const double bias = a + b.in[2].red(i);
    const double level1 = o.c[3] - bias;
    const double level2 = b.in[1].alphaOr(i, b.in[1].mean(i));
    double s;
    if (feather > 0) {
      const double d = feather / 4 + (level2 + bias) - level1;
      const double t = d * invF;
      s = d <= 0 ? 0.0 : (t < 0.5 ? 2 * t : 1.0);
    } else {
      s = level1 < level2 + bias ? 1.0 : 0.0;
    }
    o.c[3] += (level2 - o.c[3]) * s;
    if (colour && s > 0)
      moveColour(o, b.in[1], i, s);
  });
}

void f34_packedlerp(gfunc* g)
{
  const double a = g->A, bAmount = g->B;
  auto toward = [](Px& o, const PackedBatch& in, int i, double t) {
    if (!(t > 0))
      return;
    moveColour(o, in, i, t);
    o.c[3] += (in.alphaOr(i, in.red(i)) - o.c[3]) * t;
  };
  composite(g, Seed::Mean, Restart::LoopRule, [&](Px& o, const Inputs& b, int i) {
    toward(o, b.in[1], i, a);
    toward(o, b.in[2], i, bAmount);
  });
}

void f34_packedmax(gfunc* g)
{
  const F34packedConsts& k = consts(g);
  const double bLevel = g->B;
  const bool colour = !f34_altitudeOnly(g);
  composite(g, Seed::Red, Restart::LoopRule, [&](Px& o, const Inputs& b, int i) {
    const PackedBatch &in2 = b.in[1], &in3 = b.in[2];
    const double level2 = in2.alphaOr(i, in2.red(i));
    if (!marked(level2)) {
      const double level1 = (marked(o.c[3]) ? -kFullLevel : o.c[3]) + k.k[0];
      const SmoothMax m = smoothMax(level1, level2 + k.k[1], k.k[3], k.k[2]);
      o.c[3] = m.w;
      if (colour && m.s > 0)
        moveColour(o, in2, i, m.s);
    }
    const double level3 = in3.alphaOr(i, in3.mean(i));
    if (!marked(level3)) {
      const double current = marked(o.c[3]) ? -kFullLevel : o.c[3];
      const SmoothMax m = smoothMax(current, level3 + bLevel, k.k[3], k.k[2]);
      o.c[3] = m.w;
      if (colour && m.s > 0)
        moveColour(o, in3, i, m.s);
    }
  });
}

void f34_packedacomp(gfunc* g)
{
  const F34packedConsts& k = consts(g);
  const bool colour = !f34_altitudeOnly(g);
  const Inputs b = readInputs(g);
  if (!KV_keepsLoopOutputs(g))
    for (int i = 0; i < b.n; ++i)
      storeAt(g, i, {{k.background[0], k.background[1], k.background[2], 0.0}});
  for (int i = 0; i < b.n; ++i) {
    Px o = outputAt(g, i);
    for (int n = 0; n < 3; ++n) {
      const PackedBatch& in = b.in[n];
      if (marked(in.red(i)))
        continue;
      const double level = in.alphaOr(i, in.red(i));
      const double s = smoothStep(level * (n < 2 ? k.k[0] : k.k[1]));
      const double target = n > 0 && level > 0 ? level + kFullLevel : kFullLevel;
      o.c[3] += (target - o.c[3]) * s;
      if (colour && s > 0)
        moveColour(o, in, i, s);
    }
    storeAt(g, i, o);
  }
}

void f34_packedmuladd(gfunc* g)
{
  const double a = g->A, bLevel = g->B;
  const bool colour = !f34_altitudeOnly(g);
  composite(g, Seed::One, Restart::Always, [&](Px& o, const Inputs& b, int i) {
    multiplyBy(o, b.in[1], i, a, colour);
    addInput(o, b.in[2], i, bLevel, colour);
  });
}

void f34_packedaddmul(gfunc* g)
{
  const double a = g->A, bLevel = g->B;
  const bool colour = !f34_altitudeOnly(g);
  composite(g, Seed::One, Restart::Always, [&](Px& o, const Inputs& b, int i) {
    addInput(o, b.in[1], i, a, colour);
    multiplyBy(o, b.in[2], i, bLevel, colour);
  });
}

int16_t f34_packedzBlend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_packedzBlend, g, msg, a, b, c);
}

int16_t f34_packedzMax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_packedzMax, g, msg, a, b, c);
}

int16_t f34_packedlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_packedlerp, g, msg, a, b, c);
}

int16_t f34_packedmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_packedmax, g, msg, a, b, c);
}

int16_t f34_packedacomp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_packedacomp, g, msg, a, b, c);
}

int16_t f34_packedmuladd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_packedmuladd, g, msg, a, b, c);
}

int16_t f34_packedaddmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_packedaddmul, g, msg, a, b, c);
}

int16_t f34_memPackzBlend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_memPackzBlend, g, msg, a, b, c);
}
