#include "components/f24/f24_packed.h"

#include <algorithm>

#include "components/common/packed.h"
#include "components/common/packed_alpha.h"
#include "components/f24/f24_pvt.h"
#include "foundation/colormath.h"

namespace {

constexpr double M = gINFINITY;

// How an input's link is classified: a channel count of 1 or less is
// scalar, 2 is RGB, 3 is RGBA.
enum class Width
{
  Scalar,
  Rgb,
  Rgba
};

// One input of the batch, copied so that the outputs may be written while it
// is read: red, green, blue (a scalar's value in all three) and the fourth
// value that the members read as input 2's alpha: the fourth block of an
// RGBA link, else the red channel or the scalar value.
struct Colours
{
  Width width = Width::Scalar;
  double ch[4][kBatchCapacity];

  double alpha(int i) const { return ch[3][i]; }
};

Colours readColours(const gfunc* g, int k, int n)
{
  const KVpackedInput in = KV_packedInput(g, k);
  const double* alpha = KV_packedAlphaBlock(g, k, in);
  Colours c;
  if (in.packed)
    c.width = alpha != nullptr ? Width::Rgba : Width::Rgb;
  for (int ch = 0; ch < 3; ++ch)
    for (int i = 0; i < n; ++i)
      c.ch[ch][i] = in.at(ch, i);
  for (int i = 0; i < n; ++i)
    c.ch[3][i] = alpha != nullptr ? alpha[i] : c.ch[0][i];
  return c;
}

// Output 4 seeded from a scalar or RGB input 1 (an RGBA input 1 gives its
// fourth block).
enum class Seed4
{
  Zero,
  One,
  Level  // its red channel or scalar value
};

// Outputs 1 to 4 of the batch from input 1 times `gain`.
void seed(gfunc* g, const Colours& in1, int n, Seed4 rule, double gain = 1)
{
  for (int i = 0; i < n; ++i) {
    for (int c = 0; c < 3; ++c)
      g->outputs[c][i] = gain * in1.ch[c][i];
    double fourth = rule == Seed4::Zero ? 0.0 : rule == Seed4::One ? 1.0 : in1.ch[0][i];
    if (in1.width == Width::Rgba)
      fourth = in1.ch[3][i];
    g->outputs[3][i] = gain * fourth;
  }
}

// The batch's two inputs; seeds the outputs unless the member accumulates
// over the passes of its loop.
struct Mix
{
  int n;
  Colours in1;
  Colours in2;
};

Mix startMix(gfunc* g, Seed4 rule, double gain = 1)
{
  Mix m;
  m.n = KV_batchLength();
  m.in1 = readColours(g, 0, m.n);
  m.in2 = readColours(g, 1, m.n);
  if (!KV_keepsLoopOutputs(g))
    seed(g, m.in1, m.n, rule, gain);
  return m;
}

// 0 below 0 (and for NaN), 1 above 1, else (3 - 2t) t^2.
double smoothstep(double t)
{
  if (!(t > 0))
    return 0;
  if (t > 1)
    return 1;
  return (3 - 2 * t) * t * t;
}

// Moves the colour of sample i toward colour i of `in` by w.
void blend(gfunc* g, int i, const Colours& in, double w)
{
  for (int c = 0; c < 3; ++c)
    g->outputs[c][i] += (in.ch[c][i] - g->outputs[c][i]) * w;
}

// Sample i takes input 2 whole.
void takeWhole(gfunc* g, int i, const Colours& in)
{
  for (int c = 0; c < 3; ++c)
    g->outputs[c][i] = in.ch[c][i];
  g->outputs[3][i] = in.alpha(i);
}

const double* K(gfunc* g)
{
  return f24_k(g).K;
}

}  // namespace

// ---- Message 8 ----------------------------------------------------------------

