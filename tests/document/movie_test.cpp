// Movie inputs: the facts of a movie's chosen track, output sizing, looping,
// drawing frames (stepping forward draws what seeking draws, without
// seeking), reopening, slot integration and damaged files. Fixtures are made
// at test time by ffmpeg.
#include "platform/movie.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "document/inputmedia.h"
#include "document/movies.h"
#include "tests/platform/tempfolder.h"

namespace {

class MovieFixtures : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    folder_ = new TempFolder;
    const std::string src = " -f lavfi -i testsrc=size=64x48:rate=30 ";
    make("mjpeg.mov", src + "-t 10 -c:v mjpeg -video_track_timescale 600");
    make("mpeg4.mov", src + "-t 10 -c:v mpeg4 -g 12");
    make("qtrle.mov", src + "-t 2 -c:v qtrle");
    make("one.mov", src + "-frames:v 1 -c:v mjpeg");
    make("big.mov", " -f lavfi -i testsrc=size=640x480:rate=30 -t 1 -c:v mjpeg");
    make("sound.wav", " -f lavfi -i sine=frequency=440:duration=1");
  }
  static void TearDownTestSuite()
  {
    delete folder_;
    folder_ = nullptr;
  }
  static void make(const std::string& name, const std::string& args)
  {
    const std::string command =
        "ffmpeg -v error -y" + args + " '" + folder_->ref(name).path() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  static FileRef file(const std::string& name) { return folder_->ref(name); }

  static TempFolder* folder_;
};
TempFolder* MovieFixtures::folder_ = nullptr;

struct OpenMovie
{
  MovieInputWork work{};
  Offworld gw = nullptr;
  ~OpenMovie()
  {
    CloseMovie4Render(&work);
    KillMovieOffworld(&work, &gw);
  }
};

std::vector<uint8_t> pixelsOf(Offworld gw)
{
  const PixMap& pm = gw->pixels;
  return std::vector<uint8_t>(
      pm.baseAddr, pm.baseAddr + size_t(pm.rowBytes) * (pm.bounds.bottom - pm.bounds.top));
}

TEST_F(MovieFixtures, ChosenTrackFacts)
{
  struct Case
  {
    const char* name;
    int32_t timeScale, duration, frameRate;
    OSType mediaType;
  } cases[] = {
      // 300 frames over 6,000 units at 600 a second: 30 fps.
      {"mjpeg.mov", 600, 6000, 3000, fourcc("vide")},
      // mp4v is not drawn directly; jpeg and rle are.
      {"mpeg4.mov", 15360, 153600, 3000, fourcc("xxxx")},
      {"qtrle.mov", 15360, 30720, 3000, fourcc("vide")},
      // One frame counts as 25 fps.
      {"one.mov", 15360, 512, 2500, fourcc("vide")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenMovie m;
    ASSERT_EQ(OpenMovie4Render(&m.work, file(c.name), &m.gw, 64, 48, kMovieStretch), 1);
    EXPECT_EQ(m.work.timeScale, c.timeScale);
    EXPECT_EQ(m.work.duration, c.duration);
    EXPECT_EQ(m.work.frameRate, c.frameRate);
    EXPECT_EQ(m.work.mediaType, c.mediaType);
    EXPECT_EQ(m.work.trackIndex, 1);
    EXPECT_EQ(m.work.width, 64);
    EXPECT_EQ(m.work.height, 48);
    EXPECT_EQ(m.work.depth, 24);
    EXPECT_EQ(m.work.hasVisualTrack, 1);
    EXPECT_NE(m.work.sampleDescription, nullptr);
    EXPECT_NE(m.work.file.parentID, 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(m.work.file.name + 1), m.work.file.name[0]),
              c.name);
  }
}

TEST_F(MovieFixtures, SoundOnlyMovieStaysOpenWithoutPictures)
{
  OpenMovie m;
  ASSERT_EQ(OpenMovie4Render(&m.work, file("sound.wav"), &m.gw, 64, 48, kMovieStretch), 1);
  EXPECT_EQ(m.work.hasVisualTrack, 0);
  EXPECT_EQ(m.work.mediaType, fourcc("soun"));
  EXPECT_EQ(m.gw, nullptr);  // no output made for a movie that shows nothing
  EXPECT_GT(m.work.duration, 0);
}

