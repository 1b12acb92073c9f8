#include "ui/twindow.h"

#include <algorithm>
#include <cstdio>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "imaging/windowplacement.h"
#include "imaging/windowport.h"
#include "ui/registry.h"
#include "ui/uilib.h"
#include "ui/uiset.h"

namespace {

constexpr uint32_t kFullScreenAttributes =
    0x0A200000;                                       // in-window menu, standard handler, no shadow
constexpr uint32_t kDocumentAttributes = 0x0A000000;  // in-window menu, standard handler
constexpr uint32_t kStandardHandlerAttribute = 0x02000000;
constexpr int16_t kAlertDialogID = 1059;

kvui::WindowKind kindOfClass(int32_t windowClass, bool fullScreen)
{
  if (fullScreen)
    return kvui::WindowKind::fullScreen;
  switch (windowClass) {
    case kDocumentWindowClass:
      return kvui::WindowKind::document;
    case kModalWindowClass:
      return kvui::WindowKind::modal;
    case kFloatingWindowClass:
      return kvui::WindowKind::floating;
    default:
      return kvui::WindowKind::borderless;
  }
}

int32_t dispatch(kvui::WindowRef, const kvui::Event& event, void* user)
{
  return static_cast<TWindow*>(user)->HandleEvent(event);
}

// The keyboard modifier globals from an event's modifier bits.
void storeModifiers(uint16_t m)
{
  gcmd = (m & kvui::cmdKey) ? 1 : 0;
  gshift = (m & kvui::shiftKey) ? 1 : 0;
  gopt = (m & kvui::optionKey) ? 1 : 0;
  gctrl = (m & kvui::controlKey) ? 1 : 0;
}

bool isFunctionKey(int32_t code)
{
  return code == kvui::kKeyF12 || code == kvui::kKeyF13 || code == kvui::kKeyF14 ||
         code == kvui::kKeyF15;
}

// Makes a port current for the life of the object.
class CurrentPort
{
public:
  explicit CurrentPort(CGrafPtr port)
  {
    GetGWorld(&saved_, &device_);
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

TWindow::TWindow(int32_t windowClass, uint32_t attributes, const Rect* bounds, int16_t layoutID,
                 bool fullScreen)
{
  Rect r = bounds ? *bounds : Rect{};
  minWidth = int16_t(RectWidth(r));
  minHeight = int16_t(RectHeight(r));
  if (fullScreen) {
    fullScreenState = 1;
    if (GDHandle main = GetMainDevice())
      r = main->gdRect;
    attributes = kFullScreenAttributes;
  } else {
    Point topLeft{r.top, r.left}, bottomRight{r.bottom, r.right};
    FitRectInDevice(&topLeft, &bottomRight, 1);
    r = Rect{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
    attributes |=
        windowClass == kDocumentWindowClass ? kDocumentAttributes : kStandardHandlerAttribute;
  }
  (void)attributes;  // the window layer gives every window the standard handling
  isDocument = windowClass == kDocumentWindowClass ? 1 : 0;
  window = kvui::newWindow(kindOfClass(windowClass, fullScreen), RectToUI(r), "");
  if (!window) {
    Str255 text;
    SetPString(text, "Can't create Window");
    do_AlertUser_dlog(kAlertDialogID, 0, text);
    updateRegion = new Region;
    return;
  }
  if (isDocument)
    gCurDoc = this;
  windowIndex = gUILib.windowCounter++;
  MiscInit(layoutID, bounds ? &r : nullptr);
  updateRegion = new Region;
}

void TWindow::MiscInit(int16_t layoutID, const Rect* bounds)
{
  port = NewWindowPort(window);
  SetGWorld(port, nullptr);
  kvui::setEventHandler(window, dispatch, this);
  kvui::setRefCon(window, this);
  flags[0] = 1;
  flags[1] = 0;
  if (isDocument) {
    char text[32];
    std::snprintf(text, sizeof text, "Untitled %d", int(windowIndex));
    SetPString(title, text);
    folder = gAppInfos.applicationFolder;
    kvui::setWindowTitle(window, text);
  }
  if (layoutID > 0)
    ReadItemSet(layoutID);
  int16_t width = bounds ? RectWidth(*bounds) : 0;
  int16_t height = bounds ? RectHeight(*bounds) : 0;
  if (set && bounds) {
    // The window is never smaller than the layout was designed for.
    SetEditorContentColor(window, set->colors[0]);
    minWidth = set->designWidth;
    minHeight = set->designHeight;
    width = std::max(width, set->designWidth);
    height = std::max(height, set->designHeight);
    set->layoutRect = Rect{0, 0, height, width};
  }
  if (fullScreenState == 0 && bounds) {
    kvui::moveWindow(window, bounds->left, bounds->top);
    kvui::sizeWindow(window, width, height);
  }
  kvui::setMinimumSize(window, minWidth, minHeight);
  RefreshPortRect();
  findQDtoHipointOffset();
  if (isDocument)
    App_RegisterDoc(this);
}

// The item set of layout "UI_" + id; a layout that cannot be read leaves the
// window without one, told by the alert sound twice.
void TWindow::ReadItemSet(int16_t layoutID)
{
  auto* items = new uiset;
  if (items->Create(layoutID, this)) {
    set = items;
    return;
  }
  delete items;
  PlayAlertSound();
  PlayAlertSound();
}

TWindow::~TWindow()
{
  ClosePort();
  if (set) {
    set->Killuiset();
    delete set;
  }
  set = nullptr;
  delete updateRegion;
  updateRegion = nullptr;
  // A deleted document must be neither current nor registered.
  if (gCurDoc == this)
    gCurDoc = nullptr;
  for (Edoc*& slot : gDocRegistry)
    if (slot == this)
      slot = nullptr;
  if (fullScreenState == 2)
    kvui::setFullScreen(static_cast<kvui::WindowRef>(fullScreenContext), false);
  if (window)
    kvui::disposeWindow(window);
  window = nullptr;
}

void TWindow::Refresh()
{
  CallbackDraw();
}

void TWindow::Draw()
{
  RefreshPortRect();
}

int32_t TWindow::Act(Point)
{
  return 0;
}

int16_t TWindow::Key(uint32_t character)
{
  // The item set gets the key first; a key it does not use goes to the
  // command callback.
  if (set && set->Key(int8_t(character)))
    return 0;
  if (callback)
    return callback(this, int32_t(character), nullptr);
  return 0;
}

void TWindow::ResizeUI(Rect) {}

void TWindow::Idle(Point) {}

int16_t TWindow::Open()
{
  return 2;
}

void TWindow::Show()
{
  kvui::showWindow(window);
  RefreshPortRect();
}

bool TWindow::IsVisible() const
{
  return kvui::isWindowVisible(window);
}

int16_t TWindow::Close()
{
  if (!callback)
    return kEdocNotHandled;
  // The callback may delete the window when it agrees: past the call only
  // the object's address is used.
  const bool document = isDocument != 0;
  Edoc* self = this;
  int16_t result = callback(this, int32_t(fourcc("clos")), nullptr);
  if (document && result == 0) {
    App_UnRegisterDoc(self);
    if (gAppInfos.singleDocument)
      gCurDoc = nullptr;
  }
  return result;
}

void TWindow::MoveTopLeftOfContentTo(int16_t h, int16_t v)
{
  kvui::moveWindow(window, h, v);
  RefreshPortRect();
}

void TWindow::SetContentSize(int16_t width, int16_t height)
{
  kvui::sizeWindow(window, width, height);
  RefreshPortRect();
}

void TWindow::InvalidateArea(const Rect* r)
{
  if (r) {
    kvui::Rect u = RectToUI(*r);
    kvui::invalidate(window, &u);
  } else {
    kvui::invalidate(window, nullptr);
  }
}

void TWindow::ValidateArea(const Rect* r)
{
  if (r) {
    kvui::Rect u = RectToUI(*r);
    kvui::validate(window, &u);
  } else {
    kvui::validate(window, nullptr);
  }
}

void TWindow::BeginFullScreen()
{
  if (!window || fullScreenState == 2)
    return;
  fullScreenState = 2;
  fullScreenContext = window;
  kvui::setFullScreen(window, true);
  RefreshPortRect();
  ResizeUI(portRect);
}

void TWindow::EndFullScreen()
{
  if (fullScreenState != 2)
    return;
  kvui::setFullScreen(static_cast<kvui::WindowRef>(fullScreenContext), false);
  fullScreenState = 0;
  fullScreenContext = nullptr;
  RefreshPortRect();
  ResizeUI(portRect);
}

void TWindow::RegisterForEvents(uint32_t mask)
{
  eventMask |= mask;
}

void TWindow::UnregisterForEvents(uint32_t mask)
{
  eventMask &= ~mask;
}

Point TWindow::MousePoint(const kvui::Event& event) const
{
  Point local = PointFromUI(event.local);
  if (isDocument || event.what == kvui::mouseMoved)
    local.v = int16_t(local.v - int16_t(contentOffset[1]));
  return local;
}

int32_t TWindow::HandleKeyboard(const kvui::Event& event)
{
  CurrentPort current(port);
  gAppInfos.lastEventKind = uint32_t(event.what);
  Point mouse = PointFromUI(event.local);
  switch (event.what) {
    case kvui::keyDown:
    case kvui::autoKey:
      if (isFunctionKey(event.keyCode))
        return callback ? callback(this, event.keyCode, nullptr) : kEdocNotHandled;
      if (event.what == kvui::autoKey && event.keyCode == kvui::kKeySpace)
        return kEdocNotHandled;
      gcmd = kvui::isKeyDown(kvui::kKeyCommand) ? 1 : 0;
      if (set)
        Idle(mouse);
      return Key(event.character);
    case kvui::modifiersChanged:
      storeModifiers(event.modifiers);
      if (set)
        Idle(mouse);
      return kEdocNotHandled;
    default:  // key up
      if (set)
        Idle(mouse);
      return kEdocNotHandled;
  }
}

int32_t TWindow::HandleClose(const kvui::Event& event)
{
  if ((event.modifiers & kvui::optionKey) && !gAppInfos.singleDocument)
    return App_CloseAllDoc();
  return Close();
}

int32_t TWindow::HandleCommand(uint32_t command)
{
  if (command == fourcc("swin"))
    return kEdocNotHandled;
  if (command == fourcc("clos"))
    return Close();
  if (command == fourcc("quit")) {
    if (!gAppInfos.commandHandler)
      return kEdocNotHandled;
    gAppInfos.commandHandler(int32_t(command), nullptr);
    return 0;
  }
  if (command == 0)
    return kEdocNotHandled;
  if (isDocument)
    gCurDoc = this;
  return callback ? callback(this, int32_t(command), nullptr) : kEdocNotHandled;
}

void TWindow::ResizeCompleted()
{
  RefreshPortRect();
  int32_t width = RectWidth(portRect), height = RectHeight(portRect);
  if (width < minWidth || height < minHeight) {
    kvui::sizeWindow(window, std::max<int32_t>(width, minWidth),
                     std::max<int32_t>(height, minHeight));
    RefreshPortRect();
  }
  ResizeUI(portRect);
}

int32_t TWindow::HandleEvent(const kvui::Event& event)
{
  if (event.what < 0 || event.what >= 32 || !(eventMask & kvui::eventMask(event.what)))
    return kEdocNotHandled;
  switch (event.what) {
    case kvui::keyDown:
    case kvui::autoKey:
    case kvui::keyUp:
    case kvui::modifiersChanged:
      return HandleKeyboard(event);
    case kvui::mouseMoved:
    case kvui::mouseUp:
      Idle(MousePoint(event));
      return kEdocNotHandled;
    case kvui::mouseDown: {
      CurrentPort current(port);
      if (isDocument)
        gCurDoc = this;
      storeModifiers(event.modifiers);
      gdbl = event.clicks > 1 ? 1 : 0;
      return Act(MousePoint(event));
    }
    default:
      break;
  }
  gAppInfos.lastEventKind = uint32_t(event.what);
  switch (event.what) {
    case kvui::activateEvt:
      if (event.modifiers & kvui::activeFlag) {
        if (isDocument)
          gCurDoc = this;
      }
      return 0;
    case kvui::updateEvt:
      Draw();
      kvui::validate(window, nullptr);
      return 0;
    case kvui::windowClose:
      return HandleClose(event);
    case kvui::windowBoundsChanged: {
      Rect before = portRect;
      RefreshPortRect();
      if (!(portRect == before))
        ResizeUI(portRect);
      return 0;
    }
    case kvui::windowResizeDone:
      ResizeCompleted();
      return 0;
    case kvui::commandEvt:
      return HandleCommand(event.message);
    default:
      return kEdocNotHandled;
  }
}
