#include "document/oldformat.h"

#include <algorithm>
#include <cstring>
#include <numbers>

#include "document/animation.h"
#include "document/compiledtrees.h"
#include "document/inputslots.h"
#include "document/treefile.h"
#include "document/treefile_pvt.h"
#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/protocol.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "foundation/appshell.h"
#include "foundation/bigendian.h"

namespace {

// Level records and component records.
constexpr size_t kLevelSize = 228;
constexpr size_t kLevelCount = 4;
constexpr size_t kLevelComponents = 8;
constexpr size_t kComponentSize = 56;

// Component record fields.
constexpr size_t kCompFamily = 0;
constexpr size_t kCompId = 2;
constexpr size_t kCompPosition = 4;
constexpr size_t kCompSlot = 6;
constexpr size_t kCompCode4 = 8;
constexpr size_t kCompSource4 = 10;
constexpr size_t kCompParams = 12;
constexpr size_t kCompSources = 36;
constexpr size_t kCompCodes = 48;
constexpr size_t kCompLocks = 54;

// Document fields.
constexpr size_t kOffSoundFlag = 2740;
constexpr size_t kOffKeyCountOfTree = 2742;
constexpr size_t kOffPaletteNumber = 2744;
constexpr size_t kOffColorFunc = 2746;
constexpr size_t kOffSubtreeKeyLists = 2748;
constexpr size_t kOffView = 6844;
constexpr size_t kOffPalette = 6876;
constexpr size_t kOffSoundWord = 7136;
constexpr size_t kOffSoundTransposition = 7140;
constexpr size_t kOffSoundDouble = 7152;
constexpr size_t kOffSoundPath = 12312;
constexpr size_t kOffPeriod = 12314;
constexpr size_t kOffOffset = 12320;
constexpr size_t kOffSelection1 = 12328;
constexpr size_t kOffSelection2 = 12330;
constexpr size_t kOffIndexPair = 12332;
constexpr size_t kOffAnimKind = 12337;
constexpr size_t kOffOctaves = 12338;
constexpr size_t kOffDefaultColors = 12340;
constexpr size_t kOffPermutation = 12352;
constexpr size_t kOffSelectedKey = 16448;
constexpr size_t kOffKeyCount = 16450;
constexpr size_t kOffKeys = 16452;
constexpr size_t kKeySize = 1068;
constexpr size_t kKeyCamera = 8;
constexpr size_t kKeyPalette = 40;
constexpr size_t kKeyLists = 300;
constexpr size_t kOffAnimLength = 33548;
constexpr size_t kOffFrameRate = 33552;
constexpr size_t kOffRate2997 = 33554;
constexpr size_t kOffAnimMode = 33558;
constexpr size_t kOffColorClass = 33674;
constexpr size_t kOffDocumentByte = 33676;
constexpr size_t kOffColorFlag = 33677;
constexpr size_t kOffSlotFlags = 33796;
constexpr size_t kOffStartValues = 33800;
constexpr size_t kOffFileRefs = 33816;
constexpr size_t kFileRefSize = 70;
constexpr size_t kOffSubtreeName = 15036;
// The input references as the converter reads them: four flag bytes, four
// start values and four file references, 300 bytes ending the record.
constexpr size_t kOffInputRefs = kOffSlotFlags;
constexpr size_t kInputRefsSize = 4 + 4 * 4 + 4 * kFileRefSize;
static_assert(kOffStartValues == kOffSlotFlags + 4 && kOffFileRefs == kOffStartValues + 16);
static_assert(kOffInputRefs + kInputRefsSize == kOldTreeRecordSize);

constexpr int kPermutationSize = 1024;
constexpr int kListLength = 32;  // entries of a key's A, B and C lists
constexpr size_t kListBytes = kListLength * 8;
constexpr int kOldSlots = 4;
constexpr int16_t kFirstVersionWithMode = 10;
constexpr int16_t kLastVersionOfShortCodes = 12;
constexpr uint16_t kOldCompiledId = 63;
constexpr uint8_t kAnimKindPath = 1;
constexpr uint8_t kAnimKindDrift = 5;
constexpr int32_t kMinLength = 10;
constexpr double kNtscRate = 29.97;

struct OldPosition
{
  int level;
  int display;
};

OldPosition positionOf(int code)
{
  return {code / 4, code % 4};
}

// The first component of the tree at (level, display position): slot 0 when
// none.
gfunc* componentAt(smalltree* tree, int count, int positionCode)
{
  const OldPosition p = positionOf(positionCode);
  for (int i = 0; i < count; ++i)
    if (tree->funcs[i].level == p.level && tree->funcs[i].displayIndex == p.display)
      return &tree->funcs[i];
  return &tree->funcs[0];
}

// One component from its 56-byte record; links are resolved afterwards.
struct OldLinks
{
  int32_t sources[4];
};

void readComponent(gfunc* g, const unsigned char* r, int16_t version, OldLinks* links)
{
  uint16_t id = be::get_u16(r + kCompId);
  if (id == kOldCompiledId)
    id = kCompiledTreeId;
  const OldPosition p = positionOf(be::get_u16(r + kCompPosition));
  setFunc(g, int16_t(be::get_u16(r + kCompFamily)), int16_t(id), kBindDefaults);
  g->level = uint8_t(std::clamp(p.level, 0, 255));
  g->displayIndex = int8_t(p.display);
  g->auxIndex = int16_t(std::clamp<int>(be::get_u16(r + kCompSlot), 0, 15));
  for (int k = 0; k < 3; ++k) {
    links->sources[k] = be::get_i32(r + kCompSources + 4 * size_t(k));
    uint16_t code = be::get_u16(r + kCompCodes + 2 * size_t(k));
    if (version <= kLastVersionOfShortCodes)
      code &= 3;
    g->inlets[k].source = int16_t(std::min<uint16_t>(code, 17));
  }
  links->sources[3] = be::get_i16(r + kCompSource4);
  uint16_t code4 = be::get_u16(r + kCompCode4);
  if (version <= kLastVersionOfShortCodes)
    code4 &= 3;
  g->inlets[3].source = int16_t(std::min<uint16_t>(code4, 17));
  if (links->sources[3] >= 0 && g->inlets[3].source == 0)
    g->inlets[3].source = 4;
  g->A = be::get_f64(r + kCompParams);
  g->B = be::get_f64(r + kCompParams + 8);
  g->C = be::get_f64(r + kCompParams + 16);
  g->lockFlags = r[kCompLocks];
}

bool permutationValid(const unsigned char* record)
{
  for (int i = 0; i < kPermutationSize; ++i)
    if (be::get_u32(record + kOffPermutation + 4 * size_t(i)) >= uint32_t(kPermutationSize))
      return false;
  return true;
}

// Keys of the main record: cameras, palettes and the components' triples.
void readKeyframes(sfuncSystem* doc, const unsigned char* record)
{
  KVanimation& a = doc->animation;
  const int selected = be::get_u16(record + kOffSelectedKey);
  a.selectedKey = int16_t(selected < kKeyframeCount ? selected : 0);
  a.keyCount = int16_t(std::min<int>(be::get_u16(record + kOffKeyCount), kKeyframeCount));
  for (int k = 0; k < a.keyCount; ++k) {
    const unsigned char* key = record + kOffKeys + kKeySize * size_t(k);
    KVkeyframe& out = a.keys[k];
    out.inUse = be::get_u16(key);
    out.componentCount = be::get_u16(key + 2);
    out.cameraX = be::get_f64(key + kKeyCamera);
    out.cameraY = be::get_f64(key + kKeyCamera + 8);
    out.halfSize = be::get_f64(key + kKeyCamera + 16);
    kvtreefile::readPalette(key + kKeyPalette, &out.palette);
  }
  KVoldKeyWalk walk{record + kOffKeys + kKeyLists, kKeySize, a.keyCount, 0};
  arb_TraverseST(&doc->tree, Anim_TP_keyframeconvertparams, &walk);
  const uint8_t kind = record[kOffAnimKind];
  if (kind == kAnimKindPath) {
    a.straightMoves = 1;
    a.cameraPath = 1;
  } else if (kind == kAnimKindDrift) {
    a.randomDrift = 1;
  }
}

void readSoundSettings(sfuncSystem* doc, const unsigned char* record, sSoundfunc* sound)
{
  if (be::get_u16(record + kOffSoundWord) != 1)
    return;
  sound->tag = kSoundSettingsTag;
  sound->transposition = std::clamp(be::get_i32(record + kOffSoundTransposition), kMinTransposition,
                                    kMaxTransposition);
  sound->setting1 = be::get_f64(record + kOffSoundDouble);
  sound->name[0] = 0;
  doc->movie.soundPathStraight = be::get_u16(record + kOffSoundPath) != 0 ? 1 : 0;
}

void readAnimationSettings(sfuncSystem* doc, const unsigned char* record, int16_t version,
                           bool full)
{
  KVanimation& a = doc->animation;
  a.length = std::max(be::get_i32(record + kOffAnimLength), kMinLength);
  if (full) {
    double rate = be::get_i16(record + kOffFrameRate);
    if (rate >= 29.0 && be::get_i16(record + kOffRate2997) != 0)
      rate = kNtscRate;
    if (rate <= 1.0)
      rate = 25.0;
    a.frameRate = rate;
  }
  a.mode = version >= kFirstVersionWithMode ? be::get_i16(record + kOffAnimMode) : 1;
}

}  // namespace

