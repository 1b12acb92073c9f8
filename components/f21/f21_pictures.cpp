#include "components/f21/f21_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "components/common/pictiling.h"
#include "components/f21/f21_pictfilters.h"
#include "components/f21/f21_pvt.h"
#include "foundation/checked.h"

namespace {

F21pictPrivate& pictOf(gfunc* g)
{
  return privateArea<F21pictPrivate>(g);
}

// A record with pixels to sample: one byte a pixel for 8 bits, else four,
// within the row length (a buffer of another depth has nothing to sample).
bool hasPicture(const KVpictureRecord& r)
{
  return r.base != nullptr && r.width > 0 && r.height > 0 &&
         uint64_t(r.rowBytes) >= uint64_t(r.width) * (r.is8bit ? 1 : 4);
}

// The pixels of the picture record: grey as the member reads it.
struct GreyPixels
{
  const uint8_t* base;
  uint32_t rowBytes;
  bool is8bit;

  explicit GreyPixels(const KVpictureRecord& r)
      : base(r.base), rowBytes(r.rowBytes), is8bit(r.is8bit != 0)
  {}

  const uint8_t* at(int32_t column, int32_t row) const
  {
    return base + ptrdiff_t(row) * rowBytes + ptrdiff_t(column) * (is8bit ? 1 : 4);
  }
  // The 8-bit byte, or (red + green + blue) / 3 in integers.
  int32_t grey(int32_t column, int32_t row) const
  {
    const uint8_t* p = at(column, row);
    return is8bit ? p[0] : (int32_t(p[1]) + p[2] + p[3]) / 3;
  }
  // One byte: the 8-bit byte, or red.
  int32_t red(int32_t column, int32_t row) const
  {
    const uint8_t* p = at(column, row);
    return is8bit ? p[0] : p[1];
  }
};

// The column (or row) a mirrored tiling of period n shows at index i, the
// fraction toward the neighbour that follows in the mirrored direction, and
// whether the tile is an even (unmirrored) one.
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

// ---- Pict/Movie ---------------------------------------------------------------

struct MovieSampler
{
  const KVpictureRecord& r;
  GreyPixels pixels;
  bool clipped;       // no tiling: only the picture itself is shown
  int32_t g0;         // grey of the first pixel: the background
  double background;  // g0 k

  // Row `row` at column `column` + fx, the last column blending toward g0.
  double rowValue(int32_t column, int32_t row, double fx) const
  {
    const double g = pixels.grey(column, row);
    const double right = column < r.width - 1 ? pixels.grey(column + 1, row) : g0;
    return g + (right - g) * fx;
  }

  double value(double x, double y, double k) const
  {
    const double px = r.cx + x * r.sx, py = r.cy - y * r.sy;
    if (clipped && (px < 0 || px > r.width || py < 0 || py > r.height))
      return background;
    kvnum::LatticeSplit sx, sy;
    if (!kvnum::lattice_trunc_split(px, sx) || !kvnum::lattice_trunc_split(py, sy))
      return background;
    const int64_t tx = KV_tileMod(sx.cell, r.tileX), ty = KV_tileMod(sy.cell, r.tileY);
    if (tx >= r.width || ty >= r.height)
      return background;
    const int32_t column = int32_t(tx), row = int32_t(ty);
    const double top = rowValue(column, row, sx.frac);
    if (row >= r.height - 1)
      return top * k;
    const double below = rowValue(column, row + 1, sx.frac);
    return (top + (below - top) * sy.frac) * k;
  }
};

// ---- Pict/Movie SymTiled --------------------------------------------------------

double mirroredRow(const GreyPixels& pixels, const MirrorIndex& mx, int32_t width, int32_t row)
{
  double v = pixels.red(mx.index, row);
  if (mx.even && mx.index < width - 1)
    v += (pixels.red(mx.index + 1, row) - v) * mx.frac;
  else if (!mx.even && mx.index > 0)
    v += (pixels.red(mx.index - 1, row) - v) * mx.frac;
  return v;
}

double mirroredValue(const KVpictureRecord& r, const GreyPixels& pixels, double x, double y)
{
  const double px = r.cx + x * r.sx, py = r.cy - y * r.sy;
  kvnum::LatticeSplit sx, sy;
  if (!kvnum::lattice_trunc_split(px, sx) || !kvnum::lattice_trunc_split(py, sy))
    return 0.0;
  const MirrorIndex mx = mirrorIndex(sx.cell, sx.frac, r.width);
  const MirrorIndex my = mirrorIndex(sy.cell, sy.frac, r.height);
  double v = mirroredRow(pixels, mx, r.width, my.index);
  if (my.index > 0 && my.index < r.height - 1) {
    const int32_t next = my.even ? my.index + 1 : my.index - 1;
    const double b = mirroredRow(pixels, mx, r.width, next);
    v += (b - v) * my.frac;
  }
  return v;
}

// ---- Blurred Pict/Movie ---------------------------------------------------------

double blurredValue(const KVpictureRecord& r, double x, double y)
{
  const double px = std::trunc(r.cx) + x * r.sx, py = std::trunc(r.cy) - y * r.sy;
  const int32_t W = r.width, H = r.height;
  if (px >= 1 && px < W - 2 && py >= 1 && py < H - 2)
    return newPLerp(r.base, int32_t(r.rowBytes), px, py);
  if (px >= -2 && px < W + 1 && py >= -2 && py < H + 1)
    return newPLerpBounds(r.base, int32_t(r.rowBytes), W, H, px, py);
  return 0.0;
}

// The contrast factor of the grey members: 4 B / 255.
double greyContrast(double b)
{
  return 4 * b / 255;
}

}  // namespace

