#include "engine/randomize.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/palettes.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/checked.h"

namespace {

constexpr double kRandomMax = 2147483647.0;
constexpr int16_t kForcedColorFunc = 12;
constexpr int kRandomColorFuncs = 13;  // indices 0..12 are drawn
constexpr int kMaxPaletteDraws = 43;

// r: a random value in [0, 1].
double drawUnit()
{
  return double(random()) / kRandomMax;
}

// (integer part of r * 6000) modulo n.
int drawIndex(int n)
{
  return kvnum::sat_i32(drawUnit() * 6000.0) % n;
}

struct MemberGroup
{
  uint16_t family;
  std::initializer_list<int16_t> ids;
};

bool inGroup(std::initializer_list<MemberGroup> groups, int family, int id)
{
  for (const MemberGroup& g : groups)
    if (g.family == family)
      return std::find(g.ids.begin(), g.ids.end(), id) != g.ids.end();
  return false;
}

struct FamilyCount
{
  uint16_t family;
  int16_t count;
};

constexpr FamilyCount kRandomMemberCounts[] = {
    {kFamily11, 58}, {kFamily21, 64}, {kFamily22, 59}, {kFamily31, 55}, {kFamily32, 43},
    {kFamily42, 32}, {kFamily23, 46}, {kFamily33, 54}, {kFamily43, 29}, {kFamily24, 59},
    {kFamily34, 51}, {kFamily44, 18}, {kFamily25, 30}, {kFamily41, 9},  {kFamily12, 10},
    {kFamily13, 11}, {kFamily14, 12},
};

constexpr int16_t kPackingMemberId = 27;  // f31 27 packs its inputs for a packed consumer

bool isLooperKeepingA(const gfunc* g)
{
  return (g->family == kFamily43 && g->funcID >= 26 && g->funcID <= 28) ||
         (g->family == kFamily23 && g->funcID == 44);
}

bool keepsBandC(const gfunc* g)
{
  return (g->family == kFamily22 && (g->funcID == 3 || g->funcID == kCompiledTreeId)) ||
         (g->family == kFamily33 && g->funcID == kCompiledTreeId);
}

// Whether the label of parameter C is "Frequency ".
bool labelOfCIsFrequency(gfunc* g)
{
  if (gKovrelinWorld == nullptr)
    return false;
  double c = g->C;
  gKovrelinWorld->label[0] = 0;
  g->handler(g, kMsgParamC, &c, nullptr, nullptr);
  const unsigned char* label = gKovrelinWorld->label;
  return std::string_view(reinterpret_cast<const char*>(label + 1), label[0]) == "Frequency ";
}

double moveTowards(double value, double target, double amount)
{
  return value + (target - value) * amount;
}

bool isPackedOutput(const gfunc* g)
{
  return g->outputCode == kConnPacked2 || g->outputCode == kConnPacked3;
}

// Binds a scratch copy of the component to `id` and says whether the member
// is acceptable there; members whose C is a frequency pass one time in four.
bool acceptMember(smalltree* tree, gfunc* g, int id, bool permissive)
{
  if (!CanHave(tree, g, g->family, id, permissive))
    return false;
  gfunc* scratch = new gfunc(*g);
  setFunc(scratch, int16_t(g->family), int16_t(id), kBindKeepKeyframes);
  const bool frequency = scratch->freqFlag != 0;
  delete scratch;
  return !frequency || drawUnit() > 0.75;
}

// A new member id for the component, or -1 when the change is given up.
int chooseMember(smalltree* tree, gfunc* g, bool permissive)
{
  const int count = getTypedFuncEntries(g->family);
  int id = drawIndex(count);
  if (CanHave(tree, g, g->family, id, permissive))
    return acceptMember(tree, g, id, permissive) ? id : -1;
  id = drawIndex(count);
  return acceptMember(tree, g, id, permissive) ? id : -1;
}

void walk(sfuncSystem* doc, KVtraverseProc proc, void* arg, bool deep)
{
  if (deep)
    arb_TraverseAllUnlocked(&doc->tree, proc, arg);
  else
    arb_TraverseST(&doc->tree, proc, arg);
}

bool forcesColorFunc12(const gfunc* out)
{
  return KV_familyOutputs(out->family) >= 3 || isPackedOutput(out);
}

// The library palette: numbers 1 .. 63 drawn while empty, at most 43 draws.
void drawPalette(sfuncSystem* doc, const cpalettelib* lib)
{
  int number = 0;
  for (int draw = 0; draw < kMaxPaletteDraws; ++draw) {
    number = kvnum::sat_i32((kPaletteLibSize - 1) * drawUnit() + 1);
    number = std::min(number, kPaletteLibSize - 1);  // r == 1 would name slot 64
    if (lib->palettes[number].count != 0)
      break;
  }
  doc->paletteNumber = int16_t(number);
  cpalette& palette = doc->tables.gradientKeys;
  palette = lib->palettes[number];
  palette.count = std::clamp(palette.count, 0, kPaletteMaxCount);
}

int outputCountOf(const gfunc* g)
{
  return g != nullptr ? KV_familyOutputs(g->family) : 0;
}

void lowerCodesReading(gfunc* reader, const gfunc* source)
{
  const int outputs = outputCountOf(source);
  for (int k = 0; k < 4; ++k) {
    inletinfos& in = reader->inlets[k];
    if (reader->sources[k] == source && in.source >= kSourceOutput1 && in.source <= 5)
      in.source = int16_t(std::min<int>(in.source, std::max(outputs, 1)));
  }
}

int16_t tileTypeMember(const gfunc* g, int16_t family, int16_t id)
{
  const bool hasSource = g->sources[0] != nullptr;
  auto packed = [&](int k) { return g->inlets[k].channels > 1; };
  switch (family) {
    case kFamily23:
      return hasSource && (packed(0) || packed(1)) ? 6 : id;
    case kFamily33:
      return hasSource && (packed(0) || packed(1) || packed(2)) ? 9 : id;
    case kFamily41:
      return 1;
    case kFamily13:
    case kFamily14:
      return 2;
    case kFamily25:
      return 8;
    default:
      return id;
  }
}

}  // namespace

