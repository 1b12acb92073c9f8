#include "document/moviefiles.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/movies.h"
#include "document/qtsetup.h"
#include "document/videoformats.h"
#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "foundation/checked.h"

double gMovieOutputRate = 44100.0;

namespace {

constexpr int32_t kFrameUnits = 100;    // every frame lasts 100 units
constexpr int32_t kPlainQuality = 512;  // the quality of 'rle ' frames
constexpr int32_t kCopyQuality = 1023;  // frames re-encoded by the edits lose the least
constexpr int16_t kPlainDepth = 24;     // the buffers' first byte is a flag, not alpha
constexpr int32_t kSoundDescriptionSize = 36;
constexpr int32_t kCopyChunkFrames = 1 << 18;  // sound frames moved at a time by the edits
constexpr int16_t kMaxSoundChannels = 16;
constexpr OSType kMovieCreator = fourcc("TVOD");

void report(KVmovieExport* record, const char* message, OSErr code)
{
  Str255 text;
  const size_t n = std::min<size_t>(std::strlen(message), 255);
  text[0] = uint8_t(n);
  std::memcpy(text + 1, message, n);
  reportText(text, code);
  if (record != nullptr)
    record->status |= kMovieExportError;
}

std::string nameOf(ConstStringPtr p)
{
  return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

void setName(StringPtr out, const std::string& s, size_t limit)
{
  const size_t n = std::min(s.size(), limit);
  out[0] = uint8_t(n);
  std::memcpy(out + 1, s.data(), n);
}

// The name without its extension (a '.' and one to four characters).
std::string stemOf(const std::string& name)
{
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0 && name.size() - dot - 1 >= 1 &&
      name.size() - dot - 1 <= 4)
    return name.substr(0, dot);
  return name;
}

// The description rate of 'twos' tracks: 44,100 when the output runs at
// 44,100, else 48,000.
int32_t descriptionRate()
{
  return gMovieOutputRate == 44100.0 ? 44100 : 48000;
}

bool bufferHolds(const Offworld gw, int32_t width, int32_t height)
{
  if (gw == nullptr || gw->pixels.pixelSize != 32 || gw->pixels.baseAddr == nullptr)
    return false;
  const Rect& b = gw->pixels.bounds;
  return b.right - b.left >= width && b.bottom - b.top >= height;
}

// --- Frames of a new movie -------------------------------------------------

// Renders and adds frames first .. last - 1; stops at the first error.
void addRenderedFrames(KVmovieExport* r, const char* encodeMessage, const char* storeMessage)
{
  for (int32_t frame = r->firstFrame; frame < r->lastFrame; ++frame) {
    r->frameProc(frame, r->gw, r, r->userData);
    std::string why;
    const kvmovie::SampleResult added = kvmovie::addVideoFrame(
        r->movie, r->videoTrack, r->gw->pixels.baseAddr, r->gw->pixels.rowBytes, kFrameUnits, &why);
    if (added == kvmovie::SampleResult::EncodeFailed) {
      report(r, encodeMessage, ioErr);
      return;
    }
    if (added == kvmovie::SampleResult::StoreFailed) {
      report(r, storeMessage, ioErr);
      return;
    }
  }
}

// Opens the track's encoder when the record can feed it.
bool beginFrames(KVmovieExport* r, OSType codec, int16_t depth, int32_t quality)
{
  return r->frameProc != nullptr && bufferHolds(r->gw, r->width, r->height) &&
         kvmovie::beginVideoEncoding(r->movie, r->videoTrack, codec, depth, quality);
}

// --- Image sequences -------------------------------------------------------

void writeSequence(KVmovieExport* r)
{
  if (r->output == nullptr || r->frameProc == nullptr) {
    r->status |= kMovieExportError;
    return;
  }
  const bool pict = r->mode == kMovieExportPict;
  const char* extension = pict ? ".pct" : ".tif";
  Str63 saved;
  std::memcpy(saved, r->output->name, sizeof saved);
  const std::string stem = nameOf(saved);
  for (int32_t frame = r->firstFrame; frame <= r->lastFrame; ++frame) {
    char tail[24];
    std::snprintf(tail, sizeof tail, "%04d%s", int(frame), extension);
    // A long name gives up characters of its stem, never the number.
    const size_t room = 63 - std::min<size_t>(std::strlen(tail), 63);
    setName(r->output->name, stem.substr(0, room) + tail, 63);
    r->output->type = pict ? fourcc("PICT") : fourcc("TIFF");
    r->frameProc(frame, r->gw, r, r->userData);
    std::memcpy(r->output->name, saved, sizeof saved);
    if (r->status != 0)
      return;
  }
}

// --- Copying frames and sound of an existing movie ---------------------------

kvmovie::FrameTarget targetOf(Offworld gw)
{
  const Rect& b = gw->pixels.bounds;
  kvmovie::FrameTarget t;
  t.base = gw->pixels.baseAddr;
  t.rowBytes = gw->pixels.rowBytes;
  t.width = t.right = b.right - b.left;
  t.height = t.bottom = b.bottom - b.top;
  return t;
}

int firstTrackOf(kvmovie::Movie* movie, kvmovie::TrackKind kind)
{
  for (int i = 0; i < kvmovie::trackCount(movie); ++i)
    if (kvmovie::movieTrack(movie, i)->kind == kind)
      return i;
  return -1;
}

// A movie being rewritten: its source and the writer of the new file.
struct Rewrite
{
  kvmovie::Movie* source = nullptr;
  int sourceVideo = -1;  // the source's first video track, -1 when none
  int sourceSound = -1;  // its first sound track, -1 when none
  kvmovie::MovieWriter* writer = nullptr;
  int video = -1;
  Offworld gw = nullptr;   // the new track's size
  int32_t timeScale = 0;   // of the new video track
  bool keepUnits = false;  // frame durations keep their units (a forced rate)

