#include "platform/moviewrite.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include "platform/ffmpeg_pvt.h"

namespace kvmovie {

using namespace ff;

namespace {

constexpr int32_t kMaxSide = 32767;
constexpr int16_t kMaxChannels = 16;
constexpr int32_t kMaxSampleRate = 384000;
// Samples larger than this in a spool file mean the spool is damaged.
constexpr int32_t kMaxSpooledPacket = 1 << 30;
// Sound frames decoded at a time when converting.
constexpr int kConvertChunk = 4096;

// 16-bit samples as 'twos' stores them: big-endian, into `bytes`.
void bigEndianSamples(const int16_t* samples, size_t count, std::vector<uint8_t>& bytes)
{
  bytes.resize(count * 2);
  for (size_t i = 0; i < count; ++i) {
    const auto v = uint16_t(samples[i]);
    bytes[2 * i] = uint8_t(v >> 8);
    bytes[2 * i + 1] = uint8_t(v);
  }
}

struct VideoCodec
{
  uint32_t type;
  AVCodecID id;
  AVPixelFormat format;       // pixels given to the encoder
  AVPixelFormat alphaFormat;  // the same at depth 32 (AV_PIX_FMT_NONE: no alpha)
  bool lossy;                 // takes a quantiser
};

constexpr VideoCodec kVideoCodecs[] = {
    {code("rle "), AV_CODEC_ID_QTRLE, AV_PIX_FMT_RGB24, AV_PIX_FMT_ARGB, false},
    {code("jpeg"), AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_NONE, true},
    {code("png "), AV_CODEC_ID_PNG, AV_PIX_FMT_RGB24, AV_PIX_FMT_RGBA, false},
    {code("mp4v"), AV_CODEC_ID_MPEG4, AV_PIX_FMT_YUV420P, AV_PIX_FMT_NONE, true},
};

const VideoCodec* videoCodecOf(uint32_t type)
{
  for (const VideoCodec& c : kVideoCodecs)
    if (c.type == type && avcodec_find_encoder(c.id) != nullptr)
      return &c;
  return nullptr;
}

// Quality 0 .. 1023 onto the quantiser 31 .. 2 (lower is finer).
int quantiserOf(int32_t quality)
{
  const int32_t q = std::clamp(quality, 0, 1023);
  return 31 - int(std::lround(q * 29.0 / 1023.0));
}

// One compressed sample as it waits in a track's spool file.
struct SpoolHeader
{
  int64_t pts;
  int64_t dts;
  int64_t duration;
  int32_t flags;
  int32_t size;
};

}  // namespace

struct WriterTrack
{
  AVMediaType type = AVMEDIA_TYPE_VIDEO;
  AVRational timeBase{1, 1};
  int32_t width = 0, height = 0;
  int16_t channels = 0;
  int32_t sampleRate = 0;
  std::unique_ptr<std::FILE, FileClose> spool;
  CodecPtr encoder;
  FramePtr frame;
  PacketPtr packet;
  ScalePtr scaler;
  AVCodecParameters* parameters = nullptr;  // set when the track's samples are complete
  int64_t nextTime = 0;
  int64_t frameDuration = 1;  // of the last frame given to the encoder
  int32_t matrix[9] = {};     // the track matrix; all 0: the identity
  int quantiser = 0;
  bool lossy = false;

  ~WriterTrack() { avcodec_parameters_free(&parameters); }

  bool spoolPacket(const AVPacket* p)
  {
    const SpoolHeader h{p->pts, p->dts, p->duration, p->flags, p->size};
    return std::fwrite(&h, sizeof h, 1, spool.get()) == 1 &&
           (p->size == 0 || std::fwrite(p->data, size_t(p->size), 1, spool.get()) == 1);
  }
};

class MovieWriter
{
public:
  std::string path;
  std::vector<std::unique_ptr<WriterTrack>> tracks;