// ---- Member groups --------------------------------------------------------

int16_t getTypedFuncEntries(int family)
{
  for (const FamilyCount& f : kRandomMemberCounts)
    if (f.family == family)
      return f.count;
  return 1;
}

bool KV_isLoopStarterMember(int family, int id)
{
  return inGroup({{kFamily11, {28}}, {kFamily43, {26, 27, 28}}, {kFamily23, {44}}}, family, id);
}

bool KV_isMemoryMember(int family, int id)
{
  return inGroup({{kFamily11, {29, 30, 40, 50, 54}},
                  {kFamily33, {28, 29, 30, 35, 51, 53}},
                  {kFamily34, {46}},
                  {kFamily43, {8, 9, 10, 11, 12, 13, 22}},
                  {kFamily44, {1, 2, 8, 11, 12, 13}}},
                 family, id);
}

bool KV_isPackedConsumer(int family, int id)
{
  return inGroup({{kFamily13, {0}},
                  {kFamily14, {0}},
                  {kFamily23, {6, 15, 16, 35}},
                  {kFamily33, {9, 10, 15, 16, 33, 36}},
                  {kFamily43, {14, 15, 16, 17, 18, 19, 20, 21, 23}},
                  {kFamily24, {14, 15, 16, 35, 44, 45, 55}},
                  {kFamily34, {13, 14, 15, 16, 17, 29, 42, 47, 48}}},
                 family, id);
}

bool KV_isSliceMember(int family, int id)
{
  return inGroup({{kFamily33, {23, 25, 26}}}, family, id);
}

// ---- Rules ----------------------------------------------------------------

int16_t CanMutate(smalltree*, int family, int id)
{
  return KV_isLoopStarterMember(family, id) || id == kCompiledTreeId ? 0 : 1;
}

bool CanHave(smalltree* tree, gfunc* g, int family, int id, bool permissive)
{
  if (id == kCompiledTreeId || KV_isLoopStarterMember(family, id))
    return false;
  const bool memory = KV_isMemoryMember(family, id);
  if (!tree->loopFlag && memory)
    return false;
  if (family == kFamily31 && id == kPackingMemberId) {
    gfunc* sons[kMaxSons];
    if (arb_findSons(tree, g, sons) == 0 || !KV_isPackedConsumer(sons[0]->family, sons[0]->funcID))
      return false;
  }
  if (permissive)
    return true;
  return !memory && !KV_isPackedConsumer(family, id) && !KV_isSliceMember(family, id);
}

// ---- Randomisation --------------------------------------------------------

void ParamRandomize(gfunc* g, double amount)
{
  if (g->paramCount == 0 || g->handler == nullptr)
    return;
  const bool keepA = isLooperKeepingA(g);
  const bool keepBC = keepsBandC(g);
  double a = 0.5, b = 0.5, c = 0.5;
  g->handler(g, kMsgToNormalized, &a, &b, &c);
  if (!keepA && !(g->lockFlags & kLockA))
    a = moveTowards(a, drawUnit() * 0.8 + 0.1, amount);
  if (g->paramCount >= 2 && !keepBC && !(g->lockFlags & kLockB))
    b = moveTowards(b, drawUnit() * 0.8 + 0.1, amount);
  if (g->paramCount == 3 && !keepBC && !(g->lockFlags & kLockC)) {
    const bool frequency = g->freqFlag != 0 && labelOfCIsFrequency(g);
    const double r = drawUnit();
    c = moveTowards(c, frequency ? r * 0.24 + 0.01 : r * 0.8 + 0.1, amount);
  }
  g->handler(g, kMsgFromNormalized, &a, &b, &c);
}

