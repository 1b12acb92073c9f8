// The program's start-up, main loop and shutdown.
//
// Main thread only.
#pragma once

#include <string>
#include <vector>

inline constexpr uint32_t kAppCreator = 0x516A7072;  // 'Qjpr'

// Starts the program on the paths given (folders to show), runs it until
// 'quit' and shuts it down; the exit status. With no display it says so on
// one line and answers 1; when another instance runs, the paths go to it
// and the answer is 0.
int KVapp_main(const std::vector<std::string>& paths);

// "Open documents": each folder is shown in the current browser (a new one
// when there is none), which comes to the front. Files are left to the
// browser's pages.
void KVapp_OpenDocuments(const std::vector<std::string>& paths);

// The start-up steps between the window layer and the main loop: memory
// pool, UI library, dialogs and services, preferences, application events,
// menus, the world record and its default picture; then the first browser.
void KVapp_Startup();
// Writes the preferences and shuts the UI library down.
void KVapp_Shutdown();
