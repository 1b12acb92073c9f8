#include "components/f24/f24_fractalnoise.h"

#include <algorithm>

#include "components/f24/f24_octavebodies.h"
#include "engine/palettelookups.h"
#include "noise/noises.h"
#include "noise/techno.h"

namespace {

constexpr double kMinFrequency = 1e-7;

double floored(double f)
{
  return std::max(f, kMinFrequency);
}

fractalsinfos* fractalOf(gfunc* g)
{
  return &g->doc->fractal;
}

}  // namespace

// ---- The frame ------------------------------------------------------------------------

F24settingsScope::F24settingsScope(fractalsinfos* F, const F24callSettings& s)
    : F_(F), octaves_(F->octaves), lacunarity_(F->lacunarity), fade_(F->fade)
{
  if (s.octaves != 0)
    F->octaves = s.octaves;
  if (s.lacunarity != 0)
    F->lacunarity = s.lacunarity;
  if (s.fade != 0)
    F->fade = s.fade;
}

F24settingsScope::~F24settingsScope()
{
  F_->octaves = octaves_;
  F_->lacunarity = lacunarity_;
  F_->fade = fade_;
}

namespace {

dvector4d runDriver(fractalsinfos* F, const F24fractalRow& row, const F24constants& k, double B,
                    double R, double x, double y)
{
  const double w = row.wIsK3 ? k.K[3] : row.wB * B + row.wConst;
  const double f0 = row.f0Scale * k.K[2], fmax = row.fmaxFactor * R;
  dvector4d acc{};
  const F24settingsScope scope(F, row.settings);
  switch (row.driver) {
    case F24driver::fourValue:
      MFPV4d_procptr(F, row.body, x, y, 0, 0, w, f0, fmax, row.gain, &acc);
      break;
    case F24driver::swapTurnMode0:
      MFPsw_procptr(F, row.body, x, y, 0, 0, w, f0, fmax, row.gain, &acc);
      break;
    case F24driver::swapTurnMode2:
      MFPsw_procptr(F, row.body, x, y, 0, 2, w, f0, fmax, row.gain, &acc);
      break;
  }
  return acc;
}

double colourOut(const F24fractalRow& row, double c)
{
  return 8 * (row.clipColour ? std::max(c, 0.0) : c);
}

}  // namespace

F24quad f24_fractalSample(fractalsinfos* F, const F24fractalRow& row, const F24constants& k,
                          double B, double R, double x, double y)
{
  if (row.beforeSample != nullptr)
    row.beforeSample(F, k, B, R, x, y);
  const dvector4d a = runDriver(F, row, k, B, R, x, y);
  const double k0 = k.K[0];
  if (row.layout == F24layout::L0)
    return {colourOut(row, a.y), colourOut(row, a.z), colourOut(row, a.w),
            k0 * (a.x - row.altitudeShift)};
  return {colourOut(row, a.x), colourOut(row, a.y), colourOut(row, a.z),
          k0 * (a.w - row.altitudeShift)};
}

void f24_fractalFrame(gfunc* g, const F24fractalRow& row)
{
  fractalsinfos* F = fractalOf(g);
  const F24constants& k = f24_k(g);
  if (row.beforeBatch != nullptr)
    row.beforeBatch(F, k);
  const double B = g->B, R = g->doc->yPixelScale;
  const F24batch b = f24_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const bool masked = row.testsMarker && b.x[i] >= gINFINITY;
    f24_store(g, i, masked ? kF24noValue : f24_fractalSample(F, row, k, B, R, b.x[i], b.y[i]));
  }
}

// ---- What the members set before their calls -------------------------------------------

