#include "ui/dialogbase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "imaging/cursorkeys.h"
#include "imaging/ports.h"
#include "imaging/windowplacement.h"
#include "imaging/windowport.h"
#include "ui/twindow.h"

namespace {

constexpr int16_t kBoxSide = 32;
constexpr int16_t kCancelOffset = 40;

int32_t gSpentLoops = 0;

// The live dialogs, so that a test script can press their items.
std::vector<IBbasedlog*>& liveDialogs()
{
  static std::vector<IBbasedlog*> dialogs;
  return dialogs;
}

bool locateItem(kvui::WindowRef window, int32_t item, kvui::Point* local)
{
  for (IBbasedlog* d : liveDialogs()) {
    if (d->window != window || !d->set || item < 0 || item >= d->set->count)
      continue;
    const uitem* it = d->set->Getuitem(int16_t(item));
    if (it->visibility != kUIShown)
      return false;
    *local =
        kvui::Point{(it->rect.top + it->rect.bottom) / 2, (it->rect.left + it->rect.right) / 2};
    return true;
  }
  return false;
}

kvui::WindowKind kindOfClass(int16_t windowClass)
{
  switch (windowClass) {
    case kModalWindowClass:
      return kvui::WindowKind::modal;
    case kFloatingWindowClass:
      return kvui::WindowKind::floating;
    case kDocumentWindowClass:
      return kvui::WindowKind::document;
    default:
      return kvui::WindowKind::borderless;
  }
}

void storeModifiers(uint16_t m)
{
  gcmd = (m & kvui::cmdKey) ? 1 : 0;
  gshift = (m & kvui::shiftKey) ? 1 : 0;
  gopt = (m & kvui::optionKey) ? 1 : 0;
  gctrl = (m & kvui::controlKey) ? 1 : 0;
}

Rect mainScreen()
{
  GDHandle main = GetMainDevice();
  return main ? main->gdRect : Rect{0, 0, 480, 640};
}

Rect insetRect(Rect r, int16_t top, int16_t left, int16_t bottom, int16_t right)
{
  return Rect{int16_t(r.top + top), int16_t(r.left + left), int16_t(r.bottom - bottom),
              int16_t(r.right - right)};
}

void moveAndSize(kvui::WindowRef window, Rect r)
{
  kvui::moveWindow(window, r.left, r.top);
  kvui::sizeWindow(window, std::max<int32_t>(RectWidth(r), 1), std::max<int32_t>(RectHeight(r), 1));
}

// Makes a port current for the life of the object.
class CurrentPort
{
public:
  explicit CurrentPort(CGrafPtr port)
  {
    GetGWorld(&saved_, &device_);
    if (port)
      SetGWorld(port, nullptr);
  }
  ~CurrentPort() { SetGWorld(saved_, device_); }
  CurrentPort(const CurrentPort&) = delete;
  CurrentPort& operator=(const CurrentPort&) = delete;

private:
  CGrafPtr saved_ = nullptr;
  GDHandle device_ = nullptr;
};

}  // namespace

// ---- Construction -------------------------------------------------------------

IBbasedlog::IBbasedlog(int16_t id, int16_t mode, bool carbon)
    : carbonMode(carbon ? 1 : 0), windowClass(kModalWindowClass), okMode(mode)
{
  liveDialogs().push_back(this);
  MakeWindow(kvui::WindowKind::modal, Rect{100, 100, 164, 164});
  ReadSet(id);
  ReportFailure(id);
}

IBbasedlog::IBbasedlog(int16_t id, int16_t windowClassIn, int16_t mode, bool fullScreenIn)
    : fullScreen(fullScreenIn ? 1 : 0), carbonMode(1), windowClass(windowClassIn), okMode(mode)
{
  liveDialogs().push_back(this);
  MakeWindow(kindOfClass(windowClassIn), Rect{20, 20, 600, 800});
  ReadSet(id);
  if (window && fullScreen) {
    // The window layer's full-screen mode covers the main screen; the set
    // and its boxes follow the new content.
    fullScreenState = window;
    kvui::setFullScreen(window, true);
    RefreshPortRect();
    if (set) {
      set->ResizeUI(portRect, 1, nullptr);
      SetDlogOKCancel(set, portRect, okMode);
    }
    kvui::showWindow(window);
    kvui::selectWindow(window);
  }
  ReportFailure(id);
}

