#include "engine/catalog.h"

#include <cstring>
#include <numbers>

#include "engine/randomize.h"
#include "foundation/modifierkeys.h"

namespace {

constexpr KVfamilyInfo kFamilies[] = {
    {1, "f11", 1, 1, 57, 0},   {2, "f21", 8, 1, 63, 0},    {3, "f22", 8, 8, 58, 0},
    {4, "f31", 10, 1, 54, 0},  {5, "f32", 10, 8, 42, 0},   {6, "f42", 12, 8, 31, 0},
    {7, "f23", 8, 14, 45, 0},  {8, "f33", 14, 14, 53, 0},  {9, "f43", 16, 14, 28, 0},
    {10, "f24", 8, 16, 58, 4}, {11, "f34", 10, 16, 50, 7}, {12, "f44", 18, 16, 17, 0},
    {13, "f25", 8, 13, 29, 8}, {15, "f41", 16, 1, 8, 4},   {16, "f12", 1, 8, 9, 3},
    {17, "f13", 1, 14, 10, 2}, {18, "f14", 1, 16, 11, 0},
};

// The shared work of every binder: connector codes, inlets beyond the input
// count, the member's pair, and a clean private area and outputs.
void bindFamilyMember(gfunc* g, int family, int id)
{
  const KVfamilyInfo* info = KV_familyInfo(family);
  if (info == nullptr)
    return;
  g->inputCode = info->inputCode;
  g->outputCode = info->outputCode;
  for (int k = KV_familyInputs(info->code); k < 4; ++k)
    g->inlets[k].source = kSourceUnset;

  const KVcatalogMember m = KV_familyMember(family, KV_memberPosition(family, id));
  g->compute = m.compute;
  g->handler = m.handler;
  if (id == kCompiledTreeId)
    g->lockFlags |= kLockB;

  std::memset(g->privateArea, 0, sizeof g->privateArea);
  std::memset(g->outputs, 0, sizeof g->outputs);
}

void sendFromNormalized(gfunc* g, double n)
{
  double a = n, b = n, c = n;
  g->handler(g, kMsgFromNormalized, &a, &b, &c);
}

// Classifies each parameter from its values at normalised 0 and 1; the first
// test that applies wins, and a class no test assigns is left as it is.
void classifyRanges(gfunc* g, const double low[3], const double high[3])
{
  for (int i = 0; i < 3; ++i) {
    const double p0 = low[i], p1 = high[i];
    uint8_t& cls = g->rangeClass[i];
    if (p0 == 0.0 && p1 == 1.0)
      cls = kRangeUnit;
    else if (p1 >= 16.0 && !(i == 0 && cls == kRangeChoice))
      cls = kRangeWide;
    else if (p1 == 2.0 * std::numbers::pi || p1 == std::numbers::pi)
      cls = kRangeAngle;
  }
}

}  // namespace

const KVfamilyInfo* KV_familyInfo(int family)
{
  for (const KVfamilyInfo& f : kFamilies)
    if (f.code == family)
      return &f;
  return nullptr;
}

int KV_memberPosition(int family, int id)
{
  const KVfamilyInfo* info = KV_familyInfo(family);
  if (info == nullptr)
    return -1;
  if (id == kCompiledTreeId)
    return info->lastId + 1;
  if (id >= 0 && id <= info->lastId)
    return id;
  return info->defaultId;
}

KVcatalogMember KV_catalogMember(int family, int id)
{
  const int pos = KV_memberPosition(family, id);
  if (pos < 0)
    return KVcatalogMember{int16_t(id), nullptr, nullptr, "", false};
  return KV_familyMember(family, pos);
}

void setFunc11(gfunc* g, int16_t id)
{
  bindFamilyMember(g, kFamily11, id);
}

void setFunc2o(gfunc* g, int16_t family, int16_t id)
{
  bindFamilyMember(g, family, id);
}

void setFunc3o(gfunc* g, int16_t family, int16_t id)
{
  bindFamilyMember(g, family, id);
}

void setFunc4o(gfunc* g, int16_t family, int16_t id)
{
  bindFamilyMember(g, family, id);
}

void arb_findparamrange(gfunc* g, double low[3], double high[3])
{
  const double keptA = g->A, keptB = g->B, keptC = g->C;
  sendFromNormalized(g, 0.0);
  low[0] = g->A, low[1] = g->B, low[2] = g->C;
  sendFromNormalized(g, 1.0);
  high[0] = g->A, high[1] = g->B, high[2] = g->C;
  g->A = keptA, g->B = keptB, g->C = keptC;
}

void arb_findparamtypes(gfunc* g)
{
  double low[3], high[3];
  arb_findparamrange(g, low, high);
  classifyRanges(g, low, high);
}

void setFunc(gfunc* g, int16_t family, int16_t id, int16_t mode)
{
  g->family = uint16_t(family);
  g->funcID = id;
  g->rangeClass[0] = g->rangeClass[1] = g->rangeClass[2] = kRangeNone;
  g->evalFlag = 0;
  if (!gctrl)
    g->paramCount = 0;

  switch (family) {
    case kFamily11:
      setFunc11(g, id);
      break;
    case kFamily22:
    case kFamily32:
    case kFamily42:
    case kFamily12:
      setFunc2o(g, family, id);
      break;
    case kFamily23:
    case kFamily33:
    case kFamily43:
    case kFamily13:
      setFunc3o(g, family, id);
      break;
    case kFamily24:
    case kFamily34:
    case kFamily44:
    case kFamily14:
      setFunc4o(g, family, id);
      break;
    case kFamily21:
    case kFamily31:
    case kFamily25:
    case kFamily41:
      bindFamilyMember(g, family, id);
      break;
    default:
      // Not an assigned family: nothing is bound, so no handler is asked.
      return;
  }

  if (mode < 0)
    return;
  g->handler(g, kMsgDefaults, nullptr, nullptr, nullptr);
  if (mode != kBindKeepKeyframes)
    for (KVparamTriple& key : g->keyframes)
      key = KVparamTriple{g->A, g->B, g->C};
  arb_findparamtypes(g);
  if (mode == kBindRandomize)
    ParamRandomize(g, 0.33);
}
