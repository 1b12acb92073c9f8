#include "foundation/mempool.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/appshell.h"
#include "pstr.h"

namespace {

// What the pool told the user before it ended the program.
struct PoolEnded
{};
std::string gReportedText;
int32_t gReportedNumber = -1;

void record_report(ConstStringPtr text, int32_t number)
{
  gReportedText = PText(text);
  gReportedNumber = number;
}
void throw_on_exit()
{
  throw PoolEnded{};
}

class MemPoolTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gReportedText.clear();
    gReportedNumber = -1;
    previousReport_ = SetReportTextProc(record_report);
    previousExit_ = SetExitProc(throw_on_exit);
    finit(&pool_, kMemPoolFloorSize);
  }
  void TearDown() override
  {
    fkill(&pool_);
    SetReportTextProc(previousReport_);
    SetExitProc(previousExit_);
  }

  MemPool pool_{nullptr, 0, 0};
  ReportTextProc previousReport_ = nullptr;
  ExitProc previousExit_ = nullptr;
};

TEST_F(MemPoolTest, CreatesZeroFilledAlignedBlock)
{
  ASSERT_NE(pool_.base, nullptr);
  EXPECT_EQ(pool_.capacity, 1003616u);
  EXPECT_EQ(pool_.used, 0u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(pool_.base) % 16, 0u);
  for (uint32_t i = 0; i < pool_.capacity; ++i)
    ASSERT_EQ(pool_.base[i], 0) << "byte " << i;
}

TEST(MemPoolCapacity, RoundsSizePlusSixteenDownToSixteen)
{
  struct Case
  {
    int32_t size;
    uint32_t capacity;
  } cases[] = {{0, 16}, {1, 16}, {15, 16}, {16, 32}, {17, 32}, {1003600, 1003616}};
  for (const Case& c : cases) {
    MemPool pool{nullptr, 0, 0};
    finit(&pool, c.size);
    EXPECT_EQ(pool.capacity, c.capacity) << "size " << c.size;
    fkill(&pool);
  }
}

TEST_F(MemPoolTest, StepsAreSizesRoundedUpToSixteen)
{
  struct Case
  {
    int32_t size;
    uint32_t step;
  } cases[] = {{1, 16}, {16, 16}, {17, 32}, {0, 0}, {0, 0}, {100, 112}};
  for (const Case& c : cases) {
    uint32_t before = pool_.used;
    void* object = AddMemObject(&pool_, c.size);
    EXPECT_EQ(object, pool_.base + before) << "size " << c.size;
    EXPECT_EQ(pool_.used - before, c.step) << "size " << c.size;
  }
}

TEST_F(MemPoolTest, ObjectsAreZeroAlignedAndDisjoint)
{
  const int32_t sizes[] = {3, 40, 16, 1, 257, 64};
  std::vector<unsigned char*> objects;
  for (int32_t size : sizes) {
    auto* object = static_cast<unsigned char*>(AddMemObject(&pool_, size));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(object) % 16, 0u);
    for (int32_t i = 0; i < size; ++i)
      ASSERT_EQ(object[i], 0);
    // Fill it so that an overlapping later object would not read as zero.
    for (int32_t i = 0; i < size; ++i)
      object[i] = 0xEE;
    objects.push_back(object);
  }
  for (size_t k = 1; k < objects.size(); ++k)
    EXPECT_GE(objects[k] - objects[k - 1], sizes[k - 1]);
}

TEST_F(MemPoolTest, WholeFloorFitsThenOneMoreByteEndsTheProgram)
{
  EXPECT_EQ(AddMemObject(&pool_, kMemPoolFloorSize), pool_.base);
  EXPECT_EQ(pool_.used, uint32_t(kMemPoolFloorSize));
  EXPECT_THROW(AddMemObject(&pool_, 1), PoolEnded);
  EXPECT_EQ(gReportedText, "Static Mem block too small");
  EXPECT_EQ(gReportedNumber, 0);
  EXPECT_EQ(pool_.used, uint32_t(kMemPoolFloorSize));
}

TEST_F(MemPoolTest, NegativeSizeFailsWithoutMovingUsed)
{
  AddMemObject(&pool_, 64);
  for (int32_t size : {-1, -16, -64, INT32_MIN}) {
    gReportedText.clear();
    EXPECT_THROW(AddMemObject(&pool_, size), PoolEnded) << "size " << size;
    EXPECT_EQ(gReportedText, "Static Mem block too small");
    EXPECT_EQ(pool_.used, 64u);
  }
}

TEST_F(MemPoolTest, KillReturnsBlockAndKeepsCounts)
{
  AddMemObject(&pool_, 20);
  fkill(&pool_);
  EXPECT_EQ(pool_.base, nullptr);
  EXPECT_EQ(pool_.capacity, 1003616u);
  EXPECT_EQ(pool_.used, 32u);
  fkill(&pool_);  // a second kill does nothing
  EXPECT_EQ(pool_.base, nullptr);
}

TEST(MemPoolDeathTest, ExhaustionTellsTheUserAndExits)
{
  auto exhaust = [] {
    // The program's own pool: it stays reachable when the process exits.
    finit(&gMemPool, 32);
    AddMemObject(&gMemPool, 32);
    AddMemObject(&gMemPool, 1);
  };
  EXPECT_EXIT(exhaust(), ::testing::ExitedWithCode(1), "Static Mem block too small = \"0\"");
}

TEST(MemPoolStartupSize, IsTheLargerOfFloorAndCarvedSteps)
{
  EXPECT_EQ(MemPoolStartupSize({}), kMemPoolFloorSize);
  EXPECT_EQ(MemPoolStartupSize({131072, 1000}), kMemPoolFloorSize);
  EXPECT_EQ(MemPoolStartupSize({2000000, 1}), 2000016);
  EXPECT_EQ(MemPoolStartupSize({size_t(1) << 40}), 0x7FFFFFE0);
}

}  // namespace
