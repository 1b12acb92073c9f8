#include "components/f23/f23_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "components/common/pictiling.h"
#include "components/f23/f23_pvt.h"
#include "foundation/checked.h"

namespace {

F23pictPrivate& pictOf(gfunc* g)
{
  return privateArea<F23pictPrivate>(g);
}

// A record with pixels to sample: one byte a pixel for 8 bits, else four,
// within the row length (a buffer of another depth has nothing to sample).
bool hasPicture(const KVpictureRecord& r)
{
  return r.base != nullptr && r.width > 0 && r.height > 0 &&
         uint64_t(r.rowBytes) >= uint64_t(r.width) * (r.is8bit ? 1 : 4);
}

// Red, green and blue of pixel (column, row) on the byte scale: bytes 1..3
// of a 32-bit pixel, the grey byte three times for an 8-bit one.
F23triple pixelAt(const KVpictureRecord& r, int32_t column, int32_t row)
{
  const uint8_t* line = r.base + ptrdiff_t(row) * r.rowBytes;
  if (r.is8bit) {
    const double grey = line[column];
    return {grey, grey, grey};
  }
  const uint8_t* p = line + ptrdiff_t(column) * 4;
  return {double(p[1]), double(p[2]), double(p[3])};
}

F23triple scaled(const F23triple& c, double k)
{
  return {c.a * k, c.b * k, c.c * k};
}

// ---- Mapped and repeated pictures ----------------------------------------------

struct PictSampler
{
  const KVpictureRecord& r;
  bool clipped;       // only the picture itself is shown
  F23triple outside;  // outside the picture and in the gaps between tiles
  double k;

  // Row `row` from column `column` toward the next column by fx (the last
  // column alone).
  F23triple rowColour(int32_t column, int32_t row, double fx) const
  {
    const F23triple c = pixelAt(r, column, row);
    return column < r.width - 1 ? f23_mix(c, pixelAt(r, column + 1, row), fx) : c;
  }

  F23triple value(double x, double y) const
  {
    const double px = r.sx * x + r.cx, py = r.cy - r.sy * y;
    if (clipped && (px > r.width || py > r.height || px < 0 || py < 0))
      return outside;
    kvnum::LatticeSplit sx, sy;
    if (!kvnum::lattice_trunc_split(px, sx) || !kvnum::lattice_trunc_split(py, sy))
      return outside;
    const int64_t cx = KV_tileMod(sx.cell, r.tileX), cy = KV_tileMod(sy.cell, r.tileY);
    if (cx >= r.width || cy >= r.height)
      return outside;
    const int32_t column = int32_t(cx), row = int32_t(cy);
    const F23triple c = rowColour(column, row, sx.frac);
    if (row >= r.height - 1)
      return scaled(c, k);
    return scaled(f23_mix(c, rowColour(column, row + 1, sx.frac), sy.frac), k);
  }
};

// ---- Mirrored tiles -------------------------------------------------------------

// The column (or row) the mirrored tiling of period n shows at index i, the
// fraction toward the neighbour in the tile's direction, and the parity of
// the tile (even tiles run forward).
struct MirrorIndex
{
  int32_t index;
  double frac;
  bool even;
};

MirrorIndex mirrorIndex(int32_t i, double f, int32_t n)
{
  int64_t v = i;
  if (v < 0) {
    f = 1 - f;
    v = 2 * (int64_t(n) - 1) - v;
  }
  const int64_t q = v / n, r = v % n;
  const bool even = q % 2 == 0;
  return MirrorIndex{int32_t(even ? r : n - 1 - r), f, even};
}

// c moved toward n by w, each channel cut to its whole part.
F23triple wholeMix(const F23triple& c, const F23triple& n, double w)
{
  const F23triple m = f23_mix(c, n, w);
  return {std::trunc(m.a), std::trunc(m.b), std::trunc(m.c)};
}

F23triple mirroredRow(const KVpictureRecord& r, const MirrorIndex& mx, int32_t row)
{
  const F23triple c = pixelAt(r, mx.index, row);
  if (mx.even && mx.index < r.width - 1)
    return wholeMix(c, pixelAt(r, mx.index + 1, row), mx.frac);
  if (!mx.even && mx.index >= 1)
    return wholeMix(c, pixelAt(r, mx.index - 1, row), mx.frac);
  return c;
}

F23triple mirroredValue(const KVpictureRecord& r, double x, double y, double k)
{
  const double px = r.sx * x + r.cx, py = r.cy - r.sy * y;
  kvnum::LatticeSplit sx, sy;
  if (!kvnum::lattice_trunc_split(px, sx) || !kvnum::lattice_trunc_split(py, sy))
    return {0, 0, 0};
  const MirrorIndex mx = mirrorIndex(sx.cell, sx.frac, r.width);
  const MirrorIndex my = mirrorIndex(sy.cell, sy.frac, r.height);
  const F23triple c = mirroredRow(r, mx, my.index);
  if (my.index == 0 || my.index >= r.height - 1)
    return scaled(c, k);
  const int32_t next = my.even ? my.index + 1 : my.index - 1;
  return scaled(wholeMix(c, mirroredRow(r, mx, next), my.frac), k);
}

}  // namespace

