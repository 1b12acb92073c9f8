#include "engine/palettelookups.h"

#include <algorithm>
#include <cmath>

#include "engine/gfunc.h"
#include "foundation/bezier.h"
#include "foundation/checked.h"
#include "foundation/colormath.h"

namespace {

constexpr int32_t kSlots = 64;

// The colours a palette really holds: its count held to the 64 slots.
int32_t usedCount(const cpalette* p)
{
  return std::clamp(p->count, 0, kSlots);
}

dvector3d asVector(const normalcolor& c)
{
  return {double(c.red), double(c.green), double(c.blue)};
}

void store(const normalcolor& c, double out[3])
{
  out[0] = c.red;
  out[1] = c.green;
  out[2] = c.blue;
}

// A key of the one-colour hue cycle: lightness fall-off d, saturation S,
// lightness L.
constexpr normalcolor key(uint8_t d, uint8_t s, uint8_t l)
{
  return normalcolor{0, d, s, l};
}

// Closes a 15-colour hue cycle for t (the table of foundation/colormath) into a
// 16-entry table and samples it at three positions, writing (red, green, blue)
// triples to out.
void sampleColorCycle(double* out, double t, const double positions[3])
{
  normalcolor table[16] = {};
  GetParam1DColorTable(table, t, 15);
  table[15] = table[0];
  for (int k = 0; k < 3; ++k)
    fcolorgradient(table, 16, positions[k], &out[3 * k], &out[3 * k + 1], &out[3 * k + 2]);
}

// The family codes that take (or give) a given number of inputs (outputs).
bool familyInputsAre(uint16_t family, int16_t inputs)
{
  return inputs >= 1 && inputs <= 4 && KV_familyInputs(family) == inputs;
}

bool familyOutputsAre(uint16_t family, int16_t outputs)
{
  return (outputs == 1 || outputs == 2) && KV_familyOutputs(family) == outputs;
}

// The last component below the root level that satisfies `match`.
template <class Match>
gfunc* searchBelowRoot(sfuncSystem* doc, Match match)
{
  smalltree& tree = doc->tree;
  for (int32_t i = std::min<int32_t>(tree.count, kMaxComponents) - 1; i >= 0; --i) {
    gfunc& g = tree.funcs[i];
    if (g.level < tree.rootLevel && match(g))
      return &g;
  }
  return nullptr;
}

}  // namespace

void fvcolorgradient(const cpalette* p, double t, double out[3])
{
  const int32_t last = usedCount(p) - 1;
  if (last <= 0 || !(t > 0)) {
    store(p->colors[0], out);
    return;
  }
  if (t >= 1) {
    store(p->colors[last], out);
    return;
  }
  double x = last * t;
  int32_t i = int32_t(x);  // 0 <= x < last
  double f = x - i;
  const normalcolor &a = p->colors[i], &b = p->colors[i + 1];
  out[0] = a.red + (b.red - a.red) * f;
  out[1] = a.green + (b.green - a.green) * f;
  out[2] = a.blue + (b.blue - a.blue) * f;
}

void fbeziercolorgradient(const cpalette* p, double t, double out[3])
{
  const int32_t count = usedCount(p);
  const int32_t last = count - 1;
  if (last <= 1) {
    fcolorgradient(p->colors, count, t, &out[0], &out[1], &out[2]);
    return;
  }
  t = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
  double x = last * t;
  int32_t i = int32_t(x);

  // The keys as points; a neighbour that falls on its key is the same point,
  // which marks the first or last key of the curve.
  dvector3d keys[kSlots];
  for (int32_t k = 0; k < count; ++k)
    keys[k] = asVector(p->colors[k]);
  const dvector3d* p0 = &keys[std::max(i - 1, 0)];
  const dvector3d* p1 = &keys[i];
  const dvector3d* p2 = &keys[std::min(i + 1, last)];
  const dvector3d* p3 = &keys[std::min(i + 2, last)];
  dvector3d point;
  Bezier3D_lerp(p0, p1, p2, p3, &point, nullptr, x - i);
  out[0] = point.x;
  out[1] = point.y;
  out[2] = point.z;
}

void fcoloraverage(const cpalette* p, double out[3])
{
  out[0] = out[1] = out[2] = 0;
  const int32_t count = usedCount(p);
  if (count < 1)
    return;
  const double w = 1.0 / count;
  for (int32_t i = 0; i < count; ++i) {
    out[0] += p->colors[i].red * w;
    out[1] += p->colors[i].green * w;
    out[2] += p->colors[i].blue * w;
  }
}

void fcolorvectorgradient(const double* table, int32_t n, double t, double* red, double* green,
                          double* blue)
{
  const double* e = table;
  double f = 0;
  if (n > 1 && t >= 1) {
    e = table + 3 * (n - 1);
  } else if (n > 1 && t > 0) {
    double x = (n - 1) * t;
    int32_t i = int32_t(x);
    e = table + 3 * i;
    f = x - i;
  }
  if (f == 0) {
    *red = e[0];
    *green = e[1];
    *blue = e[2];
    return;
  }
  *red = e[0] + (e[3] - e[0]) * f;
  *green = e[1] + (e[4] - e[1]) * f;
  *blue = e[2] + (e[5] - e[2]) * f;
}

void GetParam1DColor(normalcolor* scratch, double t, double out[3])
{
  static constexpr normalcolor kKeys[8] = {key(0, 255, 128),  key(255, 192, 128), key(0, 128, 128),
                                           key(255, 96, 128), key(0, 64, 128),    key(255, 48, 128),
                                           key(0, 0, 128),    key(255, 0, 255)};
  std::copy(kKeys, kKeys + 8, scratch);
  normalcolor sl = colorgradient(scratch, 8, t);
  int32_t hue = kvnum::sat_i32(t * 360 * 5) % 360;
  normalcolor c = sl;  // opaque
  myHSLtoRGB(hue, sl.green, sl.blue, &c);
  scratch[0] = c;
  out[0] = c.red * 0.03125;
  out[1] = c.green * 0.03125;
  out[2] = c.blue * 0.03125;
}

void GetQuadrupleColorCycle(double* out, double t)
{
  static constexpr double kPositions[3] = {0, 0.3333, 0.6666};
  double samples[9];
  sampleColorCycle(samples, t, kPositions);
  out[0] = out[1] = out[2] = 0;
  std::copy(samples, samples + 9, out + 3);
}

void GetTripleColorCycle(double* out, double t, bool flag)
{
  const double positions[3] = {0, flag ? 0.16665 : 0.3333, 0.6666};
  sampleColorCycle(out, t, positions);
}

gfunc* arb_searchuID(sfuncSystem* doc, int16_t index)
{
  smalltree& tree = doc->tree;
  for (int32_t i = std::min<int32_t>(tree.count, kMaxComponents) - 1; i >= 0; --i)
    if (tree.funcs[i].index == index)
      return &tree.funcs[i];
  return nullptr;
}

gfunc* arb_searchbyTypeIn_last(sfuncSystem* doc, int16_t inputs)
{
  return searchBelowRoot(doc,
                         [inputs](const gfunc& g) { return familyInputsAre(g.family, inputs); });
}

gfunc* arb_searchbyTypeOut_last(sfuncSystem* doc, int16_t outputs)
{
  return searchBelowRoot(doc,
                         [outputs](const gfunc& g) { return familyOutputsAre(g.family, outputs); });
}
