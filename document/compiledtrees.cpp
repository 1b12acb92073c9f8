// Compiled sub-trees: type codes, logical inputs and outputs, the document's
// table of embedded trees, inlet codes, sections and compiled-tree files.

#include "document/compiledtrees.h"

#include <algorithm>
#include <string>
#include <vector>

#include "document/treefile.h"
#include "document/treefile_pvt.h"
#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "engine/treesection.h"
#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "foundation/fileio.h"
#include "foundation/filenames.h"
#include "foundation/handles.h"

namespace {

constexpr int16_t kFirstCurrentInletVersion = 20;  // below it inlets are codes 6..9
constexpr int16_t kFirstBalancedVersion = 16;
constexpr int16_t kNewTreeVersion = 16;
constexpr int kOldInletFirst = 6;
constexpr int kOldInletLast = 9;
constexpr int kInletShift = kSourceSubtreeInlet1 - kOldInletFirst;  // 8

// One cell of the type-code table: the code and the family that stands for it.
struct TreeType
{
  int inputs;
  int outputs;
  uint16_t family;
};

constexpr TreeType kTreeTypes[] = {
    {1, 1, 1},  {1, 2, 16}, {1, 3, 17}, {1, 4, 18}, {2, 1, 2}, {2, 2, 3},
    {2, 3, 7},  {2, 4, 10}, {2, 5, 13}, {3, 1, 4},  {3, 2, 5}, {3, 3, 8},
    {3, 4, 11}, {3, 5, 14}, {4, 1, 15}, {4, 2, 6},  {4, 3, 9}, {4, 4, 12},
};

constexpr OSType typeCode(char first, char second, int inputs, int outputs)
{
  return (OSType(uint8_t(first)) << 24) | (OSType(uint8_t(second)) << 16) |
         (OSType(uint8_t('0' + inputs)) << 8) | OSType(uint8_t('0' + outputs));
}

bool isOneInputFamily(uint16_t family)
{
  return KV_familyInputs(family) == 1;
}

unsigned char* sectionNameField(unsigned char* section)
{
  return section + kSectionNameOffset;
}

void writeSectionName(const smalltree* tree, unsigned char* section)
{
  kvtreefile::writePascal(tree->name, sectionNameField(section), kSectionNameSize);
}

void setPascal(StringPtr out, size_t capacity, const std::string& text)
{
  size_t n = std::min(text.size(), capacity - 1);
  out[0] = uint8_t(n);
  std::copy_n(text.data(), n, out + 1);
}

// Cuts a Pascal string to at most `max` bytes without splitting a UTF-8
// character.
void cutPascal(StringPtr s, size_t max)
{
  size_t n = s[0];
  if (n <= max)
    return;
  n = max;
  while (n > 0 && (s[n + 1] & 0xC0) == 0x80)
    n--;
  s[0] = uint8_t(n);
}

OSErr writeCompiledTreeFile(const unsigned char* section, const FileRef& folder,
                            ConstStringPtr name, OSType type)
{
  int16_t ok = xWriteBuffer(section, int32_t(kComponentSectionSize), folder, name, type,
                            kCompiledTreeCreator);
  return ok == 1 ? 0 : ioErr;
}

// Takes a sub-tree back from its owner and the document's table and frees it:
// a component whose section is refused stays without a sub-tree rather than
// owning an empty one.
void releaseSubtree(sfuncSystem* doc, gfunc* owner)
{
  auto* tree = static_cast<smalltree*>(owner->link);
  std::replace(std::begin(doc->embedded), std::end(doc->embedded), tree,
               static_cast<smalltree*>(nullptr));
  arb_DisposeSubTree(tree);
  owner->link = nullptr;
  owner->auxIndex = 0;
}

}  // namespace

// ---- Type codes ------------------------------------------------------------

OSType getTreeFTYPE(int16_t inputs, int16_t outputs, StringPtr name)
{
  for (const TreeType& t : kTreeTypes) {
    if (t.inputs != inputs || t.outputs != outputs)
      continue;
    if (name)
      ConcatExtension(name, typeCode('c', 'p', inputs, outputs), 4);
    return typeCode('s', 't', inputs, outputs);
  }
  return 0;
}

int16_t getTreeRealTYPE(OSType type)
{
  for (const TreeType& t : kTreeTypes)
    if (typeCode('s', 't', t.inputs, t.outputs) == type)
      return int16_t(t.family);
  return kFamily11;
}

int16_t smalltree_familyInputs(uint16_t family)
{
  int n = KV_familyInputs(family);
  return int16_t(n == 0 ? 2 : n);
}

int16_t smalltree_familyOutputs(uint16_t family)
{
  int n = KV_familyOutputs(family);
  return int16_t(n == 0 ? 5 : n);
}

