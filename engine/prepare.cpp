#include "engine/prepare.h"

#include <algorithm>

#include "engine/colorfuncs.h"
#include "engine/randomize.h"
#include "engine/treemanage.h"
#include "engine/world.h"

namespace {

constexpr int kMaxOutlets = 8;
// Calls of the loop marking per loop. A tree of 32 components in evaluation
// order never comes near it; it only bounds the walk of a tree with very many
// paths between its components.
constexpr int kLoopMarkingBudget = 1 << 20;

int countOf(const smalltree* tree)
{
  return std::clamp<int>(tree->count, 0, kMaxComponents);
}

bool hasTwoOutputs(const gfunc* g)
{
  return KV_familyOutputs(g->family) == 2;
}

bool isFourOutputs(const gfunc* g)
{
  return g != nullptr && KV_familyOutputs(g->family) == 4;
}

bool isMember(const gfunc* g, uint16_t family, int16_t id)
{
  return g->family == family && g->funcID == id;
}

smalltree* subtreeWithComponents(const gfunc* g)
{
  smalltree* sub = arb_subtreeOf(g);
  return sub != nullptr && sub->count >= 1 ? sub : nullptr;
}

// ---- Loops ----------------------------------------------------------------

struct LoopMarking
{
  smalltree* tree;
  uint16_t bit;
  int budget;
};

int16_t propagate(LoopMarking& m, gfunc* g, int depth, bool set)
{
  if (depth > kMaxComponents || --m.budget < 0)
    return 0;
  gfunc* sons[kMaxSons];
  const int16_t n = arb_findSons(m.tree, g, sons);
  if (n == 0)
    return -1;
  int16_t reached = 0;
  for (int i = 0; i < n; ++i) {
    gfunc* son = sons[i];
    son->loopMask = uint16_t(set ? son->loopMask | m.bit : son->loopMask & ~m.bit);
    son->loopMask |= 1;
    if (KV_isLoopEnd(son)) {
      propagate(m, son, depth + 1, false);  // the loop stops after the memory component
      reached = 1;
    } else if (propagate(m, son, depth + 1, set) < 1) {
      son->loopMask = uint16_t(son->loopMask & ~m.bit);
      propagate(m, son, depth + 1, false);
    } else {
      reached = 1;
    }
  }
  return reached;
}

uint16_t loopBit(int16_t loop)
{
  return loop >= 1 && loop < 16 ? uint16_t(1u << loop) : 0;
}

// ---- Inputs ---------------------------------------------------------------

void setDefaultSources(gfunc* g)
{
  int16_t defaults[4] = {kSourceMasterX, kSourceMasterY, kSourceMaster3, kSourceMaster3 + 1};
  if (g->inputCode == kConnFourValueFirst) {
    defaults[2] = kSourceMasterX;
    defaults[3] = kSourceMasterY;
  }
  for (int k = 0; k < 4; ++k)
    if (g->inlets[k].source == kSourceUnset)
      g->inlets[k].source = defaults[k];
}

void linkCompiledTreeOutlet(gfunc* g, int k)
{
  const bool treated = k < 2 || (k == 2 && g->family >= 8) || (k == 3 && g->family >= 9);
  gfunc* src = g->sources[k];
  if (!treated || src == nullptr)
    return;
  smalltree* sub = arb_subtreeOf(src);
  const int outlet = g->inlets[k].source - 1;
  if (sub == nullptr || outlet < 0 || outlet >= kMaxOutlets)
    return;
  const int32_t ch = sub->outletChannels[outlet];
  if ((ch == 2 || ch == 3) && sub->outletData[outlet] != nullptr) {
    g->inlets[k].data = sub->outletData[outlet];
    g->inlets[k].channels = int16_t(ch);
  }
}

bool readsOutput(const gfunc* g, int k)
{
  return g->sources[k] != nullptr && g->inlets[k].source >= kSourceOutput1 &&
         g->inlets[k].source <= kSourceOutput1 + 4;
}

// ---- Parameter preparation ------------------------------------------------

bool isOffsetMember(const gfunc* g)
{
  return isMember(g, kFamily22, 2) || isMember(g, kFamily33, 1);
}

bool isSliceOffsetMember(const gfunc* g)
{
  return isMember(g, kFamily33, 25) || isMember(g, kFamily33, 26);
}

void inheritOffset(gfunc* g, const dvector3d& start)
{
  dvector3d p = start;
  if (g->sources[0] != nullptr)
    p = g->sources[0]->posOffset;
  if (g->sources[1] != nullptr && g->inlets[1].source == kSourceOutput1 &&
      isOffsetMember(g->sources[1]))
    p = g->sources[1]->posOffset;
  if (isSliceOffsetMember(g)) {
    if (g->sources[1] != nullptr)
      p.y = g->sources[1]->posOffset.y;
    if (g->sources[2] != nullptr)
      p.z = g->sources[2]->posOffset.z;
  }
  g->posOffset = p;
}

void becomeViewDepth(sfuncSystem* doc, gfunc* g, double depth)
{
  if (doc != nullptr && doc->viewDepthFunc == nullptr && g->level < 2) {
    doc->viewDepthFunc = g;
    doc->viewDepth = depth;
  }
}

void addOwnOffset(sfuncSystem* doc, gfunc* g)
{
  dvector3d& p = g->posOffset;
  if (isMember(g, kFamily11, 20) && g->sources[0] != nullptr) {
    switch (g->inlets[0].source) {
      case 1:
        p.x += g->A;
        break;
      case 2:
        p.y += g->A;
        break;
      case 3:
        p.z += g->A;
        break;
      default:
        break;
    }
  } else if (isMember(g, kFamily33, 1)) {
    p.x += g->A;
    p.y += g->B;
    p.z += g->C;
    becomeViewDepth(doc, g, g->C);
  } else if (isMember(g, kFamily22, 2)) {
    p.x += g->B;
    p.y += g->C;
    becomeViewDepth(doc, g, 0.0);
  }
}

void clearOutputs(gfunc* g)
{
  const int n = KV_batchLength();
  for (auto& out : g->outputs)
    std::fill(out, out + n, 0.0);
}

void prepareParams(smalltree* tree, sfuncSystem* doc, const dvector3d& start, int depth)
{
  if (depth > kMaxSubtreeDepth)
    return;
  if (doc != nullptr) {
    doc->viewDepth = 0;
    doc->viewDepthFunc = nullptr;
  }
  for (int i = 0; i < countOf(tree); ++i) {
    gfunc* g = &tree->funcs[i];
    inheritOffset(g, start);
    if (g->funcID != kCompiledTreeId)
      addOwnOffset(doc, g);
    else if (smalltree* sub = arb_subtreeOf(g); sub != nullptr && !isSliceOffsetMember(g))
      prepareParams(sub, nullptr, g->posOffset, depth + 1);
    g->maskedBatch = 0;
    if (g->handler != nullptr)
      g->handler(g, kMsgPrecompute, nullptr, nullptr, nullptr);
    if (g->evalFlag)
      clearOutputs(g);
  }
}

// ---- Rendering inputs -----------------------------------------------------

enum : int
{
  kShade = 0,
  kSecond = 1,
  kFirstInput = 2,
  kSurfaceX = 3,
  kSurfaceY = 4,
  kLight1 = 5,
  kLight2 = 6,
  kLight3 = 7,
};

bool isOneInputFamily(const gfunc* g)
{
  return KV_familyInputs(g->family) == 1;
}

void findFirstInputs(sfuncSystem* doc, gfunc* start)
{
  double** in = doc->renderInputs;
  in[kLight1] = start->inlets[0].data;
  in[kLight2] = start->inlets[1].data;
  if (hasTwoOutputs(start)) {
    in[kSecond] = start->outputs[1];
    in[kFirstInput] = start->outputs[1];
    return;
  }
  in[kFirstInput] = start->inlets[0].data;
  gfunc* src = start->sources[0];
  if (isOneInputFamily(start) && src != nullptr) {
    in[kLight1] = src->inlets[0].data;
    in[kLight2] = src->inlets[1].data;
    if (in[kLight2] == nullptr && src->sources[0] != nullptr)
      in[kLight2] = src->sources[0]->inlets[0].data;
  }
}

void findLights(sfuncSystem* doc, gfunc* start)
{
  double** in = doc->renderInputs;
  gfunc* c = start;
  for (int i = 0; i < 3 && c->family == kFamily11 && c->sources[0] != nullptr; ++i)
    c = c->sources[0];
  for (int k = 0; k < 3; ++k)
    in[kLight1 + k] = c->sources[k] != nullptr ? c->inlets[k].data : nullptr;
  gfunc* src1 = c->sources[0];
  gfunc* src2 = c->sources[1];
  if (in[kLight1] == nullptr)
    in[kLight1] = c->outputs[0];
  if (in[kLight2] == nullptr) {
    if (src1 != nullptr)
      in[kLight2] = src1->inlets[0].data;
    else
      in[kLight2] = KV_familyOutputs(c->family) == 1 ? c->outputs[0] : c->outputs[1];
  }
  if (in[kLight3] == nullptr && src1 != nullptr && src1->sources[1] != nullptr)
    in[kLight3] = src1->inlets[1].data;
  if (in[kLight3] == nullptr && src2 != nullptr && src2->sources[0] != nullptr)
    in[kLight3] = src2->inlets[0].data;
  if (in[kLight3] == nullptr)
    in[kLight3] =
        start->sources[0] != nullptr ? start->sources[0]->inlets[0].data : start->inlets[0].data;
}

void findSurface(sfuncSystem* doc, gfunc* start)
{
  double** in = doc->renderInputs;
  smalltree& tree = doc->tree;
  for (int i = countOf(&tree) - 1; i >= 0; --i) {
    gfunc* g = &tree.funcs[i];
    if (g->level < tree.rootLevel && hasTwoOutputs(g)) {
      in[kSurfaceX] = g->outputs[0];
      in[kSurfaceY] = g->outputs[1];
      return;
    }
  }
  in[kSurfaceX] = start->outputs[0];
  in[kSurfaceY] = in[kFirstInput];
}

bool surfaceFromThirdOutput(const gfunc* g)
{
  return g->family == kFamily23 || g->family == kFamily33 || isMember(g, kFamily32, 8) ||
         isMember(g, kFamily32, 12);
}

void findSelectedSurface(sfuncSystem* doc)
{
  smalltree& tree = doc->tree;
  if (tree.selection1 < 0)
    return;
  gfunc* g = arb_findID(&tree, tree.selection1, nullptr);
  if (g == nullptr) {
    tree.selection1 = int8_t(255);
    return;
  }
  if (smalltree* sub = subtreeWithComponents(g); sub != nullptr && sub->selection1 >= 0)
    if (gfunc* inner = arb_findID(sub, sub->selection1, nullptr))
      g = inner;
  double** in = doc->renderInputs;
  in[kSurfaceX] = surfaceFromThirdOutput(g) ? g->outputs[2] : g->outputs[0];
  in[kSurfaceY] = hasTwoOutputs(g) ? g->outputs[1] : nullptr;
}

bool valueIsFourth(const gfunc* g)
{
  return g->outputCode == kConnFour || g->outputCode == kConnFourValueFourth;
}

void findShade(sfuncSystem* doc, gfunc* start)
{
  double** in = doc->renderInputs;
  in[kShade] = valueIsFourth(start) ? start->outputs[3] : start->outputs[0];
  smalltree& tree = doc->tree;
  if (tree.selection2 < 0)
    return;
  gfunc* g = arb_findID(&tree, tree.selection2, nullptr);
  if (g == nullptr) {
    tree.selection2 = int8_t(255);
    return;
  }
  const bool fourth = g == start ? valueIsFourth(g) : g->outputCode == kConnFour;
  in[kShade] = fourth ? g->outputs[3] : g->outputs[0];
}

// ---- Compiled sub-trees ---------------------------------------------------

void readOwnerOutputs(inletinfos* in, const gfunc* owner, int ownerInputs)
{
  if (in->channels == 0)
    in->channels = 1;
  for (int j = 0; j < ownerInputs; ++j)
    if (in->data == owner->inlets[j].data) {
      in->data = const_cast<double*>(owner->outputs[j]);
      return;
    }
}

void prepareCTin(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback, int ownerInputs)
{
  if (sub == nullptr || owner == nullptr)
    return;
  prepareloops(sub, false);
  for (int i = 0; i < countOf(sub); ++i) {
    gfunc* c = &sub->funcs[i];
    preparemasterinputs(doc, c);
    for (inletinfos& in : c->inlets)
      in.channels = 1;
    c->mainTree = 0;
    preparerfunc(c);
    for (int k = 0; k < KV_familyInputs(c->family); ++k) {
      inletinfos& in = c->inlets[k];
      if (in.source < kSourceSubtreeInlet1 || in.source > kSourceSubtreeInlet1 + 3)
        continue;
      connecttoctin(&in, owner->inlets);
      if (feedback)
        readOwnerOutputs(&in, owner, ownerInputs);
    }
    c->doc = doc;
    c->owner = sub;
    if (c->handler != nullptr)
      c->handler(c, kMsgPrepare, nullptr, nullptr, nullptr);
  }
  sub->inletFeedback = feedback;
}

// The root run: from the last slot down while the levels are equal.
int rootRunStart(const smalltree* tree)
{
  int s = countOf(tree) - 1;
  while (s > 0 && tree->funcs[s].level == tree->funcs[s - 1].level)
    --s;
  return s;
}

void addOutlet(smalltree* sub, int& n, double* data, int32_t channels)
{
  if (n >= kMaxOutlets)
    return;
  sub->outletData[n] = data;
  sub->outletChannels[n] = channels;
  ++n;
}

int16_t ownerCodeForOutlets(int outlets, int lastOutputs)
{
  if (lastOutputs == 2 && outlets == 5)
    return kConnFive;
  if (lastOutputs == 2 && outlets == 4)
    return kConnFourValueFirst;
  if (lastOutputs == 3 && outlets == 4)
    return kConnFour;
  if (lastOutputs == 2 && outlets == 3)
    return kConnThree;
  return -1;
}

// The family with `inputs` inputs and `outputs` outputs; 0 when there is none.
uint16_t familyWith(int inputs, int outputs)
{
  for (uint16_t code = 1; code <= kLastFamilyCode; ++code)
    if (KV_familyInputs(code) == inputs && KV_familyOutputs(code) == outputs)
      return code;
  return 0;
}

void addDependencies(gfunc* g, gfunc** list, int16_t* count, int depth)
{
  if (g == nullptr || depth > kMaxComponents || KV_isLoopStarter(g, true))
    return;
  if (std::find(list, list + *count, g) != list + *count)
    return;
  const int inputs = KV_familyInputs(g->family);
  gfunc* previous = nullptr;
  for (int k = 0; k < inputs; ++k) {
    gfunc* s = g->sources[k];
    const bool repeat = (k == 1 || k == 2) && s == previous;
    if (s != nullptr && !repeat)
      addDependencies(s, list, count, depth + 1);
    previous = s;
  }
  if (*count < kMaxComponents && std::find(list, list + *count, g) == list + *count)
    list[(*count)++] = g;
}

// The first level of a sub-tree: the run of slots that share slot 0's level.
int firstLevelEnd(const smalltree* sub)
{
  const int n = countOf(sub);
  int end = n > 0 ? 1 : 0;
  while (end < n && sub->funcs[end].level == sub->funcs[0].level)
    ++end;
  return end;
}

}  // namespace

