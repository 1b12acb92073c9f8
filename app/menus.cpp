#include "app/menus.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/appshell.h"
#include "foundation/pstrings.h"
#include "platform/menubar.h"
#include "platform/resources.h"

AppMenus gMenu;

namespace {

constexpr uint8_t kCheckMark = 18;

struct MenuDefinition
{
  int16_t menu;
  int16_t item;
  int32_t command;  // item 0: the number of items
  const char* text;
};

// The menus the program builds, byte for byte. \xE2\x80\xA6 is the ellipsis
// U+2026; "/X" gives the command key Ctrl+X.
constexpr MenuDefinition kMenuDefinitions[] = {
    {2, 0, 6, "File"},
    {2, 1, int32_t(fourcc("new ")), "New Browser"},
    {2, 2, 0, "-"},
    {2, 3, int32_t(fourcc("open")), "Open in Kovrelin\xE2\x80\xA6 /O"},
    {2, 4, 91, "Send to Plodex /L"},
    {2, 5, 0, "-"},
    {2, 6, int32_t(fourcc("broi")), "Browse directory"},
    {3, 0, 6, "Edit"},
    {3, 1, int32_t(fourcc("undo")), "Undo /Z"},
    {3, 2, 0, "-"},
    {3, 3, int32_t(fourcc("cut ")), "Cut /X"},
    {3, 4, int32_t(fourcc("copy")), "Copy /C"},
    {3, 5, int32_t(fourcc("past")), "Paste /V"},
    {3, 6, int32_t(fourcc("clea")), "Clear "},
    {4, 0, 4, "Render"},
    {4, 1, int32_t(fourcc("rndS")), "Render to Screen"},
    {4, 2, 0, "-"},
    {4, 3, int32_t(fourcc("rndr")), "Render Pict\xE2\x80\xA6"},
    {4, 4, int32_t(fourcc("rndM")), "Render Movie\xE2\x80\xA6"},
};

std::string textOf(ConstStringPtr p)
{
  return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

void copyCut63(StringPtr out, ConstStringPtr text)
{
  uint8_t n = std::min<uint8_t>(text[0], 63);
  out[0] = n;
  std::memcpy(out + 1, text + 1, n);
}

}  // namespace

bool AppMenus::GetMenusOpInfos(int16_t menuID, int16_t item)
{
  reserved = 0;
  currentCommand = 0;
  currentText[0] = 0;
  for (const MenuDefinition& d : kMenuDefinitions) {
    if (d.menu == menuID && d.item == item) {
      currentCommand = d.command;
      SetPString(currentText, d.text);
      break;
    }
  }
  return true;
}

void AppMenus::AppMenusInit()
{
  gAppInfos.fileRecordCount = 0;
  gAppInfos.recentMenuID = 0;
  for (frefinfos& r : gAppInfos.fileRecords) {
    r.state = 0;
    r.name[0] = 0;
  }
}

void AppMenus::InstallMenus(int16_t last)
{
  lastMenuID = last;
  AppMenusInit();
  std::vector<std::string> application;
  kvres::Resource menu;
  if (kvres::getResource(kResMenu, kAppMenuResourceID, &menu))
    application = kvres::parseStringList(menu.data);
  if (!application.empty() && kvmenu::newMenu(kAppMenuResourceID, application[0])) {
    for (size_t i = 1; i < application.size(); ++i)
      kvmenu::appendItem(kAppMenuResourceID, application[i]);
    kvmenu::insertMenu(kAppMenuResourceID);
    kvmenu::setItemCommand(kAppMenuResourceID, 1, fourcc("abou"));
    // The old system gave the application menu its Quit item.
    int16_t quit = kvmenu::itemCount(kAppMenuResourceID);
    if (quit > 1)
      kvmenu::setItemCommand(kAppMenuResourceID, quit, fourcc("quit"));
    menus[1] = true;
  }
  for (int16_t id = 2; id <= last && id < kAppMenuSlots; ++id) {
    GetMenusOpInfos(id, 0);
    int16_t count = int16_t(currentCommand);
    if (!kvmenu::newMenu(id, textOf(currentText))) {
      PlayAlertSound();
      continue;
    }
    menus[id] = true;
    InstallMenuItems(id, count);
    kvmenu::insertMenu(id);
  }
  kvmenu::insertWindowMenu();
  kvmenu::drawMenuBar();
}

void AppMenus::InstallMenuItems(int16_t menuID, int16_t count)
{
  for (int16_t item = 1; item <= count; ++item) {
    GetMenusOpInfos(menuID, item);
    int32_t command = currentCommand;
    Str63 text;
    std::memcpy(text, currentText, sizeof text);
    kvmenu::appendItem(menuID, textOf(text));
    AddToCmdTable(command, item, menuID, text);
    if (command == 0)
      kvmenu::enableItem(menuID, item, false);
  }
}

void AppMenus::SetEntry(AppMenuCmd& entry, int16_t item, int16_t menuID, ConstStringPtr text)
{
  entry.item = item;
  entry.menu = menuID;
  copyCut63(entry.name, text);
  kvmenu::setItemCommand(menuID, item, uint32_t(entry.command));
}

void AppMenus::AddToCmdTable(int32_t command, int16_t item, int16_t menuID, ConstStringPtr text)
{
  if (command <= 0)
    return;
  for (int16_t i = 0; i < commandCount; ++i) {
    if (commandTable[i].command == command) {
      SetEntry(commandTable[i], item, menuID, text);
      return;
    }
  }
  if (commandCount + 1 > kCmdTableLimit) {
    PlayAlertSound();
    PlayAlertSound();
    PlayAlertSound();
    kvmenu::setItemCommand(menuID, item, uint32_t(command));
    return;
  }
  AppMenuCmd& entry = commandTable[commandCount++];
  entry.command = command;
  SetEntry(entry, item, menuID, text);
}

void AppMenus::RebuildMenu(int16_t menuID)
{
  kvmenu::deleteMenu(menuID);
  GetMenusOpInfos(menuID, 0);
  int16_t count = int16_t(currentCommand);
  if (currentText[0] == 0)
    return;
  if (!kvmenu::newMenu(menuID, textOf(currentText))) {
    PlayAlertSound();
    return;
  }
  for (int16_t item = 1; item <= count; ++item) {
    GetMenusOpInfos(menuID, item);
    int32_t command = currentCommand;
    Str63 text;
    std::memcpy(text, currentText, sizeof text);
    kvmenu::appendItem(menuID, textOf(text));
    if (!UpdateCmdTable(command, item, menuID, text))
      AddToCmdTable(command, item, menuID, text);
    if (command == 0)
      kvmenu::enableItem(menuID, item, false);
  }
  // Back in its place: before the next menu id, else at the end (before
  // the window menu).
  int16_t before = 0;
  for (int16_t id : kvmenu::barMenus())
    if (id > menuID && (before == 0 || id < before))
      before = id;
  if (before == 0)
    before = kvmenu::kWindowMenuID;
  kvmenu::insertMenu(menuID, before);
  menus[menuID] = true;
}

const AppMenuCmd* AppMenus::GetOpcodeEntry(int32_t command) const
{
  for (int16_t i = 0; i < commandCount; ++i)
    if (commandTable[i].command == command)
      return &commandTable[i];
  return nullptr;
}

int32_t AppMenus::GetMenusOpcode(int16_t menuID, int16_t item)
{
  for (int16_t i = 0; i < commandCount; ++i) {
    if (commandTable[i].menu == menuID && commandTable[i].item == item) {
      currentCommand = commandTable[i].command;
      return currentCommand;
    }
  }
  return 0;
}

void AppMenus::GetOpcodeName(int32_t command, StringPtr out) const
{
  if (const AppMenuCmd* entry = GetOpcodeEntry(command))
    std::memcpy(out, entry->name, size_t(entry->name[0]) + 1);
  else
    SetPString(out, "Unfound");
}

void AppMenus::UpdateOpTable(int32_t command, int16_t item, int16_t menuID, ConstStringPtr text)
{
  for (int16_t i = 0; i < commandCount; ++i) {
    AppMenuCmd& entry = commandTable[i];
    if (entry.menu == menuID && entry.item == item) {
      entry.command = command;
      copyCut63(entry.name, text);
      return;
    }
  }
}

bool AppMenus::UpdateCmdTable(int32_t command, int16_t item, int16_t menuID, ConstStringPtr text)
{
  for (int16_t i = 0; i < commandCount; ++i) {
    if (commandTable[i].command == command) {
      SetEntry(commandTable[i], item, menuID, text);
      return true;
    }
  }
  return false;
}

void AppMenus::UpdateMenuName(int32_t command, ConstStringPtr text)
{
  if (const AppMenuCmd* entry = GetOpcodeEntry(command))
    kvmenu::setItemText(entry->menu, entry->item, textOf(text));
}

void AppMenus::UpdateMenuCheck(int32_t command, bool on)
{
  if (const AppMenuCmd* entry = GetOpcodeEntry(command))
    kvmenu::setItemMark(entry->menu, entry->item, on ? kCheckMark : 0);
}

void AppMenus::UpdateMenuFlag(int32_t command, bool on)
{
  const AppMenuCmd* entry = GetOpcodeEntry(command);
  if (!entry)
    return;
  if (!on)
    kvmenu::enableItem(entry->menu, entry->item, false);
  else if (entry->item >= 1)
    kvmenu::enableItem(entry->menu, entry->item, true);
}
