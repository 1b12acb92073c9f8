#include "components/f34/f34_textures.h"

#include <algorithm>
#include <cmath>

#include "components/f34/f34_pvt.h"
#include "components/f34/f34_texturebodies.h"
#include "engine/palettelookups.h"
#include "noise/bodies.h"
#include "noise/noises.h"

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
  Scaled,               // k0 · value
  LoweredWhenNegative,  // k0 · (value - 1) when k0 < 0, else k0 · value
  Silex,                // k0 · (v + k3 (q - v)), q = (k4 + v)^2, 0 below 0
  IceGradient,          // the colour pulled toward the table gradient at 4v
  Bubbles,  // colour pulled to row 3 by (1.85v + 0.25)^2; w = k0 v, (v - 0.33) k0 below 0
  Lava,     // colour times k0; w = (v + 0.25) k1
};

// Which driver runs the body and how.
enum class Driver
{
  FourValue,  // MFPV4d_procptr at (x, y, z)
  SwapMode1,  // MFPsw_procptr mode 1 at (x, y, z / 4)
  SwapMode2,  // MFPsw_procptr mode 2 at (x, y, z)
  Marble,     // a displacement pass, then the body at the displaced point
};

// The band limit fmax.
enum class Band
{
  HalfD,           // 0.5 D
  ThirdD,          // 0.333 D
  QuarterD,        // 0.25 D
  K1,              // k1
  K1OrHalfD,       // the smaller of k1 and 0.5 D
  K3OrQuarterD,    // the smaller of k3 and 0.25 D
  LavaOrQuarterD,  // the smaller of (7.5 B + 1) k2 and 0.25 D
};

// What p1 and p2 of the record are for the batch.
enum class Param
{
  Keep,  // the document's value
  K1,
  K3,
  OnePlusB,    // 1 + B
  RidgeNoise,  // fUnitPerlinNoise3D(0.023 (x, y, z)), per sample
};

// The record's settings that differ from the document's for this member.
enum class Settings
{
  Document,
  NoRotation,         // rotation sine 0
  IceLacunarity,      // lacunarity 1.857, fade 0.46149703823371024
  FracturedRotation,  // sine 0.965925826289, cosine 0.258819045103
  Lava,               // as IceLacunarity, and rotation sine 0
};

// One texture over the point: its body, the accumulator order, P = pPerB·B +
// pBase, the gain (k[gainK] when gainK >= 0), and how the rest of the call
// and the outputs are made.
struct TextureRow
{
  FractalOctaveProcRecord4 body;
  Order order;
  double pPerB, pBase;
  double gain;
  int gainK;
  bool table;
  Finish finish;
  Driver driver = Driver::FourValue;
  Band band = Band::HalfD;
  Param p1 = Param::K1;
  Param p2 = Param::Keep;
  Settings settings = Settings::Document;
  double colourScale = 8;
  int pFromK = -1;  // P = k[pFromK] when >= 0
  // Fills the value alone in the altitude-only pass (the colour is 0).
  FractalOctaveProcRecord1 reliefBody = nullptr;
};

double paramValue(Param p, const F34textureConsts& k, double b, double keep)
{
  switch (p) {
    case Param::K1:
      return k.k[1];
    case Param::K3:
      return k.k[3];
    case Param::OnePlusB:
      return 1 + b;
    case Param::Keep:
    case Param::RidgeNoise:
      return keep;
  }
  return keep;
}

double bandLimit(Band band, const F34textureConsts& k, double D, double b)
{
  switch (band) {
    case Band::K3OrQuarterD:
      return std::min(k.k[3], 0.25 * D);
    case Band::LavaOrQuarterD:
      return std::min((7.5 * b + 1) * k.k[2], 0.25 * D);
    case Band::HalfD:
      return 0.5 * D;
    case Band::ThirdD:
      return 0.333 * D;
    case Band::QuarterD:
      return 0.25 * D;
    case Band::K1:
      return k.k[1];
    case Band::K1OrHalfD:
      return std::min(k.k[1], 0.5 * D);
  }
  return 0.5 * D;
}

void applySettings(Settings settings, fractalsinfos& F)
{
  switch (settings) {
    case Settings::Document:
      return;
    case Settings::NoRotation:
      F.rotSin = 0.0;
      return;
    case Settings::Lava:
      F.rotSin = 0.0;
      [[fallthrough]];
    case Settings::IceLacunarity:
      F.lacunarity = 1.857;
      F.fade = 0.46149703823371024;
      return;
    case Settings::FracturedRotation:
      F.rotSin = 0.965925826289;
      F.rotCos = 0.258819045103;
      return;
  }
}

