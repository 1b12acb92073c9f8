#include "foundation/colormath.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "foundation/drawstate.h"

// Readable failures: (flag, red, green, blue).
inline std::ostream& operator<<(std::ostream& os, const normalcolor& c)
{
  return os << "(" << int(c.flag) << ", " << int(c.red) << ", " << int(c.green) << ", "
            << int(c.blue) << ")";
}

namespace {

constexpr normalcolor kBlackA{10, 0, 0, 0};
constexpr normalcolor kWhiteB{200, 255, 255, 255};
constexpr normalcolor kUnset{0xAB, 0xAB, 0xAB, 0xAB};

struct ColorCase
{
  const char* what;
  std::function<normalcolor()> run;
  normalcolor expected;
};

TEST(ColorInterpolation, EndsAndByteZeroRules)
{
  const normalcolor* a = &kBlackA;
  const normalcolor* b = &kWhiteB;
  const ColorCase cases[] = {
      {"PColorLERP middle", [=] { return PColorLERP(a, b, 0.5); }, {105, 127, 127, 127}},
      {"PColorLERP t = 0", [=] { return PColorLERP(a, b, 0); }, kBlackA},
      {"PColorLERP t = 1", [=] { return PColorLERP(a, b, 1); }, {200, 255, 255, 255}},
      {"PColorLERP t > 1", [=] { return PColorLERP(a, b, 1.5); }, kWhiteB},
      {"ColorLERP middle", [=] { return ColorLERP(a, b, 0.5); }, {255, 127, 127, 127}},
      {"ColorLERP t <= 0", [=] { return ColorLERP(a, b, -3); }, {255, 0, 0, 0}},
      {"ColorLERP t > 1", [=] { return ColorLERP(a, b, 2); }, {255, 255, 255, 255}},
      {"ColorLERP NaN", [=] { return ColorLERP(a, b, NAN); }, {255, 0, 0, 0}},
      {"DColorLERP middle", [=] { return DColorLERP(*a, *b, 0.5); }, {105, 127, 127, 127}},
      {"DColorLERP t = 0 interpolates", [=] { return DColorLERP(*a, *b, 0); }, kBlackA},
      {"DColorLERP t < 0", [=] { return DColorLERP(*a, *b, -0.1); }, kBlackA},
      {"normalcolorLERP quarter", [=] { return normalcolorLERP(*a, *b, 0.25); }, {255, 63, 63, 63}},
      {"normalcolorLERP t > 1", [=] { return normalcolorLERP(*a, *b, 9); }, kWhiteB},
      {"PColorLERP256 128", [=] { return PColorLERP256(a, b, 128); }, {105, 127, 127, 127}},
      {"PColorLERP256 300", [=] { return PColorLERP256(a, b, 300); }, kWhiteB},
      {"PColorLERP256 -4", [=] { return PColorLERP256(a, b, -4); }, kBlackA},
      {"ColorLERP256 200", [=] { return ColorLERP256(a, b, 200); }, {200, 199, 199, 199}},
      {"ColorLERP256 256", [=] { return ColorLERP256(a, b, 256); }, kWhiteB},
      {"ColorLERP256 0", [=] { return ColorLERP256(a, b, 0); }, kBlackA},
      // Falling channels truncate toward zero: 255 + trunc(-255 * 0.5).
      {"PColorLERP falling", [=] { return PColorLERP(b, a, 0.5); }, {105, 128, 128, 128}},
      {"ColorLERP256 falling", [=] { return ColorLERP256(b, a, 1); }, {1, 255, 255, 255}},
  };
  for (const ColorCase& c : cases)
    EXPECT_EQ(c.run(), c.expected) << c.what;
}

TEST(ColorRamps, ThreePointBlendsLeaveByteZero)
{
  const normalcolor a{1, 0, 0, 0}, b{2, 100, 100, 100}, c{3, 200, 0, 255};
  struct Case
  {
    double t;
    bool eased;
    normalcolor expected;
  } cases[] = {
      {0.25, false, {0xAB, 50, 50, 50}},
      {0.75, false, {0xAB, 150, 50, 177}},
      {0.5, false, {0xAB, 100, 100, 100}},
      {1.0, false, {0xAB, 200, 0, 255}},
      {0.125, true, {0xAB, 15, 15, 15}},
      {0.25, true, {0xAB, 50, 50, 50}},
      {-0.1, false, a},
      {1.1, true, c},
  };
  for (const Case& k : cases) {
    normalcolor out = kUnset;
    (k.eased ? ColorSpline : ColorInterpol)(&a, &b, &c, &out, k.t);
    EXPECT_EQ(out, k.expected) << "t " << k.t << (k.eased ? " spline" : " linear");
  }
}

TEST(ColorGradient, SingleEntryTableGivesEntryZeroEverywhere)
{
  const normalcolor table[1] = {{7, 10, 20, 30}};
  for (double t : {-1.0, 0.0, 0.3, 1.0, 5.0, double(NAN)}) {
    EXPECT_EQ(colorgradient(table, 1, t), (normalcolor{255, 10, 20, 30})) << t;
    double r, g, b;
    fcolorgradient(table, 1, t, &r, &g, &b);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(b, 30);
  }
}

TEST(ColorGradient, InterpolatesBetweenNeighbours)
{
  const normalcolor table[3] = {{0, 0, 0, 0}, {9, 100, 200, 50}, {9, 200, 0, 51}};
  struct Case
  {
    double t;
    normalcolor expected;
    double red, green, blue;
  } cases[] = {
      {-0.5, {255, 0, 0, 0}, 0, 0, 0},
      {NAN, {255, 0, 0, 0}, 0, 0, 0},
      {0.25, {255, 50, 100, 25}, 50, 100, 25},
      {0.5, {255, 100, 200, 50}, 100, 200, 50},
      {0.625, {255, 125, 150, 50}, 125, 150, 50.25},
      {1.0, {255, 200, 0, 51}, 200, 0, 51},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colorgradient(table, 3, c.t), c.expected) << c.t;
    double r, g, b;
    fcolorgradient(table, 3, c.t, &r, &g, &b);
    EXPECT_NEAR(r, c.red, 1e-9) << c.t;
    EXPECT_NEAR(g, c.green, 1e-9) << c.t;
    EXPECT_NEAR(b, c.blue, 1e-9) << c.t;
  }
}

