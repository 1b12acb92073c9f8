#include "engine/evaluate.h"

#include <algorithm>
#include <cmath>

#include "engine/colorfuncs.h"
#include "engine/world.h"
#include "foundation/checked.h"

namespace {

// The slot of the document's output component, or -1 when it has none in its
// main tree.
int outputSlot(const sfuncSystem* doc)
{
  const gfunc* out = doc->outputFunc;
  const int count = std::clamp<int>(doc->tree.count, 0, kMaxComponents);
  for (int s = 0; s < count; ++s)
    if (&doc->tree.funcs[s] == out)
      return s;
  return -1;
}

int treeCount(const smalltree* tree)
{
  return std::clamp<int>(tree->count, 0, kMaxComponents);
}

void computeComponent(gfunc* g)
{
  if (g->compute != nullptr)
    g->compute(g);
}

// Loopers and the components downstream of them (mask 0 or 1) run in the tree
// pass; components inside a loop (a loop bit set) only through their Looper.
bool outsideLoops(const gfunc* g)
{
  return g->loopMask <= 1;
}

void computeUnlessInLoop(gfunc* g)
{
  if (outsideLoops(g))
    computeComponent(g);
}

// Three-, four- and five-output components (and the unassigned code 14) are
// coloured from their outputs directly, as are packed outputs.
bool coloursDirectly(const gfunc* g)
{
  return KV_familyOutputs(g->family) >= 3 || g->family == 14 || g->outputCode == kConnPacked2 ||
         g->outputCode == kConnPacked3;
}

// The one value of a component: output 4 for output codes 16 and 11, else
// output 1.
double* valueArray(gfunc* g)
{
  return (g->outputCode == kConnFour || g->outputCode == kConnFourValueFourth) ? g->outputs[3]
                                                                               : g->outputs[0];
}

void clearPixels(normalcolor* pixels, int n)
{
  std::fill_n(pixels, n, normalcolor{});
}

// Steps 1 to 3 of the tree pass: every component before the output slot.
void treePassBeforeOutput(sfuncSystem* doc, int outSlot)
{
  smalltree& tree = doc->tree;
  tree.iteration = 0;
  tree.iterationStep = 0;
  tree.iterationPtr = &tree.iteration;
  const int end = outSlot >= 0 ? outSlot : treeCount(&tree);

  if (tree.loopFlag) {
    gfunc* deferred[kMaxComponents];
    int deferredCount = 0;
    for (int s = 0; s < end; ++s) {
      gfunc* g = &tree.funcs[s];
      if (g->loopMask == 0)
        computeComponent(g);
      else if (g->loopMask == 1)
        deferred[deferredCount++] = g;
    }
    for (int i = 0; i < deferredCount; ++i)
      computeComponent(deferred[i]);
    return;
  }

  const bool relief = doc->fractal.reliefPass != 0;
  for (int s = 0; s < end; ++s) {
    gfunc* g = &tree.funcs[s];
    if (!(relief && g->evalFlag))
      computeComponent(g);
  }
}

// Output 1 of a post component feeds the shading: masked values become 0.
void cleanPostOutput(gfunc* g, int n)
{
  double* v = g->outputs[0];
  for (int i = 0; i < n; ++i)
    if (v[i] >= kKVmaskedValue)
      v[i] = 0.0;
}

// The components after the output component that lie in no loop.
void runPostComponents(sfuncSystem* doc, int outSlot, int n)
{
  if (outSlot < 0)
    return;
  const int count = treeCount(&doc->tree);
  for (int s = outSlot + 1; s < count; ++s) {
    gfunc* g = &doc->tree.funcs[s];
    if (!outsideLoops(g))
      continue;
    computeComponent(g);
    cleanPostOutput(g, n);
  }
}

// The f43 colour members 0..3 mix the colours of their input-4 source, which
// the colour function writes into the pixel row they are given.
void colourInput4Source(sfuncSystem* doc, gfunc* out, normalcolor* pixels)
{
  if (out->family == kFamily43 && out->funcID < 4 && out->sources[3] != nullptr) {
    out->link = pixels;
    if (doc->colorFunc != nullptr)
      doc->colorFunc(out->sources[3], doc, pixels);
  }
}

// Colours the batch from the output component (step 2 of the shader).
void colourOutput(sfuncSystem* doc, gfunc* out, normalcolor* pixels, int n)
{
  if (!coloursDirectly(out)) {
    computeUnlessInLoop(out);
    if (doc->colorFunc != nullptr)
      doc->colorFunc(out, doc, pixels);
    else
      clearPixels(pixels, n);
    return;
  }
  colourInput4Source(doc, out, pixels);
  computeUnlessInLoop(out);
  cfunc_Color_DirectRGB(out, doc, pixels);
}

// Multiplies the colour by the relief factor s; s of 0 or less gives black.
void shadePixel(normalcolor& p, double s)
{
  if (!(s > 0.0)) {
    p.red = p.green = p.blue = 0;
    return;
  }
  s = std::min(s, kKVreliefMaxFactor);
  p.red = kvnum::sat_u8(p.red * s);
  p.green = kvnum::sat_u8(p.green * s);
  p.blue = kvnum::sat_u8(p.blue * s);
}

// Relief shading for colour functions 14 and 15: the altitude is evaluated a
// second time a small step up and to the right, and the slope between the two
// lightens or darkens the colour.
void reliefEvaluate(sfuncSystem* doc, normalcolor* pixels, int n)
{
  const int outSlot = outputSlot(doc);
  if (outSlot < 0) {
    clearPixels(pixels, n);
    return;
  }
  gfunc* out = &doc->tree.funcs[outSlot];
  const bool geographic = doc->colorFuncIndex == kColorFuncGeographic;
  int16_t& reliefPass = doc->fractal.reliefPass;

  reliefPass = geographic ? 1 : 0;
  treePassBeforeOutput(doc, outSlot);
  computeUnlessInLoop(out);
  const double* altitude = valueArray(out);
  if (geographic)
    cfunc_Color_Geographic(altitude, pixels);
  else
    cfunc_Color_DirectRGB(out, doc, pixels);

  // The first altitudes stay on the stack: a second pass recomputes every
  // output of the output component.
  double first[kBatchCapacity];
  std::copy_n(altitude, n, first);
  const double d = (doc->view.xmax - doc->view.xmin) * kKVreliefOffsetScale;
  for (int i = 0; i < n; ++i) {
    doc->master[0][i] += d;
    doc->master[1][i] += d / 2;
  }

  reliefPass = 1;
  treePassBeforeOutput(doc, outSlot);
  computeUnlessInLoop(out);
  // A view without x extent has no slope: every pixel gets the base factor.
  double k = d != 0.0 ? kKVreliefSlope / d : 0.0;
  if (!std::isfinite(k))
    k = 0.0;
  for (int i = 0; i < n; ++i) {
    const double slope = k != 0.0 ? (first[i] - altitude[i]) * k : 0.0;
    shadePixel(pixels[i], slope + kKVreliefBase);
  }

  reliefPass = 0;
  if (!doc->globalShade)
    return;
  runPostComponents(doc, outSlot, n);
  cfunc_ColorGlobalShade(doc, pixels);
}

// Point evaluators evaluate one sample; the caller's batch length comes back
// when they return.
class SinglePointBatch
{
public:
  SinglePointBatch() : saved_(KV_batchLength()) { KV_setBatchLength(1); }
  ~SinglePointBatch() { KV_setBatchLength(saved_); }
  SinglePointBatch(const SinglePointBatch&) = delete;
  SinglePointBatch& operator=(const SinglePointBatch&) = delete;

private:
  int32_t saved_;
};

void feedPoint(sfuncSystem* doc, const double point[3])
{
  doc->master[0][0] = point[0];
  if (doc->pointMode == 3) {
    doc->master[1][0] = point[1];
    doc->master[2][0] = point[2];
  } else {
    doc->master[1][0] = point[2];
  }
}

double pointValue(gfunc* out)
{
  const double v = valueArray(out)[0];
  return v >= kKVmaskedValue ? kKVmaskedPointValue : v;
}

// The tree pass and the output component for a point; the output value, or
// the masked value when there is no output component.
double evaluatePoint(sfuncSystem* doc, const double point[3])
{
  feedPoint(doc, point);
  KVTree_evaluate(doc);
  gfunc* out = doc->outputFunc;
  return outputSlot(doc) >= 0 ? pointValue(out) : kKVmaskedPointValue;
}

void storeRGB(double color[3], const normalcolor& c)
{
  color[0] = c.red;
  color[1] = c.green;
  color[2] = c.blue;
}

// The colour of a three-, four- or five-output component at sample 0, from
// its outputs on the colour scale where 8 is full intensity.
void directColour(sfuncSystem* doc, gfunc* out, double color[3])
{
  if (out->outputs[0][0] >= gINFINITY) {
    storeRGB(color, doc->defaultColors[0]);
    return;
  }
  const int firstOutput = out->family == kFamily25 ? 2 : 0;
  for (int c = 0; c < 3; ++c)
    color[c] = 32.0 * out->outputs[firstOutput + c][0];
}

}  // namespace