// ---- Compute functions ----------------------------------------------------------

void f23_colorpict(gfunc* g)
{
  const F23pictPrivate& p = pictOf(g);
  if (!hasPicture(p.pict))
    return;
  const PictSampler sampler{p.pict, g->C <= 0, F23triple{0, 0, 0}, p.contrast};
  f23_eachSample(g, F23mask::x, [&](double x, double y) { return sampler.value(x, y); });
}

void f23_colorpictsym(gfunc* g)
{
  const F23pictPrivate& p = pictOf(g);
  if (!hasPicture(p.pict))
    return;
  const double k = p.contrast;
  f23_eachSample(g, F23mask::x, [&](double x, double y) { return mirroredValue(p.pict, x, y, k); });
}

void f23_colorpicttile(gfunc* g)
{
  const F23pictPrivate& p = pictOf(g);
  if (!hasPicture(p.pict))
    return;
  constexpr double kByteToValue = 1.0 / 32;
  // Without a repeat across, everything outside the picture has no value.
  const PictSampler sampler{p.pict, p.pict.tileX == kNoTiling, kF23noValue, kByteToValue};
  f23_eachSample(g, F23mask::x, [&](double x, double y) { return sampler.value(x, y); });
}

// ---- Preparation ----------------------------------------------------------------

void f23_colorpict_prepare(gfunc* g)
{
  F23pictPrivate& p = pictOf(g);
  prepare_pictmovie_input(g, &p.pict);
  g->C = std::min(g->C, 1.0);
  if (hasPicture(p.pict) && g->C > 0) {
    p.pict.tileX = KV_tilePeriod(p.pict.width, g->C);
    p.pict.tileY = KV_tilePeriod(p.pict.height, g->C);
  }
  p.contrast = g->B / 32;
}

void f23_colorpictsym_prepare(gfunc* g)
{
  F23pictPrivate& p = pictOf(g);
  prepare_pictmovie_input(g, &p.pict);
  if (hasPicture(p.pict)) {
    p.pict.tileX = p.pict.width - 1;
    p.pict.tileY = p.pict.height - 1;
  }
  p.contrast = g->B / 32;
}

void f23_colorpicttile_prepare(gfunc* g)
{
  F23pictPrivate& p = pictOf(g);
  prepare_pictmovie_input(g, &p.pict);
  if (!hasPicture(p.pict))
    return;
  if (g->B > 0)
    p.pict.tileX = KV_tilePeriod(p.pict.width, g->B);
  if (g->C > 0)
    p.pict.tileY = KV_tilePeriod(p.pict.height, g->C);
}

// ---- Handlers -------------------------------------------------------------------

int16_t f23_colorpict_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_colorpict, g, msg, a, b, c);
}

int16_t f23_colorpictsym_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_colorpictsym, g, msg, a, b, c);
}

int16_t f23_colorpicttile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_colorpicttile, g, msg, a, b, c);
}
