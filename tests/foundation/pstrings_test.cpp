#include "foundation/pstrings.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "foundation/numbers.h"
#include "pstr.h"

namespace {

std::string Repeat(char c, size_t n)
{
  return std::string(n, c);
}

std::string Num(double v)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", v);
  return text;
}

std::string Flag(bool b)
{
  return b ? "true" : "false";
}

// Applies an in-place edit to a copy of `text` and returns the result.
std::string Edit(const std::string& text, const std::function<void(StringPtr)>& edit)
{
  PStr s(text);
  edit(s);
  return s.str();
}

std::string FixedPoint(double v, int16_t decimals)
{
  Str255 out;
  CExToStr(&v, decimals, out);
  return PText(out);
}

std::string Smpte(int32_t frames, int32_t rate)
{
  int32_t time = -1;
  int16_t frame = FramesToSMPTE(frames, rate, &time);
  Str255 out;
  SMPTEToString(time, frame, out);
  return PText(out) + " min " + std::to_string(time & 0xFFFF) + " sec " +
         std::to_string(uint32_t(time) >> 16) + " frame " + std::to_string(frame);
}

std::string Extract(const std::string& name)
{
  PStr s(name);
  int32_t n = ExtractNumber(s);
  return std::to_string(n) + " " + s.str();
}

struct TextCase
{
  const char* what;
  std::function<std::string()> run;
  std::string expected;
};

