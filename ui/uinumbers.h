// Number items, sliders, scrollers and pop-up menus: the arithmetic of
// values and positions, and the drawing and tracking routines the item
// classes (ui/uitem_numbers.h) share.
//
// A position is an integer 0..4096 (4096 = full scale) along a rail; an
// item without a variable stands at 8192, which the bars draw as 4096.
// Every conversion of a double to an integer goes through the checked
// conversions; integer variables saturate to their type.
//
// Tracking routines loop until the mouse button is released, with the
// owner's port current (points in the owner's coordinates). Main thread
// only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"
#include "ui/uitem.h"

struct uiset;
struct uiWorkColor;

// ---- Values and positions --------------------------------------------------------

// The type of a number's variable: `variant` modulo 3 (signed remainder),
// 0 a 16-bit integer, 1 or -1 a 32-bit integer, otherwise a double.
enum class uiValueType : uint8_t
{
  Short,
  Long,
  Double,
};
uiValueType UI_ValueType(int8_t variant);

inline constexpr int32_t kUIFullScale = 4096;
inline constexpr int32_t kUINoVariablePosition = 8192;
// Steps of the scroller arrows for doubles, and of positions to values.
inline constexpr double kUIScrollerRealStep = 0.005;
inline constexpr double kUIPositionUnit = 0.000244140625;  // 1 / 4096
// A double range given as `min` 0 and `max` 65535 has no upper bound.
inline constexpr float kUIUnboundedMax = 65535.0f;
inline constexpr double kUINoBound = 1e250;

// The variable as a double, and stored from a double (integers truncated
// and saturated to their type).
double UI_ReadValue(const void* data, uiValueType type);
void UI_WriteValue(void* data, uiValueType type, double value);

// The position of a value. Integers: (value - min) * 4096 / max(trunc(max
// - min), 2) in single precision, truncated. Doubles: (value - min) *
// (4096 / trunc(max - min)), truncated; a range narrower than 1 takes the
// real range max - min, and a zero range gives 0.
int32_t UI_PositionOfValue(const uiNumberInfo& n, uiValueType type, double value);
// The value of a position. Integers: min + ((p * max(trunc(max) -
// trunc(min), 2)) >> 12), truncated to the type; doubles: min + (max - min)
// * p / 4096.
double UI_ValueOfPosition(const uiNumberInfo& n, uiValueType type, int32_t p);
// The value held to the item's range. Doubles by `mode`: 2 and 3 to
// [-min, +min], 4 and 5 not at all, others to [min, max]. Integers to
// [min, max] only when max > min (compared in single precision, the bounds
// truncated).
double UI_ClampValue(const uiNumberInfo& n, uiValueType type, double value);

// The range and the two steps of dragging a double, by `mode`; with the
// option key both steps are a tenth.
struct uiDragSteps
{
  double low = 0, high = 0, fine = 0, coarse = 0;
};
uiDragSteps UI_FloatDragSteps(const uiNumberInfo& n, bool option);
// The value after a drag of `rows` (positive: the mouse moved up) from
// `start` with `step`, held to the range.
double UI_FloatDragValue(const uiDragSteps& s, double start, int32_t rows, double step);

// A knob's travel: the knob stands at start + ((p * travel) >> 12). A
// travel of 0 or less keeps the knob at the start and maps every press to
// position 0.
struct uiRail
{
  int32_t start = 0;
  int32_t travel = 0;
};
int32_t UI_KnobX(const uiRail& rail, int32_t p);
// The position of a press at h: ((h - start) << 12) / travel, held to
// 0..4096.
int32_t UI_RailPosition(const uiRail& rail, int32_t h);
// The position of a drag relative to the knob: start + ((h - knob at the
// press) << 12) / travel, or << 10 (a quarter) with the option key; held to
// 0..4096.
int32_t UI_RelativeRailPosition(const uiRail& rail, int32_t startPosition, int32_t knobAtPress,
                                int32_t h, bool option);
// The rail of a number item: x0 = left + 2, x1 = right - 2, the knob from
// x0 + 2 over x1 - x0 - 4.
uiRail UI_NumberRail(const Rect& rail);
// The red rail of a scroller: from left + 4 over (right - 2) - (left + 2)
// - 4.
uiRail UI_RedRail(const Rect& r);
// The picture rail: from left + 25 over (right - 22) - (left + 22) - 6.
uiRail UI_PictRail(const Rect& r);

// A number item's value and rail rectangles: justification 0 puts the
// value at [left, left + 52] and the rail at [left + 54, right]; any other
// puts the rail at [left, right - 52] and the value at [right - 50, right].
// Variants above 11 have no rail: the value is the whole rectangle.
void UI_NumberBoxes(const Rect& r, uint8_t justification, int8_t variant, Rect* value, Rect* rail);
// The width of the step-arrow zones at both ends of a value rectangle:
// max((bottom - top) / 2 + 4, 10).
int16_t UI_ArrowZone(const Rect& r);

// The arrow scroll bar: its two arrow boxes (a = 24 for a bar of 25 or
// more pixels, else max(height, 8), centred vertically), the rail between
// them inset 3 from top and bottom, and the knob's travel from 7 pixels
// right of the left box over the space between the boxes less 14.
struct uiArrowBar
{
  Rect leftBox, rightBox, rail;
  uiRail knob;
};
uiArrowBar UI_ArrowBar(const Rect& r);

