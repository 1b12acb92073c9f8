// Pop-up menus: the item's looks, the native menu from a string list, the
// picture grid and the user grid in a borderless pop-up window, and the
// direct pop-up for callers without a layout item.
#include <algorithm>
#include <bit>
#include <cstring>

#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "imaging/ports.h"
#include "imaging/windowport.h"
#include "platform/resources.h"
#include "ui/popupmenus.h"
#include "ui/uidrawhelpers.h"
#include "ui/uidrawshapes.h"
#include "ui/uiframes.h"
#include "ui/uinumbers.h"
#include "ui/uinumbers_pvt.h"
#include "ui/uipictures.h"
#include "ui/uipopupwindow.h"
#include "ui/uiset.h"

using namespace uinumbers_pvt;

namespace {

constexpr int16_t kTextGridCellWidth = 190;  // picture-and-text cells
constexpr int16_t kGridMargin = 3;           // the window around the grid
constexpr int16_t kScrollBand = 14;          // the scroll zones above and below
constexpr int16_t kScrollZone = 13;          // the top band that scrolls back
constexpr int16_t kScrollTicks = 6;          // scrolling repeats while held
constexpr int16_t kPopUpOffset = 8;          // grids open 8 right and 8 below
constexpr normalcolor kOpaqueBlack{255, 0, 0, 0};
constexpr normalcolor kArrowGrey{255, 170, 170, 170};

int16_t offsetCode(int16_t code, int32_t by)
{
  return clamp16(code >= 0 ? code + by : code - by);
}

Point moved(Point p, int32_t dh, int32_t dv)
{
  return Point{clamp16(p.v + dv), clamp16(p.h + dh)};
}

// The owner's point on the screen.
Point toGlobal(const Edoc* owner, Point local)
{
  if (!owner || !owner->port)
    return local;
  return moved(local, owner->port->globalOrigin.h, owner->port->globalOrigin.v);
}

// One tracking step in the pop-up: the pointer read in global coordinates
// (the press belongs to the window that was clicked) and made the pop-up's.
bool popUpStep(IBPopUpdlog& popUp, Point* p, int32_t timeoutTicks)
{
  popUp.FlushContext();
  kvui::Point g;
  const bool held = kvui::trackMouse(&g, timeoutTicks) != kvui::TrackResult::released;
  Point global = PointFromUI(g);
  const Point origin = popUp.port ? popUp.port->globalOrigin : Point{0, 0};
  *p = moved(global, -origin.h, -origin.v);
  return held;
}

// Makes a port current for the life of the object.
class PortScope
{
public:
  explicit PortScope(CGrafPtr port)
  {
    GetGWorld(&saved_, &device_);
    SetGWorld(port, nullptr);
  }
  ~PortScope() { SetGWorld(saved_, device_); }
  PortScope(const PortScope&) = delete;
  PortScope& operator=(const PortScope&) = delete;

private:
  CGrafPtr saved_ = nullptr;
  GDHandle device_ = nullptr;
};

// Makes the pop-up the item set's owner for the life of the object.
class OwnerScope
{
public:
  OwnerScope(uiset* set, Edoc* popUp) : set_(set), saved_(set->owner) { set->owner = popUp; }
  ~OwnerScope() { set_->owner = saved_; }
  OwnerScope(const OwnerScope&) = delete;
  OwnerScope& operator=(const OwnerScope&) = delete;

private:
  uiset* set_;
  Edoc* saved_;
};

Rect arrowRect(const Rect& r)
{
  return makeRect(r.top + 4, r.right - 9, r.bottom + 4, r.right);
}

}  // namespace

// ---- Labels and the cancel rule ---------------------------------------------------------

bool UI_PopUpCancelled(Point release, int16_t width, int16_t height)
{
  if (release.h < 0 || release.v < 0)
    return true;
  return release.h < width && release.v >= height;
}

void UI_PopUpLabel(ConstStringPtr name, ConstStringPtr entry, StringPtr out)
{
  Str255 label;
  AssignPString(label, name);
  if (name[0] >= 2)
    CConcatPStrings(label, reinterpret_cast<const unsigned char*>("\3 : "));
  CConcatPStrings(label, entry);
  UI_SetName63(out, label);
}

// ---- Drawing ----------------------------------------------------------------------