F34out finish(const F34textureConsts& k, const TextureRow& row, Sample s)
{
  double w = k.k[0] * s.value;
  switch (row.finish) {
    case Finish::Scaled:
      break;
    case Finish::LoweredWhenNegative:
      if (k.k[0] < 0)
        w = k.k[0] * (s.value - 1);
      break;
    case Finish::Silex: {
      const double base = k.k[4] + s.value;
      const double q = base >= 0 ? base * base : 0.0;
      w = k.k[0] * (s.value + k.k[3] * (q - s.value));
      break;
    }
    case Finish::IceGradient: {
      double c[3];
      fcolorvectorgradient(&k.table[0][0], 4, 4 * s.value, &c[0], &c[1], &c[2]);
      s.r = c[0] + (s.r - c[0]) * 0.66;
      s.g = c[1] + (s.g - c[1]) * 0.66;
      s.b = c[2] + (s.b - c[2]) * 0.66;
      break;
    }
    case Finish::Bubbles: {
      const double t = std::clamp((1.85 * s.value + 0.25) * (1.85 * s.value + 0.25), 0.0, 1.0);
      const double* row3 = k.table[3];
      s.r += (row3[0] - s.r) * t;
      s.g += (row3[1] - s.g) * t;
      s.b += (row3[2] - s.b) * t;
      w = k.k[0] >= 0 ? k.k[0] * s.value : (s.value - 0.33) * k.k[0];
      break;
    }
    case Finish::Lava:
      return {k.k[0] * s.r, k.k[0] * s.g, k.k[0] * s.b, (s.value + 0.25) * k.k[1]};
  }
  const double cs = row.colourScale;
  return {cs * s.r, cs * s.g, cs * s.b, w};
}

Sample drive(fractalsinfos& F, const TextureRow& row, const F34textureConsts& k, double x, double y,
             double z, double P, double fmax, double gain, double b)
{
  if (row.reliefBody != nullptr && F.reliefPass != 0) {
    double value = 0;
    MFPswscalarA2_procptr(&F, row.reliefBody, x, y, z, P, k.k[2], fmax, gain, &value);
    return {0, 0, 0, value};
  }
  dvector4d acc;
  switch (row.driver) {
    case Driver::FourValue:
      MFPV4d_procptr(&F, row.body, x, y, z, 0.0, P, k.k[2], fmax, gain, &acc);
      break;
    case Driver::SwapMode1:
      MFPsw_procptr(&F, row.body, x, y, z / 4, 1, P, k.k[2], fmax, gain, &acc);
      break;
    case Driver::SwapMode2:
      MFPsw_procptr(&F, row.body, x, y, z, 2, P, k.k[2], fmax, gain, &acc);
      break;
    case Driver::Marble: {
      MFPV4d_procptr(&F, fpMFdisplace3D, x, y, z, 0.0, P, k.k[2], fmax, gain, &acc);
      const double d = 0.5 + 0.75 * b;
      MFPV4d_procptr(&F, row.body, x + d * acc.x, y + d * acc.y, z + d * acc.z, 0.0, P, k.k[2] / 4,
                     fmax, gain, &acc);
      break;
    }
  }
  return unpack(acc, row.order);
}

void textureFrame(gfunc* g, const TextureRow& row)
{
  const F34textureConsts& k = consts(g);
  const int n = KV_batchLength();
  if (f34_sourceMasked(g))
    return f34_fill(g, n, kF34noValue);
  const fractalsinfos& doc = g->doc->fractal;
  fractalsinfos F =
      batchRecord(g, paramValue(row.p1, k, g->B, doc.paramA),
                  paramValue(row.p2, k, g->B, doc.paramB), row.table ? &k.table[0][0] : nullptr);
  applySettings(row.settings, F);
  const double P = row.pFromK >= 0 ? k.k[row.pFromK] : row.pPerB * g->B + row.pBase;
  const double gain = row.gainK >= 0 ? k.k[row.gainK] : row.gain;
  const double fmax = bandLimit(row.band, k, g->doc->yPixelScale, g->B);
  const F34batch b = f34_batch(g);
  const KVtables* t = f34_tables(g);
  f34_eachSample(g, b, kF34noValue, [&](double x, double y, double z, int) {
    if (row.p2 == Param::RidgeNoise)
      F.paramB = fUnitPerlinNoise3D(t, 0.023 * x, 0.023 * y, 0.023 * z);
    return finish(k, row, drive(F, row, k, x, y, z, P, fmax, gain, g->B));
  });
}

