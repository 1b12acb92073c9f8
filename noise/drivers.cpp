// Octave drivers: band-limited sums of a basis noise over octaves of rising
// frequency.
#include "noise/drivers.h"

#include <cmath>

#include "noise/noise_pvt.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;

// The lacunarity 2 pi / 3 and its fade divisor 1 - 1/L, fixed in most drivers.
constexpr double kLacunarity = 2.0943951024;
constexpr double kFade = 0.5225351707258652;
// The scalar multifractals step by 2.1.
constexpr double kMultiLacunarity = 2.1;
constexpr double kMultiFade = 0.5238095238095238;

constexpr double kNegligibleAmplitude = 1e-7;

using kvnoise::bandFade;
using kvnoise::zeroOutputs;

// Frequency, amplitude, phase and count of the octave about to be summed.
struct Octave
{
  double f, a, p;
  int k;
};

// The band of the scalar drivers: lacunarity L, fade divisor c = 1 - 1/L,
// and whether the phase also steps when the phase factor is 0.
struct ScalarBand
{
  double L, c;
  bool phaseAlwaysSteps;
};

// The octave loop of the scalar drivers: sums amplitude times `sample(o)`
// until the amplitude is negligible, the octave count is reached, or the
// frequency passes fmax (that last octave is faded).
template <class Sample>
double sumScalarOctaves(const fractalsinfos* fi, const ScalarBand& band, double f0, double fmax,
                        double amp, double phase, double gain, Sample sample)
{
  if (f0 > fmax * band.L || fi->octaves < 1)
    return 0.0;
  double sum = 0.0;
  for (Octave o{f0, amp, phase, 0};;) {
    if (std::fabs(o.a) < kNegligibleAmplitude)
      return sum;
    double v = sample(o);
    if (o.f > fmax)
      return sum + o.a * bandFade(o.f, fmax, band.c) * v;
    sum += o.a * v;
    if (band.phaseAlwaysSteps || fi->phaseFactor != 0.0)
      o.p = o.p * fi->phaseFactor + kHalfPi;
    o.a *= gain;
    o.f *= band.L;
    if (++o.k >= fi->octaves)
      return sum;
  }
}

// True when the vector drivers have nothing to sum: the start frequency lies
// a whole octave past the band limit, or no octave is allowed.
inline bool nothingToSum(const fractalsinfos* fi, double f0, double fmax)
{
  return f0 >= fmax * kLacunarity || fi->octaves < 1;
}

// The octave loop of the vector drivers: `add(o, a)` adds one octave at
// amplitude a, faded when the octave lies past the band limit (which makes
// it the last); `next(o)` moves o on to the next octave and returns false to
// stop early. The loop also stops at the octave count.
template <class Add, class Next>
void sumVectorOctaves(const fractalsinfos* fi, Octave o, double fmax, Add add, Next next)
{
  for (;;) {
    bool last = o.f > fmax;
    add(o, last ? o.a * bandFade(o.f, fmax, kFade) : o.a);
    if (last || !next(o) || ++o.k >= fi->octaves)
      return;
  }
}

// The usual step to the next octave: the phase times the phase factor plus
// `turn`, the amplitude times the gain, the frequency times the lacunarity.
inline bool stepOctave(const fractalsinfos* fi, Octave& o, double turn, double gain)
{
  o.p = o.p * fi->phaseFactor + turn;
  o.a *= gain;
  o.f *= kLacunarity;
  return true;
}

// The record's rotation applied to (u, v).
inline void rotate(const fractalsinfos* fi, double& u, double& v)
{
  double u1 = u * fi->rotCos - v * fi->rotSin;
  double v1 = v * fi->rotCos + u * fi->rotSin;
  u = u1;
  v = v1;
}

}  // namespace

