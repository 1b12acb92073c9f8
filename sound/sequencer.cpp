#include "sound/sequencer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

struct ScaleDef
{
  uint8_t count;
  uint8_t degrees[12];
};

// Kinds 0..15; kind 10 (custom) and 11 (chromatic) are handled apart.
constexpr ScaleDef kScales[16] = {
    {7, {0, 2, 4, 5, 7, 9, 11}},
    {7, {0, 2, 3, 5, 7, 8, 10}},
    {7, {0, 2, 3, 5, 7, 8, 11}},
    {7, {0, 2, 3, 5, 7, 9, 11}},
    {7, {0, 2, 4, 5, 7, 8, 11}},
    {7, {0, 1, 3, 5, 7, 9, 11}},
    {7, {0, 2, 3, 6, 7, 8, 11}},
    {7, {0, 3, 4, 6, 7, 9, 10}},
    {7, {0, 1, 2, 3, 5, 8, 11}},
    {8, {0, 2, 3, 5, 6, 8, 9, 11}},
    {0, {}},
    {12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    {5, {0, 2, 5, 7, 9}},
    {4, {0, 2, 7, 9}},
    {3, {0, 4, 7}},
    {6, {0, 2, 4, 6, 8, 10}},
};

struct PresetDef
{
  int16_t beats;
  int32_t count;
  uint32_t step;    // start of note n = step x n
  uint32_t length;  // end = start + length
  uint8_t keys[6];
  int32_t keyCycle;
};

constexpr PresetDef kPresets[5] = {
    {4, 16, 240, 120, {60}, 1},
    {4, 16, 240, 240, {48, 55, 60, 36}, 4},
    {4, 32, 120, 90, {48, 60, 67, 72}, 4},
    {6, 48, 120, 120, {60, 67, 72, 76, 72, 67}, 6},
    {4, 32, 120, 120, {60, 64, 67, 72}, 4},
};

bool isChromatic(const HarmonicKeys* table)
{
  return !table || table->kind == kScaleChromatic;
}

uint8_t heldKey(int32_t key)
{
  return uint8_t(std::clamp(key, 0, 127));
}

// The semitone above the root of r = key - root, stepped up (mod 12) to the
// next one in the scale.
int32_t scaleSemitone(const HarmonicKeys* table, int32_t r)
{
  int32_t s = r % 12;
  for (int32_t i = 0; i < 12 && table->map[s] == kNotInScale; ++i)
    s = (s + 1) % 12;
  return s;
}

int32_t rootOffset(const HarmonicKeys* table, uint16_t key)
{
  int32_t r = int32_t(key) - table->root;
  return r < 0 ? r + 12 : r;
}

void setName(unsigned char* pascal, const char* text)
{
  const size_t n = std::strlen(text);
  pascal[0] = uint8_t(n);
  std::memcpy(pascal + 1, text, n);
}

}  // namespace

int16_t SetStdGridTicks(int16_t index)
{
  switch (index) {
    case 0:
      return 30;
    case 1:
      return 60;
    case 3:
      return 240;
    case 4:
      return 480;
    case 5:
      return 960;
    case 7:
      return 40;
    case 8:
      return 80;
    case 9:
      return 160;
    case 10:
      return 320;
    case 12:
      return 90;
    case 13:
      return 180;
    case 14:
      return 360;
    default:
      return 120;
  }
}

// ---- Scales ------------------------------------------------------------------

void DefineHScale(uint8_t* degrees, uint8_t* count, int16_t kind)
{
  if (kind == kScaleCustom)
    return;
  if (kind < 0 || kind >= 16) {
    std::memset(degrees, 0, 12);
    *count = 7;
    return;
  }
  std::memcpy(degrees, kScales[kind].degrees, 12);
  *count = kScales[kind].count;
}

int16_t NearestKeyInScale(const HarmonicKeys* table, uint16_t key)
{
  if (isChromatic(table))
    return int16_t(key);
  auto inScale = [&](int32_t k) {
    const int32_t s = ((12 - table->root + k) % 12 + 12) % 12;
    return table->map[s] != kNotInScale;
  };
  if (inScale(key))
    return int16_t(key);
  for (int32_t d = 1; d <= 5; ++d) {
    if (inScale(key + d))
      return int16_t(key + d);
    if (inScale(key - d))
      return int16_t(key - d);
  }
  return int16_t(key);
}

