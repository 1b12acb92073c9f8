// Input references in tree files: what is stored for each slot, what is
// restored for the used, file-fed slots, and the widening of the
// four-slot records of versions 15 to 17.
#include <gtest/gtest.h>
#include <vector>

#include "document/treefile.h"
#include "foundation/bigendian.h"
#include "tests/document/sample_tree.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr size_t kFlags = 19316;
constexpr size_t kStarts = 19324;
constexpr size_t kSpecs = 19356;

std::string nameOf(const KVinputSlot& slot)
{
  return std::string(reinterpret_cast<const char*>(slot.file.name + 1), slot.file.name[0]);
}

class InputRefsTest : public testing::Test
{
protected:
  void SetUp() override
  {
    doc_ = std::make_unique<sfuncSystem>();
    arb_Init(doc_.get());
    for (int s = 0; s < kInputSlots; s++) {
      KVinputSlot& slot = doc_->inputs[s];
      std::string name = "pic" + std::to_string(s) + ".png";
      kvsample::setPascal(slot.file.name, name.c_str());
      slot.file.volume = int16_t(-100 - s);
      slot.file.parentID = 5000 + s;
      slot.startValue = 10u * uint32_t(s + 1);
      slot.nativeSize = 1;
      slot.movieOption = 2;
      slot.movieMode = 3;
      slot.inUse = 1;
    }
  }
  std::unique_ptr<sfuncSystem> doc_;
};

TEST_F(InputRefsTest, StoredFlagsAndNamesFollowTheSlots)
{
  doc_->inputs[2].inUse = 0;
  doc_->inputs[3].sourceKind = kInputFixedBuffer;
  doc_->inputs[4].sourceKind = kInputLiveBuffer;
  Bytes record(kTreeRecordSize, 0);
  arb_setInputRefs(doc_.get(), record.data());
  EXPECT_EQ(record[kFlags + 0], 0x35);
  EXPECT_EQ(be::get_u32(&record[kStarts + 4 * 7]), 80u);
  EXPECT_EQ(be::get_i16(&record[kSpecs + 70 * 1]), -101);
  EXPECT_EQ(be::get_i32(&record[kSpecs + 70 * 1 + 2]), 5001);
  struct Case
  {
    int slot;
    int nameLength;
  };
  for (Case c : {Case{0, 8}, Case{2, 0}, Case{3, 0}, Case{4, 8}})
    EXPECT_EQ(record[kSpecs + 70 * size_t(c.slot) + 6], c.nameLength) << "slot " << c.slot;
}

TEST_F(InputRefsTest, RestoringTouchesOnlyUsedFileFedSlots)
{
  Bytes record(kTreeRecordSize, 0);
  arb_setInputRefs(doc_.get(), record.data());
  auto target = std::make_unique<sfuncSystem>();
  arb_Init(target.get());
  for (int s = 0; s < kInputSlots; s++)
    target->inputs[s].inUse = 1;
  target->inputs[1].inUse = 0;
  target->inputs[6].sourceKind = kInputFixedBuffer;
  target->inputs[0].movieHold = 1;
  arb_getInputRefs(target.get(), record.data(), kTreeVersion);

  const KVinputSlot& s0 = target->inputs[0];
  EXPECT_EQ(nameOf(s0), "pic0.png");
  EXPECT_EQ(s0.nativeSize, 1);
  EXPECT_EQ(s0.movieOption, 2);
  EXPECT_EQ(s0.movieMode, 3);
  EXPECT_EQ(s0.movieHold, 0);
  EXPECT_EQ(s0.startValue, 10u);
  EXPECT_EQ(s0.file.parentID, 5000);
  EXPECT_EQ(nameOf(target->inputs[1]), "");
  EXPECT_EQ(nameOf(target->inputs[6]), "");
  EXPECT_EQ(nameOf(target->inputs[7]), "pic7.png");
}

TEST_F(InputRefsTest, OldVersionsTakeTheMovieModeOfEverySlotFromOneByte)
{
  Bytes record(kTreeRecordSize, 0);
  arb_setInputRefs(doc_.get(), record.data());
  record[18962] = 9;
  auto target = std::make_unique<sfuncSystem>();
  arb_Init(target.get());
  target->inputs[0].inUse = 1;
  arb_getInputRefs(target.get(), record.data(), 16);
  EXPECT_EQ(target->inputs[0].movieMode, 9);
  EXPECT_EQ(target->inputs[0].movieOption, 0);
  EXPECT_EQ(target->inputs[0].nativeSize, 1);
}

TEST(TreeRecordWidening, FourSlotRecordsMoveToTheirCurrentPlaces)
{
  Bytes narrow(kNarrowTreeRecordSize, 0);
  for (size_t i = 0; i < 19316; i++)
    narrow[i] = uint8_t(i * 7);
  for (int s = 0; s < 4; s++) {
    narrow[19316 + size_t(s)] = uint8_t(0x10 + s);
    be::put_u32(&narrow[19320 + 4 * size_t(s)], 100u + uint32_t(s));
    narrow[19336 + 70 * size_t(s) + 6] = uint8_t(s + 1);
  }
  for (size_t i = 19616; i < kNarrowTreeRecordSize; i++)
    narrow[i] = uint8_t(i * 13 + 1);
  Bytes wide(kTreeRecordSize, 0xEE);
  arb_widenTreeRecord(narrow.data(), wide.data());

  EXPECT_TRUE(std::equal(narrow.begin(), narrow.begin() + 19316, wide.begin()));
  for (int s = 0; s < 8; s++) {
    SCOPED_TRACE(s);
    EXPECT_EQ(wide[19316 + size_t(s)], s < 4 ? 0x10 + s : 0);
    EXPECT_EQ(be::get_u32(&wide[19324 + 4 * size_t(s)]), s < 4 ? 100u + uint32_t(s) : 0u);
    EXPECT_EQ(wide[19356 + 70 * size_t(s) + 6], s < 4 ? s + 1 : 0);
  }
  EXPECT_TRUE(std::equal(narrow.begin() + 19616, narrow.end(), wide.begin() + 19916));
}

}  // namespace

namespace {

TEST(InputRefsVersion17, OnlySlotsZeroToThreeAreRestored)
{
  auto source = std::make_unique<sfuncSystem>();
  arb_Init(source.get());
  for (int s = 0; s < kInputSlots; s++) {
    kvsample::setPascal(source->inputs[s].file.name, "movie.mov");
    source->inputs[s].inUse = 1;
  }
  Bytes record(kTreeRecordSize, 0);
  arb_setInputRefs(source.get(), record.data());
  auto target = std::make_unique<sfuncSystem>();
  arb_Init(target.get());
  for (int s = 0; s < kInputSlots; s++)
    target->inputs[s].inUse = 1;
  kvsample::setPascal(target->inputs[5].file.name, "kept.png");
  arb_getInputRefs(target.get(), record.data(), 17);
  EXPECT_EQ(nameOf(target->inputs[3]), "movie.mov");
  EXPECT_EQ(nameOf(target->inputs[4]), "");
  EXPECT_EQ(nameOf(target->inputs[5]), "kept.png");
}

}  // namespace