// ---- Pop-ups ------------------------------------------------------------------------

// The user pop-up procedure's messages.
enum : int16_t
{
  kPopUpDrawCell = 1,       // r: the cell; unselected
  kPopUpDrawSelected = 6,   // r: the cell; selected
  kPopUpCellRect = 7,       // r: the cell to fill (its width becomes the cell width)
  kPopUpDrawItem = 8,       // drawing the item: r = its rectangle
  kPopUpRelease = 9,        // the release, when asked: r = the last cell's box
  kPopUpScrollFrame = 13,   // r = the scroll frame
  kPopUpOpen = 14,          // the procedure may lower the item's entries
  kPopUpGridSize = 17,      // param: the grid size; may be made taller
  kPopUpDrawExtra = 18,     // r = the extra area, index = the hovered cell (-1 at first)
  kPopUpMouseInExtra = 19,  // r = the extra area, param = the mouse point
};
// What messages 14, 7 and 17 share: the grid's size (h: width, v: height),
// set from message 17 on.
struct uiPopUpSize
{
  Point grid{0, 0};
};
// A user grid's answer for a release in its extra area.
inline constexpr int16_t kPopUpExtraChoice = 4095;

// The cancel rule of the pop-up grids: a release (the pop-up's
// coordinates) at a negative coordinate, or within the window's horizontal
// span but below it, cancels; one right of the window keeps the last
// hovered cell.
bool UI_PopUpCancelled(Point release, int16_t width, int16_t height);
// A text pop-up's label: the name, " : " when the name has at least 2
// characters, and the entry, at most 63 bytes in all.
void UI_PopUpLabel(ConstStringPtr name, ConstStringPtr entry, StringPtr out);

// Opens the chooser of a temporary pop-up item built from the record with
// the given rectangle, style and variant (the record's word1 its 16-bit
// variable, word2 its procedure) at the point; 1 when the selection
// changed (always 1 with the option key down).
int16_t DirectPopUp(uiset* set, const e_uiallinfos* record, int8_t style, int8_t variant, Rect r,
                    Point where);

// ---- Drawing and tracking ------------------------------------------------------------

// The texts a number shows: the decimal integer, or the double by the
// item's visibility and mode (see Draw_FloatItem; empty where nothing is
// drawn), with ".." appended while digits are typed into the item.
void UI_IntValueText(const uiset* set, const uitem_number* item, int32_t value, StringPtr out);
void UI_FloatValueText(const uiset* set, const uitem_number* item, double value, StringPtr out);
// The decimal value (".." appended while digits are typed into the item)
// over work colour 1 in r.
void Draw_intItem(uiset* set, uitem_number* item, Rect* r, int32_t value);
// The double by the item's visibility: 0 the fill only; 1 with 2 decimals
// (trailing zeros removed) for an even `mode`, 4 for an odd one, ".."
// while typing; 2 nothing; 255 "-".
void Draw_FloatItem(uiset* set, uitem_number* item, Rect* r, const double* value);
// The value text of the item's variable in its value rectangle, framed by
// the item's style, with its arrows when it has them.
void drawvarpointervalue(uiset* set, uitem_number* item, const void* data);
// The step arrows in r: mode 0 both, 1 the left one pressed, 2 the right
// one pressed.
void Draw_intItemArrows(uiset* set, Rect r, int16_t mode);
// The arrow bar's rail: flat in work colour 1 (style below 2) or embossed,
// the part left of the knob in `fill`, an embossed knob 8 pixels wide.
void DrawHRailBox(CGContextRef ctx, Rect r, const uiWorkColor* work, normalcolor fill,
                  int16_t knobX, int16_t style);
// The picture rail: picture 756 from the rail's start to the knob, 755 on
// to its end, 757 the knob [k - 3, k + 3]; dimmed for a disabled item.
void DrawPictRailBox(uiset* set, Rect rail, int16_t knobX, uint8_t visibility);

// Drags an integer (arrows step it) or a double pressed at `where` in r.
void Act_intItem(uiset* set, uitem_number* item, Rect* r, Point where, void* data,
                 uiValueType type);
void Act_FloatItem(uiset* set, uitem_number* item, Rect* r, Point where, double* data);

// The scroller looks: draw at position `start` and, unless drawOnly, track
// a press at `where`. *part becomes 1 or 2 for a press on the left or
// right arrow (or cap); the final position is returned.
int32_t Do_ScrollItem(uiset* set, uitem_scroller* item, Rect r, void* data, int32_t start,
                      Point where, bool drawOnly, int16_t* part);
int32_t Do_RedScrollItem(uiset* set, uitem_scroller* item, Rect r, void* data, int32_t start,
                         Point where, bool drawOnly, int16_t* part);
int32_t Do_pictScrollItem(uiset* set, uitem_scroller* item, Rect r, void* data, int32_t start,
                          Point where, bool drawOnly, int16_t* part);
// The value of position p stored by type: 1 a 32-bit integer, 0 a 16-bit
// one, otherwise a double.
void Setscrollervalue(const uiNumberInfo* info, void* data, uint32_t p, uint16_t type);

// The pictures of the picture rail.
enum : int16_t
{
  kRailPictLeftCap = 753,
  kRailPictRightCap = 754,
  kRailPictRight = 755,
  kRailPictLeft = 756,
  kRailPictKnob = 757,
  kRailPictLeftCapDown = 758,
  kRailPictRightCapDown = 759,
};
