#include "engine/treemanage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <numbers>
#include <vector>

#include "components/f21/f21_pictures.h"
#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/palettes.h"
#include "engine/treesection.h"
#include "engine/world.h"
#include "noise/drivers.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int16_t kPresetIndex = 76;  // index of the component of a preset tree
constexpr int16_t kInitialPalette = 3;
constexpr int16_t kServiceColorFunc = 12;

bool isCompiledTree(const gfunc* g)
{
  return g->funcID == kCompiledTreeId;
}

// ---- Walks ----------------------------------------------------------------

void traverseAll(smalltree* tree, KVtraverseProc proc, void* arg, int depth)
{
  if (depth > kMaxSubtreeDepth)
    return;
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    gfunc* g = &tree->funcs[i];
    proc(tree, g, arg);
    smalltree* sub = arb_subtreeOf(g);
    if (sub != nullptr && sub->count >= 1)
      traverseAll(sub, proc, arg, depth + 1);
  }
}

// ---- Initialisation -------------------------------------------------------

void seedRandomFromClock()
{
  const std::time_t now = std::time(nullptr);
  unsigned seed = unsigned(now % 7375);
  if (seed == 0)
    seed = uint32_t(now);
  srandom(seed);
}

void setDefaultView(sfuncSystem* doc)
{
  doc->view = KVviewRect{-kPi, kPi, -kPi, kPi};
}

void clearSelections(sfuncSystem* doc)
{
  doc->tree.selection1 = -1;
  doc->tree.selection2 = -1;
  doc->indexPair[0] = -1;
  doc->indexPair[1] = -1;
}

void setDefaultColors(sfuncSystem* doc)
{
  // C1, C2 and C3 of the colour functions (and the colours of lights 1 to
  // 3), opaque; the remaining slots are all zero bytes.
  static constexpr normalcolor kDefaults[7] = {
      {255, 128, 128, 255}, {255, 128, 64, 0}, {255, 0, 255, 0}, {0, 0, 0, 0},
      {0, 0, 0, 0},         {0, 0, 0, 0},      {0, 0, 0, 0},
  };
  std::memcpy(doc->defaultColors, kDefaults, sizeof kDefaults);
}

// The document's eight picture and movie inputs: no picture, no movie, flags
// cleared.
void clearInputSlots(sfuncSystem* doc)
{
  for (KVinputSlot& slot : doc->inputs)
    slot = KVinputSlot{};
}

void resetFractalSettings(sfuncSystem* doc)
{
  doc->fractal.octaves = std::max<int16_t>(doc->fractal.octaves, 16);
  doc->fractal.tables = &doc->tables;
  Kovrelin_DefaultFractGlobals(&doc->fractal);
}

void freeEmbeddedTrees(sfuncSystem* doc)
{
  for (smalltree*& sub : doc->embedded) {
    arb_DisposeSubTree(sub);
    sub = nullptr;
  }
  const int count = std::clamp<int>(doc->tree.count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    gfunc* g = &doc->tree.funcs[i];
    if (isCompiledTree(g)) {
      g->auxIndex = 0;
      g->link = nullptr;
    }
  }
}

// ---- Copy -----------------------------------------------------------------

// One block of the source whose pointers must be moved into the copy.
struct Relocation
{
  const unsigned char* from;
  size_t size;
  unsigned char* to;  // null: pointers into this block become null
};

class Relocator
{
public:
  void add(const void* from, size_t size, void* to)
  {
    blocks_.push_back(
        {static_cast<const unsigned char*>(from), size, static_cast<unsigned char*>(to)});
  }

  // Moves a pointer that lies in a source block to the same place in the
  // copy; other pointers (shared pictures, pixel destinations) stay.
  template <class T>
  void move(T*& p) const
  {
    const auto q = reinterpret_cast<uintptr_t>(p);
    if (q == 0)
      return;
    for (const Relocation& b : blocks_) {
      const auto from = reinterpret_cast<uintptr_t>(b.from);
      if (q >= from && q - from < b.size) {
        p = b.to == nullptr ? nullptr : reinterpret_cast<T*>(b.to + (q - from));
        return;
      }
    }
  }

private:
  std::vector<Relocation> blocks_;
};

