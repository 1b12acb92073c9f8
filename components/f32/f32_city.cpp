#include "components/f32/f32_city.h"

#include <cmath>

#include "celltextures/building_vectors.h"
#include "celltextures/city_dispatch.h"
#include "components/f32/f32_cityblend.h"

namespace {

struct CityChoice
{
  std::string_view label;
  CellTexture3DVecProc cell;
};

// Choices come in pairs over one cell function: even sharp, odd soft.
constexpr CityChoice kChoices[kF32cityChoices] = {
    {" Building A Sharp # ", LABTXT3D_AR_BuildA},
    {" Building A Soft # ", LABTXT3D_AR_BuildA},
    {" Building B Sharp # ", LABTXT3D_AR_BuildB},
    {" Building B Soft # ", LABTXT3D_AR_BuildB},
    {" Building C Sharp # ", LABTXT3D_AR_BuildV1},
    {" Building C Soft # ", LABTXT3D_AR_BuildV1},
    {" Building D Sharp # ", LABTXT3D_AR_BuildD},
    {" Building D Soft # ", LABTXT3D_AR_BuildD},
    {" Building E Sharp # ", LABTXT3D_AR_BuildE},
    {" Building E Soft # ", LABTXT3D_AR_BuildE},
    {" Building F Sharp # ", LABTXT3D_AR_BuildF},
    {" Building F Soft # ", LABTXT3D_AR_BuildF},
    {" Building G Sharp # ", LABTXT3D_AR_BuildVlines},
    {" Building G Soft # ", LABTXT3D_AR_BuildVlines},
    {" Building H Sharp # ", LABTXT3D_AR_BuildBW},
    {" Building H Soft # ", LABTXT3D_AR_BuildBW},
    {" Building I Sharp # ", LABTXT3D_AR_BuildI},
    {" Building I Soft # ", LABTXT3D_AR_BuildI},
    {" City Patchwork A Sharp # ", LABTXT3D_AR_cityA},
    {" City Patchwork A Soft # ", LABTXT3D_AR_cityA},
    {" City Patchwork B Sharp # ", LABTXT3D_AR_cityB},
    {" City Patchwork B Soft # ", LABTXT3D_AR_cityB},
    {" City Patchwork C Sharp # ", LABTXT3D_AR_cityC},
    {" City Patchwork C Soft # ", LABTXT3D_AR_cityC},
};

constexpr int kFirstPatchwork = 18;

}  // namespace

int f32_cityChoice(double a)
{
  if (std::isnan(a))
    return kF32cityDefaultChoice;
  if (!(a >= 0))
    return 0;
  if (a >= kF32cityChoices - 1)
    return kF32cityChoices - 1;
  return int(a);
}

void f32_CityNoises_precompute(gfunc* g)
{
  const int v = f32_cityChoice(g->A);
  if (!(std::floor(g->A) == v))
    g->A = v;  // a stored choice outside the list is held to its nearest end
  F32cityConstants& k = f32_city(g);
  k.sharpness = v % 2 == 1 ? 1.5 : 6.0;
  k.scale = (v >= kFirstPatchwork ? 64 : 8) * g->C;
  k.cell = kChoices[v].cell;
}

std::string_view f32_CityNoises_label(const gfunc* g, int param)
{
  if (param != 0)
    return kF32_CityNoises.params[param].label;
  const double v = std::floor(g->A);
  if (!(v >= 0 && v < kF32cityChoices))
    return {};
  return kChoices[int(v)].label;
}

void f32_CityNoises(gfunc* g)
{
  const F32cityConstants k = f32_city(g);
  const KVtables* t = &g->doc->tables;
  const double amount = g->B;
  int16_t code[2] = {0, 0};  // the first word carries from call to call through the batch
  f32_eachSample(g, [&](double x, double y, double z) {
    if (k.cell == nullptr)
      return F32point{0.0, 0.0};  // no choice made yet
    KVcityLevels levels{};
    if (!KV_cityBlend(k.cell, t, k.scale * x - 0.4375, k.scale * y - 0.4375, k.scale * z - 0.4375,
                      k.sharpness, code, levels))
      return kF32noValue;  // a lattice cell beyond the 32-bit range
    return F32point{amount * levels.light, amount * levels.reflection};
  });
}

int16_t f32_CityNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_CityNoises, g, msg, a, b, c);
}
