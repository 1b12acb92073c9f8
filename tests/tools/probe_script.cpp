#include "probe_script.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace probescript {

namespace {

uint16_t modifierBit(const std::string& name)
{
  if (name == "option")
    return kvui::optionKey;
  if (name == "shift")
    return kvui::shiftKey;
  if (name == "command")
    return kvui::cmdKey;
  if (name == "control")
    return kvui::controlKey;
  return 0;
}

// A key step's character: a named key, a single character, or a number.
uint32_t keyCharacter(const std::string& word, bool escapeWord)
{
  if (word == "tab")
    return 9;
  if (word == "return")
    return 13;
  if (word == "enter")
    return 3;
  if (escapeWord && word == "escape")
    return 27;
  if (word.size() == 1)
    return uint8_t(word[0]);
  return uint32_t(std::atoi(word.c_str()));
}

}  // namespace

bool StepQueue::pointer(const std::string& op, std::istream& words)
{
  int32_t h = 0, v = 0;
  if (!(words >> h >> v))
    return false;
  const kvui::Point p{origin_.v + v, origin_.h + h};
  if (op == "click") {
    kvui::script::mouse(p, true, modifiers_);
    kvui::script::mouse(p, false, modifiers_);
  } else {
    kvui::script::mouse(p, op == "press" || op == "move", modifiers_);
  }
  return true;
}

bool StepQueue::step(const std::string& op, std::istream& words)
{
  if (op == "press" || op == "move" || op == "release" || op == "click")
    return pointer(op, words);
  std::string a, b;
  int32_t n = 0;
  if (op == "key" && (words >> a)) {
    const uint32_t c = keyCharacter(a, escapeKey_);
    const int32_t code = escapeKey_ && c == 27 ? kvui::kKeyEscape : 0;
    kvui::script::key(code, c, true, modifiers_);
    kvui::script::key(code, c, false, modifiers_);
  } else if (op == "mod" && (words >> a >> b) && modifierBit(a)) {
    modifiers_ =
        b == "on" ? uint16_t(modifiers_ | modifierBit(a)) : uint16_t(modifiers_ & ~modifierBit(a));
    kvui::script::modifiers(modifiers_);
  } else if (op == "tick" && (words >> n)) {
    kvui::script::ticks(n);
  } else if (op == "menu" && (words >> n)) {
    kvui::script::menuChoice(n);
  } else {
    return false;
  }
  return true;
}

bool readScript(std::istream& in, const char* tool,
                const std::function<bool(const std::string& op, std::istream& words)>& take)
{
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::istringstream words(line);
    std::string op;
    if (!(words >> op) || op[0] == '#')
      continue;
    if (!take(op, words)) {
      std::fprintf(stderr, "%s: script line %d: '%s'\n", tool, lineNumber, line.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace probescript
