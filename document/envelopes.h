// Envelopes: tables of 512 doubles, normally in [0, 1], read as a function of
// a position from 0 to 511 with linear interpolation between entries. A
// curve-function table record groups four envelopes (A, B, C, D) with a
// display descriptor each, fills them with standard curves, and loads or
// saves one as a double-table file ('Qjtb'; 'wave' and 'fenv' tables load
// too).
//
// The lookups are pure and cheap, meant to be called per sample. Loading and
// saving run on the main thread; the open and save dialogs are the callers'
// (their preview hook is foundation's GenericPreviewHookProc, which draws
// nothing).
#pragma once

#include <cstdint>
#include <string>

#include "foundation/types.h"
#include "platform/files.h"

inline constexpr int32_t kEnvelopeLength = 512;
inline constexpr double kEnvelopeLast = 511.0;
inline constexpr OSType kEnvelopeFileType = fourcc("Qjtb");
inline constexpr OSType kEnvelopeCreator = fourcc("QjMs");
inline constexpr OSType kEnvelopeExtension = fourcc("enve");
inline constexpr OSType kWaveTableType = fourcc("wave");
inline constexpr OSType kFormantTableType = fourcc("fenv");

// How an envelope is shown in an editor.
struct KVcurveDescriptor
{
  uint16_t count;    // entries, 512
  uint8_t setting1;  // 1
  uint8_t setting2;  // 0
  double factor;     // 1.0
  normalcolor color;
  uint8_t setting3;  // 0
};

// A curve-function table record: four envelopes in one 16,384-byte area.
struct CFtable
{
  double* tables[4];  // A, B, C, D
  KVcurveDescriptor descriptors[4];
  int16_t settings[4];  // settings[2] is the curve parameter (2)
  uint8_t flag;
  double maxPosition;  // 511.0
};

// The last envelope file loaded (folder and name). The folder starts as the
// application's folder, the name empty.
extern FileRef gTablesspec;

// Points the record's tables into `area` (2,048 doubles), sets the defaults
// and fills A, B, C, D with the standard curves 3, 2, 4 and 7.
void Init_CFtable(double* area, CFtable* record);
// Fills `table` with n entries of standard curve `curveType`.
void Create_CFtable(int32_t n, const CFtable* record, double* table, int16_t curveType);
// Nothing to reset; kept for the editors that call it.
void Reset_CFtable();

// Loads the chosen file into table `index` of `tables` (n entries): an
// envelope file is read as it is (resampled and fitted to [0, 1] when
// shorter, clamped to [0, 1] otherwise); a 'wave' or 'fenv' table is
// resampled (a wave mapped from [-1, 1] to [0, 1]). Returns 1 and remembers
// the file in gTablesspec; 0 with the envelope unchanged when the file
// cannot be read, is empty or is of another type. A file without a type (no
// known extension, no type attribute) is read as an envelope.
int16_t read_Envelope(int32_t n, double* const* tables, int16_t index, const FileRef& file);
// The name a save dialog proposes: the last loaded name without a trailing
// ".enve"-like 5 characters when it ends in "ve" and is longer than 5.
std::string write_EnvelopeDefaultName();
// Writes table `index` (n entries) as an envelope file; 0 or the failure.
OSErr write_Envelope(int32_t n, double* const* tables, int16_t index, const FileRef& file);

// Value at a position: linear between entries, entry 511 from 511 on, entry 0
// below 0 or for a position that is not finite. Returns the index reached.
int32_t EVT_GetEnvelopeValue(const double* table, double* out, double position);
// As EVT_GetEnvelopeValue, but both entries wrap modulo 512.
void EVT_GetEnvelopeValueWrap(const double* table, double* out, double position);
// The value at |x| x scale, negated for a negative x.
int32_t GetEnvelopeLookUp(const double* table, double scale, double* out, float x);
// The value at step n of `count` steps (position n x 511 / count).
int32_t GetEnvelopeValue(const double* table, double* out, int32_t n, int32_t count);

void EVT_GetEnvelopeABValues(const CFtable* record, double* a, double* b, double position);
void EVT_GetEnvelopeABCValues(const CFtable* record, double* a, double* b, double* c,
                              double position);
void EVT_GetEnvelopeCDValues(const CFtable* record, double* c, double* d, double position);
// Any of the four (null outputs are skipped).
void EVT_GetAllMonoEnvelopes(const CFtable* record, double* a, double* b, double* c, double* d,
                             double position);
// A, B and C (c may be null) at step n of count.
void GetEnvelopesABCValues(const CFtable* record, double* a, double* b, double* c, int32_t n,
                           int32_t count);
void GetEnvelopesCDValues(const CFtable* record, double* c, double* d, int32_t n, int32_t count);
