// The gradient editor: a polling-mode dialog (layout 1031, OK and Cancel
// boxes) that edits a copy of a palette and gives it back on OK.
//
// Items of layout 1031:
//   1        the working palette (a gradation); a click reads the channel
//            vectors again
//   2, 3     one colour less (never below 2) or more (at most 63; the new
//            last colour copies the one before it)
//   4, 5, 6  the red, green and blue vectors, 0..1020 (channel x 4); an
//            edit rebuilds the palette and makes that channel the edited one
//   12, 13   load a palette library (its first palette becomes the working
//            one) or save the library
//   14       the library's pop-up: store the palette, choose or delete one
//   15..23   interactive transforms (hue, contrast, saturation, brightness,
//            smooth, rotate, red, green, blue): while the button is held
//            the amount (128 at the press) follows the mouse's horizontal
//            movement, held to 0..255
//   7..11    variation, reverse, invert, ramp, double
//   24       the resample menu (menu 148): 3, 5, 7, 9, 12, 16 or 24 colours
// With option held a command changes only the edited channel.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "engine/palettes.h"
#include "ui/dialogbase.h"

inline constexpr int16_t kGradEditDialogID = 1031;
inline constexpr int16_t kResampleMenuID = 148;
inline constexpr int32_t kStoreGradationSlots = 39;
inline constexpr int16_t kGradEditMinCount = 2;
inline constexpr int16_t kGradEditMaxCount = 63;
// The colour counts of the resample menu's items 1 to 7.
inline constexpr int32_t kResampleCounts[7] = {3, 5, 7, 9, 12, 16, 24};

class IB_GradEdit_dlog : public IBbasedlog
{
public:
  IB_GradEdit_dlog(cpalette* palette, cpalettelib* library);
  // Edits until OK (the palette receives the working copy: true) or Cancel.
  bool Run();
  // One event of the editor's loop.
  void Dispatch(const kvui::Event* event, int16_t* result);
  // The vectors from the working palette; the items take its count.
  void UpdateUiset();
  // The interactive transform of the mode while the button is held.
  void colortransform(cpalette* source, cpalette* target, int16_t mode);
  // A command of an item (its opcode).
  void Command(int32_t command);

  cpalettelib* library = nullptr;
  cpalette* edited = nullptr;
  cpalette working;
  int16_t red[kPaletteSlots] = {};
  int16_t green[kPaletteSlots] = {};
  int16_t blue[kPaletteSlots] = {};
  uint8_t channel = 0;  // 0 red, 1 green, 2 blue

protected:
  void PollEvent(const kvui::Event& event) override;
  bool ModalDone() const override { return keyResult == 1 || keyResult == 2; }

private:
  void ClickedItem(int16_t item);
  void ChangeCount(int32_t delta);
  void Resample();
  void Redraw();
};

int16_t do_GradEdit_Command(Edoc* doc, int32_t command, void* data);

// Edits the palette (the library for the library items); true when OK was
// chosen and the palette was replaced.
bool do_GradEdit_dlog(cpalette* palette, cpalettelib* library);

// The library's pop-up at box (the set owner's coordinates): entry 0
// "Store gradation" stores *out into the library (first empty slot of
// the first 39); another entry gives its palette to *out (true), or with
// option held deletes it; an empty palette beeps.
bool ChooseColorGrad(uiset* set, cpalettelib* library, cpalette* out, Rect box);
// What a choice of that pop-up does (-1: none): entry 0 stores *out, an
// entry of a palette gives it to *out (true) or, with option, deletes it;
// an empty one beeps.
bool ApplyGradationChoice(cpalettelib* library, cpalette* out, int16_t choice, bool option);
// The pop-up's drawing procedure: cells 160 x 14, entry 0 the text, the
// others their palette.
int32_t myGraduationsPopUp(Edoc* window, uitem_popmenu* item, Rect* r, int16_t index,
                           int16_t message, void* param);
