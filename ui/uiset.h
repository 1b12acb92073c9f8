// The item set of a window or dialog: an ordered array of items read from
// a layout file, the set's colours, its four display states over item
// layers, its focus and hover bookkeeping and the command callback through
// which items report to their owner. The owner (an Edoc) forwards clicks,
// keys, mouse movement, redraws and resizing; the set picks the item and
// calls its virtual operations.
//
// Item indices are signed 16-bit: an index below 0 or not below the count,
// or a set without an item array, makes an operation do nothing (getters
// answer 0, null or -1). A set without an owner, or whose owner has no
// context, draws nothing and invalidates nothing.
//
// Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/types.h"
#include "imaging/quartz.h"
#include "platform/files.h"
#include "ui/edoc.h"
#include "ui/uilayout.h"
#include "ui/uitem.h"

// One slot of the item array: room for any item class.
struct alignas(kUISlotAlign) uiItemSlot
{
  unsigned char bytes[kUISlotSize];
};

// The frame, light and shadow colours of the item being drawn.
struct uiWorkColor
{
  normalcolor frame, light, shadow;
};

// The colours of a set, in order.
enum : int
{
  kUIBackground = 0,
  kUIColor2 = 1,
  kUIFrameColor = 2,
  kUILightColor = 3,
  kUIShadowColor = 4,
};

// Called before each item of index above 0 while ResizeUI anchors items;
// it may change dh and dv for this and later items.
using uiResizeProc = void (*)(uiset* set, int16_t index, int16_t* dh, int16_t* dv);

struct uiset
{
  uiset();
  ~uiset();
  uiset(const uiset&) = delete;
  uiset& operator=(const uiset&) = delete;

  // --- Lookup and queries
  uitem* Getuitem(int16_t n) const;
  static uiItemSlot* GetuitemAddr(uiItemSlot* base, int16_t n);
  uiItemRecord* GetuitemBase(int16_t n) const;
  Rect GetuitemBox(int16_t n) const;
  ::textLook* GetuitemTinf(int16_t n) const;
  uiNumberInfo* GetuitemNinf(int16_t n) const;
  bool uitemchanged(int16_t n) const;
  // Copies the name unless `out` already holds the same text.
  void GetuitemName(int16_t n, StringPtr out) const;
  bool isinlayer(uint8_t layer) const;
  // The index of the item under the point (hit rules of Act); when only
  // boxes and plain texts contain it, the lowest such index and *out
  // untouched; else -1.
  int16_t GetHit(Point where, uitem** out);
  // The next editText or number item after the focused one, cyclically; -1
  // for none.
  int16_t GetNextNumberItem(uitem** out);

  // --- Life cycle
  // Reads "UI_" + id from the application's Resources folder.
  bool Create(int16_t id, Edoc* owner);
  // With buildName, `ref` is the folder and the file is its "UI_" + id;
  // otherwise `ref` is the file. False, the set untouched, when the file
  // cannot be read or is damaged (*why says how).
  bool Readuitems(const FileRef& ref, int16_t id, bool buildName, std::string* why = nullptr);
  // Takes the layout's header and builds its items (the items held before
  // are killed first).
  void LoadLayout(const uiLayout& layout);
  // Builds the item of the description in the slot.
  static uitem* Newuitem(int16_t index, uiItemSlot* slot, const e_uiallinfos* info);
  void Killuiset();
  void ReloadImages();
  bool CreateEmpty(int16_t capacity, int16_t id, Edoc* owner);
  void Adduitem(uint8_t kind, int16_t left, int16_t top, int16_t width, int16_t height);
  void SwitchState(uint8_t newState);

  // --- Dispatch
  void Act(Point where);
  bool Key(int8_t character);
  bool IdleHit(Point where, int16_t n);
  void PreHilite(Point where);
  bool Selectitem(uitem* item, int16_t index, int16_t how);
  void Unselectall();
  bool ActokCancel(Point where, int16_t* which);

  // --- Drawing
  void Draw(const Rect* r);
  void DrawFlush(const Rect* r);
  void ForceDrawFlush();
  void Drawuitem(int16_t n);
  void Drawuitemptr(uitem* item);
  void Invaluitem(int16_t n);

  // --- Geometry
  void ResizeUI(Rect r, int16_t mode, uiResizeProc proc);
  void Offsetuitems(int16_t dh, int16_t dv);
  void CompTotalBox();

