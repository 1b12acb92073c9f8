// Items: the controls of a window or dialog. An item set (ui/uiset.h)
// builds each item in place from one description record `e_uiallinfos`,
// read from a layout file (ui/uilayout.h) or made in code (`defaultuitem`),
// and calls the item's virtual operations for clicks, keys, hovering and
// drawing.
//
// This module holds the records, the class tree with the root behaviour of
// every virtual operation, the constructors, `SetDefaults`, opacity and the
// small accessors. The kinds' own drawing and tracking override the root
// operations in their own modules.
//
// Items never own the variables they edit: the owner sets a data pointer
// whose type the item's variant fixes. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"
#include "ui/qztext.h"

struct uiset;
class uitem;
class Xeditor;
struct matrix;

// Item kinds (the kind byte of a record).
enum : uint8_t
{
  kUIBox = 0,
  kUIText = 1,
  kUITextButton = 2,
  kUIEditText = 3,
  kUIPictButton = 4,
  kUIScroller = 5,
  kUICheckbox = 6,
  kUIRadioButtons = 7,
  kUIPopMenu = 8,
  kUIColorPop = 9,
  kUICustom = 10,
  kUINumber = 11,
  kUIMultiVector = 12,
  kUICGradation = 13,
  kUIXEditor = 14,
};
inline constexpr uint8_t kUILastKind = kUIXEditor;

// Item visibility.
enum : uint8_t
{
  kUIDisabled = 0,  // shown but inactive
  kUIShown = 1,
  kUIHidden = 2,
};

// A pointer-sized word of a record: an opcode, a data pointer or a
// procedure. Layout files hold only the 32-bit opcode of a button.
using uiWord = uintptr_t;

// The fields every item carries, `layer` through `name`, in this order.
struct uiItemRecord
{
  uint8_t layer = 0;
  uint8_t kind = 0;
  int8_t style = 0;     // frame style (uiset::drauibounds); 6 transparent, above 6 opaque
  int8_t altStyle = 0;  // kind-specific; 6 suppresses the plain background fill
  uint8_t anchor = 0;   // 1..9: how uiset::ResizeUI moves the item
  int8_t variant = 0;   // kind-specific sub-type
  uint8_t visibility = kUIShown;
  uint8_t editing = 0;  // 0 idle, 1 selected or pressed, 2 hovered
  uint8_t transparency = 0;
  int8_t columns = 0;
  uint8_t needsRedraw = 0;
  uint8_t changed = 0;
  int16_t index = 0;
  int16_t resID = 0;
  CGImageRef cachedImage = nullptr;  // owned; released by Killuitem
  normalcolor color1;                // text or foreground
  normalcolor color2;                // background or second colour
  Rect rect;
  Str63 name = {};
};

// The description an item is built from.
struct e_uiallinfos : uiItemRecord
{
  ::textLook textLook;  // size, font, face, justification
  uiWord word1 = 0;     // button opcode; pop-up menu data pointer
  uiWord word2 = 0;     // kind-specific: a chooser's or pop-up's procedure
  int16_t entries = 0;
  uint8_t mode = 0;    // clamping or stepping mode of a floating value
  uint8_t arrows = 0;  // nonzero: a number shows step arrows
  float min = 0;
  float max = 0;
};

// What GetNinf gives of a number or pop-up menu item: its variable, its
// procedure word and its range.
struct uiNumberInfo
{
  void* data = nullptr;
  uiWord word2 = 0;
  int16_t entries = 0;
  uint8_t mode = 0;
  uint8_t arrows = 0;
  float min = 0;
  float max = 0;
};

// A custom item's procedure: message -1 once when installed, 0 for a click.
using uiCustomProc = int32_t (*)(uitem* item, void* data, int16_t message, void* param);

// The description `Adduitem` starts from: kind, rectangle {top, left,
// top + height, left + width}, resource 128, black on white, text look
// {12, 1, 0, 1}, one entry, range 0..256, a number of variant 12.
void defaultuitem(e_uiallinfos* out, uint8_t kind, int16_t left, int16_t top, int16_t width,
                  int16_t height);

// Copies a Pascal string into a Str63, cut to 63 bytes at a whole UTF-8
// character.
void UI_SetName63(StringPtr name, ConstStringPtr text);

class uitem : public uiItemRecord
{
public:
  explicit uitem(const e_uiallinfos* info = nullptr);
  virtual ~uitem() = default;
  uitem(const uitem&) = delete;
  uitem& operator=(const uitem&) = delete;

