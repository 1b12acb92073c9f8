// Set-up, stills and the small services beside movie inputs: start-up, still
// reading at natural size and scaled (against ImageMagick's decoding),
// exports, numbered names, one-frame movies, the information line and the
// error report. Fixtures are made at test time by ImageMagick and ffmpeg.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "document/qtsetup.h"
#include "document/videoformats.h"
#include "foundation/appshell.h"
#include "tests/platform/tempfolder.h"

namespace {

std::string text(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

void setPascal(StringPtr out, const std::string& s)
{
  out[0] = uint8_t(s.size());
  std::memcpy(out + 1, s.data(), s.size());
}

// A buffer freed when the test leaves, however it leaves.
struct Buffer
{
  Offworld gw = nullptr;
  ~Buffer() { KillOffworld(&gw); }
};

class StillFixtures : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    folder_ = new TempFolder;
    // A photograph (ImageMagick's built-in rose, 70 x 46) in each format.
    for (const char* name : {"rose.png", "rose.jpg", "rose.tif", "rose.bmp", "rose.psd"})
      run("convert rose: '" + path(name) + "'");
    run("convert rose: -colors 32 '" + path("palette.gif") + "'");
    run("convert rose: -colorspace Gray '" + path("grey.png") + "'");
    run("convert rose: -depth 16 '" + path("deep.png") + "'");
    run("convert rose: -alpha set -channel A -fx 'i/w' '" + path("alpha.png") + "'");
    run("ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=30 -frames:v 1 -c:v mjpeg '" +
        path("one.mov") + "'");
    run("ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=30 -t 1 -c:v mjpeg '" +
        path("many.mov") + "'");
    run("ffmpeg -v error -y -f lavfi -i sine=duration=1 '" + path("sound.wav") + "'");
  }
  static void TearDownTestSuite()
  {
    delete folder_;
    folder_ = nullptr;
  }
  static void run(const std::string& command)
  {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  static std::string path(const std::string& name) { return folder_->ref(name).path(); }
  static FileRef file(const std::string& name) { return folder_->ref(name); }

  // ImageMagick's decoding of a file (optionally resized), as straight RGBA.
  static std::vector<uint8_t> reference(const std::string& name, const std::string& resize = "")
  {
    const std::string raw = path(name + ".rgba");
    run("convert '" + path(name) + "[0]'" + resize + " -depth 8 'RGBA:" + raw + "'");
    std::ifstream in(raw, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  }

  static TempFolder* folder_;
};
TempFolder* StillFixtures::folder_ = nullptr;

// PSNR of the colour channels of a 32-bit buffer against RGBA bytes, and
// the largest alpha difference.
double psnr(Offworld gw, const std::vector<uint8_t>& rgba, int* alphaDiff)
{
  const PixMap& pm = gw->pixels;
  const int w = pm.bounds.right - pm.bounds.left, h = pm.bounds.bottom - pm.bounds.top;
  if (rgba.size() != size_t(w) * h * 4)
    return 0;
  double sum = 0;
  *alphaDiff = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = pm.baseAddr + size_t(y) * pm.rowBytes + size_t(x) * 4;
      const uint8_t* q = &rgba[(size_t(y) * w + x) * 4];
      for (int c = 0; c < 3; ++c)
        sum += std::pow(double(p[c + 1]) - q[c], 2);
      *alphaDiff = std::max(*alphaDiff, std::abs(int(p[0]) - int(q[3])));
    }
  const double mse = sum / (double(w) * h * 3);
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

TEST_F(StillFixtures, NaturalSizeMatchesImageMagick)
{
  for (const char* name : {"rose.png", "rose.jpg", "rose.tif", "rose.bmp", "rose.psd",
                           "palette.gif", "grey.png", "deep.png", "alpha.png"}) {
    SCOPED_TRACE(name);
    Buffer b;
    ASSERT_EQ(QTgetGenericImageGW(file(name), &b.gw, 32), 0);
    EXPECT_EQ(b.gw->pixels.bounds.right, 70);
    EXPECT_EQ(b.gw->pixels.bounds.bottom, 46);
    int alphaDiff = 0;
    EXPECT_GT(psnr(b.gw, reference(name), &alphaDiff), 40);
    EXPECT_LE(alphaDiff, 1);
  }
}

TEST_F(StillFixtures, OtherDepths)
{
  for (int16_t depth : {8, 16}) {
    Buffer b;
    ASSERT_EQ(QTgetGenericImageGW(file("grey.png"), &b.gw, depth), 0) << depth;
    EXPECT_EQ(b.gw->pixels.pixelSize, depth);
    EXPECT_EQ(b.gw->pixels.bounds.right, 70);
  }
}

TEST_F(StillFixtures, ScaledIntoARectangle)
{
  Buffer b;
  Offworld& gw = b.gw;
  ASSERT_EQ(CreateOffworld(PackRectTopLeft(Rect{0, 0, 92, 140}),
                           PackRectBottomRight(Rect{0, 0, 92, 140}), 32, &gw),
            0);
  ASSERT_EQ(QTgetGenericImageInto(file("rose.png"), gw, Rect{0, 0, 92, 140}), 0);
  int alphaDiff = 0;
  EXPECT_GT(psnr(gw, reference("rose.png", " -filter Catrom -resize 140x92!"), &alphaDiff), 30);
  EXPECT_EQ(alphaDiff, 0);
  // A rectangle reaching past the buffer is cut to it.
  ASSERT_EQ(QTgetGenericImageInto(file("rose.png"), gw, Rect{-46, -70, 46, 70}), 0);
  EXPECT_EQ(QTgetGenericImageInto(file("rose.png"), nullptr, Rect{0, 0, 46, 70}), -1);
}

TEST_F(StillFixtures, UnreadableStillsFailCleanly)
{
  std::ifstream in(path("rose.png"), std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  std::mt19937 random(5);
  for (int variant = 0; variant < 8; ++variant) {
    std::vector<char> damaged = bytes;
    if (variant < 3)
      damaged.resize(damaged.size() * size_t(variant + 1) / 4);
    else
      for (int i = 0; i < 20 * variant; ++i)
        damaged[8 + random() % (damaged.size() - 8)] ^= char(0x5A);
    std::ofstream(path("damaged.png"), std::ios::binary)
        .write(damaged.data(), std::streamsize(damaged.size()));
    Offworld gw = nullptr;
    const int16_t status = QTgetGenericImageGW(file("damaged.png"), &gw, 32);
    EXPECT_TRUE(status == 0 || gw == nullptr);
    KillOffworld(&gw);
  }
  Buffer b;
  Offworld& gw = b.gw;
  EXPECT_EQ(QTgetGenericImageGW(file("missing.png"), &gw, 32), -1);
  EXPECT_EQ(gw, nullptr);
  EXPECT_EQ(QTgetGenericImageGW(file("sound.wav"), &gw, 32), -1);
  // Without a type from name or content there is nothing to read.
  run("printf 'plain words' > '" + path("plain") + "'");
  ASSERT_EQ(CreateOffworld(PackRectTopLeft(Rect{0, 0, 4, 4}), PackRectBottomRight(Rect{0, 0, 4, 4}),
                           32, &gw),
            0);
  EXPECT_EQ(QTgetAnyImageInto(file("plain"), gw, Rect{0, 0, 4, 4}), -1);
}

TEST_F(StillFixtures, ExportsByType)
{
  Buffer b;
  Offworld& gw = b.gw;
  ASSERT_EQ(QTgetGenericImageGW(file("rose.png"), &gw, 32), 0);
  struct Case
  {
    OSType type;
    const char* name;
    int16_t want;
    const char* format;  // as identify names it
  } cases[] = {
      {fourcc("PNGf"), "out.png", 1, "PNG"},
      {fourcc("TIFF"), "out.tif", 1, "TIFF"},
      {fourcc("PICT"), "out.pct", 1, "PICT"},
      {fourcc("GIFf"), "out.gif", 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    frefinfos record;
    record.type = c.type;
    record.parent = folder_->root();
    setPascal(record.name, c.name);
    ASSERT_EQ(QT_ExportGworld(&record, gw, fourcc("Qjpr")), c.want);
    if (c.format == nullptr)
      continue;
    const std::string command = "identify -format '%m %w %h' '" + path(c.name) + "'";
    FILE* p = popen(command.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char line[64] = {};
    ASSERT_NE(std::fgets(line, sizeof line, p), nullptr);
    pclose(p);
    EXPECT_EQ(std::string(line), std::string(c.format) + " 70 46");
  }
  frefinfos nowhere;
  nowhere.type = fourcc("PNGf");
  nowhere.parent = folder_->ref("no such folder");
  setPascal(nowhere.name, "x.png");
  EXPECT_EQ(QT_ExportGworld(&nowhere, gw, fourcc("Qjpr")), 0);
}

TEST_F(StillFixtures, StillMovies)
{
  struct Case
  {
    const char* name;
    int16_t want, track;
  } cases[] = {{"one.mov", 1, 1}, {"many.mov", 0, 1}, {"sound.wav", 0, 0}, {"missing.mov", 0, 0}};
  for (const Case& c : cases) {
    int16_t track = -1;
    EXPECT_EQ(IsMoviePict(file(c.name), &track), c.want) << c.name;
    EXPECT_EQ(track, c.track) << c.name;
  }
}

TEST(VideoSetup, StartUpAndErrors)
{
  gSCSpatialSettings = KVspatialSettings{};
  EXPECT_EQ(InitMovieToolbox(), 0);
  EXPECT_EQ(gSCSpatialSettings.codecType, fourcc("rle "));
  EXPECT_EQ(gSCSpatialSettings.depth, 24);
  EXPECT_EQ(gSCSpatialSettings.spatialQuality, 512);
  EXPECT_EQ(gci, nullptr);
  ExitMovieToolbox();

  static std::vector<std::string> reports;
  reports.clear();
  ReportTextProc old = SetReportTextProc(
      [](ConstStringPtr t, int32_t n) { reports.push_back(text(t) + "=" + std::to_string(n)); });
  EXPECT_EQ(CheckError(0, reinterpret_cast<ConstStringPtr>("\x04oops")), 0);
  EXPECT_EQ(CheckError(-43, reinterpret_cast<ConstStringPtr>("\x04oops")), 2);
  EXPECT_EQ(CheckError(-43, reinterpret_cast<ConstStringPtr>("\x00")), 2);
  SetReportTextProc(old);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "oops=-43");
}

TEST(VideoSetup, NumberedNames)
{
  struct Case
  {
    const char* name;
    int32_t number;  // QTGetImageNumber
    int32_t next;    // given to QTConcatNumberKeepExtension
    const char* want;
  } cases[] = {
      {"img0099.png", 99, 100, "img0100.png"},
      {"img.png", -1, 7, "img0007.png"},         // no number: four digits
      {"shot5.png", 5, 3, "shot50003.png"},      // one digit is not a number to replace
      {"f123456.tif", 123456, 1, "f00001.tif"},  // at most five digits
      {"clip99.mov", 99, 12345, "clip12345.mov"},
      {"take12", 12, 13, "take13"},  // no extension
      // ".jpeg7" is no extension of one to three characters: the number ends
      // the name.
      {"name.jpeg7", 7, 8, "name.jpeg70008"},
      {"a.b", -1, 42, "a0042.b"},
  };
  for (const Case& c : cases) {
    Str255 name;
    setPascal(name, c.name);
    EXPECT_EQ(QTGetImageNumber(name), c.number) << c.name;
    QTConcatNumberKeepExtension(name, c.next);
    EXPECT_EQ(text(name), c.want) << c.name;
  }
  // A name at the length limit keeps its number and extension.
  Str255 name;
  setPascal(name, std::string(251, 'x') + ".png");
  QTConcatNumberKeepExtension(name, 3);
  EXPECT_EQ(name[0], 255);
  EXPECT_EQ(text(name).substr(244), "xxx0003.png");

  frefinfos record;
  setPascal(record.name, "picture.tif");
  Str255 proposed;
  QTSave_ImageDefaultName(&record, proposed);
  EXPECT_EQ(text(proposed), "picture");

  FileRef ref = FileRef::fromPath("/tmp/x/render");
  QTGraphicsExportSetExtension(&ref, fourcc("PNGf"));
  QTGraphicsExportSetExtension(&ref, fourcc("JPEG"));  // no extension for other types
  EXPECT_EQ(ref.name, "render.png");
}

TEST(VideoSetup, InformationLine)
{
  MovieInputWork work{};
  work.width = 64;
  work.height = 48;
  work.frameRate = 3000;
  setMovieInfosString(&work);
  EXPECT_EQ(text(gAppInfosText), "( size : 64x48  fps : 30.00 )");
  work.frameRate = 2997;
  setMovieInfosString(&work);
  EXPECT_EQ(text(gAppInfosText), "( size : 64x48  fps : 29.97 )");
}

TEST(VideoSetup, FormatsAndSMPTEBeyondTheFirstMinute)
{
  EXPECT_EQ(FindSTDVideoFormatIndex(1024, 576, 1024, 576, 25), 12);
  EXPECT_EQ(FindSTDVideoFormatIndex(720, 480, 864, 486, 29.97), 10);
  EXPECT_EQ(FindSTDVideoFormatIndex(640, 486, 864, 486, 29.97), 0);
  // The seconds are not carried into the minutes.
  const KVsmpte t = KV_unpackSMPTE(msToSMPTE(119999, 2500));
  EXPECT_EQ(t.minutes, 1);
  EXPECT_EQ(t.seconds, 60);
  EXPECT_EQ(t.frames, 0);
  // Turned back into frames, the time gives the same count either way.
  EXPECT_EQ((t.minutes * 60 + t.seconds) * 25 + t.frames, mstoframe(119999, 2500));
  // A rate of 0 divides nothing by zero.
  EXPECT_EQ(KV_unpackSMPTE(fToSMPTE(10, 0)).seconds, 10);
}

}  // namespace
