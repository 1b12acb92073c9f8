#include "components/f25/f25_circles.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "components/f25/f25_pvt.h"
#include "engine/treemanage.h"

namespace {

constexpr double kPi = std::numbers::pi;

void putWord(unsigned char* bytes, int32_t v)
{
  const auto u = uint32_t(v);
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<unsigned char>(u >> (8 * i));
}

int32_t getWord(const unsigned char* bytes)
{
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i)
    u |= uint32_t(bytes[i]) << (8 * i);
  return int32_t(u);
}

void lineBytes(const dvector3d& c, unsigned char bytes[8])
{
  std::memcpy(bytes, &c.x, 8);
}

double dist2(double dx, double dy)
{
  return dx * dx + dy * dy;
}

// The image of the point (qx, qy) under inversion in the unit circle about
// (a, b).
dvector3d invertPoint(double qx, double qy, double a, double b)
{
  const double dx = qx - a, dy = qy - b;
  const double d2 = dist2(dx, dy);
  return {a + dx / d2, b + dy / d2, 0};
}

// The image of the line y = level in the unit circle about (a, b): a circle
// through the images of three of its points, its radius negative unless the
// image of the test point lies inside. The slot is left when the images are
// collinear.
void lineImage(dvector3d& slot, double a, double b, double level, double testY)
{
  constexpr double kFar = 16.3333;
  const dvector3d p0 = invertPoint(-kFar, level, a, b);
  const dvector3d p1 = invertPoint(0, level, a, b);
  const dvector3d p2 = invertPoint(kFar, level, a, b);
  dvector3d c;
  if (!FindVCircleFrom3P(p0, p1, p2, c))
    return;
  const dvector3d t = invertPoint(0, testY, a, b);
  const double r = std::sqrt(c.z);
  const bool inside = dist2(t.x - c.x, t.y - c.y) < c.z;
  slot = {c.x, c.y, inside ? r : -r};
}

// Folds of line types 0 to 5 (x for 0..2, y for 3..5); true when the point
// moved.
bool foldLine(int32_t type, double p, double& X, double& Y)
{
  double& v = type < 3 ? X : Y;
  switch (type % 3) {
    case 0:
      if (v > p) {
        v = 2 * p - v;
        return true;
      }
      return false;
    case 1:
      if (p > v) {
        v = 2 * p - v;
        return true;
      }
      return false;
    default:
      if (v > p) {
        v = 2 * p - v;
        return true;
      }
      if (-p > v) {
        v = -(2 * p + v);
        return true;
      }
      return false;
  }
}

enum class Inversion
{
  kNone,
  kInside,
  kOutside,
};

// Inversion in a circle record with s != 0; d2 receives the squared
// distance before the inversion.
Inversion invertInCircle(const dvector3d& c, double& X, double& Y, double& d2)
{
  const double s = c.z;
  const double dx = X - c.x, dy = Y - c.y;
  d2 = dist2(dx, dy);
  Inversion kind = Inversion::kNone;
  if (s > 0 && s > d2)
    kind = Inversion::kInside;
  else if (s < 0 && d2 > -s)
    kind = Inversion::kOutside;
  if (kind == Inversion::kNone)
    return kind;
  const double f = std::fabs(s) / d2;
  X = c.x + dx * f;
  Y = c.y + dy * f;
  return kind;
}

// Whether the point lies where the circle record inverts (limit test).
bool insideLimit(const dvector3d& c, double X, double Y)
{
  const double d2 = dist2(X - c.x, Y - c.y);
  return (c.z > 0 && c.z > d2) || (c.z < 0 && d2 > -c.z);
}

void addIndexColour(F25journey& j, int index)
{
  switch (index % 6) {
    case 0:
      j.r += 16;
      break;
    case 1:
      j.g += 16;
      break;
    case 2:
      j.b += 16;
      break;
    case 3:
      j.r += 6;
      j.g += 6;
      j.b += 6;
      break;
    case 4:
      j.g += 8;
      j.b += 8;
      break;
    default:
      j.r += 8;
      j.g += 8;
      break;
  }
}

