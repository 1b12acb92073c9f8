// Sample buffers and plain operations on arrays of 32-bit float samples:
// integer conversions, interleaving, interpolated reading, resampling,
// fades, crossfades for seamless loops, normalising, reversal, mixing,
// smoothing, integration and derivation, and the labels that append a time,
// a frequency or a note to the application's message string.
//
// A stereo buffer interleaves left and right, left first. Counts are in
// samples (floats) unless a name says frames. Float samples of the play
// path lie in [-1, 1]; the editing operations Integrate_ESound,
// Mix50_ESound and the resamplers work on 16-bit scale (whole numbers up to
// about 32,767). Every operation stays inside the counts it is given.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// Buffers: n floats, or n x size bytes, zero-filled; null when n is out of
// range or memory runs out.
float* Create_TempSoundBuffer(int32_t n);
void* Create_SizedSoundBuffer(int32_t n, int32_t size);
void Kill_SoundBuffer(void* p);

// Integer samples to floats: 16-bit x 1/32767, 32-bit x 1/2147483647, 24-bit
// (3 bytes a sample, least significant first, or most significant first
// with swap; sign-extended) x 1/8388607. swap exchanges each sample's bytes.
void Convert16(const int16_t* src, float* dst, uint32_t n, uint8_t swap);
void Convert32(const int32_t* src, float* dst, uint32_t n, uint8_t swap);
void Convert24(const uint8_t* src, float* dst, uint32_t n, uint8_t swap);
// Floats to integer samples, clipped to [-1, 1] first and truncated toward
// zero: x 32767, x 8388607 (3 bytes), x 2147483392.
void ConvertFLoatTo16(const float* src, int16_t* dst, uint32_t n, uint8_t swap);
void ConvertFLoatTo24(const float* src, uint8_t* dst, uint32_t n, uint8_t swap);
void ConvertFLoatTo32(const float* src, int32_t* dst, uint32_t n, uint8_t swap);

// Interleaves `frames` frames; returns 2 x frames.
int32_t Stereo_Interleave(const float* left, const float* right, float* dst, int32_t frames);
// Splits `count` interleaved samples; an odd count takes one partial frame
// whose right sample (when right is given) is 0.
void Stereo_DeInterleave(const float* src, float* left, float* right, int32_t count);
// In place: buf[i] = the mean of frame i, for the frames of `count` samples.
void Mono_DeInterleave(float* buf, int32_t count);

// Linear interpolation at pos; indices outside 0..n-1 read as 0, a negative
// pos gives 0.
double GetRealSample(const float* buf, int32_t n, double pos);
// The same with indices taken modulo n (a looping table).
double GetmodRealSample(const float* buf, int32_t n, double pos);
// (L(0) + 2 L(1) + L(2)) / 4 truncated to a whole number, L(k) the linear
// interpolation at index k + the fraction of pos; indices outside 0..n-1
// read as 0.
int32_t GetncRealSample(const float* buf, int32_t n, double pos);
// Resample a 2048-sample source (srcCount samples of it exist) into dst (at
// most dstCapacity samples, frames for the stereo one) at the step; the
// count written. A step <= 0 or NaN writes nothing.
int32_t ResampleMono(const float* src, int32_t srcCount, float* dst, int32_t dstCapacity,
                     double step);
int32_t ResampleStereoIT(const float* left, const float* right, int32_t srcCount, float* dst,
                         int32_t dstCapacity, double step);
// dst[start + k] = GetncRealSample(src, n, pos) for pos from start by step
// while pos < end (and start + k < dstCapacity); the count written.
int32_t Transpose_ESound(const float* src, float* dst, int32_t start, int32_t end, int32_t n,
                         int32_t dstCapacity, double step);

// buf[i] x= i/n (fade in) or 1 - i/n (fade out) for i < n.
void FadeIn_ESound(float* buf, double n);
void FadeOut_ESound(float* buf, double n);
// Fades out the last (n rounded down to even) frames of an interleaved stereo
// buffer of `frames` frames; nothing when that is frames or more.
void InterleavedFadeOut_ESound(float* buf, uint32_t frames, int32_t n);
// 1-2-1 smoothing of src[first..last) into dst, the ends weighted 3-1.
void Smooth_ESound(const float* src, float* dst, int32_t first, int32_t last, uint32_t n);
// dst[from + k] = src[to - 1 - k].
void Reverse_ESound(const float* src, float* dst, uint32_t from, int32_t to);
void InvertPhase_ESound(float* buf, int32_t n);
void Derivate_ESound(float* buf, int32_t n);
// Running sum rescaled to -32500..32500 (16-bit scale); a constant sum
// gives silence.
void Integrate_ESound(float* buf, int32_t n);
// Scales up so that the peak becomes 0.997 (never attenuates); a silent
// buffer is left as it is.
void Normalize_ESound(float* buf, int32_t n);
void Stereo_Normalize(float* left, float* right, int32_t n);
// b += a over [from, to), rescaled to 0.997 of the peak when the sum leaves
// 0..1 (16-bit scale).
void Mix50_ESound(const float* a, float* b, uint32_t from, uint32_t to);
// Crossfades between a and b over the first `len` samples.
void cfadeinSound(const float* a, float* b, int32_t n, double len);
void cfadeoutSound(const float* a, float* b, int32_t n, double len);
// Blends the first n samples with the last n so that the buffer loops
// without a click; n is held to total / 2.
void AutoCrossFade(float* buf, uint32_t total, int32_t n);
// A copy of src at `ratio` (1.0: plain copy) with a 50-sample fade in and a
// 200-sample fade out, ended by one 0.0; the count m before it. Fades stay
// inside m; a ratio <= 0 or NaN gives 0.
int32_t BuildFadedSound(const float* src, int32_t n, uint32_t maxOut, float* dst, double ratio);
// A copy of src at `ratio` whose halves are crossfaded into a seamless loop.
int32_t BuildCrossFadedSound(const float* src, int32_t n, int32_t maxOut, float* dst, double ratio);

// Labels appended to gAppInfos.paramString: a time in milliseconds as
// "m:ss:ff" and two spaces; "Freq 440.00 Hz " with the nearest note's name;
// a note's name with its frequency.
void ConcatTimeMS(int32_t ms);
void ConcatFreqHz(double hz, uint8_t withNote);
void ConcatNote(double note, uint8_t withFreq);
