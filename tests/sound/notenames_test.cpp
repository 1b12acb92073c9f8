// Note names, semitone labels, note tags in file names, sample lists of one
// instrument gathered from a folder, and scale conversion tables.
#include "sound/notenames.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "../platform/tempfolder.h"
#include "sound/sequencer.h"

namespace {

std::string text(ConstStringPtr s)
{
  return {reinterpret_cast<const char*>(s + 1), s[0]};
}

void set(Str255 s, const std::string& t)
{
  s[0] = uint8_t(t.size());
  std::memcpy(s + 1, t.data(), t.size());
}

std::string nameOf(int note)
{
  Str255 s;
  buildnotename(int16_t(note % 12), int16_t(note / 12 - 2), s);
  return text(s);
}

TEST(NoteNames, NamesAndLabels)
{
  EXPECT_EQ(nameOf(60), "C3");
  EXPECT_EQ(nameOf(0), "C-2");
  EXPECT_EQ(nameOf(69), "A3");
  Str255 s;
  SetSemitonesString(12.0, s);
  EXPECT_EQ(text(s), "Semitones C-1");  // note 60, octave 12 / 12 - 2
  set(s, "x ");
  AddSemitonesString(-0.2, s);
  EXPECT_EQ(text(s), "x C-2");
}

TEST(NoteNames, TagsInNames)
{
  EXPECT_EQ(isnotetag('C', '3'), 1);
  EXPECT_EQ(isnotetag('#', 'O'), 2);
  EXPECT_EQ(isnotetag('b', '1'), 2);
  EXPECT_EQ(isnotetag('H', '1'), 0);
  EXPECT_EQ(isnotetag('C', 'x'), 0);
  for (const char* name : {"Bass_C#2", "Bass C2"}) {
    Str255 s;
    set(s, name);
    RemoveNotag(s);
    EXPECT_EQ(text(s), "Bass") << name;
  }
  Str255 shortName;
  set(shortName, "#2");
  RemoveNotag(shortName);
  EXPECT_EQ(text(shortName), "#2");

  Str255 buf, pat;
  set(buf, "abcabc");
  set(pat, "bc");
  EXPECT_EQ(Rfindinbuffer(buf, buf[0], pat, pat[0]), 5);
  set(pat, "bcd");
  EXPECT_EQ(Rfindinbuffer(buf, buf[0], pat, pat[0]), -1);

  Str255 scratch;
  struct Case
  {
    const char* name;
    int16_t note;
  };
  for (const Case& c : {Case{"Strings C3.aif", 60}, Case{"Piano C#3", 61},
                        Case{"Pad E2 and A1", 45}, Case{"Nothing", -1}}) {
    set(buf, c.name);
    EXPECT_EQ(NameHasNote(buf, scratch), c.note) << c.name;
  }
  set(buf, "C3 Strings C3.aif");
  ASSERT_TRUE(BuildSampleNotedName(buf, 60, 61));
  EXPECT_EQ(text(buf), "C3 Strings C#3.aif");
  EXPECT_FALSE(BuildSampleNotedName(buf, 70, 61));

  Str255 out;
  set(buf, "Piano3_c#.aif");
  LogicREORDERNOTENAME(buf, out);
  EXPECT_EQ(text(out), "Piano C#3.aif");
  set(buf, "Piano 4 d");
  LogicREORDERNOTENAME(buf, out);
  EXPECT_EQ(text(out), "Piano  D4");
  set(buf, "045Flute.wav");
  REORDERnumber(buf, out);
  EXPECT_EQ(text(out), "Flut  45.wav");  // the rest's last character overwritten
  set(buf, "Flute.wav");
  REORDERnumber(buf, out);
  EXPECT_EQ(text(out), "Flute.wav");
}

struct Lists
{
  std::vector<FileRef> files = std::vector<FileRef>(200);
  std::vector<uint8_t> keys = std::vector<uint8_t>(200);
  int16_t build(const FileRef& chosen, int32_t max = 200)
  {
    return BuildNotedSoundFileList(chosen, files.data(), keys.data(), max);
  }
};

TEST(NoteNames, SampleListsOfOneInstrument)
{
  TempFolder folder;
  for (int note = 0; note < 128; ++note)
    folder.write("Strings " + nameOf(note) + ".aif", "x");
  Lists l;
  ASSERT_EQ(l.build(folder.ref("Strings C3.aif")), 121);
  for (int i = 0; i < 121; ++i) {
    EXPECT_EQ(l.keys[size_t(i)], i);
    EXPECT_EQ(l.files[size_t(i)].name, "Strings " + nameOf(i) + ".aif");
  }
  EXPECT_EQ(l.build(folder.ref("Strings C3.aif"), 10), 10);

  TempFolder numbered;
  for (int n : {5, 11, 45, 119, 120})
    numbered.write("Horn " + std::to_string(n) + ".wav", "x");
  ASSERT_EQ(l.build(numbered.ref("Horn 45.wav")), 3);
  EXPECT_EQ(l.keys[0], 11);
  EXPECT_EQ(l.keys[2], 119);

  TempFolder plain;
  for (const char* n : {"a.aif", "b.wav", "c.txt", "d.aif"})
    plain.write(n, "x");
  ASSERT_EQ(l.build(plain.ref("a.aif")), 3);
  EXPECT_EQ(l.keys[0], 24);
  EXPECT_EQ(l.keys[1], 52);
  EXPECT_EQ(l.keys[2], 80);
}

TEST(NoteNames, ConversionTables)
{
  HarmonicKeys table;
  SetHarmonicScales(&table, 0, 0);
  BuildConversionTable(&table, 1);  // major to minor, degree for degree
  EXPECT_EQ(table.nearest[64], 63);
  EXPECT_EQ(table.nearest[60], 60);
  BuildConversionTable(&table, 11);
  for (int k = 0; k < 128; ++k)
    EXPECT_EQ(table.nearest[k], k);
  SetHarmonicScales(&table, 0, 11);
  BuildConversionTable(&table, 14);  // 3 degrees: index (int)(k x 3/12 + 0.49)
  EXPECT_EQ(table.nearest[4], 11 + 4);
  EXPECT_EQ(table.nearest[127], 127);  // held to the key range
}

}  // namespace
