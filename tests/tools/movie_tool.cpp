// Reads movies and stills through the program's movie and picture services,
// for the independent checks with ffprobe, ffmpeg and ImageMagick.
//
// Usage:
//   movie_tool info FILE             prints the facts of the movie's chosen
//                                    track, one "key value" a line: timescale,
//                                    duration, framerate, mediatype, track,
//                                    width, height, depth, visual
//   movie_tool frame FILE TIME W H OUT.png
//                                    opens the movie stretched to W x H,
//                                    draws movie time TIME (track units,
//                                    looping) and writes the buffer as PNG
//   movie_tool still IN OUT          reads a still at 32 bits and writes it
//                                    in the type OUT's extension names (.png,
//                                    .tif, .pct)
//   movie_tool write OUT FIRST LAST FPS [sound] [--compress TYPE [QUALITY]]
//                                    writes frames FIRST .. LAST - 1 of 64 x 48
//                                    pixels, one plain colour a frame (red 20
//                                    x frame, green 255 - 20 x frame, blue
//                                    128, modulo 256), at FPS x 100 units a
//                                    second; `sound` adds a stereo 440 Hz sine
//                                    at half scale at 44,100 Hz; --compress
//                                    makes a compression instance for TYPE
//                                    ('jpeg', 'png ', 'mp4v', 'rle ') at
//                                    QUALITY (0 .. 1023, default 512)
//   movie_tool sound MOVIE [RATE]    finds the movie's sound at output rate
//                                    RATE (default 44100), converting it when
//                                    it is not 'twos' 16-bit at that rate;
//                                    prints "channels N" and, when an AIFF
//                                    file was made or found, "aiff PATH"
// Exit status 0 on success, 1 when the input cannot be read or the output
// written, 2 for bad arguments.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "document/moviefiles.h"
#include "document/movies.h"
#include "document/qtsetup.h"
#include "document/videoformats.h"
#include "foundation/fileio.h"
#include "imaging/offworld.h"

