#include "components/f22/f22_cells.h"

#include <algorithm>
#include <cmath>

#include "components/f22/f22_folds.h"
#include "foundation/checked.h"
#include "noise/cellular.h"
#include "noise/noises.h"
#include "noise/spots.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A lattice cell and the point's place in it.
struct Cell
{
  int32_t i;
  int32_t j;
  double fx;
  double fy;
};

// The cell of (X, Y) by cellfloor; false when a cell index does not fit.
bool cellOf(double X, double Y, Cell& c)
{
  if (!f22_cellfloor(X, c.i) || !f22_cellfloor(Y, c.j))
    return false;
  c.fx = X - double(c.i);
  c.fy = Y - double(c.j);
  return true;
}

// 0 at the cell edges, 1 at the centre.
double tri(double f)
{
  const double t = 2 * f;
  return t > 1 ? 2 - t : t;
}

double smooth(double t)
{
  return (3 - 2 * t) * t * t;
}

bool odd(int32_t i)
{
  return (uint32_t(i) & 1u) != 0;
}

// The truncated remainder of the whole part of v by 3 (negative for a
// negative v); 0 for a v that is not finite.
int truncatedMod3(double v)
{
  const double r = std::fmod(std::trunc(v), 3.0);
  return std::isfinite(r) ? int(r) : 0;
}

// trunc(v) as a cell; false when it does not fit.
bool truncCell(double v, int32_t& cell)
{
  return kvnum::trunc_i32(v, cell);
}

// The midpoint of the cell edge nearest to the point.
F22point nearestEdgeMidpoint(const Cell& c)
{
  const bool up = c.fy > c.fx, low = 1 - c.fx > c.fy;
  const double i = c.i, j = c.j;
  if (up && low)
    return {i, j + 0.5};
  if (up)
    return {i + 0.5, j + 1};
  if (low)
    return {i + 0.5, j};
  return {i + 1, j + 0.5};
}

F22point centreOf(const Cell& c)
{
  return {c.i + 0.5, c.j + 0.5};
}

F22point halved(F22point p)
{
  return {p.x / 2, p.y / 2};
}

// Runs f(x, y, out) for every sample; a masked x, or a sample f cannot place
// (it returns false), gives the marker on both outputs.
template <class F>
void eachPlacedSample(gfunc* g, F f)
{
  f22_eachSample(g, [&](double x, double y) {
    F22point p{};
    return f(x, y, p) ? p : kF22noValue;
  });
}

}  // namespace

// ---- Tech rules -----------------------------------------------------------------

bool TechquantizeC(const KVtables* t, double X, double Y, int level, F22point& out)
{
  Cell c{};
  if (!cellOf(X, Y, c))
    return false;
  const int32_t r = f22_hash(t, c.i, c.j) % 5;
  if (r == 2 && level < 1) {
    F22point half{};
    if (!TechquantizeC(t, 2 * X, 2 * Y, level + 1, half))
      return false;
    out = halved(half);
    return true;
  }
  out = r < 3 ? centreOf(c) : nearestEdgeMidpoint(c);
  return true;
}

bool TechquantizeA(const KVtables* t, double X, double Y, int level, F22point& out)
{
  Cell c{};
  if (!cellOf(X, Y, c))
    return false;
  const bool up = c.fy > c.fx, low = 1 - c.fx > c.fy;
  const double i = c.i, j = c.j;
  switch (f22_hash(t, c.i, c.j) & 7) {
    case 0:
    case 4:
      out = centreOf(c);
      return true;
    case 1: {
      const double q = low ? 0.25 : 0.75;
      out = {i + q, j + q};
      return true;
    }
    case 2:
      out = up ? F22point{i + 0.25, j + 0.75} : F22point{i + 0.75, j + 0.25};
      return true;
    case 3:
      if (up && low)
        out = {i + 0.25, j + 0.5};
      else if (up)
        out = {i + 0.5, j + 0.75};
      else if (low)
        out = {i + 0.5, j + 0.25};
      else
        out = {i + 0.75, j + 0.5};
      return true;
    default:
      if (level < 2) {
        F22point half{};
        if (!TechquantizeA(t, 2 * X, 2 * Y, level + 1, half))
          return false;
        out = halved(half);
      } else {
        out = centreOf(c);
      }
      return true;
  }
}