  ~Rewrite()
  {
    kvmovie::closeMovie(source);
    kvmovie::discardMovie(writer);
    KillOffworld(&gw);
  }

  const kvmovie::Track* videoTrack() const { return kvmovie::movieTrack(source, sourceVideo); }
  // Source frame i's start in the source's units (constant frame length).
  int64_t frameTime(int64_t i) const
  {
    const kvmovie::Track* t = videoTrack();
    return t->sampleCount > 0 ? int64_t(double(i) * double(t->duration) / double(t->sampleCount))
                              : 0;
  }
  int64_t frameCount() const { return std::max<int64_t>(videoTrack()->sampleCount, 1); }
};

bool openRewrite(Rewrite& w, const FileRef& source, const std::string& out)
{
  w.source = GetMovieFromFile(source);
  if (w.source == nullptr)
    return false;
  w.sourceVideo = firstTrackOf(w.source, kvmovie::TrackKind::Video);
  w.sourceSound = firstTrackOf(w.source, kvmovie::TrackKind::Audio);
  w.writer = kvmovie::createMovieWriter(out);
  return w.writer != nullptr;
}

// Adds the new video track at the buffer's size with `codec`.
bool beginRewriteVideo(Rewrite& w, int32_t width, int32_t height, OSType codec, int16_t depth,
                       int32_t quality)
{
  const Rect bounds{0, 0, int16_t(height), int16_t(width)};
  if (w.gw == nullptr &&
      CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &w.gw) != 0)
    return false;
  w.video = kvmovie::addVideoTrack(w.writer, width, height, w.timeScale);
  return w.video >= 0 && kvmovie::beginVideoEncoding(w.writer, w.video, codec, depth, quality);
}

// The codec the edits re-encode a source track with: its own when it can be
// written, else 'rle '.
OSType copyCodecOf(const kvmovie::Track* t)
{
  return kvmovie::canWriteVideoCodec(t->codecType) ? t->codecType : fourcc("rle ");
}

// Copies the source frames that start in [from, to) (source units).
bool copyFrames(Rewrite& w, int64_t from, int64_t to)
{
  const kvmovie::Track* t = w.videoTrack();
  const int64_t count = w.frameCount();
  const int32_t sourceScale = std::max(t->timeScale, 1);
  for (int64_t i = 0; i < count; ++i) {
    const int64_t start = w.frameTime(i);
    const int64_t end = i + 1 < count ? w.frameTime(i + 1) : std::max(t->duration, start + 1);
    if (start < from || start >= to)
      continue;
    if (!kvmovie::drawFrame(w.source, w.sourceVideo, start, targetOf(w.gw)))
      return false;
    const int64_t units =
        w.keepUnits ? end - start : (end - start) * int64_t(w.timeScale) / sourceScale;
    const int32_t duration = int32_t(std::clamp<int64_t>(units, 1, INT32_MAX));
    if (kvmovie::addVideoFrame(w.writer, w.video, w.gw->pixels.baseAddr, w.gw->pixels.rowBytes,
                               duration) != kvmovie::SampleResult::Added)
      return false;
  }
  return true;
}

