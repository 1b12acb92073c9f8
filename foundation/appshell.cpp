#include "foundation/appshell.h"

#include <cstdio>
#include <cstdlib>

AppInfos gAppInfos;

namespace {

void default_report_text(ConstStringPtr text, int32_t number)
{
  std::fprintf(stderr, "%.*s = \"%d\"\n", int(text[0]), reinterpret_cast<const char*>(text + 1),
               int(number));
}

int16_t default_alert_dialog(int16_t id, int16_t index, ConstStringPtr text)
{
  if (text)
    std::fprintf(stderr, "%.*s\n", int(text[0]), reinterpret_cast<const char*>(text + 1));
  else
    std::fprintf(stderr, "alert %d %d\n", int(id), int(index));
  return 1;
}

bool default_object_name(StringPtr, int16_t)
{
  return false;
}

// Rings the terminal bell until the shell installs the display's beep.
void default_alert_sound(bool)
{
  std::fputc('\a', stderr);
}

void default_exit()
{
  std::exit(EXIT_FAILURE);
}

// Installed by the shell at start-up or by tests; main thread only.
ReportTextProc gReportTextProc = default_report_text;
AlertDialogProc gAlertDialogProc = default_alert_dialog;
AlertSoundProc gAlertSoundProc = default_alert_sound;
ObjectNameProc gObjectNameProc = default_object_name;
ExitProc gExitProc = default_exit;

template <typename Proc>
Proc exchange_proc(Proc& slot, Proc proc, Proc fallback)
{
  Proc previous = slot;
  slot = proc != nullptr ? proc : fallback;
  return previous;
}

}  // namespace

void reportText(ConstStringPtr text, int32_t number)
{
  gReportTextProc(text, number);
}

int16_t do_AlertUser_dlog(int16_t id, int16_t index, ConstStringPtr text)
{
  return gAlertDialogProc(id, index, text);
}

bool GetObjetName(StringPtr name, int16_t prompt)
{
  return gObjectNameProc(name, prompt);
}

void PlayAlertSound()
{
  gAlertSoundProc(gAppInfos.preferredAlertSound);
}

void ExitToShell()
{
  gExitProc();
  // An installed handler that returns still must not let the caller go on.
  std::exit(EXIT_FAILURE);
}

ReportTextProc SetReportTextProc(ReportTextProc proc)
{
  return exchange_proc(gReportTextProc, proc, default_report_text);
}

AlertDialogProc SetAlertDialogProc(AlertDialogProc proc)
{
  return exchange_proc(gAlertDialogProc, proc, default_alert_dialog);
}

AlertSoundProc SetAlertSoundProc(AlertSoundProc proc)
{
  return exchange_proc(gAlertSoundProc, proc, default_alert_sound);
}

ExitProc SetExitProc(ExitProc proc)
{
  return exchange_proc(gExitProc, proc, default_exit);
}

ObjectNameProc SetObjectNameProc(ObjectNameProc proc)
{
  return exchange_proc(gObjectNameProc, proc, default_object_name);
}
