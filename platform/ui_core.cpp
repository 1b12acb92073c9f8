// The part of the window layer both backends share: window records and
// surfaces, the event queue and its dispatch to handlers, the mouse and key
// state, tracking, modal loops and the high-level event queue.

#include <algorithm>
#include <cstring>
#include <deque>
#include <thread>

#include "platform/clock.h"
#include "platform/resources.h"
#include "platform/ui_pvt.h"

namespace kvui {

namespace {

struct ModalFrame
{
  Window* window = nullptr;
  ModalStep step = nullptr;
  void* user = nullptr;
  int32_t result = kEventNotHandled;
};

struct State
{
  bool started = false;
  std::thread::id uiThread;
  detail::Backend backend;
  std::vector<Window*> windows;  // front to back
  std::deque<Event> queue;
  std::deque<HighLevelEvent> highLevel;
  Point mouse;
  bool button = false;
  uint16_t modifiers = 0;
  uint8_t keys[16] = {};
  KeyObserver keyObserver = nullptr;
  ButtonObserver buttonObserver = nullptr;
  int16_t cursor = kCursorArrow;
  ClickCounter clicks;
  Window* pressWindow = nullptr;  // the window that got the last mouse down
  // Tracking: input only updates the state and these marks.
  int tracking = 0;
  bool trackMoved = false, trackReleased = false;
  bool releasePending = false;  // a kept release, delivered at the next pump
  std::vector<ModalFrame*> modal;
};

State& S()
{
  static State state;
  return state;
}

bool allowed()
{
  return S().started && std::this_thread::get_id() == S().uiThread;
}

bool known(Window* w)
{
  auto& ws = S().windows;
  return w && std::find(ws.begin(), ws.end(), w) != ws.end();
}

bool usable(Window* w)
{
  return allowed() && known(w);
}

bool contains(const Rect& r, Point p)
{
  return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

Point toLocal(const Window* w, Point global)
{
  return Point{global.v - w->content.top, global.h - w->content.left};
}

Event makeEvent(int16_t what, Window* w, uint16_t modifiers)
{
  Event e;
  e.what = what;
  e.when = kvclock::ticks();
  e.window = w;
  e.where = S().mouse;
  if (w)
    e.local = toLocal(w, e.where);
  e.modifiers = modifiers;
  return e;
}

// Hands an event to the modal loop, the window's handler or the queue.
void deliver(const Event& e)
{
  State& s = S();
  if (!s.modal.empty()) {
    ModalFrame* top = s.modal.back();
    bool forModal = e.window == top->window ||
                    (e.window == nullptr && (e.what == keyDown || e.what == autoKey ||
                                             e.what == keyUp || e.what == modifiersChanged));
    if (forModal) {
      if (top->result == kEventNotHandled)
        top->result = top->step(e, top->user);
      return;
    }
    if (e.what == mouseDown) {
      detail::backend()->beep();
      return;
    }
  }
  Window* w = e.window;
  if (w && known(w) && w->handler) {
    w->handler(w, e, w->handlerUser);
    return;
  }
  s.queue.push_back(e);
}

Window* keyTarget(Window* target)
{
  State& s = S();
  if (target && known(target))
    return target;
  if (!s.modal.empty())
    return s.modal.back()->window;
  for (Window* w : s.windows)
    if (w->visible)
      return w;
  return nullptr;
}

void setKeyBit(int32_t code, bool down)
{
  if (code < 0 || code > 127)
    return;
  uint8_t bit = uint8_t(1u << (code % 8));
  if (down)
    S().keys[code / 8] |= bit;
  else
    S().keys[code / 8] &= uint8_t(~bit);
}

// Update events for every visible window with something invalid.
void deliverUpdates()
{
  std::vector<Window*> ws = S().windows;
  for (Window* w : ws) {
    if (!known(w) || !w->visible || !w->invalid)
      continue;
    if (!w->handler) {
      bool queued = std::any_of(S().queue.begin(), S().queue.end(), [&](const Event& e) {
        return e.what == updateEvt && e.window == w;
      });
      if (!queued)
        S().queue.push_back(makeEvent(updateEvt, w, S().modifiers));
      continue;
    }
    deliver(makeEvent(updateEvt, w, S().modifiers));
    // The handler redraws the whole content; what it did not validate is
    // taken as drawn, so that no window asks again forever.
    if (known(w))
      w->invalid = false;
  }
}

void clampRect(const Window* w, Rect* r)
{
  r->top = std::clamp(r->top, 0, w->height);
  r->bottom = std::clamp(r->bottom, r->top, w->height);
  r->left = std::clamp(r->left, 0, w->width);
  r->right = std::clamp(r->right, r->left, w->width);
}

}  // namespace

// ---- Application activation and loop ----------------------------------------------------

namespace {

struct AppLoopState
{
  bool running = false;
  bool quit = false;
  bool active = false;
  bool deactivatePending = false;
  ActivationObserver observer = nullptr;
};

AppLoopState& L()
{
  static AppLoopState state;
  return state;
}

// A focus that leaves one window is a deactivation only when no other of
// our windows takes it before the input is settled.
void noteActivation(bool active)
{
  AppLoopState& l = L();
  if (!active) {
    l.deactivatePending = l.active;
    return;
  }
  l.deactivatePending = false;
  if (l.active)
    return;
  l.active = true;
  if (l.observer)
    l.observer(true);
}

void settleActivation()
{
  AppLoopState& l = L();
  if (!l.deactivatePending)
    return;
  l.deactivatePending = false;
  l.active = false;
  if (l.observer)
    l.observer(false);
}

}  // namespace

int16_t ClickCounter::press(uint32_t ticks, Point where, uint32_t maxTicks, int32_t maxDistance)
{
  bool near = std::abs(where.h - lastWhere.h) <= maxDistance &&
              std::abs(where.v - lastWhere.v) <= maxDistance;
  if (count > 0 && ticks - lastTicks <= maxTicks && near)
    count = int16_t(std::min<int32_t>(count + 1, 32000));
  else
    count = 1;
  lastTicks = ticks;
  lastWhere = where;
  return count;
}

namespace detail {

void start(const Backend& b)
{
  stop();
  State& s = S();
  s = State();
  L() = AppLoopState();
  s.backend = b;
  s.uiThread = std::this_thread::get_id();
  s.started = true;
}

const Backend* backend()
{
  return S().started ? &S().backend : nullptr;
}

Window* windowAt(Point where)
{
  for (Window* w : S().windows)
    if (w->visible && contains(w->content, where))
      return w;
  return nullptr;
}

void resizeSurfaces(Window* w, int32_t width, int32_t height)
{
  width = std::clamp(width, 1, 16384);
  height = std::clamp(height, 1, 16384);
  auto remake = [&](std::vector<uint8_t>& pixels, bool fillColour) {
    std::vector<uint8_t> fresh(size_t(width) * height * 4, 0);
    if (fillColour)
      for (size_t i = 0; i < fresh.size(); i += 4) {
        fresh[i] = w->contentColor[2];
        fresh[i + 1] = w->contentColor[1];
        fresh[i + 2] = w->contentColor[0];
        fresh[i + 3] = 255;
      }
    int32_t rows = std::min(height, w->height), cols = std::min(width, w->width);
    for (int32_t y = 0; y < rows; ++y)
      std::memcpy(&fresh[size_t(y) * width * 4], &pixels[size_t(y) * w->width * 4],
                  size_t(cols) * 4);
    pixels.swap(fresh);
  };
  remake(w->backing, false);
  remake(w->shown, true);
  w->width = width;
  w->height = height;
  ++w->generation;
}

void fillShown(Window* w)
{
  for (size_t i = 0; i < w->shown.size(); i += 4) {
    w->shown[i] = w->contentColor[2];
    w->shown[i + 1] = w->contentColor[1];
    w->shown[i + 2] = w->contentColor[0];
    w->shown[i + 3] = 255;
  }
}

void inputMouse(Window* target, Point where, bool button, uint16_t modifiers)
{
  State& s = S();
  bool moved = !(where == s.mouse);
  bool pressed = button && !s.button, released = !button && s.button;
  s.mouse = where;
  s.modifiers = modifiers;
  s.button = button;
  if ((pressed || released) && s.buttonObserver)
    s.buttonObserver(button);
  if (s.tracking > 0) {
    s.trackMoved |= moved;
    s.trackReleased |= released;
    if (pressed)
      s.trackReleased = false;
    return;
  }
  if (pressed) {
    Window* w = target && known(target) ? target : windowAt(where);
    s.pressWindow = w;
    Event e = makeEvent(mouseDown, w, modifiers);
    e.clicks =
        s.clicks.press(e.when, where, s.backend.doubleClickTicks, s.backend.doubleClickDistance);
    deliver(e);
  } else if (released) {
    Window* w = known(s.pressWindow) ? s.pressWindow : windowAt(where);
    s.pressWindow = nullptr;
    deliver(makeEvent(mouseUp, w, modifiers));
  } else if (moved) {
    Window* w = button && known(s.pressWindow) ? s.pressWindow : windowAt(where);
    if (target && known(target))
      w = target;
    deliver(makeEvent(mouseMoved, w, modifiers));
  }
}

void inputKey(Window* target, int32_t keyCode, uint32_t character, bool down, bool repeat,
              uint16_t modifiers)
{
  State& s = S();
  s.modifiers = modifiers;
  bool wasDown = isKeyDown(keyCode);
  setKeyBit(keyCode, down);
  if (s.keyObserver && down != wasDown)
    s.keyObserver(keyCode, down);
  Event e = makeEvent(down ? (repeat || wasDown ? autoKey : keyDown) : keyUp, keyTarget(target),
                      modifiers);
  e.keyCode = int16_t(keyCode);
  e.character = character;
  if (s.tracking > 0) {
    s.queue.push_back(e);
    return;
  }
  deliver(e);
}

void inputModifiers(Window* target, uint16_t modifiers)
{
  State& s = S();
  static constexpr struct
  {
    uint16_t bit;
    int32_t code;
  } kModifierKeys[] = {{cmdKey, kKeyCommand},
                       {shiftKey, kKeyShift},
                       {optionKey, kKeyOption},
                       {controlKey, kKeyControl}};
  for (const auto& k : kModifierKeys) {
    bool down = (modifiers & k.bit) != 0;
    if (down != isKeyDown(k.code)) {
      setKeyBit(k.code, down);
      if (s.keyObserver)
        s.keyObserver(k.code, down);
    }
  }
  if (modifiers == s.modifiers)
    return;
  s.modifiers = modifiers;
  Event e = makeEvent(modifiersChanged, keyTarget(target), modifiers);
  if (s.tracking > 0)
    return;
  deliver(e);
}

void inputWindowEvent(Window* target, int16_t what, uint32_t message, uint16_t modifiers)
{
  if (!known(target))
    return;
  Event e = makeEvent(what, target, modifiers);
  e.message = message;
  deliver(e);
}

void inputBounds(Window* target, Rect content, bool resizeDone)
{
  if (!known(target))
    return;
  int32_t width = content.right - content.left, height = content.bottom - content.top;
  bool sized = width != target->width || height != target->height;
  bool changed = sized || !(content == target->content);
  target->content = content;
  if (sized) {
    resizeSurfaces(target, width, height);
    invalidate(target, nullptr);
  }
  if (changed)
    deliver(makeEvent(windowBoundsChanged, target, S().modifiers));
  // A resize the user ended; sizes that did not change are no resize.
  if (resizeDone && sized && known(target))
    deliver(makeEvent(windowResizeDone, target, S().modifiers));
}

void inputActivate(Window* target, bool active)
{
  if (!known(target))
    return;
  noteActivation(active);
  deliver(makeEvent(activateEvt, target, uint16_t(S().modifiers | (active ? activeFlag : 0))));
}

}  // namespace detail

// ---- Start-up -----------------------------------------------------------------

void stop()
{
  State& s = S();
  if (!s.started || std::this_thread::get_id() != s.uiThread)
    return;
  while (!s.windows.empty())
    disposeWindow(s.windows.front());
  if (s.backend.stop)
    s.backend.stop();
  s.started = false;
}

bool isStarted()
{
  return S().started;
}

bool isScriptedBackend()
{
  return S().started && S().backend.scripted;
}

bool onUIThread()
{
  return allowed();
}

std::vector<Screen> screens()
{
  if (!allowed())
    return {};
  return S().backend.screens();
}

// ---- Windows ------------------------------------------------------------------

WindowRef newWindow(WindowKind kind, Rect content, const std::string& title)
{
  if (!allowed())
    return nullptr;
  auto* w = new Window;
  w->kind = kind;
  w->title = title;
  w->content = content;
  detail::resizeSurfaces(w, content.right - content.left, content.bottom - content.top);
  w->content.bottom = content.top + w->height;
  w->content.right = content.left + w->width;
  if (!S().backend.createWindow(w)) {
    delete w;
    return nullptr;
  }
  S().windows.insert(S().windows.begin(), w);
  return w;
}

void disposeWindow(WindowRef w)
{
  if (!usable(w))
    return;
  State& s = S();
  s.backend.destroyWindow(w);
  s.windows.erase(std::find(s.windows.begin(), s.windows.end(), w));
  std::erase_if(s.queue, [&](const Event& e) { return e.window == w; });
  if (s.pressWindow == w)
    s.pressWindow = nullptr;
  delete w;
}

std::vector<WindowRef> windows()
{
  return allowed() ? S().windows : std::vector<WindowRef>{};
}

WindowKind windowKind(WindowRef w)
{
  return usable(w) ? w->kind : WindowKind::document;
}

void showWindow(WindowRef w)
{
  if (!usable(w) || w->visible)
    return;
  w->visible = true;
  S().backend.showWindow(w, true);
  invalidate(w, nullptr);
}

void hideWindow(WindowRef w)
{
  if (!usable(w) || !w->visible)
    return;
  w->visible = false;
  S().backend.showWindow(w, false);
}

bool isWindowVisible(WindowRef w)
{
  return usable(w) && w->visible;
}

void selectWindow(WindowRef w)
{
  if (!usable(w))
    return;
  auto& ws = S().windows;
  Window* previous = ws.front();
  ws.erase(std::find(ws.begin(), ws.end(), w));
  ws.insert(ws.begin(), w);
  S().backend.raiseWindow(w);
  if (previous != w) {
    detail::inputActivate(previous, false);
    detail::inputActivate(w, true);
  }
}

WindowRef frontWindow()
{
  if (!allowed())
    return nullptr;
  for (Window* w : S().windows)
    if (w->visible)
      return w;
  return nullptr;
}

void setWindowTitle(WindowRef w, const std::string& title)
{
  if (!usable(w))
    return;
  w->title = title;
  S().backend.setTitle(w);
}

std::string windowTitle(WindowRef w)
{
  return usable(w) ? w->title : std::string();
}

Rect windowContent(WindowRef w)
{
  return usable(w) ? w->content : Rect{};
}

void moveWindow(WindowRef w, int32_t left, int32_t top)
{
  if (!usable(w))
    return;
  w->content = Rect{top, left, top + w->height, left + w->width};
  S().backend.placeWindow(w);
}

void sizeWindow(WindowRef w, int32_t width, int32_t height)
{
  if (!usable(w))
    return;
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == w->width && height == w->height)
    return;
  detail::resizeSurfaces(w, width, height);
  w->content.bottom = w->content.top + w->height;
  w->content.right = w->content.left + w->width;
  S().backend.placeWindow(w);
  invalidate(w, nullptr);
}

void setMinimumSize(WindowRef w, int32_t width, int32_t height)
{
  if (!usable(w))
    return;
  w->minWidth = std::max(width, 1);
  w->minHeight = std::max(height, 1);
  S().backend.setMinimumSize(w);
}

void setFullScreen(WindowRef w, bool on)
{
  if (!usable(w) || w->fullScreen == on)
    return;
  Rect target = w->windowedContent;
  if (on) {
    std::vector<Screen> list = S().backend.screens();
    if (list.empty())
      return;
    Point corner{w->content.top, w->content.left};
    target = list[0].bounds;
    for (const Screen& screen : list)
      if (contains(screen.bounds, corner)) {
        target = screen.bounds;
        break;
      }
    w->windowedContent = w->content;
  }
  w->fullScreen = on;
  w->content = target;
  detail::resizeSurfaces(w, target.right - target.left, target.bottom - target.top);
  S().backend.setFullScreen(w, on);
  invalidate(w, nullptr);
}

bool isFullScreen(WindowRef w)
{
  return usable(w) && w->fullScreen;
}

void setContentColor(WindowRef w, uint8_t red, uint8_t green, uint8_t blue)
{
  if (!usable(w))
    return;
  w->contentColor[0] = red;
  w->contentColor[1] = green;
  w->contentColor[2] = blue;
}

void setEventHandler(WindowRef w, EventHandler handler, void* user)
{
  if (!usable(w))
    return;
  w->handler = handler;
  w->handlerUser = user;
}

void setRefCon(WindowRef w, void* value)
{
  if (usable(w))
    w->refCon = value;
}

void* refCon(WindowRef w)
{
  return usable(w) ? w->refCon : nullptr;
}

Surface windowSurface(WindowRef w)
{
  if (!usable(w))
    return {};
  return Surface{w->backing.data(), w->width * 4, w->width, w->height, w->generation};
}

void invalidate(WindowRef w, const Rect* r)
{
  if (!usable(w))
    return;
  Rect add = r ? *r : Rect{0, 0, w->height, w->width};
  clampRect(w, &add);
  if (add.bottom <= add.top || add.right <= add.left)
    return;
  if (!w->invalid) {
    w->invalidRect = add;
    w->invalid = true;
    return;
  }
  Rect& u = w->invalidRect;
  u = Rect{std::min(u.top, add.top), std::min(u.left, add.left), std::max(u.bottom, add.bottom),
           std::max(u.right, add.right)};
}

void validate(WindowRef w, const Rect* r)
{
  if (!usable(w) || !w->invalid)
    return;
  if (!r) {
    w->invalid = false;
    return;
  }
  // A bounding box only loses what a validated rectangle covers whole.
  const Rect& u = w->invalidRect;
  if (r->top <= u.top && r->left <= u.left && r->bottom >= u.bottom && r->right >= u.right)
    w->invalid = false;
}

bool updateRect(WindowRef w, Rect* out)
{
  if (!usable(w) || !w->invalid)
    return false;
  if (out)
    *out = w->invalidRect;
  return true;
}

void beginUpdate(WindowRef w)
{
  if (usable(w))
    w->updating = true;
}

void endUpdate(WindowRef w)
{
  if (!usable(w))
    return;
  w->updating = false;
  w->invalid = false;
}

void flush(WindowRef w, Rect r)
{
  if (!usable(w))
    return;
  clampRect(w, &r);
  if (r.bottom <= r.top || r.right <= r.left)
    return;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    size_t at = (size_t(y) * w->width + r.left) * 4;
    std::memcpy(&w->shown[at], &w->backing[at], size_t(r.right - r.left) * 4);
  }
  S().backend.flush(w, r);
}

