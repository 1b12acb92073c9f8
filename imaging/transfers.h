// Transfers between buffers: a source rectangle combined into a destination
// rectangle of the same size, pixel for pixel, by a numbered mode (copy,
// blend, add, multiply, minimum, maximum, fades, difference, compositing
// through the pad byte, channel moves, colour tints); the row procedures
// behind each mode; three-buffer mergers; line writers; pad-byte row
// helpers and the highlight colour combiners.
//
// 32-bit pixels are bytes pad, red, green, blue. Colour results are held to
// 0..255 whatever the parameter; a colour parameter is a normalcolor passed
// as its 32-bit value (red bits 8-15, green 16-23, blue 24-31). Modes 4 and 7
// read the modifier keys gctrl and gopt.
//
// Main thread only: tables live in the shared scratch block.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/offworld.h"

// A row procedure: (columns, rows, source top-left, destination top-left,
// source row bytes, destination row bytes, parameter).
using TransProc = void (*)(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                           int32_t srcRowBytes, int32_t dstRowBytes, int32_t param);

// Clips the two rectangles (packed words) to their ports' bounds, locks the
// pixels and combines source into destination by mode. Depth pairs: 8/8,
// 32/32, 32 into 8, 8 into 32, 16/16 (always a copy); others write nothing,
// as does a mode outside the pair's table. One buffer as both source and
// destination works from a copy of the source rectangle.
void TransfertGWorlds(CGrafPtr src, CGrafPtr dst, int32_t srcTopLeft, int32_t srcBottomRight,
                      int32_t dstTopLeft, int32_t dstBottomRight, int16_t mode, int32_t param);

// --- 8-bit row procedures (one byte per pixel)
void Copy_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Copy_transProc16(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Add_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Max_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Min_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Mul_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Mix50_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Blend_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
// Non-zero parameter: t = 1 - x / width; else t = x / width, reversed by gopt.
void FadeIn_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void FadeInOut_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Diff_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Sub_transProc(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void XorGWorld(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);

// --- 32-bit row procedures (modes in brackets)
void Copy_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                      int32_t);  // 0, 10
void Blend_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                       int32_t);  // 1
void Custom_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Lit_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                     int32_t);  // 2
void Add_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                     int32_t);  // 3
void Mul_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                     int32_t);  // 4
void Min_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                     int32_t);  // 5
void Max_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                     int32_t);  // 6
void FadeIn_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                        int32_t);  // 7 (8 with a non-zero parameter)
void Diff_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                      int32_t);  // 9
void Mix50_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                       int32_t);  // 11
void Alpha_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                       int32_t);  // 13
void SrcAlpha_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                          int32_t);  // 14
void Alpha_ModetransProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                           int32_t);  // 15
// 16 (flag 0) and 17 (flag 1): pad from max(luminance sum / 3 - threshold, 0).
void SetAlpha_fromLuminance(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                            int32_t srcRowBytes, int32_t dstRowBytes, int32_t threshold,
                            int32_t flag);
void SetAlpha_fromAlpha(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                        int32_t);  // 18
void SetAlpha_fromAlphaMax(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                           int32_t);  // 19
void Sub_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                     int32_t);                                                          // 20
void Alpha2RGB(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);  // 21
void SetAlpha_fromRed(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                      int32_t);  // 22
void Interleave_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                            int32_t);                                                     // 23
void XorGWorld32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);  // 24
void FadeInOut_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                           int32_t);  // 25
void BlueGWorld32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                  int32_t);  // 26
void ColorCopy_transProc32_32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                              int32_t);  // 27
void ColorMax_transProc32_32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                             int32_t);  // 28
void MaxBlend_transProc32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t,
                          int32_t);  // 29

