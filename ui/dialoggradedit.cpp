#include "ui/dialoggradedit.h"

#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "imaging/cursorkeys.h"
#include "imaging/ports.h"
#include "imaging/windowport.h"
#include "platform/resources.h"
#include "ui/palettedialogs.h"
#include "ui/uidrawhelpers.h"
#include "ui/uidrawshapes.h"
#include "ui/uinumbers.h"

namespace {

constexpr int16_t kGradEditOKMode = 1;
constexpr int16_t kPaletteItem = 1;
constexpr int16_t kFewerItem = 2;
constexpr int16_t kMoreItem = 3;
constexpr int16_t kRedItem = 4;
constexpr int16_t kBlueItem = 6;
constexpr int16_t kLoadLibraryItem = 12;
constexpr int16_t kSaveLibraryItem = 13;
constexpr int16_t kLibraryItem = 14;
constexpr int16_t kFirstTransformItem = 15;
constexpr int16_t kLastTransformItem = 23;
constexpr float kVectorMax = 1020;
constexpr double kVectorScale = 4.0;
constexpr double kVectorToByte = 0.25;
constexpr int16_t kPointerCursor = 131;
constexpr int16_t kDeleteCursor = 134;
constexpr int32_t kRampCommand = 32;
constexpr int32_t kResampleCommand = 24;
constexpr int16_t kNeutralAmount = 128;

// The commands of the items; -1: the item sends none.
struct ItemOpcode
{
  int16_t item;
  int32_t opcode;
};
constexpr ItemOpcode kItemOpcodes[] = {
    {15, kPalHue},
    {16, kPalContrast},
    {17, kPalSaturation},
    {20, kPalBrightness},
    {7, kPalVariation},
    {8, kPalReverse},
    {9, kPalInvert},
    {18, kPalSmooth},
    {10, kPalRamp},
    {24, kResampleCommand},
    {11, kPalDouble},
    {19, kPalRotate},
    {21, kPalRed},
    {22, kPalGreen},
    {23, kPalBlue},
    {12, -1},
    {13, -1},
    {14, -1},
    {3, -1},
    {2, -1},
};

// The modes that follow the mouse while the button is held.
bool isInteractive(int32_t command)
{
  return (command >= kPalHue && command <= kPalRotate) ||
         (command >= kPalRed && command <= kPalBlue);
}

int32_t heldCount(int32_t count)
{
  return std::clamp<int32_t>(count, kGradEditMinCount, kGradEditMaxCount);
}

// Keeps only channel `channel` (0 red, 1 green, 2 blue) of each colour's
// change: the other channels come back from `before`.
void keepOneChannel(cpalette* p, const cpalette& before, uint8_t channel)
{
  for (int32_t i = 0; i < kPaletteSlots; ++i) {
    normalcolor kept = before.colors[i];
    const normalcolor& now = p->colors[i];
    if (channel == 0)
      kept.red = now.red;
    else if (channel == 1)
      kept.green = now.green;
    else
      kept.blue = now.blue;
    p->colors[i] = kept;
  }
}

// The library the pop-up draws (set while ChooseColorGrad runs).
const cpalettelib* gPopUpLibrary = nullptr;

constexpr int16_t kPopUpCellWidth = 160;
constexpr int16_t kPopUpCellHeight = 14;
constexpr int8_t kPopUpColumns = 4;
constexpr int8_t kUserGridVariant = 4;

}  // namespace

// ---- The dialog -------------------------------------------------------------------

IB_GradEdit_dlog::IB_GradEdit_dlog(cpalette* palette, cpalettelib* lib)
    : IBbasedlog(kGradEditDialogID, kGradEditOKMode, false), library(lib), edited(palette)
{
  if (!set)
    return;
  set->SetCallBackCmdptr(do_GradEdit_Command, this);
  for (const ItemOpcode& o : kItemOpcodes)
    set->SetOpcode(o.item, o.opcode);
  set->SetuitemDataPointer(kPaletteItem, working.colors);
  int16_t* vectors[3] = {red, green, blue};
  for (int16_t n = kRedItem; n <= kBlueItem; ++n) {
    set->Setminmax(n, 0, kVectorMax);
    set->SetuitemDataPointer(n, vectors[n - kRedItem]);
  }
  ShowCenterDialog(true);
  OpenContext();
}

void IB_GradEdit_dlog::UpdateUiset()
{
  if (!set)
    return;
  working.count = heldCount(working.count);
  getvec_cpalette(&working, red, green, blue, kVectorScale);
  for (int16_t n : {kPaletteItem, int16_t(4), int16_t(5), int16_t(6)})
    set->SetuitemEntries(n, int16_t(working.count));
  Redraw();
}

