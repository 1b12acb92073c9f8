// The component section of the tree file form: its byte layout, a round trip
// through it, and damaged sections.
#include "engine/treesection.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "foundation/bigendian.h"
#include "testfamily.h"

namespace {

using Section = std::vector<unsigned char>;

unsigned char* record(Section& s, int i)
{
  return s.data() + kComponentRecordsOffset + size_t(i) * kComponentRecordSize;
}

// 0 add, 1 packer(0, 0, 0), 2 mul(1, 0) with parameters, keyframes, locks,
// selections and an auxiliary index.
std::unique_ptr<sfuncSystem> makeSectionDocument()
{
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  addTestComponent(&t, TestMember::kAdd, 0);
  addTestComponent(&t, TestMember::kPacker, 1, {0, 0, 0});
  gfunc* mul = addTestComponent(&t, TestMember::kMul, 2, {1, 0});
  mul->inlets[1].source = 1;
  mul->A = -1.5;
  mul->B = 1e-300;
  mul->keyframes[15] = KVparamTriple{1, 2, 3};
  mul->lockFlags = 5;
  mul->evalFlag = 1;
  mul->auxIndex = 3;
  mul->displayIndex = -1;
  t.funcs[0].inlets[0].source = 6;
  t.funcs[0].inlets[1].source = 11;
  t.selection1 = 2;
  t.selection2 = -1;
  return doc;
}

Section sectionOf(smalltree* tree, int16_t kind)
{
  Section s(kComponentSectionSize, 0xAB);
  arb_2_farb(tree, s.data(), kind);
  return s;
}

TEST(ComponentSection, LaysOutTheTreeInBigEndianRecords)
{
  TestWorld world;
  auto doc = makeSectionDocument();
  Section s = sectionOf(&doc->tree, 7);
  EXPECT_EQ(be::get_u16(s.data()), 20);
  EXPECT_EQ(be::get_u16(s.data() + 2), 3);
  EXPECT_EQ(be::get_u16(s.data() + 14212), 7);
  EXPECT_EQ(be::get_i16(s.data() + 14214), 2);
  EXPECT_EQ(be::get_i16(s.data() + 14216), -1);
  EXPECT_EQ(std::memcmp(s.data() + 14220, "qjKv", 4), 0);
  EXPECT_EQ(s[14225], 2);  // the root slot
  EXPECT_EQ(std::memcmp(s.data() + 14228, "\x04Main", 5), 0);

  const unsigned char* mul = record(s, 2);
  EXPECT_EQ(be::get_u16(mul + 0), kFamily21);
  EXPECT_EQ(be::get_u16(mul + 2), 2);
  EXPECT_EQ(be::get_i16(mul + 4), 2);
  EXPECT_EQ(be::get_u16(mul + 6), 3);
  EXPECT_EQ(mul[8], 2);
  EXPECT_EQ(mul[9], 0xFF);
  EXPECT_EQ(mul[10], 2);
  EXPECT_EQ(mul[11], 5);
  const int16_t sources[4] = {1, 0, -1, -1};  // two inputs: the rest -1
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(be::get_i16(mul + 12 + 2 * k), sources[k]) << k;
  EXPECT_EQ(be::get_u16(mul + 22), 1);
  EXPECT_EQ(be::get_f64(mul + 28), -1.5);
  EXPECT_EQ(be::get_f64(mul + 36), 1e-300);
  EXPECT_EQ(be::get_u32(mul + 52), 0u);
  EXPECT_EQ(be::get_u32(mul + 56), 1u);
  EXPECT_EQ(be::get_f64(mul + 60 + 24 * 15 + 16), 3.0);
  EXPECT_EQ(be::get_i16(record(s, 1) + 12 + 4), 0);  // the packer's third input

  EXPECT_EQ(be::get_u16(record(s, 0) + 20), 6);
  EXPECT_EQ(be::get_u16(record(s, 0) + 22), 11);
  for (int i = 3; i < 32; ++i) {
    EXPECT_EQ(be::get_u16(record(s, i)), 0);
    EXPECT_EQ(be::get_i16(record(s, i) + 12 + 6), -1);
  }
}

// A tree whose count runs past its 32 slots is written as its 32 slots: the
// stored count matches the records and the root search stays in the tree.
TEST(ComponentSection, CountAboveTheSlotsIsWrittenAsTheSlots)
{
  TestWorld world;
  auto doc = makeSectionDocument();
  doc->tree.count = 40;
  doc->tree.rootLevel = 99;  // no slot is on it: the search runs to the end
  Section s = sectionOf(&doc->tree, 0);
  EXPECT_EQ(be::get_u16(s.data() + 2), 32);
  EXPECT_EQ(s[14225], 0);
}

TEST(ComponentSection, TreeSurvivesARoundTrip)
{
  TestWorld world;
  auto doc = makeSectionDocument();
  const Section first = sectionOf(&doc->tree, 4);

  auto copy = makeTestDocument();
  ASSERT_EQ(arb_rebuild(first.data(), &copy->tree), KVsectionError::kNone);
  rebindTestMembers(&copy->tree);
  Section second = sectionOf(&copy->tree, copy->tree.kind);
  // The parameter count is written from binding; the catalog binds these keys.
  Section expected = first;
  for (int i = 0; i < 3; ++i)
    record(second, i)[kRecParamCount] = record(expected, i)[kRecParamCount] = 0;
  EXPECT_EQ(second, expected);

  const smalltree& t = copy->tree;
  EXPECT_EQ(t.count, 3);
  EXPECT_EQ(t.rootLevel, 2);
  EXPECT_EQ(t.selected, 2);
  EXPECT_EQ(t.kind, 4);
  EXPECT_EQ(t.funcs[2].sources[0], &t.funcs[1]);
  EXPECT_EQ(t.funcs[1].sources[2], &t.funcs[0]);
  EXPECT_EQ(t.funcs[2].A, -1.5);
  EXPECT_EQ(t.funcs[2].lockFlags, 5);
  EXPECT_EQ(t.funcs[2].evalFlag, 1);
  EXPECT_EQ(t.funcs[2].link, nullptr);
  EXPECT_EQ(t.rootChanged, 1);
}

TEST(ComponentSection, IndexAbove75KeepsTheCatalogDefaults)
{
  TestWorld world;
  auto doc = makeSectionDocument();
  Section s = sectionOf(&doc->tree, 0);
  be::put_i16(record(s, 2) + kRecIndex, 80);
  auto copy = makeTestDocument();
  ASSERT_EQ(arb_rebuild(s.data(), &copy->tree), KVsectionError::kNone);
  gfunc expectedDefaults{};
  setFunc(&expectedDefaults, kFamily21, 2, kBindDefaults);
  EXPECT_EQ(copy->tree.funcs[2].index, 80);
  EXPECT_EQ(std::memcmp(&copy->tree.funcs[2].A, &expectedDefaults.A, sizeof(double)), 0);
  EXPECT_EQ(copy->tree.funcs[1].index, 1);
}

TEST(ComponentSection, DamagedSectionsAreRefusedOrUnlinked)
{
  struct Case
  {
    const char* what;
    std::function<void(Section&)> damage;
    KVsectionError error;
    bool mulLinkedTo1;  // after a successful rebuild: input 1 of slot 2 still linked
  };
  const Case cases[] = {
      {"count above 32", [](Section& s) { be::put_u16(s.data() + 2, 33); },
       KVsectionError::kBadCount, false},
      {"count 65535", [](Section& s) { be::put_u16(s.data() + 2, 0xFFFF); },
       KVsectionError::kBadCount, false},
      {"family 14", [](Section& s) { be::put_u16(record(s, 1), 14); }, KVsectionError::kBadFamily,
       false},
      {"family 0 in a used record", [](Section& s) { be::put_u16(record(s, 0), 0); },
       KVsectionError::kBadFamily, false},
      {"family 300", [](Section& s) { be::put_u16(record(s, 2), 300); }, KVsectionError::kBadFamily,
       false},
      {"source out of range", [](Section& s) { be::put_i16(record(s, 2) + 12, 40); },
       KVsectionError::kNone, false},
      {"source at its own slot", [](Section& s) { be::put_i16(record(s, 2) + 12, 2); },
       KVsectionError::kNone, false},
      {"source above its slot", [](Section& s) { be::put_i16(record(s, 1) + 12, 2); },
       KVsectionError::kNone, true},
      {"source in an empty slot", [](Section& s) { be::put_i16(record(s, 2) + 12, 20); },
       KVsectionError::kNone, false},
      {"negative source", [](Section& s) { be::put_i16(record(s, 2) + 12, -7); },
       KVsectionError::kNone, false},
  };
  TestWorld world;
  auto doc = makeSectionDocument();
  const Section good = sectionOf(&doc->tree, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Section s = good;
    c.damage(s);
    auto target = makeTestDocument();
    addTestComponent(&target->tree, TestMember::kAdd, 0);
    EXPECT_EQ(arb_rebuild(s.data(), &target->tree), c.error);
    const smalltree& t = target->tree;
    if (c.error != KVsectionError::kNone) {
      EXPECT_EQ(t.count, 1);  // untouched
      continue;
    }
    EXPECT_EQ(t.count, 3);
    EXPECT_EQ(t.funcs[2].sources[0] != nullptr, c.mulLinkedTo1);
    for (int i = 0; i < t.count; ++i)
      for (const gfunc* src : t.funcs[i].sources)
        if (src != nullptr) {
          EXPECT_LT(src, &t.funcs[i]);
        }
  }
}

TEST(ComponentSection, RandomSectionsNeverLinkForwardOrOutside)
{
  TestWorld world;
  std::mt19937 rng(20240611);
  auto target = makeTestDocument();
  for (int round = 0; round < 200; ++round) {
    Section s(kComponentSectionSize);
    for (unsigned char& b : s)
      b = uint8_t(rng());
    const int count = int(rng() % 33);
    be::put_u16(s.data() + 2, uint16_t(count));
    for (int i = 0; i < count; ++i) {
      const uint16_t families[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18};
      be::put_u16(record(s, i), families[rng() % 17]);
      be::put_u16(record(s, i) + 2, uint16_t(rng() % 130));
      for (int k = 0; k < 4; ++k)
        be::put_i16(record(s, i) + 12 + 2 * k, int16_t(int(rng() % 70) - 20));
    }
    ASSERT_EQ(arb_rebuild(s.data(), &target->tree), KVsectionError::kNone);
    const smalltree& t = target->tree;
    ASSERT_EQ(t.count, count);
    for (int i = 0; i < t.count; ++i)
      for (const gfunc* src : t.funcs[i].sources)
        if (src != nullptr) {
          EXPECT_GE(src, &t.funcs[0]);
          EXPECT_LT(src, &t.funcs[i]);
        }
  }
  arb_Clear(target.get(), true, true);
}

TEST(FindIndexByUniqId, FindsTheRecordCarryingAnIndex)
{
  Section s(kComponentSectionSize, 0);
  const int16_t stored[4] = {3, 0, 5, 5};
  for (int i = 0; i < 4; ++i)
    be::put_i16(record(s, i) + kRecIndex, stored[i]);
  struct Case
  {
    int16_t count, index, expected;
  };
  const Case cases[] = {
      {4, 5, 2},                    // first carrier
      {4, 3, 0},                    // record 0 carries it
      {4, 0, 1},                    // record 0 carries 3, record 1 carries 0
      {4, 9, 9},                    // nobody: the index itself
      {0, 5, 5},                    // empty section
      {4, -3, -3},                  // negative: never read outside
      {4, 1000, 1000}, {40, 5, 2},  // a count beyond the records is held to 32
  };
  for (const Case& c : cases)
    EXPECT_EQ(findindexbyuniqid(s.data(), c.count, c.index), c.expected)
        << c.count << " " << c.index;
}

}  // namespace
