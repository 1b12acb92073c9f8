#include "ui/dialogsettings.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/qtsetup.h"
#include "document/videoformats.h"
#include "foundation/appshell.h"
#include "foundation/checked.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "imaging/cursorkeys.h"
#include "imaging/ports.h"
#include "imaging/quartz.h"
#include "imaging/windowplacement.h"
#include "imaging/windowport.h"

namespace {

constexpr int16_t kSavePictOKMode = 1;
constexpr int16_t kQTsetupOKMode = 3;
constexpr int16_t kCompressionOKMode = 1;
constexpr double kPreviewGrey = 34.0 / 255.0;

// Picture dialog items.
constexpr int16_t kPictWidthItem = 1;
constexpr int16_t kPictHeightItem = 2;
constexpr int16_t kPictPresetItem = 5;
constexpr int16_t kPictPreviewItem = 6;
constexpr int16_t kPictOptionItem = 7;
constexpr int16_t kPictPreviewBox = 8;
constexpr int32_t kPictPreviewCommand = 6;

// Movie dialog items and commands.
enum : int16_t
{
  kFrameWidthItem = 2,
  kFrameHeightItem = 3,
  kCompressionItem = 5,
  kVideoFormatItem = 6,
  kModeItem = 7,
  kLogicalSizeItem = 9,
  kSizeFormatItem = 10,
  kRateItem = 13,
  kStartMinutesItem = 14,
  kStartSecondsItem = 15,
  kStartFramesItem = 16,
  kStartFrameItem = 17,
  kEndMinutesItem = 18,
  kEndSecondsItem = 19,
  kEndFramesItem = 20,
  kEndFrameItem = 21,
  kDurationItem = 29,
  kSoundOnItem = 31,
  kSoundFileItem = 32,
  kSoundNameItem = 33,
  kPreviewSoundItem = 34,
  kStoreItem = 35,
  kMoviePreviewBox = 36,
};
constexpr int32_t kOneFramePreviewCommand = 77;
constexpr int16_t kStillSequenceMode = 1;
constexpr int16_t kCompressedMovieMode = 0;
constexpr int16_t kOwnSoundKind = 1;
constexpr int16_t kSoundFileKind = 3;
constexpr int16_t kSoundFileMode = 2;

// Compression dialog items.
constexpr int16_t kCodecItem = 1;
constexpr int16_t kQualityItem = 2;

struct PresetSize
{
  uint16_t width, height;
};
// Presets 0 to 12; 3 (the screen) and 13 (custom) are read elsewhere.
constexpr PresetSize kPresetSizes[] = {
    {512, 512},   {1024, 1024}, {2048, 2048}, {0, 0},     {128, 128},  {256, 256},   {1280, 960},
    {2560, 1920}, {640, 480},   {720, 480},   {768, 576}, {1024, 576}, {1920, 1080},
};

uint16_t heldSide(int32_t side)
{
  return uint16_t(std::clamp<int32_t>(side, kPictureMinSide, kPictureMaxSide));
}

KVsoundFileGetProc gSoundFileGet = nullptr;

// The packed word of AddSMPTEToString: minutes low, seconds high.
int32_t packedTime(int16_t minutes, int16_t seconds)
{
  return int32_t(uint32_t(uint16_t(minutes)) | (uint32_t(uint16_t(seconds)) << 16));
}

void setSMPTE(KVsmpteField* field, uint64_t packed)
{
  const KVsmpte t = KV_unpackSMPTE(packed);
  field->hours = 0;
  field->minutes = t.minutes;
  field->seconds = t.seconds;
  field->frames = int16_t(std::clamp<int32_t>(t.frames, 0, INT16_MAX));
}

int32_t smpteFrame(const KVsmpteField& f, double fps)
{
  int32_t frame = 0;
  kvnum::trunc_i32((f.minutes * 60.0 + f.seconds) * fps + f.frames, frame);
  return frame;
}

void fillInset(Edoc* dialog, uiset* set, int16_t item)
{
  if (!dialog->context || !set)
    return;
  Rect r = set->GetuitemBox(item);
  r = Rect{int16_t(r.top + 2), int16_t(r.left + 2), int16_t(r.bottom - 2), int16_t(r.right - 2)};
  QZ_ContextSetRGBFillColor(dialog->context, kPreviewGrey, kPreviewGrey, kPreviewGrey, 1.0);
  QZ_ContextFillRect(dialog->context, QZ_RectFromRect(r));
}

// The rectangle of an item as the two packed words the previews take.
void packedDest(uiset* set, int16_t item, int32_t dest[2])
{
  const Rect r = set->GetuitemBox(item);
  dest[0] = int32_t(uint32_t(uint16_t(r.left)) | (uint32_t(uint16_t(r.top)) << 16));
  dest[1] = int32_t(uint32_t(uint16_t(r.right)) | (uint32_t(uint16_t(r.bottom)) << 16));
}

// Runs a dialog with the current port saved and restored around it.
template <typename Dialog, typename... Args>
bool runSaved(Args... args)
{
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  bool accepted = false;
  {
    Dialog dialog(args...);
    accepted = dialog.Run();
  }
  SetGWorld(savedPort, savedDevice);
  return accepted;
}

}  // namespace