  WriterTrack* track(int index, AVMediaType type)
  {
    if (index < 0 || size_t(index) >= tracks.size() || tracks[size_t(index)]->type != type)
      return nullptr;
    return tracks[size_t(index)].get();
  }
  int newTrack(std::unique_ptr<WriterTrack> t, std::string* why)
  {
    t->spool.reset(std::tmpfile());
    if (!t->spool)
      return fail(why, "no temporary file for the track's samples"), -1;
    tracks.push_back(std::move(t));
    return int(tracks.size()) - 1;
  }
};

namespace {

// Sends a frame (null: the end) to the encoder and spools what comes out.
bool encode(WriterTrack* t, const AVFrame* frame, bool* stored)
{
  *stored = true;
  if (avcodec_send_frame(t->encoder.get(), frame) < 0)
    return false;
  for (;;) {
    const int got = avcodec_receive_packet(t->encoder.get(), t->packet.get());
    if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
      return true;
    if (got < 0)
      return false;
    // The container counts the track's own units.
    av_packet_rescale_ts(t->packet.get(), t->encoder->time_base, t->timeBase);
    // Encoders without reordering leave the duration to the caller: the last
    // sample must last its frame too.
    if (t->packet->duration <= 0)
      t->packet->duration = t->frameDuration;
    *stored = t->spoolPacket(t->packet.get());
    av_packet_unref(t->packet.get());
    if (!*stored)
      return false;
  }
}

bool readSpooled(std::FILE* f, AVPacket* p, std::vector<uint8_t>& data)
{
  SpoolHeader h;
  if (std::fread(&h, sizeof h, 1, f) != 1 || h.size < 0 || h.size > kMaxSpooledPacket)
    return false;
  data.resize(size_t(h.size));
  if (h.size > 0 && std::fread(data.data(), size_t(h.size), 1, f) != 1)
    return false;
  av_packet_unref(p);
  p->data = data.data();
  p->size = h.size;
  p->pts = h.pts;
  p->dts = h.dts;
  p->duration = h.duration;
  p->flags = h.flags;
  return true;
}

// The parameters of a sound track's samples: big-endian 16-bit PCM.
AVCodecParameters* soundParameters(const WriterTrack& t)
{
  AVCodecParameters* par = avcodec_parameters_alloc();
  if (par == nullptr)
    return nullptr;
  par->codec_type = AVMEDIA_TYPE_AUDIO;
  par->codec_id = AV_CODEC_ID_PCM_S16BE;
  par->format = AV_SAMPLE_FMT_S16;
  par->sample_rate = t.sampleRate;
  av_channel_layout_default(&par->ch_layout, t.channels);
  par->bits_per_coded_sample = 16;
  par->block_align = 2 * t.channels;
  return par;
}

std::string partPath(const std::string& path)
{
  return path + ".part";
}

// Writes every track's spooled samples into the movie, in time order.
bool muxTracks(MovieWriter* w, AVFormatContext* out, std::string* why)
{
  struct Cursor
  {
    AVStream* stream;
    WriterTrack* track;
    PacketPtr packet{av_packet_alloc()};
    std::vector<uint8_t> data;
    bool has = false;
  };
  // The streams follow the tracks that hold samples, in order.
  std::vector<Cursor> cursors;
  cursors.reserve(out->nb_streams);
  for (auto& t : w->tracks) {
    if (t->parameters == nullptr || cursors.size() >= out->nb_streams)
      continue;
    Cursor& c = cursors.emplace_back();
    c.track = t.get();
    c.stream = out->streams[cursors.size() - 1];
    if (!c.packet)
      return fail(why, "out of memory");
    std::rewind(t->spool.get());
    c.has = readSpooled(t->spool.get(), c.packet.get(), c.data);
  }
  for (;;) {
    Cursor* next = nullptr;
    for (Cursor& c : cursors)
      if (c.has && (next == nullptr || av_compare_ts(c.packet->dts, c.track->timeBase,
                                                     next->packet->dts, next->track->timeBase) < 0))
        next = &c;
    if (next == nullptr)
      return true;
    AVPacket* p = next->packet.get();
    p->stream_index = next->stream->index;
    av_packet_rescale_ts(p, next->track->timeBase, next->stream->time_base);
    if (av_write_frame(out, p) < 0)
      return fail(why, "the container refused a sample");
    next->has = readSpooled(next->track->spool.get(), p, next->data);
  }
}

bool writeMovieFile(MovieWriter* w, std::string* why)
{
  const std::string part = partPath(w->path);
  AVFormatContext* raw = nullptr;
  if (avformat_alloc_output_context2(&raw, nullptr, "mov", part.c_str()) < 0 || raw == nullptr)
    return fail(why, "no QuickTime muxer");
  OutputPtr out(raw);
  int32_t videoScale = 0;
  for (auto& t : w->tracks) {
    if (t->parameters == nullptr)
      continue;  // a track whose encoder never opened holds nothing
    AVStream* st = avformat_new_stream(out.get(), nullptr);
    if (st == nullptr || avcodec_parameters_copy(st->codecpar, t->parameters) < 0)
      return fail(why, "a track has no samples description");
    st->codecpar->codec_tag = 0;
    st->time_base = t->timeBase;
    if (t->matrix[8] != 0) {
      uint8_t* side = av_stream_new_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, sizeof t->matrix);
      if (side == nullptr)
        return fail(why, "out of memory");
      std::memcpy(side, t->matrix, sizeof t->matrix);
    }
    if (t->type == AVMEDIA_TYPE_VIDEO) {
      st->avg_frame_rate = AVRational{0, 1};
      videoScale = t->timeBase.den;
    }
  }
  AVDictionary* options = nullptr;
  if (videoScale > 0)
    av_dict_set_int(&options, "video_track_timescale", videoScale, 0);
  const bool opened = avio_open(&out->pb, part.c_str(), AVIO_FLAG_WRITE) >= 0;
  const bool headed = opened && avformat_write_header(out.get(), &options) >= 0;
  av_dict_free(&options);
  if (!headed) {
    std::remove(part.c_str());
    return fail(why, opened ? "the container refused the tracks" : "cannot create the file");
  }
  const bool muxed = muxTracks(w, out.get(), why);
  const bool ended = av_write_trailer(out.get()) >= 0;
  const bool closed = avio_closep(&out->pb) >= 0;
  if (!muxed || !ended || !closed || std::rename(part.c_str(), w->path.c_str()) != 0) {
    std::remove(part.c_str());
    return muxed ? fail(why, "cannot write the file") : false;
  }
  return true;
}

}  // namespace

