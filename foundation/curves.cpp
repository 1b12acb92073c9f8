#include "foundation/curves.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "foundation/checked.h"
#include "foundation/vectors.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kRandMax = 2147483647.0;  // the largest value random() returns

constexpr VecRndTable identityTable()
{
  VecRndTable t{};
  for (int32_t i = 0; i < 256; ++i)
    t.entries[i] = i;
  return t;
}

double random01()
{
  return double(random()) / kRandMax;
}

double smoothstep(double u)
{
  return u * u * (3 - 2 * u);
}

// The fractional part in [0, 1).
double frac(double v)
{
  return v - std::floor(v);
}

// A triangle wave in -1..1 starting at 0 and rising (phase 0.25 of the cycle).
double triangle(double cycles)
{
  double u = frac(cycles + 0.25);
  return (u < 0.5) ? 4 * u - 1 : 3 - 4 * u;
}

double bell(double i, double h, double N, double k)
{
  double d = (i - h) / N;
  return std::exp(-k * d * d);
}

// Shapes 28 to 31 and unknown shapes: element 0 becomes 0 and the first half
// is mirrored onto the second.
template <class T>
void mirrorHalves(T* x, int32_t n)
{
  x[0] = 0;
  for (int32_t i = 0; i < n / 2; ++i)
    x[n - 1 - i] = x[i];
}

// The number of the last element of the first half (i = 0 .. trunc(n / 2)),
// held inside the vector.
int32_t firstHalfEnd(int32_t n)
{
  return std::min(n / 2, n - 1);
}

// Shape 24: value noise over the table with a seamless wrap from end to start.
void loopingNoise(double* x, int32_t n, double p)
{
  VecRndTable table;
  FillRandomTable(table.entries, 256);
  const double N = n;
  double rate = (3.5 + 3.5 * random01()) * p / N;
  double fadeStart = 0.75 * n;
  for (int32_t i = 0; i < n; ++i) {
    double v = RandomNoise(table, i * rate);
    if (i >= fadeStart) {
      double w = smoothstep((i - fadeStart) / (n - fadeStart));
      double wrapped = RandomNoise(table, (double(i) - n) * rate);
      v += (wrapped - v) * w;
    }
    x[i] = std::clamp(v * 2.35, -1.0, 1.0);
  }
}

// Shape 25: a noise plus a domain-warped noise, under one sine arch.
void warpedNoise(double* x, int32_t n, double p)
{
  VecRndTable table;
  FillRandomTable(table.entries, 256);
  double arch = (n > 1) ? kTwoPi / (n - 1) : 0.0;
  for (int32_t i = 0; i < n; ++i) {
    double u = i * p * 12 / n;
    double plain = RandomNoise(table, 2 * u + 72.3);
    double warped = RandomNoise(table, u + 4 * RandomNoise(table, u / 4));
    double v = std::clamp((plain + 0.5 * warped) * 2, -1.0, 1.0);
    x[i] = v * std::sin(i * arch);
  }
}

