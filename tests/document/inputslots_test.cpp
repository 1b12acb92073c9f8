// Input slots: finding a tree's pictures, the default picture, outside
// buffers, and the picture record the picture members bind.
#include "document/inputslots.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

#include "document/animation.h"
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
  const FileRef treeFile = folder_.root().child("tree.kovr");
  for (int16_t version : {int16_t(17), int16_t(18)}) {
    Kovrelin_kill(doc_);
    for (int s : {3, 5}) {
      doc_->inputs[s].inUse = 1;
      kvsample::setPascal(doc_->inputs[s].file.name, "p.png");
    }
    arb_inputread(doc_, treeFile, version);
    EXPECT_NE(doc_->inputs[3].picture, nullptr) << version;
    // Slot 5 is not one of a version-17 file's slots: left as it was.
    EXPECT_EQ(doc_->inputs[5].picture != nullptr, version == 18);
  }
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

std::vector<uint8_t> pixelsOf(const GWorldRec* world)
{
  const PixMap& p = world->pixels;
  return std::vector<uint8_t>(p.baseAddr, p.baseAddr + size_t(p.rowBytes) * p.bounds.bottom);
}

TEST_F(InputSlotsTest, MovieOpensAtTheRenderSizeAndFollowsTheFrames)
{
  const std::string movie = folder_.root().child("clip.mov").path();
  ASSERT_EQ(std::system(("ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=25 -t 2 "
                         "-c:v mjpeg '" +
                         movie + "'")
                            .c_str()),
            0);
  KVrenderPrefs prefs;
  Kovrelin_DefaultPrefs(&prefs);
  prefs.outputRect = Rect{0, 0, 72, 96};
  world_->renderPrefs = &prefs;
  // Slot 0 starts at movie frame 10 and slot 1 at 15, both one movie frame
  // a frame (mode 2).
  for (int s : {0, 1}) {
    KVinputSlot& slot = doc_->inputs[s];
    slot.inUse = 1;
    slot.movieMode = 2;
    slot.startValue = s == 0 ? 10 : 15;
    kvsample::setPascal(slot.file.name, "clip.mov");
  }
  doc_->inputCount = 2;
  arb_inputread(doc_, folder_.root().child("tree.kovr"), kTreeVersion);
  const KVinputSlot& first = doc_->inputs[0];
  ASSERT_EQ(first.movieOpen, 1);
  EXPECT_EQ(first.sourceKind, kInputOwnFile);
  EXPECT_EQ(first.picture->pixels.bounds.right, 96);
  EXPECT_EQ(first.picture->pixels.bounds.bottom, 72);
  const std::vector<uint8_t> frame0 = pixelsOf(first.picture);

  // Frame 5 of slot 0 shows movie frame 15, what slot 1 shows at frame 0.
  doc_->animation.frame = 0;
  UpdateMoviePosition(doc_, 0, kAnimUpdateForced);
  const std::vector<uint8_t> frame15 = pixelsOf(doc_->inputs[1].picture);
  doc_->animation.frame = 5;
  UpdateMoviePosition(doc_, 0, kAnimUpdateForced);
  EXPECT_EQ(pixelsOf(first.picture), frame15);
  EXPECT_NE(frame15, frame0);
  world_->renderPrefs = nullptr;
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
