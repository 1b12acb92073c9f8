// Wave tables: the table operations on small known tables (clamped ends,
// out-of-range scales, a destination that is its source, tables shorter
// than the crossfade), reading 'Qjtb' and 'wave' files with their mapping
// and stretch, the dialog, the preview drawn into the current port and the
// action names by modifier key.
#include "sound/wavetables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "../platform/tempfolder.h"
#include "document/envelopes.h"
#include "foundation/appshell.h"
#include "foundation/curves.h"
#include "foundation/doubletables.h"
#include "foundation/iodata.h"
#include "foundation/modifierkeys.h"
#include "imaging/ports.h"
#include "platform/ui.h"

namespace {

std::vector<double> ramp(int32_t n)
{
  std::vector<double> v(static_cast<size_t>(n));
  std::iota(v.begin(), v.end(), 0.0);
  return v;
}

void expectNear(const std::vector<double>& got, const std::vector<double>& expected)
{
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i)
    EXPECT_NEAR(got[i], expected[i], 1e-12) << i;
}

std::string text(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

TEST(WaveTableOperations, ScaleXStretchesAboutTheCentreAndClampsTheEnds)
{
  const std::vector<double> src = ramp(8);
  std::vector<double> dst(8);
  ScaleXtable(src.data(), dst.data(), 2.0, 8);
  EXPECT_EQ(dst, (std::vector<double>{0, 0, 0, 2, 4, 6, 7, 7}));
  // In place gives the same; scales no integer holds stay inside the table.
  std::vector<double> same = src;
  ScaleXtable(same.data(), same.data(), 2.0, 8);
  EXPECT_EQ(same, dst);
  for (double scale : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN()}) {
    ScaleXtable(src.data(), dst.data(), scale, 8);
    for (double v : dst)
      EXPECT_TRUE(v >= 0 && v <= 7) << scale;
  }
}

TEST(WaveTableOperations, NormScaleXFillsOutsideWithZeroOrTheNearestEnd)
{
  std::vector<double> src = ramp(8);
  for (double& v : src)
    v += 1;  // 1..8, so that a 0.0 shows
  std::vector<double> dst(8);
  // j = (k - 3.5) x 2 + 3.5 truncated: -3 -1 0 2 4 6 8 10.
  NormScaleXtable(src.data(), dst.data(), 2.0, 8, 3.5, 1);
  EXPECT_EQ(dst, (std::vector<double>{0, 0, 1, 3, 5, 7, 0, 0}));
  NormScaleXtable(src.data(), dst.data(), 2.0, 8, 3.5, 0);
  EXPECT_EQ(dst, (std::vector<double>{1, 1, 1, 3, 5, 7, 8, 8}));
}

TEST(WaveTableOperations, ScaleXYAndNormScaleY)
{
  const std::vector<double> src{-0.5, 0.25, 0.5, 0.75};
  std::vector<double> dst(4);
  ScaleXYwtable(src.data(), dst.data(), 1.0, 2.0, 4);  // a copy, then x 2 held to [-1, 1]
  EXPECT_EQ(dst, (std::vector<double>{-1.0, 0.5, 1.0, 1.0}));
  ScaleXYwtable(src.data(), dst.data(), 2.0, 1.0, 4);  // as ScaleXtable: 0, 0, 2, 3
  EXPECT_EQ(dst, (std::vector<double>{-0.5, -0.5, 0.5, 0.75}));

  NormScaleYtable(src.data(), dst.data(), 2.0, 4, 0.0);
  EXPECT_EQ(dst, (std::vector<double>{-1.0, 0.5, 1.0, 1.5}));
  NormScaleYtable(src.data(), dst.data(), 2.0, 4, 0.5);  // about 0.5
  EXPECT_EQ(dst, (std::vector<double>{-1.5, 0.0, 0.5, 1.0}));
}

