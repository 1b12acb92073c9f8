// Region overlap drivers.
#include "noise/regions.h"

#include <cmath>

#include "noise/lattice.h"

namespace {

using kvnoise::cellHash2;
using kvnoise::cellSplit;

// Cell index plus a step, wrapping like 32-bit hardware arithmetic.
int32_t stepCell(int32_t i, uint32_t step)
{
  return int32_t(uint32_t(i) + step);
}

// A layer's cell and the sample's fractions in it.
struct LayerCell
{
  int32_t i = 0, j = 0;
  double fx = 0, fy = 0;
};

bool splitLayer(double x, double y, LayerCell& c)
{
  return cellSplit(x, c.i, c.fx) && cellSplit(y, c.j, c.fy);
}

// ---- Aligned layers ----

// A layer on the grid's own cells: the local frame is 2f - 1.
LayerCell alignedLayer(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                       regionrecord* a, dvector4d* b, bool& ok)
{
  LayerCell c;
  ok = splitLayer(x, y, c);
  if (ok)
    proc(fi, 2.0 * c.fx - 1.0, 2.0 * c.fy - 1.0, param, cellHash2(fi->tables, c.i, c.j), a, b);
  return c;
}

// The layer shifted by half a cell against `below`: the sample (x + 333.5,
// y + 333.5) lies in cell below + 334 where the fraction below exceeds 0.5,
// else below + 333. Its code is the cell hash permuted once more.
void shiftedLayer(fractalsinfos* fi, double x, double y, const LayerCell& below, double param,
                  RegionProc proc, regionrecord* a, dvector4d* b)
{
  const KVtables* t = fi->tables;
  double X = x + 333.5, Y = y + 333.5;
  int32_t I = stepCell(below.i, below.fx > 0.5 ? 334u : 333u);
  int32_t J = stepCell(below.j, below.fy > 0.5 ? 334u : 333u);
  int32_t code = t->perm[uint32_t(cellHash2(t, I, J)) & 1023u];
  proc(fi, 2.0 * (X - I) - 1.0, 2.0 * (Y - J) - 1.0, param, code, a, b);
}

// ---- Jittered layers ----

// The jittered region of a cell: a square of half-size s = 1 - amount |r.z|
// (in the cell's local units, -1..1) moved by (1 - s) (r.x, r.y), r being the
// cell's random vector; (u, v) is the sample in that frame before scaling.
struct JitteredRegion
{
  int32_t code;
  double s, u, v;
  bool holdsSample() const { return std::fmax(std::fabs(u), std::fabs(v)) < s; }
};

JitteredRegion findRegion(const KVtables* t, const LayerCell& c, double amount)
{
  int32_t p = cellHash2(t, c.i, c.j);
  const double* r = t->rndVec3D[uint32_t(p) & 1023u];
  double s = 1.0 - amount * std::fabs(r[2]);
  return {p, s, (1.0 - s) * r[0] + (2.0 * c.fx - 1.0), (1.0 - s) * r[1] + (2.0 * c.fy - 1.0)};
}

void callRegion(fractalsinfos* fi, const JitteredRegion& region, double param, RegionProc proc,
                regionrecord* a, dvector4d* b)
{
  proc(fi, region.u / region.s, region.v / region.s, param, region.code, a, b);
}

// How one group of four jittered layers steps from layer to layer: the sample
// moves by (dx, dy); the cell moves by cx (+1 when fx > 0.75) and cy (+1 when
// fy > 0.5).
struct LayerSteps
{
  double dx, dy;
  uint32_t cx, cy;
};

constexpr LayerSteps kFirstGroup{333.25, 777.5, 333u, 777u};
constexpr LayerSteps kSecondGroup{373.25, 577.5, 373u, 577u};

// Four jittered layers starting at (x, y). The sample is advanced in place.
// The next layer's cell follows from the current one by the fixed steps, as
// the offsets are a quarter and a half cell beyond whole numbers.
void jitteredGroup(fractalsinfos* fi, double& x, double& y, const LayerSteps& steps, double amount,
                   double param, RegionProc proc, regionrecord* a, dvector4d* b)
{
  LayerCell c;
  bool ok = splitLayer(x, y, c);
  for (int layer = 0; layer < 4; layer++) {
    LayerCell next;
    x += steps.dx;
    y += steps.dy;
    next.i = stepCell(c.i, c.fx > 0.75 ? steps.cx + 1u : steps.cx);
    next.j = stepCell(c.j, c.fy > 0.5 ? steps.cy + 1u : steps.cy);
    next.fx = x - next.i;
    next.fy = y - next.j;
    if (ok) {
      JitteredRegion region = findRegion(fi->tables, c, amount);
      if (region.holdsSample())
        callRegion(fi, region, param, proc, a, b);
    }
    c = next;
  }
}

constexpr double kDefaultJitter = 0.5;

}  // namespace

void fregionOverlap(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                    regionrecord* a, dvector4d* b, int16_t mode)
{
  bool ok = false;
  LayerCell first = alignedLayer(fi, x, y, param, proc, a, b, ok);
  if (!ok)
    return;
  shiftedLayer(fi, x, y, first, param, proc, a, b);
  if (mode == 2 || mode == 4)
    return;

  // The second pair, far away so that its codes are unrelated to the first.
  double X2 = (x + 333.5) + 771.871, Y2 = (y + 333.5) + 333.491;
  LayerCell third = alignedLayer(fi, X2, Y2, param, proc, a, b, ok);
  if (!ok)
    return;
  shiftedLayer(fi, X2, Y2, third, param, proc, a, b);
}

void fregionJitterOverlap1(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                           regionrecord* record, dvector4d* b)
{
  LayerCell c;
  if (!splitLayer(x, y, c))
    return;
  JitteredRegion region = findRegion(fi->tables, c, kDefaultJitter);
  if (!region.holdsSample())
    return;
  // The callback reads the region size from the record.
  record->values[kRegionSizeSlot] = region.s;
  callRegion(fi, region, param, proc, record, b);
}

void fregionJitterOverlap4(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                           regionrecord* record, dvector4d* b)
{
  double amount = record ? record->values[kRegionJitterSlot] : kDefaultJitter;
  jitteredGroup(fi, x, y, kFirstGroup, amount, param, proc, record, b);
}

void fregionJitterOverlap8(fractalsinfos* fi, double x, double y, double param, RegionProc proc,
                           regionrecord* a, dvector4d* b)
{
  jitteredGroup(fi, x, y, kFirstGroup, kDefaultJitter, param, proc, a, b);
  x += 71.125;
  y += 23.25;
  jitteredGroup(fi, x, y, kSecondGroup, kDefaultJitter, param, proc, a, b);
}
