#include "components/f21/f21_tech.h"

#include <algorithm>
#include <cmath>

#include "celltextures/celltexture2d.h"
#include "celltextures/city_highrise.h"
#include "celltextures/city_insect.h"
#include "celltextures/city_sparse.h"
#include "celltextures/cityplan_a.h"
#include "celltextures/streets.h"
#include "celltextures/techmotifs.h"
#include "celltextures/tek_f21.h"
#include "components/f21/f21_pvt.h"
#include "foundation/checked.h"
#include "noise/lattice.h"
#include "noise/mazecolor.h"

namespace {

// ---- Tech Noise -------------------------------------------------------------

// One pattern: its name, cell, sharpness k and frequency scale F = factor C.
struct TechPattern
{
  std::string_view name;
  CellTexture2DProc cell;
  double sharpness;
  double freqFactor;
};

constexpr TechPattern kTechPatterns[kF21TechPatterns] = {
    {" City blocks Sharp #", LABTXT_CityA, 8, 8},
    {" City blocks Soft #", LABTXT_CityA, 2, 8},
    {" Mondrian Sharp #", LABTXT_mondrian, 8, 8},
    {" Mondrian Soft #", LABTXT_mondrian, 2, 8},
    {" Signs Sharp #", LABTXT_TEK_AlienSigns, 6, 2},
    {" Signs Soft #", LABTXT_TEK_AlienSigns, 2, 2},
    {" Techno Grid Sharp #", LABTXT_TEK_grid, 6, 2},
    {" Techno Grid Soft #", LABTXT_TEK_grid, 2, 2},
    {" Techno Maze Sharp #", LABTXT_TEK_Maze, 6, 2},
    {" Techno Maze Soft #", LABTXT_TEK_Maze, 2, 2},
    {" Techno  Sharp #", LABTXT_TEK_D, 6, 2},
    {" Techno  Soft #", LABTXT_TEK_D, 2, 2},
    {" Sparse Rects Sharp #", LABTXT_TEK_sparce, 6, 4},
    {" Sparse Rects Soft #", LABTXT_TEK_sparce, 2, 4},
    {" Techno Coral Sharp #", LABTXT_TEK_corail, 7, 2},
    {" Techno Coral Soft #", LABTXT_TEK_corail, 1, 2},
    {" Building Sharp #", LABTXT_TEK_BuildA, 8, 2},
    {" Building Soft #", LABTXT_TEK_BuildA, 2, 2},
    {" Building B Sharp #", LABTXT_TEK_BuildB, 2, 4},
    {" Building B Soft #", LABTXT_TEK_BuildB, 1, 4},
    {" Computer dots Sharp #", LABTXT_TEK_computerdots, 6, 2},
    {" Computer dots Soft #", LABTXT_TEK_computerdots, 1, 2},
    {" Street network Sharp #", LABTXT_StreetsNetwork, 8, 4},
    {" Street network Soft #", LABTXT_StreetsNetwork, 2, 4},
    {" Street mask Sharp #", LABTXT_StreetsMask, 8, 4},
    {" Street mask Soft #", LABTXT_StreetsMask, 1, 4},
    {" Patchwork City C Sharp #", LABTXT_SparceCity, 8, 8},
    {" Patchwork City C Soft #", LABTXT_SparceCity, 1, 8},
    {" Alien City Sharp #", LABTXT_InsectCity, 2, 4},
    {" Alien City Soft #", LABTXT_InsectCity, 1, 4},
    {" High Rise City Sharp #", LABTXT_HighRiseCity, 8, 8},
    {" High Rise City Soft #", LABTXT_HighRiseCity, 2, 8},
    {" Random High Rise Sharp #", LABTXT_TEK_randomsymbuild, 8, 4},
    {" Random High Rise Soft #", LABTXT_TEK_randomsymbuild, 2, 4},
    {" Tech Lines Sharp #", LABTXT_TEK_lines, 2, 4},
    {" Tech Lines Soft #", LABTXT_TEK_lines, 1, 4},
    {" Tech Marks Sharp #", LABTXT_TEK_groundmarks, 4, 4},
    {" Tech Marks Soft #", LABTXT_TEK_groundmarks, 1, 4},
};

// What message 8 keeps for Tech Noise.
struct TechNoiseState
{
  CellTexture2DProc cell;
  double freqScale;
  double sharpness;
};

TechNoiseState& techState(gfunc* g)
{
  return privateArea<TechNoiseState>(g);
}

// S(t) held to 0 below 0 and 1 above 1.
double clampedSmooth(double t)
{
  return t < 0 ? 0.0 : t > 1 ? 1.0 : f21_smooth(t);
}

// The four lattice samples of `cell` around (u, v), blended with weights
// S(f k); the material codes go to a scratch word. 0 where the lattice cell
// is not defined.
double techBlend(const KVtables* t, CellTexture2DProc cell, double u, double v, double k)
{
  kvnum::LatticeSplit col, row;
  if (!kvnum::lattice_trunc_split(u, col) || !kvnum::lattice_trunc_split(v, row))
    return 0;
  const int32_t i = col.cell, j = row.cell;
  const int32_t i1 = kvnoise::nextCell(i), j1 = kvnoise::nextCell(j);
  int16_t code = 0;
  const double c00 = cell(t, i, j, &code), c10 = cell(t, i1, j, &code);
  const double c01 = cell(t, i, j1, &code), c11 = cell(t, i1, j1, &code);
  const double wx = clampedSmooth(col.frac * k), wy = clampedSmooth(row.frac * k);
  const double top = c00 + (c10 - c00) * wx, bottom = c01 + (c11 - c01) * wx;
  return top + (bottom - top) * wy;
}

// ---- Shapes -----------------------------------------------------------------

constexpr std::string_view kShapeNames[kF21Shapes] = {
    " Cone squared #",
    " Cone linear #",
    " Cone dome #",
    " Cone round #",
    " Cone cubic #",
    " Cone step low #",
    " Cone step high #",
    " Pyramid squared #",
    " Pyramid linear #",
    " Pyramid dome #",
    " Pyramid round #",
    " Pyramid cubic #",
    " Pyramid step low #",
    " Pyramid step high #",
    " Cubes Cluster squared #",
    " Cubes Cluster linear #",
    " Cubes Cluster dome #",
    " Cubes Cluster round #",
    " Cubes Cluster cubic #",
    " Cubes Cluster step low #",
    " Cubes Cluster step high #",
    " Cubes Cluster LF A #",
    " Cubes Cluster LF B #",
    " Cubes Cluster LF C #",
    " Cubes Cluster cone #",
    " Star 4 #",
    " Cube #",
    " Bulding A #",
    " Bulding B #",
    " Bulding C #",
    " Bulding D #",
};

constexpr double kMinRadius = 0.00001;
constexpr int kFirstLatticeShape = 26;

// m flat steps of t with rounded edges.
double terraces(double t, double m, double factor)
{
  const double g = m * t + 0.5;
  const double f = g - std::floor(g);
  double e = 1.15 * f - 0.075;
  if (f < 0.075) {
    const double h = f / 0.075;
    e = 0.5 + (e - 0.5) * (2 - h) * h;
  }
  if (f > 0.925) {
    const double h = (f + 0.075 - 1) / 0.075;
    e = e + h * h * (0.5 - e);
  }
  return t + (0.5 - e) * factor;
}

// Profile q (0..6) of t in 0..1.
double profile(int q, double t)
{
  switch (q) {
    case 0:
      return t * t;
    case 1:
      return t;
    case 2:
      return (2 - t) * t;
    case 3:
      return std::sqrt(1 - (1 - t) * (1 - t));
    case 4:
      return f21_smooth(t);
    case 5:
      return terraces(t, 4, 0.2173913043478261);
    default:
      return terraces(t, 16, 0.05434782608695653);
  }
}

// The larger of ax and ay, rounded across the diagonal.
double roundedSquareDistance(double ax, double ay)
{
  if (ax > ay + 0.03)
    return ax;
  const double e = (ay + 0.03 - ax) / 0.12;
  return e < 0.5 ? ax + 0.12 * e * e : ay;
}

double clusterBlend(const KVtables* t, double u, double v, double d, MazeLevelProc cell,
                    double sharpness)
{
  return std::max(fmazelerp21(t, u, v, d, cell, sharpness), 0.0);
}

struct ShapeParams
{
  int p;
  double radius;
  double s;
};

// The shape's value (before the amplitude) at (x, y); p >= 0.
double shapeValue(const KVtables* t, const ShapeParams& sp, double x, double y)
{
  const int p = sp.p, q = p % 7;
  const double ax = std::fabs(x), ay = std::fabs(y), s = sp.s;
  if (p <= 6) {
    const double r = std::sqrt(x * x + y * y);
    return profile(q, r < sp.radius ? 1 - r * s : 0.0);
  }
  if (p <= 13) {
    const double d = roundedSquareDistance(ax, ay);
    return profile(q, d < sp.radius ? 1 - d * s : 0.0);
  }
  if (p <= 20)
    return profile(q, clusterBlend(t, 32 * x * s, 32 * y * s, 0.125, TEKCluster, 6));
  if (p <= 24) {
    constexpr double kScale[4] = {16, 8, 4, 8}, kFall[4] = {0.25, 0.5, 1.0, 0.4};
    const double m = kScale[p - 21];
    return clusterBlend(t, m * x * s + 1.125, m * y * s + 1.125, kFall[p - 21],
                        p == 24 ? TEKpyr : TEKCluster, 5);
  }
  if (p == 25) {
    if (!(std::max(ax, ay) < sp.radius))
      return 0;
    const double w = 1 - (std::max(ax, ay) + 3 * std::min(ax, ay)) * s;
    return w > 0 ? w * w : 0.0;
  }
  constexpr MazeLevelProc kPlans[5] = {TEKcube, TEKbuildA, TEKbuildB, TEKbuildC, TEKbuildD};
  const MazeLevelProc cell = kPlans[std::min(p - kFirstLatticeShape, 4)];
  return fmazelerp21(t, x * s - 0.4375, y * s - 0.4375, 0, cell, 8);
}

}  // namespace