// ---- Events --------------------------------------------------------------------

void pump()
{
  if (!allowed())
    return;
  State& s = S();
  if (s.releasePending && !s.button) {
    s.releasePending = false;
    Window* w = known(s.pressWindow) ? s.pressWindow : detail::windowAt(s.mouse);
    s.pressWindow = nullptr;
    deliver(makeEvent(mouseUp, w, s.modifiers));
  }
  // Bounded so that a backend that keeps finding input cannot hold the
  // caller forever.
  for (int i = 0; i < 10000 && s.backend.processInput(false, 0); ++i) {
  }
  deliverUpdates();
}

bool nextEvent(uint32_t mask, Event* out)
{
  if (out)
    *out = Event{};
  if (!allowed())
    return false;
  pump();
  auto& q = S().queue;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (it->what >= 0 && it->what < 32 && (mask & eventMask(it->what))) {
      if (out)
        *out = *it;
      q.erase(it);
      return true;
    }
  }
  return false;
}

void flushEvents(uint32_t mask)
{
  if (!allowed())
    return;
  std::erase_if(S().queue, [&](const Event& e) {
    return e.what >= 0 && e.what < 32 && (mask & eventMask(e.what));
  });
}

void postHighLevelEvent(const HighLevelEvent& event)
{
  if (allowed())
    S().highLevel.push_back(event);
}

