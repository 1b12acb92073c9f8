// Movie files and movie sound: movies written from frames of known colours
// read back through the movie reader (frame count, time scale, colours,
// codec), image sequences, the sound track and its limit, the error reports,
// the edits (cut, forced rate, conversion, replaced frames) and the movie
// sound readers (no conversion at the output rate, AIFF otherwise, samples).
#include "document/moviefiles.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "document/movies.h"
#include "document/qtsetup.h"
#include "document/videoformats.h"
#include "foundation/appshell.h"
#include "platform/movie.h"
#include "tests/platform/tempfolder.h"

namespace {

constexpr int16_t kW = 32;
constexpr int16_t kH = 24;

std::vector<std::string> gReports;

void keepReport(ConstStringPtr t, int32_t n)
{
  gReports.push_back(std::string(reinterpret_cast<const char*>(t + 1), t[0]) + "=" +
                     std::to_string(n));
}

// Red of frame f; green and blue fixed.
uint8_t redOf(int32_t frame)
{
  return uint8_t(frame * 20);
}

struct Calls
{
  std::vector<int32_t> frames;
  std::vector<std::string> names;
  std::vector<OSType> types;
  int32_t red = -1;  // when >= 0, every frame is drawn in that red
};

void paint(Offworld gw, uint8_t red)
{
  const Rect& b = gw->pixels.bounds;
  for (int y = 0; y < b.bottom - b.top; ++y)
    for (int x = 0; x < b.right - b.left; ++x) {
      uint8_t* p = gw->pixels.baseAddr + y * gw->pixels.rowBytes + x * 4;
      p[0] = 0;  // the flag byte: never read as alpha
      p[1] = red;
      p[2] = 100;
      p[3] = 200;
    }
}

void drawFrameProc(int32_t frame, Offworld gw, KVmovieExport* record, void* user)
{
  auto* calls = static_cast<Calls*>(user);
  calls->frames.push_back(frame);
  if (record->output != nullptr) {
    calls->names.emplace_back(reinterpret_cast<const char*>(record->output->name + 1),
                              record->output->name[0]);
    calls->types.push_back(record->output->type);
  }
  paint(gw, calls->red >= 0 ? uint8_t(calls->red) : redOf(frame));
}

// A sine of 441 Hz at half scale on every channel, from the sample rate the
// movie sound follows.
int16_t sineAt(int64_t i)
{
  return int16_t(std::lround(0.5 * 32767 * std::sin(2 * M_PI * 441.0 * double(i) / 48000.0)));
}

int32_t sineProc(int32_t first, KVmovieExport* record, int16_t* buffer)
{
  for (int32_t i = 0; i < record->sampleBufferFrames; ++i)
    for (int c = 0; c < record->channels; ++c)
      buffer[i * record->channels + c] = sineAt(first + i);
  return record->sampleBufferFrames;
}

int32_t silentProc(int32_t, KVmovieExport*, int16_t*)
{
  return 0;
}

class MovieFiles : public ::testing::Test
{
protected:
  void SetUp() override
  {
    InitMovieToolbox();
    gMovieOutputRate = 48000.0;
    gReports.clear();
    oldReport_ = SetReportTextProc(keepReport);
    const Rect bounds{0, 0, kH, kW};
    ASSERT_EQ(CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &gw_), 0);
  }
  void TearDown() override
  {
    SetReportTextProc(oldReport_);
    KillOffworld(&gw_);
    ExitMovieToolbox();
    KV_defaultSpatialSettings(&gSCSpatialSettings);
    gMovieOutputRate = 44100.0;
  }

  frefinfos output(const std::string& name, OSType type = fourcc("MooV"))
  {
    frefinfos r;
    r.type = type;
    r.parent = folder_.root();
    r.name[0] = uint8_t(name.size());
    std::memcpy(r.name + 1, name.data(), name.size());
    return r;
  }

