// Wave tables: one period of a waveform as n doubles in [-1, 1]. They are
// read from table files ('Qjtb', values 0..1, mapped to 2v - 1) or wave
// files ('wave', values -1..1) through the open dialog with a drawn
// preview, and reshaped by the table operations below.
//
// The operations take the source first; the destination is a second table
// of the same length or the source itself (an operation whose destination is
// its source works from a copy). Every index they compute is held to the
// table; doubles become indices through foundation's checked conversions.
// Main thread only (the dialogs, the modifier keys and the message string).
#pragma once

#include <cstdint>

#include "foundation/fileio.h"
#include "foundation/types.h"
#include "platform/files.h"

// Entries the dialog preview reads from a 'Qjtb' and from a 'wave' file.
inline constexpr int32_t kTablePreviewQjtbCount = 512;
inline constexpr int32_t kTablePreviewWaveCount = 2048;
// The preview's frame, centred in the dialog's preview area.
inline constexpr int16_t kTablePreviewWidth = 128, kTablePreviewHeight = 64;

// Asks for a 'Qjtb' or 'wave' file ("Open Wave Table", with the table
// preview) and reads up to n doubles of it into table; a shorter file is
// resampled to n entries, and a 'Qjtb' table is mapped to 2v - 1. False on a
// cancel and when the file holds no value (the table is then left as it
// was); the record gets the chosen file.
bool read_WaveTable(double* table, int32_t n, frefinfos* record);
// Reads the table file as read_WaveTable does after its dialog: up to n
// doubles, resampled to n, 'Qjtb' mapped to 2v - 1; false when the file
// holds no value.
bool WaveTable_ReadFile(double* table, int32_t n, const FileRef& file);

// The open dialog's preview hook: on a draw (click false) it draws the
// file's curve normalised in black on white in a 128 x 64 frame centred in
// the area, through the dialog's context (outside a dialog, a context on the
// current port): the first 512 values of a 'Qjtb' file, the first 2048 of a
// 'wave' file mapped to 0.5v + 0.5; without a table file the frame is
// cleared. Returns 0.
int32_t TablePreviewHookProc(OSType type, FileRef* file, Point topLeft, Point bottomRight,
                             bool click);

// The application's message string becomes "Multiply with " (option key),
// "Modulate with " (control key), "FadeIn with " (command key) or "Blend
// with ", followed by name.
void SetWaveEnvActionName(ConstStringPtr name);

// dst[k] = src[(k - n/2) x scale + n/2 truncated, held to 0..n-1]: a stretch
// about the centre whose ends clamp.
void ScaleXtable(const double* src, double* dst, double scale, int32_t n);
// j = (k - centre) x scale + centre truncated; dst[k] = src[j] inside
// 0..n-1; outside, 0.0 with zeroFlag, else the nearest end.
void NormScaleXtable(const double* src, double* dst, double scale, uint32_t n, double centre,
                     uint8_t zeroFlag);
// A copy (xscale 1.0) or ScaleXtable, then x yscale held to [-1, 1].
void ScaleXYwtable(const double* src, double* dst, double xscale, double yscale, int32_t n);
// A copy x scale (offset 0.0), else (v - offset) x scale + offset.
void NormScaleYtable(const double* src, double* dst, double scale, uint32_t n, double offset);
// In place by mode: 0 all 0.0; 8 sign(x) x^2; 9 1 - (1 - x)^2; 10 sign(x)
// (1 - (1 - |x|)^2); 12 normalised to a peak of 1.0; other modes leave it.
void scaletable(double* table, int32_t n, int16_t mode);
// The table becomes a sine period (curve 13) times a copy of itself read at
// twice the speed and turned by half a period (with the shift key held, the
// copy as it is).
void BalanceWtable(double* table, int32_t n);
// v = (k/n - 0.5) x (2a - 1) + src[k] - (b - 0.5); dst[k] = min(v, 1.0) when
// v >= lower, else lower (1 when lower is 2 or more).
void vectortable(const double* src, double* dst, double a, double b, int32_t lower, int32_t n);
// dst[k] = src[(k x step truncated + 64 n) mod n], the index held to 0..n-1;
// then the first min(64, n) entries m crossfade from the continuation past
// the end (weight 1 - m/64) into themselves, so that the table loops
// without a jump.
void shifttable(const double* src, double* dst, double step, int32_t n);
