// Document windows and the other windows made from a window class: the
// window with its port and event handler, a minimum size, a title made of
// "Untitled " and a number, full-screen state, the item set read from the
// window's layout (null without one: every step with an item set is then
// skipped) and the dispatch of the window's events to the virtual operations.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/fileio.h"
#include "imaging/ports.h"
#include "ui/edoc.h"

struct uiset;

// Window classes.
inline constexpr int32_t kModalWindowClass = 3;
inline constexpr int32_t kFloatingWindowClass = 5;
inline constexpr int32_t kDocumentWindowClass = 6;

class TWindow : public Edoc
{
public:
  // The window of the class (6 document, 3 modal, 5 floating, others
  // borderless) over the global rectangle (fitted onto a screen), hidden;
  // full screen: the main screen's rectangle. A window that cannot be made
  // leaves `window` null after the alert "Can't create Window".
  TWindow(int32_t windowClass, uint32_t attributes, const Rect* bounds, int16_t layoutID,
          bool fullScreen);
  ~TWindow() override;

  void Refresh() override;
  virtual void Draw();
  virtual int32_t Act(Point where);
  virtual int16_t Key(uint32_t character);
  virtual void ResizeUI(Rect portBounds);
  virtual void Idle(Point where);
  virtual int16_t Open();

  void Show();
  bool IsVisible() const;
  // Sends 'clos' to the command callback (kEdocNotHandled without one); a
  // document window answered 0 leaves the registry (and, in
  // single-document mode, gCurDoc).
  int16_t Close();
  void MoveTopLeftOfContentTo(int16_t h, int16_t v);
  void SetContentSize(int16_t width, int16_t height);
  void InvalidateArea(const Rect* r);
  void ValidateArea(const Rect* r);
  // Which events reach HandleEvent (masks of kvui event kinds); all do at
  // start.
  // Full-screen mode (state 2): the window covers its screen until
  // EndFullScreen or its destruction; ResizeUI follows both.
  void BeginFullScreen();
  void EndFullScreen();
  void RegisterForEvents(uint32_t mask);
  void UnregisterForEvents(uint32_t mask);

  // The window's events, as the table of the window class says.
  int32_t HandleEvent(const kvui::Event& event);

  uint8_t fullScreenState = 0;  // 0 windowed, 1 made on the whole screen, 2 in full-screen mode
  int16_t windowIndex = 0;
  int16_t isDocument = 0;
  RgnHandle updateRegion = nullptr;
  uint8_t flags[2] = {0, 0};
  Str255 title = {};
  FileRef folder;
  uiset* set = nullptr;  // owned; killed and deleted with the window
  int16_t minWidth = 0, minHeight = 0;
  uint32_t eventMask = kvui::everyEvent;
  void* fullScreenContext = nullptr;

private:
  void MiscInit(int16_t layoutID, const Rect* bounds);
  void ReadItemSet(int16_t layoutID);
  Point MousePoint(const kvui::Event& event) const;
  int32_t HandleKeyboard(const kvui::Event& event);
  int32_t HandleCommand(uint32_t command);
  int32_t HandleClose(const kvui::Event& event);
  void ResizeCompleted();
};
