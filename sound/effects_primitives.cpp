#include "sound/effects_primitives.h"

#include <cmath>

#include "sound/rtaudio.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void setCoefficients(filtersecondorder* f, double gain, double a1, double a2, double b0, double b1,
                     double b2)
{
  f->gain = gain;
  f->a1 = a1;
  f->a2 = a2;
  f->b0 = b0;
  f->b1 = b1;
  f->b2 = b2;
}

void stepChannel(const filtersecondorder& f, double& x, double& y1, double& y2, double& x1,
                 double& x2)
{
  double y = f.b0 * x + f.b1 * x1 + f.b2 * x2 + f.a1 * y1 + f.a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  x = f.gain * y;
}

// (1 - r)^2 (1 - 2 r cos 2 theta + r^2): the squared response the hp and lp
// designs normalise by.
double poleResponse(double r, double theta)
{
  return (1 - r) * (1 - r) * (1 - 2 * r * std::cos(2 * theta) + r * r);
}

// Integer part of a position for ring arithmetic; a position that is not a
// usable number reads slot 0.
int64_t positionFloor(double p, double& frac)
{
  double fl = std::floor(p);
  if (!(std::fabs(fl) < 4.0e15)) {
    frac = 0;
    return 0;
  }
  frac = p - fl;
  return int64_t(fl);
}

double convolveRing(const double* ring, const double* kernel, int32_t K, int64_t n)
{
  double sum = 0;
  int32_t slot = ringslot(n + 1, K);
  for (int32_t j = 0; j < K; ++j) {
    sum += ring[slot] * kernel[j];
    if (++slot == K)
      slot = 0;
  }
  return sum;
}

void scaleTaps(double* taps, int32_t L, double factor)
{
  for (int32_t j = 0; j < L; ++j)
    taps[j] *= factor;
}

}  // namespace

// --- Filter step and designers -------------------------------------------

void clearresonnantfilter(filtersecondorder* f)
{
  f->ly1 = f->ly2 = f->lx1 = f->lx2 = 0;
  f->ry1 = f->ry2 = f->rx1 = f->rx2 = 0;
}

void copyfiltercoefficients(filtersecondorder* to, const filtersecondorder& from)
{
  setCoefficients(to, from.gain, from.a1, from.a2, from.b0, from.b1, from.b2);
}

void applySOfilter(filtersecondorder* f, double* left, double* right)
{
  stepChannel(*f, *left, f->ly1, f->ly2, f->lx1, f->lx2);
  if (right)
    stepChannel(*f, *right, f->ry1, f->ry2, f->rx1, f->rx2);
}

double filtertheta(double f)
{
  return (f - kFXlowestFrequency) / (gSAMPLERATE * 0.5) * kPi;
}

namespace {

double resonatorRadius(double q)
{
  return 0.9999 - 0.2499 * q;
}

double resonatorGain(double r)
{
  return ((1 - r * r) * 0.5 - 1) * 0.75 + 1;
}

void setResonator(filtersecondorder* f, double angle, double q, double gainFactor)
{
  // A resonance below 0 would put the poles on or outside the unit circle:
  // the radius is held to 0.9999 at most (and -0.9999 at least).
  double r = std::fmax(-0.9999, std::fmin(resonatorRadius(q), 0.9999));
  setCoefficients(f, resonatorGain(r) * gainFactor, 2 * r * std::cos(angle), -r * r, 1, 0, -r);
}

void setPassThrough(filtersecondorder* f, double g)
{
  setCoefficients(f, g, 0, 0, 1, 0, 0);
}

}  // namespace

void Setupresonnantfilter(filtersecondorder* f, double freq, double q)
{
  setResonator(f, filtertheta(freq), q, 1.0);
}

