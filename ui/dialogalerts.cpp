#include "ui/dialogalerts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/numbers.h"
#include "imaging/cursorkeys.h"

namespace {

constexpr int16_t kMessageItem = 2;
constexpr int16_t kAlertOKItem = 3;
constexpr int16_t kWarningCancelItem = 3;
constexpr int16_t kWarningOKItem = 4;
constexpr int16_t kSplashTextItem = 1;
constexpr int16_t kSplashCloseItem = 2;
constexpr int32_t kSplashCloseCommand = 2;

// Text item looks.
constexpr int8_t kLookName = 0;
constexpr int8_t kLookListString = 1;
constexpr int8_t kLookParamString = 2;

// Item 2 shows string `index` of the list.
void showListString(uiset* set, int16_t list, int16_t index)
{
  set->SetuitemKind(kMessageItem, kLookListString);
  set->SetuitemResID(kMessageItem, list);
  if (uitem* item = set->Getuitem(kMessageItem))
    item->index = index;
}

// The shared idle turn: the hover and the arrow.
void idleTurn(IBbasedlog* dialog, Point where)
{
  if (dialog->set)
    dialog->set->PreHilite(where);
  DChangeCursor(kvui::kCursorArrow);
}

void alertReportText(ConstStringPtr text, int32_t number)
{
  char digits[32];
  const int n = std::snprintf(digits, sizeof digits, "=\"%d\"", int(number));
  Str255 out;
  const size_t textLength = std::min<size_t>(text ? text[0] : 0, 255);
  const size_t digitLength = std::min<size_t>(size_t(n), 255 - textLength);
  if (textLength)
    std::memcpy(out + 1, text + 1, textLength);
  std::memcpy(out + 1 + textLength, digits, digitLength);
  out[0] = uint8_t(textLength + digitLength);
  do_AlertUser_dlog(kAlertDialogID, 0, out);
}

}  // namespace

// ---- Alert -----------------------------------------------------------------------

AlertUser_dlog::AlertUser_dlog(int16_t id) : IBbasedlog(id, 0, true)
{
  if (!set)
    return;
  set->SetCallBackCmdptr(AlertUser_Command, this);
  set->SetOpcode(kAlertOKItem, int32_t(fourcc("ok  ")));
  ShowCenterDialog(true);
  OpenContext();
}

void AlertUser_dlog::SetupUI(int16_t index)
{
  if (!set)
    return;
  ownText = false;
  showListString(set, kAlertStringList, index);
}

void AlertUser_dlog::SetMessage(ConstStringPtr text)
{
  if (!set)
    return;
  const size_t n = text ? text[0] : 0;
  message[0] = uint8_t(n);
  if (n)
    std::memcpy(message + 1, text + 1, n);
  // An item's name holds 63 bytes: a longer text is drawn from the
  // parameter string, which the alert fills again before every drawing.
  ownText = n > 63;
  if (!ownText) {
    set->SetuitemNameNR(kMessageItem, message);
    set->SetuitemKind(kMessageItem, kLookName);
  } else {
    set->SetuitemKind(kMessageItem, kLookParamString);
  }
}

void AlertUser_dlog::Draw()
{
  if (ownText)
    std::memcpy(gAppInfos.paramString, message, size_t(message[0]) + 1);
  IBbasedlog::Draw();
}

int16_t AlertUser_dlog::Run(int16_t)
{
  Draw();
  InstallHandler();
  RunModal();
  return 1;
}

void AlertUser_dlog::idle(Point where)
{
  idleTurn(this, where);
}

bool AlertUser_dlog::mouse(Point where)
{
  return Act(where, &keyResult);
}

int16_t AlertUser_Command(Edoc* doc, int32_t command, void*)
{
  if (command != int32_t(fourcc("ok  ")))
    return kEdocNotHandled;
  static_cast<AlertUser_dlog*>(doc)->EndModal();
  return 0;
}

int16_t RunAlertUser_dlog(int16_t id, int16_t index, ConstStringPtr text)
{
  DChangeCursor(kvui::kCursorArrow);
  AlertUser_dlog dialog(id);
  if (!dialog.HasSet()) {
    // The message must not be lost with the dialog: it goes to standard
    // error, as before the alert was installed.
    if (index == 0 && text)
      std::fprintf(stderr, "%.*s\n", int(text[0]), reinterpret_cast<const char*>(text + 1));
    else
      std::fprintf(stderr, "alert %d %d\n", int(id), int(index));
    return 0;
  }
  if (index > 0)
    dialog.SetupUI(index);
  else if (index == 0)
    dialog.SetMessage(text);
  return dialog.Run(index);
}