  // --- Setters
  void Enableuitem(int16_t n, bool on);
  void Hideuitem(int16_t n, bool show);
  void HideEraseuitem(int16_t n, bool show);
  void SetuitemFontlook(int16_t n, int8_t size, int8_t font, int8_t face);
  void SetuitemColors(int16_t n, const normalcolor* c1, const normalcolor* c2);
  void SetuitemStyle(int16_t n, int8_t s);
  void SetuitemAltStyle(int16_t n, int8_t s);
  void SetuitemAlphaflag(int16_t n, uint8_t f);
  void SetuitemKind(int16_t n, int8_t k);
  void SetuitemAnchor(int16_t n, uint8_t a);
  void SetuitemResID(int16_t n, int16_t id);
  void SetuitemEntries(int16_t n, int16_t k);
  void SetuitemNumberStyle(int16_t n, int8_t variant, int8_t altStyle, uint8_t arrows,
                           uint8_t mode);
  void SetuitemDataPointer(int16_t n, void* p);
  void SetuitemBox(int16_t n, Rect r);
  void Setminmax(int16_t n, float low, float high);
  void SetOpcode(int16_t n, int32_t op);
  void SetOpcodeNptr(int16_t n, int32_t op, void* p);
  void SetCallBackCmdptr(EdocCommandProc proc, void* data);
  void SetCustomProc(int16_t n, uiCustomProc proc);
  void SetCustomProcNPtr(int16_t n, uiCustomProc proc, void* p);
  void SetuitemNameNR(int16_t n, ConstStringPtr text);
  void SetuitemName(int16_t n, ConstStringPtr text);
  void SetuitemResName(int16_t n, int16_t listID, int16_t index);
  void SetNameAndEnable(int16_t n, ConstStringPtr text, uint8_t state);
  void SetButtonOnOff(int16_t n, bool on);

  // --- Frames and work colours (ui/uiframes.cpp)
  void getmaincolors(const uiItemRecord* item, int8_t frameStyle);
  // Draws the frame style and gives the rectangle left for the content.
  Rect drauibounds(const uiItemRecord* item, Rect r, int8_t frameStyle);
  // The inner rectangle of a style, nothing drawn.
  Rect getuibounds(const uiItemRecord* item, Rect r, int8_t frameStyle) const;

  // --- Saving (ui/uilayout.cpp): the total box recomputed, the design size
  // raised to hold it, then written; false when nothing was written.
  bool WriteToContent(const FileRef& folder, std::string* why = nullptr);
  bool WriteToFile(std::string* why = nullptr);

  // The owner's context, null without one.
  CGContextRef drawingContext() const;
  // Invalidates r in the owner's window.
  void InvalRect(const Rect& r) const;

  int16_t setID = 128;
  int16_t count = 0;
  uint8_t layersOn = 0;
  uint8_t state = 0;
  int16_t designWidth = 800, designHeight = 580;
  Rect totalBox{0, 0, 128, 128};
  Rect okRect, cancelRect;
  uint8_t okCancelShown = 0;
  uint8_t spare = 2;
  uint32_t stateWords[4] = {kUIDefaultStateWords[0], kUIDefaultStateWords[1],
                            kUIDefaultStateWords[2], kUIDefaultStateWords[3]};
  Str63 name = {};
  Edoc* owner = nullptr;
  uint32_t redrawThrough = 0;
  uiset* redrawThroughSet = nullptr;
  EdocCommandProc callback = nullptr;
  uiItemSlot* items = nullptr;
  Str31 typing = {};
  int16_t typedCount = 0;
  int16_t focused = -1;
  int16_t hit = -1;
  int16_t found = -1;
  int16_t hovered = -1;
  int16_t drawing = -1;
  uint8_t itemsNotOwned = 0;
  normalcolor colors[5];
  uiWorkColor work;
  Rect layoutRect;
  Rect clipRect;
  uint8_t keyResult = 0;
  normalcolor hiliteColor;
  uint8_t altHilit = 0;
  // The last value an item chose (a radio index, a pop-up selection, a
  // vector element).
  int32_t lastChosen = 0;
  // How pictures of the items are drawn.
  QZDrawFlags pictureDraw;
  // Slots allocated in `items`.
  int16_t capacity = 0;

private:
  void ResetFields();
  bool takesPart(const uitem* item) const;
  bool isHittable(const uitem* item, Point where) const;
  void AllocateItems(int16_t slots);
  void InvalidateItem(uitem* item);
  void RedrawUnder(uitem* item);
  void Unhover();
  bool TrackStandardButton(const Rect& r, int16_t upCode, int16_t downCode, int16_t* which,
                           int16_t inside, int16_t outside);
};
