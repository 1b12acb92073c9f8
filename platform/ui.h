// The window system: screens, windows with a backing surface, events in the
// old numbering, mouse and keyboard state, modal loops, cursors, the beep
// and the desktop clipboard. Two backends stand behind it: GTK 3 for the
// program, and a scripted one for tests, which plays queued mouse samples,
// keys, ticks, high-level events and dialog answers and lets the test read
// back surfaces, flushes, beeps, the cursor and the windows.
//
// Every call belongs to the thread that started the layer (the main thread).
// A call from any other thread is refused: it does nothing and answers
// false, 0 or null (render workers never touch the window system).
//
// Coordinates are pixels: global ones on the screens, local ones from a
// window's content top-left. Rectangles are {top, left, bottom, right}.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvui {

struct Rect
{
  int32_t top = 0, left = 0, bottom = 0, right = 0;
};
struct Point
{
  int32_t v = 0, h = 0;
};
inline bool operator==(const Rect& a, const Rect& b)
{
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
inline bool operator==(const Point& a, const Point& b)
{
  return a.v == b.v && a.h == b.h;
}

// ---- Start-up ---------------------------------------------------------------

// Starts GTK on the calling thread; false when there is no display (the
// program then says so and exits non-zero).
bool startGtk();
// Starts the scripted backend (tests only; the program never falls back on
// it), with one screen of 1280 x 1024 x 32. Restarting resets every script,
// window and record.
void startScripted();
// Closes every window and stops the layer.
void stop();
bool isStarted();
bool isScriptedBackend();
// True on the thread that started the layer.
bool onUIThread();

// ---- Screens ------------------------------------------------------------------

struct Screen
{
  Rect bounds;         // global
  int16_t depth = 32;  // bits per pixel the screen shows
};
// The screens, the main one first.
std::vector<Screen> screens();

// ---- Windows ------------------------------------------------------------------

enum class WindowKind
{
  document,    // title bar, close box, resizable
  modal,       // dialog in front of the others
  floating,    // palette above the documents
  borderless,  // no frame
  fullScreen,  // covers a screen
};

struct Window;
using WindowRef = Window*;

// A window's backing pixels: premultiplied 32-bit pixels in cairo's order
// (on this machine memory order blue, green, red, alpha: 'BGRA'). Drawing may
// happen at any time; only flush shows it. The pixels move when the window is
// resized: `generation` then changes.
struct Surface
{
  uint8_t* pixels = nullptr;
  int32_t rowBytes = 0;
  int32_t width = 0, height = 0;
  uint32_t generation = 0;
};

struct Event;
// A window's event handler: answers a result, kEventNotHandled to leave the
// event to the layer's default.
using EventHandler = int32_t (*)(WindowRef window, const Event& event, void* user);
inline constexpr int32_t kEventNotHandled = -9874;

// A hidden window of the kind whose content is the global rectangle; null
// when it cannot be made.
WindowRef newWindow(WindowKind kind, Rect content, const std::string& title);
void disposeWindow(WindowRef window);
std::vector<WindowRef> windows();  // front to back
WindowKind windowKind(WindowRef window);
void showWindow(WindowRef window);
void hideWindow(WindowRef window);
bool isWindowVisible(WindowRef window);
void selectWindow(WindowRef window);  // brings it to the front and activates it
WindowRef frontWindow();
void setWindowTitle(WindowRef window, const std::string& title);
std::string windowTitle(WindowRef window);
// Content rectangle in global coordinates.
Rect windowContent(WindowRef window);
void moveWindow(WindowRef window, int32_t left, int32_t top);
// Sizes the content (at least 1 x 1); the surface is re-made and keeps what
// fits of its pixels; an update of the whole content follows.
void sizeWindow(WindowRef window, int32_t width, int32_t height);
void setMinimumSize(WindowRef window, int32_t width, int32_t height);
// Full-screen mode: the content covers the window's screen (the main one
// when it lies on none); leaving it restores the content rectangle.
void setFullScreen(WindowRef window, bool on);
bool isFullScreen(WindowRef window);
// The colour the window shows where nothing was flushed (0..255).
void setContentColor(WindowRef window, uint8_t red, uint8_t green, uint8_t blue);
void setEventHandler(WindowRef window, EventHandler handler, void* user);
void setRefCon(WindowRef window, void* refCon);
void* refCon(WindowRef window);
Surface windowSurface(WindowRef window);

// The update region, as a bounding rectangle (local coordinates).
void invalidate(WindowRef window, const Rect* r);  // null: the whole content
void validate(WindowRef window, const Rect* r);
bool updateRect(WindowRef window, Rect* out);  // false when nothing is invalid
// Between begin and end the window is being redrawn; end validates it.
void beginUpdate(WindowRef window);
void endUpdate(WindowRef window);
// Shows r (local) of the surface on the screen before returning.
void flush(WindowRef window, Rect r);

// ---- Events --------------------------------------------------------------------

enum EventKind : int16_t
{
  nullEvent = 0,
  mouseDown = 1,
  mouseUp = 2,
  keyDown = 3,
  keyUp = 4,
  autoKey = 5,
  updateEvt = 6,
  activateEvt = 8,  // modifiers bit 0 set: activated, clear: deactivated
  osEvt = 15,
  kHighLevelEvent = 23,
  // The window events of the window classes' tables.
  mouseMoved = 16,
  modifiersChanged = 17,
  windowClose = 18,          // the close box (or the desktop) asks to close
  windowBoundsChanged = 19,  // the content moved or changed size
  windowResizeDone = 20,     // the user ended a resize
  commandEvt = 21,           // message: a four-character command
};
constexpr uint32_t eventMask(int kind)
{
  return uint32_t(1) << kind;
}
inline constexpr uint32_t everyEvent = 0xFFFFFFFF;

// Modifier bits.
enum : uint16_t
{
  activeFlag = 1 << 0,
  cmdKey = 1 << 8,  // Ctrl on this keyboard
  shiftKey = 1 << 9,
  alphaLock = 1 << 10,
  optionKey = 1 << 11,   // Alt
  controlKey = 1 << 12,  // Super
};

struct Event
{
  int16_t what = nullEvent;
  uint32_t message = 0;  // command code, high-level event class
  uint32_t when = 0;     // ticks
  WindowRef window = nullptr;
  Point where;  // global
  Point local;  // in the window's content
  uint16_t modifiers = 0;
  int16_t clicks = 0;    // mouse down: 1 single, 2 double...
  int16_t keyCode = -1;  // the old virtual key code, -1 for none
  uint32_t character = 0;
  uint32_t highLevelID = 0;  // high-level events: the event id ('odoc'...)
};

// Delivers what is waiting (never waits): an event of a window with a
// handler goes to the handler; others, and the events of no window, queue
// for nextEvent.
void pump();
// Pumps, then takes the first queued event of the mask; false (and a null
// event) when there is none.
bool nextEvent(uint32_t mask, Event* out);
// Drops the queued events of the mask.
void flushEvents(uint32_t mask);

// High-level events (documents to open, ...): posted by the messaging
// layer, peeked and taken in order.
struct HighLevelEvent
{
  uint32_t eventClass = 0;  // 'aevt'
  uint32_t eventID = 0;     // 'odoc', 'quit', ...
  std::vector<std::string> paths;
};
void postHighLevelEvent(const HighLevelEvent& event);
bool peekHighLevelEvent(HighLevelEvent* out);
bool takeHighLevelEvent(HighLevelEvent* out);

// A modal loop for `modal`: events of that window go to `step`, the others'
// mouse downs beep, and `step` gets a null event at least every 6 ticks.
// The loop ends when step answers other than kEventNotHandled and returns
// that answer. The scripted backend fails the loop (kModalScriptSpent) when
// its script is spent and step has not ended it. Loops nest.
using ModalStep = int32_t (*)(const Event& event, void* user);
inline constexpr int32_t kModalScriptSpent = -9875;
int32_t runModalLoop(WindowRef modal, ModalStep step, void* user);

// The window of the innermost running modal loop; null outside one.
WindowRef modalWindow();

// ---- Mouse and keys --------------------------------------------------------------

Point mouseLocation();  // global
bool isButtonDown();
uint16_t currentModifiers();
// The key map: bit (code % 8) of byte (code / 8) is set while the key of
// that old code is down; 16 bytes.
void keyMap(uint8_t out[16]);
bool isKeyDown(int32_t keyCode);

enum class TrackResult
{
  moved,
  released,
  timedOut,
};
// Waits until the mouse moves, the button goes up or `timeoutTicks` pass
// (0 or less: no limit); *where gets the global mouse position. A release
// is consumed unless `keepRelease`.
TrackResult trackMouse(Point* where, int32_t timeoutTicks = 0, bool keepRelease = false);

// Observers told of every key and button change, tracking included.
using KeyObserver = void (*)(int32_t keyCode, bool down);
using ButtonObserver = void (*)(bool down);
void setKeyObserver(KeyObserver observer);
void setButtonObserver(ButtonObserver observer);

// Old virtual key codes of some keys.
inline constexpr int32_t kKeyPeriod = 47;
inline constexpr int32_t kKeySpace = 49;
inline constexpr int32_t kKeyEscape = 53;
inline constexpr int32_t kKeyCommand = 55;
inline constexpr int32_t kKeyShift = 56;
inline constexpr int32_t kKeyOption = 58;
inline constexpr int32_t kKeyControl = 59;
inline constexpr int32_t kKeyF12 = 111, kKeyF13 = 105, kKeyF14 = 107, kKeyF15 = 113;

// The click counter: a press within `maxTicks` of the previous one and
// within `maxDistance` pixels of it (each axis) counts one more click.
struct ClickCounter
{
  uint32_t lastTicks = 0;
  Point lastWhere;
  int16_t count = 0;
  int16_t press(uint32_t ticks, Point where, uint32_t maxTicks, int32_t maxDistance);
};

// The GTK backend's tables: the old key code of a GDK key value (letters
// of either case; -1 for a key the old keyboard had not), and the modifier
// bits of a GDK modifier state (Ctrl is command, Alt option, Super control).
int32_t keyCodeOfKeyval(uint32_t keyval);
uint16_t modifiersOfGdkState(uint32_t state);

// ---- Cursors, sound, clipboard -------------------------------------------------------

inline constexpr int16_t kCursorArrow = 0;
inline constexpr int16_t kCursorBusy = 4;
inline constexpr int16_t kCursorDrag = 133;
// Sets the cursor of that id; false (the shape unchanged) when there is
// none.
bool setCursor(int16_t id);
int16_t currentCursor();
void beep();

// Clipboard blocks by MIME type ("image/png", "application/pdf").
struct ClipBlock
{
  std::string mimeType;
  std::vector<uint8_t> bytes;
};
// Replaces the desktop clipboard by these blocks.
void setClipboard(const std::vector<ClipBlock>& blocks);
// The block of that type on the desktop clipboard; false when there is none.
bool clipboardBlock(const std::string& mimeType, std::vector<uint8_t>* out);

// ---- File chooser --------------------------------------------------------------------

// The open, save and choose-folder dialog, application-modal. An event
// routine may follow it: message 1 (customise) once the custom area is
// proposed, 2 (start) before it shows, 7 when the selection changes and 0
// for an update or a mouse down in the custom area.
enum class ChooserKind
{
  open,
  save,
  folder,
};
enum : int16_t
{
  kChooserEvent = 0,
  kChooserCustomize = 1,
  kChooserStart = 2,
  kChooserSelectionChanged = 7,
};
struct Chooser;  // the running dialog, handed to its event routine
using ChooserEventProc = void (*)(int16_t message, Chooser* chooser, const Event* event,
                                  void* user);
// True when the item at path is shown.
using ChooserFilter = bool (*)(const std::string& path, void* user);

struct ChooserRequest
{
  ChooserKind kind = ChooserKind::open;
  std::string title;                   // empty: the toolkit's own title
  std::string clientName;              // the application's name
  bool multiple = false;               // open: several files may be chosen
  std::string saveName;                // save: the proposed name
  std::vector<std::string> typeNames;  // the codes filtered on, for the record
  ChooserFilter filter = nullptr;      // null: every item shown
  void* filterUser = nullptr;
  ChooserEventProc eventProc = nullptr;
  void* eventUser = nullptr;
};
struct ChooserReply
{
  std::vector<std::string> paths;  // open: the chosen items; folder: the folder
  std::string folder;              // save: the folder to save into
  std::string name;                // save: the typed name
};
// Runs the dialog; true when the user chose, false on a cancel.
bool runChooser(const ChooserRequest& request, ChooserReply* reply);

// Calls for the event routine while the dialog runs.
Rect chooserCustomRect(Chooser* chooser);  // the proposed custom area (local)
void setChooserCustomRect(Chooser* chooser, Rect r);
void chooserShowFolder(Chooser* chooser, const std::string& path);
void chooserSelectItem(Chooser* chooser, const std::string& path);  // shows its folder
std::vector<std::string> chooserSelection(Chooser* chooser);
std::string chooserSaveName(Chooser* chooser);
void setChooserSaveName(Chooser* chooser, const std::string& name);
// The custom area's pixels (cairo's order), drawn by the event routine.
Surface chooserCustomSurface(Chooser* chooser);

// ---- Pop-up menus ---------------------------------------------------------------------

struct MenuEntry
{
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool coloured = false;
  uint8_t red = 0, green = 0, blue = 0;
};
// Where a menu opens: the entry (1-based, 0: none) shown under the mouse
// and the text size in points (0: the toolkit's own).
struct MenuPlacement
{
  int32_t underMouse = 0;
  int16_t fontSize = 0;
};
// Shows the menu at the global point; the 1-based entry chosen or 0.
int32_t popUpMenu(const std::vector<MenuEntry>& entries, Point where,
                  const MenuPlacement& placement = {});

// ---- Application loop -------------------------------------------------------------------

// Runs the program's event loop on the main thread: waits for input and
// delivers it with the updates until quitApplicationLoop. True when quit
// ended it; false when the layer is not started or, in the scripted
// backend, when the script is spent first.
bool runApplicationLoop();
// Ends the running application loop once the current event is handled.
void quitApplicationLoop();
bool isApplicationLoopRunning();

// Told when the program becomes active (the focus enters one of its
// windows) or inactive (the focus left them all): a focus that only moves
// from one of its windows to another is no change.
using ActivationObserver = void (*)(bool active);
void setActivationObserver(ActivationObserver observer);
bool isApplicationActive();

// ---- Scripted backend: what tests queue and read back ----------------------------------

namespace script {

// Replaces the screens (main first).
void setScreens(const std::vector<Screen>& list);
// A mouse sample: the mouse at `where` (global) with the button up or down.
// Samples play in order: a change of the button gives a mouse down or up
// (to the window under the mouse, or the window holding the press), a move
// alone a mouse-moved event, or feeds a tracking loop.
void mouse(Point where, bool button, uint16_t modifiers = 0);
// A key going down (repeat: the auto-key of a held key) or up.
void key(int32_t keyCode, uint32_t character, bool down, uint16_t modifiers = 0,
         bool repeat = false);
// The modifier keys changing.
void modifiers(uint16_t modifiers);
// The clock moves on by n ticks when this step plays.
void ticks(int32_t n);
// A window event (close, command...) for the window.
void windowEvent(WindowRef window, int16_t what, uint32_t message = 0, uint16_t modifiers = 0);
// The user resizes the window's content to width x height.
void resize(WindowRef window, int32_t width, int32_t height);
// Answers of the next dialogs, taken in order.
struct DialogAnswer
{
  int32_t item = 0;
  std::string path;
};
void dialogAnswer(const DialogAnswer& answer);
bool takeDialogAnswer(DialogAnswer* out);
// The next file chooser's answer: cancel, or the items chosen (open and
// folder), the folder and typed name (save). Before answering, the
// scripted chooser proposes `proposal` as the custom area after the first
// negotiation, and clicks the custom area at `click` when it is not (-1,-1).
struct ChooserAnswer
{
  bool cancel = false;
  std::vector<std::string> paths;
  std::string folder;
  std::string name;
  Rect proposal;
  Point click{-1, -1};
};
void chooserAnswer(const ChooserAnswer& answer);
// What the last chooser was asked and where its event routine placed it.
struct ChooserRecord
{
  ChooserRequest request;
  std::string shownFolder;            // last chooserShowFolder
  std::string selectedItem;           // last chooserSelectItem
  Rect customRect;                    // the agreed custom area
  std::vector<uint8_t> customPixels;  // the custom area's pixels at the end
  int32_t runs = 0;                   // choosers run since start
  std::vector<int16_t> messages;
};
const ChooserRecord& lastChooser();
// The next pop-up menu's choice (0: none); the menu shown is kept.
void menuChoice(int32_t entry);
const std::vector<MenuEntry>& lastMenu();
// Where the last pop-up menu was asked to open.
struct MenuRecord
{
  Point where;
  MenuPlacement placement;
  int32_t shown = 0;  // menus shown since start
};
const MenuRecord& lastMenuRecord();

// Pressing items of dialogs: the item layer tells where item n of a
// window's item set lies (its centre, local); false when there is none.
using ItemLocator = bool (*)(WindowRef window, int32_t item, Point* local);
void setItemLocator(ItemLocator locator);
// When played, presses item n of the front dialog (the window of the
// innermost modal loop, else the front window): the button goes down at
// the item's centre and comes up there at the next step. Nothing happens
// when the window has no such item.
void pressItem(int32_t item);

// Steps not yet played.
size_t pending();

// Read-back.
struct Flush
{
  WindowRef window = nullptr;  // null once the window is destroyed
  Rect rect;
};
const std::vector<Flush>& flushes();
int32_t beeps();
// What the screen shows of a window: its flushed pixels, as the surface.
Surface shownPixels(WindowRef window);
void clearRecords();

}  // namespace script

}  // namespace kvui