bool PictureSizePreset(uint16_t preset, const KVpictureSettings& settings, uint16_t* width,
                       uint16_t* height)
{
  if (preset >= kPictureSizePresets)
    return false;
  if (preset == kScreenSizePreset) {
    GDHandle main = GetMainDevice();
    const Rect screen = main ? main->gdRect : Rect{0, 0, 480, 640};
    *width = heldSide(screen.right - screen.left);
    *height = heldSide(screen.bottom - screen.top);
  } else if (preset == kCustomSizePreset) {
    *width = heldSide(settings.customWidth);
    *height = heldSide(settings.customHeight);
  } else {
    *width = kPresetSizes[preset].width;
    *height = kPresetSizes[preset].height;
  }
  return true;
}

KVsoundFileGetProc SetSoundFileGetProc(KVsoundFileGetProc proc)
{
  KVsoundFileGetProc before = gSoundFileGet;
  gSoundFileGet = proc;
  return before;
}

// ---- The picture settings ---------------------------------------------------------

savepict_dlog::savepict_dlog(sfuncSystem* doc, KVpictureSettings* record)
    : IBbasedlog(kSavePictDialogID, kSavePictOKMode, false), document(doc), settings(record)
{
  if (!set)
    return;
  SetupUiset();
  ShowCenterDialog(true);
  OpenContext();
}

void savepict_dlog::SetupUiset()
{
  set->SetCallBackCmdptr(do_savepict_Command, this);
  set->Setminmax(kPictWidthItem, kPictureMinSide, kPictureMaxSide);
  set->Setminmax(kPictHeightItem, kPictureMinSide, kPictureMaxSide);
  set->Setminmax(kPictPresetItem, 0, kCustomSizePreset);
  set->SetuitemDataPointer(kPictWidthItem, &width);
  set->SetuitemDataPointer(kPictHeightItem, &height);
  set->SetuitemDataPointer(kPictPresetItem, &sizePreset);
  set->SetuitemDataPointer(kPictOptionItem, &option);
  set->SetOpcode(kPictPreviewItem, kPictPreviewCommand);
}

bool savepict_dlog::Run()
{
  if (!set || !settings)
    return false;
  width = heldSide(settings->width);
  height = heldSide(settings->height);
  sizePreset = std::min<uint16_t>(settings->preset, kCustomSizePreset);
  option = settings->option;
  keyResult = 0;
  kvui::invalidate(window, nullptr);
  RunModal();
  if (keyResult != 1)
    return false;
  settings->preset = sizePreset;
  settings->width = width;
  settings->height = height;
  settings->option = option;
  changed = 1;
  return true;
}

