// The file chooser and pop-up menu services of the window layer: the calls
// the program makes, handed to the backend that runs the dialog.

#include <algorithm>

#include "platform/ui_pvt.h"

namespace kvui {

namespace detail {

void chooserMessage(Chooser* c, int16_t message, const Event* event)
{
  if (c->request.eventProc)
    c->request.eventProc(message, c, event, c->request.eventUser);
}

void fitCustomPixels(Chooser* c)
{
  int32_t width = std::clamp(c->customRect.right - c->customRect.left, 0, 4096);
  int32_t height = std::clamp(c->customRect.bottom - c->customRect.top, 0, 4096);
  c->customPixels.assign(size_t(width) * size_t(height) * 4, 0);
}

}  // namespace detail

bool runChooser(const ChooserRequest& request, ChooserReply* reply)
{
  const detail::Backend* b = detail::backend();
  if (!onUIThread() || !b || !b->runChooser)
    return false;
  Chooser chooser;
  chooser.request = request;
  chooser.saveName = request.saveName;
  ChooserReply answer;
  bool chosen = b->runChooser(&chooser, &answer);
  if (chosen && reply)
    *reply = answer;
  return chosen;
}

Rect chooserCustomRect(Chooser* chooser)
{
  return chooser ? chooser->customRect : Rect{};
}

void setChooserCustomRect(Chooser* chooser, Rect r)
{
  if (!chooser)
    return;
  chooser->customRect = r;
  detail::fitCustomPixels(chooser);
}

void chooserShowFolder(Chooser* chooser, const std::string& path)
{
  if (!chooser)
    return;
  chooser->shownFolder = path;
  if (chooser->showFolder)
    chooser->showFolder(chooser, path);
}

void chooserSelectItem(Chooser* chooser, const std::string& path)
{
  if (!chooser)
    return;
  chooser->selectedItem = path;
  if (chooser->selectItem)
    chooser->selectItem(chooser, path);
}

std::vector<std::string> chooserSelection(Chooser* chooser)
{
  return chooser ? chooser->selection : std::vector<std::string>{};
}

std::string chooserSaveName(Chooser* chooser)
{
  if (!chooser)
    return {};
  return chooser->saveNameNow ? chooser->saveNameNow(chooser) : chooser->saveName;
}

void setChooserSaveName(Chooser* chooser, const std::string& name)
{
  if (!chooser)
    return;
  chooser->saveName = name;
  if (chooser->setSaveName)
    chooser->setSaveName(chooser, name);
}

Surface chooserCustomSurface(Chooser* chooser)
{
  if (!chooser || chooser->customPixels.empty())
    return {};
  int32_t width = chooser->customRect.right - chooser->customRect.left;
  int32_t height = chooser->customRect.bottom - chooser->customRect.top;
  return Surface{chooser->customPixels.data(), width * 4, width, height, 0};
}

int32_t popUpMenu(const std::vector<MenuEntry>& entries, Point where,
                  const MenuPlacement& placement)
{
  const detail::Backend* b = detail::backend();
  if (!onUIThread() || !b || !b->popUpMenu || entries.empty())
    return 0;
  int32_t chosen = b->popUpMenu(entries, where, placement);
  return chosen >= 1 && chosen <= int32_t(entries.size()) ? chosen : 0;
}

}  // namespace kvui
