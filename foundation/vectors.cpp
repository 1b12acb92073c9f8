#include "foundation/vectors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "foundation/checked.h"
#include "foundation/colormath.h"
#include "foundation/curves.h"

int32_t* gscratchBuffAddress = nullptr;

namespace {

// A temporary block of n elements, or null when it cannot be had.
template <class T>
std::unique_ptr<T[]> tempBlock(int32_t n)
{
  return std::unique_ptr<T[]>(new (std::nothrow) T[size_t(n)]);
}

// a mod n in 0..n-1 for any sign of a (n > 0).
int32_t wrapIndex(int64_t a, int32_t n)
{
  int64_t r = a % n;
  return int32_t(r < 0 ? r + n : r);
}

// A double truncated toward zero and held to 16 bits.
int16_t to16(double v)
{
  return kvnum::sat_i16(v);
}

// Linear interpolation of x at 0-based position p, held to the vector's ends.
double readAt(const double* x, int32_t n, double p)
{
  if (!(p > 0))
    return x[0];
  if (p >= n - 1)
    return x[n - 1];
  int32_t i = int32_t(p);  // 0 <= p < n - 1
  double f = p - i;
  return x[i] + (x[i + 1] - x[i]) * f;
}

// Index of the maximum among x[0..count-1], the last one on ties.
template <class T>
int32_t lastMaximum(const T* x, int32_t count)
{
  int32_t at = 0;
  for (int32_t j = 1; j < count; ++j)
    if (x[j] >= x[at])
      at = j;
  return at;
}

template <class T>
void selectionSort(T* x, int32_t n)
{
  for (int32_t end = n; end > 1; --end) {
    int32_t at = lastMaximum(x, end);
    std::swap(x[at], x[end - 1]);
  }
}

template <class T>
void rotate(T* x, int32_t n, int32_t s)
{
  if (n <= 0)
    return;
  auto copy = tempBlock<T>(n);
  if (!copy)
    return;
  std::memcpy(copy.get(), x, sizeof(T) * size_t(n));
  for (int32_t i = 0; i < n; ++i)
    x[wrapIndex(int64_t(i) + n + s, n)] = copy[i];
}

}  // namespace

// ---- Allocation and conversion ----

double* dVector_ALLOCATE(uint32_t n)
{
  return n ? static_cast<double*>(std::calloc(n, sizeof(double))) : nullptr;
}

int16_t* sVector_ALLOCATE(uint32_t n)
{
  return n ? static_cast<int16_t*>(std::calloc(n, sizeof(int16_t))) : nullptr;
}

void Vector_Init(int32_t value)
{
  if (gscratchBuffAddress)
    *gscratchBuffAddress = value;
}

void VecColorInterpol(const normalcolor*, const normalcolor*, const normalcolor*, int32_t) {}

void sVector_2_dvector(const int16_t* s, double* d, int32_t n, double lo, double hi)
{
  for (int32_t i = 0; i < n; ++i)
    d[i] = (s[i] - lo) / (hi - lo);
}

void dvector_2_sVector(const double* d, int16_t* s, int32_t n, double lo, double hi)
{
  for (int32_t i = 0; i < n; ++i)
    s[i] = to16(lo + (hi - lo) * d[i]);
}

// ---- Element-wise operations ----

void dvector_Set(double* x, int32_t n, double value)
{
  std::fill_n(x, std::max(n, 0), value);
}
void dvector_Zero(double* x, int32_t n)
{
  dvector_Set(x, n, 0.0);
}

void dvector_Scale(double* x, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] *= k;
}

void dvector_Add(double* x, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] += k;
}

void dvector_MulAdd(double* x, int32_t n, double a, double b)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] = a * x[i] + b;
}

void dvector_Power2(double* x, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] *= x[i];
}

void dvector_Sqrt(double* x, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] = std::sqrt(x[i]);
}

void dvector_fPower(double* x, int32_t n, double p)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] = std::exp(std::log(x[i]) * p);
}

void dvector_Invert(double* x, int32_t n, int32_t k)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] = k - x[i];
}

void dvector_MinMax(double* x, int32_t n, double lo, double hi)
{
  for (int32_t i = 0; i < n; ++i) {
    if (x[i] > hi)
      x[i] = hi;
    else if (x[i] < lo)
      x[i] = lo;
  }
}

void dvector_Abs(double* x, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    x[i] = std::fabs(x[i]);
}

void dvector_Quantize(double* x, int32_t n, double q)
{
  if (q == 0)
    return;
  for (int32_t i = 0; i < n; ++i)
    x[i] = std::trunc(x[i] * q + 0.5) / q;
}

