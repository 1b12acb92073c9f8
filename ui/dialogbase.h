// The base of every dialog: a window of its own, the item set read from the
// layout of the dialog's id, the standard OK and Cancel boxes placed by the
// dialog's OK/Cancel mode, and a modal loop of the window layer.
//
// A dialog runs in one of two modes. In Carbon mode the window's handler
// gets its events (keys, modifier changes, content clicks, the close box,
// redraws and mouse movement) and acts on them; in polling mode the dialog's
// own run loop takes mouse downs, keys, updates and idle turns one at a
// time. Either way the loop is the window layer's application-modal loop,
// which gives the dialog an idle turn at least every 6 ticks, so a dialog
// that waits for time (the About box) ends without any input.
//
// OK/Cancel modes, with the port rectangle's bottom B and right R and the
// layout's total box bottom LB and right LR (rectangles top, left, bottom,
// right):
//   0  no boxes;                                   window height B + 8
//   1  OK (LB + 8, LR - 32, LB + 40, LR), Cancel 40 to its left;  B + 48
//   2  as 1 without Cancel;                        B + 48
//   3  OK (B - 38, R - 38, B - 6, R - 6), Cancel 40 to its left;  B
//   4  as 3 without Cancel;                        B
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/appshell.h"
#include "foundation/types.h"
#include "platform/ui.h"
#include "ui/edoc.h"
#include "ui/uiset.h"

// The alert dialog's layout: it never reports its own failure.
inline constexpr int16_t kAlertDialogID = 1059;

class IBbasedlog : public Edoc
{
public:
  // A dialog in a modal window (class 3); Carbon or polling mode.
  IBbasedlog(int16_t id, int16_t okMode, bool carbon);
  // A Carbon-mode dialog in a window of the class (3 modal, 5 floating with
  // a close box, 6 document), or covering the main screen.
  IBbasedlog(int16_t id, int16_t windowClass, int16_t okMode, bool fullScreen);
  ~IBbasedlog() override;

  void Refresh() override;
  // A click: true when it hit the OK box (*result 1) or the Cancel box
  // (*result 2); otherwise the set acts on it and the answer is false. In
  // polling mode the point is read from the mouse.
  virtual bool Act(Point where, int16_t* result);
  // A typed character; see the source for the Carbon and polling rules.
  virtual bool key(int8_t character, int16_t* result);
  virtual void Draw();
  virtual void idle(Point where);
  // A content click in Carbon mode: true when the dialog handled it.
  virtual bool mouse(Point where);
  virtual void DisplayMessage(AppInfos* infos);

  // Lets the window's events reach HandleEvent (Carbon mode).
  void InstallHandler(kvui::EventHandler proc = EventHandlerProc);
  int32_t HandleEvent(const kvui::Event& event);
  static int32_t EventHandlerProc(kvui::WindowRef window, const kvui::Event& event, void* user);

  // Placement: centred on the main screen, or at (118, 128) from its
  // top-left; then shown.
  void ShowCenterDialog(bool centre);
  void ShowCenterOffsetDialog(int16_t dh, int16_t dv);
  // Moves and sizes the window to the global rect, fits the set to it and
  // places the OK/Cancel boxes again; full screen: the main screen less 4
  // at the sides, 28 at the top and 20 at the bottom.
  void ShowSizeDialog(Rect r, bool centre, bool fullScreen);
  void ShowFullAdaptiveDialog();
  void DrawFlush(int16_t unused);
  // Item `item` shows the name followed by the value with 3 decimals.
  void DrawParamString_double(ConstStringPtr name, double value, int16_t item);

  // Runs the modal loop until EndModal (or the dialog's ModalDone); false
  // when the loop could not run or its test script was spent.
  bool RunModal();
  void EndModal() { modalDone = true; }
  bool HasSet() const { return set != nullptr; }

  uint8_t fullScreen = 0;
  uint8_t carbonMode = 1;
  int16_t windowClass = 3;
  kvui::EventHandler handlerProc = nullptr;
  int16_t keyResult = 0;
  uiset* set = nullptr;  // &controlSet once made, else null
  uiset controlSet;
  void* fullScreenState = nullptr;
  int16_t okMode = 0;  // the set's OK/Cancel mode, 0..4

protected:
  // One event of the polling mode's loop (mouse down, key, update, none).
  virtual void PollEvent(const kvui::Event& event);
  // Whether the modal loop is over.
  virtual bool ModalDone() const { return modalDone; }
  // The mouse in the port.
  Point MouseInPort() const;

  bool modalDone = false;

private:
  void MakeWindow(kvui::WindowKind kind, Rect content);
  void ReadSet(int16_t id);
  void ReportFailure(int16_t id) const;
  static int32_t ModalStep(const kvui::Event& event, void* user);
  static int32_t PollingHandler(kvui::WindowRef window, const kvui::Event& event, void* user);
};

// Places the OK/Cancel boxes of the mode (0..4; others none) for a port
// rectangle; returns the rectangle the window takes (its height by the mode).
Rect SetDlogOKCancel(uiset* set, Rect portRect, int16_t okMode);
// The same, and sizes the window to the rectangle returned.
Rect SetDlogSize(uiset* set, kvui::WindowRef window, Rect portRect, int16_t okMode);
// Centres the layout's total box in r (never closer than 6 pixels to its
// top or left), OK at (bottom - 40, right - 40, bottom - 8, right - 8) and
// Cancel 40 pixels to its left.
void CenterUiSet(uiset* set, Rect r);
// The window covers the main screen below a 20-pixel menu bar in the
// colour; returns its port rectangle.
Rect SetDialogFullscreen(kvui::WindowRef window, normalcolor color);

namespace kvdialog {

// Modal loops of dialogs that ended because their test script was spent
// (the scripted backend only; tests expect none).
int32_t spentLoops();
void resetSpentLoops();

}  // namespace kvdialog
