// Sequencer editing commands: timing, repetition, pitch in and out of a
// scale, velocity ramps, and the limits on ticks, keys and velocities.
#include <gtest/gtest.h>
#include <memory>

#include "sound/sequencer.h"

namespace {

struct Seq
{
  std::unique_ptr<SmallSequencer> seq = std::make_unique<SmallSequencer>();
  HarmonicKeys keys;
  explicit Seq(int16_t preset = 1, int16_t kind = 0)
  {
    CreateSmallSequencer(seq.get(), &keys, nullptr);
    SmallSequencerPreset(seq.get(), preset);
    SetHarmonicScales(&keys, kind, 0);
  }
  SeqNote& operator[](int i) { return seq->notes[i]; }
  void cmd(const char (&c)[5], int32_t value = 0)
  {
    SmallSequencerCmd(seq.get(), fourcc(c), value);
  }
};

TEST(SequencerCommands, Timing)
{
  {
    Seq s;
    s.cmd("dura", -100000);
    EXPECT_EQ(s[3].end - s[3].start, 15u);
  }
  {
    Seq s;
    s[0].start = 359;
    s[0].end = 400;
    s.cmd("quan", 120);
    EXPECT_EQ(s[0].start, 240u);
    EXPECT_EQ(s[0].end, 281u);
    s.cmd("quan", 0);  // nothing, no division
    s.cmd("quan", -5);
    EXPECT_EQ(s[0].start, 240u);
  }
  {
    Seq s;
    s[2].selected = 1;
    s.cmd("offs", -100000);  // stops at 0, keeps the length
    const int16_t moved = SmallSequencerHasSel(s.seq.get());
    ASSERT_LE(moved, 1);
    EXPECT_EQ(s[moved].start, 0u);
    EXPECT_EQ(s[moved].end, 240u);
    EXPECT_EQ(s[moved].key, 60);
  }
  {
    Seq s;
    s.cmd("tsca", -50);
    for (int i = 0; i < s.seq->noteCount; ++i)
      EXPECT_LT(s[i].start, 1000000u) << i;
  }
  {
    Seq s;
    s.cmd("slow");
    EXPECT_EQ(s[1].start, 480u);
    EXPECT_EQ(s[1].end, 960u);
    s.cmd("tinv");
    EXPECT_EQ(s[0].start, 0u);
    EXPECT_EQ(s[0].key, 36);  // the last note comes first
  }
  {
    Seq s;  // 16 notes a beat apart over 4 x 4 beats
    s.cmd("fast");
    EXPECT_EQ(s.seq->noteCount, 32);
    EXPECT_EQ(s[1].start, 120u);
    EXPECT_EQ(s[16].start, 1920u);
  }
}

TEST(SequencerCommands, RepeatKeepsTheFirstHalf)
{
  Seq s;
  s.seq->noteCount = 256;
  for (int i = 0; i < 256; ++i) {
    s[i].start = i < 200 ? uint32_t(i * 9) : uint32_t(2000 + i);
    s[i].end = s[i].start + 5;
  }
  s.cmd("rept");
  EXPECT_EQ(s.seq->noteCount, 256);
  EXPECT_EQ(s[200].start, 1920u);
  EXPECT_EQ(s[255].start, 1920u + 55 * 9);
  EXPECT_EQ(s[255].selected, 1);
  Seq empty;
  for (int i = 0; i < 16; ++i)
    empty[i].start += 2000;
  empty.cmd("rept");
  EXPECT_EQ(empty.seq->noteCount, 0);
}

TEST(SequencerCommands, Pitch)
{
  {
    Seq s(1, 0);
    s.cmd("tran", 2);  // C major: 48 C -> E, 55 G -> B
    EXPECT_EQ(s[0].key, 52);
    EXPECT_EQ(s[1].key, 59);
  }
  {
    Seq s(1, 11);
    s[0].key = 126;
    s.cmd("tran", 5);  // held to 127
    EXPECT_EQ(s[0].key, 127);
    Seq t(1, 11);
    t[0].key = 2;
    t.cmd("tran", -10);
    EXPECT_EQ(t[0].key, 0);
  }
  {
    Seq s(4, 11);
    s[0].key = 20;
    s.cmd("pinv");
    s.cmd("pinv");
    const uint8_t keys[4] = {60, 64, 67, 72};
    for (int i = 0; i < s.seq->noteCount; ++i)
      EXPECT_EQ(s[i].key, i == 0 ? 20 : keys[i % 4]) << i;
  }
  {
    Seq s(4, 11);
    s.seq->keys = nullptr;
    s.cmd("scam", 127);
    for (int i = 0; i < s.seq->noteCount; ++i)
      EXPECT_LE(s[i].key, 127) << i;
  }
  {
    Seq s(2, 0);
    s.seq->noteCount = 100;
    s.cmd("sall");
    s.cmd("chor");
    EXPECT_GE(s.seq->noteCount, 255);
    EXPECT_EQ(SmallSequencerHasSel(s.seq.get()), 1);
  }
}

TEST(SequencerCommands, Velocity)
{
  {
    Seq s;
    s.cmd("velA", 100);
    EXPECT_EQ(s[0].velocity, 127);
    s.cmd("velA", -300);
    EXPECT_EQ(s[0].velocity, 0);
  }
  {
    Seq s;               // no selection: the ramp runs over the sequence, 0 to 3840
    s.cmd("velB", 128);  // w = 1: the velocities become the ramp
    EXPECT_EQ(s[0].velocity, 0);
    EXPECT_EQ(s[8].velocity, 1920 * 127 / 3840);
    s.cmd("velC", -128);  // w = 0: unchanged
    EXPECT_EQ(s[8].velocity, 1920 * 127 / 3840);
  }
  {
    Seq s;
    s[4].selected = 1;  // a ramp of no length: nothing
    s.cmd("velB", 128);
    EXPECT_EQ(s[4].velocity, 92);
  }
}

}  // namespace