std::string_view f21_techPatternName(int index)
{
  return index >= 0 && index < kF21TechPatterns ? kTechPatterns[index].name : std::string_view{};
}

std::string_view f21_shapeName(int index)
{
  return index >= 0 && index < kF21Shapes ? kShapeNames[index] : std::string_view{};
}

int f21_patternIndex(double a)
{
  int32_t i = 0;
  return kvnum::trunc_i32(a, i) ? int(i) : -1;
}

// ---- Compute functions ------------------------------------------------------

void f21_procTechNoises(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const TechNoiseState st = techState(g);
  const double amp = g->B;
  f21_eachSample(g, [=](double x, double y) {
    return techBlend(t, st.cell, x * st.freqScale, y * st.freqScale, st.sharpness) * amp;
  });
}

// A pattern index below 0 (or an A that does not convert) draws nothing.
void f21_shapes(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const ShapeParams sp{f21_patternIndex(g->A), g->B, f21_pre(g).P1};
  const double amp = g->C;
  f21_eachSample(
      g, [=](double x, double y) { return sp.p < 0 ? 0.0 : shapeValue(t, sp, x, y) * amp; });
}

// ---- Precomputations and labels ---------------------------------------------

// Indices outside the table keep the city block cell, sharpness 6 and
// F = 2C (4C from 22 on).
void f21_procTechNoises_precompute(gfunc* g)
{
  const int index = f21_patternIndex(g->A);
  TechNoiseState st{LABTXT_CityBblock2D, (index < 22 ? 2 : 4) * g->C, 6};
  if (index >= 0 && index < kF21TechPatterns) {
    const TechPattern& p = kTechPatterns[index];
    st = {p.cell, p.freqFactor * g->C, p.sharpness};
  }
  techState(g) = st;
}

void f21_shapes_precompute(gfunc* g)
{
  g->B = std::max(g->B, kMinRadius);
  const bool lattice = f21_patternIndex(g->A) >= kFirstLatticeShape;
  f21_pre(g).P1 = lattice ? 12 / (1.125 * g->B) : 1 / g->B;
}

std::string_view f21_procTechNoises_label(const gfunc* g, int param)
{
  return param == 0 ? f21_techPatternName(f21_patternIndex(g->A))
                    : kF21_procTechNoises.params[param].label;
}

std::string_view f21_shapes_label(const gfunc* g, int param)
{
  return param == 0 ? f21_shapeName(f21_patternIndex(g->A)) : kF21_shapes.params[param].label;
}

// ---- Handlers ---------------------------------------------------------------

int16_t f21_procTechNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_procTechNoises, g, msg, a, b, c);
}

int16_t f21_shapes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_shapes, g, msg, a, b, c);
}
