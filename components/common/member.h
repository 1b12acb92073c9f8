// The member descriptor: what a component member is, as data. Most handlers
// differ only in display name, up to three parameter labels with their maps
// between normalised and real values, defaults, range class, connector codes
// and a few preparation hooks; one generic handler (KV_memberHandler) answers
// every message from the descriptor.
//
// Adding a member: write its compute function, its descriptor (in the group's
// header, `inline constexpr`) and a one-line handler that forwards to
// KV_memberHandler; then put the descriptor at its id in the family table.
// A handler that does more may be written by hand.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/gfunc.h"

// One parameter: its label (a Pascal string's bytes, blanks included) and the
// map of message 4, value = k * n + c for a normalised n; with `truncate` the
// integer part of that value is stored. Message 5 is the inverse map. An empty
// label and a zero k mark a parameter the member does not have.
struct KVparamDesc
{
  std::string_view label;
  double k = 0;
  double c = 0;
  bool truncate = false;
};

using KVmemberHook = void (*)(gfunc* g);
// The label of parameter `param` (0..2) when it depends on the parameters (a
// choice list names the chosen variant); an empty result copies no label.
using KVlabelHook = std::string_view (*)(const gfunc* g, int param);

struct KVmemberDesc
{
  int16_t id;
  const char* computeName;          // "f21_ripples"
  std::string_view name;            // display name bytes, blanks included
  KVComputeProc compute = nullptr;  // null while the member is a placeholder
  KVHandlerProc handler = nullptr;
  KVparamDesc params[3] = {};
  KVparamTriple defaults = {kAbsentParam, kAbsentParam, kAbsentParam};  // message 6
  bool choiceA = false;            // message 6 sets range class 4 on A
  uint8_t freqFlag = 0;            // message 6 sets the frequency flag
  int16_t outputCode = -1;         // message 6 output connector code; -1 keeps the family's
  int16_t inputCode = -1;          // message 6 input connector code; -1 keeps the family's
  KVmemberHook on7 = nullptr;      // message 7: structure preparation
  KVmemberHook on8 = nullptr;      // message 8: precompute into the private area
  KVmemberHook on9 = nullptr;      // message 9: convert parameters of old trees
  KVlabelHook labelFor = nullptr;  // labels that depend on the parameters
};

// A family's members in table order: ids 0..last, then 127.
struct KVmemberList
{
  const KVmemberDesc* members;
  int count;
};

// Answers message `msg` for the member `d` (see engine/protocol.h). Pointers
// a, b, c may be null where the message carries no value.
int16_t KV_memberHandler(const KVmemberDesc& d, gfunc* g, int16_t msg, double* a, double* b,
                         double* c);

// Copies `text` as a Pascal string into the world's label buffer.
void KV_copyLabel(std::string_view text);

// The descriptor that (family, id) binds, or null for a family code that is
// not assigned.
const KVmemberDesc* KV_memberDesc(int family, int id);

// The pair every placeholder member is bound to: the compute writes 0 into the
// family's outputs for the batch; the handler answers from the descriptor of
// the component's (family, id).
void KV_placeholder_compute(gfunc* g);
int16_t KV_placeholder_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Checks at compile time that a family table runs 0..count-2 without gaps and
// ends with id 127.
template <int N>
constexpr bool KV_idsInOrder(const KVmemberDesc (&members)[N])
{
  for (int i = 0; i + 1 < N; ++i)
    if (members[i].id != i)
      return false;
  return members[N - 1].id == kCompiledTreeId;
}