// A "z" member: input 3 is a height h that fades the texture of (x, y) in
// by s = S(h/4); at or below 0 and at the marker the sample takes the
// member's resting value.
// What a z member does after the driver, and where it rests.
enum class ZKind
{
  Plain,
  FadedValue,  // value := s · value after the driver
  Bushes,      // value := s (value + 1) - 1 when s < 1; the rest sinks with h; w = k0 (v + 0.5)
};

struct ZRow
{
  FractalOctaveProcRecord4 body;
  Order order;
  double gain;
  bool p2FromK1;  // p2 = s · k1
  ZKind kind;
  Sample resting;
};

// The bushes' resting value below the fade: -1 less the bend of h/4.
Sample bushesResting(double h)
{
  return {1, 1, 0.75, -1 - f34body::bend(h / 4)};
}

void zFrame(gfunc* g, const ZRow& row)
{
  const F34textureConsts& k = consts(g);
  const double fmax = 0.5 * g->doc->yPixelScale, P = g->B;
  const F34batch b = f34_batch(g);
  fractalsinfos F = batchRecord(g, 0, g->doc->fractal.paramB, nullptr);
  for (int i = 0; i < b.n; ++i) {
    const double h = b.z[i];
    Sample s = row.kind == ZKind::Bushes ? bushesResting(h) : row.resting;
    if (h > 0 && h < gINFINITY) {
      const double fadeIn = S(h / 4);
      F.paramA = fadeIn;
      if (row.p2FromK1)
        F.paramB = fadeIn * k.k[1];
      dvector4d acc;
      MFPV4d_procptr(&F, row.body, b.x[i], b.y[i], 0.0, 0.0, P, k.k[2], fmax, row.gain, &acc);
      s = unpack(acc, row.order);
      if (row.kind == ZKind::FadedValue)
        s.value *= fadeIn;
      if (row.kind == ZKind::Bushes && fadeIn < 1)
        s.value = fadeIn * (s.value + 1) - 1;
    }
    const double level = row.kind == ZKind::Bushes ? s.value + 0.5 : s.value;
    f34_store(g, i, {8 * s.r, 8 * s.g, 8 * s.b, k.k[0] * level});
  }
}

constexpr TextureRow kGranit{fp4granitrocks, Order::RGBv, 1, 0, 0, 3, true, Finish::Scaled};
constexpr TextureRow kSilex{fp4silexrocks, Order::RGBv, 1, 0, 0.45, -1, false, Finish::Silex};
constexpr TextureRow kMultifractal{fp4MF3dnoise, Order::vRGB, 2.5,   0.5,
                                   0.5,          -1,          false, Finish::Scaled};
constexpr TextureRow kPatchwork{fp4colorpatchwork, Order::vRGB, 1, 0, 0.6, -1, false,
                                Finish::Scaled};
constexpr TextureRow kLunar{fp4lunarrock, Order::vRGB, 1, 0, 0.5, -1, false, Finish::Scaled};
constexpr TextureRow kRidged{.body = fp4ridged,
                             .order = Order::vRGB,
                             .pPerB = 1,
                             .pBase = 0,
                             .gain = 0.5,
                             .gainK = -1,
                             .table = false,
                             .finish = Finish::LoweredWhenNegative,
                             .p2 = Param::RidgeNoise};
constexpr TextureRow kRandomRects{.body = fpssharpminnoise,
                                  .order = Order::RGBv,
                                  .pPerB = 1,
                                  .pBase = 0,
                                  .gain = 0.5,
                                  .gainK = -1,
                                  .table = true,
                                  .finish = Finish::Scaled,
                                  .band = Band::K1,
                                  .p1 = Param::K3,
                                  .settings = Settings::NoRotation,
                                  .colourScale = 1.0 / 32};
constexpr TextureRow kFacetRocks{.body = fp4futur,
                                 .order = Order::RGBv,
                                 .pPerB = 0.5,
                                 .pBase = 0,
                                 .gain = 0.5,
                                 .gainK = -1,
                                 .table = true,
                                 .finish = Finish::Scaled,
                                 .band = Band::K1OrHalfD,
                                 .p1 = Param::Keep,
                                 .colourScale = 1.0 / 32};