// ---- Entry point ----------------------------------------------------------

int16_t KV_prepare_evaluation(sfuncSystem* doc, bool rowMode)
{
  doc->fractal.tables = &doc->tables;
  const bool anyChange = doc->treeChanged || doc->paramsChanged;
  if (doc->treeChanged) {
    preparetree(doc, rowMode);
    doc->tree.version = kTreeVersion;
    gfunc* out = doc->outputFunc;
    gfunc* start = out;
    if (out != nullptr && out->family == kFamily43 && out->sources[3] != nullptr)
      start = out->sources[3];
    search_RenderingInputs(doc, start);
    doc->treeChanged = 0;
  }
  const bool fourOutputs = isFourOutputs(doc->outputFunc);
  if (anyChange) {
    prepareParams4render(&doc->tree, doc, 0, 0, 0);
    doc->paramsChanged = 0;
  }
  if (!fourOutputs) {
    doc->rgbaOutput = 0;
    return 0;
  }
  doc->rgbaOutput = doc->colorFuncIndex != kColorFuncGeographic ? 1 : 0;
  return doc->rgbaOutput;
}

void preparetree(sfuncSystem* doc, bool rowMode)
{
  smalltree& tree = doc->tree;
  tree.iterationPtr = &tree.iteration;
  prepareloops(&tree, true);
  for (int i = 0; i < countOf(&tree); ++i) {
    gfunc* g = &tree.funcs[i];
    preparemasterinputs(doc, g);
    g->mainTree = 1;
    g->doc = doc;
    g->owner = &tree;
    if (g->level == 0) {
      const bool rowConstant = rowMode && g->inlets[1].data == doc->master[1];
      g->inlets[1].channels = rowConstant ? 0 : 1;
    } else {
      preparerfunc(g);
    }
    if (g->handler != nullptr)
      g->handler(g, kMsgPrepare, nullptr, nullptr, nullptr);
  }
  prepareMasterOut(doc);
}

