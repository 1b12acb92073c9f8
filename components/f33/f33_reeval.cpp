#include "components/f33/f33_reeval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "components/common/octaves.h"
#include "components/f33/f33_pvt.h"
#include "engine/evaluate.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"

namespace {

using Batch = std::array<double, kBatchCapacity>;

constexpr double M = gINFINITY;
constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * kPi;
constexpr double kFourPi = 12.566370614359172;
// Softens the normalisation of 3D Normal where the differences are tiny,
// scaled by B: the square of the shift step.
constexpr double kNormalSoftening = 2.5e-7;
// Each slice of the elevation marcher is this much thicker, times (4 - B).
constexpr double kSliceGrowth = 0.00625;
// The view origin's depth that the slices start from.
constexpr double kDepthBase = 16.0;

bool isRerunMember(const gfunc* g)
{
  return g->compute == f33_derivative || g->compute == f33_2dfield || g->compute == f33_3dfield;
}

struct RunningCount
{
  const gfunc* self;
  bool selfSeen;
  int total;
};

void countRunning(smalltree*, gfunc* g, void* arg)
{
  auto* count = static_cast<RunningCount*>(arg);
  count->selfSeen = count->selfSeen || g == count->self;
  if (isRerunMember(g))
    count->total += f33_rerunState(g).running;
}

// Counts g as re-running its sources while it lives.
class RerunMark
{
public:
  explicit RerunMark(gfunc* g) : state_(f33_rerunState(g)) { ++state_.running; }
  ~RerunMark() { --state_.running; }
  RerunMark(const RerunMark&) = delete;
  RerunMark& operator=(const RerunMark&) = delete;

private:
  F33rerunState& state_;
};

// Sets the owning tree's re-evaluation flag for a member inside a loop (loop
// mark above 1) and puts the earlier value back when it ends.
class ReevaluationFlag
{
public:
  explicit ReevaluationFlag(gfunc* g) : tree_(g->owner)
  {
    if (tree_ == nullptr)
      return;
    before_ = tree_->iterationStep;
    tree_->iterationStep = g->loopMask > 1 ? 1 : 0;
  }
  ~ReevaluationFlag()
  {
    if (tree_ != nullptr)
      tree_->iterationStep = before_;
  }
  ReevaluationFlag(const ReevaluationFlag&) = delete;
  ReevaluationFlag& operator=(const ReevaluationFlag&) = delete;

private:
  smalltree* tree_;
  uint8_t before_ = 0;
};

// Keeps every input link a slice member may redirect, S's own and those of
// every component of S's sub-tree, with the sub-tree's feedback state, and
// puts them back exactly when it ends.
class LinkGuard
{
public:
  explicit LinkGuard(gfunc* s) : s_(s), sub_(arb_subtreeOf(s))
  {
    std::copy_n(s->inlets, 4, own_);
    if (sub_ == nullptr)
      return;
    count_ = std::clamp<int>(sub_->count, 0, kMaxComponents);
    for (int j = 0; j < count_; ++j)
      std::copy_n(sub_->funcs[j].inlets, 4, subLinks_[j]);
    feedback_ = sub_->inletFeedback;
  }
  ~LinkGuard()
  {
    std::copy_n(own_, 4, s_->inlets);
    if (sub_ == nullptr)
      return;
    for (int j = 0; j < count_; ++j)
      std::copy_n(subLinks_[j], 4, sub_->funcs[j].inlets);
    sub_->inletFeedback = feedback_;
  }
  LinkGuard(const LinkGuard&) = delete;
  LinkGuard& operator=(const LinkGuard&) = delete;