void arb_GetTreeLogicalInOuts(const smalltree* tree, int16_t* inputs, int16_t* outputs)
{
  int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  // Inputs: what the level-0 components read.
  int sum = 0, counted = 0, largestCode = kOldInletFirst;
  for (int i = 0; i < count; i++) {
    const gfunc& g = tree->funcs[i];
    if (g.level != 0)
      continue;
    if (isOneInputFamily(g.family)) {
      if (g.inlets[0].source > kOldInletLast)
        continue;
      sum += 1;
      largestCode = std::max<int>(largestCode, g.inlets[0].source);
    } else {
      sum += smalltree_familyInputs(g.family);
      for (const inletinfos& in : g.inlets)
        if (in.source <= kOldInletLast)
          largestCode = std::max<int>(largestCode, in.source);
    }
    counted++;
  }
  if (counted >= 2 && sum > 2)
    sum = largestCode - 5;
  *inputs = int16_t(sum);
  if (!outputs)
    return;

  // Outputs: the root group at the end of the tree.
  int total = 0, groupSize = 0;
  if (count > 0) {
    uint8_t rootLevel = tree->funcs[count - 1].level;
    for (int i = count - 1; i >= 0 && tree->funcs[i].level == rootLevel; i--, groupSize++)
      total += smalltree_familyOutputs(tree->funcs[i].family);
  }
  if (sum == 2 && groupSize == 2 && smalltree_familyOutputs(tree->funcs[count - 2].family) == 2 &&
      smalltree_familyOutputs(tree->funcs[count - 1].family) == 4)
    total = 5;
  *outputs = int16_t(total);
}

// ---- Sub-trees of a document ------------------------------------------------

smalltree* smalltree_Allocate(sfuncSystem* doc, gfunc* owner)
{
  auto* free = std::find(std::begin(doc->embedded), std::end(doc->embedded), nullptr);
  if (free == std::end(doc->embedded))
    return nullptr;
  smalltree* tree = arb_NewSubTree();
  if (!tree)
    return nullptr;
  *free = tree;
  if (owner) {
    owner->link = tree;
    owner->auxIndex = int16_t(free - std::begin(doc->embedded));
  }
  return tree;
}

void smalltree_newCT(sfuncSystem* doc, gfunc* owner, smalltree* tree)
{
  tree->count = 1;
  tree->rootLevel = 1;
  tree->kind = doc->animation.keyCount;
  gfunc* g = &tree->funcs[0];
  int16_t id = owner->funcID == kCompiledTreeId ? 0 : owner->funcID;
  setFunc(g, int16_t(owner->family), id, kBindDefaults);
  g->index = 0;
  g->level = 0;
  g->displayIndex = 0;
  g->A = owner->A;
  g->B = owner->B;
  g->C = owner->C;
  std::copy(std::begin(owner->keyframes), std::end(owner->keyframes), std::begin(g->keyframes));
  for (int j = 0; j < 4; j++) {
    g->inlets[j].source = int16_t(kSourceSubtreeInlet1 + j);
    g->sources[j] = nullptr;
  }
  tree->selection1 = 0;
  tree->selection2 = 0;
  tree->version = kNewTreeVersion;
  tree->selected = 0;
  tree->typeCode = getTreeFTYPE(smalltree_familyInputs(owner->family),
                                smalltree_familyOutputs(owner->family), nullptr);
  setPascal(tree->name, sizeof tree->name, "Untitled");
}

void convertCTinput(smalltree* tree)
{
  int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; i++) {
    gfunc& g = tree->funcs[i];
    if (g.level != 0)
      continue;
    for (inletinfos& in : g.inlets)
      if (in.source >= kOldInletFirst && in.source <= kOldInletLast)
        in.source += kInletShift;
  }
}

void UnconvertCTinput(smalltree* tree)
{
  int count = std::clamp<int>(tree->count, 0, kMaxComponents);
  for (int i = 0; i < count; i++) {
    gfunc& g = tree->funcs[i];
    if (g.level != 0)
      continue;
    for (inletinfos& in : g.inlets)
      if (in.source >= kSourceSubtreeInlet1)
        in.source -= kInletShift;
  }
}

// ---- Sections ---------------------------------------------------------------

bool smalltree_formatdata(smalltree* tree, const unsigned char* section)
{
  int16_t version = be::get_i16(section);
  if (!arb_readSTFileformat(section, tree, version))
    return false;
  arb_SetFuncID(tree, false);
  tree->selection1 = 0;
  tree->version = version;
  tree->typeCode = be::get_u32(section + kSectionMagicOffset);
  tree->kind = int16_t(std::min<int>(be::get_u16(section + kSectionKindOffset), kKeyframeCount));
  kvtreefile::readPascal(section + kSectionNameOffset, kSectionNameSize, tree->name,
                         sizeof tree->name);
  if (version < kFirstBalancedVersion)
    arb_BalancedisplayIndex(tree);
  return true;
}

