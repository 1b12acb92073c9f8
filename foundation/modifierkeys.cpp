#include "foundation/modifierkeys.h"

uint8_t gctrl = 0;
uint8_t gshift = 0;
uint8_t gopt = 0;
uint8_t gcmd = 0;
uint8_t gdbl = 0;
uint8_t gAltiVec = 0;
