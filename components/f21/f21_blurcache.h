// The blurred grey sums that " Blurred Pict/Movie " samples, shared by every
// component that blurs the same pixels at the same blur size.
//
// A render on N threads prepares one document copy per worker, and each copy
// sends messages 7 and 8 to its own components; sharing by content lets the
// copies read the sums the document's own component built instead of
// blurring the picture again. A set of sums is identified by the picture's
// size, the blur size and a 64-bit fingerprint of its pixels, so a picture
// replaced by another (even at the same address) or a movie's new frame gets
// new sums, and the same frame prepared again does not.
//
// Each set is a 32-bit off-screen buffer of W x H sums, reference counted:
// every component holding one counts once, and the buffer is freed when the
// last one lets go (f21_releaseBlur). The sums of a set never change once
// built, so the render threads read them without a lock. Acquire and release
// run where messages 7 and 8 and the tree management run (the thread that
// prepares the document); a lock keeps the set list consistent.
#pragma once

#include <cstdint>

#include "imaging/offworld.h"

struct F21blurKey
{
  int32_t width;
  int32_t height;
  int32_t blur;      // blur size k: the boxes are k + 1 wide
  uint64_t content;  // f21_pictureFingerprint of the source

  bool operator==(const F21blurKey&) const = default;
};

// A fingerprint of the W x H pixels of `source` (their bytes, row by row,
// and the depth). Equal pixels give equal fingerprints.
uint64_t f21_pictureFingerprint(const GWorldRec* source, int32_t width, int32_t height);

// The sums of `key`, built from `source` with ConvertToscalar16 when no set
// matches; counts one more holder. Null when the buffer cannot be created.
Offworld f21_acquireBlur(const F21blurKey& key, Offworld source);

// Lets go of one hold on `sums` (from f21_acquireBlur); the last one frees the
// buffer. Nothing for null or a buffer that is not a set of sums.
void f21_releaseBlur(Offworld sums);

// How many times sums were built (ConvertToscalar16 runs), and how many sets
// are held now; for tests and diagnostics.
uint64_t f21_blurBuildCount();
int f21_blurSetCount();