bool TechPatquantize(double X, double Y, int mode, F22point& out)
{
  Cell c{};
  if (!cellOf(X, Y, c))
    return false;
  const bool up = c.fy > c.fx, low = 1 - c.fx > c.fy;
  const double i = c.i, j = c.j;
  if (mode != 0 && odd(c.i) == odd(c.j)) {
    if (mode == 1)
      out = up ? F22point{i + 0.5, j + 1.5} : F22point{i + 0.5, j - 0.5};
    else
      out = low ? F22point{i - 0.5, j + 0.5} : F22point{i + 1.5, j + 0.5};
  } else if (mode == 0 && odd(c.i) && odd(c.j)) {
    if (up && low)
      out = {i - 0.5, j + 0.5};
    else if (up)
      out = {i + 0.5, j + 1.5};
    else if (low)
      out = {i + 0.5, j - 0.5};
    else
      out = {i + 1.5, j + 0.5};
  } else {
    out = centreOf(c);
  }
  return true;
}

bool TechPatquantizeRec(const KVtables* t, double X, double Y, F22point& out)
{
  Cell c{};
  if (!cellOf(X, Y, c))
    return false;
  F22point q{};
  switch (f22_hash(t, c.i, c.j) & 3) {
    case 1:
      if (!TechquantizeA(t, X, 2 * Y, 0, q))
        return false;
      out = {q.x, q.y / 2};
      return true;
    case 2:
      if (!TechquantizeA(t, 2 * X, Y, 0, q))
        return false;
      out = {q.x / 2, q.y};
      return true;
    default:
      if (!TechquantizeA(t, 2 * X, 2 * Y, 0, q))
        return false;
      out = halved(q);
      return true;
  }
}

bool tdisplace(const KVtables* t, double amp, double X, double Y, double x0, double y0,
               F22point& out)
{
  Cell c{};
  if (!cellOf(X, Y, c))
    return false;
  const double d = std::min(tri(c.fx), tri(c.fy)) * amp;
  out = {x0, y0};
  if (odd(c.i) && odd(c.j))
    return true;
  switch (f22_hash(t, c.i, c.j) % 6) {
    case 0:
      out.x += d;
      break;
    case 1:
      out.x -= d;
      break;
    case 2:
      out.y += d;
      break;
    case 3:
      out.y -= d;
      break;
    default:
      break;
  }
  return true;
}

bool srdisplace(const KVtables* t, double amp, double X, double Y, double x0, double y0, int level,
                F22point& out)
{
  // Levels run up to 3: at most four rounds, whatever level the caller starts at.
  for (;; ++level) {
    Cell c{};
    if (!cellOf(X, Y, c))
      return false;
    const double s = smooth(tri(c.fx)) * smooth(tri(c.fy));
    const double push = amp * s * s;
    switch (f22_hash(t, c.i, c.j) & 7) {
      case 0:
        out = {x0 + push, y0};
        return true;
      case 1:
        out = {x0, y0 + push};
        return true;
      case 2:
        out = {x0, y0 - push};
        return true;
      case 3:
        out = {x0 - push, y0};
        return true;
      case 4:
        out = {x0, y0};
        return true;
      default:
        if (level > 2) {
          out = {x0, y0};
          return true;
        }
        amp /= 2;
        X *= 2;
        Y *= 2;
    }
  }
}

// ---- Value-noise and jittered-point displacements ----------------------------

void f22_random_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = g->A / 64;
  K[2] = 0.5 * g->C;
}

void f22_random(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k0 = f22_k(g).K[0], k2 = f22_k(g).K[2], b = g->B;
  f22_eachSample(g, [=](double x, double y) {
    const double u = k2 * x + b, v = k2 * y;
    const double n1 = frandom2D(t, u, v);
    const double n2 = frandom2D(t, 0.95 * u - 72.64 + 0.1 * v - b, 0.95 * v + 81.35 - 0.1 * u);
    return F22point{x + (n2 - 512) * k0, y + (n1 - 512) * k0};
  });
}

void f22_lowfredRND_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = (g->A + 2.125) / 250;
  K[1] = g->B / 16;
}

void f22_lowfredRND(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k0 = f22_k(g).K[0], k1 = f22_k(g).K[1], c = g->C;
  f22_eachSample(g, [=](double x, double y) {
    double a = 0, b = 0;
    frandom2DVector2D(t, k1 * y, k1 * x + c, &a, &b, k0);  // y first, as the member is defined
    return F22point{x + a, y + b};
  });
}

void f22_lowfredRND_convert(gfunc* g)
{
  if (g->owner == nullptr || g->owner->version > 15)
    return;
  g->B += 2.125;
  for (KVparamTriple& key : g->keyframes)
    key.B += 2.125;
}

void f22_dirRnd_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = 2 * kPi * g->A / 1024;
  K[1] = (g->B + 2) * kPi / 4;
  K[2] = std::cos(K[1]);
  K[3] = std::sin(K[1]);
}

