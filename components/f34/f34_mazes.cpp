#include "components/f34/f34_mazes.h"

#include <algorithm>
#include <cmath>

#include "components/f34/f34_pvt.h"
#include "engine/palettelookups.h"
#include "noise/mazecolor.h"

namespace {

// What message 8 leaves: colour and height scales, the lattice frequency of
// the block mazes, and the colours (0..255): floor, then the two wall faces
// for the block mazes; the three channel colours for R Maze.
struct Maze
{
  double colourScale;
  double heightScale;
  double frequency;
  double colours[4][3];
};

Maze& maze(gfunc* g)
{
  return privateArea<Maze>(g);
}

void prepareScales(gfunc* g)
{
  Maze& m = maze(g);
  m.colourScale = (g->A / 2 + 0.5) / 32;
  m.heightScale = 4 * g->A;
  m.frequency = 4 * g->C;
}

F34out mazeOut(const Maze& m, const double rgb[3], double h)
{
  return {m.colourScale * rgb[0], m.colourScale * rgb[1], m.colourScale * rgb[2],
          std::clamp(m.heightScale * h, -2.0, 4.0)};
}

// Ids 5 and 18: the orthogonal sampler over the block maze `cell`.
void blockMaze(gfunc* g, MazeCellProc cell)
{
  const Maze& m = maze(g);
  const KVtables* t = f34_tables(g);
  const double walls[3][3] = {{m.colours[0][0], m.colours[0][1], m.colours[0][2]},
                              {m.colours[1][0], m.colours[1][1], m.colours[1][2]},
                              {m.colours[2][0], m.colours[2][1], m.colours[2][2]}};
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    const double X = m.frequency * x, Y = m.frequency * y;
    F34cell cx, cy;
    if (!f34_floor(X, cx) || !f34_floor(Y, cy))
      return kF34noValue;
    mazecolorrecord rec{};
    fmazeColorOrtho(t, X, Y, z / 4 - 1, cell, walls, &rec);
    const double rgb[3] = {rec.red, rec.green, rec.blue};
    return mazeOut(m, rgb, rec.value);
  });
}

// i mod 3 in 0..2 and floor(i / 3).
struct Thirds
{
  int32_t block;
  int32_t rest;
};

Thirds thirds(int32_t i)
{
  int32_t block = i / 3, rest = i % 3;
  if (rest < 0) {
    rest += 3;
    block -= 1;
  }
  return {block, rest};
}

}  // namespace

double LABTXT_ZmazeB(const KVtables* t, int32_t ix, int32_t iy, double, int16_t* kind)
{
  const Thirds bx = thirds(ix), by = thirds(iy);
  const int32_t q = f34_hash(t, bx.block, by.block) % 16;
  const bool midColumn = bx.rest == 1, midRow = by.rest == 1;
  bool wall;
  if (q == 0) {
    *kind = 2;
    wall = midColumn && midRow;
  } else if (q <= 7) {
    *kind = 0;
    wall = midRow;
  } else {
    *kind = 1;
    wall = midColumn;
  }
  return wall ? 1.0 : -1.0;
}

double LABTXT_ZMazeA(const KVtables* t, int32_t ix, int32_t iy, double, int16_t* kind)
{
  if (f34_hash(t, ix >> 1, iy >> 1) % 2 == 1) {
    *kind = 1;
    return (ix & 1) == 0 ? 1.0 : -1.0;
  }
  *kind = 0;
  return (iy & 1) == 0 ? 1.0 : -1.0;
}

double f2dregionMaze(double u, double v, double z, int32_t h, const double colours[9],
                     double rgb[3])
{
  constexpr double c = 0.7071067811865475;  // cos(pi/4)
  double dist;
  if ((h & 1) == 0)
    dist = std::min(std::fabs((u - v) * c + c), std::fabs((v - u) * c + c));
  else
    dist = std::min(std::fabs((u + v) * c - c), std::fabs((u + v) * c + c));
  const double e = dist + z - 0.5;
  if (e < 0) {
    std::copy_n(colours + 6, 3, rgb);
  } else {
    const double t = std::clamp(z, 0.0, 1.0);
    for (int k = 0; k < 3; ++k)
      rgb[k] = colours[k] + (colours[3 + k] - colours[k]) * t;
  }
  return e;
}

// ---- Message 8 ----------------------------------------------------------------

void f34_blockMaze_prepare(gfunc* g)
{
  prepareScales(g);
  GetQuadrupleColorCycle(&maze(g).colours[0][0], g->B);
}

void f34_Cmaze_prepare(gfunc* g)
{
  prepareScales(g);
  Maze& m = maze(g);
  const double b = g->B;
  GetTripleColorCycle(&m.colours[0][0], b, true);
  // Below 0.5 the second colour whitens toward b = 0; above, the third
  // darkens toward b = 1.
  for (int k = 0; k < 3; ++k) {
    if (b < 0.5)
      m.colours[1][k] = 255 + (m.colours[1][k] - 255) * 2 * b;
    else
      m.colours[2][k] = m.colours[2][k] * (1 - (2 * b - 1));
  }
}

// ---- Computes -------------------------------------------------------------------

void f34_OLinesMaze(gfunc* g)
{
  blockMaze(g, LABTXT_ZmazeB);
}

void f34_OMaze(gfunc* g)
{
  blockMaze(g, LABTXT_ZMazeA);
}

void f34_Cmaze(gfunc* g)
{
  const Maze& m = maze(g);
  const KVtables* t = f34_tables(g);
  const double freq = g->C;
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    F34cell X, Y;
    if (!f34_floor(freq * x, X) || !f34_floor(freq * y, Y))
      return kF34noValue;
    const int32_t h = f34_hash(t, X.i, Y.i);
    double rgb[3];
    const double e = f2dregionMaze(2 * X.f - 1, 2 * Y.f - 1, z / 4 - 0.5, h, &m.colours[0][0], rgb);
    return mazeOut(m, rgb, e);
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f34_OLinesMaze_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_OLinesMaze, g, m, a, b, c);
}
int16_t f34_OMaze_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_OMaze, g, m, a, b, c);
}
int16_t f34_Cmaze_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_Cmaze, g, m, a, b, c);
}
