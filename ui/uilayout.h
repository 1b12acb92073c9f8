// UI layout files ("UI_" + the layout number, type 'QjUI', creator 'Qjib'):
// a 140-byte header, then one 120-byte record per item. Every multi-byte
// field is big-endian except a button's opcode, a little-endian 32-bit word
// at record offset 32 (kinds 2 and 4).
//
// Header (offsets): 0 layout number, 2 item count, 4 layers flag (16-bit),
// 6 zero, 8 design width, 10 design height, 12 total box (top, left,
// bottom, right), 20 four state words (32-bit; a word's least significant
// byte is its first layer), 36 background, 40 colour 2, 44 frame, 48 light,
// 52 shadow colours (alpha, red, green, blue bytes), 56 highlight colour,
// 60 sixteen zero bytes, 76 set name (length byte and up to 63 bytes).
//
// Item record: 0 layer, 1 kind, 2 style, 3 alternative style, 4 anchor,
// 5 variant, 6 transparency, 7 columns, 8 zero, 10 resource id, 12 colour 1,
// 16 colour 2, 20 rectangle, 28 text look (size, font, face,
// justification), 32 opcode, 36 entries, 38 mode, 39 arrows, 40 minimum and
// 44 maximum (float32), 48 eight zero bytes, 56 name.
//
// Reading forces every colour's alpha to 255, then applies the kind
// defaults: a number (11) gets colours {255, 0, 0, 40} and {255, 192, 192,
// 192} and text size 10, font 1; a pop-up menu (8) of style 3 colour 2
// {255, 192, 192, 192}; a box (0) of variant 0 alternative style 2; an
// embedded editor (14) colour 2 {255, 0, 128, 64}.
//
// A damaged file is refused whole, with the reason: shorter than the header
// or than its records, an item count outside 0..1024, a kind above 14, a
// name length above 63, a negative design size or entry count, a minimum
// or maximum that is not finite on kinds 5, 6, 11, 12 and 13 (a pop-up's
// maximum holds mask bits and is taken as it is).
//
// Writers build the whole file in memory and write it through a temporary
// file renamed into place: on failure nothing is left and an older file is
// untouched. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/types.h"
#include "platform/files.h"
#include "ui/uitem.h"

struct uiset;

inline constexpr size_t kUILayoutHeaderSize = 140;
inline constexpr size_t kUILayoutRecordSize = 120;
inline constexpr OSType kUILayoutType = fourcc("QjUI");
inline constexpr OSType kUILayoutCreator = fourcc("Qjib");
inline constexpr int16_t kUIMaxItems = 1024;
// State 0 shows layers 255, 1 and 0; 1: 255, 2 and 0; 2: 255, 3 and 0;
// 3: only 255 (a word's least significant byte is its first layer).
inline constexpr uint32_t kUIDefaultStateWords[4] = {0x0001FFFF, 0x0002FFFF, 0x0003FFFF,
                                                     0xFFFFFFFF};

// A layout as its file holds it.
struct uiLayout
{
  int16_t setID = 128;
  uint16_t layersFlag = 0;
  int16_t designWidth = 800, designHeight = 580;
  Rect totalBox{0, 0, 128, 128};
  uint32_t stateWords[4] = {};
  normalcolor colors[5];
  normalcolor hiliteColor;
  Str63 name = {};
  std::vector<e_uiallinfos> items;
};

// "UI_" followed by the decimal id.
void UI_LayoutFileName(int16_t id, StringPtr out);

// The header's fields (colours forced opaque); false with the reason for a
// short or damaged header. `count` gets the item count.
bool ReadUISETHeader(const unsigned char* data, size_t size, uiLayout* out, int32_t* count,
                     std::string* why);
// One 120-byte record into a description, kind defaults applied; false
// with the reason for a damaged record.
bool ReadUITEMdata(const unsigned char* record, e_uiallinfos* out, std::string* why);
// The kind defaults and opaque colours a description gets when read.
void UI_ApplyKindDefaults(e_uiallinfos* info);
// Checks what the reader checks of a description (kind, name, entries,
// range); false with the reason.
bool UI_CheckItemRecord(const e_uiallinfos& info, std::string* why);
// The whole file.
bool UI_ParseLayout(const unsigned char* data, size_t size, uiLayout* out, std::string* why);
bool UI_ReadLayoutFile(const FileRef& file, uiLayout* out, std::string* why);

// The bytes of the set's layout file: header from the set (the application's
// highlight colour), a record per item from its fields, its text look
// (GetTinf; {9, 0, 0, 0} without one), a button's opcode (GetOpcode) and
// its number information (GetNinf; zeros without).
std::vector<unsigned char> UI_LayoutBytes(const uiset& set);
// Writes the layout to the path; false with the reason when the whole file
// could not be written.
bool WriteUISETdata(const std::string& path, const uiset& set, std::string* why = nullptr);
// With buildName, `ref` is the folder and the file is "UI_" + the set id;
// else `ref` is the file. Type 'QjUI', creator 'Qjib'.
bool WriteUISET(const FileRef& ref, const uiset& set, bool buildName, std::string* why = nullptr);