void savepict_dlog::PollEvent(const kvui::Event& event)
{
  int16_t result = keyResult;
  Dispatch(&event, &result);
  keyResult = result;
}

void savepict_dlog::Dispatch(const kvui::Event* event, int16_t* result)
{
  switch (event->what) {
    case kvui::mouseDown: {
      const uint16_t presetBefore = sizePreset;
      if (!Act(PointFromUI(event->local), result) &&
          (sizePreset != presetBefore || set->uitemchanged(kPictPresetItem)))
        PresetChosen();
      break;
    }
    case kvui::keyDown:
    case kvui::autoKey:
      key(int8_t(event->character), result);
      if (*result == 0)
        SizeTyped();
      break;
    case kvui::updateEvt:
      Draw();
      break;
    case kvui::nullEvent:
      idle(MouseInPort());
      break;
    default:
      break;
  }
}

void savepict_dlog::PresetChosen()
{
  if (PictureSizePreset(sizePreset, *settings, &width, &height)) {
    set->Drawuitem(kPictWidthItem);
    set->Drawuitem(kPictHeightItem);
  }
}

void savepict_dlog::SizeTyped()
{
  if (fixedSize)
    return;
  width = heldSide(width);
  height = heldSide(height);
  sizePreset = kCustomSizePreset;
  settings->customWidth = width;
  settings->customHeight = height;
  set->Drawuitem(kPictPresetItem);
}

void savepict_dlog::CallbackDraw()
{
  if (set && (set->uitemchanged(kPictWidthItem) || set->uitemchanged(kPictHeightItem)))
    SizeTyped();
  if (set)
    set->ForceDrawFlush();
}

void savepict_dlog::Command(int32_t command)
{
  if (command == int32_t(fourcc("ok  "))) {
    keyResult = 1;
    return;
  }
  if (command != kPictPreviewCommand || !set)
    return;
  fillInset(this, set, kPictPreviewBox);
  if (!document)
    return;
  int32_t dest[2];
  packedDest(set, kPictPreviewBox, dest);
  Kovrelin_previewMovie(port, document, kPreviewStill, dest, int16_t(width), int16_t(height));
}

int16_t do_savepict_Command(Edoc* doc, int32_t command, void*)
{
  static_cast<savepict_dlog*>(doc)->Command(command);
  return 0;
}

bool do_savepict_dlog(sfuncSystem* document, KVpictureSettings* settings)
{
  return runSaved<savepict_dlog>(document, settings);
}

// ---- The movie settings -----------------------------------------------------------

QTsetup_dlog::QTsetup_dlog(sfuncSystem* doc, KVmovieInputSettings* in, KVmovieExportSettings* mv)
    : IBbasedlog(kQTsetupDialogID, kQTsetupOKMode, false), document(doc), input(in), movie(mv)
{
  if (!set)
    return;
  SetupUiset();
  ShowCenterDialog(true);
  OpenContext();
  // The first text field takes the focus.
  set->Key(9);
}

void QTsetup_dlog::SetupUiset()
{
  set->SetCallBackCmdptr(do_QTsetup_Command, this);
  set->Setminmax(kRateItem, 1, 60);
  set->Setminmax(kStartMinutesItem, 0, 10);
  set->Setminmax(kStartSecondsItem, 0, 59);
  set->Setminmax(kStartFramesItem, 0, 30);
  set->Setminmax(kEndMinutesItem, 0, 10);
  set->Setminmax(kEndSecondsItem, 0, 59);
  set->Setminmax(kEndFramesItem, 0, 30);
  set->Setminmax(kFrameWidthItem, kPictureMinSide, kPictureMaxSide);
  set->Setminmax(kFrameHeightItem, kPictureMinSide, kPictureMaxSide);
  for (int16_t item : {kCompressionItem, kPreviewSoundItem, kSoundFileItem, kStoreItem})
    set->SetOpcode(item, item);
  struct Binding
  {
    int16_t item;
    void* data;
  };
  const Binding bindings[] = {
      {kFrameWidthItem, &frameWidth},      {kFrameHeightItem, &frameHeight},
      {kVideoFormatItem, &videoFormat},    {kModeItem, &mode},
      {kSizeFormatItem, &sizeFormat},      {kRateItem, &framesPerSecond},
      {kStartMinutesItem, &start.minutes}, {kStartSecondsItem, &start.seconds},
      {kStartFramesItem, &start.frames},   {kStartFrameItem, &start.frame},
      {kEndMinutesItem, &end.minutes},     {kEndSecondsItem, &end.seconds},
      {kEndFramesItem, &end.frames},       {kEndFrameItem, &end.frame},
      {kSoundOnItem, &soundFile},
  };
  for (const Binding& b : bindings)
    set->SetuitemDataPointer(b.item, b.data);
}

