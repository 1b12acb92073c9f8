// Layout tables: the readable text form of a UI layout that the sources
// keep under resources/layouts/ and that the build turns into layout files.
//
//   id 9000                      key and value, one a line
//   layers 1
//   width 640
//   height 480
//   box 8 8 470 630              optional: computed from the items when absent
//   states 0x0001FFFF 0x0002FFFF 0x0003FFFF 0xFFFFFFFF
//   background 255,64,64,64      colours are alpha,red,green,blue
//   color2 255,0,0,32
//   frame 255,33,33,33
//   light 255,107,107,107
//   shadow 255,0,0,0
//   name Fixture
//   layer kind style ... name    the item header (tab-separated, kUILayoutColumns)
//   0 <TAB> 2 <TAB> ...          one tab-separated line per item
//
// Opcodes are a four-character code in single quotes ('ok  ') or a decimal
// number; min and max are decimal floats, or 0x and their eight hex digits
// when they are not finite. Names escape a backslash as \\ and control
// bytes (and a name's trailing blank) as \xHH. Blank lines and lines
// starting with # are skipped.
//
// Items are checked as the layout reader checks them and get the reader's
// kind defaults, so that a table describes what the program reads.
#pragma once

#include <string>
#include <string_view>

#include "ui/uilayout.h"

inline constexpr const char* kUILayoutColumns =
    "layer\tkind\tstyle\taltStyle\tanchor\tvariant\ttransparency\tcolumns\tresID\tcolor1\t"
    "color2\ttop\tleft\tbottom\tright\tsize\tfont\tface\tjustification\topcode\tentries\tmode\t"
    "arrows\tmin\tmax\tname";

// False with the reason (and its line) for a table that cannot be read;
// *boxGiven tells whether the table gave the total box.
bool UI_LayoutFromTable(std::string_view text, uiLayout* out, bool* boxGiven, std::string* why);
// The table of a layout (box included).
std::string UI_LayoutToTable(const uiLayout& layout);
