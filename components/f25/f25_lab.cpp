#include "components/f25/f25_lab.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/common/octaves.h"
#include "components/f25/f25_pvt.h"
#include "foundation/checked.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The highest algorithm number of the Lab.
constexpr int kLastAlgorithm = 25;

double length(const dvector2d& p)
{
  return std::sqrt(p.x * p.x + p.y * p.y);
}

double length(const dvector3d& c)
{
  return std::sqrt(c.x * c.x + c.y * c.y);
}

// Centre angle of slot k of n slots turned half a step: (k + 1/2) 2 pi / n.
double halfStepAngle(int k, int n)
{
  return (k + 0.5) * 2 * kPi / n;
}

// A ring of circles spread by half a step, centre distance `radius`.
void halfStepRing(dvector3d* slots, int n, double radius, double r)
{
  for (int k = 0; k < n; ++k) {
    const double a = halfStepAngle(k, n);
    slots[k] = {radius * std::cos(a), radius * std::sin(a), r};
  }
}

// Limit k = the image of `c` in slot k, for k < n.
void invertedLimits(CILabData& lab, const dvector3d* slots, int n, const dvector3d& c)
{
  for (int k = 0; k < n; ++k)
    InvertVCircle(c, slots[k], lab.limit[k]);
}

// A ring of N circles inside a bigger ring of the same, turned half a step,
// optionally bounded by an outside and an inside circle.
void inversionLabAlgoA(CILabData& lab, dvector3d* slots, bool outerPair)
{
  const int n = lab.tiles;
  const double p = lab.parameter;
  double inner = 0, mid = 0, outer = 0;
  CreateCircleRing(n, slots, 0, 1, &inner, &mid, &outer);
  dvector3d o{};
  OrthoCircle(slots[0], slots[1], dvector3d{0, 0, outer}, o);
  const double g = length(o) / mid;
  for (int k = 0; k < n; ++k) {
    slots[n + k] = slots[k];
    slots[k] = {slots[k].x * (g + p), slots[k].y * (g + p), slots[k].z * g};
  }
  for (int k = n; k < 2 * n; ++k)
    RotateVCirc(slots[k], nullptr, nullptr, nullptr, kPi / n);
  lab.circleCount = int16_t(2 * n);
  if (outerPair) {
    slots[2 * n] = {0, 0, -g * outer};
    slots[2 * n + 1] = {0, 0, inner};
    lab.circleCount = int16_t(2 * n + 2);
  }
  dvector2d meet;
  CircleIntersect(slots[n], slots[n + 1], meet);
  const dvector3d limit{0, 0, length(meet)};
  if (lab.variant == 3) {
    lab.limit[0] = limit;
    lab.limitCount = 1;
    return;
  }
  invertedLimits(lab, slots, n, limit);
  lab.limitCount = int16_t(n);
  if (n < 8)
    lab.limit[lab.limitCount++] = limit;
}

// A ring of unit circles inside an orthogonal ring of radius 2 + P.
void inversionLabAlgoB(CILabData& lab, dvector3d* slots)
{
  const int n = lab.tiles;
  const double p = lab.parameter;
  halfStepRing(slots, n, 1 + p, 1);
  CreateCircleRing(n, slots + n, 0, 2 + p, nullptr, nullptr, nullptr);
  lab.circleCount = int16_t(2 * n);
  const dvector3d limit{0, 0, -(2 + p)};
  if (lab.variant == 3) {
    lab.limit[0] = limit;
    lab.limitCount = 1;
    return;
  }
  invertedLimits(lab, slots, n, limit);
  lab.limitCount = int16_t(n);
}

