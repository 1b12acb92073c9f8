#include "ui/tabledialogs.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "document/envelopes.h"
#include "foundation/doubletables.h"
#include "foundation/filenames.h"
#include "ui/dialoghalves_pvt.h"
#include "ui/filedialogs.h"

namespace {

// The prompt of a table save dialog: spectra, wave tables and formant
// envelopes have their own; other tables keep the caller's prompt, or a
// general one when there is none.
void setTableSavePrompt(OSType type, OSType extension)
{
  if (extension == fourcc("sp.L") || extension == fourcc("SPCT"))
    kvdlg::setPrompt("Save spectrum datas");
  else if (type == fourcc("wave"))
    kvdlg::setPrompt("Save Wave Table");
  else if (type == fourcc("fenv"))
    kvdlg::setPrompt("Save Formant envelope");
  else if (gIOdata.prompt[0] == 0)
    kvdlg::setPrompt("Save datas");
}

// The record's name from a UTF-8 name, cut to what the record holds.
void setRecordName(frefinfos* record, const std::string& name)
{
  size_t n = std::min<size_t>(name.size(), sizeof record->name - 1);
  record->name[0] = uint8_t(n);
  std::memcpy(record->name + 1, name.data(), n);
}

}  // namespace

int32_t SFread_table(double* dvector, int32_t maximum, frefinfos* record, OSType type)
{
  kvdlg::setTypes({type}, gIOdata.previewHook);
  if (type == fourcc("Qjtb") || type == fourcc("wave"))
    kvdlg::setPrompt("Open Wave Table");
  FileRef chosen;
  if (!xMASTER_FILE_GET(&chosen))
    return 0;
  int32_t count = lowread_table(dvector, maximum, chosen);
  if (record) {
    record->parent = chosen.parentRef();
    setRecordName(record, chosen.name);
  }
  return count;
}

int16_t SFwrite_table(const double* dvector, int32_t n, frefinfos* record, OSType type,
                      OSType creator, OSType extension)
{
  if (!record)
    return 0;
  if (extension != 0)
    ConcatExtension(record->name, extension, 4);
  setTableSavePrompt(type, extension);
  record->type = type;
  gIOdata.previewHook = nullptr;
  gIOdata.browseFolders = 1;
  if (!xEFILE_PUT(*record))
    return 0;
  return directwrite_table(dvector, n, *record, type, creator) == noErr ? 1 : 0;
}

int16_t read_Envelope(int32_t n, double* const* tables, int16_t index, FileRef* chosen)
{
  kvdlg::setTypes({kEnvelopeFileType, kWaveTableType, kFormantTableType}, GenericPreviewHookProc);
  kvdlg::setPrompt("Open Envelope");
  FileRef file;
  if (!xMASTER_FILE_GET(&file))
    return 0;
  if (chosen)
    *chosen = file;
  return read_Envelope(n, tables, index, file);
}

int16_t write_Envelope(int32_t n, double* const* tables, int16_t index)
{
  if (!tables || index < 0 || index > 3 || !tables[index])
    return 0;
  gIOdata.previewHook = GenericPreviewHookProc;
  kvdlg::setPrompt("Save Envelope");
  frefinfos record;
  record.parent = gTablesspec.parentRef();
  setRecordName(&record, write_EnvelopeDefaultName());
  return SFwrite_table(tables[index], n, &record, kEnvelopeFileType, kEnvelopeCreator,
                       kEnvelopeExtension);
}
