#include "ui/popupmenus.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/fileio.h"
#include "foundation/iodata.h"
#include "foundation/numbers.h"
#include "foundation/resfiles.h"
#include "imaging/ports.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "ui/atsutext.h"
#include "ui/porttext.h"
#include "ui/textencoding.h"

namespace {

std::string textOf(ConstStringPtr p)
{
  return p ? std::string(reinterpret_cast<const char*>(p + 1), p[0]) : std::string();
}

bool maskBit(uint32_t mask, size_t item)
{
  return item >= 1 && item <= 32 && (mask >> (item - 1)) & 1u;
}

// The string-list items: strings 1..count, or |count| strings from the
// second for a negative count; held to the strings the list has.
std::vector<kvui::MenuEntry> stringItems(int16_t listId, int16_t count, uint32_t checkMask,
                                         uint32_t disableMask)
{
  std::vector<std::string> strings = kvres::stringList(listId);
  size_t first = count < 0 ? 1 : 0;
  size_t wanted = size_t(count < 0 ? -int32_t(count) : count);
  size_t available = strings.size() > first ? strings.size() - first : 0;
  std::vector<kvui::MenuEntry> items(std::min(wanted, available));
  for (size_t i = 0; i < items.size(); ++i) {
    items[i].text = strings[first + i];
    items[i].checked = maskBit(checkMask, i + 1);
    items[i].enabled = !maskBit(disableMask, i + 1);
  }
  return items;
}

kvui::Point mouseOffset(int32_t down, int32_t right)
{
  kvui::Point m = kvui::mouseLocation();
  return {m.v + down, m.h + right};
}

int16_t show(const std::vector<kvui::MenuEntry>& items, kvui::Point where, int32_t underMouse,
             int16_t fontSize = 0)
{
  if (items.empty())
    return 0;
  return int16_t(kvui::popUpMenu(items, where, {underMouse, fontSize}));
}

}  // namespace

int16_t DoPopUpDirectMenu(int16_t listId, int16_t count, int16_t, uint32_t checkMask,
                          uint32_t disableMask)
{
  return show(stringItems(listId, count, checkMask, disableMask), mouseOffset(12, 4), 1,
              kPopUpMenuSize);
}

int16_t DoPopUpDirectMenuSpecList(int16_t listId, int16_t count, int16_t underMouse,
                                  uint32_t checkMask, uint32_t disableMask, const FileRef* refs,
                                  int16_t refCount)
{
  std::vector<kvui::MenuEntry> items = stringItems(listId, count, checkMask, disableMask);
  for (int16_t i = 0; refs && i < refCount && items.size() < size_t(kPopUpMaxItems); ++i) {
    Str255 name = {};
    xFile_getpascalName(refs[i], name);
    kvui::MenuEntry entry;
    entry.text = textOf(name);
    entry.checked = maskBit(checkMask, items.size() + 1);
    items.push_back(entry);
  }
  if (items.size() > size_t(kPopUpMaxItems))
    items.resize(size_t(kPopUpMaxItems));
  return show(items, mouseOffset(12, 4), underMouse & 127, kPopUpMenuSize);
}

int16_t DoPopUpDirectMenuNameList(int16_t underMouse, int16_t, const unsigned char (*names)[64],
                                  int16_t count)
{
  std::vector<kvui::MenuEntry> items;
  for (int16_t i = 0; names && i < count; ++i) {
    kvui::MenuEntry entry;
    // A name holds at most 63 bytes after its length byte.
    entry.text =
        std::string(reinterpret_cast<const char*>(names[i] + 1), std::min<size_t>(names[i][0], 63));
    items.push_back(entry);
  }
  return show(items, mouseOffset(12, 4), underMouse);
}

int16_t DoColorPopUpDirectMenu(int16_t listId, int16_t count, int16_t underMouse,
                               const normalcolor* colours)
{
  std::string base = kvres::indString(listId, 1);
  std::vector<kvui::MenuEntry> items;
  for (int16_t i = 1; colours && i <= count; ++i) {
    Str255 text = {};
    text[0] = uint8_t(std::min<size_t>(base.size(), 255));
    std::memcpy(text + 1, base.data(), text[0]);
    ConcatNumber(text, i);
    kvui::MenuEntry entry;
    entry.text = textOf(text);
    entry.coloured = true;
    // The 16-bit menu colour is the byte times 257: the same byte at 8 bits.
    entry.red = colours[i - 1].red;
    entry.green = colours[i - 1].green;
    entry.blue = colours[i - 1].blue;
    items.push_back(entry);
  }
  return show(items, mouseOffset(-2, 4), underMouse);
}

int16_t DoResPopMenu(Point where, OSType type, StringPtr name)
{
  int16_t file = kvres::currentStore();
  std::vector<kvui::MenuEntry> items;
  for (const kvres::Resource& r : kvres::resourcesOfType(file, type))
    if (!r.name.empty()) {
      kvui::MenuEntry entry;
      entry.text = r.name;
      items.push_back(entry);
    }
  int16_t chosen = show(items, {where.v - 2, where.h + 4}, 0);
  if (chosen <= 0)
    return 0;
  Str255 text = {};
  const std::string& chosenName = items[size_t(chosen - 1)].text;
  text[0] = uint8_t(std::min<size_t>(chosenName.size(), 255));
  std::memcpy(text + 1, chosenName.data(), text[0]);
  if (name)
    std::memcpy(name, text, size_t(text[0]) + 1);
  return NameToResID(file, type, text);
}

int16_t PopUpFavoriteDir(Point inPort)
{
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&port, &device);
  Point global = port ? LocalToGlobal(port, inPort) : inPort;
  std::vector<kvui::MenuEntry> items(1);
  items[0].text = "Application directory";
  int16_t count = std::clamp<int16_t>(gIOdata.favouriteCount, 0, kIOFavouriteCount);
  for (int16_t i = 1; i < count; ++i) {
    kvui::MenuEntry entry;
    entry.text = gIOdata.favourites[i].name;
    items.push_back(entry);
  }
  return show(items, {global.v - 2, global.h + 4}, 1);
}

void reportBoxText(ConstStringPtr text, int32_t number, const Rect* box)
{
  if (!box)
    return;
  Str255 line = {};
  if (text)
    std::memcpy(line, text, size_t(text[0]) + 1);
  ConcatNumber(line, number);
  std::vector<UniChar> utf16 = UItext_UTF16FromPascal(line);
  atsuFVTextBox(utf16.data(), int32_t(utf16.size()), box, 0, 0, 0, true, nullptr);
}

void SetFontAndSize(int16_t resId, int16_t defaultFont, int16_t defaultSize)
{
  int16_t font = defaultFont, size = defaultSize;
  kvres::Resource r;
  if (kvres::getResource(kResFontSize, resId, &r) && r.data.size() >= 4) {
    font = int16_t((r.data[0] << 8) | r.data[1]);
    size = int16_t((r.data[2] << 8) | r.data[3]);
  }
  TextFont(font);
  TextSize(size);
}
