#include "testfamily.h"

#include <algorithm>
#include <cstring>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"

namespace {

double in(const gfunc* g, int k, int i, int channel = 0)
{
  const inletinfos& l = g->inlets[k];
  if (l.channels == 0)
    return l.data[0];
  if (l.channels >= 2)
    return l.data[i * l.channels + channel];
  return l.data[i];
}

void computeAdd(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    g->outputs[0][i] = in(g, 0, i) + in(g, 1, i) + g->A;
}

void computeMul(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    g->outputs[0][i] = in(g, 0, i) * in(g, 1, i) * g->B;
}

void computeSplit(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    g->outputs[0][i] = in(g, 0, i);
    g->outputs[1][i] = in(g, 1, i) * g->A;
  }
}

void computeMemory(gfunc* g)
{
  TestPrivate& p = privateArea<TestPrivate>(g);
  for (int i = 0; i < KV_batchLength(); ++i) {
    g->outputs[0][i] = p.memory;
    p.memory = in(g, 0, i);
  }
}

// Packed output: three channels per sample over the component's contiguous
// output arrays.
void computePacker(gfunc* g)
{
  double* out = &g->outputs[0][0];
  for (int i = 0; i < KV_batchLength(); ++i)
    for (int c = 0; c < 3; ++c)
      out[i * 3 + c] = in(g, c, i);
}

void computeUnpack(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    for (int c = 0; c < 3; ++c)
      g->outputs[c][i] = in(g, 0, i, c);
}

void computeCopy(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    g->outputs[0][i] = in(g, 0, i);
}

void computeScale(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    g->outputs[0][i] = in(g, 0, i) * g->A;
}

void computeColor3(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    g->outputs[0][i] = in(g, 0, i);
    g->outputs[1][i] = in(g, 1, i);
    g->outputs[2][i] = in(g, 0, i) + in(g, 1, i);
  }
}

void computeFour(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    for (int c = 0; c < 4; ++c)
      g->outputs[c][i] = in(g, 0, i) + c;
}

void computeNothing(gfunc*) {}

struct MemberRow
{
  TestMember member;
  uint16_t family;
  int16_t id;
  KVComputeProc compute;
  KVparamTriple defaults;
  int16_t outputCode;  // -1: the family's
  uint8_t freqFlag;
};

constexpr MemberRow kMembers[] = {
    {TestMember::kAdd, kFamily21, 1, computeAdd, {0.25, -1, -1}, -1, 0},
    {TestMember::kMul, kFamily21, 2, computeMul, {0.5, 1.0, -1}, -1, 0},
    {TestMember::kSplit, kFamily22, 5, computeSplit, {2.0, -1, -1}, -1, 0},
    {TestMember::kMemory, kFamily11, 29, computeMemory, {-1, -1, -1}, -1, 0},
    {TestMember::kPacker, kFamily31, 27, computePacker, {-1, -1, -1}, kConnPacked3, 0},
    {TestMember::kUnpack, kFamily33, 9, computeUnpack, {-1, -1, -1}, -1, 0},
    {TestMember::kIterate, kFamily11, 28, computeCopy, {0.5, 0.5, -1}, -1, 0},
    {TestMember::kScale, kFamily11, 3, computeScale, {0.5, 0.5, 0.5}, -1, 1},
    {TestMember::kColor3, kFamily23, 7, computeColor3, {-1, -1, -1}, -1, 0},
    {TestMember::kFour, kFamily24, 5, computeFour, {-1, -1, -1}, -1, 0},
    {TestMember::kSubtree21, kFamily21, kCompiledTreeId, computeNothing, {-1, -1, -1}, -1, 0},
    {TestMember::kSubtree22, kFamily22, kCompiledTreeId, computeNothing, {-1, -1, -1}, -1, 0},
};

const MemberRow* rowOf(TestMember m)
{
  for (const MemberRow& r : kMembers)
    if (r.member == m)
      return &r;
  return nullptr;
}

const MemberRow* rowOf(uint16_t family, int16_t id)
{
  for (const MemberRow& r : kMembers)
    if (r.family == family && r.id == id)
      return &r;
  return nullptr;
}

