#include "imaging/respictures.h"

#include <gtest/gtest.h>

#include "../platform/tempfolder.h"
#include "foundation/appshell.h"
#include "foundation/resfiles.h"
#include "imaging/accesspix.h"
#include "imaging/pictures.h"

namespace {

int gAlerts = 0;
void countAlert(bool)
{
  ++gAlerts;
}

class ResPictures : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gAlerts = 0;
    previousSound_ = SetAlertSoundProc(countAlert);
    const Rect r{0, 0, 20, 40};
    ASSERT_EQ(CreateOffworld(PackRectTopLeft(r), PackRectBottomRight(r), 32, &world_), noErr);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) {
        uint8_t* p = world_->pixels.baseAddr + y * world_->pixels.rowBytes + x * 4;
        p[0] = 7, p[1] = uint8_t(x * 6), p[2] = uint8_t(y * 12), p[3] = 200;
      }
    document_ = tmp.write("doc.kovr", "tree");
  }
  void TearDown() override
  {
    KillOffworld(&world_);
    SetAlertSoundProc(previousSound_);
    kvres::closeAllStores();
  }
  // The picture 'PICT' id of the document's companion store as pixels.
  bool readBack(int16_t id, kvimg::Pixels* out, std::string* name)
  {
    kvres::Store store;
    if (!kvres::readStoreFile(kvres::companionOf(document_).path(), &store, nullptr))
      return false;
    const kvres::Resource* r = store.find(kResPicture, id);
    if (!r)
      return false;
    *name = r->name;
    Handle h = NewHandle(int32_t(r->data.size()));
    memcpy(*h, r->data.data(), r->data.size());
    bool ok = KVpict_ToPixels(h, out);
    DisposeHandle(h);
    return ok;
  }
  TempFolder tmp;
  Offworld world_ = nullptr;
  FileRef document_;
  AlertSoundProc previousSound_ = nullptr;
};

TEST_F(ResPictures, PicturesOfBuffersAreSavedWithTheirNames)
{
  int16_t previous = 0;
  int16_t ref = Use_resfile(document_, &previous);
  ASSERT_GT(ref, 0);
  EXPECT_EQ(SaveResPict(world_, 128, ref), noErr);
  EXPECT_EQ(SavePadResPict(world_, 129,
                           reinterpret_cast<const unsigned char*>("\x03"
                                                                  "pad"),
                           ref),
            noErr);
  EXPECT_EQ(SaveCompResPict(world_, 10, 5, 130, ref), noErr);
  EXPECT_NE(SaveResPict(nullptr, 131, ref), noErr);
  EXPECT_EQ(gAlerts, 2);
  Close_resfile(ref, previous);

  kvimg::Pixels pixels;
  std::string name;
  ASSERT_TRUE(readBack(128, &pixels, &name));
  EXPECT_EQ(name, "XXX");
  EXPECT_EQ(pixels.width, 40);
  EXPECT_EQ(pixels.height, 20);
  EXPECT_EQ(pixels.argb.at(0), 255);  // no pad bytes kept
  ASSERT_TRUE(readBack(129, &pixels, &name));
  EXPECT_EQ(name, "pad");
  EXPECT_EQ(pixels.argb.at(0), 7);  // the buffer's pad byte
  ASSERT_TRUE(readBack(130, &pixels, &name));
  EXPECT_EQ(pixels.width, 10);
  EXPECT_EQ(pixels.height, 5);
}

TEST_F(ResPictures, ThumbnailGoesToTheCompanionStore)
{
  EXPECT_TRUE(Save_ThumbResPict(world_, 200,
                                reinterpret_cast<const unsigned char*>("\x05"
                                                                       "thumb"),
                                document_));
  kvimg::Pixels pixels;
  std::string name;
  ASSERT_TRUE(readBack(200, &pixels, &name));
  EXPECT_EQ(name, "thumb");
  EXPECT_FALSE(Save_ThumbResPict(world_, 200, nullptr, tmp.ref("missing.kovr")));
}

}  // namespace