TEST(LinearGradient, LookupsAndColourMap)
{
  const normalcolor table[3] = {{0, 0, 0, 0}, {100, 100, 200, 50}, {255, 200, 0, 250}};
  struct Case
  {
    int32_t n;
    double t;
    normalcolor expected;
  } cases[] = {
      {1, 0.5, {255, 0, 0, 0}}, {3, 0, table[0]},  {3, 0.25, {50, 50, 100, 25}},
      {3, 0.5, table[1]},       {3, 1, table[2]},  {3, 7, table[2]},
      {3, -0.5, table[0]},      {3, -3, table[0]}, {3, double(NAN), table[0]},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Linear_pgrad(0, 0, table, c.n, c.t), c.expected) << c.n << " " << c.t;

  normalcolor map[5];
  Buildgradation_CMAP(map, table, 3, 4, false);
  const normalcolor plain[5] = {
      table[0], {50, 50, 100, 25}, table[1], {177, 150, 100, 150}, table[2]};
  for (int k = 0; k < 5; ++k)
    EXPECT_EQ(map[k], plain[k]) << k;

  Buildgradation_CMAP(map, table, 3, 2, true);
  EXPECT_EQ(map[0], table[0]);
  EXPECT_EQ(map[1], (normalcolor{100, 39, 78, 19}));
  EXPECT_EQ(map[2], table[2]);

  map[0] = kUnset;
  Buildgradation_CMAP(map, table, 3, -1, false);
  EXPECT_EQ(map[0], kUnset);
}

TEST(ChannelArithmetic, Table)
{
  const normalcolor a{1, 100, 200, 30}, b{2, 200, 100, 255};
  const normalcolor darkGrey{5, 60, 60, 60}, grey{5, 100, 100, 100};
  auto into = [](auto op) {
    normalcolor out = kUnset;
    op(&out);
    return out;
  };
  const ColorCase cases[] = {
      {"CScale",
       [=] {
         normalcolor c = a;
         CScale(&c, 1.5);
         return c;
       },
       {1, 150, 255, 45}},
      {"CScale negative",
       [=] {
         normalcolor c = a;
         CScale(&c, -1);
         return c;
       },
       {1, 0, 0, 0}},
      {"CconstAdd",
       [&] { return into([&](normalcolor* o) { CconstAdd(&a, 60, o); }); },
       {0xAB, 160, 255, 90}},
      {"CAddValue",
       [&] { return into([&](normalcolor* o) { CAddValue(&a, -150, o); }); },
       {0xAB, 0, 50, 0}},
      {"CSub",
       [&] { return into([&](normalcolor* o) { CSub(&a, -20, o); }); },
       {0xAB, 80, 180, 10}},
      {"CAdd",
       [&] { return into([&](normalcolor* o) { CAdd(&a, &b, o); }); },
       {0xAB, 255, 255, 255}},
      {"CMax",
       [&] { return into([&](normalcolor* o) { CMax(&a, &b, o); }); },
       {0xAB, 200, 200, 255}},
      {"Cmul", [&] { return into([&](normalcolor* o) { Cmul(&a, &b, o); }); }, {0xAB, 78, 78, 30}},
      {"Chilit dark grey", [&] { return into([&](normalcolor* o) { Chilit(&darkGrey, &b, o); }); },
       darkGrey},
      {"Chilit grey",
       [&] { return into([&](normalcolor* o) { Chilit(&grey, &b, o); }); },
       {0xAB, 156, 78, 199}},
      {"Chilit colour",
       [&] { return into([&](normalcolor* o) { Chilit(&a, &b, o); }); },
       {0xAB, 156, 156, 59}},
  };
  for (const ColorCase& c : cases)
    EXPECT_EQ(c.run(), c.expected) << c.what;
}

