// Numbers as Pascal-string text and back, SMPTE time codes, and the clock.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// ---- Numbers to text ----

// Decimal text of v (a leading '-' for negative values).
void NumToString(int32_t v, StringPtr out);
// Value of an optional sign followed by decimal digits; the first other
// character ends the number. Wraps like 32-bit arithmetic on overflow.
void StringToNum(ConstStringPtr s, int32_t* v);

// Removes up to three decimal digits that end s (a counter being replaced),
// then appends v: "Frame0123" with 45 gives "Frame045".
void ConcatNumber(StringPtr s, int32_t v);
// As ConcatNumber; values 0..9 get a leading '0'.
void ConcatNumber10(StringPtr s, int16_t v);
// Cut s to 59 characters and append v with at least 3, 4 or 5 digits (leading
// zeros; a negative value gets its '-' before the zeros). Existing digits stay.
void ConcatNumber100(StringPtr s, int16_t v);
void ConcatNumber1000(StringPtr s, int16_t v);
void ConcatNumber10000(StringPtr s, int16_t v);
// Fixed-point text of *v with `decimals` decimals (0 to 9; more count as 9):
// 1.05 with 3 gives "1.050", -0.25 with 2 gives "-0.25", 7 with 0 gives "7.0".
void CExToStr(const double* v, int16_t decimals, StringPtr out);
// Replaces the number that ends a file name by v, keeping an extension of
// three or four characters: "Shot12.tiff" with 7 gives "Shot7.tiff".
void ConcatNumberBeforeExtension(StringPtr name, int32_t v);

// ---- Text to numbers ----

// Decimal value of s; "." or "," is the decimal point: "3,25" gives 3.25,
// "12." gives 12, "-0.5" gives -0.5.
double StrToEx(ConstStringPtr s);
// The number that ends a file name before its extension; the name loses it:
// "Shot12.tiff" gives 12 and "Shot.tiff". -1 (name unchanged) when there is
// no such number.
int32_t ExtractNumber(StringPtr name);
// A colour component: v truncated toward zero and clamped to 0..255.
uint8_t ExToCcomp(double v);
// Has no effect; nothing in the program reads 96-bit extended values.
void extended96ToDouble();
// The angle of the vector (x, y) in [0, 2 pi).
double SinToAngle(double x, double y);

// ---- Time codes ----
// A packed time word holds whole minutes in its low 16 bits and seconds
// (0..59) in its high 16 bits; a frame number within the second goes beside.

// Splits a frame count at `framesPerSecond` into the packed time word
// (returned in *packedTime) and the frame within the second (the result).
// A rate of 0 or less gives time 0 and frame 0.
int16_t FramesToSMPTE(int32_t frameCount, int32_t framesPerSecond, int32_t* packedTime);
// "minutes:seconds:frames" with two-digit seconds and frame: 3 minutes,
// 5 seconds, frame 7 gives "3:05:07".
void SMPTEToString(int32_t packedTime, int16_t frame, StringPtr out);
// Appends the SMPTEToString text to s.
void AddSMPTEToString(int32_t packedTime, int16_t frame, StringPtr s);

// ---- Clock (monotonic, counted from system start) ----

// Milliseconds, with microsecond resolution.
double GetMillisecondTime();
// Ticks of 1/60 second.
uint32_t TickCount();
// Waits (sleeping) until TickCount has advanced by `ticks`; under the
// scripted clock (platform/clock.h) the clock moves on by that much instead.
void doDelay(int32_t ticks);