TEST_F(MovieFixtures, OutputThatCannotBeMadeFailsTheOpening)
{
  OpenMovie m;
  EXPECT_EQ(OpenMovie4Render(&m.work, file("mjpeg.mov"), &m.gw, 32767, 32767, kMovieStretch), 0);
  EXPECT_EQ(m.gw, nullptr);
  EXPECT_EQ(m.work.movie, nullptr);
  EXPECT_EQ(m.work.sampleDescription, nullptr);
  Offworld none = nullptr;
  EXPECT_NE(CreateMovieOffworld(&m.work, &none, Rect{0, 0, 32767, 32767}), 0);
  EXPECT_EQ(none, nullptr);
}

TEST_F(MovieFixtures, SlotRefusesAMovieWithoutPictures)
{
  KVinputSlot slot{};
  KV_initSlotMedia(&slot);
  EXPECT_EQ(KV_openSlotMovie(&slot, file("sound.wav"), Rect{0, 0, 48, 64}), -1);
  EXPECT_EQ(slot.movieOpen, 0);
  EXPECT_EQ(slot.movie.movie, nullptr);
  KV_freeSlotBuffer(&slot);
}

TEST_F(MovieFixtures, MissingOrEmptyFileGivesAnEmptyRecord)
{
  OpenMovie m;
  EXPECT_EQ(OpenMovie4Render(&m.work, file("none.mov"), &m.gw, 64, 48, kMovieStretch), 0);
  EXPECT_EQ(OpenMovie4Render(&m.work, FileRef{}, &m.gw, 64, 48, kMovieStretch), 0);
  EXPECT_EQ(m.work.movie, nullptr);
  EXPECT_EQ(m.work.file.parentID, 0);
  EXPECT_EQ(DisplayFirstFrame(&m.work, m.gw), 0);
}

TEST(MovieSizing, ModesTable)
{
  Offworld port = nullptr;
  ASSERT_EQ(CreateOffworld(PackRectTopLeft(Rect{0, 0, 200, 300}),
                           PackRectBottomRight(Rect{0, 0, 200, 300}), 32, &port),
            0);
  struct Case
  {
    int16_t mode;
    Rect natural;
    int16_t width, height;
    Rect want;
  } cases[] = {
      {kMovieFitBuffer, {0, 0, 480, 640}, 0, 0, {0, 0, 225, 300}},  // wider than the port
      {kMovieFitBuffer, {0, 0, 480, 240}, 0, 0, {0, 0, 200, 100}},  // taller than the port
      {kMovieFitBuffer, {0, 0, 48, 64}, 0, 0, {0, 0, 48, 64}},      // fits
      {kMovieNaturalSize, {10, 20, 58, 84}, 0, 0, {0, 0, 48, 64}},  // natural at the origin
      {kMovieFitWidth, {0, 0, 48, 64}, 128, 0, {0, 0, 96, 128}},
      {kMovieFitHeight, {0, 0, 48, 64}, 0, 24, {0, 0, 24, 32}},
      {kMovieCentred, {0, 0, 480, 640}, 320, 240, {-120, -160, 360, 480}},
      {kMovieCentred, {0, 0, 48, 64}, 320, 240, {0, 0, 48, 64}},
      // A track without a width or height leaves the box.
      {kMovieFitBuffer, {0, 0, 48, 0}, 0, 0, {0, 0, 48, 0}},
      {kMovieFitWidth, {0, 0, 48, 0}, 128, 0, {0, 0, 48, 0}},
      {kMovieFitHeight, {0, 0, 0, 64}, 0, 24, {0, 0, 0, 64}},
      // A box beyond 16 bits is refused, never wrapped.
      {kMovieFitWidth, {0, 0, 30000, 1}, 2, 0, {0, 0, 30000, 1}},
      // Modes without a rule leave the box.
      {0, {0, 0, 48, 64}, 10, 10, {0, 0, 48, 64}},
      {2, {0, 0, 48, 64}, 10, 10, {0, 0, 48, 64}},
      {9, {0, 0, 48, 64}, 10, 10, {0, 0, 48, 64}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "mode " << c.mode << " natural " << c.natural.right << "x" << c.natural.bottom);
    MovieInputWork work{};
    work.box = c.natural;
    EXPECT_EQ(SetMovieOutPutGW(&work, port, c.width, c.height, c.mode), port);
    EXPECT_EQ(work.box.top, c.want.top);
    EXPECT_EQ(work.box.left, c.want.left);
    EXPECT_EQ(work.box.bottom, c.want.bottom);
    EXPECT_EQ(work.box.right, c.want.right);
  }
  KillOffworld(&port);
}