// Copies the source's first sound track between two times in seconds.
bool copySound(Rewrite& w, double fromSeconds, double toSeconds)
{
  if (w.sourceSound < 0)
    return true;
  const kvmovie::Track* t = kvmovie::movieTrack(w.source, w.sourceSound);
  const int16_t channels = std::clamp<int16_t>(t->channels, 1, kMaxSoundChannels);
  const int track = kvmovie::addSoundTrack(w.writer, channels, t->sampleRate);
  if (track < 0)
    return false;
  const int64_t first = std::max<int64_t>(0, kvnum::sat_i32(fromSeconds * t->sampleRate));
  const int64_t last = kvnum::sat_i32(toSeconds * t->sampleRate);
  std::vector<int16_t> block(size_t(kCopyChunkFrames) * size_t(channels));
  for (int64_t at = first; at < last;) {
    const auto want = int32_t(std::min<int64_t>(kCopyChunkFrames, last - at));
    const int64_t got = kvmovie::readSoundFrames(kvmovie::moviePath(w.source), w.sourceSound,
                                                 channels, at, want, block.data());
    if (got < 0)
      return false;
    if (got == 0)
      break;
    if (!kvmovie::addSoundFrames(w.writer, track, block.data(), int32_t(got)))
      return false;
    at += got;
  }
  return true;
}

// The length of the source's sound track in seconds (0 without one).
double soundSeconds(const Rewrite& w)
{
  const kvmovie::Track* s = kvmovie::movieTrack(w.source, w.sourceSound);
  return s != nullptr && s->timeScale > 0 ? double(s->duration) / s->timeScale : 0;
}

// Writes the rewritten movie; the writer is gone afterwards.
bool finishRewrite(Rewrite& w)
{
  kvmovie::MovieWriter* writer = w.writer;
  w.writer = nullptr;
  return kvmovie::finishMovie(writer);
}

// Copies a whole movie or a segment of it [from, to) in its video units into
// `out`; the video time scale becomes `timeScale` (0: the source's), with
// the frames keeping their units when `keepUnits`.
bool rewriteMovie(const FileRef& source, const std::string& out, int64_t from, int64_t to,
                  int32_t timeScale, bool keepUnits)
{
  Rewrite w;
  if (!openRewrite(w, source, out))
    return false;
  double fromSeconds = 0, toSeconds = 0;
  if (w.sourceVideo >= 0) {
    const kvmovie::Track* t = w.videoTrack();
    if (t->width < 1 || t->height < 1 || t->width > kvmovie::kMaxFrameSide ||
        t->height > kvmovie::kMaxFrameSide || t->timeScale < 1)
      return false;
    w.timeScale = timeScale > 0 ? timeScale : t->timeScale;
    w.keepUnits = keepUnits;
    to = std::min(to, std::max<int64_t>(t->duration, 1));
    fromSeconds = double(from) / t->timeScale;
    toSeconds = double(to) / t->timeScale;
    if (keepUnits) {  // the whole movie plays at the new rate
      fromSeconds = double(from) / w.timeScale;
      toSeconds = double(to) / w.timeScale;
    }
    if (!beginRewriteVideo(w, t->width, t->height, copyCodecOf(t), kPlainDepth, kCopyQuality) ||
        !copyFrames(w, from, to) || !kvmovie::endVideoEncoding(w.writer, w.video))
      return false;
  } else if (w.sourceSound >= 0) {
    const kvmovie::Track* s = kvmovie::movieTrack(w.source, w.sourceSound);
    const double length = s->timeScale > 0 ? double(s->duration) / s->timeScale : 0;
    fromSeconds = s->timeScale > 0 ? double(from) / s->timeScale : 0;
    toSeconds = std::min(length, s->timeScale > 0 ? double(to) / s->timeScale : 0);
  }
  return copySound(w, fromSeconds, toSeconds) && finishRewrite(w);
}

}  // namespace

// --- Writing movies ----------------------------------------------------------