  // An export of frames first .. last drawn by drawFrameProc into the test's
  // buffer, at the buffer's size.
  KVmovieExport exportOf(frefinfos* out, int32_t first, int32_t last, int32_t timeScale = 2500)
  {
    KVmovieExport r;
    r.timeScale = timeScale;
    r.firstFrame = first;
    r.lastFrame = last;
    r.output = out;
    r.frameProc = drawFrameProc;
    r.userData = &calls_;
    r.gw = gw_;
    r.width = kW;
    r.height = kH;
    return r;
  }

  // Writes frames first .. last - 1 (with sound when `channels` > 0).
  KVmovieExport write(frefinfos* out, int32_t first, int32_t last, int32_t timeScale,
                      int16_t channels = 0)
  {
    KVmovieExport r = exportOf(out, first, last, timeScale);
    if (channels > 0) {
      samples_.assign(size_t(1000) * size_t(channels), 0);
      r.addSound = 1;
      r.soundProc = sineProc;
      r.channels = channels;
      r.totalSamples = INT32_MAX;
      r.sampleBuffer = samples_.data();
      r.sampleBufferFrames = 1000;
    }
    QT_CreateMovie(&r, nullptr);
    return r;
  }

  // The red of the frame a movie shows at `time` (its video units).
  static int redAt(kvmovie::Movie* movie, int64_t time)
  {
    std::vector<uint8_t> px(size_t(kW) * kH * 4);
    kvmovie::FrameTarget t{px.data(), kW * 4, kW, kH, 0, 0, kW, kH};
    if (!kvmovie::drawFrame(movie, 0, time, t))
      return -1;
    return px[(kH / 2 * kW + kW / 2) * 4 + 1];
  }

  TempFolder folder_;
  Offworld gw_ = nullptr;
  Calls calls_;
  std::vector<int16_t> samples_;
  ReportTextProc oldReport_ = nullptr;
};

struct MovieCloser
{
  kvmovie::Movie* m;
  ~MovieCloser() { kvmovie::closeMovie(m); }
};

TEST_F(MovieFiles, FramesFirstToLastWrittenAsQtrle)
{
  frefinfos out = output("x.mov");
  const KVmovieExport r = write(&out, 10, 20, 2500);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(gReports.empty());
  EXPECT_EQ(r.codecType, fourcc("rle "));
  EXPECT_EQ(calls_.frames.size(), 10u);  // the last frame is not written
  EXPECT_EQ(xFile_getType(folder_.ref("x.mov")), fourcc("MooV"));
  MovieCloser m{kvmovie::openMovie(folder_.ref("x.mov").path())};
  ASSERT_NE(m.m, nullptr);
  ASSERT_EQ(kvmovie::trackCount(m.m), 1);
  const kvmovie::Track* t = kvmovie::movieTrack(m.m, 0);
  EXPECT_EQ(t->codecType, fourcc("rle "));
  EXPECT_EQ(t->timeScale, 2500);
  EXPECT_EQ(t->duration, 1000);  // 0.4 s
  EXPECT_EQ(t->sampleCount, 10);
  EXPECT_EQ(t->width, kW);
  // Lossless: each frame's own red, in order.
  for (int f = 0; f < 10; ++f)
    EXPECT_EQ(redAt(m.m, f * 100 + 50), redOf(10 + f)) << "frame " << f;
}

TEST_F(MovieFiles, DestinationRectangleBecomesTheTrackMatrix)
{
  frefinfos out = output("m.mov");
  KVmovieExport r = exportOf(&out, 0, 2);
  const Rect dest{10, 20, 10 + 2 * kH, 20 + 2 * kW};
  QT_CreateMovie(&r, &dest);
  EXPECT_EQ(r.status, 0);
  // The matrix of the track header (version 0): 40 bytes after its type.
  const std::string bytes = TempFolder::read(folder_.ref("m.mov"));
  const size_t tkhd = bytes.find("tkhd");
  ASSERT_NE(tkhd, std::string::npos);
  auto word = [&](int i) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + tkhd + 4 + 40 + 4 * i);
    return int32_t(uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]);
  };
  const int32_t want[9] = {2 << 16, 0, 0, 0, 2 << 16, 0, 20 << 16, 10 << 16, 1 << 30};
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(word(i), want[i]) << i;
  // An empty rectangle is refused.
  gReports.clear();
  const Rect empty{10, 20, 10, 40};
  QT_CreateMovie(&r, &empty);
  EXPECT_EQ(gReports, (std::vector<std::string>{"InsertMediaIntoTrack=-50"}));
}

