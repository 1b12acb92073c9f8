// The interactive geometric commands: while the mouse button is held, the
// mouse movement drives the values of a move, scale, rotation or contrast,
// and each result is drawn at once into the current port.
#include <algorithm>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "imaging/bufcommands.h"
#include "imaging/cursorkeys.h"
#include "imaging/drawing.h"
#include "imaging/geometry.h"
#include "imaging/offview.h"
#include "imaging/transfers.h"

namespace {

constexpr int16_t kBusyCursor = 4;
constexpr int16_t kNoTempBufferAlert = 1059;
constexpr int16_t kNoTempBufferString = 4;
// Drawn with dithering and flushed at once: windows show only what is flushed.
constexpr uint16_t kDragDrawMode = 0x100 | ditherCopy;

// One value driven by one mouse axis: base + factor x (mouse - reference),
// held to [low, high]. Where the value is held, the held value becomes the
// new base and the mouse the new reference, so that moving back changes the
// value again at once.
struct DragValue
{
  int32_t base;
  int32_t factor;
  int32_t low, high;
  int32_t reference = 0;

  int32_t at(int32_t mouse)
  {
    const int32_t value = base + factor * (mouse - reference);
    if (value < low || value > high) {
      base = std::clamp(value, low, high);
      reference = mouse;
      return base;
    }
    return value;
  }
};

int32_t RoundDownTo(int32_t value, int32_t step)
{
  return value / step * step;  // toward zero
}

// Where the two interactive commands differ.
struct Variant
{
  bool recomputeAntiAliased;  // after release, scale and rotation once more anti-aliased
  bool viewRules;             // the off-screen view's shift rules, scale centre and contrast range
};

// The operation's arguments for one round.
struct Values
{
  int32_t a = 0, b = 0, angle = 256;
  uint8_t centre = 1;
};

class Drag
{
public:
  Drag(int16_t operation, const Variant& variant, Point start)
      : op_(operation),
        variant_(variant),
        first_(Initial(operation, variant, true)),
        second_(Initial(operation, variant, false))
  {
    first_.reference = start.h;
    second_.reference = start.v;
  }

  Values at(Point mouse)
  {
    Values v;
    v.a = first_.at(mouse.h);
    v.b = op_ == 2 ? 0 : second_.at(mouse.v);
    const bool shiftAlone = gshift && !gopt, shiftOption = gshift && gopt;
    switch (op_) {
      case 0:
        MoveRules(&v, shiftAlone, shiftOption);
        break;
      case 1:
        ScaleRules(&v, shiftAlone, shiftOption);
        break;
      case 2:
        v.angle = gshift ? RoundDownTo(v.a, 128) : v.a;
        break;
      default:
        if (shiftAlone)
          v.b = 0;  // brightness term 0
        else if (shiftOption)
          v.a = 0;  // contrast 128
        break;
    }
    return v;
  }

private:
  static DragValue Initial(int16_t op, const Variant& variant, bool first)
  {
    switch (op) {
      case 0:
        return DragValue{256, 1, 0, 512};
      case 1:
        return DragValue{128, 1, 16, 512};
      case 2:
        return DragValue{256, 2, 0, 1024};
      default:
        if (!first)
          return DragValue{0, 2, -256, 256};
        return DragValue{0, 2, variant.viewRules ? -256 : -128, 256};
    }
  }

  void MoveRules(Values* v, bool shiftAlone, bool shiftOption) const
  {
    if (shiftAlone)
      v->b = 256, v->a = RoundDownTo(v->a, 16);
    else if (shiftOption && variant_.viewRules)
      v->a = 256, v->b = RoundDownTo(v->b, 4);
    else if (shiftOption)
      v->a = 256;
  }

  // A scale above 119 becomes (s / 64) x 128, a smaller one is rounded down
  // to a multiple of 16.
  static int32_t SnapScale(int32_t s) { return s > 119 ? (s / 64) * 128 : RoundDownTo(s, 16); }