void QT_CreateMovie(KVmovieExport* record, const Rect* dest)
{
  if (record->mode >= 1) {
    writeSequence(record);
    return;
  }
  FileRef file;
  if (record->output == nullptr ||
      !ParentRef2FSSpec(record->output->parent, record->output->name, &file)) {
    report(record, "CreateMovieFile", fnfErr);
    return;
  }
  record->movie = kvmovie::createMovieWriter(file.path());
  if (record->movie == nullptr) {
    report(record, "CreateMovieFile", ioErr);
    return;
  }
  QT_Create_VideoTrack(record, dest);
  if (record->addSound != 0) {
    // The sound lasts as long as the frames up to the last one.
    const double limit = double(record->lastFrame) * kFrameUnits / double(record->timeScale) *
                         double(int64_t(gMovieOutputRate));
    record->totalSamples = std::min(record->totalSamples, kvnum::sat_i32(limit));
    QT_AddSoundTrack(record);
  }
  kvmovie::MovieWriter* writer = record->movie;
  record->movie = nullptr;
  record->videoTrack = -1;
  if (!kvmovie::finishMovie(writer))
    report(record, "AddMovieResource", ioErr);
  else
    SetFileTypeAndCreator(file, fourcc("MooV"), kMovieCreator);
}

void QT_Create_VideoTrack(KVmovieExport* record, const Rect* dest)
{
  if (record->timeScale < 1) {
    report(record, "NewTrackMedia", paramErr);
    return;
  }
  record->videoTrack =
      kvmovie::addVideoTrack(record->movie, record->width, record->height, record->timeScale);
  if (record->videoTrack < 0) {
    report(record, "NewMovieTrack", paramErr);
    return;
  }
  if (dest != nullptr &&
      !kvmovie::setVideoTrackPlacement(record->movie, record->videoTrack, dest->left, dest->top,
                                       dest->right, dest->bottom))
    report(record, "InsertMediaIntoTrack", paramErr);
  if (gci != nullptr)
    QT_AddFRameCompress(record);
  else
    QT_AddFRame(record);
  if (!kvmovie::endVideoEncoding(record->movie, record->videoTrack))
    report(record, "EndMediaEdits", ioErr);
}

void QT_AddFRame(KVmovieExport* record)
{
  record->codecType = fourcc("rle ");
  if (!beginFrames(record, record->codecType, kPlainDepth, kPlainQuality)) {
    report(record, "GetMaxCompressionSize", paramErr);
    return;
  }
  addRenderedFrames(record, "CompressImage", "AddMediaSample");
}

void QT_AddFRameCompress(KVmovieExport* record)
{
  const KVspatialSettings& s = gSCSpatialSettings;
  if (!beginFrames(record, s.codecType, s.depth, s.spatialQuality)) {
    report(record, "CompressSequenceBegin Failed", paramErr);
    return;
  }
  addRenderedFrames(record, "CompressSequenceFrame Failed", "  Failed");
}

int16_t QT_AddSoundTrack(KVmovieExport* record)
{
  if (record->sampleBuffer == nullptr || record->soundProc == nullptr ||
      record->sampleBufferFrames < 1)
    return 0;
  const int track = kvmovie::addSoundTrack(record->movie, record->channels, descriptionRate());
  if (track < 0) {
    report(record, "NewMovieTrack Failed", paramErr);
    return 0;
  }
  for (int32_t start = 0; start < record->totalSamples;) {
    // Never more than the buffer holds, nor past the total.
    const int32_t n = std::min({record->soundProc(start, record, record->sampleBuffer),
                                record->sampleBufferFrames, record->totalSamples - start});
    // A procedure that gives nothing more ends the track.
    if (n <= 0)
      break;
    if (!kvmovie::addSoundFrames(record->movie, track, record->sampleBuffer, n)) {
      report(record, "AddMediaSample", ioErr);
      return 0;
    }
    start += n;
  }
  return 1;
}

// --- Editing movies ----------------------------------------------------------

