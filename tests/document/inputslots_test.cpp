// Input slots: finding a tree's pictures, the default picture, outside
// buffers, and the picture record the picture members bind.
#include "document/inputslots.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

#include "document/engineapi.h"
#include "document/treefile.h"
#include "engine/pictinput.h"
#include "foundation/appshell.h"
#include "imaging/offworld.h"
#include "platform/stillimage.h"
#include "tests/document/sample_tree.h"
#include "tests/platform/tempfolder.h"

namespace {

Offworld makeBuffer(int16_t width, int16_t height)
{
  Offworld world = nullptr;
  const Rect r{0, 0, height, width};
  EXPECT_EQ(CreateOffworld(PackRectTopLeft(r), PackRectBottomRight(r), 32, &world), 0);
  return world;
}

void writePicture(const std::string& path, int32_t width, int32_t height)
{
  std::vector<uint8_t> argb(size_t(width) * height * 4);
  for (size_t i = 0; i < argb.size(); i += 4) {
    argb[i] = 255;
    argb[i + 1] = uint8_t(i);
    argb[i + 2] = 100;
    argb[i + 3] = 200;
  }
  ASSERT_TRUE(
      kvimg::encodeFile(path, kvimg::Format::Png, argb.data(), width * 4, width, height, false));
}

class InputSlotsTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    world_ = kvsample::makeWorld();
    doc_ = &world_->doc;
    KV_installInputHooks();
    alerts_ = 0;
    previousAlert_ = SetAlertSoundProc([](bool) { ++alerts_; });
    if (gDefaultPictureGW == nullptr) {
      writePicture(folder_.root().child("DefaultPicture").path(), 20, 10);
      ASSERT_EQ(Kovrelin_opendefaultpicture(folder_.root()), 0);
    }
  }
  void TearDown() override
  {
    SetAlertSoundProc(previousAlert_);
    Kovrelin_kill(doc_);
    gKovrelinWorld = nullptr;
  }

  // A tree of one picture member reading slot `slot`, written beside
  // `picture` (or nothing) and read back as the browser does.
  int16_t readTreeWithInput(int slot, const char* pictureName, int16_t version = kTreeVersion)
  {
    Kovrelin_kill(doc_);
    gfunc* g =
        kvsample::addComponent(&doc_->tree, kFamily21, 30, 0, {}, {kSourceMasterX, kSourceMasterY});
    g->auxIndex = int16_t(slot);
    arb_ServiceChanges(doc_, false);
    KVinputSlot& s = doc_->inputs[slot];
    kvsample::setPascal(s.file.name, pictureName);
    s.movieMode = 3;
    frefinfos ref;
    ref.parent = folder_.root();
    kvsample::setPascal(ref.name, "tree.kovr");
    EXPECT_EQ(arb_WRITE(doc_, &ref, nullptr), 0);
    if (version != kTreeVersion) {
      std::fstream f(folder_.root().child("tree.kovr").path(),
                     std::ios::in | std::ios::out | std::ios::binary);
      const char v[2] = {char(version >> 8), char(version & 0xFF)};
      f.write(v, 2);
    }
    Kovrelin_kill(doc_);
    return arb_READ(doc_, folder_.root().child("tree.kovr"), true, true, nullptr, nullptr);
  }

  static int alerts_;
  AlertSoundProc previousAlert_ = nullptr;
  TempFolder folder_;
  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
};
int InputSlotsTest::alerts_ = 0;

TEST_F(InputSlotsTest, PicturesAreFoundBesideTheTree)
{
  writePicture(folder_.root().child("beside.png").path(), 30, 20);
  ASSERT_EQ(readTreeWithInput(2, "beside.png"), kTreeReadOK);
  const KVinputSlot& s = doc_->inputs[2];
  EXPECT_EQ(s.sourceKind, kInputOwnFile);
  ASSERT_NE(s.picture, nullptr);
  EXPECT_NE(s.picture, gDefaultPictureGW);
  // Drawn at the render size (no native size): 768 x 576.
  EXPECT_EQ(s.picture->pixels.bounds.right, 768);
  EXPECT_EQ(s.picture->pixels.bounds.bottom, 576);
  EXPECT_EQ(s.movieMode, 3);
  EXPECT_EQ(alerts_, 0);
}

TEST_F(InputSlotsTest, MissingAndUnreadableInputsGetTheDefaultPicture)
{
  ASSERT_EQ(readTreeWithInput(1, "missing.png"), kTreeReadOK);
  EXPECT_EQ(doc_->inputs[1].picture, gDefaultPictureGW);
  EXPECT_EQ(doc_->inputs[1].sourceKind, kInputFixedBuffer);
  EXPECT_EQ(alerts_, 0);  // silently

  std::ofstream(folder_.root().child("broken.png").path()) << "not a picture";
  ASSERT_EQ(readTreeWithInput(1, "broken.png"), kTreeReadOK);
  EXPECT_EQ(doc_->inputs[1].picture, gDefaultPictureGW);
  EXPECT_EQ(alerts_, 1);
}

TEST_F(InputSlotsTest, VersionSeventeenRestoresTheFirstFourSlotsOnly)
{
  writePicture(folder_.root().child("p.png").path(), 8, 8);
  ASSERT_EQ(readTreeWithInput(5, "p.png", 18), kTreeReadOK);
  EXPECT_NE(doc_->inputs[5].picture, nullptr);
  // The same slot in a version-17 layout file is not one of its slots: the
  // widened record carries no reference for it.
  Kovrelin_kill(doc_);
  doc_->inputs[5].picture = nullptr;
  ASSERT_EQ(readTreeWithInput(3, "p.png", 18), kTreeReadOK);
  EXPECT_NE(doc_->inputs[3].picture, gDefaultPictureGW);
}

