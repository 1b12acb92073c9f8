#include "sound/notenames.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "foundation/checked.h"
#include "foundation/filenames.h"
#include "foundation/folders.h"
#include "foundation/numbers.h"
#include "platform/files.h"
#include "sound/audiofiles.h"
#include "sound/sequencer.h"

namespace {

constexpr const char* kPitchClassNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                              "F#", "G",  "G#", "A",  "A#", "B"};

const char* pitchClassName(int32_t pitchClass)
{
  return kPitchClassNames[((pitchClass % 12) + 12) % 12];
}

void append(StringPtr s, const char* text)
{
  const size_t n = std::min(std::strlen(text), size_t(255 - s[0]));
  std::memcpy(s + 1 + s[0], text, n);
  s[0] = uint8_t(s[0] + n);
}

void appendNumber(StringPtr s, int32_t v)
{
  Str255 digits;
  NumToString(v, digits);
  digits[digits[0] + 1] = 0;
  append(s, reinterpret_cast<const char*>(digits + 1));
}

bool isDigit(uint8_t c)
{
  return c >= '0' && c <= '9';
}

bool isNoteLetter(uint8_t c)
{
  return c >= 'A' && c <= 'G';
}

// The note's name: pitch class and octave n / 12 - 2.
void noteName(int32_t note, StringPtr out)
{
  buildnotename(int16_t(note % 12), int16_t(note / 12 - 2), out);
}

void setPascal(StringPtr out, std::string_view text)
{
  const size_t n = std::min<size_t>(text.size(), 255);
  out[0] = uint8_t(n);
  std::memcpy(out + 1, text.data(), n);
}

std::string_view view(ConstStringPtr s)
{
  return {reinterpret_cast<const char*>(s + 1), s[0]};
}

// The name without its extension (the part from the last '.', when there is
// one past the first character) and the extension.
std::pair<std::string, std::string> splitExtension(const std::string& name)
{
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0)
    return {name, ""};
  return {name.substr(0, dot), name.substr(dot)};
}

int32_t appendIfExists(const FileRef& folder, const std::string& name, uint8_t key, FileRef* list,
                       uint8_t* keys, int32_t count, int32_t max)
{
  if (count >= max)
    return count;
  const FileRef candidate = folder.child(name);
  if (!kvfs::isRegularFile(candidate))
    return count;
  list[count] = candidate;
  if (keys)
    keys[count] = key;
  return count + 1;
}

int32_t listNamedNotes(const FileRef& chosen, int16_t reference, FileRef* list, uint8_t* keys,
                       int32_t max)
{
  const FileRef folder = chosen.parentRef();
  int32_t count = 0;
  for (uint16_t note = 0; note <= 120; ++note) {
    Str255 name;
    setPascal(name, chosen.name);
    if (BuildSampleNotedName(name, uint16_t(reference), note))
      count =
          appendIfExists(folder, std::string(view(name)), uint8_t(note), list, keys, count, max);
  }
  return count;
}

int32_t listNumberedNotes(const std::string& base, size_t digitsAt, const std::string& extension,
                          const FileRef& folder, FileRef* list, uint8_t* keys, int32_t max)
{
  int32_t count = 0;
  for (int32_t number = 11; number <= 119; ++number)
    count = appendIfExists(folder, base.substr(0, digitsAt) + std::to_string(number) + extension,
                           uint8_t(number), list, keys, count, max);
  return count;
}

// The folder's files of the short audio type list, at most max.
int32_t listAudioFiles(const FileRef& folder, FileRef* list, int32_t max)
{
  GetSupportedCoreAudioTypes();
  for (int32_t i = 0; i < max; ++i)
    list[i] = FileRef{};
  return IterateFiles_searchproc(folder, matchtypeprocptr, list, 0, max, 0);
}

// Every audio file of the folder, keys spread from 24 to below 108.
int32_t listSpread(const FileRef& folder, FileRef* list, uint8_t* keys, int32_t max)
{
  const int32_t n = listAudioFiles(folder, list, max);
  for (int32_t i = 0; keys && i < n; ++i)
    keys[i] = uint8_t(double(i) / n * 84 + 24);
  return n;
}

}  // namespace

void buildnotename(int16_t pitchClass, int16_t octave, StringPtr out)
{
  out[0] = 0;
  append(out, pitchClassName(pitchClass));
  appendNumber(out, octave);
}

void ConcatNoteName(StringPtr s, uint16_t pitchClass, int16_t octave)
{
  append(s, pitchClassName(pitchClass));
  if (octave <= 11)
    appendNumber(s, octave);
}

void AddSemitonesString(double semitones, StringPtr s)
{
  const int32_t note = kvnum::sat_i32(semitones + 48.5);
  const int32_t octave = kvnum::sat_i32(semitones + 0.5) / 12 - 2;
  ConcatNoteName(s, uint16_t(((note % 12) + 12) % 12), int16_t(std::clamp(octave, -99, 99)));
}

void SetSemitonesString(double semitones, StringPtr s)
{
  s[0] = 0;
  append(s, "Semitones ");
  AddSemitonesString(semitones, s);
}

int16_t isnotetag(uint8_t c, uint8_t next)
{
  if (!isDigit(next) && next != 'O')
    return 0;
  if (isNoteLetter(c))
    return 1;
  return c == '#' || c == 'b' ? 2 : 0;
}