void uitem_popmenu::Draw_textpopItem(uiset* set, Rect* r, int16_t selection)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  if (visibility != kUIShown) {
    fillRect(ctx, *r, set->work.frame);
    return;
  }
  Str255 entry;
  GetIndString(entry, resID, clamp16(int32_t(selection) + 2));
  const normalcolor color = editing ? set->hiliteColor : GetTextColor(set, this);
  Str63 label;
  if (variant == -1)
    UI_SetName63(label, entry);
  else
    UI_PopUpLabel(name, entry, label);
  BeginClip(ctx, *r);
  EDrawText(ctx, label, *r, &look, altStyle == 6 ? nullptr : &set->work.frame, color);
  Draw_DownArrow(ctx, rect.top, arrowRect(rect), UI_MeanColor(set->work.light, color));
  EndClip(ctx);
}

void uitem_popmenu::Draw(uiset* set)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  Rect r = set->drauibounds(this, rect, style);
  const int16_t selection = selectionVariable() ? *selectionVariable() : 0;
  if (variant <= 0) {
    Draw_textpopItem(set, &r, selection);
    return;
  }
  if (variant == 4) {
    if (auto proc = reinterpret_cast<uiPopUpProc>(number.word2)) {
      Rect box = rect;
      proc(set->owner, this, &box, selection, kPopUpDrawItem, nullptr);
    }
    Draw_DownArrow(ctx, rect.top, arrowRect(rect), editing ? set->hiliteColor : kArrowGrey);
    return;
  }
  set->pictureDraw.hilitMode = uint8_t(GetAltHilit(set, editing, altStyle, visibility));
  EDraw_PictItem(set->owner, r, variant == 1 ? resID : offsetCode(resID, selection),
                 &set->pictureDraw, 1);
}

// ---- The native menu -------------------------------------------------------------

int16_t uitem_popmenu::NativeMenu(int16_t selection, bool disableByMax)
{
  Str255 first;
  GetIndString(first, resID, 1);
  int32_t count = 0;
  StringToNum(first, &count);
  count = std::clamp<int32_t>(count, 0, INT16_MAX);
  const uint32_t checkMask = 1u << (((selection % 32) + 32) % 32);
  // The bits of the stored maximum, not its value, mark the disabled entries.
  const uint32_t disableMask = disableByMax ? std::bit_cast<uint32_t>(number.max) : 0;
  const int16_t choice = DoPopUpDirectMenu(resID, int16_t(-count), 0, checkMask, disableMask);
  return choice > 0 ? int16_t(choice - 1) : int16_t(-1);
}

// ---- The picture grid ------------------------------------------------------------

int16_t uitem_popmenu::PopUpDlog(uiset* set, Rect* r, Point where, int16_t pictBase,
                                 int16_t selection, int16_t look_, int16_t)
{
  IBPopUpdlog popUp(kPopUpWindowClass, kOpaqueBlack);
  if (!popUp.window)
    return -1;
  const int16_t cellWidth = look_ == 3 ? kTextGridCellWidth : clamp16(RectWidth(*r) + 1);
  const int16_t cellHeight = clamp16(RectHeight(*r) + 1);
  matrix m;
  const Point grid = Get_AutoBoxmatrix(&m, columns, number.entries, cellWidth, cellHeight);
  const int16_t width = clamp16(grid.h + kGridMargin), height = clamp16(grid.v + kGridMargin);
  const Point at = toGlobal(set->owner, where);
  popUp.SetWindowShow(&at, width, height, number.mode != 0);
  OwnerScope owner(set, &popUp);
  PortScope port(popUp.port);
  look.just = 0;

  const int16_t cells = std::min(m.count, kMatrixMaxCells);
  auto drawCell = [&](int16_t i, bool selected) {
    if (i < 0 || i >= cells)
      return;
    const Rect cell = Get_matrixBox(&m, i);
    fillRect(popUp.context, cell, popUp.background);
    const Rect inner = Draw_ArrayBounds(set, this, cell, style, selected);
    if (look_ == 3) {
      Draw_PictnTextItem(set, inner, this, name, pictBase, i, selected);
      return;
    }
    QZDrawFlags flags = set->pictureDraw;
    flags.hilitMode = selected ? 3 : 0;
    EDraw_PictItem(&popUp, inner, offsetCode(pictBase, i), &flags, 1);
  };
  for (int16_t i = 0; i < cells; ++i)
    drawCell(i, i == selection);

  int16_t hovered = -1, shownSelected = selection;
  auto follow = [&](Point q) {
    const int16_t hit = Hit_matrixBox(&m, q);
    if (hit < 0 || hit == hovered)
      return;
    drawCell(shownSelected, false);
    drawCell(hit, true);
    hovered = shownSelected = hit;
  };
  Point p = WaitButtonTrue();
  follow(p);
  while (popUpStep(popUp, &p, 0))
    follow(p);
  follow(p);
  return UI_PopUpCancelled(p, width, height) ? int16_t(-1) : hovered;
}