void f22_dirRnd(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f22_k(g).K;
  const double k0 = K[0], k2 = K[2], k3 = K[3], c = g->C;
  const double f = 0.125 + 0.125 * g->A;
  f22_eachSample(g, [=](double x, double y) {
    const double s = k2 * x + k3 * y;  // the coordinate along the direction
    const double fs = f * s;
    const double n1 = frandom1D(t, fs + 0.33 * c);
    const double n2 = frandom1D(t, 2 * fs + c);
    const double n3 = frandom1D(t, 4 * fs + 0.66 * c);
    const double n4 = frandom1D(t, 8 * fs + 0.66 * c);
    const double n5 = frandom1D(t, 2 * (8 * fs + c));
    const double d =
        k2 * y - k3 * x + k0 * (n1 - 993.28 + 0.5 * n2 + 0.25 * n3 + 0.125 * n4 + 0.0625 * n5);
    return F22point{k2 * s - k3 * d, k3 * s + k2 * d};
  });
}

void f22_Bubbles_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[1] = 7 - g->B;
  K[2] = 0.25 * g->C;
  K[0] = 2 * kPi * g->A / K[2];
}

// The displacement field itself, not added to the point.
void f22_Bubbles(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2];
  f22_eachSample(g, [=](double x, double y) {
    double dx = 0, dy = 0;
    Jitter_VecBubble(t, k2 * x, k2 * y - 71.0, &dx, &dy, k1);
    Jitter_VecBubble(t, k2 * x + 87.5, k2 * y + 41.5, &dx, &dy, k1);
    return F22point{k0 * dx, k0 * dy};
  });
}

void f22_multitwirls_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = 1 / g->A;
  K[1] = 0.333 * g->A;
  K[2] = 1 / K[1];
  K[3] = 4 * g->C;
}

void f22_multitwirls(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], k3 = K[3], a = g->A, b = g->B;
  f22_eachSample(g, [=](double x, double y) {
    double u = a * x + b, v = a * y;
    Jitter_Twirl(t, u, v, &u, &v, k3);
    double U = (u - b) * k1 * k0 + b + 777.5, V = v * k1 * k0;
    Jitter_Twirl(t, U, V, &U, &V, k3);
    return F22point{(U - b - 777.5) * k2, V * k2};
  });
}

// ---- Pixel-grid displacements ---------------------------------------------------

// Cells by trunc (toward zero), not cellfloor.
void f22_pixelprism(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, c = g->C, b = std::min(std::fabs(g->B), 1.0);
  eachPlacedSample(g, [=](double x, double y, F22point& out) {
    const double X = c * x, Y = c * y;
    int32_t xi = 0, yi = 0, x2 = 0, y2 = 0, xs = 0, ys = 0, xs2 = 0, ys2 = 0;
    if (!truncCell(X, xi) || !truncCell(Y, yi) || !truncCell(2 * X, x2) || !truncCell(2 * Y, y2) ||
        !truncCell(Y + 330, ys) || !truncCell(X + 218, xs) || !truncCell(2 * Y + 330, ys2) ||
        !truncCell(2 * X + 218, xs2))
      return false;
    const double h1 = f22_hash(t, xi, yi) - 64, h2 = f22_hash(t, x2, y2);
    const double h3 = f22_hash(t, ys, xs) - 64, h4 = f22_hash(t, ys2, xs2);
    out = {2 * X + (std::max(h2, h1) * a / 16 - 2 * X) * b,
           2 * Y + (std::max(h4, h3) * (1 - a) / 16 - 2 * Y) * b};
    return true;
  });
}

void f22_DisplaceTile_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = g->A / 64;
  K[2] = g->C / kPi;
}

void f22_DisplaceTile(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k0 = f22_k(g).K[0], k2 = f22_k(g).K[2], b = g->B;
  eachPlacedSample(g, [=](double x, double y, F22point& out) {
    Cell c{};
    if (!cellOf(k2 * x, k2 * y, c))
      return false;
    out = {(c.fx - 0.5) * b, (c.fy - 0.5) * b};
    if (k0 != 0) {
      const float* gv = t->grad2D[f22_hashSlot(t, c.i, c.j, 8)];
      out.x += gv[0] * k0;
      out.y += gv[1] * k0;
    }
    return true;
  });
}

// ---- Facet spaces ---------------------------------------------------------------------

void f22_smoothfacetspace_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[2] = 0.25 * g->C;
  K[0] = g->A / K[2];
  K[1] = 0;
}

void f22_smoothfacetspace(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k0 = f22_k(g).K[0], k2 = f22_k(g).K[2], b = g->B;
  f22_eachSample(g, [=](double x, double y) {
    double u = 2.0, v = 2.0;  // the starting values the mirror blend reads
    Jitter_FacetSpaceMirror(t, k2 * x, k2 * y, &u, &v, b);
    return F22point{k0 * u, k0 * v};
  });
}