void IBbasedlog::MakeWindow(kvui::WindowKind kind, Rect content)
{
  kvui::script::setItemLocator(locateItem);
  window = kvui::newWindow(kind, RectToUI(content), "");
  if (!window)
    return;
  port = NewWindowPort(window);
  kvui::setRefCon(window, this);
  // A polling dialog takes its events one at a time; the handler lets the
  // window layer hand it the updates it owes the window as well.
  if (!carbonMode)
    kvui::setEventHandler(window, PollingHandler, this);
}

int32_t IBbasedlog::PollingHandler(kvui::WindowRef, const kvui::Event& event, void* user)
{
  static_cast<IBbasedlog*>(user)->PollEvent(event);
  return 0;
}

void IBbasedlog::ReadSet(int16_t id)
{
  if (!window || !port)
    return;
  if (controlSet.Create(id, this)) {
    set = &controlSet;
    const Rect layout{0, 0, set->designHeight, set->designWidth};
    set->layoutRect = layout;
    const Rect sized = SetDlogOKCancel(set, layout, okMode);
    kvui::sizeWindow(window, std::max<int32_t>(RectWidth(sized), 1),
                     std::max<int32_t>(RectHeight(sized), 1));
    SetEditorContentColor(window, set->colors[kUIBackground]);
    kvui::setWindowTitle(window,
                         std::string(reinterpret_cast<const char*>(set->name + 1), set->name[0]));
  }
  RefreshPortRect();
  SetGWorld(port, nullptr);
  findQDtoHipointOffset();
  DChangeCursor(kvui::kCursorArrow);
}

void IBbasedlog::ReportFailure(int16_t id) const
{
  if ((window && set) || id == kAlertDialogID)
    return;
  Str255 text;
  SetPString(text, "Dialog can't be open");
  do_AlertUser_dlog(kAlertDialogID, 0, text);
}

IBbasedlog::~IBbasedlog()
{
  controlSet.Killuiset();
  set = nullptr;
  if (carbonMode && fullScreen && window)
    kvui::setFullScreen(window, false);
  // A floating Carbon dialog tells the application it has gone.
  if (carbonMode && windowClass == kFloatingWindowClass && gAppInfos.commandHandler)
    gAppInfos.commandHandler(int32_t(fourcc("fact")), nullptr);
  ClosePort();
  if (window)
    kvui::disposeWindow(window);
  window = nullptr;
  std::erase(liveDialogs(), this);
}

// ---- Events -------------------------------------------------------------------

void IBbasedlog::InstallHandler(kvui::EventHandler proc)
{
  handlerProc = proc;
  if (window)
    kvui::setEventHandler(window, proc, this);
}

int32_t IBbasedlog::EventHandlerProc(kvui::WindowRef, const kvui::Event& event, void* user)
{
  return static_cast<IBbasedlog*>(user)->HandleEvent(event);
}

Point IBbasedlog::MouseInPort() const
{
  CurrentPort current(port);
  Point p;
  GetMouse(&p);
  return p;
}

int32_t IBbasedlog::HandleEvent(const kvui::Event& event)
{
  CurrentPort current(port);
  const Point local = PointFromUI(event.local);
  switch (event.what) {
    case kvui::mouseMoved:
      idle(local);
      return 0;
    case kvui::windowClose:
      if (set && set->callback)
        set->callback(this, int32_t(fourcc("clos")), nullptr);
      return 0;
    case kvui::mouseDown:
      kvui::selectWindow(window);
      storeModifiers(event.modifiers);
      gdbl = event.clicks > 1 ? 1 : 0;
      return mouse(local) ? 0 : kvui::kEventNotHandled;
    case kvui::updateEvt:
      Draw();
      return 0;
    case kvui::keyDown:
      key(int8_t(event.character), &keyResult);
      return 0;
    case kvui::modifiersChanged:
      storeModifiers(event.modifiers);
      if (set)
        idle(MouseInPort());
      return 0;
    default:  // key repeats and activation reach the dialog and are let be
      return 0;
  }
}

void IBbasedlog::PollEvent(const kvui::Event& event)
{
  CurrentPort current(port);
  switch (event.what) {
    case kvui::mouseDown:
      storeModifiers(event.modifiers);
      gdbl = event.clicks > 1 ? 1 : 0;
      Act(PointFromUI(event.local), &keyResult);
      break;
    case kvui::keyDown:
    case kvui::autoKey:
      key(int8_t(event.character), &keyResult);
      break;
    case kvui::updateEvt:
      Draw();
      break;
    case kvui::nullEvent:
      idle(MouseInPort());
      break;
    default:
      break;
  }
}

