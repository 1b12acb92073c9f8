// Editing commands on a sequence: selection, deletion, repetition, timing,
// pitch (following the sequence's scale) and velocity. Nothing allocates: the
// note array is edited in place with one temporary array of notes.
#include <algorithm>
#include <cstdint>

#include "foundation/checked.h"
#include "sound/sequencer.h"

namespace {

constexpr int64_t kShortestNote = 15;
constexpr int64_t kLatestTick = UINT32_MAX;

struct Edit
{
  SmallSequencer* seq;
  int32_t count;      // notes held
  bool hasSelection;  // otherwise every note is affected

  bool affected(int32_t i) const { return !hasSelection || seq->notes[i].selected; }
  int32_t firstAffected() const
  {
    for (int32_t i = 0; i < count; ++i)
      if (affected(i))
        return i;
    return -1;
  }
  int32_t lastAffected() const
  {
    for (int32_t i = count - 1; i >= 0; --i)
      if (affected(i))
        return i;
    return -1;
  }
  // The start of the first selected note, note 0's when none is selected.
  int64_t anchor() const
  {
    const int32_t first = hasSelection ? firstAffected() : 0;
    return first >= 0 && first < count ? seq->notes[first].start : 0;
  }
  int64_t length() const
  {
    return int64_t(std::max<int16_t>(seq->measures, 1)) * std::max<int16_t>(seq->beats, 1) *
           kSeqTicksPerBeat;
  }
  bool append(const SeqNote& note)
  {
    if (count >= kSeqMaxNotes)
      return false;
    seq->notes[count++] = note;
    seq->noteCount = count;
    return true;
  }
};

uint8_t keyByte(int64_t key)
{
  return uint8_t(std::clamp<int64_t>(key, 0, 127));
}

// A start tick stops at 0 and at the latest tick; the note keeps its length
// as far as the tick range allows.
void placeNote(SeqNote& note, int64_t start, int64_t length)
{
  start = std::clamp<int64_t>(start, 0, kLatestTick);
  note.start = uint32_t(start);
  note.end = uint32_t(std::clamp<int64_t>(start + length, 0, kLatestTick));
}

int64_t lengthOf(const SeqNote& note)
{
  return int64_t(note.end) - int64_t(note.start);
}

bool inScale(const HarmonicKeys* keys)
{
  return keys && keys->kind != kScaleChromatic;
}

// The key `steps` degrees (semitones without a scale) above key.
int64_t keyAbove(const HarmonicKeys* keys, uint8_t key, int32_t steps)
{
  if (!inScale(keys))
    return int64_t(key) + steps;
  int32_t index = GetHarmonicKey(keys, key) + steps;
  if (index < 0)
    index += keys->count;
  return GetRealKey(keys, index);
}

int64_t keyCentre(const SmallSequencer* seq)
{
  uint16_t low = 0, high = 0;
  SmallSequencerFindRange(seq, &low, &high);
  return (int64_t(low) + high) / 2;
}

void clear(Edit& e)
{
  int32_t kept = 0;
  if (e.hasSelection)
    for (int32_t i = 0; i < e.count; ++i)
      if (!e.seq->notes[i].selected)
        e.seq->notes[kept++] = e.seq->notes[i];
  e.count = e.seq->noteCount = kept;
}

void repeatFirstHalf(Edit& e)
{
  const int64_t half = e.length() / 2;
  int32_t kept = 0;
  for (int32_t i = 0; i < e.count; ++i)
    if (e.seq->notes[i].start < half)
      e.seq->notes[kept++] = e.seq->notes[i];
  e.count = e.seq->noteCount = kept;
  for (int32_t i = 0; i < kept; ++i) {
    SeqNote copy = e.seq->notes[i];
    placeNote(copy, copy.start + half, lengthOf(copy));
    copy.selected = 1;
    if (!e.append(copy))
      break;
  }
}

void doubleSpeed(Edit& e, SeqNote* scratch)
{
  const int64_t anchor = e.anchor();
  int64_t span = e.length();
  if (e.hasSelection) {
    int64_t u = e.seq->notes[e.lastAffected()].end / kSeqTicksPerBeat;
    if (u % 2)
      ++u;
    span = ((u * kSeqTicksPerBeat - anchor + 60) / kSeqTicksPerBeat) * kSeqTicksPerBeat;
  }
  int32_t moved = 0;
  for (int32_t i = 0; i < e.count; ++i)
    if (e.affected(i)) {
      SeqNote& note = e.seq->notes[i];
      const int64_t start = anchor + (int64_t(note.start) - anchor) / 2;
      const int64_t end = anchor + (int64_t(note.end) - anchor) / 2;
      placeNote(note, start, end - start);
      scratch[moved++] = note;
    }
  SmallSequencerOrdernotes(e.seq);
  const int64_t half = span / 2;
  for (int32_t i = 0; i < moved; ++i) {
    SeqNote copy = scratch[i];
    placeNote(copy, copy.start + half, lengthOf(copy));
    if (!e.append(copy))
      break;
  }
  SmallSequencerOrdernotes(e.seq);
}

// 'slow' doubles lengths as they are; 'tsca' keeps notes 15 ticks or longer.
void scaleTime(Edit& e, double factor, int64_t shortest)
{
  const int64_t anchor = e.anchor();
  for (int32_t i = 0; i < e.count; ++i)
    if (e.affected(i)) {
      SeqNote& note = e.seq->notes[i];
      const int64_t length =
          std::max<int64_t>(shortest, kvnum::sat_i32(double(lengthOf(note)) * factor));
      placeNote(note, kvnum::sat_i32((int64_t(note.start) - anchor) * factor + anchor), length);
    }
}

void invertTime(Edit& e)
{
  const int32_t first = e.hasSelection ? e.firstAffected() : 0;
  const int32_t last = e.hasSelection ? e.lastAffected() : e.count - 1;
  if (first < 0 || last < 0)
    return;
  const int64_t ab = int64_t(e.seq->notes[first].start) + e.seq->notes[last].start;
  for (int32_t i = 0; i < e.count; ++i)
    if (e.affected(i))
      placeNote(e.seq->notes[i], ab - e.seq->notes[i].start, lengthOf(e.seq->notes[i]));
}

void invertPitch(Edit& e)
{
  const int64_t c = keyCentre(e.seq);
  const HarmonicKeys* keys = e.seq->keys;
  for (int32_t i = 0; i < e.count; ++i)
    if (e.affected(i)) {
      SeqNote& note = e.seq->notes[i];
      note.key =
          keyByte(inScale(keys) ? HKeyInvert(keys, note.key, uint16_t(c)) : 2 * c - note.key);
    }
}

void scaleRange(Edit& e, int32_t value)
{
  const int64_t c = keyCentre(e.seq);
  const double f = value < 0 ? 1 + value / 256.0 : 1 + 3 * value / 256.0;
  for (int32_t i = 0; i < e.count; ++i)
    if (e.affected(i)) {
      SeqNote& note = e.seq->notes[i];
      note.key = keyByte(kvnum::sat_i32((double(note.key) - c) * f + c));
      if (e.seq->keys)
        note.key = e.seq->keys->nearest[note.key];
    }
}

void addChords(Edit& e)
{
  const int32_t held = e.count;
  for (int32_t i = 0; i < held && e.count < kSeqMaxNotes - 1; ++i)
    if (e.affected(i)) {
      SeqNote& note = e.seq->notes[i];
      SeqNote copy = note;
      copy.velocity = uint8_t(note.velocity * 0.75);
      copy.key = keyByte(keyAbove(e.seq->keys, note.key, 2));
      e.append(copy);
      copy.key = keyByte(keyAbove(e.seq->keys, note.key, 4));
      e.append(copy);
      note.selected = 0;
    }
  SmallSequencerOrdernotes(e.seq);
}

// Crescendo (rising) or decrescendo between the first and last affected
// notes; a ramp of no length changes nothing.
void rampVelocity(Edit& e, int32_t value, bool rising)
{
  int64_t a = 0, b = e.length();
  if (e.hasSelection) {
    a = e.seq->notes[e.firstAffected()].start;
    b = e.seq->notes[e.lastAffected()].start;
  }
  if (b == a)
    return;
  const double w = (value + 128) / 256.0;
  for (int32_t i = 0; i < e.count; ++i)
    if (e.affected(i)) {
      SeqNote& note = e.seq->notes[i];
      const int64_t from = rising ? int64_t(note.start) - a : b - int64_t(note.start);
      const int64_t target = from * 127 / (b - a);
      note.velocity =
          keyByte(kvnum::sat_i32(double(target - note.velocity) * w + double(note.velocity)));
    }
}

void forAffected(Edit& e, auto&& edit)
{
  for (int32_t i = 0; i < e.count; ++i)
    if (e.affected(i))
      edit(e.seq->notes[i]);
}

}  // namespace