void Kovrelin_DefaultFractGlobals(fractalsinfos* fi)
{
  fi->phaseFactor = 1.33;
  fi->rotSin = 0.5;
  fi->rotCos = 0.866025;
  fi->paramA = 0.0;
  fi->paramB = 0.0;
  fi->paramC = 0.0;
  fi->accumulator = 0.0;
  fi->secondOutput = 0.0;
  fi->lacunarity = kLacunarity;
  fi->fade = kFade;
}

double fractal1D_procptr(fractalsinfos* fi, NoiseBasisProc1D basis, double x, double f0,
                         double fmax, double amp, double phase, double gain)
{
  return sumScalarOctaves(fi, {kLacunarity, kFade, true}, f0, fmax, amp, phase, gain,
                          [&](const Octave& o) { return basis(fi->tables, (x + o.p) * o.f); });
}

double fractal2D_procptr(fractalsinfos* fi, NoiseBasisProc2D basis, double x, double y, double f0,
                         double fmax, double amp, double phase, double gain)
{
  return sumScalarOctaves(
      fi, {fi->lacunarity, fi->fade, false}, f0, fmax, amp, phase, gain,
      [&](const Octave& o) { return basis(fi->tables, (x + o.p) * o.f, y * o.f); });
}

double fractal3D_procptr(fractalsinfos* fi, NoiseBasisProc3D basis, double x, double y, double z,
                         double f0, double fmax, double amp, double phase, double gain)
{
  return sumScalarOctaves(
      fi, {fi->lacunarity, fi->fade, false}, f0, fmax, amp, phase, gain,
      [&](const Octave& o) { return basis(fi->tables, (x + o.p) * o.f, y * o.f, z * o.f); });
}

void fractal2DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x, double y,
                             double f0, double fmax, double amp, double phase, double gain,
                             double* out1, double* out2)
{
  zeroOutputs(out1, out2);
  if (nothingToSum(fi, f0, fmax))
    return;
  double s1 = 0.0, s2 = 0.0;
  sumVectorOctaves(
      fi, {f0, amp, phase, 0}, fmax,
      [&](const Octave& o, double a) {
        double v1, v2;
        basis(fi->tables, (x + o.p) * o.f, y * o.f, &v1, &v2, a);
        s1 += v1;
        s2 += v2;
      },
      [&](Octave& o) { return stepOctave(fi, o, kHalfPi, gain); });
  *out1 = s1;
  *out2 = s2;
}

void fractal3DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector3D basis, double x, double y,
                             double z, double f0, double fmax, double amp, double phase,
                             double gain, double* out1, double* out2, double* out3OrNull)
{
  zeroOutputs(out1, out2, out3OrNull);
  if (nothingToSum(fi, f0, fmax))
    return;
  double s1 = 0.0, s2 = 0.0, s3 = 0.0;
  sumVectorOctaves(
      fi, {f0, amp, phase, 0}, fmax,
      [&](const Octave& o, double a) {
        double v1, v2, v3 = 0.0;
        basis(fi->tables, (x + o.p) * o.f, y * o.f, z * o.f, &v1, &v2, out3OrNull ? &v3 : nullptr,
              a);
        s1 += v1;
        s2 += v2;
        s3 += v3;
      },
      [&](Octave& o) { return stepOctave(fi, o, kHalfPi, gain); });
  *out1 = s1;
  *out2 = s2;
  if (out3OrNull)
    *out3OrNull = s3;
}

void turbulence3DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector3D basis, double x, double y,
                                double z, double f0, double fmax, double amp, double phase,
                                double gain, double warp, double out[3])
{
  out[0] = out[1] = out[2] = 0.0;
  if (nothingToSum(fi, f0, fmax))
    return;
  double s[3] = {0.0, 0.0, 0.0};
  sumVectorOctaves(
      fi, {f0, amp, phase, 0}, fmax,
      [&](const Octave& o, double a) {
        double v[3];
        basis(fi->tables, x * o.f + warp * s[0], (y - o.p) * o.f + warp * s[1],
              z * o.f + warp * s[2], &v[0], &v[1], &v[2], a);
        for (int i = 0; i < 3; i++)
          s[i] += v[i];
      },
      [&](Octave& o) { return stepOctave(fi, o, kPi, gain); });
  for (int i = 0; i < 3; i++)
    out[i] = s[i];
}