void f24_packedmax_prepare(gfunc* g)
{
  double* k = f24_k(g).K;
  k[0] = 2 * g->A;
  k[1] = -2 * g->A;
  k[3] = 8 * g->C;
  k[2] = k[3] < 0.0001 ? 10000 : 1 / k[3];
}

void f24_packedalpha_prepare(gfunc* g)
{
  f24_k(g).K[0] = -16 * g->A;
}

// k0, k1: the feather reciprocals; k2..k4: the background colour / 32.
void f24_packedacomp_prepare(gfunc* g)
{
  double* k = f24_k(g).K;
  k[0] = g->A < 0.0001 ? 2500 : 1 / (4 * g->A);
  k[1] = g->B < 0.0001 ? 2500 : 1 / (4 * g->B);
  normalcolor background[1];
  GetParam1DColorTable(background, g->C, 1);
  k[2] = background[0].red / 32.0;
  k[3] = background[0].green / 32.0;
  k[4] = background[0].blue / 32.0;
}

// ---- Computes -------------------------------------------------------------------

void f24_packedlerp(gfunc* g)
{
  const Mix m = startMix(g, Seed4::Zero);
  const double a = g->A;
  for (int i = 0; i < m.n; ++i) {
    if (m.in2.width != Width::Rgba) {
      blend(g, i, m.in2, a);
      continue;
    }
    const double a2 = m.in2.alpha(i);
    if (g->outputs[3][i] >= M) {
      takeWhole(g, i, m.in2);
    } else if (a2 < M) {
      g->outputs[3][i] += (a2 - g->outputs[3][i]) * a;
      blend(g, i, m.in2, a);
    }
  }
}

void f24_packedmax(gfunc* g)
{
  const Mix m = startMix(g, Seed4::Level);
  const double* k = K(g);
  const bool colours = !f24_altitudeOnly(g);
  const double follow = g->B;
  const bool feathered = g->C > 0;
  for (int i = 0; i < m.n; ++i) {
    double& out4 = g->outputs[3][i];
    const double level1 = (out4 < M ? out4 : -4.0) + k[0];
    const double a2 = m.in2.alpha(i);
    if (a2 >= M)
      continue;
    const double level2 = k[1] + a2 + follow * level1;
    double w = 0;
    if (feathered) {
      const double d = k[3] * 0.25 + level2 - level1;
      out4 = level1;
      if (d > 0) {
        const double t = d * k[2];
        w = t < 0.5 ? 2 * t : 1;
        out4 = t < 0.5 ? t * t * k[3] + level1 : level2;
      }
    } else {
      w = level2 > level1 ? 1 : 0;
      out4 = level2 > level1 ? level2 : level1;
    }
    if (colours && w > 0)
      blend(g, i, m.in2, w);
  }
}

void f24_packedalpha(gfunc* g)
{
  const Mix m = startMix(g, Seed4::One);
  const double k0 = K(g)[0];
  const bool colours = !f24_altitudeOnly(g);
  for (int i = 0; i < m.n; ++i) {
    // Only an alpha below the marker mixes: a NaN alpha leaves the sample
    // as it is too, rather than turning output 4 into NaN.
    const double a2 = m.in2.alpha(i);
    if (!(a2 < M))
      continue;
    const double w = a2 >= 4.0 ? 1.0 : smoothstep((a2 - k0) / (4 - k0));
    double& out4 = g->outputs[3][i];
    out4 += (a2 + (4 - a2) * g->C + out4 * g->B - out4) * w;
    if (colours && w > 0)
      blend(g, i, m.in2, w);
  }
}