void SmallSequencerCmd(SmallSequencer* seq, OSType command, int32_t value)
{
  if (!seq)
    return;
  seq->noteCount = std::clamp(seq->noteCount, 0, kSeqMaxNotes);
  Edit e{seq, seq->noteCount, SmallSequencerHasSel(seq) >= 0};
  SeqNote scratch[kSeqMaxNotes];
  switch (command) {
    case fourcc("sall"):
      for (int32_t i = 0; i < e.count; ++i)
        seq->notes[i].selected = 1;
      break;
    case fourcc("dall"):
      for (SeqNote& n : seq->notes)
        n.selected = 0;
      break;
    case fourcc("clea"):
      clear(e);
      break;
    case fourcc("rept"):
      repeatFirstHalf(e);
      break;
    case fourcc("dura"):
      forAffected(e, [&](SeqNote& n) {
        placeNote(n, n.start, std::max<int64_t>(kShortestNote, lengthOf(n) + value));
      });
      break;
    case fourcc("offs"):
      forAffected(e, [&](SeqNote& n) { placeNote(n, int64_t(n.start) + value, lengthOf(n)); });
      SmallSequencerOrdernotes(seq);
      break;
    case fourcc("quan"):
      if (value <= 0)
        break;
      forAffected(e, [&](SeqNote& n) { placeNote(n, n.start / value * value, lengthOf(n)); });
      break;
    case fourcc("fast"):
      if (e.count > 0)
        doubleSpeed(e, scratch);
      break;
    case fourcc("slow"):
      scaleTime(e, 2.0, 0);
      SmallSequencerOrdernotes(seq);
      break;
    case fourcc("tsca"):
      scaleTime(e, value / 100.0, kShortestNote);
      SmallSequencerOrdernotes(seq);
      break;
    case fourcc("tinv"):
      invertTime(e);
      SmallSequencerOrdernotes(seq);
      break;
    case fourcc("tran"):
      if (value != 0)
        forAffected(e, [&](SeqNote& n) { n.key = keyByte(keyAbove(seq->keys, n.key, value)); });
      break;
    case fourcc("pinv"):
      invertPitch(e);
      break;
    case fourcc("scam"):
      scaleRange(e, value);
      break;
    case fourcc("chor"):
      addChords(e);
      break;
    case fourcc("velA"):
      forAffected(e, [&](SeqNote& n) { n.velocity = keyByte(int64_t(n.velocity) + value / 2); });
      break;
    case fourcc("velB"):
      rampVelocity(e, value, true);
      break;
    case fourcc("velC"):
      rampVelocity(e, value, false);
      break;
    default:
      break;
  }
}
