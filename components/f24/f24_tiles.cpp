#include "components/f24/f24_tiles.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "components/common/pictiling.h"
#include "components/f24/f24_pvt.h"
#include "foundation/colormath.h"

namespace {

// ---- The tilings ----------------------------------------------------------------

constexpr double kThirdTurn = 2.0943951023931953;
constexpr double kBandScale = 0.866025;

struct TileColours
{
  double k0;  // cos and sin of a third of a turn
  double k1;
  double rgb[3][3];  // 0..255
};

TileColours& tiles(gfunc* g)
{
  return privateArea<TileColours>(g);
}

// 1 at the middle of a unit interval, 0 at its ends.
double tri(double f)
{
  return f > 0.5 ? 2 - 2 * f : 2 * f;
}

F24quad tileColour(const TileColours& t, int s, double mask)
{
  return {t.rgb[s][0] / 32, t.rgb[s][1] / 32, t.rgb[s][2] / 32, mask};
}

// The three band coordinates of the triangle and hexagon tilings: the x
// coordinate as it is, rotated once and rotated twice by 120 degrees.
struct Bands
{
  F24cell cell[3];
};

bool bandsAt(const TileColours& t, double X, double Y, double phase, Bands& out)
{
  const double a = kBandScale * X + phase;
  const double b0 = t.k0 * X - t.k1 * Y;
  const double b = kBandScale * b0 + phase;
  const double y1 = t.k0 * Y + t.k1 * X;
  const double c = kBandScale * (t.k0 * b0 - t.k1 * y1) + phase;
  return f24_split(a, out.cell[0]) && f24_split(b, out.cell[1]) && f24_split(c, out.cell[2]);
}

int mod3(int32_t i)
{
  const int r = i % 3;
  return r < 0 ? r + 3 : r;
}

// The hexagon mask: g and h of each band's index mod 3 and fraction.
double hexG(int r, double f)
{
  return r == 0 ? f : r == 1 ? 1 - f : 0;
}

double hexH(int r, double f)
{
  return r == 0 ? 0 : r == 1 ? f : 1 - f;
}

// Colour 0 where no band index is 2 mod 3; else colour 2 where one is 0
// mod 3; else colour 1.
int hexColour(const int r[3])
{
  const auto has = [&](int v) { return r[0] == v || r[1] == v || r[2] == v; };
  if (!has(2))
    return 0;
  return has(0) ? 2 : 1;
}

// ---- The picture ----------------------------------------------------------------

F24pictPrivate& pict(gfunc* g)
{
  return privateArea<F24pictPrivate>(g);
}

// A record with pixels to sample: one byte a pixel for 8 bits, else four,
// within the row length.
bool hasPixels(const KVpictureRecord& r)
{
  return r.base != nullptr && r.width > 0 && r.height > 0 &&
         uint64_t(r.rowBytes) >= uint64_t(r.width) * (r.is8bit ? 1 : 4);
}

// Alpha, red, green, blue of a pixel on the byte scale; an 8-bit pixel is
// an opaque grey.
struct Argb
{
  double v[4];
};

Argb pixelAt(const KVpictureRecord& r, int32_t column, int32_t row)
{
  const uint8_t* line = r.base + ptrdiff_t(row) * r.rowBytes;
  if (r.is8bit) {
    const double grey = line[column];
    return {{255, grey, grey, grey}};
  }
  const uint8_t* p = line + ptrdiff_t(column) * 4;
  return {{double(p[0]), double(p[1]), double(p[2]), double(p[3])}};
}

Argb mix(const Argb& a, const Argb& b, double t)
{
  Argb m;
  for (int k = 0; k < 4; ++k)
    m.v[k] = a.v[k] + (b.v[k] - a.v[k]) * t;
  return m;
}

// One row of the picture from `column` toward the next column by fx (the
// last column alone).
Argb rowAt(const KVpictureRecord& r, int32_t column, int32_t row, double fx)
{
  const Argb c = pixelAt(r, column, row);
  return column < r.width - 1 ? mix(c, pixelAt(r, column + 1, row), fx) : c;
}

F24quad pictValue(const F24pictPrivate& p, bool tiled, double x, double y)
{
  const KVpictureRecord& r = p.pict;
  const double px = r.sx * x + r.cx, py = r.cy - r.sy * y;
  if (!tiled && (px < 0 || py < 0 || px > r.width || py > r.height))
    return kF24zero;
  F24cell cx, cy;
  if (!f24_split(px, cx) || !f24_split(py, cy))
    return kF24zero;
  const int64_t column = KV_tileMod(cx.i, std::max(1, r.tileX));
  const int64_t row = KV_tileMod(cy.i, std::max(1, r.tileY));
  if (column >= r.width || row >= r.height)
    return kF24zero;
  const int32_t i = int32_t(column), j = int32_t(row);
  Argb c = rowAt(r, i, j, cx.f);
  if (j < r.height - 1)
    c = mix(c, rowAt(r, i, j + 1, cx.f), cy.f);
  const bool stillImage = r.movieOpen != 0 && r.multiFrame == 0;
  const double k = p.colourGain;
  return {k * c.v[1], k * c.v[2], k * c.v[3], stillImage ? 8.0 : p.alphaGain * c.v[0]};
}

}  // namespace

