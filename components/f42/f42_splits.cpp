#include "components/f42/f42_splits.h"

#include <algorithm>

#include "components/f42/f42_pvt.h"
#include "noise/kvtables.h"

namespace {

// The largest subdivision depth of the box displacement.
constexpr int kMaxBoxDepth = 2;

F42point pointP(const F42sample& s)
{
  return {s.x, s.y};
}

F42point pointQ(const F42sample& s)
{
  return {s.z, s.w};
}

double lengthSquared(F42point p)
{
  return p.x * p.x + p.y * p.y;
}

// The hash of the box cell (i, j): 0..15.
uint32_t boxHash(const KVtables* t, int32_t i, int32_t j)
{
  const uint32_t inner = uint32_t(t->perm[uint32_t(j) & 1023u]);
  return uint32_t(t->perm[(uint32_t(i) + inner + uint32_t(j >> 9)) & 1023u]) & 15u;
}

}  // namespace

bool boxdisplace(const KVtables* t, double amount, double px, double py, double x, double y,
                 double* outX, double* outY, int16_t depth)
{
  for (int level = depth;; ++level) {
    kvnum::LatticeSplit ci, cj;
    if (!f42_cellfloor(px, ci) || !f42_cellfloor(py, cj))
      return false;
    F42point r{x, y};
    const uint32_t h = boxHash(t, ci.cell, cj.cell);
    switch (h) {
      case 0:
        r.x = x + amount;
        break;
      case 1:
        r.y = y + amount;
        break;
      case 2:
        r.y = y - amount;
        break;
      case 3:
        r.x = x - amount;
        break;
      case 4:
        if (cj.frac < 0.5)
          r.y = y + amount;
        break;
      case 5:
        if (ci.frac < 0.5)
          r.x = x + amount;
        break;
      default:
        break;
    }
    // 10..15 subdivide the cell, up to the deepest level.
    if (h < 10 || level > kMaxBoxDepth) {
      *outX = r.x;
      *outY = r.y;
      return true;
    }
    amount *= 0.75;
    px = px * 2 + 333;
    py = py * 2 + 777;
  }
}

void f42_ycompare(gfunc* g)
{
  const double A = g->A;
  f42_eachSample(g, [&](const F42sample& s) { return A + s.y > s.w ? pointQ(s) : pointP(s); });
}

void f42_DistCompare(gfunc* g)
{
  f42_eachSample(g, [](const F42sample& s) {
    return lengthSquared(pointP(s)) > lengthSquared(pointQ(s)) ? pointQ(s) : pointP(s);
  });
}

void f42_split_precompute(gfunc* g)
{
  f42_k(g).K[0] = std::cos(g->B);
  f42_k(g).K[1] = std::sin(g->B);
}

void f42_split_convert(gfunc* g)
{
  if (g->owner == nullptr || g->owner->version > kF42SplitAngleVersion)
    return;
  g->B = 0;
  for (KVparamTriple& key : g->keyframes)
    key.B = 0;
}

void f42_split(gfunc* g)
{
  const double A = g->A, c = f42_k(g).K[0], sn = f42_k(g).K[1];
  f42_eachSample(
      g, [&](const F42sample& s) { return A > c * s.x + sn * s.y ? pointQ(s) : pointP(s); });
}

void f42_splitunitdisk_precompute(gfunc* g)
{
  f42_k(g).K[0] = g->A * g->A;
}

void f42_splitunitdisk(gfunc* g)
{
  const double r2 = f42_k(g).K[0], B = g->B, C = g->C;
  f42_eachSample(g, [&](const F42sample& s) {
    const double dx = s.x + B, dy = s.y + C;
    return dx * dx + dy * dy > r2 ? pointQ(s) : pointP(s);
  });
}

void f42_split_four(gfunc* g)
{
  const double A = g->A, B = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    const F42point candidates[] = {
        {s.x - A, s.y - B}, {s.x + A, s.y - B}, {s.x - A, s.y + B}, {s.x + A, s.y + B}};
    F42point best = pointQ(s);
    double bestLength = lengthSquared(best);
    // A later candidate wins only when it is strictly shorter.
    for (const F42point& p : candidates) {
      const double l = lengthSquared(p);
      if (bestLength > l) {
        best = p;
        bestLength = l;
      }
    }
    return best;
  });
}

void f42_splitAlternate(gfunc* g)
{
  const int own = g->owner != nullptr ? g->owner->iteration : 0;
  const int main = g->doc != nullptr ? g->doc->tree.iteration : 0;
  const bool odd = std::max(own, main) % 2 != 0;
  f42_eachSample(g, [&](const F42sample& s) { return odd ? pointQ(s) : pointP(s); });
}

void f42_xfzyfc(gfunc* g)
{
  f42_eachSample(g, [](const F42sample& s) { return F42point{s.x, s.w}; });
}

void f42_rdisplace(gfunc* g)
{
  const double A = g->A, B = g->B, C = g->C;
  const KVtables* t = &g->doc->tables;
  f42_eachSample(g, [&](const F42sample& s) {
    F42point r;
    if (!boxdisplace(t, A, s.z * C / 2 + B, s.w * C / 2, s.x, s.y, &r.x, &r.y, 0))
      return kF42noValue;
    return r;
  });
}

int16_t f42_ycompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_ycompare, g, msg, a, b, c);
}

int16_t f42_DistCompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_DistCompare, g, msg, a, b, c);
}

int16_t f42_split_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_split, g, msg, a, b, c);
}

int16_t f42_splitunitdisk_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_splitunitdisk, g, msg, a, b, c);
}

int16_t f42_split_four_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_split_four, g, msg, a, b, c);
}

int16_t f42_splitAlternate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_splitAlternate, g, msg, a, b, c);
}

int16_t f42_xfzyfc_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_xfzyfc, g, msg, a, b, c);
}

int16_t f42_rdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_rdisplace, g, msg, a, b, c);
}
