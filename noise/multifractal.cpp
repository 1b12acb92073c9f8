#include "noise/multifractal.h"

#include <numbers>

#include "noise/noise_pvt.h"

namespace {

constexpr double kHalfPi = std::numbers::pi / 2.0;
// Lacunarity of the scalar parameterised drivers, and 1 - 1/2.1.
constexpr double kLacunarity = 2.1;
constexpr double kFade = 0.5238095238095238;
constexpr double kMinAmplitude = 1e-7;

using kvnoise::bandFade;

// Turns (x, y) about (p, 0) by the record's angle, when it has one.
inline void rotateAboutPhase(const fractalsinfos* fi, double& x, double& y, double p)
{
  if (fi->rotSin == 0.0)
    return;
  double xs = x - p;
  x = xs * fi->rotCos - y * fi->rotSin + p;
  y = xs * fi->rotSin + y * fi->rotCos;
}

inline double nextPhase(const fractalsinfos* fi, double p)
{
  return p * fi->phaseFactor + kHalfPi;
}

// ---- Record drivers ----

inline void blendToward(double& value, double target, double t)
{
  value = value + (target - value) * t;
}
inline void blendToward(dvector2d& r, const dvector2d& target, double t)
{
  blendToward(r.x, target.x, t);
  blendToward(r.y, target.y, t);
}
inline void blendToward(dvector4d& r, const dvector4d& target, double t)
{
  blendToward(r.x, target.x, t);
  blendToward(r.y, target.y, t);
  blendToward(r.z, target.z, t);
  blendToward(r.w, target.w, t);
}

// The point of the MFPV2d family: the octave samples ((x + p) f, y f, z f)
// (z + p with `shiftZ`), and after each octave (x, y) turns about (p, 0) when
// `rotate`, then the phase advances.
struct PhasedWalk
{
  const fractalsinfos* fi;
  double x, y, z, p;
  bool rotate, shiftZ;

  dvector3d point(double f) const { return {(x + p) * f, y * f, (shiftZ ? z + p : z) * f}; }
  void advance(bool)
  {
    if (rotate)
      rotateAboutPhase(fi, x, y, p);
    p = nextPhase(fi, p);
  }
};

// The point of the swap-and-turn drivers, moved by a mode map and the flag
// the body returned.
struct SwapTurnWalk
{
  const fractalsinfos* fi;
  double X, Y, Z;
  uint16_t mode;

  dvector3d point(double) const { return {X, Y, Z}; }
  void advance(bool r)
  {
    const double L = fi->lacunarity, c = fi->rotCos, s = fi->rotSin;
    double x0 = X, y0 = Y;
    switch (mode) {
      case 0:
        X = r ? L * y0 : 3.5 - L * y0;
        Y = r ? 33.0 - L * x0 : L * x0;
        break;
      case 1:
        if (r) {
          X = 0.2 * x0 - L * y0;
          Y = 0.2 * y0 + L * x0 + Z;
        } else {
          X = Z + L * y0 + 0.2 * x0;
          Y = 0.2 * y0 - L * x0;
        }
        break;
      case 2:
        if (r)
          Z = -Z;
        X = r ? L * (c * x0 - s * y0) : L * (c * x0 + s * y0);
        Y = r ? L * (c * y0 + s * x0) : L * (c * y0 - s * x0);
        Z = L * Z;
        break;
      default:
        break;
    }
  }
};

// The point of MFPuscalar_procptr: turned by the record's angle and divided
// by g after each octave.
struct ScaledTurnWalk
{
  const fractalsinfos* fi;
  double X, Y, Z, g;