void relocateComponent(const Relocator& r, gfunc* g, sfuncSystem* copy, smalltree* owner)
{
  for (gfunc*& s : g->sources)
    r.move(s);
  for (inletinfos& in : g->inlets)
    r.move(in.data);
  r.move(g->link);
  g->doc = copy;
  g->owner = owner;
  g->auxMemory = nullptr;  // the source keeps its blocks
}

void relocateTree(const Relocator& r, smalltree* tree, sfuncSystem* copy)
{
  for (gfunc& g : tree->funcs)
    relocateComponent(r, &g, copy, tree);
  for (double*& outlet : tree->outletData)
    r.move(outlet);
  tree->iterationPtr = &tree->iteration;
}

void relocateDocument(const Relocator& r, sfuncSystem* copy)
{
  r.move(copy->outputFunc);
  for (double*& in : copy->renderInputs)
    r.move(in);
  r.move(copy->viewDepthFunc);
  copy->fractal.nodeParams = nullptr;
  copy->fractal.tables = &copy->tables;
  relocateTree(r, &copy->tree, copy);
  for (smalltree* sub : copy->embedded)
    if (sub != nullptr)
      relocateTree(r, sub, copy);
}

// Every sub-tree reachable from the source, so that pointers into one that
// the copy does not carry can be cleared.
void collectSubtrees(smalltree* tree, std::vector<smalltree*>& out, int depth)
{
  if (depth > kMaxSubtreeDepth)
    return;
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    smalltree* sub = arb_subtreeOf(&tree->funcs[i]);
    if (sub != nullptr && std::find(out.begin(), out.end(), sub) == out.end()) {
      out.push_back(sub);
      collectSubtrees(sub, out, depth + 1);
    }
  }
}

smalltree* copySubtree(smalltree* from, unsigned char* section)
{
  smalltree* to = arb_NewSubTree();
  if (to == nullptr)
    return nullptr;
  arb_2_farb(from, section, from->kind);
  arb_rebuild(section, to);
  to->typeCode = from->typeCode;
  to->version = from->version;
  std::memcpy(to->name, from->name, sizeof to->name);
  return to;
}

// Sub-trees directly under the copy's id-127 components, one per table entry.
void copyEmbeddedTrees(const sfuncSystem* source, sfuncSystem* copy, unsigned char* section,
                       Relocator& r)
{
  for (smalltree*& sub : copy->embedded)
    sub = nullptr;
  for (int i = 0; i < copy->tree.count; ++i) {
    gfunc* g = &copy->tree.funcs[i];
    if (!isCompiledTree(g) || g->auxIndex < 0 || g->auxIndex >= kEmbeddedTrees)
      continue;
    smalltree* from = source->embedded[g->auxIndex];
    if (from == nullptr)
      continue;
    smalltree*& to = copy->embedded[g->auxIndex];
    if (to == nullptr) {
      to = copySubtree(from, section);
      if (to != nullptr)
        r.add(from, sizeof(smalltree), to);
    }
    g->link = to;
  }
}

// ---- Bookkeeping ----------------------------------------------------------

void countInputs(sfuncSystem* doc, smalltree* tree)
{
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    const gfunc* g = &tree->funcs[i];
    if (!arb_isInputMember(g))
      continue;
    ++doc->inputCount;
    if (g->auxIndex >= 0 && g->auxIndex < kInputSlots)
      doc->inputs[g->auxIndex].inUse = 1;
  }
}

// Whether colour function `index` can colour the output component `out`.
bool colorFuncSuits(const gfunc* out, int16_t index)
{
  const int outputs = KV_familyOutputs(out->family);
  if (outputs >= 3)
    return index <= 11;
  if (out->outputCode == kConnPacked2 || out->outputCode == kConnPacked3)
    return index <= 11;
  return index < 15;
}

