// Multi-line text laid out in a box: wrapped at words to a line length,
// flushed to the start, the centre or the end, optionally turned a quarter
// clockwise, and drawn into the current port. Styles and layouts are small
// records holding attributes and layout controls under the tags of the
// layout service the program was written for; pango lays the text out.
//
// Style attributes (tag: size in bytes): 256 bold (1), 257 italic (1),
// 261 font (4, an index into gfontnames), 262 size (4, Fixed 16.16 in
// user-space units), 263 colour (6, RGBColor), 265 vertical characters (2),
// 271 rendering options (4). Layout controls, 4 bytes each: 1 line width
// (Fixed), 2 rotation (Fixed degrees; -90 turns the text a quarter
// clockwise), 4 justification factor (Fract 2.30), 5 flush factor (Fract:
// 0 start, 0.5 centre, 1 end), 7 layout options. A tag not set reads 0.
//
// Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/drawstate.h"
#include "foundation/types.h"
#include "imaging/ports.h"
#include "ui/qztext.h"
#include "ui/textencoding.h"

using OSStatus = int32_t;
using Fixed = int32_t;  // 16.16
using Fract = int32_t;  // 2.30
using ATSUAttributeTag = uint32_t;

inline constexpr OSStatus kATSUNotSetErr = -8801;
inline constexpr OSStatus kATSUParamErr = -50;

enum : ATSUAttributeTag
{
  kATSUBoldTag = 256,
  kATSUItalicTag = 257,
  kATSUFontTag = 261,
  kATSUSizeTag = 262,
  kATSUColorTag = 263,
  kATSUVerticalCharactersTag = 265,
  kATSURenderingOptionsTag = 271,
  kATSULineWidthTag = 1,
  kATSULineRotationTag = 2,
  kATSULineJustificationFactorTag = 4,
  kATSULineFlushFactorTag = 5,
  kATSULineLayoutOptionsTag = 7,
};

inline constexpr Fract kFractOne = 0x40000000;
inline constexpr Fixed FixedFromInt(int32_t v)
{
  return Fixed(uint32_t(v) << 16);
}

struct ATSUStyleRec;
using ATSUStyle = ATSUStyleRec*;
struct ATSUTextLayoutRec;
using ATSUTextLayout = ATSUTextLayoutRec*;

// The style handed to the text boxes: font index, size in whole units,
// bold, italic and underline (kept, not drawn) flags and the colour.
struct styleBlock
{
  uint32_t fontID = 0;
  int16_t size = 12;
  uint8_t bold = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  RGBColor color;
};

// --- Records

ATSUStyle atsuCreateStyle();
void atsuDisposeStyle(ATSUStyle style);
void atsuClearStyle(ATSUStyle style);
// A layout over `length` UTF-16 units of text, drawn in `style` (which must
// outlive the layout).
ATSUTextLayout atsuCreateLayout(const UniChar* text, int32_t length, ATSUStyle style);
void atsuDisposeLayout(ATSUTextLayout layout);

// --- Setters and getters (0 on success, kATSUParamErr for a null record,
// a tag that is not one of the above or a value of the wrong size)

OSStatus atsuSetIntAttribute(ATSUStyle style, ATSUAttributeTag tag, int32_t value);
OSStatus atsuSetShortAttribute(ATSUStyle style, ATSUAttributeTag tag, int16_t value);
OSStatus atsuSetFractAttribute(ATSUStyle style, ATSUAttributeTag tag, Fract value);
OSStatus ATSUIStuffSetFont(ATSUStyle style, uint32_t font);
OSStatus ATSUIStuffSetSize(ATSUStyle style, Fixed size);
OSStatus atsuSetFontStyle(ATSUStyle style, uint32_t font, int16_t size, bool bold, bool italic,
                          RGBColor color);
OSStatus atsuSetLayoutOptions(ATSUTextLayout layout, int32_t options);
OSStatus atsuSetFractLayoutControl(ATSUTextLayout layout, ATSUAttributeTag tag, Fract value);
OSStatus atsuSetFixedLayoutControl(ATSUTextLayout layout, ATSUAttributeTag tag, Fixed value);
// Copy the value (size bytes, the tag's size) into *value; a tag not set
// gives zeros and 0.
OSStatus atsuGetOneAttribute(ATSUStyle style, ATSUAttributeTag tag, size_t size, void* value);
OSStatus atsuGetOneLayoutControl(ATSUTextLayout layout, ATSUAttributeTag tag, size_t size,
                                 void* value);

// The port's text font, size (0 is 12) and face and its foreground colour
// as the style's five attributes; the current port when port is null.
// kATSUParamErr when there is no port.
OSStatus atsuSetStyleFromGrafPtr(ATSUStyle style, CGrafPtr port, bool clearFirst);

// --- Drawing into the current port

// Wraps the layout's text at words to the line length (the line width
// control, else the box's width, or its height when turned) and draws the
// lines from the box's top-left (top-right, running down, when turned a
// quarter clockwise), each line placed by the flush factor, all lines one
// height apart (the largest ascent plus the largest descent). 0 for empty
// text; kATSUParamErr without a layout, a box or a current 32-bit port.
OSStatus atsuDrawTextInBox(ATSUTextLayout layout, const Rect* box);
// Justification codes: 0 the system's direction (start here), 1 centre,
// 65534 start, 65535 end.
void atsuTextBox(const UniChar* text, int32_t length, const Rect* box, int16_t justification,
                 const styleBlock* style);
// As atsuTextBox with a justification factor, orientation 1 for text turned
// a quarter clockwise, and the style from the current port when none is
// given. Fonts missing characters fall back to fonts that have them
// whether or not matchFonts is set.
OSStatus atsuFVTextBox(const UniChar* text, int32_t length, const Rect* box, int16_t justification,
                       Fract justificationFactor, int16_t orientation, bool matchFonts,
                       const styleBlock* style);
// A label: the look's family (face column 0) with bold and italic from the
// face, the look's size, the colour's red, green and blue, placed by the
// justification modulo 3.
void ATSU_drawString(const textLook* look, ConstStringPtr text, Rect box, normalcolor color);
