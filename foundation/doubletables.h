// Double-table files: wave tables ('wave'), formant envelopes ('fenv'),
// spectra ('SPCT') and other curve tables ('Qjtb'). The file holds nothing
// but IEEE 754 doubles, big-endian, one after another from offset 0; the
// count is the file size divided by 8 (rounded down).
#pragma once

#include <cstdint>

#include "foundation/fileio.h"
#include "foundation/types.h"
#include "platform/files.h"

// Reads n doubles at offset of an open fork (bytes past the end read as 0.0).
// Returns offset + n * 8, or -1 when the read fails or the range passes the
// 32-bit offsets.
int32_t read_UNIdouble(double* dvector, int32_t n, int16_t fork, int32_t offset);
// Writes n doubles big-endian at offset. Returns offset + n * 8, or -1 when
// the write fails (nothing is ever written in the machine's byte order).
int32_t write_UNIdouble(const double* dvector, int32_t n, int16_t fork, int32_t offset);

// Reads min(maximum, file size / 8) doubles from the start of the file;
// returns that count, 0 when the file cannot be opened, is empty or cannot
// be read.
int32_t lowread_table(double* dvector, int32_t maximum, const FileRef& ref);
// lowread_table on the record's file (its name in its folder).
int32_t directread_table(double* dvector, int32_t maximum, const frefinfos& record);
// Stores n doubles as the whole of the record's file (created with type and
// creator when missing, cut to n * 8 bytes when longer); the record takes the
// type and gIOdata's result reference the file. 0 on success, else the
// failure (ioErr when the file cannot be created or opened).
OSErr directwrite_table(const double* dvector, int32_t n, frefinfos& record, OSType type,
                        OSType creator);
