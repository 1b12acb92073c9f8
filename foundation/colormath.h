// Colour math on normalcolor (byte 0 flag or alpha, then red, green, blue):
// interpolation, gradient lookup, per-channel arithmetic and conversions
// between RGB and HSV, HSL and CMY.
//
// Every double-to-byte conversion truncates toward zero; "clamp" holds a value
// to 0..255, "cap" only lowers values above 255. All functions are pure over
// their arguments and safe to call from any thread.
#pragma once

#include <cstdint>

#include "foundation/drawstate.h"
#include "foundation/types.h"

// ---- Interpolation between two colours ----
// A weight below the range selects the first colour, above it the second.
// Interpolated bytes are x + trunc((y - x) * t), or x + (y - x) * w / 256 for
// the 256 forms, keeping the low 8 bits.

// Bytes 0..3 interpolated; t > 1 gives b, t <= 0 gives a.
normalcolor PColorLERP(const normalcolor* a, const normalcolor* b, double t);
// Red, green, blue interpolated, byte 0 = 255 (also at the ends).
normalcolor ColorLERP(const normalcolor* a, const normalcolor* b, double t);
// Bytes 0..3 interpolated; t > 1 gives b, t < 0 gives a.
normalcolor DColorLERP(normalcolor a, normalcolor b, double t);
// Red, green, blue interpolated; byte 0 of an interpolated result is 255.
normalcolor normalcolorLERP(normalcolor a, normalcolor b, double t);
// Bytes 0..3 interpolated with weight w/256; w >= 256 gives b, w <= 0 gives a.
normalcolor PColorLERP256(const normalcolor* a, const normalcolor* b, int16_t w);
// Red, green, blue interpolated with weight w/256, byte 0 = the low byte of w;
// w >= 256 gives b, w <= 0 gives a.
normalcolor ColorLERP256(const normalcolor* a, const normalcolor* b, int16_t w);

// ---- Three-point ramps a -> b -> c ----
// t > 1 gives c and t < 0 gives a (all four bytes). Otherwise u = 2t blends a
// to b (u <= 1) or b to c (weight u - 1) into red, green and blue of out; byte
// 0 of out is then left as it was. ColorSpline eases the weight w into
// w * w * (3 - 2w).
void ColorInterpol(const normalcolor* a, const normalcolor* b, const normalcolor* c,
                   normalcolor* out, double t);
void ColorSpline(const normalcolor* a, const normalcolor* b, const normalcolor* c, normalcolor* out,
                 double t);

// ---- Gradient lookup in a table of n colours spaced evenly over [0, 1] ----
// Opaque colour at t: entry 0 for t <= 0, NaN or n < 2; entry n - 1 for t >= 1;
// otherwise red, green, blue interpolated between the two neighbouring entries.
normalcolor colorgradient(const normalcolor* table, int32_t n, double t);
// The same lookup as three doubles on the 0..255 scale, without truncation.
void fcolorgradient(const normalcolor* table, int32_t n, double t, double* red, double* green,
                    double* blue);
// All four bytes blended between entries at 1-based position (n - 1) * t + 1;
// n < 2 gives opaque black. The two leading words are not used. Positions
// before the first entry give entry 0, after the last entry n - 1.
normalcolor Linear_pgrad(int32_t unused1, int32_t unused2, const normalcolor* table, int32_t n,
                         double t);
// Fills out[0..m] with Linear_pgrad lookups at evenly spaced table positions
// (single precision steps of (n - 1) / m from position 1). With premultiply,
// each entry's red, green and blue are multiplied by its byte 0 / 255. A
// negative m fills nothing.
void Buildgradation_CMAP(normalcolor* out, const normalcolor* table, int32_t n, int32_t m,
                         bool premultiply);

// ---- Per-channel arithmetic on red, green and blue ----
// Byte 0 of out is not written.
void CScale(normalcolor* c, double f);                                    // clamp(c * f), in place
void CconstAdd(const normalcolor* c, int16_t k, normalcolor* out);        // clamp(c + k)
void CAddValue(const normalcolor* c, int16_t k, normalcolor* out);        // clamp(c + k)
void CSub(const normalcolor* c, int16_t k, normalcolor* out);             // clamp(c + k)
void CAdd(const normalcolor* a, const normalcolor* b, normalcolor* out);  // cap(a + b)
void CMax(const normalcolor* a, const normalcolor* b, normalcolor* out);  // max(a, b)
void Cmul(const normalcolor* a, const normalcolor* b, normalcolor* out);  // a * b / 255
// A grey a (equal channels below 80) is copied whole; otherwise each channel
// is cap((b * a) >> 7), b highlighted by a.
void Chilit(const normalcolor* a, const normalcolor* b, normalcolor* out);
// A 256-entry response curve for a contrast amount k.
void BuildresponseMap(uint8_t map[256], double k);