void arb_TP_randomize(smalltree*, gfunc* g, void* amount)
{
  ParamRandomize(g, *static_cast<const double*>(amount));
}

void arb_TP_randomizefunction(smalltree* tree, gfunc* g, void* state)
{
  auto* s = static_cast<KVrandomizeState*>(state);
  if (g->lockFlags >= kLockAll || g->funcID == kCompiledTreeId || s->amount <= 0 ||
      KV_isLoopStarterMember(g->family, g->funcID))
    return;
  if (!(s->amount >= drawUnit()))
    return;
  const int id = chooseMember(tree, g, s->permissive != 0);
  if (id < 0 || id == g->funcID)
    return;
  arb_TP_deletegfuncauxmem(tree, g);  // the new member must not inherit the old block
  setFunc(g, int16_t(g->family), int16_t(id), kBindDefaults);
  ParamRandomize(g, s->amount / 4);
  s->changed = 1;
}

int16_t arb_RandomizeFunction(sfuncSystem* doc, double amount, bool deep)
{
  KVrandomizeState state{amount, 0, 0};
  walk(doc, arb_TP_randomizefunction, &state, deep);
  return state.changed;
}

void arb_RandomizeParameters(sfuncSystem* doc, double amount, bool deep)
{
  walk(doc, arb_TP_randomize, &amount, deep);
  doc->paramsChanged = 1;
}

void arb_Randomize(sfuncSystem* doc, bool deep)
{
  arb_RandomizeFunction(doc, 1.0, deep);
  arb_RandomizeParameters(doc, 0.333, deep);
  doc->paramsChanged = 1;
  doc->treeChanged = 1;
  arb_RandomizeColorFunctionAndPalette(doc, 0.75, 0.3);
}

void arb_RandomizeColorFunctionAndPalette(sfuncSystem* doc, double colorChance,
                                          double paletteAmount)
{
  int16_t slot = 0;
  gfunc* out = arb_findOutputFunc(&doc->tree, &slot);
  doc->outputFunc = out;
  if (out != nullptr && forcesColorFunc12(out)) {
    arb_setColorfunc(doc, kForcedColorFunc, false);
    return;
  }
  if (colorChance > 0 && colorChance >= drawUnit()) {
    const int16_t index = int16_t(drawIndex(kRandomColorFuncs));
    arb_setColorfunc(doc, index, drawUnit() <= 0.333);
  }
  const double paletteChance = (colorChance + paletteAmount) / 2;
  const cpalettelib* lib = gKovrelinWorld != nullptr ? gKovrelinWorld->paletteLib : nullptr;
  if (paletteChance > 0 && paletteChance >= drawUnit() && lib != nullptr)
    drawPalette(doc, lib);
  clut_mutate(&doc->tables.gradientKeys, paletteAmount);
}

// ---- Connections ----------------------------------------------------------

int16_t arb_findSons(smalltree* tree, gfunc* g, gfunc* sons[kMaxSons])
{
  int16_t n = 0;
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count && n < kMaxSons; ++i) {
    gfunc* c = &tree->funcs[i];
    if (std::find(std::begin(c->sources), std::end(c->sources), g) != std::end(c->sources))
      sons[n++] = c;
  }
  return n;
}

void completeUpConnections(gfunc* g)
{
  gfunc* src = g->sources[0];
  if (src == nullptr)
    return;
  const int inputs = KV_familyInputs(g->family);
  const int srcOutputs = KV_familyOutputs(src->family);
  auto fill = [&](int k) {
    if (g->inlets[k].source == kSourceUnset) {
      g->sources[k] = src;
      g->inlets[k].source = int16_t(k + 1);
    }
  };
  if (inputs == 3 && srcOutputs == 3)
    fill(2);
  if (inputs == 4 && srcOutputs == 4) {
    fill(2);
    fill(3);
  }
}

void validconnections(gfunc* source, gfunc* g)
{
  lowerCodesReading(g, source);
}

void arb_ChangeTileType(smalltree* tree, gfunc* g, int16_t family, int16_t id)
{
  const int oldInputs = KV_familyInputs(g->family);
  const int16_t member = tileTypeMember(g, family, id);
  arb_TP_deletegfuncauxmem(tree, g);
  setFunc(g, family, member, kBindDefaults);
  if (KV_familyInputs(g->family) != oldInputs) {
    completeUpConnections(g);
    for (gfunc* src : g->sources)
      if (src != nullptr)
        validconnections(src, g);
  }
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i)
    lowerCodesReading(&tree->funcs[i], g);
}