void dvector_Normalize(double* x, int32_t n, double target)
{
  double mx = -1, mn = 1;
  for (int32_t i = 0; i < n; ++i) {
    mx = std::max(mx, x[i]);
    mn = std::min(mn, x[i]);
  }
  double peak = std::max(mx, std::fabs(mn));
  if (!(peak > 0))
    return;  // an all-zero vector has no scale
  dvector_Scale(x, n, target / peak);
}

void dvector_fitToRange(double* x, int32_t n, double lo, double hi)
{
  if (n <= 0)
    return;
  // The search starts from the first element, not from fixed bounds of 1 and
  // -1, so that a table lying wholly above 1 or below -1 still reaches lo
  // and hi.
  double mn = x[0], mx = x[0];
  for (int32_t i = 1; i < n; ++i) {
    mn = std::min(mn, x[i]);
    mx = std::max(mx, x[i]);
  }
  if (mn == mx || (mn == lo && mx <= hi))
    return;
  double k = (hi - lo) / (mx - mn);
  for (int32_t i = 0; i < n; ++i)
    x[i] = (x[i] - mn) * k + lo;
}

void dvector_RampAB(double* x, int32_t n, double a, double b)
{
  if (n == 1) {
    x[0] = a;
    return;
  }
  for (int32_t i = 0; i < n; ++i)
    x[i] = a + (b - a) * i / (n - 1);
}

void dvector_ProcPtr(double* x, int32_t n, dvectorProc1 f, double p)
{
  if (!f)
    return;
  for (int32_t i = 0; i < n; ++i)
    x[i] = f(x[i], p);
}

void dvector2in_ProcPtr(double* x, const double* y, int32_t n, dvectorProc2 f, double p)
{
  if (!f)
    return;
  for (int32_t i = 0; i < n; ++i)
    x[i] = f(x[i], y[i], p);
}

void dvector3in_ProcPtr(double* x, const double* y, const double* z, int32_t n, dvectorProc3 f,
                        double p)
{
  if (!f)
    return;
  for (int32_t i = 0; i < n; ++i)
    x[i] = f(x[i], y[i], z[i], p);
}

void dvector_Blend(const double* a, const double* b, double* out, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i)
    out[i] = a[i] + (b[i] - a[i]) * k;
}

void dvector_BlendFadein(const double* a, const double* b, double* out, int32_t n, double k)
{
  double step = k / n;
  for (int32_t i = 0; i < n; ++i)
    out[i] = a[i] + (b[i] - a[i]) * (i * step);
}

void dvector_Mul(const double* x, const double* m, double* out, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i)
    out[i] = x[i] + (x[i] * m[i] - x[i]) * k;
}

void dvector_vMul(const double* a, const double* m, double* out, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i) {
    if (m[i] < 0)
      out[i] = a[i] * (1 - k);
    else if (m[i] > 1)
      out[i] = a[i];
    else
      out[i] = a[i] * ((m[i] - 1) * k + 1);
  }
}

void dvector_Offset(double* x, int32_t n, int32_t s)
{
  rotate(x, n, s);
}

void dvector_Offset2(const double* in, double* out, int32_t n, int32_t s, double c)
{
  for (int32_t i = 0; i < n; ++i)
    out[wrapIndex(int64_t(i) + n + s, n)] = in[i] - c;
}

void dvector_Reverse(double* x, int32_t n)
{
  if (n > 0)
    std::reverse(x, x + n);
}

void dVector_Sort(double* x, int32_t n)
{
  selectionSort(x, n);
}

void dvector_Envelope(double* out, int32_t n, const double* b, int32_t m)
{
  if (m < 1)
    return;
  for (int32_t i = 0; i < n; ++i) {
    double at = (n > 1) ? double(i) * (m - 1) / (n - 1) : 0.0;
    out[i] = readAt(b, m, at);
  }
}

double Linear_segment(const double* x, int32_t n, double t)
{
  if (n < 1)
    return 0;
  return readAt(x, n, t * (n - 1));
}

double dvector_getvalue(const double* x, int32_t n, double i, double r)
{
  if (!(r > 0))
    return Linear_segment(x, n, 0);
  return Linear_segment(x, n, std::clamp(i, 0.0, r) / r);
}

