// The open and save dialogs of double-table files (wave tables, formant
// envelopes, spectra) and of envelopes; the reading and writing are the
// file layer's and the envelope module's.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/fileio.h"

// Asks for a file of `type` ("Open Wave Table" for 'Qjtb' and 'wave', the
// caller's prompt otherwise) and reads at most `maximum` doubles from it;
// the record gets the file's folder and name. The count, 0 on a cancel or
// an empty read.
int32_t SFread_table(double* dvector, int32_t maximum, frefinfos* record, OSType type);
// Asks where to save n doubles (the record's name, with the extension code
// appended when it is not 0) and writes them with the type and creator:
// 1 when written; 0 on a cancel or when the file cannot be created or
// written.
int16_t SFwrite_table(const double* dvector, int32_t n, frefinfos* record, OSType type,
                      OSType creator, OSType extension);

// Asks for an envelope, wave-table or formant file ("Open Envelope") and
// loads it into table `index` (n entries); *chosen gets the file. 1 when
// loaded; 0 on a cancel or when the file cannot be read.
int16_t read_Envelope(int32_t n, double* const* tables, int16_t index, FileRef* chosen);
// Asks where to save table `index` ("Save Envelope", the last loaded name
// less its envelope extension) and writes it as an envelope file: 1 when
// written, else 0.
int16_t write_Envelope(int32_t n, double* const* tables, int16_t index);
