// Parameterised multifractal drivers: octave loops whose basis is a
// per-octave body that receives the driver record itself, the octave index
// and a state double it may carry from one octave to the next.
//
// The drivers own the frequency ladder, the rotation of the point between
// octaves (when fi->rotSin is not 0: x <- (x - p) cos - y sin + p,
// y <- (x - p) sin + y cos, then p <- p * phaseFactor + pi/2), the fade of
// the first octave beyond the band limit fmax and, for the record drivers,
// the far value: what a body gives for octave -1 (called at (0, 0, 0)),
// which stands for everything beyond the band limit.
//
// Drivers write fi->secondOutput (and Multifractal2Dparam_procptr also
// fi->accumulator) on every call; the caller reads them as extra outputs.
// Nothing else of `fi` is written by a driver. They keep no other state:
// each evaluating thread passes the `fractalsinfos` of its own document copy.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "noise/kvtables.h"

// ---- Body forms ----
// `w` is the caller's parameter, handed unchanged to every call; `octave`
// counts from 0.

// Scalar bodies: return this octave's value.
using FractalOctaveProc2D = double (*)(fractalsinfos* fi, double x, double y, double w,
                                       double* state, short octave);
using FractalOctaveProc3D = double (*)(fractalsinfos* fi, double x, double y, double z, double w,
                                       double* state, short octave);
// Vector body: writes this octave's vector into out.
using FractalOctaveProcVector = void (*)(fractalsinfos* fi, double x, double y, double w,
                                         double* state, short octave, dvector2d* out);
// Colour body: accumulates a colour into rgb[0..2]; `fade` is 1 inside the
// band and falls toward 0 beyond it.
using FractalOctaveProcRGB = void (*)(const KVtables* tables, double x, double y, double fade,
                                      double w, double* state, short octave, double* rgb);
// Colour 3D body: returns a value and may write through out.
using FractalOctaveProcRGB3D = double (*)(const KVtables* tables, double x, double y, double z,
                                          double w, double* state, short octave, double* out);
// Record bodies. Octave 0 sets the record and the state; a later octave adds
// its contribution, scaled by `weight`, and updates the state; octave -1,
// called at (0, 0, 0), writes the far value into the record (and may write
// the state). The returned flag steers MFPsw_procptr and
// MFPswscalarA2_procptr; the other drivers ignore it.
using FractalOctaveProcRecord1 = bool (*)(fractalsinfos* fi, double x, double y, double z, double w,
                                          double* state, double weight, short octave, double* out);
using FractalOctaveProcRecord2 = bool (*)(fractalsinfos* fi, double x, double y, double z, double w,
                                          double* state, double weight, short octave,
                                          dvector2d* out);
using FractalOctaveProcRecord4 = bool (*)(fractalsinfos* fi, double x, double y, double z, double w,
                                          double* state, double weight, short octave,
                                          dvector4d* out);

// ---- Scalar parameterised drivers (lacunarity 2.1) ----

// Octaves at ((x - p) f, y f). Returns the amplitude-weighted sum; the last
// octave beyond fmax counts with 1 - (f - fmax) / (f (1 - 1/2.1)), and the
// state is blended back toward its value before that octave by the same
// factor. fi->accumulator = sum of the states after each full octave;
// fi->secondOutput = the final state. Returns 0 (both outputs 0) when
// f0 > 2.1 fmax, fi->octaves < 1 or amp < 1e-7. The state starts at 0.
double Multifractal2Dparam_procptr(fractalsinfos* fi, FractalOctaveProc2D body, double x, double y,
                                   double phase, double w, double f0, double fmax, double amp,
                                   double gain);

// Octaves at ((x - p) f, y f, z f); the state is fi->secondOutput itself,
// set to 1 before the first octave. Returns 0 without touching fi when
// f0 > 2.1 fmax, and 0 (state 1) when fi->octaves < 1 or amp < 1e-7.
double Multifractal3Dparam_procptr(fractalsinfos* fi, FractalOctaveProc3D body, double x, double y,
                                   double z, double phase, double w, double f0, double fmax,
                                   double amp, double gain);

// Vector sums of the body's outputs into out; the state is fi->secondOutput
// as the caller left it. out = (0, 0) unless 2.1 fmax > f0 and
// fi->octaves > 0. Stops when the amplitude falls below 1e-8.
void Multifractal2DparamVec_procptr(fractalsinfos* fi, FractalOctaveProcVector body, double x,
                                    double y, double phase, double w, double f0, double fmax,
                                    double amp, double gain, dvector2d* out);