void setColour(F25journey& j, const F25rgb& c)
{
  j.r = c.r;
  j.g = c.g;
  j.b = c.b;
}

// The periodic wrap of one coordinate into [-P/2, P/2).
double wrap(double v, double period)
{
  return f25_frac((v + period / 2) / period) * period - period / 2;
}

// The limit test of one pass: true when a limit was hit and stop is set.
bool limitHit(const CILabData& lab, const cpalette& palette, int pass, bool stop, F25journey& j)
{
  const int count = lab.limitCount < kF25maxLimits ? lab.limitCount : kF25maxLimits;
  for (int k = 0; k < count; ++k) {
    const dvector3d& c = lab.limit[k];
    bool hit = false;
    if (c.z == 0) {
      const int32_t type = F25_lineType(c);
      const double p = c.y;
      if ((type == 0 && j.x > p) || (type == 3 && j.y > p)) {
        j.b = 255;
        hit = true;
      } else if ((type == 1 && p > j.x) || (type == 4 && p > j.y)) {
        j.r = j.g = j.b = 128;
        hit = true;
      }
    } else if (insideLimit(c, j.x, j.y)) {
      double t = count > 1 ? double(k) / (count - 1) : 0.0;
      if (lab.variant == 3)
        t = double(pass) / lab.iterations;
      setColour(j, f25_tableColour(palette, t));
      hit = true;
    }
    if (hit && stop)
      return true;
  }
  return false;
}

enum class PassEnd
{
  kGoOn,
  kEnd,
};

// One line record of the limit routine's inversion pass.
PassEnd limitLine(const dvector3d& c, bool stop, F25journey& j)
{
  const int32_t type = F25_lineType(c);
  const int32_t q = F25_lineParam(c);
  const double p = c.y;
  double& X = j.x;
  double& Y = j.y;
  switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: {
      const bool hit = foldLine(type, p, X, Y);
      return hit && (type == 2 || stop) ? PassEnd::kEnd : PassEnd::kGoOn;
    }
    case 6:
      if (Y > p) {
        Y = 2 * p - Y;
        X = -X;
        return stop ? PassEnd::kEnd : PassEnd::kGoOn;
      }
      return PassEnd::kGoOn;
    case 7: {
      const double u = std::fabs(X) - 1, v = std::fabs(Y) - 1;
      const double e = dist2(u, v);
      if (e < 1) {
        X = std::fabs(u / e + 1);
        Y = std::fabs(v / e + 1);
      }
      return stop ? PassEnd::kEnd : PassEnd::kGoOn;
    }
    case 8: {
      double w = X + p;
      const double m = f25_frac((w + 1) / 2) * 2 - 1;
      const double v = Y - q;
      const double e = dist2(m, v);
      if (e < 1) {
        w = (w - m) + m / e;
        Y = q + v / e;
        j.r += 8;
      }
      X = w - p;
      return stop ? PassEnd::kEnd : PassEnd::kGoOn;
    }
    case 9:
      if (Y > q) {
        X = p - X;
        Y = 2.0 * q - Y;
      }
      return stop ? PassEnd::kEnd : PassEnd::kGoOn;
    case 10: {
      const double e = dist2(X, Y);
      if ((p > 0 && p > e) || (p <= 0 && e > -p)) {
        const double f = std::fabs(p) / e;
        const double theta = q * kPi / 180;
        const double cs = std::cos(theta), sn = std::sin(theta);
        const double x0 = X;
        X = f * (x0 * cs - Y * sn);
        Y = f * (Y * cs + x0 * sn);
      }
      return PassEnd::kGoOn;
    }
    default:
      return PassEnd::kGoOn;
  }
}

}  // namespace

// ---- Circle blocks ----------------------------------------------------------

