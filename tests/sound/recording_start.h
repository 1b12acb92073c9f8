// Starts a stereo recording the way the program does: the save dialog
// (scripted) answers `name` in the folder, and SoundFile_RECORD opens the
// capture and the file. Shared by the recording tests; the caller stops the
// recording and the scripted window layer.
#pragma once

#include <cstdint>

#include "foundation/iodata.h"
#include "platform/ui.h"
#include "sound/audiofiles.h"
#include "sound/recording.h"
#include "tests/platform/tempfolder.h"

inline int32_t startStereoRecording(const TempFolder& folder, const char* name,
                                    soundDocInfos* record, RecordSettings* block)
{
  kvui::startScripted();
  SetUpNavUserDatas(&gIOdata, 0, kSoundCreator, fourcc("AIFF"));
  soundDocInfos_init(record, 0, 2);
  record->file = folder.root();
  kvui::script::ChooserAnswer save;
  save.folder = folder.root().path();
  save.name = name;
  kvui::script::chooserAnswer(save);
  Record_Init(block);
  block->stereo = 1;
  return SoundFile_RECORD(block, record);
}