// ---- Components ------------------------------------------------------------------

int16_t ConvertArbreIndexToPtr(smalltree* tree, const unsigned char* record, size_t length,
                               int16_t version)
{
  tree->count = 0;
  tree->rootLevel = 0;
  const int root = be::get_i16(record + 2);
  OldLinks links[kMaxComponents] = {};
  int16_t result = kOldTreeRead;
  for (int level = 0; level <= root && result == kOldTreeRead; ++level) {
    const size_t at = kLevelSize * size_t(level);
    if (at + kLevelComponents > length) {
      result = kOldTreeRefused;
      break;
    }
    const uint32_t n = be::get_u32(record + at + kLevelCount);
    if (at + kLevelComponents + kComponentSize * size_t(n) > length) {
      result = kOldTreeRefused;
      break;
    }
    for (uint32_t i = 0; i < n; ++i) {
      if (tree->count >= kMaxComponents) {
        result = kOldTreeRefused;
        break;
      }
      const unsigned char* stored = record + at + kLevelComponents + kComponentSize * i;
      // A family that does not exist could not be bound nor written back.
      if (KV_familyInputs(be::get_u16(stored + kCompFamily)) == 0) {
        result = kOldTreeRefused;
        break;
      }
      const int slot = tree->count++;
      gfunc* g = &tree->funcs[slot];
      readComponent(g, stored, version, &links[slot]);
      g->index = int16_t(slot);
      tree->rootLevel = std::max<int16_t>(tree->rootLevel, g->level);
    }
  }
  for (int slot = 0; slot < tree->count; ++slot)
    for (int k = 0; k < 4; ++k)
      tree->funcs[slot].sources[k] = links[slot].sources[k] >= 0
                                         ? componentAt(tree, tree->count, links[slot].sources[k])
                                         : nullptr;
  return result;
}

