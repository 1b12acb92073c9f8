// Items built from descriptions: the class of each kind, what construction
// and SetDefaults give, opacity and the accessors.
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "imaging/qzimages.h"
#include "tests/ui/uiset_fixture.h"

namespace {

// One item built in its own slot, killed at the end.
struct Built
{
  explicit Built(const e_uiallinfos& info) : item(uiset::Newuitem(0, &slot, &info)) {}
  ~Built()
  {
    item->Killuitem();
    item->~uitem();
  }
  uiItemSlot slot;
  uitem* item;
};

e_uiallinfos description(uint8_t kind, int16_t entries = 1, uint8_t just = 1)
{
  e_uiallinfos info;
  defaultuitem(&info, kind, 10, 20, 100, 30);
  info.entries = entries;
  info.textLook.just = just;
  info.editing = 1;
  info.needsRedraw = 0;
  return info;
}

TEST(UItemTest, NewuitemBuildsTheClassOfEachKind)
{
  struct Case
  {
    uint8_t kind;
    int16_t entries;
    uint8_t just;
    std::type_index type;
    uint8_t kindAfter;
    int16_t entriesAfter;  // from GetNinf, -9 without one
    uint8_t justAfter;     // from GetTinf, 99 without one
  };
  const Case cases[] = {
      {0, 1, 1, typeid(uitem_Box), 0, -9, 99},
      {1, 1, 1, typeid(uitem_text), 1, -9, 1},
      {2, 1, 1, typeid(uitem_textButton), 2, -9, 1},
      {3, 1, 1, typeid(uitem_editText), 3, -9, 1},
      {4, 1, 1, typeid(uitem_pictButton), 4, -9, 99},
      {5, 0, 1, typeid(uitem_scroller), 5, 0, 1},
      {6, 3, 1, typeid(uitem_checkbox), 6, 3, 1},
      {7, 1, 1, typeid(uitem_radiobuttons), 7, 2, 1},
      {8, 5, 1, typeid(uitem_popmenu), 8, 5, 1},
      {9, 1, 1, typeid(uitem_colorpop), 9, -9, 99},
      {10, 1, 1, typeid(uitem_custom), 10, -9, 99},
      {11, 1, 4, typeid(uitem_number), 11, 1, 1},  // justified modulo 3
      {11, 1, 5, typeid(uitem_number), 11, 1, 2},
      {12, 0, 1, typeid(uitem_multivector), 12, 2, 1},
      {13, 1, 1, typeid(uitem_cgradation), 13, 2, 1},
      {14, 1, 1, typeid(uitem_xeditor), 14, -9, 99},
      {15, 1, 1, typeid(uitem_Box), 0, -9, 99},
      {200, 1, 1, typeid(uitem_Box), 0, -9, 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.kind));
    Built b(description(c.kind, c.entries, c.just));
    uitem& item = *b.item;
    EXPECT_EQ(std::type_index(typeid(item)), c.type);
    EXPECT_EQ(item.kind, c.kindAfter);
    EXPECT_EQ(item.editing, 0);
    EXPECT_EQ(item.needsRedraw, 1);
    EXPECT_EQ(item.cachedImage, nullptr);
    EXPECT_EQ(item.rect, (Rect{20, 10, 50, 110}));
    EXPECT_EQ(item.GetNinf() ? item.GetNinf()->entries : -9, c.entriesAfter);
    EXPECT_EQ(item.GetTinf() ? item.GetTinf()->just : 99, c.justAfter);
  }
}

TEST(UItemTest, ConstructionTakesTheKindsWords)
{
  e_uiallinfos button = description(kUITextButton);
  button.word1 = fourcc("ok  ");
  button.variant = 3;
  Built text(button);
  EXPECT_EQ(text.item->GetOpcode(), int32_t(fourcc("ok  ")));
  EXPECT_EQ(text.item->variant, 0);

  e_uiallinfos pict = description(kUIPictButton);
  pict.word1 = 51;
  pict.index = 4;
  Built picture(pict);
  EXPECT_EQ(picture.item->GetOpcode(), 51);
  EXPECT_EQ(picture.item->index, 0);

  int16_t selection = 0;
  e_uiallinfos pop = description(kUIPopMenu, 6);
  pop.word1 = reinterpret_cast<uiWord>(&selection);
  pop.word2 = 99;
  pop.mode = 2;
  pop.max = 7.5f;
  Built menu(pop);
  const uiNumberInfo* n = menu.item->GetNinf();
  EXPECT_EQ(n->data, &selection);
  EXPECT_EQ(n->word2, 99u);
  EXPECT_EQ(n->mode, 2);
  EXPECT_EQ(n->max, 7.5f);

  e_uiallinfos number = description(kUINumber);
  number.word1 = 1234;
  number.word2 = 5;
  Built num(number);
  EXPECT_EQ(num.item->GetNinf()->data, nullptr);  // the owner sets it
  EXPECT_EQ(num.item->GetNinf()->word2, 5u);

  e_uiallinfos radio = description(kUIRadioButtons);
  radio.word2 = 5;
  Built chooser(radio);
  EXPECT_EQ(chooser.item->GetNinf()->word2, 0u);

  Built gradation(description(kUICGradation));
  EXPECT_EQ(gradation.item->index, -1);

  e_uiallinfos custom = description(kUICustom);
  custom.transparency = 1;
  Built c(custom);
  EXPECT_EQ(c.item->transparency, 0);

  Built edit(description(kUIEditText));
  EXPECT_EQ(static_cast<uitem_editText*>(edit.item)->text, edit.item->name);
}

