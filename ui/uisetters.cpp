// The item set's per-item setters: each changes one item's fields and
// invalidates (or draws) what the change shows.
#include <cstring>

#include "platform/resources.h"
#include "ui/uiset.h"
#include "ui/uiset_pvt.h"

using namespace uiset_pvt;

void uiset::Enableuitem(int16_t n, bool on)
{
  const uint8_t v = on ? kUIShown : kUIDisabled;
  if (n < 0) {
    for (int16_t i = 0; i < count; ++i) {
      uitem* item = Getuitem(i);
      if (isEditable(item->kind) && item->visibility != v) {
        item->visibility = v;
        InvalRect(item->rect);
      }
    }
    return;
  }
  uitem* item = Getuitem(n);
  if (!item || item->visibility == v)
    return;
  item->visibility = v;
  InvalidateItem(item);
}

void uiset::Hideuitem(int16_t n, bool show)
{
  uitem* item = Getuitem(n);
  if (!item || (!show && item->visibility == kUIHidden))
    return;
  item->visibility = show ? kUIShown : kUIHidden;
  InvalidateItem(item);
}

void uiset::HideEraseuitem(int16_t n, bool show)
{
  uitem* item = Getuitem(n);
  if (!item || (!show && item->visibility == kUIHidden))
    return;
  Hideuitem(n, show);
  CGContextRef ctx = drawingContext();
  if (show || !ctx)
    return;
  const normalcolor& bg = colors[kUIBackground];
  QZ_ContextSetRGBFillColor(ctx, bg.red / 255.0, bg.green / 255.0, bg.blue / 255.0, 1);
  QZ_ContextFillRect(ctx, QZ_RectFromRect(item->rect));
}

void uiset::SetuitemFontlook(int16_t n, int8_t size, int8_t font, int8_t face)
{
  if (uitem* item = Getuitem(n)) {
    item->SetTFontlook(size, font, face);
    Invaluitem(n);
  }
}

void uiset::SetuitemColors(int16_t n, const normalcolor* c1, const normalcolor* c2)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  if (c1)
    item->color1 = *c1;
  if (c2)
    item->color2 = *c2;
  Invaluitem(n);
}

void uiset::SetuitemStyle(int16_t n, int8_t s)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  if (s >= 0) {
    item->style = s;
    return;
  }
  uint8_t flag;
  switch (s) {
    case -2:
      flag = 0;
      break;
    case -1:
      flag = 1;
      break;
    case -3:
      flag = 3;
      break;
    default:
      return;
  }
  if (item->editing != flag) {
    item->editing = flag;
    InvalidateItem(item);
  }
}

void uiset::SetuitemAltStyle(int16_t n, int8_t s)
{
  if (uitem* item = Getuitem(n))
    item->altStyle = s;
}

void uiset::SetuitemAlphaflag(int16_t n, uint8_t f)
{
  if (uitem* item = Getuitem(n))
    item->transparency = f;
}

void uiset::SetuitemKind(int16_t n, int8_t k)
{
  if (uitem* item = Getuitem(n)) {
    item->variant = k;
    InvalidateItem(item);
  }
}

void uiset::SetuitemAnchor(int16_t n, uint8_t a)
{
  if (uitem* item = Getuitem(n))
    item->anchor = a;
}

void uiset::SetuitemResID(int16_t n, int16_t id)
{
  uitem* item = Getuitem(n);
  if (!item || item->resID == id)
    return;
  item->SetResID(id);
  // The cached image (a pop-up menu's built menu included) is made again.
  releaseCachedImage(item);
  InvalidateItem(item);
}

void uiset::SetuitemEntries(int16_t n, int16_t k)
{
  if (uitem* item = Getuitem(n)) {
    item->SetEntries(k);
    InvalidateItem(item);
  }
}

void uiset::SetuitemNumberStyle(int16_t n, int8_t variant, int8_t alt, uint8_t arrows, uint8_t mode)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  item->variant = variant;
  item->altStyle = alt;
  if (item->kind == kUINumber) {
    uiNumberInfo* number = item->GetNinf();
    number->arrows = arrows;
    number->mode = mode;
  }
}