// ---- Undo -----------------------------------------------------------------

void walkForUndo(smalltree* tree, KVtraverseProc proc, KVundoRecord* record, bool deep)
{
  if (deep)
    arb_TraverseAll(tree, proc, record);
  else
    arb_TraverseST(tree, proc, record);
}

}  // namespace

// ---- Walks ----------------------------------------------------------------

smalltree* arb_subtreeOf(const gfunc* g)
{
  return isCompiledTree(g) ? static_cast<smalltree*>(g->link) : nullptr;
}

void arb_TraverseST(smalltree* tree, KVtraverseProc proc, void* arg)
{
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i)
    proc(tree, &tree->funcs[i], arg);
}

void arb_TraverseAll(smalltree* tree, KVtraverseProc proc, void* arg)
{
  traverseAll(tree, proc, arg, 0);
}

void arb_TraverseSubTreeOnly(smalltree* tree, KVtraverseProc proc, void* arg)
{
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i)
    if (smalltree* sub = arb_subtreeOf(&tree->funcs[i]))
      arb_TraverseST(sub, proc, arg);
}

void arb_TraverseAllUnlocked(smalltree* tree, KVtraverseProc proc, void* arg)
{
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    gfunc* g = &tree->funcs[i];
    proc(tree, g, arg);
    smalltree* sub = arb_subtreeOf(g);
    if (sub != nullptr && sub->count >= 1 && g->lockFlags < kLockAll)
      traverseAll(sub, proc, arg, 1);
  }
}

// ---- Memory ---------------------------------------------------------------

smalltree* arb_NewSubTree()
{
  smalltree* tree = new (std::nothrow) smalltree();
  if (tree != nullptr)
    tree->iterationPtr = &tree->iteration;
  return tree;
}

void arb_DisposeSubTree(smalltree* tree)
{
  delete tree;
}

void* arb_AllocAuxMemory(gfunc* g, size_t bytes)
{
  std::free(g->auxMemory);
  g->auxMemory = std::calloc(1, bytes == 0 ? 1 : bytes);
  return g->auxMemory;
}

void arb_TP_deletegfuncauxmem(smalltree*, gfunc* g, void*)
{
  if (g->funcID >= kCompiledTreeId)
    return;
  if (g->family == kFamily25) {
    std::free(g->auxMemory);
    g->auxMemory = nullptr;
  } else if (g->family == kFamily21 && g->funcID == 34) {
    std::free(g->auxMemory);
    g->auxMemory = nullptr;
    // The blurred sums may be shared with other components: let go of this
    // component's hold rather than freeing them.
    f21_blurredmovie_release(g);
  }
}

// ---- Initialisation and reset ---------------------------------------------

void arb_Init(sfuncSystem* doc)
{
  seedRandomFromClock();
  doc->fractal.tables = &doc->tables;
  doc->paletteNumber = kInitialPalette;
  doc->fractal.octaves = 16;
  Kovrelin_DefaultFractGlobals(&doc->fractal);
  doc->clearedWord = 0;
  doc->treeChanged = 1;
  setDefaultView(doc);
  clearSelections(doc);
  doc->tree.version = kTreeVersion;
  doc->animPeriod = 300;
  doc->zoom = 1.0;
  define_cpalette(&doc->tables.gradientKeys, doc->paletteNumber);
  setDefaultColors(doc);
  doc->paletteNumber = 0;
  doc->depthCue = 0;
  doc->colorFuncIndex = 0;
  doc->compiledCount = 0;
  doc->tree.selected = 0;
  std::memset(doc->tree.name, 0, sizeof doc->tree.name);
  doc->tree.outputIndex = 0;
  doc->tree.rootChanged = 0;
  doc->inputMode = 0;
  std::fill(std::begin(doc->masterDoubles), std::end(doc->masterDoubles), 0.0);
  clearInputSlots(doc);
  doc->tree.iterationPtr = &doc->tree.iteration;
  arb_Clear(doc, false, false);
}