int32_t QTsetup_dlog::DurationFrames() const
{
  return mstoframe(durationMs, rate);
}

bool QTsetup_dlog::Run()
{
  if (!set || !input || !movie)
    return false;
  fullRange = 1;
  mode = movie->mode == kStillSequenceMode ? kStillSequenceMode : kCompressedMovieMode;
  updatemainmode();
  UpdateValues();
  ShowDuration();
  showWLsize();
  previewPending = 1;
  keyResult = 0;
  kvui::invalidate(window, nullptr);
  RunModal();
  if (keyResult != 1)
    return false;
  SendValues();
  return true;
}

void QTsetup_dlog::ShowDuration()
{
  const KVsmpte t = KV_unpackSMPTE(msToSMPTE(durationMs, rate));
  Str255 text;
  SetPString(text, "Total duration : ");
  AddSMPTEToString(packedTime(t.minutes, t.seconds),
                   int16_t(std::clamp<int32_t>(t.frames, 0, INT16_MAX)), text);
  set->SetuitemName(kDurationItem, text);
}

void QTsetup_dlog::showWLsize()
{
  Str255 text;
  const std::string line =
      "Logical size : " + std::to_string(input->width) + "x" + std::to_string(input->height);
  SetPString(text, line.c_str());
  set->SetuitemName(kLogicalSizeItem, text);
}

void QTsetup_dlog::updatemainmode()
{
  bool showOn = true, showButton = true;
  if (mode == kStillSequenceMode) {
    soundFile = 0;
    showOn = showButton = false;
    SetPString(soundName, "-none-");
  } else if (input->soundKind == kOwnSoundKind) {
    showOn = showButton = false;
    SetPString(soundName, "Kovrelin Sound");
  } else if (input->soundKind == kSoundFileKind) {
    showOn = false;
    std::memcpy(soundName, input->soundFileName, sizeof soundName);
  }
  set->Hideuitem(kSoundOnItem, showOn);
  set->Hideuitem(kSoundFileItem, showButton && (soundFile || !showOn));
  set->Hideuitem(kCompressionItem, mode != kStillSequenceMode);
  set->SetuitemName(kSoundNameItem, soundName);
}

void QTsetup_dlog::UpdateValues()
{
  frameWidth = int16_t(heldSide(movie->frameWidth));
  frameHeight = int16_t(heldSide(movie->frameHeight));
  soundFile = movie->soundMode > 1 ? 1 : 0;
  framesPerSecond = document ? document->animation.frameRate : input->framesPerSecond;
  framesPerSecond = std::clamp(std::isfinite(framesPerSecond) ? framesPerSecond : 25.0, 1.0, 60.0);
  videoFormat = FindSTDVideoFormatIndex(frameWidth, frameHeight, input->width, input->height,
                                        framesPerSecond);
  sizeFormat =
      FindSTDVideoFormatIndex(frameWidth, frameHeight, frameWidth, frameHeight, framesPerSecond);
  const int32_t frames = document ? document->animation.length : 0;
  kvnum::trunc_i32((frames + 0.5) * 1000.0 / framesPerSecond, durationMs);
  rate = int32_t(framesPerSecond * 100);
  setSMPTE(&start, fToSMPTE(movie->startFrame, rate));
  setSMPTE(&end, fToSMPTE(movie->endFrame, rate));
  updatesfps();
}

