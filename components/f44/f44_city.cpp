#include "components/f44/f44_city.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "celltextures/city_dispatch.h"
#include "components/f44/f44_pvt.h"
#include "foundation/checked.h"

namespace {

struct CitySet
{
  std::string_view label;
  CellTexture3DProc cell;
};

constexpr std::array<CitySet, 8> kCitySets = {{
    {" City Texture Set A Sharp # ", LABTexture_City1},
    {" City Texture Set A Soft # ", LABTexture_City1},
    {" City Texture Set B Sharp # ", LABTexture_City2},
    {" City Texture Set B Soft # ", LABTexture_City2},
    {" City Texture Set C Sharp # ", LABTexture_City3},
    {" City Texture Set C Soft # ", LABTexture_City3},
    {" City Classic Set Sharp # ", LABTexture_CityClassic},
    {" City Classic Set Soft # ", LABTexture_CityClassic},
}};

constexpr double kSharp = 3.0;
constexpr double kSoft = 1.25;
constexpr double kCornerShift = 0.4375;

// The choice trunc(A) when it names a set, else -1 (NaN too).
int choiceOf(double a)
{
  if (std::isnan(a))
    return -1;
  const int32_t k = kvnum::sat_i32(a);
  return k >= 0 && k < int32_t(kCitySets.size()) ? int(k) : -1;
}

// Arguments of one Get4ProcColorCycle call after the colours.
struct ProcCycle
{
  double phase, hue, first, second, hueStep, firstStep, secondStep;
};

// Colours 0..3 from the hue cycle, then colours 4..15 from three HSL rows
// whose values depend on the set (k / 2: A, B, C, Classic).
void buildCycle(floatcolor cycle[16], int choice, double b)
{
  const int set = choice / 2;
  const double step = set == 1 ? 0.04 : (set == 2 ? 0.06 : 0.08);
  Get8ColorCycle(cycle, b, step, 192.0, 0.5);
  ProcCycle rows[3];
  if (set == 0) {
    rows[0] = {b, 60, 50 - 30 * b, 10 + 30 * b, 20, 55, 0};
    rows[1] = {b, 180, 32 + 188 * b, 170, 20, 0, 0};
    rows[2] = {b, 0, 200 - 125 * b, 65, 10, -25, 5};
  } else if (set == 3) {
    rows[0] = {b, 50, 50, 10, 20, 36, 0};
    rows[1] = {b / 2, 148, 150, 20, 10, 0, 0};
    rows[2] = {0, 28, 120, 35, 10, -20, 4};
  } else {
    rows[0] = {b, 60, 80 - 40 * b, 15 + 15 * b, 20, 36, 0};
    rows[1] = {2 * b, 148, 64 + 176 * b, 90, 10, 0, 0};
    rows[2] = {2 * b, 28, 180 - 96 * b, 30, 10, -20, 4};
  }
  for (int r = 0; r < 3; ++r) {
    const ProcCycle& p = rows[r];
    Get4ProcColorCycle(cycle + 4 + 4 * r, p.phase, p.hue, p.first, p.second, p.hueStep, p.firstStep,
                       p.secondStep);
  }
}

// A lattice coordinate split into cell and fraction; NaN or a cell outside
// 32 bits samples cell 0 at fraction 0.
kvnum::LatticeSplit cellOf(double p)
{
  kvnum::LatticeSplit s;
  kvnum::lattice_trunc_split(p, s);
  return s;
}

// The code word every corner starts from: trunc(z), saturated to 16 bits.
int16_t codeWord(double z)
{
  const int32_t c = kvnum::sat_i32(z);
  return int16_t(std::clamp<int32_t>(c, INT16_MIN, INT16_MAX));
}

struct Corner
{
  double level;
  double rgb[3];
};

double lerp(double a, double b, double t)
{
  return a + (b - a) * t;
}

// One layer (fixed k) of four corners, blended x then y; each corner starts
// from its own copy of the code word.
Corner layer(const KVtables* t, const F44cityState& s, CellTexture3DProc proc,
             const kvnum::LatticeSplit cell[3], int32_t k, const double wt[2], int16_t code,
             bool colour)
{
  Corner c[4];
  for (int n = 0; n < 4; ++n) {
    int16_t word = code;
    const int32_t x = kvnum::wrap_add_i32(cell[0].cell, n & 1);
    const int32_t y = kvnum::wrap_add_i32(cell[1].cell, n >> 1);
    c[n].level = proc(t, x, y, k, &word);
    floatcolor fc;
    if (colour)
      FPROCCOLOR(&fc, s.cycle, word, nullptr);
    c[n].rgb[0] = fc.red;
    c[n].rgb[1] = fc.green;
    c[n].rgb[2] = fc.blue;
  }
  Corner r;
  r.level = lerp(lerp(c[0].level, c[1].level, wt[0]), lerp(c[2].level, c[3].level, wt[0]), wt[1]);
  for (int ch = 0; ch < 3; ++ch)
    r.rgb[ch] = lerp(lerp(c[0].rgb[ch], c[1].rgb[ch], wt[0]),
                     lerp(c[2].rgb[ch], c[3].rgb[ch], wt[0]), wt[1]);
  return r;
}

}  // namespace