  dvector3d point(double) const { return {X, Y, Z}; }
  void advance(bool)
  {
    double x0 = X, y0 = Y;
    X = (x0 * fi->rotCos + y0 * fi->rotSin) / g;
    Y = (y0 * fi->rotCos - x0 * fi->rotSin) / g;
    Z = Z / g;
  }
};

struct LadderSettings
{
  double w, f0, fmax, gain, lacunarity, fade;
};

// The octave loop shared by every record driver: full octaves up to the band
// limit, then the blend of the last octave or of the far value.
template <class Record, class Walk>
void runRecordDriver(fractalsinfos* fi,
                     bool (*body)(fractalsinfos*, double, double, double, double, double*, double,
                                  short, Record*),
                     Walk& walk, const LadderSettings& s, Record* out)
{
  double state = 0.0;
  if (fi->octaves < 1) {
    fi->secondOutput = state;
    return;
  }
  double weight = 1.0, f = s.f0;
  short k = 0;
  while (f <= s.fmax) {
    dvector3d q = walk.point(f);
    bool r = body(fi, q.x, q.y, q.z, s.w, &state, weight, k, out);
    weight *= s.gain;
    f *= s.lacunarity;
    walk.advance(r);
    k = short(k + 1);
    if (k >= fi->octaves) {
      fi->secondOutput = state;
      return;
    }
  }

  // Past the band limit; t is 0 at fmax, 1 at fmax * L.
  double t = (f - s.fmax) / (f * s.fade);
  if (k >= 1) {
    if (t < 1.0) {
      Record saved = *out;
      double savedState = state;
      dvector3d q = walk.point(f);
      body(fi, q.x, q.y, q.z, s.w, &state, weight, k, out);
      blendToward(*out, saved, t);
      blendToward(state, savedState, t);
    }
  } else {
    Record far{};
    double farState = 0.0;
    body(fi, 0.0, 0.0, 0.0, s.w, &farState, weight, -1, &far);
    if (t < 1.0) {
      dvector3d q = walk.point(f);
      body(fi, q.x, q.y, q.z, s.w, &state, weight, 0, out);
      blendToward(*out, far, t);
      blendToward(state, farState, t);
    } else {
      *out = far;
      state = farState;
    }
  }
  fi->secondOutput = state;
}

}  // namespace

// ---- Scalar parameterised drivers ----

double Multifractal2Dparam_procptr(fractalsinfos* fi, FractalOctaveProc2D body, double x, double y,
                                   double phase, double w, double f0, double fmax, double amp,
                                   double gain)
{
  fi->accumulator = 0.0;
  if (f0 > fmax * kLacunarity || fi->octaves < 1 || amp < kMinAmplitude) {
    fi->secondOutput = 0.0;
    return 0.0;
  }
  double f = f0, a = amp, p = phase, s = 0.0, sum = 0.0;
  short k = 0;
  for (;;) {
    double s0 = s;
    double v = body(fi, (x - p) * f, y * f, w, &s, k);
    if (f > fmax) {
      double t = bandFade(f, fmax, kFade);
      s = s0 + (s - s0) * t;
      fi->secondOutput = s;
      return sum + t * a * v;
    }
    sum += a * v;
    fi->accumulator += s;
    rotateAboutPhase(fi, x, y, p);
    k = short(k + 1);
    p = nextPhase(fi, p);
    a *= gain;
    f *= kLacunarity;
    if (k >= fi->octaves || a < kMinAmplitude) {
      fi->secondOutput = s;
      return sum;
    }
  }
}

double Multifractal3Dparam_procptr(fractalsinfos* fi, FractalOctaveProc3D body, double x, double y,
                                   double z, double phase, double w, double f0, double fmax,
                                   double amp, double gain)
{
  if (f0 > fmax * kLacunarity)
    return 0.0;
  fi->secondOutput = 1.0;
  if (fi->octaves < 1 || amp < kMinAmplitude)
    return 0.0;
  double f = f0, a = amp, p = phase, sum = 0.0;
  short k = 0;
  for (;;) {
    double v = body(fi, (x - p) * f, y * f, z * f, w, &fi->secondOutput, k);
    if (f > fmax)
      return sum + bandFade(f, fmax, kFade) * a * v;
    sum += a * v;
    rotateAboutPhase(fi, x, y, p);
    k = short(k + 1);
    if (k >= fi->octaves)
      return sum;
    p = nextPhase(fi, p);
    a *= gain;
    f *= kLacunarity;
    if (a < kMinAmplitude)
      return sum;
  }
}

void Multifractal2DparamVec_procptr(fractalsinfos* fi, FractalOctaveProcVector body, double x,
                                    double y, double phase, double w, double f0, double fmax,
                                    double amp, double gain, dvector2d* out)
{
  if (!(fmax * kLacunarity > f0) || fi->octaves < 1) {
    *out = dvector2d{};
    return;
  }
  constexpr double kVectorMinAmplitude = 1e-8;
  double f = f0, a = amp, p = phase, s1 = 0.0, s2 = 0.0;
  short k = 0;
  for (;;) {
    body(fi, (x - p) * f, y * f, w, &fi->secondOutput, k, out);
    if (f > fmax) {
      double t = bandFade(f, fmax, kFade);
      *out = dvector2d{s1 + t * a * out->x, s2 + t * a * out->y};
      return;
    }
    s1 += a * out->x;
    s2 += a * out->y;
    rotateAboutPhase(fi, x, y, p);
    a *= gain;
    p = nextPhase(fi, p);
    f *= kLacunarity;
    k = short(k + 1);
    if (a < kVectorMinAmplitude || k >= fi->octaves) {
      *out = dvector2d{s1, s2};
      return;
    }
  }
}

