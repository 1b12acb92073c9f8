// Command dispatch: every request reaches the program as a command (a
// four-character code or a small number, with an optional data pointer).
// Menu choices and activation changes arrive as application events through
// AppEventHandler; DoGeneralCommand handles the application's own commands
// and hands every other one to the current browser's command callback.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// An application event: class 'cmds' (kind 1 process a command, 2 update
// a command's status) or 'appl' (kind 1 activated, 2 deactivated).
struct AppEvent
{
  uint32_t eventClass = 0;
  uint32_t kind = 0;
  uint32_t command = 0;
  uint32_t attributes = 0;  // bit 0: the command comes from a menu
  int16_t menuID = 0;
};
inline constexpr uint32_t kCommandFromMenu = 1;

// Handles the event and answers -9874 for every event, so that the
// standard handlers see it too.
int32_t AppEventHandler(const AppEvent& event);
// The application's command handler: 0 handled; for other commands the
// browser's answer (-9874 when it does not handle them), 0 without a
// browser.
int16_t DoGeneralCommand(int32_t command, void* data);
// Brings one menu's enabled state up to date before it shows.
void AdjustMenu(int16_t menuID);

// Wires the menu bar and the window layer's activation to AppEventHandler.
void InstallAppEvents();
