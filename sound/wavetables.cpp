#include "sound/wavetables.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/checked.h"
#include "foundation/curves.h"
#include "foundation/modifierkeys.h"
#include "foundation/vectors.h"

namespace {

// Entries the shifted copy crossfades at its start.
constexpr int32_t kShiftCrossfade = 64;
// The curve BalanceWtable multiplies by: one sine period.
constexpr int32_t kBalanceCurveShape = 13;

// The table an index-remapping operation reads: src itself, or a copy of it
// when the destination is the source.
const double* readableSource(const double* src, const double* dst, size_t n,
                             std::vector<double>& copy)
{
  if (src != dst)
    return src;
  copy.assign(src, src + n);
  return copy.data();
}

int64_t clampIndex(int64_t j, int64_t n)
{
  return std::clamp<int64_t>(j, 0, n - 1);
}

double sign(double x)
{
  return x > 0.0 ? 1.0 : (x < 0.0 ? -1.0 : 0.0);
}

double shaped(double x, int16_t mode)
{
  switch (mode) {
    case 0:
      return 0.0;
    case 8:
      return sign(x) * x * x;
    case 9:
      return 1.0 - (1.0 - x) * (1.0 - x);
    case 10: {
      const double d = 1.0 - std::fabs(x);
      return sign(x) * (1.0 - d * d);
    }
    default:
      return x;
  }
}

}  // namespace

void ScaleXtable(const double* src, double* dst, double scale, int32_t n)
{
  if (n <= 0)
    return;
  std::vector<double> copy;
  const double* from = readableSource(src, dst, size_t(n), copy);
  const int32_t half = n / 2;
  for (int32_t k = 0; k < n; ++k) {
    const int32_t j = kvnum::sat_i32(double(k - half) * scale + half);
    dst[k] = from[clampIndex(j, n)];
  }
}

void NormScaleXtable(const double* src, double* dst, double scale, uint32_t n, double centre,
                     uint8_t zeroFlag)
{
  if (n == 0)
    return;
  std::vector<double> copy;
  const double* from = readableSource(src, dst, n, copy);
  for (uint32_t k = 0; k < n; ++k) {
    const int64_t j = kvnum::sat_i32((double(k) - centre) * scale + centre);
    if (j >= 0 && j < int64_t(n))
      dst[k] = from[j];
    else
      dst[k] = zeroFlag ? 0.0 : from[clampIndex(j, n)];
  }
}

void ScaleXYwtable(const double* src, double* dst, double xscale, double yscale, int32_t n)
{
  if (n <= 0)
    return;
  if (xscale == 1.0)
    std::copy_n(src, n, dst);
  else
    ScaleXtable(src, dst, xscale, n);
  for (int32_t k = 0; k < n; ++k)
    dst[k] = std::clamp(dst[k] * yscale, -1.0, 1.0);
}

void NormScaleYtable(const double* src, double* dst, double scale, uint32_t n, double offset)
{
  for (uint32_t k = 0; k < n; ++k)
    dst[k] = offset == 0.0 ? src[k] * scale : (src[k] - offset) * scale + offset;
}

void scaletable(double* table, int32_t n, int16_t mode)
{
  if (n <= 0)
    return;
  if (mode == 12) {
    dvector_Normalize(table, n, 1.0);
    return;
  }
  for (int32_t k = 0; k < n; ++k)
    table[k] = shaped(table[k], mode);
}

void BalanceWtable(double* table, int32_t n)
{
  if (n <= 0)
    return;
  std::vector<double> turned(size_t(n), 0.0);
  const int64_t start = int64_t(n / 2) + 2 * int64_t(n - n / 2);
  for (int32_t i = 0; i < n; ++i)
    turned[size_t(i)] = gshift ? table[i] : table[(start + 2 * int64_t(i)) % n];
  dvector_Curve(table, n, kBalanceCurveShape, 0.0);
  for (int32_t i = 0; i < n; ++i)
    table[i] *= turned[size_t(i)];
}

void vectortable(const double* src, double* dst, double a, double b, int32_t lower, int32_t n)
{
  const double floorValue = lower >= 2 ? 1.0 : double(lower);
  for (int32_t k = 0; k < n; ++k) {
    const double v = (double(k) / n - 0.5) * (2 * a - 1) + src[k] - (b - 0.5);
    dst[k] = v >= lower ? std::min(v, 1.0) : floorValue;
  }
}

void shifttable(const double* src, double* dst, double step, int32_t n)
{
  if (n <= 0)
    return;
  std::vector<double> copy;
  const double* from = readableSource(src, dst, size_t(n), copy);
  const auto shiftedIndex = [&](int64_t k) {
    const int64_t t = kvnum::sat_i32(double(k) * step);
    return clampIndex((t + int64_t(kShiftCrossfade) * n) % n, n);
  };
  for (int32_t k = 0; k < n; ++k)
    dst[k] = from[shiftedIndex(k)];
  // The continuation past the end fades into the start; a table shorter
  // than the crossfade fades only its own entries.
  for (int32_t m = 0; m < std::min(kShiftCrossfade, n); ++m) {
    const double continuation = from[shiftedIndex(int64_t(n) + m)];
    dst[m] = continuation + double(m) / kShiftCrossfade * (dst[m] - continuation);
  }
}
