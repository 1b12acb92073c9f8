// Item sets for the tests: a scripted window to own them, and sets built in
// code, item by item, from default descriptions.
#pragma once

#include <gtest/gtest.h>
#include <string>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "imaging/ports.h"
#include "platform/ui.h"
#include "ui/twindow.h"
#include "ui/uilib.h"
#include "ui/uiset.h"

// A shown document window with its context open; counts Refresh calls.
struct SetOwner : TWindow
{
  explicit SetOwner(Rect r = Rect{100, 100, 400, 600})
      : TWindow(kDocumentWindowClass, 0, &r, 0, false)
  {
    OpenContext();
    Show();
  }
  void Refresh() override { ++refreshes; }
  int refreshes = 0;
};

// The item of `kind` over r (top, left, bottom, right), from the default
// description, built in the set's next slot.
inline uitem* AddItem(uiset& set, uint8_t kind, Rect r, uint8_t layer = 0)
{
  e_uiallinfos info;
  defaultuitem(&info, kind, r.left, r.top, int16_t(RectWidth(r)), int16_t(RectHeight(r)));
  info.layer = layer;
  uitem* item = uiset::Newuitem(set.count, &set.items[set.count], &info);
  ++set.count;
  return item;
}

inline std::string PText(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

inline void SetPText(StringPtr out, const std::string& text)
{
  out[0] = uint8_t(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    out[i + 1] = uint8_t(text[i]);
}

struct ScriptedSetTest : testing::Test
{
  void SetUp() override
  {
    kvui::startScripted();
    initAppGlobals(nullptr, 0, fourcc("Qjpr"));
    gopt = 0;
  }
  void TearDown() override
  {
    gopt = 0;
    SetGWorld(nullptr, nullptr);
    kvui::stop();
  }
};
