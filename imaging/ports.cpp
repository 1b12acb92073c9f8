#include "imaging/ports.h"

#include <algorithm>

#include "imaging/pixels_pvt.h"

CGrafPtr gScreenPort = nullptr;

namespace {

struct PortState
{
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
};
// Each thread draws with its own current port, as each has its own stack.
thread_local PortState tCurrent;

// A port over pixels owned elsewhere keeps its pixel map beside it.
struct PixelPort : GrafPort
{
  PixMap pixels;
};

bool ReadPortPixel(void* surface, int32_t h, int32_t v, RGBColor* out)
{
  auto* port = static_cast<CGrafPtr>(surface);
  const PixMap* pm = port ? port->portPixMap : nullptr;
  if (!pm || !pm->baseAddr)
    return false;
  int32_t col = h - pm->bounds.left, row = v - pm->bounds.top;
  if (col < 0 || row < 0 || col >= RectWidth(pm->bounds) || row >= RectHeight(pm->bounds))
    return false;
  normalcolor c = kvpix::ValueToColor(*pm, kvpix::ReadValue(*pm, col, row));
  *out = RGBColor{uint16_t(c.red * 257), uint16_t(c.green * 257), uint16_t(c.blue * 257)};
  return true;
}

}  // namespace

CGrafPtr NewPixelPort(uint8_t* baseAddr, int32_t rowBytes, Rect bounds, int16_t pixelSize,
                      OSType pixelFormat)
{
  auto* port = new PixelPort;
  port->pixels.baseAddr = baseAddr;
  port->pixels.rowBytes = rowBytes;
  port->pixels.bounds = bounds;
  port->pixels.pixelSize = pixelSize;
  port->pixels.pixelFormat = pixelFormat;
  port->portPixMap = &port->pixels;
  port->portRect = bounds;
  port->clipRect = bounds;
  port->drawState.pixelQuery = ReadPortPixel;
  port->drawState.surface = port;
  return port;
}

void DisposePixelPort(CGrafPtr port)
{
  if (!port || port->world)
    return;
  if (tCurrent.port == port)
    SetGWorld(nullptr, nullptr);
  if (gScreenPort == port)
    gScreenPort = nullptr;
  delete static_cast<PixelPort*>(port);
}

void GetGWorld(CGrafPtr* port, GDHandle* device)
{
  if (port)
    *port = tCurrent.port;
  if (device)
    *device = tCurrent.device;
}

void SetGWorld(CGrafPtr port, GDHandle device)
{
  tCurrent.port = port;
  tCurrent.device = device;
  if (port) {
    port->drawState.pixelQuery = ReadPortPixel;
    port->drawState.surface = port;
  }
  SetDrawState(port ? &port->drawState : nullptr);
}

PixMapHandle GetPortPixMap(CGrafPtr port)
{
  return port ? port->portPixMap : nullptr;
}

bool LockPixels(PixMapHandle pm)
{
  return pm != nullptr && pm->baseAddr != nullptr;
}

void UnlockPixels(PixMapHandle) {}

void LockPortBits(CGrafPtr port)
{
  if (port)
    ++port->bitsLockCount;
}

void UnlockPortBits(CGrafPtr port)
{
  if (port && port->bitsLockCount > 0)
    --port->bitsLockCount;
}

void QDFlushPortBuffer(CGrafPtr port, const Rect& rect)
{
  if (port && port->flushProc)
    port->flushProc(port, rect, port->flushRefCon);
}

Point LocalToGlobal(CGrafPtr port, Point local)
{
  if (!port)
    return local;
  return Point{int16_t(local.v + port->globalOrigin.v), int16_t(local.h + port->globalOrigin.h)};
}

Rect SectRect(const Rect& a, const Rect& b)
{
  return Rect{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
              std::min(a.right, b.right)};
}

Rect OffsetRect(const Rect& r, int32_t dh, int32_t dv)
{
  return Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom + dv),
              int16_t(r.right + dh)};
}