TEST(ResponseMap, ContrastAmounts)
{
  uint8_t map[256];
  BuildresponseMap(map, 128);  // a = 0: identity
  for (int i = 0; i < 256; ++i)
    ASSERT_EQ(map[i], i);
  BuildresponseMap(map, 0);  // b = 250: compressed to the top
  EXPECT_EQ(map[0], 250);
  EXPECT_EQ(map[255], 255);
  BuildresponseMap(map, 256);  // b = -2048: steep, clamped below
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[226], 0);
  EXPECT_EQ(map[240], 119);
  EXPECT_EQ(map[255], 255);
}

struct PrimaryCase
{
  uint8_t r, g, b;
  int hue, lightness, hslSat, hsvSat, value;
};
const PrimaryCase kPrimaries[] = {
    {255, 0, 0, 0, 127, 255, 255, 255},     {0, 255, 0, 120, 127, 255, 255, 255},
    {0, 0, 255, 240, 127, 255, 255, 255},   {255, 255, 0, 60, 127, 255, 255, 255},
    {0, 255, 255, 180, 127, 255, 255, 255}, {255, 0, 255, 300, 127, 255, 255, 255},
    {255, 255, 255, 0, 255, 0, 0, 255},     {0, 0, 0, 0, 0, 0, 0, 0},
    {128, 128, 128, 0, 128, 0, 0, 128},     {255, 128, 128, 0, 191, 255, 127, 255},
};

TEST(ColorConversion, ByteFormsAtThePrimaries)
{
  for (const PrimaryCase& c : kPrimaries) {
    SCOPED_TRACE(::testing::Message() << int(c.r) << "," << int(c.g) << "," << int(c.b));
    normalcolor hsl, hsv;
    myRGBtoHSL(c.r, c.g, c.b, &hsl);
    myRGBtoHSV(c.r, c.g, c.b, &hsv);
    EXPECT_EQ(normalcolorHue(hsl), c.hue);
    EXPECT_EQ(hsl.green, c.lightness);
    EXPECT_EQ(hsl.blue, c.hslSat);
    EXPECT_EQ(normalcolorHue(hsv), c.hue);
    EXPECT_EQ(hsv.green, c.hsvSat);
    EXPECT_EQ(hsv.blue, c.value);

    // Back from HSV: the primaries come back exactly.
    normalcolor back = kUnset;
    myHSVtoRGB(c.hue, c.hsvSat, c.value, &back);
    EXPECT_EQ(back, (normalcolor{0xAB, c.r, c.g, c.b}));
  }
}

TEST(ColorConversion, HslToRgbAlwaysWritesItsOutput)
{
  struct Case
  {
    double hue;
    int32_t s, l;
    normalcolor expected;
  } cases[] = {
      {0, 255, 128, {0xAB, 255, 1, 1}},    {120, 255, 128, {0xAB, 1, 255, 1}},
      {240, 255, 128, {0xAB, 1, 1, 255}},  {480, 255, 128, {0xAB, 1, 255, 1}},  // reduced to 120
      {-120, 255, 128, {0xAB, 1, 1, 255}},                                      // reduced to 240
      {360, 255, 128, {0xAB, 255, 1, 1}},                                       // reduced to 0
      {NAN, 255, 128, {0xAB, 255, 1, 1}},  // no hue: taken as 0
      {90, 0, 77, {0xAB, 77, 77, 77}},     // no saturation: grey
      {90, 255, 0, {0xAB, 0, 0, 0}},       {30, 255, 64, {0xAB, 128, 64, 0}},
  };
  for (const Case& c : cases) {
    normalcolor out = kUnset;
    myHSLtoRGB(c.hue, c.s, c.l, &out);
    EXPECT_EQ(out, c.expected) << "hue " << c.hue;
  }
  normalcolor out = kUnset;
  myHSVtoRGB(-60, 255, 255, &out);  // reduced to 300
  EXPECT_EQ(out, (normalcolor{0xAB, 255, 0, 255}));
}