// ---- The user grid -----------------------------------------------------------------

int16_t uitem_popmenu::UserPopUpDlog(uiset* set, Rect* r, Point where, int16_t, int16_t selection,
                                     int16_t, int16_t flag)
{
  auto proc = reinterpret_cast<uiPopUpProc>(number.word2);
  if (!proc)
    return -1;
  IBPopUpdlog popUp(kPopUpWindowClass, color1);
  if (!popUp.window)
    return -1;
  const int16_t full = std::max<int16_t>(number.entries, 1);
  uiPopUpSize size;
  proc(&popUp, this, nullptr, selection, kPopUpOpen, &size);
  const int16_t shown = std::clamp<int16_t>(number.entries, 1, full);
  number.entries = full;
  Rect cellRect{0, 0, clamp16(RectHeight(*r)), clamp16(RectWidth(*r))};
  proc(&popUp, this, &cellRect, selection, kPopUpCellRect, &size);
  const int16_t cellWidth = clamp16(std::max<int32_t>(RectWidth(cellRect), kMatrixMinCell));
  // A negative column count fills by columns this once and is kept positive.
  const bool byColumns = columns < 0;
  if (byColumns)
    columns = int8_t(std::min<int32_t>(-int32_t(columns), INT8_MAX));
  const bool scrolling = shown < full;

  matrix m;
  const Point grid = Get_AutoBoxmatrix(&m, columns, shown, cellWidth, clamp16(RectHeight(*r)));
  const int16_t scrollShift = scrolling ? kScrollBand : 0;
  m.top = clamp16(m.top + scrollShift);
  size.grid = grid;
  proc(&popUp, this, nullptr, selection, kPopUpGridSize, &size);
  const int16_t gridHeight = std::max(size.grid.v, grid.v);
  const bool hasExtra = gridHeight > grid.v;
  const Rect extra = hasExtra ? makeRect(grid.v + kGridMargin + scrollShift, 2,
                                         gridHeight + scrollShift, grid.h + 2)
                              : Rect{};
  const int16_t width = clamp16(grid.h + kGridMargin);
  const int16_t height = clamp16(gridHeight + kGridMargin + (scrolling ? 2 * kScrollBand : 0));
  const Point at = toGlobal(set->owner, where);
  popUp.SetWindowShow(&at, width, height, number.mode != 0);
  OwnerScope owner(set, &popUp);
  PortScope port(popUp.port);

  const int16_t cells = std::min(m.count, kMatrixMaxCells);
  const int16_t rowStep = std::max<int16_t>(m.columns, 1);
  const int32_t maxOffset = ((full - shown + rowStep - 1) / rowStep) * rowStep;
  int32_t offset = 0;
  int16_t hovered = -1;
  auto box = [&](int16_t i) { return byColumns ? Get_matrixVBox(&m, i) : Get_matrixBox(&m, i); };
  auto hitCell = [&](Point q) { return byColumns ? Hit_VmatrixBox(&m, q) : Hit_matrixBox(&m, q); };
  auto drawCell = [&](int16_t i, bool selected) {
    if (i < 0 || i >= cells || offset + i >= full)
      return;
    Rect cell = box(i);
    proc(&popUp, this, &cell, clamp16(offset + i), selected ? kPopUpDrawSelected : kPopUpDrawCell,
         &size);
  };
  auto drawExtra = [&] {
    if (!hasExtra)
      return;
    Rect area = extra;
    proc(&popUp, this, &area, hovered, kPopUpDrawExtra, &size);
  };
  auto drawAll = [&] {
    for (int16_t i = 0; i < cells; ++i)
      drawCell(i, hovered >= 0 ? i == hovered : offset + i == selection);
  };
  drawAll();
  drawExtra();
  if (scrolling) {
    Rect frame = makeRect(2, 2, grid.v + 19, grid.h + 2);
    proc(&popUp, this, &frame, selection, kPopUpScrollFrame, &size);
  }

  int16_t shownSelected = clamp16(selection - offset);
  auto follow = [&](Point q, bool mayScroll) {
    const bool inExtra = hasExtra && inRect(extra, q);
    if (mayScroll && scrolling && !inExtra) {
      const int32_t before = offset;
      if (q.v < kScrollZone)
        offset = std::max<int32_t>(offset - rowStep, 0);
      else if (q.v >= m.top + grid.v)
        offset = std::min<int32_t>(offset + rowStep, maxOffset);
      if (offset != before) {
        shownSelected = clamp16(selection - offset);
        drawAll();
      }
    }
    const int16_t hit = hitCell(q);
    if (hit >= 0 && hit < cells && hit != hovered) {
      drawCell(shownSelected, false);
      drawCell(hit, true);
      hovered = shownSelected = hit;
      drawExtra();
    }
    if (inExtra) {
      Rect area = extra;
      proc(&popUp, this, &area, hovered, kPopUpMouseInExtra, &q);
    }
  };
  Point p = WaitButtonTrue();
  follow(p, true);
  while (popUpStep(popUp, &p, scrolling ? kScrollTicks : 0))
    follow(p, true);
  follow(p, false);
  const int16_t chosen = hovered >= 0 ? clamp16(offset + hovered) : int16_t(-1);
  if (flag) {
    Rect last = hovered >= 0 ? box(hovered) : Rect{};
    proc(&popUp, this, &last, chosen, kPopUpRelease, &size);
  }
  if (UI_PopUpCancelled(p, width, height))
    return -1;
  if (hasExtra && inRect(extra, p))
    return kPopUpExtraChoice;
  return chosen;
}