bool canWriteVideoCodec(uint32_t codecType)
{
  return videoCodecOf(codecType) != nullptr;
}

MovieWriter* createMovieWriter(const std::string& path, std::string* why)
{
  quietLibraries();
  if (path.empty()) {
    fail(why, "no file name");
    return nullptr;
  }
  auto w = std::make_unique<MovieWriter>();
  w->path = path;
  return w.release();
}

int addVideoTrack(MovieWriter* writer, int32_t width, int32_t height, int32_t timeScale,
                  std::string* why)
{
  if (writer == nullptr || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
      timeScale < 1)
    return fail(why, "track size or time scale out of range"), -1;
  auto t = std::make_unique<WriterTrack>();
  t->type = AVMEDIA_TYPE_VIDEO;
  t->width = width;
  t->height = height;
  t->timeBase = AVRational{1, timeScale};
  return writer->newTrack(std::move(t), why);
}

bool setVideoTrackPlacement(MovieWriter* writer, int track, int32_t left, int32_t top,
                            int32_t right, int32_t bottom, std::string* why)
{
  WriterTrack* t = writer != nullptr ? writer->track(track, AVMEDIA_TYPE_VIDEO) : nullptr;
  auto in16 = [](int32_t v) { return v >= -32768 && v <= 32767; };
  if (t == nullptr || right <= left || bottom <= top || !in16(left) || !in16(top) || !in16(right) ||
      !in16(bottom))
    return fail(why, "placement rectangle empty or beyond 16 bits");
  // Row-major 3 x 3: scales and the move in 16.16, the last column 2.30.
  const auto fixed = [](double v) { return int32_t(std::lround(v * 65536.0)); };
  std::fill(std::begin(t->matrix), std::end(t->matrix), 0);
  t->matrix[0] = fixed(double(right - left) / t->width);
  t->matrix[4] = fixed(double(bottom - top) / t->height);
  t->matrix[6] = fixed(left);
  t->matrix[7] = fixed(top);
  t->matrix[8] = 1 << 30;
  return true;
}