// ---- Loops ----------------------------------------------------------------

bool KV_isLoopStarter(const gfunc* g, bool withIterations)
{
  if (!withIterations && isMember(g, kFamily11, 28))
    return false;
  return KV_isLoopStarterMember(g->family, g->funcID);
}

bool KV_isLoopEnd(const gfunc* g)
{
  return KV_isMemoryMember(g->family, g->funcID);
}

void prepareloops(smalltree* tree, bool withIterations)
{
  tree->loopFlag = 0;
  for (int i = 0; i < countOf(tree); ++i)
    tree->funcs[i].loopMask = 0;
  int16_t loop = 0;
  for (int i = 0; i < countOf(tree); ++i) {
    gfunc* g = &tree->funcs[i];
    if (!KV_isLoopStarter(g, withIterations))
      continue;
    ++loop;
    g->loopMask |= 1;
    g->loopIndex = loop;
    propagateloopflag(tree, g, int16_t(g->level + 1), loop, true);
    tree->loopFlag = 1;
  }
}

int16_t propagateloopflag(smalltree* tree, gfunc* g, int16_t, int16_t loop, bool set)
{
  LoopMarking m{tree, loopBit(loop), kLoopMarkingBudget};
  return propagate(m, g, 0, set);
}

void prepare_evallist(smalltree* tree, sfuncEvalLists* list)
{
  tree->iteration = 0;
  tree->iterationStep = 0;
  tree->iterationPtr = &tree->iteration;
  list->count = 0;
  for (int i = 0; i < countOf(tree); ++i) {
    gfunc* g = &tree->funcs[i];
    if (g->loopMask == 0)
      list->funcs[list->count++] = g;
    else
      tree->loopFlag = 1;
  }
  if (!tree->loopFlag)
    return;
  for (int i = 0; i < countOf(tree); ++i)
    if (tree->funcs[i].loopMask == 1)
      list->funcs[list->count++] = &tree->funcs[i];
}

