// Colour, gradation and vector items: their classes. Included by
// ui/uitem.h only, after uitem_number; include ui/uitem.h instead.
//
// None of them calls the command callback: they change the variables in
// place, set their `changed` flag and leave the element touched in the
// set's last chosen value. Their drawing and tracking live in
// ui/uicolors.cpp and ui/uicolorvectors.cpp.
#pragma once

class Edoc;

// Edits one normalcolor through a colour chart (chart altStyle + 1100).
class uitem_colorpop : public uitem
{
public:
  explicit uitem_colorpop(const e_uiallinfos* info = nullptr);
  // The frame, then the inner rectangle filled with the colour (shown) or
  // work colour 1.
  void Draw(uiset* set) override;
  // Opens the chart at the item's bottom-left corner with the colour-pick
  // cursor; the picked colour fills the rectangle.
  void Act(uiset* set, Point where) override;
  void SetDefaults() override;
  void SetDataPointer(void* data) override;

  normalcolor* color = nullptr;
};

// Draws and edits `entries` elements as bars or a curve; the element type
// follows the variant (GetAuxTypeSize). Variants above 3 show the element
// last touched on a 16-pixel value line under the vector.
class uitem_multivector : public uitem_number
{
public:
  explicit uitem_multivector(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  int16_t Key(uiset*, int8_t) override { return 0; }
  void SetDefaults() override;
  // The element size in bytes; *typeCode gets 5 (double: variants 1, 3, 5),
  // 1 (the red, green and blue bytes of a colour: variant 6) or 2 (16-bit
  // integers: the others).
  int16_t GetAuxTypeSize(int16_t* typeCode) const;
  // Draws the vector in r (the rectangle inside the frame) and, with a
  // point, edits it while the button is held. Returns the element touched
  // last, -1 for none.
  int16_t Common(uiset* set, Rect r, bool drawOnly, const Point* where);

  int16_t shownElement = 0;  // the element the value line shows

private:
  // The element shown as text on the bottom line of r: an integer (variant
  // 4), a real held to 0..1 (5), or the channel's name and byte (6, which
  // also becomes the item's name).
  void DrawValueLine(uiset* set, Rect r);
};

// A table of `entries` colours: variant 0 a gradation through them (a click
// opens the chart of the colour square under it), variant 2 a grid of cells
// of which `index` is selected (-1 none).
class uitem_cgradation : public uitem_number
{
public:
  explicit uitem_cgradation(const e_uiallinfos* info = nullptr);
  void Draw(uiset* set) override;
  void Act(uiset* set, Point where) override;
  void PreHilite(uiset* set) override;
  int16_t Key(uiset*, int8_t) override { return 0; }
  // The rectangle of cell i of the grid (i held to the cells), inside the
  // frame as last drawn.
  Rect GetHitBox(int16_t i);

private:
  // Draws the frame; the rectangle inside it.
  Rect Inner(uiset* set);
  void DrawCell(uiset* set, const matrix& m, int16_t i, bool selected);
  normalcolor* Colors() const { return static_cast<normalcolor*>(number.data); }

  Rect gridRect{};
};

// The colour chart pop-up: a borderless window showing chart picture
// `chartID` with ramps and channel columns at `where` (global), in which
// the user picks a colour with the button still down; the colour under the
// mouse is shown live in `itemRect` of the owner. At the release the colour
// takes the last colour read (its alpha kept); a release without a move
// keeps it. True when the colour changed.
bool ColorPopUpDlog(Edoc* owner, const Rect* itemRect, Point where, normalcolor* color,
                    int16_t chartID);
// Draws `count` colour squares side by side over r and, unless drawOnly,
// opens the chart (by look: 31100 for 2, 31101 for 3, 1101 for 1, else
// 1100) for the square under *click at its bottom-left corner. Returns the
// square clicked, -1 for none.
int32_t docolorsquares(uiset* set, Rect r, int32_t count, normalcolor* colors, bool drawOnly,
                       const Point* click, int16_t look);