TEST_F(MovieFiles, CompressionInstanceChoosesTheEncoder)
{
  struct Case
  {
    const char* type;
    OSType code;
    bool lossless;
  };
  for (const Case c : {Case{"jpeg", fourcc("jpeg"), false}, Case{"png ", fourcc("png "), true},
                       Case{"mp4v", fourcc("mp4v"), false}, Case{"rle ", fourcc("rle "), true}}) {
    SCOPED_TRACE(c.type);
    gSCSpatialSettings.codecType = c.code;
    gSCSpatialSettings.spatialQuality = 1023;
    ASSERT_NE(KV_openCompressor(), nullptr);
    frefinfos out = output(std::string("c") + c.type[0] + ".mov");
    EXPECT_EQ(write(&out, 0, 4, 2500).status, 0);
    MovieCloser m{kvmovie::openMovie(folder_.ref(std::string("c") + c.type[0] + ".mov").path())};
    ASSERT_NE(m.m, nullptr);
    EXPECT_EQ(kvmovie::movieTrack(m.m, 0)->codecType, c.code);
    EXPECT_EQ(kvmovie::movieTrack(m.m, 0)->sampleCount, 4);
    const int red = redAt(m.m, 250);
    if (c.lossless)
      EXPECT_EQ(red, redOf(2));
    else
      EXPECT_NEAR(red, redOf(2), 6);
  }
  // No encoder for the type: no instance, and gci stays as it was.
  gci = nullptr;
  gSCSpatialSettings.codecType = fourcc("zzzz");
  EXPECT_EQ(KV_openCompressor(), nullptr);
  EXPECT_EQ(gci, nullptr);
}

TEST_F(MovieFiles, QualityScalesTheJpegFrames)
{
  auto sizeAt = [&](int32_t quality) {
    gSCSpatialSettings.codecType = fourcc("jpeg");
    gSCSpatialSettings.spatialQuality = quality;
    KV_openCompressor();
    const Rect b = gw_->pixels.bounds;
    // A detailed picture, so that the quantiser shows.
    frefinfos out = output("q" + std::to_string(quality) + ".mov");
    KVmovieExport r;
    r.timeScale = 2500;
    r.lastFrame = 1;
    r.output = &out;
    r.frameProc = [](int32_t, Offworld gw, KVmovieExport*, void*) {
      for (int i = 0; i < kW * kH * 4; ++i)
        gw->pixels.baseAddr[i] = uint8_t(i * 37 % 251);
    };
    r.gw = gw_;
    r.width = int16_t(b.right);
    r.height = int16_t(b.bottom);
    QT_CreateMovie(&r, nullptr);
    EXPECT_EQ(r.status, 0);
    return std::filesystem::file_size(folder_.ref("q" + std::to_string(quality) + ".mov").path());
  };
  EXPECT_GT(sizeAt(1023), sizeAt(0));
}