TEST(MovieSizing, StretchAndAtLeastNaturalMakeBuffers)
{
  MovieInputWork work{};
  work.box = Rect{0, 0, 48, 64};
  Offworld gw = SetMovieOutPutGW(&work, nullptr, 32, 16, kMovieStretch);
  ASSERT_NE(gw, nullptr);
  EXPECT_EQ(gw->pixels.bounds.right, 32);
  EXPECT_EQ(gw->pixels.bounds.bottom, 16);
  EXPECT_EQ(work.box.right, 32);
  // Mode 8 replaces a buffer smaller than the natural box and keeps a larger one.
  gw = SetMovieOutPutGW(&work, gw, 0, 0, kMovieAtLeastNatural);
  ASSERT_NE(gw, nullptr);
  EXPECT_EQ(gw->pixels.bounds.right, 32);  // box is now 32 x 16: kept
  work.box = Rect{0, 0, 48, 64};
  gw = SetMovieOutPutGW(&work, gw, 0, 0, kMovieAtLeastNatural);
  ASSERT_NE(gw, nullptr);
  EXPECT_EQ(gw->pixels.bounds.right, 64);
  EXPECT_EQ(gw->pixels.bounds.bottom, 48);
  KillOffworld(&gw);
  // A buffer that cannot be made fails the call; the program goes on.
  EXPECT_EQ(SetMovieOutPutGW(&work, nullptr, 32767, 32767, kMovieStretch), nullptr);
}

TEST(MovieTiming, DrawTimeTable)
{
  struct Case
  {
    int32_t duration, time;
    bool loop;
    int32_t want;
  } cases[] = {
      {6000, -1, true, 5999},
      {6000, 6000, true, 0},
      {6000, 12345, true, 345},
      {6000, -6001, true, 5999},
      {6000, INT32_MIN, true, (INT32_MIN % 6000) + 6000},
      {6000, -5, false, 0},
      {6000, 6010, false, 6000},
      {6000, 77, false, 77},
      // A movie of no length: time 0 either way.
      {0, 5, true, 0},
      {-4, -5, true, 0},
      {0, 5, false, 0},
  };
  for (const Case& c : cases) {
    MovieInputWork work{};
    work.duration = c.duration;
    EXPECT_EQ(KV_movieDrawTime(&work, c.time, c.loop), c.want)
        << c.duration << " " << c.time << " " << c.loop;
  }
}

TEST_F(MovieFixtures, SteppingDrawsWhatSeekingDraws)
{
  OpenMovie stepped;
  ASSERT_EQ(OpenMovie4Render(&stepped.work, file("mpeg4.mov"), &stepped.gw, 64, 48, kMovieStretch),
            1);
  const int64_t seeksAtOpen = kvmovie::seekCount(stepped.work.movie);
  const int32_t frameLength = 512;  // 15360 units a second at 30 fps
  std::vector<std::vector<uint8_t>> frames;
  for (int32_t n = 0; n < 40; ++n) {
    // Halfway between frames shows the earlier one.
    ASSERT_EQ(DisplayMovieFrame(&stepped.work, n * frameLength + frameLength / 2, stepped.gw,
                                stepped.work.box, false),
              0);
    frames.push_back(pixelsOf(stepped.gw));
  }
  EXPECT_EQ(kvmovie::seekCount(stepped.work.movie), seeksAtOpen);
  EXPECT_NE(frames[0], frames[1]);

  OpenMovie sought;
  ASSERT_EQ(OpenMovie4Render(&sought.work, file("mpeg4.mov"), &sought.gw, 64, 48, kMovieStretch),
            1);
  std::mt19937 random(7);
  for (int i = 0; i < 12; ++i) {
    const int32_t n = int32_t(random() % frames.size());
    // The end first, so that each frame is reached by going back.
    ASSERT_EQ(
        DisplayMovieFrame(&sought.work, sought.work.duration, sought.gw, sought.work.box, false),
        0);
    ASSERT_EQ(DisplayMovieFrame(&sought.work, n * frameLength, sought.gw, sought.work.box, false),
              0);
    EXPECT_EQ(pixelsOf(sought.gw), frames[size_t(n)]) << "frame " << n;
  }
  EXPECT_GE(kvmovie::seekCount(sought.work.movie), 12);
}

