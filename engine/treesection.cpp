#include "engine/treesection.h"

#include <algorithm>
#include <cstring>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "foundation/bigendian.h"

namespace {

unsigned char* recordAt(unsigned char* section, int i)
{
  return section + kComponentRecordsOffset + size_t(i) * kComponentRecordSize;
}
const unsigned char* recordAt(const unsigned char* section, int i)
{
  return section + kComponentRecordsOffset + size_t(i) * kComponentRecordSize;
}

// The slot of `source` in `tree`, or -1 when it is not one of its components.
int16_t slotOf(const smalltree* tree, const gfunc* source)
{
  if (source == nullptr)
    return -1;
  const gfunc* first = tree->funcs;
  if (source < first || source >= first + kMaxComponents)
    return -1;
  return int16_t(source - first);
}

void writeRecord(const smalltree* tree, const gfunc* g, unsigned char* rec)
{
  be::put_u16(rec + kRecFamily, g->family);
  be::put_u16(rec + kRecFuncID, uint16_t(g->funcID));
  be::put_i16(rec + kRecIndex, g->index);
  be::put_u16(rec + kRecAuxIndex, uint16_t(g->auxIndex));
  rec[kRecLevel] = g->level;
  rec[kRecDisplayIndex] = uint8_t(g->displayIndex);
  rec[kRecParamCount] = g->paramCount;
  rec[kRecLockFlags] = uint8_t(g->lockFlags);
  const int inputs = KV_familyInputs(g->family);
  const int filled = inputs == 0 ? 4 : inputs;  // unassigned codes call for four
  for (int k = 0; k < 4; ++k) {
    const int16_t src = k < filled ? slotOf(tree, g->sources[k]) : int16_t(-1);
    be::put_i16(rec + kRecSources + 2 * k, src);
    be::put_u16(rec + kRecInletCodes + 2 * k, uint16_t(g->inlets[k].source));
  }
  be::put_f64(rec + kRecA, g->A);
  be::put_f64(rec + kRecA + 8, g->B);
  be::put_f64(rec + kRecA + 16, g->C);
  be::put_u32(rec + kRecEvalFlag, g->evalFlag);
  for (int k = 0; k < kKeyframeCount; ++k) {
    unsigned char* key = rec + kRecKeyframes + 24 * size_t(k);
    be::put_f64(key, g->keyframes[k].A);
    be::put_f64(key + 8, g->keyframes[k].B);
    be::put_f64(key + 16, g->keyframes[k].C);
  }
}

void markRecordEmpty(unsigned char* rec)
{
  be::put_u16(rec + kRecFamily, 0);
  for (int k = 0; k < 4; ++k)
    be::put_i16(rec + kRecSources + 2 * k, -1);
}

// `count` is the number of records written (the tree's count held to 32).
void writeTrailer(const smalltree* tree, unsigned char* section, int16_t kind, int count)
{
  uint8_t rootSlot = 0;
  for (int i = 1; i < count; ++i)
    if (tree->funcs[i].level == tree->rootLevel) {
      rootSlot = uint8_t(i);
      break;
    }
  be::put_u16(section, uint16_t(kTreeVersion));
  be::put_u16(section + 2, uint16_t(count));
  be::put_u16(section + kSectionKindOffset, uint16_t(kind));
  be::put_i16(section + kSectionSelection1Offset, tree->selection1);
  be::put_i16(section + kSectionSelection2Offset, tree->selection2);
  be::put_u32(section + kSectionMagicOffset, kTreeFileMagic);
  section[kSectionRootSlotOffset] = rootSlot;
  static constexpr unsigned char kMainName[] = {4, 'M', 'a', 'i', 'n'};
  std::memcpy(section + kSectionNameOffset, kMainName, sizeof kMainName);
}

bool isAssignedFamily(uint16_t family)
{
  return KV_familyInputs(family) != 0;
}

// A damaged section must never reach the tree: counts above the slots and
// records whose family no binder knows are refused before anything changes.
KVsectionError checkSection(const unsigned char* section)
{
  const uint16_t count = be::get_u16(section + 2);
  if (count > kMaxComponents)
    return KVsectionError::kBadCount;
  for (int i = 0; i < count; ++i)
    if (!isAssignedFamily(be::get_u16(recordAt(section, i) + kRecFamily)))
      return KVsectionError::kBadFamily;
  return KVsectionError::kNone;
}

// A stored source becomes a link only when it names a component already in
// the tree (a lower slot): the tree then stays in evaluation order and can
// never hold a cycle or a link to an empty slot.
gfunc* resolveSource(const unsigned char* section, smalltree* tree, int16_t count, int slot,
                     int16_t storedIndex)
{
  if (storedIndex < 0)
    return nullptr;
  const int16_t src = findindexbyuniqid(section, count, storedIndex);
  if (src < 0 || src >= slot || src >= count)
    return nullptr;
  return &tree->funcs[src];
}

void readParameters(const unsigned char* rec, gfunc* g)
{
  g->A = be::get_f64(rec + kRecA);
  g->B = be::get_f64(rec + kRecA + 8);
  g->C = be::get_f64(rec + kRecA + 16);
  for (int k = 0; k < kKeyframeCount; ++k) {
    const unsigned char* key = rec + kRecKeyframes + 24 * size_t(k);
    g->keyframes[k] = KVparamTriple{be::get_f64(key), be::get_f64(key + 8), be::get_f64(key + 16)};
  }
}

void rebuildRecord(const unsigned char* section, smalltree* tree, int16_t count, int slot)
{
  const unsigned char* rec = recordAt(section, slot);
  gfunc* g = &tree->funcs[slot];
  g->link = nullptr;
  for (gfunc*& s : g->sources)
    s = nullptr;
  const uint16_t family = be::get_u16(rec + kRecFamily);
  const int16_t id = int16_t(be::get_u16(rec + kRecFuncID));
  g->level = rec[kRecLevel];
  tree->rootLevel = std::max<int16_t>(tree->rootLevel, g->level);
  g->displayIndex = int8_t(rec[kRecDisplayIndex]);
  g->auxIndex = int16_t(be::get_u16(rec + kRecAuxIndex));
  for (int k = 0; k < 4; ++k)
    g->inlets[k].source = int16_t(be::get_u16(rec + kRecInletCodes + 2 * k));
  if (g->level > 0)
    for (int k = 0; k < 4; ++k)
      g->sources[k] =
          resolveSource(section, tree, count, slot, be::get_i16(rec + kRecSources + 2 * k));

  setFunc(g, int16_t(family), id, kBindDefaults);
  g->lockFlags = rec[kRecLockFlags];
  const int16_t storedIndex = be::get_i16(rec + kRecIndex);
  g->index = storedIndex;
  g->evalFlag = uint8_t(be::get_u32(rec + kRecEvalFlag));
  if (storedIndex <= kRebuildParamsMaxIndex)
    readParameters(rec, g);
}

}  // namespace

