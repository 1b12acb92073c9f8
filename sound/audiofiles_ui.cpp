// The sound open and save dialogs with their hooks (the open dialog's
// format panel and play button, the save dialog's format and sample-size
// pop-ups) and the waveform overview drawn with cairo.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "foundation/filenames.h"
#include "foundation/iodata.h"
#include "foundation/pstrings.h"
#include "sound/audiofiles_pvt.h"
#include "ui/filedialogs.h"
#include "ui/popupmenus.h"
#include "ui/qzdraw.h"
#include "ui/qztext.h"
#include "ui/uipictures.h"

namespace {

constexpr int16_t kPictPlay = 12300, kPictPlaying = 12301;
constexpr int16_t kFormatMenu = 1137, kSizeMenu = 1138, kCafSizeMenu = 1139;
constexpr uint32_t kOverviewFrames = 512;
constexpr double kPanelGrey = 221.0 / 255.0;

// The record the save dialog's hook edits while the dialog runs.
soundDocInfos* gPutRecord = nullptr;

std::string typeText(OSType type)
{
  return {char(type >> 24), char(type >> 16), char(type >> 8), char(type)};
}

void setText(Str255 out, const std::string& text)
{
  SetPString(out, text.substr(0, 255).c_str());
}

std::string bitsText(int16_t bytesPerSample)
{
  if (bytesPerSample == -4)
    return "Bits per sample : Float32";
  return "Bits per sample : " + std::to_string(8 * std::abs(int(bytesPerSample)));
}

void drawLine(CGContextRef ctx, const std::string& text, Rect r)
{
  static const textLook kLook{11, 0, 0, 0};
  Str255 p;
  setText(p, text);
  QZ_drawString(ctx, &kLook, p, r, 1, 0, 0, 0);
}

Rect lineRect(Point topLeft, Point bottomRight, int16_t line, int16_t left = 0, int16_t right = 0)
{
  const int16_t top = int16_t(topLeft.v + 4 + line * 16);
  return Rect{top, int16_t(topLeft.h + 4 + left), int16_t(top + 16),
              int16_t(right ? topLeft.h + right : bottomRight.h - 4)};
}

void fillPanel(CGContextRef ctx, Point topLeft, Point bottomRight, double grey)
{
  QZ_ContextSetGrayFillColor(ctx, grey, 1);
  QZ_ContextFillRect(ctx,
                     QZRect{double(topLeft.h), double(topLeft.v), double(bottomRight.h - topLeft.h),
                            double(bottomRight.v - topLeft.v)});
}

Rect playButtonRect(Point topLeft, Point bottomRight)
{
  return Rect{int16_t(bottomRight.v - 28), int16_t(topLeft.h + 8), int16_t(bottomRight.v - 4),
              int16_t(topLeft.h + 40)};
}

void drawPicture(CGContextRef ctx, int16_t number, const Rect& r)
{
  if (CGImageRef image = QZ_LoadUIImage(number)) {
    QZdraw_image(ctx, r.left, r.top, image);
    QZ_ImageRelease(image);
  }
}

void drawPreview(CGContextRef ctx, const soundDocInfos& record, Point topLeft, Point bottomRight,
                 bool playing)
{
  fillPanel(ctx, topLeft, bottomRight, kPanelGrey);
  std::string format = "\tFormat : " + typeText(record.type);
  if (record.channels == 2)
    format += " Stereo";
  char rate[32];
  std::snprintf(rate, sizeof(rate), "%.0f", record.sampleRate);
  drawLine(ctx, format, lineRect(topLeft, bottomRight, 0));
  drawLine(ctx, std::string("Sample rate : ") + rate, lineRect(topLeft, bottomRight, 1));
  drawLine(ctx, bitsText(record.bytesPerSample), lineRect(topLeft, bottomRight, 2));
  drawPicture(ctx, playing ? kPictPlaying : kPictPlay, playButtonRect(topLeft, bottomRight));
}

// The save dialog's two fields: the format on the left half, the sample
// size on the right.
Rect formatField(Point topLeft, Point bottomRight)
{
  return lineRect(topLeft, bottomRight, 0, 0, int16_t((bottomRight.h - topLeft.h) / 2));
}

void drawPutPanel(CGContextRef ctx, const soundDocInfos& record, Point topLeft, Point bottomRight)
{
  fillPanel(ctx, topLeft, bottomRight, 0.9);
  const Rect format = formatField(topLeft, bottomRight);
  Rect size = lineRect(topLeft, bottomRight, 0);
  size.left = int16_t(format.right + 8);
  QZ_ContextSetGrayStrokeColor(ctx, 0.5, 1);
  QZ_ContextSetLineWidth(ctx, 1);
  for (const Rect& r : {format, size}) {
    QZ_ContextBeginPath(ctx);
    QZpath_Rect(ctx, r.left + 0.5f, r.top + 0.5f, float(r.right - r.left - 1),
                float(r.bottom - r.top - 1));
    QZ_ContextStrokePath(ctx);
  }
  drawLine(ctx, "\tFormat : " + typeText(record.type), format);
  drawLine(ctx, bitsText(record.bytesPerSample), size);
}

void chooseFormat(soundDocInfos* record, FileRef* file)
{
  static const OSType kTypes[] = {fourcc("AIFF"), fourcc("WAVE"), fourcc("caff")};
  const int16_t item = DoPopUpDirectMenu(kFormatMenu, 3, 0, 0, 0);
  if (item < 1 || item > 3)
    return;
  record->type = kTypes[item - 1];
  if (record->bytesPerSample != -4 || record->type != fourcc("caff"))
    record->bytesPerSample =
        FixsdocDepth(record->type, std::max<int16_t>(record->bytesPerSample, 2));
  if (file) {
    setText(record->name, file->name);
    SetSoundEfileExtension(record);
    file->name.assign(reinterpret_cast<const char*>(record->name + 1), record->name[0]);
  }
}

void chooseSize(soundDocInfos* record)
{
  const bool caf = record->type == fourcc("caff");
  if (record->type == fourcc("WAVE"))
    record->bytesPerSample = std::min<int16_t>(record->bytesPerSample, 3);
  const int16_t item = DoPopUpDirectMenu(caf ? kCafSizeMenu : kSizeMenu, caf ? 5 : 3, 0, 0, 0);
  if (item >= 1 && item <= 3)
    record->bytesPerSample = FixsdocDepth(record->type, int16_t(item + 1));
  else if (caf && item == 5)
    record->bytesPerSample = -4;
}

bool inside(const Rect& r, Point p)
{
  return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

}  // namespace

// ---- Dialogs ------------------------------------------------------------------------

int32_t mySoundDrawPreviewHookProc(OSType, FileRef* file, Point topLeft, Point bottomRight,
                                   bool click)
{
  CGContextRef ctx = xnav_HookContext();
  soundDocInfos record;
  soundDocInfos_init(&record, 0, 2);
  const bool known = file && Get_SoundFileInfos(*file, &record, click ? 1 : 0) > 0;
  if (!known) {
    if (ctx)
      fillPanel(ctx, topLeft, bottomRight, kPanelGrey);
    return 0;
  }
  const bool play = click && inside(playButtonRect(topLeft, bottomRight), xnav_HookClickPoint());
  if (ctx)
    drawPreview(ctx, record, topLeft, bottomRight, play);
  if (play) {
    // The button shows pressed while the file plays.
    if (ctx)
      QZ_ContextFlush(ctx);
    RT_diskPlay(&record);
    if (ctx)
      drawPreview(ctx, record, topLeft, bottomRight, false);
  }
  return 0;
}

int32_t mySoundPutHookProc(OSType, FileRef* file, Point topLeft, Point bottomRight, bool click)
{
  soundDocInfos* record = gPutRecord;
  if (!record)
    return 0;
  if (click) {
    if (inside(formatField(topLeft, bottomRight), xnav_HookClickPoint()))
      chooseFormat(record, file);
    else
      chooseSize(record);
  }
  if (CGContextRef ctx = xnav_HookContext())
    drawPutPanel(ctx, *record, topLeft, bottomRight);
  return 0;
}

static void setOpenDialog(uint8_t shortList)
{
  if (shortList)
    GetSupportedCoreAudioTypes();
  else
    GetSupportedAudioTypes();
  SetPString(gIOdata.prompt, "Open Sound file...");
  gIOdata.previewHook = mySoundDrawPreviewHookProc;
}

bool AUfile_Get(soundDocInfos* record, uint8_t shortList)
{
  setOpenDialog(shortList);
  if (!record->file.empty())
    xSetDefaultLocfSS(record->file, 1);
  FileRef chosen;
  const bool ok = xMASTER_FILE_GET(&chosen) == 1;
  gIOdata.previewHook = GenericPreviewHookProc;
  if (!ok)
    return false;
  record->file = chosen;
  setText(record->name, chosen.name);
  return AUfile_GetInfos(record, 0) == 0;
}

bool MASTER_SOUNDFILE_GET(FileRef* location, uint8_t shortList)
{
  setOpenDialog(shortList);
  const bool ok = xMASTER_FILE_GET(location) == 1;
  gIOdata.previewHook = GenericPreviewHookProc;
  return ok;
}

bool AUfile_Put(soundDocInfos* record, uint8_t ask)
{
  GetSupportedCoreAudioTypes();
  // 'Sd2f' keeps its format in a resource fork, which files here lack.
  if (record->type == fourcc("Sd2f") || !isSupportedAudioType(record->type))
    record->type = fourcc("AIFF");
  if (record->type != fourcc("caff") || record->bytesPerSample != -4)
    record->bytesPerSample =
        FixsdocDepth(record->type, std::max<int16_t>(record->bytesPerSample, 2));
  SetSoundEfileExtension(record);
  if (!ask)
    return true;
  SetPString(gIOdata.prompt, "Save Sound as...");
  gIOdata.previewHook = mySoundPutHookProc;
  gIOdata.typeList[0] = record->type;
  gIOdata.typeCount = 1;
  const FileRef folder = kvfs::isFolder(record->file) ? record->file : record->file.parentRef();
  if (!folder.empty())
    xSetDefaultLoc(folder, nullptr, 1);
  gPutRecord = record;
  const bool ok = xMASTER_FILE_PUT(record->name) == 1;
  gPutRecord = nullptr;
  gIOdata.previewHook = GenericPreviewHookProc;
  if (!ok)
    return false;
  HFS_2_PSTRING(gIOdata.resultName, record->name);
  record->file = gIOdata.resultRef;
  return true;
}

// ---- Waveform overview ---------------------------------------------------------------

void AUfile_qzDraw(CGContextRef ctx, soundDocInfos* record, uint32_t width, uint32_t height,
                   uint32_t colour, const uint8_t* background)
{
  if (!ctx || width == 0 || height == 0)
    return;
  if (background) {
    QZ_ContextSetRGBFillColor(ctx, background[0] / 255.0, background[1] / 255.0,
                              background[2] / 255.0, 1);
    QZ_ContextFillRect(ctx, QZRect{0, 0, double(width), double(height)});
  }
  soundDocInfos bounds = *record;
  ExtAudioFileRef file = nullptr;
  if (OpenInputSoundFile(kvsound::targetOf(bounds), &file, nullptr, &bounds) != 0)
    return;
  const double mid = height / 2.0, scale = 0.85 * mid;
  const uint32_t frames = bounds.frames;
  // Short files: every column reads from the start, never past the end.
  const uint32_t step = frames > kOverviewFrames ? (frames - kOverviewFrames) / width : 0;
  std::vector<float> samples(size_t(kOverviewFrames) * AUfile_Channels(file));
  QZ_ContextBeginPath(ctx);
  for (uint32_t c = 0; c < width; ++c) {
    const uint64_t start = uint64_t(c) * step;
    const uint32_t got = AUfile_ReadChunk(file, &bounds, samples.data(), kOverviewFrames,
                                          int32_t(std::min<uint64_t>(start, INT32_MAX)));
    if (got <= 16)
      continue;
    float lo = 1.0f, hi = -1.0f;
    for (size_t i = 0; i < size_t(got) * AUfile_Channels(file); ++i) {
      lo = std::min(lo, samples[i]);
      hi = std::max(hi, samples[i]);
    }
    // Quartz coordinates: y grows upwards, positive samples above the centre.
    QZ_ContextMoveToPoint(ctx, c + 0.5, mid + lo * scale);
    QZ_ContextAddLineToPoint(ctx, c + 0.5, mid + hi * scale);
  }
  AUfile_Dispose(&file);
  QZ_ContextSetRGBStrokeColor(ctx, ((colour >> 24) & 255) / 255.0, ((colour >> 16) & 255) / 255.0,
                              ((colour >> 8) & 255) / 255.0, 1);
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_ContextStrokePath(ctx);
}

CGImageRef AUfile_BuildRepresentation(soundDocInfos* record, uint32_t width, uint32_t height,
                                      uint32_t colour, const uint8_t* background)
{
  if (width > 8192 || height > 8192)
    return nullptr;
  return QZ_ImageFromDrawing(int32_t(width), int32_t(height), [&](CGContextRef ctx) {
    QZ_ContextSetShouldAntialias(ctx, false);
    AUfile_qzDraw(ctx, record, width, height, colour, background);
  });
}