void copyLabel(const char* text)
{
  unsigned char label[256];
  const size_t n = std::strlen(text);
  label[0] = uint8_t(n);
  std::memcpy(label + 1, text, n);
  KV_setLabel(label);
}

int16_t testHandler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  const MemberRow* row = rowOf(g->family, g->funcID);
  if (row == nullptr)
    return 0;
  double* n[3] = {a, b, c};
  switch (msg) {
    case kMsgDefaults: {
      const uint8_t count = Paraminit(g, row->defaults.A, row->defaults.B, row->defaults.C);
      g->freqFlag = row->freqFlag;
      if (row->outputCode >= 0)
        g->outputCode = row->outputCode;
      return count;
    }
    case kMsgParamA:
    case kMsgParamB:
    case kMsgParamC:
      if (a != nullptr)
        *a = KV_param(g, msg);
      copyLabel(msg == kMsgParamC && row->freqFlag ? "Frequency " : "Value ");
      return 0;
    case kMsgFromNormalized:
      for (int i = 0; i < 3; ++i)
        if (n[i] != nullptr)
          KV_param(g, i) = *n[i];
      return 0;
    case kMsgToNormalized:
      for (int i = 0; i < 3; ++i)
        if (n[i] != nullptr)
          *n[i] = KV_param(g, i);
      return 0;
    case kMsgPrepare:
      ++privateArea<TestPrivate>(g).prepared;
      if (smalltree* sub = arb_subtreeOf(g)) {
        prepareCTin2(g->doc, sub, g, 0);
        prepareCTout(sub, g);
      }
      return 0;
    case kMsgPrecompute:
      ++privateArea<TestPrivate>(g).precomputed;
      if (row->outputCode >= 0)
        g->outputCode = row->outputCode;
      return 0;
    default:
      return 0;
  }
}

}  // namespace

TestMemberInfo testMemberInfo(TestMember m)
{
  const MemberRow* r = rowOf(m);
  return TestMemberInfo{r->family, r->id};
}

void bindTestMember(gfunc* g, TestMember m)
{
  const MemberRow* r = rowOf(m);
  setFunc(g, int16_t(r->family), r->id, kBindOnly);
  g->compute = r->compute;
  g->handler = testHandler;
  g->handler(g, kMsgDefaults, nullptr, nullptr, nullptr);
  for (KVparamTriple& key : g->keyframes)
    key = KVparamTriple{g->A, g->B, g->C};
}

void rebindTestMembers(smalltree* tree)
{
  for (int i = 0; i < tree->count; ++i) {
    gfunc* g = &tree->funcs[i];
    if (const MemberRow* r = rowOf(g->family, g->funcID)) {
      g->compute = r->compute;
      g->handler = testHandler;
      if (r->outputCode >= 0)
        g->outputCode = r->outputCode;
    }
  }
}

gfunc* addTestComponent(smalltree* tree, TestMember m, uint8_t level,
                        std::initializer_list<int> sourceSlots, int16_t outlet)
{
  gfunc* g = &tree->funcs[tree->count];
  *g = gfunc{};
  g->index = tree->count;
  g->level = level;
  int k = 0;
  for (int slot : sourceSlots) {
    if (slot >= 0) {
      g->sources[k] = &tree->funcs[slot];
      g->inlets[k].source = outlet;
    }
    ++k;
  }
  bindTestMember(g, m);
  ++tree->count;
  tree->rootLevel = std::max<int16_t>(tree->rootLevel, level);
  return g;
}

std::unique_ptr<sfuncSystem> makeTestDocument()
{
  auto doc = std::make_unique<sfuncSystem>();
  arb_Init(doc.get());
  arb_setColorfunc(doc.get(), 0, false);
  return doc;
}

void evaluateTestTree(sfuncSystem* doc, const double* x, const double* y, int n)
{
  KV_setBatchLength(n);
  std::copy(x, x + n, doc->master[0]);
  std::copy(y, y + n, doc->master[1]);
  for (int i = 0; i < doc->tree.count; ++i)
    doc->tree.funcs[i].compute(&doc->tree.funcs[i]);
}