void arb_2_farb(smalltree* tree, unsigned char* section, int16_t kind)
{
  std::memset(section, 0, kComponentSectionSize);
  for (int i = 0; i < kMaxComponents; ++i)
    markRecordEmpty(recordAt(section, i));
  arb_SetFuncID(tree, false);
  const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i)
    writeRecord(tree, &tree->funcs[i], recordAt(section, i));
  writeTrailer(tree, section, kind, count);
}

KVsectionError arb_rebuild(const unsigned char* section, smalltree* tree)
{
  const KVsectionError error = checkSection(section);
  if (error != KVsectionError::kNone)
    return error;

  const int16_t count = int16_t(be::get_u16(section + 2));
  const int16_t oldRoot = tree->rootLevel;
  tree->count = 0;
  tree->rootLevel = 0;
  for (int i = 0; i < count; ++i) {
    rebuildRecord(section, tree, count, i);
    tree->count = int16_t(i + 1);
  }
  tree->selection1 = int8_t(section[kSectionSelection1Offset + 1]);
  tree->selection2 = int8_t(section[kSectionSelection2Offset + 1]);
  tree->kind = int16_t(be::get_u16(section + kSectionKindOffset));
  tree->selected = int16_t(count - 1);
  if (tree->rootLevel != oldRoot)
    tree->rootChanged = 1;
  return KVsectionError::kNone;
}

int16_t findindexbyuniqid(const unsigned char* section, int16_t count, int16_t index)
{
  const int n = std::clamp<int>(count, 0, kMaxComponents);
  if (n < 1)
    return index;
  auto storedIndex = [&](int i) { return be::get_i16(recordAt(section, i) + kRecIndex); };
  if (index >= 0 && index < kMaxComponents && storedIndex(index) == index)
    return index;
  for (int i = 0; i < n; ++i)
    if (storedIndex(i) == index)
      return int16_t(i);
  return index;
}
