// The sequencer: scales and their lookups, presets, ordering, sequence and
// custom scale files (round trips and damaged fields), and the editing
// commands with their limits.
#include "sound/sequencer.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "../platform/tempfolder.h"
#include "foundation/bigendian.h"
#include "foundation/fileio.h"

namespace {

struct Fixture
{
  std::unique_ptr<SmallSequencer> seq = std::make_unique<SmallSequencer>();
  HarmonicKeys keys;
  explicit Fixture(int16_t preset = 1)
  {
    CreateSmallSequencer(seq.get(), &keys, nullptr);
    SmallSequencerPreset(seq.get(), preset);
  }
};

HarmonicKeys scaleOf(int16_t kind, uint8_t root)
{
  HarmonicKeys t;
  SetHarmonicScales(&t, kind, root);
  return t;
}

TEST(SequencerScales, DegreesAndCountsOfEveryKind)
{
  struct Case
  {
    int16_t kind;
    std::vector<uint8_t> degrees;
  };
  const Case cases[] = {
      {0, {0, 2, 4, 5, 7, 9, 11}},
      {1, {0, 2, 3, 5, 7, 8, 10}},
      {2, {0, 2, 3, 5, 7, 8, 11}},
      {3, {0, 2, 3, 5, 7, 9, 11}},
      {4, {0, 2, 4, 5, 7, 8, 11}},
      {5, {0, 1, 3, 5, 7, 9, 11}},
      {6, {0, 2, 3, 6, 7, 8, 11}},
      {7, {0, 3, 4, 6, 7, 9, 10}},
      {8, {0, 1, 2, 3, 5, 8, 11}},
      {9, {0, 2, 3, 5, 6, 8, 9, 11}},
      {11, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {12, {0, 2, 5, 7, 9}},
      {13, {0, 2, 7, 9}},
      {14, {0, 4, 7}},
      {15, {0, 2, 4, 6, 8, 10}},
      {16, {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    uint8_t degrees[12] = {};
    uint8_t count = 0;
    DefineHScale(degrees, &count, c.kind);
    ASSERT_EQ(count, c.degrees.size()) << c.kind;
    EXPECT_EQ(0, std::memcmp(degrees, c.degrees.data(), count)) << c.kind;
  }
}

TEST(SequencerScales, Lookups)
{
  const HarmonicKeys major = scaleOf(0, 0);
  EXPECT_EQ(NearestKeyInScale(&major, 61), 62);  // +1 before -1
  EXPECT_EQ(major.nearest[61], 62);
  EXPECT_EQ(GetHarmonicKey(&major, 59), 34);
  EXPECT_EQ(GetRealKey(&major, 34), 59);
  EXPECT_EQ(HKeyTranspose(&major, 64, 2), 67);
  EXPECT_EQ(HKeyTranspose(nullptr, 64, 2), 66);
  EXPECT_EQ(HKeyInvert(nullptr, 100, 10), 0);        // held to 0..127
  EXPECT_EQ(GetHarmonicKey(&major, 61), 5 * 7 + 1);  // C# steps up to D
  EXPECT_EQ(GetHbaseIndex(&major, 66), 4);           // F# steps up to G
  uint16_t octave = 0;
  EXPECT_EQ(GetHarmonicIndex(&major, 66, &octave), 7);
  EXPECT_EQ(octave, 5);
  EXPECT_EQ(FilterRealKey(&major, 300), major.nearest[127]);
  EXPECT_EQ(FilterRealKey(nullptr, 300), 300);
  const HarmonicKeys chromatic = scaleOf(11, 3);
  for (uint16_t k : {0, 61, 127}) {
    EXPECT_EQ(chromatic.nearest[k], k);
    EXPECT_EQ(GetHarmonicKey(&chromatic, k), k);
  }
  uint8_t major7[7] = {0, 2, 4, 5, 7, 9, 11};
  EXPECT_EQ(HMtoBits(major7, 7, 0), 0xAB5u);
  EXPECT_EQ(HMtoBits(major7, 7, 1), 0x56Bu);
}

TEST(SequencerScales, GridTicks)
{
  const int16_t expected[16] = {30, 60,  120, 240, 480, 960, 120, 40,
                                80, 160, 320, 120, 90,  180, 360, 120};
  for (int16_t i = 0; i < 16; ++i)
    EXPECT_EQ(SetStdGridTicks(i), expected[i]) << i;
  EXPECT_EQ(SetStdGridTicks(-1), 120);
}

TEST(SequencerRecord, Presets)
{
  struct Case
  {
    int16_t preset, beats;
    int32_t count;
    uint32_t start3, end3;
    uint8_t key3;
  };
  const Case cases[] = {{0, 4, 16, 720, 840, 60},
                        {1, 4, 16, 720, 960, 36},
                        {2, 4, 32, 360, 450, 72},
                        {3, 6, 48, 360, 480, 76},
                        {4, 4, 32, 360, 480, 72}};
  for (const Case& c : cases) {
    Fixture f(c.preset);
    EXPECT_EQ(f.seq->beats, c.beats);
    EXPECT_EQ(f.seq->noteCount, c.count);
    EXPECT_EQ(f.seq->measures, 4);
    EXPECT_EQ(f.seq->notes[3].start, c.start3);
    EXPECT_EQ(f.seq->notes[3].end, c.end3);
    EXPECT_EQ(f.seq->notes[3].key, c.key3);
    EXPECT_EQ(f.seq->notes[3].velocity, 92);
    EXPECT_EQ(f.seq->notes[3].flag, 1);
  }
}

TEST(SequencerRecord, OrderingRangeAndCopy)
{
  Fixture f;
  std::swap(f.seq->notes[0], f.seq->notes[5]);
  f.seq->notes[1].start = f.seq->notes[2].start;
  f.seq->notes[1].key = 99;
  SmallSequencerOrdernotes(f.seq.get());
  for (int i = 1; i < f.seq->noteCount; ++i)
    EXPECT_LE(f.seq->notes[i - 1].start, f.seq->notes[i].start);
  uint16_t low = 0, high = 0;
  SmallSequencerFindRange(f.seq.get(), &low, &high);
  EXPECT_EQ(low, 36);
  EXPECT_EQ(high, 100);
  f.seq->noteCount = 0;
  SmallSequencerFindRange(f.seq.get(), &low, &high);
  EXPECT_EQ(low, 128);
  EXPECT_EQ(high, 1);

  Fixture src, dst;
  src.seq->notes[4].selected = src.seq->notes[5].selected = 1;
  dst.seq->notes[0].selected = 1;
  SmallSequencerCopy(src.seq.get(), dst.seq.get(), 100);
  EXPECT_EQ(dst.seq->noteCount, 18);
  EXPECT_EQ(SmallSequencerHasSel(dst.seq.get()), 1);  // the copies, moved to 100 and 340
  EXPECT_EQ(dst.seq->notes[1].start, 100u);
  EXPECT_EQ(dst.seq->notes[1].selected, 1);
  EXPECT_EQ(SmallSequencerLastSel(dst.seq.get(), 0), 3);
}

TEST(SequencerFiles, RoundTripOfEveryPreset)
{
  TempFolder folder;
  for (int16_t preset = 0; preset < 5; ++preset) {
    Fixture f(preset);
    f.seq->kind = 10;
    f.seq->root = 5;
    f.seq->tempo = 97.5;
    f.seq->options[3] = 42;
    f.seq->option1 = 7;
    f.seq->option3 = 9;
    f.seq->notes[2].selected = 1;
    frefinfos record;
    record.parent = folder.root();
    std::memcpy(record.name, "\x05seq_x", 6);
    record.name[5] = char('0' + preset);
    ASSERT_TRUE(SmallSequencer_Write(f.seq.get(), &record));
    EXPECT_EQ(f.seq->file.state, 3);
    FileRef ref;
    ASSERT_TRUE(App_frefinfos2fSRef(record, &ref));
    const auto bytes = xReadBuffer(ref);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), size_t(kSeqFileSize));
    Fixture back(0);
    ASSERT_TRUE(SmallSequencer_Read(back.seq.get(), &record));
    EXPECT_EQ(back.seq->noteCount, f.seq->noteCount);
    EXPECT_EQ(back.seq->beats, f.seq->beats);
    EXPECT_EQ(back.seq->kind, 10);
    EXPECT_EQ(back.seq->root, 5);
    EXPECT_EQ(back.seq->tempo, 97.5);
    EXPECT_EQ(back.seq->options[3], 42);
    EXPECT_EQ(back.seq->option1, 7);
    EXPECT_EQ(back.seq->option3, 9);
    EXPECT_EQ(0, std::memcmp(back.seq->notes, f.seq->notes, sizeof(SeqNote) * f.seq->noteCount));
    uint16_t option3 = 0, beats = 0;
    double tempo = 0;
    ASSERT_TRUE(SmallSequencer_ReadInfos(&record, &option3, &beats, &tempo));
    EXPECT_EQ(option3, 9);
    EXPECT_EQ(beats, 4 * f.seq->beats);
    EXPECT_EQ(tempo, 97.5);
  }
}

std::vector<unsigned char> storedPreset(int16_t preset)
{
  Fixture f(preset);
  std::vector<unsigned char> bytes(kSeqFileSize);
  SmallSequencerToBytes(*f.seq, bytes.data());
  return bytes;
}

TEST(SequencerFiles, DamagedFieldsAreRefusedOrRepaired)
{
  struct Case
  {
    const char* what;
    int offset;
    int size;
    uint32_t value;
  };
  const Case refused[] = {{"count 300", 8, 4, 300},       {"count -1", 8, 4, 0xFFFFFFFF},
                          {"root 40", 2, 2, 40},          {"custom count 0", 96, 2, 0},
                          {"custom count 13", 96, 2, 13}, {"degree 12", 100, 1, 12}};
  for (const Case& c : refused) {
    auto bytes = storedPreset(2);
    if (c.size == 4)
      be::put_u32(bytes.data() + c.offset, c.value);
    else if (c.size == 2)
      be::put_u16(bytes.data() + c.offset, uint16_t(c.value));
    else
      bytes[size_t(c.offset)] = uint8_t(c.value);
    Fixture f(0);
    EXPECT_FALSE(SmallSequencerFromBytes(f.seq.get(), bytes.data(), int64_t(bytes.size())))
        << c.what;
    EXPECT_EQ(f.seq->noteCount, 16) << c.what;
  }
  // A file shorter than its notes is refused.
  auto shortFile = storedPreset(2);
  Fixture f(0);
  EXPECT_FALSE(SmallSequencerFromBytes(f.seq.get(), shortFile.data(), 112 + 12 * 31));
  EXPECT_TRUE(SmallSequencerFromBytes(f.seq.get(), shortFile.data(), 112 + 12 * 32));

  // Beats 0 and measures 0: beats 1, measures enough for the last note.
  auto repaired = storedPreset(2);
  be::put_u16(repaired.data() + 4, 0);
  be::put_u16(repaired.data() + 6, 0);
  repaired[112 + 12 * 5 + 8] = 200;  // a key above 127
  ASSERT_TRUE(SmallSequencerFromBytes(f.seq.get(), repaired.data(), kSeqFileSize));
  EXPECT_EQ(f.seq->beats, 1);
  EXPECT_EQ(f.seq->measures, int16_t((120 * 31 + 90) / 240));
  EXPECT_EQ(f.seq->notes[5].key, 127);
  be::put_u16(repaired.data() + 6, 4);
  ASSERT_TRUE(SmallSequencerFromBytes(f.seq.get(), repaired.data(), kSeqFileSize));
  EXPECT_EQ(f.seq->measures, 3);  // 3810 / 960
}

TEST(SequencerFiles, CustomScale)
{
  TempFolder folder;
  const uint16_t scale[13] = {5, 0, 2, 4, 7, 9, 0, 0, 0, 0, 0, 0, 0};
  const FileRef ref = folder.ref("mine.csca");
  CustomScale_Write(scale, &ref);
  auto bytes = xReadBuffer(ref);
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), size_t(kCustomScaleFileSize));
  EXPECT_EQ(be::get_u16(bytes->data() + 8), 7);
  uint16_t back[13] = {};
  ASSERT_TRUE(CustomScale_Read(&ref, back));
  EXPECT_EQ(0, std::memcmp(back, scale, sizeof back));
  for (auto [offset, value] : {std::pair{0, 0}, {0, 13}, {2, 12}}) {
    auto damaged = *bytes;
    be::put_u16(damaged.data() + offset, uint16_t(value));
    uint16_t out[13] = {};
    EXPECT_FALSE(CustomScaleFromBytes(damaged.data(), kCustomScaleFileSize, out));
    EXPECT_EQ(out[0], 0);
  }
  EXPECT_FALSE(CustomScaleFromBytes(bytes->data(), 25, back));
}

TEST(SequencerDraw, NotesOnTheBackground)
{
  Fixture f(0);
  CGImageRef image = SmallSequencer_BuildRepresentation(f.seq.get(), 64, 32, 1);
  ASSERT_NE(image, nullptr);
  QZ_ImageRelease(image);
  EXPECT_EQ(SmallSequencer_BuildRepresentation(f.seq.get(), 0, 32, 1), nullptr);
}

}  // namespace
