#include "components/f24/f24_technoise.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "celltextures/city_highrise.h"
#include "celltextures/city_insect.h"
#include "celltextures/city_pyramids.h"
#include "celltextures/city_sparse.h"
#include "celltextures/cityplan_a.h"
#include "celltextures/cityplan_b.h"
#include "celltextures/streets.h"
#include "celltextures/techmotifs.h"
#include "celltextures/techpanels.h"
#include "components/f24/f24_pvt.h"

namespace {

struct TechVariant
{
  std::string_view label;
  CellTexture2DProc cell;
  double sharpness;
  double frequency;  // times C
  double step, greyBase, greyFactor;
};

constexpr TechVariant kTech[kF24techVariants] = {
    {" Square Grid Sharp # ", LABTXT2D_A, 6.0, 4, 0.1, 255, 0.5},
    {" Square Grid Soft # ", LABTXT2D_A, 1.0, 4, 0.08, 200, 0.5},
    {" Square Edge Grid Sharp # ", LABTXT2D_CubeGrid, 5.0, 4, 0.0625, 192, 0.5},
    {" Square Edge Grid Soft # ", LABTXT2D_CubeGrid, 1.0, 4, 0.0625, 128, 0.5},
    {" Building A Sharp # ", LABTXT2D_BuildA, 5.0, 8, 0.032, 200, 0.5},
    {" Building A Soft # ", LABTXT2D_BuildA, 1.0, 8, 0.032, 200, 0.5},
    {" Building B Sharp # ", LABTXT2D_BuildB, 8.0, 8, 0.015, 128, 0.5},
    {" Building B Soft # ", LABTXT2D_BuildB, 1.0, 8, 0.015, 128, 0.5},
    {" City Sharp # ", LABTXT_City, 8.0, 4, 0.08, 128, 0.5},
    {" City Soft # ", LABTXT_City, 1.0, 4, 0.2, 128, 0.5},
    {" Techno Maze Sharp # ", LABTXT2D_TA, 6.0, 2, 0.145, 160, 0.5},
    {" Techno Maze Soft # ", LABTXT2D_TA, 1.0, 2, 0.215, 160, 0.5},
    {" H Grid Sharp # ", LABTXT2D_Hgrid, 5.0, 2, 0.1, 65, 0.35},
    {" H Grid Soft # ", LABTXT2D_Hgrid, 1.0, 2, 0.25, 128, 0.1},
    {" Computer room Sharp # ", LABTXT2D_Comput, 5.0, 2, 0.1, 255, 0.5},
    {" Computer room Soft # ", LABTXT2D_Comput, 1.0, 2, 0.2, 255, 0.5},
    {" Network Sharp # ", LABTXT2D_Network, 5.0, 2, 0.125, 180, 0.5},
    {" Network Soft # ", LABTXT2D_Network, 1.0, 2, 0.25, 160, 0.5},
    {" Mayan Pyramid Sharp # ", LABTXT2D_Mayan, 5.0, 2, 0.0625, 128, 0.5},
    {" Mayan Pyramid Soft # ", LABTXT2D_Mayan, 1.0, 2, 0.125, 128, 0.5},
    {" Signs A Sharp # ", LABTXT2D_ASigns, 5.0, 2, 0.125, 192, 0.5},
    {" Signs A Soft # ", LABTXT2D_ASigns, 1.0, 2, 0.08, 192, 0.5},
    {" Signs B Sharp # ", LABTXT2D_BSigns, 5.0, 2, 0.06, 100, 0.2},
    {" Signs B Soft # ", LABTXT2D_BSigns, 1.0, 2, 0.05, 100, 0.2},
    {" Street marks Sharp # ", LABTXT_StreetsMarks, 2.0, 32, 0.0625, 100, 0.2},
    {" Street marks soft # ", LABTXT_StreetsMarks, 1.0, 32, 0.0625, 100, 0.2},
    {" Ground marks Sharp # ", LABTXT_TEK_groundmarks, 2.0, 4, 0.0625, 100, 0.2},
    {" Ground marks soft # ", LABTXT_TEK_groundmarks, 1.0, 4, 0.0625, 100, 0.2},
};

struct CityVariant
{
  std::string_view label;
  CellTexture2DProc cell;
  double sharpness;
  double frequency;  // times C
};

constexpr CityVariant kCity[kF24cityVariants] = {
    {" City A Sharp #", LABTXT_CityA, 8.0, 8},
    {" City A Soft #", LABTXT_CityA, 2.0, 8},
    {" City B Sharp #", LABTXT_CityB, 8.0, 8},
    {" City B Soft #", LABTXT_CityB, 1.0, 8},
    {" City C Sharp #", LABTXT_SparceCity, 16.0, 8},
    {" City C Soft #", LABTXT_SparceCity, 1.0, 8},
    {" Alien City Sharp #", LABTXT_InsectCity, 2.0, 4},
    {" Alien City Soft#", LABTXT_InsectCity, 1.0, 4},
    {" High Rise City Sharp #", LABTXT_HighRiseCity, 8.0, 8},
    {" High Rise City Soft #", LABTXT_HighRiseCity, 2.0, 8},
};

// The variant A names, or -1 outside 0..count-1 (negative and NaN too).
int variantOf(double a, int count)
{
  return a >= 0 && a < count ? int(a) : -1;
}

F24cornerNoise& noise(gfunc* g)
{
  return privateArea<F24cornerNoise>(g);
}

double smoothstep(double t)
{
  if (t < 0)
    return 0;
  return t > 1 ? 1 : t * t * (3 - 2 * t);
}

floatcolor mixColour(const floatcolor& a, const floatcolor& b, double w)
{
  return {float(a.red + (b.red - a.red) * w), float(a.green + (b.green - a.green) * w),
          float(a.blue + (b.blue - a.blue) * w)};
}

// The corner colours blended with the blend's weights, each corner shaded
// by `shade`.
floatcolor blendedColour(const floatcolor cycle[16], const F24cornerBlend& b, double shade)
{
  floatcolor c[4];
  for (int k = 0; k < 4; ++k)
    FPROCCOLOR(&c[k], cycle, b.code[k], &shade);
  return mixColour(mixColour(c[0], c[1], b.sx), mixColour(c[2], c[3], b.sx), b.sy);
}

}  // namespace