void f44_CityTextures(gfunc* g)
{
  const F44batch b = f44_readBatch(g);
  const F44cityState& s = privateArea<F44cityState>(g);
  if (!s.hasCell || s.choice < 0 || s.choice >= int(kCitySets.size()) || g->doc == nullptr) {
    for (int i = 0; i < b.n; ++i)
      f44_write(g, i, {{0, 0, 0}, 0});
    return;
  }
  const KVtables* t = &g->doc->tables;
  const bool colour = !f44_altitudeOnly(g);
  const CellTexture3DProc cell = kCitySets[size_t(s.choice)].cell;
  for (int i = 0; i < b.n; ++i) {
    double out[4];
    f44_citySample(t, s, cell, b.x(i), b.y(i), b.z(i), b.w(i), colour, out);
    f44_write(g, i, {{out[0], out[1], out[2]}, out[3]});
  }
}

void f44_citySample(const KVtables* t, const F44cityState& s, CellTexture3DProc proc, double x,
                    double y, double z, double w, bool colour, double out[4])
{
  // Input 4 is the lattice's height (its second coordinate), input 2 its
  // depth.
  const double p[3] = {x * s.frequency - kCornerShift, w * s.frequency - kCornerShift,
                       y * s.frequency - kCornerShift};
  kvnum::LatticeSplit cell[3];
  double wt[3];
  for (int a = 0; a < 3; ++a) {
    cell[a] = cellOf(p[a]);
    wt[a] = f44_smoothstep(s.sharpness * cell[a].frac);
  }
  const int16_t code = codeWord(z);
  const Corner near = layer(t, s, proc, cell, cell[2].cell, wt, code, colour);
  const Corner far =
      layer(t, s, proc, cell, kvnum::wrap_add_i32(cell[2].cell, 1), wt, code, colour);
  out[3] = 4 * lerp(near.level, far.level, wt[2]);
  for (int ch = 0; ch < 3; ++ch)
    out[ch] = colour ? lerp(near.rgb[ch], far.rgb[ch], wt[2]) / 32 : 0.0;
}

void f44_CityTextures_precompute(gfunc* g)
{
  F44cityState& s = privateArea<F44cityState>(g);
  const int choice = choiceOf(g->A);
  s.frequency = 64 * g->C;
  // Odd choices are the soft sets; a choice outside the table counts by its
  // own parity.
  const int32_t k = std::isnan(g->A) ? 0 : kvnum::sat_i32(g->A);
  s.sharpness = (k & 1) != 0 ? kSoft : kSharp;
  s.choice = choice;
  s.hasCell = choice >= 0;
  if (s.hasCell)
    buildCycle(s.cycle, choice, g->B);
}

std::string_view f44_CityTextures_label(const gfunc* g, int param)
{
  if (param != 0) {
    static constexpr std::string_view kLabels[3] = {"", "Color Cycle ", "Frequency "};
    return kLabels[param];
  }
  const int choice = choiceOf(g->A);
  return choice >= 0 ? kCitySets[size_t(choice)].label : std::string_view{};
}

int16_t f44_CityTextures_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_CityTextures, g, msg, a, b, c);
}