bool peekHighLevelEvent(HighLevelEvent* out)
{
  if (!allowed() || S().highLevel.empty())
    return false;
  if (out)
    *out = S().highLevel.front();
  return true;
}

bool takeHighLevelEvent(HighLevelEvent* out)
{
  if (!peekHighLevelEvent(out))
    return false;
  S().highLevel.pop_front();
  return true;
}

int32_t runModalLoop(WindowRef modal, ModalStep step, void* user)
{
  if (!usable(modal) || !step)
    return kModalScriptSpent;
  State& s = S();
  ModalFrame frame{modal, step, user, kEventNotHandled};
  s.modal.push_back(&frame);
  constexpr uint32_t kIdleTicks = 6;
  uint32_t lastIdle = kvclock::ticks();
  while (frame.result == kEventNotHandled) {
    bool got = s.backend.processInput(true, 1000 * int32_t(kIdleTicks) / 60);
    deliverUpdates();
    if (frame.result != kEventNotHandled || !known(modal))
      break;
    if (!got || kvclock::ticks() - lastIdle >= kIdleTicks) {
      frame.result = step(makeEvent(nullEvent, modal, s.modifiers), user);
      lastIdle = kvclock::ticks();
      if (frame.result == kEventNotHandled && !got && s.backend.scripted) {
        // Nothing left to play: the loop can never end by itself.
        frame.result = kModalScriptSpent;
      }
    }
  }
  s.modal.pop_back();
  return known(modal) || frame.result != kEventNotHandled ? frame.result : kModalScriptSpent;
}