constexpr TextureRow kIceCracks{.body = fp4icecracks,
                                .order = Order::RGBv,
                                .pPerB = 0,
                                .pBase = 0,
                                .gain = 0.5,
                                .gainK = -1,
                                .table = true,
                                .finish = Finish::IceGradient,
                                .driver = Driver::SwapMode1,
                                .band = Band::QuarterD,
                                .p1 = Param::OnePlusB,
                                .p2 = Param::K1,
                                .settings = Settings::IceLacunarity,
                                .pFromK = 3};
constexpr TextureRow kFracturedRocks{.body = fp4fracturedrocks,
                                     .order = Order::RGBv,
                                     .pPerB = 0,
                                     .pBase = 0,
                                     .gain = 0.5,
                                     .gainK = -1,
                                     .table = true,
                                     .finish = Finish::Scaled,
                                     .driver = Driver::SwapMode2,
                                     .band = Band::ThirdD,
                                     .settings = Settings::FracturedRotation,
                                     .pFromK = 3,
                                     .reliefBody = fp1fracturedrocks};
constexpr TextureRow kGreenMarble{.body = fp4greenmarble,
                                  .order = Order::vRGB,
                                  .pPerB = 1,
                                  .pBase = 0,
                                  .gain = 0.5,
                                  .gainK = -1,
                                  .table = false,
                                  .finish = Finish::LoweredWhenNegative,
                                  .driver = Driver::Marble};
constexpr TextureRow kLavaBubbles{.body = fp3dFBubbles,
                                  .order = Order::RGBv,
                                  .pPerB = 0,
                                  .pBase = 0.75,
                                  .gain = 0.75,
                                  .gainK = -1,
                                  .table = false,
                                  .finish = Finish::Lava,
                                  .band = Band::LavaOrQuarterD,
                                  .p1 = Param::Keep,
                                  .settings = Settings::Lava};
constexpr TextureRow kMultiBubbles{.body = fp4fractBubbles,
                                   .order = Order::RGBv,
                                   .pPerB = 0,
                                   .pBase = 0.95,
                                   .gain = 0.65,
                                   .gainK = -1,
                                   .table = true,
                                   .finish = Finish::Bubbles,
                                   .band = Band::K3OrQuarterD,
                                   .colourScale = 1};

constexpr ZRow kZMultifractal{fp4zMFnoise, Order::RGBv,  0.6,
                              true,        ZKind::Plain, {0.5, 0.5, 0.5, 0}};
constexpr ZRow kZFiberrock{fpfibrousrock, Order::vRGB,       0.5,
                           false,         ZKind::FadedValue, {0.25, 0.25, 0.25, 0}};
constexpr ZRow kZGrainrock{fpZgrainrock, Order::vRGB,  0.5,
                           false,        ZKind::Plain, {0.25, 0.25, 0.25, 0}};
constexpr ZRow kZBushes{fp4zBushes, Order::vRGB, 0.5, false, ZKind::Bushes, {}};

using Table = double[5][3];
constexpr Table kGranitTable = {
    {0, 0, 0}, {0.3, 0.35, 0.4}, {0.38, 0.41, 0.42}, {0.46, 0.46, 0.47}, {0.6, 0.55, 0.5}};
constexpr Table kFracturedTable = {
    {0.3, 0.2, 0.2}, {0.4, 0.3, 0.2}, {0.5, 0.4, 0.3}, {0.7, 0.55, 0.35}, {0.8, 0.7, 0.55}};
constexpr Table kIceTable = {{0, 0.1, 0.3}, {0, 0.8, 0.9}, {0.5, 0.9, 1}, {0.85, 1, 1}, {1, 1, 1}};

void setTable(gfunc* g, const Table& rows)
{
  std::copy(&rows[0][0], &rows[0][0] + 15, &consts(g).table[0][0]);
}

// The average colour of the document's palette (0..255) as row 0.
void paletteAverageRow(gfunc* g)
{
  fcoloraverage(&g->doc->tables.gradientKeys, consts(g).table[0]);
}

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
  setTable(g, kGranitTable);
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

void f34_ridgedfractal_prepare(gfunc* g)
{
  setK(g, 3 * g->A, 0.02 * g->A + 0.1, g->C / 8);
}