void QTsetup_dlog::updatesfps()
{
  framesPerSecond = std::clamp(std::isfinite(framesPerSecond) ? framesPerSecond : 25.0, 1.0, 60.0);
  rate = int32_t(framesPerSecond * 100);
  start.frame = smpteFrame(start, framesPerSecond);
  end.frame = smpteFrame(end, framesPerSecond);
  set->Setminmax(kStartFramesItem, 0, float(framesPerSecond));
  set->Setminmax(kEndFramesItem, 0, float(framesPerSecond));
  const float frames = float(DurationFrames());
  set->Setminmax(kStartFrameItem, 0, fullRange ? 0 : frames);
  set->Setminmax(kEndFrameItem, 1, frames);
  ShowDuration();
}

void QTsetup_dlog::updateFramesSE(int16_t which)
{
  KVsmpteField* fields[2] = {which == 2 ? nullptr : &start, which == 1 ? nullptr : &end};
  for (KVsmpteField* f : fields) {
    if (!f)
      continue;
    if (fullRange) {
      KVsmpte t{f->minutes, f->seconds, f->frames};
      maxSMPTE(&t, rate, durationMs);
      setSMPTE(f, KV_packSMPTE(t));
      f->frame = smpteFrame(*f, framesPerSecond);
    } else {
      *f = KVsmpteField{};
      PlayAlertSound();
    }
  }
  for (int16_t n = kStartMinutesItem; n <= kEndFrameItem; ++n)
    set->Drawuitem(n);
}

void QTsetup_dlog::resetfulrange()
{
  start = KVsmpteField{};
  end = KVsmpteField{};
  end.frame = DurationFrames();
  setSMPTE(&end, fToSMPTE(end.frame, rate));
  fullRange = 0;
  updatesfps();
  for (int16_t n = kStartMinutesItem; n <= kEndFrameItem; ++n)
    set->Drawuitem(n);
}

void QTsetup_dlog::updatesizeandInputs(int16_t formatIndex)
{
  int16_t w = 0, h = 0, dw = 0, dh = 0;
  double formatRate = 0;
  if (!GetSTDVideoFormatInfos(formatIndex, &w, &h, &dw, &dh, &formatRate))
    return;
  if (w != frameWidth || h != frameHeight) {
    frameWidth = w;
    frameHeight = h;
    if (document)
      Kovrelin_ReloadInput(document);
    set->Drawuitem(kFrameWidthItem);
    set->Drawuitem(kFrameHeightItem);
    showWLsize();
  }
  if (formatRate > 0 && formatRate != framesPerSecond) {
    framesPerSecond = formatRate;
    updatesfps();
    set->Drawuitem(kRateItem);
  }
}

void QTsetup_dlog::SendValues()
{
  movie->mode = mode;
  movie->frameWidth = frameWidth;
  movie->frameHeight = frameHeight;
  movie->startFrame = start.frame;
  movie->endFrame = end.frame;
  if (document)
    document->animation.length = std::max(mstoframe(durationMs, rate), 10);
  if (soundFile)
    movie->soundMode = kSoundFileMode;
  input->width = frameWidth;
  input->height = frameHeight;
  input->mode = mode;
  input->videoFormat = videoFormat;
  input->framesPerSecond = framesPerSecond;
  if (document)
    document->animation.frameRate = framesPerSecond;
}

bool QTsetup_dlog::doCompressionDialog(CGrafPtr)
{
  return KV_CompressionSettingsDialog();
}

void QTsetup_dlog::PollEvent(const kvui::Event& event)
{
  int16_t result = keyResult;
  Dispatch(&event, &result);
  if (result == 1 && !AcceptOK())
    result = 0;
  keyResult = result;
}