void IB_GradEdit_dlog::Redraw()
{
  for (int16_t n : {kPaletteItem, int16_t(4), int16_t(5), int16_t(6)})
    set->Drawuitem(n);
}

bool IB_GradEdit_dlog::Run()
{
  if (!set || !edited)
    return false;
  working = *edited;
  channel = 0;
  if (working.count < 3)
    working.count = kGradEditMinCount;
  UpdateUiset();
  keyResult = 0;
  kvui::invalidate(window, nullptr);
  RunModal();
  if (keyResult != 1)
    return false;
  *edited = working;
  return true;
}

void IB_GradEdit_dlog::PollEvent(const kvui::Event& event)
{
  int16_t result = keyResult;
  Dispatch(&event, &result);
  keyResult = result;
}

void IB_GradEdit_dlog::Dispatch(const kvui::Event* event, int16_t* result)
{
  gopt = (event->modifiers & kvui::optionKey) ? 1 : 0;
  gctrl = (event->modifiers & kvui::controlKey) ? 1 : 0;
  switch (event->what) {
    case kvui::mouseDown:
      gdbl = event->clicks > 1 ? 1 : 0;
      if (!Act(PointFromUI(event->local), result))
        ClickedItem(set ? set->hit : -1);
      break;
    case kvui::keyDown:
    case kvui::autoKey:
      key(int8_t(event->character), result);
      break;
    case kvui::updateEvt:
      Draw();
      break;
    case kvui::nullEvent: {
      const Point where = MouseInPort();
      idle(where);
      const int16_t over = set ? set->GetHit(where, nullptr) : -1;
      DChangeCursor(over >= kFirstTransformItem && over <= kLastTransformItem ? kPointerCursor
                                                                              : kvui::kCursorArrow);
      break;
    }
    default:
      break;
  }
}

void IB_GradEdit_dlog::ClickedItem(int16_t item)
{
  switch (item) {
    case kPaletteItem:
      getvec_cpalette(&working, red, green, blue, kVectorScale);
      Redraw();
      return;
    case kFewerItem:
      ChangeCount(-1);
      return;
    case kMoreItem:
      ChangeCount(+1);
      return;
    case 4:
    case 5:
    case 6:
      buildvec_cpalette(&working, red, green, blue, working.count, kVectorToByte);
      set->Drawuitem(kPaletteItem);
      channel = uint8_t(item - kRedItem);
      return;
    case kLoadLibraryItem:
      if (library && sf_read_cpalettelib(library, nullptr))
        working = library->palettes[0];
      break;
    case kSaveLibraryItem:
      if (library)
        sf_write_cpalettelib(library);
      return;
    case kLibraryItem:
      ChooseColorGrad(set, library, &working, set->GetuitemBox(kLibraryItem));
      break;
    default:
      break;
  }
  UpdateUiset();
}

void IB_GradEdit_dlog::ChangeCount(int32_t delta)
{
  const int32_t before = heldCount(working.count);
  const int32_t after = heldCount(before + delta);
  if (after > before)
    working.colors[after - 1] = working.colors[after - 2];
  working.count = after;
  UpdateUiset();
}

void IB_GradEdit_dlog::colortransform(cpalette* source, cpalette* target, int16_t mode)
{
  // The cross-fade blends toward the target as it was at the press.
  const cpalette start = *target;
  int16_t amount = kNeutralAmount;
  SetGWorld(port, nullptr);
  Point press;
  GetMouse(&press);
  Point p = press;
  while (buttontrue(&p)) {
    const int16_t now =
        int16_t(std::clamp<int32_t>(kNeutralAmount + int32_t(p.h) - press.h, 0, 255));
    if (now == amount)
      continue;
    amount = now;
    if (mode == kPalCrossfade)
      *target = start;
    transform_cpalette(source, target, mode, amount);
    if (set)
      set->Drawuitem(kPaletteItem);
  }
}

void IB_GradEdit_dlog::Resample()
{
  Str255 first;
  GetIndString(first, kResampleMenuID, 1);
  int32_t underMouse = 0;
  StringToNum(first, &underMouse);
  kvres::Resource menu;
  if (!kvres::getResource(fourcc("MENU"), kResampleMenuID, &menu))
    return;
  const std::vector<std::string> strings = kvres::parseStringList(menu.data);
  std::vector<kvui::MenuEntry> entries;
  for (size_t i = 1; i < strings.size(); ++i)  // the title comes first
    entries.push_back(kvui::MenuEntry{strings[i]});
  kvui::MenuPlacement placement;
  placement.underMouse = underMouse;
  const int32_t choice = kvui::popUpMenu(entries, kvui::mouseLocation(), placement);
  if (choice >= 1 && choice <= int32_t(std::size(kResampleCounts)))
    resample_cpalette(&working, &working, kResampleCounts[choice - 1]);
}