// ---- Document fields ------------------------------------------------------------

void ConvertFileArbre(sfuncSystem* doc, const unsigned char* record, bool tables)
{
  doc->movie.soundTree = be::get_u16(record + kOffSoundFlag) == 3 ? 1 : 0;
  doc->tree.kind = int16_t(std::min<int>(be::get_u16(record + kOffKeyCountOfTree), kKeyframeCount));
  doc->paletteNumber = int16_t(be::get_u16(record + kOffPaletteNumber));
  kvtreefile::readViewRect(record + kOffView, &doc->view);
  kvtreefile::readPalette(record + kOffPalette, &doc->tables.gradientKeys);
  arb_setColorfunc(doc, int16_t(be::get_u16(record + kOffColorFunc)), true);
  doc->depthCue = int16_t(be::get_u16(record + kOffColorClass));
  doc->movie.documentByte = record[kOffDocumentByte];
  doc->globalShade = record[kOffColorFlag];
  doc->animPeriod = be::get_u16(record + kOffPeriod);
  doc->animation.timeRandomOffset = be::get_f64(record + kOffOffset);
  doc->tree.selection1 = int8_t(record[kOffSelection1]);
  doc->tree.selection2 = int8_t(be::get_i16(record + kOffSelection2));
  doc->indexPair[0] = be::get_i16(record + kOffIndexPair);
  doc->indexPair[1] = be::get_i16(record + kOffIndexPair + 2);
  doc->fractal.octaves = KV_storedOctaves(be::get_i16(record + kOffOctaves));
  for (int i = 0; i < 3; ++i)
    kvtreefile::readColor(record + kOffDefaultColors + 4 * size_t(i), &doc->defaultColors[i]);
  if (tables) {
    for (int i = 0; i < kPermutationSize; ++i)
      doc->tables.perm[i] = int32_t(be::get_u32(record + kOffPermutation + 4 * size_t(i)));
    arb_compRndVecTable(doc);
  }
  doc->inputMode = 0;
  std::fill(std::begin(doc->masterDoubles), std::end(doc->masterDoubles), 0.0);
}