int32_t IBbasedlog::ModalStep(const kvui::Event& event, void* user)
{
  auto* dialog = static_cast<IBbasedlog*>(user);
  if (!dialog->carbonMode) {
    dialog->PollEvent(event);
  } else if (event.what == kvui::nullEvent) {
    // The loop's timer: a Carbon dialog gets its idle turn without input.
    if (dialog->set)
      dialog->idle(dialog->MouseInPort());
  } else if (dialog->handlerProc) {
    dialog->handlerProc(dialog->window, event, dialog);
  }
  return dialog->ModalDone() ? 0 : kvui::kEventNotHandled;
}

bool IBbasedlog::RunModal()
{
  modalDone = false;
  if (!window)
    return false;
  if (kvui::runModalLoop(window, ModalStep, this) == kvui::kModalScriptSpent) {
    ++gSpentLoops;
    return false;
  }
  return true;
}

// ---- Virtual operations -------------------------------------------------------------

void IBbasedlog::Refresh()
{
  if (set && set->Getuitem(set->focused)) {
    set->hit = set->focused;
    CallbackDraw();
  }
}

bool IBbasedlog::Act(Point where, int16_t* result)
{
  if (!carbonMode) {
    SetGWorld(port, nullptr);
    GetMouse(&where);
  }
  if (!context)
    OpenContext();
  if (!set)
    return false;
  // Only a release inside a box answers: a press dragged off the OK box is
  // no Cancel.
  int16_t which = 0;
  if (set->okCancelShown && set->ActokCancel(where, &which) && which != 0) {
    set->hit = -1;
    *result = which;
    return true;
  }
  set->Act(where);
  return false;
}

bool IBbasedlog::key(int8_t character, int16_t* result)
{
  constexpr int8_t kReturn = 13, kEscape = 27;
  *result = 0;
  const bool front = window && kvui::frontWindow() == window;
  if (carbonMode) {
    if (!front)
      return false;
    if (character == kReturn) {
      *result = 1;
      if (callback)
        callback(this, int32_t(fourcc("ok  ")), nullptr);
    } else if (character == kEscape) {
      *result = 2;
      if (callback)
        callback(this, int32_t(fourcc("canc")), nullptr);
    }
    if (set && set->Key(character))
      return true;
    if (callback)
      callback(this, int32_t(uint8_t(character)), nullptr);
    return false;
  }
  if (front && (character == kReturn || character == kEscape)) {
    *result = character == kReturn ? 1 : 2;
    return true;
  }
  return !(set && set->Key(character));
}

void IBbasedlog::Draw()
{
  if (set)
    set->owner = this;
  if (!context || !set)
    return;
  if (!carbonMode) {
    kvui::beginUpdate(window);
    const Rect bounds = portRect;
    set->Draw(&bounds);
    kvui::endUpdate(window);
  } else {
    QZ_ContextSetShouldAntialias(context, true);
    const Rect bounds = portRect;
    set->Draw(&bounds);
  }
  FlushContext();
}

void IBbasedlog::idle(Point where)
{
  if (set)
    set->PreHilite(where);
}

bool IBbasedlog::mouse(Point)
{
  return false;
}

void IBbasedlog::DisplayMessage(AppInfos*) {}

void IBbasedlog::DrawFlush(int16_t)
{
  Draw();
}

void IBbasedlog::DrawParamString_double(ConstStringPtr name, double value, int16_t item)
{
  char number[64];
  std::snprintf(number, sizeof number, "%.3f", value);
  const size_t nameLength = std::min<size_t>(name ? name[0] : 0, 255);
  const size_t numberLength = std::min(std::strlen(number), 255 - nameLength);
  unsigned char* out = gAppInfos.paramString;
  if (nameLength)
    std::memmove(out + 1, name + 1, nameLength);
  std::memcpy(out + 1 + nameLength, number, numberLength);
  out[0] = uint8_t(nameLength + numberLength);
  if (set)
    set->SetuitemName(item, out);
}

// ---- Placement ----------------------------------------------------------------------

void IBbasedlog::ShowCenterDialog(bool centre)
{
  if (!window)
    return;
  if (centre) {
    Center32Window(window);
  } else {
    const Rect screen = mainScreen();
    kvui::moveWindow(window, screen.left + 118, screen.top + 128);
  }
  kvui::showWindow(window);
  kvui::selectWindow(window);
  RefreshPortRect();
}