TEST(WaveTableOperations, ScaleTableModes)
{
  struct Case
  {
    int16_t mode;
    std::vector<double> expected;
  };
  const std::vector<double> in{-1.0, -0.5, 0.0, 0.5, 1.0};
  const Case cases[] = {
      {0, {0, 0, 0, 0, 0}},
      {8, {-1.0, -0.25, 0.0, 0.25, 1.0}},
      {9, {-3.0, -1.25, 0.0, 0.75, 1.0}},
      {10, {-1.0, -0.75, 0.0, 0.75, 1.0}},
      {12, {-1.0, -0.5, 0.0, 0.5, 1.0}},
      {5, in},
      {11, in},
  };
  for (const Case& c : cases) {
    std::vector<double> t = in;
    scaletable(t.data(), 5, c.mode);
    EXPECT_EQ(t, c.expected) << c.mode;
  }
  std::vector<double> t{0.25, -0.5};
  scaletable(t.data(), 2, 12);
  EXPECT_EQ(t, (std::vector<double>{0.5, -1.0}));
}

TEST(WaveTableOperations, BalanceMultipliesASinePeriodByTheTurnedTable)
{
  for (uint8_t shift : {0, 1}) {
    gshift = shift;
    std::vector<double> t = ramp(8);
    BalanceWtable(t.data(), 8);
    std::vector<double> curve(8);
    dvector_Curve(curve.data(), 8, 13, 0.0);
    // Without shift: table[(12 + 2i) mod 8] = 4, 6, 0, 2, 4, 6, 0, 2.
    const std::vector<double> turned =
        shift ? ramp(8) : std::vector<double>{4, 6, 0, 2, 4, 6, 0, 2};
    for (size_t i = 0; i < 8; ++i)
      EXPECT_DOUBLE_EQ(t[i], curve[i] * turned[i]) << int(shift) << " " << i;
  }
  gshift = 0;
}

TEST(WaveTableOperations, VectorTableTiltsOffsetsAndFloors)
{
  const std::vector<double> src{-0.8, -0.2, 0.4, 1.6};
  std::vector<double> dst(4);
  // a = 0.5, b = 0.5: no tilt, no offset; held to 1.0 from above.
  vectortable(src.data(), dst.data(), 0.5, 0.5, -1, 4);
  EXPECT_EQ(dst, (std::vector<double>{-0.8, -0.2, 0.4, 1.0}));
  // Below the floor 0: the floor.
  vectortable(src.data(), dst.data(), 0.5, 0.5, 0, 4);
  EXPECT_EQ(dst, (std::vector<double>{0.0, 0.0, 0.4, 1.0}));
  // A floor of 2 or more writes 1.
  vectortable(src.data(), dst.data(), 0.5, 0.5, 3, 4);
  EXPECT_EQ(dst, (std::vector<double>{1, 1, 1, 1}));
  // a = 1: v = k/n - 0.5 + src[k]; b = 0: + 0.5.
  vectortable(src.data(), dst.data(), 1.0, 0.0, -1, 4);
  EXPECT_NEAR(dst[0], -0.8, 1e-12);
  EXPECT_NEAR(dst[2], 0.4 + 0.5, 1e-12);
}

