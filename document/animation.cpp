#include "document/animation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

#include "document/campath.h"
#include "document/inputmedia.h"
#include "engine/palettes.h"
#include "engine/prepare.h"
#include "engine/protocol.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/bezier.h"
#include "foundation/checked.h"
#include "foundation/vectors.h"
#include "noise/noises.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDriftParams = 0.1;         // smoothing step of the parameters
constexpr double kDriftCamera = 0.066;       // smoothing step of the camera
constexpr double kSmoothedTimeScale = 1.12;  // smoothing reaches the last key early
constexpr double kRandomSpread = 0.0005859375;
constexpr double kRandomTimeB = 2.3;
constexpr double kRandomTimeC = 15.6;
constexpr double kRandomTimeNext = 7.0;

int keyCountOf(const sfuncSystem* doc)
{
  return std::clamp<int>(doc->animation.keyCount, 0, kKeyframeCount);
}

bool validKey(int key)
{
  return key >= 0 && key < kKeyframeCount;
}

double frac(double x)
{
  return x - std::floor(x);
}

bool locked(const gfunc* g, int i)
{
  return (g->lockFlags & (1u << i)) != 0;
}

// Every tree of the document: the main tree and each compiled sub-tree.
template <class F>
void forEachTree(sfuncSystem* doc, F f)
{
  f(&doc->tree);
  for (smalltree* t : doc->embedded)
    if (t != nullptr)
      f(t);
}

void setKeyframeCounts(sfuncSystem* doc, int count)
{
  forEachTree(doc, [&](smalltree* t) { t->kind = int16_t(std::clamp(count, 0, kKeyframeCount)); });
}

void setViewFromCamera(sfuncSystem* doc, const keycam& c)
{
  doc->view = KVviewRect{c.x - c.h, c.x + c.h, c.y - c.h, c.y + c.h};
}

// ---- The Bezier walk of one frame ----

struct BezierWalk
{
  KVsegmentKeys keys;
  double f;
  bool smoothing;
};

void tp_bezieraramlist(smalltree*, gfunc* g, void* arg)
{
  const auto& w = *static_cast<const BezierWalk*>(arg);
  if (g->paramCount < 1)
    return;
  const KVparamTriple* p0 = &g->keyframes[w.keys.k0];
  const KVparamTriple* p1 = &g->keyframes[w.keys.k1];
  const KVparamTriple* p2 = &g->keyframes[w.keys.k2];
  const KVparamTriple* p3 = &g->keyframes[w.keys.k3];
  KVparamTriple c1, c2;
  control_params(p0, p1, p2, p3, &c1, &c2);
  const double from[3] = {p1->A, p1->B, p1->C};
  const double inner1[3] = {c1.A, c1.B, c1.C};
  const double inner2[3] = {c2.A, c2.B, c2.C};
  const double to[3] = {p2->A, p2->B, p2->C};
  for (int i = 0; i < std::min<int>(g->paramCount, 3); ++i) {
    if (locked(g, i))
      continue;
    const double v = EvaluateBezier(from[i], inner1[i], inner2[i], to[i], w.f);
    double& param = KV_param(g, i);
    param = w.smoothing ? param + kDriftParams * (v - param) : v;
  }
}

// Triple k of every component moved by `shift` keys between `first` and
// `last` (inclusive): keys move up (shift 1) or down (shift -1).
struct ShiftWalk
{
  int first;
  int last;
  int shift;
};

void shiftTriples(smalltree*, gfunc* g, void* arg)
{
  const auto& w = *static_cast<const ShiftWalk*>(arg);
  if (w.shift > 0) {
    for (int k = w.last; k >= w.first; --k)
      if (k + 1 < kKeyframeCount)
        g->keyframes[k + 1] = g->keyframes[k];
  } else {
    for (int k = w.first; k <= w.last; ++k)
      if (k - 1 >= 0)
        g->keyframes[k - 1] = g->keyframes[k];
  }
}

void walkTrees(sfuncSystem* doc, bool withSubtrees, KVtraverseProc proc, void* arg)
{
  if (withSubtrees)
    arb_TraverseAll(&doc->tree, proc, arg);
  else
    arb_TraverseST(&doc->tree, proc, arg);
}

