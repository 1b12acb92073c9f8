#include "components/f34/f34_techwalls.h"

#include <algorithm>

#include "celltextures/building_shapes.h"
#include "celltextures/buildings.h"
#include "celltextures/city_techset.h"
#include "celltextures/city_walls.h"
#include "components/f34/f34_pvt.h"
#include "noise/mazecolor.h"

namespace {

// ---- Tech noise choices --------------------------------------------------------------

// How a tech choice builds its colour cycle: Get16ColorCycle or Get8ColorCycle
// with the arguments after the position, or a city patchwork cycle (8 colours
// overwritten by three groups of four procedural colours).
enum class TechCycle
{
  Hue16,
  Hue8,
  PatchworkA,
  PatchworkB,
  PatchworkC,
};

struct TechChoice
{
  std::string_view label;
  CellTexture3DProc cell;
  TechCycle cycle;
  double args[4];
  double scale;  // k2 = scale * C
};

constexpr double kTechSharp = 6.0;  // k1 of the even (sharp) choices
constexpr double kTechSoft = 1.5;   // k1 of the odd (soft) choices

constexpr TechChoice kTech[kF34techChoices] = {
    {" Random Cube Grid Sharp # ", LABTXT3D_A, TechCycle::Hue16, {0.065, 0.02, 0.01, 0.005}, 2},
    {" Random Cube Grid Soft # ", LABTXT3D_A, TechCycle::Hue16, {0.065, 0.02, 0.01, 0.005}, 2},
    {" Cube Edge Grid Sharp # ", LABTXT3D_CubeGrid, TechCycle::Hue8, {0.0625, 192, 0.5}, 2},
    {" Cube Edge Grid Soft # ", LABTXT3D_CubeGrid, TechCycle::Hue8, {0.0625, 128, 0.5}, 2},
    {" Building A Sharp # ", LABTXT3D_BuildA, TechCycle::Hue8, {0.032, 200, 0.5}, 4},
    {" Building A Soft # ", LABTXT3D_BuildA, TechCycle::Hue8, {0.032, 200, 0.5}, 4},
    {" Building B Sharp # ", LABTXT3D_BuildB, TechCycle::Hue8, {0.015, 128, 0.5}, 4},
    {" Building B Soft # ", LABTXT3D_BuildB, TechCycle::Hue8, {0.015, 128, 0.5}, 4},
    {" Building C Sharp # ", LABTXT3D_BuildV1, TechCycle::Hue8, {0.0625, 128, 0.5}, 4},
    {" Building C Soft # ", LABTXT3D_BuildV1, TechCycle::Hue8, {0.0625, 128, 0.5}, 4},
    {" Techno Maze Sharp # ", LABTXT3D_TA, TechCycle::Hue8, {0.04, 255, 0.5}, 2},
    {" Techno Maze Soft # ", LABTXT3D_TA, TechCycle::Hue8, {0.25, 200, 0.5}, 2},
    {" H Grid Sharp # ", LABTXT3D_TB, TechCycle::Hue8, {0.1, 65, 0.35}, 2},
    {" H Grid Soft # ", LABTXT3D_TB, TechCycle::Hue8, {0.25, 128, 0.1}, 2},
    {" Computer room Sharp # ", LABTXT3D_TC, TechCycle::Hue8, {0.125, 128, 0.25}, 2},
    {" Computer room Soft # ", LABTXT3D_TC, TechCycle::Hue8, {0.25, 255, 0.5}, 2},
    {" City blocks Sharp # ", LABTXT3D_City, TechCycle::Hue16, {0.0625, 0.25, 0.5, 0.75}, 2},
    {" City blocks Soft # ", LABTXT3D_City, TechCycle::Hue16, {0.0625, 0.25, 0.5, 0.75}, 2},
    {" Mayan Pyramid Sharp # ", LABTXT3D_Mayan, TechCycle::Hue16, {0.0625, 0.25, 0.5, 0.75}, 2},
    {" Mayan Pyramid Soft # ", LABTXT3D_Mayan, TechCycle::Hue16, {0.0625, 0.25, 0.5, 0.75}, 2},
    {" Signs A Sharp # ", LABTXT3D_ASigns, TechCycle::Hue8, {0.125, 192, 0.5}, 2},
    {" Signs A Soft # ", LABTXT3D_ASigns, TechCycle::Hue8, {0.08, 192, 0.5}, 2},
    {" Signs B Sharp # ", LABTXT3D_BSigns, TechCycle::Hue8, {0.125, 192, 0.5}, 2},
    {" Signs B Soft # ", LABTXT3D_BSigns, TechCycle::Hue8, {0.08, 192, 0.5}, 2},
    {" City Patchwork A Sharp # ", LABTXT3D_Patchwork_City1, TechCycle::PatchworkA, {}, 64},
    {" City Patchwork A Soft # ", LABTXT3D_Patchwork_City1, TechCycle::PatchworkA, {}, 64},
    {" City Patchwork B Sharp # ", LABTXT3D_Patchwork_City2, TechCycle::PatchworkB, {}, 64},
    {" City Patchwork B Soft # ", LABTXT3D_Patchwork_City2, TechCycle::PatchworkB, {}, 64},
    {" City Patchwork C Sharp # ", LABTXT3D_Patchwork_City3, TechCycle::PatchworkC, {}, 64},
    {" City Patchwork C Soft # ", LABTXT3D_Patchwork_City3, TechCycle::PatchworkC, {}, 64},
};

// One group of four procedural colours of a patchwork cycle; the values that
// follow the cycle position B are base + perB * B.
struct ProcGroup
{
  double phasePerB;
  double startHue;
  double lightness, lightnessPerB;
  double saturation, saturationPerB;
  double hueStep, lightnessStep, saturationStep;
};

struct PatchworkCycle
{
  double step;          // of the Get8ColorCycle under the groups
  ProcGroup groups[3];  // entries 4-7, 8-11, 12-15
};

constexpr PatchworkCycle kPatchworkA{0.08,
                                     {{1, 60, 50, -30, 10, 30, 20, 55, 0},
                                      {1, 180, 32, 188, 170, 0, 20, 0, 0},
                                      {1, 0, 200, -125, 65, 0, 10, -25, 5}}};
constexpr PatchworkCycle kPatchworkB{0.06,
                                     {{1, 60, 80, -40, 15, 15, 20, 40, 0},
                                      {2, 148, 64, 176, 90, 0, 10, 0, 0},
                                      {2, 28, 180, -96, 30, 0, 10, -20, 4}}};
constexpr PatchworkCycle kPatchworkC{0.06,
                                     {{1, 60, 80, -40, 15, 15, 20, 36, 0},
                                      {2, 148, 64, 176, 90, 0, 10, 0, 0},
                                      {2, 28, 180, -96, 30, 0, 10, -20, 4}}};

void buildPatchwork(floatcolor cycle[16], const PatchworkCycle& p, double b)
{
  Get8ColorCycle(cycle, b, p.step, 192, 0.5);
  for (int k = 0; k < 3; ++k) {
    const ProcGroup& q = p.groups[k];
    Get4ProcColorCycle(cycle + 4 * (k + 1), q.phasePerB * b, q.startHue,
                       q.lightness + q.lightnessPerB * b, q.saturation + q.saturationPerB * b,
                       q.hueStep, q.lightnessStep, q.saturationStep);
  }
}

void buildTechCycle(floatcolor cycle[16], const TechChoice& c, double b)
{
  switch (c.cycle) {
    case TechCycle::Hue16:
      return Get16ColorCycle(cycle, b, c.args[0], c.args[1], c.args[2], c.args[3]);
    case TechCycle::Hue8:
      return Get8ColorCycle(cycle, b, c.args[0], c.args[1], c.args[2]);
    case TechCycle::PatchworkA:
      return buildPatchwork(cycle, kPatchworkA, b);
    case TechCycle::PatchworkB:
      return buildPatchwork(cycle, kPatchworkB, b);
    case TechCycle::PatchworkC:
      return buildPatchwork(cycle, kPatchworkC, b);
  }
}

// ---- Wall choices --------------------------------------------------------------------

// The arguments of Get16ColorsShade after the hue position (bytes, as the
// wall cells' shade takes them).
struct WallShade
{
  double hueStep;
  uint8_t saturation, lightness, lightStep;
};

struct WallChoice
{
  std::string_view label;
  CellTexture3DProc cell;
  bool shaded;  // false: the choice clears the cycle instead
  WallShade shade;
  double sharpness;  // k1
  double scale;      // k2 = scale * C
};

constexpr WallChoice kWalls[kF34wallChoices] = {
    {" Square plates # ", LABTXT3D_StonesA, false, {}, 1.0, 8},
    {" Old Stones # ", LABTXT3D_StonesB, true, {0.06, 12, 130, 32}, 1.0, 8},
    {" Stone Wall C # ", LABTXT3D_StonesC, true, {0.03, 25, 120, 20}, 1.0, 8},
    {" Stone Wall D # ", LABTXT3D_StonesD, true, {0.05, 12, 160, 16}, 1.0, 8},
    {" Brick Wall A # ", LABTXT3D_bricksA, true, {0.02, 75, 128, 16}, 1.0, 8},
    {" Brick Wall B # ", LABTXT3D_bricksB, true, {0.02, 92, 84, 4}, 1.0, 16},
    {" Concrete Plates A # ", LABWALL_ConcreteA, true, {0.02, 20, 100, 24}, 1.0, 8},
    {" Concrete Plates B # ", LABWALL_ConcreteB, true, {0.02, 20, 100, 24}, 1.0, 8},
    {" Concrete Plates C  # ", LABWALL_ConcreteLines, true, {0.02, 20, 100, 24}, 1.0, 8},
    {" Plates & Windows # ", LABTXT3D_PlatesNWindow, true, {0.08, 20, 170, 10}, 2.0, 8},
    {" Stucco & Windows # ", LABTXT3D_WhiteNWindow, true, {0.04, 16, 128, 24}, 1.0, 8},
    {" Stones & Windows # ", LABTXT3D_StonesNWindow, true, {0.04, 16, 128, 24}, 1.0, 8},
    {" Ceramics A # ", LABTXT3D_CeramicsA, true, {0.04, 50, 100, 30}, 1.5, 8},
    {" Concrete Mix A # ", LABTXT3D_MotifB, true, {0.04, 20, 128, 24}, 1.5, 8},
    {" Concrete Mix B # ", LABTXT3D_MotifC, true, {0.04, 25, 128, 24}, 1.5, 8},
    {" Concrete Mix C # ", LABWALL_ConcreteMix, true, {0.04, 30, 128, 24}, 1.0, 8},
};

// trunc(A) when it names an entry of a list of `count`, else -1 (NaN,
// negative, too large).
int choiceOf(double a, int count)
{
  return a >= 0 && a < count ? int(a) : -1;
}

F34cellTexture& texture(gfunc* g)
{
  return privateArea<F34cellTexture>(g);
}

// Where the texture is sampled and which code every corner starts from.
struct Placement
{
  double offset;
  int16_t startCode;
};

// Tech noises sample at k2·p - 0.4375 from code 0. Walls sample at k2·p from
// code 1: the detail setting is on from start-up and nothing points the
// fractal record at a detail value (a missing one reads as on).
constexpr Placement kTechPlacement{-0.4375, 0};
constexpr Placement kWallPlacement{0.0, 1};

void sampleTexture(gfunc* g, const Placement& at)
{
  const F34cellTexture& tx = privateArea<F34cellTexture>(g);
  const int n = KV_batchLength();
  if (f34_sourceMasked(g))
    return f34_fill(g, n, kF34noValue);
  if (tx.cell == nullptr)
    return f34_fill(g, n, kF34zero);
  const F34batch b = f34_batch(g);
  const floatcolor* cycle = f34_altitudeOnly(g) ? nullptr : tx.cycle;
  const KVtables* t = f34_tables(g);
  const double k = tx.scale, level = g->B;
  f34_eachSample(g, b, kF34noValue, [&](double x, double y, double z, int) {
    CellColorSample s;
    s.code = at.startCode;
    s.red = tx.sharpness;
    s.value = level;
    fmazeCityTexture(t, tx.cell, cycle, &s, k * x + at.offset, k * y + at.offset,
                     k * z + at.offset);
    return F34out{s.red / 32, s.green / 32, s.blue / 32, 4 * s.value};
  });
}

}  // namespace