void SetupGSOfilter(filtersecondorder* f, int32_t type, double g, double freq, double q)
{
  // Below 21.5332 Hz the design sits at the lowest frequency, whose angle
  // is kept as the constant 135.29708585655948 / rate (2 pi x 21.5332).
  double w = freq >= 21.5332 ? 2 * kPi * freq / gSAMPLERATE : 135.29708585655948 / gSAMPLERATE;
  if (type == 0) {
    setResonator(f, w, q, g);
    return;
  }
  double octaves = std::fmax(6 * q, 1.0 / 12.0);
  double A = std::pow(2.0, octaves);
  double Q = std::sqrt(A) / (A - 1);
  double alpha = std::sin(w) / (2 * Q);
  double c = std::cos(w);
  double b0, b1, b2, a0, a1, a2, gain;
  switch (type) {
    case 1:  // notch
      b0 = 1, b1 = -2 * c, b2 = 1;
      a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
      gain = 0.75 * g;
      break;
    case 2:
    case 6:  // peak of amplitude 8
      b0 = 1 + 8 * alpha, b1 = -2 * c, b2 = 1 - 8 * alpha;
      a0 = 1 + alpha / 8, a1 = -2 * c, a2 = 1 - alpha / 8;
      gain = 0.072 * g;
      break;
    case 3:  // high-pass
      b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2;
      a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
      gain = (2 * w / kPi + 1) * g;
      break;
    case 4:  // low-pass
      b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2;
      a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
      gain = g;
      break;
    case 5:  // band-pass, peak gain alpha
      b0 = alpha, b1 = 0, b2 = -alpha;
      a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
      gain = ((1 - q * q) * 0.8 + 0.8) * g;
      break;
    default:
      setPassThrough(f, g);
      return;
  }
  double sb0 = b0 / a0, sb1 = b1 / a0, sb2 = b2 / a0, sa1 = -a1 / a0, sa2 = -a2 / a0;
  if (!std::isfinite(sb0 + sb1 + sb2 + sa1 + sa2 + gain)) {
    setPassThrough(f, g);
    return;
  }
  setCoefficients(f, gain, sa1, sa2, sb0, sb1, sb2);
}

void Setuphpfilter(filtersecondorder* f, double freq, double q)
{
  double theta = filtertheta(freq);
  double r = 0.5 - 0.49 * q;
  setCoefficients(f, 2 * std::sqrt(poleResponse(r, theta)), -2 * r * std::cos(theta), r * r, 1, -1,
                  0);
}

void Setuplpfilter(filtersecondorder* f, double freq, double q)
{
  double theta = filtertheta(freq);
  double r = 0.8 - 0.3 * q * (kPi / 2 - theta) / (kPi / 2);
  setCoefficients(f, 1.5 * std::sqrt(poleResponse(r, theta)), -2 * r * std::cos(theta), r * r, 1,
                  1 - q, 0);
}

// --- Soft clips ----------------------------------------------------------

double compressorA(double x)
{
  double y = 2 * x / 3;
  if (y >= 0)
    return y > 1 ? 1 : 1 - (y - 1) * (y - 1);
  return y < -1 ? -1 : (-y - 1) * (-y - 1) - 1;
}

double compressorB(double x)
{
  double a = std::fabs(x);
  if (a <= 0.5)
    return x;
  double v = a > 1.5 ? 1.0 : (a - 0.5) * ((a + 0.5) / 2 - a) + a;
  return x < 0 ? -v : v;
}

// --- Rings -----------------------------------------------------------------

int32_t ringslot(int64_t i, int32_t L)
{
  int64_t m = i % L;
  return int32_t(m < 0 ? m + L : m);
}

double ringread(const double* buffer, int32_t L, double position)
{
  double frac;
  int64_t i = positionFloor(position, frac);
  double a = buffer[ringslot(i, L)];
  double b = buffer[ringslot(i + 1, L)];
  return a + (b - a) * frac;
}

double ROT_DELAY(int64_t n, double* buffer, int32_t L, double x)
{
  double r = buffer[ringslot(n + 1, L)];
  buffer[ringslot(n, L)] = x;
  return r;
}

double ROT_VARDELAY(int64_t n, double* buffer, int32_t L, double x, double d)
{
  buffer[ringslot(n, L)] = x;
  return ringread(buffer, L, 2.0 * L + d);
}

double ROT_VARFEEDBACK(int64_t n, double* buffer, int32_t L, double x, double d, double gin,
                       double gfb)
{
  double r = ringread(buffer, L, 2.0 * L + d);
  double y = gin * x + gfb * r;
  buffer[ringslot(n, L)] = y;
  return y;
}

double ROT_VARFEEDBACK_Smooth(int64_t n, double* buffer, int32_t L, double x, double d, double gin,
                              double gfb, double s)
{
  double p = 2.0 * L + d;
  double r = ringread(buffer, L, p);
  if (s > 0) {
    double frac;
    int64_t i = positionFloor(p, frac);
    double mean =
        (buffer[ringslot(i, L)] + buffer[ringslot(i + 1, L)] + buffer[ringslot(i + 2, L)]) *
        0.3333333;
    r += (mean - r) * s;
  }
  double y = compressorB(gin * x + gfb * r);
  buffer[ringslot(n, L)] = y;
  return y;
}

double ROT_VARCOMB(int64_t n, double* buffer, int32_t L, double x, double d, double dry, double wet)
{
  double r = ringread(buffer, L, double(L + n) - d);
  buffer[ringslot(n, L)] = x;
  return dry * x + wet * r;
}