TEST_F(MovieFiles, ImageSequencesNameEachFrame)
{
  struct Case
  {
    int32_t mode;
    const char* ext;
    OSType type;
  };
  for (const Case c : {Case{1, ".pct", fourcc("PICT")}, Case{2, ".tif", fourcc("TIFF")}}) {
    calls_ = Calls{};
    frefinfos out = output("seq", 0);
    KVmovieExport r;
    r.mode = c.mode;
    r.firstFrame = 10;
    r.lastFrame = 12;
    r.output = &out;
    r.frameProc = drawFrameProc;
    r.userData = &calls_;
    r.gw = gw_;
    QT_CreateMovie(&r, nullptr);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(calls_.frames, (std::vector<int32_t>{10, 11, 12}));
    const std::string e = c.ext;
    EXPECT_EQ(calls_.names,
              (std::vector<std::string>{"seq0010" + e, "seq0011" + e, "seq0012" + e}));
    EXPECT_EQ(calls_.types, (std::vector<OSType>{c.type, c.type, c.type}));
    EXPECT_EQ(out.name[0], 3);  // the name is given back
  }
  // A long name keeps its number and extension.
  calls_ = Calls{};
  frefinfos out = output(std::string(63, 'n'), 0);
  KVmovieExport r;
  r.mode = 1;
  r.output = &out;
  r.frameProc = drawFrameProc;
  r.userData = &calls_;
  r.gw = gw_;
  QT_CreateMovie(&r, nullptr);
  ASSERT_EQ(calls_.names.size(), 1u);
  EXPECT_EQ(calls_.names[0], std::string(55, 'n') + "0000.pct");
}

TEST_F(MovieFiles, SoundTrackIsTwosLimitedByTheLastFrame)
{
  frefinfos out = output("s.mov");
  const KVmovieExport r = write(&out, 10, 20, 2500, 2);
  EXPECT_EQ(r.status, 0);
  // trunc(20 x 100 / 2500 x 48,000) frames: the limit counts from frame 0.
  EXPECT_EQ(r.totalSamples, 38400);
  MovieCloser m{kvmovie::openMovie(folder_.ref("s.mov").path())};
  ASSERT_EQ(kvmovie::trackCount(m.m), 2);
  const kvmovie::Track* s = kvmovie::movieTrack(m.m, 1);
  EXPECT_EQ(s->codecType, fourcc("twos"));
  EXPECT_EQ(s->sampleRate, 48000);
  EXPECT_EQ(s->channels, 2);
  EXPECT_EQ(s->duration, 38400);

  // The samples come back as written.
  std::vector<int16_t> back(200 * 2);
  ASSERT_EQ(kvmovie::readSoundFrames(folder_.ref("s.mov").path(), 1, 2, 5000, 200, back.data()),
            200);
  for (int i = 0; i < 200; ++i)
    ASSERT_EQ(back[size_t(i) * 2 + 1], sineAt(5000 + i)) << i;

  // Another output rate: the description says 48,000; 44,100 keeps its own.
  gMovieOutputRate = 44100.0;
  frefinfos out2 = output("s44.mov");
  write(&out2, 0, 5, 2500, 1);
  MovieCloser m2{kvmovie::openMovie(folder_.ref("s44.mov").path())};
  EXPECT_EQ(kvmovie::movieTrack(m2.m, 1)->sampleRate, 44100);
  EXPECT_EQ(kvmovie::movieTrack(m2.m, 1)->duration, 8820);
}

TEST_F(MovieFiles, SoundTrackNeedsBufferAndProcedureAndEndsWhenNothingComes)
{
  frefinfos out = output("n.mov");
  KVmovieExport r;
  r.movie = kvmovie::createMovieWriter(folder_.ref("n.mov").path());
  r.channels = 2;
  r.totalSamples = 1000;
  EXPECT_EQ(QT_AddSoundTrack(&r), 0);  // no buffer, no procedure
  std::vector<int16_t> buffer(64 * 2);
  r.sampleBuffer = buffer.data();
  r.sampleBufferFrames = 64;
  r.soundProc = silentProc;
  EXPECT_EQ(QT_AddSoundTrack(&r), 1);  // returns instead of looping for ever
  r.channels = 17;
  EXPECT_EQ(QT_AddSoundTrack(&r), 0);
  EXPECT_EQ(gReports, (std::vector<std::string>{"NewMovieTrack Failed=-50"}));
  kvmovie::discardMovie(r.movie);
}