void uiset::SetuitemDataPointer(int16_t n, void* p)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  if (item->kind == kUIEditText)
    static_cast<uitem_editText*>(item)->text = static_cast<StringPtr>(p);
  else
    item->SetDataPointer(p);
}

void uiset::SetuitemBox(int16_t n, Rect r)
{
  if (uitem* item = Getuitem(n)) {
    item->rect = r;
    InvalidateItem(item);
  }
}

void uiset::Setminmax(int16_t n, float low, float high)
{
  if (uitem* item = Getuitem(n))
    item->Setminmax(low, high);
}

void uiset::SetOpcode(int16_t n, int32_t op)
{
  if (uitem* item = Getuitem(n))
    item->SetOpcode(op, owner);
}

void uiset::SetOpcodeNptr(int16_t n, int32_t op, void* p)
{
  if (uitem* item = Getuitem(n))
    item->SetOpcode(op, p);
}

void uiset::SetCallBackCmdptr(EdocCommandProc proc, void* data)
{
  callback = proc;
  for (int16_t i = 0; i < count; ++i) {
    uitem* item = Getuitem(i);
    int32_t op = item->GetOpcode();
    if (op >= 0)
      item->SetOpcode(op, data);
  }
}

void uiset::SetCustomProc(int16_t n, uiCustomProc proc)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  if (item->kind == kUICustom) {
    auto* custom = static_cast<uitem_custom*>(item);
    custom->userProc = proc;
    if (!custom->userData)
      custom->userData = owner;
    if (proc)
      proc(custom, custom->userData, -1, nullptr);
    return;
  }
  switch (item->kind) {
    case kUIScroller:
    case kUICheckbox:
    case kUIRadioButtons:
    case kUIPopMenu:
    case kUINumber:
    case kUIMultiVector:
    case kUICGradation:
      item->GetNinf()->word2 = reinterpret_cast<uiWord>(proc);
      break;
    default:
      break;
  }
}

void uiset::SetCustomProcNPtr(int16_t n, uiCustomProc proc, void* p)
{
  uitem* item = Getuitem(n);
  if (item && item->kind == kUICustom)
    static_cast<uitem_custom*>(item)->userData = p;
  SetCustomProc(n, proc);
}

void uiset::SetuitemNameNR(int16_t n, ConstStringPtr text)
{
  if (uitem* item = Getuitem(n)) {
    storeName(item, text);
    InvalidateItem(item);
  }
}

void uiset::SetuitemName(int16_t n, ConstStringPtr text)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  Str63 cut;
  UI_SetName63(cut, text);
  if (samePString(cut, item->name))
    return;
  std::memcpy(item->name, cut, size_t(cut[0]) + 1);
  if (item->visibility == kUIHidden)
    return;
  if (item->altStyle == 6)
    InvalidateItem(item);
  else
    Drawuitem(n);
}

void uiset::SetuitemResName(int16_t n, int16_t listID, int16_t index)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  Str255 text;
  GetIndString(text, listID, index);
  Str63 cut;
  UI_SetName63(cut, text);
  if (samePString(cut, item->name))
    return;
  std::memcpy(item->name, cut, size_t(cut[0]) + 1);
  Drawuitem(n);
}

void uiset::SetNameAndEnable(int16_t n, ConstStringPtr text, uint8_t newState)
{
  uitem* item = Getuitem(n);
  if (!item)
    return;
  Str63 given = {};
  UI_SetName63(given, text);
  if (item->visibility == newState && samePString(given, item->name))
    return;
  item->visibility = newState;
  if (newState == kUIDisabled)
    given[0] = 0;
  std::memcpy(item->name, given, size_t(given[0]) + 1);
  InvalidateItem(item);
}

void uiset::SetButtonOnOff(int16_t n, bool on)
{
  uitem* item = Getuitem(n);
  if (!item || item->kind != kUIPictButton)
    return;
  item->index = on ? 1 : 0;
  if (on) {
    Drawuitem(n);
  } else {
    item->editing = 0;
    InvalidateItem(item);
  }
}
