// The export settings dialogs: the picture settings (layout 1025) choose the
// size of a still picture from presets or by hand; the movie settings
// (layout 1030) set a movie's frame size, video format, frame rate, start
// and end times, compression and sound; the compression settings (layout
// 1032) edit the still-compression settings written movies are encoded
// with. All three are polling-mode dialogs whose caller's records change
// only on OK.
//
// Items of layout 1025: 1 width and 2 height (64..32000), 5 the size preset
// (0..13), 6 the preview button, 7 the option, 8 the preview box.
//
// Items of layout 1030: 2 and 3 the frame width and height, 5 compression,
// 6 the video format, 7 the mode (0 compressed movie, 1 still sequence), 9
// the logical size, 10 the frame-size format, 13 frames per second (1..60),
// 14 to 16 the start's minutes, seconds and frames and 17 its frame number,
// 18 to 21 the end likewise, 29 the total duration, 31 the sound on/off, 32
// the sound-file button, 33 the sound's name, 34 preview with sound, 35
// store, 36 the preview box.
//
// Items of layout 1032: 1 the codec type, 2 the spatial quality (0..1023).
//
// Main thread only.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"
#include "imaging/ports.h"
#include "platform/files.h"
#include "ui/dialogbase.h"

inline constexpr int16_t kSavePictDialogID = 1025;
inline constexpr int16_t kQTsetupDialogID = 1030;
inline constexpr int16_t kCompressionDialogID = 1032;

inline constexpr int16_t kPictureMinSide = 64;
inline constexpr int16_t kPictureMaxSide = 32000;
inline constexpr uint16_t kScreenSizePreset = 3;
inline constexpr uint16_t kCustomSizePreset = 13;
inline constexpr int16_t kPictureSizePresets = 14;

// The picture part of the rendering and export preferences.
struct KVpictureSettings
{
  uint16_t width = 512;
  uint16_t height = 512;
  uint16_t preset = 0;  // 0..13
  uint16_t option = 0;
  uint16_t customWidth = 512;  // the size of preset 13
  uint16_t customHeight = 512;
};

// What the inputs are rendered at for a movie: the logical size, the mode,
// the video format, the rate and the sound the movie takes.
struct KVmovieInputSettings
{
  int16_t width = 768;
  int16_t height = 576;
  int16_t mode = 0;         // 0 compressed movie, 1 still sequence without sound
  int16_t videoFormat = 0;  // standard video format index
  double framesPerSecond = 25.0;
  int16_t soundKind = 0;  // 1 the program's own sound, 3 a sound file, others a choice
  Str255 soundFileName = {};
};

// The movie export settings.
struct KVmovieExportSettings
{
  int16_t mode = 0;
  int16_t frameWidth = 768;
  int16_t frameHeight = 576;
  int32_t startFrame = 0;
  int32_t endFrame = 0;
  int16_t soundMode = 0;  // 2: the movie takes the chosen sound file
};

// The width and height of a preset (0..13); preset 3 is the main screen's
// size, 13 the settings' custom size. False for another preset.
bool PictureSizePreset(uint16_t preset, const KVpictureSettings& settings, uint16_t* width,
                       uint16_t* height);

class savepict_dlog : public IBbasedlog
{
public:
  savepict_dlog(sfuncSystem* document, KVpictureSettings* settings);
  void SetupUiset();
  // Edits until OK (the record receives the values: true) or Cancel.
  bool Run();
  void Dispatch(const kvui::Event* event, int16_t* result);
  // A typed or changed size makes the preset custom (unless the document
  // has a fixed size).
  void CallbackDraw() override;
  void Command(int32_t command);

  sfuncSystem* document = nullptr;
  KVpictureSettings* settings = nullptr;
  uint16_t width = 512;
  uint16_t height = 512;
  uint16_t sizePreset = 0;
  uint16_t option = 0;
  uint8_t changed = 0;
  uint8_t fixedSize = 0;  // the document's size may not be typed

protected:
  void PollEvent(const kvui::Event& event) override;
  bool ModalDone() const override { return keyResult == 1 || keyResult == 2; }

private:
  void PresetChosen();
  void SizeTyped();
};

int16_t do_savepict_Command(Edoc* doc, int32_t command, void* data);
// True when OK changed the record.
bool do_savepict_dlog(sfuncSystem* document, KVpictureSettings* settings);

// A SMPTE time of the movie dialog with its frame number.
struct KVsmpteField
{
  int16_t hours = 0;
  int16_t minutes = 0;
  int16_t seconds = 0;
  int16_t frames = 0;
  int32_t frame = 0;
};

class QTsetup_dlog : public IBbasedlog
{
public:
  QTsetup_dlog(sfuncSystem* document, KVmovieInputSettings* input, KVmovieExportSettings* movie);
  void SetupUiset();
  // Edits until OK (true: the records receive the values) or Cancel.
  bool Run();
  void Dispatch(const kvui::Event* event, int16_t* result);
  void CallbackDraw() override;
  void Command(int32_t command);

  void updatemainmode();
  void UpdateValues();
  void updatesfps();
  // which: 1 the start, 2 the end, 0 both.
  void updateFramesSE(int16_t which);
  void resetfulrange();
  void showWLsize();
  void updatesizeandInputs(int16_t formatIndex);
  void SendValues();
  bool doCompressionDialog(CGrafPtr picture);
  // The duration in frames at the current rate.
  int32_t DurationFrames() const;

  uint8_t previewPending = 0;
  uint8_t fullRange = 1;
  int32_t rate = 2500;  // hundredths of a frame per second
  sfuncSystem* document = nullptr;
  KVmovieInputSettings* input = nullptr;
  KVmovieExportSettings* movie = nullptr;
  int16_t frameWidth = 768;
  int16_t frameHeight = 576;
  int16_t videoFormat = 0;
  int16_t sizeFormat = 0;
  int16_t mode = 0;
  double framesPerSecond = 25.0;
  KVsmpteField start;
  KVsmpteField end;
  int16_t soundFile = 0;
  int32_t durationMs = 0;
  Str255 soundName = {};

protected:
  void PollEvent(const kvui::Event& event) override;
  bool ModalDone() const override { return keyResult == 1 || keyResult == 2; }

private:
  void ClickedItem(int16_t item);
  void TypedInItem(int16_t item);
  void FormatChosen(int16_t formatIndex);
  void ShowDuration();
  void ChooseSoundFile();
  void FillPreviewBox();
  void Preview(bool withSound);
  bool AcceptOK();
};

int16_t do_QTsetup_Command(Edoc* doc, int32_t command, void* data);
// True when OK was chosen (with the compression settings obtained when a
// compressed movie needs them).
bool do_QTsetup_dlog(sfuncSystem* document, KVmovieInputSettings* input,
                     KVmovieExportSettings* movie);

// The sound-file dialog the movie settings' sound button opens: the
// application installs it (the UI layer has no sound files of its own).
// Without one the button beeps.
using KVsoundFileGetProc = bool (*)(FileRef* location, uint8_t shortList);
KVsoundFileGetProc SetSoundFileGetProc(KVsoundFileGetProc proc);

// The codec types the compression dialog offers, in its pop-up's order.
inline constexpr OSType kCompressionCodecs[] = {fourcc("rle "), fourcc("jpeg"), fourcc("png "),
                                                fourcc("mp4v")};
inline constexpr int32_t kMaxSpatialQuality = 1023;

// The compression settings dialog: edits gSCSpatialSettings; on OK makes
// the compression instance gci. True on OK, false on Cancel or when the
// dialog or the instance cannot be made (reported).
bool KV_CompressionSettingsDialog();