TEST_F(MovieFiles, FailuresAreReportedAndSetTheStatus)
{
  // A folder that does not exist.
  frefinfos nowhere = output("x.mov");
  nowhere.parent = folder_.ref("missing");
  EXPECT_EQ(write(&nowhere, 0, 2, 2500).status, kMovieExportError);
  EXPECT_EQ(gReports, (std::vector<std::string>{"CreateMovieFile=-43"}));

  // A buffer smaller than the track; a compression instance whose settings
  // name no encoder.
  struct Case
  {
    bool compress;
    const char* first;
  };
  for (const Case c :
       {Case{false, "GetMaxCompressionSize=-50"}, Case{true, "CompressSequenceBegin Failed=-50"}}) {
    gReports.clear();
    gci = nullptr;
    if (c.compress) {
      gSCSpatialSettings.codecType = fourcc("jpeg");
      KV_openCompressor();
      gSCSpatialSettings.codecType = fourcc("zzzz");
    }
    frefinfos out = output(c.compress ? "b.mov" : "a.mov");
    KVmovieExport r = exportOf(&out, 0, 3);
    r.width = c.compress ? kW : kW * 2;
    QT_CreateMovie(&r, nullptr);
    EXPECT_EQ(r.status, kMovieExportError);
    ASSERT_FALSE(gReports.empty());
    EXPECT_EQ(gReports[0], c.first);
  }
  // A zero time scale.
  gReports.clear();
  frefinfos out = output("z.mov");
  EXPECT_EQ(write(&out, 0, 2, 0).status, kMovieExportError);
  ASSERT_FALSE(gReports.empty());
  EXPECT_EQ(gReports[0], "NewTrackMedia=-50");
}

TEST_F(MovieFiles, CutForceRateConvertAndReplace)
{
  frefinfos out = output("src.mov");
  ASSERT_EQ(write(&out, 0, 10, 2500, 2).status, 0);
  const FileRef src = folder_.ref("src.mov");

  // Cut [300, 700): frames 3 .. 6.
  FileRef cut;
  ASSERT_EQ(CreateMovieCut(&src, &cut, 300, 400, 1), 1);
  EXPECT_EQ(cut.name, "src.cut1");
  {
    MovieCloser m{kvmovie::openMovie(cut.path())};
    ASSERT_NE(m.m, nullptr);
    EXPECT_EQ(kvmovie::movieTrack(m.m, 0)->sampleCount, 4);
    EXPECT_EQ(redAt(m.m, 50), redOf(3));
    EXPECT_EQ(redAt(m.m, 350), redOf(6));
    EXPECT_NEAR(kvmovie::movieTrack(m.m, 1)->duration, 48000 * 4 / 25, 1);
  }
  // Forced to 5000 units a second: twice as fast, same frames.
  FileRef fast = folder_.ref("fast.mov");
  std::filesystem::copy_file(src.path(), fast.path());
  EXPECT_EQ(ForceFPS(fast, 5000), noErr);
  {
    MovieCloser m{kvmovie::openMovie(fast.path())};
    const kvmovie::Track* t = kvmovie::movieTrack(m.m, 0);
    EXPECT_EQ(t->timeScale, 5000);
    EXPECT_EQ(t->duration, 1000);
    EXPECT_EQ(t->sampleCount, 10);
    EXPECT_EQ(redAt(m.m, 950), redOf(9));
  }
  // Frames 2 .. 4 replaced by red 250; the sound stays.
  calls_ = Calls{};
  calls_.red = 250;
  KVmovieExport r = exportOf(nullptr, 2, 5);
  QT_ReplaceMovieSegment(&r, &src);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(calls_.frames, (std::vector<int32_t>{2, 3, 4}));
  {
    MovieCloser m{kvmovie::openMovie(src.path())};
    ASSERT_NE(m.m, nullptr);
    ASSERT_EQ(kvmovie::trackCount(m.m), 2);
    EXPECT_EQ(kvmovie::movieTrack(m.m, 0)->sampleCount, 10);
    const int expected[] = {redOf(0), redOf(1), 250, 250, 250, redOf(5), redOf(9)};
    const int frames[] = {0, 1, 2, 3, 4, 5, 9};
    for (int i = 0; i < 7; ++i)
      EXPECT_EQ(redAt(m.m, frames[i] * 100 + 50), expected[i]) << frames[i];
  }
  // Converted: the cut as a .mov of its stem (over src.mov, rewritten whole).
  FileRef converted;
  ASSERT_EQ(CreateWarperMovie(&cut, &converted, fourcc("Qjpr")), 1);
  EXPECT_EQ(converted.name, "src.mov");
  EXPECT_EQ(xFile_getType(converted), fourcc("MooV"));
  {
    MovieCloser m{kvmovie::openMovie(converted.path())};
    ASSERT_NE(m.m, nullptr);
    EXPECT_EQ(kvmovie::movieTrack(m.m, 0)->sampleCount, 4);
    EXPECT_EQ(redAt(m.m, 50), redOf(3));
  }
  // An unreadable movie: the alert and the status.
  static int alerts = 0;
  AlertDialogProc oldAlert = SetAlertDialogProc([](int16_t id, int16_t index, ConstStringPtr) {
    alerts += id == 1059 && index == 5;
    return int16_t(1);
  });
  const FileRef junk = folder_.ref("junk.mov");
  folder_.write("junk.mov", "not a movie");
  KVmovieExport bad;
  bad.timeScale = 2500;
  QT_ReplaceMovieSegment(&bad, &junk);
  SetAlertDialogProc(oldAlert);
  EXPECT_EQ(bad.status, kMovieExportError);
  EXPECT_EQ(alerts, 1);
}