// Shapes 0 to 27: one value per element.
double plainShape(int32_t shape, double i, int32_t n, double p)
{
  const double N = n;
  const double h = N / 2;
  const double x = i * p * kTwoPi / N;  // the phase of frequency p
  switch (shape) {
    case 0:
      return 0;
    case 1:
      return p;
    case 2:
      return i / N;
    case 3:
      return 1 - i / N;
    case 4: {
      double d = (i - h) / N;
      return (p < 0) ? 0.5 + 0.5 * std::exp(d * d * p) : std::exp(-(d * d) * p);
    }
    case 5:
      return random01();
    case 6:
      return 0.5 + 0.5 * std::sin(x - kPi / 2);
    case 7: {
      double u = frac(i * p / N);
      return (u < 0.5) ? 2 * u : 2 - 2 * u;
    }
    case 8:
      return (frac(i * p / N) < 0.5) ? 0 : 1;
    case 9: {
      double b = (p < 0) ? 0.5 : 0.0;
      return bell(i, h, N, 8) * (0.5 + 0.5 * std::sin(x - kPi / 2) - b) + b;
    }
    case 10: {
      double u = 2 * i / N;
      return (u > 1) ? 2 - u : u;
    }
    case 11: {
      double u = 4 * i / N;
      if (u > 2)
        u = 4 - u;
      return (u < 1) ? 1 - (u - 1) * (u - 1) : 1;
    }
    case 12:
      return bell(i, h, N, 8) * (0.5 * std::sin(x - kPi / 2));
    case 13:
      return std::sin(x);
    case 14:
      return triangle(i * p / N);
    case 15:
      return (frac(i * p / N) < 0.5) ? 0.9 : -0.9;
    case 16: {
      double y = x - 0.625, sum = 0;
      for (int k = 1; k <= 7; ++k)
        sum += std::sin(k * y) / std::ldexp(1.0, k - 1);
      return 0.74 * sum;
    }
    case 17:
      return 0.7 * (std::sin(x) + std::sin(2 * x) / 2 + std::sin(4 * x) / 4 + std::sin(8 * x) / 8 +
                    std::sin(16 * x) / 32);
    case 18: {
      double sum = 0;
      for (int k = 0; k <= 6; ++k)
        sum += std::sin((2 * k + 1) * x) / std::ldexp(1.0, k);
      return 0.6 * sum;
    }
    case 19: {
      double y = (i - h) * p * kTwoPi / N;
      double s = std::sin(y / 2);
      return -4 * std::sin(y) * std::exp(-12 * s * s);
    }
    case 20:
      return std::sin(i * p * 2 * kTwoPi / N - kPi / 2) * bell(i, h, N, 8);
    case 22: {
      double v = triangle(i * 2 * p / N);
      double s = (3 - 2 * std::fabs(v)) * v * v;
      return (v < 0) ? -s : s;
    }
    case 23: {
      static constexpr double kWeights[12] = {1,   0.2,  0.25, 0.125, 0.12, 0.11,
                                              0.1, 0.09, 0.08, 0.07,  0.05, 0.02};
      double sum = 0;
      for (int k = 0; k < 12; ++k)
        sum += kWeights[k] * std::sin((k + 1) * x);
      return 0.74 * sum;
    }
    case 26: {
      double along = (n > 1) ? i / (n - 1.0) : 0.0;
      double omega = p * kTwoPi / N * (1 + 9 * along);
      return (1 - along) * std::sin(i * omega);
    }
    case 27: {
      double y = (n > 1) ? i * p * kPi / (n - 1) : 0.0;
      return std::sin(7 * y) * std::sin(y);
    }
    default:
      return 0;
  }
}

// Shapes 28 to 31 over the first half.
double halfShape(int32_t shape, double i, int32_t n)
{
  const double N = n;
  const double h = N / 2;
  switch (shape) {
    case 28:
      return 0.5 + 0.5 * std::cos((i - h) / h * kPi);
    case 29: {
      double v = (h - i) / h;
      return 1 + v * v * (2 * v - 3);
    }
    case 30:
      return i / h;
    default:
      return bell(i, h, N, 32);
  }
}

}  // namespace

const VecRndTable gVecRndTab = identityTable();

void FillRandomTable(int32_t* table, int32_t n)
{
  if (n <= 0)
    return;
  for (int32_t i = 0; i < n; ++i)
    table[i] = i;
  for (int32_t i = 0; i < n; ++i)
    std::swap(table[i], table[(random() & 0xFFFF) % n]);
}

double RandomNoise(const VecRndTable& table, double x)
{
  kvnum::LatticeSplit cell;
  if (!kvnum::lattice_floor(x, cell))
    return 0;
  const int32_t* t = table.entries;
  auto hash = [t](uint32_t k) { return t[((k >> 8) + uint32_t(t[k & 255])) & 255] - 127.5; };
  uint32_t i = uint32_t(cell.cell);
  double f = cell.frac;
  double g0 = hash(i) * f;
  double g1 = (f - 1) * hash(i + 1);
  return (g0 + (3 - 2 * f) * f * f * (g1 - g0)) * 0.014901960784313726;
}

double RandomNoise(double x)
{
  return RandomNoise(gVecRndTab, x);
}

void smoothtable(const double* in, double* out, int32_t w, int32_t n, bool wrap)
{
  if (n <= 0)
    return;
  w = std::min(w, 64);
  auto at = [&](int64_t j) {
    if (wrap)
      return in[((j % n) + n) % n];
    return in[std::clamp<int64_t>(j, 0, n - 1)];
  };

  if (w < 2) {
    for (int32_t i = 0; i < n; ++i) {
      bool end = (i == 0 || i == n - 1);
      out[i] = (end && !wrap) ? in[i] : (2 * in[i] + at(i - 1) + at(i + 1)) / 4;
    }
    return;
  }

  double weight[129];
  double total = 0;
  for (int32_t j = -w; j <= w; ++j) {
    double u = 2.0 * j / w;
    weight[j + w] = std::exp(-(u * u));
    total += weight[j + w];
  }
  for (int32_t j = 0; j <= 2 * w; ++j)
    weight[j] /= total;

  for (int32_t i = 0; i < n; ++i) {
    double sum = 0;
    for (int32_t j = -w; j <= w; ++j)
      sum += weight[j + w] * at(int64_t(i) + j);
    out[i] = sum;
  }
}