// At most 7 octaves (0 to 6) whatever fi->octaves says; the body gets the
// fade (1 up to fmax, then 1 - (f - fmax) / (f (1 - 1/2.1))) and accumulates
// the colour into rgb. The amplitude only decides when to stop. The state
// starts at 0. Returns 0; with amp < 1e-7 nothing is called.
double RGBMultifractal2Dparam_procptr(fractalsinfos* fi, FractalOctaveProcRGB body, double x,
                                      double y, double phase, double w, double f0, double fmax,
                                      double amp, double gain, double* rgb);

// Octaves at ((x - p) f, y f, z f); the point turns by a fixed angle
// (cosine 0.866025, sine 0.5) in the x-y, then the y-z plane after each
// octave. The state starts at 1. Returns 0 when fi->octaves < 1 or
// amp < 1e-7.
double RGBMultifractal3Dparam_procptr(fractalsinfos* fi, FractalOctaveProcRGB3D body, double x,
                                      double y, double z, double phase, double w, double f0,
                                      double fmax, double amp, double gain, double* out);

// ---- Record drivers (lacunarity fi->lacunarity, fade divisor fi->fade) ----
// Full octaves run while f <= fmax, up to fi->octaves of them; the weight
// starts at 1 and is multiplied by gain after each octave. Past the band
// limit, t = (f - fmax) / (f fade):
// - after at least one octave and t < 1: one more octave runs and the
//   record and state are blended back toward their previous values by t;
// - when f0 > fmax: the far value (octave -1) is taken whole when t >= 1
//   (or NaN), otherwise octave 0 runs and record and state are blended
//   toward the far ones by t.
// fi->secondOutput = the final state. The state and the far record start at
// 0; with fi->octaves < 1 no body runs, out is untouched and the state is 0.

// Octaves at ((x + p) f, y f, z f), rotating (x, y) about (p, 0).
void MFPV2d_procptr(fractalsinfos* fi, FractalOctaveProcRecord2 body, double x, double y, double z,
                    double phase, double w, double f0, double fmax, double gain, dvector2d* out);
// Octaves at ((x + p) f, y f, (z + p) f), without rotation.
void MFPV2dnr_procptr(fractalsinfos* fi, FractalOctaveProcRecord2 body, double x, double y,
                      double z, double phase, double w, double f0, double fmax, double gain,
                      dvector2d* out);
// As MFPV2d_procptr with a four-double record.
void MFPV4d_procptr(fractalsinfos* fi, FractalOctaveProcRecord4 body, double x, double y, double z,
                    double phase, double w, double f0, double fmax, double gain, dvector4d* out);

// Swap-and-turn driver: starts at (x f0, y f0, z) (z f0 in mode 2) and moves
// the point after each octave by the mode and the flag r the body returned
// (L = fi->lacunarity, old values on the right):
// mode 0: r: X = L Y, Y = 33 - L X;  not r: X = 3.5 - L Y, Y = L X.
// mode 1: r: X = 0.2 X - L Y, Y = 0.2 Y + L X + Z;
//         not r: X = Z + L Y + 0.2 X, Y = 0.2 Y - L X.
// mode 2: r negates Z; (X, Y) turns by the record's angle (clockwise when
//         not r), then X, Y, Z are multiplied by L.
// other modes: the point stays.
void MFPsw_procptr(fractalsinfos* fi, FractalOctaveProcRecord4 body, double x, double y, double z,
                   uint16_t mode, double w, double f0, double fmax, double gain, dvector4d* out);
// One-double record; starts at (x f0, y f0, z f0) and moves as mode 2.
void MFPswscalarA2_procptr(fractalsinfos* fi, FractalOctaveProcRecord1 body, double x, double y,
                           double z, double w, double f0, double fmax, double gain, double* out);
// One-double record with lacunarity 1/g and fade divisor 1 - g; starts at
// (x f0, y f0, z f0) and after each octave X = (X cos + Y sin) / g,
// Y = (Y cos - X sin) / g, Z = Z / g (the record's rotation); the weight is
// multiplied by g.
void MFPuscalar_procptr(fractalsinfos* fi, FractalOctaveProcRecord1 body, double x, double y,
                        double z, double w, double f0, double fmax, double g, double* out);
