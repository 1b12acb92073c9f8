// Pop-up menus made for one choice from string lists, file references,
// names, colours or the resources of a type; a text box with a number; the
// port's font and size from a font-size resource.
//
// Each menu returns the chosen item (1-based) or 0 when nothing was chosen.
// Bit i - 1 of a check or disable mask is item i's (items past 32 take no
// bit).
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "platform/files.h"

// Menus hold at most this many items where the routine says so.
inline constexpr int16_t kPopUpMaxItems = 32;
// The look the string-list menus are shown with (font id 21).
inline constexpr int16_t kPopUpMenuFont = 21;
inline constexpr int16_t kPopUpMenuSize = 13;

// The strings of list `listId` as items: strings 1..count, or with a
// negative count |count| strings from the second (the first holding the
// count). Shown 12 pixels below and 4 right of the mouse, item 1 under it.
int16_t DoPopUpDirectMenu(int16_t listId, int16_t count, int16_t unused, uint32_t checkMask,
                          uint32_t disableMask);
// The string items as above followed by one item per file reference (its
// name; checked by the mask, never disabled), at most 32 items in all; item
// (underMouse & 127) is placed under the mouse.
int16_t DoPopUpDirectMenuSpecList(int16_t listId, int16_t count, int16_t underMouse,
                                  uint32_t checkMask, uint32_t disableMask, const FileRef* refs,
                                  int16_t refCount);
// One item per 64-byte Pascal name.
int16_t DoPopUpDirectMenuNameList(int16_t underMouse, int16_t unused,
                                  const unsigned char (*names)[64], int16_t count);
// Items 1..count read the list's first string followed by the item number
// (ConcatNumber), each in colour i - 1 of `colours`. Shown 2 pixels above
// and 4 right of the mouse.
int16_t DoColorPopUpDirectMenu(int16_t listId, int16_t count, int16_t underMouse,
                               const normalcolor* colours);
// One item per named resource of the type in the current store, shown 2
// above and 4 right of the global point. The chosen item's text goes to
// `name` and its id is returned; 0 when none was chosen.
int16_t DoResPopMenu(Point where, OSType type, StringPtr name);
// The favourite folders of gIOdata: "Application directory", then the
// others' names; shown 2 above and 4 right of the point in the current
// port, item 1 under the mouse.
int16_t PopUpFavoriteDir(Point inPort);

// Draws the text followed by the number (ConcatNumber) left-aligned in the
// rectangle of the current port.
void reportBoxText(ConstStringPtr text, int32_t number, const Rect* box);
// The current port's font and size from the 'FtSz' resource of that id (font
// id, size), else the defaults.
void SetFontAndSize(int16_t resId, int16_t defaultFont, int16_t defaultSize);
