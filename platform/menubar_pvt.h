// What the menu bar shares between its model, its GTK widgets and the
// window layer's GTK backend.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/menubar.h"

namespace kvui {
struct Window;
namespace detail {
// Answers true when it used the key event (a GdkEventKey) of the window.
using TopKeyFilter = bool (*)(void* gdkKeyEvent, Window* window);
// Puts the widget (a GtkWidget) above the window's content, adds the accel
// group (a GtkAccelGroup) to the window and lets `filter` see its key
// presses before the layer does. The content keeps its global rectangle
// until GTK lays the window out again; the window's top stays where it was.
bool gtkAttachTopWidget(Window* window, void* widget, void* accelGroup, TopKeyFilter filter);
// The natural height of the widget above the content; 0 when there is none.
int32_t gtkTopWidgetHeight(Window* window);
}  // namespace detail
}  // namespace kvui

namespace kvmenu::detail {

struct Item
{
  std::string text;  // shown
  uint32_t command = 0;
  char key = 0;
  bool enabled = true;
  bool separator = false;
  uint8_t mark = 0;
};

struct Menu
{
  int16_t id = 0;
  std::string title;
  std::vector<Item> items;
  bool inBar = false;
};

// The model: the menus in bar order (those not in the bar after them).
std::vector<Menu>& menus();
Menu* findMenu(int16_t id);
// The window menu's entries: the windows with a bar, front to back.
std::vector<kvui::WindowRef> windowMenuWindows();

// Calls the program's adjust handler for the menu.
void adjustMenu(int16_t menuID);

// The GTK widgets of the bars.
void gtkAttach(kvui::WindowRef window);
bool gtkHasBar(kvui::WindowRef window);
void gtkRebuildAll();
// The enabled state, text and mark of one item in every bar.
void gtkSyncItem(int16_t menuID, int16_t item);
void gtkForget();

}  // namespace kvmenu::detail
