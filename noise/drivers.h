// Octave drivers: band-limited fractal sums of a basis noise.
//
// Octaves run from the start frequency f0 while the frequency stays at or
// below the band limit fmax (the component derives it from the pixel size);
// the first octave beyond fmax is faded by 1 - (f - fmax) / (f * c), where
// c = 1 - 1/L and L is the driver's lacunarity. The sum also stops after
// fi->octaves full octaves and, for most drivers, when the amplitude becomes
// negligible (1e-7).
//
// Every driver reads the tables through fi->tables and the per-octave
// settings of `fi` (octaves, phaseFactor, rotSin, rotCos, lacunarity, fade);
// none writes `fi`. They keep no state: each evaluating thread passes the
// `fractalsinfos` of its own document copy.
#pragma once

#include "noise/kvtables.h"

// Basis conventions: the tables pointer first, then the coordinates. Vector
// bases write amp-scaled outputs; a third output may be null.
using NoiseBasisProc1D = double (*)(const KVtables*, double x);
using NoiseBasisProc2D = double (*)(const KVtables*, double x, double y);
using NoiseBasisProc3D = double (*)(const KVtables*, double x, double y, double z);
using NoiseBasisProcVector2D = void (*)(const KVtables*, double x, double y, double* out1,
                                        double* out2, double amp);
using NoiseBasisProcVector3D = void (*)(const KVtables*, double x, double y, double z, double* out1,
                                        double* out2, double* out3OrNull, double amp);

// Sets the default per-octave settings of a document's driver record: phase
// factor 1.33, rotation sine 0.5 and cosine 0.866025, the three component
// parameters, the accumulator and the second output 0, lacunarity
// 2.0943951024 and fade 0.5225351707258652. The relief-pass flag, the octave
// count and the pointers are left alone.
void Kovrelin_DefaultFractGlobals(fractalsinfos* fi);

// Plain fractal sums. Octave coordinates ((x + p) f, y f[, z f]); the phase
// p grows by p * phaseFactor + pi/2 after each octave (fractal2D and
// fractal3D keep p when phaseFactor is 0). fractal1D uses the fixed
// lacunarity 2.0943951024; fractal2D and fractal3D read fi->lacunarity and
// fi->fade.
double fractal1D_procptr(fractalsinfos* fi, NoiseBasisProc1D basis, double x, double f0,
                         double fmax, double amp, double phase, double gain);
double fractal2D_procptr(fractalsinfos* fi, NoiseBasisProc2D basis, double x, double y, double f0,
                         double fmax, double amp, double phase, double gain);
double fractal3D_procptr(fractalsinfos* fi, NoiseBasisProc3D basis, double x, double y, double z,
                         double f0, double fmax, double amp, double phase, double gain);
void fractal2DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x, double y,
                             double f0, double fmax, double amp, double phase, double gain,
                             double* out1, double* out2);
void fractal3DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector3D basis, double x, double y,
                             double z, double f0, double fmax, double amp, double phase,
                             double gain, double* out1, double* out2, double* out3OrNull);

// Turbulence: each octave after the first is displaced by warp times the sums
// of the octaves before it. The 2D drivers write out[0] and out[1] and set
// out[2] to 0. turbulence2DVector_procptr turns the point by the record's
// rotation after each octave; turbulence2DVectorNr_procptr does not, alternates
// the sign of the amplitude and has no start-frequency rejection.
void turbulence3DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector3D basis, double x, double y,
                                double z, double f0, double fmax, double amp, double phase,
                                double gain, double warp, double out[3]);
void turbulence2DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x, double y,
                                double f0, double fmax, double amp, double phase, double gain,
                                double warp, double out[3]);
void turbulence2DVectorNr_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x,
                                  double y, double f0, double fmax, double amp, double phase,
                                  double gain, double warp, double out[3]);

// Multifractals: each octave's value is weighted by the previous one
// (scalar drivers, lacunarity 2.1) or the amplitude adapts to the length of
// each octave's output vector (vector drivers).
double Multifractal2D_procptr(fractalsinfos* fi, NoiseBasisProc2D basis, double x, double y,
                              double f0, double fmax, double amp, double gain, double mix);
double Multifractal2D_unbal_procptr(fractalsinfos* fi, NoiseBasisProc2D basis, double x, double y,
                                    double phase, double f0, double fmax, double amp,
                                    double weightScale, double gain, double mix);
void Multifractal2DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector2D basis, double x,
                                  double y, double f0, double fmax, double amp, double phase,
                                  double gain, double mix, double sensitivity, double* out1,
                                  double* out2);
// Past the band limit this driver keeps going with a faded amplitude; from
// the second octave beyond fmax the fade is negative, that octave is summed
// with a negative amplitude and the loop ends after it.
void Multifractal3DVector_procptr(fractalsinfos* fi, NoiseBasisProcVector3D basis, double x,
                                  double y, double z, double f0, double fmax, double amp,
                                  double phase, double gain, double mix, double sensitivity,
                                  double out[3]);