// ---- Message 8 and 7 ----------------------------------------------------------

void f24_tiles_prepare(gfunc* g)
{
  TileColours& t = tiles(g);
  t.k0 = std::cos(kThirdTurn);
  t.k1 = std::sin(kThirdTurn);
  normalcolor table[3];
  GetParam1DColorTable(table, g->A, 3);
  for (int s = 0; s < 3; ++s) {
    t.rgb[s][0] = table[s].red;
    t.rgb[s][1] = table[s].green;
    t.rgb[s][2] = table[s].blue;
  }
}

void f24_colorpict_prepare(gfunc* g)
{
  F24pictPrivate& p = pict(g);
  prepare_pictmovie_input(g, &p.pict);
  if (g->C > 0 && p.pict.base != nullptr) {
    p.pict.tileX = KV_tilePeriod(p.pict.width, g->C);
    p.pict.tileY = KV_tilePeriod(p.pict.height, g->C);
  }
  p.alphaGain = 4.0 / 255;
  p.colourGain = g->B / 32;
}

// ---- Computes -------------------------------------------------------------------

void f24_XTile(gfunc* g)
{
  const TileColours& t = tiles(g);
  const double f = g->C, phase = g->B;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    F24cell i, j;
    if (!f24_split(f * x + phase, i) || !f24_split(f * y + phase, j))
      return kF24zero;
    const double e = 2 * std::min(tri(i.f), tri(j.f));
    return tileColour(t, (i.i & 1) + (j.i & 1), e >= 1 ? 4.0 : 4 * e);
  });
}

void f24_TriTile(gfunc* g)
{
  const TileColours& t = tiles(g);
  const double f = g->C, phase = g->B;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    Bands b;
    if (!bandsAt(t, f * x, f * y, phase, b))
      return kF24zero;
    const int s = ((b.cell[0].i & 1) + (b.cell[1].i & 1) + (b.cell[2].i & 1)) % 3;
    const double m = std::min({tri(b.cell[0].f), tri(b.cell[1].f), tri(b.cell[2].f)});
    return tileColour(t, s, 4 * m);
  });
}

void f24_HexaTile(gfunc* g)
{
  const TileColours& t = tiles(g);
  const double f = g->C, phase = g->B;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    Bands b;
    if (!bandsAt(t, f * x, f * y, phase, b))
      return kF24zero;
    int r[3];
    double gm = 1, hm = 1;
    for (int k = 0; k < 3; ++k) {
      r[k] = mod3(b.cell[k].i);
      gm = std::min(gm, hexG(r[k], b.cell[k].f));
      hm = std::min(hm, hexH(r[k], b.cell[k].f));
    }
    return tileColour(t, hexColour(r), 4 * std::max(gm, hm));
  });
}

// Without pixels the batch is (0, 0, 0, 0), so no earlier batch's values
// stay in the outputs.
void f24_colorpict(gfunc* g)
{
  const F24pictPrivate& p = pict(g);
  const bool tiled = g->C > 0;
  if (!hasPixels(p.pict)) {
    f24_eachSample(g, kF24noValue, [](double, double) { return kF24zero; });
    return;
  }
  f24_eachSample(g, kF24noValue, [&](double x, double y) { return pictValue(p, tiled, x, y); });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f24_TriTile_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_TriTile, g, m, a, b, c);
}
int16_t f24_HexaTile_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_HexaTile, g, m, a, b, c);
}
int16_t f24_XTile_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_XTile, g, m, a, b, c);
}
int16_t f24_colorpict_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_colorpict, g, m, a, b, c);
}