// ---- Conversions in bytes ----
// The HSL and HSV out forms hold the hue (0..359 degrees) as a 16-bit number
// in bytes 0 and 1 (byte 0 the low byte); read it with normalcolorHue.
// myRGBtoHSL: byte 2 lightness, byte 3 saturation.
// myRGBtoHSV: byte 2 saturation, byte 3 value.
void myRGBtoHSL(uint8_t r, uint8_t g, uint8_t b, normalcolor* out);
void myRGBtoHSV(uint8_t r, uint8_t g, uint8_t b, normalcolor* out);
constexpr uint16_t normalcolorHue(const normalcolor& c)
{
  return uint16_t(c.flag | (c.red << 8));
}

// Hue in degrees (any value: reduced into [0, 360); NaN counts as 0),
// saturation and lightness or value 0..255. Red, green and blue of out are
// always written; byte 0 is left as it was.
void myHSLtoRGB(double hue, int32_t saturation, int32_t lightness, normalcolor* out);
void myHSVtoRGB(double hue, int32_t saturation, int32_t value, normalcolor* out);

// ---- Conversions in doubles, 0..255 scale, hue in degrees ----
// out = (hue, saturation, lightness); a grey gives (0, 0, lightness).
void doubleRGBtoHSL(double r, double g, double b, double out[3]);
// out = (red, green, blue), always written; the hue is reduced into [0, 360).
void doubleHSLtoRGB(double h, double s, double l, double out[3]);

// The colour with its HSV hue turned by 180 degrees; byte 0 = 255.
normalcolor HueRotate180(uint8_t r, uint8_t g, uint8_t b);

// ---- Hue-cycle table ----
// n colours round the hue circle for a parameter t (normally 0..1), written
// into red, green and blue of out[0..n-1]; byte 0 is not written. t chooses
// the start hue (six turns over 0..1), the saturation and the lightness,
// which falls along the table. Nothing for n < 1.
void GetParam1DColorTable(normalcolor* out, double t, int32_t n);

// ---- 16-bit colour picker conversions ----
// Components are 0..65535; hue is the fraction of a turn scaled to 0..65535.
struct HSLColor
{
  uint16_t hue = 0;
  uint16_t saturation = 0;
  uint16_t lightness = 0;
};
struct HSVColor
{
  uint16_t hue = 0;
  uint16_t saturation = 0;
  uint16_t value = 0;
};
void RGB2HSL(const RGBColor* rgb, HSLColor* hsl);
void HSL2RGB(const HSLColor* hsl, RGBColor* rgb);
void RGB2HSV(const RGBColor* rgb, HSVColor* hsv);
void HSV2RGB(const HSVColor* hsv, RGBColor* rgb);

// In-place conversions of bytes 1..3. The HSL form is (hue, lightness,
// saturation), the HSV form (hue, saturation, value), each on 0..255.
void RGB2HLS_Ncolor(normalcolor* c);
void HLS2RGB_Ncolor(normalcolor* c);
void RGB2HSV_Ncolor(normalcolor* c);
void HSV2RGB_NColor(normalcolor* c);
void RGB2CMY_Ncolor(normalcolor* c);  // 255 - each channel

// Build red, green, blue of c from three components 0..255; byte 0 is left
// as it was.
void DefineHSV_Ncolor(normalcolor* c, uint8_t hue, uint8_t value, uint8_t saturation);
void DefineHLS_Ncolor(normalcolor* c, uint8_t hue, uint8_t lightness, uint8_t saturation);
void DefineRGB_Ncolor(normalcolor* c, uint8_t red, uint8_t green, uint8_t blue);
void DefineCMY_Ncolor(normalcolor* c, uint8_t cyan, uint8_t magenta, uint8_t yellow);

// ---- Drawing colours of the current drawing state (foundation/drawstate.h) ----
void SetForNcolor(const normalcolor* c);   // foreground = each byte * 257
void SetBackNcolor(const normalcolor* c);  // background = each byte * 257
void SetBlackColor();                      // foreground black
void SetDefautColors();                    // background white, foreground black

// The colour of pixel (x, y) of a pixel map whose pixels start at baseAddr,
// byte 0 = 255. 32-bit maps are read directly (row bytes masked with 0x7FFF);
// other depths go through the drawing state's pixel query. Outside the map
// (negative, or not below its width and height) the result is white.
normalcolor FindXYNColor(const PixMapView* map, const unsigned char* baseAddr, int32_t x,
                         int32_t y);