void BuildNearestMapTable(HarmonicKeys* table)
{
  for (uint16_t k = 0; k < 128; ++k) {
    int32_t n = NearestKeyInScale(table, k);
    if (n < 0)
      n += 12;
    if (n >= 128)
      n -= 12;
    table->nearest[k] = uint8_t(n);
  }
}

void SetHarmonicScales(HarmonicKeys* table, int16_t kind, uint8_t root)
{
  table->kind = uint8_t(kind);
  table->root = uint8_t(std::min<int32_t>(root, 11));
  if (kind == kScaleCustom && table->customDegrees)
    std::memcpy(table->degrees, table->customDegrees, 12);
  else
    DefineHScale(table->degrees, &table->count, kind);
  if (kind == kScaleChromatic) {
    for (uint8_t i = 0; i < 12; ++i)
      table->map[i] = i;
  } else {
    std::memset(table->map, kNotInScale, 12);
    table->count = std::clamp<uint8_t>(table->count, 1, 12);
    for (uint8_t d = 0; d < table->count; ++d)
      table->map[table->degrees[d] % 12] = d;
  }
  BuildNearestMapTable(table);
}

int16_t FilterRealKey(const HarmonicKeys* table, int16_t key)
{
  if (!table)
    return key;
  return table->nearest[heldKey(key)];
}

int32_t GetHarmonicKey(const HarmonicKeys* table, uint16_t key)
{
  if (isChromatic(table))
    return key;
  const int32_t r = rootOffset(table, key);
  const int32_t octave = (r / 12) % 11;
  return octave * table->count + table->map[scaleSemitone(table, r)];
}

int32_t GetRealKey(const HarmonicKeys* table, int32_t index)
{
  if (isChromatic(table))
    return index;
  const int32_t count = table->count;
  if (index < 0)
    return table->degrees[((count + index) % count + count) % count] + table->root;
  return table->degrees[index % count] + table->root + (index / count) * 12;
}

int16_t GetHbaseIndex(const HarmonicKeys* table, uint16_t key)
{
  if (isChromatic(table))
    return int16_t(key % 12);
  return table->map[scaleSemitone(table, rootOffset(table, key))];
}

int16_t GetHarmonicIndex(const HarmonicKeys* table, uint16_t key, uint16_t* octave)
{
  if (isChromatic(table))
    return int16_t(key % 12);
  const int32_t r = rootOffset(table, key);
  if (octave)
    *octave = uint16_t((r / 12) % 11);
  return int16_t(scaleSemitone(table, r));
}

int32_t HKeyTranspose(const HarmonicKeys* table, uint16_t key, int32_t steps)
{
  if (steps == 0)
    return key;
  if (isChromatic(table))
    return key + steps;
  int32_t index = GetHarmonicKey(table, key) + steps;
  if (index < 0)
    index += table->count;
  return GetRealKey(table, index);
}

int32_t HKeyInvert(const HarmonicKeys* table, uint16_t key, uint16_t axis)
{
  if (isChromatic(table))
    return std::clamp(2 * int32_t(axis) - int32_t(key), 0, 127);
  int32_t index = 2 * GetHarmonicKey(table, axis) - GetHarmonicKey(table, key);
  if (index < 0)
    index += table->count;
  return std::clamp(GetRealKey(table, index), 0, 127);
}

uint32_t HMtoBits(const uint8_t* degrees, int16_t count, int16_t shift)
{
  uint32_t bits = 0;
  for (int16_t d = 0; d < std::clamp<int16_t>(count, 0, 12); ++d)
    bits |= 1u << ((((degrees[d] + shift + 12) % 12) + 12) % 12);
  return bits;
}

// ---- Record --------------------------------------------------------------------

void SmallSequencerPreset(SmallSequencer* seq, int16_t preset)
{
  if (preset < 0 || preset > 4)
    return;
  const PresetDef& p = kPresets[preset];
  seq->measures = 4;
  seq->beats = p.beats;
  seq->noteCount = p.count;
  for (int32_t n = 0; n < p.count; ++n) {
    SeqNote& note = seq->notes[n];
    note.start = p.step * uint32_t(n);
    note.end = note.start + p.length;
    note.key = p.keys[n % p.keyCycle];
    note.flag = 1;
  }
}