TEST(HueCycleTable, StartHueSaturationAndLightnessFollowT)
{
  // Entry `index` of an n-colour table for t is the HSL colour (hue, S, L);
  // the start hue trunc(t * 2160 + 360) is kept as a 16-bit value.
  struct Case
  {
    double t;
    int32_t n, index;
    double hue;
    int32_t s, l;
  } cases[] = {
      {0.5, 6, 2, 120, 255, 128},    // the middle key, six turns in: steps of 60 degrees
      {NAN, 4, 1, 90, 128, 21},      // the first key; lightness 32 - 32 / 3 truncated
      {-0.25, 3, 0, 180, 128, 32},   // start hue -180 goes round to 180
      {-16.0, 15, 0, 16, 128, 32},   // start -34200 wraps to 31336: hue 16
      {-16.0, 15, 7, 184, 128, 16},  // seven steps of 24 degrees on; lightness 32 - 16
      {0.0, 2, 1, 180, 128, 0},      // two colours: lightness 0 - 32 is held at black
  };
  for (const Case& c : cases) {
    normalcolor table[15];
    for (normalcolor& e : table)
      e = kUnset;
    GetParam1DColorTable(table, c.t, c.n);
    normalcolor want = kUnset;
    myHSLtoRGB(c.hue, c.s, c.l, &want);
    EXPECT_EQ(table[c.index], want) << "t " << c.t << " n " << c.n << " entry " << c.index;
    EXPECT_EQ(table[c.n - 1].flag, kUnset.flag);  // byte 0 is never written
    if (c.n < 15) {
      EXPECT_EQ(table[c.n], kUnset) << "t " << c.t << " n " << c.n;
    }
  }
}

TEST(ColorConversion, DoubleFormsRoundTrip)
{
  const double colours[][3] = {{255, 0, 0},    {10, 200, 30}, {12.5, 40.25, 250},
                               {200, 180, 90}, {255, 255, 0}, {1, 2, 3}};
  for (const auto& rgb : colours) {
    double hsl[3], back[3];
    doubleRGBtoHSL(rgb[0], rgb[1], rgb[2], hsl);
    doubleHSLtoRGB(hsl[0], hsl[1], hsl[2], back);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(back[i], rgb[i], 1e-9) << rgb[0] << "," << rgb[1] << "," << rgb[2];
    // A hue a whole turn away gives the same colour.
    doubleHSLtoRGB(hsl[0] + 720, hsl[1], hsl[2], back);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(back[i], rgb[i], 1e-9);
  }
  double grey[3] = {-1, -1, -1};
  doubleRGBtoHSL(100, 100, 100, grey);
  EXPECT_EQ(grey[0], 0);
  EXPECT_EQ(grey[1], 0);
  EXPECT_EQ(grey[2], 100);

  double out[3] = {-1, -1, -1};
  doubleHSLtoRGB(NAN, 255, 127.5, out);
  EXPECT_NEAR(out[0], 255, 1e-9);
  EXPECT_NEAR(out[1], 0, 1e-9);
}

TEST(ColorConversion, HueRotate180)
{
  EXPECT_EQ(HueRotate180(255, 0, 0), (normalcolor{255, 0, 255, 255}));
  EXPECT_EQ(HueRotate180(0, 0, 255), (normalcolor{255, 255, 255, 0}));
  EXPECT_EQ(HueRotate180(90, 90, 90), (normalcolor{255, 90, 90, 90}));
}

