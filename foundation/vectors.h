// Numeric vectors: caller-owned arrays of doubles (`dvector`), of signed
// 16-bit samples (`sVector`) or of bytes (`bVector`), passed as a pointer and a
// count. Wave tables, envelopes and spectra of the sound and animation code
// are such arrays.
//
// Every operation works on the n elements it is given and does nothing for a
// count of 0 or less. Operations that need a temporary block do nothing when
// the block cannot be had. 16-bit results are truncated toward zero and held
// to the 16-bit range unless an operation says it wraps.
//
// All functions here are pure over their arguments and may run on any thread.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// Element-wise routines for the *_ProcPtr operations.
using dvectorProc1 = double (*)(double x, double p);
using dvectorProc2 = double (*)(double x, double y, double p);
using dvectorProc3 = double (*)(double x, double y, double z, double p);

// ---- Allocation and conversion ----

// Zero-filled block of n doubles or 16-bit values (calloc); null on failure
// or for n = 0. The caller frees it with free().
double* dVector_ALLOCATE(uint32_t n);
int16_t* sVector_ALLOCATE(uint32_t n);

// The scratch buffer whose first word Vector_Init writes; null until someone
// sets it (Vector_Init then does nothing).
extern int32_t* gscratchBuffAddress;
void Vector_Init(int32_t value);

// Kept for callers that blend three colours over a count; it has no effect.
void VecColorInterpol(const normalcolor* a, const normalcolor* b, const normalcolor* c, int32_t n);

// d[i] = (s[i] - lo) / (hi - lo).
void sVector_2_dvector(const int16_t* s, double* d, int32_t n, double lo, double hi);
// s[i] = lo + (hi - lo) * d[i], truncated.
void dvector_2_sVector(const double* d, int16_t* s, int32_t n, double lo, double hi);

// ---- Element-wise operations on doubles (in place unless an output is named) ----

void dvector_Set(double* x, int32_t n, double value);
void dvector_Zero(double* x, int32_t n);
void dvector_Scale(double* x, int32_t n, double k);
void dvector_Add(double* x, int32_t n, double k);
void dvector_MulAdd(double* x, int32_t n, double a, double b);  // a * x + b
void dvector_Power2(double* x, int32_t n);
void dvector_Sqrt(double* x, int32_t n);
void dvector_fPower(double* x, int32_t n, double p);   // exp(log(x) * p)
void dvector_Invert(double* x, int32_t n, int32_t k);  // k - x
// Clamp to [lo, hi]; a value above hi gives hi even when hi < lo.
void dvector_MinMax(double* x, int32_t n, double lo, double hi);
void dvector_Abs(double* x, int32_t n);
// trunc(x * q + 0.5) / q; nothing for q = 0.
void dvector_Quantize(double* x, int32_t n, double q);
// Scales so that the largest magnitude becomes `target`; an all-zero vector is
// left as it is.
void dvector_Normalize(double* x, int32_t n, double target);
// Maps the vector's minimum to lo and its maximum to hi; nothing when all
// elements are equal, or when the minimum already equals lo and the maximum
// does not exceed hi.
void dvector_fitToRange(double* x, int32_t n, double lo, double hi);
// Element i = a + (b - a) * i / (n - 1); a single element gets a.
void dvector_RampAB(double* x, int32_t n, double a, double b);
void dvector_ProcPtr(double* x, int32_t n, dvectorProc1 f, double p);
void dvector2in_ProcPtr(double* x, const double* y, int32_t n, dvectorProc2 f, double p);
void dvector3in_ProcPtr(double* x, const double* y, const double* z, int32_t n, dvectorProc3 f,
                        double p);
