// What the movie reader and the movie writer share over FFmpeg: owning
// pointers for the library's objects, the type-code literal, the failure
// helper and the libraries' silence. Private to platform/movie*.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace kvmovie::ff {

struct InputClose
{
  void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct OutputFree
{
  void operator()(AVFormatContext* f) const
  {
    if (f->pb != nullptr)
      avio_closep(&f->pb);
    avformat_free_context(f);
  }
};
struct CodecFree
{
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree
{
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree
{
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleFree
{
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct ResampleFree
{
  void operator()(SwrContext* s) const { swr_free(&s); }
};
struct FileClose
{
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using InputPtr = std::unique_ptr<AVFormatContext, InputClose>;
using OutputPtr = std::unique_ptr<AVFormatContext, OutputFree>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using ScalePtr = std::unique_ptr<SwsContext, ScaleFree>;

// A four-character type code from its text ("rle " gives 'rle ').
constexpr uint32_t code(const char (&s)[5])
{
  return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 |
         uint32_t(uint8_t(s[2])) << 8 | uint32_t(uint8_t(s[3]));
}

// Stores the reason, when one is asked for; false.
inline bool fail(std::string* why, const std::string& text)
{
  if (why != nullptr)
    *why = text;
  return false;
}

// Damaged input makes the libraries talk; failures come back as results.
inline void quietLibraries()
{
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

}  // namespace kvmovie::ff
