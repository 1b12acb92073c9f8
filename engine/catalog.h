// The component catalog: binds a family code and a function id to a member's
// compute function and handler, sets the family's connector codes, asks the
// handler for its defaults and probes the ranges of A, B and C.
//
// The members themselves live in the components library, one explicit table
// per family in id order. The engine reaches them through the two functions
// under "Member tables", which the components library defines; the engine and
// components libraries are linked as a cycle, so any program that links
// either gets the whole catalog.
//
// Binding runs on the main thread (or on a thread that owns the component's
// document copy); it touches only the component it binds.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"

// setFunc modes.
enum : int16_t
{
  kBindOnly = -1,          // any negative mode: no message, parameters untouched
  kBindDefaults = 0,       // defaults, copied into the 16 keyframes, then probe
  kBindKeepKeyframes = 1,  // as 0, keyframes left as they were
  kBindRandomize = 2,      // as 0, then ParamRandomize(g, 0.33)
};

// Binds the component to member `id` of family `family`. Stores the family
// code and id, clears the range classes and the evaluation flag, clears the
// parameter count unless the control key is held (gctrl). An unassigned family
// code (0, 14, negative or above 18) binds nothing and sends no message.
// Otherwise the family's binder sets the connector codes, clears the inlets
// beyond the family's input count, zeroes the private area and the outputs and
// stores the member's pair (unknown ids give the family's default member, id
// 127 the compiled-tree member with lock bit 1). Modes 0 to 2 then send
// message 6, fill the keyframes (modes 0 and 2), probe the ranges, and in mode
// 2 randomise the parameters.
void setFunc(gfunc* g, int16_t family, int16_t id, int16_t mode);

// The family binders (they send no message). setFunc binds families 2, 4, 13
// and 15 itself.
void setFunc11(gfunc* g, int16_t id);
void setFunc2o(gfunc* g, int16_t family, int16_t id);
void setFunc3o(gfunc* g, int16_t family, int16_t id);
void setFunc4o(gfunc* g, int16_t family, int16_t id);

// Sends message 4 with normalised zeros, then ones, storing the resulting
// A, B, C in low and high; puts A, B, C back.
void arb_findparamrange(gfunc* g, double low[3], double high[3]);

// The range probe of setFunc on a bound component, without message 6 and
// without clearing the classes first: a class no test assigns keeps its value.
void arb_findparamtypes(gfunc* g);

// ---- Families -------------------------------------------------------------

// The binder row of an assigned family code.
struct KVfamilyInfo
{
  uint16_t code;
  const char* name;  // "f11"
  int16_t inputCode;
  int16_t outputCode;
  int16_t lastId;     // ids 0..lastId are members, then 127
  int16_t defaultId;  // member of every id that is not listed
};

// The row of `family`, or null for a code that is not assigned.
const KVfamilyInfo* KV_familyInfo(int family);

// The assigned family codes in increasing order.
inline constexpr uint16_t kFamilyCodes[17] = {1,  2,  3,  4,  5,  6,  7,  8, 9,
                                              10, 11, 12, 13, 15, 16, 17, 18};

// Position of member `id` in its family's table (ids 0..lastId at their own
// position, 127 last, anything else the default member); -1 for a family code
// that is not assigned.
int KV_memberPosition(int family, int id);

// ---- Member tables (defined by the components library) --------------------

// One member as the catalog binds it.
struct KVcatalogMember
{
  int16_t id;
  KVComputeProc compute;
  KVHandlerProc handler;
  const char* computeName;  // "f21_ripples"
  bool real;                // false while the member is a placeholder
};

// Number of members of an assigned family (lastId + 2); 0 otherwise.
int KV_familyMemberCount(int family);

// Member at `position` (0 .. count-1) of the family's table.
KVcatalogMember KV_familyMember(int family, int position);

// The member that (family, id) binds; compute and handler are null for a
// family code that is not assigned.
KVcatalogMember KV_catalogMember(int family, int id);
