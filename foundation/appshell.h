// The few services of the application shell that the lower layers call: the
// text alert, the alert sound, the fatal exit and the application record.
// The shell installs the real dialog and beep at start-up; tests install
// their own to see what was reported.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/fileio.h"
#include "foundation/types.h"
#include "platform/files.h"

// Records of later layers that the application record points at.
struct GrafPort;
struct Region;
struct QZImage;

// The application record. It holds what the lower layers read of the
// application; the shell adds its own fields.
struct AppInfos
{
  // Play the user's preferred alert sound rather than the plain beep.
  bool preferredAlertSound = true;

  // Filled by initAppGlobals at every start (never saved).
  int16_t (*commandHandler)(int32_t command, void* data) = nullptr;  // the general dispatcher
  Str255 defaultDocName = {};                                        // "Untitled"
  FileRef workingFolder;      // a copy of the application folder
  FileRef applicationFolder;  // the folder of the executable
  FileRef resourcesFolder;    // Resources/; empty when there is none
  FileRef preferencesFolder;  // where the preferences file lives
  OSType creator = 0;
  Str31 applicationName = {};
  Str31 separator = {};       // " "
  Str255 paramString = {};    // message text of the parameter-string helpers
  Str255 prefsFileName = {};  // application name + ".prefs"
  int16_t paramStringFlag = 0;
  int32_t paramStringNumber = 0;
  uint8_t singleDocument = 0;  // 1: one document at a time
  uint8_t aborted = 0;
  uint8_t applicationActive = 1;
  uint8_t preferencesLoaded = 0;
  uint32_t directoryHistoryCount = 0;
  // Folders files were last found in (App_AddtoDirlist), oldest first.
  FileRef directoryHistory[32];
  // The recent file records the open dialogs' recent-files button offers.
  frefinfos fileRecords[24];
  int16_t fileRecordCount = 0;
  // The kind of the last window or keyboard event a window handled.
  uint32_t lastEventKind = 0;

  // Filled by the application's start-up.
  GrafPort* port = nullptr;         // the UI library's port
  int16_t recentMenuID = 0;         // the menu listing fileRecords; 0: none
  FileRef applicationBundle;        // the executable itself
  FileRef applicationFile;          // the same, as the application's file
  int16_t resourceFile = 0;         // the resource store current at start
  Region* scratchRegion = nullptr;  // the UI library's scratch region
  QZImage* uiImages[16] = {};       // the UI library's list images
  uint8_t aquaMenuLayout = 1;       // the application menu comes first
  uint8_t system104 = 1;            // the desktop offers what 10.4 offered
  uint8_t system105 = 1;            // ... and 10.5: the preferred alert sound
  normalcolor shadowColor{};        // the colour handed to the UI library
};
extern AppInfos gAppInfos;

// Shows the application's alert with `text` followed by = and the number in
// double quotes; returns when the alert is dismissed. Until the shell installs
// its dialog, the line is written to standard error.
void reportText(ConstStringPtr text, int32_t number);

// The application's modal alert `id` with the message of string list 128 at
// `index`, or `text` when given; 1 when it was shown, 0 when it could not be
// made. Until the shell installs its dialog, the message (or "alert ID
// index") is written to standard error and the answer is 1.
int16_t do_AlertUser_dlog(int16_t id, int16_t index, ConstStringPtr text);

// The object-name dialog: shows `name` for editing, with entry `prompt` of
// string list 5000 as its prompt when prompt > 0; true (and the edited text
// in `name`, at most 255 bytes) on OK, false on Cancel. Until the shell
// installs its dialog the answer is false and the name is unchanged.
bool GetObjetName(StringPtr name, int16_t prompt);

// Plays the alert sound: the user's preferred sound when
// gAppInfos.preferredAlertSound is set, the plain beep otherwise.
void PlayAlertSound();

// Ends the program at once after a condition it cannot go on from; the exit
// status is 1.
[[noreturn]] void ExitToShell();

using ReportTextProc = void (*)(ConstStringPtr text, int32_t number);
using AlertDialogProc = int16_t (*)(int16_t id, int16_t index, ConstStringPtr text);
using ObjectNameProc = bool (*)(StringPtr name, int16_t prompt);
using AlertSoundProc = void (*)(bool preferredSound);
// Must not return; it may throw, so that a test can catch the exit.
using ExitProc = void (*)();

// Install a handler (null restores the default); each returns the previous one.
ReportTextProc SetReportTextProc(ReportTextProc proc);
AlertDialogProc SetAlertDialogProc(AlertDialogProc proc);
AlertSoundProc SetAlertSoundProc(AlertSoundProc proc);
ObjectNameProc SetObjectNameProc(ObjectNameProc proc);
ExitProc SetExitProc(ExitProc proc);