// A chain of N - 1 touching circles between two bounding circles, moved and
// scaled so that the circle orthogonal to the ends is the circle of radius pi.
void inversionLabalgoC(CILabData& lab, dvector3d* slots, int mode)
{
  const int n = lab.tiles;
  const double p = lab.parameter;
  const int m = n + 1;
  double a = -0.5 - p, b = 0;
  if (mode == 0) {
    a = 2.45 * p - 2.5;
    b = -1.5;
  } else if (mode == 2) {
    a = -0.5;
    b = p - 0.5;
  }
  BuildNtgtCircles(slots, a, b, m);
  dvector3d o{};
  OrthoCircle(slots[0], slots[m - 1], slots[m - 2], o);
  const double f = kPi / o.z;
  for (int k = 0; k < m; ++k)
    slots[k] = {(slots[k].x - o.x) * f, (slots[k].y - o.y) * f, slots[k].z * f};
  lab.circleCount = int16_t(m);

  lab.limit[0] = {0, 0, -kPi};
  OrthoCircle(slots[1], slots[2], slots[m - 1], lab.limit[1]);
  OrthoCircle(slots[1], slots[2], slots[m - 2], lab.limit[2]);
  OrthoCircle(slots[0], slots[1], slots[m - 1], lab.limit[3]);
  OrthoCircle(slots[0], slots[1], slots[m - 2], lab.limit[4]);
  lab.limitCount = 5;
  if (n > 4) {
    OrthoCircle(slots[2], slots[3], slots[m - 1], lab.limit[5]);
    OrthoCircle(slots[2], slots[3], slots[m - 2], lab.limit[6]);
    lab.limitCount = 7;
  }
}

// N circles touching the circle of radius 2 from inside, between a ring
// orthogonal to it and the ring's inner circle.
void inversionLabAlgoD(CILabData& lab, dvector3d* slots)
{
  const int n = lab.tiles;
  const double p = lab.parameter;
  double inner = 0;
  CreateCircleRing(n, slots + n, 0, 2, &inner, nullptr, nullptr);
  const double rho = 0.5 * (p / 2 + 2 - inner);
  halfStepRing(slots, n, 2 - rho, rho);
  slots[2 * n] = {0, 0, inner};
  lab.circleCount = int16_t(2 * n + 1);
  const dvector3d limit{0, 0, -2};
  if (lab.variant == 3) {
    lab.limit[0] = limit;
    lab.limitCount = 1;
    return;
  }
  invertedLimits(lab, slots, n, limit);
  lab.limit[n] = limit;
  lab.limitCount = int16_t(n + 1);
}

// A ring of radius 2 with an inversion that also turns the plane by
// 360 P degrees.
void inversionLabAlgoRot(CILabData& lab, dvector3d* slots)
{
  const int n = lab.tiles;
  lab.keepGoing = 0;
  double inner = 0;
  CreateCircleRing(n, slots, 0, 2, &inner, nullptr, nullptr);
  const dvector3d centre{0, 0, inner};
  dvector3d a0, a1;
  InvertVCircle(slots[0], centre, a0);
  InvertVCircle(slots[1], centre, a1);
  dvector2d meet;
  CircleIntersect(a0, a1, meet);
  const double rho = length(meet);
  const int32_t degrees = kvnum::sat_i32(360 * lab.parameter);
  slots[n] = F25_lineRecord(10, degrees, rho * rho);
  slots[n + 1] = centre;
  lab.circleCount = int16_t(n + 2);
  halfStepRing(lab.limit, n, 1 + rho / 2, (2 - rho) / 2);
  lab.limitCount = int16_t(n);
}

// The variant and builder of algorithm `algorithm` (0..25).
void buildLabSet(CILabData& lab, dvector3d* slots, int algorithm)
{
  lab.variant = uint8_t(algorithm < 24 ? algorithm % 4 : (algorithm == 24 ? 0 : 2));
  switch (algorithm / 4) {
    case 0:
      inversionLabAlgoA(lab, slots, false);
      break;
    case 1:
      inversionLabAlgoA(lab, slots, true);
      break;
    case 2:
      inversionLabAlgoB(lab, slots);
      break;
    case 3:
      inversionLabalgoC(lab, slots, 0);
      break;
    case 4:
      inversionLabalgoC(lab, slots, 2);
      break;
    case 5:
      inversionLabAlgoD(lab, slots);
      break;
    default:
      inversionLabAlgoRot(lab, slots);
      break;
  }
  SquareCircleRadius(lab.circleCount, slots);
  SquareCircleRadius(lab.limitCount, lab.limit);
}