TEST_F(InputSlotsTest, DefaultFedSlotsAreStoredEmpty)
{
  ASSERT_EQ(readTreeWithInput(1, "missing.png"), kTreeReadOK);
  ASSERT_EQ(doc_->inputs[1].sourceKind, kInputFixedBuffer);
  frefinfos ref;
  ref.parent = folder_.root();
  kvsample::setPascal(ref.name, "again.kovr");
  ASSERT_EQ(arb_WRITE(doc_, &ref, nullptr), 0);
  Kovrelin_kill(doc_);
  ASSERT_EQ(arb_READ(doc_, folder_.root().child("again.kovr"), true, true, nullptr, nullptr),
            kTreeReadOK);
  EXPECT_EQ(doc_->inputs[1].file.name[0], 0);
  EXPECT_EQ(doc_->inputs[1].picture, nullptr);  // the default-picture flag is off
  Kovrelin_kill(doc_);
  world_->defaultPictureForEmptySlots = 1;
  ASSERT_EQ(arb_READ(doc_, folder_.root().child("again.kovr"), true, true, nullptr, nullptr),
            kTreeReadOK);
  EXPECT_EQ(doc_->inputs[1].picture, gDefaultPictureGW);
}

TEST_F(InputSlotsTest, OutsideBuffersAreNeverFreedHere)
{
  Offworld mine = makeBuffer(16, 16);
  Kovrelin_UseDefaultInput(doc_, &doc_->inputs[0]);
  EXPECT_EQ(Kovrelin_UseXInput(doc_, &doc_->inputs[1], mine, nullptr, true), kInputLiveBuffer);
  doc_->paramsChanged = 0;
  Kovrelin_SetInputMode(doc_, mine, false, 3, nullptr);  // slot 2
  EXPECT_EQ(doc_->paramsChanged, 1);
  EXPECT_EQ(doc_->inputs[0].picture, nullptr);
  EXPECT_EQ(doc_->inputs[1].picture, nullptr);
  EXPECT_EQ(doc_->inputs[2].picture, mine);
  EXPECT_EQ(doc_->inputs[2].sourceKind, kInputFixedBuffer);
  Kovrelin_SetInputMode(doc_, nullptr, false, 0, nullptr);
  EXPECT_EQ(doc_->inputs[2].picture, nullptr);
  EXPECT_NE(gDefaultPictureGW->pixels.baseAddr, nullptr);
  EXPECT_NE(mine->pixels.baseAddr, nullptr);
  KillOffworld(&mine);
}

TEST_F(InputSlotsTest, PictureIntoALargerBufferLandsInItsRenderRectangle)
{
  writePicture(folder_.root().child("small.png").path(), 4, 4);
  KVinputSlot& s = doc_->inputs[0];
  s.picture = makeBuffer(1000, 700);
  // Mark the area outside the render rectangle.
  std::memset(s.picture->pixels.baseAddr, 7, size_t(s.picture->pixels.rowBytes) * 700);
  ASSERT_EQ(arb_opendirectinput(doc_, &s, folder_.root().child("small.png")), 0);
  const uint8_t* p = s.picture->pixels.baseAddr;
  const size_t rowBytes = size_t(s.picture->pixels.rowBytes);
  EXPECT_EQ(p[10 * rowBytes + 4 * 10 + 3], 200);  // inside 768 x 576: the picture
  EXPECT_EQ(p[10 * rowBytes + 4 * 900 + 3], 7);   // right of it: untouched
  EXPECT_EQ(p[650 * rowBytes + 4 * 10 + 3], 7);   // below it: untouched
  EXPECT_EQ(s.movie.box.right, 768);
}

TEST_F(InputSlotsTest, PictureRecordOfAPictureMember)
{
  gfunc* g =
      kvsample::addComponent(&doc_->tree, kFamily21, 30, 0, {}, {kSourceMasterX, kSourceMasterY});
  g->doc = doc_;
  g->A = 2;
  KVpictureRecord record{};
  for (int16_t word : {int16_t(-3), int16_t(9)}) {
    g->auxIndex = word;
    prepare_pictmovie_input(g, &record);
    EXPECT_EQ(g->auxIndex, word < 0 ? 0 : 7);
    // An empty slot gets the default picture; W and H are its buffer's.
    EXPECT_EQ(doc_->inputs[g->auxIndex].picture, gDefaultPictureGW);
    EXPECT_EQ(record.width, 20);
    EXPECT_EQ(record.height, 10);
    EXPECT_DOUBLE_EQ(record.sy, 2 * 10 / (2 * std::numbers::pi));
    EXPECT_EQ(record.live, 0);
    EXPECT_EQ(record.tileX, kNoTiling);
  }
  // A smaller outside buffer is sampled at its own size, and is live.
  Offworld small = makeBuffer(6, 3);
  Kovrelin_UseXInput(doc_, &doc_->inputs[7], small, nullptr, true);
  prepare_pictmovie_input(g, &record);
  EXPECT_EQ(record.width, 6);
  EXPECT_EQ(record.height, 3);
  EXPECT_EQ(record.live, 1);
  Kovrelin_SetInputMode(doc_, nullptr, false, 0, nullptr);
  KillOffworld(&small);
}

}  // namespace
