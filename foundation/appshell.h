// The few services of the application shell that the lower layers call: the
// text alert, the alert sound, the fatal exit and the application record.
// The shell installs the real dialog and beep at start-up; tests install
// their own to see what was reported.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// The application record. It holds what the lower layers read of the
// application; the shell adds its own fields.
struct AppInfos
{
  // Play the user's preferred alert sound rather than the plain beep.
  bool preferredAlertSound = true;
};
extern AppInfos gAppInfos;

// Shows the application's alert with `text` followed by = and the number in
// double quotes; returns when the alert is dismissed. Until the shell installs
// its dialog, the line is written to standard error.
void reportText(ConstStringPtr text, int32_t number);

// Plays the alert sound: the user's preferred sound when
// gAppInfos.preferredAlertSound is set, the plain beep otherwise.
void PlayAlertSound();

// Ends the program at once after a condition it cannot go on from; the exit
// status is 1.
[[noreturn]] void ExitToShell();

using ReportTextProc = void (*)(ConstStringPtr text, int32_t number);
using AlertSoundProc = void (*)(bool preferredSound);
// Must not return; it may throw, so that a test can catch the exit.
using ExitProc = void (*)();

// Install a handler (null restores the default); each returns the previous one.
ReportTextProc SetReportTextProc(ReportTextProc proc);
AlertSoundProc SetAlertSoundProc(AlertSoundProc proc);
ExitProc SetExitProc(ExitProc proc);
