// Sequence files ('smas', 3184 bytes) and custom scale files ('csca', 26
// bytes), big-endian, field by field.
#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "foundation/filenames.h"
#include "foundation/iodata.h"
#include "sound/sequencer.h"
#include "ui/filedialogs.h"

namespace {

constexpr char kOpenSequencePrompt[] = "Open Sequence";
constexpr char kSaveScalePrompt[] = "Save Custom Scale ...";
constexpr char kOpenScalePrompt[] = "Open Custom Scale file...";

void setPascal(unsigned char* pascal, const char* text)
{
  const size_t n = std::min<size_t>(std::strlen(text), 255);
  pascal[0] = uint8_t(n);
  std::memcpy(pascal + 1, text, n);
}

// Fields of a stored sequence that could index past the record's arrays or
// divide by zero are refused before anything is taken.
bool storedSequenceIsSound(const unsigned char* bytes, int64_t size)
{
  const int32_t count = be::get_i32(bytes + 8);
  if (count < 0 || count > kSeqMaxNotes)
    return false;
  if (size < kSeqNotesAt + int64_t(kSeqNoteSize) * count)
    return false;
  if (be::get_u16(bytes + 2) > 11)
    return false;
  const uint16_t customCount = be::get_u16(bytes + 96);
  if (customCount < 1 || customCount > 12)
    return false;
  for (int i = 0; i < 12; ++i)
    if (bytes[98 + i] > 11)
      return false;
  return true;
}

void readNote(const unsigned char* p, SeqNote* note)
{
  note->start = be::get_u32(p);
  note->end = be::get_u32(p + 4);
  note->key = std::min<uint8_t>(p[8], 127);
  note->velocity = p[9];
  note->selected = p[10];
  note->flag = p[11];
}

void messageFailure()
{
  PlayAlertSound();
}

}  // namespace

void SmallSequencerToBytes(const SmallSequencer& seq, unsigned char out[kSeqFileSize])
{
  std::memset(out, 0, kSeqFileSize);
  be::put_u16(out, seq.kind);
  be::put_u16(out + 2, seq.root);
  be::put_i16(out + 4, seq.measures);
  be::put_i16(out + 6, seq.beats);
  const int32_t count = std::clamp(seq.noteCount, 0, kSeqMaxNotes);
  be::put_i32(out + 8, count);
  be::put_f64(out + 12, seq.tempo);
  std::memcpy(out + 20, seq.options, 70);
  be::put_u16(out + 90, seq.option1);
  be::put_u16(out + 94, seq.option3);
  be::put_u16(out + 96, seq.customCount);
  std::memcpy(out + 98, seq.customDegrees, 12);
  for (int32_t i = 0; i < count; ++i) {
    unsigned char* p = out + kSeqNotesAt + kSeqNoteSize * i;
    const SeqNote& note = seq.notes[i];
    be::put_u32(p, note.start);
    be::put_u32(p + 4, note.end);
    p[8] = note.key;
    p[9] = note.velocity;
    p[10] = note.selected;
    p[11] = note.flag;
  }
}

bool SmallSequencerFromBytes(SmallSequencer* seq, const unsigned char* bytes, int64_t size)
{
  if (!bytes || size < kSeqNotesAt || !storedSequenceIsSound(bytes, size))
    return false;
  seq->kind = be::get_u16(bytes);
  seq->root = be::get_u16(bytes + 2);
  seq->measures = be::get_i16(bytes + 4);
  seq->beats = be::get_i16(bytes + 6);
  seq->noteCount = be::get_i32(bytes + 8);
  seq->tempo = be::get_f64(bytes + 12);
  std::memcpy(seq->options, bytes + 20, 70);
  seq->option1 = be::get_u16(bytes + 90);
  seq->option3 = be::get_u16(bytes + 94);
  seq->customCount = be::get_u16(bytes + 96);
  std::memcpy(seq->customDegrees, bytes + 98, 12);
  for (int32_t i = 0; i < seq->noteCount; ++i)
    readNote(bytes + kSeqNotesAt + kSeqNoteSize * i, &seq->notes[i]);
  // Beats are raised before the measures are fitted to the last note, which
  // divides by them.
  seq->beats = std::max<int16_t>(seq->beats, 1);
  seq->measures = std::max<int16_t>(seq->measures, 1);
  if (seq->noteCount > 0) {
    const int64_t measureTicks = int64_t(seq->beats) * kSeqTicksPerBeat;
    const int64_t needed = seq->notes[seq->noteCount - 1].end / measureTicks;
    seq->measures = int16_t(std::clamp<int64_t>(needed, seq->measures, INT16_MAX));
  }
  return true;
}