namespace {

std::string fourChars(OSType t)
{
  const char s[5] = {char(t >> 24), char(t >> 16), char(t >> 8), char(t), 0};
  return s;
}

// The record for writing `path` as `type`.
frefinfos outputRecord(const std::string& path, OSType type)
{
  const FileRef ref = FileRef::fromPath(path);
  frefinfos record;
  record.type = type;
  record.parent = ref.parentRef();
  const size_t n = std::min<size_t>(ref.name.size(), 63);
  record.name[0] = uint8_t(n);
  std::memcpy(record.name + 1, ref.name.data(), n);
  return record;
}

OSType typeOfExtension(const std::string& path)
{
  auto endsWith = [&](const char* ext) {
    const size_t n = std::strlen(ext);
    return path.size() >= n && path.compare(path.size() - n, n, ext) == 0;
  };
  if (endsWith(".png"))
    return fourcc("PNGf");
  if (endsWith(".tif") || endsWith(".tiff"))
    return fourcc("TIFF");
  if (endsWith(".pct"))
    return fourcc("PICT");
  return 0;
}

int info(const char* path)
{
  MovieInputWork work;
  InitMovieInputWork(&work);
  if (OpenMovieInfos(&work, FileRef::fromPath(path), true, true) == 0) {
    std::fprintf(stderr, "movie_tool: %s: not a movie\n", path);
    return 1;
  }
  std::printf("timescale %d\nduration %d\nframerate %d\nmediatype %s\ntrack %d\n", work.timeScale,
              work.duration, work.frameRate, fourChars(work.mediaType).c_str(), work.trackIndex);
  std::printf("width %d\nheight %d\ndepth %d\nvisual %d\n", work.width, work.height, work.depth,
              work.hasVisualTrack);
  return 0;
}

int write(Offworld gw, const char* out)
{
  const frefinfos record = outputRecord(out, typeOfExtension(out));
  if (QT_ExportGworld(&record, gw, fourcc("Qjpr")) == 0) {
    std::fprintf(stderr, "movie_tool: %s: cannot write\n", out);
    return 1;
  }
  return 0;
}

int frame(const char* path, int32_t time, int16_t width, int16_t height, const char* out)
{
  MovieInputWork work;
  InitMovieInputWork(&work);
  Offworld gw = nullptr;
  if (OpenMovie4Render(&work, FileRef::fromPath(path), &gw, width, height, kMovieStretch) == 0 ||
      gw == nullptr) {
    std::fprintf(stderr, "movie_tool: %s: not a movie with pictures\n", path);
    return 1;
  }
  int status = 1;
  if (DisplayMovieFrame(&work, time, gw, work.box, true) != 0)
    std::fprintf(stderr, "movie_tool: %s: frame %d cannot be decoded\n", path, time);
  else
    status = write(gw, out);
  CloseMovie4Render(&work);
  KillMovieOffworld(&work, &gw);
  return status;
}

int still(const char* in, const char* out)
{
  Offworld gw = nullptr;
  if (const int16_t err = QTgetGenericImageGW(FileRef::fromPath(in), &gw, 32)) {
    std::fprintf(stderr, "movie_tool: %s: unreadable picture (%d)\n", in, err);
    return 1;
  }
  const int status = write(gw, out);
  KillOffworld(&gw);
  return status;
}

constexpr int16_t kWriteWidth = 64;
constexpr int16_t kWriteHeight = 48;
constexpr int16_t kSoundChannels = 2;
constexpr int32_t kSoundBufferFrames = 4096;

// One plain colour a frame.
void colourFrame(int32_t frame, Offworld gw, KVmovieExport*, void*)
{
  const Rect& b = gw->pixels.bounds;
  for (int y = 0; y < b.bottom - b.top; ++y) {
    uint8_t* row = gw->pixels.baseAddr + int64_t(y) * gw->pixels.rowBytes;
    for (int x = 0; x < b.right - b.left; ++x) {
      row[4 * x] = 255;
      row[4 * x + 1] = uint8_t(20 * frame);
      row[4 * x + 2] = uint8_t(255 - 20 * frame);
      row[4 * x + 3] = 128;
    }
  }
}

// A 440 Hz sine at half scale on both channels.
int32_t sineSound(int32_t first, KVmovieExport* record, int16_t* buffer)
{
  const double rate = gMovieOutputRate;
  for (int32_t i = 0; i < record->sampleBufferFrames; ++i) {
    const double v = 0.5 * std::sin(2 * M_PI * 440.0 * (first + i) / rate);
    const auto sample = int16_t(std::lround(v * 32767));
    for (int c = 0; c < kSoundChannels; ++c)
      buffer[i * kSoundChannels + c] = sample;
  }
  return record->sampleBufferFrames;
}

OSType fourCharsOf(const std::string& s)
{
  std::string padded = s;
  padded.resize(4, ' ');
  return OSType(uint8_t(padded[0])) << 24 | OSType(uint8_t(padded[1])) << 16 |
         OSType(uint8_t(padded[2])) << 8 | OSType(uint8_t(padded[3]));
}

int writeMovie(int argc, char** argv)
{
  const char* out = argv[2];
  const int32_t first = int32_t(std::atol(argv[3]));
  const int32_t last = int32_t(std::atol(argv[4]));
  const double fps = std::atof(argv[5]);
  bool sound = false;
  for (int i = 6; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "sound") {
      sound = true;
    } else if (arg == "--compress" && i + 1 < argc) {
      gSCSpatialSettings.codecType = fourCharsOf(argv[++i]);
      if (i + 1 < argc && argv[i + 1][0] >= '0' && argv[i + 1][0] <= '9')
        gSCSpatialSettings.spatialQuality = int32_t(std::atol(argv[++i]));
      if (KV_openCompressor() == nullptr) {
        std::fprintf(stderr, "movie_tool: no encoder for '%s'\n", argv[i]);
        return 1;
      }
    } else {
      return 2;
    }
  }
  int32_t timeScale = 0;
  if (!(fps > 0 && fps < 1e6) || (timeScale = int32_t(std::lround(fps * 100))) < 1)
    return 2;
  Offworld gw = nullptr;
  const Rect bounds{0, 0, kWriteHeight, kWriteWidth};
  if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &gw) != 0)
    return 1;
  frefinfos output = outputRecord(out, fourcc("MooV"));
  std::vector<int16_t> samples(size_t(kSoundBufferFrames) * kSoundChannels);
  KVmovieExport record;
  record.timeScale = timeScale;
  record.firstFrame = first;
  record.lastFrame = last;
  record.output = &output;
  record.frameProc = colourFrame;
  record.gw = gw;
  record.width = kWriteWidth;
  record.height = kWriteHeight;
  if (sound) {
    record.addSound = 1;
    record.soundProc = sineSound;
    record.channels = kSoundChannels;
    record.totalSamples = INT32_MAX;
    record.sampleBuffer = samples.data();
    record.sampleBufferFrames = kSoundBufferFrames;
  }
  QT_CreateMovie(&record, nullptr);
  KillOffworld(&gw);
  if (record.status != 0) {
    std::fprintf(stderr, "movie_tool: %s: writing failed (status %d)\n", out, record.status);
    return 1;
  }
  return 0;
}

int movieSound(const char* path, double rate)
{
  gMovieOutputRate = rate;
  MovieInputWork work;
  InitMovieInputWork(&work);
  FileRef file = FileRef::fromPath(path);
  const int16_t channels = GetMovieSoundInfos(&work, &file, true);
  std::printf("channels %d\n", channels);
  if (work.soundTrackIndex == -2)
    std::printf("aiff %s\n", file.path().c_str());
  CloseMovie4Render(&work);
  return channels > 0 || work.soundTrackIndex == -2 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
  InitMovieToolbox();
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "info" && argc == 3)
    return info(argv[2]);
  if (command == "frame" && argc == 7)
    return frame(argv[2], int32_t(std::atol(argv[3])), int16_t(std::atoi(argv[4])),
                 int16_t(std::atoi(argv[5])), argv[6]);
  if (command == "still" && argc == 4)
    return still(argv[2], argv[3]);
  if (command == "write" && argc >= 6) {
    const int status = writeMovie(argc, argv);
    if (status != 2)
      return status;
  }
  if (command == "sound" && (argc == 3 || argc == 4))
    return movieSound(argv[2], argc == 4 ? std::atof(argv[3]) : 44100.0);
  std::fprintf(stderr,
               "usage: movie_tool info FILE | frame FILE TIME W H OUT.png | still IN OUT\n"
               "       | write OUT FIRST LAST FPS [sound] [--compress TYPE [QUALITY]]\n"
               "       | sound MOVIE [RATE]\n");
  return 2;
}