void arb_presetinit(sfuncSystem* doc, int16_t family, int16_t id)
{
  arb_setColorfunc(doc, doc->colorFuncIndex, true);
  clearSelections(doc);
  smalltree& tree = doc->tree;
  tree.rootLevel = 0;
  tree.count = 1;
  gfunc* g = &tree.funcs[0];
  g->index = kPresetIndex;
  g->level = 0;
  g->displayIndex = 0;
  for (int k = 0; k < 4; ++k) {
    g->sources[k] = nullptr;
    g->inlets[k].source = kSourceUnset;
  }
  setFunc(g, family, id, kBindDefaults);
  setDefaultView(doc);
  arb_ServiceChanges(doc, false);
  tree.selected = 0;
  doc->outputFunc = g;
}

void arb_ClearAuxMemory(sfuncSystem* doc, bool deep)
{
  if (deep)
    arb_TraverseAll(&doc->tree, arb_TP_deletegfuncauxmem, nullptr);
  freeEmbeddedTrees(doc);
}

void arb_Clear(sfuncSystem* doc, bool free, bool deep)
{
  if (free)
    arb_ClearAuxMemory(doc, deep);
  smalltree& tree = doc->tree;
  tree.count = 0;
  tree.rootLevel = 0;
  tree.rootChanged = 0;
  for (gfunc& g : tree.funcs) {
    g.family = 0;
    g.link = nullptr;
    g.auxMemory = nullptr;
    g.lockFlags = 0;
  }
  resetFractalSettings(doc);
}

// ---- Copy -----------------------------------------------------------------

bool arb_Copy(sfuncSystem* source, sfuncSystem* destination)
{
  std::vector<unsigned char> section;
  try {
    section.assign(kComponentSectionSize, 0);
  } catch (const std::bad_alloc&) {
    destination->fractal.tables = &destination->tables;
    return false;
  }

  arb_SetFuncID(&source->tree, false);
  std::memcpy(static_cast<void*>(destination), source, kDocumentCopySize);
  arb_2_farb(&source->tree, section.data(), source->tree.kind);
  arb_rebuild(section.data(), &destination->tree);

  Relocator relocator;
  relocator.add(source, kDocumentCopySize, destination);
  copyEmbeddedTrees(source, destination, section.data(), relocator);
  std::vector<smalltree*> reachable;
  collectSubtrees(&source->tree, reachable, 0);
  for (smalltree* sub : reachable)
    relocator.add(sub, sizeof(smalltree), nullptr);  // after the copied ones: first match wins
  relocateDocument(relocator, destination);

  destination->treeChanged = 1;
  destination->fractal.tables = &destination->tables;
  return true;
}

// ---- Indices, selection and search ----------------------------------------

void arb_SetFuncID(smalltree* tree, bool keepSelections)
{
  bool moved1 = false, moved2 = false;
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    gfunc& g = tree->funcs[i];
    const int16_t old = g.index;
    g.index = int16_t(i);
    if (!keepSelections)
      continue;
    if (!moved1 && tree->selection1 == old) {
      tree->selection1 = int8_t(i);
      moved1 = true;
    }
    if (!moved2 && tree->selection2 == old) {
      tree->selection2 = int8_t(i);
      moved2 = true;
    }
  }
}

void arb_selectbyID(smalltree* tree, int16_t index)
{
  if (index < 0) {
    tree->selected = int16_t(tree->count - 1);
    return;
  }
  int16_t slot = 0;
  if (arb_findID(tree, index, &slot) != nullptr)
    tree->selected = slot;
}