void f34_procTechNoises_prepare(gfunc* g)
{
  F34cellTexture& tx = texture(g);
  const int v = choiceOf(g->A, kF34techChoices);
  tx.scale = 2 * g->C;
  if (v < 0) {
    tx.cell = nullptr;
    Get8ColorCycle(tx.cycle, g->B, 0.25, 255, 0.5);
    return;
  }
  const TechChoice& c = kTech[v];
  tx.cell = c.cell;
  tx.sharpness = v % 2 == 0 ? kTechSharp : kTechSoft;
  tx.scale = c.scale * g->C;
  buildTechCycle(tx.cycle, c, g->B);
}

void f34_procWalls_prepare(gfunc* g)
{
  F34cellTexture& tx = texture(g);
  const int v = choiceOf(g->A, kF34wallChoices);
  tx.sharpness = 1.0;
  tx.scale = 8 * g->C;
  if (v < 0) {
    tx.cell = nullptr;
    return;
  }
  const WallChoice& w = kWalls[v];
  tx.cell = w.cell;
  tx.sharpness = w.sharpness;
  tx.scale = w.scale * g->C;
  if (!w.shaded) {
    std::fill(std::begin(tx.cycle), std::end(tx.cycle), floatcolor{});
    return;
  }
  Get16ColorsShade(tx.cycle, g->B, w.shade.hueStep, w.shade.saturation, w.shade.lightness,
                   w.shade.lightStep);
}

std::string_view f34_procTechNoises_label(const gfunc* g, int param)
{
  if (param != 0)
    return kF34_procTechNoises.params[param].label;
  const int v = choiceOf(g->A, kF34techChoices);
  return v < 0 ? std::string_view{} : kTech[v].label;
}

std::string_view f34_procWalls_label(const gfunc* g, int param)
{
  if (param != 0)
    return kF34_procWalls.params[param].label;
  const int v = choiceOf(g->A, kF34wallChoices);
  return v < 0 ? std::string_view{} : kWalls[v].label;
}

void f34_procTechNoises(gfunc* g)
{
  sampleTexture(g, kTechPlacement);
}

void f34_procWalls(gfunc* g)
{
  sampleTexture(g, kWallPlacement);
}

int16_t f34_procTechNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_procTechNoises, g, msg, a, b, c);
}

int16_t f34_procWalls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_procWalls, g, msg, a, b, c);
}
