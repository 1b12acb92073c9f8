// Number items, sliders, scrollers and pop-up menus: their classes.
// Included by ui/uitem.h only, at the point where the classes deriving
// from uitem_number need them; include ui/uitem.h instead. The formulas
// and the drawing and tracking routines they share are in ui/uinumbers.h.
#pragma once

class Edoc;
class uitem_popmenu;

// A user pop-up's procedure (the item's `word2`): called with the window
// it draws into, the item, a rectangle, a cell index, a message and a
// parameter (see ui/uinumbers.h for the messages and what they carry).
using uiPopUpProc = int32_t (*)(Edoc* window, uitem_popmenu* item, Rect* r, int16_t index,
                                int16_t message, void* param);

class uitem_popmenu : public uitem_text
{
public:
  explicit uitem_popmenu(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  void SetDefaults() override;
  void SetEntries(int16_t count) override;
  void SetDataPointer(void* data) override;
  uiNumberInfo* GetNinf() override;

  // The text look: "name : entry" (or the entry alone for variant -1) and
  // a down arrow, clipped to r.
  void Draw_textpopItem(uiset* set, Rect* r, int16_t selection);
  // The picture grid and the user grid, shown at the point (the owner's
  // coordinates): the chosen cell, or -1 when cancelled; the user grid
  // answers 4095 for a release in its extra area. `flag` asks the user
  // grid for message 9 at the release.
  int16_t PopUpDlog(uiset* set, Rect* r, Point where, int16_t pictBase, int16_t selection,
                    int16_t look, int16_t flag);
  int16_t UserPopUpDlog(uiset* set, Rect* r, Point where, int16_t pictBase, int16_t selection,
                        int16_t look, int16_t flag);
  // Opens the chooser of the item's variant at the point (the grids at the
  // point moved by (8, 8)) and writes a result other than -1 to *selection;
  // returns the result.
  int16_t ActDirect(uiset* set, Point where, int16_t* selection);

  uiNumberInfo number;  // data: the 16-bit selection; word2: the user pop-up procedure

private:
  int16_t NativeMenu(int16_t selection, bool disableByMax);
  int16_t* selectionVariable() const { return static_cast<int16_t*>(number.data); }
};

class uitem_number : public uitem_text
{
public:
  explicit uitem_number(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  int16_t Key(uiset* set, int8_t character) override;
  void SetDefaults() override;
  void SetEntries(int16_t count) override;
  void Setminmax(float low, float high) override;
  void SetDataPointer(void* data) override;
  uiNumberInfo* GetNinf() override;

  // Draws the rail over `rail` and, unless drawOnly, tracks a press at
  // `where` in it; 1 when the press was in the rail, 0 otherwise.
  int16_t Scroller(uiset* set, Rect rail, Rect valueRect, void* data, Point where, bool drawOnly,
                   int16_t look);
  // Clamps the variable to the item's range (ui/uinumbers.h).
  void minmax();

  uiNumberInfo number;  // data: the value edited; word2: a chooser's drawing procedure
};

class uitem_scroller : public uitem_number
{
public:
  explicit uitem_scroller(const e_uiallinfos* info = nullptr) : uitem_number(info) {}
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  void SetDefaults() override;

  // Integers: value + delta; doubles: value + delta * 0.005; clamped to the
  // range.
  void Incpvalue(void* data, int32_t delta);
  // Stores the value of position p; 2 when there is no variable, else 0.
  int16_t Setpvalue(void* data, int32_t p);
  // The position of the variable (8192 without one).
  int32_t Getnormvalue(const void* data) const;

private:
  // The bar's rectangle: the frame's inner one for the arrow bar, `rect`
  // for the others (after taking the item's colours).
  Rect BarRect(uiset* set, bool drawFrame);
  int32_t RunLook(uiset* set, Rect r, int32_t start, Point where, bool drawOnly, int16_t* part);
};
