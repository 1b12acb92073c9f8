// Picture buttons, check boxes and radio buttons: what their classes in
// ui/uitem.h share with callers.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "ui/qztext.h"

struct uiset;
struct uiItemRecord;
class Edoc;

// The swatch procedure of a tabbed chooser list (its `word2`): draws entry
// i into the item's rectangle, which holds the swatch while it is called.
using uiChooserDrawProc = void (*)(uiItemRecord* item, Edoc* owner, int16_t i, int16_t message);

// Built-in pictures of the check and radio marks.
inline constexpr int16_t kUIPictCheckMark = -1;
inline constexpr int16_t kUIPictRadioOff = -2;
inline constexpr int16_t kUIPictRadioOn = -3;

// A classic radio cell: the 16 x 16 radio mark at the left, vertically
// centred, then string i + 1 of list `stringList`.
void Draw_RadioItem(uiset* set, const uiItemRecord* item, const textLook* look, const Rect* cell,
                    int16_t stringList, int16_t i, bool selected);