void dvector_Curve(double* x, int32_t n, int32_t shape, double p)
{
  if (n <= 0)
    return;
  if (shape == 21) {
    for (int32_t i = 0; i < n; ++i)
      x[i] = random01() * 1.8 - 0.9;
    dvector_Smooth(x, n, 3, true);
  } else if (shape == 24) {
    loopingNoise(x, n, p);
  } else if (shape == 25) {
    warpedNoise(x, n, p);
  } else if (shape >= 0 && shape <= 27) {
    for (int32_t i = 0; i < n; ++i)
      x[i] = plainShape(shape, i, n, p);
  } else {
    if (shape >= 28 && shape <= 31)
      for (int32_t i = 0; i <= firstHalfEnd(n); ++i)
        x[i] = halfShape(shape, i, n);
    mirrorHalves(x, n);
  }
}

namespace {

// The 16-bit shapes that fill every sample; false for the mirrored ones.
bool fullShape16(int16_t* s, int32_t n, int32_t shape, int16_t p)
{
  const double N = n;
  const double h = N / 2;
  auto fill = [&](auto f) {
    for (int32_t i = 0; i < n; ++i)
      s[i] = kvnum::sat_i16(f(double(i)));
    return true;
  };
  switch (shape) {
    case 0:
      return fill([](double) { return 0.0; });
    case 1:
      return fill([p](double) { return double(p); });
    case 2:
      return fill([N](double i) { return i * 32767 / N; });
    case 3:
      return fill([N](double i) { return 32767 - i * 32767 / N; });
    case 4:
      return fill([=](double i) { return 32767 * bell(i, h, N, p); });
    case 5:
      return fill([](double) { return 32767 * random01(); });
    case 6:
      return fill(
          [N](double i) { return 32767 * (0.5 + 0.5 * std::sin(i * 2 * kTwoPi / N - kPi / 2)); });
    case 12:
      return fill([=](double i) {
        return 32767 * bell(i, h, N, 8) * 0.5 * std::sin(i * p * 2 * kTwoPi / N - kPi / 2);
      });
    case 13:
      return fill([N](double i) { return 32767 * std::sin(i * kTwoPi / N); });
    case 14: {
      // Falls from 32767 by the whole part of 2 / n per sample.
      int32_t step = 2 / n;
      return fill([step](double i) { return 32767 - i * step; });
    }
    case 15:
      return fill([h](double i) { return (i < h) ? 29490.0 : -29490.0; });
    case 16:
      return fill([N](double i) {
        double x = i * kTwoPi / N + kPi;
        return 24575.25 * (std::cos(x) + std::cos(2 * x) / 2 + std::cos(4 * x) / 4 +
                           std::cos(8 * x) / 8 + std::cos(16 * x) / 16);
      });
    case 18:
      return fill([N](double i) {
        double x = i * kTwoPi / N;
        return 19660.2 *
               (std::sin(x) + std::sin(2 * x) / 2 + std::sin(2 * std::numbers::sqrt2 * x) / 4 +
                std::sin(4 * x) / 8 + std::sin(4 * 1.189207115002721 * x) / 16 +
                std::sin(4 * std::numbers::sqrt2 * x) / 32);
      });
    case 19:
      return fill([N](double i) {
        double x = i * kTwoPi / N;
        double c = std::cos(x / 2);
        return 98301 * std::sin(x) * std::exp(-12 * c * c);
      });
    default:
      return false;
  }
}

}  // namespace

void sVector_Curve(int16_t* s, int32_t n, int32_t shape, int16_t p)
{
  if (n <= 0)
    return;
  if (fullShape16(s, n, shape, p))
    return;
  if (shape >= 28 && shape <= 30)
    for (int32_t i = 0; i <= firstHalfEnd(n); ++i)
      s[i] = kvnum::sat_i16(32767 * halfShape(shape, i, n));
  mirrorHalves(s, n);
}