void f22_facetspace_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[2] = 0.25 * g->C;
  K[0] = 2 * kPi * g->A / std::max(K[2], 1.25e-6);
  K[1] = 0;
}

void f22_facetspace(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k0 = f22_k(g).K[0], k2 = f22_k(g).K[2], b = g->B;
  f22_eachSample(g, [=](double x, double y) {
    double u = 0, v = 0;
    Jitter_FacetSpace(t, k2 * x, k2 * y, &u, &v, b);
    return F22point{k0 * u, k0 * v};
  });
}

void f22_facetspaceRotate_precompute(gfunc* g)
{
  f22_k(g).K[2] = 0.25 * g->C;
}

void f22_facetspaceRotate(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k2 = f22_k(g).K[2], a = g->A, b = g->B;
  f22_eachSample(g, [=](double x, double y) {
    double u = 0, v = 0;
    Jitter_FacetSpaceRotate(t, k2 * x, k2 * y, &u, &v, b, a);
    return F22point{8 * u, 8 * v};
  });
}

void f22_facetprism_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  if (g->B < 1.25e-6) {
    K[0] = 1.25e-6;
    K[2] = 799999.9999999999;
  } else {
    K[0] = g->B;
    K[2] = 1 / g->B;
  }
}

// Every point moves toward the centre of the cell whose jittered point is
// nearest, so with A = 1 a whole facet lands on one point.
void f22_facetprism(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k0 = f22_k(g).K[0], k2 = f22_k(g).K[2], a = g->A, c = g->C;
  f22_eachSample(g, [=](double x, double y) {
    int32_t i = 0, j = 0;
    Jitter_CTFacetSpace(t, (x + c) * k0, y * k0, &i, &j);
    return F22point{x + ((i + 0.5) * k2 - c - x) * a, y + ((j + 0.5) * k2 - y) * a};
  });
}

// ---- Tech displacements -----------------------------------------------------------

// C = 0 divides by zero: the outputs are not finite, as documented.
void f22_Techquantize(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, c = g->C;
  const int mode = truncatedMod3(b);
  eachPlacedSample(g, [=](double x, double y, F22point& out) {
    F22point q{};
    if (!TechquantizeC(t, c * x + b, c * y, mode, q))
      return false;
    out = {x + ((q.x - b) / c - x) * a, y + (q.y / c - y) * a};
    return true;
  });
}

void f22_spotdisplace(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, c = g->C;
  eachPlacedSample(g, [=](double x, double y, F22point& out) {
    return srdisplace(t, a, 0.25 * c * x + b, 0.25 * c * y, x, y, 0, out);
  });
}

// Three layers of cell pushes; each output keeps the largest of its layers.
void f22_techdisplace(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, c = g->C;
  eachPlacedSample(g, [=](double x, double y, F22point& out) {
    const double X = c * x + b, Y = c * y;
    F22point p1{}, p2{}, p3{};
    if (!tdisplace(t, 4 * a, X / 4, Y / 4, x, y, p1) ||
        !tdisplace(t, 2 * a, X / 2 + 0.5, Y / 2 + 337.5, x, y, p2) ||
        !tdisplace(t, a, X + 37.25, Y + 0.25, x, y, p3))
      return false;
    out = {std::max({p1.x, p2.x, p3.x}), std::max({p1.y, p2.y, p3.y})};
    return true;
  });
}

// ---- Handlers -----------------------------------------------------------------------

int16_t f22_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_random, g, msg, a, b, c);
}

int16_t f22_lowfredRND_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_lowfredRND, g, msg, a, b, c);
}

int16_t f22_dirRnd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_dirRnd, g, msg, a, b, c);
}

int16_t f22_Bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_Bubbles, g, msg, a, b, c);
}

int16_t f22_multitwirls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_multitwirls, g, msg, a, b, c);
}

int16_t f22_pixelprism_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_pixelprism, g, msg, a, b, c);
}

int16_t f22_DisplaceTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_DisplaceTile, g, msg, a, b, c);
}

int16_t f22_smoothfacetspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_smoothfacetspace, g, msg, a, b, c);
}

int16_t f22_facetspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_facetspace, g, msg, a, b, c);
}

int16_t f22_facetspaceRotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_facetspaceRotate, g, msg, a, b, c);
}

int16_t f22_facetprism_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_facetprism, g, msg, a, b, c);
}

int16_t f22_Techquantize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_Techquantize, g, msg, a, b, c);
}

int16_t f22_spotdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_spotdisplace, g, msg, a, b, c);
}

int16_t f22_techdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_techdisplace, g, msg, a, b, c);
}