void QT_ReplaceMovieSegment(KVmovieExport* record, const FileRef* file)
{
  Rewrite w;
  if (file == nullptr || !openRewrite(w, *file, file->path())) {
    record->status |= kMovieExportError;
    do_AlertUser_dlog(1059, 5, nullptr);
    return;
  }
  if (record->timeScale < 1 || !bufferHolds(record->gw, 1, 1) || record->frameProc == nullptr) {
    report(record, "NewTrackMedia", paramErr);
    return;
  }
  const Rect& b = record->gw->pixels.bounds;
  record->width = int16_t(b.right - b.left);
  record->height = int16_t(b.bottom - b.top);
  w.timeScale = record->timeScale;
  const bool compress = gci != nullptr;
  const OSType codec = compress ? gSCSpatialSettings.codecType : fourcc("rle ");
  if (!beginRewriteVideo(w, record->width, record->height, codec,
                         compress ? gSCSpatialSettings.depth : kPlainDepth,
                         compress ? gSCSpatialSettings.spatialQuality : kPlainQuality)) {
    report(record, compress ? "CompressSequenceBegin Failed" : "GetMaxCompressionSize", paramErr);
    return;
  }
  // The old frames before the segment, the new ones, then the old ones after
  // it; the segment counts 100 units a frame of the movie's time scale.
  const int64_t segmentStart = int64_t(record->firstFrame) * kFrameUnits;
  const int64_t segmentEnd = int64_t(record->lastFrame) * kFrameUnits;
  const bool oldVideo = w.sourceVideo >= 0;
  if (oldVideo && !copyFrames(w, 0, segmentStart)) {
    report(record, "AddMediaSample", ioErr);
    return;
  }
  record->movie = w.writer;
  record->videoTrack = w.video;
  addRenderedFrames(record, compress ? "CompressSequenceFrame Failed" : "CompressImage",
                    compress ? "  Failed" : "AddMediaSample");
  record->movie = nullptr;
  if (record->status != 0)
    return;
  if (oldVideo && !copyFrames(w, segmentEnd, INT64_MAX)) {
    report(record, "AddMediaSample", ioErr);
    return;
  }
  if (!kvmovie::endVideoEncoding(w.writer, w.video) || !copySound(w, 0, soundSeconds(w)) ||
      !finishRewrite(w))
    report(record, "AddMovieResource", ioErr);
}

int16_t CreateMovieCut(const FileRef* source, FileRef* out, int32_t start, int32_t duration,
                       int32_t number)
{
  if (source == nullptr || out == nullptr || start < 0 || duration < 1)
    return 0;
  *out = source->parentRef().child(stemOf(source->name) + ".cut" + std::to_string(number));
  if (!rewriteMovie(*source, out->path(), start, int64_t(start) + duration, 0, false))
    return 0;
  SetFileTypeAndCreator(*out, fourcc("MooV"), kMovieCreator);
  return 1;
}

int16_t CreateWarperMovie(const FileRef* source, FileRef* out, OSType creator)
{
  if (source == nullptr || out == nullptr)
    return 0;
  *out = source->parentRef().child(stemOf(source->name) + ".mov");
  if (!rewriteMovie(*source, out->path(), 0, INT64_MAX, 0, false))
    return 0;
  SetFileTypeAndCreator(*out, fourcc("MooV"), creator);
  return 1;
}

OSErr ForceFPS(const FileRef& chosen, int32_t timeScale)
{
  if (chosen.empty() || timeScale < 1)
    return paramErr;
  return rewriteMovie(chosen, chosen.path(), 0, INT64_MAX, timeScale, true) ? noErr : ioErr;
}

// --- Movie sound -------------------------------------------------------------

const KVmovieExporter* openMovieExportComp()
{
  static constexpr KVmovieExporter kAiffExporter{fourcc("spit"), fourcc("AIFF"), fourcc("soun")};
  return kvmovie::canWriteAiff() ? &kAiffExporter : nullptr;
}

void CreateSoundDescription(Handle description, int16_t channels, int16_t sampleSize)
{
  if (description == nullptr)
    return;
  SetHandleSize(description, kSoundDescriptionSize);
  if (GetHandleSize(description) != kSoundDescriptionSize)
    return;
  auto* p = reinterpret_cast<unsigned char*>(*description);
  std::memset(p, 0, kSoundDescriptionSize);
  be::put_u32(p, kSoundDescriptionSize);
  be::put_u32(p + 4, fourcc("twos"));
  be::put_i16(p + 14, 1);  // data reference index
  be::put_i16(p + 24, channels);
  be::put_i16(p + 26, sampleSize);
  be::put_u32(p + 32, uint32_t(descriptionRate()) << 16);
}

int16_t GetMovieSoundTrackIndex(MovieInputWork* work, const FileRef* file,
                                const kvmovie::Track** track)
{
  if (track != nullptr)
    *track = nullptr;
  if (work->movie == nullptr && file != nullptr)
    work->movie = GetMovieFromFile(*file);
  if (work->movie == nullptr)
    return 0;
  // FFmpeg splits MPEG program streams into their video and sound, so the
  // sound track is the first audio stream.
  const int index = firstTrackOf(work->movie, kvmovie::TrackKind::Audio);
  if (index < 0)
    return 0;
  if (track != nullptr)
    *track = kvmovie::movieTrack(work->movie, index);
  return int16_t(index + 1);
}