// ---- Clicks ---------------------------------------------------------------------------

void uitem_popmenu::Act(uiset* set, Point where)
{
  int16_t* selection = selectionVariable();
  if (!selection)
    return;
  int16_t result = -1;
  if (variant < 2) {
    if (visibility != kUIDisabled) {
      editing = 1;
      Draw(set);
      if (set->owner)
        set->owner->FlushContext();
      result = NativeMenu(*selection, true);
    }
  } else if (variant == 4) {
    editing = 1;
    Draw(set);
    set->getmaincolors(this, style);
    if (number.word2)
      result = UserPopUpDlog(set, &rect, moved(where, kPopUpOffset, kPopUpOffset), resID,
                             *selection, variant, 1);
  } else {
    const Point at = gcmd && gopt ? moved(where, kPopUpOffset, kPopUpOffset)
                                  : Point{rect.top, clamp16(where.h + kPopUpOffset)};
    result = PopUpDlog(set, &rect, at, resID, *selection, variant, 0);
  }
  if (result >= 0) {
    *selection = result;
    set->lastChosen = result;
  } else {
    set->hit = -1;
  }
  editing = 0;
  set->InvalRect(rect);
  needsRedraw = 1;
}

int16_t uitem_popmenu::ActDirect(uiset* set, Point where, int16_t* selection)
{
  int16_t result = -1;
  const Point at = moved(where, kPopUpOffset, kPopUpOffset);
  if (variant < 2) {
    if (visibility == kUIShown)
      result = NativeMenu(*selection, false);
  } else if (variant == 4) {
    if (number.word2)
      result = UserPopUpDlog(set, &rect, at, resID, *selection, variant, 1);
  } else {
    result = PopUpDlog(set, &rect, at, resID, *selection, variant, 1);
  }
  if (result != -1)
    *selection = result;
  return result;
}

int16_t DirectPopUp(uiset* set, const e_uiallinfos* record, int8_t style, int8_t variant, Rect r,
                    Point where)
{
  if (!set || !record)
    return 0;
  e_uiallinfos info = *record;
  info.kind = kUIPopMenu;
  info.visibility = kUIShown;
  info.editing = 1;
  info.name[0] = 0;
  info.rect = r;
  info.style = style;
  info.variant = variant;
  info.mode = 1;
  uitem_popmenu item(&info);
  item.editing = 1;
  auto* selection = static_cast<int16_t*>(item.number.data);
  if (!selection)
    return 0;
  const int16_t before = *selection;
  int16_t value = before;
  if (item.ActDirect(set, where, &value) != -1)
    *selection = value;
  item.Killuitem();
  return gopt || *selection != before ? 1 : 0;
}
