// Sampling and filtering routines of the picture members: the blurred grey
// sums of a picture (four running-sum box passes), the bicubic spline that
// samples them, and a smooth sample of an 8-bit grey picture.
//
// Buffers of "unsigned 32-bit samples" are 32-bit off-screen buffers whose
// pixels are read as native uint32_t values; `rowBytes` is the byte step from
// one row to the next. Main thread only where a routine says it uses the
// imaging scratch block (GWScratch).
#pragma once

#include <cstdint>

#include "imaging/offworld.h"

// Fills `destination` with the blurred grey sums of `source` over W x H
// pixels: rows 0 and H - 1 and columns 0 and W - 1 are 0, every other sample
// red + green + blue of the source pixel (3 x grey for an 8-bit source);
// then four box passes of width k + 1 (rows, columns, rows, columns), so a
// sum is at most 765 (k + 1)^4. W and H are held to what both buffers hold;
// nothing happens for a null buffer, a destination that is not 32-bit, a
// source that is neither 8- nor 32-bit, or a k outside 0..65533. The line store comes from the
// scratch block (main thread).
void ConvertToscalar16(Offworld source, Offworld destination, int32_t k, int32_t W, int32_t H);

// One box pass of width w (1..65535; other widths do nothing) along each of `rows` rows of W
// samples, in place: sample i becomes the sum of samples i - h .. i + h,
// h = (w - 1) / 2, the ends extended. Runs as a running sum, in time
// independent of w.
void gw_FastBoxFilter16_X(int32_t W, int32_t rows, void* pixels, int32_t rowBytes, int32_t w);
// The same pass along each of W columns of H samples.
void gw_FastBoxFilter16_Y(int32_t W, int32_t H, void* pixels, int32_t rowBytes, int32_t w);

// One segment of the spline from p1 (t = 0) to p2 (t = 1): the cubic Bezier
// curve whose inner control points are p1 + (p2 - p0) / 6 and
// p2 - (p3 - p1) / 6, with 1/6 taken as 0.16666666667.
double Bezier1D(double p0, double p1, double p2, double p3, double t);

// The bicubic spline of a buffer of unsigned 32-bit samples at (x, y) in
// pixel units, from the 4 x 4 samples around the point. newPLerp reads
// columns ix - 1 .. ix + 2 and rows iy - 1 .. iy + 2 unchecked: the caller
// keeps 1 <= x < W - 2 and 1 <= y < H - 2. newPLerpBounds takes every sample
// outside columns 0..W - 1 or rows 0..H - 1 as 0, and gives 0 for a point
// whose cell does not fit 32 bits.
double newPLerp(const void* pixels, int32_t rowBytes, double x, double y);
double newPLerpBounds(const void* pixels, int32_t rowBytes, int32_t W, int32_t H, double x,
                      double y);

// A smooth sample of an 8-bit grey picture at (x, y) in pixel units: each of
// the four pixels around the point gives a plane through the quarter points
// toward its four neighbours, and the four planes are blended bilinearly.
// Reads columns ix - 1 .. ix + 2 and rows iy - 1 .. iy + 2 unchecked: the
// caller keeps 1 <= x < W - 2 and 1 <= y < H - 2.
double PictCubicLerp(const void* pixels, int32_t rowBytes, double x, double y);
