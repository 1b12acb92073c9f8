#include "ui/uitem.h"

#include <algorithm>
#include <cstring>

#include "ui/edoc.h"
#include "ui/uiset.h"

static_assert(sizeof(uitem_Box) <= kUISlotSize && sizeof(uitem_pictButton) <= kUISlotSize &&
              sizeof(uitem_colorpop) <= kUISlotSize && sizeof(uitem_custom) <= kUISlotSize &&
              sizeof(uitem_xeditor) <= kUISlotSize && sizeof(uitem_editText) <= kUISlotSize &&
              sizeof(uitem_textButton) <= kUISlotSize && sizeof(uitem_popmenu) <= kUISlotSize &&
              sizeof(uitem_scroller) <= kUISlotSize && sizeof(uitem_checkbox) <= kUISlotSize &&
              sizeof(uitem_multivector) <= kUISlotSize && sizeof(uitem_cgradation) <= kUISlotSize &&
              sizeof(uitem_radiobuttons) <= kUISlotSize);

namespace {

constexpr normalcolor kOpaqueBlack{255, 0, 0, 0};
constexpr normalcolor kOpaqueWhite{255, 255, 255, 255};

// Length of the longest prefix of at most `limit` bytes that ends on a
// whole UTF-8 character.
int utf8Prefix(const unsigned char* text, int length, int limit)
{
  if (length <= limit)
    return length;
  int cut = limit;
  // Step back over continuation bytes to the start of the cut character.
  while (cut > 0 && (text[cut] & 0xC0) == 0x80)
    --cut;
  return cut;
}

void numberInfoFrom(uiNumberInfo& number, const e_uiallinfos& info)
{
  number.word2 = info.word2;
  number.entries = info.entries;
  number.mode = info.mode;
  number.arrows = info.arrows;
  number.min = info.min;
  number.max = info.max;
}

void placeBelowTop(Rect& r, int16_t height, int16_t width)
{
  r.bottom = int16_t(r.top + height);
  if (width > 0)
    r.right = int16_t(r.left + width);
}

}  // namespace

void UI_SetName63(StringPtr name, ConstStringPtr text)
{
  if (!text) {
    name[0] = 0;
    return;
  }
  int n = utf8Prefix(text + 1, text[0], 63);
  std::memmove(name + 1, text + 1, size_t(n));
  name[0] = uint8_t(n);
}

void defaultuitem(e_uiallinfos* out, uint8_t kind, int16_t left, int16_t top, int16_t width,
                  int16_t height)
{
  *out = e_uiallinfos{};
  out->kind = kind;
  out->variant = kind == kUINumber ? 12 : 0;
  out->visibility = kUIShown;
  out->resID = 128;
  out->color1 = kOpaqueBlack;
  out->color2 = kOpaqueWhite;
  out->rect = Rect{top, left, int16_t(top + height), int16_t(left + width)};
  out->textLook = ::textLook{12, 1, 0, 1};
  out->entries = 1;
  out->min = 0.0f;
  out->max = 256.0f;
}

// ---- Root ------------------------------------------------------------------

uitem::uitem(const e_uiallinfos* info)
{
  if (info)
    static_cast<uiItemRecord&>(*this) = *info;
}

void uitem::SetName(const char* text)
{
  size_t n = std::min<size_t>(std::strlen(text), 63);
  std::memcpy(name + 1, text, n);
  name[0] = uint8_t(n);
}

void uitem::ReleaseImage()
{
  if (cachedImage)
    QZ_ImageRelease(cachedImage);
  cachedImage = nullptr;
}

void uitem::Killuitem()
{
  ReleaseImage();
}

void uitem::Draw(uiset* set)
{
  Rect inner = set->drauibounds(this, rect, style);
  CGContextRef ctx = set->drawingContext();
  if (altStyle == 6 || !ctx)
    return;
  const normalcolor& c = set->work.frame;
  QZ_ContextSetRGBFillColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, 1);
  QZ_ContextFillRect(ctx, QZ_RectFromRect(inner));
}

void uitem::Act(uiset*, Point) {}

int16_t uitem::Key(uiset*, int8_t)
{
  return 0;
}