dvector3d* F25_newCircleBlock(gfunc* g, int count)
{
  return static_cast<dvector3d*>(arb_AllocAuxMemory(g, sizeof(dvector3d) * size_t(count)));
}

const dvector3d* F25_circleBlock(const gfunc* g, int count)
{
  return count > 0 ? static_cast<const dvector3d*>(g->auxMemory) : nullptr;
}

// ---- Line records ---------------------------------------------------------

dvector3d F25_lineRecord(int32_t type, int32_t q, double position)
{
  unsigned char bytes[8];
  putWord(bytes, q);
  putWord(bytes + 4, type);
  dvector3d c{0, position, 0};
  std::memcpy(&c.x, bytes, 8);
  return c;
}

int32_t F25_lineType(const dvector3d& c)
{
  unsigned char bytes[8];
  lineBytes(c, bytes);
  return getWord(bytes + 4);
}

int32_t F25_lineParam(const dvector3d& c)
{
  unsigned char bytes[8];
  lineBytes(c, bytes);
  return getWord(bytes);
}

// ---- Geometry -------------------------------------------------------------

void InvertVCircle(const dvector3d& c, const dvector3d& inv, dvector3d& out)
{
  const double dx = c.x - inv.x, dy = c.y - inv.y;
  const double f = inv.z * inv.z / (dist2(dx, dy) - c.z * c.z);
  out = {inv.x + dx * f, inv.y + dy * f, f * c.z};
}

int32_t CircleIntersect(const dvector3d& c0, const dvector3d& c1, dvector2d& p, dvector2d* q)
{
  const double ux = c1.x - c0.x, uy = c1.y - c0.y;
  const double d = std::sqrt(dist2(ux, uy));
  const double a = (c0.z * c0.z - c1.z * c1.z + d * d) / (2 * d);
  const double bx = c0.x + ux * a / d, by = c0.y + uy * a / d;
  const double h2 = c0.z * c0.z - a * a;
  if (q != nullptr && h2 >= 0) {
    const double w = std::sqrt(h2) / d;
    p = {bx + uy * w, by - ux * w};
    *q = {bx - uy * w, by + ux * w};
    return 1;
  }
  p = {bx, by};
  if (q != nullptr)
    *q = p;
  return 1;
}

void RotateVCirc(dvector3d& c0, dvector3d* c1, dvector3d* c2, dvector3d* c3, double theta)
{
  const double cs = std::cos(theta), sn = std::sin(theta);
  for (dvector3d* c : {&c0, c1, c2, c3}) {
    if (c == nullptr)
      continue;
    const double x = c->x;
    c->x = x * cs - c->y * sn;
    c->y = x * sn + c->y * cs;
  }
}

void OrthoCircle(const dvector3d& c0, const dvector3d& c1, const dvector3d& c2, dvector3d& out)
{
  dvector2d p01, p02, p12;
  CircleIntersect(c0, c1, p01);
  CircleIntersect(c0, c2, p02);
  CircleIntersect(c1, c2, p12);
  const dvector3d a{p01.x, p01.y, 0}, b{p02.x, p02.y, 0}, c{p12.x, p12.y, 0};
  dvector3d o;
  if (FindVCircleFrom3P(a, b, c, o))
    out = {o.x, o.y, std::sqrt(o.z)};
}

void FindTangentRadiusFrom3center(dvector3d& c0, dvector3d& c1, dvector3d& c2)
{
  const double d01 = std::sqrt(dist2(c1.x - c0.x, c1.y - c0.y));
  const double d12 = std::sqrt(dist2(c2.x - c1.x, c2.y - c1.y));
  const double d20 = std::sqrt(dist2(c0.x - c2.x, c0.y - c2.y));
  c0.z = (d01 - d12 + d20) / 2;
  c2.z = d20 - c0.z;
  c1.z = d12 - c2.z;
}