TEST_F(MovieFiles, MovieSoundAtTheOutputRateOrConverted)
{
  frefinfos out = output("snd.mov");
  ASSERT_EQ(write(&out, 0, 10, 2500, 2).status, 0);
  FileRef file = folder_.ref("snd.mov");
  MovieInputWork work;
  InitMovieInputWork(&work);
  // 48,000 Hz 'twos' stereo at an output of 48,000: read as it is.
  EXPECT_EQ(GetMovieSoundInfos(&work, &file, true), 2);
  EXPECT_EQ(work.soundTrackIndex, 2);
  EXPECT_EQ(work.bytesPerSample, 2);
  EXPECT_EQ(work.soundSampleCount, 19200);
  EXPECT_FALSE(kvfs::exists(folder_.ref("snd.aif")));

  Handle h = NewHandle(0);
  EXPECT_EQ(GetMovieSoundSamples(&work, h, 100, 50), 50 * 2 * 2);
  EXPECT_EQ(reinterpret_cast<int16_t*>(*h)[49 * 2], sineAt(149));
  // Past the end: zeros, only what the track holds.
  EXPECT_EQ(GetMovieSoundSamples(&work, h, 19190, 50), 10 * 2 * 2);
  EXPECT_EQ(reinterpret_cast<int16_t*>(*h)[20 * 2], 0);
  EXPECT_EQ(GetMovieSoundSamples(&work, h, 30000, 50), 50 * 2 * 2);
  EXPECT_EQ(GetMovieSoundSamples(&work, h, -1, 50), 0);
  DisposeHandle(h);
  CloseMovie4Render(&work);

  // At 22,050: converted only when asked.
  gMovieOutputRate = 22050.0;
  InitMovieInputWork(&work);
  EXPECT_EQ(GetMovieSoundInfos(&work, &file, false), 0);
  EXPECT_FALSE(kvfs::exists(folder_.ref("snd.aif")));
  EXPECT_EQ(GetMovieSoundInfos(&work, &file, true), 2);
  EXPECT_EQ(work.soundTrackIndex, -2);
  EXPECT_EQ(file.name, "snd.aif");
  EXPECT_EQ(xFile_getType(file), fourcc("AIFF"));
  CloseMovie4Render(&work);
  {
    MovieCloser m{kvmovie::openMovie(file.path())};
    ASSERT_NE(m.m, nullptr);
    const kvmovie::Track* a = kvmovie::movieTrack(m.m, 0);
    EXPECT_EQ(a->sampleRate, 22050);
    EXPECT_EQ(a->channels, 2);
    EXPECT_NEAR(double(a->duration) / a->timeScale, 0.4, 0.01);
  }
  // The AIFF now stands in at once.
  InitMovieInputWork(&work);
  file = folder_.ref("snd.mov");
  EXPECT_EQ(GetMovieSoundInfos(&work, &file, true), 0);
  EXPECT_EQ(work.soundTrackIndex, -2);
  EXPECT_EQ(file.name, "snd.aif");
  // A movie without sound.
  InitMovieInputWork(&work);
  frefinfos quiet = output("quiet.mov");
  write(&quiet, 0, 2, 2500);
  file = folder_.ref("quiet.mov");
  EXPECT_EQ(GetMovieSoundInfos(&work, &file, true), 0);
  EXPECT_EQ(work.soundTrackIndex, 0);
  CloseMovie4Render(&work);
}

