// The alert, the warning and the splash (About) box: small Carbon-mode
// dialogs with OK/Cancel mode 0, each run application-modally by its run
// function.
//
// Items used:
//   alert    2 the message: string `index` of list 128, or the given text
//            (index 0); 3 the OK button, opcode 'ok  '
//   warning  2 the message: string `index` of list 129; 3 Cancel ('canc'),
//            hidden without cancel; 4 OK ('ok  ')
//   splash   1 shows the given text; 2 closes the box (opcode 2, the
//            dialog as its data)
// The alert and the warning take commands only from their items, so Return
// closes neither; the splash ignores an 'ok  ' without data.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "ui/dialogbase.h"

inline constexpr int16_t kWarningDialogID = 1058;
inline constexpr int16_t kAboutDialogID = 1056;
inline constexpr int32_t kAboutTicks = 600;
inline constexpr int16_t kAlertStringList = 128;
inline constexpr int16_t kWarningStringList = 129;

class AlertUser_dlog : public IBbasedlog
{
public:
  explicit AlertUser_dlog(int16_t id);
  // Item 2 shows string `index` of list 128.
  void SetupUI(int16_t index);
  // Item 2 shows exactly the text (any length up to 255 bytes).
  void SetMessage(ConstStringPtr text);
  // Draws, runs the modal loop until OK; 1.
  int16_t Run(int16_t unused);

  void Draw() override;
  void idle(Point where) override;
  bool mouse(Point where) override;

private:
  Str255 message = {};
  bool ownText = false;
};

class IB_warning_dlog : public IBbasedlog
{
public:
  explicit IB_warning_dlog(int16_t id);
  // Item 2 takes string `index` of list 129; runs the modal loop; true
  // unless Cancel ended it.
  bool Run(int16_t index);

  void idle(Point where) override;
  bool mouse(Point where) override;

  uint8_t withCancel = 1;
  uint8_t cancelled = 0;
};

class SplatchScreen_dlog : public IBbasedlog
{
public:
  explicit SplatchScreen_dlog(int16_t id);
  // Shows the text in item 1 and runs until item 2 is clicked or the
  // duration has passed; true when the key result is 1.
  bool Run();

  void idle(Point where) override;
  bool mouse(Point where) override;

  Str255 text = {};
  uint32_t duration = 0;
  uint32_t startTick = 0;
};

int16_t AlertUser_Command(Edoc* doc, int32_t command, void* data);
int16_t do_warning_Command(Edoc* doc, int32_t command, void* data);
int16_t SplatchScreen_dlog_Command(Edoc* doc, int32_t command, void* data);

// The alert dialog `id` with string `index` of list 128 (index > 0), the
// text (index 0) or item 2 as the layout has it (index < 0); 1 when it
// ran, 0 when it could not be made. Foundation's do_AlertUser_dlog calls it
// once InstallAlertDialogs has run.
int16_t RunAlertUser_dlog(int16_t id, int16_t index, ConstStringPtr text);
// The warning `id` with string `index` of list 129; true unless Cancel was
// chosen (false when it could not be made).
bool do_warning_dlog(int16_t id, int16_t index, bool withCancel);
// The splash `id` showing the text until item 2 is clicked or `ticks` have
// passed; true when it ended with key result 1.
bool do_SplatchScreen_dlog(int16_t id, ConstStringPtr text, int32_t ticks);

// Installs the alert dialog as foundation's do_AlertUser_dlog service, and
// reportText as alert 1059 with the text followed by ="number". Called by
// the application at start-up, after the window layer and the UI library.
void InstallAlertDialogs();