// --- Between depths
void MaxRG_transProc32_8(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Copy_transProc32_8(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Max_transProc8_32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void ColorCopy_transProc8_32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void ColorMax_transProc8_32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void MaxRG_transProc8_32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);
void Copy_transProc8_32(int32_t, int32_t, const uint8_t*, uint8_t*, int32_t, int32_t, int32_t);

// --- Pixel row helpers over n 32-bit pixels (byte 0 is the pad)
void asm_alphacopy(const uint8_t* src, uint8_t* dst, int32_t n);
void asm_alphaadd(const uint8_t* src, uint8_t* dst, int32_t n);
void asm_alphamul(const uint8_t* src, uint8_t* dst, int32_t n);
// Lights each colour byte c by the source byte s of the same channel:
// c + ((s x 100 - 12800) x c >> 14), held to 0..255. The alpha form mixes the
// result in by the destination's pad.
void asm_litcolor(const uint8_t* src, uint8_t* dst, int32_t n);
void asm_alphalitcolor(const uint8_t* src, uint8_t* dst, int32_t n);
void asm_writepad(uint8_t* pixels, int32_t n, uint8_t value);
void asm_insertpad(const uint8_t* bytes, uint8_t* pixels, int32_t n);
void asm_extractpad(const uint8_t* pixels, uint8_t* bytes, int32_t n);
void asm_pad2RGB(const uint8_t* pixels, uint8_t* dst, int32_t n);
void asm_minpad(const uint8_t* pads, uint8_t* other, int32_t n);
// Destination pad = source pad; colour bytes kept.
void asm_copypad(const uint8_t* src, uint8_t* dst, int32_t n);

// --- Mergers: a source (or one colour), an 8-bit mask and a 32-bit
// destination. (columns, rows, source, mask, destination, their row bytes,
// parameter); a source row stride of 0 repeats the source's first pixel.
using MergerProc = void (*)(int32_t columns, int32_t rows, const uint8_t* src, const uint8_t* mask,
                            uint8_t* dst, int32_t srcRowBytes, int32_t maskRowBytes,
                            int32_t dstRowBytes, int32_t param);
void Copy_MergerProc(int32_t, int32_t, const uint8_t*, const uint8_t*, uint8_t*, int32_t, int32_t,
                     int32_t, int32_t);
void Blend_MergerProc(int32_t, int32_t, const uint8_t*, const uint8_t*, uint8_t*, int32_t, int32_t,
                      int32_t, int32_t);
void Lit_MergerProc(int32_t, int32_t, const uint8_t*, const uint8_t*, uint8_t*, int32_t, int32_t,
                    int32_t, int32_t);
// The mask rectangle is the source rectangle (it is also the mask's place).
void GnrlMerger(Offworld src32, Offworld mask8, Offworld dst32, int32_t srcTopLeft,
                int32_t srcBottomRight, int32_t dstTopLeft, int32_t dstBottomRight, MergerProc proc,
                int32_t param);
void ColorMerger(normalcolor color, Offworld mask8, Offworld dst32, int32_t maskTopLeft,
                 int32_t maskBottomRight, int32_t dstTopLeft, int32_t dstBottomRight,
                 MergerProc proc, int32_t param);

// --- Line writers: count values stride bytes apart; each returns the
// pointer after the last write.
uint8_t* Linewrite(uint8_t* p, int32_t count, uint8_t value, int32_t stride);
uint8_t* LinewriteARBG(uint8_t* p, int32_t count, uint32_t value, int32_t stride);
uint8_t* asm_32pixelwriteLine(uint8_t* p, int32_t count, uint32_t value, int32_t stride);
// Bytes of the value most significant first.
uint8_t* LinewriteBGRA(uint8_t* p, int32_t count, uint32_t value, int32_t stride);
// Fills 4 x 4 32-bit pixels.
void writepixel4(uint8_t* p, uint32_t value, int32_t rowBytes);

// Per-byte average of the colour bytes, each first rounded down to even; the
// pad is half of a's pad.
normalcolor mix50color(normalcolor a, normalcolor b);

// --- Highlight combiners over the 32-bit pixels [begin, end)
void CAddLumhilit(uint8_t* begin, uint8_t* end, normalcolor k);
void CTinthilit(uint8_t* begin, uint8_t* end, normalcolor k);
void CTintSatLumhilit(uint8_t* begin, uint8_t* end, normalcolor k);
