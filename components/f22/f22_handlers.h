// Declares the compute function and the handler of an f22 member, and
// defines the handler as a forward to the generic one with the member's
// descriptor.
#pragma once

#include "components/common/member.h"

#define F22_MEMBER(name) \
  void name(gfunc* g);   \
  int16_t name##_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)

#define F22_FORWARD_HANDLER(name, desc)                                          \
  int16_t name##_handler(gfunc* g, int16_t msg, double* a, double* b, double* c) \
  {                                                                              \
    return KV_memberHandler(desc, g, msg, a, b, c);                              \
  }