void uitem::Idle(uiset*, Point) {}
void uitem::PreHilite(uiset*) {}
void uitem::SetTFontlook(int8_t, int8_t, int8_t) {}
void uitem::SetTstyle(int8_t) {}

void uitem::SetDefaults()
{
  SetName("Box");
}

void uitem::SetResID(int16_t id)
{
  resID = id;
}

void uitem::SetEntries(int16_t) {}
void uitem::Setminmax(float, float) {}

int32_t uitem::GetOpcode()
{
  return 0;
}

void uitem::SetOpcode(int32_t, void*) {}
void uitem::SetDataPointer(void*) {}

::textLook* uitem::GetTinf()
{
  return nullptr;
}

uiNumberInfo* uitem::GetNinf()
{
  return nullptr;
}

void uitem::deselect(uiset* set)
{
  editing = 0;
  if (set->isinlayer(layer))
    Draw(set);
}

void uitem::select(uiset*)
{
  editing = 1;
}

bool uitem::isopaque()
{
  if (style == 6)
    return false;
  if (style > 6)
    return true;
  return transparency == 0;
}

void uitem::Msg(char*, int16_t, int16_t, int16_t) {}

// ---- Boxes, pictures, colours, custom items and editors -----------------------

uitem_Box::uitem_Box(const e_uiallinfos* info) : uitem(info)
{
  if (!info)
    variant = 0;
}

void uitem_Box::SetDefaults()
{
  SetName("Box");
  variant = 3;
  ReleaseImage();
}

void uitem_Box::SetResID(int16_t id)
{
  ReleaseImage();
  resID = id;
}

bool uitem_Box::isopaque()
{
  if (style == 6)
    return false;
  if (style > 6 || variant == 0)
    return true;
  return transparency == 0;
}

uitem_pictButton::uitem_pictButton(const e_uiallinfos* info) : uitem(info)
{
  index = 0;
  if (info) {
    opcode = int32_t(uint32_t(info->word1));
  } else {
    variant = 0;
    resID = 128;
  }
}

void uitem_pictButton::SetDefaults()
{
  SetName("Pict");
}

int32_t uitem_pictButton::GetOpcode()
{
  return opcode;
}

void uitem_pictButton::SetOpcode(int32_t op, void* d)
{
  opcode = op;
  if (d)
    data = d;
}

bool uitem_pictButton::isopaque()
{
  if (style == 6 || variant == 2 || variant == 3)
    return false;
  if (style > 6)
    return true;
  return transparency == 0;
}

uitem_colorpop::uitem_colorpop(const e_uiallinfos* info) : uitem(info) {}

void uitem_colorpop::SetDefaults()
{
  SetName("color");
}

void uitem_colorpop::SetDataPointer(void* d)
{
  color = static_cast<normalcolor*>(d);
}

uitem_custom::uitem_custom(const e_uiallinfos* info) : uitem(info)
{
  transparency = 0;
}

void uitem_custom::SetDefaults()
{
  SetName("Custom");
}

void uitem_custom::SetDataPointer(void* d)
{
  userData = d;
}

bool uitem_custom::isopaque()
{
  return uitem::isopaque();
}

uitem_xeditor::uitem_xeditor(const e_uiallinfos* info) : uitem(info) {}

void uitem_xeditor::SetDefaults()
{
  SetName("CustomEditor");
}

void uitem_xeditor::SetXEditor(uiset*, Xeditor* e, int32_t parameter)
{
  editor = e;
  editorParameter = parameter;
}

// ---- Text and its descendants ------------------------------------------------------

uitem_text::uitem_text(const e_uiallinfos* info) : uitem(info)
{
  if (info)
    look = info->textLook;
  else
    look = ::textLook{12, 21, 0, 0};
}

void uitem_text::SetTFontlook(int8_t size, int8_t font, int8_t face)
{
  look.size = size;
  look.font = uint8_t(font);
  look.face = uint8_t(face);
}

void uitem_text::SetTstyle(int8_t face)
{
  look.face = uint8_t(face);
}

void uitem_text::SetDefaults()
{
  SetName("text item");
  style = 1;
  variant = 0;
}

::textLook* uitem_text::GetTinf()
{
  return &look;
}

bool uitem_text::isopaque()
{
  return style > 6;
}

uitem_editText::uitem_editText(const e_uiallinfos* info) : uitem_text(info), text(name) {}

