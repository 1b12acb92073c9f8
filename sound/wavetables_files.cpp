#include <algorithm>
#include <vector>

#include "document/envelopes.h"
#include "foundation/appshell.h"
#include "foundation/doubletables.h"
#include "foundation/iodata.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "foundation/vectors.h"
#include "imaging/ports.h"
#include "imaging/qzbitmaps.h"
#include "sound/wavetables.h"
#include "ui/filedialogs.h"
#include "ui/uidrawshapes.h"

namespace {

constexpr normalcolor kCurveColour{255, 0, 0, 0};
constexpr normalcolor kPreviewBackground{255, 255, 255, 255};

void setWaveTableRequest()
{
  gIOdata.typeList[0] = kEnvelopeFileType;
  gIOdata.typeList[1] = kWaveTableType;
  gIOdata.typeCount = 2;
  gIOdata.previewHook = TablePreviewHookProc;
  SetPString(gIOdata.prompt, "Open Wave Table");
}

// The preview's values: a 'Qjtb' table as it is, a wave table mapped from
// -1..1 to 0..1; none for another type or without a file.
std::vector<double> previewValues(OSType type, const FileRef* file)
{
  std::vector<double> values;
  if (!file || (type != kEnvelopeFileType && type != kWaveTableType))
    return values;
  values.assign(size_t(type == kWaveTableType ? kTablePreviewWaveCount : kTablePreviewQjtbCount),
                0.0);
  values.resize(size_t(std::max(lowread_table(values.data(), int32_t(values.size()), *file), 0)));
  if (type == kWaveTableType)
    for (double& v : values)
      v = 0.5 * v + 0.5;
  return values;
}

}  // namespace

bool WaveTable_ReadFile(double* table, int32_t n, const FileRef& file)
{
  if (!table || n <= 0)
    return false;
  std::vector<double> values(size_t(n), 0.0);
  const int32_t count = lowread_table(values.data(), n, file);
  if (count <= 0)
    return false;
  dvector_resample(values.data(), table, count, n);
  if (xFile_getType(file) == kEnvelopeFileType)
    for (int32_t k = 0; k < n; ++k)
      table[k] = 2 * table[k] - 1;
  return true;
}

bool read_WaveTable(double* table, int32_t n, frefinfos* record)
{
  if (!table || n <= 0 || !record)
    return false;
  setWaveTableRequest();
  if (!xEFILE_GET(*record))
    return false;
  FileRef file;
  return App_frefinfos2fSRef(*record, &file) && WaveTable_ReadFile(table, n, file);
}

int32_t TablePreviewHookProc(OSType type, FileRef* file, Point topLeft, Point bottomRight,
                             bool click)
{
  if (click)
    return 0;
  // The open dialog's own context while it runs the hook; otherwise one on
  // the current port.
  CGContextRef ctx = xnav_HookContext();
  CGrafPtr port = nullptr;
  if (!ctx) {
    GDHandle device = nullptr;
    GetGWorld(&port, &device);
    ctx = port ? QZ_OpenContext(port) : nullptr;
    if (!ctx)
      return 0;
  }
  const int32_t centreH = (int32_t(topLeft.h) + bottomRight.h) / 2;
  const int32_t centreV = (int32_t(topLeft.v) + bottomRight.v) / 2;
  const Rect frame{
      int16_t(centreV - kTablePreviewHeight / 2), int16_t(centreH - kTablePreviewWidth / 2),
      int16_t(centreV + kTablePreviewHeight / 2), int16_t(centreH + kTablePreviewWidth / 2)};
  const std::vector<double> values = previewValues(type, file);
  dvector_normdrawFC(ctx, values.data(), int32_t(values.size()), frame, kCurveColour,
                     kPreviewBackground);
  if (port)
    QZ_CloseContext(ctx, port);
  return 0;
}

void SetWaveEnvActionName(ConstStringPtr name)
{
  const char* action = "Blend with ";
  if (gopt)
    action = "Multiply with ";
  else if (gctrl)
    action = "Modulate with ";
  else if (gcmd)
    action = "FadeIn with ";
  SetPString(gAppInfos.paramString, action);
  if (name)
    CConcatPStrings(gAppInfos.paramString, name);
}