// ---- Inputs ---------------------------------------------------------------

double* setMasterinputptr(sfuncSystem* doc, int16_t code, int16_t* channels)
{
  // The world's alternate-input byte is set by the input-mode command on the
  // main thread, never while a tree is prepared.
  const bool alternate = gKovrelinWorld != nullptr && gKovrelinWorld->alternateInput != 0;
  if (doc->inputMode == 3 && alternate && (code == 10 || code == 11)) {
    *channels = 1;
    return doc->master[code - 10];
  }
  switch (code) {
    case kSourceMasterY:
      *channels = 1;
      return doc->master[1];
    case kSourceMaster3:
      *channels = 1;
      return doc->master[2];
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
      *channels = 0;
      return doc->master[code - 6];
    default:
      *channels = 1;
      return doc->master[0];
  }
}

void preparemasterinputs(sfuncSystem* doc, gfunc* g)
{
  setDefaultSources(g);
  for (inletinfos& in : g->inlets)
    in.data = setMasterinputptr(doc, in.source, &in.channels);
}

void preparerfunc(gfunc* g)
{
  const int inputs = KV_familyInputs(g->family);
  for (int k = 0; k < inputs; ++k) {
    gfunc* src = g->sources[k];
    inletinfos& in = g->inlets[k];
    if (src == nullptr || in.source < kSourceOutput1 || in.source > kSourceOutput1 + 4)
      continue;
    if (inputs == 1 && KV_familyOutputs(src->family) == 1)
      in.source = kSourceOutput1;
    in.data = src->outputs[in.source - 1];
  }
  SetPackinsflag(g);
}

