#include "document/movies.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "foundation/bigendian.h"
#include "foundation/checked.h"
#include "platform/movie.h"

namespace {

constexpr int32_t kNoSampleRate = 2500;        // 25 fps, for a movie of one frame or none
constexpr int32_t kImageDescriptionSize = 86;  // the image description record
constexpr int32_t kSampleDataStart = 4;        // the sample-data handle's first size

// Codecs a 'vide' track draws directly; the others are marked 'xxxx'.
constexpr OSType kDirectCodecs[] = {fourcc("rle "), fourcc("dvc "), fourcc("jpeg"), fourcc("raw "),
                                    fourcc("icod")};

bool isDirectCodec(OSType codec)
{
  return std::find(std::begin(kDirectCodecs), std::end(kDirectCodecs), codec) !=
         std::end(kDirectCodecs);
}

// Track index of the record, 0-based; -1 when none.
int chosenTrack(const MovieInputWork* work)
{
  return work->trackIndex >= 1 ? work->trackIndex - 1 : -1;
}

const kvmovie::Track* trackOf(const MovieInputWork* work)
{
  return work->movie != nullptr ? kvmovie::movieTrack(work->movie, chosenTrack(work)) : nullptr;
}

bool fitsRect(int64_t v)
{
  return v >= INT16_MIN && v <= INT16_MAX;
}

int32_t clampToInt32(int64_t v)
{
  return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The file as the record stores it: its name, and an id of its folder (a hash
// of the folder's path, never 0, which marks no file).
KVfileSpec specOf(const FileRef& file)
{
  KVfileSpec record{};
  uint32_t hash = 2166136261u;
  for (unsigned char c : file.parent)
    hash = (hash ^ c) * 16777619u;
  record.parentID = int32_t(hash | 1u);
  const size_t n = std::min<size_t>(file.name.size(), sizeof record.name - 1);
  record.name[0] = uint8_t(n);
  std::memcpy(record.name + 1, file.name.data(), n);
  return record;
}

// The 86-byte image description of a video track: size, codec type, the
// reserved words, version, vendor, temporal and spatial quality, width,
// height, 72 dpi both ways (16.16), data size, frame count, a 32-byte Pascal
// name, depth and colour table (-1: none).
Handle newImageDescription(const kvmovie::Track& track)
{
  Handle h = NewHandleClear(kImageDescriptionSize);
  if (h == nullptr)
    return nullptr;
  auto* p = reinterpret_cast<unsigned char*>(*h);
  be::put_u32(p, kImageDescriptionSize);
  be::put_u32(p + 4, track.codecType);
  be::put_u32(p + 24, 0);  // temporal quality
  be::put_u32(p + 28, 0);  // spatial quality
  be::put_i16(p + 32, int16_t(track.width));
  be::put_i16(p + 34, int16_t(track.height));
  be::put_u32(p + 36, 72u << 16);
  be::put_u32(p + 40, 72u << 16);
  be::put_u16(p + 48, 1);  // frame count
  be::put_i16(p + 82, track.depth);
  be::put_i16(p + 84, -1);
  return h;
}

void disposeHandles(MovieInputWork* work)
{
  DisposeHandle(work->sampleDescription);
  DisposeHandle(work->sampleData);
  work->sampleDescription = nullptr;
  work->sampleData = nullptr;
}

void forgetFile(MovieInputWork* work)
{
  work->file = KVfileSpec{};
}

void closeMovie(MovieInputWork* work)
{
  kvmovie::closeMovie(work->movie);
  work->movie = nullptr;
}

// Keeps the compressed bytes of the frame just drawn in the sample-data
// handle.
void keepSampleData(MovieInputWork* work)
{
  size_t size = 0;
  const uint8_t* data = kvmovie::lastSampleData(work->movie, &size);
  if (data == nullptr || work->sampleData == nullptr || size > size_t(INT32_MAX))
    return;
  SetHandleSize(work->sampleData, int32_t(size));
  if (GetHandleSize(work->sampleData) == int32_t(size))
    std::memcpy(*work->sampleData, data, size);
}

Offworld newBuffer(const Rect& bounds)
{
  Offworld gw = nullptr;
  CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &gw);
  return gw;
}

// Draws into the buffer without touching the record's box or timing.
bool drawInto(kvmovie::Movie* movie, int track, int32_t time, Offworld gw, const Rect& dest)
{
  const Rect& b = gw->pixels.bounds;
  kvmovie::FrameTarget target;
  target.base = gw->pixels.baseAddr;
  target.rowBytes = gw->pixels.rowBytes;
  target.width = b.right - b.left;
  target.height = b.bottom - b.top;
  target.left = dest.left - b.left;
  target.top = dest.top - b.top;
  target.right = dest.right - b.left;
  target.bottom = dest.bottom - b.top;
  return gw->pixels.pixelSize == 32 && kvmovie::drawFrame(movie, track, time, target);
}

// {0, 0, bottom, right} when both fit 16-bit rectangles.
bool boxOf(double bottom, double right, Rect* out)
{
  int32_t b = 0, r = 0;
  if (!kvnum::trunc_i32(bottom, b) || !kvnum::trunc_i32(right, r) || !fitsRect(b) || !fitsRect(r))
    return false;
  *out = Rect{0, 0, int16_t(b), int16_t(r)};
  return true;
}

// The box of sizing modes 1, 5, 6 and 7 (natural width w and height h);
// false leaves the box as it is (a track without width or height, a size
// beyond 16 bits).
bool fitBox(int16_t mode, const Rect& box, int32_t w, int32_t h, int32_t portW, int32_t portH,
            int32_t width, int32_t height, Rect* out)
{
  switch (mode) {
    case kMovieFitBuffer:
      if (w <= 0 || h <= 0)
        return false;
      if (w > portW)
        return boxOf(double(portW) / w * h, portW, out);
      if (h > portH)
        return boxOf(portH, double(portH) / h * w, out);
      return boxOf(h, w, out);
    case kMovieFitWidth:  // the height follows the box's bottom, not its height
      return w > 0 && boxOf(double(width) / w * box.bottom, width, out);
    case kMovieFitHeight:  // the width follows the box's right, not its width
      return h > 0 && boxOf(height, double(height) / h * box.right, out);
    case kMovieCentred: {
      const int32_t left = w > width ? -((w - width) >> 1) : 0;
      const int32_t top = h > height ? -((h - height) >> 1) : 0;
      if (!fitsRect(left + int64_t(w)) || !fitsRect(top + int64_t(h)))
        return false;
      *out = Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

void InitMovieInputWork(MovieInputWork* work)
{
  *work = MovieInputWork{};
}

kvmovie::Movie* GetMovieFromFile(const FileRef& file)
{
  if (file.empty())
    return nullptr;
  return kvmovie::openMovie(file.path());
}

void ScanMovieInfos(MovieInputWork* work, bool soundWhenNoVisual, bool readDepth)
{
  work->depth = 0;
  work->box.top = work->box.left = 0;
  work->frameRate = kNoSampleRate;
  work->trackIndex = 0;
  const int count = kvmovie::trackCount(work->movie);
  if (const kvmovie::Track* first = kvmovie::movieTrack(work->movie, 0)) {
    work->timeScale = first->timeScale;
    work->duration = clampToInt32(first->duration);
  }
  // The first video track is the one drawn.
  const kvmovie::Track* chosen = nullptr;
  for (int i = 0; i < count && chosen == nullptr; ++i) {
    const kvmovie::Track* t = kvmovie::movieTrack(work->movie, i);
    if (t->kind == kvmovie::TrackKind::Video) {
      chosen = t;
      work->hasVisualTrack = 1;
      work->trackIndex = int16_t(i + 1);
      work->mediaType = t->handlerType;
    }
  }
  if (chosen != nullptr) {
    if (chosen->width != 0 && fitsRect(chosen->width) && fitsRect(chosen->height)) {
      work->width = work->box.right = int16_t(chosen->width);
      work->height = work->box.bottom = int16_t(chosen->height);
    }
    work->timeScale = chosen->timeScale;
    work->duration = clampToInt32(chosen->duration);
    // Frames a second x 100; a single frame (or a track of no length) counts
    // as 25 fps.
    if (chosen->sampleCount > 1 && work->duration > 0)
      work->frameRate =
          kvnum::sat_i32(double(chosen->sampleCount) / work->duration * work->timeScale * 100);
    if (readDepth && (work->mediaType == fourcc("vide") || work->mediaType == fourcc("moov")))
      work->depth = chosen->depth;
    if (work->mediaType == fourcc("vide") && !isDirectCodec(chosen->codecType))
      work->mediaType = fourcc("xxxx");
    return;
  }
  if (!soundWhenNoVisual)
    return;
  work->width = work->height = 0;
  for (int i = 0; i < count; ++i) {
    const kvmovie::Track* t = kvmovie::movieTrack(work->movie, i);
    work->mediaType = t->handlerType;
    if (t->kind == kvmovie::TrackKind::Audio) {
      work->timeScale = t->timeScale;
      work->duration = clampToInt32(t->duration);
    }
  }
}

Offworld SetMovieOutPutGW(MovieInputWork* work, Offworld gw, int16_t width, int16_t height,
                          int16_t mode)
{
  const Rect box = work->box;
  const int32_t w = box.right - box.left, h = box.bottom - box.top;
  const Rect port = gw != nullptr ? gw->pixels.bounds : Rect{};
  switch (mode) {
    case kMovieNaturalSize:
      work->box = Rect{0, 0, int16_t(h), int16_t(w)};
      return gw;
    case kMovieStretch:
      if (gw == nullptr && (gw = newBuffer(Rect{0, 0, height, width})) == nullptr)
        return nullptr;
      work->box = Rect{0, 0, height, width};
      return gw;
    case kMovieAtLeastNatural:
      if (gw != nullptr && port.right >= box.right && port.bottom >= box.bottom)
        return gw;
      KillOffworld(&gw);
      return newBuffer(box);
    default: {
      Rect fitted;
      if (fitBox(mode, box, w, h, port.right - port.left, port.bottom - port.top, width, height,
                 &fitted))
        work->box = fitted;
      return gw;
    }
  }
}

int32_t KV_movieDrawTime(const MovieInputWork* work, int32_t time, bool loop)
{
  const int32_t duration = work->duration;
  if (loop) {
    if (duration <= 0)
      return 0;
    const int32_t r = time % duration;  // floor modulo: -1 gives duration - 1
    return r < 0 ? r + duration : r;
  }
  return std::clamp(time, 0, std::max(0, duration));
}

OSErr DisplayMovieFrame(MovieInputWork* work, int32_t time, Offworld gw, Rect dest, bool loop)
{
  if (work->movie == nullptr)
    return 0;
  if (gw == nullptr)
    return kvfs::kParamErr;
  time = KV_movieDrawTime(work, time, loop);
  const bool direct = work->mediaType == fourcc("vide") || work->mediaType == fourcc("moov");
  if (work->hasVisualTrack == 0 || (direct && work->sampleDescription == nullptr))
    return 0;
  if (!drawInto(work->movie, chosenTrack(work), time, gw, dest))
    return kMovieFrameErr;
  if (direct)
    keepSampleData(work);
  return 0;
}

int16_t DisplayFirstFrame(MovieInputWork* work, Offworld gw)
{
  if (work->movie == nullptr)
    return 0;
  DisplayMovieFrame(work, 0, gw, work->box, false);
  return 1;
}

void CloseMovie4Render(MovieInputWork* work)
{
  closeMovie(work);
  forgetFile(work);
  disposeHandles(work);
}

int16_t OpenMovie4Render(MovieInputWork* work, const FileRef& file, Offworld* gw, int16_t width,
                         int16_t height, int16_t mode)
{
  if (work->movie != nullptr) {
    if (kvmovie::moviePath(work->movie) == file.path()) {
      if (work->hasVisualTrack == 0)
        return 1;
      *gw = SetMovieOutPutGW(work, *gw, width, height, mode);
      if (*gw != nullptr || (mode != kMovieStretch && mode != kMovieAtLeastNatural))
        return 1;
      CloseMovie4Render(work);
      return 0;
    }
    CloseMovie4Render(work);
  }
  work->hasVisualTrack = 0;
  if (file.name.empty())
    return 0;
  work->movie = GetMovieFromFile(file);
  if (work->movie == nullptr)
    return 0;
  work->box = Rect{};
  ScanMovieInfos(work, true, true);
  if (work->hasVisualTrack != 0) {
    // A picture too large for 16-bit rectangles is refused, never wrapped.
    const kvmovie::Track* t = trackOf(work);
    if (t->width <= 0 || t->height <= 0 || t->width > kvmovie::kMaxFrameSide ||
        t->height > kvmovie::kMaxFrameSide) {
      CloseMovie4Render(work);
      return 0;
    }
    Offworld out = SetMovieOutPutGW(work, *gw, width, height, mode);
    if (out == nullptr && (mode == kMovieStretch || mode == kMovieAtLeastNatural)) {
      if (mode == kMovieAtLeastNatural)
        *gw = nullptr;  // disposed of on the way
      CloseMovie4Render(work);
      return 0;
    }
    *gw = out;
    work->sampleDescription = newImageDescription(*t);
    work->sampleData = NewHandleClear(kSampleDataStart);
  }
  work->file = specOf(file);
  return 1;
}

OSErr CreateMovieOffworld(MovieInputWork*, Offworld* gw, Rect bounds)
{
  return CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, gw);
}

void KillMovieOffworld(MovieInputWork*, Offworld* gw)
{
  if (*gw != nullptr)
    KillOffworld(gw);
}

int16_t OpenMovieInfos(MovieInputWork* work, const FileRef& file, bool soundWhenNoVisual,
                       bool readDepth)
{
  closeMovie(work);
  forgetFile(work);
  work->hasVisualTrack = 0;
  if (file.name.empty())
    return 0;
  work->movie = GetMovieFromFile(file);
  if (work->movie == nullptr)
    return 0;
  ScanMovieInfos(work, soundWhenNoVisual, readDepth);
  work->file = specOf(file);
  closeMovie(work);
  return 1;
}

void DisplayMovieQuartzFrame(kvmovie::Movie* movie, int32_t time, Offworld gw, Rect dest)
{
  if (movie == nullptr || gw == nullptr)
    return;
  for (int i = 0; i < kvmovie::trackCount(movie); ++i)
    if (kvmovie::movieTrack(movie, i)->kind == kvmovie::TrackKind::Video) {
      drawInto(movie, i, time, gw, dest);
      return;
    }
}

OSErr BuildMovieThumb(const FileRef& file, MovieInputWork* work, Offworld* out, int16_t width,
                      int16_t height)
{
  const Rect bounds{0, 0, height, width};
  if (const OSErr err = CreateMovieOffworld(work, out, bounds))
    return err;
  if (work->movie != nullptr)
    work->box = bounds;
  else if (OpenMovie4Render(work, file, out, width, height, kMovieStretch) == 0)
    return -1;
  if (work->hasVisualTrack != 0)
    DisplayMovieFrame(work, work->duration / 2, *out, work->box, false);
  CloseMovie4Render(work);
  return 0;
}

void DrawMovieThumb(const FileRef& file, MovieInputWork* work, Offworld gw, int16_t width,
                    int16_t height, double seconds)
{
  if (gw == nullptr || OpenMovie4Render(work, file, &gw, width, height, kMovieStretch) == 0)
    return;
  DisplayMovieFrame(work, kvnum::sat_i32(seconds * work->timeScale), gw, work->box, false);
  CloseMovie4Render(work);
}

int64_t KV_movieSampleCount(const MovieInputWork* work)
{
  const kvmovie::Track* t = trackOf(work);
  return t != nullptr ? t->sampleCount : 0;
}
