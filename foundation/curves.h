// Generated curve shapes, smoothing and the one-dimensional noise of the
// curve tables.
//
// Thread safety: shapes 24 and 25 shuffle a private copy of the noise table on
// the caller's stack, so every function here may run on any thread. The
// shared table `gVecRndTab` is only ever read.
#pragma once

#include <cstdint>

// A permutation of 0..255 that the one-dimensional noise hashes through.
struct VecRndTable
{
  int32_t entries[256];
};

// The program's noise table: the identity permutation, never written.
extern const VecRndTable gVecRndTab;

// Identity 0..n-1, then each entry swapped with the entry at
// (random() & 0xFFFF) mod n. Nothing for n <= 0.
void FillRandomTable(int32_t* table, int32_t n);

// One-dimensional value noise at x hashed through `table` (gVecRndTab by
// default); about -1.9..1.9. A position that has no lattice cell (NaN, the
// no-value marker) gives 0.
double RandomNoise(const VecRndTable& table, double x);
double RandomNoise(double x);

// Smooths n values of in into out (in and out must not overlap). The width w
// is held to 64. Below 2 a 1-2-1 filter is used; otherwise a Gaussian kernel
// of 2w + 1 taps. With wrap the vector is taken as cyclic; without, the ends
// are copied (1-2-1) or read with the index held to the vector (kernel).
void smoothtable(const double* in, double* out, int32_t w, int32_t n, bool wrap);

// Fills n doubles with curve shape `shape` (0 to 31) of parameter p. Shapes
// 28 to 31, and every unknown shape, set element 0 to 0 and mirror the first
// half into the second.
void dvector_Curve(double* x, int32_t n, int32_t shape, double p);

// Fills n 16-bit samples with a curve shape of 16-bit parameter p; values
// are truncated and held to the 16-bit range. Shapes without a 16-bit form
// only set element 0 to 0 and mirror the first half into the second.
void sVector_Curve(int16_t* s, int32_t n, int32_t shape, int16_t p);