void dvector_TimeEnvelope(double* x, int32_t n, double attack, double decay, double level)
{
  if (n <= 0)
    return;
  double span = n * 0.5 * attack;
  int32_t peak = 10;
  double rise = 0.1;
  if (!(span < 10)) {
    peak = kvnum::sat_i32(span);
    rise = 1 / span;
  }
  double fallLength = (double(n) - 2 - peak) * decay;
  double fall = (fallLength < 50) ? 0.02 : 1 / fallLength;

  for (int32_t i = 0; i < n && i <= peak; ++i)
    x[i] = std::min(i * rise, level);
  double v = 1;
  for (int64_t i = int64_t(peak) + 1; i < n; ++i) {
    v -= fall;
    x[i] = std::max(std::min(v, level), 0.0);
  }
}

void dvector_AutoCrossFade(double* x, int32_t n, int32_t m)
{
  m = std::min(m, n);
  for (int32_t i = 0; i < m; ++i) {
    double a = std::trunc(x[n - m + i]);
    double b = std::trunc(x[i]);
    double v = std::trunc(a + (b - a) * i / m);
    x[i] = v;
    x[n - m + i] = v;
  }
}

void dvector_phasemod(const double* t, const double* m, double* out, int32_t n, double depth,
                      bool centred)
{
  for (int32_t i = 0; i < n; ++i) {
    double p = i + (centred ? (m[i] - 0.5) * depth : m[i] * depth);
    p = std::fmod(p, double(n));
    if (p < 0)
      p += n;
    kvnum::LatticeSplit cell;
    kvnum::lattice_floor(p, cell);  // NaN reads position 0
    int32_t j = wrapIndex(cell.cell, n);
    int32_t k = wrapIndex(int64_t(j) + 1, n);
    out[i] = t[j] + (t[k] - t[j]) * cell.frac;
  }
}

namespace {

// in[trunc(i * rate) mod n].
double repeatedAt(const double* in, int32_t n, double i, double rate)
{
  return in[wrapIndex(kvnum::sat_i32(i * rate), n)];
}

}  // namespace

void dvector_sdrepeat(const double* in, double* out, int32_t n, double rate, bool smooth)
{
  for (int32_t i = 0; i < n; ++i)
    out[i] = repeatedAt(in, n, i, rate);
  if (!smooth || n < 257)
    return;
  int32_t w = (n <= 512) ? 64 : (n <= 1023) ? 128 : 256;
  for (int32_t i = 0; i < w; ++i) {
    double u = double(i) / w;
    double s = u * u * (3 - 2 * u);
    double after = repeatedAt(in, n, double(n) + i, rate);
    out[i] = after + (out[i] - after) * s;
  }
}

void dvector_repeat(double* x, int32_t n, double rate)
{
  if (n <= 0)
    return;
  auto copy = tempBlock<double>(n);
  if (!copy)
    return;
  std::memcpy(copy.get(), x, sizeof(double) * size_t(n));
  for (int32_t i = 0; i < n; ++i)
    x[i] = repeatedAt(copy.get(), n, i, rate);
}

void dvector_resample(double* in, double* out, int32_t n, int32_t m)
{
  if (n <= 0 || m <= 0)
    return;
  if (n < 2) {
    dvector_Set(out, m, in[0]);
    return;
  }
  auto copy = tempBlock<double>(n);
  if (!copy)
    return;
  std::memcpy(copy.get(), in, sizeof(double) * size_t(n));
  for (int32_t i = 0; i < m; ++i)
    out[i] = readAt(copy.get(), n, double(i) * n / m);
}

void dvector_ifnoise(const double* in, double* out, int32_t n, double ratio, double gain)
{
  if (n <= 0)
    return;
  auto copy = tempBlock<double>(n);
  if (!copy)
    return;
  std::memcpy(copy.get(), in ? in : out, sizeof(double) * size_t(n));
  constexpr int kOctaves = 6;
  double g = (ratio != 0) ? gain / ratio : 0.0;
  double weights[kOctaves], rates[kOctaves], total = 0;
  for (int k = 0; k < kOctaves; ++k) {
    weights[k] = std::pow(g, k);
    rates[k] = std::pow(ratio, k);
    total += weights[k];
  }
  for (int32_t i = 0; i < n; ++i) {
    double sum = 0;
    for (int k = 0; k < kOctaves; ++k)
      sum += weights[k] * repeatedAt(copy.get(), n, i, rates[k]);
    out[i] = sum / total;
  }
}

void dvector_Smooth(double* x, int32_t n, int32_t w, bool wrap)
{
  if (n <= 0)
    return;
  auto temp = tempBlock<double>(n);
  if (!temp)
    return;
  smoothtable(x, temp.get(), w, n, wrap);
  smoothtable(temp.get(), x, w, n, wrap);
}

