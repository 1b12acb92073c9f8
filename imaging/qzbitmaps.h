// The bridge between the program's pixel buffers and drawing contexts:
// 32-bit and 8-bit buffers described by an AccessPix, bare (render buffers)
// or with a bitmap context over them; images that read such buffers, off-screen
// buffers and colour tables row by row while they are drawn; drawing them
// into contexts, gradient fills, row callbacks over fresh bitmaps, screen
// capture, and contexts on ports.
//
// Buffers made here have row bytes exactly 4 x width (8-bit: width) and rows
// from the top of the image down. An AccessPix whose bottomUp flag is set is
// delivered last row first by getbitsrender32 and getbitsrender8to32: a
// render buffer carries it, so that drawn into a context opened by
// QZ_OpenContext it stands upright.
//
// Main thread only, except that a render buffer may be filled from several
// threads on disjoint columns before it is drawn.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/accesspix.h"
#include "imaging/offworld.h"
#include "imaging/pixcommand.h"
#include "imaging/ports.h"
#include "imaging/quartz.h"

// What a row callback reads: the produced image's size and row bytes, the
// first source pixel (or the colour table of a gradient) and the source
// buffer's record (null for the gradients). It must outlive the image.
struct RowSource
{
  int32_t width = 0;
  int32_t height = 0;
  int32_t rowBytes = 0;
  const uint8_t* source = nullptr;
  const AccessPix* access = nullptr;
};

// --- Buffers and contexts

CGContextRef QZ_CreateBitmapContext(int16_t width, int16_t height, AccessPix* out,
                                    bool premultipliedAlpha);
// With pixels given, frees *pixels and clears it; otherwise frees the
// context's own pixels. Then releases the context and clears *context.
void QZ_KillBitmapContext(CGContextRef* context, uint8_t** pixels);
uint8_t* QZ_AllocateRenderBuffer32(AccessPix* out, int16_t width, int16_t height);
uint8_t* QZ_AllocateRenderBuffer8(AccessPix* out, int16_t width, int16_t height);

// --- Images from pixels

CGImageRef QZ_createImagefromRendering(RowSource* info, QZRowCallback rowCallback,
                                       uint32_t bitmapInfo);
CGImageRef QZ_CopyBitsToImage(RowSource* info, AccessPix* source, const Rect* sub);
CGImageRef QZ_createImagefromBits(const uint8_t* base, int32_t rowBytes, int32_t width,
                                  int32_t height, uint32_t bitmapInfo);
CGImageRef QZ_createImagefromGW(Offworld world, Offworld mask, bool withAlpha);
CGImageRef QZ_createMaskfromGW(Offworld world);

// --- Drawing

void QZ_CopyBitsToContext(CGContextRef ctx, AccessPix* source, const Rect* sub, Rect dest);
// Returns 0 when the buffer cannot be accessed, 1 when it was drawn.
int16_t QZ_CopyGWToContext(CGContextRef ctx, Offworld world, Rect* sub, Rect dest);
void QZ_BlitGworld(CGContextRef ctx, Rect dest, Offworld world, CGBlendMode mode);
void QZ_PixCommandes(CGContextRef dest, AccessPix* bitmap, Rect source, Rect destRect,
                     int32_t param, PixCommandProc proc);
void QZ_BlitPixCommandes(CGContextRef ctx, Rect r, int32_t param, PixCommandProc proc,
                         CGBlendMode mode, bool premultipliedAlpha);
// Fill r with one colour per row (V) or per column (H) of r; each entry's
// byte 0 is a premultiplied alpha.
void QZ_fillboxGradientV(CGContextRef ctx, const normalcolor* table, Rect r);
void QZ_fillboxGradientH(CGContextRef ctx, const normalcolor* table, Rect r);
// Copies r of a 32-bit port into a new opaque bitmap context (released with
// QZ_KillBitmapContext); null for a port that is not 32 bits deep or has no
// pixels.
CGContextRef QZ_CaptureScreenPix(CGrafPtr port, AccessPix* out, Rect r);
// A context on a port's 32-bit pixels with the origin at the port's top-left
// and y growing downwards; null when the port has no 32-bit pixels.
CGContextRef QZ_OpenContext(CGrafPtr port);
// Writes what was drawn into the port's pixels and releases the context.
void QZ_CloseContext(CGContextRef ctx, CGrafPtr port);

// --- Row callbacks (info is a RowSource)

size_t getbitsrender32(void* info, void* buffer, int64_t offset, size_t count);
size_t getbitsrender8to32(void* info, void* buffer, int64_t offset, size_t count);
size_t getbitsrender24(void* info, void* buffer, int64_t offset, size_t count);
size_t getbitsrender8(void* info, void* buffer, int64_t offset, size_t count);
size_t Vshade(void* info, void* buffer, int64_t offset, size_t count);
size_t Hshade(void* info, void* buffer, int64_t offset, size_t count);