TEST(PStringsAndNumbers, Table)
{
  const std::string s70 = Repeat('x', 70);
  const TextCase cases[] = {
      // Counters replaced at the end of names.
      {"ConcatNumber drops three digits",
       [] { return Edit("Frame0123", [](StringPtr s) { ConcatNumber(s, 45); }); }, "Frame045"},
      {"ConcatNumber without digits",
       [] { return Edit("Take", [](StringPtr s) { ConcatNumber(s, 7); }); }, "Take7"},
      {"ConcatNumber negative",
       [] { return Edit("T1", [](StringPtr s) { ConcatNumber(s, -12); }); }, "T-12"},
      {"ConcatNumber10 pads",
       [] { return Edit("Take", [](StringPtr s) { ConcatNumber10(s, 5); }); }, "Take05"},
      {"ConcatNumber10 replaces",
       [] { return Edit("Take12", [](StringPtr s) { ConcatNumber10(s, 10); }); }, "Take10"},
      {"ConcatNumber100 pads",
       [] { return Edit("Take", [](StringPtr s) { ConcatNumber100(s, 5); }); }, "Take005"},
      {"ConcatNumber100 42",
       [] { return Edit("Take", [](StringPtr s) { ConcatNumber100(s, 42); }); }, "Take042"},
      {"ConcatNumber100 wide value",
       [] { return Edit("Take", [](StringPtr s) { ConcatNumber100(s, 1234); }); }, "Take1234"},
      {"ConcatNumber100 keeps digits",
       [] { return Edit("Take9", [](StringPtr s) { ConcatNumber100(s, 5); }); }, "Take9005"},
      {"ConcatNumber100 cuts to 59",
       [s70] { return Edit(s70, [](StringPtr s) { ConcatNumber100(s, 7); }); },
       Repeat('x', 59) + "007"},
      {"ConcatNumber1000", [] { return Edit("f", [](StringPtr s) { ConcatNumber1000(s, 7); }); },
       "f0007"},
      {"ConcatNumber10000", [] { return Edit("f", [](StringPtr s) { ConcatNumber10000(s, 7); }); },
       "f00007"},
      {"ConcatNumberBeforeExtension",
       [] { return Edit("Shot12.tiff", [](StringPtr s) { ConcatNumberBeforeExtension(s, 7); }); },
       "Shot7.tiff"},
      {"ConcatNumberBeforeExtension 3",
       [] { return Edit("Pic.png", [](StringPtr s) { ConcatNumberBeforeExtension(s, 3); }); },
       "Pic3.png"},
      {"ConcatNumberBeforeExtension none",
       [] { return Edit("Take7", [](StringPtr s) { ConcatNumberBeforeExtension(s, 9); }); },
       "Take9"},
      {"ExtractNumber with extension", [] { return Extract("Shot12.tiff"); }, "12 Shot.tiff"},
      {"ExtractNumber without extension", [] { return Extract("Take7"); }, "7 Take"},
      {"ExtractNumber without number", [] { return Extract("Shot.tiff"); }, "-1 Shot.tiff"},
      // Fixed-point text.
      {"CExToStr 1.005", [] { return FixedPoint(1.005, 3); }, "1.005"},
      {"CExToStr 1.05", [] { return FixedPoint(1.05, 3); }, "1.050"},
      {"CExToStr -0.25", [] { return FixedPoint(-0.25, 2); }, "-0.25"},
      {"CExToStr -1.5", [] { return FixedPoint(-1.5, 1); }, "-1.5"},
      {"CExToStr no decimals", [] { return FixedPoint(7, 0); }, "7.0"},
      {"CExToStr zeros", [] { return FixedPoint(3, 3); }, "3.000"},
      {"CExToStr capped places", [] { return FixedPoint(-2.5, 12); }, "-2.500000000"},
      {"RemoveDecZeros", [] { return Edit("12.500", RemoveDecZeros); }, "12.5"},
      {"RemoveDecZeros bare point", [] { return Edit("3.000", RemoveDecZeros); }, "3"},
      {"RemoveDecZeros integer", [] { return Edit("100", RemoveDecZeros); }, "100"},
      // Text to numbers.
      {"StrToEx comma", [] { return Num(StrToEx(PStr("3,25"))); }, "3.25"},
      {"StrToEx trailing point", [] { return Num(StrToEx(PStr("12."))); }, "12"},
      {"StrToEx negative fraction", [] { return Num(StrToEx(PStr("-0.5"))); }, "-0.5"},
      {"StrToEx negative", [] { return Num(StrToEx(PStr("-3.25"))); }, "-3.25"},
      {"StrToEx integer", [] { return Num(StrToEx(PStr("42"))); }, "42"},
      {"StrToEx empty", [] { return Num(StrToEx(PStr(""))); }, "0"},
      {"StrToEx long fraction", [] { return Num(StrToEx(PStr("0.0000000000025"))); }, "2.5e-12"},
      {"ExToCcomp",
       [] {
         return std::to_string(ExToCcomp(-5)) + " " + std::to_string(ExToCcomp(12.9)) + " " +
                std::to_string(ExToCcomp(300)) + " " + std::to_string(ExToCcomp(NAN));
       },
       "0 12 255 0"},
      // Time codes.
      {"FramesToSMPTE 3725 at 25", [] { return Smpte(3725, 25); }, "2:29:00 min 2 sec 29 frame 0"},
      {"FramesToSMPTE 1507 at 30", [] { return Smpte(1507, 30); }, "0:50:07 min 0 sec 50 frame 7"},
      {"FramesToSMPTE rate 0", [] { return Smpte(3725, 0); }, "0:00:00 min 0 sec 0 frame 0"},
      {"SMPTEToString",
       [] {
         Str255 s;
         SMPTEToString(3 | (5 << 16), 7, s);
         return PText(s);
       },
       "3:05:07"},
      {"SMPTEToString wide frame",
       [] {
         Str255 s;
         SMPTEToString(12 | (41 << 16), 123, s);
         return PText(s);
       },
       "12:41:123"},
      {"AddSMPTEToString",
       [] { return Edit("At ", [](StringPtr s) { AddSMPTEToString(3 | (5 << 16), 7, s); }); },
       "At 3:05:07"},
      // Copy, join, search.
      {"SetPString caps at 255",
       [] {
         Str255 s;
         int16_t n = SetPString(s, Repeat('c', 300).c_str());
         return std::to_string(n) + " " + Flag(PText(s) == Repeat('c', 255));
       },
       "255 true"},
      {"CConcatPStrings 200 + 200",
       [] {
         PStr a(Repeat('a', 200));
         int32_t sum = CConcatPStrings(a, PStr(Repeat('b', 200)));
         return std::to_string(sum) + " " + Flag(a.str() == Repeat('a', 200) + Repeat('b', 55));
       },
       "400 true"},
      {"ConcatPString maximum 63",
       [] {
         PStr a(Repeat('a', 60));
         ConcatPString(a, PStr("bcdef"), 63);
         return a.str();
       },
       Repeat('a', 60) + "bc"},
      {"CInsertPString middle",
       [] { return Edit("abcd", [](StringPtr s) { CInsertPString(s, PStr("XY"), 3); }); },
       "abXYcd"},
      {"CInsertPString first",
       [] { return Edit("abcd", [](StringPtr s) { CInsertPString(s, PStr("XY"), 1); }); },
       "XYabcd"},
      {"CInsertPString position 0",
       [] { return Edit("abcd", [](StringPtr s) { CInsertPString(s, PStr("XY"), 0); }); }, "abcd"},
      {"CInsertPString past the end",
       [] { return Edit("abcd", [](StringPtr s) { CInsertPString(s, PStr("XY"), 5); }); }, "abcd"},
      {"CInsertPString cut at 255",
       [] {
         return Edit(Repeat('a', 250) + "Z",
                     [](StringPtr s) { CInsertPString(s, PStr(Repeat('b', 10)), 2); });
       },
       "a" + Repeat('b', 10) + Repeat('a', 244)},
      {"CDeletePStrings",
       [] { return Edit("abcabd", [](StringPtr s) { CDeletePStrings(s, PStr("ab")); }); }, "cabd"},
      {"CDeletePStrings at end",
       [] { return Edit("abcd", [](StringPtr s) { CDeletePStrings(s, PStr("cd")); }); }, "ab"},
      {"CDeletePStrings absent",
       [] { return Edit("abcd", [](StringPtr s) { CDeletePStrings(s, PStr("x")); }); }, "abcd"},
      {"CReplacePString",
       [] {
         PStr s("hello world");
         int16_t r = CReplacePString(s, PStr("world"), PStr("there!"));
         return std::to_string(r) + " " + s.str();
       },
       "1 hello there!"},
      {"CReplacePString absent",
       [] {
         PStr s("hello");
         int16_t r = CReplacePString(s, PStr("x"), PStr("y"));
         return std::to_string(r) + " " + s.str();
       },
       "0 hello"},
      {"CReplacePString empty",
       [] {
         PStr s("");
         return std::to_string(CReplacePString(s, PStr("x"), PStr("y")));
       },
       "0"},
      {"CReplacePString cut at 255",
       [] {
         PStr s("a" + Repeat('z', 250));
         CReplacePString(s, PStr("a"), PStr(Repeat('b', 10)));
         return Flag(s.str() == Repeat('b', 10) + Repeat('z', 245));
       },
       "true"},
      {"CPOSPString", [] { return std::to_string(CPOSPString(PStr("abcabd"), PStr("abd"))); }, "4"},
      {"CPOSPString empty string", [] { return std::to_string(CPOSPString(PStr(""), PStr("a"))); },
       "0"},
      {"CPOSPString absent", [] { return std::to_string(CPOSPString(PStr("abc"), PStr("abcd"))); },
       "0"},
      {"FixPictName appends", [] { return Edit("Picture", FixPictName); }, "Picture.p"},
      {"FixPictName keeps", [] { return Edit("a.p", FixPictName); }, "a.p"},
      {"FixPictName cuts", [] { return Edit(Repeat('n', 40), FixPictName); },
       Repeat('n', 29) + ".p"},
      // Comparisons.
      {"partialequalstring digits",
       [] { return Flag(partialequalstring(PStr("Tree"), PStr("Tree12"))); }, "true"},
      {"partialequalstring letter",
       [] { return Flag(partialequalstring(PStr("Tree"), PStr("Tree1a"))); }, "false"},
      {"partialequalstring shorter b",
       [] { return Flag(partialequalstring(PStr("Tree12"), PStr("Tree"))); }, "true"},
      {"partialequalstring differ",
       [] { return Flag(partialequalstring(PStr("Tree"), PStr("Trex"))); }, "false"},
      {"myequalstring",
       [] {
         return Flag(myequalstring(PStr("Ab"), PStr("Ab"))) +
                Flag(myequalstring(PStr("Ab"), PStr("ab"))) +
                Flag(myequalstring(PStr(""), PStr(""))) + Flag(myequalstring(nullptr, PStr("")));
       },
       "truefalsetruefalse"},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(c.run(), c.expected) << c.what;
}

TEST(SinToAngle, QuadrantsAndAxes)
{
  constexpr double kPi = 3.14159265358979323846;
  struct Case
  {
    double x, y, angle;
  } cases[] = {
      {1, 0, 0},
      {1, 1, kPi / 4},
      {-1, 1, 3 * kPi / 4},
      {-1, 0, kPi},
      {-1, -1, 5 * kPi / 4},
      {1, -1, 7 * kPi / 4},
      {0, 2, 1.5707963268},
      {0, -2, 4.7123889804},
      {0, 0, 4.7123889804},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(SinToAngle(c.x, c.y), c.angle, 1e-12) << c.x << ", " << c.y;
}

TEST(RawSearch, FindsWholeOccurrencesInsideTheRange)
{
  const unsigned char buffer[] = "xxabcdabcdEFGHxx";  // 16 bytes
  struct Case
  {
    const char* pattern;
    int32_t start, size, expected;
  } cases[] = {
      {"a", 0, 16, 2},    {"cd", 0, 16, 4},   {"cdab", 0, 16, 4}, {"abc", 3, 16, 6},
      {"GHx", 0, 16, 12}, {"Hxx", 0, 15, -1}, {"", 5, 16, 5},     {"x", 16, 16, -1},
      {"x", -1, 16, -1},  {"zz", 0, 16, -1},
  };
  for (const Case& c : cases) {
    int32_t length = int32_t(std::strlen(c.pattern));
    auto pattern = reinterpret_cast<const unsigned char*>(c.pattern);
    EXPECT_EQ(findinbuffer(buffer, c.size, c.start, pattern, length), c.expected)
        << c.pattern << " from " << c.start;
    EXPECT_EQ(CPOSBuffer(buffer, c.start, c.size, PStr(c.pattern)), c.expected)
        << c.pattern << " from " << c.start;
  }
}

TEST(ScopyMem, NeverWritesPastTheDestinationEnd)
{
  unsigned char dst[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  const unsigned char src[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  SCOPY_MEM(src, dst + 2, dst + 5, 8);
  EXPECT_EQ(std::string(dst, dst + 8), std::string("\0\0\1\2\3\0\0\0", 8));
  SBlockMove(src, dst, dst, 8);  // no room: nothing
  EXPECT_EQ(dst[0], 0);
  // Overlapping copy inside one buffer.
  unsigned char s[6] = {1, 2, 3, 4, 5, 6};
  SCOPY_MEM(s, s + 1, s + 6, 5);
  EXPECT_EQ(std::string(s, s + 6), std::string("\1\1\2\3\4\5", 6));
}

// ---- Handle text buffers ----

std::string BlockText(Handle h, int32_t used)
{
  return std::string(*h, *h + used);
}

TEST(TextBuffer, AppendsAndInsertsGrowingTheBlock)
{
  Handle h = NewHandle(0);
  int32_t used = 0;
  EXPECT_EQ(CAddPSinBuffer(h, PStr("Hello"), &used), noErr);
  EXPECT_EQ(CAddPSinBuffer(h, PStr(" world"), &used), noErr);
  EXPECT_EQ(BlockText(h, used), "Hello world");
  EXPECT_GE(GetHandleSize(h), used);

  EXPECT_EQ(CInsertPSinBuffer(h, PStr(","), &used, 5), noErr);
  EXPECT_EQ(CInsertPSinBuffer(h, PStr(">"), &used, 0), noErr);
  EXPECT_EQ(CInsertPSinBuffer(h, PStr("!"), &used, used), noErr);
  EXPECT_EQ(BlockText(h, used), ">Hello, world!");

  EXPECT_EQ(CInsertPSinBuffer(h, PStr("?"), &used, used + 1), noErr);  // beyond used: nothing
  EXPECT_EQ(CInsertPSinBuffer(h, PStr("?"), &used, -1), noErr);
  EXPECT_EQ(BlockText(h, used), ">Hello, world!");
  DisposeHandle(h);
}

TEST(TextBuffer, NullHandleReportsTheErrorAndKeepsUsed)
{
  int32_t used = 3;
  EXPECT_EQ(CAddPSinBuffer(nullptr, PStr("abc"), &used), nilHandleErr);
  EXPECT_EQ(used, 3);
}

TEST(TextBuffer, ReplacesEveryOccurrenceOfEqualLength)
{
  struct Case
  {
    const char* pattern;
    const char* replacement;
    const char* expected;
  } cases[] = {
      {"ab", "XY", "XYcXYXYd"},                           // every occurrence, back to back
      {"ab", "XYZ", "abcababd"},                          // lengths differ: nothing
      {"ab", "ab", "abcababd"},                           // equal: nothing
      {"", "", "abcababd"},      {"d", "!", "abcabab!"},  // at the very end
  };
  for (const Case& c : cases) {
    Handle h = NewHandle(8);
    std::memcpy(*h, "abcababd", 8);
    CreplacePSinBuffer(h, PStr(c.pattern), PStr(c.replacement));
    EXPECT_EQ(BlockText(h, 8), c.expected) << c.pattern << " -> " << c.replacement;
    DisposeHandle(h);
  }
  CreplacePSinBuffer(nullptr, PStr("a"), PStr("b"));  // null: nothing
}

}  // namespace
