#include "engine/gfunc.h"

uint8_t Paraminit(gfunc* g, double a, double b, double c)
{
  g->A = a;
  g->B = b;
  g->C = c;
  uint8_t count = 0;
  if (c != kAbsentParam)
    count = 3;
  else if (b != kAbsentParam)
    count = 2;
  else if (a != kAbsentParam)
    count = 1;
  g->paramCount = count;
  g->freqFlag = 0;
  return count;
}
