#include "foundation/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/checked.h"
#include "foundation/pstrings.h"
#include "platform/clock.h"

namespace {

constexpr int32_t kMaxPString = 255;

bool is_digit(unsigned char c)
{
  return c >= '0' && c <= '9';
}

// Appends n bytes to s, cut at 255 characters.
void append_bytes(StringPtr s, const void* bytes, int32_t n)
{
  n = std::min<int32_t>(n, kMaxPString - s[0]);
  std::memcpy(s + 1 + s[0], bytes, size_t(n));
  s[0] = uint8_t(s[0] + n);
}

void append_char(StringPtr s, char c)
{
  append_bytes(s, &c, 1);
}

void append_pstring(StringPtr s, ConstStringPtr t)
{
  append_bytes(s, t + 1, t[0]);
}

void append_number(StringPtr s, int32_t v)
{
  Str255 text;
  NumToString(v, text);
  append_pstring(s, text);
}

// Appends v with at least `width` digits, zeros in front.
void append_padded(StringPtr s, int32_t v, int32_t width)
{
  Str255 digits;
  NumToString(v, digits);
  const unsigned char* first = digits + 1;
  int32_t count = digits[0];
  if (*first == '-') {
    append_char(s, '-');
    ++first;
    --count;
  }
  for (int32_t i = count; i < width; ++i)
    append_char(s, '0');
  append_bytes(s, first, count);
}

// Drops up to three decimal digits that end s.
void drop_counter_digits(StringPtr s)
{
  int32_t len = s[0];
  int32_t kept = len;
  while (kept > 0 && len - kept < 3 && is_digit(s[kept]))
    --kept;
  s[0] = uint8_t(kept);
}

void concat_fixed_width(StringPtr s, int16_t v, int32_t width)
{
  constexpr int32_t kBaseKeep = 59;
  s[0] = uint8_t(std::min<int32_t>(s[0], kBaseKeep));
  append_padded(s, v, width);
}

// Length of the extension (with its ".") that ends name: 4 or 5 for an
// extension of three or four characters, else 0.
int32_t extension_length(ConstStringPtr name)
{
  int32_t len = name[0];
  for (int32_t extLen : {4, 5}) {
    if (len > extLen && name[len - extLen + 1] == '.')
      return extLen;
  }
  return 0;
}

}  // namespace

void NumToString(int32_t v, StringPtr out)
{
  char text[16];
  int n = std::snprintf(text, sizeof text, "%d", int(v));
  std::memcpy(out + 1, text, size_t(n));
  out[0] = uint8_t(n);
}

void StringToNum(ConstStringPtr s, int32_t* v)
{
  int32_t i = 1, len = s[0];
  bool negative = false;
  if (i <= len && (s[i] == '-' || s[i] == '+'))
    negative = s[i++] == '-';
  uint32_t value = 0;
  for (; i <= len && is_digit(s[i]); ++i)
    value = value * 10 + uint32_t(s[i] - '0');
  *v = int32_t(negative ? 0u - value : value);
}

void ConcatNumber(StringPtr s, int32_t v)
{
  drop_counter_digits(s);
  append_number(s, v);
}

void ConcatNumber10(StringPtr s, int16_t v)
{
  drop_counter_digits(s);
  if (v >= 0 && v <= 9)
    append_char(s, '0');
  append_number(s, v);
}

void ConcatNumber100(StringPtr s, int16_t v)
{
  concat_fixed_width(s, v, 3);
}
void ConcatNumber1000(StringPtr s, int16_t v)
{
  concat_fixed_width(s, v, 4);
}
void ConcatNumber10000(StringPtr s, int16_t v)
{
  concat_fixed_width(s, v, 5);
}

void CExToStr(const double* v, int16_t decimals, StringPtr out)
{
  // 10^9 is the largest power that the 32-bit fraction digits can hold.
  int32_t places = std::clamp<int32_t>(decimals, 0, 9);
  int32_t factor = 1;
  for (int32_t k = 0; k < places; ++k)
    factor *= 10;
  int32_t lead = factor / 10;

  // The nudge keeps values such as 1.005 from printing as 1.004999.
  double w = *v > 0 ? *v + 0.0000001 : *v;
  int32_t whole = kvnum::sat_i32(w);
  int32_t fraction = kvnum::sat_i32(std::fabs((w - whole) * factor));

  out[0] = 0;
  if (whole == 0 && w < 0)
    append_bytes(out, "-0", 2);
  else
    append_number(out, whole);
  append_char(out, '.');
  for (int32_t p = lead; p > 1 && fraction < lead; p /= 10) {
    if (p > fraction)
      append_char(out, '0');
  }
  append_number(out, fraction);
}