TEST_F(MovieFixtures, LoopingWrapsAndTheEndShowsTheLastFrame)
{
  OpenMovie m;
  ASSERT_EQ(OpenMovie4Render(&m.work, file("mjpeg.mov"), &m.gw, 64, 48, kMovieStretch), 1);
  const int32_t d = m.work.duration;
  auto frameAt = [&](int32_t t, bool loop) {
    EXPECT_EQ(DisplayMovieFrame(&m.work, t, m.gw, m.work.box, loop), 0);
    return pixelsOf(m.gw);
  };
  const auto last = frameAt(d - 1, false);
  EXPECT_EQ(frameAt(d, false), last);  // unlooped, the duration draws the last frame
  EXPECT_EQ(frameAt(-1, true), last);
  EXPECT_EQ(frameAt(d, true), frameAt(0, false));
  EXPECT_NE(frameAt(0, false), last);
}

TEST_F(MovieFixtures, ReopeningTheSameFileOnlyResizes)
{
  OpenMovie m;
  ASSERT_EQ(OpenMovie4Render(&m.work, file("big.mov"), &m.gw, 64, 48, kMovieStretch), 1);
  kvmovie::Movie* movie = m.work.movie;
  ASSERT_EQ(OpenMovie4Render(&m.work, file("big.mov"), &m.gw, 32, 24, kMovieStretch), 1);
  EXPECT_EQ(m.work.movie, movie);
  EXPECT_EQ(m.work.box.right, 32);
  EXPECT_EQ(m.work.box.bottom, 24);
  // Another file closes the first.
  ASSERT_EQ(OpenMovie4Render(&m.work, file("mjpeg.mov"), &m.gw, 64, 48, kMovieStretch), 1);
  EXPECT_EQ(m.work.timeScale, 600);
}

TEST_F(MovieFixtures, CentredModeCropsToTheBuffer)
{
  // 640 x 480 centred on 320 x 240: the middle of the frame fills the buffer.
  OpenMovie full, cropped;
  ASSERT_EQ(OpenMovie4Render(&full.work, file("big.mov"), &full.gw, 640, 480, kMovieStretch), 1);
  ASSERT_EQ(DisplayFirstFrame(&full.work, full.gw), 1);
  ASSERT_EQ(CreateMovieOffworld(&cropped.work, &cropped.gw, Rect{0, 0, 240, 320}), 0);
  ASSERT_EQ(OpenMovie4Render(&cropped.work, file("big.mov"), &cropped.gw, 320, 240, kMovieCentred),
            1);
  EXPECT_EQ(cropped.work.box.left, -160);
  ASSERT_EQ(DisplayFirstFrame(&cropped.work, cropped.gw), 1);
  const PixMap& a = full.gw->pixels;
  const PixMap& b = cropped.gw->pixels;
  for (int y = 0; y < 240; y += 17)
    EXPECT_EQ(0, std::memcmp(a.baseAddr + size_t(y + 120) * a.rowBytes + 160 * 4,
                             b.baseAddr + size_t(y) * b.rowBytes, 320 * 4))
        << "row " << y;
}