TEST(WaveTableOperations, ShiftTableLoopsWithACrossfadeAndStaysInside)
{
  const int32_t n = 128;
  const std::vector<double> src = ramp(n);
  std::vector<double> dst(n);
  shifttable(src.data(), dst.data(), 1.5, n);
  for (int32_t k = 64; k < n; ++k)
    EXPECT_EQ(dst[size_t(k)], src[size_t(int32_t(1.5 * k) % n)]) << k;
  for (int32_t m : {0, 10, 63}) {
    const double start = src[size_t(int32_t(1.5 * m))];
    const double continuation = src[size_t(int32_t(1.5 * (n + m)) % n)];
    EXPECT_DOUBLE_EQ(dst[size_t(m)], continuation + m / 64.0 * (start - continuation)) << m;
  }
  // A destination that is its source reads the source as it was.
  std::vector<double> same = src;
  shifttable(same.data(), same.data(), 1.5, n);
  EXPECT_EQ(same, dst);

  // Tables shorter than the crossfade, negative and huge steps: every read
  // and write stays inside (the sanitizer watches the exact-size vectors).
  for (int32_t small : {1, 3, 8}) {
    for (double step : {1.0, -1e12, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
      std::vector<double> s = ramp(small), d(size_t(small), -1.0);
      shifttable(s.data(), d.data(), step, small);
      for (double v : d)
        EXPECT_TRUE(v >= 0 && v < small) << small << " " << step;
    }
  }
}

class WaveTableFiles : public ::testing::Test
{
protected:
  void SetUp() override
  {
    if (!tmp.xattrSupported())
      GTEST_SKIP() << "no extended attributes here: file types cannot be kept";
  }
  // A table file of the type, its doubles stored as table files store them.
  FileRef tableFile(const std::string& name, OSType type, const std::vector<double>& values)
  {
    frefinfos record;
    record.parent = tmp.root();
    record.name[0] = uint8_t(name.size());
    std::copy(name.begin(), name.end(), record.name + 1);
    EXPECT_EQ(
        directwrite_table(values.data(), int32_t(values.size()), record, type, fourcc("QjMs")),
        noErr);
    return tmp.ref(name);
  }
  TempFolder tmp;
};

TEST_F(WaveTableFiles, QjtbValuesMapToTwoVMinusOneAndShortFilesStretch)
{
  std::vector<double> table(4, 9.0);
  ASSERT_TRUE(WaveTable_ReadFile(table.data(), 4,
                                 tableFile("t", kEnvelopeFileType, {0.0, 0.25, 0.5, 1.0})));
  EXPECT_EQ(table, (std::vector<double>{-1.0, -0.5, 0.0, 1.0}));

  // Two values into five entries, read at i x 2 / 5 and held to the end.
  std::vector<double> wave(5, 9.0);
  ASSERT_TRUE(WaveTable_ReadFile(wave.data(), 5, tableFile("w", kWaveTableType, {-1.0, 1.0})));
  expectNear(wave, {-1.0, -0.2, 0.6, 1.0, 1.0});

  // An empty file is no table: the values stay.
  FileRef empty = tmp.write("empty");
  EXPECT_FALSE(WaveTable_ReadFile(wave.data(), 5, empty));
  EXPECT_NEAR(wave[1], -0.2, 1e-12);
}

TEST_F(WaveTableFiles, TheDialogOffersBothTypesAndReadsTheChosenFile)
{
  kvui::startScripted();
  SetUpNavUserDatas(&gIOdata, 0, fourcc("KOVR"), fourcc("TEXT"));
  const FileRef file = tableFile("table", kEnvelopeFileType, {0.5, 1.0});
  kvui::script::ChooserAnswer answer;
  answer.paths = {file.path()};
  answer.proposal = kvui::Rect{0, 0, 100, 300};
  kvui::script::chooserAnswer(answer);
  std::vector<double> table(2, 9.0);
  frefinfos record;
  EXPECT_TRUE(read_WaveTable(table.data(), 2, &record));
  EXPECT_EQ(table, (std::vector<double>{0.0, 1.0}));
  // The preview drew into the dialog's area: in the frame centred in it,
  // white beside the curve (0.5 rising to 1.0), the curve in black and the
  // blue fill on its other side; nothing outside the frame.
  const kvui::script::ChooserRecord& shown = kvui::script::lastChooser();
  const int32_t width = shown.customRect.right - shown.customRect.left;
  const int32_t height = shown.customRect.bottom - shown.customRect.top;
  ASSERT_EQ(shown.customPixels.size(), size_t(width) * size_t(height) * 4);
  const auto at = [&](int32_t x, int32_t y) {
    return &shown.customPixels[(size_t(y) * size_t(width) + size_t(x)) * 4];  // B, G, R, A
  };
  int white = 0, black = 0, blue = 0;
  for (int32_t y = height / 2 - 30; y < height / 2 + 30; ++y)
    for (int32_t x = width / 2 - 62; x < width / 2 + 62; ++x) {
      const uint8_t* p = at(x, y);
      white += p[0] == 255 && p[1] == 255 && p[2] == 255;
      black += p[0] < 64 && p[1] < 64 && p[2] < 64 && p[3] == 255;
      blue += p[0] > p[2] + 30;
    }
  EXPECT_GT(white, 500);
  EXPECT_GT(black, 50);
  EXPECT_GT(blue, 124 * 30);
  EXPECT_EQ(at(width / 2, height / 2 - kTablePreviewHeight / 2 - 2)[3], 0);
  EXPECT_EQ(kvui::script::lastChooser().request.title, "Open Wave Table");
  EXPECT_EQ(kvui::script::lastChooser().request.typeNames,
            (std::vector<std::string>{"Qjtb", "wave"}));
  EXPECT_EQ(gIOdata.previewHook, TablePreviewHookProc);
  EXPECT_EQ(text(record.name), "table");

  kvui::script::ChooserAnswer cancel;
  cancel.cancel = true;
  kvui::script::chooserAnswer(cancel);
  EXPECT_FALSE(read_WaveTable(table.data(), 2, &record));
  EXPECT_EQ(table, (std::vector<double>{0.0, 1.0}));
  kvui::stop();
}

TEST_F(WaveTableFiles, ThePreviewDrawsTheCurveInAFrameOfTheCurrentPort)
{
  constexpr int32_t w = 200, h = 100;
  std::vector<uint8_t> pixels(size_t(w * h * 4), 0x80);  // grey: untouched
  CGrafPtr port =
      NewPixelPort(pixels.data(), w * 4, Rect{0, 0, int16_t(h), int16_t(w)}, 32, kPixelFormatARGB);
  ASSERT_NE(port, nullptr);
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(port, nullptr);
  std::vector<double> wave(256);
  for (size_t i = 0; i < wave.size(); ++i)
    wave[i] = std::sin(2 * M_PI * double(i) / 256.0);
  FileRef file = tableFile("wave", kWaveTableType, wave);

  const auto pixel = [&](int32_t x, int32_t y) {
    const uint8_t* p = &pixels[size_t((y * w + x) * 4)];
    return std::vector<int>{p[1], p[2], p[3]};
  };
  const auto countDark = [&] {
    int dark = 0;
    for (int32_t y = 18; y < 82; ++y)
      for (int32_t x = 36; x < 164; ++x)
        dark += pixel(x, y)[0] < 64;
    return dark;
  };
  // A click draws nothing.
  TablePreviewHookProc(kWaveTableType, &file, Point{0, 0}, Point{int16_t(h), int16_t(w)}, true);
  EXPECT_EQ(pixel(100, 50), (std::vector<int>{0x80, 0x80, 0x80}));

  // The 128 x 64 frame centred in 0,0 - 200,100 spans 36..164 x 18..82.
  TablePreviewHookProc(kWaveTableType, &file, Point{0, 0}, Point{int16_t(h), int16_t(w)}, false);
  EXPECT_EQ(pixel(37, 19), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(pixel(20, 50), (std::vector<int>{0x80, 0x80, 0x80}));
  EXPECT_EQ(pixel(180, 50), (std::vector<int>{0x80, 0x80, 0x80}));
  EXPECT_GT(countDark(), 64);  // the curve crosses the frame
  // y grows downwards: white above the curve, the fill below it.
  EXPECT_EQ(pixel(40, 20), (std::vector<int>{255, 255, 255}));
  EXPECT_GT(pixel(40, 80)[2], pixel(40, 80)[0] + 30);

  // Without a file the frame is cleared.
  TablePreviewHookProc(0, nullptr, Point{0, 0}, Point{int16_t(h), int16_t(w)}, false);
  EXPECT_EQ(countDark(), 0);
  SetGWorld(savedPort, savedDevice);
  DisposePixelPort(port);
}

TEST(WaveTableNames, ActionNameByModifier)
{
  struct Case
  {
    uint8_t opt, ctrl, cmd;
    const char* expected;
  };
  const Case cases[] = {
      {1, 1, 1, "Multiply with Saw"},
      {0, 1, 1, "Modulate with Saw"},
      {0, 0, 1, "FadeIn with Saw"},
      {0, 0, 0, "Blend with Saw"},
  };
  const unsigned char name[] = "\003Saw";
  for (const Case& c : cases) {
    gopt = c.opt;
    gctrl = c.ctrl;
    gcmd = c.cmd;
    SetWaveEnvActionName(name);
    EXPECT_EQ(text(gAppInfos.paramString), c.expected);
  }
  gopt = gctrl = gcmd = 0;
}

}  // namespace
