// Number items, sliders, scrollers and pop-up menus: their classes.
// Included by ui/uitem.h only, at the point where the classes deriving
// from uitem_number need them; include ui/uitem.h instead.
#pragma once

class uitem_popmenu : public uitem_text
{
public:
  explicit uitem_popmenu(const e_uiallinfos* info = nullptr);
  // A plain item's drawing and click, not a label's: the kind draws and
  // tracks its value in its own module.
  void Draw(uiset* set) override { uitem::Draw(set); }
  void Act(uiset* set, Point where) override { uitem::Act(set, where); }
  void SetDefaults() override;
  void SetEntries(int16_t count) override;
  void SetDataPointer(void* data) override;
  uiNumberInfo* GetNinf() override;

  uiNumberInfo number;  // data: the 16-bit selection; word2: the user pop-up procedure
};

class uitem_number : public uitem_text
{
public:
  explicit uitem_number(const e_uiallinfos* info = nullptr);
  // A plain item's drawing and click, not a label's: the kind draws and
  // tracks its value in its own module.
  void Draw(uiset* set) override { uitem::Draw(set); }
  void Act(uiset* set, Point where) override { uitem::Act(set, where); }
  void SetDefaults() override;
  void SetEntries(int16_t count) override;
  void Setminmax(float low, float high) override;
  void SetDataPointer(void* data) override;
  uiNumberInfo* GetNinf() override;

  uiNumberInfo number;  // data: the value edited; word2: a chooser's drawing procedure
};

class uitem_scroller : public uitem_number
{
public:
  explicit uitem_scroller(const e_uiallinfos* info = nullptr) : uitem_number(info) {}
  void SetDefaults() override;
};