// The record both members start from at message 8.
CILabData labFromDocument(const gfunc* g)
{
  CILabData lab{};
  lab.background = g->doc->defaultColors[0];
  lab.iterations = int16_t(KV_octavePasses(g));
  return lab;
}

// The set with the circle count held to the block the member made.
CILabData heldToBlock(const F25labPrivate& pv)
{
  CILabData lab = pv.lab;
  lab.circleCount = int16_t(std::clamp<int>(lab.circleCount, 0, pv.blockCircles));
  return lab;
}

F25out journeyOut(const F25journey& j, double scale)
{
  return {j.x * scale, j.y * scale, j.r * kF25byteScale, j.g * kF25byteScale, j.b * kF25byteScale};
}

}  // namespace

void f25_inversionLab_prepare(gfunc* g)
{
  F25labPrivate& pv = privateArea<F25labPrivate>(g);
  pv = {};
  CILabData& lab = pv.lab;
  lab = labFromDocument(g);
  int32_t algorithm = -1;
  const bool known =
      kvnum::trunc_i32(g->A, algorithm) && algorithm >= 0 && algorithm <= kLastAlgorithm;
  lab.algorithm = known ? uint8_t(algorithm) : UINT8_MAX;
  lab.tiles = int16_t(std::clamp(kvnum::sat_i32(g->B), 1, 8));
  lab.parameter = g->C < 1 ? g->C : 1;

  dvector3d* slots = F25_newCircleBlock(g, kF25labCircles);
  if (slots == nullptr)
    return;
  pv.blockCircles = kF25labCircles;
  if (known)
    buildLabSet(lab, slots, algorithm);
}

void f25_inversionLab(gfunc* g)
{
  const F25labPrivate& pv = privateArea<F25labPrivate>(g);
  const dvector3d* slots = F25_circleBlock(g, pv.blockCircles);
  if (slots == nullptr)
    return;
  const CILabData lab = heldToBlock(pv);
  const cpalette& palette = f25_palette(g);
  f25_eachSample(g, [&](double x, double y) {
    const F25journey j = lab.variant > 1 ? GenericDiskLimit(lab, slots, palette, x, y)
                                         : GenericDiskInvert(lab, slots, palette, x, y);
    return journeyOut(j, 1);
  });
}

void f25_Appolonian_prepare(gfunc* g)
{
  F25labPrivate& pv = privateArea<F25labPrivate>(g);
  pv = {};
  CILabData& lab = pv.lab;
  lab = labFromDocument(g);
  dvector3d* slots = F25_newCircleBlock(g, kF25appolonianCircles);
  if (slots == nullptr)
    return;
  pv.blockCircles = kF25appolonianCircles;
  constexpr dvector3d kUnitCircles[] = {{0, 0, 1}, {-2, 0, 1}, {2, 0, 1}, {0, 2, 1}, {0, -2, 1}};
  std::copy(std::begin(kUnitCircles), std::end(kUnitCircles), lab.limit);
  lab.limitCount = 5;
  slots[0] = F25_lineRecord(2, 0, 2);  // fold x into -2..2
  slots[1] = F25_lineRecord(5, 0, 2);  // fold y into -2..2
  slots[2] = F25_lineRecord(7, 0, 0);  // invert (|x|, |y|) in the unit circle about (1, 1)
  lab.circleCount = 3;
  lab.period = 8;
  SquareCircleRadius(lab.limitCount, lab.limit);
}

void f25_Appolonian(gfunc* g)
{
  const F25labPrivate& pv = privateArea<F25labPrivate>(g);
  const dvector3d* slots = F25_circleBlock(g, pv.blockCircles);
  if (slots == nullptr)
    return;
  const CILabData lab = heldToBlock(pv);
  const cpalette& palette = f25_palette(g);
  const double a = g->A, b = g->B, c = g->C;
  f25_eachSample(g, [&](double x, double y) {
    return journeyOut(GenericDiskLimit(lab, slots, palette, (x + b) / a, (y + c) / a), a);
  });
}

int16_t f25_inversionLab_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_inversionLab, g, msg, a, b, c);
}

int16_t f25_Appolonian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_Appolonian, g, msg, a, b, c);
}
