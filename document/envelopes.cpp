#include "document/envelopes.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "foundation/checked.h"
#include "foundation/curves.h"
#include "foundation/doubletables.h"
#include "foundation/fileio.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "foundation/vectors.h"

FileRef gTablesspec;

namespace {

constexpr int32_t kLastEntry = kEnvelopeLength - 1;
constexpr int32_t kMaxForeignTable = 2048;  // entries read from a 'wave' or 'fenv' table
constexpr size_t kTableStride = 4096 / sizeof(double);

constexpr normalcolor kDescriptorColors[4] = {
    {0, 255, 0, 0}, {0, 0, 255, 0}, {0, 239, 64, 175}, {0, 64, 160, 255}};

// Interpolated value at a position already known to be finite and >= 0.
double interpolate(const double* table, double position, int32_t* index)
{
  if (position >= kEnvelopeLast) {
    *index = kLastEntry;
    return table[kLastEntry];
  }
  const int32_t i = int32_t(position);  // 0..510
  *index = i;
  return table[i] + (position - i) * (table[i + 1] - table[i]);
}

double stepPosition(int32_t n, int32_t count)
{
  return count > 0 ? double(n) * kEnvelopeLast / count : 0.0;
}

bool endsWith(const std::string& s, std::string_view tail)
{
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

void Init_CFtable(double* area, CFtable* record)
{
  gTablesspec = FileRef{kvfs::executableFolder().path(), ""};
  record->settings[0] = 0;
  record->settings[1] = 0;
  record->settings[2] = 2;
  record->settings[3] = 0;
  record->flag = 0;
  for (int i = 0; i < 4; ++i) {
    record->descriptors[i] =
        KVcurveDescriptor{uint16_t(kEnvelopeLength), 1, 0, 1.0, kDescriptorColors[i], 0};
    record->tables[i] = area + kTableStride * size_t(i);
  }
  record->maxPosition = kEnvelopeLast;
  const int16_t curves[4] = {3, 2, 4, 7};
  for (int i = 0; i < 4; ++i)
    Create_CFtable(kEnvelopeLength, record, record->tables[i], curves[i]);
}

void Create_CFtable(int32_t n, const CFtable* record, double* table, int16_t curveType)
{
  const double parameter = record->settings[2];
  switch (curveType) {
    case 1:
      dvector_Curve(table, n, curveType, gopt != 0 ? 0.5 : 1.0);
      break;
    case 4:
      dvector_Curve(table, n, curveType, 16.0);
      break;
    case 9:
      dvector_Curve(table, n, curveType, 8 * parameter);
      break;
    case 16:
    case 18:
    case 19:
      dvector_Curve(table, n, curveType, parameter);
      for (int32_t i = 0; i < n; ++i)
        table[i] = 0.5 * table[i] + 0.5;
      break;
    default:
      dvector_Curve(table, n, curveType, parameter);
      break;
  }
}

void Reset_CFtable() {}

int16_t read_Envelope(int32_t n, double* const* tables, int16_t index, const FileRef& file)
{
  if (n <= 0 || index < 0 || index > 3 || tables[index] == nullptr)
    return 0;
  double* envelope = tables[index];
  // A file that neither its name nor its attributes type is taken as an
  // envelope: double tables carry no signature of their own.
  OSType type = xFile_getType(file);
  if (type == 0)
    type = kEnvelopeFileType;
  if (type == kEnvelopeFileType) {
    // Read into a scratch table first: the envelope changes only when the
    // file gave something.
    std::unique_ptr<double[]> read(new (std::nothrow) double[size_t(n)]);
    if (read == nullptr)
      return 0;
    const int32_t got = lowread_table(read.get(), n, file);
    if (got <= 0)
      return 0;
    if (got < n) {
      dvector_resample(read.get(), envelope, got, n);
      dvector_fitToRange(envelope, n, 0.0, 1.0);
    } else {
      std::copy(read.get(), read.get() + n, envelope);
      dvector_MinMax(envelope, n, 0.0, 1.0);
    }
  } else if (type == kWaveTableType || type == kFormantTableType) {
    std::unique_ptr<double[]> read(new (std::nothrow) double[kMaxForeignTable]);
    if (read == nullptr)
      return 0;
    const int32_t got = lowread_table(read.get(), kMaxForeignTable, file);
    if (got <= 0)
      return 0;
    dvector_resample(read.get(), envelope, got, n);
    if (type == kWaveTableType)
      for (int32_t i = 0; i < n; ++i)
        envelope[i] = 0.5 * envelope[i] + 0.5;
  } else {
    return 0;
  }
  gTablesspec = file;
  return 1;
}

std::string write_EnvelopeDefaultName()
{
  std::string name = gTablesspec.name;
  if (name.size() > 5 && endsWith(name, "ve"))
    name.resize(name.size() - 5);
  return name;
}

OSErr write_Envelope(int32_t n, double* const* tables, int16_t index, const FileRef& file)
{
  if (n <= 0 || index < 0 || index > 3 || tables[index] == nullptr)
    return paramErr;
  frefinfos record;
  record.parent = file.parentRef();
  SetPString(record.name, file.name.c_str());
  return directwrite_table(tables[index], n, record, kEnvelopeFileType, kEnvelopeCreator);
}

int32_t EVT_GetEnvelopeValue(const double* table, double* out, double position)
{
  if (!(position >= 0) || !std::isfinite(position)) {
    *out = table[0];
    return 0;
  }
  int32_t index = 0;
  *out = interpolate(table, position, &index);
  return index;
}

void EVT_GetEnvelopeValueWrap(const double* table, double* out, double position)
{
  if (!std::isfinite(position)) {
    *out = table[0];
    return;
  }
  const double cell = std::floor(position);
  const double within = std::fmod(cell, double(kEnvelopeLength));  // exact for whole numbers
  const int32_t i = int32_t(within < 0 ? within + kEnvelopeLength : within);
  const int32_t j = (i + 1) % kEnvelopeLength;
  *out = table[i] + (position - cell) * (table[j] - table[i]);
}

int32_t GetEnvelopeLookUp(const double* table, double scale, double* out, float x)
{
  const double position = std::fabs(double(x)) * scale;
  int32_t index = EVT_GetEnvelopeValue(table, out, position);
  if (x < 0)
    *out = -*out;
  return index;
}

int32_t GetEnvelopeValue(const double* table, double* out, int32_t n, int32_t count)
{
  return EVT_GetEnvelopeValue(table, out, stepPosition(n, count));
}

void EVT_GetEnvelopeABValues(const CFtable* record, double* a, double* b, double position)
{
  EVT_GetAllMonoEnvelopes(record, a, b, nullptr, nullptr, position);
}

void EVT_GetEnvelopeABCValues(const CFtable* record, double* a, double* b, double* c,
                              double position)
{
  EVT_GetAllMonoEnvelopes(record, a, b, c, nullptr, position);
}

void EVT_GetEnvelopeCDValues(const CFtable* record, double* c, double* d, double position)
{
  EVT_GetAllMonoEnvelopes(record, nullptr, nullptr, c, d, position);
}

void EVT_GetAllMonoEnvelopes(const CFtable* record, double* a, double* b, double* c, double* d,
                             double position)
{
  double* const outs[4] = {a, b, c, d};
  for (int i = 0; i < 4; ++i)
    if (outs[i] != nullptr)
      EVT_GetEnvelopeValue(record->tables[i], outs[i], position);
}

void GetEnvelopesABCValues(const CFtable* record, double* a, double* b, double* c, int32_t n,
                           int32_t count)
{
  EVT_GetAllMonoEnvelopes(record, a, b, c, nullptr, stepPosition(n, count));
}

void GetEnvelopesCDValues(const CFtable* record, double* c, double* d, int32_t n, int32_t count)
{
  EVT_GetAllMonoEnvelopes(record, nullptr, nullptr, c, d, stepPosition(n, count));
}