int16_t GetMovieSoundInfos(MovieInputWork* work, FileRef* file, bool convert)
{
  const FileRef aiff = file->parentRef().child(stemOf(file->name) + ".aif");
  if (kvfs::isRegularFile(aiff)) {
    work->soundTrackIndex = -2;
    *file = aiff;
    return 0;
  }
  const kvmovie::Track* t = nullptr;
  const int16_t index = GetMovieSoundTrackIndex(work, file, &t);
  work->soundTrackIndex = index;
  if (index == 0)
    return 0;
  work->bytesPerSample = t->bytesPerSample;
  work->channels = uint8_t(std::clamp<int16_t>(t->channels, 0, 255));
  // Sample frames of the track, from its length at its rate.
  const double frames = t->timeScale > 0 ? double(t->duration) * t->sampleRate / t->timeScale : 0;
  work->soundSampleCount = kvnum::sat_i32(frames);
  if (t->codecType == fourcc("twos") && t->bytesPerSample == 2 &&
      double(t->sampleRate) == gMovieOutputRate)
    return work->channels;
  if (!convert)
    return 0;
  if (MovieToAiffFile(work, index, &aiff, t->codecType, t->sampleRate, gMovieOutputRate) == 0)
    return 0;
  work->soundTrackIndex = -2;
  *file = aiff;
  return work->channels;
}

int32_t GetMovieSoundSamples(MovieInputWork* work, Handle buffer, int32_t first, int32_t count)
{
  const int16_t channels = work->channels;
  if (buffer == nullptr || count < 0 || first < 0 || channels < 1 || channels > kMaxSoundChannels ||
      work->movie == nullptr)
    return 0;
  const int64_t size = int64_t(channels) * count;  // samples
  const int64_t bytes = size * int64_t(sizeof(int16_t));
  if (bytes > INT32_MAX)
    return 0;
  if (GetHandleSize(buffer) < bytes) {
    SetHandleSize(buffer, int32_t(bytes));
    if (GetHandleSize(buffer) < bytes)
      return 0;
  }
  auto* samples = reinterpret_cast<int16_t*>(*buffer);
  if (first >= work->soundSampleCount) {
    std::memset(samples, 0, size_t(bytes));
    return int32_t(bytes);
  }
  if (int64_t(first) + count > work->soundSampleCount) {
    std::memset(samples, 0, size_t(bytes));
    count = work->soundSampleCount - first;
  }
  if (work->soundTrackIndex < 1)
    return 0;
  const int64_t got = kvmovie::readSoundFrames(
      kvmovie::moviePath(work->movie), work->soundTrackIndex - 1, channels, first, count, samples);
  return got < 0 ? 0 : int32_t(got * channels * int64_t(sizeof(int16_t)));
}

int16_t MovieToAiffFile(MovieInputWork* work, int16_t track, const FileRef* out,
                        OSType sourceFormat, double, double outputRate)
{
  if (work->movie == nullptr || out == nullptr || track < 1)
    return 0;
  if (sourceFormat == fourcc("m1s ") || openMovieExportComp() == nullptr)
    return 0;
  int32_t rate = 0;
  if (!kvnum::trunc_i32(outputRate, rate) || rate < 1)
    return 0;
  if (!kvmovie::convertSoundToAiff(kvmovie::moviePath(work->movie), track - 1, out->path(), rate)) {
    kvfs::deleteFile(*out);
    return 0;
  }
  SetFileTypeAndCreator(*out, fourcc("AIFF"), kMovieCreator);
  return 1;
}

int16_t GetTrackIndexbyType(kvmovie::Movie* movie, OSType mediaType)
{
  for (int i = 0; i < kvmovie::trackCount(movie); ++i)
    if (kvmovie::movieTrack(movie, i)->handlerType == mediaType)
      return int16_t(i + 1);
  return 0;
}

int32_t GetNumQTSamplesByIndex(kvmovie::Movie* movie, int16_t index)
{
  const kvmovie::Track* t = kvmovie::movieTrack(movie, index - 1);
  return t != nullptr ? int32_t(std::clamp<int64_t>(t->sampleCount, 0, INT32_MAX)) : 0;
}