bool beginVideoEncoding(MovieWriter* writer, int track, uint32_t codecType, int16_t depth,
                        int32_t quality, std::string* why)
{
  WriterTrack* t = writer != nullptr ? writer->track(track, AVMEDIA_TYPE_VIDEO) : nullptr;
  const VideoCodec* codec = videoCodecOf(codecType);
  if (t == nullptr || codec == nullptr)
    return fail(why, "no encoder for the codec type");
  const AVCodec* encoder = avcodec_find_encoder(codec->id);
  t->encoder.reset(avcodec_alloc_context3(encoder));
  t->frame.reset(av_frame_alloc());
  t->packet.reset(av_packet_alloc());
  if (!t->encoder || !t->frame || !t->packet)
    return fail(why, "out of memory");
  AVCodecContext* c = t->encoder.get();
  c->width = t->width;
  c->height = t->height;
  c->pix_fmt =
      depth == 32 && codec->alphaFormat != AV_PIX_FMT_NONE ? codec->alphaFormat : codec->format;
  c->time_base = t->timeBase;
  c->thread_count = 1;
  // The container holds the codec's set-up once, not in every sample.
  c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (codec->id == AV_CODEC_ID_MJPEG)
    c->color_range = AVCOL_RANGE_JPEG;
  t->lossy = codec->lossy;
  if (t->lossy) {
    t->quantiser = quantiserOf(quality);
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * t->quantiser;
    c->qmin = c->qmax = t->quantiser;
  }
  if (avcodec_open2(c, encoder, nullptr) < 0) {
    t->encoder.reset();
    return fail(why, "the encoder does not open");
  }
  t->frame->format = c->pix_fmt;
  t->frame->width = c->width;
  t->frame->height = c->height;
  if (av_frame_get_buffer(t->frame.get(), 0) < 0) {
    t->encoder.reset();
    return fail(why, "out of memory");
  }
  t->scaler.reset(sws_getContext(t->width, t->height, AV_PIX_FMT_ARGB, t->width, t->height,
                                 c->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!t->scaler) {
    t->encoder.reset();
    return fail(why, "no conversion to the encoder's pixels");
  }
  return true;
}

SampleResult addVideoFrame(MovieWriter* writer, int track, const uint8_t* argb, int32_t rowBytes,
                           int32_t duration, std::string* why)
{
  WriterTrack* t = writer != nullptr ? writer->track(track, AVMEDIA_TYPE_VIDEO) : nullptr;
  if (t == nullptr || !t->encoder || argb == nullptr || int64_t(rowBytes) < int64_t(t->width) * 4 ||
      duration < 1) {
    fail(why, "no frame or no encoder");
    return SampleResult::EncodeFailed;
  }
  if (av_frame_make_writable(t->frame.get()) < 0) {
    fail(why, "out of memory");
    return SampleResult::EncodeFailed;
  }
  const uint8_t* src[4] = {argb};
  const int srcStride[4] = {rowBytes};
  sws_scale(t->scaler.get(), src, srcStride, 0, t->height, t->frame->data, t->frame->linesize);
  t->frame->pts = t->nextTime;
  t->frame->pkt_duration = duration;
  t->frameDuration = duration;
  if (t->lossy)
    t->frame->quality = FF_QP2LAMBDA * t->quantiser;
  t->nextTime += duration;
  bool stored = true;
  if (encode(t, t->frame.get(), &stored))
    return SampleResult::Added;
  fail(why, stored ? "the encoder refused the frame" : "cannot keep the sample");
  return stored ? SampleResult::EncodeFailed : SampleResult::StoreFailed;
}

bool endVideoEncoding(MovieWriter* writer, int track, std::string* why)
{
  WriterTrack* t = writer != nullptr ? writer->track(track, AVMEDIA_TYPE_VIDEO) : nullptr;
  if (t == nullptr)
    return fail(why, "not a video track");
  if (!t->encoder)
    return true;  // never began, or drained already
  bool stored = true;
  if (!encode(t, nullptr, &stored))
    return fail(why, "the encoder does not drain");
  t->parameters = avcodec_parameters_alloc();
  if (t->parameters == nullptr ||
      avcodec_parameters_from_context(t->parameters, t->encoder.get()) < 0)
    return fail(why, "out of memory");
  t->encoder.reset();
  t->scaler.reset();
  t->frame.reset();
  return true;
}

int addSoundTrack(MovieWriter* writer, int16_t channels, int32_t sampleRate, std::string* why)
{
  if (writer == nullptr || channels < 1 || channels > kMaxChannels || sampleRate < 1 ||
      sampleRate > kMaxSampleRate)
    return fail(why, "channels or rate out of range"), -1;
  auto t = std::make_unique<WriterTrack>();
  t->type = AVMEDIA_TYPE_AUDIO;
  t->channels = channels;
  t->sampleRate = sampleRate;
  t->timeBase = AVRational{1, sampleRate};
  t->parameters = soundParameters(*t);
  if (t->parameters == nullptr)
    return fail(why, "out of memory"), -1;
  return writer->newTrack(std::move(t), why);
}

bool addSoundFrames(MovieWriter* writer, int track, const int16_t* samples, int32_t frames,
                    std::string* why)
{
  WriterTrack* t = writer != nullptr ? writer->track(track, AVMEDIA_TYPE_AUDIO) : nullptr;
  if (t == nullptr || samples == nullptr || frames < 0 ||
      int64_t(frames) * t->channels > INT32_MAX / 2)
    return fail(why, "no samples");
  if (frames == 0)
    return true;
  std::vector<uint8_t> bytes;
  bigEndianSamples(samples, size_t(frames) * size_t(t->channels), bytes);
  AVPacket p{};
  p.data = bytes.data();
  p.size = int(bytes.size());
  p.pts = p.dts = t->nextTime;
  p.duration = frames;
  p.flags = AV_PKT_FLAG_KEY;
  t->nextTime += frames;
  return t->spoolPacket(&p) || fail(why, "cannot keep the samples");
}

bool finishMovie(MovieWriter* writer, std::string* why)
{
  if (writer == nullptr)
    return fail(why, "no movie");
  std::unique_ptr<MovieWriter> owned(writer);
  for (auto& t : owned->tracks)
    if (t->encoder && !endVideoEncoding(owned.get(), int(&t - owned->tracks.data()), why))
      return false;
  return writeMovieFile(owned.get(), why);
}

void discardMovie(MovieWriter* writer)
{
  delete writer;
}

// --- Movie sound ----------------------------------------------------------

namespace {

// An opened sound track with its decoder and a converter to interleaved
// 16-bit samples.
struct SoundReader
{
  InputPtr format;
  CodecPtr decoder;
  std::unique_ptr<SwrContext, ResampleFree> resampler;
  FramePtr frame{av_frame_alloc()};
  PacketPtr packet{av_packet_alloc()};
  int stream = -1;
  int channels = 0;
  bool draining = false;

  // Opens sound track `track`, or the best sound track when it is -1, for
  // samples of `outFormat` (interleaved 16-bit or float).
  bool open(const std::string& path, int track, int outChannels, int outRate, std::string* why,
            AVSampleFormat outFormat = AV_SAMPLE_FMT_S16)
  {
    quietLibraries();
    AVFormatContext* raw = nullptr;
    if (!frame || !packet)
      return fail(why, "out of memory");
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
      return fail(why, "not a movie the demuxers know");
    format.reset(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0)
      return fail(why, "no stream information");
    if (track == -1)
      track = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (track < 0 || unsigned(track) >= raw->nb_streams ||
        raw->streams[track]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
      return fail(why, "not a sound track");
    stream = track;
    const AVCodecParameters* par = raw->streams[track]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (codec == nullptr)
      return fail(why, "no decoder for the sound");
    decoder.reset(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), par) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0)
      return fail(why, "the sound decoder does not open");
    const int inChannels = decoder->ch_layout.nb_channels;
    if (inChannels < 1 || inChannels > 64 || decoder->sample_rate < 1 ||
        decoder->sample_rate > kMaxSampleRate)
      return fail(why, "sound without channels or rate");
    channels = outChannels > 0 ? outChannels : inChannels;
    const int rate = outRate > 0 ? outRate : decoder->sample_rate;
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, channels);
    SwrContext* swr = nullptr;
    const int made = swr_alloc_set_opts2(&swr, &outLayout, outFormat, rate, &decoder->ch_layout,
                                         decoder->sample_fmt, decoder->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&outLayout);
    resampler.reset(swr);
    if (made < 0 || swr_init(swr) < 0)
      return fail(why, "no conversion for the sound");
    return true;
  }

  // The next converted block into `out` (room for `room` frames): frames
  // written, 0 at the end, -1 on a failure.
  int next(void* out, int room)
  {
    for (;;) {
      const int got = avcodec_receive_frame(decoder.get(), frame.get());
      if (got == 0) {
        uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(out)};
        const int n =
            swr_convert(resampler.get(), dst, room,
                        const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        av_frame_unref(frame.get());
        if (n != 0)
          return n;
        continue;
      }
      if (got == AVERROR_EOF || (got == AVERROR(EAGAIN) && draining)) {
        uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(out)};
        const int n = swr_convert(resampler.get(), dst, room, nullptr, 0);
        return n < 0 ? -1 : n;
      }
      if (got != AVERROR(EAGAIN))
        return -1;
      if (av_read_frame(format.get(), packet.get()) < 0) {
        avcodec_send_packet(decoder.get(), nullptr);
        draining = true;
        continue;
      }
      if (packet->stream_index == stream)
        avcodec_send_packet(decoder.get(), packet.get());
      av_packet_unref(packet.get());
    }
  }

  // The room a block needs to hold what one call of next may give.
  int blockRoom(int frames) const { return frames + int(swr_get_out_samples(resampler.get(), 0)); }
};

}  // namespace