void RemoveNotag(StringPtr name)
{
  const uint8_t n = name[0];
  if (n < 3 || (!isDigit(name[n]) && name[n] != 'O'))
    return;
  if (isNoteLetter(name[n - 1]))
    name[0] = uint8_t(n - 3);
  else if ((name[n - 1] == '#' || name[n - 1] == 'b') && n >= 4)
    name[0] = uint8_t(n - 4);
}

int32_t Rfindinbuffer(const uint8_t* buf, uint32_t len, const uint8_t* pattern, int32_t plen)
{
  if (!buf || !pattern || plen <= 0 || uint32_t(plen) > len)
    return -1;
  for (int64_t at = int64_t(len) - plen + 1; at >= 1; --at)
    if (std::memcmp(buf + at, pattern + 1, size_t(plen)) == 0)
      return int32_t(at);
  return -1;
}

int16_t NameHasNote(ConstStringPtr name, StringPtr scratch)
{
  for (int16_t note = 0; note <= 126; ++note) {
    noteName(note, scratch);
    if (Rfindinbuffer(name, name[0], scratch, scratch[0]) > 0)
      return note;
  }
  return -1;
}

bool BuildSampleNotedName(StringPtr name, uint16_t oldNote, uint16_t newNote)
{
  Str255 oldName, newName;
  noteName(std::min<uint16_t>(oldNote, 127), oldName);
  noteName(std::min<uint16_t>(newNote, 127), newName);
  const int32_t at = Rfindinbuffer(name, name[0], oldName, oldName[0]);
  if (at < 0)
    return false;
  std::string text(view(name));
  text.replace(size_t(at - 1), oldName[0], std::string(view(newName)));
  if (text.size() > 255)
    return false;
  setPascal(name, text);
  return true;
}

void LogicREORDERNOTENAME(ConstStringPtr src, StringPtr dst)
{
  std::memmove(dst, src, size_t(src[0]) + 1);
  const int32_t n = dst[0];
  for (int32_t i = 1; i + 2 <= n; ++i) {
    const uint8_t letter = uint8_t(std::toupper(dst[i + 2]));
    if (!isDigit(dst[i]) || (dst[i + 1] != ' ' && dst[i + 1] != '_') || !isNoteLetter(letter))
      continue;
    const uint8_t digit = dst[i];
    const bool sharp = i + 3 <= n && dst[i + 3] == '#';
    dst[i] = ' ';
    dst[i + 1] = letter;
    if (sharp)
      dst[i + 2] = '#';
    dst[i + (sharp ? 3 : 2)] = digit;
    return;
  }
}

void REORDERnumber(ConstStringPtr src, StringPtr dst)
{
  std::memmove(dst, src, size_t(src[0]) + 1);
  auto [base, extension] = splitExtension(std::string(view(src)));
  if (base.size() < 4 || !isDigit(uint8_t(base[0])) || !isDigit(uint8_t(base[1])) ||
      !isDigit(uint8_t(base[2])))
    return;
  const std::string digits = base.substr(0, 3);
  std::string out = base.substr(3);
  out.resize(base.size(), ' ');
  const size_t tail = base.size() - 4;
  out[tail] = ' ';
  out[tail + 1] = digits[0] == '0' ? ' ' : digits[0];
  out[tail + 2] = digits[1];
  out[tail + 3] = digits[2];
  setPascal(dst, out + extension);
}

int32_t ReorderSoundFileList(const FileRef& folder, FileRef* list, int32_t max)
{
  if (list && max > 0)
    listAudioFiles(folder, list, max);
  return 0;
}

int16_t BuildNotedSoundFileList(const FileRef& chosen, FileRef* list, uint8_t* keys, int32_t max)
{
  if (!list || max <= 0 || chosen.name.empty())
    return 0;
  Str255 name, scratch;
  setPascal(name, chosen.name);
  const int16_t reference = NameHasNote(name, scratch);
  if (reference >= 0)
    return int16_t(listNamedNotes(chosen, reference, list, keys, max));
  const auto [base, extension] = splitExtension(chosen.name);
  size_t digitsAt = base.size();
  while (digitsAt > 0 && isDigit(uint8_t(base[digitsAt - 1])) && base.size() - digitsAt < 3)
    --digitsAt;
  const int32_t number = digitsAt < base.size() ? std::stoi(base.substr(digitsAt)) : -1;
  if (number < 11 || number > 120)
    return int16_t(listSpread(chosen.parentRef(), list, keys, max));
  return int16_t(listNumberedNotes(base, digitsAt, extension, chosen.parentRef(), list, keys, max));
}

int16_t BuildTargetSoundFileList(FileRef* list, uint8_t* keys, int32_t max)
{
  FileRef chosen;
  if (!MASTER_SOUNDFILE_GET(&chosen, 1))
    return 0;
  return BuildNotedSoundFileList(chosen, list, keys, max);
}

void BuildConversionTable(HarmonicKeys* table, int16_t newKind)
{
  const HarmonicKeys current = *table;
  SetHarmonicScales(table, newKind, current.root);
  const int32_t count = table->count;
  for (int32_t k = 0; k < 128; ++k) {
    int32_t key = k;
    if (newKind == kScaleChromatic)
      key = k;
    else if (count == current.count)
      key = GetRealKey(table, GetHarmonicKey(&current, uint16_t(k)));
    else {
      int32_t index = int32_t(k * (count / 12.0) + 0.49);
      if (index < 0)
        index += count;
      key = GetRealKey(table, index);
    }
    table->nearest[k] = uint8_t(std::clamp(key, 0, 127));
  }
}
