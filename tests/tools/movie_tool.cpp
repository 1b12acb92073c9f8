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
// Exit status 0 on success, 1 when the input cannot be read or the output
// written, 2 for bad arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/movies.h"
#include "document/qtsetup.h"
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
  std::fprintf(stderr,
               "usage: movie_tool info FILE | frame FILE TIME W H OUT.png | still IN OUT\n");
  return 2;
}
