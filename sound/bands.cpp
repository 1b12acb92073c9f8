#include "sound/bands.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sound/treesound.h"

namespace {

// Band b's scale: 6.5 x 2^b, so that a full-scale sine reads about the same
// in every band whatever its window length.
constexpr double kBandBaseScale = 6.5;

double sampleAt(const float* samples, int32_t i, int channels)
{
  if (channels == 2)
    return (double(samples[2 * i]) + double(samples[2 * i + 1])) * 0.5;
  return samples[i];
}

// The cosine and sine sums of n samples at table step `step`.
void binSums(const float* samples, int32_t n, int32_t step, int channels, double& cosSum,
             double& sinSum)
{
  cosSum = 0.0;
  sinSum = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    const int64_t index = (int64_t(i) * step) % kFFTtableSize;
    const double x = sampleAt(samples, i, channels);
    cosSum += x * gfcostable[index];
    sinSum += x * gfsintable[index];
  }
}

bool tablesBuilt()
{
  return gfsintable && gfcostable;
}

}  // namespace

void kvBuild_fftsintable(double* block)
{
  if (!block)
    return;
  gfsintable = block;
  gfcostable = block + kFFTtableSize;
  for (int32_t i = 0; i < kFFTtableSize; ++i) {
    const double a = i * 2 * std::numbers::pi / kFFTtableSize;
    gfsintable[i] = std::sin(a);
    gfcostable[i] = std::cos(a);
  }
}

void doSoundRecord_OctavesBands(double out[16], const float* samples, int16_t channels)
{
  std::fill_n(out, 2 * kOctaveBandCount, 0.0);
  if (!samples || !tablesBuilt())
    return;
  for (int32_t band = 0; band < kOctaveBandCount; ++band) {
    const int32_t octave = 1 << band;
    double cosSum = 0.0, sinSum = 0.0;
    binSums(samples, kOctaveBandFrames / octave, 4 * octave, channels, cosSum, sinSum);
    const double scale = kBandBaseScale * octave;
    out[2 * band] = cosSum * scale;
    out[2 * band + 1] = sinSum * scale;
  }
}

void unibanddft(double out[2], int32_t n, const float* samples, uint16_t channels)
{
  out[0] = out[1] = 0.0;
  if (n <= 0 || !samples || !tablesBuilt())
    return;
  binSums(samples, n, kFFTtableSize / n, channels, out[0], out[1]);
}

void ConvertTo4Analysis(const double in[16], double out[4], double scale)
{
  for (int k = 0; k < 4; ++k) {
    const double* pair = in + 4 * k;
    const double lower = pair[0] * pair[0] + pair[1] * pair[1];
    const double upper = pair[2] * pair[2] + pair[3] * pair[3];
    out[k] = std::sqrt(lower + upper * 0.5) * scale;
  }
}