namespace {

void granitParams(fractalsinfos* F, const F24constants& k, double, double, double&, double&)
{
  F->paramA = k.K[1];
  F->paramB = k.K[3];
}

void multifractalParams(fractalsinfos* F, const F24constants& k)
{
  F->paramA = 0.03 * k.K[0];
}

void p1IsK3(fractalsinfos* F, const F24constants& k)
{
  F->paramA = k.K[3];
}

void p1IsK1(fractalsinfos* F, const F24constants& k)
{
  F->paramA = k.K[1];
}

// A slow noise of the point: a per-area offset of the dunes.
void dunesParams(fractalsinfos* F, const F24constants& k, double, double, double& x, double& y)
{
  F->paramA =
      2.1333333333333333 * fUnitPerlinNoise2D(F->tables, 0.03 * k.K[2] * x, 0.03 * k.K[2] * y);
}

// A slow noise of the point that bends the curves and cracks.
void curveParams(fractalsinfos* F, const F24constants& k, double, double, double& x, double& y)
{
  F->paramB = fPerlinLFO(F->tables, 0.021 * k.K[2] * x, 0.021 * k.K[2] * y) / 1100;
}

// The pebbles' displacement pass: its vector, scaled by k1, shifts each
// pebble octave.
void pebbleParams(fractalsinfos* F, const F24constants& k, double, double R, double& x, double& y)
{
  dvector2d d{};
  MFPV2d_procptr(F, fpbeachrockdisplace2D, x, y, 0, 0, k.K[1] + 0.1, k.K[3], 0.5 * R, 0.495, &d);
  F->paramA = k.K[1] * d.x;
  F->paramB = k.K[1] * d.y;
}

// The cracks' displacement pass moves the point the cracks are drawn at.
void crackParams(fractalsinfos* F, const F24constants& k, double B, double R, double& x, double& y)
{
  curveParams(F, k, B, R, x, y);
  dvector2d d{};
  MFPV2d_procptr(F, fpMFdisplace2D, x, y, 0, 0, 0.3 * B + 0.3, k.K[2], 0.3 * R, 0.5, &d);
  x += 0.09 * d.x;
  y += 0.09 * d.y;
}

// ---- The rows ---------------------------------------------------------------------------

constexpr F24fractalRow kRidged{.body = fp4ridgednoise};
constexpr F24fractalRow kFacets{.body = fp4dFacets, .wB = 7, .wConst = 1};
constexpr F24fractalRow kGranit{.body = fp4MFlunargranit,
                                .wB = 0.4,
                                .wConst = 0.1,
                                .fmaxFactor = 0.6,
                                .beforeSample = granitParams};
constexpr F24fractalRow kMultifractal{.body = fp4MF2dnoise,
                                      .wB = 2.5,
                                      .wConst = 0.5,
                                      .testsMarker = false,
                                      .beforeBatch = multifractalParams};
constexpr F24fractalRow kDomeRock{.body = fp4domerock, .testsMarker = false};
constexpr F24fractalRow kSparse{
    .body = fp4sparceMFnoise, .testsMarker = false, .beforeBatch = p1IsK3};
constexpr F24fractalRow kRandomDomes{.body = fp4RandomDomes,
                                     .settings = {.octaves = 5},
                                     .layout = F24layout::L3,
                                     .testsMarker = false};
constexpr F24fractalRow kDunes{.body = fp4dunes, .beforeSample = dunesParams};
constexpr F24fractalRow kLichen{.body = fp4dLichenRocks};
constexpr F24fractalRow kPebbles{
    .body = fp4beachrocks,
    .wB = 0,
    .wConst = 1.0,
    .gain = 0.7407407407407407,
    .settings = {.octaves = 6, .lacunarity = 1.35, .fade = 0.2592592592592593},
    .layout = F24layout::L3,
    .altitudeShift = 0.05,
    .beforeSample = pebbleParams};
constexpr F24fractalRow kRocks{.body = fp4dirtyBubbles, .fmaxFactor = 0.3};
constexpr F24fractalRow kCurves{.body = fp4rivernoiseCD,
                                .driver = F24driver::swapTurnMode0,
                                .fmaxFactor = 0.3,
                                .beforeSample = curveParams};
constexpr F24fractalRow kCracks{.body = fp4earthcracks,
                                .driver = F24driver::swapTurnMode0,
                                .f0Scale = 0.25,
                                .fmaxFactor = 0.3,
                                .settings = {.octaves = 4},
                                .beforeSample = crackParams};
constexpr F24fractalRow kVeins{.body = fp4rivernetworks,
                               .driver = F24driver::swapTurnMode2,
                               .wIsK3 = true,
                               .fmaxFactor = 0.333,
                               .layout = F24layout::L3,
                               .altitudeShift = 0.05,
                               .clipColour = true,
                               .beforeBatch = p1IsK1};

}  // namespace

