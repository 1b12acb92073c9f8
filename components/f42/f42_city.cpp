#include "components/f42/f42_city.h"

#include <cmath>

#include "celltextures/city_dispatch.h"
#include "components/f32/f32_cityblend.h"
#include "components/f42/f42_pvt.h"

namespace {

struct CityChoice
{
  std::string_view label;
  CellTexture3DVecProc cell;
};

// Choices come in pairs over one cell function: even sharp, odd soft.
constexpr CityChoice kChoices[kF42cityChoices] = {
    {" City Texture A Sharp # ", LABTextureAR_City1},
    {" City Texture A Soft # ", LABTextureAR_City1},
    {" City Texture B Sharp # ", LABTextureAR_City2},
    {" City Texture B Soft # ", LABTextureAR_City2},
    {" City Texture C Sharp # ", LABTextureAR_City3},
    {" City Texture C Soft # ", LABTextureAR_City3},
    {" City Classic Sharp # ", LABTextureAR_CityClassic},
    {" City Classic Soft # ", LABTextureAR_CityClassic},
};

F42cityConstants& cityConstants(gfunc* g)
{
  return privateArea<F42cityConstants>(g);
}

// The choice trunc(A), or -1 when that is outside 0..7 (NaN included).
int choiceOf(double a)
{
  const double v = std::trunc(a);
  return v >= 0 && v < kF42cityChoices ? int(v) : -1;
}

}  // namespace

void f42_CityTextures_precompute(gfunc* g)
{
  F42cityConstants& k = cityConstants(g);
  const double v = std::trunc(g->A);
  k.sharpness = std::fmod(v, 2.0) != 0 ? 1.25 : 3.0;
  k.frequency = 64 * g->C;
  const int choice = choiceOf(g->A);
  k.cell = choice >= 0 ? kChoices[choice].cell : nullptr;
}

std::string_view f42_CityTextures_label(const gfunc* g, int param)
{
  if (param != 0)
    return kF42_CityTextures.params[param].label;
  const int choice = choiceOf(g->A);
  return choice >= 0 ? kChoices[choice].label : std::string_view{};
}

void f42_CityTextures(gfunc* g)
{
  const F42cityConstants k = cityConstants(g);
  const KVtables* t = &g->doc->tables;
  const double amount = g->B, f = k.frequency;
  f42_eachSample(g, [&](const F42sample& s) {
    if (k.cell == nullptr)
      return F42point{0.0, 0.0};  // no valid choice
    // The code word: the building code from input 3, a clear flag word.
    int16_t code[2] = {kvnum::sat_i16(s.z), 0};
    KVcityLevels levels{};
    if (!KV_cityBlend(k.cell, t, s.x * f - 0.4375, s.w * f - 0.4375, s.y * f - 0.4375, k.sharpness,
                      code, levels))
      return kF42noValue;  // a lattice cell beyond the 32-bit range
    return F42point{amount * levels.light, amount * levels.reflection};
  });
}

int16_t f42_CityTextures_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_CityTextures, g, msg, a, b, c);
}
