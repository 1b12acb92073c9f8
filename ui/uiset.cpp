#include "ui/uiset.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "imaging/ports.h"
#include "imaging/windowport.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "ui/uiframes.h"
#include "ui/uilayout.h"
#include "ui/uilib.h"
#include "ui/uipictures.h"

namespace {

constexpr int8_t kTab = 9, kReturn = 13, kEnter = 3;

// 16-bit coordinates wrap as two's complement, never as a signed overflow.
int16_t wrap16(int32_t v)
{
  return int16_t(uint16_t(uint32_t(v)));
}

void offsetRect(Rect& r, int32_t dh, int32_t dv)
{
  r.left = wrap16(r.left + dh);
  r.right = wrap16(r.right + dh);
  r.top = wrap16(r.top + dv);
  r.bottom = wrap16(r.bottom + dv);
}

bool inRect(const Rect& r, Point p)
{
  return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

bool intersects(const Rect& a, const Rect& b)
{
  return std::max(a.left, b.left) < std::min(a.right, b.right) &&
         std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool samePString(ConstStringPtr a, ConstStringPtr b)
{
  return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

bool isTyped(uint8_t kind)
{
  return kind == kUIEditText || kind == kUINumber;
}

bool isEditable(uint8_t kind)
{
  return isTyped(kind) || kind == kUIPopMenu;
}

void releaseCachedImage(uiItemRecord* item)
{
  if (item->cachedImage)
    QZ_ImageRelease(item->cachedImage);
  item->cachedImage = nullptr;
}

// The set's own name for a Str63 text: cut at a whole UTF-8 character.
void storeName(uiItemRecord* item, ConstStringPtr text)
{
  UI_SetName63(item->name, text);
}

}  // namespace

uiset::uiset()
{
  ResetFields();
}

uiset::~uiset()
{
  Killuiset();
}

void uiset::ResetFields()
{
  setID = 128;
  count = 0;
  layersOn = 0;
  state = 0;
  designWidth = 800;
  designHeight = 580;
  totalBox = Rect{0, 0, 128, 128};
  okCancelShown = 0;
  spare = 2;
  std::copy(std::begin(kUIDefaultStateWords), std::end(kUIDefaultStateWords), stateWords);
  SetPString(name, "Untitled");
  callback = nullptr;
  typing[0] = 0;
  typedCount = 0;
  focused = hit = hovered = -1;
  itemsNotOwned = 0;
  hiliteColor = gUILib.hiliteColor;
}

// ---- Lookup ---------------------------------------------------------------------

uitem* uiset::Getuitem(int16_t n) const
{
  if (!items || n < 0 || n >= count)
    return nullptr;
  return std::launder(reinterpret_cast<uitem*>(items[n].bytes));
}

uiItemSlot* uiset::GetuitemAddr(uiItemSlot* base, int16_t n)
{
  return base + n;
}

uiItemRecord* uiset::GetuitemBase(int16_t n) const
{
  return Getuitem(n);
}

Rect uiset::GetuitemBox(int16_t n) const
{
  uitem* item = Getuitem(n);
  return item ? item->rect : Rect{};
}

::textLook* uiset::GetuitemTinf(int16_t n) const
{
  uitem* item = Getuitem(n);
  return item ? item->GetTinf() : nullptr;
}

uiNumberInfo* uiset::GetuitemNinf(int16_t n) const
{
  uitem* item = Getuitem(n);
  return item ? item->GetNinf() : nullptr;
}

bool uiset::uitemchanged(int16_t n) const
{
  uitem* item = Getuitem(n);
  return item && item->changed;
}

void uiset::GetuitemName(int16_t n, StringPtr out) const
{
  uitem* item = Getuitem(n);
  if (item && !samePString(out, item->name))
    std::memcpy(out, item->name, size_t(item->name[0]) + 1);
}

bool uiset::isinlayer(uint8_t layer) const
{
  if (!layersOn)
    return true;
  uint32_t word = stateWords[std::min<uint8_t>(state, 3)];
  for (int b = 0; b < 4; ++b)
    if (uint8_t(word >> (8 * b)) == layer)
      return true;
  return false;
}

bool uiset::takesPart(const uitem* item) const
{
  return isinlayer(item->layer);
}

bool uiset::isHittable(const uitem* item, Point where) const
{
  return takesPart(item) && item->visibility == kUIShown && inRect(item->rect, where);
}

int16_t uiset::GetHit(Point where, uitem** out)
{
  int16_t plain = -1;
  for (int16_t i = int16_t(count - 1); i >= 0; --i) {
    uitem* item = Getuitem(i);
    if (!isHittable(item, where))
      continue;
    if (item->kind > kUIText) {
      if (out)
        *out = item;
      return i;
    }
    plain = i;
  }
  return plain;
}

int16_t uiset::GetNextNumberItem(uitem** out)
{
  if (!items || count <= 0)
    return -1;
  for (int16_t step = 1; step <= count; ++step) {
    int16_t i = int16_t((std::max<int32_t>(focused, -1) + step) % count);
    uitem* item = Getuitem(i);
    if (takesPart(item) && item->visibility == kUIShown && isTyped(item->kind)) {
      if (out)
        *out = item;
      return i;
    }
  }
  return -1;
}

// ---- Life cycle ------------------------------------------------------------------

bool uiset::Create(int16_t id, Edoc* newOwner)
{
  Killuiset();
  owner = newOwner;
  redrawThrough = 0;
  redrawThroughSet = nullptr;
  return Readuitems(gAppInfos.resourcesFolder, id, true);
}

void uiset::AllocateItems(int16_t slots)
{
  items = slots > 0 ? new uiItemSlot[size_t(slots)]() : nullptr;
  capacity = slots;
}

bool uiset::Readuitems(const FileRef& ref, int16_t id, bool buildName, std::string* why)
{
  FileRef file = ref;
  if (buildName) {
    Str63 fileName;
    UI_LayoutFileName(id, fileName);
    file = ref.child(std::string(reinterpret_cast<const char*>(fileName + 1), fileName[0]));
  }
  uiLayout layout;
  if (!UI_ReadLayoutFile(file, &layout, why))
    return false;

  LoadLayout(layout);
  return true;
}

void uiset::LoadLayout(const uiLayout& layout)
{
  // A set that already holds items lets them go: the array is made for the
  // new count.
  Killuiset();
  ResetFields();
  setID = layout.setID;
  layersOn = uint8_t(layout.layersFlag);
  designWidth = layout.designWidth;
  designHeight = layout.designHeight;
  totalBox = layout.totalBox;
  std::copy(std::begin(layout.stateWords), std::end(layout.stateWords), stateWords);
  std::copy(std::begin(layout.colors), std::end(layout.colors), colors);
  std::memcpy(name, layout.name, size_t(layout.name[0]) + 1);
  AllocateItems(int16_t(layout.items.size()));
  for (size_t i = 0; i < layout.items.size(); ++i)
    Newuitem(int16_t(i), &items[i], &layout.items[i]);
  count = int16_t(layout.items.size());
}

uitem* uiset::Newuitem(int16_t, uiItemSlot* slot, const e_uiallinfos* info)
{
  void* at = slot->bytes;
  uitem* item = nullptr;
  switch (info->kind) {
    case kUIText:
      item = new (at) uitem_text(info);
      break;
    case kUITextButton:
      item = new (at) uitem_textButton(info);
      break;
    case kUIEditText:
      item = new (at) uitem_editText(info);
      break;
    case kUIPictButton:
      item = new (at) uitem_pictButton(info);
      break;
    case kUIScroller:
      item = new (at) uitem_scroller(info);
      break;
    case kUICheckbox:
      item = new (at) uitem_checkbox(info);
      break;
    case kUIRadioButtons:
      item = new (at) uitem_radiobuttons(info);
      break;
    case kUIPopMenu:
      item = new (at) uitem_popmenu(info);
      break;
    case kUIColorPop:
      item = new (at) uitem_colorpop(info);
      break;
    case kUICustom:
      item = new (at) uitem_custom(info);
      break;
    case kUINumber:
      item = new (at) uitem_number(info);
      break;
    case kUIMultiVector:
      item = new (at) uitem_multivector(info);
      break;
    case kUICGradation:
      item = new (at) uitem_cgradation(info);
      break;
    case kUIXEditor:
      item = new (at) uitem_xeditor(info);
      break;
    default:  // a box, and any kind this program does not know
      item = new (at) uitem_Box(info);
      item->kind = kUIBox;
      break;
  }
  item->editing = 0;
  item->needsRedraw = 1;
  item->cachedImage = nullptr;
  return item;
}

void uiset::Killuiset()
{
  for (int16_t i = 0; i < count; ++i) {
    uitem* item = Getuitem(i);
    item->Killuitem();
    item->~uitem();
  }
  if (!itemsNotOwned)
    delete[] items;
  items = nullptr;
  capacity = 0;
  count = 0;
  focused = hit = hovered = -1;
}

void uiset::ReloadImages()
{
  for (int16_t i = 0; i < count; ++i) {
    uitem* item = Getuitem(i);
    releaseCachedImage(item);
    InvalidateItem(item);
  }
}

bool uiset::CreateEmpty(int16_t slots, int16_t id, Edoc* newOwner)
{
  Killuiset();
  ResetFields();
  setID = id;
  AllocateItems(std::clamp<int16_t>(slots, 0, kUIMaxItems));
  colors[kUIBackground] = normalcolor{255, 64, 64, 64};
  colors[kUIColor2] = normalcolor{255, 0, 0, 32};
  colors[kUIFrameColor] = normalcolor{255, 33, 33, 33};
  colors[kUILightColor] = normalcolor{255, 107, 107, 107};
  colors[kUIShadowColor] = normalcolor{255, 0, 0, 0};
  layoutRect = Rect{0, 0, designHeight, designWidth};
  owner = newOwner;
  return true;
}

void uiset::Adduitem(uint8_t kind, int16_t left, int16_t top, int16_t width, int16_t height)
{
  if (count >= capacity) {
    PlayAlertSound();
    return;
  }
  e_uiallinfos info;
  defaultuitem(&info, kind, left, top, width, height);
  uitem* item = Newuitem(count, &items[count], &info);
  ++count;
  item->SetDefaults();
}

void uiset::SwitchState(uint8_t newState)
{
  if (!layersOn || newState == state)
    return;
  state = std::min<uint8_t>(newState, 3);
  CompTotalBox();
  for (int16_t i = 0; i < count; ++i)
    Getuitem(i)->needsRedraw = 1;
  InvalRect(totalBox);
}

// ---- Dispatch ----------------------------------------------------------------------

void uiset::Act(Point where)
{
  hit = -1;
  for (int16_t i = int16_t(count - 1); i >= 0; --i) {
    uitem* item = Getuitem(i);
    if (!isHittable(item, where) || item->kind <= kUIText)
      continue;
    Selectitem(item, i, 0);
    hit = i;
    item->Act(this, where);
    return;
  }
}

bool uiset::Selectitem(uitem* item, int16_t index, int16_t how)
{
  if (gopt && item->kind == kUIEditText) {
    Str255 edited;
    std::memcpy(edited, item->name, size_t(item->name[0]) + 1);
    if (GetObjetName(edited, 0)) {
      storeName(item, edited);
      InvalidateItem(item);
    }
  }
  const bool focusable = isTyped(item->kind) || item->kind == kUIXEditor;
  if (index == focused || !focusable)
    return false;
  item->editing = 1;
  if (isTyped(item->kind)) {
    if (drawingContext())
      item->Draw(this);
  } else if (how == 0) {
    item->select(this);
  }
  if (uitem* previous = Getuitem(focused))
    previous->deselect(this);
  focused = index;
  if (owner)
    owner->FlushContext();
  return true;
}

bool uiset::Key(int8_t character)
{
  keyResult = 0;
  uitem* current = Getuitem(focused);
  const bool editorFocused =
      current && current->kind == kUIXEditor && current->visibility == kUIShown;
  if (character == kTab) {
    if (editorFocused) {
      current->Key(this, kTab);
      keyResult = 1;
    } else {
      uitem* next = nullptr;
      int16_t i = GetNextNumberItem(&next);
      if (next && Selectitem(next, i, kTab))
        keyResult = 1;
    }
    typedCount = 0;
  } else if (character == kReturn || character == kEnter) {
    if (!current) {
      keyResult = 1;
    } else if (editorFocused) {
      current->Key(this, kReturn);  // Enter reaches an editor as Return does
      keyResult = 1;
    } else {
      typedCount = 0;
      if (character == kReturn && current->kind != kUIXEditor) {
        current->editing = 0;
        if (drawingContext())
          current->Draw(this);
        if (owner)
          owner->Refresh();
        focused = -1;
      }
      keyResult = 1;
    }
  } else if (current && current->visibility == kUIShown) {
    current->editing = 1;
    keyResult = uint8_t(current->Key(this, character) != 0);
  }
  if (keyResult && owner)
    owner->FlushContext();
  return keyResult != 0;
}

bool uiset::IdleHit(Point where, int16_t n)
{
  uitem* item = Getuitem(n);
  if (!item || !inRect(item->rect, where))
    return false;
  item->Idle(this, where);
  return true;
}

void uiset::Unhover()
{
  uitem* previous = Getuitem(hovered);
  if (previous && previous->kind != kUIXEditor) {
    previous->editing = 0;
    Drawuitemptr(previous);
  }
}

void uiset::PreHilite(Point where)
{
  if (!drawingContext())
    return;
  uitem* item = nullptr;
  found = GetHit(where, &item);
  const bool qualifies = item && found >= 0 && takesPart(item) && item->altStyle != 1 &&
                         (item->kind == kUITextButton || item->kind == kUIPictButton ||
                          item->kind == kUICGradation || item->kind == kUIXEditor);
  if (qualifies) {
    if (found == hovered)
      return;
    Unhover();
    hovered = found;
    if (!item->editing) {
      item->PreHilite(this);
      owner->FlushContext();
    }
    return;
  }
  if (hovered < 0)
    return;
  Unhover();
  owner->FlushContext();
  hovered = -1;
}

void uiset::Unselectall()
{
  for (int16_t i = 1; i < count; ++i) {
    uitem* item = Getuitem(i);
    if (!isTyped(item->kind) || !item->editing)
      continue;
    item->editing = 0;
    if (takesPart(item) && drawingContext())
      item->Draw(this);
  }
  focused = -1;
}

bool uiset::TrackStandardButton(const Rect& r, int16_t upCode, int16_t downCode, int16_t* which,
                                int16_t inside, int16_t outside)
{
  *which = inside;
  EDraw_PictItem(owner, r, downCode, nullptr, 0);
  bool down = true;
  if (!owner)
    return down;
  Point p;
  while (owner->ButtonTrue(&p, true)) {
    const bool now = inRect(r, p);
    if (now != down)
      EDraw_PictItem(owner, r, now ? downCode : upCode, nullptr, 0);
    down = now;
    *which = now ? inside : outside;
  }
  EDraw_PictItem(owner, r, upCode, nullptr, 0);
  owner->FlushContext();
  return down;
}

bool uiset::ActokCancel(Point where, int16_t* which)
{
  *which = 0;
  if (inRect(okRect, where))
    return TrackStandardButton(okRect, kUIPictOKUp, kUIPictOKDown, which, 1, 2);
  if (inRect(cancelRect, where))
    return TrackStandardButton(cancelRect, kUIPictCancelUp, kUIPictCancelDown, which, 2, 2);
  return false;
}

// ---- Drawing -----------------------------------------------------------------------

CGContextRef uiset::drawingContext() const
{
  return owner ? owner->context : nullptr;
}

void uiset::InvalRect(const Rect& r) const
{
  if (owner && owner->window) {
    kvui::Rect u = RectToUI(r);
    kvui::invalidate(owner->window, &u);
  }
}

void uiset::InvalidateItem(uitem* item)
{
  InvalRect(item->rect);
  item->needsRedraw = 1;
}

void uiset::Draw(const Rect* r)
{
  CGContextRef ctx = drawingContext();
  if (!ctx)
    return;
  QZ_ContextSaveGState(ctx);
  if (r) {
    clipRect = *r;
    QZ_ContextClipToRect(ctx, QZ_RectFromRect(*r));
    if (!redrawThrough) {
      const normalcolor& bg = colors[kUIBackground];
      QZ_ContextSetRGBFillColor(ctx, bg.red / 255.0, bg.green / 255.0, bg.blue / 255.0, 1);
      QZ_ContextFillRect(ctx, QZ_RectFromRect(*r));
    }
  }
  for (int16_t i = 0; i < count; ++i) {
    uitem* item = Getuitem(i);
    if (!takesPart(item) || item->visibility == kUIHidden || (r && !intersects(item->rect, *r)))
      continue;
    drawing = i;
    item->needsRedraw = 0;
    item->Draw(this);
  }
  drawing = -1;
  QZ_ContextRestoreGState(ctx);
  if (okCancelShown) {
    if (!r || intersects(okRect, *r))
      EDraw_PictItem(owner, okRect, kUIPictOKUp, nullptr, 0);
    if (!r || intersects(cancelRect, *r))
      EDraw_PictItem(owner, cancelRect, kUIPictCancelUp, nullptr, 0);
  }
}

void uiset::DrawFlush(const Rect* r)
{
  Draw(r);
  if (owner)
    owner->FlushContext();
}

void uiset::ForceDrawFlush()
{
  if (!owner || !owner->window)
    return;
  kvui::beginUpdate(owner->window);
  Draw(&owner->portRect);
  kvui::endUpdate(owner->window);
  owner->FlushContext();
}

void uiset::RedrawUnder(uitem* item)
{
  uiset* through = redrawThrough && redrawThroughSet ? redrawThroughSet : this;
  through->Draw(&item->rect);
}

void uiset::Drawuitemptr(uitem* item)
{
  if (!item || !drawingContext())
    return;
  if (item->isopaque() && item->visibility != kUIHidden)
    item->Draw(this);
  else
    RedrawUnder(item);
}

void uiset::Drawuitem(int16_t n)
{
  uitem* item = Getuitem(n);
  if (!item || !drawingContext())
    return;
  Drawuitemptr(item);
  owner->FlushContext();
}

void uiset::Invaluitem(int16_t n)
{
  if (n >= 0) {
    if (uitem* item = Getuitem(n))
      InvalidateItem(item);
    return;
  }
  for (int16_t i = 0; i < count; ++i) {
    uitem* item = Getuitem(i);
    if (isEditable(item->kind))
      InvalidateItem(item);
  }
}

// ---- Geometry ---------------------------------------------------------------------

namespace {

// Moves r by its anchor; `previous` is the rectangle of the item anchored
// just before (null for the first).
void anchorRect(Rect& r, uint8_t anchor, const Rect* previous, int32_t dh, int32_t dv)
{
  switch (anchor) {
    case 1:
      offsetRect(r, dh, 0);
      break;
    case 2:
      offsetRect(r, 0, dv);
      break;
    case 3:
      offsetRect(r, dh, dv);
      break;
    case 4:
      r.right = wrap16(r.right + dh);
      break;
    case 5:
      r.bottom = wrap16(r.bottom + dv);
      break;
    case 6:
      r.right = wrap16(r.right + dh);
      r.bottom = wrap16(r.bottom + dv);
      break;
    case 7:
      if (previous) {
        r.top = previous->top;
        r.bottom = previous->bottom;
        r.right = wrap16(r.right + dh);
      }
      break;
    case 8:
      if (previous) {
        r.left = previous->left;
        r.right = previous->right;
        r.top = wrap16(previous->bottom + 2);
        r.bottom = wrap16(r.bottom + dv);
      }
      break;
    case 9:
      offsetRect(r, 0, dv);
      r.right = wrap16(r.right + dh);
      break;
    default:
      break;
  }
}

}  // namespace

void uiset::CompTotalBox()
{
  Rect box{32767, 32767, -32767, -32767};
  for (int16_t i = 0; i < count; ++i) {
    const uitem* item = Getuitem(i);
    if (!takesPart(item) || item->visibility == kUIHidden)
      continue;
    box.top = std::min(box.top, item->rect.top);
    box.left = std::min(box.left, item->rect.left);
    box.bottom = std::max(box.bottom, item->rect.bottom);
    box.right = std::max(box.right, item->rect.right);
  }
  totalBox = box;
}

void uiset::ResizeUI(Rect r, int16_t mode, uiResizeProc proc)
{
  if (mode == 1 || mode == 2) {
    const int32_t h0 = layoutRect.left, v0 = layoutRect.top;
    for (int16_t i = 0; i < count; ++i)
      offsetRect(Getuitem(i)->rect, -h0, -v0);
    offsetRect(totalBox, -h0, -v0);
    int16_t dh = wrap16(RectWidth(r) - RectWidth(layoutRect));
    int16_t dv = wrap16(RectHeight(r) - RectHeight(layoutRect));
    const Rect* previous = nullptr;
    for (int16_t i = 0; i < count; ++i) {
      if (proc && i > 0)
        proc(this, i, &dh, &dv);
      uitem* item = Getuitem(i);
      item->needsRedraw = 1;
      anchorRect(item->rect, item->anchor, previous, dh, dv);
      previous = &item->rect;
    }
  }
  CompTotalBox();
  if (mode == 0 || mode == 2) {
    int32_t dv = (r.top + r.bottom) / 2 - (totalBox.top + totalBox.bottom) / 2;
    int32_t dh = (r.left + r.right) / 2 - (totalBox.left + totalBox.right) / 2;
    if (totalBox.top + dv < -4)
      dv = -4 - totalBox.top;
    if (totalBox.left + dh < -4)
      dh = -4 - totalBox.left;
    for (int16_t i = 0; i < count; ++i) {
      uitem* item = Getuitem(i);
      offsetRect(item->rect, dh, dv);
      InvalidateItem(item);
    }
    offsetRect(totalBox, dh, dv);
  }
  layoutRect = r;
}

void uiset::Offsetuitems(int16_t dh, int16_t dv)
{
  for (int16_t i = 0; i < count; ++i) {
    uitem* item = Getuitem(i);
    offsetRect(item->rect, dh, dv);
    InvalidateItem(item);
  }
  offsetRect(totalBox, dh, dv);
}

// ---- Setters ----------------------------------------------------------------------

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
