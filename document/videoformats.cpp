#include "document/videoformats.h"

#include <algorithm>

#include "foundation/checked.h"

KVspatialSettings gSCSpatialSettings = {fourcc("rle "), 0, 24, 512};

namespace {

struct VideoFormat
{
  int16_t frameWidth, frameHeight, displayWidth, displayHeight;
  double rate;  // 0: the format sets no rate
};

constexpr VideoFormat kFormats[kVideoFormatCount] = {
    {0, 0, 0, 0, 0},
    {240, 180, 240, 180, 0},
    {320, 240, 320, 240, 0},
    {384, 288, 384, 288, 0},
    {256, 256, 256, 256, 0},
    {512, 512, 512, 512, 0},
    {640, 480, 640, 480, 29.97},
    {720, 480, 640, 480, 29.97},
    {768, 576, 768, 576, 25},
    {720, 576, 768, 576, 25},
    {720, 480, 864, 486, 29.97},
    {720, 576, 1024, 576, 25},
    {1024, 576, 1024, 576, 25},
    {960, 540, 960, 540, 24},
    {1280, 720, 1280, 720, 24},
    {1920, 1080, 1920, 1080, 29.97},
    {1920, 1080, 1920, 1080, 25},
    {2560, 1920, 2560, 1920, 0},
    {3840, 2160, 3840, 2160, 0},
};

// n = trunc(v), and n + 1 when v - n > 0.5: exactly one half rounds down.
int32_t roundHalfDown(double v)
{
  int32_t n = 0;
  if (!kvnum::trunc_i32(v, n))
    return 0;
  return v - n > 0.5 ? n + 1 : n;
}

double rateOf(int32_t rate100)
{
  return rate100 > 0 ? rate100 / 100.0 : 1.0;
}

}  // namespace

void KV_defaultSpatialSettings(KVspatialSettings* settings)
{
  *settings = KVspatialSettings{fourcc("rle "), 0, 24, 512};
}

int16_t FindSTDVideoFormatIndex(int16_t frameWidth, int16_t frameHeight, int16_t displayWidth,
                                int16_t displayHeight, double rate)
{
  auto display = [&](int w, int h) { return displayWidth == w && displayHeight == h; };
  if (display(240, 180))
    return 1;
  if (display(320, 240))
    return 2;
  if (display(384, 288))
    return 3;
  if (display(256, 256))
    return 4;
  if (display(512, 512))
    return 5;
  if (display(640, 480))
    return frameWidth == 640 && frameHeight == 480 ? 6 : 7;
  if (display(768, 576))
    return frameWidth == 768 && frameHeight == 576 ? 8 : 9;
  if (display(864, 486) && frameWidth == 720)
    return 10;
  if (display(1024, 576))
    return frameWidth == 720 ? 11 : (frameWidth == 1024 ? 12 : 0);
  if (display(960, 540))
    return 13;
  if (display(1280, 720))
    return 14;
  if (display(1920, 1080))
    return rate == 25.0 ? 16 : 15;
  if (display(2560, 1920))
    return 17;
  if (displayWidth == 3840)
    return 18;
  return 0;
}

int16_t GetSTDVideoFormatInfos(int16_t index, int16_t* frameWidth, int16_t* frameHeight,
                               int16_t* displayWidth, int16_t* displayHeight, double* rate)
{
  if (index <= 0 || index >= kVideoFormatCount)
    return 0;
  const VideoFormat& f = kFormats[index];
  *frameWidth = f.frameWidth;
  *frameHeight = f.frameHeight;
  if (displayWidth != nullptr)
    *displayWidth = f.displayWidth;
  if (displayHeight != nullptr)
    *displayHeight = f.displayHeight;
  if (rate != nullptr && f.rate > 0)
    *rate = f.rate;
  return 1;
}

uint64_t KV_packSMPTE(const KVsmpte& t)
{
  return uint64_t(uint16_t(t.minutes)) | uint64_t(uint16_t(t.seconds)) << 16 |
         uint64_t(uint32_t(t.frames)) << 32;
}

KVsmpte KV_unpackSMPTE(uint64_t packed)
{
  return KVsmpte{int16_t(packed & 0xFFFF), int16_t((packed >> 16) & 0xFFFF),
                 int32_t(uint32_t(packed >> 32))};
}

int32_t mstoframe(int32_t ms, int32_t rate100)
{
  return roundHalfDown(rateOf(rate100) * ms / 1000.0);
}

uint64_t msToSMPTE(int32_t ms, int32_t rate100)
{
  const double r = rateOf(rate100);
  const int32_t s = ms / 1000;
  KVsmpte t{int16_t(s / 60), int16_t(s % 60), 0};
  int32_t whole = 0;
  kvnum::trunc_i32((t.minutes * 60 + t.seconds) * r, whole);
  t.frames = roundHalfDown(ms / 1000.0 * r) - whole;
  if (t.frames >= r) {
    t.seconds = int16_t(t.seconds + 1);
    t.frames = 0;
  }
  return KV_packSMPTE(t);
}

uint64_t fToSMPTE(int32_t frame, int32_t rate100)
{
  int32_t ms = 0;
  kvnum::trunc_i32((frame + 0.5) * 1000 / rateOf(rate100), ms);
  return msToSMPTE(ms, rate100);
}

void maxSMPTE(KVsmpte* time, int32_t rate100, int32_t maximumMs)
{
  const double ms =
      (time->minutes * 60 + time->seconds) * 1000.0 + time->frames * 1000.0 / rateOf(rate100);
  int32_t clamped = 0;
  kvnum::trunc_i32(std::min(ms, double(maximumMs)), clamped);
  *time = KV_unpackSMPTE(msToSMPTE(clamped, rate100));
}