// ---- Warning ------------------------------------------------------------------------

IB_warning_dlog::IB_warning_dlog(int16_t id) : IBbasedlog(id, 0, true)
{
  if (!set)
    return;
  set->SetCallBackCmdptr(do_warning_Command, this);
  set->SetOpcode(kWarningCancelItem, int32_t(fourcc("canc")));
  set->SetOpcode(kWarningOKItem, int32_t(fourcc("ok  ")));
  set->SetuitemKind(kMessageItem, kLookListString);
  ShowCenterDialog(true);
  OpenContext();
}

bool IB_warning_dlog::Run(int16_t index)
{
  if (!set)
    return false;
  if (!withCancel)
    set->Hideuitem(kWarningCancelItem, false);
  showListString(set, kWarningStringList, index);
  InstallHandler();
  kvui::invalidate(window, nullptr);
  RunModal();
  return !cancelled;
}

void IB_warning_dlog::idle(Point where)
{
  idleTurn(this, where);
}

bool IB_warning_dlog::mouse(Point where)
{
  return Act(where, &keyResult);
}

int16_t do_warning_Command(Edoc* doc, int32_t command, void*)
{
  auto* dialog = static_cast<IB_warning_dlog*>(doc);
  if (command == int32_t(fourcc("canc")))
    dialog->cancelled = 1;
  else if (command == int32_t(fourcc("ok  ")))
    dialog->cancelled = 0;
  else
    return kEdocNotHandled;
  dialog->EndModal();
  return 0;
}

bool do_warning_dlog(int16_t id, int16_t index, bool withCancel)
{
  DChangeCursor(kvui::kCursorArrow);
  IB_warning_dlog dialog(id);
  if (!dialog.HasSet())
    return false;
  dialog.withCancel = withCancel ? 1 : 0;
  return dialog.Run(index);
}

// ---- Splash ----------------------------------------------------------------------------

SplatchScreen_dlog::SplatchScreen_dlog(int16_t id) : IBbasedlog(id, 0, true)
{
  if (!set)
    return;
  set->SetCallBackCmdptr(SplatchScreen_dlog_Command, this);
  set->SetOpcodeNptr(kSplashCloseItem, kSplashCloseCommand, this);
  callback = SplatchScreen_dlog_Command;
  ShowCenterDialog(true);
  OpenContext();
}

bool SplatchScreen_dlog::Run()
{
  if (!set)
    return false;
  set->SetuitemNameNR(kSplashTextItem, text);
  InstallHandler();
  kvui::invalidate(window, nullptr);
  startTick = TickCount();
  RunModal();
  return keyResult == 1;
}

void SplatchScreen_dlog::idle(Point where)
{
  idleTurn(this, where);
  if (TickCount() - startTick > duration)
    EndModal();
}

bool SplatchScreen_dlog::mouse(Point where)
{
  return Act(where, &keyResult);
}

int16_t SplatchScreen_dlog_Command(Edoc* doc, int32_t command, void* data)
{
  // Only item 2 carries the dialog: a Return's 'ok  ' comes without it.
  if (command != kSplashCloseCommand || data != doc)
    return kEdocNotHandled;
  static_cast<SplatchScreen_dlog*>(doc)->EndModal();
  return 0;
}

bool do_SplatchScreen_dlog(int16_t id, ConstStringPtr text, int32_t ticks)
{
  SplatchScreen_dlog dialog(id);
  if (!dialog.HasSet())
    return false;
  const size_t n = text ? text[0] : 0;
  dialog.text[0] = uint8_t(n);
  if (n)
    std::memcpy(dialog.text + 1, text + 1, n);
  dialog.duration = uint32_t(std::max<int32_t>(ticks, 0));
  return dialog.Run();
}

// ---- Installation ------------------------------------------------------------------------

void InstallAlertDialogs()
{
  SetAlertDialogProc(RunAlertUser_dlog);
  SetReportTextProc(alertReportText);
}