  // Every guarded link that now reads one of `arrays` reads it per sample.
  void perSample(std::initializer_list<const double*> arrays)
  {
    auto mark = [&](inletinfos* links) {
      for (int k = 0; k < 4; ++k)
        if (std::find(arrays.begin(), arrays.end(), links[k].data) != arrays.end())
          links[k].channels = kConnOne;
    };
    mark(s_->inlets);
    for (int j = 0; j < count_; ++j)
      mark(sub_->funcs[j].inlets);
  }

private:
  gfunc* s_;
  smalltree* sub_;
  int count_ = 0;
  int16_t feedback_ = 0;
  inletinfos own_[4];
  inletinfos subLinks_[kMaxComponents][4];
};

void passThrough(gfunc* g, const F33batch& b, double zOffset)
{
  for (int i = 0; i < b.n; ++i)
    f33_store(g, i, {b.x[i], b.y[i], zOffset + b.z[i]});
}

bool mayRerun(gfunc* g)
{
  return f33_runningReruns(g) < kF33maxNestedReruns;
}

// The view origin the engine set before rendering, and the document's view
// depth.
struct View
{
  dvector3d origin;
  double depth;
};

View viewOf(const gfunc* g)
{
  return {g->posOffset, g->doc != nullptr ? g->doc->viewDepth : 0.0};
}

// ---- 3D Normal ----------------------------------------------------------------

// What g's inputs 1 and 3 read after the list ran with `array` shifted by the
// step; the array is put back bit for bit.
struct ShiftedRead
{
  Batch x;
  Batch z;
};

ShiftedRead runShifted(gfunc* g, const sfuncEvalLists& list, double* array, int n)
{
  Batch saved;
  std::copy_n(array, kBatchCapacity, saved.data());
  for (int i = 0; i < n; ++i)
    array[i] += kF33normalStep;
  KV_runEvalList(&list);
  std::copy_n(saved.data(), kBatchCapacity, array);
  ShiftedRead r;
  KV_readInput(g, 0, n, r.x.data());
  KV_readInput(g, 2, n, r.z.data());
  return r;
}

F33triple normalAt(double x0, double z0, double x1, double z1, double x2, double z2, double gain,
                   double softening)
{
  if (x0 >= M)
    return kF33noValue;
  if (!(x1 < M && x2 < M))
    return {0, 0, 0};
  const double d1 = z1 - z0, d2 = z2 - z0, d3 = x1 - x0;
  const double root = std::sqrt(d1 * d1 + d2 * d2 + d3 * d3 + softening);
  // No difference at all leaves no direction to scale.
  if (!(root > 0) || !std::isfinite(root))
    return {0, 0, 0};
  const double m = gain / root;
  return {d1 * m, d2 * m, d3 * m};
}

// ---- Density slices -----------------------------------------------------------

void linkTo(gfunc* c, int k, double* array)
{
  c->inlets[k].data = array;
  c->inlets[k].channels = kConnOne;
}

// The entry components of a sub-tree: the leading ones that share the first
// one's level.
int entryCount(const smalltree* sub)
{
  const int count = std::clamp<int>(sub->count, 0, kMaxComponents);
  int m = count > 0 ? 1 : 0;
  while (m < count && sub->funcs[m].level == sub->funcs[0].level)
    ++m;
  return m;
}

// The coordinate a one-input entry at position j of m takes on its input:
// 1 (Y) for the second of three, 2 (Z) for the last of two or three; -1
// when it takes X, Y, Z as the others do.
int oneInputCoordinate(int j, int m)
{
  if (m == 3)
    return j == 1 ? 1 : (j == 2 ? 2 : -1);
  if (m == 2)
    return j == 1 ? 2 : -1;
  return -1;
}

// S's three inputs read X, Y, Z; a compiled tree hands them to the entry
// components of its sub-tree instead.
void redirectDensity(gfunc* s, double* x, double* y, double* z)
{
  if (s->funcID != kCompiledTreeId) {
    linkTo(s, 0, x);
    linkTo(s, 1, y);
    linkTo(s, 2, z);
    return;
  }
  smalltree* sub = arb_subtreeOf(s);
  if (sub == nullptr)
    return;
  double* const xyz[3] = {x, y, z};
  const int m = entryCount(sub);
  for (int j = 0; j < m; ++j) {
    gfunc* e = &sub->funcs[j];
    const int only = e->family == kFamily11 ? oneInputCoordinate(j, m) : -1;
    if (only >= 0) {
      linkTo(e, 0, xyz[only]);
      continue;
    }
    for (int k = 0; k < 3; ++k)
      linkTo(e, k, xyz[k]);
  }
}

}  // namespace

