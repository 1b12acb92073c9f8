#include "platform/resources.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "platform/ui.h"
#include "tests/platform/tempfolder.h"

namespace {

using kvres::Resource;
using kvres::Store;

constexpr uint32_t kTypeTest = 0x54455354;  // 'TEST'

Store sampleStore()
{
  Store s;
  s.put({kTypeTest, 128, "first", {1, 2, 3}});
  s.put({kTypeTest, -5, "", {}});
  s.put({kResStringList, 128, "alerts", kvres::makeStringList({"one", "", "three"})});
  return s;
}

void putBE32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b[at + i] = uint8_t(v >> (24 - 8 * i));
}

class ResourcesTest : public ::testing::Test
{
protected:
  void TearDown() override { kvres::closeAllStores(); }
  TempFolder temp;
};

TEST_F(ResourcesTest, StoreRoundTripsThroughItsFileForm)
{
  Store s = sampleStore();
  std::vector<uint8_t> bytes = kvres::serialiseStore(s);
  Store back;
  std::string reason;
  ASSERT_TRUE(kvres::parseStore(bytes.data(), bytes.size(), &back, &reason)) << reason;
  ASSERT_EQ(back.all().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back.all()[i].type, s.all()[i].type);
    EXPECT_EQ(back.all()[i].id, s.all()[i].id);
    EXPECT_EQ(back.all()[i].name, s.all()[i].name);
    EXPECT_EQ(back.all()[i].data, s.all()[i].data);
  }
  // Header: magic, version, count, length.
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "KVRS");
  EXPECT_EQ(bytes[11], 3);
  EXPECT_EQ(size_t(bytes[14]) * 256 + bytes[15], bytes.size());
}

TEST_F(ResourcesTest, DamagedFilesAreRejectedWithAReason)
{
  const std::vector<uint8_t> good = kvres::serialiseStore(sampleStore());
  constexpr size_t kEntry0 = 16;
  struct Case
  {
    const char* what;
    void (*damage)(std::vector<uint8_t>&);
    const char* reasonPart;
  };
  const Case cases[] = {
      {"magic", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, "magic"},
      {"count past the end", [](std::vector<uint8_t>& b) { putBE32(b, 8, 1000); }, "count"},
      {"huge count", [](std::vector<uint8_t>& b) { putBE32(b, 8, 0xFFFFFFFF); }, "count"},
      {"truncated", [](std::vector<uint8_t>& b) { b.resize(b.size() - 1); }, "length"},
      {"data offset past the end",
       [](std::vector<uint8_t>& b) { putBE32(b, kEntry0 + 12, uint32_t(b.size())); }, "data"},
      {"data length past the end",
       [](std::vector<uint8_t>& b) { putBE32(b, kEntry0 + 16, 0xFFFFFFF0); }, "data"},
      {"name offset inside the table", [](std::vector<uint8_t>& b) { putBE32(b, kEntry0 + 8, 0); },
       "name"},
      {"over-long name",
       [](std::vector<uint8_t>& b) {
         b[kEntry0 + 6] = 1;
         b[kEntry0 + 7] = 0;
       },
       "name of 256"},
      {"same type and id twice",
       [](std::vector<uint8_t>& b) {
         b[kEntry0 + 20 + 4] = 0;
         b[kEntry0 + 20 + 5] = 128;
       },
       "twice"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bad = good;
    c.damage(bad);
    Store out = sampleStore();
    std::string reason;
    EXPECT_FALSE(kvres::parseStore(bad.data(), bad.size(), &out, &reason));
    EXPECT_NE(reason.find(c.reasonPart), std::string::npos) << reason;
    EXPECT_EQ(out.all().size(), 3u);  // untouched
  }
}

TEST_F(ResourcesTest, StringListsGiveEmptyTextsOutsideTheList)
{
  std::string path = temp.ref("app.rsrc").path();
  ASSERT_TRUE(kvres::writeStoreFile(path, sampleStore(), nullptr));
  ASSERT_TRUE(kvres::openApplicationStore(path));
  EXPECT_EQ(kvres::indString(128, 1), "one");
  EXPECT_EQ(kvres::indString(128, 2), "");
  EXPECT_EQ(kvres::indString(128, 3), "three");
  EXPECT_EQ(kvres::indString(128, 0), "");
  EXPECT_EQ(kvres::indString(128, 4), "");
  EXPECT_EQ(kvres::indString(999, 1), "");
  EXPECT_EQ(CountIndStrings(128), 3);
  unsigned char p[256] = {9, 'x'};
  GetIndString(p, 128, 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(p + 1), p[0]), "three");
  GetIndString(p, 128, 7);
  EXPECT_EQ(p[0], 0);

  // A count larger than the strings held: the list is damaged, no strings.
  bool ok = true;
  std::vector<uint8_t> data = kvres::makeStringList({"a"});
  data[1] = 2;
  EXPECT_TRUE(kvres::parseStringList(data, &ok).empty());
  EXPECT_FALSE(ok);
}