gfunc* arb_findID(smalltree* tree, int16_t index, int16_t* slot)
{
  for (int i = std::clamp<int>(tree->count, 0, kMaxComponents) - 1; i >= 0; --i)
    if (tree->funcs[i].index == index) {
      if (slot != nullptr)
        *slot = int16_t(i);
      return &tree->funcs[i];
    }
  return nullptr;
}

int16_t findbyxy(const smalltree* tree, int16_t count, int8_t displayIndex, uint8_t level)
{
  const int n = std::clamp<int>(count, 0, kMaxComponents);
  for (int i = 0; i < n; ++i)
    if (tree->funcs[i].displayIndex == displayIndex && tree->funcs[i].level == level)
      return int16_t(i);
  return 0;
}

void arb_BalancedisplayIndex(smalltree* tree)
{
  int perLevel[256] = {};
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i)
    ++perLevel[tree->funcs[i].level];
  for (int i = 0; i < count; ++i) {
    gfunc& g = tree->funcs[i];
    g.displayIndex = int8_t(2 * g.displayIndex - perLevel[g.level] + 1);
  }
}

void arb_computelocations(smalltree* tree, const Rect& r)
{
  const int root = tree->rootLevel;
  const int rowHeight = root <= 4 ? 42 : (root == 5 ? 38 : 35);
  const int centreH = (r.left + r.right) / 2;
  const int centreV = (r.top + r.bottom) / 2;
  const int top = std::max(r.top + 8, centreV - 42 - 21 * root);
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    gfunc& g = tree->funcs[i];
    g.editorH = int16_t(g.displayIndex * 21 + centreH - 18);
    g.editorV = int16_t(g.level * rowHeight + 16 + top);
  }
}

// ---- Bookkeeping ----------------------------------------------------------

bool arb_isInputMember(const gfunc* g)
{
  switch (g->family) {
    case kFamily21:
      return g->funcID == 30 || g->funcID == 31 || g->funcID == 34;
    case kFamily23:
      return g->funcID == 0 || g->funcID == 1 || g->funcID == 34;
    case kFamily24:
      return g->funcID == 42;
    default:
      return false;
  }
}

void arb_RecomputeFlags(sfuncSystem* doc, bool lookInside)
{
  doc->inputCount = 0;
  doc->compiledCount = 0;
  // All eight slots: a slot whose last reader was removed must not stay in use.
  for (KVinputSlot& slot : doc->inputs)
    slot.inUse = 0;
  countInputs(doc, &doc->tree);
  const int count = std::clamp<int>(doc->tree.count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    gfunc* g = &doc->tree.funcs[i];
    if (!isCompiledTree(g))
      continue;
    ++doc->compiledCount;
    smalltree* sub = arb_subtreeOf(g);
    if (lookInside && sub != nullptr)
      countInputs(doc, sub);
  }
}

gfunc* arb_findOutputFunc(smalltree* tree, int16_t* slot)
{
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  if (count == 0)
    return nullptr;
  int s = count - 1;
  while (s > 0 && tree->funcs[s].level == tree->funcs[s - 1].level)
    --s;
  if (slot != nullptr)
    *slot = int16_t(s);
  return &tree->funcs[s];
}

void arb_ServiceChanges(sfuncSystem* doc, bool keepSelections)
{
  arb_SetFuncID(&doc->tree, keepSelections);
  doc->treeChanged = 1;
  arb_RecomputeFlags(doc, true);
  int16_t slot = 0;
  gfunc* out = arb_findOutputFunc(&doc->tree, &slot);
  doc->outputFunc = out;
  doc->tree.outputIndex = out != nullptr ? uint8_t(out->index) : 0;
  if (out != nullptr && !colorFuncSuits(out, doc->colorFuncIndex))
    arb_setColorfunc(doc, kServiceColorFunc, false);
}

void arb_ChangeFuncID(smalltree* tree, gfunc* g, int16_t family, int16_t id, int16_t mode)
{
  arb_TP_deletegfuncauxmem(tree, g);
  setFunc(g, family, id, mode);
  if (gKovrelinWorld == nullptr)
    return;
  sfuncSystem* world = &gKovrelinWorld->doc;
  if (tree == &world->tree)
    arb_ServiceChanges(world, false);
  else
    world->treeChanged = 1;
}

