// Drawing and editing helpers the item kinds share: cell grids with hit
// tests, the cell frame of array items, the alternative highlight rule,
// item text colours, plain text drawing, crossed and hollow boxes, colour
// gradients, clipping, the click wait and the interpretation of typed
// number keys.
//
// Rectangles are {top, left, bottom, right} in the context's flipped user
// space (y down). Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"
#include "ui/qztext.h"

struct uiset;
struct uiItemRecord;

// A grid of equal cells: count, origin, cell size and columns (0: every
// cell is the whole grid rectangle).
struct matrix
{
  int16_t count = 0;
  int16_t left = 0;
  int16_t top = 0;
  int16_t cellWidth = 0;
  int16_t cellHeight = 0;
  int16_t columns = 0;
};

inline constexpr int16_t kMatrixMaxCells = 64;
inline constexpr int16_t kMatrixMinCell = 4;

// Lays `count` (1..64) cells over r. Layout 1: one column; 2: one row;
// 3 and up: layout - 1 columns; below 0: no columns, each cell the whole
// rectangle; 0: columns and rows chosen by the rectangle's aspect.
void Get_matrixParams(matrix* out, int16_t layout, int16_t count, Rect r);
// A grid of `count` cells of the given size at (2, 2); layout 0 or below
// makes it as square as the count's divisors allow. Returns the total size
// (h: width, v: height).
Point Get_AutoBoxmatrix(matrix* out, int16_t layout, int16_t count, int16_t cellWidth,
                        int16_t cellHeight);
// Cell i in row order, and in column order.
Rect Get_matrixBox(const matrix* m, int16_t i);
Rect Get_matrixVBox(const matrix* m, int16_t i);
// The first cell holding the point, -1 for none.
int16_t Hit_matrixBox(const matrix* m, Point where);
int16_t Hit_VmatrixBox(const matrix* m, Point where);
// Splits r: the label box is its left part, as wide as r is high but at
// least 18; r keeps the rest.
void Get_LabelLeft_Boxes(Rect* r, Rect* label);

// The highlight mode of a button of state a, look b and visibility c: 1
// when c is 0; 0 when a is 0 or b is 1; else 2 when a is 2 and 3 otherwise,
// the set's alternative highlight then taken from b.
int16_t GetAltHilit(uiset* set, int16_t a, int16_t b, int16_t c);
// The text colour of an item (set may be null).
normalcolor GetTextColor(const uiset* set, const uiItemRecord* item);
// The frame of one cell of an array item; returns the cell's inner
// rectangle.
Rect Draw_ArrayBounds(uiset* set, const uiItemRecord* item, Rect r, int8_t frameStyle,
                      bool selected);

// Fills r with the background when given, then draws the text in it.
void EDrawText(CGContextRef ctx, ConstStringPtr text, Rect r, const textLook* look,
               const normalcolor* background, normalcolor color);
// The diagonals of r inset by 1 in the application's highlight colour.
void CrossBox(CGContextRef ctx, Rect r);
// Fills r with c1, embosses it inset 1 and 2 with c2 and c3, shrinks r by 2.
void Draw_HollowBounds(CGContextRef ctx, normalcolor c1, normalcolor c2, normalcolor c3, Rect* r);
// Colour gradients through `count` colours: one column per x from xFrom to
// xTo at row y; one row per y of r from the bottom colour up; one column per
// x of r (grey 0.2 for a count below 1).
void PAINTGRADLINE(CGContextRef ctx, int16_t xFrom, int16_t xTo, int16_t y, int16_t height,
                   int32_t count, const normalcolor* colors);
void PAINTGRADCOL(CGContextRef ctx, Rect r, int32_t count, const normalcolor* colors);
void PAINTGRADRECT(CGContextRef ctx, Rect r, int32_t count, const normalcolor* colors);
void BeginClip(CGContextRef ctx, Rect r);
void EndClip(CGContextRef ctx);
// Fills r in a colour at alpha 1.
void UI_FillRect(CGContextRef ctx, Rect r, normalcolor color);
// A 1-pixel outline of r (antialiasing off).
void UI_FrameRect(CGContextRef ctx, Rect r, normalcolor color);

// Waits up to 0.3 s (18 ticks) for the mouse; when it was released, waits
// for the next press. Returns the mouse point.
Point WaitButtonTrue();

// Applies a typed key to a number being edited, through the set's typing
// buffer; the set's key result becomes 1 when the key was used.
void char2int32(uiset* set, int8_t key, int32_t* value);
void char2double(uiset* set, int8_t key, double* value);