bool QTsetup_dlog::AcceptOK()
{
  if (mode != kCompressedMovieMode || gci)
    return true;
  return doCompressionDialog(port);
}

void QTsetup_dlog::Dispatch(const kvui::Event* event, int16_t* result)
{
  switch (event->what) {
    case kvui::mouseDown:
      if (!Act(PointFromUI(event->local), result))
        ClickedItem(set->hit);
      break;
    case kvui::keyDown:
    case kvui::autoKey: {
      const int16_t item = set->focused;
      key(int8_t(event->character), result);
      if (*result == 0)
        TypedInItem(item);
      break;
    }
    case kvui::updateEvt:
      Draw();
      break;
    case kvui::nullEvent:
      idle(MouseInPort());
      if (previewPending) {
        Command(kOneFramePreviewCommand);
        previewPending = 0;
      }
      break;
    default:
      break;
  }
}

void QTsetup_dlog::FormatChosen(int16_t formatIndex)
{
  updatesizeandInputs(formatIndex);
}

void QTsetup_dlog::ClickedItem(int16_t item)
{
  switch (item) {
    case kVideoFormatItem:
      FormatChosen(videoFormat);
      break;
    case kModeItem:
      updatemainmode();
      if (!fullRange)
        resetfulrange();
      break;
    case kSizeFormatItem:
      FormatChosen(sizeFormat);
      break;
    case kRateItem:
      updatesfps();
      break;
    case kStartMinutesItem:
    case kStartSecondsItem:
    case kStartFramesItem:
      updateFramesSE(1);
      break;
    case kEndMinutesItem:
    case kEndSecondsItem:
    case kEndFramesItem:
      updateFramesSE(2);
      break;
    case kSoundOnItem:
      set->Hideuitem(kSoundFileItem, soundFile != 0);
      if (soundFile)
        resetfulrange();
      break;
    default:
      break;
  }
}

void QTsetup_dlog::TypedInItem(int16_t item)
{
  switch (item) {
    case kFrameWidthItem:
    case kFrameHeightItem:
    case kStartFrameItem:
    case kEndFrameItem:
      CallbackDraw();
      break;
    case kRateItem:
      updatesfps();
      break;
    case kStartMinutesItem:
    case kStartSecondsItem:
    case kStartFramesItem:
    case kEndMinutesItem:
    case kEndSecondsItem:
    case kEndFramesItem:
      updateFramesSE(item <= kStartFramesItem ? 1 : 2);
      break;
    default:
      break;
  }
}

void QTsetup_dlog::CallbackDraw()
{
  if (set->uitemchanged(kStartFrameItem)) {
    if (!fullRange)
      start.frame = 0;
    setSMPTE(&start, fToSMPTE(start.frame, rate));
    for (int16_t n = kStartMinutesItem; n <= kStartFrameItem; ++n)
      set->Drawuitem(n);
  }
  if (set->uitemchanged(kFrameWidthItem) || set->uitemchanged(kFrameHeightItem)) {
    sizeFormat = 0;
    set->Drawuitem(kSizeFormatItem);
  }
  if (set->uitemchanged(kEndFrameItem)) {
    end.frame = std::clamp(end.frame, 0, DurationFrames());
    setSMPTE(&end, fToSMPTE(end.frame, rate));
    for (int16_t n = kEndMinutesItem; n <= kEndFrameItem; ++n)
      set->Drawuitem(n);
  }
}

void QTsetup_dlog::ChooseSoundFile()
{
  FileRef chosen;
  if (!gSoundFileGet) {
    PlayAlertSound();
    return;
  }
  if (!gSoundFileGet(&chosen, 0))
    return;
  SetPString(soundName, chosen.name.c_str());
  soundFile = 1;
  set->SetuitemName(kSoundNameItem, soundName);
  set->Drawuitem(kSoundOnItem);
}

void QTsetup_dlog::FillPreviewBox()
{
  fillInset(this, set, kMoviePreviewBox);
}

