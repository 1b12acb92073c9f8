#include "app/services.h"

#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "ui/twindow.h"
#include "ui/uiset.h"

namespace {

constexpr int16_t kMenuBarBottom = 19;
constexpr int32_t kOkCommand = int32_t(fourcc("ok  "));
constexpr int32_t kCancelCommand = int32_t(fourcc("cncl"));
constexpr int16_t kNameOkItem = 1, kNameCancelItem = 2, kNameEditItem = 3, kNamePromptItem = 4;

// Appends bytes to a Str255, cut at 255.
void append(StringPtr s, const char* bytes, size_t n)
{
  size_t room = 255 - s[0];
  n = std::min(n, room);
  std::memcpy(s + 1 + s[0], bytes, n);
  s[0] = uint8_t(s[0] + n);
}

void append(StringPtr s, ConstStringPtr p)
{
  append(s, reinterpret_cast<const char*>(p + 1), p[0]);
}

// "name value" with two decimals into the parameter string; the flag is
// cleared.
void nameAndValue(ConstStringPtr name, double value)
{
  StringPtr out = gAppInfos.paramString;
  out[0] = 0;
  append(out, name);
  append(out, " ", 1);
  Str255 number;
  CExToStr(&value, 2, number);
  append(out, number);
  gAppInfos.paramStringFlag = 0;
}

void showParamString(bool show)
{
  if (show && gAppInfos.commandHandler)
    gAppInfos.commandHandler(kShowParamCommand, nullptr);
}

void reportThroughAlert(ConstStringPtr text, int32_t number)
{
  App_reportText(text, number);
}

bool nameThroughDialog(StringPtr name, int16_t prompt)
{
  return App_GetObjetName(name, prompt);
}

// ---- The name dialog ----------------------------------------------------------------

class NameDialog : public TWindow
{
public:
  NameDialog() : TWindow(kModalWindowClass, 0, &kBounds, kObjectNameListID, false) {}

  static int16_t Command(Edoc* doc, int32_t command, void*)
  {
    auto* self = static_cast<NameDialog*>(doc);
    if (command == kOkCommand)
      self->answer = 1;
    else if (command == kCancelCommand)
      self->answer = 0;
    return 0;
  }

  static int32_t Step(const kvui::Event& event, void* user)
  {
    auto* self = static_cast<NameDialog*>(user);
    if (event.what != kvui::nullEvent)
      self->HandleEvent(event);
    return self->answer >= 0 ? self->answer : kvui::kEventNotHandled;
  }

  int32_t Act(Point where) override
  {
    if (set)
      set->Act(where);
    return 0;
  }

  void Draw() override
  {
    TWindow::Draw();
    if (set && context) {
      set->Draw(&portRect);
      FlushContext();
    }
  }

  static constexpr Rect kBounds{0, 0, 206, 428};
  int32_t answer = -1;
  Str255 edited = {};
};

}  // namespace

int16_t App_reportText(ConstStringPtr text, int32_t number)
{
  Str255 message = {};
  append(message, text);
  Str255 digits;
  NumToString(number, digits);
  append(message, "=\"", 2);
  append(message, digits);
  append(message, "\"", 1);
  return do_AlertUser_dlog(kReportAlertID, 0, message);
}

void App_InstallServices()
{
  SetReportTextProc(reportThroughAlert);
  SetObjectNameProc(nameThroughDialog);
}

bool App_ProcessAborted(bool watchMenuBar)
{
  if (kvui::isKeyDown(kvui::kKeyEscape)) {
    kvui::flushEvents(kvui::eventMask(kvui::keyDown));
    gAppInfos.aborted = 1;
    return true;
  }
  if (watchMenuBar && gAppInfos.applicationActive && kvui::mouseLocation().v <= kMenuBarBottom) {
    gAppInfos.aborted = 1;
    return true;
  }
  return gAppInfos.aborted != 0;
}

void SetParamString_percent(ConstStringPtr name, int32_t value)
{
  StringPtr out = gAppInfos.paramString;
  out[0] = 0;
  append(out, name);
  append(out, " ", 1);
  Str255 number;
  NumToString(value, number);
  append(out, number);
  append(out, "%", 1);
}

void ShowParamString_percent(ConstStringPtr name, double value, bool show)
{
  nameAndValue(name, value);
  append(gAppInfos.paramString, "%", 1);
  showParamString(show);
}

void ShowParamString_variable(ConstStringPtr name, double value, bool show, uint32_t suffix)
{
  nameAndValue(name, value);
  if (suffix != 0) {
    const char unit[3] = {char(suffix & 0xFF), char((suffix >> 8) & 0xFF),
                          char((suffix >> 16) & 0xFF)};
    append(gAppInfos.paramString, unit, 3);
  }
  showParamString(show);
}

bool App_GetObjetName(StringPtr name, int16_t prompt)
{
  auto* dialog = new NameDialog;
  if (!dialog->window || !dialog->set || dialog->set->count <= kNamePromptItem) {
    delete dialog;
    return false;
  }
  uiset* set = dialog->set;
  dialog->callback = NameDialog::Command;
  set->SetCallBackCmdptr(NameDialog::Command, dialog);
  set->SetOpcode(kNameOkItem, kOkCommand);
  set->SetOpcode(kNameCancelItem, kCancelCommand);
  if (prompt > 0) {
    Str255 text;
    GetIndString(text, kObjectNameListID, prompt);
    if (text[0])
      set->SetuitemNameNR(kNamePromptItem, text);
  }
  std::memcpy(dialog->edited, name, size_t(name[0]) + 1);
  if (uitem* item = set->Getuitem(kNameEditItem); item && item->kind == kUIEditText)
    static_cast<uitem_editText*>(item)->text = dialog->edited;
  set->focused = kNameEditItem;
  // Centred on the main screen.
  std::vector<kvui::Screen> screens = kvui::screens();
  if (!screens.empty()) {
    const kvui::Rect& s = screens.front().bounds;
    dialog->MoveTopLeftOfContentTo(int16_t(s.left + (s.right - s.left - 428) / 2),
                                   int16_t(s.top + (s.bottom - s.top - 206) / 3));
  }
  dialog->Show();
  kvui::invalidate(dialog->window, nullptr);
  int32_t answer = kvui::runModalLoop(dialog->window, NameDialog::Step, dialog);
  bool ok = answer == 1;
  if (ok)
    std::memcpy(name, dialog->edited, size_t(dialog->edited[0]) + 1);
  delete dialog;
  return ok;
}

int16_t App_OSTask()
{
  kvui::Event event;
  if (!kvui::nextEvent(kvui::eventMask(kvui::osEvt), &event))
    return 0;
  constexpr uint32_t kSuspendResumeMessage = 0x01;
  if ((event.message >> 24) == kSuspendResumeMessage) {
    gAppInfos.applicationActive = uint8_t(event.message & 1);
    return int16_t(event.message & 1);
  }
  return int16_t(int32_t(event.message >> 24) - 1);
}

void App_RedrawLoop(int32_t n)
{
  for (int32_t i = 0; i <= n; ++i)
    kvui::pump();
}