  // The 21 operations, in slot order.
  virtual void Killuitem();
  virtual void Draw(uiset* set);
  virtual void Act(uiset* set, Point where);
  virtual int16_t Key(uiset* set, int8_t character);
  virtual void Idle(uiset* set, Point where);
  virtual void PreHilite(uiset* set);
  virtual void SetTFontlook(int8_t size, int8_t font, int8_t face);
  virtual void SetTstyle(int8_t face);
  virtual void SetDefaults();
  virtual void SetResID(int16_t id);
  virtual void SetEntries(int16_t count);
  virtual void Setminmax(float low, float high);
  virtual int32_t GetOpcode();
  virtual void SetOpcode(int32_t opcode, void* data);
  virtual void SetDataPointer(void* data);
  virtual ::textLook* GetTinf();
  virtual uiNumberInfo* GetNinf();
  virtual void deselect(uiset* set);
  virtual void select(uiset* set);
  virtual bool isopaque();
  virtual void Msg(char* text, int16_t a, int16_t b, int16_t c);

protected:
  void SetName(const char* text);
  void ReleaseImage();
};

class uitem_Box : public uitem
{
public:
  explicit uitem_Box(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void SetDefaults() override;
  void SetResID(int16_t id) override;
  bool isopaque() override;
};

class uitem_pictButton : public uitem
{
public:
  explicit uitem_pictButton(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  void PreHilite(uiset* set) override;
  void SetDefaults() override;
  int32_t GetOpcode() override;
  void SetOpcode(int32_t opcode, void* data) override;
  bool isopaque() override;

  int32_t opcode = 0;
  void* data = nullptr;
};

class uitem_custom : public uitem
{
public:
  explicit uitem_custom(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  void Idle(uiset* set, Point where) override;
  void SetDefaults() override;
  void SetDataPointer(void* data) override;
  bool isopaque() override;

  void* userData = nullptr;
  uiCustomProc userProc = nullptr;
};

class uitem_xeditor : public uitem
{
public:
  explicit uitem_xeditor(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  int16_t Key(uiset* set, int8_t character) override;
  void Idle(uiset* set, Point where) override;
  void PreHilite(uiset* set) override;
  void select(uiset* set) override;
  void deselect(uiset* set) override;
  void SetDefaults() override;
  void SetXEditor(uiset* set, Xeditor* editor, int32_t parameter);

  Xeditor* editor = nullptr;
  int32_t editorParameter = 0;
};

class uitem_text : public uitem
{
public:
  explicit uitem_text(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  void SetTFontlook(int8_t size, int8_t font, int8_t face) override;
  void SetTstyle(int8_t face) override;
  void SetDefaults() override;
  ::textLook* GetTinf() override;
  bool isopaque() override;

  ::textLook look;
};

class uitem_editText : public uitem_text
{
public:
  explicit uitem_editText(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  int16_t Key(uiset* set, int8_t character) override;
  void SetDefaults() override;

  StringPtr text = nullptr;  // the string edited: the item's own name unless set
};

class uitem_textButton : public uitem_text
{
public:
  explicit uitem_textButton(const e_uiallinfos* info = nullptr);
  void Act(uiset* set, Point where) override;
  void PreHilite(uiset* set) override;
  void SetDefaults() override;
  int32_t GetOpcode() override;
  void SetOpcode(int32_t opcode, void* data) override;

  int32_t opcode = 0;
  void* data = nullptr;
};

#include "ui/uitem_numbers.h"  // IWYU pragma: export

class uitem_checkbox : public uitem_number
{
public:
  explicit uitem_checkbox(const e_uiallinfos* info = nullptr) : uitem_number(info) {}
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  void SetDefaults() override;
  void SetEntries(int16_t count) override;
};

class uitem_chooser : public uitem_number
{
public:
  explicit uitem_chooser(const e_uiallinfos* info = nullptr);
  void SetDefaults() override;
  void SetEntries(int16_t count) override;
};

class uitem_radiobuttons : public uitem_chooser
{
public:
  explicit uitem_radiobuttons(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  // Draws every cell, `selected` highlighted.
  void DrawAllitems(uiset* set, matrix* m, int16_t selected);
  // Draws cell i of look 1 or 2 (mode 0 drawn, 1 invalidated).
  void DrawPictitem(uiset* set, matrix* m, int16_t i, int16_t mode, bool selected);
  // Draws cell i of the tabbed list.
  void Draw_RadioTlistItem(uiset* set, Rect* cell, int16_t i, bool selected);

private:
  // The cell grid and the rectangle it lies in; draws the frame when asked.
  matrix Layout(uiset* set, bool drawFrame);
  Rect Cell(const matrix& m, int16_t i) const;
  int16_t HitCell(const matrix& m, Point where) const;
  void DrawCell(uiset* set, matrix* m, int16_t i, bool selected);
  void SetDefaults() override;
  void SetEntries(int16_t count) override;
};

#include "ui/uitem_colors.h"  // IWYU pragma: export

// The size and alignment of an item-array slot: room for every class.
inline constexpr size_t kUISlotSize = 256;
inline constexpr size_t kUISlotAlign = alignof(std::max_align_t);