TEST(UItemTest, ConstructionWithoutADescription)
{
  uitem_text text;
  EXPECT_EQ(text.look.size, 12);
  EXPECT_EQ(text.look.font, 21);
  uitem_number number;
  EXPECT_EQ(number.look.size, 9);
  EXPECT_EQ(number.look.font, 4);
  uitem_chooser chooser;
  EXPECT_EQ(chooser.resID, 150);
  EXPECT_EQ(chooser.number.entries, 1);
  uitem_textButton button;
  EXPECT_EQ(button.resID, 128);
  EXPECT_EQ(button.opcode, 0);
  uitem_pictButton pict;
  EXPECT_EQ(pict.resID, 128);
}

TEST(UItemTest, SetDefaultsByClass)
{
  struct Case
  {
    uint8_t kind;
    const char* name;
    int8_t style, altStyle;  // -99: unchanged
    Rect rect;
  };
  const Rect given{20, 10, 50, 110};
  const Case cases[] = {
      {kUIBox, "Box", -99, -99, given},
      {kUIText, "text item", 1, -99, given},
      {kUITextButton, " Button", 0, 6, given},
      {kUIEditText, "edit text", 3, -99, given},
      {kUIPictButton, "Pict", -99, -99, given},
      {kUIScroller, "checkbox", 1, -99, Rect{20, 10, 36, 138}},
      {kUICheckbox, "checkbox", 1, -99, Rect{20, 10, 36, 138}},
      {kUIRadioButtons, "Radio", 0, 6, Rect{20, 10, 54, 110}},
      {kUIPopMenu, "PopUpMenus", 2, -99, Rect{20, 10, 36, 138}},
      {kUIColorPop, "color", -99, -99, given},
      {kUICustom, "Custom", -99, -99, given},
      {kUINumber, "", 3, 2, given},
      {kUIMultiVector, "keep", -99, -99, given},
      {kUICGradation, "", 3, 2, given},
      {kUIXEditor, "CustomEditor", -99, -99, given},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.kind));
    e_uiallinfos info = description(c.kind);
    info.style = 9;
    info.altStyle = 9;
    SetPText(info.name, "keep");
    Built b(info);
    b.item->SetDefaults();
    EXPECT_EQ(PText(b.item->name), c.name);
    EXPECT_EQ(b.item->style, c.style == -99 ? 9 : c.style);
    EXPECT_EQ(b.item->altStyle, c.altStyle == -99 ? 9 : c.altStyle);
    EXPECT_EQ(b.item->rect, c.rect);
  }
  Built button(description(kUITextButton));
  button.item->SetDefaults();
  EXPECT_EQ(button.item->name[0], 7);  // the leading blank is kept
  EXPECT_EQ(button.item->GetTinf()->face, 4);
  Built radio(description(kUIRadioButtons, 5));
  radio.item->SetDefaults();
  EXPECT_EQ(radio.item->GetNinf()->entries, 2);
  EXPECT_EQ(radio.item->columns, 1);
  Built vector(description(kUIMultiVector));
  vector.item->SetDefaults();
  EXPECT_EQ(vector.item->GetNinf()->max, 128.0f);
  Built box(description(kUIBox));
  box.item->SetDefaults();
  EXPECT_EQ(box.item->variant, 3);
}