WindowRef modalWindow()
{
  if (!allowed() || S().modal.empty())
    return nullptr;
  return S().modal.back()->window;
}

// ---- Mouse and keys --------------------------------------------------------------

Point mouseLocation()
{
  return allowed() ? S().mouse : Point{};
}

bool isButtonDown()
{
  return allowed() && S().button;
}

uint16_t currentModifiers()
{
  return allowed() ? S().modifiers : 0;
}

void keyMap(uint8_t out[16])
{
  if (allowed())
    std::memcpy(out, S().keys, 16);
  else
    std::memset(out, 0, 16);
}

bool isKeyDown(int32_t code)
{
  if (!allowed() || code < 0 || code > 127)
    return false;
  return (S().keys[code / 8] >> (code % 8)) & 1;
}

TrackResult trackMouse(Point* where, int32_t timeoutTicks, bool keepRelease)
{
  if (!allowed()) {
    if (where)
      *where = Point{};
    return TrackResult::released;
  }
  State& s = S();
  TrackResult result = TrackResult::released;
  if (s.button) {
    ++s.tracking;
    s.trackMoved = s.trackReleased = false;
    uint32_t start = kvclock::ticks();
    while (true) {
      int32_t waitMs = 1000 / 60;
      bool got = s.backend.processInput(true, waitMs);
      if (s.trackReleased || !s.button) {
        result = TrackResult::released;
        break;
      }
      if (s.trackMoved) {
        result = TrackResult::moved;
        break;
      }
      if (timeoutTicks > 0 && kvclock::ticks() - start >= uint32_t(timeoutTicks)) {
        result = TrackResult::timedOut;
        break;
      }
      if (!got && s.backend.scripted) {
        // A spent script lets the button go.
        detail::inputMouse(nullptr, s.mouse, false, s.modifiers);
        result = TrackResult::released;
        break;
      }
    }
    --s.tracking;
    if (result == TrackResult::released) {
      if (keepRelease)
        s.releasePending = true;
      else
        s.pressWindow = nullptr;
    }
  }
  if (where)
    *where = s.mouse;
  return result;
}