void IB_GradEdit_dlog::Command(int32_t command)
{
  if (command == int32_t(fourcc("ok  "))) {
    keyResult = 1;
    return;
  }
  if (command < 0)  // an item without a command
    return;
  cpalette copy = working;
  if (command == kRampCommand || (command == kPalContrast && gctrl)) {
    DChangeCursor(kPointerCursor);
    const int32_t last = heldCount(copy.count) - 1;
    copy.colors[0] = normalcolor{255, 0, 0, 0};
    copy.colors[last] = normalcolor{255, 255, 255, 255};
    transform_cpalette(&copy, &copy, kPalRamp, 0);
    colortransform(&copy, &working, kPalCrossfade);
  } else if (command == kResampleCommand) {
    Resample();
  } else if (isInteractive(command)) {
    colortransform(&copy, &working, int16_t(command));
  } else {
    transform_cpalette(&copy, &working, int16_t(command), 0);
  }
  if (gopt)
    keepOneChannel(&working, copy, channel);
  working.count = heldCount(working.count);
}

int16_t do_GradEdit_Command(Edoc* doc, int32_t command, void*)
{
  static_cast<IB_GradEdit_dlog*>(doc)->Command(command);
  return 0;
}

bool do_GradEdit_dlog(cpalette* palette, cpalettelib* library)
{
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  bool replaced = false;
  {
    IB_GradEdit_dlog dialog(palette, library);
    replaced = dialog.Run();
  }
  SetGWorld(savedPort, savedDevice);
  return replaced;
}

// ---- The library pop-up -------------------------------------------------------------

int32_t myGraduationsPopUp(Edoc* window, uitem_popmenu*, Rect* r, int16_t index, int16_t message,
                           void*)
{
  if (message == kPopUpCellRect && r) {
    r->right = int16_t(r->left + kPopUpCellWidth);
    r->bottom = int16_t(r->top + kPopUpCellHeight);
    return 0;
  }
  if ((message != kPopUpDrawCell && message != kPopUpDrawSelected) || !r || !window ||
      !window->context)
    return 0;
  const bool selected = message == kPopUpDrawSelected;
  if (index > 0) {
    draw_cpaletteitem(window->context, gPopUpLibrary, int16_t(index - 1), *r, selected);
    return 0;
  }
  Str255 text;
  SetPString(text, "Store gradation");
  const textLook look{12, 1, 0, 0};
  const normalcolor background =
      selected ? normalcolor{255, 255, 200, 0} : normalcolor{255, 40, 40, 40};
  EDrawText(window->context, text, *r, &look, &background, normalcolor{255, 255, 255, 255});
  return 0;
}

bool ChooseColorGrad(uiset* set, cpalettelib* library, cpalette* out, Rect box)
{
  if (!set || !library || !out)
    return false;
  if (gopt)
    DChangeCursor(kDeleteCursor);
  int16_t selection = -1;
  e_uiallinfos record;
  defaultuitem(&record, kUIPopMenu, 0, 0, kPopUpCellWidth, kPopUpCellHeight);
  record.word1 = reinterpret_cast<uiWord>(&selection);
  record.word2 = reinterpret_cast<uiWord>(&myGraduationsPopUp);
  record.entries = kPaletteLibSize + 1;
  record.columns = kPopUpColumns;
  record.color1 = normalcolor{255, 40, 40, 40};
  gPopUpLibrary = library;
  DirectPopUp(set, &record, 0, kUserGridVariant, Rect{0, 0, kPopUpCellHeight, kPopUpCellWidth},
              Point{box.top, box.left});
  gPopUpLibrary = nullptr;
  DChangeCursor(kvui::kCursorArrow);
  return ApplyGradationChoice(library, out, selection, gopt != 0);
}

bool ApplyGradationChoice(cpalettelib* library, cpalette* out, int16_t choice, bool option)
{
  if (!library || !out || choice < 0 || choice > kPaletteLibSize)
    return false;
  if (choice == 0) {
    store_cpalette(library, out, kStoreGradationSlots);
    return false;
  }
  const int32_t chosen = choice - 1;
  if (option) {
    delete_cpalette(library, chosen);
    return false;
  }
  if (library->palettes[chosen].count <= 0) {
    PlayAlertSound();
    return false;
  }
  *out = library->palettes[chosen];
  out->count = std::min<int32_t>(out->count, kPaletteMaxCount);
  return true;
}