TEST(UItemTest, Opacity)
{
  struct Case
  {
    uint8_t kind;
    int8_t style, variant;
    uint8_t transparency;
    bool opaque;
  };
  const Case cases[] = {
      {kUIColorPop, 6, 0, 0, false},   {kUIColorPop, 7, 0, 1, true},
      {kUIColorPop, 3, 0, 0, true},    {kUIColorPop, 3, 0, 1, false},
      {kUICustom, 3, 0, 1, false},     {kUICustom, 8, 0, 1, true},
      {kUIText, 3, 0, 0, false},       {kUIText, 7, 0, 1, true},
      {kUINumber, 6, 0, 0, false},     {kUIPopMenu, 9, 0, 0, true},
      {kUIBox, 6, 0, 0, false},        {kUIBox, 3, 0, 1, true},
      {kUIBox, 3, 3, 1, false},        {kUIBox, 3, 3, 0, true},
      {kUIPictButton, 8, 2, 0, false}, {kUIPictButton, 8, 1, 1, true},
      {kUIPictButton, 3, 1, 1, false}, {kUIPictButton, 3, 1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << " style " << int(c.style)
                                    << " variant " << int(c.variant));
    e_uiallinfos info = description(c.kind);
    info.style = c.style;
    info.variant = c.variant;
    info.transparency = c.transparency;
    Built b(info);
    // Construction clears a custom item's transparency.
    b.item->variant = c.variant;
    b.item->transparency = c.transparency;
    EXPECT_EQ(b.item->isopaque(), c.opaque);
  }
}

TEST(UItemTest, Accessors)
{
  Built text(description(kUIText));
  text.item->SetTFontlook(14, 2, 1);
  text.item->SetTstyle(3);
  EXPECT_EQ(text.item->GetTinf()->size, 14);
  EXPECT_EQ(text.item->GetTinf()->font, 2);
  EXPECT_EQ(text.item->GetTinf()->face, 3);

  Built box(description(kUIBox));
  box.item->SetTFontlook(14, 2, 1);  // the root keeps no look
  EXPECT_EQ(box.item->GetTinf(), nullptr);
  EXPECT_EQ(box.item->GetNinf(), nullptr);
  EXPECT_EQ(box.item->GetOpcode(), 0);

  // A Box lets its picture go when its resource changes.
  kvimg::Pixels pixels{2, 2, std::vector<uint8_t>(16, 255)};
  box.item->cachedImage = QZ_ImageCreateWithPixels(pixels);
  box.item->SetResID(300);
  EXPECT_EQ(box.item->cachedImage, nullptr);
  EXPECT_EQ(box.item->resID, 300);

  Built number(description(kUINumber));
  double value = 0;
  number.item->SetDataPointer(&value);
  number.item->Setminmax(-2.0f, 3.0f);
  number.item->SetEntries(9);
  const uiNumberInfo* n = number.item->GetNinf();
  EXPECT_EQ(n->data, &value);
  EXPECT_EQ(n->min, -2.0f);
  EXPECT_EQ(n->max, 3.0f);
  EXPECT_EQ(n->entries, 9);

  Built pict(description(kUIPictButton));
  int data = 0;
  pict.item->SetOpcode(12, &data);
  pict.item->SetOpcode(13, nullptr);  // keeps the data
  EXPECT_EQ(pict.item->GetOpcode(), 13);
  EXPECT_EQ(static_cast<uitem_pictButton*>(pict.item)->data, &data);

  Built colour(description(kUIColorPop));
  normalcolor c;
  colour.item->SetDataPointer(&c);
  EXPECT_EQ(static_cast<uitem_colorpop*>(colour.item)->color, &c);

  // select and deselect mark the item; a kind without keys of its own
  // takes none.
  uiset set;
  Built edit(description(kUIEditText));
  edit.item->select(&set);
  EXPECT_EQ(edit.item->editing, 1);
  edit.item->deselect(&set);
  EXPECT_EQ(edit.item->editing, 0);
  Built plain(description(kUIBox));
  EXPECT_EQ(plain.item->Key(&set, 'a'), 0);
}

TEST(UItemTest, DefaultDescription)
{
  e_uiallinfos info;
  defaultuitem(&info, kUINumber, 5, 6, 70, 80);
  EXPECT_EQ(info.variant, 12);
  EXPECT_EQ(info.rect, (Rect{6, 5, 86, 75}));
  EXPECT_EQ(info.resID, 128);
  EXPECT_EQ(info.visibility, kUIShown);
  EXPECT_EQ(info.color1, (normalcolor{255, 0, 0, 0}));
  EXPECT_EQ(info.color2, (normalcolor{255, 255, 255, 255}));
  EXPECT_EQ(info.textLook.size, 12);
  EXPECT_EQ(info.textLook.just, 1);
  EXPECT_EQ(info.entries, 1);
  EXPECT_EQ(info.max, 256.0f);
  defaultuitem(&info, kUIText, 0, 0, 1, 1);
  EXPECT_EQ(info.variant, 0);
}

}  // namespace
