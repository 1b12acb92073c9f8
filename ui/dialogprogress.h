// The progress dialog, which hosts a caller's drawing procedure in the
// custom item of the alert's layout with two buttons, and the three-way
// question whether to save changes.
//
// Progress (layout 1059): item 4 is the custom item the procedure draws
// (called as procedure(item, dialog, message, param)); items 2 and 3 send
// commands 2 and 3, which call the procedure with messages 21 and 22; the
// OK and Cancel boxes below the layout end the dialog.
//
// Save-ask: item 2 shows the question; items 3, 4 and 5 answer Cancel
// ('canc': 2), Don't save (command 4: 0) and Save ('ok  ', or any other
// command: 1).
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "ui/dialogbase.h"

inline constexpr int16_t kProgressCustomItem = 4;
inline constexpr int16_t kProgressMessage2 = 21;
inline constexpr int16_t kProgressMessage3 = 22;
inline constexpr int16_t kSaveAskDialogID = 1057;

class IB_cproc_dlog : public IBbasedlog
{
public:
  IB_cproc_dlog(uiCustomProc procedure, uintptr_t data, uint16_t value, bool showButtons);
  // Runs until OK or Cancel; true when the key result is 1.
  bool Run(char* unused);

  bool mouse(Point where) override;

  uiCustomProc procedure = nullptr;
  uintptr_t data = 0;  // the caller's word, pointer-sized
  uint16_t value = 0;
  uint8_t showButtons = 1;
};

class IB_saveask_dlog : public IBbasedlog
{
public:
  explicit IB_saveask_dlog(int16_t id);
  int16_t Run();

  bool mouse(Point where) override;

  int16_t answer = 0;  // 0 don't save, 1 save, 2 cancel
};

int16_t do_cproc_Command(Edoc* doc, int32_t command, void* data);
int16_t do_saveask_Command(Edoc* doc, int32_t command, void* data);

// Runs the progress dialog; true when it ended with key result 1 (OK).
bool do_cproc_dlog(uiCustomProc procedure, uintptr_t data, uint16_t value, bool showButtons);
// Asks whether to save (the text in item 2 when given): 0 don't save,
// 1 save, 2 cancel; 0 when the dialog could not be made.
int16_t do_saveask_dlog(int16_t id, ConstStringPtr text);