// The size a sound file's samples had before decoding: 2, 3, 4, or -4 for
// floating point.
int16_t bytesPerSampleOf(const AVCodecContext& decoder)
{
  switch (av_get_packed_sample_fmt(decoder.sample_fmt)) {
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_DBL:
      return -4;
    case AV_SAMPLE_FMT_S32:
      return decoder.bits_per_raw_sample == 24 ? 3 : 4;
    default:
      return 2;
  }
}

class SoundStream
{
public:
  explicit SoundStream(std::string p) : path(std::move(p)) {}

  // Opens the file again at its first frame.
  bool restart(std::string* why)
  {
    reader = std::make_unique<SoundReader>();
    pending.clear();
    pendingAt = 0;
    position = 0;
    return reader->open(path, -1, 0, 0, why, AV_SAMPLE_FMT_FLT);
  }

  // Up to `frames` frames into `out`: the frames read, 0 at the end, -1 on
  // a failure.
  int64_t read(float* out, int64_t frames)
  {
    const size_t channels = size_t(reader->channels);
    if (channels == 0 || !reader->resampler)
      return -1;  // the last restart failed
    int64_t done = 0;
    while (done < frames) {
      if (pendingAt == pending.size() && !refill())
        return done > 0 ? done : (failed ? -1 : 0);
      const size_t take =
          std::min<size_t>((pending.size() - pendingAt) / channels, size_t(frames - done));
      if (out)
        std::memcpy(out + size_t(done) * channels, pending.data() + pendingAt,
                    take * channels * sizeof(float));
      pendingAt += take * channels;
      done += int64_t(take);
    }
    position += done;
    return done;
  }

