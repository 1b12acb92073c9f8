#include "components/f34/f34_textures.h"

#include <algorithm>
#include <cmath>

#include "components/f34/f34_pvt.h"
#include "components/f34/f34_texturebodies.h"

namespace {

using f34body::S;

F34textureConsts& consts(gfunc* g)
{
  return privateArea<F34textureConsts>(g);
}

// The document's fractal record as this batch drives it: a copy, so that
// p1, p2 and the table pointer stay with this member.
fractalsinfos batchRecord(gfunc* g, double p1, double p2, const double* table)
{
  fractalsinfos F = g->doc->fractal;
  F.tables = &g->doc->tables;
  F.paramA = p1;
  F.paramB = p2;
  if (table != nullptr)
    F.nodeParams = table;
  return F;
}

// Where a body keeps its colour and value.
enum class Order
{
  RGBv,
  vRGB,
};

struct Sample
{
  double r, g, b, value;
};

Sample unpack(const dvector4d& acc, Order order)
{
  return order == Order::RGBv ? Sample{acc.x, acc.y, acc.z, acc.w}
                              : Sample{acc.y, acc.z, acc.w, acc.x};
}

// How w comes from the value.
enum class Finish
{
  Scaled,  // k0 · value
  Silex,   // k0 · (v + k3 (q - v)), q = (k4 + v)^2, 0 below 0
};

// One texture over the point: its body, the accumulator order, P = pPerB·B +
// pBase, the gain (k[gainK] when gainK >= 0), the band limit in pixel
// scales, and the use of the colour table.
struct TextureRow
{
  FractalOctaveProcRecord4 body;
  Order order;
  double pPerB, pBase;
  double gain;
  int gainK;
  bool table;
  Finish finish;
};

F34out finish(const F34textureConsts& k, const TextureRow& row, const Sample& s)
{
  double w = k.k[0] * s.value;
  if (row.finish == Finish::Silex) {
    const double base = k.k[4] + s.value;
    const double q = base >= 0 ? base * base : 0.0;
    w = k.k[0] * (s.value + k.k[3] * (q - s.value));
  }
  return {8 * s.r, 8 * s.g, 8 * s.b, w};
}

void textureFrame(gfunc* g, const TextureRow& row)
{
  const F34textureConsts& k = consts(g);
  const int n = KV_batchLength();
  if (f34_sourceMasked(g))
    return f34_fill(g, n, kF34noValue);
  fractalsinfos F =
      batchRecord(g, k.k[1], g->doc->fractal.paramB, row.table ? &k.table[0][0] : nullptr);
  const double P = row.pPerB * g->B + row.pBase;
  const double gain = row.gainK >= 0 ? k.k[row.gainK] : row.gain;
  const double fmax = 0.5 * g->doc->yPixelScale;
  const F34batch b = f34_batch(g);
  f34_eachSample(g, b, kF34noValue, [&](double x, double y, double z, int) {
    dvector4d acc;
    MFPV4d_procptr(&F, row.body, x, y, z, 0.0, P, k.k[2], fmax, gain, &acc);
    return finish(k, row, unpack(acc, row.order));
  });
}

// A "z" member: input 3 is a height h that fades the texture of (x, y) in
// by s = S(h/4); at or below 0 and at the marker the sample takes the
// member's resting value.
struct ZRow
{
  FractalOctaveProcRecord4 body;
  Order order;
  double gain;
  bool p2FromK1;     // p2 = s · k1
  bool valueTimesS;  // value := s · value after the driver
  Sample resting;
};

void zFrame(gfunc* g, const ZRow& row)
{
  const F34textureConsts& k = consts(g);
  const double fmax = 0.5 * g->doc->yPixelScale, P = g->B;
  const F34batch b = f34_batch(g);
  fractalsinfos F = batchRecord(g, 0, g->doc->fractal.paramB, nullptr);
  for (int i = 0; i < b.n; ++i) {
    const double h = b.z[i];
    Sample s = row.resting;
    if (h > 0 && h < gINFINITY) {
      const double fadeIn = S(h / 4);
      F.paramA = fadeIn;
      if (row.p2FromK1)
        F.paramB = fadeIn * k.k[1];
      dvector4d acc;
      MFPV4d_procptr(&F, row.body, b.x[i], b.y[i], 0.0, 0.0, P, k.k[2], fmax, row.gain, &acc);
      s = unpack(acc, row.order);
      if (row.valueTimesS)
        s.value *= fadeIn;
    }
    f34_store(g, i, {8 * s.r, 8 * s.g, 8 * s.b, k.k[0] * s.value});
  }
}

constexpr TextureRow kGranit{fp4granitrocks, Order::RGBv, 1, 0, 0, 3, true, Finish::Scaled};
constexpr TextureRow kSilex{fp4silexrocks, Order::RGBv, 1, 0, 0.45, -1, false, Finish::Silex};
constexpr TextureRow kMultifractal{fp4MF3dnoise, Order::vRGB, 2.5,   0.5,
                                   0.5,          -1,          false, Finish::Scaled};
constexpr TextureRow kPatchwork{fp4colorpatchwork, Order::vRGB, 1, 0, 0.6, -1, false,
                                Finish::Scaled};
constexpr TextureRow kLunar{fp4lunarrock, Order::vRGB, 1, 0, 0.5, -1, false, Finish::Scaled};

constexpr ZRow kZMultifractal{fp4zMFnoise, Order::RGBv, 0.6, true, false, {0.5, 0.5, 0.5, 0}};
constexpr ZRow kZFiberrock{fpfibrousrock, Order::vRGB, 0.5, false, true, {0.25, 0.25, 0.25, 0}};
constexpr ZRow kZGrainrock{fpZgrainrock, Order::vRGB, 0.5, false, false, {0.25, 0.25, 0.25, 0}};

constexpr double kGranitTable[5][3] = {
    {0, 0, 0}, {0.3, 0.35, 0.4}, {0.38, 0.41, 0.42}, {0.46, 0.46, 0.47}, {0.6, 0.55, 0.5}};

void setK(gfunc* g, double k0, double k1, double k2)
{
  F34textureConsts& k = consts(g);
  k.k[0] = k0;
  k.k[1] = k1;
  k.k[2] = k2;
}

}  // namespace