int32_t FindVCircleFrom3P(const dvector3d& p0, const dvector3d& p1, const dvector3d& p2,
                          dvector3d& out)
{
  if (&p0 == &p1 || &p0 == &p2 || &p1 == &p2)
    return 0;
  const double x0 = p0.x, y0 = p0.y, x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
  const double d = 2 * ((x0 - x1) * (y1 - y2) - (x1 - x2) * (y0 - y1));
  if (d == 0)
    return 0;
  const double s01 = x0 * x0 - x1 * x1 + y0 * y0 - y1 * y1;
  const double s12 = x1 * x1 - x2 * x2 + y1 * y1 - y2 * y2;
  const double cx = ((y1 - y2) * s01 - s12 * (y0 - y1)) / d;
  const double cy =
      y0 == y1 ? (2 * cx * (x2 - x0) + x0 * x0 - x2 * x2 + y0 * y0 - y2 * y2) / (2 * (y0 - y2))
               : (2 * cx * (x1 - x0) + s01) / (2 * (y0 - y1));
  out = {cx, cy, dist2(cx - x0, cy - y0)};
  return 1;
}

void FindVCircleInside3P(const dvector3d& p0, const dvector3d& p1, const dvector3d& p2,
                         dvector3d& out)
{
  // Each side as n . p = c with n the unit normal turned left of its direction.
  struct Line
  {
    double nx, ny, c;
  };
  auto side = [](const dvector3d& a, const dvector3d& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::sqrt(dist2(dx, dy));
    const double nx = -dy / len, ny = dx / len;
    return Line{nx, ny, nx * a.x + ny * a.y};
  };
  const Line l0 = side(p0, p1), l1 = side(p1, p2), l2 = side(p2, p0);
  // Equal signed distance r from all three: (n0 - n1) . C = c0 - c1, and
  // (n0 - n2) . C = c0 - c2.
  const double a1 = l0.nx - l1.nx, b1 = l0.ny - l1.ny, e1 = l0.c - l1.c;
  const double a2 = l0.nx - l2.nx, b2 = l0.ny - l2.ny, e2 = l0.c - l2.c;
  const double det = a1 * b2 - a2 * b1;
  if (det == 0 || std::isnan(det))
    return;
  const double cx = (e1 * b2 - e2 * b1) / det;
  const double cy = (a1 * e2 - a2 * e1) / det;
  out = {cx, cy, l0.nx * cx + l0.ny * cy - l0.c};
}

void SquareCircleRadius(int n, dvector3d* circles)
{
  for (int k = 0; k < n; ++k) {
    const double r = circles[k].z;
    circles[k].z = r >= 0 ? r * r : -r * r;
  }
}

void DirectCircleRing(int n, dvector3d* circles, double ringRadius, double s, double phase)
{
  for (int k = 0; k < n; ++k) {
    const double a = (k + phase) * 2 * kPi / n;
    circles[k] = {ringRadius * std::cos(a), ringRadius * std::sin(a), s};
  }
}

void CreateCircleRing(int n, dvector3d* circles, double phase, double rho, double* inner,
                      double* mid, double* outer)
{
  if (n <= 0) {
    if (inner != nullptr)
      *inner = 0;
    if (mid != nullptr)
      *mid = rho;
    if (outer != nullptr)
      *outer = 2 * rho;
    return;
  }
  double c = 1, g = 1, step = kPi;
  if (n >= 3) {
    const double csc = 1 / std::sin(kPi / n);
    const double cos2 = 1 + std::cos(2 * kPi / n), sin2 = std::sin(2 * kPi / n);
    c = csc;
    g = 0.5 * csc * std::sqrt(cos2 * cos2 + sin2 * sin2);
    step = 2 * kPi / n;
  }
  const double f = rho / g;
  for (int k = 0; k < n; ++k) {
    const double a = (k + phase) * step;
    circles[k] = {c * std::cos(a) * f, c * std::sin(a) * f, f};
  }
  if (inner != nullptr)
    *inner = c * f - f;
  if (mid != nullptr)
    *mid = c * f;
  if (outer != nullptr)
    *outer = c * f + f;
}