void uitem_editText::SetDefaults()
{
  SetName("edit text");
  style = 3;
  variant = 0;
}

uitem_textButton::uitem_textButton(const e_uiallinfos* info) : uitem_text(info)
{
  variant = 0;
  if (info) {
    opcode = int32_t(uint32_t(info->word1));
  } else {
    resID = 128;
    opcode = 0;
  }
}

void uitem_textButton::SetDefaults()
{
  SetName(" Button");
  style = 0;
  altStyle = 6;
  look.face = 4;
}

int32_t uitem_textButton::GetOpcode()
{
  return opcode;
}

void uitem_textButton::SetOpcode(int32_t op, void* d)
{
  opcode = op;
  if (d)
    data = d;
}

uitem_popmenu::uitem_popmenu(const e_uiallinfos* info) : uitem_text(info)
{
  if (!info)
    return;
  number.data = reinterpret_cast<void*>(info->word1);
  numberInfoFrom(number, *info);
}

void uitem_popmenu::SetDefaults()
{
  SetName("PopUpMenus");
  style = 2;
  placeBelowTop(rect, 16, 128);
}

void uitem_popmenu::SetEntries(int16_t count)
{
  number.entries = count;
}

void uitem_popmenu::SetDataPointer(void* d)
{
  number.data = d;
}

uiNumberInfo* uitem_popmenu::GetNinf()
{
  return &number;
}

uitem_number::uitem_number(const e_uiallinfos* info) : uitem_text(info)
{
  if (info)
    numberInfoFrom(number, *info);
  else
    look = ::textLook{9, 4, 0, look.just};
  number.data = nullptr;
  // A signed remainder: a number is never top-aligned.
  look.just = uint8_t(int8_t(look.just) % 3);
}

void uitem_number::SetDefaults()
{
  name[0] = 0;
  style = 3;
  altStyle = 2;
  variant = 0;
  number.mode = 0;
  number.arrows = 0;
}

void uitem_number::SetEntries(int16_t count)
{
  number.entries = count;
}

void uitem_number::Setminmax(float low, float high)
{
  number.min = low;
  number.max = high;
}

void uitem_number::SetDataPointer(void* d)
{
  number.data = d;
}

uiNumberInfo* uitem_number::GetNinf()
{
  return &number;
}

void uitem_scroller::SetDefaults()
{
  SetName("checkbox");
  style = 1;
  placeBelowTop(rect, 16, 128);
}

void uitem_checkbox::SetDefaults()
{
  SetName("checkbox");
  style = 1;
  look.face = 0;
  look.just = 0;
  placeBelowTop(rect, 16, 128);
}

void uitem_checkbox::SetEntries(int16_t count)
{
  number.entries = count;
}

uitem_multivector::uitem_multivector(const e_uiallinfos* info) : uitem_number(info)
{
  number.entries = std::max<int16_t>(number.entries, 2);
}

void uitem_multivector::SetDefaults()
{
  number.mode = 0;
  number.arrows = 0;
  number.min = 0.0f;
  number.max = 128.0f;
}

uitem_cgradation::uitem_cgradation(const e_uiallinfos* info) : uitem_number(info)
{
  index = -1;
  number.entries = std::max<int16_t>(number.entries, 2);
}

uitem_chooser::uitem_chooser(const e_uiallinfos* info) : uitem_number(info)
{
  number.word2 = 0;
  if (!info) {
    resID = 150;
    variant = 0;
    number.entries = 1;
  }
}

void uitem_chooser::SetDefaults() {}

void uitem_chooser::SetEntries(int16_t count)
{
  number.entries = count;
}

uitem_radiobuttons::uitem_radiobuttons(const e_uiallinfos* info) : uitem_chooser(info)
{
  number.entries = std::max<int16_t>(number.entries, 2);
}

void uitem_radiobuttons::SetDefaults()
{
  SetName("Radio");
  style = 0;
  altStyle = 6;
  columns = 1;
  look.just = 0;
  placeBelowTop(rect, 34, 0);
  number.entries = 2;
  number.word2 = 0;
}

void uitem_radiobuttons::SetEntries(int16_t count)
{
  number.entries = std::max<int16_t>(count, 2);
}
