#include "platform/movie.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/ffmpeg_pvt.h"

namespace kvmovie {

namespace {

using namespace ff;

// Packets counted when a stream states no frame count and has no index: a
// crafted file cannot make the count run for ever.
constexpr int64_t kMaxCountedPackets = 4000000;
// Packets one draw may read before it gives up.
constexpr int kMaxPacketsPerDraw = 200000;
// The largest temporary block for a frame drawn partly outside its target.
constexpr int64_t kMaxScratchBytes = int64_t(1) << 30;

using FormatPtr = InputPtr;

// FFmpeg keeps codec tags with the first character in the low byte.
uint32_t bigEndianTag(uint32_t tag)
{
  return (tag & 0xFF) << 24 | (tag >> 8 & 0xFF) << 16 | (tag >> 16 & 0xFF) << 8 | tag >> 24;
}

FormatPtr openFormat(const std::string& path, std::string* why)
{
  quietLibraries();
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
    fail(why, "not a movie the demuxers know");
    return nullptr;
  }
  FormatPtr format(raw);
  if (avformat_find_stream_info(format.get(), nullptr) < 0) {
    fail(why, "no stream information");
    return nullptr;
  }
  return format;
}

bool isMpegStream(const AVFormatContext* format)
{
  const char* name = format->iformat->name;
  return std::strcmp(name, "mpeg") == 0 || std::strcmp(name, "mpegvideo") == 0;
}

// Units a second of a stream's time base num/den: den, each pts counting num
// units.
int64_t toUnits(int64_t pts, const AVRational& tb)
{
  if (tb.num <= 0 || pts > INT64_MAX / tb.num || pts < INT64_MIN / tb.num)
    return 0;
  return pts * tb.num;
}

int64_t streamDuration(const AVFormatContext* format, const AVStream* st)
{
  if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
    return toUnits(st->duration, st->time_base);
  if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
    return toUnits(av_rescale_q(format->duration, AV_TIME_BASE_Q, st->time_base), st->time_base);
  return 0;
}

Track describe(const AVFormatContext* format, const AVStream* st)
{
  const AVCodecParameters* par = st->codecpar;
  Track t;
  t.timeScale = st->time_base.den > 0 ? st->time_base.den : 0;
  t.duration = streamDuration(format, st);
  // The count the container states; when it states none (MPEG streams), the
  // packets are counted at the opening (a demuxer's index there holds only
  // the key frames seen so far).
  t.sampleCount = std::max<int64_t>(0, st->nb_frames);
  t.codecType = par->codec_tag != 0 ? bigEndianTag(par->codec_tag) : 0;
  const bool attachedPicture = (st->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
  if (par->codec_type == AVMEDIA_TYPE_VIDEO && !attachedPicture) {
    t.kind = TrackKind::Video;
    t.handlerType = isMpegStream(format) ? code("MPEG") : code("vide");
    t.width = par->width;
    t.height = par->height;
    t.depth = int16_t(std::clamp(par->bits_per_coded_sample, 0, 64));
  } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
    t.kind = TrackKind::Audio;
    t.handlerType = code("soun");
    t.channels = int16_t(std::clamp(par->ch_layout.nb_channels, 0, 255));
    t.sampleRate = std::max(0, par->sample_rate);
    t.bytesPerSample = int16_t(av_get_bytes_per_sample(AVSampleFormat(par->format)));
  } else {
    t.handlerType = par->codec_type == AVMEDIA_TYPE_SUBTITLE ? code("text") : code("data");
  }
  return t;
}

// Counts the packets of every stream in one pass over a second opening of the
// file, for streams that state no count.
void countPackets(const std::string& path, std::vector<Track>& tracks)
{
  FormatPtr format = openFormat(path, nullptr);
  PacketPtr packet(av_packet_alloc());
  if (!format || !packet || int(format->nb_streams) != int(tracks.size()))
    return;
  std::vector<int64_t> counts(tracks.size(), 0);
  for (int64_t n = 0; n < kMaxCountedPackets && av_read_frame(format.get(), packet.get()) >= 0;
       ++n) {
    const int s = packet->stream_index;
    if (s >= 0 && size_t(s) < counts.size())
      ++counts[size_t(s)];
    av_packet_unref(packet.get());
  }
  for (size_t s = 0; s < tracks.size(); ++s)
    if (tracks[s].sampleCount == 0)
      tracks[s].sampleCount = counts[s];
}

// Scales a picture onto the target's rectangle, writing only the part that
// lies inside the target's block.
bool scaleToTarget(ScalePtr& scaler, std::vector<uint8_t>& scratch, const uint8_t* const data[],
                   const int linesize[], int srcW, int srcH, AVPixelFormat format,
                   const FrameTarget& target, std::string* why)
{
  const int64_t w = int64_t(target.right) - target.left, h = int64_t(target.bottom) - target.top;
  if (w <= 0 || h <= 0 || w > kMaxFrameSide || h > kMaxFrameSide)
    return fail(why, "target rectangle empty or too large");
  if (srcW <= 0 || srcH <= 0 || srcW > kMaxFrameSide || srcH > kMaxFrameSide)
    return fail(why, "picture size out of range");
  scaler.reset(sws_getCachedContext(scaler.release(), srcW, srcH, format, int(w), int(h),
                                    AV_PIX_FMT_ARGB, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!scaler)
    return fail(why, "no conversion for the picture's pixel format");
  const bool inside = target.left >= 0 && target.top >= 0 && target.right <= target.width &&
                      target.bottom <= target.height;
  uint8_t* dst[4] = {};
  int dstStride[4] = {};
  if (inside) {
    dst[0] = target.base + int64_t(target.top) * target.rowBytes + int64_t(target.left) * 4;
    dstStride[0] = target.rowBytes;
    return sws_scale(scaler.get(), data, linesize, 0, srcH, dst, dstStride) > 0 ||
           fail(why, "conversion failed");
  }
  // Partly outside: scale the whole picture aside, then copy what lies
  // inside.
  if (w * h * 4 > kMaxScratchBytes)
    return fail(why, "target rectangle too large");
  scratch.resize(size_t(w * h * 4));
  dst[0] = scratch.data();
  dstStride[0] = int(w * 4);
  if (sws_scale(scaler.get(), data, linesize, 0, srcH, dst, dstStride) <= 0)
    return fail(why, "conversion failed");
  const int64_t x0 = std::max<int64_t>(target.left, 0);
  const int64_t x1 = std::min<int64_t>(target.right, target.width);
  const int64_t y0 = std::max<int64_t>(target.top, 0);
  const int64_t y1 = std::min<int64_t>(target.bottom, target.height);
  for (int64_t y = y0; y < y1 && x0 < x1; ++y)
    std::memcpy(target.base + y * target.rowBytes + x0 * 4,
                scratch.data() + ((y - target.top) * w + (x0 - target.left)) * 4,
                size_t(x1 - x0) * 4);
  return true;
}

bool validTarget(const FrameTarget& target)
{
  return target.base != nullptr && target.width > 0 && target.height > 0 &&
         int64_t(target.rowBytes) >= int64_t(target.width) * 4;
}

}  // namespace

class Movie
{
public:
  std::string path;
  FormatPtr format;
  std::vector<Track> tracks;
  int64_t seeks = 0;