double ROT_FEEDBACK(int64_t n, double* buffer, int32_t L, double x, double gin, double gfb)
{
  double r = buffer[ringslot(n + 1, L)];
  buffer[ringslot(n, L)] = gin * x + gfb * r;
  return r;
}

double ROT_FEEDBACK2(int64_t n, double* buffer, int32_t L, double x, double gin, double gfb)
{
  double r = buffer[ringslot(n + 1, L)];
  double previous = buffer[L];
  buffer[ringslot(n, L)] = gin * x + gfb * (previous + r);
  buffer[L] = r;
  return r;
}

double ALLPASSREVFILTER(int64_t n, double* buffer, int32_t L, double x, double g, double k)
{
  double* outputs = buffer;
  double* inputs = buffer + L;
  int32_t read = ringslot(n + 1, L), write = ringslot(n, L);
  double xo = inputs[read];
  double yo = outputs[read];
  inputs[write] = x;
  double y = (xo + g * yo) * k - g * x;
  outputs[write] = y;
  return y;
}

double ROT_COMB(int64_t n, double* buffer, int32_t L, double x, double g, double k)
{
  double* outputs = buffer;
  double* inputs = buffer + L;
  double& state = buffer[2 * L];
  int32_t read = ringslot(n + 1, L), write = ringslot(n, L);
  double xo = inputs[read];
  inputs[write] = x;
  double yo = outputs[read];
  double y = xo + g * ((1 - k) * yo + k * state);
  state = yo;
  outputs[write] = y;
  return y;
}

double ROT_COMBFEEDBACK(int64_t n, double* buffer, int32_t L, double x, double d, double g,
                        double k)
{
  double p = double(L + n) - d;
  double a = ringread(buffer, L, p);
  double b = ringread(buffer, L, p - 1);
  double c = (b + (a - b) * k - 0.8 * x) * g;
  buffer[ringslot(n, L)] = x + c;
  return a;
}

double ROT_COMBFEEDBACKB(int64_t n, double* buffer, int32_t L, double x, double d, double g,
                         double k)
{
  double p = double(L + n) - d;
  double a = ringread(buffer, L, p);
  if (k < 1) {
    double b = ringread(buffer, L, p - 1);
    a = b + (a - b) * k;
  }
  double y = (a - 0.8 * x) * g + x;
  buffer[ringslot(n, L)] = y;
  return y;
}

double ROT_AVERAGE(int64_t n, double* buffer, int32_t L, double x, double m)
{
  double o = buffer[ringslot(n + 1, L)];
  buffer[ringslot(n, L)] = x;
  return (x - o) / L + m;
}

double rotfilter_line(int64_t n, double* buffer, int32_t L, double x)
{
  buffer[ringslot(n, L)] = x;
  return convolveRing(buffer, buffer + L, L, n);
}

double ROT_ECHO(int64_t n, double* buffer, int32_t L, int32_t offset, int32_t K, double x,
                double gin, double gfb)
{
  double* kring = buffer + offset;
  kring[ringslot(n, K)] = buffer[ringslot(n + 1, L)];
  double y = convolveRing(kring, kring + K, K, n);
  buffer[ringslot(n, L)] = gin * x + gfb * y;
  return y;
}

double ROT_FLTFEEDBACK(int64_t n, double* buffer, int32_t L, int32_t K, double x, double gin,
                       double gfb)
{
  return ROT_ECHO(n, buffer, L, L, K, x, gin, gfb);
}

// --- Kernels -----------------------------------------------------------------

void rotfilter_setup(double* buffer, int32_t L, double s, double total)
{
  if (L < 1)
    return;
  double* taps = buffer + L;
  double sum = 0;
  for (int32_t j = 0; j < L; ++j) {
    double k = double(j - L / 2);
    taps[j] = std::exp(-k * k * s);
    sum += taps[j];
  }
  if (sum > 0 && std::isfinite(sum))
    scaleTaps(taps, L, total / sum);
}

void rotfilter_sine(double* buffer, int32_t L, double cycles, double total)
{
  if (L < 1)
    return;
  double* taps = buffer + L;
  double sum = 0;
  for (int32_t j = 0; j < L; ++j) {
    double t = L > 1 ? double(j) / (L - 1) : 0.0;
    taps[j] =
        std::sin(t * kPi * (2 * cycles + 2)) * (0.5 * std::cos((t - 0.5) * 6.2831853072) + 0.5);
    sum += taps[j];
  }
  scaleTaps(taps, L, sum > 1 ? total / sum : total);
}
