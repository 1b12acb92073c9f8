// Filter files: the 136 bytes of the settings, their round trip through a
// file, the 16-bit values of modes 13 and 14 in the big-endian doubles,
// short files, and the save and open dialogs on the scripted backend.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "../platform/tempfolder.h"
#include "foundation/iodata.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "sound/effects.h"

namespace {

filterinfos sample()
{
  filterinfos s;
  s.variant = 3;
  s.active = 1;
  s.mode = 9;
  s.time1 = 123456;
  s.time2 = -7;
  s.p1 = 0.1;
  s.p2 = -2.5e300;
  s.p3 = std::nextafter(1.0, 2.0);
  s.p4 = -0.0;
  s.p5 = 4.9e-324;
  s.pan = 0.3;
  s.level = 1.75;
  return s;
}

bool sameBits(double a, double b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectSameFields(const filterinfos& a, const filterinfos& b)
{
  EXPECT_EQ(a.variant, b.variant);
  EXPECT_EQ(a.mode, b.mode);
  EXPECT_EQ(a.time1, b.time1);
  EXPECT_EQ(a.time2, b.time2);
  const double* pa[] = {&a.p1, &a.p2, &a.p3, &a.p4, &a.p5, &a.pan, &a.level};
  const double* pb[] = {&b.p1, &b.p2, &b.p3, &b.p4, &b.p5, &b.pan, &b.level};
  for (int k = 0; k < 7; ++k)
    EXPECT_TRUE(sameBits(*pa[k], *pb[k])) << k;
}

TEST(FilterFile, BytesAreBigEndianWithZeroReserve)
{
  unsigned char b[kFilterFileSize];
  FilterFileBytes(sample(), b);
  const unsigned char head[] = {0, 0, 0, 5, 3, 1, 0, 9, 0, 1, 0xE2, 0x40, 0xFF, 0xFF, 0xFF, 0xF9};
  EXPECT_EQ(std::memcmp(b, head, sizeof head), 0);
  const unsigned char level[8] = {0x3F, 0xFC, 0, 0, 0, 0, 0, 0};  // 1.75 at 64
  EXPECT_EQ(std::memcmp(b + 64, level, 8), 0);
  for (int i = 72; i < kFilterFileSize; ++i)
    EXPECT_EQ(b[i], 0) << i;
}

TEST(FilterFile, SixteenBitValuesLandReversedInTheDoubles)
{
  // Mode 13 keeps its four values in p5 (bytes 48..55 of the file): value k
  // low byte first at bytes 2k, 2k + 1 of the double, so the big-endian
  // double puts value 0's low byte last.
  filterinfos ws;
  ws.mode = 13;
  SoundEffects_SetFilterDefault(&ws);
  unsigned char b[kFilterFileSize];
  FilterFileBytes(ws, b);
  const unsigned char p5[8] = {0, 92, 0, 164, 0, 128, 0, 32};
  EXPECT_EQ(std::memcmp(b + 48, p5, 8), 0);
  // Mode 14: eight values of 92 across p4 and p5.
  filterinfos eq;
  eq.mode = 14;
  SoundEffects_SetFilterDefault(&eq);
  FXsetBandValue(&eq, 0, -2);
  FXsetBandValue(&eq, 7, 300);
  FilterFileBytes(eq, b);
  EXPECT_EQ(b[40 + 7], 0xFE);  // value 0 = -2: low byte last of p4
  EXPECT_EQ(b[40 + 6], 0xFF);
  EXPECT_EQ(b[48 + 0], 0x01);  // value 7 = 300: high byte first of p5
  EXPECT_EQ(b[48 + 1], 0x2C);
  filterinfos back;
  ASSERT_TRUE(FilterFromBytes(&back, b, kFilterFileSize));
  EXPECT_EQ(FXbandValue(back, 0), -2);
  EXPECT_EQ(FXbandValue(back, 3), 92);
  EXPECT_EQ(FXbandValue(back, 7), 300);
}

TEST(FilterFile, RoundTripThroughAFileAndShortFilesChangeNothing)
{
  TempFolder tmp;
  FileRef ref = tmp.write("fx.tef");
  int16_t fork = PBfFile_Open(ref, fsRdWrPerm);
  ASSERT_NE(fork, 0);
  filterinfos s = sample();
  ASSERT_EQ(WriteTFilter(&s, fork), noErr);
  PBfFile_Close(fork);
  EXPECT_EQ(TempFolder::read(ref).size(), size_t(kFilterFileSize));

  filterinfos back;
  back.active = 0;
  fork = PBfFile_Open(ref, fsRdPerm);
  ASSERT_EQ(ReadTFilter(&back, fork), noErr);
  PBfFile_Close(fork);
  expectSameFields(s, back);
  EXPECT_EQ(back.active, 0);  // the stored active byte is not taken

  std::string bytes = TempFolder::read(ref);
  FileRef shortRef = tmp.write("short.tef", bytes.substr(0, 135));
  filterinfos untouched = sample();
  untouched.mode = 2;
  filterinfos before = untouched;
  fork = PBfFile_Open(shortRef, fsRdPerm);
  EXPECT_NE(ReadTFilter(&untouched, fork), noErr);
  PBfFile_Close(fork);
  expectSameFields(before, untouched);
}

TEST(FilterFile, ReadingDamagedFilesOverARunningEffect)
{
  // Unknown modes, huge times and NaN parameters: after the read the effect
  // is dry (another mode) or adjusted and clamped (its own mode).
  filterinfos s;
  s.pan = 0.5;
  s.level = 1.0;
  FXruntime rt;
  SoundEffects_FilterModeChanged(&s, &rt, 6);
  const int16_t modes[] = {6, 99, -3, 0};
  for (int16_t mode : modes) {
    filterinfos damaged;
    damaged.mode = mode;
    damaged.active = 1;
    damaged.time1 = 2147483647;
    damaged.time2 = -2147483647 - 1;
    damaged.p1 = damaged.p2 = damaged.p3 = NAN;
    unsigned char b[kFilterFileSize];
    FilterFileBytes(damaged, b);
    ASSERT_TRUE(FilterFromBytes(&s, b, kFilterFileSize));
    EXPECT_EQ(s.active, 1);  // still the runtime's word, from the mode change
    SoundEffects_FilterAdjust(&s, &rt, true);
    double in[256], l[256] = {}, r[256] = {};
    for (int i = 0; i < 256; ++i)
      in[i] = std::sin(i * 0.1);
    SoundEffects_addsamplesfilterfloat(&s, &rt, 0, in, in, l, r, 256);
    for (int i = 0; i < 256; ++i)
      ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << mode;
  }
  EXPECT_FALSE(FilterFromBytes(&s, nullptr, 0));
  SoundEffects_FilterKill(&s, &rt);
}

TEST(FilterFile, PreviewHookFillsItsRectangleGrey)
{
  std::vector<uint8_t> pixels(8 * 4 * 4, 0);
  CGContextRef ctx = QZ_BitmapContextCreate(pixels.data(), 8, 4, kQZBitmapSkipFirst);
  ASSERT_NE(ctx, nullptr);
  SoundEffects_SOfilter_preview(ctx, QZRect{0, 0, 4, 4});
  QZ_ContextFlush(ctx);
  QZ_ContextRelease(ctx);
  EXPECT_EQ(pixels[1], 34);  // inside: red, green and blue 34
  EXPECT_EQ(pixels[2], 34);
  EXPECT_EQ(pixels[3], 34);
  EXPECT_EQ(pixels[4 * 6 + 1], 0);  // column 6 is outside
}

class FilterFileDialogs : public ::testing::Test
{
protected:
  void SetUp() override { kvui::startScripted(); }
  void TearDown() override { kvui::stop(); }
  TempFolder tmp;
};

TEST_F(FilterFileDialogs, SaveAndOpenThroughTheDialogs)
{
  filterinfos none;
  frefinfos record;
  EXPECT_EQ(SFwrite_filter(&none, &record), 0);  // mode 0 writes nothing
  EXPECT_TRUE(kvfs::listFolder(tmp.root()).empty());

  filterinfos s = sample();
  kvui::script::ChooserAnswer save;
  save.folder = tmp.root().path();
  save.name = "mine.tef";
  kvui::script::chooserAnswer(save);
  ASSERT_EQ(SFwrite_filter(&s, &record), 1);
  FileRef written = tmp.ref("mine.tef");
  ASSERT_EQ(TempFolder::read(written).size(), size_t(kFilterFileSize));
  EXPECT_EQ(gIOdata.prompt[0], 19);

  kvui::script::ChooserAnswer open;
  open.paths = {written.path()};
  kvui::script::chooserAnswer(open);
  filterinfos back;
  frefinfos chosen;
  ASSERT_EQ(SFread_filter(&back, &chosen), 1);
  expectSameFields(s, back);

  kvui::script::ChooserAnswer cancel;
  cancel.cancel = true;
  kvui::script::chooserAnswer(cancel);
  EXPECT_EQ(SFread_filter(&back, &chosen), 0);
}

}  // namespace