void KVTree_evaluate(sfuncSystem* doc)
{
  const int outSlot = outputSlot(doc);
  treePassBeforeOutput(doc, outSlot);
  if (outSlot >= 0)
    computeUnlessInLoop(&doc->tree.funcs[outSlot]);
}

void KVshader_evaluate(sfuncSystem* doc, normalcolor* pixels)
{
  const int n = KV_batchLength();
  const int outSlot = outputSlot(doc);
  treePassBeforeOutput(doc, outSlot);
  if (outSlot < 0) {
    clearPixels(pixels, n);
    return;
  }
  colourOutput(doc, &doc->tree.funcs[outSlot], pixels, n);
  runPostComponents(doc, outSlot, n);
  if (doc->globalShade)
    cfunc_ColorGlobalShade(doc, pixels);
  if (doc->depthCue >= 1)
    cfunc_ColordepthCue(doc, pixels, doc->depthCue * 0.5);
}

void KVcolor_evaluate(sfuncSystem* doc, double x0, double dx, double y, normalcolor* pixels)
{
  const int n = KV_batchLength();
  for (int i = 0; i < n; ++i) {
    doc->master[0][i] = x0 + i * dx;
    doc->master[1][i] = y;
  }
  const int16_t cf = doc->colorFuncIndex;
  if (n <= 1 || cf < kColorFuncGeographic || cf >= kColorFuncCount) {
    doc->fractal.reliefPass = 0;
    KVshader_evaluate(doc, pixels);
    return;
  }
  reliefEvaluate(doc, pixels, n);
}