  void ScaleRules(Values* v, bool shiftAlone, bool shiftOption) const
  {
    v->centre = variant_.viewRules ? 1 : uint8_t(gCenterScale != 0);
    if (shiftAlone) {
      v->b = 128;
      if (variant_.viewRules)
        v->a = SnapScale(v->a);
    } else if (shiftOption) {
      v->a = 128;
      if (variant_.viewRules)
        v->b = SnapScale(v->b);
    }
  }

  int16_t op_;
  Variant variant_;
  DragValue first_, second_;
};

void RunRound(int16_t op, const Values& v, Offworld world, Offworld temp, bool antiAliased)
{
  const bool grey = world->pixels.pixelSize == 8;
  switch (op) {
    case 0:
      (grey ? Move_GW : Move_GW32)(world, temp, v.a, v.b);
      break;
    case 1:
    case 2: {
      const int32_t sx = op == 1 ? v.a : 128, sy = op == 1 ? v.b : 128;
      if (antiAliased)
        (grey ? AARotate_GW : AARotate_GW32)(world, temp, sx, sy, v.angle, v.centre);
      else
        (grey ? Rotate_GW : Rotate_GW32)(world, temp, sx, sy, v.angle, v.centre);
      break;
    }
    default:
      Contrast_GW(world, temp, v.a + 128, -v.b, 0);
      break;
  }
}

void CopyWhole(Offworld from, Offworld to)
{
  const Rect b = from->pixels.bounds;
  TransfertGWorlds(from, to, PackRectTopLeft(b), PackRectBottomRight(b), PackRectTopLeft(b),
                   PackRectBottomRight(b), 0, 0);
}

void RestoreChannels(Offworld world, Offworld temp, int16_t mask)
{
  if (world->pixels.pixelSize == 32 && mask > 0)
    keepchannel(world, temp, mask);
}

void MouseCommand(Offworld world, const Rect& srcRect, const Rect& dstRect, int16_t operation,
                  int16_t mask, const Variant& variant)
{
  if (!world || !world->pixels.baseAddr)
    return;
  const Rect B = world->pixels.bounds;
  const int16_t depth = world->pixels.pixelSize;
  Offworld temp = nullptr;
  if (CreateOffworld(PackRectTopLeft(B), PackRectBottomRight(B), depth, &temp) != noErr) {
    do_AlertUser_dlog(kNoTempBufferAlert, kNoTempBufferString, nullptr);
    return;
  }
  // An operation the table does not know, or a depth the operations do not
  // handle, would copy back a temporary buffer never drawn: the buffer is
  // left as it is.
  if (operation < 0 || operation > 4 || (depth != 8 && depth != 32)) {
    KillOffworld(&temp);
    return;
  }
  Point mouse;
  GetMouse(&mouse);
  Drag drag(operation, variant, mouse);
  Values v;
  do {
    v = drag.at(mouse);
    RunRound(operation, v, world, temp, false);
    RestoreChannels(world, temp, mask);
    CopyGworldCurPort(temp, &srcRect, &dstRect, kDragDrawMode);
  } while (buttontrue(&mouse));

  const int16_t previousCursor = gCursorID;
  DChangeCursor(kBusyCursor);
  const bool scaled = operation == 1 && (v.a != 128 || v.b != 128);
  const bool turned = operation == 2 && v.angle != 256;
  if (variant.recomputeAntiAliased && (scaled || turned)) {
    RunRound(operation, v, world, temp, true);
    RestoreChannels(world, temp, mask);
  }
  CopyWhole(temp, world);
  KillOffworld(&temp);
  DChangeCursor(previousCursor);
}

}  // namespace

void XMouseOffworld_Commandes(Offworld world, Rect srcRect, Rect dstRect, int16_t operation,
                              int16_t mask)
{
  MouseCommand(world, srcRect, dstRect, operation, mask, Variant{true, false});
}

void MouseOffworld_Commandes(OffView* view, int16_t operation, int16_t mask)
{
  if (!view)
    return;
  const Rect dstRect = CalcWindowDrawRect(view);
  const Rect srcRect = ViewRect2OffRect(view, dstRect);
  MouseCommand(view->world, srcRect, dstRect, operation, mask, Variant{false, true});
}