TEST_F(MovieFixtures, SlotOpensAMovieAndShowsItsFrames)
{
  KVinputSlot slot{};
  KV_initSlotMedia(&slot);
  ASSERT_EQ(KV_openSlotMovie(&slot, file("mjpeg.mov"), Rect{0, 0, 96, 128}), 0);
  EXPECT_EQ(slot.movieOpen, 1);
  EXPECT_EQ(slot.movieMultiFrame, 1);
  ASSERT_NE(slot.picture, nullptr);
  EXPECT_EQ(slot.picture->pixels.bounds.right, 128);
  int32_t scale = 0, duration = 0, rate = 0;
  ASSERT_TRUE(KV_slotMovieClock(&slot, &scale, &duration, &rate));
  EXPECT_EQ(scale, 600);
  const auto first = pixelsOf(slot.picture);
  EXPECT_EQ(first[0], 255);  // opaque
  KV_showSlotMovieFrame(&slot, 3000);
  EXPECT_NE(pixelsOf(slot.picture), first);
  KV_closeSlotMovie(&slot);
  EXPECT_EQ(slot.movie.movie, nullptr);
  EXPECT_FALSE(KV_slotMovieClock(&slot, &scale, &duration, &rate));
  KV_freeSlotBuffer(&slot);
  EXPECT_EQ(slot.picture, nullptr);
}

TEST_F(MovieFixtures, DamagedMoviesFailCleanly)
{
  std::ifstream in(file("mpeg4.mov").path(), std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 4000u);
  std::mt19937 random(11);
  for (int variant = 0; variant < 12; ++variant) {
    SCOPED_TRACE(variant);
    std::vector<char> damaged = bytes;
    if (variant < 4) {
      damaged.resize(size_t(variant + 1) * damaged.size() / 6);
    } else {
      for (int i = 0; i < 40 * variant; ++i)
        damaged[random() % damaged.size()] ^= char(1 << (random() % 8));
    }
    const FileRef ref = file("damaged.mov");
    std::ofstream(ref.path(), std::ios::binary)
        .write(damaged.data(), std::streamsize(damaged.size()));
    OpenMovie m;
    if (OpenMovie4Render(&m.work, ref, &m.gw, 64, 48, kMovieStretch) == 0) {
      EXPECT_EQ(m.work.movie, nullptr);
      continue;
    }
    for (int32_t t : {0, 40000, 153599, 1000, 153600})
      DisplayMovieFrame(&m.work, t, m.gw, m.work.box, true);
  }
  // Cut to its first bytes, nothing of the movie is left.
  std::ofstream(file("cut.mov").path(), std::ios::binary).write(bytes.data(), 100);
  OpenMovie cut;
  EXPECT_EQ(OpenMovie4Render(&cut.work, file("cut.mov"), &cut.gw, 64, 48, kMovieStretch), 0);
}

TEST_F(MovieFixtures, InfosThumbsAndStillMovies)
{
  MovieInputWork work{};
  ASSERT_EQ(OpenMovieInfos(&work, file("mjpeg.mov"), true, true), 1);
  EXPECT_EQ(work.movie, nullptr);  // the facts stay, the movie does not
  EXPECT_EQ(work.duration, 6000);
  EXPECT_EQ(OpenMovieInfos(&work, file("none.mov"), true, true), 0);

  MovieInputWork thumbWork{};
  Offworld thumb = nullptr;
  ASSERT_EQ(BuildMovieThumb(file("mjpeg.mov"), &thumbWork, &thumb, 32, 24), 0);
  ASSERT_NE(thumb, nullptr);
  EXPECT_EQ(thumb->pixels.baseAddr[0], 255);  // a frame was drawn
  EXPECT_EQ(thumbWork.movie, nullptr);
  KillOffworld(&thumb);
  ASSERT_EQ(CreateMovieOffworld(&thumbWork, &thumb, Rect{0, 0, 24, 32}), 0);
  DrawMovieThumb(file("mjpeg.mov"), &thumbWork, thumb, 32, 24, 5.0);
  EXPECT_EQ(thumb->pixels.baseAddr[0], 255);
  EXPECT_EQ(thumbWork.movie, nullptr);
  KillMovieOffworld(&thumbWork, &thumb);
  EXPECT_EQ(thumb, nullptr);
}

}  // namespace
