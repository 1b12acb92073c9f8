#include "components/f24/f24_lattice.h"

#include <algorithm>
#include <iterator>

#include "celltextures/mazes.h"
#include "celltextures/techmotifs.h"
#include "components/f24/f24_pvt.h"
#include "engine/palettelookups.h"
#include "noise/mazecolor.h"

namespace {

// What message 8 leaves: the constants and the colour set, as a 16-entry
// cycle of float colours (FPROCCOLOR reads codes up to 15; black past the
// set) or of double triples for the maze samplers.
struct LatticePicture
{
  double k[3];
  floatcolor cycle[16];
  double colours[kMazeColorCount][3];
};

LatticePicture& picture(gfunc* g)
{
  return privateArea<LatticePicture>(g);
}

// k0 and k1 from A, and the set cleared to black.
void prepareCommon(gfunc* g)
{
  LatticePicture& p = picture(g);
  p.k[0] = (g->A / 2 + 0.5) / 32;
  p.k[1] = 4 * g->A;
  std::fill(std::begin(p.cycle), std::end(p.cycle), floatcolor{});
  for (double* c : p.colours)
    std::fill_n(c, 3, 0.0);
}

// The Mondrian set: three hues of B, then grey, white and black.
void fillMondrianSet(gfunc* g)
{
  LatticePicture& p = picture(g);
  GetTripleFColorCycle(p.cycle, g->B, true);
  p.cycle[3] = {128, 128, 128};
  p.cycle[4] = {255, 255, 255};
  p.cycle[5] = {0, 0, 0};
}

void fillTripleSet(gfunc* g, bool flag)
{
  double triple[9];
  GetTripleColorCycle(triple, g->B, flag);
  for (int c = 0; c < 3; ++c)
    std::copy_n(triple + 3 * c, 3, picture(g).colours[c]);
}

// The point (s x, s y) has a lattice cell.
bool onLattice(double X, double Y)
{
  F24cell c;
  return f24_split(X, c) && f24_split(Y, c);
}

// Ids 4 and 6: fmazeColorCubic with one record per batch, whose value (the
// shading of the materials) carries over from sample to sample.
template <class Out4>
void cubicPicture(gfunc* g, double scale, MazeCellProc cell, double sharpness, Out4 out4)
{
  const LatticePicture& p = picture(g);
  const KVtables* t = f24_tables(g);
  mazecolorrecord rec{};
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double X = scale * x, Y = scale * y;
    if (!onLattice(X, Y))
      return kF24noValue;
    fmazeColorCubic(t, X, Y, 0.0, cell, p.cycle, &rec, sharpness);
    return F24quad{p.k[0] * rec.red, p.k[0] * rec.green, p.k[0] * rec.blue, out4(rec.value)};
  });
}

// One LED pattern at (X, Y): its colour (0..1) and value.
struct Led
{
  double r, g, b, v;
};

Led ledPattern(const KVtables* t, double X, double Y, ColorCellProc cell)
{
  mazecolorrecord rec{};
  const double v = fmazeColorTriangle(t, X, Y, cell, &rec, -3);
  return {rec.red, rec.green, rec.blue, v};
}

Led mixLed(const Led& a, const Led& b, double w)
{
  return {a.r + (b.r - a.r) * w, a.g + (b.g - a.g) * w, a.b + (b.b - a.b) * w,
          a.v + (b.v - a.v) * w};
}

// The LED panel at style k1: pattern 1 alone up to 0, blended into pattern
// 2 up to 1, pattern 2 blended into pattern 3 above.
Led ledPanel(const KVtables* t, double X, double Y, double style)
{
  const Led p1 = style < 1 ? ledPattern(t, X, Y, LABTXT_lightmaze) : Led{0, 0, 0, 0};
  if (!(style > 0))
    return p1;
  const Led p2 = ledPattern(t, X, Y, LABTXT_lmaze1);
  if (style <= 1)
    return mixLed(p1, p2, style);
  return mixLed(p2, ledPattern(t, X, Y, LABTXT_lmaze2), style - 1);
}

}  // namespace

// ---- Message 8 ----------------------------------------------------------------

void f24_mondrian_prepare(gfunc* g)
{
  prepareCommon(g);
  fillMondrianSet(g);
}

void f24_OMaze_prepare(gfunc* g)
{
  prepareCommon(g);
  fillTripleSet(g, true);
}

void f24_cityblock_prepare(gfunc* g)
{
  prepareCommon(g);
  fillMondrianSet(g);
  picture(g).cycle[6] = {64, 64, 64};
  picture(g).k[2] = 2 * g->C;
}

void f24_hexaMaze_prepare(gfunc* g)
{
  prepareCommon(g);
  fillTripleSet(g, false);
}

void f24_litLedround_prepare(gfunc* g)
{
  LatticePicture& p = picture(g);
  p.k[0] = 8 * g->A;
  p.k[1] = 2 * g->B;
}

// ---- Computes -------------------------------------------------------------------

void f24_mondrian(gfunc* g)
{
  const double k1 = picture(g).k[1];
  cubicPicture(g, g->C, LABTXT_mondrianRects, 8.0,
               [k1](double v) { return std::max(-2.0, k1 * v); });
}

void f24_cityblock(gfunc* g)
{
  const double k1 = picture(g).k[1];
  cubicPicture(g, picture(g).k[2], LABTXT_CityBblock, 6.0, [k1](double v) { return k1 * v; });
}

void f24_OMaze(gfunc* g)
{
  const LatticePicture& p = picture(g);
  const KVtables* t = f24_tables(g);
  double table[3][3];
  for (int c = 0; c < 3; ++c)
    std::copy_n(p.colours[c], 3, table[c]);
  const double scale = g->C;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double X = scale * x, Y = scale * y;
    if (!onLattice(X, Y))
      return kF24noValue;
    mazecolorrecord rec{};
    fmazeColorOrtho(t, X, Y, 0.0, LABTXT_omazeA, table, &rec);
    return F24quad{p.k[0] * rec.red, p.k[0] * rec.green, p.k[0] * rec.blue,
                   std::max(-2.0, p.k[1] * rec.value)};
  });
}

void f24_hexaMaze(gfunc* g)
{
  const LatticePicture& p = picture(g);
  const KVtables* t = f24_tables(g);
  const double scale = g->C;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double sheared = y / 0.866025;
    mazecolorrecord rec{};
    if (!fmazeColorHexa(t, scale * (x + sheared / 2), scale * sheared, 0.0, LABTXT_Hmaze, p.colours,
                        &rec, 1))
      return kF24noValue;
    return F24quad{p.k[0] * rec.red, p.k[0] * rec.green, p.k[0] * rec.blue,
                   std::max(-2.0, p.k[1] * rec.value)};
  });
}

void f24_litLedround(gfunc* g)
{
  const LatticePicture& p = picture(g);
  const KVtables* t = f24_tables(g);
  const double scale = g->C;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double X = scale * x, Y = scale * y;
    if (!onLattice(X, Y))
      return kF24noValue;
    const Led led = ledPanel(t, X, Y, p.k[1]);
    return F24quad{p.k[0] * led.r, p.k[0] * led.g, p.k[0] * led.b, 4 * led.v};
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f24_mondrian_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_mondrian, g, m, a, b, c);
}
int16_t f24_OMaze_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_OMaze, g, m, a, b, c);
}
int16_t f24_cityblock_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_cityblock, g, m, a, b, c);
}
int16_t f24_hexaMaze_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_hexaMaze, g, m, a, b, c);
}
int16_t f24_litLedround_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_litLedround, g, m, a, b, c);
}