double RGBMultifractal2Dparam_procptr(fractalsinfos* fi, FractalOctaveProcRGB body, double x,
                                      double y, double phase, double w, double f0, double fmax,
                                      double amp, double gain, double* rgb)
{
  if (amp < kMinAmplitude)
    return 0.0;
  constexpr short kMaxOctaves = 7;
  double f = f0, a = amp, p = phase, state = 0.0;
  for (short k = 0; k < kMaxOctaves; k++) {
    double fade = f <= fmax ? 1.0 : bandFade(f, fmax, kFade);
    body(fi->tables, (x - p) * f, y * f, fade, w, &state, k, rgb);
    rotateAboutPhase(fi, x, y, p);
    p = nextPhase(fi, p);
    a = a * fade * gain;
    f *= kLacunarity;
    if (a < kMinAmplitude)
      break;
  }
  return 0.0;
}

double RGBMultifractal3Dparam_procptr(fractalsinfos* fi, FractalOctaveProcRGB3D body, double x,
                                      double y, double z, double phase, double w, double f0,
                                      double fmax, double amp, double gain, double* out)
{
  if (fi->octaves < 1 || amp < kMinAmplitude)
    return 0.0;
  // Fixed turn of 30 degrees, applied in the x-y plane, then in the y-z plane.
  constexpr double kCos = 0.866025, kSin = 0.5;
  double f = f0, a = amp, p = phase, sum = 0.0, state = 1.0;
  short k = 0;
  for (;;) {
    double xs = x - p;
    double v = body(fi->tables, xs * f, y * f, z * f, w, &state, k, out);
    if (f > fmax)
      return sum + bandFade(f, fmax, kFade) * a * v;
    sum += a * v;
    f *= kLacunarity;
    x = kCos * xs - kSin * y;
    double y1 = kCos * y + kSin * xs;
    y = kCos * y1 + kSin * z;
    z = kCos * z - kSin * y1;
    p = nextPhase(fi, p);
    a *= gain;
    k = short(k + 1);
    if (k >= fi->octaves || a < kMinAmplitude)
      return sum;
  }
}

// ---- Record drivers ----

void MFPV2d_procptr(fractalsinfos* fi, FractalOctaveProcRecord2 body, double x, double y, double z,
                    double phase, double w, double f0, double fmax, double gain, dvector2d* out)
{
  PhasedWalk walk{fi, x, y, z, phase, true, false};
  runRecordDriver(fi, body, walk, {w, f0, fmax, gain, fi->lacunarity, fi->fade}, out);
}

void MFPV2dnr_procptr(fractalsinfos* fi, FractalOctaveProcRecord2 body, double x, double y,
                      double z, double phase, double w, double f0, double fmax, double gain,
                      dvector2d* out)
{
  PhasedWalk walk{fi, x, y, z, phase, false, true};
  runRecordDriver(fi, body, walk, {w, f0, fmax, gain, fi->lacunarity, fi->fade}, out);
}

void MFPV4d_procptr(fractalsinfos* fi, FractalOctaveProcRecord4 body, double x, double y, double z,
                    double phase, double w, double f0, double fmax, double gain, dvector4d* out)
{
  PhasedWalk walk{fi, x, y, z, phase, true, false};
  runRecordDriver(fi, body, walk, {w, f0, fmax, gain, fi->lacunarity, fi->fade}, out);
}

void MFPsw_procptr(fractalsinfos* fi, FractalOctaveProcRecord4 body, double x, double y, double z,
                   uint16_t mode, double w, double f0, double fmax, double gain, dvector4d* out)
{
  SwapTurnWalk walk{fi, x * f0, y * f0, mode == 2 ? z * f0 : z, mode};
  runRecordDriver(fi, body, walk, {w, f0, fmax, gain, fi->lacunarity, fi->fade}, out);
}

void MFPswscalarA2_procptr(fractalsinfos* fi, FractalOctaveProcRecord1 body, double x, double y,
                           double z, double w, double f0, double fmax, double gain, double* out)
{
  SwapTurnWalk walk{fi, x * f0, y * f0, z * f0, 2};
  runRecordDriver(fi, body, walk, {w, f0, fmax, gain, fi->lacunarity, fi->fade}, out);
}

void MFPuscalar_procptr(fractalsinfos* fi, FractalOctaveProcRecord1 body, double x, double y,
                        double z, double w, double f0, double fmax, double g, double* out)
{
  ScaledTurnWalk walk{fi, x * f0, y * f0, z * f0, g};
  runRecordDriver(fi, body, walk, {w, f0, fmax, g, 1.0 / g, 1.0 - g}, out);
}