// ---- Parameter undo -------------------------------------------------------

void arb_TP_setundo(smalltree*, gfunc* g, void* record)
{
  auto* rec = static_cast<KVundoRecord*>(record);
  if (rec->count < 0 || rec->count >= kUndoEntries)
    return;
  rec->entries[rec->count++] =
      KVundoEntry{g->funcID, uint8_t(g->lockFlags), g->paramCount, g->A, g->B, g->C};
}

void arb_TP_getundo(smalltree*, gfunc* g, void* record)
{
  auto* rec = static_cast<KVundoRecord*>(record);
  if (rec->readPos >= 0 && rec->readPos < rec->count && rec->readPos < kUndoEntries) {
    const KVundoEntry& e = rec->entries[rec->readPos];
    if (e.funcID != g->funcID)
      setFunc(g, int16_t(g->family), e.funcID, kBindKeepKeyframes);
    g->A = e.A;
    g->B = e.B;
    g->C = e.C;
    g->lockFlags = e.lockFlags;
  }
  ++rec->readPos;
}

void arb_SavetoUndoTree(smalltree* tree, KVundoRecord* record, bool deep)
{
  record->count = 0;
  walkForUndo(tree, arb_TP_setundo, record, deep);
}

void arb_RestorefromUndoTree(smalltree* tree, KVundoRecord* record, bool deep)
{
  record->readPos = 0;
  walkForUndo(tree, arb_TP_getundo, record, deep);
}

void arb_SavetoUndoCTree(sfuncSystem* doc, KVundoRecord* record, bool deep)
{
  arb_SavetoUndoTree(&doc->tree, record, deep);
  record->palette = doc->tables.gradientKeys;
  record->colorFuncIndex = doc->colorFuncIndex;
}

void arb_RestorefromUndoCTree(sfuncSystem* doc, KVundoRecord* record, bool deep)
{
  arb_RestorefromUndoTree(&doc->tree, record, deep);
  doc->tables.gradientKeys = record->palette;
  arb_setColorfunc(doc, record->colorFuncIndex, false);
}

void arb_TP_setcurparams(smalltree*, gfunc* g, void* cursor)
{
  auto* c = static_cast<KVparamCursor*>(cursor);
  if (g->paramCount < 1)
    return;
  if (c->triples != nullptr && c->position >= 0 && c->position < c->count) {
    const KVparamTriple& t = c->triples[c->position];
    g->A = t.A;
    g->B = t.B;
    g->C = t.C;
  }
  ++c->position;
}

void arb_TP_getcurparams(smalltree*, gfunc* g, void* cursor)
{
  auto* c = static_cast<KVparamCursor*>(cursor);
  if (g->paramCount < 1)
    return;
  if (c->triples != nullptr && c->position >= 0 && c->position <= kCurParamsMaxPosition)
    c->triples[c->position] = KVparamTriple{g->A, g->B, g->C};
  ++c->position;
}

void arb_TP_compatibilityproc(smalltree* tree, gfunc* g, void* doc)
{
  g->owner = tree;
  if (doc != nullptr)
    g->doc = static_cast<sfuncSystem*>(doc);
  if (g->handler != nullptr)
    g->handler(g, kMsgConvertOld, nullptr, nullptr, nullptr);
}

void ParamReset(gfunc* g, int16_t which)
{
  if (g->handler == nullptr)
    return;
  const double kept[3] = {g->A, g->B, g->C};
  g->handler(g, kMsgDefaults, nullptr, nullptr, nullptr);
  if (which >= 0)
    for (int i = 0; i < 3; ++i)
      if (i != which)
        KV_param(g, i) = kept[i];
  g->handler(g, kMsgPrecompute, nullptr, nullptr, nullptr);
}