TEST_F(ResourcesTest, ChainSearchesFromTheCurrentStoreDown)
{
  std::string appPath = temp.ref("app.rsrc").path();
  ASSERT_TRUE(kvres::writeStoreFile(appPath, sampleStore(), nullptr));
  ASSERT_TRUE(kvres::openApplicationStore(appPath));

  FileRef doc = temp.write("picture.kovr", "tree");
  FileRef companion = kvres::companionOf(doc);
  EXPECT_EQ(companion.name, "picture.kovr.rsrc");
  OSErr err = 0;
  EXPECT_EQ(kvres::openStore(companion.path(), false, false, &err), 0);
  EXPECT_EQ(err, fnfErr);
  // A new store left empty is never written.
  int16_t ref = kvres::openStore(companion.path(), true, true, &err);
  ASSERT_GT(ref, 1);
  EXPECT_EQ(kvres::closeStore(ref), 0);
  EXPECT_FALSE(kvfs::exists(companion));
  ref = kvres::openStore(companion.path(), true, true, &err);
  ASSERT_GT(ref, 1);
  EXPECT_EQ(kvres::currentStore(), ref);
  EXPECT_EQ(kvres::putResource(ref, {kTypeTest, 128, "doc", {9}}), 0);

  Resource r;
  ASSERT_TRUE(kvres::getResource(kTypeTest, 128, &r));
  EXPECT_EQ(r.name, "doc");  // the document's store hides the application's
  EXPECT_TRUE(kvres::getResource(kTypeTest, -5, &r));  // found below it
  EXPECT_FALSE(kvres::getResourceInStore(ref, kTypeTest, -5, &r));
  EXPECT_EQ(kvres::putResource(1, {kTypeTest, 1, "", {}}), wrPermErr);

  ASSERT_EQ(kvres::useStore(1), 0);
  ASSERT_TRUE(kvres::getResource(kTypeTest, 128, &r));
  EXPECT_EQ(r.name, "first");  // the application's store is the bottom
  EXPECT_EQ(kvres::useStore(ref), 0);

  // Closing writes the changes; the store opened before becomes current.
  EXPECT_EQ(kvres::closeStore(ref), 0);
  EXPECT_EQ(kvres::currentStore(), 1);
  EXPECT_EQ(kvres::closeStore(ref), resFNotFound);
  Store back;
  ASSERT_TRUE(kvres::readStoreFile(companion.path(), &back, nullptr));
  ASSERT_NE(back.find(kTypeTest, 128), nullptr);
  EXPECT_EQ(back.find(kTypeTest, 128)->data, std::vector<uint8_t>{9});
}

TEST_F(ResourcesTest, DamagedStoreFileIsNotOpenedAndNotChanged)
{
  const std::string damaged("KVRS\x00\x01 garbage", 15);
  FileRef file = temp.write("bad.rsrc", damaged);
  OSErr err = 0;
  EXPECT_EQ(kvres::openStore(file.path(), true, true, &err), 0);
  EXPECT_EQ(err, mapReadErr);
  EXPECT_EQ(TempFolder::read(file), damaged);
  std::string reason;
  Store s;
  EXPECT_FALSE(kvres::readStoreFile(file.path(), &s, &reason));
  EXPECT_NE(reason.find("bad.rsrc"), std::string::npos);
}

TEST_F(ResourcesTest, WritesReplaceTheFileAndLeaveNoTemporary)
{
  std::string path = temp.ref("out.rsrc").path();
  ASSERT_TRUE(kvres::writeStoreFile(path, sampleStore(), nullptr));
  Store one;
  one.put({kTypeTest, 1, "", {7}});
  ASSERT_TRUE(kvres::writeStoreFile(path, one, nullptr));
  Store back;
  ASSERT_TRUE(kvres::readStoreFile(path, &back, nullptr));
  EXPECT_EQ(back.all().size(), 1u);
  size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(temp.root().path()))
    files += e.is_regular_file();
  EXPECT_EQ(files, 1u);
  // A folder that cannot be written: the write fails and says why.
  std::string reason;
  EXPECT_FALSE(kvres::writeStoreFile(temp.ref("missing/out.rsrc").path(), one, &reason));
  EXPECT_FALSE(reason.empty());
}

}  // namespace

namespace {

TEST_F(ResourcesTest, CursorsComeFromTheStore)
{
  std::string path = temp.ref("app.rsrc").path();
  Store s;
  s.put({kResCursor, 136, "colourpick", {'c', 'r', 'o', 's', 's', 'h', 'a', 'i', 'r'}});
  ASSERT_TRUE(kvres::writeStoreFile(path, s, nullptr));
  kvui::startScripted();
  EXPECT_FALSE(kvui::setCursor(136));  // no store: only the built-in shapes
  EXPECT_TRUE(kvui::setCursor(kvui::kCursorBusy));
  ASSERT_TRUE(kvres::openApplicationStore(path));
  EXPECT_TRUE(kvui::setCursor(136));
  EXPECT_EQ(kvui::currentCursor(), 136);
  EXPECT_FALSE(kvui::setCursor(135));
  kvui::stop();
}

}  // namespace