bool f24_cornerBlend(const KVtables* t, CellTexture2DProc cell, double X, double Y,
                     double sharpness, bool sharpen, F24cornerBlend& out)
{
  F24cell cx, cy;
  if (!f24_split(X, cx) || !f24_split(Y, cy))
    return false;
  const int32_t i1 = kvnum::wrap_add_i32(cx.i, 1), j1 = kvnum::wrap_add_i32(cy.i, 1);
  std::fill(std::begin(out.code), std::end(out.code), int16_t(0));
  const double l00 = cell(t, cx.i, cy.i, &out.code[0]);
  const double l10 = cell(t, i1, cy.i, &out.code[1]);
  const double l01 = cell(t, cx.i, j1, &out.code[2]);
  const double l11 = cell(t, i1, j1, &out.code[3]);
  const double u = sharpen ? cx.f * sharpness : cx.f, w = sharpen ? cy.f * sharpness : cy.f;
  out.sx = smoothstep(u);
  out.sy = smoothstep(w);
  const double top = l00 + (l10 - l00) * out.sx, bottom = l01 + (l11 - l01) * out.sx;
  out.level = top + (bottom - top) * out.sy;
  return true;
}

// ---- Message 8 and labels ----------------------------------------------------------

void f24_procTechNoises_prepare(gfunc* g)
{
  F24cornerNoise& n = noise(g);
  n = F24cornerNoise{};
  n.sharpness = 5.0;
  n.frequency = 2 * g->C;
  const int v = variantOf(g->A, kF24techVariants);
  if (v < 0)
    return;
  const TechVariant& row = kTech[v];
  n.cell = row.cell;
  n.sharpness = row.sharpness;
  n.frequency = row.frequency * g->C;
  n.shift = row.cell == LABTXT_StreetsMarks ? 3.0 : 0.0;
  Get8ColorCycle(n.cycle, g->B, row.step, row.greyBase, row.greyFactor);
}

void f24_CityNoises_prepare(gfunc* g)
{
  F24cornerNoise& n = noise(g);
  n = F24cornerNoise{};
  n.amplitude = g->B;
  n.cell = LABTXT_CityA;
  n.sharpness = 6.0;
  n.frequency = 8 * g->C;
  const int v = variantOf(g->A, kF24cityVariants);
  if (v < 0)
    return;
  n.cell = kCity[v].cell;
  n.sharpness = kCity[v].sharpness;
  n.frequency = kCity[v].frequency * g->C;
}

std::string_view f24_procTechNoises_label(const gfunc* g, int param)
{
  if (param != 0)
    return kF24_procTechNoises.params[param].label;
  const int v = variantOf(g->A, kF24techVariants);
  return v < 0 ? std::string_view{} : kTech[v].label;
}

std::string_view f24_CityNoises_label(const gfunc* g, int param)
{
  if (param != 0)
    return kF24_CityNoises.params[param].label;
  const int v = variantOf(g->A, kF24cityVariants);
  return v < 0 ? std::string_view{} : kCity[v].label;
}

// ---- Computes -------------------------------------------------------------------

void f24_procTechNoises(gfunc* g)
{
  const F24cornerNoise& n = noise(g);
  const KVtables* t = f24_tables(g);
  const bool alt = f24_altitudeOnly(g);
  // The materials are shaded by the previous sample's level; the first
  // sample of a batch by its own.
  bool first = true;
  double shade = 0;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    if (n.cell == nullptr)
      return kF24zero;
    F24cornerBlend b;
    if (!f24_cornerBlend(t, n.cell, n.frequency * x + n.shift, n.frequency * y + n.shift,
                         n.sharpness, n.sharpness > 1, b))
      return kF24noValue;
    if (first)
      shade = b.level, first = false;
    const floatcolor c = alt ? floatcolor{} : blendedColour(n.cycle, b, shade);
    shade = b.level;
    constexpr double kByteToValue = 1.0 / 32;
    return F24quad{c.red * kByteToValue, c.green * kByteToValue, c.blue * kByteToValue,
                   4 * b.level};
  });
}

void f24_CityNoises(gfunc* g)
{
  const F24cornerNoise& n = noise(g);
  const KVtables* t = f24_tables(g);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    F24cornerBlend b;
    if (n.cell == nullptr ||
        !f24_cornerBlend(t, n.cell, n.frequency * x, n.frequency * y, n.sharpness, true, b))
      return kF24noValue;
    const int16_t lowest = *std::min_element(std::begin(b.code), std::end(b.code));
    return F24quad{x, y, double(lowest), n.amplitude * b.level};
  });
}

int16_t f24_procTechNoises_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_procTechNoises, g, m, a, b, c);
}
int16_t f24_CityNoises_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_CityNoises, g, m, a, b, c);
}
