// Drawing helpers for labels, values, arrows, polylines, slider rails,
// picture cells with labels, palettes, bar and curve editors of value
// vectors and the halo buffer.
//
// Rectangles are {top, left, bottom, right} in the context's flipped user
// space (y down). Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/offworld.h"
#include "imaging/quartz.h"
#include "ui/qzdraw.h"

class Edoc;
struct cpalettelib;
struct uiset;
struct uiItemRecord;
struct uiWorkColor;

// Fills r with the Edoc's background, then draws the text clipped to r in
// the Edoc's look and text colour.
void Draw_TextBox(Edoc* doc, ConstStringPtr text, Rect r);
// The text in {v - 14, h, v + 2, h + 64} in the Edoc's look and colour.
void Draw_Text(Edoc* doc, int16_t h, int16_t v, ConstStringPtr text);
// The decimal value followed by the suffix, as Draw_Text.
void Draw_Value(Edoc* doc, int32_t value, int16_t h, int16_t v, ConstStringPtr suffix);
// A filled arrow in r inset 3 horizontally and 1 vertically: up for
// directions 1 and 3, down otherwise.
void DrawArrow(CGContextRef ctx, Rect r, normalcolor color, int16_t direction);
// A 5 x 5 arrow pointing down, 6 pixels left of r's right edge, centred
// between top and r's bottom.
void Draw_DownArrow(CGContextRef ctx, int16_t top, Rect r, normalcolor color);
// A 1-pixel polyline.
void EClines(CGContextRef ctx, int32_t count, const QZPoint* points, normalcolor color);
// A slider thumb: a dark grey box 5 pixels wide around x, a red tick and a
// yellow-green point.
void DrawTinyThumb(CGContextRef ctx, float x, float y, float size);
// The rail of a slider in r; mode 2 draws nothing.
void DrawRedRailBox(uiset* set, CGContextRef ctx, Rect r, const uiWorkColor* work, int16_t position,
                    int16_t size, int16_t style, int16_t mode);
// A picture (code plus offset, minus for negative codes) with its label
// (entry offset + 1 of the code's string list) to its right when `text` is
// given.
void Draw_PictnTextItem(uiset* set, Rect r, uiItemRecord* item, ConstStringPtr text, int16_t code,
                        int16_t offset, bool selected);

// Bar `index` of `count` columns of r: above the value (0..1024) in
// colours[0], the bar in its bar colour (cycling through 4) or colours[3].
void Draw_VecGge_int(Edoc* doc, const normalcolor* colors, Rect r, int32_t value, int16_t index,
                     int16_t count, const normalcolor* barColors);
// Without a point, draws every bar (values held to 0..maximum). With one:
// -1 outside r; inside, while the button is held, sets the bar under the
// mouse and, when bars were skipped since the last step, those between by
// linear interpolation. Returns the last index.
int16_t Do_intvec(Edoc* doc, const normalcolor* colors, Rect r, int16_t count, int32_t* values,
                  const normalcolor* barColors, int32_t maximum, const Point* where);
// The same for values 0..1.
int16_t Do_realvec(Edoc* doc, const normalcolor* colors, Rect r, int16_t count, double* values,
                   const normalcolor* barColors, const Point* where);

// The decimal value followed by two spaces, its baseline at (h, v) of the
// current port, in the port's text size (12 when unset) and the colour.
void Draw_StringInt(int16_t h, int16_t v, int32_t value, normalcolor color);
// Palette `index` of the library as a gradient in r inset by 1, outlined in
// yellow when selected, else black; nothing for an index outside 0..63.
void draw_cpaletteitem(CGContextRef ctx, const cpalettelib* library, int16_t index, Rect r,
                       bool selected);

// A curve of `count` values: a path through (x0 + i dx, baseline - (value
// + 0.03) scale) taking every max(1, 1/dx)-th sample and the last; the area
// down to the baseline filled in dark blue at alpha 0.5, the curve stroked
// in `stroke`, a small white cross on each point when there are fewer than
// 17. The context's fill colour is `fill` afterwards. Values that are not
// finite are drawn as 0.
void dvector_normdraw(CGContextRef ctx, const double* values, int32_t count, double x0,
                      double baseline, double dx, double scale, normalcolor fill,
                      normalcolor stroke);
// Draws the values over r filled with the background (x0 = left + 1.5,
// baseline = bottom, dx = (width - 3) / (count - 1), scale = height /
// 1.055). With a point inside r, edits them while the button is held: the
// sample nearest to the mouse is set to (bottom - v) / scale - 0.015 held
// to 0..1; with shift held the first sample stays the one edited, else each
// step edits the sample under the mouse and sets those passed over by
// linear interpolation. Returns the last sample edited, -1 for a point
// outside r, 0 when only drawing.
int16_t dvector_normdrawEdit(Edoc* doc, double* values, int32_t count, Rect r,
                             normalcolor background, normalcolor curve, const Point* where);
// Fills r with the background and draws the curve as dvector_normdrawEdit
// does.
void dvector_normdrawFC(CGContextRef ctx, const double* values, int32_t count, Rect r,
                        normalcolor color, normalcolor background);

// The halo of MakeimageHalo as a 32-bit off-screen buffer of r's size:
// cleared to 0, the oval painted in the colour, blurred (strength 64).
// Null on failure; the caller disposes it (KillOffworld).
Offworld MakeGWHalo(Rect r, normalcolor color);
