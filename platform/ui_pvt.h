// What the window layer's core shares with its backends: the window record,
// the backend's operations and the input calls through which a backend
// reports what the user did.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui.h"

namespace kvui {

struct Window
{
  WindowKind kind = WindowKind::document;
  std::string title;
  Rect content;  // global
  bool visible = false;
  EventHandler handler = nullptr;
  void* handlerUser = nullptr;
  void* refCon = nullptr;
  int32_t minWidth = 1, minHeight = 1;
  uint8_t contentColor[3] = {255, 255, 255};
  // Backing pixels (drawn by the program) and the pixels the screen shows
  // (what was flushed), both premultiplied in cairo's order.
  std::vector<uint8_t> backing;
  std::vector<uint8_t> shown;
  int32_t width = 0, height = 0;
  uint32_t generation = 0;
  bool invalid = false;
  Rect invalidRect;  // local bounding box of the update region
  bool updating = false;
  bool fullScreen = false;
  Rect windowedContent;    // the content before full-screen mode
  void* native = nullptr;  // the backend's own record
};

// A running file chooser: the request, what the event routine set and
// the backend's own record.
struct Chooser
{
  ChooserRequest request;
  Rect customRect;
  std::vector<uint8_t> customPixels;
  std::vector<std::string> selection;
  std::string saveName;
  std::string shownFolder, selectedItem;
  void* native = nullptr;
  // Backend operations while it runs (null in the scripted backend).
  void (*showFolder)(Chooser* c, const std::string& path) = nullptr;
  void (*selectItem)(Chooser* c, const std::string& path) = nullptr;
  void (*setSaveName)(Chooser* c, const std::string& name) = nullptr;
  std::string (*saveNameNow)(Chooser* c) = nullptr;
};

namespace detail {

// Sends a message to the chooser's event routine, if any.
void chooserMessage(Chooser* c, int16_t message, const Event* event);
// Makes the custom area's pixels fit its rectangle.
void fitCustomPixels(Chooser* c);
// The GTK backend's chooser and pop-up menu.
bool gtkRunChooser(Chooser* c, ChooserReply* reply);
int32_t gtkPopUpMenu(const std::vector<MenuEntry>& entries, Point where,
                     const MenuPlacement& placement);

// The desktop cursor name of a cursor id: "default" for the arrow, else the
// shape the store's cursor resource of that id names, else the built-in busy
// and drag shapes; "" when there is none.
std::string cursorShape(int16_t id);

struct Backend
{
  bool scripted = false;
  uint32_t doubleClickTicks = 30;
  int32_t doubleClickDistance = 4;
  std::vector<Screen> (*screens)() = nullptr;
  bool (*createWindow)(Window* w) = nullptr;
  void (*destroyWindow)(Window* w) = nullptr;
  void (*showWindow)(Window* w, bool show) = nullptr;
  void (*raiseWindow)(Window* w) = nullptr;
  void (*setTitle)(Window* w) = nullptr;
  void (*placeWindow)(Window* w) = nullptr;  // content rectangle or size changed
  void (*setMinimumSize)(Window* w) = nullptr;
  void (*setFullScreen)(Window* w, bool on) = nullptr;  // after the core set w->content
  void (*flush)(Window* w, Rect r) = nullptr;           // shows r of w->shown
  void (*beep)() = nullptr;
  bool (*setCursor)(int16_t id) = nullptr;
  // Handles what the user did, through the input calls below. With wait,
  // blocks up to timeoutMs for something; false when nothing came.
  bool (*processInput)(bool wait, int32_t timeoutMs) = nullptr;
  void (*setClipboard)(const std::vector<ClipBlock>& blocks) = nullptr;
  bool (*clipboardBlock)(const std::string& mimeType, std::vector<uint8_t>* out) = nullptr;
  void (*stop)() = nullptr;
  bool (*runChooser)(Chooser* chooser, ChooserReply* reply) = nullptr;
  int32_t (*popUpMenu)(const std::vector<MenuEntry>& entries, Point where,
                       const MenuPlacement& placement) = nullptr;
};

// Installs a backend on the calling thread (it becomes the UI thread).
void start(const Backend& backend);
const Backend* backend();

// The window under a global point, front to back among the visible ones.
Window* windowAt(Point where);
// Makes the surfaces width x height, keeping what fits.
void resizeSurfaces(Window* w, int32_t width, int32_t height);
void fillShown(Window* w);

// Input from the backend. `target`: the window the backend delivers to (null:
// the one under the mouse, or the front window for keys).
void inputMouse(Window* target, Point where, bool button, uint16_t modifiers);
void inputKey(Window* target, int32_t keyCode, uint32_t character, bool down, bool repeat,
              uint16_t modifiers);
void inputModifiers(Window* target, uint16_t modifiers);
void inputWindowEvent(Window* target, int16_t what, uint32_t message, uint16_t modifiers);
// The content now has this global rectangle (moved or resized by the user).
void inputBounds(Window* target, Rect content, bool resizeDone);
void inputActivate(Window* target, bool active);

}  // namespace detail
}  // namespace kvui
