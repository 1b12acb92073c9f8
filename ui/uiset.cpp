#include "ui/uiset.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "imaging/ports.h"
#include "imaging/windowport.h"
#include "platform/ui.h"
#include "ui/uilayout.h"
#include "ui/uilib.h"
#include "ui/uipictures.h"
#include "ui/uiset_pvt.h"

using namespace uiset_pvt;

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
