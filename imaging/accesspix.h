// Direct pixel access: the record through which pixel loops reach a buffer,
// a port's pixels or a plain block, the operations that open and close it,
// the clipping of two rectangles for a transfer, and the writers that put
// pixels onto a port or into another block with grey expansion, grey
// reduction and byte reordering.
//
// Rectangles given by pointer are adjusted in place. Coordinates of an
// access count from the accessed pixels' top-left (0, 0).
//
// Opening and closing an access keeps no shared state: several threads may
// each open their own access, and write disjoint areas of one block. The
// operations that touch ports (current port, flushing) are main-thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/offworld.h"
#include "imaging/ports.h"

struct AccessPix
{
  uint8_t* base = nullptr;  // first pixel of the accessed area
  int32_t rowBytes = 0;     // bytes from one row to the next
  int16_t width = 0;        // pixels
  int16_t height = 0;       // rows
  int16_t pixelSize = 0;    // 8, 16 or 32
  // Set: the image paths of the bitmap contexts read the rows last row
  // first (the render driver sets it on the buffers it fills).
  uint8_t bottomUp = 0;
  uint8_t ownsBuffer = 0;         // 1 when the access created `owned` as an Offworld
  OSType pixelFormat = 0;         // 'ARGB' or 'BGRA' for 32-bit pixels
  void* owned = nullptr;          // the Offworld the access created, or a bitmap context
  PixMapHandle pixMap = nullptr;  // locked while the access is open
  uint8_t isPort = 0;             // 1 when the access goes through a port's bits
};

// Zero-filled memory for pixel blocks; null when size is negative, too large
// or cannot be had. Freed with DisposePtr (null is ignored).
uint8_t* NewPtrClear(int64_t size);
void DisposePtr(void* p);

// --- Opening

// Opens a buffer: sizes from its bounds, base at its first pixel, flag byte
// cleared. A given rectangle is moved (not cut, apart from being no larger
// than the buffer) to lie inside the buffer.
bool AccessPixels(Offworld world, AccessPix* access, Rect* r);
// Opens a port's pixels at the rectangle, which is cut to the port's bounds
// and made relative to them; base is the rectangle's top-left pixel.
bool AccessScreenBits(CGrafPtr port, AccessPix* access, Rect* r);
bool BeginAccessPixels(CGrafPtr port, Offworld world, AccessPix* access, Rect* r);
// As BeginAccessPixels; for a buffer the rectangle becomes
// {0, 0, min(height, its height), min(width, its width)}.
bool BeginAccessPixels32(CGrafPtr port, Offworld world, AccessPix* access, Rect* r);
// Opens the port when usePort is set and its depth matches, else the given
// buffer, else a new buffer of the rectangle's size (kept in owned with
// ownsBuffer 1: the caller disposes it, also after a failure).
bool CreateAccessPixels(CGrafPtr port, Offworld world, AccessPix* access, Rect* r, int16_t depth,
                        bool usePort);
bool BeginAccessWindowPixels(int32_t unused1, int32_t unused2, CGrafPtr port, PixMapHandle pm,
                             Rect* r, bool* is8bit);
// A zero-filled block of width x height 32-bit pixels ('ARGB'); its owner
// frees access->base with DisposePtr.
bool BeginAccessBuffer32(int16_t width, int16_t height, AccessPix* access);
// True when the port's pixels are 32 bits deep; *depth gets the depth.
bool isPort32buffered(CGrafPtr port, uint16_t* depth);

// --- Closing

void EndAccessPixelsNR(CGrafPtr port, AccessPix* access);
// A port access flushes dstRect; a buffer access is copied onto the port.
void EndAccessPixels(CGrafPtr port, AccessPix* access, const Rect* srcRect, const Rect* dstRect);
void EndAccessWindowPixels(CGrafPtr port, PixMapHandle pm, const Rect* r);
// Writes the whole block onto the port's dstRect; flushes when asked.
void EndAccessBuffer(CGrafPtr port, AccessPix* access, Rect* dstRect, bool flush);

// --- Clipping and writing

// Makes the two rectangles the same size, each inside its bounds, matching
// pixel for pixel from their top-left corners; false when nothing remains.
bool Fix2Rects(Rect* srcRect, Rect* dstRect, Rect srcBounds, Rect dstBounds);
// Writes the source's pixels from srcRect's top-left onto dstRect of the
// port, converting by depth and format. Only pixels that both the clipped
// destination and the source hold are written.
void WriteScreenBits(AccessPix* source, CGrafPtr port, Rect srcRect, Rect dstRect);
void BlitGWorldBits(Offworld world, CGrafPtr port, Rect srcRect, Rect dstRect, bool flush);
// The same conversion between two records; the destination is 32-bit. The
// rectangles are clipped to the two records.
void WritePixels32(AccessPix* source, AccessPix* dest, Rect srcRect, Rect dstRect);
