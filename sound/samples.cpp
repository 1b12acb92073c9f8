#include "sound/samples.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/checked.h"
#include "foundation/numbers.h"
#include "sound/notenames.h"

namespace {

constexpr double kScale16 = 32767.0;
constexpr double kScale24 = 8388607.0;
constexpr double kScale32Read = 2147483647.0;
constexpr double kScale32Write = 2147483392.0;
// ln(2) / 12: one semitone in natural-log units.
constexpr double kSemitoneLog = 0.05776226504666211;

float clip1(float x)
{
  return std::clamp(x, -1.0f, 1.0f);
}

// Sample k of buf, 0 outside 0..n-1.
double at(const float* buf, int32_t n, int64_t k)
{
  return k >= 0 && k < n ? double(buf[k]) : 0.0;
}

double lerpAt(const float* buf, int32_t n, int64_t k, double f)
{
  const double a = at(buf, n, k);
  return a + (at(buf, n, k + 1) - a) * f;
}

// floor(pos) as an index, held to -2..n + 2: every index outside 0..n-1
// reads as 0, so a far position needs no exact index.
int64_t indexOf(double k, int32_t n)
{
  return int64_t(std::clamp(k, -2.0, double(n) + 2.0));
}

bool usableStep(double step)
{
  return std::isfinite(step) && step > 0;
}

void appendText(const char* text)
{
  StringPtr s = gAppInfos.paramString;
  const size_t room = 255 - size_t(s[0]);
  const size_t n = std::min(std::strlen(text), room);
  std::memcpy(s + 1 + s[0], text, n);
  s[0] = uint8_t(s[0] + n);
}

void appendFixed2(double v)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  appendText(text);
}

double peakOf(const float* buf, int32_t n, double peak)
{
  for (int32_t i = 0; i < n; ++i)
    peak = std::max(peak, std::fabs(double(buf[i])));
  return peak;
}

// The factor that brings `peak` to 0.997, or 1 when it is there already or
// the buffer is silent.
double normalizeFactor(double peak)
{
  if (!(peak > 0) || 2 * peak >= 1.994)
    return 1.0;
  return 1.994 / (2 * peak);
}

}  // namespace

float* Create_TempSoundBuffer(int32_t n)
{
  if (n <= 0)
    return nullptr;
  return static_cast<float*>(std::calloc(size_t(n), sizeof(float)));
}

void* Create_SizedSoundBuffer(int32_t n, int32_t size)
{
  if (n <= 0 || size <= 0)
    return nullptr;
  return std::calloc(size_t(n), size_t(size));
}

void Kill_SoundBuffer(void* p)
{
  std::free(p);
}

void Convert16(const int16_t* src, float* dst, uint32_t n, uint8_t swap)
{
  for (uint32_t i = 0; i < n; ++i) {
    uint16_t v = uint16_t(src[i]);
    if (swap)
      v = uint16_t((v >> 8) | (v << 8));
    dst[i] = float(int16_t(v) * (1.0 / kScale16));
  }
}

void Convert32(const int32_t* src, float* dst, uint32_t n, uint8_t swap)
{
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t v = uint32_t(src[i]);
    if (swap)
      v = __builtin_bswap32(v);
    dst[i] = float(int32_t(v) * (1.0 / kScale32Read));
  }
}

void Convert24(const uint8_t* src, float* dst, uint32_t n, uint8_t swap)
{
  for (uint32_t i = 0; i < n; ++i) {
    const uint8_t* p = src + size_t(i) * 3;
    const uint32_t v = swap ? (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]
                            : (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    const int32_t s = int32_t(v << 8) >> 8;  // sign-extend 24 bits
    dst[i] = float(s * (1.0 / kScale24));
  }
}

void ConvertFLoatTo16(const float* src, int16_t* dst, uint32_t n, uint8_t swap)
{
  for (uint32_t i = 0; i < n; ++i) {
    uint16_t v = uint16_t(int16_t(clip1(src[i]) * kScale16));
    if (swap)
      v = uint16_t((v >> 8) | (v << 8));
    dst[i] = int16_t(v);
  }
}

void ConvertFLoatTo24(const float* src, uint8_t* dst, uint32_t n, uint8_t swap)
{
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t v = uint32_t(int32_t(clip1(src[i]) * kScale24));
    uint8_t* p = dst + size_t(i) * 3;
    const uint8_t low = uint8_t(v), mid = uint8_t(v >> 8), high = uint8_t(v >> 16);
    p[0] = swap ? high : low;
    p[1] = mid;
    p[2] = swap ? low : high;
  }
}