void f24_ridgednoise(gfunc* g)
{
  f24_fractalFrame(g, kRidged);
}
void f24_fractalFacets(gfunc* g)
{
  f24_fractalFrame(g, kFacets);
}
void f24_lunargranit(gfunc* g)
{
  f24_fractalFrame(g, kGranit);
}
void f24_multifractal(gfunc* g)
{
  f24_fractalFrame(g, kMultifractal);
}
void f24_domerocknoise(gfunc* g)
{
  f24_fractalFrame(g, kDomeRock);
}
void f24_sparceMF(gfunc* g)
{
  f24_fractalFrame(g, kSparse);
}
void f24_fractfutur(gfunc* g)
{
  f24_fractalFrame(g, kRandomDomes);
}
void f24_dunes(gfunc* g)
{
  f24_fractalFrame(g, kDunes);
}
void f24_lichenrocks(gfunc* g)
{
  f24_fractalFrame(g, kLichen);
}
void f24_beachrocks(gfunc* g)
{
  f24_fractalFrame(g, kPebbles);
}
void f24_rocks(gfunc* g)
{
  f24_fractalFrame(g, kRocks);
}
void f24_fractcurves(gfunc* g)
{
  f24_fractalFrame(g, kCurves);
}
void f24_earthrocks(gfunc* g)
{
  f24_fractalFrame(g, kCracks);
}
void f24_rivernetwork(gfunc* g)
{
  f24_fractalFrame(g, kVeins);
}

// " Fractal Shaded Clouds ": two octave sums, the cloud density and the
// density a little toward the light, drifting with the animation time; the
// sky colour k4, k5, k6 is blended toward the shaded cloud grey by the
// coverage.
void f24_fractalclouds(gfunc* g)
{
  fractalsinfos* F = fractalOf(g);
  const F24constants& k = f24_k(g);
  F->paramA = k.K[1];
  const double T = 0.1 * g->doc->time, R = g->doc->yPixelScale, B = g->B;
  const F24batch b = f24_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const double x = b.x[i] + T;
    dvector2d d{};
    MFPV2dnr_procptr(F, fp2dclouds, x, b.y[i], x - 0.8 * k.K[3], 0.5 * T, k.K[3], k.K[2], 0.5 * R,
                     0.53, &d);
    const double a = k.K[0] * d.x;
    const double cover = std::clamp(a, 0.0, 1.0);
    const double grey = 9 - 1.5 * B - k.K[0] * d.y;
    f24_store(g, i,
              {k.K[4] + (grey - k.K[4]) * cover, k.K[5] + (grey - k.K[5]) * cover,
               k.K[6] + (grey - k.K[6]) * cover, 2 * a});
  }
}

// " Time R-patchwork": the library's patchwork of five strip levels, moving
// with the animation time, coloured from the document's palette and darkened
// where the last level barely covers.
void f24_Technoid(gfunc* g)
{
  const F24constants& k = f24_k(g);
  const KVtables* t = f24_tables(g);
  const double T = 0.5 * g->doc->time;
  const F24batch b = f24_batch(g);
  for (int i = 0; i < b.n; ++i) {
    double rec[3];
    R_patchwork(t, k.K[2] * b.x[i], k.K[2] * b.y[i], k.K[1], k.K[3], k.K[0], T, 5, rec);
    double c[3];
    fvcolorgradient(&t->gradientKeys, rec[2], c);
    const double e = 8 * rec[1];
    const double shade = e < 1 ? e : 1.0;
    constexpr double kByteToValue = 1.0 / 32;
    f24_store(g, i,
              {c[0] * shade * kByteToValue, c[1] * shade * kByteToValue,
               c[2] * shade * kByteToValue, 4 * rec[0]});
  }
}

// ---- Message 8 ------------------------------------------------------------------------

namespace {

// k0 = amplitude, k2 = the start frequency floored at 1e-7.
void setAmplitudeAndFrequency(gfunc* g, double k0, double frequency)
{
  F24constants& k = f24_k(g);
  k = F24constants{};
  k.K[0] = k0;
  k.K[2] = floored(frequency);
}

}  // namespace

