#include "foundation/handles.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/appshell.h"

namespace {

TEST(Handle, ResizeKeepsContentsAndZeroFillsGrowth)
{
  Handle h = NewHandle(4);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(MemError(), noErr);
  EXPECT_EQ(GetHandleSize(h), 4);
  std::memcpy(*h, "abcd", 4);
  SetHandleSize(h, 8);
  EXPECT_EQ(MemError(), noErr);
  EXPECT_EQ(GetHandleSize(h), 8);
  EXPECT_EQ(std::string(*h, *h + 8), std::string("abcd\0\0\0\0", 8));
  SetHandleSize(h, 2);
  EXPECT_EQ(std::string(*h, *h + GetHandleSize(h)), "ab");
  DisposeHandle(h);

  Handle cleared = NewHandleClear(16);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ((*cleared)[i], 0);
  DisposeHandle(cleared);
}

TEST(Handle, BadRequestsReportAnError)
{
  EXPECT_EQ(NewHandle(-1), nullptr);
  EXPECT_EQ(MemError(), paramErr);
  EXPECT_EQ(GetHandleSize(nullptr), 0);
  EXPECT_EQ(MemError(), nilHandleErr);
  SetHandleSize(nullptr, 4);
  EXPECT_EQ(MemError(), nilHandleErr);

  Handle h = NewHandle(3);
  SetHandleSize(h, -5);
  EXPECT_EQ(MemError(), paramErr);
  EXPECT_EQ(GetHandleSize(h), 3);
  DisposeHandle(h);
  DisposeHandle(nullptr);
}

TEST(Handle, ValidityChecks)
{
  char* nullMaster = nullptr;
  alignas(4) char bytes[4] = {};
  char* oddMaster = bytes + 1;
  Handle h = NewHandle(1);
  EXPECT_TRUE(ValidHandle(h));
  EXPECT_FALSE(ValidHandle(nullptr));
  EXPECT_FALSE(ValidHandle(&nullMaster));
  EXPECT_FALSE(ValidHandle(&oddMaster));
  EXPECT_TRUE(ValidPointer(bytes));
  EXPECT_FALSE(ValidPointer(bytes + 1));
  EXPECT_FALSE(ValidPointer(nullptr));
  DisposeHandle(h);
}

// ---- Handle arrays ----

std::vector<int32_t> Items(Handle h)
{
  if (h == nullptr)
    return {};
  auto* first = reinterpret_cast<int32_t*>(*h);
  return std::vector<int32_t>(first, first + GetHandleSize(h) / int32_t(sizeof(int32_t)));
}

constexpr int32_t kItem = sizeof(int32_t);

Handle MakeArray(std::vector<int32_t> values)
{
  Handle h = nullptr;
  InsertStuffRange(&h, values.data(), int32_t(values.size()), -1, kItem);
  return h;
}

TEST(HandleArray, AddStuffCreatesThenAppends)
{
  Handle h = nullptr;
  int32_t one = 1, two = 2;
  EXPECT_EQ(AddStuff(&h, &one, kItem), 1);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(AddStuff(&h, &two, kItem), 2);
  EXPECT_EQ(Items(h), (std::vector<int32_t>{1, 2}));
  DisposeHandle(h);
}

int gAlertCount = 0;
void count_alert(bool)
{
  ++gAlertCount;
}

TEST(HandleArray, AddStuffSoundsTheAlertWhenTheSizeCannotBeRead)
{
  AlertSoundProc previous = SetAlertSoundProc(count_alert);
  gAlertCount = 0;
  char* nullMaster = nullptr;
  Handle broken = &nullMaster;
  int32_t item = 7;
  EXPECT_EQ(AddStuff(&broken, &item, kItem), 0);
  EXPECT_EQ(gAlertCount, 1);
  SetAlertSoundProc(previous);
}

TEST(HandleArray, InsertStuffRange)
{
  const int32_t pair[] = {8, 9};
  struct Case
  {
    int32_t index;
    int32_t expectedCount;
    std::vector<int32_t> expected;
  } cases[] = {
      {-1, 5, {1, 2, 3, 8, 9}}, {3, 5, {1, 2, 3, 8, 9}}, {0, 5, {8, 9, 1, 2, 3}},
      {1, 5, {1, 8, 9, 2, 3}},  {4, 3, {1, 2, 3}},       {-2, 3, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    Handle h = MakeArray({1, 2, 3});
    EXPECT_EQ(InsertStuffRange(&h, pair, 2, c.index, kItem), c.expectedCount) << c.index;
    EXPECT_EQ(Items(h), c.expected) << "index " << c.index;
    DisposeHandle(h);
  }
  Handle fresh = nullptr;
  EXPECT_EQ(InsertStuffRange(&fresh, pair, 2, -1, kItem), 2);
  EXPECT_EQ(Items(fresh), (std::vector<int32_t>{8, 9}));
  DisposeHandle(fresh);
}

TEST(HandleArray, DeleteStuffRange)
{
  struct Case
  {
    int32_t first, last, expectedCount;
    std::vector<int32_t> expected;
  } cases[] = {
      {2, 3, 2, {1, 4}},  {1, 1, 3, {2, 3, 4}},    {4, 4, 3, {1, 2, 3}},
      {3, 99, 2, {1, 2}}, {0, 2, 4, {1, 2, 3, 4}}, {3, 2, 4, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    Handle h = MakeArray({1, 2, 3, 4});
    EXPECT_EQ(DeleteStuffRange(&h, c.first, c.last, kItem), c.expectedCount)
        << c.first << ".." << c.last;
    EXPECT_EQ(Items(h), c.expected) << c.first << ".." << c.last;
    DisposeHandle(h);
  }
}

TEST(HandleArray, DeletingEverythingDisposesTheHandle)
{
  for (int32_t last : {4, 10}) {
    Handle h = MakeArray({1, 2, 3, 4});
    EXPECT_EQ(DeleteStuffRange(&h, 1, last, kItem), 0);
    EXPECT_EQ(h, nullptr);
  }
  Handle none = nullptr;
  EXPECT_EQ(DeleteStuffRange(&none, 1, 1, kItem), 0);
}

}  // namespace