TEST_F(MovieFiles, TruncatedMoviesGiveNoSoundOrPartOfIt)
{
  frefinfos out = output("whole.mov");
  ASSERT_EQ(write(&out, 0, 10, 2500, 2).status, 0);
  const std::string bytes = TempFolder::read(folder_.ref("whole.mov"));
  gMovieOutputRate = 22050.0;
  // Cut short (the movie header at the end is lost), or with two bytes of
  // the header at the end set to 0xFF (counts, sizes and offsets damaged).
  std::vector<std::string> damaged = {bytes.substr(0, 16), bytes.substr(0, bytes.size() / 2)};
  for (size_t k = 0; k < 12; ++k) {
    std::string d = bytes;
    d[d.size() - 700 + k * 53] = d[d.size() - 699 + k * 53] = char(0xFF);
    damaged.push_back(d);
  }
  int opened = 0;
  for (size_t k = 0; k < damaged.size(); ++k) {
    SCOPED_TRACE(k);
    const std::string name = "t" + std::to_string(k);
    FileRef file = folder_.write(name + ".mov", damaged[k]);
    MovieInputWork work;
    InitMovieInputWork(&work);
    const int16_t channels = GetMovieSoundInfos(&work, &file, true);
    // Either no sound, or a complete AIFF of what could be read.
    if (channels == 0)
      EXPECT_FALSE(kvfs::exists(folder_.ref(name + ".aif")));
    else
      EXPECT_EQ(work.soundTrackIndex, -2);
    opened += channels > 0;
    EXPECT_FALSE(kvfs::exists(folder_.ref(name + ".aif.part")));
    Handle h = NewHandle(0);
    work.channels = 2;
    work.soundSampleCount = INT32_MAX;  // a count the file does not hold
    work.soundTrackIndex = 2;
    GetMovieSoundSamples(&work, h, 0, 4096);
    DisposeHandle(h);
    CloseMovie4Render(&work);
  }
  EXPECT_GT(opened, 0);  // damage the readers get past is read too
}

TEST(MovieSoundDescription, TwosBytes)
{
  Handle h = NewHandle(4);
  gMovieOutputRate = 22050.0;
  CreateSoundDescription(h, 2, 16);
  gMovieOutputRate = 44100.0;
  ASSERT_EQ(GetHandleSize(h), 36);
  const auto* p = reinterpret_cast<const uint8_t*>(*h);
  const uint8_t head[] = {0, 0, 0, 36, 't', 'w', 'o', 's'};
  EXPECT_EQ(std::memcmp(p, head, 8), 0);
  EXPECT_EQ(p[15], 1);                   // data reference index
  EXPECT_EQ(p[25], 2);                   // channels
  EXPECT_EQ(p[27], 16);                  // sample size
  EXPECT_EQ(p[32] << 8 | p[33], 48000);  // not 44,100: another rate
  DisposeHandle(h);
  const KVmovieExporter* aiff = openMovieExportComp();
  ASSERT_NE(aiff, nullptr);
  EXPECT_EQ(aiff->subtype, fourcc("AIFF"));
}

}  // namespace
