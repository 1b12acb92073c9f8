// The scripted-input lines the probe tools share: mouse, key, modifier,
// clock and pop-up menu steps, queued on the scripted backend. Each tool
// reads its own extra lines first and hands the rest to StepQueue::step.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>

#include "platform/ui.h"

namespace probescript {

// Queues the shared steps of one script, keeping the modifier keys held
// from one line to the next.
class StepQueue
{
public:
  // `origin` is the global point of the window-local (0, 0) that script
  // points are given in. With `escapeKey`, "key escape" (or 27) presses the
  // Escape key, as the dialogs' scripts need; without it a key step sends
  // its character alone, with no key code.
  StepQueue(kvui::Point origin, bool escapeKey) : origin_(origin), escapeKey_(escapeKey) {}

  // Queues one line, `op` being its first word and `words` the rest:
  //   press H V | move H V | release H V | click H V
  //   key C                one character, or tab, return, enter (escape with
  //                        escapeKey), or a number
  //   mod option|shift|command|control on|off
  //   tick N
  //   menu N               the next pop-up menu chooses entry N
  // False for a line it cannot read or does not know.
  bool step(const std::string& op, std::istream& words);

  // A pointer step at "H V": click presses and releases, press and move
  // hold the button down, any other op (release, hover) has it up.
  bool pointer(const std::string& op, std::istream& words);

private:
  kvui::Point origin_;
  bool escapeKey_;
  uint16_t modifiers_ = 0;
};

// Reads a script line by line (blank lines and lines whose first word
// starts with # are skipped), handing each line's first word and the rest
// to `take`. At the first line `take` refuses it prints
// "TOOL: script line N: 'LINE'" and returns false.
bool readScript(std::istream& in, const char* tool,
                const std::function<bool(const std::string& op, std::istream& words)>& take);

}  // namespace probescript