void Anim_TP_keyframeconvertparams(smalltree*, gfunc* g, void* arg)
{
  auto& w = *static_cast<KVoldKeyWalk*>(arg);
  if (g->paramCount < 1)
    return;
  if (w.n < kListLength) {
    for (int k = 0; k < w.keyCount; ++k) {
      const unsigned char* lists = w.keys + w.keyStride * size_t(k);
      const size_t at = 8 * size_t(w.n);
      g->keyframes[k] = KVparamTriple{be::get_f64(lists + at), be::get_f64(lists + kListBytes + at),
                                      be::get_f64(lists + 2 * kListBytes + at)};
    }
  }
  ++w.n;
}

// ---- Sub-trees ---------------------------------------------------------------------

bool osmalltree_formatdata(smalltree* tree, const unsigned char* section, int16_t version)
{
  if (ConvertArbreIndexToPtr(tree, section, kOldSubtreeSectionSize, version) != kOldTreeRead)
    return false;
  tree->kind = int16_t(std::min<int>(be::get_u16(section + kOffKeyCountOfTree), kKeyframeCount));
  KVoldKeyWalk walk{section + kOffSubtreeKeyLists, 3 * kListBytes, tree->kind, 0};
  arb_TraverseST(tree, Anim_TP_keyframeconvertparams, &walk);
  kvtreefile::readPascal(section + kOffSubtreeName, kOldSubtreeSectionSize - kOffSubtreeName,
                         tree->name, sizeof(tree->name));
  arb_SetFuncID(tree, false);
  arb_BalancedisplayIndex(tree);
  // The level-0 components read the sub-tree's inputs, numbered in turn.
  int16_t code = kSourceMasterX;
  for (int i = 0; i < tree->count; ++i) {
    gfunc* g = &tree->funcs[i];
    if (g->level != 0)
      continue;
    for (int k = 0; k < KV_familyInputs(g->family); ++k) {
      g->sources[k] = nullptr;
      g->inlets[k].source = code < kSourceSubtreeInlet1 ? code++ : code;
    }
  }
  tree->version = version;
  return true;
}