double KVscalar_evaluate(sfuncSystem* doc, const double point[3], double* value)
{
  SinglePointBatch batch;
  doc->fractal.reliefPass = 1;
  const double v = evaluatePoint(doc, point);
  doc->fractal.reliefPass = 0;
  if (value != nullptr)
    *value = v;
  return v;
}

void KVaux_evaluate(sfuncSystem* doc, const double point[3], double* value, double* aux)
{
  SinglePointBatch batch;
  const double v = evaluatePoint(doc, point);
  if (value != nullptr)
    *value = v;
  double a = 0.0;
  const int outSlot = outputSlot(doc);
  if (outSlot >= 0) {
    for (int s = outSlot + 1; s < treeCount(&doc->tree); ++s) {
      gfunc* g = &doc->tree.funcs[s];
      if (!outsideLoops(g))
        continue;
      computeComponent(g);
      a = g->outputs[0][0] >= kKVmaskedValue ? 0.0 : g->outputs[0][0];
      break;
    }
  }
  if (aux != nullptr)
    *aux = a;
}

void KVcolorvec_evaluate(sfuncSystem* doc, const double point[3], double color[3], double* value)
{
  SinglePointBatch batch;
  doc->fractal.reliefPass = 0;
  feedPoint(doc, point);
  const int outSlot = outputSlot(doc);
  treePassBeforeOutput(doc, outSlot);
  if (outSlot < 0) {
    color[0] = color[1] = color[2] = 0.0;
    if (value != nullptr)
      *value = kKVmaskedPointValue;
    return;
  }
  gfunc* out = &doc->tree.funcs[outSlot];
  normalcolor pixels[kBatchCapacity] = {};
  if (!coloursDirectly(out)) {
    computeUnlessInLoop(out);
    if (doc->colorFunc != nullptr)
      doc->colorFunc(out, doc, pixels);
    storeRGB(color, pixels[0]);
  } else {
    colourInput4Source(doc, out, pixels);
    computeUnlessInLoop(out);
    directColour(doc, out, color);
  }
  if (value != nullptr)
    *value = pointValue(out);
  runPostComponents(doc, outSlot, 1);
}

namespace {

bool isFourInputFamily(uint16_t family)
{
  return KV_familyInputs(family) == 4;
}

bool feeds(const gfunc* source, const gfunc* g)
{
  for (const gfunc* s : g->sources)
    if (s == source)
      return true;
  return false;
}

void propagateFrom(smalltree* tree, gfunc* g, uint8_t flag, uint32_t& visited)
{
  constexpr int kMaxSons = 6;
  int sons = 0;
  for (int s = 0; s < treeCount(tree) && sons < kMaxSons; ++s) {
    gfunc* son = &tree->funcs[s];
    if (!feeds(g, son))
      continue;
    ++sons;
    if (isFourInputFamily(son->family))
      return;
    son->evalFlag = flag;
    // Reaching a component a second time would change nothing further.
    const uint32_t bit = uint32_t(1) << s;
    if ((visited & bit) != 0)
      continue;
    visited |= bit;
    propagateFrom(tree, son, flag, visited);
  }
}

}  // namespace

void propagateEvalflag(smalltree* tree, gfunc* g, uint8_t flag)
{
  if (tree == nullptr || g == nullptr)
    return;
  uint32_t visited = 0;
  propagateFrom(tree, g, flag, visited);
}

void KV_buildLoopList(gfunc* looper, sfuncEvalLists* list)
{
  list->count = 0;
  smalltree* owner = looper->owner;
  constexpr int kLastLoopIndex = 15;  // loop k has bit k of the 16-bit mask
  if (owner == nullptr || looper->loopIndex < 1 || looper->loopIndex > kLastLoopIndex)
    return;
  const uint16_t bit = uint16_t(1u << looper->loopIndex);
  for (int s = 0; s < treeCount(owner); ++s) {
    gfunc* g = &owner->funcs[s];
    if (g != looper && (g->loopMask & bit) == bit)
      list->funcs[list->count++] = g;
  }
}

void KV_runEvalList(const sfuncEvalLists* list)
{
  const int count = std::clamp<int>(list->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i)
    if (list->funcs[i] != nullptr)
      computeComponent(list->funcs[i]);
}

int16_t KV_looperCount(double a, int16_t maxCount)
{
  return std::clamp<int16_t>(kvnum::sat_i16(a), 0, maxCount);
}
