#include "foundation/modifierkeys.h"

uint8_t gctrl = 0;
uint8_t gshift = 0;
uint8_t gopt = 0;