void setKeyObserver(KeyObserver observer)
{
  if (allowed())
    S().keyObserver = observer;
}

void setButtonObserver(ButtonObserver observer)
{
  if (allowed())
    S().buttonObserver = observer;
}

// ---- Cursors, sound, clipboard -------------------------------------------------------

std::string detail::cursorShape(int16_t id)
{
  if (id == kCursorArrow)
    return "default";
  kvres::Resource r;
  if (kvres::getResource(kResCursor, id, &r) && !r.data.empty())
    return std::string(r.data.begin(), r.data.end());
  if (id == kCursorBusy)
    return "wait";
  if (id == kCursorDrag)
    return "grabbing";
  return {};
}

bool setCursor(int16_t id)
{
  if (!allowed())
    return false;
  if (!S().backend.setCursor(id))
    return false;
  S().cursor = id;
  return true;
}

int16_t currentCursor()
{
  return allowed() ? S().cursor : kCursorArrow;
}

void beep()
{
  if (allowed())
    S().backend.beep();
}

void setClipboard(const std::vector<ClipBlock>& blocks)
{
  if (allowed())
    S().backend.setClipboard(blocks);
}

bool clipboardBlock(const std::string& mimeType, std::vector<uint8_t>* out)
{
  if (out)
    out->clear();
  return allowed() && S().backend.clipboardBlock(mimeType, out);
}

// ---- Application loop -------------------------------------------------------------------

bool runApplicationLoop()
{
  if (!allowed() || L().running)
    return false;
  AppLoopState& l = L();
  l.running = true;
  l.quit = false;
  constexpr int32_t kWaitMs = 100;
  bool spent = false;
  while (!l.quit) {
    bool got = S().backend.processInput(true, kWaitMs);
    pump();
    settleActivation();
    if (!got && S().backend.scripted && !l.quit) {
      spent = true;
      break;
    }
  }
  l.running = false;
  return !spent;
}

void quitApplicationLoop()
{
  if (allowed())
    L().quit = true;
}

bool isApplicationLoopRunning()
{
  return L().running;
}

void setActivationObserver(ActivationObserver observer)
{
  L().observer = observer;
}

bool isApplicationActive()
{
  settleActivation();
  return L().active;
}

}  // namespace kvui
