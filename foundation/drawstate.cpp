#include "foundation/drawstate.h"

namespace {

// The state used while no window has installed its own; main thread only.
DrawState gDefaultDrawState;
DrawState* gCurrentDrawState = &gDefaultDrawState;

}  // namespace

DrawState* GetDrawState()
{
  return gCurrentDrawState;
}

DrawState* SetDrawState(DrawState* state)
{
  DrawState* previous = gCurrentDrawState;
  gCurrentDrawState = state != nullptr ? state : &gDefaultDrawState;
  return previous;
}

void RGBForeColor(const RGBColor* c)
{
  gCurrentDrawState->foreColor = *c;
}

void RGBBackColor(const RGBColor* c)
{
  gCurrentDrawState->backColor = *c;
}

void GetForeColor(RGBColor* c)
{
  *c = gCurrentDrawState->foreColor;
}

void GetBackColor(RGBColor* c)
{
  *c = gCurrentDrawState->backColor;
}

void GetCPixel(int32_t h, int32_t v, RGBColor* c)
{
  const DrawState& state = *gCurrentDrawState;
  if (state.pixelQuery == nullptr || !state.pixelQuery(state.surface, h, v, c))
    *c = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
}