void BuildNtgtCircles(dvector3d* circles, double a, double b, int m)
{
  if (m < 2)
    return;
  for (int k = 0; k <= m - 3; ++k) {
    const double u = 2.0 * k - a;
    const double f = 1 / (u * u + b * b - 1);
    circles[k] = {a + u * f, b - b * f, f};
  }
  lineImage(circles[m - 2], a, b, -1, -2.1);
  lineImage(circles[m - 1], a, b, 1, 2.1);
}

void FindInnerSoddy(const dvector3d& c1, const dvector3d& c2, const dvector3d& c3, dvector3d& out,
                    dvector3d* out2)
{
  const double k1 = 1 / c1.z, k2 = 1 / c2.z, k3 = 1 / c3.z;
  const double r4 = std::fabs(1 / (k1 + k2 + k3 + 2 * std::sqrt(k1 * k2 + k2 * k3 + k1 * k3)));
  const dvector3d e1{c1.x, c1.y, c1.z + r4}, e2{c2.x, c2.y, c2.z + r4};
  dvector2d p, q;
  CircleIntersect(e1, e2, p, &q);
  const bool pNearer = dist2(p.x - c3.x, p.y - c3.y) <= dist2(q.x - c3.x, q.y - c3.y);
  const dvector3d soddy{pNearer ? p.x : q.x, pNearer ? p.y : q.y, r4};
  if (out2 != nullptr) {
    dvector3d ortho;
    OrthoCircle(c1, c2, c3, ortho);
    InvertVCircle(soddy, ortho, *out2);
  }
  out = soddy;
}

// ---- Iteration --------------------------------------------------------------

F25journey GenericDiskInvert(const CILabData& lab, const dvector3d* circles,
                             const cpalette& palette, double x, double y)
{
  F25journey j{x, y, 0, 0, 0};
  const bool weighted = lab.variant == 1;
  for (int pass = 0; pass <= lab.iterations; ++pass)
    for (int k = 0; k < lab.circleCount; ++k) {
      const dvector3d& c = circles[k];
      if (c.z == 0) {
        const int32_t type = F25_lineType(c);
        if (type < 0 || type > 5 || !foldLine(type, c.y, j.x, j.y))
          continue;
        if (weighted)
          j.r += 0.1;
        else
          addIndexColour(j, k);
        continue;
      }
      double d2 = 0;
      const Inversion kind = invertInCircle(c, j.x, j.y, d2);
      if (kind == Inversion::kNone)
        continue;
      if (!weighted)
        addIndexColour(j, k);
      else if (kind == Inversion::kInside)
        j.r += (1 - d2 / c.z) * (1 - d2 / c.z);
    }
  if (weighted)
    setColour(j, f25_tableColour(palette, (j.r / 4 + j.r / lab.iterations) / 2));
  return j;
}

F25journey GenericDiskLimit(const CILabData& lab, const dvector3d* circles, const cpalette& palette,
                            double x, double y)
{
  const normalcolor bg = lab.background;
  F25journey j{x, y, double(bg.red), double(bg.green), double(bg.blue)};
  const bool stop = lab.keepGoing == 0;
  const double period = lab.period == 8 || lab.period == 4 || lab.period == 2 ? lab.period : 0;
  for (int pass = 0; pass < lab.iterations; ++pass) {
    if (period != 0) {
      j.x = wrap(j.x, period);
      if (lab.xOnly == 0)
        j.y = wrap(j.y, period);
    }
    if (limitHit(lab, palette, pass, stop, j))
      return j;
    for (int k = 0; k < lab.circleCount; ++k) {
      const dvector3d& c = circles[k];
      if (c.z == 0) {
        if (limitLine(c, stop, j) == PassEnd::kEnd)
          break;
        continue;
      }
      double d2 = 0;
      if (invertInCircle(c, j.x, j.y, d2) != Inversion::kNone && stop)
        break;
    }
  }
  return j;
}
