#include "document/campath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "document/animation.h"

namespace {

constexpr double kZoomOctave = 1.57;  // distance of a doubling of the half-size
constexpr int kConvergeDepth = 3;     // the step is refined three times by a quarter

bool validHalfSize(double h)
{
  return h > 0 && std::isfinite(h);
}

KVparamTriple asTriple(const keycam& c)
{
  return KVparamTriple{c.x, c.y, c.h};
}

int segmentsOf(int keyCount, bool loop)
{
  return loop ? keyCount : keyCount - 1;
}

// The camera at normalised time t (clamped to [0, 1]) of the whole path.
keycam cameraAt(const sfuncSystem* doc, int keyCount, double t, bool loop)
{
  const int segments = std::max(segmentsOf(keyCount, loop), 0);
  const double position = segments * std::clamp(std::isnan(t) ? 0.0 : t, 0.0, 1.0);
  const int k = int(position);
  keycam c;
  campath_interpolate(doc, k, keyCount, position - k, loop, &c);
  return c;
}

// The distance between two cameras: moves counted in half-sizes of the
// second, zoom in octaves. A half-size that is not positive and finite makes
// the step count 0 rather than NaN.
double cameraDistance(const keycam& from, const keycam& to)
{
  if (!validHalfSize(from.h) || !validHalfSize(to.h))
    return 0;
  const double dx = (to.x - from.x) / to.h;
  const double dy = (to.y - from.y) / to.h;
  const double dz = kZoomOctave / std::numbers::ln2 * std::log(to.h / from.h);
  const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
  return std::isfinite(d) ? d : 0;
}

double measurePath(const sfuncSystem* doc, int keyCount, bool loop)
{
  if (keyCount <= 1)
    return 0;
  keycam previous = Anim_keyCamera(doc, 0);
  double length = 0;
  for (int i = 1; i * kCamPathStep < 1; ++i)
    length += campath_EvaluateDist(doc, keyCount, i * kCamPathStep, loop, &previous);
  return length;
}

}  // namespace

keycam Anim_keyCamera(const sfuncSystem* doc, int key)
{
  const KVkeyframe& k = doc->animation.keys[std::clamp(key, 0, kKeyframeCount - 1)];
  return keycam{k.cameraX, k.cameraY, k.halfSize};
}

void campath_interpolate(const sfuncSystem* doc, int k, int keyCount, double f, bool loop,
                         keycam* out)
{
  const KVsegmentKeys keys = Anim_segmentKeys(k, keyCount, loop);
  const keycam p1 = Anim_keyCamera(doc, keys.k1);
  const keycam p2 = Anim_keyCamera(doc, keys.k2);
  const KVanimation& a = doc->animation;

  if (a.straightMoves != 0 && a.cameraPath == 0) {
    if (f >= 1) {
      *out = p2;
      return;
    }
    // Geometric zoom: h = h1^(1-f) h2^f, and the centre moves by the same
    // share of the way. Half-sizes that cannot be raised to a power move
    // linearly.
    double u = f;
    if (p1.h != p2.h && validHalfSize(p1.h) && validHalfSize(p2.h))
      u = (p1.h - std::pow(p1.h, 1 - f) * std::pow(p2.h, f)) / (p1.h - p2.h);
    *out = keycam{p1.x + (p2.x - p1.x) * u, p1.y + (p2.y - p1.y) * u, p1.h + (p2.h - p1.h) * u};
    return;
  }

  const KVparamTriple t0 = asTriple(Anim_keyCamera(doc, keys.k0));
  const KVparamTriple t1 = asTriple(p1);
  const KVparamTriple t2 = asTriple(p2);
  const KVparamTriple t3 = asTriple(Anim_keyCamera(doc, keys.k3));
  // The same key on both sides marks an end of the path (control_params
  // compares the pointers).
  const KVparamTriple* q0 = keys.k0 == keys.k1 ? &t1 : &t0;
  const KVparamTriple* q3 = keys.k3 == keys.k2 ? &t2 : &t3;
  KVparamTriple c1, c2;
  control_params(q0, &t1, &t2, q3, &c1, &c2);
  *out =
      keycam{EvaluateBezier(t1.A, c1.A, c2.A, t2.A, f), EvaluateBezier(t1.B, c1.B, c2.B, t2.B, f),
             EvaluateBezier(t1.C, c1.C, c2.C, t2.C, f)};
}

double campath_EvaluateDist(const sfuncSystem* doc, int keyCount, double t, bool loop,
                            keycam* previous)
{
  const keycam c = cameraAt(doc, keyCount, std::min(t, 1.0), loop);
  const double d = cameraDistance(*previous, c);
  *previous = c;
  return d;
}

void campath_converge(sfuncSystem* doc, double target, double step, int depth, int segments,
                      bool loop)
{
  KVanimation& a = doc->animation;
  if (!(a.pathPosition < 1) || !(target > a.pathDistance) || !(step > 0))
    return;
  const int keyCount = loop ? segments : segments + 1;
  double u = a.pathPosition;
  double covered = a.pathDistance;
  keycam previous = cameraAt(doc, keyCount, u, loop);
  while (u < 1) {
    keycam candidate = previous;
    const double d = campath_EvaluateDist(doc, keyCount, u + step, loop, &candidate);
    if (covered + d > target)
      break;
    u += step;
    covered += d;
    previous = candidate;
    if (!(target > covered))
      break;
  }
  a.pathPosition = u;
  a.pathDistance = covered;
  if (depth < kConvergeDepth)
    campath_converge(doc, target, step / 4, depth + 1, segments, loop);
}

double campath_EvaluateTotalDistance(const sfuncSystem* doc, int keyCount, bool loop)
{
  return measurePath(doc, std::clamp(keyCount, 0, kKeyframeCount), loop);
}

void Anim_Start(sfuncSystem* doc, int16_t mode, int16_t updateMode)
{
  KVanimation& a = doc->animation;
  a.modeInProgress = mode;
  const int K = std::clamp<int>(a.keyCount, 0, kKeyframeCount);
  auto startAtKey0 = [&] {
    const keycam c = Anim_keyCamera(doc, 0);
    a.cameraX = c.x;
    a.cameraY = c.y;
    a.cameraHalfSize = c.h;
    a.frame = 0;
    a.t = 0;
    doc->time = 0;
  };
  if (mode > 0) {
    if (K > 0)
      Anim_selectKey(doc, 0, updateMode);
    if (a.cameraPath != 0) {
      a.pathPosition = 0;
      a.pathDistance = 0;
      a.pathLength = K > 1 ? measurePath(doc, K, mode == kAnimKeysLooping) : 0;
      if (K >= 1) {
        startAtKey0();
        return;
      }
    }
  }
  if (K > 0) {
    startAtKey0();
    return;
  }
  a.cameraHalfSize = (doc->view.xmax - doc->view.xmin) / 2;
  a.cameraX = (doc->view.xmin + doc->view.xmax) / 2;
  a.cameraY = (doc->view.ymin + doc->view.ymax) / 2;
  a.frame = 0;
  a.t = 0;
  doc->time = 0;
}
