// Standard video formats, SMPTE conversions and the rendering-preference
// defaults that use them.
#include "document/videoformats.h"

#include <gtest/gtest.h>

#include "document/engineapi.h"

namespace {

TEST(VideoFormats, TableLookups)
{
  struct Case
  {
    int16_t fw, fh, dw, dh;
    double rate;
    int16_t want;
  } cases[] = {
      {768, 576, 768, 576, 25, 8},      {720, 576, 768, 576, 25, 9},
      {640, 480, 640, 480, 30, 6},      {720, 480, 640, 480, 30, 7},
      {800, 576, 1024, 576, 25, 0},     {720, 576, 1024, 576, 25, 11},
      {1920, 1080, 1920, 1080, 24, 15}, {1920, 1080, 1920, 1080, 25, 16},
      {3840, 1, 3840, 2, 0, 18},        {100, 100, 100, 100, 25, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindSTDVideoFormatIndex(c.fw, c.fh, c.dw, c.dh, c.rate), c.want) << c.dw;
  int16_t w = -1, h = -1, dw = -1, dh = -1;
  double rate = -1;
  EXPECT_EQ(GetSTDVideoFormatInfos(0, &w, &h, &dw, &dh, &rate), 0);
  EXPECT_EQ(w, -1);
  EXPECT_EQ(GetSTDVideoFormatInfos(9, &w, &h, &dw, &dh, &rate), 1);
  EXPECT_EQ(w, 720);
  EXPECT_EQ(dw, 768);
  EXPECT_EQ(rate, 25);
  rate = -1;
  EXPECT_EQ(GetSTDVideoFormatInfos(2, &w, &h, nullptr, nullptr, &rate), 1);
  EXPECT_EQ(rate, -1);  // a format without a rate leaves it
  EXPECT_EQ(GetSTDVideoFormatInfos(19, &w, &h, nullptr, nullptr, nullptr), 0);
}

TEST(VideoFormats, FramesAndSMPTE)
{
  EXPECT_EQ(mstoframe(1020, 2500), 25);  // 25.5 rounds down
  EXPECT_EQ(mstoframe(1021, 2500), 26);
  const KVsmpte t = KV_unpackSMPTE(msToSMPTE(59999, 2500));
  EXPECT_EQ(t.minutes, 0);
  EXPECT_EQ(t.seconds, 60);
  EXPECT_EQ(t.frames, 0);
  const KVsmpte f = KV_unpackSMPTE(fToSMPTE(30, 2500));
  EXPECT_EQ(f.seconds, 1);
  EXPECT_EQ(f.frames, 5);
  KVsmpte m{5, 0, 0};
  maxSMPTE(&m, 2500, 61000);
  EXPECT_EQ(m.minutes, 1);
  EXPECT_EQ(m.seconds, 1);
}

TEST(VideoFormats, RenderingPreferenceDefaults)
{
  KVrenderPrefs p;
  Kovrelin_DefaultPrefs(&p);
  EXPECT_EQ(p.outputRect.bottom, 576);
  EXPECT_EQ(p.outputRect.right, 768);
  EXPECT_EQ(p.width, 768);
  EXPECT_EQ(p.height, 576);
  EXPECT_EQ(p.frameRate, 25.0);
  EXPECT_EQ(p.videoFormat, 8);
  EXPECT_EQ(p.setting1, 1);
  EXPECT_EQ(p.setting3, 100);
  EXPECT_EQ(p.settings[3], 1024);
  EXPECT_EQ(p.compression.codecType, fourcc("rle "));
  EXPECT_EQ(p.compression.codec, 0);
  EXPECT_EQ(p.compression.depth, 24);
  EXPECT_EQ(p.compression.quality, 512);
  EXPECT_EQ(p.compression.settings[1], -1);
  EXPECT_EQ(p.compression.settings[3], 2);
  EXPECT_EQ(p.sound.tag, 2);
  EXPECT_EQ(p.sound.transposition, 12);
  EXPECT_EQ(p.sound.setting2, 120.0);
}

}  // namespace