void smalltree_formattofile(smalltree* tree, unsigned char* section)
{
  arb_writeSTFileformat(tree, section, tree->kind);
  writeSectionName(tree, section);
}

void smalltree_converttofile(sfuncSystem* doc, smalltree* tree, unsigned char* section)
{
  convertCTinput(tree);
  arb_writeSTFileformat(tree, section,
                        int16_t(std::clamp<int>(doc->animation.keyCount, 1, kKeyframeCount)));
  writeSectionName(tree, section);
  UnconvertCTinput(tree);
}

void smalltree_GetInFile(sfuncSystem* doc, const unsigned char* sections, size_t count)
{
  size_t next = 0;
  int components = std::clamp<int>(doc->tree.count, 0, kMaxComponents);
  for (int i = 0; i < components && next < count; i++) {
    gfunc* g = &doc->tree.funcs[i];
    if (g->funcID != kCompiledTreeId)
      continue;
    const unsigned char* section = sections + next * kComponentSectionSize;
    next++;
    smalltree* tree = smalltree_Allocate(doc, g);
    if (!tree) {
      PlayAlertSound();
      PlayAlertSound();
      continue;
    }
    if (!smalltree_formatdata(tree, section)) {
      releaseSubtree(doc, g);
      continue;
    }
    if (tree->version < kFirstCurrentInletVersion)
      convertCTinput(tree);
  }
}

OSErr smalltree_AddInFile(sfuncSystem* doc, unsigned char* section, int16_t fork, int64_t* offset)
{
  int16_t keyframes = int16_t(std::clamp<int>(doc->animation.keyCount, 0, kKeyframeCount));
  int components = std::clamp<int>(doc->tree.count, 0, kMaxComponents);
  for (int i = 0; i < components; i++) {
    smalltree* tree = arb_subtreeOf(&doc->tree.funcs[i]);
    if (!tree)
      continue;
    arb_writeSTFileformat(tree, section, keyframes);
    writeSectionName(tree, section);
    OSErr err = kvfs::writeFork(fork, *offset, kComponentSectionSize, section);
    if (err != 0)
      return err;
    *offset += int64_t(kComponentSectionSize);
  }
  return 0;
}

// ---- Compiled-tree files -------------------------------------------------------

int16_t smalltree_getversion(const FileRef& file)
{
  kvtreefile::ForkReader in(file);
  unsigned char head[2] = {0, 0};
  if (!in.open() || in.read(0, sizeof head, head) != sizeof head)
    return 0;
  return be::get_i16(head);
}

int16_t smalltree_load(smalltree* tree, const FileRef& file, int16_t /*unused*/,
                       unsigned char* section)
{
  kvtreefile::ForkReader in(file);
  if (!in.open())
    return 0;
  if (in.read(0, kComponentSectionSize, section) != kComponentSectionSize)
    return 0;
  int16_t version = be::get_i16(section);
  if (version < kOldestCompiledTreeVersion)
    return 0;
  if (!smalltree_formatdata(tree, section))
    return 0;
  if (version < kFirstCurrentInletVersion)
    convertCTinput(tree);
  Str255 name;
  setPascal(name, sizeof name, file.name);
  RemoveExtension(name, -1);
  cutPascal(name, kLoadedTreeNameMax);
  std::copy_n(name, name[0] + 1, tree->name);
  return 1;
}

OSErr smalltree_save(smalltree* tree, const gfunc* owner, const FileRef& folder, StringPtr name,
                     unsigned char* section)
{
  OSType type = getTreeFTYPE(smalltree_familyInputs(owner->family),
                             smalltree_familyOutputs(owner->family), name);
  if (type == 0) {
    PlayAlertSound();
    return paramErr;
  }
  smalltree_formattofile(tree, section);
  return writeCompiledTreeFile(section, folder, name, type);
}

OSErr smalltree_convertsave(sfuncSystem* doc, smalltree* tree, const FileRef& folder,
                            StringPtr name, unsigned char* section)
{
  int16_t inputs = 0, outputs = 0;
  arb_GetTreeLogicalInOuts(tree, &inputs, &outputs);
  OSType type = getTreeFTYPE(inputs, outputs, name);
  if (type == 0) {
    PlayAlertSound();
    return paramErr;
  }
  smalltree_converttofile(doc, tree, section);
  return writeCompiledTreeFile(section, folder, name, type);
}