void ConvertFLoatTo32(const float* src, int32_t* dst, uint32_t n, uint8_t swap)
{
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t v = uint32_t(int32_t(double(clip1(src[i])) * kScale32Write));
    if (swap)
      v = __builtin_bswap32(v);
    dst[i] = int32_t(v);
  }
}

int32_t Stereo_Interleave(const float* left, const float* right, float* dst, int32_t frames)
{
  for (int32_t i = 0; i < frames; ++i) {
    dst[2 * i] = left[i];
    dst[2 * i + 1] = right[i];
  }
  return frames > 0 ? 2 * frames : 0;
}

void Stereo_DeInterleave(const float* src, float* left, float* right, int32_t count)
{
  for (int32_t i = 0; 2 * i < count; ++i) {
    left[i] = src[2 * i];
    if (right)
      right[i] = 2 * i + 1 < count ? src[2 * i + 1] : 0.0f;
  }
}

void Mono_DeInterleave(float* buf, int32_t count)
{
  for (int32_t i = 0; 2 * i < count; ++i) {
    const float r = 2 * i + 1 < count ? buf[2 * i + 1] : 0.0f;
    buf[i] = (buf[2 * i] + r) * 0.5f;
  }
}

double GetRealSample(const float* buf, int32_t n, double pos)
{
  if (!(pos >= 0) || !std::isfinite(pos))
    return 0;
  const double k = std::floor(pos);
  return lerpAt(buf, n, indexOf(k, n), pos - k);
}

double GetmodRealSample(const float* buf, int32_t n, double pos)
{
  if (!(pos >= 0) || !std::isfinite(pos) || n <= 0)
    return 0;
  const double k = std::floor(pos);
  const int64_t i = int64_t(std::fmod(k, double(n)));
  const double a = buf[i];
  return a + (double(buf[(i + 1) % n]) - a) * (pos - k);
}

int32_t GetncRealSample(const float* buf, int32_t n, double pos)
{
  if (!std::isfinite(pos))
    return 0;
  const double k = std::floor(pos);
  const double f = pos - k;
  const int64_t i = indexOf(k, n);
  const double sum = lerpAt(buf, n, i, f) + 2 * lerpAt(buf, n, i + 1, f) + lerpAt(buf, n, i + 2, f);
  return kvnum::sat_i32(sum / 4);
}

int32_t ResampleMono(const float* src, int32_t srcCount, float* dst, int32_t dstCapacity,
                     double step)
{
  if (!usableStep(step))
    return 0;
  int32_t k = 0;
  for (double pos = 0; pos < 2048 && k < dstCapacity; pos = k * step)
    dst[k++] = float(GetncRealSample(src, srcCount, pos));
  return k;
}

int32_t ResampleStereoIT(const float* left, const float* right, int32_t srcCount, float* dst,
                         int32_t dstCapacity, double step)
{
  if (!usableStep(step))
    return 0;
  int32_t k = 0;
  for (double pos = 0; pos < 2048 && k < dstCapacity; pos = k * step) {
    dst[2 * k] = float(GetncRealSample(left, srcCount, pos));
    dst[2 * k + 1] = float(GetncRealSample(right, srcCount, pos));
    ++k;
  }
  return k;
}

int32_t Transpose_ESound(const float* src, float* dst, int32_t start, int32_t end, int32_t n,
                         int32_t dstCapacity, double step)
{
  if (!usableStep(step) || start < 0)
    return 0;
  int32_t k = 0;
  for (double pos = start; pos < end && start + k < dstCapacity; pos = start + k * step) {
    dst[start + k] = float(GetncRealSample(src, n, pos));
    ++k;
  }
  return k;
}