void IBbasedlog::ShowCenterOffsetDialog(int16_t dh, int16_t dv)
{
  if (!window)
    return;
  Center32Window(window);
  const kvui::Rect c = kvui::windowContent(window);
  kvui::moveWindow(window, c.left + dh, c.top + dv);
  kvui::showWindow(window);
  kvui::selectWindow(window);
  RefreshPortRect();
}

void IBbasedlog::ShowSizeDialog(Rect r, bool centre, bool fillScreen)
{
  if (!window)
    return;
  moveAndSize(window, r);
  RefreshPortRect();
  if (set)
    set->ResizeUI(portRect, 1, nullptr);
  if (fillScreen) {
    moveAndSize(window, insetRect(mainScreen(), 28, 4, 20, 4));
    RefreshPortRect();
    if (set)
      set->ResizeUI(portRect, 1, nullptr);
  }
  if (set)
    SetDlogOKCancel(set, portRect, okMode);
  if (centre)
    Center32Window(window);
  kvui::showWindow(window);
  kvui::selectWindow(window);
  RefreshPortRect();
}

void IBbasedlog::ShowFullAdaptiveDialog()
{
  ShowSizeDialog(insetRect(mainScreen(), 24, 3, 4, 4), false, false);
}

// ---- Free functions -------------------------------------------------------------------

Rect SetDlogOKCancel(uiset* set, Rect portRect, int16_t okMode)
{
  Rect out = portRect;
  if (!set)
    return out;
  const int16_t B = portRect.bottom, R = portRect.right;
  const int16_t LB = set->totalBox.bottom, LR = set->totalBox.right;
  set->okRect = Rect{};
  set->cancelRect = Rect{};
  switch (okMode) {
    case 1:
    case 2:
      set->okRect = Rect{int16_t(LB + 8), int16_t(LR - kBoxSide), int16_t(LB + 8 + kBoxSide), LR};
      out.bottom = int16_t(B + 48);
      break;
    case 3:
    case 4:
      set->okRect = Rect{int16_t(B - 38), int16_t(R - 38), int16_t(B - 6), int16_t(R - 6)};
      out.bottom = B;
      break;
    default:
      out.bottom = int16_t(B + 8);
      break;
  }
  if (okMode == 1 || okMode == 3)
    set->cancelRect = OffsetRect(set->okRect, -kCancelOffset, 0);
  set->okCancelShown = okMode >= 1 && okMode <= 4 ? uint8_t(okMode) : 0;
  return out;
}

Rect SetDlogSize(uiset* set, kvui::WindowRef window, Rect portRect, int16_t okMode)
{
  const Rect out = SetDlogOKCancel(set, portRect, okMode);
  if (window)
    kvui::sizeWindow(window, std::max<int32_t>(RectWidth(out), 1),
                     std::max<int32_t>(RectHeight(out), 1));
  return out;
}

void CenterUiSet(uiset* set, Rect r)
{
  if (!set)
    return;
  const Rect box = set->totalBox;
  int32_t dv = (r.top + r.bottom) / 2 - (box.top + box.bottom) / 2;
  int32_t dh = (r.left + r.right) / 2 - (box.left + box.right) / 2;
  dv = std::max<int32_t>(dv, r.top + 6 - box.top);
  dh = std::max<int32_t>(dh, r.left + 6 - box.left);
  set->Offsetuitems(int16_t(dh), int16_t(dv));
  set->okRect = Rect{int16_t(r.bottom - 40), int16_t(r.right - 40), int16_t(r.bottom - 8),
                     int16_t(r.right - 8)};
  // A mode without Cancel keeps its Cancel box empty.
  const bool withCancel = set->okCancelShown != 2 && set->okCancelShown != 4;
  set->cancelRect = withCancel ? OffsetRect(set->okRect, -kCancelOffset, 0) : Rect{};
}

Rect SetDialogFullscreen(kvui::WindowRef window, normalcolor color)
{
  Rect screen = mainScreen();
  screen.top = int16_t(screen.top + 20);
  if (!window)
    return Rect{};
  moveAndSize(window, screen);
  SetEditorContentColor(window, color);
  const kvui::Rect c = kvui::windowContent(window);
  return Rect{0, 0, int16_t(c.bottom - c.top), int16_t(c.right - c.left)};
}

namespace kvdialog {

int32_t spentLoops()
{
  return gSpentLoops;
}

void resetSpentLoops()
{
  gSpentLoops = 0;
}

}  // namespace kvdialog
