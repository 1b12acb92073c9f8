// The drawn overview of a sequence: one horizontal line a note, its height
// by key, on an optional dark background; and the open dialog's preview.
#include <algorithm>

#include "foundation/iodata.h"
#include "sound/sequencer.h"
#include "ui/filedialogs.h"
#include "ui/qzdraw.h"

namespace {

constexpr double kBackground[3] = {22 / 255.0, 8 / 255.0, 0 / 255.0};
constexpr double kNoteColour[3] = {255 / 255.0, 80 / 255.0, 0 / 255.0};
constexpr int32_t kMaxImageSide = 8192;
constexpr double kPreviewLeft = 16, kPreviewTop = 4, kPreviewWidth = 256, kPreviewHeight = 64;

}  // namespace

void SmallSequencer_qzDraw(CGContextRef ctx, const SmallSequencer* seq, uint32_t width,
                           uint32_t height, uint8_t withBackground)
{
  if (!ctx || !seq || width == 0 || height == 0)
    return;
  if (withBackground) {
    QZ_ContextSetRGBFillColor(ctx, kBackground[0], kBackground[1], kBackground[2], 1);
    QZ_ContextFillRect(ctx, QZRect{0, 0, double(width), double(height)});
  }
  const double length = double(std::max<int16_t>(seq->beats, 1)) *
                        std::max<int16_t>(seq->measures, 1) * kSeqTicksPerBeat;
  const double xScale = width / length;
  QZ_ContextBeginPath(ctx);
  for (int32_t i = 0; i < std::clamp(seq->noteCount, 0, kSeqMaxNotes); ++i) {
    const SeqNote& note = seq->notes[i];
    const double x0 = note.start * xScale;
    if (x0 > width)
      break;
    const double y = height - double(note.key) * height / 128.0;
    QZ_ContextMoveToPoint(ctx, x0, y);
    QZ_ContextAddLineToPoint(ctx, note.end * xScale, y);
  }
  QZ_ContextSetRGBStrokeColor(ctx, kNoteColour[0], kNoteColour[1], kNoteColour[2], 1);
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_ContextStrokePath(ctx);
}

CGImageRef SmallSequencer_BuildRepresentation(const SmallSequencer* seq, uint32_t width,
                                              uint32_t height, uint8_t withBackground)
{
  if (width > kMaxImageSide || height > kMaxImageSide)
    return nullptr;
  return QZ_ImageFromDrawing(int32_t(width), int32_t(height), [&](CGContextRef ctx) {
    QZ_ContextSetShouldAntialias(ctx, false);
    SmallSequencer_qzDraw(ctx, seq, width, height, withBackground);
  });
}

int32_t mySEQPreviewHookProc(OSType type, FileRef* file, Point topLeft, Point, bool click)
{
  CGContextRef ctx = xnav_HookContext();
  if (click || type != kSeqFileType || !file || !ctx)
    return 0;
  frefinfos record;
  record.type = kSeqFileType;
  record.parent = file->parentRef();
  const std::string name = file->name.substr(0, 63);
  record.name[0] = uint8_t(name.size());
  std::copy(name.begin(), name.end(), record.name + 1);
  static SmallSequencer seq;  // 3 KB: kept off the dialog's stack
  if (!SmallSequencer_Read(&seq, &record))
    return 0;
  const QZRect area{topLeft.h + kPreviewLeft, topLeft.v + kPreviewTop, kPreviewWidth,
                    kPreviewHeight};
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetRGBStrokeColor(ctx, 0, 0, 0, 1);
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_ContextStrokeRect(ctx, area);
  QZ_ContextClipToRect(ctx, area);
  QZ_ContextTranslateCTM(ctx, area.x, area.y);
  SmallSequencer_qzDraw(ctx, &seq, uint32_t(kPreviewWidth), uint32_t(kPreviewHeight), 1);
  QZ_ContextRestoreGState(ctx);
  return 0;
}