int f33_runningReruns(gfunc* g)
{
  RunningCount count{g, false, 0};
  smalltree* root = g->doc != nullptr ? &g->doc->tree : g->owner;
  if (root != nullptr)
    arb_TraverseAll(root, countRunning, &count);
  if (!count.selfSeen)
    count.total += f33_rerunState(g).running;
  return count.total;
}

void f33_derivative(gfunc* g)
{
  const F33batch b = f33_batch(g);
  passThrough(g, b, 0);
  const sfuncEvalLists& list = f33_rerunState(g).list;
  if (g->sources[0] == nullptr || list.count <= 0 || list.funcs[0] == nullptr)
    return;
  gfunc* first = list.funcs[0];
  double* xArray = first->inlets[0].data;
  double* yArray = first->inlets[1].data;
  if (xArray == nullptr || !mayRerun(g))
    return;

  // A first component without a second input (a one-input field) has no
  // y array to shift: the surface does not change along y.
  ShiftedRead alongX, alongY{b.x, b.z};
  {
    RerunMark mark(g);
    ReevaluationFlag flag(g);
    alongX = runShifted(g, list, xArray, b.n);
    if (yArray != nullptr)
      alongY = runShifted(g, list, yArray, b.n);
  }
  const double gain = 2 + g->A, softening = kNormalSoftening * g->B;
  for (int i = 0; i < b.n; ++i)
    f33_store(g, i,
              normalAt(b.x[i], b.z[i], alongX.x[i], alongX.z[i], alongY.x[i], alongY.z[i], gain,
                       softening));
}

void f33_2dfield(gfunc* g)
{
  const F33batch b = f33_batch(g);
  gfunc* s = g->sources[2];
  if (s == nullptr || s->family != kFamily21 || s->compute == nullptr || !mayRerun(g))
    return passThrough(g, b, g->C);

  const double a = g->A, slope = g->B;
  const View v = viewOf(g);
  const double ox = v.origin.x, oy = v.origin.y;
  const double zo = (v.origin.z - kDepthBase) + g->C;
  const double growth = (4 - slope) * kSliceGrowth > 0 ? (4 - slope) * kSliceGrowth : 0.0;
  double step = kTwoPi / KV_octavePasses(g, 1);
  double* out1 = g->outputs[0];
  double* out2 = g->outputs[1];
  double* out3 = g->outputs[2];
  Batch u{}, w{}, kept{};
  std::array<bool, kBatchCapacity> hit{};
  for (int i = 0; i < b.n; ++i) {
    out3[i] = M;
    out1[i] = b.x[i] - ox;
    out2[i] = (b.y[i] - oy) - kFourPi * slope;
  }
  {
    RerunMark mark(g);
    LinkGuard guard(s);
    KVsavedInputs saved{};
    Set2inNewInputsTo(s, u.data(), w.data(), &saved, 2);
    guard.perSample({u.data(), w.data()});
    for (double t = -kTwoPi; t < kTwoPi; t += step, step += growth) {
      const double f = (t - zo) / kFourPi;
      if (!(f > 0))
        continue;
      for (int i = 0; i < b.n; ++i)
        if (!hit[i]) {
          w[i] = t;
          u[i] = a * f * out1[i] + a * ox;
        }
      s->compute(s);
      for (int i = 0; i < b.n; ++i) {
        const double h = s->outputs[0][i];
        const double ground = f * out2[i] + (oy - slope * zo);
        if (hit[i] || !(h < M && a * ground + 2 < h))
          continue;
        out2[i] = ground;
        out1[i] = f * out1[i] + ox;
        out3[i] = (v.depth - kDepthBase) + kFourPi * f;
        u[i] = M;
        kept[i] = h;
        hit[i] = true;
      }
    }
  }
  for (int i = 0; i < b.n; ++i) {
    if (!hit[i])
      out1[i] = M;
    s->outputs[0][i] = hit[i] ? kept[i] : M;
  }
}