void CreateSmallSequencer(SmallSequencer* seq, HarmonicKeys* table, const FileRef* folder)
{
  seq->kind = 0;
  seq->root = 0;
  seq->measures = 4;
  seq->beats = 4;
  seq->tempo = 120.0;
  seq->options[6] = 0;
  seq->option1 = 0;
  seq->option2 = 0;
  seq->option3 = 1;
  seq->customCount = 12;
  for (uint8_t i = 0; i < 12; ++i)
    seq->customDegrees[i] = i;
  for (SeqNote& note : seq->notes)
    note = SeqNote{};
  SmallSequencerPreset(seq, 1);
  if (table) {
    table->customDegrees = seq->customDegrees;
    SetHarmonicScales(table, 0, 0);
  }
  seq->keys = table;
  seq->file = frefinfos{};
  seq->file.type = kSeqFileType;
  seq->file.state = 1;
  setName(seq->file.name, "Untitled");
  if (folder)
    seq->file.parent = *folder;
}

void SmallSequencerOrdernotes(SmallSequencer* seq)
{
  const int32_t count = std::clamp(seq->noteCount, 0, kSeqMaxNotes);
  for (int32_t last = count - 1; last > 0; --last) {
    int32_t best = 0;
    for (int32_t i = 1; i <= last; ++i)
      if (seq->notes[i].start >= seq->notes[best].start)
        best = i;
    std::swap(seq->notes[best], seq->notes[last]);
  }
}

int16_t SmallSequencerHasSel(const SmallSequencer* seq)
{
  for (int16_t i = 0; i < std::clamp(seq->noteCount, 0, kSeqMaxNotes); ++i)
    if (seq->notes[i].selected)
      return i;
  return -1;
}

int16_t SmallSequencerLastSel(const SmallSequencer* seq, int16_t from)
{
  int16_t last = -1;
  for (int16_t i = std::max<int16_t>(from, 0); i < std::clamp(seq->noteCount, 0, kSeqMaxNotes); ++i)
    if (seq->notes[i].selected)
      last = i;
  return last;
}

void SmallSequencerFindRange(const SmallSequencer* seq, uint16_t* low, uint16_t* high)
{
  uint16_t lo = 128, hi = 1;
  for (int32_t i = 0; i < std::clamp(seq->noteCount, 0, kSeqMaxNotes); ++i) {
    lo = std::min<uint16_t>(lo, seq->notes[i].key);
    hi = std::max<uint16_t>(hi, uint16_t(seq->notes[i].key + 1));
  }
  *low = lo;
  *high = hi;
}

void SmallSequencerRemap(SmallSequencer* seq)
{
  if (!seq->keys)
    return;
  for (int32_t i = 0; i < std::clamp(seq->noteCount, 0, kSeqMaxNotes); ++i)
    seq->notes[i].key = seq->keys->nearest[std::min<uint8_t>(seq->notes[i].key, 127)];
}

void SmallSequencerCopy(const SmallSequencer* src, SmallSequencer* dst, int32_t at)
{
  for (SeqNote& note : dst->notes)
    note.selected = 0;
  const int16_t first = SmallSequencerHasSel(src);
  if (first < 0)
    return;
  const int32_t base = int32_t(src->notes[first].start & 0xFFFF);
  for (int32_t i = 0; i < std::clamp(src->noteCount, 0, kSeqMaxNotes); ++i)
    if (src->notes[i].selected && dst->noteCount < kSeqMaxNotes)
      dst->notes[dst->noteCount++] = src->notes[i];
  if (at >= 0) {
    const int32_t shift = at - base;
    for (int32_t i = 0; i < dst->noteCount; ++i)
      if (dst->notes[i].selected) {
        dst->notes[i].start = uint32_t(std::max<int64_t>(0, int64_t(dst->notes[i].start) + shift));
        dst->notes[i].end = uint32_t(std::max<int64_t>(0, int64_t(dst->notes[i].end) + shift));
      }
  }
  SmallSequencerOrdernotes(dst);
}
