// The menu bar's model and the choice of an item, shared by both backends.

#include <algorithm>
#include <cctype>

#include "platform/menubar_pvt.h"

namespace kvmenu {

namespace detail {

// The scripted backend's bars: only which windows have one.
void scriptedAttach(kvui::WindowRef window);
bool scriptedHasBar(kvui::WindowRef window);
void scriptedForget();

}  // namespace detail

namespace {

struct Handlers
{
  CommandHandler command = nullptr;
  AdjustHandler adjust = nullptr;
};

Handlers& H()
{
  static Handlers handlers;
  return handlers;
}

bool gtkBars()
{
  return kvui::isStarted() && !kvui::isScriptedBackend();
}

detail::Item* findItem(int16_t menuID, int16_t item)
{
  detail::Menu* m = detail::findMenu(menuID);
  if (!m || item < 1 || item > int16_t(m->items.size()))
    return nullptr;
  return &m->items[size_t(item - 1)];
}

// The item of a text with its metacharacters: "-" a separator, a leading
// "(" disabled, "/X" the command key (the text stops before the blank in
// front of it).
detail::Item parseItem(const std::string& text)
{
  detail::Item it;
  std::string t = text;
  if (t == "-") {
    it.separator = true;
    it.enabled = false;
    it.text = t;
    return it;
  }
  if (!t.empty() && t.front() == '(') {
    it.enabled = false;
    t.erase(0, 1);
  }
  size_t slash = t.rfind('/');
  if (slash != std::string::npos && slash + 2 == t.size() &&
      std::isalnum(static_cast<unsigned char>(t[slash + 1]))) {
    it.key = char(std::toupper(static_cast<unsigned char>(t[slash + 1])));
    t.erase(slash);
  }
  while (!t.empty() && t.back() == ' ')
    t.pop_back();
  it.text = t;
  return it;
}

void sync(int16_t menuID, int16_t item)
{
  if (gtkBars())
    detail::gtkSyncItem(menuID, item);
}

void rebuild()
{
  if (gtkBars())
    detail::gtkRebuildAll();
}

}  // namespace

namespace detail {

std::vector<Menu>& menus()
{
  static std::vector<Menu> list;
  return list;
}

Menu* findMenu(int16_t id)
{
  for (Menu& m : menus())
    if (m.id == id)
      return &m;
  return nullptr;
}

void adjustMenu(int16_t menuID)
{
  if (H().adjust)
    H().adjust(menuID);
}

std::vector<kvui::WindowRef> windowMenuWindows()
{
  std::vector<kvui::WindowRef> list;
  for (kvui::WindowRef w : kvui::windows())
    if (hasMenuBar(w))
      list.push_back(w);
  return list;
}

}  // namespace detail

void setCommandHandler(CommandHandler handler)
{
  H().command = handler;
}

void setAdjustHandler(AdjustHandler handler)
{
  H().adjust = handler;
}

bool newMenu(int16_t id, const std::string& title)
{
  if (id == kWindowMenuID)
    return false;
  if (detail::Menu* m = detail::findMenu(id)) {
    m->title = title;
    m->items.clear();
    rebuild();
    return true;
  }
  detail::menus().push_back(detail::Menu{id, title, {}, false});
  return true;
}

bool insertMenu(int16_t id, int16_t beforeID)
{
  auto& list = detail::menus();
  auto it =
      std::find_if(list.begin(), list.end(), [&](const detail::Menu& m) { return m.id == id; });
  if (it == list.end())
    return false;
  detail::Menu m = *it;
  list.erase(it);
  m.inBar = true;
  auto before = std::find_if(list.begin(), list.end(), [&](const detail::Menu& x) {
    return x.inBar && x.id == beforeID && beforeID != 0;
  });
  if (before == list.end())
    before = std::find_if(list.begin(), list.end(), [](const detail::Menu& x) { return !x.inBar; });
  list.insert(before, m);
  rebuild();
  return true;
}

void deleteMenu(int16_t id)
{
  std::erase_if(detail::menus(), [&](const detail::Menu& m) { return m.id == id; });
  rebuild();
}

bool menuExists(int16_t id)
{
  return detail::findMenu(id) != nullptr;
}

void insertWindowMenu()
{
  auto& list = detail::menus();
  std::erase_if(list, [](const detail::Menu& m) { return m.id == kWindowMenuID; });
  auto end = std::find_if(list.begin(), list.end(), [](const detail::Menu& x) { return !x.inBar; });
  list.insert(end, detail::Menu{kWindowMenuID, "Window", {}, true});
  rebuild();
}

std::vector<int16_t> barMenus()
{
  std::vector<int16_t> ids;
  for (const detail::Menu& m : detail::menus())
    if (m.inBar)
      ids.push_back(m.id);
  return ids;
}

std::string menuTitle(int16_t id)
{
  detail::Menu* m = detail::findMenu(id);
  return m ? m->title : std::string();
}

void clear()
{
  detail::menus().clear();
  H() = Handlers{};
  if (gtkBars())
    detail::gtkForget();
  detail::scriptedForget();
}

bool appendItem(int16_t menuID, const std::string& text)
{
  detail::Menu* m = detail::findMenu(menuID);
  if (!m || menuID == kWindowMenuID)
    return false;
  m->items.push_back(parseItem(text));
  rebuild();
  return true;
}

int16_t itemCount(int16_t menuID)
{
  if (menuID == kWindowMenuID)
    return int16_t(detail::windowMenuWindows().size());
  detail::Menu* m = detail::findMenu(menuID);
  return m ? int16_t(m->items.size()) : 0;
}

void setItemCommand(int16_t menuID, int16_t item, uint32_t command)
{
  if (detail::Item* it = findItem(menuID, item))
    it->command = command;
}

uint32_t itemCommand(int16_t menuID, int16_t item)
{
  detail::Item* it = findItem(menuID, item);
  return it ? it->command : 0;
}

void setItemText(int16_t menuID, int16_t item, const std::string& text)
{
  detail::Item* it = findItem(menuID, item);
  if (!it)
    return;
  detail::Item parsed = parseItem(text);
  it->text = parsed.text;
  sync(menuID, item);
}

std::string itemText(int16_t menuID, int16_t item)
{
  if (menuID == kWindowMenuID) {
    auto list = detail::windowMenuWindows();
    return item >= 1 && item <= int16_t(list.size()) ? kvui::windowTitle(list[size_t(item - 1)])
                                                     : std::string();
  }
  detail::Item* it = findItem(menuID, item);
  return it ? it->text : std::string();
}

char itemKey(int16_t menuID, int16_t item)
{
  detail::Item* it = findItem(menuID, item);
  return it ? it->key : 0;
}

void enableItem(int16_t menuID, int16_t item, bool enabled)
{
  detail::Item* it = findItem(menuID, item);
  if (!it || it->separator || it->enabled == enabled)
    return;
  it->enabled = enabled;
  sync(menuID, item);
}

bool isItemEnabled(int16_t menuID, int16_t item)
{
  if (menuID == kWindowMenuID)
    return item >= 1 && item <= itemCount(menuID);
  detail::Item* it = findItem(menuID, item);
  return it && it->enabled;
}

bool isSeparator(int16_t menuID, int16_t item)
{
  detail::Item* it = findItem(menuID, item);
  return it && it->separator;
}

void setItemMark(int16_t menuID, int16_t item, uint8_t mark)
{
  detail::Item* it = findItem(menuID, item);
  if (!it || it->mark == mark)
    return;
  it->mark = mark;
  sync(menuID, item);
}

uint8_t itemMark(int16_t menuID, int16_t item)
{
  detail::Item* it = findItem(menuID, item);
  return it ? it->mark : 0;
}

bool findCommand(uint32_t command, int16_t* menuID, int16_t* item)
{
  if (command == 0)
    return false;
  for (const detail::Menu& m : detail::menus())
    for (size_t i = 0; i < m.items.size(); ++i)
      if (m.items[i].command == command) {
        if (menuID)
          *menuID = m.id;
        if (item)
          *item = int16_t(i + 1);
        return true;
      }
  return false;
}

void enableCommand(uint32_t command, bool enabled)
{
  if (command == 0)
    return;
  for (detail::Menu& m : detail::menus())
    for (size_t i = 0; i < m.items.size(); ++i)
      if (m.items[i].command == command)
        enableItem(m.id, int16_t(i + 1), enabled);
}

void attachMenuBar(kvui::WindowRef window)
{
  if (!window || hasMenuBar(window))
    return;
  if (gtkBars())
    detail::gtkAttach(window);
  else
    detail::scriptedAttach(window);
}

bool hasMenuBar(kvui::WindowRef window)
{
  if (!window)
    return false;
  return gtkBars() ? detail::gtkHasBar(window) : detail::scriptedHasBar(window);
}

int32_t menuBarHeight(kvui::WindowRef window)
{
  if (!gtkBars() || !hasMenuBar(window))
    return 0;
  return kvui::detail::gtkTopWidgetHeight(window);
}

void drawMenuBar()
{
  rebuild();
}

bool chooseItem(int16_t menuID, int16_t item)
{
  detail::adjustMenu(menuID);
  if (menuID == kWindowMenuID) {
    auto list = detail::windowMenuWindows();
    if (item < 1 || item > int16_t(list.size()))
      return false;
    kvui::selectWindow(list[size_t(item - 1)]);
    return true;
  }
  detail::Item* it = findItem(menuID, item);
  if (!it || !it->enabled || it->command == 0)
    return false;
  // The handler may change the menus: the command is read first.
  uint32_t command = it->command;
  if (H().command)
    H().command(command, menuID);
  return true;
}

bool pressCommandKey(char key)
{
  key = char(std::toupper(static_cast<unsigned char>(key)));
  if (key == 0)
    return false;
  for (int16_t id : barMenus())
    detail::adjustMenu(id);
  for (const detail::Menu& m : detail::menus()) {
    if (!m.inBar)
      continue;
    for (size_t i = 0; i < m.items.size(); ++i) {
      const detail::Item& it = m.items[i];
      if (it.key == key && it.enabled && it.command != 0) {
        uint32_t command = it.command;
        int16_t id = m.id;
        if (H().command)
          H().command(command, id);
        return true;
      }
    }
  }
  return false;
}

}  // namespace kvmenu
