// What the tree-file reader allocates is owned by the document it reads into
// and goes with it: compiled sub-trees read over a document that already owns
// some, refused sub-tree sections, and a long-lived document given up the way
// the fuzz target gives up its own. Under LeakSanitizer every test ends with
// a leak check, so a sub-tree that nothing owns any more fails the test.
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "document/compiledtrees.h"
#include "document/treefile.h"
#include "engine/treemanage.h"
#include "engine/treesection.h"
#include "foundation/bigendian.h"
#include "tests/document/sample_tree.h"
#include "tests/fuzz/fuzz_document.h"
#include "tests/platform/tempfolder.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_TEST_HAS_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KV_TEST_HAS_LSAN 1
#endif
#ifdef KV_TEST_HAS_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using Bytes = std::vector<unsigned char>;

unsigned char* recordOf(unsigned char* section, int i)
{
  return section + kComponentRecordsOffset + size_t(i) * kComponentRecordSize;
}

void putComponent(unsigned char* section, int slot, uint16_t family, uint16_t id, uint8_t level,
                  int16_t source, uint16_t code)
{
  unsigned char* r = recordOf(section, slot);
  be::put_u16(r + kRecFamily, family);
  be::put_u16(r + kRecFuncID, id);
  be::put_i16(r + kRecIndex, int16_t(slot));
  r[kRecLevel] = level;
  for (int j = 0; j < 4; j++)
    be::put_i16(r + kRecSources + 2 * size_t(j), -1);
  be::put_i16(r + kRecSources, source);
  be::put_u16(r + kRecInletCodes, code);
  be::put_u16(r + kRecInletCodes + 2, code);
}

// A current tree file: one f21 "x" component feeding `compiled` compiled
// sub-tree components side by side, each followed in the file by a section
// of one f21 component reading the sub-tree's first two inlets. Everything
// else in the record is zero (view -pi..pi, permutation of zeros).
Bytes fileWithCompiledTrees(int compiled)
{
  Bytes file(kTreeRecordSize + size_t(compiled) * kComponentSectionSize, 0);
  be::put_u16(file.data(), kTreeVersion);
  be::put_u16(file.data() + 2, uint16_t(1 + compiled));
  putComponent(file.data(), 0, kFamily21, 0, 0, -1, kSourceMasterX);
  for (int k = 0; k < compiled; k++)
    putComponent(file.data(), 1 + k, kFamily21, kCompiledTreeId, 1, 0, kSourceOutput1);
  for (int k = 0; k < compiled; k++) {
    unsigned char* section = file.data() + kTreeRecordSize + size_t(k) * kComponentSectionSize;
    be::put_u16(section, kTreeVersion);
    be::put_u16(section + 2, 1);
    putComponent(section, 0, kFamily21, 5, 0, -1, kSourceSubtreeInlet1);
  }
  return file;
}

int ownedSubtrees(const sfuncSystem& doc)
{
  return int(std::count_if(std::begin(doc.embedded), std::end(doc.embedded),
                           [](const smalltree* t) { return t != nullptr; }));
}

// Overwrites a stretch of the stack, so that no pointer left there by the
// calls before keeps a lost block looking reachable to the leak check.
[[gnu::noinline]] void scrubStack()
{
  volatile unsigned char scratch[1 << 16];
  for (size_t i = 0; i < sizeof scratch; i++)
    scratch[i] = 0;
}

bool leaksFound()
{
#ifdef KV_TEST_HAS_LSAN
  scrubStack();
  return __lsan_do_recoverable_leak_check() != 0;
#else
  return false;
#endif
}

// Reads through the fuzz target's document: a file with sub-trees, the same
// file again over the sub-trees it left, a damaged file, and one without
// sub-trees. Returns the sub-trees owned after each step.
[[gnu::noinline]] std::vector<int> readSequenceIntoFuzzDocument()
{
  struct Step
  {
    Bytes bytes;
    int16_t expected;
  };
  Bytes damaged = fileWithCompiledTrees(2);
  damaged.resize(kTreeRecordSize + 100);  // the first sub-tree section cut short
  const Step steps[] = {
      {fileWithCompiledTrees(3), kTreeReadOK},
      {fileWithCompiledTrees(2), kTreeReadOK},
      {damaged, kTreeReadDamaged},
      {fileWithCompiledTrees(0), kTreeReadOK},
      {fileWithCompiledTrees(16), kTreeReadOK},
  };
  std::vector<int> owned;
  kvfuzz::FuzzDocument fuzz;
  for (const Step& s : steps) {
    EXPECT_EQ(fuzz.read(s.bytes.data(), s.bytes.size()), s.expected);
    owned.push_back(ownedSubtrees(*fuzz.doc()));
  }
  return owned;
}

TEST(TreeFileRelease, LongLivedDocumentOwnsWhatItReadsAndReleasesItWhenGivenUp)
{
  // The damaged file leaves the document as the read before it left it.
  EXPECT_EQ(readSequenceIntoFuzzDocument(), (std::vector<int>{3, 2, 2, 0, 16}));
  EXPECT_FALSE(leaksFound());
}

[[gnu::noinline]] void readIntoDocumentAndRefuseASection(int* ownedAfterRead,
                                                         bool* linkedAfterRefusal)
{
  auto world = kvsample::makeWorld(1);
  sfuncSystem* doc = &world->doc;
  TempFolder folder;
  const Bytes file = fileWithCompiledTrees(2);
  FileRef ref = folder.write("two.kovr", std::string(file.begin(), file.end()));
  AlertSoundProc previous = SetAlertSoundProc([](bool) {});
  EXPECT_EQ(arb_READ(doc, ref, true, true, nullptr), kTreeReadOK);
  *ownedAfterRead = ownedSubtrees(*doc);

  // A section handed over without the file's checks (a count above 32) is
  // refused: its component stays without a sub-tree, and the sub-tree taken
  // for it is not kept.
  arb_ClearAuxMemory(doc, true);
  Bytes bad(file.begin() + kTreeRecordSize, file.begin() + kTreeRecordSize + kComponentSectionSize);
  be::put_u16(bad.data() + 2, 40);
  smalltree_GetInFile(doc, bad.data(), 1);
  *linkedAfterRefusal = arb_subtreeOf(&doc->tree.funcs[1]) != nullptr || ownedSubtrees(*doc) != 0;

  SetAlertSoundProc(previous);
  arb_Clear(doc, true, true);
  gKovrelinWorld = nullptr;
}

TEST(TreeFileRelease, RefusedSubTreeSectionLeavesNothingBehind)
{
  int owned = 0;
  bool linked = true;
  readIntoDocumentAndRefuseASection(&owned, &linked);
  EXPECT_EQ(owned, 2);
  EXPECT_FALSE(linked);
  EXPECT_FALSE(leaksFound());
}

}  // namespace