// ---- Message 8 ----------------------------------------------------------------------

void f34_granitrocks_prepare(gfunc* g)
{
  setK(g, -0.5 * g->A, -0.025 * g->A - 0.15, g->C);
  consts(g).k[3] = 0.05 * g->B + 0.41;
  std::copy(&kGranitTable[0][0], &kGranitTable[0][0] + 15, &consts(g).table[0][0]);
}

void f34_Silexnoise_prepare(gfunc* g)
{
  setK(g, 2 * g->A, 0.017 * g->A, g->C / 8);
  consts(g).k[3] = 0.95 - 0.2 * g->B;
  consts(g).k[4] = 0.5 * g->B + 0.5;
}

void f34_multifractal_prepare(gfunc* g)
{
  setK(g, 2 * g->A, 0.01 * g->A + 0.05, std::max(g->C / 8, 1e-7));
}

void f34_colorpatches_prepare(gfunc* g)
{
  setK(g, 0.5 * g->A, 0.05 * g->A + 0.05, 0.5 * g->C);
}

void f34_lunarrock_prepare(gfunc* g)
{
  setK(g, 2 * g->A, f34body::softClamp(g->A / 14), g->C / 8);
}

void f34_zmultifractal_prepare(gfunc* g)
{
  setK(g, g->A, (0.08 * g->A + 0.08) / 512, g->C / 8);
}

void f34_zfiberrock_prepare(gfunc* g)
{
  setK(g, g->A, consts(g).k[1], g->C);
}

void f34_zgrainrock_prepare(gfunc* g)
{
  setK(g, 0.5 * g->A, consts(g).k[1], g->C);
}

// ---- Computes -----------------------------------------------------------------------

void f34_granitrocks(gfunc* g)
{
  textureFrame(g, kGranit);
}

void f34_Silexnoise(gfunc* g)
{
  textureFrame(g, kSilex);
}

void f34_multifractal(gfunc* g)
{
  textureFrame(g, kMultifractal);
}

void f34_colorpatches(gfunc* g)
{
  textureFrame(g, kPatchwork);
}

void f34_lunarrock(gfunc* g)
{
  textureFrame(g, kLunar);
}

void f34_zmultifractal(gfunc* g)
{
  zFrame(g, kZMultifractal);
}

void f34_zfiberrock(gfunc* g)
{
  zFrame(g, kZFiberrock);
}

void f34_zgrainrock(gfunc* g)
{
  zFrame(g, kZGrainrock);
}

// ---- Handlers -----------------------------------------------------------------------

int16_t f34_granitrocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_granitrocks, g, msg, a, b, c);
}

int16_t f34_Silexnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_Silexnoise, g, msg, a, b, c);
}

int16_t f34_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_multifractal, g, msg, a, b, c);
}

int16_t f34_colorpatches_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_colorpatches, g, msg, a, b, c);
}

int16_t f34_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_lunarrock, g, msg, a, b, c);
}

int16_t f34_zmultifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_zmultifractal, g, msg, a, b, c);
}

int16_t f34_zfiberrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_zfiberrock, g, msg, a, b, c);
}

int16_t f34_zgrainrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_zgrainrock, g, msg, a, b, c);
}
