// Pascal strings: a length byte (0..255) followed by that many bytes, no
// terminator. Positions are 1-based: character i is byte i. Routines that
// append stop at 255 characters unless stated otherwise. All work on buffers
// the caller owns (a Str255 unless stated); none allocates except the Handle
// text buffers, which grow a block the caller owns.
#pragma once

#include <cstdint>

#include "foundation/handles.h"
#include "foundation/types.h"

// ---- Copy, join and compare ----

// Copies a C string into dst (at most 255 characters; the rest is dropped)
// and returns the length.
int16_t SetPString(StringPtr dst, const char* src);
void AssignPString(StringPtr dst, ConstStringPtr src);
// Appends src while the next position is below `maximum` (held to 256), so
// the result has at most maximum - 1 characters.
void ConcatPString(StringPtr dst, ConstStringPtr src, int16_t maximum);
// Appends what fits before byte 255; returns the uncapped sum of the lengths.
int32_t CConcatPStrings(StringPtr dst, ConstStringPtr src);
// Inserts `ins` before 1-based `position`, which must lie in 1..length of dst
// (otherwise nothing happens); the result is cut at 255 characters.
void CInsertPString(StringPtr dst, ConstStringPtr ins, int16_t position);
// Removes the first occurrence of `pattern`; unchanged when there is none.
void CDeletePStrings(StringPtr s, ConstStringPtr pattern);
// Replaces the first occurrence of `pattern` by `replacement`, cut at 255
// characters. Returns 1 when replaced, 0 when s is empty or has no occurrence.
int16_t CReplacePString(StringPtr s, ConstStringPtr pattern, ConstStringPtr replacement);
// 1-based position of the first occurrence of `pattern`; 0 when there is none
// or either string is empty.
int16_t CPOSPString(ConstStringPtr s, ConstStringPtr pattern);
// True when both are non-null and equal byte for byte (case matters).
bool myequalstring(ConstStringPtr a, ConstStringPtr b);
// True when a and b agree over their common length and every character of b
// beyond it is a decimal digit: "Tree" and "Tree12" agree, "Tree1a" does not.
bool partialequalstring(ConstStringPtr a, ConstStringPtr b);
bool CischarDigit(const unsigned char* c);
// Copies count bytes (overlap allowed) to dstStart, never past dstEnd.
void SCOPY_MEM(const void* src, void* dstStart, const void* dstEnd, int32_t count);
void SBlockMove(const void* src, void* dstStart, const void* dstEnd, int32_t count);
// Removes trailing zeros after a decimal point, then a point left bare:
// "12.500" gives "12.5", "3.000" gives "3". Strings without "." are kept.
void RemoveDecZeros(StringPtr s);
// Cuts a picture name to 29 characters and appends ".p" unless it already
// ends so; the result fits a Str31.
void FixPictName(StringPtr name);

// ---- Search in raw memory ----

// Offset from base of the first occurrence of the pattern's characters that
// starts at or after `start` and ends at or before `end`; -1 when there is none
// or start is not below end. An empty pattern matches at start.
int32_t CPOSBuffer(const unsigned char* base, int32_t start, int32_t end, ConstStringPtr pattern);
// Offset from base of the first occurrence of `length` pattern bytes at or
// after `start` lying wholly within `size` bytes; -1 when start is outside
// 0..size - 1 or there is none. A length below 1 matches at start.
int32_t findinbuffer(const unsigned char* base, int32_t size, int32_t start,
                     const unsigned char* pattern, int32_t length);

// ---- Handle text buffers: raw characters plus a used-length counter ----

// Appends the characters at offset *used, growing the block as needed, and
// advances *used. Returns the memory error (then *used is unchanged).
OSErr CAddPSinBuffer(Handle h, ConstStringPtr s, int32_t* used);
// Inserts the characters at `offset` (0..*used), shifting what follows, and
// advances *used. An offset outside that range does nothing.
OSErr CInsertPSinBuffer(Handle h, ConstStringPtr s, int32_t* used, int32_t offset);
// Replaces every occurrence of `pattern` in the whole block by `replacement`,
// in place. Nothing happens when either is null or empty, when their lengths
// differ, or when they are equal.
void CreplacePSinBuffer(Handle h, ConstStringPtr pattern, ConstStringPtr replacement);