bool isfatheroutCte(const gfunc* g, int16_t output)
{
  const int outputs = KV_familyOutputs(g->family);
  if (g->family == kFamily11 && g->inlets[0].channels == 0)
    return true;
  if (outputs == 1 && g->outputCode == kConnUniform)
    return true;
  if (outputs == 2 && output == 2 && g->outputCode == kConnTwoUniformSecond &&
      g->inlets[1].channels == 0)
    return true;
  return outputs == 3 && output == 3 && g->outputCode == kConnThreeUniformThird;
}

void SetPackinsflag(gfunc* g)
{
  const int inputs = KV_familyInputs(g->family);
  for (int k = 0; k < inputs; ++k) {
    if (!readsOutput(g, k))
      continue;
    const gfunc* src = g->sources[k];
    int16_t ch = 1;
    if (src->outputCode == kConnPacked2 || src->outputCode == kConnPacked3)
      ch = src->outputCode;
    else if (isfatheroutCte(src, g->inlets[k].source))
      ch = 0;
    if (isMember(src, kFamily11, 0) && src->inlets[0].channels >= 2)
      ch = src->inlets[0].channels;
    g->inlets[k].channels = ch;
  }
  if (isMember(g, kFamily11, 0) && g->inlets[0].channels >= 2)
    g->outputCode = g->inlets[0].channels;
  for (int k = 0; k < inputs; ++k)
    if (readsOutput(g, k))
      linkCompiledTreeOutlet(g, k);
}