// out[i] = a[i] + (b[i] - a[i]) * k.
void dvector_Blend(const double* a, const double* b, double* out, int32_t n, double k);
// As dvector_Blend with the weight i * k / n rising along the vector.
void dvector_BlendFadein(const double* a, const double* b, double* out, int32_t n, double k);
// out[i] = x[i] + (x[i] * m[i] - x[i]) * k.
void dvector_Mul(const double* x, const double* m, double* out, int32_t n, double k);
// out[i] = a[i] * ((m[i] - 1) * k + 1) for m[i] in [0, 1]; a[i] * (1 - k) for
// m[i] < 0; a[i] for m[i] > 1.
void dvector_vMul(const double* a, const double* m, double* out, int32_t n, double k);
// Cyclic rotation: element i moves to (i + s) mod n.
void dvector_Offset(double* x, int32_t n, int32_t s);
// out[(i + s) mod n] = in[i] - c; in and out must not overlap.
void dvector_Offset2(const double* in, double* out, int32_t n, int32_t s, double c);
void dvector_Reverse(double* x, int32_t n);
// Ascending selection sort (the largest remaining element moved to the end).
void dVector_Sort(double* x, int32_t n);
// out[i] = breakpoints b (m of them) read at 1-based position
// 1 + i * (m - 1) / (n - 1), linearly interpolated; the last breakpoint beyond
// the end. A single output element gets b[0]; nothing for m < 1.
void dvector_Envelope(double* out, int32_t n, const double* b, int32_t m);
// The value at fraction clamp(i, 0, r) / r of the vector, interpolated; r <= 0
// reads the first element.
double dvector_getvalue(const double* x, int32_t n, double i, double r);
// The value at 1-based position 1 + t * (n - 1), interpolated; positions
// before the start give x[0], beyond the end x[n - 1]. 0 for n < 1.
double Linear_segment(const double* x, int32_t n, double t);
// Attack rising to a peak, then a decay falling from 1; every value capped at
// `level` and not below 0.
void dvector_TimeEnvelope(double* x, int32_t n, double attack, double decay, double level);
// Makes the first m and the last m elements the same integer cross-fade, so
// that the vector loops without a jump; m is held to n.
void dvector_AutoCrossFade(double* x, int32_t n, int32_t m);
// out[i] = t read at position i + (m[i] - 0.5) * depth (centred) or
// i + m[i] * depth, wrapped modulo n and linearly interpolated.
void dvector_phasemod(const double* t, const double* m, double* out, int32_t n, double depth,
                      bool centred);
// out[i] = in[trunc(i * rate) mod n]; with `smooth` and n >= 257 the first
// elements are blended from the continuation past the end so that the output
// loops without a jump. in and out must not overlap.
void dvector_sdrepeat(const double* in, double* out, int32_t n, double rate, bool smooth);
// x[i] = (copy of x)[trunc(i * rate) mod n].
void dvector_repeat(double* x, int32_t n, double rate);
// out (m elements) = in (n elements) linearly interpolated at i * n / m; with
// n < 2 every output is in[0]. in and out may be the same array.
void dvector_resample(double* in, double* out, int32_t n, int32_t m);
// Six octaves of the vector read at rates ratio^k, weighted by (gain / ratio)^k
// and normalised. A null `in` reads `out` itself. A ratio of 0 copies the input.
void dvector_ifnoise(const double* in, double* out, int32_t n, double ratio, double gain);
// smoothtable there and back through a temporary.
void dvector_Smooth(double* x, int32_t n, int32_t w, bool wrap);
// x = x - smoothtable(x).
void dvector_HiPass(double* x, int32_t n, int32_t w, bool wrap);

// ---- 16-bit samples ----

// Clears n 16-bit words at p (any buffer of 2n bytes).
void sVector_Zero(void* p, uint32_t n);
void sVector_Set(int16_t* s, int32_t n, int16_t value);
void sVector_Add(int16_t* s, int32_t n, int16_t k);  // wraps around in 16 bits
void sVector_Scale(int16_t* s, int32_t n, double k);
void sVector_Power2(int16_t* s, int32_t n);
void sVector_Sqrt(int16_t* s, int32_t n);
void sVector_fPower(int16_t* s, int32_t n, double p);
void sVector_Invert(int16_t* s, int32_t n, int16_t k);  // k - x, wrapping in 16 bits
void sVector_Sort(int16_t* s, int32_t n);
// Scales so that the largest magnitude becomes 32767; all zeros stay zero.
void sVector_Normalize(int16_t* s, int32_t n);
void sVector_Blend(const int16_t* a, const int16_t* b, int16_t* out, int32_t n, double k);
void sVector_Mul(const int16_t* x, const int16_t* m, int16_t* out, int32_t n, double k);
void sVector_Reverse(int16_t* s, int32_t n);
void sVector_Offset(int16_t* s, int32_t n, int32_t shift);
void sVector_Smooth(int16_t* s, int32_t n, int32_t w, bool wrap);
// out[i] = a[i] + (b[i] - a[i]) * curve (m points) read at i * (m - 1) / n.
void sVector_CurveBlend(const int16_t* a, const int16_t* b, int16_t* out, int32_t n,
                        const double* curve, int32_t m);
void bVector_Zero(uint8_t* b, int32_t n);

// Draws the samples as a polyline across the rectangle: x from left to right
// over n - 1 steps, every max(1, (n - 1) / width)-th sample, y = bottom -
// s * height / 32768. The line goes to `lineTo` (move = true for the first
// point) in the colour, set with SetForNcolor; black is restored afterwards.
using sVectorLineProc = void (*)(void* context, int16_t h, int16_t v, bool move);
void sVector_draw(const int16_t* s, int32_t n, const Rect& r, const normalcolor& colour,
                  sVectorLineProc lineTo, void* context);
