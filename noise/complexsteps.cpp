#include "noise/complexsteps.h"

namespace {

struct Complex
{
  double re, im;
};

inline Complex mul(Complex a, Complex b)
{
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// 1 / z, or 0 when z is 0.
inline Complex inverseOrZero(Complex z)
{
  double norm = z.re * z.re + z.im * z.im;
  if (norm == 0.0)
    return {0.0, 0.0};
  return {z.re / norm, -z.im / norm};
}

}  // namespace

void CFerroMagnetModel(double* re, double* im, double cr, double ci)
{
  double x = *re, y = *im;
  Complex numerator{x * x - y * y + (cr - 1.0), 2.0 * x * y + ci};
  Complex denominator{2.0 * x + cr - 2.0, 2.0 * y + ci};
  Complex q = mul(numerator, inverseOrZero(denominator));
  *re = q.re * q.re - q.im * q.im;
  *im = 2.0 * q.re * q.im;
}

void CStrangeWeb(double* re, double* im, double a, double b)
{
  double x = *re, y = *im;
  Complex square{x * x - y * y, 2.0 * x * y};
  Complex inv = inverseOrZero(square);
  Complex w{inv.re + x, inv.im + y};
  Complex p{a * w.re - b * w.im, a * w.im + b * w.re};
  *re = x * p.re - y * p.im;
  *im = y * p.re + x * p.im;
}

double CompressorMin(double v, double m)
{
  if (v <= m / 2.0)
    return v;
  double r = v / m;
  if (r > 1.5)
    return m;
  return m * (r + (r - 0.5) * ((r + 0.5) * 0.5 - r));
}
