// The menu bar of the application: the application menu (menu 128 of the
// resources), File and Edit from the static definition table (the Render
// menu is defined but not installed), and the window menu; the command
// table that maps command codes to menu items for renaming, checking,
// enabling and disabling.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"

inline constexpr int16_t kAppMenuResourceID = 128;
inline constexpr int16_t kFileMenuID = 2;
inline constexpr int16_t kEditMenuID = 3;
inline constexpr int16_t kRenderMenuID = 4;
inline constexpr int16_t kAppMenuSlots = 10;
inline constexpr int16_t kCmdTableSize = 128;
inline constexpr int16_t kCmdTableLimit = 127;  // entries in use at most

struct AppMenuCmd
{
  int32_t command = 0;
  int16_t item = 0;
  int16_t menu = 0;
  Str63 name = {};
};

class AppMenus
{
public:
  // Builds the bar: the application menu, menus 2 to `last`, the window
  // menu. Start-up passes 3.
  void InstallMenus(int16_t last);
  void InstallMenuItems(int16_t menuID, int16_t count);
  void RebuildMenu(int16_t menuID);
  void AppMenusInit();

  // Looks the definition up: current command and current text (always
  // true; an unknown place gives command 0 and an empty text).
  bool GetMenusOpInfos(int16_t menuID, int16_t item);

  void AddToCmdTable(int32_t command, int16_t item, int16_t menuID, ConstStringPtr text);
  bool UpdateCmdTable(int32_t command, int16_t item, int16_t menuID, ConstStringPtr text);
  void UpdateOpTable(int32_t command, int16_t item, int16_t menuID, ConstStringPtr text);

  const AppMenuCmd* GetOpcodeEntry(int32_t command) const;
  int32_t GetMenusOpcode(int16_t menuID, int16_t item);
  // The name of the command's entry; "Unfound" when it has none.
  void GetOpcodeName(int32_t command, StringPtr out) const;

  void UpdateMenuName(int32_t command, ConstStringPtr text);
  void UpdateMenuCheck(int32_t command, bool on);
  void UpdateMenuFlag(int32_t command, bool on);

  // Which menus were made (ids 1..9; 1 the application menu).
  bool menus[kAppMenuSlots] = {};
  int32_t currentCommand = 0;
  int16_t reserved = 0;
  int16_t lastMenuID = 0;
  Str63 currentText = {};
  int16_t commandCount = 0;
  AppMenuCmd commandTable[kCmdTableSize];

private:
  void SetEntry(AppMenuCmd& entry, int16_t item, int16_t menuID, ConstStringPtr text);
};

extern AppMenus gMenu;
