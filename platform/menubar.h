// The menu bar: one model of menus and items, shown as a GtkMenuBar at the
// top of every window that asks for one (the GTK backend) or only kept as
// data (the scripted backend, where tests choose items and read the state).
// A change to the model reaches every window's bar at once.
//
// Menus are known by a 16-bit id; items are numbered from 1 in each menu.
// An item's text uses the old metacharacters: "-" alone is a separator
// (disabled), "/X" gives the item the command key Ctrl+X (X upper case as
// written; the text shown stops before the blank that precedes it), and a
// leading "(" disables the item. Mark 18 shows a check mark; 0 none.
//
// The window menu (id 0) is made by the layer: it lists the windows that
// have a bar, by title, the front one checked; choosing one brings it
// forward.
//
// Main thread only, after the window layer has started.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace kvmenu {

inline constexpr int16_t kWindowMenuID = 0;
inline constexpr uint8_t kCheckMark = 18;

// Told when the user chooses an enabled item that carries a command.
using CommandHandler = void (*)(uint32_t command, int16_t menuID);
// Told when a menu is about to open (and before a command key is matched),
// so the program can bring the enabled state up to date.
using AdjustHandler = void (*)(int16_t menuID);
void setCommandHandler(CommandHandler handler);
void setAdjustHandler(AdjustHandler handler);

// ---- Menus --------------------------------------------------------------------------

// A new menu outside the bar (replacing one of the same id); false when
// the id is taken by the window menu.
bool newMenu(int16_t id, const std::string& title);
// Puts the menu into the bar before `beforeID` (0 or an id not in the bar:
// at the end); false when there is no such menu.
bool insertMenu(int16_t id, int16_t beforeID = 0);
// Takes the menu out of the bar and forgets it.
void deleteMenu(int16_t id);
bool menuExists(int16_t id);
// Adds the window menu (id 0) at the end of the bar.
void insertWindowMenu();
// The ids of the menus in the bar, in order.
std::vector<int16_t> barMenus();
std::string menuTitle(int16_t id);
// Forgets every menu and handler (start of a test, shutdown).
void clear();

// ---- Items ----------------------------------------------------------------------------

// Appends an item whose text may hold the metacharacters above; false
// without such a menu.
bool appendItem(int16_t menuID, const std::string& text);
int16_t itemCount(int16_t menuID);
void setItemCommand(int16_t menuID, int16_t item, uint32_t command);
uint32_t itemCommand(int16_t menuID, int16_t item);  // 0 when none
// The text shown (metacharacters taken out).
void setItemText(int16_t menuID, int16_t item, const std::string& text);
std::string itemText(int16_t menuID, int16_t item);
// The command key ('Q' for Ctrl+Q); 0 when none.
char itemKey(int16_t menuID, int16_t item);
void enableItem(int16_t menuID, int16_t item, bool enabled);
bool isItemEnabled(int16_t menuID, int16_t item);
bool isSeparator(int16_t menuID, int16_t item);
void setItemMark(int16_t menuID, int16_t item, uint8_t mark);
uint8_t itemMark(int16_t menuID, int16_t item);
// The first item that carries the command; false when none does.
bool findCommand(uint32_t command, int16_t* menuID, int16_t* item);
// Enables or disables every item that carries the command.
void enableCommand(uint32_t command, bool enabled);

// ---- Windows --------------------------------------------------------------------------

// Gives the window a bar (above its content, which moves down and shrinks
// by the bar's height so that the window keeps its place and size); nothing
// when it has one. The bar goes with the window.
void attachMenuBar(kvui::WindowRef window);
bool hasMenuBar(kvui::WindowRef window);
// The height of a window's bar in pixels (0 without one, and always 0 in
// the scripted backend).
int32_t menuBarHeight(kvui::WindowRef window);
// Shows the model in every bar again.
void drawMenuBar();

// ---- Choosing -------------------------------------------------------------------------

// What the user's choice of an item does, in both backends: the adjust
// handler for its menu, then, when the item is enabled, the command handler
// with its command (the window menu brings its window forward). False when
// nothing was done.
bool chooseItem(int16_t menuID, int16_t item);
// What a command key does: the adjust handler for every menu in the bar,
// then the enabled item with that key (upper case), as chooseItem; false
// when no enabled item has the key.
bool pressCommandKey(char key);

}  // namespace kvmenu