  std::string path;
  std::unique_ptr<SoundReader> reader;
  int64_t position = 0;  // the frame the next read delivers
  bool failed = false;

private:
  // Decodes the next block; false at the end or on a failure.
  bool refill()
  {
    const int room = reader->blockRoom(kConvertChunk);
    pending.resize(size_t(room) * size_t(reader->channels));
    pendingAt = 0;
    const int n = reader->next(pending.data(), room);
    failed = n < 0;
    pending.resize(size_t(std::max(n, 0)) * size_t(reader->channels));
    return n > 0;
  }

  std::vector<float> pending;  // decoded frames not yet delivered
  size_t pendingAt = 0;        // samples of pending already delivered
};

bool canWriteAiff()
{
  return av_guess_format("aiff", nullptr, nullptr) != nullptr;
}

bool convertSoundToAiff(const std::string& path, int track, const std::string& out,
                        int32_t sampleRate, std::string* why)
{
  if (sampleRate < 1 || sampleRate > kMaxSampleRate)
    return fail(why, "rate out of range");
  SoundReader reader;
  if (!reader.open(path, track, 2, sampleRate, why))
    return false;
  const std::string part = partPath(out);
  AVFormatContext* raw = nullptr;
  if (avformat_alloc_output_context2(&raw, nullptr, "aiff", part.c_str()) < 0 || raw == nullptr)
    return fail(why, "no AIFF muxer");
  OutputPtr file(raw);
  AVStream* st = avformat_new_stream(raw, nullptr);
  WriterTrack shape;
  shape.channels = 2;
  shape.sampleRate = sampleRate;
  AVCodecParameters* par = soundParameters(shape);
  const bool described =
      st != nullptr && par != nullptr && avcodec_parameters_copy(st->codecpar, par) >= 0;
  avcodec_parameters_free(&par);
  if (!described)
    return fail(why, "out of memory");
  st->time_base = AVRational{1, sampleRate};
  if (avio_open(&raw->pb, part.c_str(), AVIO_FLAG_WRITE) < 0)
    return fail(why, "cannot create the file");
  bool ok = avformat_write_header(raw, nullptr) >= 0;
  std::vector<int16_t> block;
  std::vector<uint8_t> bytes;
  int64_t written = 0;
  while (ok) {
    const int room = reader.blockRoom(kConvertChunk * 4);
    block.resize(size_t(room) * 2);
    const int n = reader.next(block.data(), room);
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    bigEndianSamples(block.data(), size_t(n) * 2, bytes);
    AVPacket p{};
    p.data = bytes.data();
    p.size = int(bytes.size());
    p.pts = p.dts = written;
    p.duration = n;
    p.stream_index = 0;
    written += n;
    ok = av_write_frame(raw, &p) >= 0;
  }
  ok = ok && av_write_trailer(raw) >= 0;
  ok = avio_closep(&raw->pb) >= 0 && ok;
  if (!ok || std::rename(part.c_str(), out.c_str()) != 0) {
    std::remove(part.c_str());
    return fail(why, "the sound cannot be converted");
  }
  return true;
}