void FadeIn_ESound(float* buf, double n)
{
  for (int32_t i = 0; i < n; ++i)
    buf[i] = float(buf[i] * (i / n));
}

void FadeOut_ESound(float* buf, double n)
{
  for (int32_t i = 0; i < n; ++i)
    buf[i] = float(buf[i] * (1 - i / n));
}

void InterleavedFadeOut_ESound(float* buf, uint32_t frames, int32_t n)
{
  const int32_t m = n & ~1;
  if (m <= 0 || uint32_t(m) >= frames)
    return;
  float* tail = buf + 2 * size_t(frames - uint32_t(m));
  for (int32_t k = 1; k <= m; ++k) {
    const float w = float(m - k) / float(m);
    tail[2 * (k - 1)] *= w;
    tail[2 * (k - 1) + 1] *= w;
  }
}

void Smooth_ESound(const float* src, float* dst, int32_t first, int32_t last, uint32_t n)
{
  if (n < 2)
    return;
  const int32_t top = int32_t(std::min<int64_t>(last, int64_t(n) - 1));
  for (int32_t i = std::max(first, 1); i < top; ++i)
    dst[i] = (src[i - 1] + 2 * src[i] + src[i + 1]) / 4;
  if (first < 2)
    dst[0] = (3 * src[0] + src[1]) / 4;
  if (top == int32_t(n) - 1)
    dst[n - 1] = (3 * src[n - 1] + src[n - 2]) / 4;
}

void Reverse_ESound(const float* src, float* dst, uint32_t from, int32_t to)
{
  for (int64_t k = 0; int64_t(from) + k < to; ++k)
    dst[from + k] = src[to - 1 - k];
}

void InvertPhase_ESound(float* buf, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    buf[i] = -buf[i];
}

void Derivate_ESound(float* buf, int32_t n)
{
  for (int32_t i = 0; i + 1 < n; ++i)
    buf[i] = buf[i + 1] - buf[i];
}

void Integrate_ESound(float* buf, int32_t n)
{
  if (std::any_of(buf, buf + std::max(n, 0), [](float v) { return v > 16000.0f; }))
    std::for_each(buf, buf + n, [](float& v) { v *= 0.5f; });
  double s = 0, lo = 32768.0, hi = -32768.0;
  for (int32_t i = 0; i < n; ++i) {
    s += buf[i];
    buf[i] = float(s);
    lo = std::min(lo, s);
    hi = std::max(hi, s);
  }
  const double range = hi - lo;
  for (int32_t i = 0; i < n; ++i)
    buf[i] = range > 0 ? float((buf[i] - lo) * 65000.0 / range - 32500.0) : 0.0f;
}

void Normalize_ESound(float* buf, int32_t n)
{
  const double factor = normalizeFactor(peakOf(buf, n, 0));
  for (int32_t i = 0; i < n; ++i)
    buf[i] = float(buf[i] * factor);
}

void Stereo_Normalize(float* left, float* right, int32_t n)
{
  const double factor = normalizeFactor(peakOf(right, n, peakOf(left, n, 0)));
  for (int32_t i = 0; i < n; ++i) {
    left[i] = float(left[i] * factor);
    right[i] = float(right[i] * factor);
  }
}

void Mix50_ESound(const float* a, float* b, uint32_t from, uint32_t to)
{
  double hi = 0, lo = 1;
  for (uint32_t i = from; i < to; ++i) {
    const double sum = std::trunc(double(a[i]) + b[i]);
    hi = std::max(hi, sum);
    lo = std::min(lo, sum);
  }
  if (lo >= 0 && hi < 1) {
    for (uint32_t i = from; i < to; ++i)
      b[i] += a[i];
    return;
  }
  const double peak = std::max(hi, -lo);
  for (uint32_t i = from; i < to; ++i)
    b[i] = float((std::trunc(double(b[i])) + a[i]) * 0.997 / peak);
}