void f24_ridgednoise_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, g->A, g->C / 2);
}

void f24_fractalFacets_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, 4 * g->A, g->C / 4);
}

void f24_lunargranit_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, 2 * g->A, g->C / 4);
  F24constants& k = f24_k(g);
  k.K[1] = 0.008 * g->A + 0.004;
  k.K[3] = 1.8 + 0.40000000000000013 * g->B - 0.25 * (1 - g->B);
}

void f24_multifractal_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, g->A, g->C / 4);
}

void f24_domerocknoise_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, 2 * g->A, g->C / 4);
}

void f24_sparceMF_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, 2 * g->A, g->C / 4);
  f24_k(g).K[3] = 0.02 * g->A / 512;
}

void f24_fractfutur_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, g->A, g->C / 4);
}

void f24_dunes_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, 2 * g->A, g->C / 4);
}

void f24_lichenrocks_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, 1.5 * g->A, g->C / 2);
}

void f24_beachrocks_prepare(gfunc* g)
{
  F24constants& k = f24_k(g);
  k = F24constants{};
  k.K[0] = g->A / 2;
  k.K[1] = 0.2 * g->B + 0.01;
  const bool low = g->C < kMinFrequency;
  k.K[2] = low ? kMinFrequency : g->C;
  k.K[3] = low ? 1.8e-7 : 1.8 * g->C;
}

void f24_unitFrequency_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, g->A, g->C);
}

void f24_rivernetwork_prepare(gfunc* g)
{
  F24constants& k = f24_k(g);
  k = F24constants{};
  k.K[0] = 2 * g->A;
  k.K[1] = 0.30000000000000004 * g->A / 8 + 0.8;
  k.K[2] = g->C / 16;
  k.K[3] = 2 * g->B + 0.5;
}

void f24_fractalclouds_prepare(gfunc* g)
{
  setAmplitudeAndFrequency(g, 0.75 * g->A + 2, g->C / 4);
  F24constants& k = f24_k(g);
  const double B = g->B;
  k.K[1] = 0.65 * g->A / 4 - 0.25;
  // B / C is infinite at C = 0, the low end of C's map: C is floored as the
  // start frequency is.
  k.K[3] = B / floored(g->C);
  k.K[4] = 6 - 4.4 * (1.3 * B);
  k.K[5] = 7 - 3.2 * (1.3 * B);
  k.K[6] = 8 - 1.5999999999999996 * (1.3 * B);
}

void f24_Technoid_prepare(gfunc* g)
{
  F24constants& k = f24_k(g);
  k = F24constants{};
  k.K[0] = 1.5 - 1.5 * g->B;
  k.K[1] = 64 * g->A + 2;
  k.K[2] = floored(g->C / 8);
  k.K[3] = 1.9375 * g->A + 0.0625;
}

// ---- Handlers -------------------------------------------------------------------------

int16_t f24_ridgednoise_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_ridgednoise, g, m, a, b, c);
}
int16_t f24_fractalFacets_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_fractalFacets, g, m, a, b, c);
}
int16_t f24_lunargranit_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_lunargranit, g, m, a, b, c);
}
int16_t f24_lichenrocks_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_lichenrocks, g, m, a, b, c);
}
int16_t f24_dunes_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_dunes, g, m, a, b, c);
}
int16_t f24_rocks_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_rocks, g, m, a, b, c);
}
int16_t f24_beachrocks_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_beachrocks, g, m, a, b, c);
}
int16_t f24_domerocknoise_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_domerocknoise, g, m, a, b, c);
}
int16_t f24_multifractal_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_multifractal, g, m, a, b, c);
}
int16_t f24_sparceMF_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_sparceMF, g, m, a, b, c);
}
int16_t f24_fractcurves_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_fractcurves, g, m, a, b, c);
}
int16_t f24_fractfutur_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_fractfutur, g, m, a, b, c);
}
int16_t f24_earthrocks_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_earthrocks, g, m, a, b, c);
}
int16_t f24_Technoid_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_Technoid, g, m, a, b, c);
}
int16_t f24_rivernetwork_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_rivernetwork, g, m, a, b, c);
}
int16_t f24_fractalclouds_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_fractalclouds, g, m, a, b, c);
}