void ConcatNumberBeforeExtension(StringPtr name, int32_t v)
{
  int32_t extLen = extension_length(name);
  unsigned char extension[8];
  std::memcpy(extension, name + 1 + name[0] - extLen, size_t(extLen));
  int32_t len = name[0] - extLen;
  while (len > 0 && is_digit(name[len]))
    --len;
  name[0] = uint8_t(len);
  append_number(name, v);
  // The extension always survives: the number gives way when room runs out.
  name[0] = uint8_t(std::min<int32_t>(name[0], kMaxPString - extLen));
  append_bytes(name, extension, extLen);
}

double StrToEx(ConstStringPtr s)
{
  int32_t len = s[0];
  int32_t firstSplit = 0;
  for (int32_t i = 1; i <= len && firstSplit == 0; ++i) {
    if (s[i] == '.' || s[i] == ',')
      firstSplit = i;
  }
  if (firstSplit != 0 && firstSplit < len) {
    Str255 head;
    head[0] = uint8_t(firstSplit - 1);
    std::memcpy(head + 1, s + 1, head[0]);
    int32_t whole;
    StringToNum(head, &whole);
    // The fraction text is everything after the point; its leading digits
    // are gathered in a double so that long fractions keep their value.
    double fraction = 0;
    for (int32_t i = firstSplit + 1; i <= len && is_digit(s[i]); ++i)
      fraction = fraction * 10 + (s[i] - '0');
    double scale = std::pow(10.0, len - firstSplit);
    return s[1] == '-' ? whole - fraction / scale : whole + fraction / scale;
  }
  Str255 rest;
  AssignPString(rest, s);
  if (len > 0 && (rest[len] == '.' || rest[len] == ','))
    rest[0] = uint8_t(len - 1);
  int32_t value;
  StringToNum(rest, &value);
  return value;
}

int32_t ExtractNumber(StringPtr name)
{
  int32_t extLen = extension_length(name);
  int32_t end = name[0] - extLen;  // last character of the number
  if (end < 1 || !is_digit(name[end]))
    return -1;
  int32_t start = end;
  while (start > 1 && is_digit(name[start - 1]))
    --start;
  int64_t value = 0;
  for (int32_t i = start; i <= end; ++i)
    value = std::min<int64_t>(value * 10 + (name[i] - '0'), INT32_MAX);
  std::memmove(name + start, name + end + 1, size_t(extLen));
  name[0] = uint8_t(start - 1 + extLen);
  return int32_t(value);
}

uint8_t ExToCcomp(double v)
{
  return kvnum::sat_u8(v);
}

void extended96ToDouble() {}

double SinToAngle(double x, double y)
{
  constexpr double kPi = 3.14159265358979323846;
  if (x == 0)
    return y > 0 ? 1.5707963268 : 4.7123889804;
  double angle = std::atan(y / x);
  if (x < 0)
    return angle + kPi;
  return angle < 0 ? angle + 2 * kPi : angle;
}

int16_t FramesToSMPTE(int32_t frameCount, int32_t framesPerSecond, int32_t* packedTime)
{
  if (framesPerSecond <= 0) {
    *packedTime = 0;
    return 0;
  }
  int32_t seconds = frameCount / framesPerSecond;
  uint32_t minutesWord = uint16_t(seconds / 60);
  uint32_t secondsWord = uint16_t(seconds % 60);
  *packedTime = int32_t(minutesWord | (secondsWord << 16));
  return int16_t(frameCount % framesPerSecond);
}

void SMPTEToString(int32_t packedTime, int16_t frame, StringPtr out)
{
  out[0] = 0;
  append_number(out, int16_t(uint32_t(packedTime) & 0xFFFF));
  for (int32_t part : {int32_t(int16_t(uint32_t(packedTime) >> 16)), int32_t(frame)}) {
    append_char(out, ':');
    Str255 digits;
    NumToString(part, digits);
    if (digits[0] == 1)
      append_char(out, '0');
    append_pstring(out, digits);
  }
}

void AddSMPTEToString(int32_t packedTime, int16_t frame, StringPtr s)
{
  Str255 text;
  SMPTEToString(packedTime, frame, text);
  append_pstring(s, text);
}

// ---- Clock ----

double GetMillisecondTime()
{
  return kvclock::milliseconds();
}

uint32_t TickCount()
{
  return kvclock::ticks();
}

void doDelay(int32_t ticks)
{
  kvclock::sleepTicks(ticks);
}