void dvector_HiPass(double* x, int32_t n, int32_t w, bool wrap)
{
  if (n <= 0)
    return;
  auto temp = tempBlock<double>(n);
  if (!temp)
    return;
  smoothtable(x, temp.get(), w, n, wrap);
  for (int32_t i = 0; i < n; ++i)
    x[i] -= temp[i];
}

// ---- 16-bit samples ----

void sVector_Zero(void* p, uint32_t n)
{
  if (p && n)
    std::memset(p, 0, size_t(n) * 2);
}

void sVector_Set(int16_t* s, int32_t n, int16_t value)
{
  std::fill_n(s, std::max(n, 0), value);
}

void sVector_Add(int16_t* s, int32_t n, int16_t k)
{
  for (int32_t i = 0; i < n; ++i)
    s[i] = int16_t(uint16_t(s[i] + k));
}

void sVector_Scale(int16_t* s, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i)
    s[i] = to16(s[i] * k);
}

void sVector_Power2(int16_t* s, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    s[i] = to16(double(s[i]) * s[i]);
}

void sVector_Sqrt(int16_t* s, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    s[i] = to16(std::sqrt(double(s[i])));
}

void sVector_fPower(int16_t* s, int32_t n, double p)
{
  for (int32_t i = 0; i < n; ++i)
    s[i] = to16(std::exp(std::log(double(s[i])) * p));
}

void sVector_Invert(int16_t* s, int32_t n, int16_t k)
{
  for (int32_t i = 0; i < n; ++i)
    s[i] = int16_t(uint16_t(k - s[i]));
}

void sVector_Sort(int16_t* s, int32_t n)
{
  selectionSort(s, n);
}

void sVector_Normalize(int16_t* s, int32_t n)
{
  int32_t peak = 0;
  for (int32_t i = 0; i < n; ++i)
    peak = std::max(peak, std::abs(int32_t(s[i])));
  if (peak == 0)
    return;
  double k = 32767.0 / peak;
  for (int32_t i = 0; i < n; ++i)
    s[i] = to16(s[i] * k);
}

void sVector_Blend(const int16_t* a, const int16_t* b, int16_t* out, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i)
    out[i] = to16(a[i] + (b[i] - a[i]) * k);
}

void sVector_Mul(const int16_t* x, const int16_t* m, int16_t* out, int32_t n, double k)
{
  for (int32_t i = 0; i < n; ++i) {
    double v = x[i];
    out[i] = to16(v + (v * m[i] - v) * k);
  }
}

void sVector_Reverse(int16_t* s, int32_t n)
{
  if (n > 0)
    std::reverse(s, s + n);
}

void sVector_Offset(int16_t* s, int32_t n, int32_t shift)
{
  rotate(s, n, shift);
}

void sVector_Smooth(int16_t* s, int32_t n, int32_t w, bool wrap)
{
  if (n <= 0)
    return;
  auto in = tempBlock<double>(n);
  auto out = tempBlock<double>(n);
  if (!in || !out)
    return;
  for (int32_t i = 0; i < n; ++i)
    in[i] = s[i];
  smoothtable(in.get(), out.get(), w, n, wrap);
  for (int32_t i = 0; i < n; ++i)
    s[i] = to16(out[i]);
}

void sVector_CurveBlend(const int16_t* a, const int16_t* b, int16_t* out, int32_t n,
                        const double* curve, int32_t m)
{
  if (m < 1)
    return;
  for (int32_t i = 0; i < n; ++i) {
    double k = readAt(curve, m, double(i) * (m - 1) / n);
    out[i] = to16(a[i] + (b[i] - a[i]) * k);
  }
}

void bVector_Zero(uint8_t* b, int32_t n)
{
  if (n > 0)
    std::memset(b, 0, size_t(n));
}

void sVector_draw(const int16_t* s, int32_t n, const Rect& r, const normalcolor& colour,
                  sVectorLineProc lineTo, void* context)
{
  if (n < 2 || !lineTo)
    return;
  int32_t width = r.right - r.left;
  int32_t height = r.bottom - r.top;
  int32_t every = std::max<int32_t>(1, width > 0 ? (n - 1) / width : 1);
  double dx = double(width) / (n - 1);
  SetForNcolor(&colour);
  for (int32_t i = 0; i < n; i += every) {
    int16_t h = kvnum::sat_i16(r.left + i * dx);
    int16_t v = kvnum::sat_i16(r.bottom - double(s[i]) * height / 32768);
    lineTo(context, h, v, i == 0);
  }
  SetBlackColor();
}