void prepareDeffunc(sfuncSystem* doc, gfunc* g)
{
  preparemasterinputs(doc, g);
  for (inletinfos& in : g->inlets)
    in.channels = 1;
  g->mainTree = 0;
  preparerfunc(g);
}

void prepareMasterOut(sfuncSystem* doc)
{
  smalltree& tree = doc->tree;
  prepareCTout(&tree, nullptr);
  const gfunc* out = doc->outputFunc;
  if (out == nullptr && countOf(&tree) > 0)
    out = &tree.funcs[rootRunStart(&tree)];
  tree.outputCount = out != nullptr ? int16_t(KV_familyOutputs(out->family)) : 0;
}

void prepareParams4render(smalltree* tree, sfuncSystem* doc, double x, double y, double z)
{
  prepareParams(tree, doc, dvector3d{x, y, z}, 0);
}

void search_RenderingInputs(sfuncSystem* doc, gfunc* start)
{
  for (double*& in : doc->renderInputs)
    in = nullptr;
  if (start == nullptr)
    return;
  findFirstInputs(doc, start);
  const int16_t cf = doc->colorFuncIndex;
  if (cf == 9 || cf == 10 || cf == 11)
    findLights(doc, start);
  findSurface(doc, start);
  findSelectedSurface(doc);
  findShade(doc, start);
}

// ---- Compiled sub-trees ---------------------------------------------------

void prepareCTin1(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback)
{
  prepareCTin(doc, sub, owner, feedback, 1);
}

void prepareCTin2(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback)
{
  prepareCTin(doc, sub, owner, feedback, 2);
}

void prepareCTin3(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback)
{
  prepareCTin(doc, sub, owner, feedback, 3);
}

void prepareCTin4(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback)
{
  prepareCTin(doc, sub, owner, feedback, 4);
}