int64_t readSoundFrames(const std::string& path, int track, int16_t channels, int64_t first,
                        int32_t count, int16_t* out, std::string* why)
{
  if (first < 0 || count < 0 || out == nullptr || channels < 1 || channels > kMaxChannels)
    return fail(why, "range out of bounds"), -1;
  SoundReader reader;
  if (!reader.open(path, track, channels, 0, why))
    return -1;
  std::vector<int16_t> block;
  int64_t position = 0, copied = 0;
  while (copied < count) {
    const int room = reader.blockRoom(kConvertChunk);
    block.resize(size_t(room) * size_t(channels));
    const int n = reader.next(block.data(), room);
    if (n < 0)
      return fail(why, "the sound cannot be decoded"), -1;
    if (n == 0)
      break;
    // The part of this block at or after `first`, up to the frames wanted.
    const int64_t from = std::max<int64_t>(first - position, 0);
    const int64_t take = std::min<int64_t>(n - from, count - copied);
    if (from < n && take > 0) {
      std::memcpy(out + copied * int64_t(channels), block.data() + from * int64_t(channels),
                  size_t(take) * size_t(channels) * sizeof(int16_t));
      copied += take;
    }
    position += n;
  }
  return copied;
}

SoundStream* openSoundStream(const std::string& path, SoundStreamInfo* info, std::string* why)
{
  auto stream = std::make_unique<SoundStream>(path);
  if (!stream->restart(why))
    return nullptr;
  if (stream->reader->channels > kMaxChannels)
    return fail(why, "more than 16 channels"), nullptr;
  // The frame count is what decodes, not what the container claims: a
  // damaged header cannot promise more samples than there are.
  int64_t frames = 0;
  for (int64_t n; (n = stream->read(nullptr, kConvertChunk)) != 0; frames += n)
    if (n < 0)
      return fail(why, "the sound cannot be decoded"), nullptr;
  if (!stream->restart(why))
    return nullptr;
  if (info) {
    info->channels = int16_t(stream->reader->channels);
    info->sampleRate = stream->reader->decoder->sample_rate;
    info->frames = frames;
    info->bytesPerSample = bytesPerSampleOf(*stream->reader->decoder);
  }
  return stream.release();
}

int64_t readSoundStream(SoundStream* stream, float* out, int64_t frames)
{
  if (stream == nullptr || out == nullptr || frames < 0)
    return -1;
  return stream->read(out, frames);
}

bool seekSoundStream(SoundStream* stream, int64_t frame)
{
  if (stream == nullptr || frame < 0)
    return false;
  if (frame < stream->position && !stream->restart(nullptr))
    return false;
  while (stream->position < frame) {
    const int64_t n =
        stream->read(nullptr, std::min<int64_t>(frame - stream->position, kConvertChunk));
    if (n <= 0)
      return false;
  }
  return true;
}

void closeSoundStream(SoundStream* stream)
{
  delete stream;
}

}  // namespace kvmovie