void convert_smalltree(sfuncSystem* doc, const unsigned char* sections, size_t length,
                       int16_t version)
{
  size_t next = 0;
  for (int i = 0; i < doc->tree.count; ++i) {
    gfunc* owner = &doc->tree.funcs[i];
    if (owner->funcID != kCompiledTreeId)
      continue;
    smalltree* tree = smalltree_Allocate(doc, owner);
    if (tree == nullptr) {
      PlayAlertSound();
      PlayAlertSound();
      continue;
    }
    const bool have = next + kOldSubtreeSectionSize <= length;
    if (!have || !osmalltree_formatdata(tree, sections + next, version))
      smalltree_newCT(doc, owner, tree);
    else
      convertCTinput(tree);
    if (have)
      next += kOldSubtreeSectionSize;
  }
}

// ---- Inputs ---------------------------------------------------------------------------

void arb_oldinputread(sfuncSystem* doc, const FileRef& file, const unsigned char* record)
{
  for (int s = 0; s < kOldSlots; ++s) {
    KVinputSlot& slot = doc->inputs[s];
    if (slot.sourceKind != kInputOwnFile || slot.inUse == 0)
      continue;
    const unsigned char* storedRef = record + kOffFileRefs + kFileRefSize * size_t(s);
    slot.nativeSize = record[kOffSlotFlags + size_t(s)] & 1;
    slot.movieMode = 1;
    slot.movieOption = 0;
    slot.movieHold = 0;
    slot.startValue = be::get_u32(record + kOffStartValues + 4 * size_t(s));
    slot.file.volume = be::get_i16(storedRef);
    slot.file.parentID = be::get_i32(storedRef + 2);
    kvtreefile::readPascal(storedRef + 6, 64, slot.file.name, sizeof(slot.file.name));
    // A missing file gives the default picture; the user's file is never
    // rewritten while it is read.
    if (!arb_restoreInputSlot(doc, file, s))
      slot.file.name[0] = 0;
  }
}

OSErr arb_oldreplaceInputRefs(const FileRef& file, const unsigned char* record)
{
  return kvtreefile::writeRangeInPlace(file, kOldTreeRecordSize, kOffInputRefs, kInputRefsSize,
                                       record + kOffInputRefs);
}

// ---- The whole conversion ----------------------------------------------------------

int16_t arb_oldformatREAD(sfuncSystem* doc, const FileRef& file, bool full, bool tables,
                          const unsigned char* record, size_t length, sSoundfunc* sound)
{
  if (record == nullptr || length < kOldTreeRecordSize)
    return kOldTreeRefused;
  if (tables && !permutationValid(record))
    return kOldTreeRefused;
  const int16_t version = be::get_i16(record);
  if (full)
    arb_ClearAuxMemory(doc, true);
  arb_Clear(doc, true, true);
  const int16_t converted = ConvertArbreIndexToPtr(&doc->tree, record, kOldTreeRecordSize, version);
  if (converted != kOldTreeRead) {
    arb_ServiceChanges(doc, false);
    return converted;
  }
  ConvertFileArbre(doc, record, tables);
  if (sound != nullptr && doc->movie.soundTree != 0)
    readSoundSettings(doc, record, sound);
  arb_SetFuncID(&doc->tree, false);
  doc->treeChanged = 1;
  arb_RecomputeFlags(doc, false);
  arb_BalancedisplayIndex(&doc->tree);
  if (full)
    readKeyframes(doc, record);
  convert_smalltree(doc, record + kOldTreeRecordSize, length - kOldTreeRecordSize, version);
  readAnimationSettings(doc, record, version, full);
  arb_ServiceChanges(doc, false);
  arb_RecomputeFlags(doc, true);
  if (full && doc->inputCount > 0)
    arb_oldinputread(doc, file, record);
  doc->tree.kind = doc->animation.keyCount;
  return kOldTreeRead;
}
