// Small services of the application frame: the error alert built by
// reportText, the user-abort test of long operations, the status message
// (the parameter string) that the browser shows at its bottom edge, the
// name dialog and the two event pumps of the older event model. The
// document registry lives with the windows (ui/registry.h).
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"

inline constexpr int16_t kReportAlertID = 1059;
inline constexpr int32_t kShowParamCommand = 504;
inline constexpr int16_t kObjectNameListID = 5000;

// The text followed by =, a double quote, the number in decimal and a
// double quote, in alert 1059 ("x" and -43 show x="-43"). The alert's
// answer.
int16_t App_reportText(ConstStringPtr text, int32_t number);
// Installs App_reportText and App_GetObjetName as foundation's report and
// name procedures.
void App_InstallServices();

// True when Escape is down (key-down events are then dropped), or, with
// watchMenuBar while the program is active, when the mouse is in the top 20
// pixels of the screen; either sets the aborted byte, which keeps the
// answer true until a caller clears it.
bool App_ProcessAborted(bool watchMenuBar);

// The parameter string of gAppInfos: "name value%" (the value in decimal).
void SetParamString_percent(ConstStringPtr name, int32_t value);
// "name value%" with two decimals; clears the parameter-string flag; with
// show, command 504 goes to the command handler.
void ShowParamString_percent(ConstStringPtr name, double value, bool show);
// "name value" with two decimals, then, when suffix is not 0, its three
// low-order bytes as characters, lowest first (a unit); as above.
void ShowParamString_variable(ConstStringPtr name, double value, bool show, uint32_t suffix);

// The name dialog: the name for editing under entry `prompt` of string
// list 5000 (when prompt > 0 and the entry is not empty); OK stores the
// edited text and answers true, Cancel false. False without the dialog's
// layout.
bool App_GetObjetName(StringPtr name, int16_t prompt);

// Takes one waiting window-system event of the old OS kind: the
// application-active state of an activation (and its value), else 0 when
// none waits.
int16_t App_OSTask();
// Lets pending updates run: n + 1 rounds (none for n < 0).
void App_RedrawLoop(int32_t n);