// Input 1 and then input 2 are composited over the outputs (the background
// when seeded), each over the whole batch.
void f24_packedacomp(gfunc* g)
{
  const int n = KV_batchLength();
  const Colours in1 = readColours(g, 0, n);
  const Colours in2 = readColours(g, 1, n);
  const double* k = K(g);
  if (!KV_keepsLoopOutputs(g)) {
    for (int i = 0; i < n; ++i) {
      for (int c = 0; c < 3; ++c)
        g->outputs[c][i] = k[2 + c];
      g->outputs[3][i] = 0.0;
    }
  }
  const bool colours = !f24_altitudeOnly(g);
  for (int i = 0; i < n; ++i) {
    if (in1.ch[0][i] >= M)
      continue;
    const double w = smoothstep(in1.width == Width::Rgba ? in1.ch[3][i] * k[0] : k[0]);
    g->outputs[3][i] += (4 - g->outputs[3][i]) * w;
    if (colours && w > 0)
      blend(g, i, in1, w);
  }
  for (int i = 0; i < n; ++i) {
    if (in2.ch[0][i] >= M)
      continue;
    const double a2 = in2.alpha(i);
    const double w = smoothstep(a2 * k[1]);
    const double target = a2 > 0 ? a2 + 4 : 4;
    g->outputs[3][i] += (target - g->outputs[3][i]) * w;
    if (colours && w > 0)
      blend(g, i, in2, w);
  }
}

void f24_packedadd(gfunc* g)
{
  const Mix m = startMix(g, Seed4::Zero, g->A);
  const double b = g->B;
  const bool colours = !f24_altitudeOnly(g);
  for (int i = 0; i < m.n; ++i) {
    if (m.in2.width != Width::Rgba) {
      for (int c = 0; c < 3; ++c)
        g->outputs[c][i] += b * m.in2.ch[c][i];
      continue;
    }
    const double a2 = m.in2.alpha(i);
    if (a2 >= M)
      continue;
    g->outputs[3][i] += b * a2;
    if (colours)
      for (int c = 0; c < 3; ++c)
        g->outputs[c][i] = std::max(0.0, g->outputs[c][i] + b * m.in2.ch[c][i]);
  }
}

void f24_packedmul(gfunc* g)
{
  const Mix m = startMix(g, Seed4::Zero);
  const double a = g->A, b = g->B, cOffset = g->C;
  const bool colours = !f24_altitudeOnly(g);
  for (int i = 0; i < m.n; ++i) {
    double& out4 = g->outputs[3][i];
    if (m.in2.width == Width::Scalar) {
      const double v = m.in2.ch[0][i] >= M ? 0.0 : m.in2.ch[0][i];
      const double w = smoothstep(v + cOffset);
      out4 = (b + out4) * w;
      if (colours)
        for (int c = 0; c < 3; ++c)
          g->outputs[c][i] *= w;
    } else if (m.in2.width == Width::Rgba) {
      const double a2 = m.in2.alpha(i);
      if (a2 >= M)
        continue;
      const double s = b + out4;
      out4 = s > 0 ? s * 0.25 * (a2 + cOffset) : s * 0.25 * cOffset;
      const double w = a * out4;
      if (colours && w > 0)
        blend(g, i, m.in2, std::min(w, 1.0));
    } else if (colours) {
      blend(g, i, m.in2, a);
    }
  }
}

void f24_packedMIN(gfunc* g)
{
  const Mix m = startMix(g, Seed4::Zero);
  for (int i = 0; i < m.n; ++i)
    if (g->outputs[3][i] > m.in2.alpha(i))
      takeWhole(g, i, m.in2);
}

// ---- Handlers -------------------------------------------------------------------

int16_t f24_packedlerp_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_packedlerp, g, m, a, b, c);
}
int16_t f24_packedmax_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_packedmax, g, m, a, b, c);
}
int16_t f24_packedalpha_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_packedalpha, g, m, a, b, c);
}
int16_t f24_packedacomp_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_packedacomp, g, m, a, b, c);
}
int16_t f24_packedadd_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_packedadd, g, m, a, b, c);
}
int16_t f24_packedmul_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_packedmul, g, m, a, b, c);
}
int16_t f24_packedMIN_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  if (m != kMsgDisplayName && m != kMsgDefaults)
    return 0;
  return KV_memberHandler(kF24_packedMIN, g, m, a, b, c);
}
