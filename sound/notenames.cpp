#include "sound/notenames.h"

#include <algorithm>
#include <cstring>

#include "foundation/numbers.h"

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