int32_t f21_blurSize(double c)
{
  const double held = c >= 0 ? std::min(c, 1.0) : 0.0;  // NaN fails c >= 0
  return int32_t(16 * held + 2) & ~1;
}

// ---- Compute functions ----------------------------------------------------------

void f21_movie(gfunc* g)
{
  const F21pictPrivate& p = pictOf(g);
  if (!hasPicture(p.pict))
    return;
  const double k = p.contrast;
  const GreyPixels pixels(p.pict);
  const int32_t g0 = pixels.grey(0, 0);
  const MovieSampler sampler{p.pict, pixels, g->C <= 0, g0, g0 * k};
  f21_eachSample(g, [&](double x, double y) { return sampler.value(x, y, k); });
}

void f21_movieSym(gfunc* g)
{
  const F21pictPrivate& p = pictOf(g);
  if (!hasPicture(p.pict))
    return;
  const double k = p.contrast;
  const GreyPixels pixels(p.pict);
  f21_eachSample(g, [&](double x, double y) { return mirroredValue(p.pict, pixels, x, y) * k; });
}

void f21_blurredmovie(gfunc* g)
{
  const F21pictPrivate& p = pictOf(g);
  if (!hasPicture(p.pict))
    return;
  const double f = p.outFactor;
  f21_eachSample(g, [&](double x, double y) { return blurredValue(p.pict, x, y) * f; });
}

// ---- Preparation ----------------------------------------------------------------

void f21_movie_prepare(gfunc* g)
{
  F21pictPrivate& p = pictOf(g);
  prepare_pictmovie_input(g, &p.pict);
  p.contrast = greyContrast(g->B);
  g->C = std::min(g->C, 1.0);
  if (hasPicture(p.pict) && g->C > 0) {
    p.pict.tileX = KV_tilePeriod(p.pict.width, g->C);
    p.pict.tileY = KV_tilePeriod(p.pict.height, g->C);
  }
}

void f21_movieSym_prepare(gfunc* g)
{
  F21pictPrivate& p = pictOf(g);
  prepare_pictmovie_input(g, &p.pict);
  p.contrast = greyContrast(g->B);
  if (hasPicture(p.pict)) {
    p.pict.tileX = p.pict.width - 1;
    p.pict.tileY = p.pict.height - 1;
  }
}

void f21_blurredmovie_prepare(gfunc* g)
{
  F21pictPrivate& p = pictOf(g);
  prepare_pictmovie_input(g, &p.pict);
  if (!hasPicture(p.pict))
    return;
  Offworld source = static_cast<KVinputSlot*>(g->link)->picture;
  const int32_t k = f21_blurSize(g->C);
  const F21blurKey key{p.pict.width, p.pict.height, k,
                       f21_pictureFingerprint(source, p.pict.width, p.pict.height)};
  if (p.blurred == nullptr || !(p.blurKey == key)) {
    // Take the new hold first: sums this component already holds are kept.
    Offworld sums = f21_acquireBlur(key, source);
    f21_releaseBlur(p.blurred);
    p.blurred = sums;
    p.blurKey = key;
    p.lastBlur = sums != nullptr ? k : -1.0;
  }
  if (p.blurred == nullptr) {
    p.pict.base = nullptr;
    return;
  }
  // The record now describes the sums; W and H stay the picture's.
  p.pict.base = p.blurred->pixels.baseAddr;
  p.pict.rowBytes = uint32_t(p.blurred->pixels.rowBytes);
  const double w = k + 1;
  p.outFactor = g->B / (w * w * w * w * 96);
}

void f21_blurredmovie_release(gfunc* g)
{
  F21pictPrivate& p = pictOf(g);
  f21_releaseBlur(p.blurred);
  p.blurred = nullptr;
  p.lastBlur = -1.0;
}

// ---- Handlers -------------------------------------------------------------------

int16_t f21_movie_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_movie, g, msg, a, b, c);
}

int16_t f21_movieSym_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_movieSym, g, msg, a, b, c);
}

int16_t f21_blurredmovie_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_blurredmovie, g, msg, a, b, c);
}