TEST(ColorConversion, SixteenBitForms)
{
  struct Case
  {
    normalcolor rgb;
    normalcolor hsv;  // (hue, saturation, value) in bytes 1..3
  } cases[] = {
      {{0, 255, 0, 0}, {0, 0, 255, 255}},
      {{0, 0, 255, 0}, {0, 85, 255, 255}},
      {{0, 0, 0, 255}, {0, 170, 255, 255}},
      {{0, 128, 128, 128}, {0, 0, 0, 128}},
  };
  for (const Case& c : cases) {
    normalcolor v = c.rgb;
    RGB2HSV_Ncolor(&v);
    EXPECT_EQ(v, c.hsv);
    HSV2RGB_NColor(&v);
    EXPECT_EQ(v, c.rgb);
    normalcolor defined{9, 0, 0, 0};
    DefineHSV_Ncolor(&defined, c.hsv.red, c.hsv.blue, c.hsv.green);
    EXPECT_EQ(defined, (normalcolor{9, c.rgb.red, c.rgb.green, c.rgb.blue}));
  }
  // HSL in place and back stays within one level.
  for (normalcolor c : {normalcolor{1, 200, 30, 90}, normalcolor{1, 12, 250, 128},
                        normalcolor{1, 77, 77, 77}, normalcolor{1, 255, 255, 255}}) {
    normalcolor v = c;
    RGB2HLS_Ncolor(&v);
    HLS2RGB_Ncolor(&v);
    for (int i = 1; i < 4; ++i)
      EXPECT_NEAR(v[i], c[i], 2) << "channel " << i;
    EXPECT_EQ(v.flag, 1);
  }
  normalcolor red{0, 255, 0, 0};
  RGB2HLS_Ncolor(&red);
  EXPECT_EQ(red.red, 0);
  EXPECT_EQ(red.blue, 255);

  normalcolor cmy{4, 10, 20, 30};
  RGB2CMY_Ncolor(&cmy);
  EXPECT_EQ(cmy, (normalcolor{4, 245, 235, 225}));
  DefineCMY_Ncolor(&cmy, 0, 255, 100);
  EXPECT_EQ(cmy, (normalcolor{4, 255, 0, 155}));
  DefineRGB_Ncolor(&cmy, 1, 2, 3);
  EXPECT_EQ(cmy, (normalcolor{4, 1, 2, 3}));
}

// ---- Drawing colours and pixel reads ----

TEST(DrawingColours, SetTheCurrentDrawState)
{
  DrawState window;
  DrawState* previous = SetDrawState(&window);
  const normalcolor c{0, 1, 2, 255};
  SetForNcolor(&c);
  SetBackNcolor(&c);
  EXPECT_EQ(window.foreColor, (RGBColor{257, 514, 65535}));
  EXPECT_EQ(window.backColor, (RGBColor{257, 514, 65535}));
  SetDefautColors();
  EXPECT_EQ(window.foreColor, (RGBColor{0, 0, 0}));
  EXPECT_EQ(window.backColor, (RGBColor{65535, 65535, 65535}));
  SetForNcolor(&c);
  SetBlackColor();
  RGBColor fore;
  GetForeColor(&fore);
  EXPECT_EQ(fore, (RGBColor{0, 0, 0}));
  EXPECT_EQ(SetDrawState(previous), &window);
}

bool grey_query(void* surface, int32_t h, int32_t v, RGBColor* out)
{
  auto* pixels = static_cast<const uint8_t*>(surface);
  uint16_t level = uint16_t(pixels[v * 4 + h] * 257);
  *out = RGBColor{level, level, level};
  return true;
}

TEST(DrawingColours, FindXYNColor)
{
  // 3 x 2 pixels of 32 bits, rows of 16 bytes; the row-bytes flag bit is set.
  uint8_t pixels[32] = {};
  for (int i = 0; i < 32; ++i)
    pixels[i] = uint8_t(i);
  PixMapView map{32, 0x8000 | 16, Rect{0, 0, 2, 3}};
  struct Case
  {
    int32_t x, y;
    normalcolor expected;
  } cases[] = {
      {0, 0, {255, 1, 2, 3}},       {2, 1, {255, 25, 26, 27}},    {-1, 0, {255, 255, 255, 255}},
      {3, 0, {255, 255, 255, 255}}, {0, 2, {255, 255, 255, 255}}, {0, -1, {255, 255, 255, 255}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindXYNColor(&map, pixels, c.x, c.y), c.expected) << c.x << "," << c.y;

  // Other depths are read through the drawing state's pixel query.
  uint8_t grey[8] = {0, 10, 20, 30, 40, 50, 60, 70};
  PixMapView greyMap{8, 4, Rect{0, 0, 2, 4}};
  DrawState surface;
  surface.pixelQuery = grey_query;
  surface.surface = grey;
  DrawState* previous = SetDrawState(&surface);
  EXPECT_EQ(FindXYNColor(&greyMap, grey, 1, 1), (normalcolor{255, 50, 50, 50}));
  SetDrawState(nullptr);  // the default state cannot be read: white
  EXPECT_EQ(FindXYNColor(&greyMap, grey, 1, 1), (normalcolor{255, 255, 255, 255}));
  SetDrawState(previous);
}

}  // namespace
