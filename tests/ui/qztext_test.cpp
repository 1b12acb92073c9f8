#include "ui/qztext.h"

#include <cstring>
#include <gtest/gtest.h>

#include "tests/ui/canvas.h"
#include "ui/atsutext.h"

namespace {

const unsigned char kH[] = "\x03HHH";

TEST(QZTextLook, DecodesFamilyFaceEffectAndJustification)
{
  EXPECT_STREQ(QZ_TextStyleOfLook(textLook{12, 12, 1, 0}).fontName, "Helvetica-Bold");
  EXPECT_STREQ(QZ_TextStyleOfLook(textLook{12, 12, 0, 0}).fontName, "Monaco");
  const QZTextStyle face5 = QZ_TextStyleOfLook(textLook{12, 3, 5, 0});
  EXPECT_STREQ(face5.fontName, "Futura-CondensedMedium");
  EXPECT_EQ(face5.effect, 1);
  const QZTextStyle just4 = QZ_TextStyleOfLook(textLook{12, 0, 0, 4});
  EXPECT_EQ(just4.placement, 1);
  EXPECT_TRUE(just4.topBaseline);
  EXPECT_STREQ(gfontnames[14], "Futura-CondensedExtraBold");
  EXPECT_STREQ(gfontnames[6], "Helvetica-Oblique");
  EXPECT_STREQ(gfontnames[30], "intergalactic");
  EXPECT_EQ(sizeof(gfontnames), 32u * 64u);
}

// Ink of "HHH" in the look, drawn in red into r of a 200 x 60 canvas.
Canvas::Ink DrawH(Canvas& c, textLook look, Rect r)
{
  QZ_drawString(c.ctx, &look, kH, r, 1, 1, 0, 0);
  return c.InkBox();
}

TEST(QZDrawString, PlacesTheLineByJustification)
{
  const Rect r{10, 20, 50, 180};  // W = 156
  const double size = 20;
  Canvas left(200, 60), centre(200, 60), right(200, 60), top(200, 60);
  const Canvas::Ink l = DrawH(left, textLook{20, 1, 0, 0}, r);
  const Canvas::Ink c = DrawH(centre, textLook{20, 1, 0, 1}, r);
  const Canvas::Ink g = DrawH(right, textLook{20, 1, 0, 2}, r);
  const Canvas::Ink t = DrawH(top, textLook{20, 1, 0, 3}, r);
  // H sits on the baseline: its ink ends in the row above it.
  const double middle = (10 + 50) / 2.0 + 0.36 * size;
  EXPECT_NEAR(l.y1 + 1, middle, 1.5);
  EXPECT_NEAR(t.y1 + 1, 10 + 1.25 * size, 1.5);
  // The side bearings of H are within 2 pixels.
  EXPECT_GE(l.x0, 24);
  EXPECT_LE(l.x0, 26);
  const int width = l.x1 - l.x0;
  EXPECT_NEAR((c.x0 + c.x1) / 2.0, 20 + 2 + 156 / 2.0, 2);
  EXPECT_NEAR(g.x1, 20 + 2 + 156, 2.5);
  EXPECT_EQ(g.x1 - g.x0, width);
}

TEST(QZDrawString, DropShadowBlackAtThePointColourUpLeft)
{
  Canvas c(200, 60);
  const textLook shadowLook{20, 1, 4, 0};
  QZ_drawString(c.ctx, &shadowLook, kH, Rect{10, 20, 50, 180}, 1, 1, 0, 0);
  const Canvas::Ink red =
      c.InkWhere([&](int x, int y) { return c.Red(x, y) > 200 && c.Alpha(x, y) > 200; });
  const Canvas::Ink dark =
      c.InkWhere([&](int x, int y) { return c.Alpha(x, y) > 100 && c.Red(x, y) < 20; });
  EXPECT_EQ(red.x0, dark.x0 - 3);
  EXPECT_EQ(red.y1, dark.y1 - 2);
}

TEST(QZDrawString, EmptyStringAndNonPositiveSizeDrawNothing)
{
  Canvas c(40, 40);
  const textLook look{12, 0, 0, 0};
  QZ_drawString(c.ctx, &look, reinterpret_cast<const unsigned char*>(""), Rect{0, 0, 40, 40}, 1, 0,
                0, 0);
  const textLook zero{0, 0, 0, 0};
  QZ_drawString(c.ctx, &zero, kH, Rect{0, 0, 40, 40}, 1, 0, 0, 0);
  EXPECT_EQ(c.InkBox(1).x1, -1);
}

TEST(QZTextEncoding, InvalidUTF8BytesReadAsMacRoman)
{
  const unsigned char s[] =
      "\x05"
      "a\xC9"
      "\xC3\xA9"
      "b";
  EXPECT_EQ(UItext_UTF8FromPascal(s),
            "a\xE2\x80\xA6\xC3\xA9"
            "b");  // ellipsis, e acute
}

// --- Box text

std::vector<UniChar> U16(const char* s)
{
  std::vector<UniChar> out;
  for (; *s; ++s)
    out.push_back(UniChar(uint8_t(*s)));
  return out;
}

styleBlock Style(uint32_t font, bool bold)
{
  styleBlock s;
  s.fontID = font, s.size = 16, s.bold = bold;
  return s;
}

TEST(ATSUText, FaceFiveIsBoldInTheFamilysPlainFont)
{
  const textLook look{16, 3, 5, 0};
  Canvas label(200, 40), plainBold(200, 40), condensed(200, 40);
  const Rect box{0, 0, 40, 200};
  SetGWorld(label.port, nullptr);
  ATSU_drawString(&look, reinterpret_cast<const unsigned char*>("\x05Hello"), box,
                  normalcolor{255, 0, 0, 0});
  const std::vector<UniChar> t = U16("Hello");
  const styleBlock b12 = Style(12, true), b13 = Style(13, true);
  SetGWorld(plainBold.port, nullptr);
  atsuTextBox(t.data(), 5, &box, 0, &b12);
  SetGWorld(condensed.port, nullptr);
  atsuTextBox(t.data(), 5, &box, 0, &b13);
  EXPECT_EQ(label.pixels, plainBold.pixels);
  EXPECT_NE(label.pixels, condensed.pixels);
}

TEST(ATSUText, EmptyTextDrawsNothingAndReturnsZero)
{
  Canvas c(40, 40);
  const Rect box{0, 0, 40, 40};
  const UniChar none[1] = {'x'};
  EXPECT_EQ(atsuFVTextBox(none, 0, &box, 0, 0, 0, true, nullptr), 0);
  EXPECT_EQ(c.InkBox(1).x1, -1);
}

TEST(ATSUText, WrappedLinesShareOneLineHeight)
{
  Canvas c(120, 200);
  const Rect box{0, 0, 200, 70};  // one word a line
  const std::vector<UniChar> t = U16("HHHH HHHH HHHH");
  const styleBlock s = Style(4, false);
  atsuTextBox(t.data(), int32_t(t.size()), &box, 65534, &s);
  // The bottom row of each band of ink is a baseline.
  std::vector<int> bottoms;
  bool inked = false;
  for (int y = 0; y < c.height; ++y) {
    bool row = false;
    for (int x = 0; x < c.width; ++x)
      row = row || c.Alpha(x, y) > 128;
    if (inked && !row)
      bottoms.push_back(y);
    inked = row;
  }
  ASSERT_EQ(bottoms.size(), 3u);
  EXPECT_EQ(bottoms[1] - bottoms[0], bottoms[2] - bottoms[1]);
}

TEST(ATSUText, JustificationCodes)
{
  const Rect box{0, 10, 40, 190};
  const std::vector<UniChar> t = U16("HH");
  const styleBlock s = Style(4, false);
  struct Case
  {
    int16_t code;
    double centre;
  } cases[] = {{0, -1}, {int16_t(65534), -1}, {1, 100}, {-1, -2}};
  for (const Case& k : cases) {
    Canvas c(200, 40);
    atsuTextBox(t.data(), 2, &box, k.code, &s);
    const Canvas::Ink ink = c.InkBox();
    if (k.centre == -1)
      EXPECT_LE(ink.x0, 13) << k.code;  // start
    else if (k.centre == -2)
      EXPECT_GE(ink.x1, 186) << k.code;  // end
    else
      EXPECT_NEAR((ink.x0 + ink.x1) / 2.0, k.centre, 2) << k.code;
  }
}

TEST(ATSUText, AttributesReadZeroWhenNotSetAndCheckSizes)
{
  ATSUStyle style = atsuCreateStyle();
  Fixed size = 7;
  EXPECT_EQ(atsuGetOneAttribute(style, kATSUSizeTag, sizeof(size), &size), 0);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(ATSUIStuffSetSize(style, FixedFromInt(14)), 0);
  EXPECT_EQ(atsuGetOneAttribute(style, kATSUSizeTag, sizeof(size), &size), 0);
  EXPECT_EQ(size, FixedFromInt(14));
  EXPECT_EQ(atsuSetShortAttribute(style, kATSUSizeTag, 3), kATSUParamErr);
  EXPECT_EQ(atsuSetIntAttribute(style, 9999, 3), kATSUParamErr);
  atsuDisposeStyle(style);
}

}  // namespace