void f34_noiseG_prepare(gfunc* g)
{
  setK(g, 4 * g->A, 8 * (g->C / 4), g->C / 4);
  consts(g).k[3] = g->B + 0.125;
  paletteAverageRow(g);
}

void f34_facetrocks_prepare(gfunc* g)
{
  setK(g, 4 * g->A, 4 * (g->C / 4), g->C / 4);
  consts(g).k[3] = g->B + 0.125;
  paletteAverageRow(g);
  consts(g).table[1][0] = 170;
  consts(g).table[1][1] = 160;
  consts(g).table[1][2] = 145;
}

void f34_zicecracks_prepare(gfunc* g)
{
  setK(g, 2 * g->A, g->A / 20 + 0.6, g->C / 16);
  consts(g).k[3] = 2 * g->B + 0.6;
  setTable(g, kIceTable);
}

void f34_futurB_prepare(gfunc* g)
{
  setK(g, 2 * g->A, g->A / 32 + 0.75, g->C / 16);
  consts(g).k[3] = g->B + 0.5;
  setTable(g, kFracturedTable);
}

void f34_greenmarble_prepare(gfunc* g)
{
  setK(g, 1.5 * g->A, 0.02 * g->A + 0.1, g->C / 8);
}

void f34_fractalbubbles_prepare(gfunc* g)
{
  setK(g, 9 * (0.5 * g->A + 1), 3 * g->A, g->C / 4);
}

// Rows 0 to 2 from the triple hue cycle at B (the first pulled a quarter
// toward the second), row 3 the document's second colour, row 4 between
// rows 0 and 3; all on the scale of 8.
void f34_multibubbles_prepare(gfunc* g)
{
  setK(g, 4 * g->A, std::fabs(g->A), g->C / 4);
  F34textureConsts& k = consts(g);
  k.k[3] = 16 * g->C;
  double cycle[9];
  GetTripleColorCycle(cycle, g->B, true);
  for (int c = 0; c < 9; ++c)
    k.table[c / 3][c % 3] = cycle[c] / 32;
  const normalcolor& second = g->doc->defaultColors[1];
  const double row3[3] = {second.red / 32.0, second.green / 32.0, second.blue / 32.0};
  for (int c = 0; c < 3; ++c) {
    k.table[0][c] += (k.table[1][c] - k.table[0][c]) * 0.25;
    k.table[3][c] = row3[c];
    k.table[4][c] = k.table[0][c] + (row3[c] - k.table[0][c]) * 0.35;
  }
}

void f34_zgreenbushes_prepare(gfunc* g)
{
  setK(g, 2 * g->A, consts(g).k[1], std::max(g->C / 8, 1e-7));
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

void f34_ridgedfractal(gfunc* g)
{
  textureFrame(g, kRidged);
}

void f34_noiseG(gfunc* g)
{
  textureFrame(g, kRandomRects);
}

void f34_facetrocks(gfunc* g)
{
  textureFrame(g, kFacetRocks);
}

void f34_zicecracks(gfunc* g)
{
  textureFrame(g, kIceCracks);
}

void f34_futurB(gfunc* g)
{
  textureFrame(g, kFracturedRocks);
}

void f34_greenmarble(gfunc* g)
{
  textureFrame(g, kGreenMarble);
}

void f34_fractalbubbles(gfunc* g)
{
  textureFrame(g, kLavaBubbles);
}

void f34_multibubbles(gfunc* g)
{
  textureFrame(g, kMultiBubbles);
}

void f34_zgreenbushes(gfunc* g)
{
  zFrame(g, kZBushes);
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

int16_t f34_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_ridgedfractal, g, msg, a, b, c);
}

int16_t f34_noiseG_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_noiseG, g, msg, a, b, c);
}

int16_t f34_facetrocks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_facetrocks, g, msg, a, b, c);
}

int16_t f34_zicecracks_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_zicecracks, g, msg, a, b, c);
}

int16_t f34_futurB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_futurB, g, msg, a, b, c);
}

int16_t f34_greenmarble_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_greenmarble, g, msg, a, b, c);
}

int16_t f34_fractalbubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_fractalbubbles, g, msg, a, b, c);
}

int16_t f34_multibubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_multibubbles, g, msg, a, b, c);
}

int16_t f34_zgreenbushes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_zgreenbushes, g, msg, a, b, c);
}
