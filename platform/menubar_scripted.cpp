// The scripted backend's menu bars: no widgets, only which windows have
// one. Tests choose items through kvmenu::chooseItem and pressCommandKey.

#include <algorithm>

#include "platform/menubar_pvt.h"

namespace kvmenu::detail {

namespace {

std::vector<kvui::WindowRef>& bars()
{
  static std::vector<kvui::WindowRef> list;
  return list;
}

}  // namespace

void scriptedAttach(kvui::WindowRef window)
{
  bars().push_back(window);
}

bool scriptedHasBar(kvui::WindowRef window)
{
  // A disposed window no longer counts (its address may be reused).
  auto live = kvui::windows();
  std::erase_if(bars(), [&](kvui::WindowRef w) {
    return std::find(live.begin(), live.end(), w) == live.end();
  });
  return std::find(bars().begin(), bars().end(), window) != bars().end();
}

void scriptedForget()
{
  bars().clear();
}

}  // namespace kvmenu::detail