namespace {

// The octave of the 2D turbulences: the sample is warped by the sums so far
// and moved against the phase along y.
void addWarpedOctave(const fractalsinfos* fi, NoiseBasisProcVector2D basis, double x, double y,
                     double warp, const Octave& o, double a, double& s1, double& s2)
{
  double v1, v2;
  basis(fi->tables, x * o.f + warp * s1, (y - o.p) * o.f + warp * s2, &v1, &v2, a);
  s1 += v1;
  s2 += v2;
}

}  // namespace

void turbulence2DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x, double y,
                                double f0, double fmax, double amp, double phase, double gain,
                                double warp, double out[3])
{
  out[0] = out[1] = out[2] = 0.0;
  if (nothingToSum(fi, f0, fmax))
    return;
  double s1 = 0.0, s2 = 0.0;
  sumVectorOctaves(
      fi, {f0, amp, phase, 0}, fmax,
      [&](const Octave& o, double a) { addWarpedOctave(fi, basis, x, y, warp, o, a, s1, s2); },
      [&](Octave& o) {
        stepOctave(fi, o, kPi, gain);
        // Turn the point about (0, p) with the new phase.
        double v = y - o.p;
        rotate(fi, x, v);
        y = v + o.p;
        return true;
      });
  out[0] = s1;
  out[1] = s2;
}

void turbulence2DVectorNr_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x,
                                  double y, double f0, double fmax, double amp, double phase,
                                  double gain, double warp, double out[3])
{
  out[0] = out[1] = out[2] = 0.0;
  if (fi->octaves < 1)
    return;
  double s1 = 0.0, s2 = 0.0;
  // No start-frequency rejection: with f0 far above fmax the one octave
  // summed gets a negative fade, which shapes stored looks.
  sumVectorOctaves(
      fi, {f0, amp, phase, 0}, fmax,
      [&](const Octave& o, double a) { addWarpedOctave(fi, basis, x, y, warp, o, a, s1, s2); },
      [&](Octave& o) {
        // A fixed phase factor and an amplitude that alternates in sign.
        o.p = o.p * 1.2 + kPi;
        o.a = -o.a * gain;
        o.f *= kLacunarity;
        return o.a != 0.0;
      });
  out[0] = s1;
  out[1] = s2;
}

namespace {

// The shared loop of the two scalar multifractals. Each octave's value v is
// pulled towards W v by `mix`, W being the previous octave's weighted value
// times `weightScale`.
struct ScalarMultifractal
{
  double x, y, f0, fmax, amp, gain, mix, weightScale;
  double phase;
  bool usesPhase;
};

double runScalarMultifractal(fractalsinfos* fi, NoiseBasisProc2D basis, const ScalarMultifractal& m)
{
  if (m.f0 > m.fmax * kMultiLacunarity || fi->octaves < 1 || m.amp < kNegligibleAmplitude)
    return 0.0;
  double sum = 0.0, weight = 1.0;
  for (Octave o{m.f0, m.amp, m.phase, 0};;) {
    if (o.a < kNegligibleAmplitude)
      return sum;
    double v = basis(fi->tables, (m.x - o.p) * o.f, m.y * o.f);
    double weighted = v + m.mix * (weight * v - v);
    if (o.f > m.fmax)
      return sum + o.a * bandFade(o.f, m.fmax, kMultiFade) * weighted;
    sum += o.a * weighted;
    weight = weighted * m.weightScale;
    if (m.usesPhase)
      o.p = o.p * fi->phaseFactor + kHalfPi;
    o.a *= m.gain;
    o.f *= kMultiLacunarity;
    if (++o.k >= fi->octaves)
      return sum;
  }
}

// Amplitude adaptation of the vector multifractals: a smooth octave (short
// output vector, m below the threshold) damps the next one by `mix`.
inline double adaptAmplitude(double a, double m, bool below, double mix, double gain)
{
  if (below)
    return a * ((kvnoise::smooth(m) - 1.0) * mix + 1.0) * gain;
  return a * gain;
}

}  // namespace