// Resamples the first `from` triples of a component to `to` triples.
void resampleTriples(gfunc* g, int from, int to)
{
  from = std::clamp(from, 0, kKeyframeCount);
  to = std::clamp(to, 0, kKeyframeCount);
  if (from < 1 || to < 1)
    return;
  double in[kKeyframeCount], out[kKeyframeCount];
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < from; ++k)
      in[k] = i == 0 ? g->keyframes[k].A : (i == 1 ? g->keyframes[k].B : g->keyframes[k].C);
    dvector_resample(in, out, from, to);
    for (int k = 0; k < to; ++k)
      (i == 0 ? g->keyframes[k].A : (i == 1 ? g->keyframes[k].B : g->keyframes[k].C)) = out[k];
  }
}

// Label of parameter i as the handler gives it, compared with "Phase ".
bool labelIsPhase(gfunc* g, int i)
{
  if (gKovrelinWorld == nullptr || g->handler == nullptr)
    return false;
  double value = 0;
  gKovrelinWorld->label[0] = 0;
  g->handler(g, int16_t(kMsgParamA + i), &value, nullptr, nullptr);
  static constexpr unsigned char kPhase[] = "\x06Phase ";
  return std::memcmp(gKovrelinWorld->label, kPhase, 7) == 0;
}