bool SmallSequencer_Write(SmallSequencer* seq, frefinfos* record)
{
  record->type = kSeqFileType;
  unsigned char bytes[kSeqFileSize];
  SmallSequencerToBytes(*seq, bytes);
  if (!xWriteBuffer(bytes, kSeqFileSize, record->parent, record->name, kSeqFileType, kSeqCreator)) {
    messageFailure();
    return false;
  }
  seq->file = *record;
  seq->file.state = 3;
  return true;
}

bool SmallSequencer_Read(SmallSequencer* seq, frefinfos* record)
{
  frefinfos chosen;
  if (!record) {
    chosen.type = kSeqFileType;
    SetUpNavUserDatas(&gIOdata, 0, kSeqCreator, kSeqFileType);
    gIOdata.previewHook = mySEQPreviewHookProc;
    setPascal(gIOdata.prompt, kOpenSequencePrompt);
    if (!xEFILE_GET(chosen))
      return false;
    record = &chosen;
  }
  FileRef ref;
  if (!App_frefinfos2fSRef(*record, &ref))
    return false;
  const auto bytes = xReadBuffer(ref);
  if (!bytes || !SmallSequencerFromBytes(seq, bytes->data(), int64_t(bytes->size())))
    return false;
  seq->file = *record;
  seq->file.state = 3;
  return true;
}

bool SmallSequencer_ReadInfos(const frefinfos* record, uint16_t* option3, uint16_t* beats,
                              double* tempo)
{
  FileRef ref;
  if (!record || !App_frefinfos2fSRef(*record, &ref))
    return false;
  const auto bytes = xReadBuffer(ref);
  if (!bytes || bytes->size() < size_t(kSeqNotesAt))
    return false;
  const unsigned char* p = bytes->data();
  const int32_t measures = std::max<int16_t>(be::get_i16(p + 4), 1);
  const int32_t perMeasure = std::max<int16_t>(be::get_i16(p + 6), 1);
  *option3 = be::get_u16(p + 94);
  *beats = uint16_t(std::min(measures * perMeasure, 0xFFFF));
  *tempo = be::get_f64(p + 12);
  return true;
}

bool CustomScaleFromBytes(const unsigned char* bytes, int64_t size, uint16_t scale[13])
{
  if (!bytes || size < kCustomScaleFileSize)
    return false;
  uint16_t read[13];
  for (int i = 0; i < 13; ++i)
    read[i] = be::get_u16(bytes + 2 * i);
  if (read[0] < 1 || read[0] > 12)
    return false;
  for (int i = 1; i <= 12; ++i)
    if (read[i] > 11)
      return false;
  std::memcpy(scale, read, sizeof read);
  return true;
}

void CustomScale_Write(const uint16_t scale[13], const FileRef* ref)
{
  frefinfos record;
  record.type = kCustomScaleType;
  if (ref) {
    record.parent = ref->parentRef();
    setPascal(record.name, ref->name.substr(0, 63).c_str());
  } else {
    setPascal(record.name, "Untitled");
    setPascal(gIOdata.prompt, kSaveScalePrompt);
    gIOdata.previewHook = nullptr;
    if (!xEFILE_PUT(record))
      return;
  }
  unsigned char bytes[kCustomScaleFileSize];
  for (int i = 0; i < 13; ++i)
    be::put_u16(bytes + 2 * i, scale[i]);
  if (!xWriteBuffer(bytes, kCustomScaleFileSize, record.parent, record.name, kCustomScaleType,
                    kSeqCreator))
    messageFailure();
}

bool CustomScale_Read(const FileRef* ref, uint16_t scale[13])
{
  FileRef file;
  if (ref)
    file = *ref;
  else {
    frefinfos record;
    record.type = kCustomScaleType;
    SetUpNavUserDatas(&gIOdata, 0, kSeqCreator, kCustomScaleType);
    gIOdata.previewHook = GenericPreviewHookProc;
    setPascal(gIOdata.prompt, kOpenScalePrompt);
    if (!xEFILE_GET(record) || !App_frefinfos2fSRef(record, &file))
      return false;
  }
  const auto bytes = xReadBuffer(file);
  return bytes && CustomScaleFromBytes(bytes->data(), int64_t(bytes->size()), scale);
}