double Multifractal2D_procptr(fractalsinfos* fi, NoiseBasisProc2D basis, double x, double y,
                              double f0, double fmax, double amp, double gain, double mix)
{
  // 1/256: the basis values span about +-256.
  return runScalarMultifractal(fi, basis, {x, y, f0, fmax, amp, gain, mix, 0.00390625, 0.0, false});
}

double Multifractal2D_unbal_procptr(fractalsinfos* fi, NoiseBasisProc2D basis, double x, double y,
                                    double phase, double f0, double fmax, double amp,
                                    double weightScale, double gain, double mix)
{
  return runScalarMultifractal(fi, basis,
                               {x, y, f0, fmax, amp, gain, mix, weightScale, phase, true});
}

void Multifractal2DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x,
                                  double y, double f0, double fmax, double amp, double phase,
                                  double gain, double mix, double sensitivity, double* out1,
                                  double* out2)
{
  zeroOutputs(out1, out2);
  if (nothingToSum(fi, f0, fmax) || amp < kNegligibleAmplitude)
    return;
  double s1 = 0.0, s2 = 0.0, v1 = 0.0, v2 = 0.0;
  sumVectorOctaves(
      fi, {f0, amp, phase, 0}, fmax,
      [&](const Octave& o, double a) {
        basis(fi->tables, (x + o.p) * o.f, y * o.f, &v1, &v2, a);
        s1 += v1;
        s2 += v2;
      },
      [&](Octave& o) {
        double m = sensitivity * std::sqrt(v1 * v1 + v2 * v2);
        o.a = adaptAmplitude(o.a, m, m <= 1.0, mix, gain);
        sensitivity /= gain;
        o.p = o.p * fi->phaseFactor + kHalfPi;
        o.f *= kLacunarity;
        return !(o.a < kNegligibleAmplitude);
      });
  *out1 = s1;
  *out2 = s2;
}

void Multifractal3DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector3D basis, double x,
                                  double y, double z, double f0, double fmax, double amp,
                                  double phase, double gain, double mix, double sensitivity,
                                  double out[3])
{
  out[0] = out[1] = out[2] = 0.0;
  if (nothingToSum(fi, f0, fmax) || amp < kNegligibleAmplitude)
    return;
  double s[3] = {0.0, 0.0, 0.0};
  for (Octave o{f0, amp, phase, 0};;) {
    // Past the band limit every octave is faded again and the loop goes on;
    // the second such octave gets a negative amplitude and is the last.
    if (o.f > fmax)
      o.a *= bandFade(o.f, fmax, kFade);
    double v[3];
    basis(fi->tables, (x + o.p) * o.f, y * o.f, z * o.f, &v[0], &v[1], &v[2], o.a);
    for (int i = 0; i < 3; i++)
      s[i] += v[i];
    double m = sensitivity * std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    o.a = adaptAmplitude(o.a, m, m < 1.0, mix, gain);
    sensitivity /= gain;
    // Turn about (p, 0) in the x-y plane, then the other way round in the
    // y-z plane (z is the first coordinate of that turn).
    double u = x - o.p;
    rotate(fi, u, y);
    x = u + o.p;
    rotate(fi, z, y);
    o.p = o.p * fi->phaseFactor + kHalfPi;
    o.f *= kLacunarity;
    if (++o.k >= fi->octaves || o.a < kNegligibleAmplitude)
      break;
  }
  for (int i = 0; i < 3; i++)
    out[i] = s[i];
}
