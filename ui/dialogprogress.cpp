#include "ui/dialogprogress.h"

#include "imaging/ports.h"
#include "ui/twindow.h"

namespace {

constexpr int16_t kProgressOKMode = 1;
constexpr int16_t kSaveAskTextItem = 2;
constexpr int16_t kSaveAskCancelItem = 3;
constexpr int16_t kSaveAskDontSaveItem = 4;
constexpr int16_t kSaveAskSaveItem = 5;
constexpr int32_t kDontSaveCommand = 4;

// Keeps the current port across a dialog's life.
class SavedPort
{
public:
  SavedPort() { GetGWorld(&port_, &device_); }
  ~SavedPort() { SetGWorld(port_, device_); }
  SavedPort(const SavedPort&) = delete;
  SavedPort& operator=(const SavedPort&) = delete;

private:
  CGrafPtr port_ = nullptr;
  GDHandle device_ = nullptr;
};

}  // namespace

// ---- Progress ----------------------------------------------------------------------

IB_cproc_dlog::IB_cproc_dlog(uiCustomProc proc, uintptr_t word, uint16_t number, bool buttons)
    : IBbasedlog(kAlertDialogID, kModalWindowClass, kProgressOKMode, false),
      procedure(proc),
      data(word),
      value(number),
      showButtons(buttons ? 1 : 0)
{
  if (!set)
    return;
  set->SetCallBackCmdptr(do_cproc_Command, this);
  set->SetOpcode(2, 2);
  set->SetOpcode(3, 3);
  set->SetCustomProcNPtr(kProgressCustomItem, procedure, this);
  ShowCenterDialog(true);
  OpenContext();
}

bool IB_cproc_dlog::Run(char*)
{
  if (!set)
    return false;
  if (!showButtons)
    for (int16_t n = 1; n <= 3; ++n)
      set->Hideuitem(n, false);
  InstallHandler();
  kvui::invalidate(window, nullptr);
  RunModal();
  return keyResult == 1;
}

bool IB_cproc_dlog::mouse(Point where)
{
  const bool box = Act(where, &keyResult);
  // The OK and Cancel boxes, or an item of the dialog after Return or
  // Escape, end it.
  if ((box || (set && set->hit >= 2)) && (keyResult == 1 || keyResult == 2))
    EndModal();
  return box;
}

int16_t do_cproc_Command(Edoc* doc, int32_t command, void*)
{
  auto* dialog = static_cast<IB_cproc_dlog*>(doc);
  if (command == int32_t(fourcc("ok  "))) {
    dialog->EndModal();
    return 0;
  }
  if ((command == 2 || command == 3) && dialog->procedure) {
    dialog->procedure(nullptr, dialog, command == 2 ? kProgressMessage2 : kProgressMessage3,
                      nullptr);
    return 0;
  }
  return kEdocNotHandled;
}

bool do_cproc_dlog(uiCustomProc procedure, uintptr_t data, uint16_t value, bool showButtons)
{
  SavedPort saved;
  IB_cproc_dlog dialog(procedure, data, value, showButtons);
  return dialog.Run(nullptr);
}

// ---- Save-ask ------------------------------------------------------------------------

IB_saveask_dlog::IB_saveask_dlog(int16_t id) : IBbasedlog(id, 0, true)
{
  if (!set)
    return;
  set->SetCallBackCmdptr(do_saveask_Command, this);
  set->SetOpcode(kSaveAskCancelItem, int32_t(fourcc("canc")));
  set->SetOpcode(kSaveAskDontSaveItem, kDontSaveCommand);
  set->SetOpcode(kSaveAskSaveItem, int32_t(fourcc("ok  ")));
  ShowCenterDialog(true);
  OpenContext();
}

int16_t IB_saveask_dlog::Run()
{
  if (!set)
    return 0;
  InstallHandler();
  kvui::invalidate(window, nullptr);
  RunModal();
  return answer;
}

bool IB_saveask_dlog::mouse(Point where)
{
  return Act(where, &keyResult);
}

int16_t do_saveask_Command(Edoc* doc, int32_t command, void*)
{
  auto* dialog = static_cast<IB_saveask_dlog*>(doc);
  // Closing the window is no answer to save: it cancels.
  if (command == int32_t(fourcc("canc")) || command == int32_t(fourcc("clos")))
    dialog->answer = 2;
  else if (command == kDontSaveCommand)
    dialog->answer = 0;
  else
    dialog->answer = 1;
  dialog->EndModal();
  return 0;
}

int16_t do_saveask_dlog(int16_t id, ConstStringPtr text)
{
  IB_saveask_dlog dialog(id);
  if (!dialog.HasSet())
    return 0;
  if (text)
    dialog.set->SetuitemNameNR(kSaveAskTextItem, text);
  return dialog.Run();
}
