// Octave-band analysis of captured sound: single-bin Fourier sums read from
// the 4096-entry sine and cosine tables (gfsintable, gfcostable), which
// kvBuild_fftsintable or Kovrelin_SoundInit builds. Without the tables the
// procedures write zeros.
//
// Samples are 32-bit floats; with 2 channels they are interleaved (left
// first) and a sample is the mean of left and right. Pure functions of their
// arguments and the tables: safe on the audio thread.
#pragma once

#include <cstdint>

// The tables' length: one period of sine and cosine.
inline constexpr int32_t kFFTtableSize = 4096;
// Samples (frames) one octave-band analysis reads.
inline constexpr int32_t kOctaveBandFrames = 1024;
inline constexpr int32_t kOctaveBandCount = 8;

// Fills block (2 x kFFTtableSize doubles) with sin and cos of 2 pi i / 4096,
// the sines first, and makes gfsintable and gfcostable point into it.
void kvBuild_fftsintable(double* block);

// Eight octave bands of the first 1024 frames: band b (0..7) sums the first
// 1024 / 2^b samples against one period of its frequency, 44,100 x 2^b /
// 1024 Hz at 44,100 Hz, read from the tables at step 4 x 2^b; out[2b] is the
// cosine sum and out[2b + 1] the sine sum, both x 6.5 x 2^b. samples holds
// 1024 x channels floats.
void doSoundRecord_OctavesBands(double out[16], const float* samples, int16_t channels);

// The cosine (out[0]) and sine (out[1]) sums of n samples against the tables
// read at step 4096 / n (integer division: above 4096 the step is 0, a plain
// sum and 0); unscaled. n <= 0 gives zeros.
void unibanddft(double out[2], int32_t n, const float* samples, uint16_t channels);

// Four levels from the 16 band sums (c(b), s(b): band b's cosine and sine
// sums): out[k] = sqrt(c(2k)^2 + s(2k)^2 +
// (c(2k+1)^2 + s(2k+1)^2) x 0.5) x scale, pairs of octaves with the upper one
// at half weight.
void ConvertTo4Analysis(const double in[16], double out[4], double scale);
