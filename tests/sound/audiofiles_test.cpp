// Audio files: the format and name tables, writing and reading back through
// libsndfile (synchronous and asynchronous appends, the mix renderer's
// record), frames scaled by the play rate, loops, rate conversion, the
// waveform overview and the disk player's fill procedure.
#include "sound/audiofiles.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <string>
#include <thread>
#include <vector>

#include "foundation/iodata.h"
#include "foundation/pstrings.h"
#include "imaging/qzimages.h"
#include "platform/audio.h"

namespace {

std::string nameOf(const soundDocInfos& record)
{
  return std::string(reinterpret_cast<const char*>(record.name + 1), record.name[0]);
}

class AudioFiles : public ::testing::Test
{
protected:
  void SetUp() override
  {
    folder_ = std::filesystem::temp_directory_path() /
              ("kv_audiofiles_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // A new record of `frames` frames named `name` in the test folder.
  soundDocInfos record(const char* name, OSType type, int16_t bytes, uint16_t channels,
                       uint32_t frames = 1000)
  {
    soundDocInfos r;
    soundDocInfos_init(&r, frames, channels);
    r.type = type;
    r.bytesPerSample = bytes;
    r.file = FileRef::fromPath(folder_.string());
    SetPString(r.name, name);
    return r;
  }

  // Writes a ramp (frame i = i / frames, every channel alike) as the record.
  void writeRamp(soundDocInfos* r, uint16_t async = 0)
  {
    ExtAudioFileRef file = xCreateAccess_SoundFile(r, nullptr, 0, async);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(size_t(r->frames) * r->channels);
    for (size_t i = 0; i < samples.size(); ++i)
      samples[i] = float(i / size_t(r->channels)) / float(r->frames);
    uint32_t bytes = 0;
    for (uint32_t at = 0; at < r->frames; at += 100)
      ASSERT_EQ(xWriteAccess_SoundFile(file, samples.data() + size_t(at) * r->channels,
                                       std::min<uint32_t>(100, r->frames - at), &bytes),
                0);
    xCloseAccess_SoundFile(r, &file);
    EXPECT_EQ(bytes, r->frames * uint32_t(std::abs(r->bytesPerSample)) * r->channels);
  }

  std::filesystem::path folder_;
};

TEST(AudioFormats, ClientFormatsAndDepths)
{
  struct Case
  {
    int16_t bytes;
    uint16_t layout;
    uint32_t flags, channels, bytesPerFrame, bits;
  };
  const Case cases[] = {
      {4, 0, 41, 1, 4, 32}, {4, 1, 41, 2, 4, 32}, {4, 2, 9, 2, 8, 32},
      {2, 0, 14, 1, 2, 16}, {3, 1, 46, 2, 3, 24}, {3, 2, 14, 2, 6, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bytes << " bytes, layout " << c.layout);
    AudioStreamBasicDescription f;
    SetAudioFormat(&f, c.bytes, c.layout, 22050);
    EXPECT_EQ(f.formatID, fourcc("lpcm"));
    EXPECT_EQ(f.sampleRate, 22050);
    EXPECT_EQ(f.formatFlags, c.flags);
    EXPECT_EQ(f.channelsPerFrame, c.channels);
    EXPECT_EQ(f.bytesPerFrame, c.bytesPerFrame);
    EXPECT_EQ(f.bytesPerPacket, c.bytesPerFrame);
    EXPECT_EQ(f.bitsPerChannel, c.bits);
  }
  // FixsdocDepth: WAVE 2..3, AIFF and Sd2f 2..4, others unchanged.
  EXPECT_EQ(FixsdocDepth(fourcc("WAVE"), 4), 3);
  EXPECT_EQ(FixsdocDepth(fourcc("WAVE"), 1), 2);
  EXPECT_EQ(FixsdocDepth(fourcc("AIFF"), 4), 4);
  EXPECT_EQ(FixsdocDepth(fourcc("AIFF"), 5), 4);
  EXPECT_EQ(FixsdocDepth(fourcc("Sd2f"), 1), 2);
  EXPECT_EQ(FixsdocDepth(fourcc("caff"), -4), -4);
  // File formats: caff -4 is float, WAVE little-endian, others big-endian.
  soundDocInfos r;
  soundDocInfos_init(&r, 10, 2);
  EXPECT_EQ(r.type, fourcc("AIFF"));
  const struct
  {
    OSType type;
    int16_t bytes;
    uint32_t flags, bytesPerFrame;
  } files[] = {{fourcc("caff"), -4, 9, 8}, {fourcc("WAVE"), 3, 12, 6}, {fourcc("AIFF"), 2, 14, 4}};
  for (const auto& c : files) {
    r.type = c.type;
    r.bytesPerSample = c.bytes;
    AudioStreamBasicDescription f;
    SetAudioDocFormat(&r, &f);
    EXPECT_EQ(f.formatFlags, c.flags);
    EXPECT_EQ(f.bytesPerFrame, c.bytesPerFrame);
  }
}

TEST(AudioFormats, TypeListsAndNames)
{
  GetSupportedAudioTypes();
  EXPECT_EQ(gIOdata.typeCount, 9);
  EXPECT_TRUE(isSupportedAudioType(fourcc("MPG3")));
  EXPECT_FALSE(isSupportedAudioType(fourcc("MooV")));
  GetSupportedCoreAudioTypes();
  EXPECT_EQ(gIOdata.typeCount, 4);
  EXPECT_FALSE(isSupportedAudioType(fourcc("MPG3")));
  EXPECT_FALSE(isSupportedAudioType(fourcc("MooV")));

  // Saving turns types outside the short list (and Sd2f) into AIFF.
  for (OSType type : {fourcc("MooV"), fourcc("NeXT"), fourcc("Sd2f")}) {
    soundDocInfos r;
    soundDocInfos_init(&r, 10, 2);
    r.type = type;
    SetPString(r.name, "take.mov");
    ASSERT_TRUE(AUfile_Put(&r, 0));
    EXPECT_EQ(r.type, fourcc("AIFF"));
    EXPECT_EQ(nameOf(r), "take.aif");
  }
  // Extensions; Sd2f adds ".LR" only when stereo.
  const struct
  {
    OSType type;
    uint16_t channels;
    const char* name;
  } extensions[] = {{fourcc("WAVE"), 1, "a.wav"},
                    {fourcc("caff"), 2, "a.caf"},
                    {fourcc("Sd2f"), 2, "a.LR"},
                    {fourcc("Sd2f"), 1, "a"},
                    {fourcc("NeXT"), 1, "a"}};
  for (const auto& c : extensions) {
    soundDocInfos r;
    soundDocInfos_init(&r, 10, c.channels);
    r.type = c.type;
    SetPString(r.name, "a.aif");
    SetSoundEfileExtension(&r);
    EXPECT_EQ(nameOf(r), c.name);
  }
  // AddSoundEfileName drops up to four end characters equal to the
  // suffix's last characters.
  const struct
  {
    const char *name, *suffix, *result;
  } suffixes[] = {{"song", "_RS", "song_RS"},
                  {"song_RS", "_RS", "song_RS"},
                  {"abcS", "_RS", "abc_RS"},
                  {"take_copy", "_copy", "take__copy"},
                  {"", "_RS", "_RS"}};
  for (const auto& c : suffixes) {
    soundDocInfos r;
    SetPString(r.name, c.name);
    Str255 suffix;
    SetPString(suffix, c.suffix);
    AddSoundEfileName(&r, suffix);
    EXPECT_EQ(nameOf(r), c.result) << c.name << " + " << c.suffix;
  }
}

TEST_F(AudioFiles, WrittenFilesReadBackInEveryFormat)
{
  const struct
  {
    OSType type;
    int16_t bytes;
    uint16_t channels;
    double tolerance;
  } cases[] = {{fourcc("AIFF"), 2, 2, 2.0 / 32767},
               {fourcc("AIFF"), 3, 1, 2.0 / 8388607},
               {fourcc("WAVE"), 2, 1, 2.0 / 32767},
               {fourcc("caff"), -4, 2, 0},
               {fourcc("caff"), 4, 1, 1e-7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.type << std::dec << " " << c.bytes);
    soundDocInfos r = record("ramp", c.type, c.bytes, c.channels);
    writeRamp(&r, c.bytes == 2 ? 1 : 0);
    soundDocInfos read = r;
    ASSERT_EQ(AUfile_GetInfos(&read, 1), 0);
    EXPECT_EQ(read.type, c.type);
    EXPECT_EQ(read.bytesPerSample, c.bytes);
    EXPECT_EQ(read.channels, c.channels);
    EXPECT_EQ(read.frames, 1000u);
    EXPECT_EQ(read.state, 3);
    std::vector<float> all(size_t(1000) * c.channels);
    ASSERT_EQ(AUfile_MemoryRead(&read, all.data(), 1), 0);
    for (size_t i = 0; i < all.size(); i += 37)
      EXPECT_NEAR(all[i], float(i / c.channels) / 1000.0f, c.tolerance + 1e-7) << i;
    // Split channels; a mono file fills right as left.
    std::vector<float> left(1000), right(1000);
    ASSERT_EQ(AUfile_MemoryReadDUAL(&read, left.data(), right.data(), 1), 0);
    EXPECT_EQ(left, right);
    EXPECT_NEAR(left[500], 0.5f, c.tolerance + 1e-7);
  }
}

TEST_F(AudioFiles, FramesScaleByThePlayRateAndChunksStayInside)
{
  soundDocInfos r = record("rate", fourcc("WAVE"), 2, 1, 4410);
  writeRamp(&r);
  soundDocInfos open = r;
  ExtAudioFileRef file = nullptr;
  ASSERT_EQ(AUfile_Open(&open, &file, 22050), 0);
  EXPECT_EQ(open.frames, 2205u);
  // A chunk near the end stops at the scaled frame count; the rest is 0.
  std::vector<float> chunk(300, 9.0f);
  const uint32_t got = AUfile_ReadChunk(file, &open, chunk.data(), 300, 2100);
  EXPECT_LE(got, 105u);
  EXPECT_GE(got, 100u);
  EXPECT_EQ(chunk[299], 0.0f);
  // The converter starts afresh at a seek: a few frames in, the ramp shows.
  EXPECT_NEAR(chunk[60], 2160.0 / 2205.0, 0.01);
  EXPECT_EQ(AUfile_ReadChunk(file, &open, chunk.data(), 300, 5000), 0u);
  EXPECT_EQ(AUfile_ReadChunk(file, &open, chunk.data(), 300, -1), 0u);
  AUfile_Dispose(&file);
  // Rates that are not finite or not positive are refused.
  for (double rate : {0.0, -44100.0, double(NAN), double(INFINITY)})
    EXPECT_NE(AUfile_Open(&open, &file, rate), 0);
  EXPECT_EQ(file, nullptr);
  EXPECT_FALSE(ConvertSampleRateToDisk(&r, NAN, 0));
}

TEST_F(AudioFiles, LoopsReadBackAndMarkersPastTheEndAreRefused)
{
  for (OSType type : {fourcc("AIFF"), fourcc("WAVE")}) {
    soundDocInfos r = record("loop", type, 2, 2);
    r.loop.loopCount = 1;
    r.loop.loopStart = 100;
    r.loop.loopEnd = 900;
    writeRamp(&r);
    soundDocInfos read = r;
    read.loop = SoundLoopBlock{};
    ASSERT_EQ(AUfile_GetInfos(&read, 1), 0);
    EXPECT_EQ(read.loop.loopCount, 1);
    EXPECT_EQ(read.loop.loopStart, 100);
    EXPECT_EQ(read.loop.loopEnd, 900);
    EXPECT_EQ(read.loop.loopFields[0], 1);
    EXPECT_EQ(read.loop.loopFields[1], 117);
    // Without the loop flag no loop is read.
    ASSERT_EQ(AUfile_GetInfos(&read, 0), 0);
    EXPECT_EQ(read.loop.loopCount, 0);
    // A loop past the end is not stored.
    r.loop.loopEnd = 5000;
    EXPECT_NE(AUfile_SaveLoops(&r), 0);
    ASSERT_EQ(AUfile_GetInfos(&read, 1), 0);
    EXPECT_EQ(read.loop.loopEnd, 900);
  }
  // CAF holds no loop here.
  soundDocInfos caf = record("loop", fourcc("caff"), 2, 1);
  writeRamp(&caf);
  caf.loop.loopCount = 1;
  caf.loop.loopEnd = 10;
  EXPECT_NE(AUfile_SaveLoops(&caf), 0);
}

TEST_F(AudioFiles, MissingDamagedAndEmptyFiles)
{
  soundDocInfos r = record("none.aif", fourcc("AIFF"), 2, 1);
  EXPECT_EQ(AUfile_GetInfos(&r, 1), -43);
  const std::string path = (folder_ / "junk.wav").string();
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs("RIFF\xff\xff\xff\xffWAVEfmt garbage", f);
  std::fclose(f);
  SetPString(r.name, "junk.wav");
  EXPECT_EQ(AUfile_GetInfos(&r, 1), -43);
  // A file without frames.
  soundDocInfos empty = record("empty", fourcc("WAVE"), 2, 1, 0);
  ExtAudioFileRef file = xCreateAccess_SoundFile(&empty, nullptr, 0, 0);
  ASSERT_NE(file, nullptr);
  xCloseAccess_SoundFile(&empty, &file);
  EXPECT_EQ(AUfile_GetInfos(&empty, 1), -1);
  // More than 16 channels cannot be written; an append past 4 GB is refused.
  soundDocInfos wide = record("wide", fourcc("WAVE"), 2, 1);
  wide.channels = 17;
  EXPECT_EQ(CreateOutputSoundFile(&wide, &file, nullptr), ioErr);
  soundDocInfos mono = record("big", fourcc("WAVE"), 2, 1);
  file = xCreateAccess_SoundFile(&mono, nullptr, 0, 0);
  ASSERT_NE(file, nullptr);
  float sample = 0;
  uint32_t counter = UINT32_MAX - 1;
  EXPECT_EQ(xWriteAccess_SoundFile(file, &sample, 1, &counter), -1);
  EXPECT_EQ(counter, UINT32_MAX - 1);
  xCloseAccess_SoundFile(nullptr, &file);
}

TEST_F(AudioFiles, ResampledCopyAndReplace)
{
  soundDocInfos r = record("src", fourcc("AIFF"), 2, 2, 4410);
  writeRamp(&r);
  ASSERT_TRUE(ConvertSampleRateToDisk(&r, 22050, 0));
  EXPECT_EQ(r.sampleRate, 44100);
  EXPECT_EQ(r.state, 3);
  soundDocInfos copy = record("src_RS.aif", fourcc("AIFF"), 2, 2);
  ASSERT_EQ(AUfile_GetInfos(&copy, 0), 0);
  EXPECT_EQ(copy.sampleRate, 22050);
  EXPECT_NEAR(double(copy.frames), 2205, 1);
  // Replacing: the source takes the copy's contents, no copy remains.
  ASSERT_TRUE(ConvertSampleRateToDisk(&r, 11025, 1));
  EXPECT_EQ(nameOf(r), "src.aif");
  EXPECT_EQ(r.sampleRate, 11025);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "src_RS"));
}

// MPEG-4 audio decodes through the movie layer: ALAC is lossless, so the
// samples are the 16-bit sine the ffmpeg tool encoded (1 kHz at 1/8, 48 kHz,
// half a second).
TEST_F(AudioFiles, Mpeg4SoundDecodesSeeksAndIsNeverWritten)
{
  const std::string path = (folder_ / "tone.m4a").string();
  const std::string make =
      "ffmpeg -nostdin -loglevel error -f lavfi -i "
      "sine=frequency=1000:sample_rate=48000:duration=0.5 -c:a alac '" +
      path + "'";
  if (std::system(make.c_str()) != 0)
    GTEST_SKIP() << "no ffmpeg tool to make the file";
  soundDocInfos r = record("tone.m4a", 0, 2, 1);
  ASSERT_EQ(AUfile_GetInfos(&r, 1), 0);
  EXPECT_EQ(r.type, fourcc("m4af"));
  EXPECT_EQ(r.sampleRate, 48000);
  EXPECT_EQ(r.channels, 1);
  EXPECT_EQ(r.bytesPerSample, 2);
  EXPECT_EQ(r.frames, 24000u);
  EXPECT_EQ(r.loop.loopCount, 0);

  auto expectSine = [](const std::vector<float>& got, int64_t first) {
    for (size_t i = 0; i < got.size(); ++i) {
      const double want =
          std::round(32767.0 * std::sin(2 * M_PI * 1000.0 * double(first + int64_t(i)) / 48000.0) /
                     8.0) /
          32768.0;
      ASSERT_NEAR(got[i], want, 2.0 / 32768.0) << "frame " << first + int64_t(i);
    }
  };
  ExtAudioFileRef file = nullptr;
  ASSERT_EQ(OpenInputSoundFile(FileRef::fromPath(path), &file, nullptr, nullptr), 0);
  std::vector<float> later(500), again(500), start(100);
  ASSERT_EQ(AUfile_Seek(file, 10000), 0);
  ASSERT_EQ(AUfile_Read(file, later.data(), 500), 500u);
  expectSine(later, 10000);
  ASSERT_EQ(AUfile_Seek(file, 0), 0);  // back: decoded again from the start
  ASSERT_EQ(AUfile_Read(file, start.data(), 100), 100u);
  expectSine(start, 0);
  ASSERT_EQ(AUfile_Seek(file, 10000), 0);
  ASSERT_EQ(AUfile_Read(file, again.data(), 500), 500u);
  EXPECT_EQ(again, later);
  EXPECT_EQ(AUfile_Seek(file, 24001), -1);
  ASSERT_EQ(AUfile_Seek(file, 23990), 0);
  EXPECT_EQ(AUfile_Read(file, again.data(), 500), 10u);  // stops at the end
  AUfile_Dispose(&file);

  // Read at half the rate: half the frames.
  ASSERT_EQ(AUfile_Open(&r, &file, 24000), 0);
  EXPECT_EQ(r.frames, 12000u);
  std::vector<float> half(12100);
  EXPECT_NEAR(double(AUfile_Read(file, half.data(), 12100)), 12000, 64);
  AUfile_Dispose(&file);

  // Loops cannot be stored in it: the file is left as it was. Saving the
  // record writes AIFF.
  const auto bytes = std::filesystem::file_size(path);
  r.loop.loopCount = 1;
  r.loop.loopStart = 10;
  r.loop.loopEnd = 100;
  EXPECT_EQ(AUfile_SaveLoops(&r), -1);
  EXPECT_EQ(std::filesystem::file_size(path), bytes);
  EXPECT_TRUE(AUfile_Put(&r, 0));
  EXPECT_EQ(r.type, fourcc("AIFF"));

  // Another name gives the general MPEG-4 type; a cut file gives an error.
  std::filesystem::copy_file(path, folder_ / "tone.mp4");
  soundDocInfos other = record("tone.mp4", 0, 2, 1);
  ASSERT_EQ(AUfile_GetInfos(&other, 0), 0);
  EXPECT_EQ(other.type, fourcc("mp4f"));
  std::filesystem::resize_file(folder_ / "tone.mp4", 2000);
  EXPECT_EQ(AUfile_GetInfos(&other, 0), -43);
}

TEST_F(AudioFiles, MixRendererAppendsItsOutputToTheRecordFile)
{
  std::vector<float> block(kRTworkBlockSize / sizeof(float));
  kvaudio::useManualBackend(true);
  RT_init(&gRTEffect, block.data(), nullptr);
  soundDocInfos r = record("rec", fourcc("WAVE"), 2, 2);
  gRTEffect.audioFile = xCreateAccess_SoundFile(&r, nullptr, 0, 1);
  ASSERT_NE(gRTEffect.audioFile, nullptr);
  gRTEffect.recordToFile = 1;
  gRTEffect.channels = 2;
  gRTEffect.framesPerFill = 256;
  gRTEffect.samplesPerFill = 512;
  gRTEffect.readIndex = 0;
  gRTEffect.writeIndex = 0;
  std::vector<float> out(512);
  for (int i = 0; i < 4; ++i)
    MyMixRenderer(&gRTEffect, out.data(), 256);
  EXPECT_EQ(gRTEffect.bytesRecorded, 4u * 256 * 4);
  xCloseAccess_SoundFile(&r, &gRTEffect.audioFile);
  EXPECT_EQ(gRTEffect.recordToFile, 0);
  ASSERT_EQ(AUfile_GetInfos(&r, 0), 0);
  EXPECT_EQ(r.frames, 1024u);
  RT_kill(&gRTEffect);
  kvaudio::useManualBackend(false);
}

TEST_F(AudioFiles, DiskPlayDeliversTheFileThroughItsReader)
{
  std::vector<float> block(kRTworkBlockSize / sizeof(float));
  kvaudio::useManualBackend(true);
  RT_init(&gRTEffect, block.data(), nullptr);
  soundDocInfos r = record("play", fourcc("AIFF"), -4, 1, 3000);
  r.type = fourcc("caff");
  writeRamp(&r);
  ASSERT_TRUE(AUfile_openprepare(&r));
  EXPECT_EQ(gRTEffect.channels, 1u);
  EXPECT_EQ(gRTEffect.fillProc, AUfile_diskplayproc);
  std::vector<float> out(1024);
  uint32_t total = 0;
  for (int tries = 0; tries < 500 && total == 0; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    gRTEffect.position = 0;
    AUfile_diskplayproc(&gRTEffect, out.data(), 1024);
    total = gRTEffect.lastFramesRead;
  }
  ASSERT_EQ(total, 1024u);
  EXPECT_EQ(out[10], 10.0f / 3000.0f);
  EXPECT_EQ(gRTEffect.position.load(), 1024u);
  AUfile_diskclose();
  EXPECT_EQ(gRTEffect.audioFile, nullptr);
  RT_kill(&gRTEffect);
  kvaudio::useManualBackend(false);
}

TEST_F(AudioFiles, WaveformOverviewOfShortAndLongFiles)
{
  const uint8_t white[3] = {255, 255, 255};
  for (uint32_t frames : {100u, 20000u}) {
    SCOPED_TRACE(frames);
    soundDocInfos r = record("wave", fourcc("WAVE"), 2, 1, frames);
    writeRamp(&r);
    CGImageRef image = AUfile_BuildRepresentation(&r, 64, 32, 0xFF000000u, white);
    ASSERT_NE(image, nullptr);
    kvimg::Pixels px;
    ASSERT_TRUE(QZ_ImageCopyPixels(image, &px));
    QZ_ImageRelease(image);
    // Red pixels: columns that show a stroke, the highest and lowest row.
    int columns = 0, top = 32, bottom = -1;
    for (int x = 0; x < 64; ++x) {
      bool red = false;
      for (int y = 0; y < 32; ++y) {
        const uint8_t* p = px.argb.data() + (size_t(y) * 64 + x) * 4;
        if (p[1] == 255 && p[2] < 128 && p[3] < 128) {
          red = true;
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
      columns += red;
    }
    // The ramp rises from 0 to 1: strokes from the centre line up to
    // 0.85 of the half height.
    EXPECT_LE(top, 4);
    EXPECT_LE(bottom, 16);
    // A file shorter than the 512 frames a column reads: every column reads
    // the whole file from its start.
    if (frames < 512) {
      EXPECT_EQ(columns, 64);
    }
  }
}

}  // namespace
