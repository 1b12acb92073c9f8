// The building blocks of the sound effects: the second-order filter record
// with its stereo step and its designers, two soft-clip curves, and the ring
// delays (fractional reads, feedback, combs, an allpass) with their short
// convolution kernels.
//
// Everything here works on doubles at gSAMPLERATE, allocates nothing and
// runs on the audio thread. A ring is an array of L doubles used modulo L;
// n is the running sample position (never negative). The read slot,
// (n + 1) mod L, holds the oldest value; the write slot is n mod L.
// Fractional reads blend slots i and i + 1 (mod L), i the integer part of
// the position, and wrap with a non-negative modulo so that positions
// before 0 read the ring from its end. Every ring operation needs L >= 1.
#pragma once

#include <cstdint>

// A biquad: gain, feedback a1 a2, input b0 b1 b2, then the state of each
// channel (previous outputs before the gain, previous inputs). Fourteen
// doubles in this order; the order is part of the record.
struct filtersecondorder
{
  double gain = 0;
  double a1 = 0, a2 = 0;
  double b0 = 0, b1 = 0, b2 = 0;
  double ly1 = 0, ly2 = 0, lx1 = 0, lx2 = 0;
  double ry1 = 0, ry2 = 0, rx1 = 0, rx2 = 0;
};
static_assert(sizeof(filtersecondorder) == 14 * sizeof(double));

// The lowest frequency the designers place: 44,100 / 2048 Hz.
inline constexpr double kFXlowestFrequency = 21.533203125;

// --- Filter step and designers -------------------------------------------

// Clears the eight state doubles (both channels).
void clearresonnantfilter(filtersecondorder* f);
// Copies the six coefficients of `from` into `to`, keeping to's state.
void copyfiltercoefficients(filtersecondorder* to, const filtersecondorder& from);
// In place: y = b0 x + b1 x1 + b2 x2 + a1 y1 + a2 y2 (feedback added), the
// state shifts, the sample becomes gain x y. The right channel only when
// `right` is given.
void applySOfilter(filtersecondorder* f, double* left, double* right);
// The angle the hp, lp and resonant designers place f on:
// (f - 21.533203125) / (rate / 2) x pi (below 0 for lower frequencies).
double filtertheta(double f);
// Resonator for applySOfilter: r = 0.9999 - 0.2499 q (held to +-0.9999),
// zeros at +-1.
void Setupresonnantfilter(filtersecondorder* f, double freq, double q);
// Types 0 (resonator), 1 notch, 2 and 6 peak of amplitude 8, 3 high-pass,
// 4 low-pass, 5 band-pass, with a bandwidth of max(6 q, 1/12) octaves and
// gain g; stored ready for applySOfilter. Frequencies below 21.5332 Hz are
// designed at the lowest frequency (angle 135.29708585655948 / rate). Another
// type, or a design that is not finite, gives a pass-through of gain g.
void SetupGSOfilter(filtersecondorder* f, int32_t type, double g, double freq, double q);
// High-pass and low-pass for sofilter's step (feedback subtracted).
void Setuphpfilter(filtersecondorder* f, double freq, double q);
void Setuplpfilter(filtersecondorder* f, double freq, double q);

// --- Soft clips ----------------------------------------------------------

// y = 2x/3 bent onto [-1, 1] by a parabola.
double compressorA(double x);
// Linear within +-0.5, a parabola up to +-1.5 (reaching +-1), then +-1.
double compressorB(double x);

// --- Rings -----------------------------------------------------------------

// The ring's slot of a (possibly negative) integer position.
int32_t ringslot(int64_t i, int32_t L);
// Linear blend at a fractional position (wrapped into the ring).
double ringread(const double* buffer, int32_t L, double position);

double ROT_DELAY(int64_t n, double* buffer, int32_t L, double x);
double ROT_VARDELAY(int64_t n, double* buffer, int32_t L, double x, double d);
double ROT_VARFEEDBACK(int64_t n, double* buffer, int32_t L, double x, double d, double gin,
                       double gfb);
double ROT_VARFEEDBACK_Smooth(int64_t n, double* buffer, int32_t L, double x, double d, double gin,
                              double gfb, double s);
double ROT_VARCOMB(int64_t n, double* buffer, int32_t L, double x, double d, double dry,
                   double wet);
double ROT_FEEDBACK(int64_t n, double* buffer, int32_t L, double x, double gin, double gfb);
// One extra slot after the ring holds the previous read.
double ROT_FEEDBACK2(int64_t n, double* buffer, int32_t L, double x, double gin, double gfb);
// Two rings: outputs at buffer, inputs at buffer + L.
double ALLPASSREVFILTER(int64_t n, double* buffer, int32_t L, double x, double g, double k);
// Two rings (outputs, inputs) and one state slot at buffer[2 L].
double ROT_COMB(int64_t n, double* buffer, int32_t L, double x, double g, double k);
double ROT_COMBFEEDBACK(int64_t n, double* buffer, int32_t L, double x, double d, double g,
                        double k);
double ROT_COMBFEEDBACKB(int64_t n, double* buffer, int32_t L, double x, double d, double g,
                         double k);
double ROT_AVERAGE(int64_t n, double* buffer, int32_t L, double x, double m);
// Writes x, then convolves the ring (oldest first) with the L taps stored
// after it.
double rotfilter_line(int64_t n, double* buffer, int32_t L, double x);
// A K-slot ring and its K-tap kernel follow the L ring.
double ROT_FLTFEEDBACK(int64_t n, double* buffer, int32_t L, int32_t K, double x, double gin,
                       double gfb);
// As ROT_FLTFEEDBACK with the K ring and its kernel at buffer + offset.
double ROT_ECHO(int64_t n, double* buffer, int32_t L, int32_t offset, int32_t K, double x,
                double gin, double gfb);

// --- Kernels (stored at buffer + L, after a ring of L) ----------------------

// Gaussian taps exp(-(j - L/2)^2 s) scaled to sum to total.
void rotfilter_setup(double* buffer, int32_t L, double s, double total);
// A Hann-windowed sine of `cycles`; scaled by total / sum when the taps sum
// to more than 1, otherwise by total.
void rotfilter_sine(double* buffer, int32_t L, double cycles, double total);