void connecttoctin(inletinfos* inlet, const inletinfos* ownerInlets)
{
  const int k = inlet->source - kSourceSubtreeInlet1;
  if (k < 0 || k > 3)
    return;
  inlet->data = ownerInlets[k].data;
  inlet->channels = ownerInlets[k].channels;
}

int16_t prepareCTout(smalltree* sub, gfunc* owner)
{
  int n = 0;
  const int count = countOf(sub);
  const int start = count > 0 ? rootRunStart(sub) : 0;
  for (int i = start; i < count; ++i) {
    gfunc* c = &sub->funcs[i];
    const int outputs = KV_familyOutputs(c->family);
    if (outputs == 1)
      addOutlet(sub, n, c->outputs[0], c->outputCode);
    else
      for (int m = 0; m < outputs; ++m)
        addOutlet(sub, n, c->outputs[m], 1);
  }
  sub->outletCount = int16_t(n);
  if (owner == nullptr || n == 0)
    return int16_t(n);

  const int ownerOutputs = std::min(KV_familyOutputs(owner->family), kMaxOutlets);
  for (int j = n; j < ownerOutputs; ++j) {
    sub->outletData[j] = sub->outletData[n - 1];
    sub->outletChannels[j] = sub->outletChannels[n - 1];
  }
  if (count - start == 2) {
    const int16_t code = ownerCodeForOutlets(n, KV_familyOutputs(sub->funcs[count - 1].family));
    if (code >= 0)
      owner->outputCode = code;
  }
  return int16_t(n);
}

int16_t arb_FixCTholdertype(smalltree*, gfunc* owner, smalltree* sub, uint32_t)
{
  const int outlets = prepareCTout(sub, owner);
  if (outlets <= 0 || outlets >= 6 || outlets == KV_familyOutputs(owner->family))
    return 0;
  const uint16_t family = familyWith(KV_familyInputs(owner->family), outlets);
  if (family == 0)
    return 0;
  owner->family = family;
  return 1;
}

void GETOUTLETS(gfunc* g, int16_t output, double** out)
{
  if (g != nullptr && output >= 1 && output <= 5)
    *out = g->outputs[output - 1];
}

void AddDependancyList(gfunc* g, gfunc** list, int16_t* count)
{
  addDependencies(g, list, count, 0);
}

void Set2inNewInputsTo(gfunc* g, double* x, double* y, KVsavedInputs* saved, int16_t state)
{
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr) {
    if (saved != nullptr)
      *saved = KVsavedInputs{g->inlets[0].data, g->inlets[1].data};
    g->inlets[0].data = x;
    g->inlets[1].data = y;
    return;
  }
  for (int i = 0; i < firstLevelEnd(sub); ++i) {
    gfunc* c = &sub->funcs[i];
    inletinfos& first = c->inlets[0];
    inletinfos& second = c->inlets[isOneInputFamily(c) ? 0 : 1];
    if (first.source == kSourceMasterX || first.source == kSourceSubtreeInlet1) {
      if (saved != nullptr)
        saved->x = first.data;
      first.data = x;
    }
    if (second.source == kSourceMasterY || second.source == kSourceSubtreeInlet1 + 1) {
      if (saved != nullptr)
        saved->y = second.data;
      second.data = y;
    }
  }
  if (sub->inletFeedback != 0)
    sub->inletFeedback = state;
}

void Restore2inInputs(gfunc* g, const KVsavedInputs* saved)
{
  if (saved == nullptr)
    return;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr) {
    g->inlets[0].data = saved->x;
    g->inlets[1].data = saved->y;
    return;
  }
  for (int i = 0; i < firstLevelEnd(sub); ++i) {
    gfunc* c = &sub->funcs[i];
    inletinfos& first = c->inlets[0];
    if (first.source == kSourceMasterX && saved->x != nullptr)
      first.data = saved->x;
    inletinfos& second = c->inlets[isOneInputFamily(c) ? 0 : 1];
    if (second.source == kSourceMasterY && saved->y != nullptr)
      second.data = saved->y;
  }
  if (sub->inletFeedback == 2)
    sub->inletFeedback = 1;
}
