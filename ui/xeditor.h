// An editor with an item set of its own that a window embeds through an
// editor item (kind 14). The embedding program supplies the editor and its
// procedures; the item calls them in the order it receives clicks, keys and
// hovering.
#pragma once

#include <cstdint>

#include "foundation/types.h"

struct uiset;
class Edoc;
class Xeditor;

using XeditorActProc = void (*)(Xeditor* editor, Point where);
// Returns a small code: 2 or less when the key was taken.
using XeditorKeyProc = int16_t (*)(Edoc* owner, int8_t key, Xeditor* editor);
using XeditorHiliteProc = void (*)(Xeditor* editor, Point where);

class Xeditor
{
public:
  uiset* items = nullptr;  // the editor's own item set
  bool active = false;
  XeditorActProc act = nullptr;
  XeditorKeyProc key = nullptr;
  XeditorHiliteProc hilite = nullptr;
};