void f33_3dfield(gfunc* g)
{
  const F33batch b = f33_batch(g);
  gfunc* s = g->sources[2];
  if (s == nullptr || s->family != kFamily31 || s->compute == nullptr || !mayRerun(g))
    return passThrough(g, b, 0);

  const double a = g->A, level = g->B;
  const View v = viewOf(g);
  const double ox = v.origin.x, oy = v.origin.y;
  const double lift = a * ((v.origin.z - kDepthBase) + g->C);
  const int slices = KV_octavePasses(g, 1);
  const double dt = kTwoPi / slices;
  double* out1 = g->outputs[0];
  double* out2 = g->outputs[1];
  double* out3 = g->outputs[2];
  Batch x{}, y{}, z{};
  std::array<bool, kBatchCapacity> hit{};
  for (int i = 0; i < b.n; ++i) {
    out3[i] = M;
    out1[i] = (b.x[i] - ox) * a / kFourPi;
    out2[i] = (b.y[i] - oy) * a / kFourPi;
  }
  {
    RerunMark mark(g);
    LinkGuard guard(s);
    redirectDensity(s, x.data(), y.data(), z.data());
    for (int k = 0; k < slices; ++k) {
      const double t = -kPi + k * dt;
      const double depth = t - lift;
      if (!(depth > 0))
        continue;
      for (int i = 0; i < b.n; ++i)
        if (!hit[i]) {
          x[i] = depth * out1[i] + ox * a;
          z[i] = t;
          y[i] = depth * out2[i] + oy * a;
        }
      s->compute(s);
      for (int i = 0; i < b.n; ++i) {
        const double value = s->outputs[0][i];
        if (hit[i] || !(value < M && value > level))
          continue;
        out1[i] = x[i];
        out2[i] = y[i];
        out3[i] = (v.depth - kDepthBase) + depth;
        x[i] = M;
        hit[i] = true;
      }
    }
  }
  for (int i = 0; i < b.n; ++i)
    if (!hit[i])
      out1[i] = M;
}

void f33_levelset(gfunc* g)
{
  const F33batch b = f33_batch(g);
  double* out3 = g->outputs[2];
  if (g->owner == nullptr || g->owner->iteration == 0)
    std::fill_n(out3, b.n, 0.0);
  const double outer = g->A * g->A;
  const double inner = (g->B - 0.125) * outer;
  for (int i = 0; i < b.n; ++i) {
    g->outputs[0][i] = b.x[i];
    g->outputs[1][i] = b.y[i];
    const double r2 = b.x[i] * b.x[i] + b.y[i] * b.y[i];
    if (inner < r2 && r2 < outer)
      out3[i] = b.z[i];
  }
}

// ---- Preparation ----------------------------------------------------------------

void f33_derivative_prepare(gfunc* g)
{
  F33rerunState& state = f33_rerunState(g);
  state.running = 0;
  sfuncEvalLists& list = state.list;
  list.count = 0;
  gfunc* const* s = g->sources;
  if (s[0] == nullptr)
    return;
  AddDependancyList(s[0], list.funcs, &list.count);
  if (s[1] != nullptr && s[1] != s[0])
    AddDependancyList(s[1], list.funcs, &list.count);
  if (s[2] != nullptr && s[2] != s[1])
    AddDependancyList(s[2], list.funcs, &list.count);
}

void f33_slices_prepare(gfunc* g)
{
  f33_rerunState(g).running = 0;
}

void f33_levelset_precompute(gfunc* g)
{
  g->B = g->B > 0 ? g->B : 0.0;
}

// ---- Handlers -------------------------------------------------------------------

int16_t f33_derivative_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_derivative, g, msg, a, b, c);
}

int16_t f33_2dfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_2dfield, g, msg, a, b, c);
}

int16_t f33_3dfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_3dfield, g, msg, a, b, c);
}

int16_t f33_levelset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_levelset, g, msg, a, b, c);
}