  // The decoder of the track drawn last, and where it stands.
  int track = -1;
  CodecPtr codec;
  PacketPtr packet{av_packet_alloc()};
  FramePtr current{av_frame_alloc()};
  FramePtr next{av_frame_alloc()};
  ScalePtr scaler;
  std::vector<uint8_t> lastSample;
  std::vector<uint8_t> scratch;
  int64_t currentTime = 0;  // in units from the track's start
  int64_t nextTime = 0;
  int64_t lastTime = 0;     // of the last frame decoded
  int64_t frameLength = 1;  // in units
  int64_t startPts = 0;     // the track's first time stamp
  bool hasCurrent = false;
  bool hasNext = false;
  bool atStart = true;    // at the start: nothing decoded since the opening or a seek to it
  bool untouched = true;  // no packet read since the opening
  bool draining = false;
  bool ended = false;

  bool useTrack(int index, std::string* why);
  bool locate(int64_t time, std::string* why);
  void stepTo(int64_t time);
  bool seekTo(int64_t time);
  bool decodeNext(AVFrame* out, int64_t* time);
  bool scaleInto(const FrameTarget& target, std::string* why);

private:
  AVStream* stream() const { return format->streams[track]; }
  int64_t timeOf(const AVFrame* frame);
  void forget();
};

void Movie::forget()
{
  hasCurrent = hasNext = draining = ended = false;
}

bool Movie::useTrack(int index, std::string* why)
{
  if (track == index && codec)
    return true;
  codec.reset();
  track = -1;
  forget();
  const AVStream* st = format->streams[index];
  const AVCodec* decoder = avcodec_find_decoder(st->codecpar->codec_id);
  if (decoder == nullptr)
    return fail(why, "no decoder for the track's codec");
  codec.reset(avcodec_alloc_context3(decoder));
  if (!codec || avcodec_parameters_to_context(codec.get(), st->codecpar) < 0)
    return fail(why, "decoder set-up failed");
  codec->thread_count = 1;
  if (avcodec_open2(codec.get(), decoder, nullptr) < 0) {
    codec.reset();
    return fail(why, "decoder does not open");
  }
  track = index;
  startPts = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
  const AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
  frameLength = 1;
  if (rate.num > 0 && rate.den > 0)
    frameLength = std::max<int64_t>(
        1, toUnits(av_rescale_q(1, av_inv_q(rate), st->time_base), st->time_base));
  if (untouched) {
    atStart = true;
    return true;
  }
  // The demuxer stands wherever an earlier track's drawing left it.
  return seekTo(0) || fail(why, "cannot go to the start");
}

int64_t Movie::timeOf(const AVFrame* frame)
{
  const int64_t pts = frame->best_effort_timestamp;
  if (pts == AV_NOPTS_VALUE)
    return lastTime + frameLength;
  return toUnits(pts - startPts, stream()->time_base);
}

bool Movie::seekTo(int64_t time)
{
  const AVStream* st = stream();
  const int64_t target = startPts + (st->time_base.num > 0 ? time / st->time_base.num : 0);
  ++seeks;
  if (av_seek_frame(format.get(), track, target, AVSEEK_FLAG_BACKWARD) < 0 &&
      avformat_seek_file(format.get(), track, INT64_MIN, target, target, 0) < 0 &&
      avformat_seek_file(format.get(), track, INT64_MIN, startPts, startPts, 0) < 0)
    return false;
  avcodec_flush_buffers(codec.get());
  forget();
  atStart = time <= 0;
  return true;
}

// The next frame the decoder gives; false at the end of the track or when
// nothing more can be decoded (damaged data is skipped packet by packet).
bool Movie::decodeNext(AVFrame* out, int64_t* time)
{
  for (int reads = 0; reads < kMaxPacketsPerDraw; ++reads) {
    const int got = avcodec_receive_frame(codec.get(), out);
    if (got == 0) {
      *time = lastTime = timeOf(out);
      atStart = false;
      return true;
    }
    if (got != AVERROR(EAGAIN) || draining) {
      ended = true;
      return false;
    }
    untouched = false;
    if (av_read_frame(format.get(), packet.get()) < 0) {
      avcodec_send_packet(codec.get(), nullptr);
      draining = true;
      continue;
    }
    if (packet->stream_index == track) {
      lastSample.assign(packet->data, packet->data + packet->size);
      avcodec_send_packet(codec.get(), packet.get());
    }
    av_packet_unref(packet.get());
  }
  ended = true;
  return false;
}

void Movie::stepTo(int64_t time)
{
  for (int frames = 0; frames < kMaxPacketsPerDraw; ++frames) {
    if (!hasNext) {
      if (ended || !decodeNext(next.get(), &nextTime))
        return;
      hasNext = true;
    }
    if (hasCurrent && nextTime > time)
      return;
    // The first frame stands for any time before it; later ones take over
    // once their time has come.
    std::swap(current, next);
    currentTime = nextTime;
    hasCurrent = true;
    hasNext = false;
  }
}

bool Movie::locate(int64_t time, std::string* why)
{
  if (hasCurrent && currentTime <= time && (hasNext ? time < nextTime : ended))
    return true;
  const int64_t window = std::max<int64_t>(16 * frameLength, stream()->time_base.den);
  const int64_t from = hasCurrent ? currentTime : 0;
  const bool ahead = hasCurrent ? time >= currentTime : atStart;
  const bool seek = !ahead || time - from > window;
  if (seek && !seekTo(time))
    return fail(why, "seek failed");
  stepTo(time);
  // A seek may land past the frame wanted, or where nothing decodes before
  // the end (MPEG streams seek by time stamps, not key frames): go back
  // further until a frame at or before the time is found or the start is
  // reached.
  for (int64_t back = window; seek && (!hasCurrent || currentTime > time) && back < INT64_MAX / 2;
       back *= 2) {
    const int64_t target = time > back ? time - back : 0;
    if (!seekTo(target))
      break;
    stepTo(time);
    if (target == 0)
      break;
  }
  return hasCurrent || fail(why, "no frame could be decoded");
}

bool Movie::scaleInto(const FrameTarget& target, std::string* why)
{
  const AVFrame* f = current.get();
  return scaleToTarget(scaler, scratch, f->data, f->linesize, f->width, f->height,
                       AVPixelFormat(f->format), target, why);
}

Movie* openMovie(const std::string& path, std::string* why)
{
  FormatPtr format = openFormat(path, why);
  if (!format)
    return nullptr;
  if (format->nb_streams == 0 || format->nb_streams > 32767) {
    fail(why, "no streams");
    return nullptr;
  }
  auto movie = std::make_unique<Movie>();
  if (!movie->packet || !movie->current || !movie->next) {
    fail(why, "out of memory");
    return nullptr;
  }
  for (unsigned s = 0; s < format->nb_streams; ++s)
    movie->tracks.push_back(describe(format.get(), format->streams[s]));
  if (std::any_of(movie->tracks.begin(), movie->tracks.end(),
                  [](const Track& t) { return t.sampleCount == 0; }))
    countPackets(path, movie->tracks);
  movie->path = path;
  movie->format = std::move(format);
  return movie.release();
}

void closeMovie(Movie* movie)
{
  delete movie;
}

const std::string& moviePath(const Movie* movie)
{
  return movie->path;
}

int trackCount(const Movie* movie)
{
  return int(movie->tracks.size());
}

const Track* movieTrack(const Movie* movie, int index)
{
  if (movie == nullptr || index < 0 || index >= trackCount(movie))
    return nullptr;
  return &movie->tracks[size_t(index)];
}

bool drawFrame(Movie* movie, int index, int64_t time, const FrameTarget& target, std::string* why)
{
  const Track* t = movieTrack(movie, index);
  if (t == nullptr || t->kind != TrackKind::Video)
    return fail(why, "not a video track");
  if (!validTarget(target))
    return fail(why, "no pixels to draw into");
  return movie->useTrack(index, why) && movie->locate(time, why) && movie->scaleInto(target, why);
}

const uint8_t* lastSampleData(const Movie* movie, size_t* size)
{
  *size = movie->lastSample.size();
  return movie->lastSample.empty() ? nullptr : movie->lastSample.data();
}

bool scalePixels(const uint8_t* argb, int32_t rowBytes, int32_t width, int32_t height,
                 const FrameTarget& target, std::string* why)
{
  if (argb == nullptr || int64_t(rowBytes) < int64_t(width) * 4)
    return fail(why, "no picture");
  if (!validTarget(target))
    return fail(why, "no pixels to draw into");
  ScalePtr scaler;
  std::vector<uint8_t> scratch;
  const uint8_t* data[4] = {argb};
  const int linesize[4] = {rowBytes};
  return scaleToTarget(scaler, scratch, data, linesize, width, height, AV_PIX_FMT_ARGB, target,
                       why);
}

int64_t seekCount(const Movie* movie)
{
  return movie->seeks;
}

}  // namespace kvmovie