void cfadeinSound(const float* a, float* b, int32_t n, double len)
{
  for (int32_t i = 0; i < n; ++i) {
    const double x = i / len;
    if (x < 1)
      b[i] = float(a[i] + (b[i] - a[i]) * x);
  }
}

void cfadeoutSound(const float* a, float* b, int32_t n, double len)
{
  for (int32_t i = 0; i < n; ++i) {
    const double x = i / len;
    b[i] = x >= 1 ? a[i] : float(b[i] + (a[i] - b[i]) * x);
  }
}

void AutoCrossFade(float* buf, uint32_t total, int32_t n)
{
  n = std::min<int64_t>(n, total / 2);
  for (int32_t i = 0; i < n; ++i) {
    float& tail = buf[total - uint32_t(n) + uint32_t(i)];
    const float v = float(tail + (buf[i] - tail) * (double(i) / n));
    buf[i] = v;
    tail = v;
  }
}

int32_t BuildFadedSound(const float* src, int32_t n, uint32_t maxOut, float* dst, double ratio)
{
  if (!(ratio > 0) || !std::isfinite(ratio) || maxOut < 1 || n <= 0)
    return 0;
  const int32_t m = int32_t(std::min<int64_t>(int64_t(maxOut) - 1, kvnum::sat_i32(n / ratio)));
  if (ratio == 1.0)
    std::copy_n(src, std::min(m, n), dst);
  else
    for (int32_t k = 0; k < m; ++k)
      dst[k] = float(GetRealSample(src, n, k * ratio));
  for (int32_t k = 0; k < std::min(m, 50); ++k)
    dst[k] = float(dst[k] * (k / 50.0));
  for (int32_t k = 0; k < std::min(m, 200); ++k)
    dst[m - 1 - k] = float(dst[m - 1 - k] * (k / 200.0));
  dst[std::max(m, 0)] = 0.0f;
  return m;
}

int32_t BuildCrossFadedSound(const float* src, int32_t n, int32_t maxOut, float* dst, double ratio)
{
  if (!(ratio > 0) || !std::isfinite(ratio) || maxOut < 1 || n <= 0)
    return 0;
  const int32_t c = std::min(n, maxOut);
  int32_t m = c;
  if (ratio == 1.0) {
    std::copy_n(src, c, dst);
  } else {
    m = std::min(maxOut - 1, kvnum::sat_i32(c / ratio));
    for (int32_t k = 0; k < m; ++k)
      dst[k] = float(GetRealSample(src, c, k * ratio));
  }
  const int32_t h = m / 2;
  for (int32_t k = 0; k < h; ++k) {
    const float a = dst[k], b = dst[m - h + k];
    const float v = float(b + (a - b) * (double(k) / h));
    dst[k] = v;
    dst[m - h + k] = v;
  }
  return m;
}

void ConcatTimeMS(int32_t ms)
{
  int32_t packed = 0;
  const int16_t frame = FramesToSMPTE(ms / 10, 100, &packed);
  AddSMPTEToString(packed, frame, gAppInfos.paramString);
  appendText("  ");
}

void ConcatFreqHz(double hz, uint8_t withNote)
{
  appendText("Freq ");
  appendFixed2(hz);
  appendText(" Hz ");
  if (!withNote || !(hz > 0))
    return;
  const int32_t k = kvnum::sat_i32(std::log(hz / 55) / kSemitoneLog + 0.5);
  const int32_t note = kvnum::sat_i32(k + 24.5) + 9;
  ConcatNoteName(gAppInfos.paramString, uint16_t(note), int16_t(note / 12 - 2));
}

void ConcatNote(double note, uint8_t withFreq)
{
  const int32_t n = kvnum::sat_i32(note);
  ConcatNoteName(gAppInfos.paramString, uint16_t(n), int16_t(n / 12 - 2));
  if (!withFreq)
    return;
  appendText(" ");
  appendFixed2(220 * std::exp((note - 57) * kSemitoneLog));
  appendText(" Hz");
}
