// The scripted backend: plays what a test queued (mouse samples, keys,
// ticks, window events, resizes) one step per call for input, keeps the
// screen and the clipboard in memory and records flushes and beeps. It runs
// on the scripted clock, so nothing waits and nothing hangs.

#include <deque>
#include <map>
#include <variant>

#include "platform/clock.h"
#include "platform/ui_pvt.h"

namespace kvui {

namespace {

struct MouseStep
{
  Point where;
  bool button;
  uint16_t modifiers;
};
struct KeyStep
{
  int32_t code;
  uint32_t character;
  bool down, repeat;
  uint16_t modifiers;
};
struct ModifierStep
{
  uint16_t modifiers;
};
struct TickStep
{
  int32_t ticks;
};
struct WindowStep
{
  WindowRef window;
  int16_t what;
  uint32_t message;
  uint16_t modifiers;
};
struct ResizeStep
{
  WindowRef window;
  int32_t width, height;
};
struct ItemStep
{
  int32_t item;
};
using Step =
    std::variant<MouseStep, KeyStep, ModifierStep, TickStep, WindowStep, ResizeStep, ItemStep>;

struct Script
{
  std::vector<Screen> screens{Screen{Rect{0, 0, 1024, 1280}, 32}};
  std::deque<Step> steps;
  std::deque<script::DialogAnswer> answers;
  std::vector<script::Flush> flushes;
  int32_t beeps = 0;
  std::map<std::string, std::vector<uint8_t>> clipboard;
  std::deque<script::ChooserAnswer> chooserAnswers;
  script::ChooserRecord chooser;
  std::deque<int32_t> menuChoices;
  std::vector<MenuEntry> menu;
  script::MenuRecord menuRecord;
  script::ItemLocator itemLocator = nullptr;
};

Script& T()
{
  static Script s;
  return s;
}

bool liveWindow(WindowRef w)
{
  for (WindowRef known : windows())
    if (known == w)
      return true;
  return false;
}

// A press of the item at its centre: the release is played next, so that
// an item tracking the press sees it come up.
void pressItemOfFrontDialog(int32_t item)
{
  WindowRef w = modalWindow();
  if (!w)
    w = frontWindow();
  Point local;
  if (!w || !T().itemLocator || !T().itemLocator(w, item, &local))
    return;
  const Rect content = windowContent(w);
  const Point where{content.top + local.v, content.left + local.h};
  const uint16_t modifiers = currentModifiers();
  T().steps.push_front(MouseStep{where, false, modifiers});
  detail::inputMouse(nullptr, where, true, modifiers);
}

void play(const Step& step)
{
  if (auto* m = std::get_if<MouseStep>(&step)) {
    detail::inputMouse(nullptr, m->where, m->button, m->modifiers);
  } else if (auto* k = std::get_if<KeyStep>(&step)) {
    detail::inputKey(nullptr, k->code, k->character, k->down, k->repeat, k->modifiers);
  } else if (auto* mod = std::get_if<ModifierStep>(&step)) {
    detail::inputModifiers(nullptr, mod->modifiers);
  } else if (auto* t = std::get_if<TickStep>(&step)) {
    kvclock::advanceTicks(t->ticks);
  } else if (auto* w = std::get_if<WindowStep>(&step)) {
    if (liveWindow(w->window))
      detail::inputWindowEvent(w->window, w->what, w->message, w->modifiers);
  } else if (auto* r = std::get_if<ResizeStep>(&step)) {
    if (liveWindow(r->window)) {
      Rect c = windowContent(r->window);
      c.bottom = c.top + std::max(r->height, 1);
      c.right = c.left + std::max(r->width, 1);
      detail::inputBounds(r->window, c, true);
    }
  } else if (auto* i = std::get_if<ItemStep>(&step)) {
    pressItemOfFrontDialog(i->item);
  }
}

bool processInput(bool, int32_t)
{
  if (T().steps.empty())
    return false;
  Step step = T().steps.front();
  T().steps.pop_front();
  play(step);
  return true;
}

std::vector<Screen> scriptedScreens()
{
  return T().screens;
}

bool createWindow(Window*)
{
  return true;
}

// A destroyed window's flushes stay on record, unowned, so that a test can
// still count what a window showed before it closed; the address may be
// reused by the next window.
void destroyWindow(Window* w)
{
  for (script::Flush& f : T().flushes)
    if (f.window == w)
      f.window = nullptr;
}

void showWindow(Window* w, bool show)
{
  if (show)
    detail::fillShown(w);
}

void noOp(Window*) {}

void fullScreenNoOp(Window*, bool) {}

void recordFlush(Window* w, Rect r)
{
  T().flushes.push_back(script::Flush{w, r});
}

void recordBeep()
{
  ++T().beeps;
}

bool knownCursor(int16_t id)
{
  return !detail::cursorShape(id).empty();
}

void storeClipboard(const std::vector<ClipBlock>& blocks)
{
  T().clipboard.clear();
  for (const ClipBlock& b : blocks)
    T().clipboard[b.mimeType] = b.bytes;
}

bool readClipboard(const std::string& mimeType, std::vector<uint8_t>* out)
{
  auto it = T().clipboard.find(mimeType);
  if (it == T().clipboard.end())
    return false;
  if (out)
    *out = it->second;
  return true;
}

void stopScripted()
{
  kvclock::useScripted(false);
}

bool scriptReady()
{
  return isScriptedBackend() && onUIThread();
}

// The custom area is negotiated twice (the empty proposal, then the
// answer's), the dialog starts, the answer's items become the selection,
// the area is updated and, when asked, clicked; then the answer is given.
bool scriptedChooser(Chooser* c, ChooserReply* reply)
{
  script::ChooserRecord& record = T().chooser;
  int32_t runs = record.runs + 1;
  record = script::ChooserRecord{};
  record.request = c->request;
  record.runs = runs;
  script::ChooserAnswer answer;
  answer.cancel = true;
  if (!T().chooserAnswers.empty()) {
    answer = T().chooserAnswers.front();
    T().chooserAnswers.pop_front();
  }
  auto send = [&](int16_t message, const Event* event) {
    record.messages.push_back(message);
    detail::chooserMessage(c, message, event);
  };
  send(kChooserCustomize, nullptr);
  if (!(answer.proposal == Rect{})) {
    c->customRect = answer.proposal;
    send(kChooserCustomize, nullptr);
  }
  send(kChooserStart, nullptr);
  if (c->request.kind != ChooserKind::save) {
    c->selection = answer.paths;
    send(kChooserSelectionChanged, nullptr);
  }
  if (c->request.kind == ChooserKind::save && !answer.name.empty())
    c->saveName = answer.name;
  Event update;
  update.what = updateEvt;
  send(kChooserEvent, &update);
  if (answer.click.v >= 0 && answer.click.h >= 0) {
    Event down;
    down.what = mouseDown;
    down.local = answer.click;
    down.where = answer.click;
    send(kChooserEvent, &down);
  }
  record.shownFolder = c->shownFolder;
  record.selectedItem = c->selectedItem;
  record.customRect = c->customRect;
  record.customPixels = c->customPixels;
  if (answer.cancel)
    return false;
  reply->paths = answer.paths;
  reply->folder = answer.folder;
  reply->name = c->saveName;
  return true;
}

int32_t scriptedMenu(const std::vector<MenuEntry>& entries, Point where,
                     const MenuPlacement& placement)
{
  T().menu = entries;
  T().menuRecord.where = where;
  T().menuRecord.placement = placement;
  ++T().menuRecord.shown;
  if (T().menuChoices.empty())
    return 0;
  int32_t choice = T().menuChoices.front();
  T().menuChoices.pop_front();
  return choice;
}

}  // namespace

void startScripted()
{
  T() = Script();
  // Ticks start well above zero so that differences with earlier times
  // never wrap.
  kvclock::useScripted(true, 3600);
  detail::Backend b;
  b.scripted = true;
  b.doubleClickTicks = 30;
  b.doubleClickDistance = 4;
  b.screens = scriptedScreens;
  b.createWindow = createWindow;
  b.destroyWindow = destroyWindow;
  b.showWindow = showWindow;
  b.raiseWindow = noOp;
  b.setTitle = noOp;
  b.placeWindow = noOp;
  b.setMinimumSize = noOp;
  b.setFullScreen = fullScreenNoOp;
  b.flush = recordFlush;
  b.beep = recordBeep;
  b.setCursor = knownCursor;
  b.processInput = processInput;
  b.setClipboard = storeClipboard;
  b.clipboardBlock = readClipboard;
  b.stop = stopScripted;
  b.runChooser = scriptedChooser;
  b.popUpMenu = scriptedMenu;
  detail::start(b);
}

namespace script {

void setScreens(const std::vector<Screen>& list)
{
  if (scriptReady() && !list.empty())
    T().screens = list;
}

void mouse(Point where, bool button, uint16_t modifiers)
{
  if (scriptReady())
    T().steps.push_back(MouseStep{where, button, modifiers});
}

void key(int32_t keyCode, uint32_t character, bool down, uint16_t modifiers, bool repeat)
{
  if (scriptReady())
    T().steps.push_back(KeyStep{keyCode, character, down, repeat, modifiers});
}

void modifiers(uint16_t value)
{
  if (scriptReady())
    T().steps.push_back(ModifierStep{value});
}

void ticks(int32_t n)
{
  if (scriptReady())
    T().steps.push_back(TickStep{n});
}

void windowEvent(WindowRef window, int16_t what, uint32_t message, uint16_t modifiers)
{
  if (scriptReady())
    T().steps.push_back(WindowStep{window, what, message, modifiers});
}

void resize(WindowRef window, int32_t width, int32_t height)
{
  if (scriptReady())
    T().steps.push_back(ResizeStep{window, width, height});
}

void dialogAnswer(const DialogAnswer& answer)
{
  if (scriptReady())
    T().answers.push_back(answer);
}

bool takeDialogAnswer(DialogAnswer* out)
{
  if (!scriptReady() || T().answers.empty())
    return false;
  if (out)
    *out = T().answers.front();
  T().answers.pop_front();
  return true;
}

void chooserAnswer(const ChooserAnswer& answer)
{
  if (scriptReady())
    T().chooserAnswers.push_back(answer);
}

const ChooserRecord& lastChooser()
{
  return T().chooser;
}

void menuChoice(int32_t entry)
{
  if (scriptReady())
    T().menuChoices.push_back(entry);
}

const std::vector<MenuEntry>& lastMenu()
{
  return T().menu;
}

const MenuRecord& lastMenuRecord()
{
  return T().menuRecord;
}

void setItemLocator(ItemLocator locator)
{
  T().itemLocator = locator;
}

void pressItem(int32_t item)
{
  if (scriptReady())
    T().steps.push_back(ItemStep{item});
}

size_t pending()
{
  return scriptReady() ? T().steps.size() : 0;
}

const std::vector<Flush>& flushes()
{
  return T().flushes;
}

int32_t beeps()
{
  return T().beeps;
}

Surface shownPixels(WindowRef window)
{
  if (!scriptReady() || !liveWindow(window))
    return {};
  return Surface{window->shown.data(), window->width * 4, window->width, window->height,
                 window->generation};
}

void clearRecords()
{
  T().flushes.clear();
  T().beeps = 0;
}

}  // namespace script

}  // namespace kvui