void QTsetup_dlog::Preview(bool withSound)
{
  FillPreviewBox();
  if (!document)
    return;
  int32_t dest[2];
  packedDest(set, kMoviePreviewBox, dest);
  if (withSound) {
    Point where;
    while (buttontrue(&where)) {
    }
    Kovrelin_previewMovieIO(port, document, 0, dest, start.frame, end.frame, frameWidth,
                            frameHeight, 0, 0);
  } else {
    Kovrelin_previewMovie(port, document, kPreviewStill, dest, frameWidth, frameHeight);
  }
}

void QTsetup_dlog::Command(int32_t command)
{
  switch (command) {
    case kCompressionItem:
      doCompressionDialog(port);
      previewPending = 1;
      break;
    case kSoundFileItem:
      ChooseSoundFile();
      break;
    case kPreviewSoundItem:
      SendValues();
      Preview(true);
      break;
    case kStoreItem:
      SendValues();
      break;
    case kOneFramePreviewCommand:
      Preview(false);
      break;
    default:
      break;
  }
}

int16_t do_QTsetup_Command(Edoc* doc, int32_t command, void*)
{
  static_cast<QTsetup_dlog*>(doc)->Command(command);
  return 0;
}

bool do_QTsetup_dlog(sfuncSystem* document, KVmovieInputSettings* input,
                     KVmovieExportSettings* movie)
{
  return runSaved<QTsetup_dlog>(document, input, movie);
}

// ---- The compression settings -----------------------------------------------------

namespace {

class CompressionDialog : public IBbasedlog
{
public:
  CompressionDialog() : IBbasedlog(kCompressionDialogID, kCompressionOKMode, false)
  {
    if (!set)
      return;
    set->SetuitemDataPointer(kCodecItem, &codec);
    set->Setminmax(kQualityItem, 0, kMaxSpatialQuality);
    set->SetuitemDataPointer(kQualityItem, &quality);
    ShowCenterDialog(true);
    OpenContext();
  }
  bool Run()
  {
    if (!set)
      return false;
    codec = 0;
    for (int16_t i = 0; i < int16_t(std::size(kCompressionCodecs)); ++i)
      if (kCompressionCodecs[i] == gSCSpatialSettings.codecType)
        codec = i;
    quality = std::clamp<int32_t>(gSCSpatialSettings.spatialQuality, 0, kMaxSpatialQuality);
    keyResult = 0;
    kvui::invalidate(window, nullptr);
    RunModal();
    if (keyResult != 1)
      return false;
    KVspatialSettings chosen = gSCSpatialSettings;
    chosen.codecType = kCompressionCodecs[std::clamp<int16_t>(codec, 0, 3)];
    chosen.spatialQuality = std::clamp<int32_t>(quality, 0, kMaxSpatialQuality);
    gSCSpatialSettings = chosen;
    return true;
  }

  int16_t codec = 0;
  int32_t quality = 512;

protected:
  // Events go through the base dialog's loop; OK or Cancel ends it.
  bool ModalDone() const override { return keyResult == 1 || keyResult == 2; }
};

}  // namespace

bool KV_CompressionSettingsDialog()
{
  // The previous instance is closed first: a cancelled dialog leaves none.
  gci = nullptr;
  bool accepted = false;
  bool opened = false;
  {
    CGrafPtr savedPort = nullptr;
    GDHandle savedDevice = nullptr;
    GetGWorld(&savedPort, &savedDevice);
    {
      CompressionDialog dialog;
      opened = dialog.HasSet();
      accepted = opened && dialog.Run();
    }
    SetGWorld(savedPort, savedDevice);
  }
  if (!opened) {
    reportText(reinterpret_cast<ConstStringPtr>("\x23 Couln't open Compression component"), 0);
    return false;
  }
  if (!accepted)
    return false;
  if (!KV_openCompressor()) {
    reportText(reinterpret_cast<ConstStringPtr>("\x23 Couln't open Compression component"), 0);
    return false;
  }
  return true;
}