bool inList(int key, std::initializer_list<int> keys)
{
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace

// ---- Time ----------------------------------------------------------------------

void Anim_Init(KVanimation* a)
{
  for (KVkeyframe& k : a->keys)
    k.inUse = 0;
  a->keyCount = 0;
  a->mode = kAnimKeysClamped;
  a->straightMoves = 0;
  a->cameraPath = 0;
  a->easing = kEaseLinear;
  a->randomDrift = 0;
  a->length = 600;
  a->frameRate = 25.0;
  a->modeInProgress = 0;
}

void Anim_SetTime_fromframe(sfuncSystem* doc, int16_t mode, double frame)
{
  KVanimation& a = doc->animation;
  a.frame = frame;
  double t;
  if (mode != kAnimTimeRandom) {
    t = frame / double(std::max(a.length, 1));
  } else {
    const double period = doc->animPeriod == 0 ? 1.0 : double(doc->animPeriod);
    t = frame * kPi / (period * 5) + a.timeRandomOffset;
  }
  Anim_SetTime_fromlerp(doc, t);
}

void Anim_SetTime_fromlerp(sfuncSystem* doc, double t)
{
  doc->animation.t = t;
  doc->time = t;
}

double Anim_EaseTime(const sfuncSystem* doc, double t)
{
  switch (doc->animation.easing) {
    case kEaseSquareRoot:
      return t > 0 ? std::sqrt(t) : 0.0;
    case kEaseSquare:
      return t * t;
    case kEaseSmoothstep:
      return (3 - 2 * t) * t * t;
    default:
      return t;
  }
}

double GetGlobalTime(const sfuncSystem* doc, int32_t count, double t, bool whole)
{
  const double eased = Anim_EaseTime(doc, t);
  if (count < 1)
    return eased;
  return whole ? eased * count : eased * (count - 1);
}

// ---- Per-frame update ----------------------------------------------------------

void Anim_Paramlists(sfuncSystem* doc, int16_t mode, int16_t updateMode, int32_t batchLength,
                     bool prepare)
{
  KVanimation& a = doc->animation;
  Anim_PrepareMasterInputs(doc, batchLength, a.t);
  if (mode == kAnimKeysClamped || mode == kAnimKeysLooping) {
    const double t = std::isnan(a.t) ? 0.0 : std::clamp(a.t, 0.0, 1.0);
    Anim_SetTime_fromlerp(doc, t);
    Anim_lerpframe(doc, a.keyCount, t, mode == kAnimKeysLooping, updateMode != kAnimUpdateStill);
  } else if (mode == kAnimTimeRandom) {
    timeparamlists(doc, a.t, updateMode != kAnimUpdateStill);
  }
  UpdateMoviePosition(doc, a.t, updateMode);
  doc->paramsChanged = 1;
  KV_prepare_evaluation(doc, prepare);
}

KVsegmentKeys Anim_segmentKeys(int k, int keyCount, bool loop)
{
  const int K = std::clamp(keyCount, 1, kKeyframeCount);
  if (loop) {
    auto wrap = [K](int i) { return ((i % K) + K) % K; };
    return {wrap(k - 1), wrap(k), wrap(k + 1), wrap(k + 2)};
  }
  auto clampKey = [K](int i) { return std::clamp(i, 0, K - 1); };
  return {clampKey(k - 1), clampKey(k), clampKey(k + 1), clampKey(k + 2)};
}

void Anim_lerpframe(sfuncSystem* doc, int16_t keyCount, double t, bool loop, bool movie)
{
  KVanimation& a = doc->animation;
  const int K = std::min<int>(keyCount, kKeyframeCount);
  if (K <= 1)
    return;
  t = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
  const bool smoothing = movie && a.randomDrift != 0 && t > 0;
  const int segments = loop ? K : K - 1;
  if (smoothing)
    t = std::min(1.0, kSmoothedTimeScale * t);
  double position = segments * Anim_EaseTime(doc, t);

  if (a.cameraPath != 0 && a.pathLength > 0) {
    const double target = position / segments * a.pathLength;
    if (target < a.pathLength) {
      campath_converge(doc, target, kCamPathStep, 0, segments, loop);
      position = segments * std::min(a.pathPosition, 1.0);
    } else {
      a.pathPosition = 1.0;
      position = segments;
    }
  }

  position = std::clamp(position, 0.0, double(segments));
  const int k = int(position);  // within 0..16
  const double f = position - k;

  keycam camera;
  campath_interpolate(doc, k, K, f, loop, &camera);
  params_interpolate(doc, k, K, f, loop, smoothing);
  if (smoothing) {
    camera.x = a.cameraX + kDriftCamera * (camera.x - a.cameraX);
    camera.y = a.cameraY + kDriftCamera * (camera.y - a.cameraY);
    camera.h = a.cameraHalfSize + kDriftCamera * (camera.h - a.cameraHalfSize);
  }
  a.cameraX = camera.x;
  a.cameraY = camera.y;
  a.cameraHalfSize = camera.h;
  setViewFromCamera(doc, camera);
}

void params_interpolate(sfuncSystem* doc, int k, int keyCount, double f, bool loop, bool smoothing)
{
  BezierWalk walk{Anim_segmentKeys(k, keyCount, loop), f, smoothing};
  arb_TraverseAll(&doc->tree, tp_bezieraramlist, &walk);
  const KVanimation& a = doc->animation;
  lerp_cpalette(&a.keys[walk.keys.k1].palette, &a.keys[walk.keys.k2].palette,
                &doc->tables.gradientKeys, f);
}

void tp_timerandomParamlist(smalltree*, gfunc* g, void* arg)
{
  auto& state = *static_cast<KVtimeRandomState*>(arg);
  const KVtables* tables =
      state.tables != nullptr ? state.tables : (g->doc != nullptr ? &g->doc->tables : nullptr);
  if (g->paramCount < 1 || g->handler == nullptr || tables == nullptr)
    return;
  if (g->family == kFamily11 && g->funcID == 28)
    return;
  const KVparamTriple current{g->A, g->B, g->C};
  double dA = 0, dB = 0, dC = 0;
  g->handler(g, kMsgDefaults, nullptr, nullptr, nullptr);
  g->handler(g, kMsgToNormalized, &dA, &dB, &dC);
  g->A = current.A;
  g->B = current.B;
  g->C = current.C;
  double nA = 0, nB = 0, nC = 0;
  g->handler(g, kMsgToNormalized, &nA, &nB, &nC);

  auto target = [&](double time, double normalizedDefault) {
    return std::clamp((frandom1D(tables, time) - 512) * kRandomSpread + normalizedDefault, 0.0,
                      1.0);
  };
  double tA = nA, tB = nB, tC = nC;
  if (!locked(g, 0))
    tA = target(state.time, dA);
  const bool onlyA = g->funcID == 127 || (g->family == kFamily21 && g->funcID == 3);
  if (!onlyA) {
    if (g->paramCount >= 2 && !locked(g, 1))
      tB = target(state.time + kRandomTimeB, dB);
    if (g->paramCount >= 3 && !locked(g, 2))
      tC = target(state.time + kRandomTimeC, dC);
  }
  if (state.smoothing) {
    tA = nA + kDriftParams * (tA - nA);
    tB = nB + kDriftParams * (tB - nB);
    tC = nC + kDriftParams * (tC - nC);
  }
  g->handler(g, kMsgFromNormalized, &tA, &tB, &tC);
  // A locked parameter keeps its exact value (the normalised round trip of
  // a truncated parameter need not give it back).
  for (int i = 0; i < 3; ++i)
    if (locked(g, i))
      KV_param(g, i) = i == 0 ? current.A : (i == 1 ? current.B : current.C);
  state.time += kRandomTimeNext;
}

void timeparamlists(sfuncSystem* doc, double t, bool movie)
{
  KVtimeRandomState state{t, movie && doc->animation.randomDrift != 0 && t > 0, &doc->tables};
  arb_TraverseAll(&doc->tree, tp_timerandomParamlist, &state);
}

void Anim_PrepareMasterInputs(sfuncSystem* doc, int32_t n, double t)
{
  const KVanimation& a = doc->animation;
  n = std::clamp(n, 0, kBatchCapacity);
  const double rate = a.frameRate >= kMinFrameRate ? a.frameRate : kMinFrameRate;
  const double s = a.length * t / rate;
  const double* d = doc->masterDoubles;  // d1..d6
  double* m3 = doc->master[2];
  double* m4 = doc->master[3];
  double* const m5to8[4] = {doc->master[4], doc->master[5], doc->master[6], doc->master[7]};
  for (int i = 0; i < n; ++i) {
    switch (doc->inputMode) {
      case 0:
      case 1:
      case 3:
        m3[i] = doc->inputMode == 3 ? d[0] : 4 * t;
        m4[i] = s;
        for (int k = 0; k < 4; ++k) {
          const bool live = doc->inputMode == 1;
          m5to8[k][i] =
              live ? (gKovrelinWorld != nullptr ? gKovrelinWorld->liveInputs[k] : 0.0) : d[2 + k];
        }
        break;
      case 2: {
        m3[i] = s;
        int32_t step = 0;
        kvnum::trunc_i32(32 * frac(s * 0.03125 * d[1]), step);
        m4[i] = 1 + step;
        for (int k = 0; k < 4; ++k)
          m5to8[k][i] = kPi - 2 * kPi * frac(s * d[2 + k]);
        break;
      }
      default:
        break;
    }
  }
}

// ---- Curves --------------------------------------------------------------------

double EvaluateBezier(double q0, double q1, double q2, double q3, double t)
{
  const double c = 3 * (q1 - q0);
  const double b = 3 * (q2 - q1) - c;
  const double a = q3 - q0 - c - b;
  return q0 + t * (c + t * (b + a * t));
}

double EvaluateLogBezier(double p0, double p1, double p2, double p3, double t)
{
  constexpr double kShift = 8888;
  return std::exp(EvaluateBezier(std::log(p0 + kShift), std::log(p1 + kShift),
                                 std::log(p2 + kShift), std::log(p3 + kShift), t)) -
         kShift;
}

void control_params(const KVparamTriple* p0, const KVparamTriple* p1, const KVparamTriple* p2,
                    const KVparamTriple* p3, KVparamTriple* c1, KVparamTriple* c2)
{
  const bool first = p0 == p1;
  const bool last = p3 == p2;
  auto inner = [&](double v0, double v1, double v2, double v3, double& o1, double& o2) {
    o1 = first ? v1 + (v2 - v1) / 3 : v1 + Bezier_TGT(v1 - v0, v2 - v1, 1.0 / 3);
    o2 = last ? v2 - (v2 - v1) / 3 : v2 - Bezier_TGT(v2 - v1, v3 - v2, 1.0 / 3);
  };
  inner(p0->A, p1->A, p2->A, p3->A, c1->A, c2->A);
  inner(p0->B, p1->B, p2->B, p3->B, c1->B, c2->B);
  inner(p0->C, p1->C, p2->C, p3->C, c1->C, c2->C);
}

void limitparam(gfunc* g, double* a, double* b, double* c)
{
  if (g->handler == nullptr)
    return;
  const int key = (int(g->family) - 1) * 128 + g->funcID;
  if (inList(key, {20, 259, 897, 898}))
    return;
  const bool limitA = !inList(key, {0, 657, 658, 659}) && !labelIsPhase(g, 0);
  const bool limitB = !inList(key, {144, 258, 383, 515, 516, 651, 664, 909}) && !labelIsPhase(g, 1);
  const bool limitC =
      !inList(key, {144, 258, 778, 779, 782, 791, 793, 897, 910}) && !labelIsPhase(g, 2);
  // The handler works on a copy holding the candidates, so the component
  // itself keeps its parameters.
  auto copy = std::make_unique<gfunc>(*g);
  copy->A = *a;
  copy->B = *b;
  copy->C = *c;
  double na = 0, nb = 0, nc = 0;
  copy->handler(copy.get(), kMsgToNormalized, &na, &nb, &nc);
  if (limitA)
    na = std::clamp(na, 0.0, 1.0);
  if (limitB)
    nb = std::clamp(nb, 0.0, 1.0);
  if (limitC)
    nc = std::clamp(nc, 0.0, 1.0);
  copy->handler(copy.get(), kMsgFromNormalized, &na, &nb, &nc);
  *a = copy->A;
  *b = copy->B;
  *c = copy->C;
}

// ---- Keys ----------------------------------------------------------------------

void Anim_TP_getkeyparam(smalltree*, gfunc* g, void* arg)
{
  const auto& w = *static_cast<const KVkeyWalk*>(arg);
  const KVparamTriple& k = g->keyframes[w.key];
  if (!locked(g, 0))
    g->A = k.A;
  if (!locked(g, 1))
    g->B = k.B;
  if (!locked(g, 2))
    g->C = k.C;
}

void Anim_TP_setkeyparam(smalltree*, gfunc* g, void* arg)
{
  auto& w = *static_cast<KVkeyWalk*>(arg);
  if (g->paramCount < 1)
    return;
  g->keyframes[w.key] = KVparamTriple{g->A, g->B, g->C};
  ++w.count;
}

void Anim_TP_setcurparamfromlist(smalltree*, gfunc* g, void* arg)
{
  auto& w = *static_cast<KVkeyWalk*>(arg);
  // The list holds one triple for each component with parameters, in walk
  // order (as Anim_TP_setkeyparam counts them).
  if (g->paramCount < 1)
    return;
  if (w.list != nullptr && w.n < w.listLength) {
    const KVparamTriple& p = w.list[w.n];
    if (!locked(g, 0))
      g->A = p.A;
    if (!locked(g, 1))
      g->B = p.B;
    if (!locked(g, 2))
      g->C = p.C;
  }
  if (w.n < w.listLength || w.list == nullptr)
    ++w.n;
}

void Anim_TP_insertKFparam(smalltree* tree, gfunc* g, void* arg)
{
  const auto& w = *static_cast<const KVkeyWalk*>(arg);
  ShiftWalk shift{w.key, kKeyframeCount - 2, 1};
  shiftTriples(tree, g, &shift);
}

void Anim_TP_deleteKFparam(smalltree* tree, gfunc* g, void* arg)
{
  const auto& w = *static_cast<const KVkeyWalk*>(arg);
  ShiftWalk shift{w.key + 1, kKeyframeCount - 1, -1};
  shiftTriples(tree, g, &shift);
}

void Anim_TP_resampleKFparam(smalltree*, gfunc* g, void* arg)
{
  const auto& w = *static_cast<const KVkeyWalk*>(arg);
  resampleTriples(g, w.from, w.to);
}

void Anim_TP_GuessNext(smalltree*, gfunc* g, void* arg)
{
  const auto& w = *static_cast<const KVkeyWalk*>(arg);
  if (g->paramCount < 1 || w.key < 2)
    return;
  const KVparamTriple& p = g->keyframes[w.key - 1];
  const KVparamTriple& q = g->keyframes[w.key - 2];
  double a = 2 * p.A - q.A, b = 2 * p.B - q.B, c = 2 * p.C - q.C;
  limitparam(g, &a, &b, &c);
  g->keyframes[w.key] = KVparamTriple{a, b, c};
}

void Anim_Read_KeyFrame(sfuncSystem* doc, int16_t key)
{
  if (!validKey(key) || doc->animation.keys[key].inUse == 0)
    return;
  const KVkeyframe& k = doc->animation.keys[key];
  setViewFromCamera(doc, keycam{k.cameraX, k.cameraY, k.halfSize});
  doc->tables.gradientKeys = k.palette;
  KVkeyWalk walk{};
  walk.key = key;
  arb_TraverseAll(&doc->tree, Anim_TP_getkeyparam, &walk);
  doc->paramsChanged = 1;
}

double Anim_selectKey(sfuncSystem* doc, int16_t key, int16_t updateMode)
{
  if (!validKey(key) || doc->animation.keys[key].inUse == 0)
    return 0;
  Anim_Read_KeyFrame(doc, key);
  const int K = keyCountOf(doc);
  const double t = K < 2 ? double(key) : double(key) / (K - 1);
  Anim_SetTime_fromlerp(doc, t);
  Anim_PrepareMasterInputs(doc, kBatchCapacity, t);
  doc->animation.frame = doc->animation.length * t;
  UpdateMoviePosition(doc, t, updateMode);
  return t;
}

void Anim_Write_KeyFrameView(sfuncSystem* doc, int16_t key)
{
  if (!validKey(key))
    return;
  KVkeyframe& k = doc->animation.keys[key];
  k.inUse = 1;
  k.cameraX = (doc->view.xmin + doc->view.xmax) / 2;
  k.cameraY = (doc->view.ymin + doc->view.ymax) / 2;
  k.halfSize = (doc->view.xmax - doc->view.xmin) / 2;
  k.palette = doc->tables.gradientKeys;
}

void Anim_Write_KeyFrame(sfuncSystem* doc, int16_t key)
{
  if (!validKey(key))
    return;
  Anim_Write_KeyFrameView(doc, key);
  KVkeyWalk walk{};
  walk.key = key;
  arb_TraverseAll(&doc->tree, Anim_TP_setkeyparam, &walk);
  doc->animation.keys[key].componentCount = uint16_t(walk.count);
}

void Anim_Add_KeyFrame(sfuncSystem* doc)
{
  const int K = keyCountOf(doc);
  if (K >= kKeyframeCount)
    return;
  Anim_Write_KeyFrame(doc, int16_t(K));
  doc->animation.keyCount = int16_t(K + 1);
  setKeyframeCounts(doc, K + 1);
}

void Anim_insert_KeyFrame(sfuncSystem* doc, int16_t key, bool withSubtrees)
{
  KVanimation& a = doc->animation;
  const int K = keyCountOf(doc);
  if (K >= kKeyframeCount || key < 0 || key > K)
    return;
  for (int k = K - 1; k >= key; --k)
    a.keys[k + 1] = a.keys[k];
  KVkeyWalk walk{};
  walk.key = key;
  walkTrees(doc, withSubtrees, Anim_TP_insertKFparam, &walk);
  a.keyCount = int16_t(K + 1);
  setKeyframeCounts(doc, K + 1);
}

void Anim_delete_KeyFrame(sfuncSystem* doc, int16_t key)
{
  KVanimation& a = doc->animation;
  const int K = keyCountOf(doc);
  if (K == 0 || key < 0 || key >= K)
    return;
  for (int k = key; k + 1 < K; ++k)
    a.keys[k] = a.keys[k + 1];
  KVkeyWalk walk{};
  walk.key = key;
  arb_TraverseAll(&doc->tree, Anim_TP_deleteKFparam, &walk);
  a.keys[K - 1].inUse = 0;
  a.keyCount = int16_t(K - 1);
  a.selectedKey = int16_t(std::clamp<int>(a.selectedKey, 0, std::max(K - 2, 0)));
}

void Anim_GuessNext_KeyFrame(sfuncSystem* doc)
{
  KVanimation& a = doc->animation;
  const int K = keyCountOf(doc);
  if (K >= kKeyframeCount)
    return;
  Anim_Add_KeyFrame(doc);
  const int n = K;  // the new key
  if (n + 1 <= 2)
    return;
  KVkeyframe& next = a.keys[n];
  const KVkeyframe& p = a.keys[n - 1];
  const KVkeyframe& q = a.keys[n - 2];
  next.cameraX = 2 * p.cameraX - q.cameraX;
  next.cameraY = 2 * p.cameraY - q.cameraY;
  next.halfSize = 2 * p.halfSize - q.halfSize;
  next.palette = p.palette;
  KVkeyWalk walk{};
  walk.key = n;
  arb_TraverseAll(&doc->tree, Anim_TP_GuessNext, &walk);
}

void Anim_ResampleKey(sfuncSystem* doc, int16_t count)
{
  KVanimation& a = doc->animation;
  const int from = keyCountOf(doc);
  const int to = std::clamp<int>(count, 1, kKeyframeCount);
  if (from < 1 || from == to)
    return;
  // New key records are copies of the old key nearest in time.
  KVkeyframe old[kKeyframeCount];
  std::copy(std::begin(a.keys), std::end(a.keys), std::begin(old));
  for (int k = 0; k < kKeyframeCount; ++k) {
    if (k < to) {
      const int source = to < 2 ? 0 : int(std::lround(double(k) * (from - 1) / (to - 1)));
      a.keys[k] = old[std::clamp(source, 0, from - 1)];
      a.keys[k].inUse = 1;
    } else {
      a.keys[k].inUse = 0;
    }
  }
  KVkeyWalk walk{};
  walk.from = from;
  walk.to = to;
  arb_TraverseST(&doc->tree, Anim_TP_resampleKFparam, &walk);
  a.keyCount = int16_t(to);
  doc->tree.kind = int16_t(to);
  a.selectedKey = int16_t(std::clamp<int>(a.selectedKey, 0, to - 1));
  Anim_ResampleSubKeyFrames(doc, int16_t(to));
}

void Anim_ResampleSubKeyFrames(sfuncSystem* doc, int16_t count)
{
  const int to = std::clamp<int>(count, 1, kKeyframeCount);
  for (smalltree* t : doc->embedded) {
    if (t == nullptr)
      continue;
    KVkeyWalk walk{};
    walk.from = std::clamp<int>(t->kind, 0, kKeyframeCount);
    walk.to = to;
    if (walk.from >= 1 && walk.from != to)
      arb_TraverseST(t, Anim_TP_resampleKFparam, &walk);
    t->kind = int16_t(to);
  }
}

// ---- Movie inputs ----------------------------------------------------------------

int32_t Anim_movieTime(const KVmovieClock& clock, uint8_t movieMode, uint32_t start,
                       double docFrameRate, double frame, double easedTime)
{
  if (clock.timeScale <= 0 || clock.rate100 <= 0)
    return 0;
  const double S = clock.timeScale;
  const double perMovieFrame = S / (clock.rate100 * 0.01);
  const double rate = docFrameRate >= kMinFrameRate ? docFrameRate : kMinFrameRate;
  double T;
  switch (movieMode) {
    case 1:
      T = perMovieFrame * start + S / rate * frame;
      break;
    case 2:
      T = perMovieFrame * (double(start) + frame);
      break;
    case 3:
      T = perMovieFrame * start + perMovieFrame * frame * 0.5;
      break;
    case 4:
      T = perMovieFrame * start + perMovieFrame * frame * 0.25;
      break;
    default:
      T = perMovieFrame * start + clock.duration * easedTime;
      break;
  }
  int32_t time = 0;
  if (!kvnum::trunc_i32(T, time))
    return 0;
  if (movieMode == 1 && clock.duration > 0)
    time = ((time % clock.duration) + clock.duration) % clock.duration;
  return time;
}

void UpdateMoviePosition(sfuncSystem* doc, double t, int16_t updateMode)
{
  if (doc->inputCount == 0)
    return;
  const double eased = Anim_EaseTime(doc, t);
  for (KVinputSlot& slot : doc->inputs) {
    if (slot.inUse == 0 || slot.picture == nullptr || slot.movieOpen == 0)
      continue;
    if (slot.movieHold != 0 && updateMode != kAnimUpdateForced)
      continue;
    KVmovieClock clock{};
    if (!KV_slotMovieClock(&slot, &clock.timeScale, &clock.duration, &clock.rate100))
      continue;
    KV_showSlotMovieFrame(
        &slot, Anim_movieTime(clock, slot.movieMode, slot.startValue, doc->animation.frameRate,
                              doc->animation.frame, eased));
  }
}
